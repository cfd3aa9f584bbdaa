#pragma once

// The harness shared by the tests that drive the real Qt windows: the
// program with its end intercepted, every message box answered with OK as
// soon as it is the active modal window, and the event processing that
// lets an action take full effect.

#include "app/qt/program.h"
#include "ui/qt/qt_about_window.h"
#include "ui/qt/qt_main_window.h"

#include <QList>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>

class QLineEdit;

namespace ui {
class CaptionLabel;
}

namespace test_support {

struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon;
    int buttons;
    QString labelText; // as drawn, line breaks included
};

class QtSession {
public:
    // Starts the program and waits for its main window to become active.
    // The program's end is counted in endCalls, then `end` runs, if given.
    explicit QtSession(int answerEveryMs = 5, std::function<void()> end = {});
    ~QtSession();
    QtSession(const QtSession &) = delete;
    QtSession &operator=(const QtSession &) = delete;

    // Processes the events an action left, deleted windows included.
    static void settle();
    // What a window manager does when the active window goes away: the
    // offscreen platform has none, and an inactive window takes no keys.
    // Returns whether it activated a window.
    bool activateVisibleWindow();

    QWidget *widget(const QString &name) const;
    QWidget *focus() const { return main->focusWidget(); }
    QString text(const char *box) const;
    ui::CaptionLabel *label(const char *name) const;
    QString caption(const char *name) const;
    ui::QtAboutWindow *about() const { return program.frmAbout(); }
    bool aboutVisible() const;
    // "title: prompt" of every box so far, line breaks as carriage returns.
    QStringList messages() const;
    bool ended() const { return endCalls > 0; }

    // Heard for every message box before it is answered.
    std::function<void(const SeenBox &)> onBox;

    int endCalls = 0;
    QList<SeenBox> boxes;
    // Past this many boxes the answering stops, so that a box that keeps
    // coming back stays open and fails the test instead of looping.
    qsizetype maxBoxes = 20;
    app::Program program;
    ui::QtMainWindow *main = nullptr;

private:
    void answerBox();

    QTimer m_answerer;
};

// Keeps the offscreen platform's note on every window it shows out of the
// test output, where thousands of them would bury what matters.
void quietOffscreenPlatform();

} // namespace test_support
