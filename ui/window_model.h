#pragma once

#include "ui/about/about_form.h"
#include "ui/controls.h"
#include "ui/main/main_form.h"

#include <memory>
#include <string>
#include <vector>

namespace ui {

// The two windows of the program held in memory: input texts, captions,
// the focused control, which window is visible, and a record of every
// message box. It drives the same procedures as the Qt windows and
// dispatches user actions the way the Qt layer does (a click first moves
// the focus, which validates the box it leaves; the button acts only if
// the focus arrived), so behaviour is tested fast and without a display.
// Message boxes are answered at once with OK.
class WindowModel : public Shell {
public:
    struct Message {
        std::u16string prompt;
        std::u16string title;
    };

    enum class Menu { Calc, Reset, Exit, Instructions, About };

    // Start-up: frmMain is created, loaded and shown, the focus in txtT.
    WindowModel();
    ~WindowModel() override;

    // What a user sees.
    std::u16string text(Control box) const;
    std::u16string lblLT() const { return m_lblLT.caption(); }
    std::u16string lblF() const { return m_lblF.caption(); }
    Control focus() const { return m_focus; }
    bool mainVisible() const { return m_mainVisible; }
    bool aboutVisible() const { return m_about != nullptr; }
    std::u16string aboutText() const;
    bool ended() const { return m_ended; }
    const std::vector<Message> &messages() const { return m_messages; }
    int mainLoads() const { return m_mainLoads; }
    int aboutLoads() const { return m_aboutLoads; }
    MainForm &frmMain() { return *m_main; }

    // What a user does.
    void typeText(std::u16string_view characters); // into the focused box, one key at a time
    void pasteText(std::u16string_view text);      // replaces the focused box's whole text
    void replaceText(std::u16string_view text);    // selects all, then types
    void pressEnter();                             // in the focused control
    void pressSpace();
    void pressEscape();
    void tab();
    void backTab();
    void click(Control control);
    void accessKey(Control button); // Alt+C, Alt+R, Alt+X
    void menu(Menu item);           // by mouse, access key or shortcut: the focus stays
    void closeMain();               // the main window's close box
    void clickAboutOK();            // also Enter, Space or Alt+O on OK
    void closeAbout();              // the About window's close box or Alt+F4

    // Shell
    void MsgBox(std::u16string_view prompt, std::u16string_view title) override;
    void ShowForm(FormId form) override;
    void End() override;

private:
    class Box : public TextBox {
    public:
        Box(WindowModel &model, Control control) : m_model(model), m_control(control) { }
        std::u16string text() const override { return m_text; }
        void setText(std::u16string_view text) override;
        void setFocus() override { m_model.moveFocus(m_control); }

    private:
        WindowModel &m_model;
        Control m_control;
        std::u16string m_text;
    };

    class Caption : public Label {
    public:
        std::u16string caption() const override { return m_caption; }
        void setCaption(std::u16string_view caption) override { m_caption = caption; }

    private:
        std::u16string m_caption;
    };

    class MainWindow : public FormWindow {
    public:
        explicit MainWindow(WindowModel &model) : m_model(model) { }
        void hide() override { m_model.m_mainVisible = false; }
        void unload() override { m_model.m_ended = true; }

    private:
        WindowModel &m_model;
    };

    class AboutWindow : public FormWindow {
    public:
        explicit AboutWindow(WindowModel &model) : m_model(model) { }
        void hide() override { }
        void unload() override;

    private:
        WindowModel &m_model;
    };

    struct About {
        Caption lblTheLabel;
        AboutWindow window;
        AboutForm form;
        explicit About(WindowModel &model);
    };

    void moveFocus(Control to);
    void buttonAction(Control button);
    Box *box(Control control);
    void keyPress(std::int16_t code);
    void pressOnFocus(char16_t key);
    void moveInTabOrder(std::size_t step);
    bool mainUsable() const { return m_mainVisible && !m_ended; }

    Box m_txtT{*this, Control::txtT};
    Box m_txtL{*this, Control::txtL};
    Caption m_lblLT;
    Caption m_lblF;
    MainWindow m_mainWindow{*this};
    std::unique_ptr<MainForm> m_main;
    std::unique_ptr<About> m_about;
    std::unique_ptr<About> m_unloadedAbout; // kept until its procedure has returned

    Control m_focus = Control::None;
    bool m_mainVisible = false;
    bool m_ended = false;
    int m_mainLoads = 0;
    int m_aboutLoads = 0;
    std::vector<Message> m_messages;
};

} // namespace ui
