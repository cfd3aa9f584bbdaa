// Checks the pictures and the icon as the program loads them: from the
// resources linked in through Emberline::resources, with no explicit
// resource initialisation.

#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QSet>
#include <QSize>
#include <QTest>

#include <cstdint>

namespace {

QByteArray resourceBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

std::uint32_t le(const QByteArray &bytes, int offset, int size)
{
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | std::uint8_t(bytes.at(offset + i));
    return value;
}

std::uint32_t be32(const QByteArray &bytes, int offset)
{
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value = (value << 8) | std::uint8_t(bytes.at(offset + i));
    return value;
}

// Layout of the one image in pyrel.ico.
constexpr int IcoImageOffset = 22;
constexpr int IcoPaletteOffset = IcoImageOffset + 40;
constexpr int IcoPixelsOffset = IcoPaletteOffset + 256 * 4;
constexpr int IcoMaskOffset = IcoPixelsOffset + 48 * 48;
constexpr int IcoMaskSize = 48 * 8;
constexpr int IcoFileSize = IcoMaskOffset + IcoMaskSize;

// The icon's pixels as the ICO file describes them, decoded here by hand.
QImage decodeIco(const QByteArray &ico)
{
    QImage image(48, 48, QImage::Format_RGB32);
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 48; ++x) {
            const int index = std::uint8_t(ico.at(IcoPixelsOffset + (47 - y) * 48 + x));
            const int entry = IcoPaletteOffset + 4 * index;
            image.setPixel(x, y, qRgb(std::uint8_t(ico.at(entry + 2)), std::uint8_t(ico.at(entry + 1)),
                                      std::uint8_t(ico.at(entry))));
        }
    }
    return image;
}

} // namespace

class TestPictures : public QObject {
    Q_OBJECT

private slots:
    void storedAsRgbPng_data();
    void storedAsRgbPng();
    void loadsOpaqueAtItsSize_data();
    void loadsOpaqueAtItsSize();
    void blackInkOnWhitePaper_data();
    void blackInkOnWhitePaper();

    void icoField_data();
    void icoField();
    void icoUsesEighteenColours();
    void icoIsFullyOpaque();
    void icoReaderAgreesWithBytes();
    void pngIconMatchesIco();
    void iconShowsItsParts_data();
    void iconShowsItsParts();
};

void TestPictures::storedAsRgbPng_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");

    QTest::newRow("temperature picture is 52x27") << ":/image1.png" << QSize(52, 27);
    QTest::newRow("wavelength picture is 63x27") << ":/image2.png" << QSize(63, 27);
    QTest::newRow("fraction picture is 57x29") << ":/image3.png" << QSize(57, 29);
    QTest::newRow("lambda-T picture is 92x27") << ":/image4.png" << QSize(92, 27);
    QTest::newRow("formula picture is 263x97") << ":/formula.png" << QSize(263, 97);
    QTest::newRow("icon as PNG is 48x48") << ":/pyrel.png" << QSize(48, 48);
}

// The PNG header itself says 24-bit RGB: 8 bits a sample, colour type 2 (no
// alpha, no palette).
void TestPictures::storedAsRgbPng()
{
    QFETCH(QString, path);
    QFETCH(QSize, size);

    const QByteArray png = resourceBytes(path);
    QVERIFY2(png.size() > 33, qPrintable(path));
    QCOMPARE(png.left(8), QByteArray("\x89PNG\r\n\x1a\n", 8));
    QCOMPARE(png.mid(12, 4), QByteArray("IHDR"));
    QCOMPARE(int(be32(png, 16)), size.width());
    QCOMPARE(int(be32(png, 20)), size.height());
    QCOMPARE(int(png.at(24)), 8);
    QCOMPARE(int(png.at(25)), 2);
}

void TestPictures::loadsOpaqueAtItsSize_data()
{
    storedAsRgbPng_data();
    QTest::newRow("icon as ICO is 48x48") << ":/pyrel.ico" << QSize(48, 48);
}

void TestPictures::loadsOpaqueAtItsSize()
{
    QFETCH(QString, path);
    QFETCH(QSize, size);

    QImageReader reader(path);
    const QImage image = reader.read();
    QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
    QCOMPARE(image.size(), size);
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x)
            QCOMPARE(qAlpha(argb.pixel(x, y)), 255);
}

void TestPictures::blackInkOnWhitePaper_data()
{
    QTest::addColumn<QString>("path");

    QTest::newRow("temperature picture") << ":/image1.png";
    QTest::newRow("wavelength picture") << ":/image2.png";
    QTest::newRow("fraction picture") << ":/image3.png";
    QTest::newRow("lambda-T picture") << ":/image4.png";
    QTest::newRow("formula picture") << ":/formula.png";
}

// Every pixel is a grey from black to white; the whole one-pixel border is
// pure white, so the paper merges with the white panel and no glyph is cut
// off at an edge; there is real black ink, and mostly paper.
void TestPictures::blackInkOnWhitePaper()
{
    QFETCH(QString, path);

    const QImage image = QImage(path).convertToFormat(QImage::Format_RGB32);
    QVERIFY(!image.isNull());
    const int w = image.width();
    const int h = image.height();

    int darkest = 255;
    int white = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const QRgb c = image.pixel(x, y);
            QVERIFY2(qRed(c) == qGreen(c) && qGreen(c) == qBlue(c),
                     qPrintable(QStringLiteral("colour at %1,%2").arg(x).arg(y)));
            if (x == 0 || y == 0 || x == w - 1 || y == h - 1)
                QVERIFY2(c == qRgb(255, 255, 255), qPrintable(QStringLiteral("ink at edge %1,%2").arg(x).arg(y)));
            darkest = qMin(darkest, qRed(c));
            white += c == qRgb(255, 255, 255);
        }
    }
    QVERIFY2(darkest <= 16, qPrintable(QString::number(darkest)));
    QVERIFY(white > w * h / 2);
}

void TestPictures::icoField_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("expected");

    QTest::newRow("directory reserved word is 0") << 0 << 2 << 0;
    QTest::newRow("directory type is icon") << 2 << 2 << 1;
    QTest::newRow("directory holds one image") << 4 << 2 << 1;
    QTest::newRow("entry is 48 wide") << 6 << 1 << 48;
    QTest::newRow("entry is 48 high") << 7 << 1 << 48;
    QTest::newRow("entry colour count 0 means 256") << 8 << 1 << 0;
    QTest::newRow("entry reserved byte is 0") << 9 << 1 << 0;
    QTest::newRow("entry has one plane") << 10 << 2 << 1;
    QTest::newRow("entry has 8 bits a pixel") << 12 << 2 << 8;
    QTest::newRow("entry image is 3752 bytes") << 14 << 4 << 3752;
    QTest::newRow("entry image starts at 22") << 18 << 4 << IcoImageOffset;
    QTest::newRow("bitmap header is 40 bytes") << 22 << 4 << 40;
    QTest::newRow("bitmap is 48 wide") << 26 << 4 << 48;
    QTest::newRow("bitmap height counts image and mask") << 30 << 4 << 96;
    QTest::newRow("bitmap has one plane") << 34 << 2 << 1;
    QTest::newRow("bitmap has 8 bits a pixel") << 36 << 2 << 8;
    QTest::newRow("bitmap is uncompressed") << 38 << 4 << 0;
}

void TestPictures::icoField()
{
    QFETCH(int, offset);
    QFETCH(int, size);
    QFETCH(int, expected);

    const QByteArray ico = resourceBytes(QStringLiteral(":/pyrel.ico"));
    QCOMPARE(ico.size(), IcoFileSize);
    QCOMPARE(int(le(ico, offset, size)), expected);
}

// The palette has 256 entries (colours used 0 or 256); the pixels use 18
// distinct colours of it.
void TestPictures::icoUsesEighteenColours()
{
    const QByteArray ico = resourceBytes(QStringLiteral(":/pyrel.ico"));
    QCOMPARE(ico.size(), IcoFileSize);
    const std::uint32_t sizeImage = le(ico, 42, 4);
    QVERIFY(sizeImage == 0 || sizeImage == 48 * 48 + IcoMaskSize);
    const std::uint32_t coloursUsed = le(ico, 54, 4);
    QVERIFY(coloursUsed == 0 || coloursUsed == 256);

    QSet<QRgb> colours;
    const QImage image = decodeIco(ico);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 48; ++x)
            colours.insert(image.pixel(x, y));
    QCOMPARE(colours.size(), 18);
}

void TestPictures::icoIsFullyOpaque()
{
    const QByteArray ico = resourceBytes(QStringLiteral(":/pyrel.ico"));
    QCOMPARE(ico.size(), IcoFileSize);
    QCOMPARE(ico.mid(IcoMaskOffset), QByteArray(IcoMaskSize, '\0'));
}

void TestPictures::icoReaderAgreesWithBytes()
{
    const QByteArray ico = resourceBytes(QStringLiteral(":/pyrel.ico"));
    QCOMPARE(ico.size(), IcoFileSize);
    QImageReader reader(QStringLiteral(":/pyrel.ico"));
    const QImage read = reader.read();
    QVERIFY2(!read.isNull(), qPrintable(reader.errorString()));
    QCOMPARE(read.convertToFormat(QImage::Format_RGB32), decodeIco(ico));
}

void TestPictures::pngIconMatchesIco()
{
    const QImage png(QStringLiteral(":/pyrel.png"));
    QVERIFY(!png.isNull());
    QCOMPARE(png.convertToFormat(QImage::Format_RGB32), decodeIco(resourceBytes(QStringLiteral(":/pyrel.ico"))));
}

void TestPictures::iconShowsItsParts_data()
{
    QTest::addColumn<QRect>("area");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<int>("atLeast");

    const QColor white(255, 255, 255);
    const QColor black(0, 0, 0);
    const QColor darkBlue(0, 0, 128);
    const QColor cyan(0, 255, 255);
    const QColor red(255, 0, 0);

    QTest::newRow("left axis is two black columns") << QRect(0, 0, 2, 48) << black << 96;
    QTest::newRow("bottom axis is two black rows") << QRect(0, 46, 48, 2) << black << 96;
    QTest::newRow("ground at the top left is white") << QRect(2, 0, 6, 6) << white << 36;
    QTest::newRow("ground at the bottom right is white") << QRect(40, 30, 8, 6) << white << 48;
    QTest::newRow("name is red across the top right") << QRect(24, 0, 24, 10) << red << 60;
    QTest::newRow("curve peaks near the top a third across") << QRect(10, 6, 12, 4) << darkBlue << 4;
    QTest::newRow("curve tail reaches the right edge") << QRect(46, 30, 2, 16) << darkBlue << 1;
    QTest::newRow("area under the curve is cyan") << QRect(8, 30, 18, 14) << cyan << 150;
    QTest::newRow("no cyan right of the marker") << QRect(28, 0, 20, 46) << cyan << 0;
    QTest::newRow("marker stands right of the middle") << QRect(25, 30, 5, 16) << darkBlue << 16;
}

// A coarse check of the drawing: how many pixels of an area have a colour
// ("at least" 0 means none may have it).
void TestPictures::iconShowsItsParts()
{
    QFETCH(QRect, area);
    QFETCH(QColor, colour);
    QFETCH(int, atLeast);

    const QImage icon = decodeIco(resourceBytes(QStringLiteral(":/pyrel.ico")));
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += icon.pixel(x, y) == colour.rgb();
    if (atLeast == 0)
        QCOMPARE(count, 0);
    else
        QVERIFY2(count >= atLeast, qPrintable(QString::number(count)));
}

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
