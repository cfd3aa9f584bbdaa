#include "ui/win32/win32_main_window.h"

#include "ui/main/main_form.h"
#include "ui/main/main_layout.h"
#include "ui/win32/win32_adapters.h"
#include "ui/win32/win32_support.h"

#include <map>
#include <vector>

namespace ui::win32 {

namespace {

constexpr DWORD MainStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

// The menu bar from the menu table: an entry's id is `idBase` plus its
// index in the table, and its shortcut is shown right-aligned after a tab.
HMENU buildMenuBar(const layout::WindowDesign &design, int idBase)
{
    HMENU bar = CreateMenu();
    std::map<std::string_view, HMENU> menus;
    for (std::size_t i = 0; i < design.menus.size(); ++i) {
        const layout::MenuEntry &entry = design.menus[i];
        std::wstring caption = wide(entry.caption);
        if (entry.parent.empty()) {
            HMENU menu = CreatePopupMenu();
            menus[entry.name] = menu;
            AppendMenuW(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(menu), caption.c_str());
            continue;
        }
        HMENU menu = menus[entry.parent];
        if (entry.caption == u"-") {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        if (entry.ctrlKey) {
            caption += L"\tCtrl+";
            caption.push_back(wchar_t(entry.ctrlKey));
        }
        AppendMenuW(menu, MF_STRING, UINT_PTR(idBase + int(i)), caption.c_str());
    }
    return bar;
}

HACCEL buildAccelerators(const layout::WindowDesign &design, int idBase)
{
    std::vector<ACCEL> table;
    for (std::size_t i = 0; i < design.menus.size(); ++i)
        if (const char16_t key = design.menus[i].ctrlKey)
            table.push_back(ACCEL{FVIRTKEY | FCONTROL, WORD(key), WORD(idBase + int(i))});
    return CreateAcceleratorTableW(table.data(), int(table.size()));
}

} // namespace

class Win32MainWindow::Handle : public MainWindow {
public:
    explicit Handle(Win32MainWindow *window)
        : m_window(window), m_txtT(window->control("txtT")), m_txtL(window->control("txtL")),
          m_lblLT(window->control("lblLT")), m_lblF(window->control("lblF"))
    {
    }

    ~Handle() override
    {
        m_window->m_form = nullptr;
        m_window->destroyLater();
    }

    void show() override { m_window->showWindow(); }
    void hide() override { m_window->hideWindow(); }
    TextBox &txtT() override { return m_txtT; }
    TextBox &txtL() override { return m_txtL; }
    Label &lblLT() override { return m_lblLT; }
    Label &lblF() override { return m_lblF; }
    Control focused() const override { return m_window->focused(); }

private:

    Win32MainWindow *m_window;
    Win32TextBox m_txtT;
    Win32TextBox m_txtL;
    Win32Label m_lblLT;
    Win32Label m_lblF;
};

Win32MainWindow::Win32MainWindow(MainForm &form, HINSTANCE instance)
    : Win32Window(MainLayout(), instance, MainStyle, buildMenuBar(MainLayout(), MenuIdBase)),
      m_form(&form), m_accelerators(buildAccelerators(MainLayout(), MenuIdBase))
{
}

Win32MainWindow::~Win32MainWindow()
{
    if (m_accelerators)
        DestroyAcceleratorTable(m_accelerators);
}

std::unique_ptr<MainWindow> Win32MainWindow::handle(Win32MainWindow *window)
{
    return std::make_unique<Handle>(window);
}

void Win32MainWindow::onClose()
{
    if (m_form)
        m_form->CloseRequested();
}

void Win32MainWindow::onClicked(Control control)
{
    if (m_form)
        m_form->Click(control);
}

void Win32MainWindow::onMenu(int index)
{
    const auto &menus = MainLayout().menus;
    if (m_form && index >= 0 && std::size_t(index) < menus.size())
        m_form->MenuChosen(menus[std::size_t(index)].item);
}

void Win32MainWindow::onChar(Control box, std::int16_t code)
{
    if (m_form)
        m_form->KeyPress(box, code);
}

void Win32MainWindow::onTextChanged(Control box)
{
    if (m_form)
        m_form->TextChanged(box);
}

void Win32MainWindow::onFocusLost(Control from, Control to)
{
    if (m_form)
        m_form->FocusMoved(from, to);
}

} // namespace ui::win32
