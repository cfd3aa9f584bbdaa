#pragma once

#include "ui/controls.h"
#include "ui/forms.h"
#include "ui/memory_window.h"
#include "ui/window_system.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ui {

class MainForm;

// The program's two windows held in memory, for fast tests without a
// display: a window system whose windows hold the input texts, the
// captions, the focus and their visibility, and a record of every message
// box, answered at once with OK. It runs the real lifecycle (ui::Forms),
// the real event links and the real routers, and does for each user action
// what a toolkit does: keys go to the focused control, a click first moves
// the focus (reported to the form, which validates the box it leaves) and
// then reports the click, the boxes report every edit of the user and every
// write that changes their text, and a window unloaded inside one of its
// own events goes once that event has returned.
//
// Each box holds a selection, as the toolkits' boxes do: typing replaces
// it; a box that takes the focus from the keyboard (Tab, Shift+Tab) has its
// whole text selected; a write by the program leaves the caret after the
// new text; a box keeps its selection while another control has the focus.
class WindowModel : public WindowSystem {
public:
    struct Message {
        std::u16string prompt;
        std::u16string title;
        std::optional<FormId> owner; // the window the box belongs to
    };

    // Start-up: frmMain is created, loaded and shown, the focus in txtT.
    WindowModel();
    ~WindowModel() override;

    // What a user sees.
    std::u16string text(Control box) const;
    std::u16string lblLT() const;
    std::u16string lblF() const;
    Control focus() const;
    bool mainVisible() const;
    bool aboutVisible() const;
    std::u16string aboutText() const;
    using Selection = MemoryWindow::Selection;
    Selection selection(Control box) const;
    bool ended() const { return m_forms.ended(); }
    const std::vector<Message> &messages() const { return m_messages; }
    Forms &forms() { return m_forms; }
    MainForm &frmMain() { return m_forms.frmMain(); }

    // What a user does.
    // Keys on the focused control of the window shown; in a box, characters
    // replace the selection one key at a time.
    void typeText(std::u16string_view characters);
    void pasteText(std::u16string_view text); // over the focused box's selection, one edit
    void selectAll();                         // Ctrl+A: no edit
    void home();
    void end();
    void backspace();
    void deleteKey();
    void pressEnter();
    void pressSpace();
    void pressEscape();
    void tab();
    void backTab();
    // A mouse click on a main window's control; on a box it leaves a caret
    // where the mouse was, which a toolkit knows: `placeCaret` sets it.
    void click(Control control);
    void placeCaret(Control box, Selection selection);
    void altKey(char16_t letter);   // Alt+C, Alt+R, Alt+X, About's Alt+O
    void accessKey(Control button); // Alt+C, Alt+R, Alt+X
    void menu(MenuItem item);       // by mouse, access key or shortcut: the focus stays
    void closeMain();               // the main window's close box
    void clickAboutOK();            // also Enter, Space or Alt+O on OK
    void closeAbout();              // the About window's close box or Alt+F4
    // Writes a caption of the About window as a procedure would.
    void setAboutText(std::u16string_view text);

    // WindowSystem
    NativeWindow &createWindow(FormId id, const layout::WindowDesign &design, Form &form) override;
    void messageBox(std::u16string_view prompt, std::u16string_view title, std::optional<FormId> owner) override;
    void quit() override { }

private:
    void pressOnFocus(char16_t key);
    // Replaces the selection of the focused box with `text` as the user's
    // edit; returns false when no box has the keyboard.
    bool replaceSelection(std::u16string_view text);
    void moveInTabOrder(std::size_t step);
    bool mainUsable() const;
    // The focused box of the main window when it can be typed into.
    Control typingTarget() const;
    // An edit by the user: it reports a change even when the text comes out
    // as it was (a character typed over the same one selected).
    void edit(Control box, std::u16string text, Selection selection);

    std::vector<Message> m_messages;
    MemoryWindow *m_main = nullptr;   // the loaded windows, destroyed by the lifecycle
    MemoryWindow *m_about = nullptr;
    Forms m_forms{*this};
};

} // namespace ui
