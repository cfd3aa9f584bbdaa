// The real Win32 windows driven as a user drives them: the program runs its
// windows and message loop on a thread of its own, and the tests send real
// input (SendInput) from the main thread, so keys and clicks pass through
// the same message loop, dialog manager, menus and accelerators as the
// program's.
//
// After each action the driver waits until the program has handled it, by
// two round trips through the program thread's own queue, never by a clock:
// a marker key sent after the input comes out of that thread's input queue
// (a keyboard hook on the thread takes it there, so no window ever sees
// it), which proves every key and click before it taken; then a message
// posted to the thread comes back, which proves every message posted while
// they were handled dispatched too. Every message box is recorded as it
// appears and, once a round trip finds it open, answered: with OK, or with
// real input that the box's own dialog handles (Enter, Space or Escape, or
// a click on OK) once the box has the keyboard. The state is read on the
// program's thread.

#include "../scenarios.h"
#include "../../support/doctest_text.h"
#include "../../support/monkey.h"

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
#include <chrono>
#include <condition_variable>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <utility>

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
void clickAt(POINT point);
POINT middleOf(HWND window);

// The marker key: a key no keyboard of a user has, carrying a serial number
// in its scan code.
constexpr WORD MarkerKey = VK_F24;

// Only a program that hangs keeps a round trip waiting this long; the run
// then fails instead of hanging.
constexpr auto HangGuard = std::chrono::seconds(60);

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
        settle(); // a box left open goes before the program
        m_answer = Answer::Ok;
        m_faults.clear();
        call([this] {
            m_program.reset();
            // Keys and clicks queued after the end of the last program
            // would have gone with its process; here the thread lives on,
            // and they would reach the new one. Nothing is queued to it
            // later: it has no window left to take input.
            MSG stale;
            while (PeekMessageW(&stale, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)
                   || PeekMessageW(&stale, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
            }
            m_boxes.clear();
            m_seen.clear();
            m_ended = false;
            m_program = std::make_unique<app::Win32Program>(GetModuleHandleW(nullptr), [this] {
                const std::lock_guard lock(m_mutex);
                m_ended = true;
                m_changed.notify_all();
            });
            m_program->start();
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
    // A window of the program's thread that no test looks at (it owns the
    // clipboard's text).
    HWND caller() const { return m_caller; }
    // How the boxes from now on are answered (the test thread's own state).
    void answerBy(Answer answer) { m_answer = answer; }
    // What went wrong in the driving, one a line: a box that did not take
    // the keyboard, came too often or stayed open after its answer (it is
    // closed with OK), or input that the program never took.
    const std::string &faults() const { return m_faults; }
    std::string takeFaults() { return std::exchange(m_faults, {}); }

    // Waits until the program has handled the input sent so far and no
    // message box is left open, answering each box that appears on the way.
    void settle()
    {
        HWND current = nullptr; // the open box
        bool answered = false;
        int boxes = 0;
        for (int round = 0; round < 64; ++round) {
            roundTrip();
            const OpenBox box = openBox();
            if (!box.hwnd)
                return;
            if (box.hwnd != current) {
                current = box.hwnd;
                answered = false;
                ++boxes;
            }
            // A user answers a box once it is the active window with the
            // focus on one of its controls; OK is posted to it at once.
            if (!answered && boxes <= 20 && (m_answer == Answer::Ok || box.hasKeyboard)) {
                answer(box);
                answered = true;
                continue;
            }
            // The box is at fault: closed with OK so that the run goes on.
            m_faults += "\"" + test_support::utf8(box.text).substr(0, 60) + "\""
                    + (answered ? " stayed open after the answer\n"
                       : boxes > 20 ? " came once too often\n" : " did not take the keyboard\n");
            PostMessageW(box.hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            current = nullptr;
        }
        m_faults += "message boxes kept coming\n";
    }

private:
    // Returns once the program's thread has taken every key and click sent
    // so far out of its input queue and dispatched every message posted
    // meanwhile.
    //
    // Input goes to the thread of the foreground window as it is queued, so
    // the marker is sent from the program's thread itself, between two of
    // its messages: never while a handler is switching windows (Help >
    // About hides the main window before About is shown, and for that
    // moment no window of the program is active, so a key queued then goes
    // to no window of it, a user's as the driver's). A program that has
    // ended has no window left for it.
    //
    // Wine queues input before SendInput returns, so the marker is queued
    // behind everything sent before. Windows hands input to the system's
    // input thread, which queues it a moment later in the order sent: the
    // marker still comes out last, unless that thread reaches it while the
    // program is in the middle of such a switch; the guard then fails the
    // run instead of letting it hang.
    void roundTrip()
    {
        unsigned marker = 0;
        call([&] {
            if (!m_program || m_ended)
                return;
            if (GetWindowThreadProcessId(GetForegroundWindow(), nullptr) != m_threadId) {
                m_faults += "no window of the program has the keyboard\n";
                return;
            }
            marker = m_marker = m_marker % 255 + 1;
            INPUT input[2] = {};
            for (INPUT &i : input) {
                i.type = INPUT_KEYBOARD;
                i.ki.wVk = MarkerKey;
                i.ki.wScan = WORD(marker);
            }
            input[1].ki.dwFlags = KEYEVENTF_KEYUP;
            SendInput(2, input, sizeof(INPUT));
        });
        std::unique_lock lock(m_mutex);
        if (marker && !m_changed.wait_for(lock, HangGuard, [&] { return m_markerTaken == marker || m_ended; }))
            m_faults += "the program's thread did not take the input\n";
        const unsigned post = ++m_post;
        PostMessageW(m_caller, WM_APP + 1, post, 0);
        if (!m_changed.wait_for(lock, HangGuard, [&] { return m_postHandled == post; }))
            m_faults += "the program's thread did not come back to its queue\n";
    }

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
        m_cbtHook = SetWindowsHookExW(WH_CBT, &ProgramThread::cbtHook, nullptr, m_threadId);
        m_keyboardHook = SetWindowsHookExW(WH_KEYBOARD, &ProgramThread::keyboardHook, nullptr, m_threadId);
        ready.set_value();
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            if (m_program && m_program->preTranslate(message))
                continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        UnhookWindowsHookEx(m_keyboardHook);
        UnhookWindowsHookEx(m_cbtHook);
        DestroyWindow(m_caller);
        CoUninitialize();
    }

    static bool isMessageBox(HWND hwnd)
    {
        wchar_t name[16] = {};
        return hwnd && GetClassNameW(hwnd, name, 16) && std::wstring_view(name) == L"#32770" && IsWindowVisible(hwnd);
    }

    struct OpenBox {
        HWND hwnd = nullptr;
        HWND ok = nullptr;
        std::u16string text;
        bool hasKeyboard = false;
    };

    // The open message box, the active one first, read on the program's
    // thread (the focus is the thread's own).
    OpenBox openBox()
    {
        OpenBox box;
        call([&] {
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
            clickAt(middleOf(box.ok));
            break;
        }
    }

    static LRESULT CALLBACK callerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_APP) {
            (*reinterpret_cast<const std::function<void()> *>(lParam))();
            return 0;
        }
        if (message == WM_APP + 1) {
            const std::lock_guard lock(s_self->m_mutex);
            s_self->m_postHandled = unsigned(wParam);
            s_self->m_changed.notify_all();
            return 0;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }

    // The marker key, taken out of the queue by whatever loop runs (the
    // program's, a menu's, a message box's): noted, and dropped there.
    static LRESULT CALLBACK keyboardHook(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code >= 0 && wParam == MarkerKey) {
            if (lParam & (1u << 31)) { // released: the last of the marker
                const std::lock_guard lock(s_self->m_mutex);
                s_self->m_markerTaken = unsigned(lParam >> 16) & 0xFF;
                s_self->m_changed.notify_all();
            }
            return 1;
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
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
    HHOOK m_cbtHook = nullptr;
    HHOOK m_keyboardHook = nullptr;
    std::unique_ptr<app::Win32Program> m_program;
    std::vector<SeenBox> m_boxes;
    std::set<HWND> m_seen;
    std::atomic<bool> m_ended = false;
    // The round trips: what was sent, what came back.
    std::mutex m_mutex;
    std::condition_variable m_changed;
    unsigned m_marker = 0, m_markerTaken = 0;
    unsigned m_post = 0, m_postHandled = 0;
    Answer m_answer = Answer::Ok;       // the test thread's
    std::string m_faults;               // the test thread's (or written in a call)
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

// Characters typed: Space and Enter are their keys (a focused button takes
// them as a press), every other character comes as itself, whatever the
// keyboard layout.
void typeText(std::u16string_view text)
{
    for (char16_t c : text) {
        if (c == u' ' || c == u'\r') {
            press(c == u' ' ? VK_SPACE : VK_RETURN);
            continue;
        }
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

// A press and release of the left button at a point of the screen.
void clickAt(POINT point)
{
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input[3] = {};
    for (INPUT &i : input)
        i.type = INPUT_MOUSE;
    input[0].mi.dx = LONG((point.x * 65536 + width / 2) / width);
    input[0].mi.dy = LONG((point.y * 65536 + height / 2) / height);
    input[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(3, input, sizeof(INPUT));
}

// A few pixels apart each time, so that two clicks in a row never pair
// into a double click (Windows pairs them within 4 pixels).
int nudge()
{
    static int n = 0;
    n = (n + 3) % 9;
    return n;
}

POINT middleOf(HWND window)
{
    RECT r{};
    programThread().call([&] { GetWindowRect(window, &r); });
    return {(r.left + r.right) / 2 - 4 + nudge(), (r.top + r.bottom) / 2};
}

// What is loaded and shown, read on the program's thread.
struct Windows {
    ui::win32::Win32Window *main = nullptr;
    ui::win32::Win32Window *about = nullptr;
    bool mainShown = false;
    bool aboutShown = false;
};

Windows windows()
{
    Windows w;
    programThread().call([&] {
        app::Win32Program &p = programThread().program();
        w.main = p.mainWindow();
        w.about = p.aboutWindow();
        w.mainShown = w.main && IsWindowVisible(w.main->hwnd());
        w.aboutShown = w.about && IsWindowVisible(w.about->hwnd());
    });
    return w;
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

// Where a click on the main window's NAME lands: a box at the right end of
// its text, inside it; a button in its middle; "face" on an empty spot of
// the window, (16, 300) in 96-dpi pixels of the client area.
POINT pointOn(ui::win32::Win32Window &main, std::u16string_view name)
{
    POINT p{};
    const std::string control(name.begin(), name.end());
    programThread().call([&] {
        if (name == u"face") {
            p = {MulDiv(16, int(main.dpi()), 96) + nudge(), MulDiv(300, int(main.dpi()), 96)};
            ClientToScreen(main.hwnd(), &p);
            return;
        }
        RECT r{};
        GetWindowRect(main.control(control), &r);
        if (control == "txtT" || control == "txtL")
            p = {r.right - MulDiv(5, int(main.dpi()), 96) - nudge(), (r.top + r.bottom) / 2};
        else
            p = {(r.left + r.right) / 2 - 4 + nudge(), (r.top + r.bottom) / 2};
    });
    return p;
}

// The middle of a menu title of the main window, or of an entry of the
// drop-down menu that is open.
POINT menuPoint(HWND window, HMENU menu, int position)
{
    RECT r{};
    programThread().call([&] { GetMenuItemRect(window, menu, UINT(position), &r); });
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// A menu entry by mouse: a click on the title of its menu, and once the
// menu is open, a click on the entry.
void menuClick(ui::win32::Win32Window &main, std::u16string_view name)
{
    using ui::MenuItem;
    const MenuItem item = name == u"calc" ? MenuItem::mnuCalc
            : name == u"reset"            ? MenuItem::mnuReset
            : name == u"exit"             ? MenuItem::mnuExit
            : name == u"instructions"     ? MenuItem::mnuInstructions
            : name == u"about"            ? MenuItem::mnuAbout
                                          : MenuItem::None;
    const std::vector<ui::layout::DropDown> bar = ui::layout::menuBar(ui::mainLayout());
    for (std::size_t i = 0; i < bar.size(); ++i) {
        for (std::size_t j = 0; j < bar[i].lines.size(); ++j) {
            const ui::layout::MenuLine &line = bar[i].lines[j];
            if (line.separator || line.entry->item != item)
                continue;
            HMENU menu = nullptr;
            programThread().call([&] { menu = GetMenu(main.hwnd()); });
            clickAt(menuPoint(main.hwnd(), menu, int(i)));
            programThread().settle();
            clickAt(menuPoint(nullptr, GetSubMenu(menu, int(i)), int(j)));
            return;
        }
    }
    FAIL("no menu entry " << test_support::utf8(name));
}

WORD letter(char16_t c)
{
    return WORD(c >= u'a' && c <= u'z' ? c - u'a' + u'A' : c);
}

// Puts a text on the clipboard, as another program's Copy does.
void putOnClipboard(std::u16string_view text)
{
    programThread().call([&] {
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
        auto *copy = static_cast<wchar_t *>(GlobalLock(memory));
        std::copy(text.begin(), text.end(), copy);
        copy[text.size()] = 0;
        GlobalUnlock(memory);
        bool taken = false;
        if (OpenClipboard(programThread().caller())) {
            EmptyClipboard();
            taken = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
            CloseClipboard();
        }
        if (!taken)
            GlobalFree(memory);
    });
}

// One action of the scenario table. Clicks and menus aimed at a window that
// is not shown do nothing, as for a user who cannot reach it.
void perform(const std::u16string &action)
{
    const auto [verb, argument] = scenarios::split(action);
    const Windows shown = windows();
    if (verb == u"set") {
        // The whole text selected, then typed over (or deleted).
        press('A', VK_CONTROL);
        if (argument.empty())
            press(VK_DELETE);
        else
            typeText(argument);
    } else if (verb == u"type") {
        press(VK_END);
        typeText(argument);
    } else if (verb == u"keys") {
        typeText(argument);
    } else if (verb == u"paste") {
        putOnClipboard(argument);
        press('V', VK_CONTROL);
    } else if (verb == u"select-all") {
        press('A', VK_CONTROL);
    } else if (verb == u"home") {
        press(VK_HOME);
    } else if (verb == u"end") {
        press(VK_END);
    } else if (verb == u"backspace") {
        press(VK_BACK);
    } else if (verb == u"delete") {
        press(VK_DELETE);
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
        if (shown.mainShown)
            clickAt(pointOn(*shown.main, argument));
    } else if (verb == u"dblclick") {
        // Two clicks on the same spot within the double-click time; a box
        // that the first one shows is answered before the second.
        if (shown.mainShown) {
            const POINT p = pointOn(*shown.main, argument);
            clickAt(p);
            programThread().settle();
            if (windows().mainShown)
                clickAt(p);
        }
    } else if (verb == u"alt") {
        press(letter(argument.at(0)), VK_MENU);
    } else if (verb == u"menu") {
        if (argument == u"calc") press('L', VK_CONTROL);
        else if (argument == u"reset") press('R', VK_CONTROL);
        else if (argument == u"exit") press('Q', VK_CONTROL);
        else {
            // Alt+H opens Help; its letter is typed once the menu is open.
            press('H', VK_MENU);
            programThread().settle();
            press(argument == u"about" ? 'A' : 'I');
        }
    } else if (verb == u"menu-click") {
        if (shown.mainShown)
            menuClick(*shown.main, argument);
    } else if (verb == u"about-ok") {
        if (shown.aboutShown)
            clickAt(middleOf(aboutControl("cmdOK")));
    } else if (verb == u"about-close") {
        if (shown.aboutShown)
            press(VK_F4, VK_MENU);
    } else if (verb == u"close-main") {
        if (shown.mainShown)
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

std::u16string caption(HWND label)
{
    std::u16string text = ui::win32::windowText(label);
    std::u16string held;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == u'\n' && i > 0 && text[i - 1] == u'\r'))
            held.push_back(text[i]);
    return held;
}

// What the windows show, read on the program's thread: the texts, the
// captions (their line breaks as the program holds them), the main
// window's focused control (also while About hides it) with the selection
// of a focused box, which windows are shown, and the end.
monkey::State shown()
{
    monkey::State s;
    s.focus = u"none";
    s.mainVisible = false;
    programThread().call([&] {
        app::Win32Program &p = programThread().program();
        if (auto *main = p.mainWindow()) {
            s.txtT = ui::win32::windowText(main->control("txtT"));
            s.txtL = ui::win32::windowText(main->control("txtL"));
            s.lblLT = caption(main->control("lblLT"));
            s.lblF = caption(main->control("lblF"));
            const ui::Control focus = main->lastFocused();
            s.focus = controlName(focus);
            if (focus == ui::Control::txtT || focus == ui::Control::txtL) {
                DWORD start = 0, end = 0;
                SendMessageW(main->control(focus == ui::Control::txtT ? "txtT" : "txtL"), EM_GETSEL,
                             reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
                s.selStart = start;
                s.selEnd = end;
            }
            s.mainVisible = IsWindowVisible(main->hwnd());
        }
        s.aboutVisible = p.aboutWindow() && IsWindowVisible(p.aboutWindow()->hwnd());
    });
    s.ended = programThread().ended();
    return s;
}

std::vector<std::u16string> messages()
{
    std::vector<std::u16string> list;
    for (const SeenBox &box : programThread().boxes())
        list.push_back(box.title + u": " + box.text);
    return list;
}

std::u16string fromUtf8(const std::string &text)
{
    std::wstring out(std::size_t(MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), out.data(), int(out.size()));
    return u16(out);
}

// The real windows for the seeded random user. A fault of the driving (a
// box that did not take its answer, say) shows among the boxes seen, so
// that the run fails on it and its replay is shrunk like any other.
class Win32Front : public monkey::Front {
public:
    void start() override
    {
        programThread().restart();
        m_seen = 0;
    }
    void perform(const monkey::Action &action) override { ::perform(action); }
    monkey::State state() override
    {
        monkey::State s = shown();
        const std::vector<std::u16string> all = messages();
        for (; m_seen < all.size(); ++m_seen)
            s.messages.push_back(all[m_seen]);
        if (const std::string faults = programThread().takeFaults(); !faults.empty())
            s.messages.push_back(u"driver: " + fromUtf8(faults));
        return s;
    }

private:
    std::size_t m_seen = 0;
};

} // namespace

TEST_CASE("user scenarios on the Win32 windows")
{
    for (const scenarios::Scenario &scenario : scenarios::all()) {
        INFO(std::string(scenario.name));
        programThread().restart();
        REQUIRE(mainControl("txtT") != nullptr);
        for (const std::u16string &action : scenario.actions)
            perform(action);
        const scenarios::Expected &expected = scenario.expected;
        const monkey::State s = shown();
        CHECK(s.txtT == expected.txtT);
        CHECK(s.txtL == expected.txtL);
        CHECK(s.lblLT == expected.lblLT);
        CHECK(s.lblF == expected.lblF);
        CHECK(s.focus == expected.focus);
        CHECK(messages() == expected.messages);
        CHECK(s.ended == expected.ended);
        CHECK(s.mainVisible == expected.mainVisible);
        CHECK(s.aboutVisible == expected.aboutVisible);
        CHECK(programThread().faults() == "");
    }
}

// The seeded random user: every action with real input, the windows read
// back after each and judged by the window model (tests/support/monkey.h
// for the settings that pick other seeds, more actions or a replay).
TEST_CASE("a seeded random user on the Win32 windows agrees with the window model")
{
    Win32Front front;
    const std::string report = monkey::hunt(front, monkey::planFromEnvironment({1, 2}, 150), "Win32");
    if (!report.empty())
        FAIL(report);
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
    using ui::layout::pixels;
    const ui::layout::WindowDesign &design = ui::mainLayout();
    RECT client{};
    programThread().call([&] { GetClientRect(programThread().program().mainHwnd(), &client); });
    CHECK(client.right == pixels(design.clientWidth, dpi));
    CHECK(client.bottom == pixels(design.clientHeight, dpi));
    for (const ui::layout::ControlDesign &control : design.controls) {
        if (control.kind == ui::layout::Kind::Frame)
            continue; // painted, not a window
        INFO(std::string(control.name));
        const RECT r = clientRect(mainControl(std::string(control.name).c_str()));
        const ui::layout::Rect twips = ui::layout::windowRect(design, control);
        CHECK(r.left == pixels(twips.left, dpi));
        CHECK(r.top == pixels(twips.top, dpi));
        CHECK(r.right - r.left == pixels(control.rect.width, dpi));
        CHECK(r.bottom - r.top == pixels(control.rect.height, dpi));
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
    programThread().call([&] { main = programThread().program().mainHwnd(); });
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
    const std::vector<ui::layout::DropDown> design = ui::layout::menuBar(ui::mainLayout());
    programThread().call([&] {
        HMENU bar = GetMenu(programThread().program().mainHwnd());
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
        const monkey::State s = shown();
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
    programThread().call([&] { dpi = GetDpiForWindow(programThread().program().mainHwnd()); });
    REQUIRE(dpi == 144);
    // Image1's 2x bitmap scaled down to its place.
    checkLayout(144);
    // The bitmap face has no 144 dpi sizes; its outline counterpart is used.
    CHECK(faceOf(mainControl("txtT")) != L"MS Sans Serif");
}
