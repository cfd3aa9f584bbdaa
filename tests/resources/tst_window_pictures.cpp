// The main window as built on a display of two device pixels to the logical
// pixel: each value picture comes from its 2x bitmap, one bitmap pixel to a
// device pixel, while the labels keep their 1x places and sizes in logical
// pixels.

#include "app/qt/program.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QTest>

#include <memory>

class TestWindowPictures : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void pictureFromItsTwoTimesBitmap_data();
    void pictureFromItsTwoTimesBitmap();
    void cleanupTestCase();

private:
    std::unique_ptr<app::Program> m_program;
    QWidget *m_frmMain = nullptr;
};

void TestWindowPictures::initTestCase()
{
    m_program = std::make_unique<app::Program>([] {});
    m_program->start();
    // The one shown window is the main window; found among the top-level
    // widgets, the test needs nothing of its class.
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window->isVisible())
            m_frmMain = window;
    QVERIFY(m_frmMain);
    QCOMPARE(m_frmMain->devicePixelRatioF(), 2.0);
}

void TestWindowPictures::cleanupTestCase()
{
    m_program.reset();
}

void TestWindowPictures::pictureFromItsTwoTimesBitmap_data()
{
    QTest::addColumn<QString>("objectName");
    QTest::addColumn<QString>("bitmap");
    QTest::addColumn<QRect>("geometry");

    // Places in the white panels, in logical pixels, as at 1x.
    QTest::newRow("temperature picture") << "Image1" << ":/image1@2x.png" << QRect(56, 16, 52, 27);
    QTest::newRow("wavelength picture") << "Image2" << ":/image2@2x.png" << QRect(205, 16, 63, 27);
    QTest::newRow("fraction picture") << "Image3" << ":/image3@2x.png" << QRect(213, 20, 57, 29);
    QTest::newRow("lambda-T picture") << "Image4" << ":/image4@2x.png" << QRect(16, 16, 92, 27);
}

void TestWindowPictures::pictureFromItsTwoTimesBitmap()
{
    QFETCH(QString, objectName);
    QFETCH(QString, bitmap);
    QFETCH(QRect, geometry);

    const auto *label = m_frmMain->findChild<QLabel *>(objectName);
    QVERIFY(label);
    QCOMPARE(label->geometry(), geometry);

    const QPixmap pixmap = label->pixmap();
    QCOMPARE(pixmap.devicePixelRatio(), 2.0);
    QCOMPARE(pixmap.size(), geometry.size() * 2);
    const QImage expected(bitmap);
    QVERIFY(!expected.isNull());
    QCOMPARE(pixmap.toImage().convertToFormat(QImage::Format_RGB32), expected.convertToFormat(QImage::Format_RGB32));
}

int main(int argc, char **argv)
{
    // Qt reads the scale factor once, as the application starts.
    qputenv("QT_SCALE_FACTOR", "2");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    app::setApplicationIdentity();
    TestWindowPictures test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_window_pictures.moc"
