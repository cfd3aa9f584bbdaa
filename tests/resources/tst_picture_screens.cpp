// The pictures follow the screen a window is on: built on a screen of one
// device pixel to the logical pixel, then moved to a screen of two and back,
// each window shows every picture from the bitmap drawn for the screen it is
// on now, at the same place and size in logical pixels. The offscreen
// platform is given the two screens side by side.

#include "app/qt/program.h"
#include "ui/qt/qt_window.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

// Left: 1000x1000 at one device pixel to the logical pixel; right of it, a
// screen of 2000x2000 device pixels at two (1000x1000 logical pixels).
const char *const Screens = R"({
    "screens": [
        {"name": "one", "x": 0, "y": 0, "width": 1000, "height": 1000, "dpr": 1.0},
        {"name": "two", "x": 1000, "y": 0, "width": 2000, "height": 2000, "dpr": 2.0}
    ]
})";

QScreen *screenNamed(const QString &name)
{
    for (QScreen *screen : QGuiApplication::screens())
        if (screen->name() == name)
            return screen;
    return nullptr;
}

void settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class TestPictureScreens : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void picturesFollowTheScreen_data();
    void picturesFollowTheScreen();
};

void TestPictureScreens::initTestCase()
{
    QVERIFY(screenNamed("one"));
    QVERIFY(screenNamed("two"));
    QCOMPARE(screenNamed("two")->devicePixelRatio(), 2.0);
}

void TestPictureScreens::picturesFollowTheScreen_data()
{
    QTest::addColumn<bool>("about");
    QTest::addColumn<QString>("objectName");
    QTest::addColumn<QString>("bitmap");
    QTest::newRow("temperature picture") << false << "Image1" << "image1";
    QTest::newRow("wavelength picture") << false << "Image2" << "image2";
    QTest::newRow("fraction picture") << false << "Image3" << "image3";
    QTest::newRow("lambda-T picture") << false << "Image4" << "image4";
    QTest::newRow("About's formula") << true << "Image1" << "formula";
}

void TestPictureScreens::picturesFollowTheScreen()
{
    QFETCH(bool, about);
    QFETCH(QString, objectName);
    QFETCH(QString, bitmap);

    app::Program program([] {});
    program.start();
    QWidget *window = program.mainWidget();
    if (about) {
        program.forms().Show(ui::FormId::About);
        window = program.aboutWidget();
    }
    QVERIFY(window && window->isVisible());
    settle();
    auto *picture = window->findChild<QLabel *>(objectName);
    QVERIFY(picture);
    const QRect place = picture->geometry();

    // One screen, then the other, then back.
    const struct {
        const char *screen;
        QPoint at;
        qreal ratio;
        const char *suffix;
    } steps[] = {{"one", {100, 100}, 1.0, ""}, {"two", {1100, 100}, 2.0, "@2x"}, {"one", {100, 100}, 1.0, ""}};
    for (const auto &step : steps) {
        // Moved onto a screen, the window is that screen's.
        window->move(step.at);
        settle();
        QCOMPARE(window->screen()->name(), QString(step.screen));
        QCOMPARE(picture->devicePixelRatioF(), step.ratio);
        const QPixmap pixmap = picture->pixmap();
        QCOMPARE(pixmap.devicePixelRatio(), step.ratio);
        const QImage expected(QStringLiteral(":/%1%2.png").arg(bitmap, step.suffix));
        QVERIFY(!expected.isNull());
        QCOMPARE(pixmap.toImage().convertToFormat(QImage::Format_RGB32),
                 expected.convertToFormat(QImage::Format_RGB32));
        QCOMPARE(picture->geometry(), place);
    }
}

int main(int argc, char **argv)
{
    QTemporaryDir dir;
    QFile config(dir.filePath(QStringLiteral("screens.json")));
    if (!dir.isValid() || !config.open(QIODevice::WriteOnly) || config.write(Screens) < 0)
        qFatal("cannot write the screens' configuration");
    config.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName().toLocal8Bit());
    QApplication application(argc, argv);
    app::setApplicationIdentity();
    TestPictureScreens test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_picture_screens.moc"
