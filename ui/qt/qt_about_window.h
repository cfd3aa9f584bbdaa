#pragma once

#include "ui/about/about_form.h"
#include "ui/qt/qt_controls.h"

#include <QWidget>

#include <memory>

namespace ui {

// The About window on real widgets. Constructing it loads it (builds the
// controls and runs Form_Load); closing it by any means runs Form_Unload,
// which shows the main window again, and then destroys it.
class QtAboutWindow : public QWidget {
    Q_OBJECT
public:
    explicit QtAboutWindow(Shell &shell);
    ~QtAboutWindow() override;

    AboutForm &form() { return *m_form; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    class Handle : public FormWindow {
    public:
        explicit Handle(QtAboutWindow &window) : m_window(window) { }
        void hide() override { m_window.hide(); }
        void unload() override { m_window.close(); }

    private:
        QtAboutWindow &m_window;
    };

    CaptionLabel *m_lblTheLabel = nullptr;
    std::unique_ptr<QtLabel> m_label;
    Handle m_handle{*this};
    std::unique_ptr<AboutForm> m_form;
};

} // namespace ui
