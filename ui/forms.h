#pragma once

#include "ui/controls.h"
#include "ui/window_handle.h"
#include "ui/window_system.h"

#include <memory>
#include <string_view>

namespace ui {

class AboutForm;
class MainForm;

// The window instances and their life, the same under every toolkit. Each
// window class has one instance, created on first use; showing an instance
// that is not loaded loads it (the toolkit builds the window, then its
// Form_Load runs) and then makes it visible; showing a loaded window only
// makes it visible again, as it was, with the focus where it was when the
// window was hidden (the first time on the first control in tab order).
// Unloading runs the form's Form_Unload
// (which may cancel) and destroys the window; the instance stays, so the
// next show loads it afresh. Unloading the last loaded window ends the
// program, and that window then goes with the program. End stops at once.
class Forms {
public:
    explicit Forms(WindowSystem &system);
    ~Forms();
    Forms(const Forms &) = delete;
    Forms &operator=(const Forms &) = delete;

    // Start-up: frmMain is created, loaded and shown.
    void start();

    // The one instance of each window class, created here when it does
    // not exist yet (creating does not load).
    MainForm &frmMain();
    AboutForm &frmAbout();

    void Show(FormId form);
    void Hide(FormId form);
    void Unload(FormId form);
    void End();

    // A modal message with one OK button and no icon; an untitled one
    // carries the application title.
    void MsgBox(std::u16string_view prompt, std::u16string_view title = {});

    bool isLoaded(FormId form) const;
    bool isVisible(FormId form) const;
    bool ended() const { return m_ended; }

    // The window handles of the loaded windows, or null.
    MainWindowHandle *mainWindowHandle() const { return m_main.window.get(); }
    AboutWindowHandle *aboutWindowHandle() const { return m_about.window.get(); }

private:
    template <class FormType, class HandleType>
    struct Instance {
        std::unique_ptr<FormType> form;
        std::unique_ptr<HandleType> window; // null while not loaded
        bool visible = false;
        Control focus = Control::None;      // where the focus goes when shown
        bool firstShow = true;              // not shown since it was loaded
    };

    void load(FormId form);
    template <class FormType, class HandleType>
    void load(FormId id, Instance<FormType, HandleType> &instance, FormType &form);
    template <class FormType, class HandleType>
    void show(Instance<FormType, HandleType> &instance);
    template <class FormType, class HandleType>
    void unload(Instance<FormType, HandleType> &instance);

    WindowSystem &m_system;
    Instance<MainForm, MainWindowHandle> m_main;
    Instance<AboutForm, AboutWindowHandle> m_about;
    bool m_ended = false;
};

} // namespace ui
