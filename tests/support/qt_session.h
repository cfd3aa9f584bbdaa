#pragma once

// The harness shared by the tests that drive the real Qt windows: the
// program with its end intercepted, every message box answered as soon as
// it is the active modal window (with OK, or as a user would: a key or a
// click on OK), and the event processing that lets an action take full
// effect.

#include "app/qt/program.h"
#include "ui/qt/qt_about_window.h"
#include "ui/qt/qt_main_window.h"

#include <QList>
#include <QMessageBox>
#include <QPointer>
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

    // How each message box is answered: OK clicked by the program's own
    // call, or real input sent to the box once it is the window with the
    // keyboard: Enter, Space or Escape, or a mouse click on OK.
    enum class Answer { Ok, Enter, Space, Escape, Click };
    Answer answer = Answer::Ok;
    // A box that did not take the keyboard, or stayed open after the
    // answer: what went wrong. Such a box is then closed with OK.
    QStringList answerFaults;

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
    // Sends the answer as input; returns whether the box closed.
    bool answerAsUser(QMessageBox *box);

    QTimer m_answerer;
    QPointer<QMessageBox> m_seen; // the box recorded last, until it goes
    int m_polls = 0;              // answerer rounds the box has waited for the keyboard
};

// Keeps the offscreen platform's note on every window it shows out of the
// test output, where thousands of them would bury what matters.
void quietOffscreenPlatform();

} // namespace test_support
