#include "ui/qt/qt_main_window.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QLayout>
#include <QMenuBar>
#include <QPalette>
#include <QWindow>

namespace ui {

namespace {

QFont garamond(qreal points, bool bold)
{
    return windowFont(QStringLiteral("Garamond"), points, bold);
}

QFont sansSerif()
{
    return windowFont(QStringLiteral("MS Sans Serif"), 12, false);
}

// A borderless white panel: only the change of colour marks its edges.
QFrame *makePanel(QWidget *parent, const char *name, const QRect &geometry)
{
    auto *frame = new QFrame(parent);
    frame->setObjectName(QLatin1String(name));
    frame->setFrameShape(QFrame::NoFrame);
    frame->setAutoFillBackground(true);
    QPalette palette = frame->palette();
    palette.setColor(QPalette::Window, Qt::white);
    frame->setPalette(palette);
    frame->setGeometry(geometry);
    return frame;
}

QLabel *makeHeading(QWidget *parent, const char *name, const QString &caption, const QRect &geometry,
                    const QFont &font, Qt::Alignment alignment)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->setFont(font);
    label->setAlignment(alignment | Qt::AlignTop);
    label->setGeometry(geometry);
    return label;
}

} // namespace

QtMainWindow::QtMainWindow(Shell &shell)
{
    installFontSubstitutions();
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Fractional Blackbody Emissive Power"));

    buildControls();
    buildMenus();

    m_txtTBox = std::make_unique<QtTextBox>(m_txtT);
    m_txtLBox = std::make_unique<QtTextBox>(m_txtL);
    m_lblLTLabel = std::make_unique<QtLabel>(m_lblLT);
    m_lblFLabel = std::make_unique<QtLabel>(m_lblF);
    m_form = std::make_unique<MainForm>(
            MainControls{*m_txtTBox, *m_txtLBox, *m_lblLTLabel, *m_lblFLabel, m_handle}, shell);

    connectEvents();
    m_txtT->setFocus(Qt::OtherFocusReason);
}

QtMainWindow::~QtMainWindow()
{
    // The focus leaves the boxes while the widgets go; nothing may validate.
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
}

void QtMainWindow::buildControls()
{
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(426, 339);
    setCentralWidget(client);

    // Created in reverse of the stacking order (the first control listed is
    // on top); nothing overlaps, so only the tab order below matters.
    makeHeading(client, "Label1", QStringLiteral("Fractional Blackbody Emissive Power"),
                twipsRect(240, 240, 5895, 495), garamond(18, true), Qt::AlignHCenter);
    makeHeading(client, "Label2", QStringLiteral("Input Values:"), twipsRect(480, 960, 1455, 255),
                garamond(12, true), Qt::AlignLeft);
    makeHeading(client, "Label3", QStringLiteral("Calculated Values:"), twipsRect(480, 2520, 2055, 255),
                garamond(12, true), Qt::AlignLeft);

    QFrame *frame1 = makePanel(client, "Frame1", twipsRect(480, 1320, 5415, 855));
    makePicture(frame1, QStringLiteral("Image1"), QStringLiteral(":/image1.png"), 840, 240, QStringLiteral("T(K)="));
    makePicture(frame1, QStringLiteral("Image2"), QStringLiteral(":/image2.png"), 3080, 240,
                QString::fromUtf8("\u03BB(\u03BCm)="));
    const auto place = [](QWidget *widget, const char *name, const QRect &geometry) {
        widget->setObjectName(QLatin1String(name));
        widget->setGeometry(geometry);
        widget->setFont(sansSerif());
    };
    m_txtT = new InputBox(frame1);
    place(m_txtT, "txtT", twipsRect(1680, 240, 975, 405));
    m_txtT->setAccessibleName(QStringLiteral("Temperature (K)"));
    m_txtL = new InputBox(frame1);
    place(m_txtL, "txtL", twipsRect(4080, 240, 975, 405));
    m_txtL->setAccessibleName(QString::fromUtf8("Wavelength (\u00B5m)"));

    QFrame *frame2 = makePanel(client, "Frame2", twipsRect(480, 2880, 5415, 855));
    makePicture(frame2, QStringLiteral("Image3"), QStringLiteral(":/image3.png"), 3200, 300,
                QString::fromUtf8("F(0\u2192\u03BB)="));
    makePicture(frame2, QStringLiteral("Image4"), QStringLiteral(":/image4.png"), 240, 240,
                QString::fromUtf8("\u03BBT(\u03BCm\u00B7K)="));
    m_lblLT = new CaptionLabel(frame2);
    place(m_lblLT, "lblLT", twipsRect(1680, 270, 975, 300));
    m_lblLT->setAccessibleDescription(QString::fromUtf8("\u03BBT (\u00B5m\u00B7K)"));
    m_lblF = new CaptionLabel(frame2);
    place(m_lblF, "lblF", twipsRect(4080, 270, 975, 300));
    m_lblF->setAccessibleDescription(QString::fromUtf8("F(0\u2192\u03BB)"));

    const auto makeButton = [client](const char *name, const QString &caption, int left) {
        auto *button = new CommandButton(QString(), client);
        button->setObjectName(QLatin1String(name));
        button->setFont(garamond(12, true));
        button->setGeometry(twipsRect(left, 4080, 1455, 735));
        wrapCaptionToFit(button, caption);
        button->setAccessibleName(QString(caption).remove(QLatin1Char('&')));
        return button;
    };
    m_cmdCalc = makeButton("cmdCalc", QStringLiteral("&Calculate Values"), 1080);
    m_cmdReset = makeButton("cmdReset", QStringLiteral("&Reset Form"), 2760);
    m_cmdExit = makeButton("cmdExit", QStringLiteral("E&xit"), 4440);

    setTabOrder(m_txtT, m_txtL);
    setTabOrder(m_txtL, m_cmdCalc);
    setTabOrder(m_cmdCalc, m_cmdReset);
    setTabOrder(m_cmdReset, m_cmdExit);

    // The client area has a fixed size; the window fits it and the menu bar.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

QAction *QtMainWindow::addMenuAction(QMenu *menu, const char *name, const QString &caption,
                                     const QKeySequence &shortcut, void (MainForm::*procedure)())
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(shortcut);
    connect(action, &QAction::triggered, this, [this, procedure] {
        m_form->Run([this, procedure] { (m_form.get()->*procedure)(); });
    });
    return action;
}

void QtMainWindow::buildMenus()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    addMenuAction(file, "mnuCalc", QStringLiteral("Calculate Values"), QKeySequence(Qt::CTRL | Qt::Key_L),
                  &MainForm::mnuCalc_Click);
    addMenuAction(file, "mnuReset", QStringLiteral("Reset Form"), QKeySequence(Qt::CTRL | Qt::Key_R),
                  &MainForm::mnuReset_Click);
    file->addSeparator()->setObjectName(QStringLiteral("mnuL1"));
    addMenuAction(file, "mnuExit", QStringLiteral("E&xit"), QKeySequence(Qt::CTRL | Qt::Key_Q),
                  &MainForm::mnuExit_Click);

    QMenu *help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    addMenuAction(help, "mnuInstructions", QStringLiteral("&Instructions"), QKeySequence(Qt::CTRL | Qt::Key_I),
                  &MainForm::mnuInstructions_Click);
    help->addSeparator()->setObjectName(QStringLiteral("mnuL2"));
    addMenuAction(help, "mnuAbout", QStringLiteral("&About Pyrel.exe..."), QKeySequence(),
                  &MainForm::mnuAbout_Click);
}

void QtMainWindow::connectEvents()
{
    MainForm *form = m_form.get();
    connect(m_txtT, &QLineEdit::textChanged, this, [form] { form->Run([form] { form->txtT_Change(); }); });
    connect(m_txtL, &QLineEdit::textChanged, this, [form] { form->Run([form] { form->txtL_Change(); }); });
    m_txtT->setKeyHandler([form](std::int16_t code) {
        form->Run([form, code]() mutable { form->txtT_KeyPress(code); });
    });
    m_txtL->setKeyHandler([form](std::int16_t code) {
        form->Run([form, code]() mutable { form->txtL_KeyPress(code); });
    });
    connect(m_cmdCalc, &QPushButton::clicked, this, [form] { form->Run([form] { form->cmdCalc_Click(); }); });
    connect(m_cmdReset, &QPushButton::clicked, this, [form] { form->Run([form] { form->cmdReset_Click(); }); });
    connect(m_cmdExit, &QPushButton::clicked, this, [form] { form->Run([form] { form->cmdExit_Click(); }); });
    connect(qApp, &QApplication::focusChanged, this, &QtMainWindow::onFocusChanged);
}

Control QtMainWindow::controlOf(const QWidget *widget) const
{
    if (!widget)
        return Control::None;
    if (widget == m_txtT)
        return Control::txtT;
    if (widget == m_txtL)
        return Control::txtL;
    if (widget == m_cmdCalc)
        return Control::cmdCalc;
    if (widget == m_cmdReset)
        return Control::cmdReset;
    if (widget == m_cmdExit)
        return Control::cmdExit;
    return Control::Other;
}

void QtMainWindow::onFocusChanged(QWidget *old, QWidget *now)
{
    // Only a move from a box to another control of this window counts: a
    // menu, a message box, another window, hiding and closing leave the
    // focus to nothing or to a widget of another window.
    if (m_restoringFocus || !old || !now || old == now)
        return;
    if (old != m_txtT && old != m_txtL)
        return;
    if (now->window() != this || qobject_cast<QMenuBar *>(now))
        return;
    m_form->FocusMoved(controlOf(old), controlOf(now));
}

void QtMainWindow::hideKeepingFocus()
{
    m_savedFocus = focusWidget();
    m_savedPosition = geometry().topLeft();
    hide();
}

void QtMainWindow::showAgain()
{
    // A menu closing over the hidden window can move its focus child; put
    // it back without this counting as leaving a box.
    if (m_savedFocus) {
        m_restoringFocus = true;
        m_savedFocus->setFocus(Qt::OtherFocusReason);
        m_restoringFocus = false;
    }
    // Shown while the About window is still up, the window would otherwise
    // be placed afresh by the window manager; it returns where it was.
    if (m_savedPosition) {
        if (QWindow *native = windowHandle())
            native->setPosition(*m_savedPosition);
    }
    show();
    activateWindow();
}

} // namespace ui
