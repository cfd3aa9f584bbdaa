#pragma once

#include "ui/main/main_form.h"
#include "ui/qt/qt_controls.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>
#include <optional>

class QAction;
class QFrame;

namespace ui {

// The main window on real widgets: it builds the controls where the window
// places them and maps Qt's events onto the procedures of MainForm, which
// hold all behaviour. Validation runs when the focus moves from an input
// box to another control of this window, never for menus, message boxes,
// hiding or closing.
class QtMainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit QtMainWindow(Shell &shell);
    ~QtMainWindow() override;

    MainForm &form() { return *m_form; }

    // Hides the window, remembering which control has the focus.
    void hideKeepingFocus();
    // Shows the window again, where it was and with the focus where it was
    // when it was hidden.
    void showAgain();

private:
    void buildControls();
    void buildMenus();
    void connectEvents();
    void onFocusChanged(QWidget *old, QWidget *now);
    Control controlOf(const QWidget *widget) const;
    QAction *addMenuAction(QMenu *menu, const char *name, const QString &caption,
                           const QKeySequence &shortcut, void (MainForm::*procedure)());

    // The window as its procedures see it.
    class Handle : public FormWindow {
    public:
        explicit Handle(QtMainWindow &window) : m_window(window) { }
        void hide() override { m_window.hideKeepingFocus(); }
        void unload() override { m_window.close(); }

    private:
        QtMainWindow &m_window;
    };

    InputBox *m_txtT = nullptr;
    InputBox *m_txtL = nullptr;
    CaptionLabel *m_lblLT = nullptr;
    CaptionLabel *m_lblF = nullptr;
    CommandButton *m_cmdCalc = nullptr;
    CommandButton *m_cmdReset = nullptr;
    CommandButton *m_cmdExit = nullptr;

    std::unique_ptr<QtTextBox> m_txtTBox;
    std::unique_ptr<QtTextBox> m_txtLBox;
    std::unique_ptr<QtLabel> m_lblLTLabel;
    std::unique_ptr<QtLabel> m_lblFLabel;
    Handle m_handle{*this};
    std::unique_ptr<MainForm> m_form;

    QPointer<QWidget> m_savedFocus;
    std::optional<QPoint> m_savedPosition;
    bool m_restoringFocus = false;
};

} // namespace ui
