// The baseline for the start-up benchmark: a plain QMainWindow holding the
// same widgets as Pyrel's main window (menu bar with File and Help, two white
// panels, two line edits, two result labels, three headings, four pictures,
// three push buttons), with the fonts asked for by their installed names and
// no behaviour behind any of it. Pyrel's start-up is compared against the
// time and memory this window takes to appear.

#include <QApplication>
#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>

namespace {

QFont serif(int points)
{
    QFont font(QStringLiteral("EB Garamond"));
    font.setPointSize(points);
    font.setWeight(QFont::Bold);
    return font;
}

QFont sansSerif()
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSize(12);
    return font;
}

QFrame *panel(QWidget *parent, const QRect &geometry)
{
    auto *frame = new QFrame(parent);
    frame->setFrameShape(QFrame::NoFrame);
    frame->setAutoFillBackground(true);
    QPalette palette = frame->palette();
    palette.setColor(QPalette::Window, Qt::white);
    frame->setPalette(palette);
    frame->setGeometry(geometry);
    return frame;
}

void heading(QWidget *parent, const QString &text, const QRect &geometry, int points,
             Qt::Alignment alignment = Qt::AlignLeft)
{
    auto *label = new QLabel(text, parent);
    label->setFont(serif(points));
    label->setAlignment(alignment | Qt::AlignTop);
    label->setGeometry(geometry);
}

void picture(QWidget *parent, const QPoint &at, const QSize &size)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::black);
    auto *label = new QLabel(parent);
    label->setPixmap(pixmap);
    label->setGeometry(QRect(at, size));
}

QLineEdit *lineEdit(QWidget *parent, const QRect &geometry)
{
    auto *edit = new QLineEdit(QStringLiteral("0"), parent);
    edit->setFont(sansSerif());
    edit->setGeometry(geometry);
    return edit;
}

void resultLabel(QWidget *parent, const QRect &geometry)
{
    auto *label = new QLabel(parent);
    label->setFont(sansSerif());
    label->setGeometry(geometry);
}

void button(QWidget *parent, const QString &caption, int left)
{
    auto *push = new QPushButton(caption, parent);
    push->setFont(serif(12));
    push->setGeometry(left, 272, 97, 49);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare Window"));

    auto *client = new QWidget(&window);
    client->setFixedSize(426, 339);
    window.setCentralWidget(client);

    heading(client, QStringLiteral("Fractional Blackbody Emissive Power"), QRect(16, 16, 393, 33), 18,
            Qt::AlignHCenter);
    heading(client, QStringLiteral("Input Values:"), QRect(32, 64, 97, 17), 12);
    heading(client, QStringLiteral("Calculated Values:"), QRect(32, 168, 137, 17), 12);

    QFrame *inputs = panel(client, QRect(32, 88, 361, 57));
    picture(inputs, QPoint(56, 16), QSize(48, 20));
    picture(inputs, QPoint(205, 16), QSize(56, 20));
    lineEdit(inputs, QRect(112, 16, 65, 27))->setFocus();
    lineEdit(inputs, QRect(272, 16, 65, 27));

    QFrame *results = panel(client, QRect(32, 192, 361, 57));
    picture(results, QPoint(213, 20), QSize(56, 24));
    picture(results, QPoint(16, 16), QSize(80, 20));
    resultLabel(results, QRect(112, 18, 65, 20));
    resultLabel(results, QRect(272, 18, 65, 20));

    button(client, QStringLiteral("&Calculate\nValues"), 72);
    button(client, QStringLiteral("&Reset Form"), 184);
    button(client, QStringLiteral("E&xit"), 296);

    QMenu *file = window.menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("Calculate Values"))->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    file->addAction(QStringLiteral("Reset Form"))->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    file->addSeparator();
    QObject::connect(file->addAction(QStringLiteral("E&xit")), &QAction::triggered, &application,
                     &QApplication::quit);
    file->actions().last()->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    QMenu *help = window.menuBar()->addMenu(QStringLiteral("&Help"));
    help->addAction(QStringLiteral("&Instructions"))->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    help->addSeparator();
    help->addAction(QStringLiteral("&About..."));

    window.layout()->setSizeConstraint(QLayout::SetFixedSize);
    window.show();
    return application.exec();
}
