#include "ui/win32/win32_window.h"

#include "ui/win32/win32_adapters.h"
#include "ui/win32/win32_support.h"

#include <commctrl.h>

namespace ui::win32 {

namespace {

constexpr COLORREF White = RGB(255, 255, 255);

} // namespace

const wchar_t *Win32Window::className()
{
    static const wchar_t *const name = [] {
        HINSTANCE instance = GetModuleHandleW(nullptr);
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &Win32Window::windowProc;
        wc.hInstance = instance;
        // Icon group 1 holds the one 48x48 picture; Windows scales it to
        // the large and the small icon.
        wc.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                 GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
        wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
        wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = L"EmberlineWindow";
        RegisterClassExW(&wc);
        return L"EmberlineWindow";
    }();
    return name;
}

Win32Window::Win32Window(const layout::WindowDesign &design, Form &form, HINSTANCE instance)
    : NativeWindow(form), m_design(design), m_instance(instance), m_white(CreateSolidBrush(White))
{
    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    if (design.minimizeBox)
        style |= WS_MINIMIZEBOX;
    if (design.maximizeBox)
        style |= WS_MAXIMIZEBOX;
    const std::wstring caption = wide(design.caption);
    CreateWindowExW(0, className(), caption.c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                    scale(design.clientWidth, 96), scale(design.clientHeight, 96), nullptr, nullptr, instance, this);
    if (!m_hwnd)
        return;
    m_dpi = GetDpiForWindow(m_hwnd);
    createMenus();
    createControls();
    layoutControls();
    fitClientArea();
    // Access-key underlines and focus rectangles from the start, not only
    // once Alt is pressed.
    SendMessageW(m_hwnd, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEACCEL | UISF_HIDEFOCUS), 0);
}

Win32Window::~Win32Window()
{
    if (m_hwnd)
        DestroyWindow(m_hwnd);
    for (Child &c : m_children) {
        if (c.picture)
            DeleteObject(c.picture);
    }
    for (auto &[design, font] : m_fonts)
        DeleteObject(font);
    DeleteObject(m_white);
    if (m_accelerators)
        DestroyAcceleratorTable(m_accelerators);
}

void Win32Window::layoutControls()
{
    for (auto &[design, font] : m_fonts)
        DeleteObject(font);
    m_fonts.clear();
    for (Child &c : m_children) {
        const RECT r = scaleRect(layout::windowRect(m_design, *c.design), m_dpi);
        if (c.design->font) {
            HFONT &font = m_fonts[c.design->font];
            if (!font)
                font = createLayoutFont(*c.design->font, m_dpi);
            SendMessageW(c.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        }
        if (c.design->kind == layout::Kind::Picture) {
            HBITMAP picture = loadPicture(m_instance, c.design->picture, m_dpi);
            auto previous = reinterpret_cast<HBITMAP>(
                    SendMessageW(c.hwnd, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture)));
            if (previous && previous != c.picture)
                DeleteObject(previous); // a copy the control made of the last one
            if (c.picture)
                DeleteObject(c.picture);
            c.picture = picture;
            // The control takes the picture's size.
            SetWindowPos(c.hwnd, nullptr, r.left, r.top, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
        } else {
            SetWindowPos(c.hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    InvalidateRect(m_hwnd, nullptr, TRUE);
}

void Win32Window::fitClientArea()
{
    const int width = scale(m_design.clientWidth, m_dpi);
    const int height = scale(m_design.clientHeight, m_dpi);
    const DWORD style = DWORD(GetWindowLongPtrW(m_hwnd, GWL_STYLE));
    RECT frame{0, 0, width, height};
    AdjustWindowRectExForDpi(&frame, style, GetMenu(m_hwnd) != nullptr, 0, m_dpi);
    SetWindowPos(m_hwnd, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // Some systems size the frame for another DPI (or wrap the menu bar):
    // correct by what the client area misses.
    RECT client{};
    GetClientRect(m_hwnd, &client);
    const int dw = width - (client.right - client.left);
    const int dh = height - (client.bottom - client.top);
    if (dw != 0 || dh != 0) {
        RECT window{};
        GetWindowRect(m_hwnd, &window);
        SetWindowPos(m_hwnd, nullptr, 0, 0, window.right - window.left + dw, window.bottom - window.top + dh,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void Win32Window::paintPanels(HDC dc)
{
    for (const layout::ControlDesign &design : m_design.controls) {
        if (design.kind != layout::Kind::Frame)
            continue;
        const RECT r = scaleRect(layout::windowRect(m_design, design), m_dpi);
        FillRect(dc, &r, m_white);
    }
}

HWND Win32Window::control(std::string_view name) const
{
    for (const Child &c : m_children)
        if (c.design->name == name)
            return c.hwnd;
    return nullptr;
}

Control Win32Window::controlOf(HWND window) const
{
    const Child *c = child(window);
    return c ? c->design->id : Control::None;
}

Control Win32Window::lastFocused() const
{
    HWND focus = GetFocus();
    return controlOf(focus && IsChild(m_hwnd, focus) ? focus : m_savedFocus);
}

Win32Window::Child *Win32Window::child(HWND window)
{
    for (Child &c : m_children)
        if (c.hwnd == window && window)
            return &c;
    return nullptr;
}

const Win32Window::Child *Win32Window::child(HWND window) const
{
    return const_cast<Win32Window *>(this)->child(window);
}

void Win32Window::showWindow()
{
    ShowWindow(m_hwnd, SW_SHOW);
    SetForegroundWindow(m_hwnd);
    SetActiveWindow(m_hwnd);
}

void Win32Window::hideWindow()
{
    ShowWindow(m_hwnd, SW_HIDE);
}

void Win32Window::focus(Control control)
{
    for (const Child &c : m_children)
        if (c.design->id == control && control != Control::None)
            SetFocus(c.hwnd);
}

std::unique_ptr<TextBox> Win32Window::textBox(std::string_view name)
{
    return std::make_unique<Win32TextBox>(this->control(name));
}

std::unique_ptr<Label> Win32Window::label(std::string_view name)
{
    return std::make_unique<Win32Label>(this->control(name));
}

void Win32Window::destroyWindow(bool eventUnderWay)
{
    // The window goes now; inside one of its own events the object stays
    // until that event has returned, since the window procedure still
    // runs on it.
    if (m_hwnd)
        DestroyWindow(m_hwnd);
    deleteWhenIdle(eventUnderWay);
}

LRESULT CALLBACK Win32Window::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto *self = static_cast<Win32Window *>(reinterpret_cast<CREATESTRUCTW *>(lParam)->lpCreateParams);
        self->m_hwnd = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto *self = reinterpret_cast<Win32Window *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->m_hwnd = nullptr;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    // The forms present their own errors; this only keeps anything else
    // (memory running out, say) from unwinding into Windows.
    try {
        return self->handle(message, wParam, lParam);
    } catch (...) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

LRESULT Win32Window::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(m_hwnd, &ps);
        paintPanels(dc);
        EndPaint(m_hwnd, &ps);
        return 0;
    }
    case WM_CTLCOLORSTATIC: {
        const Child *c = child(reinterpret_cast<HWND>(lParam));
        if (c && c->design->white) {
            SetBkColor(reinterpret_cast<HDC>(wParam), White);
            return reinterpret_cast<LRESULT>(m_white);
        }
        break;
    }
    case WM_ACTIVATE:
        // A plain window gives the focus to itself on activation; the
        // control that had it gets it back instead.
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(m_hwnd, focus))
                m_savedFocus = focus;
        } else if (m_savedFocus && IsWindow(m_savedFocus)) {
            SetFocus(m_savedFocus);
            return 0;
        }
        break;
    case DM_GETDEFID: {
        // Enter presses the focused button, and no other.
        const Child *c = child(GetFocus());
        if (c && c->design->kind == layout::Kind::CommandButton)
            return MAKELRESULT(c->id, DC_HASDEFID);
        return 0;
    }
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        const int code = HIWORD(wParam);
        if (lParam) {
            Child *c = child(reinterpret_cast<HWND>(lParam));
            if (!c)
                return 0;
            // Every change of a box's text is one: a write of the text it
            // holds never reaches the box, and a user's edit that leaves the
            // text as it was (a character typed over the same one) is an edit.
            if (c->design->kind == layout::Kind::TextBox && code == EN_CHANGE)
                link().textChanged(c->design->id);
            else if (c->design->kind == layout::Kind::CommandButton && code == BN_CLICKED)
                link().click(c->design->id);
            return 0;
        }
        // Menus and accelerators; IDOK and IDCANCEL from the dialog manager
        // (Enter and Escape) do nothing.
        const std::size_t index = std::size_t(id - MenuIdBase);
        if (id >= MenuIdBase && index < m_design.menus.size())
            link().menuChosen(m_design.menus[index].item);
        return 0;
    }
    case WM_DPICHANGED: {
        m_dpi = HIWORD(wParam);
        const RECT *suggested = reinterpret_cast<const RECT *>(lParam);
        SetWindowPos(m_hwnd, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        layoutControls();
        fitClientArea();
        return 0;
    }
    case WM_CLOSE:
        link().closeRequested();
        return 0;
    default:
        break;
    }
    return DefWindowProcW(m_hwnd, message, wParam, lParam);
}

} // namespace ui::win32
