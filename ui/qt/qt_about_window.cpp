#include "ui/qt/qt_about_window.h"

#include <QCloseEvent>
#include <QFont>

namespace ui {

QtAboutWindow::QtAboutWindow(Shell &shell)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    installFontSubstitutions();
    setObjectName(QStringLiteral("frmAbout"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("About Pyrel.exe"));
    setFixedSize(378, 316);

    m_lblTheLabel = new CaptionLabel(this);
    m_lblTheLabel->setObjectName(QStringLiteral("lblTheLabel"));
    m_lblTheLabel->setFont(windowFont(QStringLiteral("Garamond"), 12, false));
    m_lblTheLabel->setGeometry(twipsRect(240, 240, 5175, 2895));
    m_lblTheLabel->setAccessibleDescription(QStringLiteral("About Emberline"));

    // The formula lies over the lower part of the label and is drawn above it.
    QLabel *formula = makePicture(this, QStringLiteral("Image1"), QStringLiteral(":/formula.png"), 840, 2160,
                                  QString::fromUtf8("F(0\u2192\u03BB) = 15/\u03C0\u2074 \u03A3 e^(\u2212nz)/n "
                                                    "(z\u00B3 + 3z\u00B2/n + 6z/n\u00B2 + 6/n\u00B3), "
                                                    "where z = C\u2082/\u03BBT and C\u2082 = 14387.96"));
    formula->raise();

    auto *ok = new CommandButton(QStringLiteral("&OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setFont(windowFont(QStringLiteral("Garamond"), 8.25, true));
    ok->setGeometry(twipsRect(4320, 3840, 1095, 615));
    ok->setAccessibleName(QStringLiteral("OK"));
    ok->raise();
    ok->setFocus(Qt::OtherFocusReason);

    m_label = std::make_unique<QtLabel>(m_lblTheLabel);
    m_form = std::make_unique<AboutForm>(AboutControls{*m_label, m_handle}, shell);
    connect(ok, &QPushButton::clicked, this, [this] { m_form->cmdOK_Click(); });

    m_form->Form_Load();
}

QtAboutWindow::~QtAboutWindow() = default;

void QtAboutWindow::closeEvent(QCloseEvent *event)
{
    // The main window is shown again inside the unload, before this window
    // goes, so there is always a window and the program goes on.
    std::int16_t cancel = 0;
    m_form->Form_Unload(cancel);
    if (cancel != 0)
        event->ignore();
    else
        event->accept();
}

} // namespace ui
