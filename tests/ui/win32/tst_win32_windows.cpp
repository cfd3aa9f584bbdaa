// The real Win32 windows driven as a user drives them: the program runs its
// windows and message loop on a thread of its own, and the tests send real
// input (SendInput) from the main thread, so keys and clicks pass through
// the same message loop, dialog manager and accelerators as the program's.
// Every message box is recorded as it appears and answered while the tests
// wait for the input to take effect: with OK, or with real input that the
// box's own dialog handles (Enter, Space or Escape, or a click on OK) once
// the box has the keyboard. The state is read on the program's thread.

#include "../scenarios.h"
#include "../../support/doctest_text.h"

#include "app/win32/win32_program.h"
#include "ui/forms.h"
#include "ui/layout.h"
#include "ui/main/main_layout.h"
#include "ui/win32/win32_support.h"
#include "ui/win32/win32_window.h"

#include <doctest/doctest.h>

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include <atomic>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>

using ui::win32::u16;
using ui::win32::wide;

namespace {

struct SeenBox {
    std::u16string title;
    std::u16string text;
    int buttons = 0;     // push buttons in the box
    bool icon = false;   // an icon is drawn
};

// How a message box is answered: OK posted to it, or as a user does.
enum class Answer { Ok, Enter, Space, Escape, Click };

void press(WORD vk, WORD modifier = 0);
void click(HWND control);

// The thread that owns the program's windows and runs their message loop.
class ProgramThread {
public:
    ProgramThread()
    {
        std::promise<void> ready;
        m_thread = std::thread([this, &ready] { run(ready); });
        ready.get_future().wait();
    }

    ~ProgramThread()
    {
        call([this] { m_program.reset(); });
        PostThreadMessageW(m_threadId, WM_QUIT, 0, 0);
        m_thread.join();
    }

    // Runs `f` on the program's thread and returns when it has run, even
    // while that thread sits in a menu or message-box loop.
    void call(const std::function<void()> &f)
    {
        SendMessageW(m_caller, WM_APP, 0, reinterpret_cast<LPARAM>(&f));
    }

    // A new program, started: the main window shown and active.
    void restart()
    {
        if (const OpenBox left = openBox(); left.hwnd || left.inputQueued) // before the program goes
            settle();
        m_answer = Answer::Ok;
        m_faults.clear();
        call([this] {
            m_program.reset();
            m_boxes.clear();
            m_seen.clear();
            m_ended = false;
            m_program = std::make_unique<app::Win32Program>(GetModuleHandleW(nullptr), [this] { m_ended = true; });
            m_program->Start();
        });
        settle();
    }

    app::Win32Program &program() { return *m_program; }
    std::vector<SeenBox> boxes()
    {
        std::vector<SeenBox> copy;
        call([&] { copy = m_boxes; });
        return copy;
    }
    bool ended() const { return m_ended; }
    // How the boxes from now on are answered (the test thread's own state).
    void answerBy(Answer answer) { m_answer = answer; }
    // The boxes that were not answered (that did not take the keyboard, or
    // came once too often) or stayed open after the answer, one a line;
    // such a box is closed with OK.
    const std::string &faults() const { return m_faults; }

    // Waits until the input sent so far has had its effect (the program's
    // thread has taken every key and click from its queue) and no message
    // box is left open, answering each box that appears on the way.
    void settle()
    {
        HWND current = nullptr;  // the open box
        int polls = 0;           // how often it was found open
        bool answered = false;
        for (int i = 0; i < 100; ++i) {
            Sleep(60);
            const OpenBox box = openBox();
            if (!box.hwnd && !box.inputQueued)
                return;
            if (!box.hwnd)
                continue;
            if (box.hwnd != current) {
                current = box.hwnd;
                polls = 0;
                answered = false;
            }
            ++polls;
            // A user answers a box once it is the active window with the
            // focus on one of its controls; OK is posted to it at once.
            if (!answered && box.answerable && (m_answer == Answer::Ok || box.hasKeyboard)) {
                answer(box);
                answered = true;
            } else if (polls == 50) {
                // Open for half the wait: the box is at fault, and closed so
                // that the row can go on.
                m_faults += "\"" + test_support::utf8(box.text).substr(0, 60) + "\""
                        + (answered ? " stayed open after the answer\n" : " was not answered\n");
                PostMessageW(box.hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            }
        }
    }

private:
    void run(std::promise<void> &ready)
    {
        m_threadId = GetCurrentThreadId();
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        s_self = this;
        WNDCLASSW wc{};
        wc.lpfnWndProc = &ProgramThread::callerProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"EmberlineTestCaller";
        RegisterClassW(&wc);
        m_caller = CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
        m_hook = SetWindowsHookExW(WH_CBT, &ProgramThread::cbtHook, nullptr, m_threadId);
        ready.set_value();
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            if (m_program && m_program->preTranslate(message))
                continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        UnhookWindowsHookEx(m_hook);
        DestroyWindow(m_caller);
        CoUninitialize();
    }

    static bool isMessageBox(HWND hwnd)
    {
        wchar_t name[16] = {};
        return hwnd && GetClassNameW(hwnd, name, 16) && std::wstring_view(name) == L"#32770" && IsWindowVisible(hwnd);
    }

    struct OpenBox {
        bool inputQueued = false; // keys or clicks the program's thread has not taken yet
        HWND hwnd = nullptr;
        HWND ok = nullptr;
        std::u16string text;
        bool answerable = false; // within the cap on boxes
        bool hasKeyboard = false;
    };

    // The open message box, the active one first, and whether input waits
    // in the queue, read on the program's thread (the focus and the queue
    // are the thread's own).
    OpenBox openBox()
    {
        OpenBox box;
        call([&] {
            box.inputQueued = HIWORD(GetQueueStatus(QS_INPUT)) != 0;
            box.hwnd = GetActiveWindow();
            if (!isMessageBox(box.hwnd)) {
                box.hwnd = nullptr;
                EnumThreadWindows(
                        m_threadId,
                        [](HWND hwnd, LPARAM param) -> BOOL {
                            if (!isMessageBox(hwnd))
                                return TRUE;
                            *reinterpret_cast<HWND *>(param) = hwnd;
                            return FALSE;
                        },
                        reinterpret_cast<LPARAM>(&box.hwnd));
            }
            if (!box.hwnd)
                return;
            box.ok = GetDlgItem(box.hwnd, IDOK);
            box.text = ui::win32::windowText(GetDlgItem(box.hwnd, 0xFFFF));
            box.answerable = m_boxes.size() <= 20; // a box that keeps coming back stays open and fails
            const HWND focus = GetFocus();
            box.hasKeyboard = GetActiveWindow() == box.hwnd && focus && GetAncestor(focus, GA_ROOT) == box.hwnd;
        });
        return box;
    }

    // Real input from the test's thread, read by the box's own loop.
    void answer(const OpenBox &box)
    {
        switch (m_answer) {
        case Answer::Ok:
            PostMessageW(box.hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            break;
        case Answer::Enter:
            press(VK_RETURN);
            break;
        case Answer::Space:
            press(VK_SPACE);
            break;
        case Answer::Escape:
            press(VK_ESCAPE);
            break;
        case Answer::Click:
            click(box.ok);
            break;
        }
    }

    static LRESULT CALLBACK callerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_APP) {
            (*reinterpret_cast<const std::function<void()> *>(lParam))();
            return 0;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }

    // A message box being activated for the first time: recorded.
    static LRESULT CALLBACK cbtHook(int code, WPARAM wParam, LPARAM lParam)
    {
        ProgramThread &self = *s_self;
        HWND hwnd = reinterpret_cast<HWND>(wParam);
        wchar_t name[16] = {};
        if (code == HCBT_ACTIVATE && GetClassNameW(hwnd, name, 16) && std::wstring_view(name) == L"#32770"
            && self.m_seen.insert(hwnd).second) {
            SeenBox box;
            box.title = ui::win32::windowText(hwnd);
            box.text = ui::win32::windowText(GetDlgItem(hwnd, 0xFFFF));
            for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
                GetClassNameW(child, name, 16);
                if (std::wstring_view(name) == L"Button")
                    ++box.buttons;
                if (std::wstring_view(name) == L"Static" && SendMessageW(child, STM_GETICON, 0, 0))
                    box.icon = true;
            }
            self.m_boxes.push_back(box);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static inline ProgramThread *s_self = nullptr;

    std::thread m_thread;
    DWORD m_threadId = 0;
    HWND m_caller = nullptr;
    HHOOK m_hook = nullptr;
    std::unique_ptr<app::Win32Program> m_program;
    std::vector<SeenBox> m_boxes;
    std::set<HWND> m_seen;
    std::atomic<bool> m_ended = false;
    Answer m_answer = Answer::Ok;       // the test thread's
    std::string m_faults;               // the test thread's
};

ProgramThread &programThread()
{
    static ProgramThread thread;
    return thread;
}

// Real input, as a keyboard and a mouse give it.
void sendKeys(std::initializer_list<std::pair<WORD, bool>> keys)
{
    std::vector<INPUT> inputs;
    for (const auto &[vk, down] : keys) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
}

void press(WORD vk, WORD modifier)
{
    if (modifier)
        sendKeys({{modifier, true}, {vk, true}, {vk, false}, {modifier, false}});
    else
        sendKeys({{vk, true}, {vk, false}});
}

void typeText(std::u16string_view text)
{
    for (char16_t c : text) {
        INPUT input[2] = {};
        for (INPUT &i : input) {
            i.type = INPUT_KEYBOARD;
            i.ki.wScan = c;
            i.ki.dwFlags = KEYEVENTF_UNICODE;
        }
        input[1].ki.dwFlags |= KEYEVENTF_KEYUP;
        SendInput(2, input, sizeof(INPUT));
    }
}

void click(HWND control)
{
    static int nudge = 0;
    RECT r{};
    programThread().call([&] { GetWindowRect(control, &r); });
    // A few pixels apart each time, so that clicks never pair into a double click.
    nudge = (nudge + 3) % 9;
    const int x = (r.left + r.right) / 2 - 4 + nudge;
    const int y = (r.top + r.bottom) / 2;
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input[3] = {};
    for (INPUT &i : input)
        i.type = INPUT_MOUSE;
    input[0].mi.dx = LONG((x * 65536 + width / 2) / width);
    input[0].mi.dy = LONG((y * 65536 + height / 2) / height);
    input[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(3, input, sizeof(INPUT));
}

HWND mainControl(const char *name)
{
    HWND hwnd = nullptr;
    programThread().call([&] {
        if (auto *w = programThread().program().mainWindow())
            hwnd = w->control(name);
    });
    return hwnd;
}

HWND aboutControl(const char *name)
{
    HWND hwnd = nullptr;
    programThread().call([&] {
        if (auto *w = programThread().program().aboutWindow())
            hwnd = w->control(name);
    });
    return hwnd;
}

std::u16string controlName(ui::Control c)
{
    switch (c) {
    case ui::Control::txtT: return u"txtT";
    case ui::Control::txtL: return u"txtL";
    case ui::Control::cmdCalc: return u"cmdCalc";
    case ui::Control::cmdReset: return u"cmdReset";
    case ui::Control::cmdExit: return u"cmdExit";
    case ui::Control::cmdOK: return u"cmdOK";
    default: return u"none";
    }
}

// What the windows show, read on the program's thread. Captions are read
// from the controls, their line breaks as the program holds them.
struct Shown {
    std::u16string txtT, txtL, lblLT, lblF, focus;
    bool mainVisible = false, aboutVisible = false;
};

std::u16string caption(HWND label)
{
    std::u16string text = ui::win32::windowText(label);
    std::u16string held;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == u'\n' && i > 0 && text[i - 1] == u'\r'))
            held.push_back(text[i]);
    return held;
}

Shown shown()
{
    Shown s;
    programThread().call([&] {
        app::Win32Program &p = programThread().program();
        auto *main = p.mainWindow();
        if (!main)
            return;
        s.txtT = ui::win32::windowText(main->control("txtT"));
        s.txtL = ui::win32::windowText(main->control("txtL"));
        s.lblLT = caption(main->control("lblLT"));
        s.lblF = caption(main->control("lblF"));
        s.focus = controlName(main->lastFocused());
        s.mainVisible = IsWindowVisible(main->hwnd());
        s.aboutVisible = p.aboutWindow() && IsWindowVisible(p.aboutWindow()->hwnd());
    });
    return s;
}

WORD letter(char16_t c)
{
    return WORD(c >= u'a' && c <= u'z' ? c - u'a' + u'A' : c);
}

// One action of the scenario table; `previous` is the action before it, if
// any.
void perform(const std::u16string &action, const std::u16string &previous = {})
{
    const auto [verb, argument] = scenarios::split(action);
    if (verb == u"set") {
        // The whole text selected, then typed over.
        press(VK_HOME);
        press(VK_END, VK_SHIFT);
        if (argument.empty())
            press(VK_DELETE);
        else
            typeText(argument);
    } else if (verb == u"type") {
        if (previous != u"select-all") // else over the selected text
            press(VK_END);
        typeText(argument);
    } else if (verb == u"select-all") {
        press('A', VK_CONTROL);
    } else if (verb == u"enter") {
        press(VK_RETURN);
    } else if (verb == u"ctrl-enter") {
        press(VK_RETURN, VK_CONTROL);
    } else if (verb == u"alt-enter") {
        press(VK_RETURN, VK_MENU);
    } else if (verb == u"space") {
        press(VK_SPACE);
    } else if (verb == u"escape") {
        press(VK_ESCAPE);
    } else if (verb == u"tab") {
        press(VK_TAB);
    } else if (verb == u"backtab") {
        press(VK_TAB, VK_SHIFT);
    } else if (verb == u"click") {
        click(mainControl(std::string(argument.begin(), argument.end()).c_str()));
    } else if (verb == u"alt") {
        press(letter(argument.at(0)), VK_MENU);
    } else if (verb == u"menu") {
        if (argument == u"calc") press('L', VK_CONTROL);
        else if (argument == u"reset") press('R', VK_CONTROL);
        else if (argument == u"exit") press('Q', VK_CONTROL);
        else if (argument == u"instructions") press('I', VK_CONTROL);
        else if (argument == u"about") {
            press('H', VK_MENU);
            Sleep(100);
            press('A');
        }
    } else if (verb == u"about-ok") {
        click(aboutControl("cmdOK"));
    } else if (verb == u"about-close" || verb == u"close-main") {
        press(VK_F4, VK_MENU);
    } else if (verb == u"answer") {
        if (argument == u"enter") programThread().answerBy(Answer::Enter);
        else if (argument == u"space") programThread().answerBy(Answer::Space);
        else if (argument == u"escape") programThread().answerBy(Answer::Escape);
        else if (argument == u"click") programThread().answerBy(Answer::Click);
        else FAIL("unknown way " << test_support::utf8(argument));
    } else {
        FAIL("unknown action " << test_support::utf8(action));
    }
    programThread().settle();
}

std::vector<std::u16string> messages()
{
    std::vector<std::u16string> list;
    for (const SeenBox &box : programThread().boxes())
        list.push_back(box.title + u": " + box.text);
    return list;
}

} // namespace

TEST_CASE("user scenarios on the Win32 windows")
{
    for (const scenarios::Scenario &scenario : scenarios::all()) {
        INFO(std::string(scenario.name));
        programThread().restart();
        REQUIRE(mainControl("txtT") != nullptr);
        std::u16string previous;
        for (const std::u16string &action : scenario.actions) {
            perform(action, previous);
            previous = action;
        }
        const scenarios::Expected &expected = scenario.expected;
        const Shown s = shown();
        CHECK(s.txtT == expected.txtT);
        CHECK(s.txtL == expected.txtL);
        CHECK(s.lblLT == expected.lblLT);
        CHECK(s.lblF == expected.lblF);
        CHECK(s.focus == expected.focus);
        CHECK(messages() == expected.messages);
        CHECK(programThread().ended() == expected.ended);
        CHECK(s.mainVisible == expected.mainVisible);
        CHECK(s.aboutVisible == expected.aboutVisible);
        CHECK(programThread().faults() == "");
    }
}

namespace {

RECT clientRect(HWND control)
{
    RECT r{};
    programThread().call([&] {
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, GetAncestor(control, GA_ROOT), reinterpret_cast<POINT *>(&r), 2);
    });
    return r;
}

// The main window's client area and every control of it where the layout
// table puts them at `dpi` (the pictures at the size of their 1x bitmap).
void checkLayout(int dpi)
{
    using ui::layout::Pixels;
    const ui::layout::WindowDesign &design = ui::MainLayout();
    RECT client{};
    programThread().call([&] { GetClientRect(programThread().program().frmMain(), &client); });
    CHECK(client.right == Pixels(design.clientWidth, dpi));
    CHECK(client.bottom == Pixels(design.clientHeight, dpi));
    for (const ui::layout::ControlDesign &control : design.controls) {
        if (control.kind == ui::layout::Kind::Frame)
            continue; // painted, not a window
        INFO(std::string(control.name));
        const RECT r = clientRect(mainControl(std::string(control.name).c_str()));
        const ui::layout::Rect twips = ui::layout::WindowRect(design, control);
        CHECK(r.left == Pixels(twips.left, dpi));
        CHECK(r.top == Pixels(twips.top, dpi));
        CHECK(r.right - r.left == Pixels(control.rect.width, dpi));
        CHECK(r.bottom - r.top == Pixels(control.rect.height, dpi));
    }
}

std::wstring faceOf(HWND control)
{
    wchar_t face[LF_FACESIZE] = {};
    programThread().call([&] {
        HDC dc = GetDC(control);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
        GetTextFaceW(dc, LF_FACESIZE, face);
        SelectObject(dc, old);
        ReleaseDC(control, dc);
    });
    return face;
}

} // namespace

TEST_CASE("the main window at 96 dpi: client area, control rectangles, fonts and icon")
{
    programThread().restart();
    HWND main = nullptr;
    programThread().call([&] { main = programThread().program().frmMain(); });
    checkLayout(96);
    // Debian's EB Garamond stands in for Garamond through Wine's font
    // replacement (or is found as itself); the sans face is Wine's own.
    const std::wstring serif = faceOf(mainControl("Label1"));
    CHECK((serif == L"Garamond" || serif == L"EB Garamond 12"));
    CHECK(faceOf(mainControl("cmdCalc")) == serif);
    CHECK(faceOf(mainControl("txtT")) == L"MS Sans Serif");
    programThread().call([&] {
        CHECK(GetClassLongPtrW(main, GCLP_HICON) != 0);
        CHECK(GetClassLongPtrW(main, GCLP_HICONSM) != 0);
        // A screen reader names the box by the hidden label before it.
        CHECK(ui::win32::windowText(GetWindow(mainControl("txtT"), GW_HWNDPREV)) == u"Temperature (K)");
        CHECK(ui::win32::windowText(GetWindow(mainControl("txtL"), GW_HWNDPREV)) == u"Wavelength (\u00B5m)");
    });
}

TEST_CASE("the menus: captions, access keys and the shortcuts shown")
{
    programThread().restart();
    const std::vector<ui::layout::DropDown> design = ui::layout::MenuBar(ui::MainLayout());
    programThread().call([&] {
        HMENU bar = GetMenu(programThread().program().frmMain());
        REQUIRE(GetMenuItemCount(bar) == int(design.size()));
        for (std::size_t i = 0; i < design.size(); ++i) {
            wchar_t text[64] = {};
            GetMenuStringW(bar, UINT(i), text, 64, MF_BYPOSITION);
            CHECK(u16(text) == design[i].title->caption);
            HMENU menu = GetSubMenu(bar, int(i));
            REQUIRE(GetMenuItemCount(menu) == int(design[i].lines.size()));
            for (std::size_t j = 0; j < design[i].lines.size(); ++j) {
                const ui::layout::MenuLine &line = design[i].lines[j];
                text[0] = 0;
                GetMenuStringW(menu, UINT(j), text, 64, MF_BYPOSITION);
                const UINT state = GetMenuState(menu, UINT(j), MF_BYPOSITION);
                CHECK(bool(state & MF_SEPARATOR) == line.separator);
                if (line.separator)
                    continue;
                const std::u16string shown(line.entry->caption);
                CHECK(u16(text) == (line.shortcut.empty() ? shown : shown + u"\t" + line.shortcut));
                CHECK((state & (MF_GRAYED | MF_CHECKED)) == 0);
            }
        }
    });
}

TEST_CASE("message boxes: the title, one OK button and no icon")
{
    programThread().restart();
    perform(u"set abc");
    perform(u"tab");
    perform(u"menu instructions");
    const std::vector<SeenBox> boxes = programThread().boxes();
    REQUIRE(boxes.size() == 2);
    CHECK(boxes[0].title == u"Emberline");
    CHECK(boxes[1].title == u"Instructions");
    for (const SeenBox &box : boxes) {
        CHECK(box.buttons == 1);
        CHECK_FALSE(box.icon);
    }
    // The window takes shortcuts again once the box is gone.
    perform(u"set 5");
    perform(u"menu reset");
    CHECK(shown().txtT == u"0");
}

TEST_CASE("the About window: Enter, Space and Alt+O close it, Escape does not")
{
    struct Row {
        const char *name;
        WORD key;
        WORD modifier;
        bool closes;
    };
    const Row rows[] = {
        {"Enter", VK_RETURN, 0, true},
        {"Space", VK_SPACE, 0, true},
        {"Alt+O", 'O', VK_MENU, true},
        {"Escape", VK_ESCAPE, 0, false},
    };
    for (const Row &row : rows) {
        INFO(row.name);
        programThread().restart();
        perform(u"set 5800");
        perform(u"tab");
        perform(u"menu about");
        REQUIRE(shown().aboutVisible);
        CHECK(faceOf(aboutControl("cmdOK")) == faceOf(aboutControl("lblTheLabel")));
        press(row.key, row.modifier);
        programThread().settle();
        const Shown s = shown();
        CHECK(s.aboutVisible == !row.closes);
        CHECK(s.mainVisible == row.closes);
        CHECK(s.txtT == u"5800");
        CHECK(s.focus == u"txtL");
        CHECK_FALSE(programThread().ended());
    }
}

// Windows reads the display density when a program starts; Wine takes it
// from the user's LogPixels setting. The case sets it to 144 dpi, runs
// itself again in a new process, and puts the setting back.
TEST_CASE("at 144 dpi: the layout scaled, the pictures drawn for the density")
{
    wchar_t mode[8] = {};
    if (GetEnvironmentVariableW(L"EMBERLINE_TEST_DPI", mode, 8) == 0) {
        const DWORD dpi = 144;
        REQUIRE(RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &dpi,
                                sizeof dpi) == ERROR_SUCCESS);
        SetEnvironmentVariableW(L"EMBERLINE_TEST_DPI", L"144");
        wchar_t self[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring command = L"\"" + std::wstring(self) + L"\" \"--test-case=at 144 dpi*\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        const BOOL started = CreateProcessW(self, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                            &startup, &process);
        DWORD status = 1;
        if (started) {
            WaitForSingleObject(process.hProcess, 120000);
            GetExitCodeProcess(process.hProcess, &status);
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
        }
        SetEnvironmentVariableW(L"EMBERLINE_TEST_DPI", nullptr);
        RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels");
        REQUIRE(started);
        CHECK(status == 0);
        return;
    }

    programThread().restart();
    UINT dpi = 0;
    programThread().call([&] { dpi = GetDpiForWindow(programThread().program().frmMain()); });
    REQUIRE(dpi == 144);
    // Image1's 2x bitmap scaled down to its place.
    checkLayout(144);
    // The bitmap face has no 144 dpi sizes; its outline counterpart is used.
    CHECK(faceOf(mainControl("txtT")) != L"MS Sans Serif");
}
