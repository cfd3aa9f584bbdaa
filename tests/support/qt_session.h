#pragma once

// The harness shared by the tests that drive the real Qt windows: the
// program with its end intercepted, every message box answered as soon as
// it is the window with the keyboard (with OK, or as a user would: a key or
// a click on OK), and the event processing that lets an action take full
// effect. Nothing waits on the clock: a box is answered from inside its own
// event loop, as soon as the window system has made it the active window.

#include "app/qt/program.h"
#include "ui/qt/qt_window.h"

#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QLineEdit;

namespace ui::qt {
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
    explicit QtSession(std::function<void()> end = {});
    ~QtSession();
    QtSession(const QtSession &) = delete;
    QtSession &operator=(const QtSession &) = delete;

    // Processes events until none is left, deleted windows included; under
    // X each round starts with a round trip to the server, so that what it
    // sends back in answer is handled too.
    static void settle();
    // Handles events as they come until `condition` holds; false if it
    // still does not after ten seconds. The offscreen platform delivers its
    // events at once; the X server is another process, which answers when
    // it does.
    static bool waitFor(const std::function<bool()> &condition);

    // Makes the window shown the one with the keyboard, as a window manager
    // does when the active window goes (a menu or a message box closed); the
    // offscreen platform has none, and an inactive window takes no keys.
    // Under X, waits until the server has given it the keyboard.
    void giveKeyboardToShownWindow();

    QWidget *widget(const QString &name) const;
    QWidget *focus() const { return main->focusWidget(); }
    QString text(const char *box) const;
    ui::qt::CaptionLabel *label(const char *name) const;
    QString caption(const char *name) const;
    ui::qt::QtWindow *about() const { return program.aboutWidget(); }
    bool aboutVisible() const;
    // The window a user sees and types into: About while it is shown, else
    // the main window while it is shown, else none.
    QWidget *shownWindow() const;
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
    // Past this many boxes the test stops with the last one's text: a box
    // that keeps coming back would otherwise never let the action return.
    qsizetype maxBoxes = 20;
    app::Program program;
    ui::qt::QtWindow *main = nullptr;

private:
    void boxShown(QMessageBox *box);
    // Answers the box from inside its event loop, as a user does once it
    // has the keyboard.
    void answerBox(const QPointer<QMessageBox> &box);
    // Sends the answer as input; returns whether the box closed.
    bool answerAsUser(QMessageBox *box);

    std::unique_ptr<QObject> m_watcher; // hears every message box shown
};

// Keeps the offscreen platform's note on every window it shows out of the
// test output, where thousands of them would bury what matters.
void quietOffscreenPlatform();

} // namespace test_support
