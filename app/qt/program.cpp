#include "app/qt/program.h"

#include "ui/qt/qt_about_window.h"
#include "ui/qt/qt_main_window.h"
#include "ui/qt/qt_controls.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>

namespace app {

Program::Program(std::function<void()> end) : m_end(std::move(end))
{
    if (!m_end)
        m_end = [] { QCoreApplication::exit(0); };
}

Program::~Program()
{
    if (m_frmAbout && m_frmAbout->window)
        delete m_frmAbout->window.data();
}

void Program::Start()
{
    ShowForm(ui::FormId::Main);
}

ui::QtAboutWindow *Program::frmAbout() const
{
    return m_frmAbout ? m_frmAbout->window.data() : nullptr;
}

void Program::MsgBox(std::u16string_view prompt, std::u16string_view title)
{
    QWidget *owner = QApplication::activeWindow();
    if (!owner && m_frmMain && m_frmMain->isVisible())
        owner = m_frmMain.get();
    const std::u16string_view shownTitle = title.empty() ? ui::ApplicationTitle : title;
    QMessageBox box(QMessageBox::NoIcon,
                    QString::fromUtf16(shownTitle.data(), qsizetype(shownTitle.size())),
                    ui::displayText(std::u16string(prompt)), QMessageBox::Ok, owner);
    box.setObjectName(QStringLiteral("messageBox"));
    box.exec();
    // Without a window manager nothing re-activates the window, and an
    // inactive window takes no shortcuts.
    if (owner)
        owner->activateWindow();
}

void Program::ShowForm(ui::FormId form)
{
    if (form == ui::FormId::Main) {
        if (!m_frmMain) {
            m_frmMain = std::make_unique<ui::QtMainWindow>(*this);
            m_frmMain->form().Run([this] { m_frmMain->form().Form_Load(); });
            m_frmMain->show();
            m_frmMain->activateWindow();
        } else {
            m_frmMain->showAgain();
        }
        return;
    }
    if (!m_frmAbout)
        m_frmAbout = std::make_unique<AboutInstance>();
    if (!m_frmAbout->window)
        m_frmAbout->window = new ui::QtAboutWindow(*this);
    m_frmAbout->window->show();
    m_frmAbout->window->activateWindow();
}

void Program::End()
{
    m_end();
}

void setApplicationIdentity()
{
    QCoreApplication::setApplicationName(QStringLiteral("Emberline"));
    QCoreApplication::setOrganizationName(QStringLiteral("Velmora"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.00"));
    // The same 48x48 picture as pyrel.ico, as PNG: Qt decodes PNG itself,
    // while reading the .ico loads the image-format plugins (and libjpeg with
    // them) during start-up, some 330 KiB of resident memory for one icon.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pyrel.png")));
    ui::installFontSubstitutions();
}

} // namespace app
