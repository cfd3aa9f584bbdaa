#include "app/qt/program.h"

#include "emberline/identity.h"
#include "ui/qt/qt_about_window.h"
#include "ui/qt/qt_layout.h"
#include "ui/qt/qt_main_window.h"
#include "ui/qt/qt_widgets.h"

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

void Program::Start()
{
    m_forms.Start();
}

ui::QtMainWindow *Program::frmMain() const
{
    return m_forms.isLoaded(ui::FormId::Main) ? m_main.data() : nullptr;
}

ui::QtAboutWindow *Program::frmAbout() const
{
    return m_forms.isLoaded(ui::FormId::About) ? m_about.data() : nullptr;
}

ui::NativeWindow &Program::createMainWindow(ui::MainForm &form)
{
    m_main = new ui::QtMainWindow(form);
    return *m_main;
}

ui::NativeWindow &Program::createAboutWindow(ui::AboutForm &form)
{
    m_about = new ui::QtAboutWindow(form);
    return *m_about;
}

void Program::messageBox(std::u16string_view prompt, std::u16string_view title)
{
    QWidget *owner = QApplication::activeWindow();
    if (!owner && m_main && m_main->isVisible())
        owner = m_main;
    QMessageBox box(QMessageBox::NoIcon, ui::qstr(title), ui::displayText(prompt), QMessageBox::Ok, owner);
    box.setObjectName(QStringLiteral("messageBox"));
    box.exec();
    // Without a window manager nothing re-activates the window, and an
    // inactive window takes no shortcuts.
    if (owner)
        owner->activateWindow();
}

void Program::quit()
{
    m_end();
}

void setApplicationIdentity()
{
    QCoreApplication::setApplicationName(ui::qstr(identity::ProductName));
    QCoreApplication::setOrganizationName(ui::qstr(identity::CompanyName));
    QCoreApplication::setApplicationVersion(ui::qstr(identity::VersionText));
    // The same 48x48 picture as pyrel.ico, as PNG: Qt decodes PNG itself,
    // while reading the .ico loads the image-format plugins (and libjpeg with
    // them) during start-up, some 330 KiB of resident memory for one icon.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pyrel.png")));
    ui::installFontSubstitutions();
}

} // namespace app
