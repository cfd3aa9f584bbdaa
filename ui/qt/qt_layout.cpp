#include "ui/qt/qt_layout.h"

#include "ui/qt/qt_adapters.h"
#include "ui/qt/qt_widgets.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QPalette>

namespace ui::qt {

namespace {

QString nameOf(std::string_view name)
{
    return QString::fromLatin1(name.data(), qsizetype(name.size()));
}

// A borderless white panel: only the change of colour marks its edges, and
// its caption is never drawn.
QFrame *makePanel(QWidget *parent)
{
    auto *frame = new QFrame(parent);
    frame->setFrameShape(QFrame::NoFrame);
    frame->setAutoFillBackground(true);
    QPalette palette = frame->palette();
    palette.setColor(QPalette::Window, Qt::white);
    frame->setPalette(palette);
    return frame;
}

QWidget *makeControl(QWidget *parent, const layout::ControlDesign &design)
{
    using layout::Kind;
    const QRect rect = pixelRect(design.rect);
    switch (design.kind) {
    case Kind::Frame: {
        QFrame *frame = makePanel(parent);
        frame->setGeometry(rect);
        return frame;
    }
    case Kind::TextBox: {
        auto *box = new InputBox(parent);
        box->setFont(windowFont(*design.font));
        box->setGeometry(rect);
        return box;
    }
    case Kind::CommandButton: {
        auto *button = new CommandButton(QString(), parent);
        button->setFont(windowFont(*design.font));
        button->setGeometry(rect);
        wrapCaptionToFit(button, qstr(design.caption));
        return button;
    }
    case Kind::Label: {
        auto *label = new CaptionLabel(parent);
        label->setFont(windowFont(*design.font));
        label->setAlignment((design.align == layout::Align::Centre ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
        label->setCaption(design.caption);
        label->setGeometry(rect);
        return label;
    }
    case Kind::Picture: {
        QLabel *picture = makePicture(parent, nameOf(design.picture));
        picture->move(rect.topLeft());
        return picture;
    }
    }
    return nullptr;
}

} // namespace

void installFontSubstitutions()
{
    QFont::insertSubstitution(QStringLiteral("Garamond"), QStringLiteral("EB Garamond"));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
}

QFont windowFont(const layout::Font &design)
{
    QFont font(qstr(design.face));
    font.setPointSizeF(design.points);
    font.setWeight(design.bold ? QFont::Bold : QFont::Normal);
    return font;
}

QRect pixelRect(const layout::Rect &twips)
{
    return QRect(layout::pixels(twips.left), layout::pixels(twips.top), layout::pixels(twips.width),
                 layout::pixels(twips.height));
}

QString qstr(std::u16string_view text)
{
    return QString::fromUtf16(text.data(), qsizetype(text.size()));
}

QtControls::QtControls(QWidget *client, const layout::WindowDesign &window, EventLink &link)
    : m_client(client), m_window(window), m_link(link)
{
    installFontSubstitutions();
    // The panels first, so that what lies on them has its parent.
    for (int pass = 0; pass < 2; ++pass) {
        for (const layout::ControlDesign &design : window.controls) {
            if ((design.kind == layout::Kind::Frame) != (pass == 0))
                continue;
            QWidget *parent = design.container.empty() ? client : m_built.value(nameOf(design.container));
            QWidget *widget = makeControl(parent, design);
            widget->setObjectName(nameOf(design.name));
            if (!design.accessibleName.empty())
                widget->setAccessibleName(qstr(design.accessibleName));
            if (!design.accessibleDescription.empty())
                widget->setAccessibleDescription(qstr(design.accessibleDescription));
            m_built.insert(widget->objectName(), widget);
        }
    }
    // The first control listed is on top.
    for (auto it = window.controls.rbegin(); it != window.controls.rend(); ++it)
        m_built.value(nameOf(it->name))->raise();
    const auto order = layout::tabOrder(window);
    for (std::size_t i = 0; i + 1 < order.size(); ++i)
        QWidget::setTabOrder(m_built.value(nameOf(order[i]->name)), m_built.value(nameOf(order[i + 1]->name)));
    wire();
}

void QtControls::wire()
{
    EventLink &link = m_link;
    for (const layout::ControlDesign &design : m_window.controls) {
        const Control id = design.id;
        if (design.kind == layout::Kind::TextBox) {
            auto *box = static_cast<InputBox *>(widget(design.name));
            QObject::connect(box, &QLineEdit::textChanged, &m_receiver, [&link, id] { link.textChanged(id); });
            box->setKeyHandler([&link, id](std::int16_t code) { link.keyPress(id, code); });
        } else if (design.kind == layout::Kind::CommandButton) {
            auto *button = static_cast<QPushButton *>(widget(design.name));
            QObject::connect(button, &QPushButton::clicked, &m_receiver, [&link, id] { link.click(id); });
        }
    }
    QObject::connect(qApp, &QApplication::focusChanged, &m_receiver, [this, &link](QWidget *old, QWidget *now) {
        const Control from = controlOf(old);
        const Control to = controlOf(now);
        if (from != Control::None || to != Control::None)
            link.focusMoved(from, to);
    });
}

QWidget *QtControls::widget(std::string_view name) const
{
    return m_built.value(nameOf(name));
}

Control QtControls::controlOf(const QWidget *widget) const
{
    if (!widget)
        return Control::None;
    const layout::ControlDesign *design = layout::find(m_window, widget->objectName().toStdString());
    return design && m_built.value(widget->objectName()) == widget ? design->id : Control::None;
}

Control QtControls::focused() const
{
    return controlOf(m_client->window()->focusWidget());
}

void QtControls::focus(Control control) const
{
    for (const layout::ControlDesign &design : m_window.controls)
        if (design.id == control && control != Control::None)
            widget(design.name)->setFocus(Qt::OtherFocusReason);
}

std::unique_ptr<TextBox> QtControls::textBox(std::string_view name) const
{
    return std::make_unique<QtTextBox>(static_cast<InputBox *>(widget(name)));
}

std::unique_ptr<Label> QtControls::label(std::string_view name) const
{
    return std::make_unique<QtLabel>(static_cast<CaptionLabel *>(widget(name)));
}

void QtControls::buildMenus(QMenuBar *bar)
{
    EventLink &link = m_link;
    for (const layout::DropDown &dropDown : layout::menuBar(m_window)) {
        QMenu *menu = bar->addMenu(qstr(dropDown.title->caption));
        menu->setObjectName(nameOf(dropDown.title->name));
        for (const layout::MenuLine &line : dropDown.lines) {
            if (line.separator) {
                menu->addSeparator()->setObjectName(nameOf(line.entry->name));
                continue;
            }
            QAction *action = menu->addAction(qstr(line.entry->caption));
            action->setObjectName(nameOf(line.entry->name));
            action->setShortcut(QKeySequence(qstr(line.shortcut), QKeySequence::PortableText));
            const MenuItem item = line.entry->item;
            QObject::connect(action, &QAction::triggered, &m_receiver, [&link, item] { link.menuChosen(item); });
        }
    }
}

} // namespace ui::qt
