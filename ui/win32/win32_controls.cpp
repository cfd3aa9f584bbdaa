#include "ui/win32/win32_window.h"

#include "ui/win32/win32_support.h"

#include <commctrl.h>

namespace ui::win32 {

// The menu bar from the menu table: an entry's id is MenuIdBase plus its
// index in the table, its shortcut shown right-aligned after a tab and
// translated by the window's accelerator table.
void Win32Window::createMenus()
{
    if (m_design.menus.empty())
        return;
    HMENU bar = CreateMenu();
    std::vector<ACCEL> shortcuts;
    for (const layout::DropDown &dropDown : layout::menuBar(m_design)) {
        HMENU menu = CreatePopupMenu();
        AppendMenuW(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(menu), wide(dropDown.title->caption).c_str());
        for (const layout::MenuLine &line : dropDown.lines) {
            if (line.separator) {
                AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
                continue;
            }
            const WORD id = WORD(MenuIdBase + int(line.index));
            std::wstring caption = wide(line.entry->caption);
            if (!line.shortcut.empty()) {
                caption += L"\t" + wide(line.shortcut);
                shortcuts.push_back(ACCEL{FVIRTKEY | FCONTROL, WORD(line.entry->ctrlKey), id});
            }
            AppendMenuW(menu, MF_STRING, id, caption.c_str());
        }
    }
    SetMenu(m_hwnd, bar);
    m_accelerators = CreateAcceleratorTableW(shortcuts.data(), int(shortcuts.size()));
}

void Win32Window::createControls()
{
    // The focusable controls first, in tab order: the dialog manager tabs
    // in creation order. A box is named for screen readers by the hidden
    // label created just before it.
    std::vector<const layout::ControlDesign *> order = layout::tabOrder(m_design);
    for (const layout::ControlDesign &design : m_design.controls)
        if (!layout::isFocusable(design) && design.kind != layout::Kind::Frame)
            order.push_back(&design);

    for (const layout::ControlDesign *design : order) {
        const int id = ControlIdBase + int(design - m_design.controls.data());
        const HMENU idHandle = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
        const std::wstring caption = displayText(design->caption);
        HWND hwnd = nullptr;
        switch (design->kind) {
        case layout::Kind::TextBox: {
            const std::wstring name = wide(design->accessibleName);
            m_nameLabels.push_back(CreateWindowExW(0, L"STATIC", name.c_str(), WS_CHILD | SS_NOPREFIX, 0, 0, 0, 0,
                                                   m_hwnd, nullptr, m_instance, nullptr));
            hwnd = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL,
                                   0, 0, 0, 0, m_hwnd, idHandle, m_instance, nullptr);
            SendMessageW(hwnd, EM_SETLIMITTEXT, 0, 0); // no maximum length
            SetWindowSubclass(hwnd, &Win32Window::controlProc, 0, reinterpret_cast<DWORD_PTR>(this));
            break;
        }
        case layout::Kind::CommandButton:
            hwnd = CreateWindowExW(0, L"BUTTON", caption.c_str(),
                                   WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_MULTILINE | BS_CENTER | BS_VCENTER,
                                   0, 0, 0, 0, m_hwnd, idHandle, m_instance, nullptr);
            SetWindowSubclass(hwnd, &Win32Window::controlProc, 0, reinterpret_cast<DWORD_PTR>(this));
            break;
        case layout::Kind::Label:
            // Clipped, never wrapped or grown; the lines break at the
            // program's carriage returns.
            hwnd = CreateWindowExW(0, L"STATIC", caption.c_str(),
                                   WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SS_NOPREFIX
                                           | (design->align == layout::Align::Centre ? SS_CENTER : SS_LEFTNOWORDWRAP),
                                   0, 0, 0, 0, m_hwnd, idHandle, m_instance, nullptr);
            break;
        case layout::Kind::Picture:
            hwnd = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_BITMAP, 0, 0, 0, 0, m_hwnd, idHandle,
                                   m_instance, nullptr);
            break;
        case layout::Kind::Frame:
            break;
        }
        if (!hwnd)
            continue;
        if (!design->accessibleName.empty())
            setAccessibleName(hwnd, design->accessibleName);
        if (!design->accessibleDescription.empty())
            setAccessibleDescription(hwnd, design->accessibleDescription);
        m_children.push_back({design, hwnd, id, nullptr});
    }
    if (!m_children.empty() && layout::isFocusable(*m_children.front().design))
        m_savedFocus = m_children.front().hwnd;
}

LRESULT CALLBACK Win32Window::controlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR data)
{
    try {
        return reinterpret_cast<Win32Window *>(data)->handleControl(hwnd, message, wParam, lParam);
    } catch (...) {
        return DefSubclassProc(hwnd, message, wParam, lParam);
    }
}

// The edit boxes' and the buttons' own messages. `this` may be deleted by
// an event sent through the link (a window destroyed inside it): after one
// only the control's handle is used.
LRESULT Win32Window::handleControl(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const Child *c = child(hwnd);
    const bool box = c && c->design->kind == layout::Kind::TextBox;
    const Control control = c ? c->design->id : Control::None;
    switch (message) {
    case WM_GETDLGCODE:
        if (box) {
            // Enter goes to the box (as character 13), not to the dialog
            // manager, which would turn it into IDOK.
            LRESULT code = DefSubclassProc(hwnd, message, wParam, lParam);
            const MSG *msg = reinterpret_cast<const MSG *>(lParam);
            if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN)
                code |= DLGC_WANTALLKEYS;
            return code;
        }
        // A character typed on a focused button, and Enter with Ctrl held,
        // are the button's, which does nothing with them: only Alt with a
        // letter is an access key, and only Enter alone a press. The dialog
        // manager would take the letter alone as an access key too (E&xit's
        // "x" would end the program, OK's "o" close About) and press the
        // focused button for Enter with any modifier.
        if (const MSG *msg = reinterpret_cast<const MSG *>(lParam)) {
            if (msg->message == WM_CHAR)
                return DefSubclassProc(hwnd, message, wParam, lParam) | DLGC_WANTCHARS;
            if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN && GetKeyState(VK_CONTROL) < 0)
                return DefSubclassProc(hwnd, message, wParam, lParam) | DLGC_WANTALLKEYS;
        }
        break;
    case WM_KEYDOWN:
        // Ctrl+A selects the whole text, as in every other box on Windows,
        // and is no edit: taken here, before an edit control that reports
        // a change for it (Wine's does) and before its character (1).
        if (box && wParam == 'A' && GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_MENU) >= 0) {
            SendMessageW(hwnd, EM_SETSEL, 0, -1);
            return 0;
        }
        break;
    case WM_CHAR:
        if (box && wParam == 1)
            return 0;
        if (box) {
            link().keyPress(control, static_cast<std::int16_t>(wParam));
            // A single-line box takes no line break.
            if (wParam == 13 || !IsWindow(hwnd))
                return 0;
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        // A control takes the focus first, which validates the box it
        // leaves; a press that did not keep it is dropped before a button
        // is drawn pushed or takes the mouse capture, and before a box
        // moves its caret or selects a word (Wine's edit control places
        // the caret before it asks for the focus, so a refused click would
        // change the selection the box keeps for its return). Access keys
        // come this way too (BM_CLICK). The second click of a double click
        // asks again: a box answered in between may have put the focus back.
        if (GetFocus() != hwnd) {
            SetFocus(hwnd);
            if (!IsWindow(hwnd) || GetFocus() != hwnd)
                return 0;
        }
        break;
    case WM_KILLFOCUS: {
        const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
        const Control to = controlOf(reinterpret_cast<HWND>(wParam));
        link().focusMoved(control, to);
        return result;
    }
    case WM_NCDESTROY:
        RemoveWindowSubclass(hwnd, &Win32Window::controlProc, 0);
        break;
    default:
        break;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

} // namespace ui::win32
