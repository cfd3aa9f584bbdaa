#include "app/qt/program.h"

#include "emberline/identity.h"
#include "ui/qt/qt_layout.h"
#include "ui/qt/qt_widgets.h"
#include "ui/qt/qt_window.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>

namespace app {

Program::Program(std::function<void()> end) : m_end(std::move(end))
{
    if (!m_end)
        m_end = [] { QCoreApplication::exit(0); };
}

Program::~Program() = default;

void Program::start()
{
    m_forms.start();
}

ui::qt::QtWindow *Program::widget(ui::FormId id) const
{
    return m_forms.isLoaded(id) ? m_windows[std::size_t(id)].data() : nullptr;
}

ui::NativeWindow &Program::createWindow(ui::FormId id, const ui::layout::WindowDesign &design, ui::Form &form)
{
    auto *window = new ui::qt::QtWindow(design, form);
    m_windows[std::size_t(id)] = window;
    return *window;
}

void Program::messageBox(std::u16string_view prompt, std::u16string_view title, std::optional<ui::FormId> owner)
{
    QWidget *parent = owner ? widget(*owner) : nullptr;
    QMessageBox box(QMessageBox::NoIcon, ui::qt::qstr(title), ui::qt::displayText(prompt), QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("messageBox"));
    box.exec();
    // Without a window manager nothing re-activates the window, and an
    // inactive window takes no shortcuts.
    if (parent)
        parent->activateWindow();
}

void Program::quit()
{
    m_end();
}

void setApplicationIdentity()
{
    QCoreApplication::setApplicationName(ui::qt::qstr(identity::ProductName));
    QCoreApplication::setOrganizationName(ui::qt::qstr(identity::CompanyName));
    QCoreApplication::setApplicationVersion(ui::qt::qstr(identity::VersionText));
    // The same 48x48 picture as pyrel.ico, as PNG: Qt decodes PNG itself,
    // while reading the .ico loads the image-format plugins (and libjpeg with
    // them) during start-up, some 330 KiB of resident memory for one icon.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pyrel.png")));
    ui::qt::installFontSubstitutions();
}

} // namespace app
