#include "ui/qt/qt_layout.h"

#include "ui/qt/qt_widgets.h"

#include <QAction>
#include <QFrame>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QPalette>

namespace ui {

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
    return QRect(layout::Pixels(twips.left), layout::Pixels(twips.top), layout::Pixels(twips.width),
                 layout::Pixels(twips.height));
}

QString qstr(std::u16string_view text)
{
    return QString::fromUtf16(text.data(), qsizetype(text.size()));
}

QHash<QString, QWidget *> buildControls(QWidget *client, const layout::WindowDesign &window)
{
    installFontSubstitutions();
    QHash<QString, QWidget *> built;
    // The panels first, so that what lies on them has its parent.
    for (int pass = 0; pass < 2; ++pass) {
        for (const layout::ControlDesign &design : window.controls) {
            if ((design.kind == layout::Kind::Frame) != (pass == 0))
                continue;
            QWidget *parent = design.container.empty() ? client : built.value(nameOf(design.container));
            QWidget *widget = makeControl(parent, design);
            widget->setObjectName(nameOf(design.name));
            if (!design.accessibleName.empty())
                widget->setAccessibleName(qstr(design.accessibleName));
            if (!design.accessibleDescription.empty())
                widget->setAccessibleDescription(qstr(design.accessibleDescription));
            built.insert(widget->objectName(), widget);
        }
    }
    // The first control listed is on top.
    for (auto it = window.controls.rbegin(); it != window.controls.rend(); ++it)
        built.value(nameOf(it->name))->raise();
    const auto order = layout::TabOrder(window);
    for (std::size_t i = 0; i + 1 < order.size(); ++i)
        QWidget::setTabOrder(built.value(nameOf(order[i]->name)), built.value(nameOf(order[i + 1]->name)));
    return built;
}

void buildMenus(QMenuBar *bar, const layout::WindowDesign &window, const std::function<void(MenuItem)> &chosen)
{
    QHash<QString, QMenu *> menus;
    for (const layout::MenuEntry &entry : window.menus) {
        const QString name = nameOf(entry.name);
        if (entry.parent.empty()) {
            QMenu *menu = bar->addMenu(qstr(entry.caption));
            menu->setObjectName(name);
            menus.insert(name, menu);
            continue;
        }
        QMenu *menu = menus.value(nameOf(entry.parent));
        if (entry.caption == u"-") {
            menu->addSeparator()->setObjectName(name);
            continue;
        }
        QAction *action = menu->addAction(qstr(entry.caption));
        action->setObjectName(name);
        if (entry.ctrlKey)
            action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key(entry.ctrlKey)));
        const MenuItem item = entry.item;
        QObject::connect(action, &QAction::triggered, bar, [chosen, item] { chosen(item); });
    }
}

} // namespace ui
