// Checks the pictures and the icon as the program loads them: from the
// resources linked in through Emberline::resources, with no explicit
// resource initialisation; the form picked for each device pixel ratio;
// and the icon's desktop sizes and SVG, read from the source tree.

#include "resources/qt_pictures.h"

#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>
#include <QSet>
#include <QSize>
#include <QSvgRenderer>
#include <QTest>

#include <cmath>
#include <cstdint>
#include <utility>

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

// The five pictures by base name, with their size at 1x.
struct Picture {
    const char *name;
    const char *what;
    QSize size;
};
const Picture Pictures[] = {
    {"image1", "temperature picture", {52, 27}},
    {"image2", "wavelength picture", {63, 27}},
    {"image3", "fraction picture", {57, 29}},
    {"image4", "lambda-T picture", {92, 27}},
    {"formula", "formula picture", {263, 97}},
};

QString picturePath(const Picture &picture, int scale)
{
    const QString name = QString::fromLatin1(picture.name);
    return scale == 1 ? QStringLiteral(":/%1.png").arg(name) : QStringLiteral(":/%1@%2x.png").arg(name).arg(scale);
}

// Mean absolute difference of two images of one size, over the three
// channels of every pixel, from 0 (equal) to 255.
double meanDifference(const QImage &a, const QImage &b)
{
    Q_ASSERT(a.size() == b.size());
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row);
            const QRgb q = y.pixel(col, row);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * x.width() * x.height());
}

QImage shrunk(const QImage &image, const QSize &size)
{
    return image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QString sourceFile(const QString &name)
{
    return QStringLiteral(EMBERLINE_RESOURCES_DIR "/") + name;
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
    void largerFormsMatchTheNaturalOne_data();
    void largerFormsMatchTheNaturalOne();
    void pictureForRatio_data();
    void pictureForRatio();
    void unknownPictureIsNull();

    void icoField_data();
    void icoField();
    void icoUsesEighteenColours();
    void icoIsFullyOpaque();
    void icoReaderAgreesWithBytes();
    void pngIconMatchesIco();
    void iconShowsItsParts_data();
    void iconShowsItsParts();
    void desktopIconMatchesIcon_data();
    void desktopIconMatchesIcon();
};

void TestPictures::storedAsRgbPng_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");

    // Each picture at 1x, and at 2x and 3x exactly twice and three times that.
    for (const Picture &picture : Pictures)
        for (int scale : {1, 2, 3}) {
            const QSize size = picture.size * scale;
            QTest::addRow("%s at %dx is %dx%d", picture.what, scale, size.width(), size.height())
                << picturePath(picture, scale) << size;
        }
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

    for (const Picture &picture : Pictures)
        for (int scale : {1, 2, 3})
            QTest::addRow("%s at %dx", picture.what, scale) << picturePath(picture, scale);
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

void TestPictures::largerFormsMatchTheNaturalOne_data()
{
    QTest::addColumn<QString>("larger");
    QTest::addColumn<QString>("natural");
    QTest::addColumn<double>("tolerance");

    // Drawn anew at each size, the type's hinting and rounding move edges by
    // a fraction of a 1x pixel; a shifted or different glyph shows as several
    // times these means.
    for (const Picture &picture : Pictures)
        for (int scale : {2, 3})
            QTest::addRow("%s at %dx shrinks to the 1x one", picture.what, scale)
                << picturePath(picture, scale) << picturePath(picture, 1)
                << (QByteArray(picture.name) == "formula" ? 6.0 : 12.0);
}

void TestPictures::largerFormsMatchTheNaturalOne()
{
    QFETCH(QString, larger);
    QFETCH(QString, natural);
    QFETCH(double, tolerance);

    const QImage one(natural);
    const QImage big(larger);
    QVERIFY(!one.isNull() && !big.isNull());
    const double difference = meanDifference(shrunk(big, one.size()), one);
    qInfo("%s: mean difference %.2f", qPrintable(larger), difference);
    QVERIFY2(difference <= tolerance, qPrintable(QString::number(difference)));
}

void TestPictures::pictureForRatio_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("natural");
    QTest::addColumn<double>("ratio");
    QTest::addColumn<int>("drawnAt");

    // drawnAt: the form a ratio's picture comes from, the next larger one.
    const std::pair<double, int> ratios[] = {{1.0, 1}, {1.25, 2}, {1.5, 2}, {1.75, 2}, {2.0, 2}, {2.5, 3}, {3.0, 3}};
    for (const Picture &picture : Pictures)
        for (const auto &[ratio, drawnAt] : ratios)
            QTest::addRow("%s at ratio %g", picture.what, ratio)
                << QString::fromLatin1(picture.name) << picture.size << ratio << drawnAt;
}

// Shown at its natural size in logical pixels, with one pixmap pixel to a
// device pixel; at 1x, 2x and 3x the drawn bitmap itself, in between the
// larger form reduced: it stays closer to that than to the smaller form
// enlarged.
void TestPictures::pictureForRatio()
{
    QFETCH(QString, name);
    QFETCH(QSize, natural);
    QFETCH(double, ratio);
    QFETCH(int, drawnAt);

    const QPixmap pixmap = resources::picture(name, ratio);
    QVERIFY(!pixmap.isNull());
    QCOMPARE(pixmap.devicePixelRatio(), ratio);
    QCOMPARE(pixmap.deviceIndependentSize().toSize(), natural);
    const QSize device(qRound(natural.width() * ratio), qRound(natural.height() * ratio));
    QCOMPARE(pixmap.size(), device);

    const auto path = [&](int scale) {
        return scale == 1 ? QStringLiteral(":/%1.png").arg(name) : QStringLiteral(":/%1@%2x.png").arg(name).arg(scale);
    };
    const QImage shown = pixmap.toImage();
    const QImage larger(path(drawnAt));
    if (larger.size() == device) {
        QCOMPARE(shown.convertToFormat(QImage::Format_RGB32), larger.convertToFormat(QImage::Format_RGB32));
    } else {
        const QImage enlarged = QImage(path(drawnAt - 1)).scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const double fromLarger = meanDifference(shown, shrunk(larger, device));
        const double fromSmaller = meanDifference(shown, enlarged);
        QVERIFY2(fromLarger < fromSmaller, qPrintable(QStringLiteral("%1 vs %2").arg(fromLarger).arg(fromSmaller)));
    }
}

void TestPictures::unknownPictureIsNull()
{
    QVERIFY(resources::picture(QStringLiteral("image5"), 2).isNull());
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

void TestPictures::desktopIconMatchesIcon_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("size");
    QTest::addColumn<double>("tolerance");

    // The desktop sizes are drawn from the icon's geometry rather than its
    // pixels: compared at the smaller of the two sizes, letters that are
    // outlines instead of pixel cells and edges that fall between pixels
    // make up the difference; at 16 pixels the letters are a blur in both.
    for (int size : {16, 24, 32, 64, 128, 192, 256, 512})
        QTest::addRow("%d pixels", size) << QStringLiteral("pyrel-%1.png").arg(size) << size
                                         << (size == 16 ? 20.0 : 12.0);
    QTest::newRow("SVG drawn at 48 pixels") << QStringLiteral("pyrel.svg") << 48 << 12.0;
    QTest::newRow("SVG drawn at 256 pixels") << QStringLiteral("pyrel.svg") << 256 << 12.0;
}

// Each desktop icon is an opaque RGB PNG of its size (the SVG, rendered at
// a size) that looks like the 48x48 icon.
void TestPictures::desktopIconMatchesIcon()
{
    QFETCH(QString, file);
    QFETCH(int, size);
    QFETCH(double, tolerance);

    QImage icon;
    if (file.endsWith(QStringLiteral(".svg"))) {
        QSvgRenderer svg(sourceFile(file));
        QVERIFY(svg.isValid());
        QCOMPARE(svg.defaultSize(), QSize(48, 48));
        icon = QImage(size, size, QImage::Format_RGB32);
        icon.fill(Qt::black); // so that a transparent area shows
        QPainter painter(&icon);
        svg.render(&painter);
    } else {
        QFile png(sourceFile(file));
        QVERIFY(png.open(QIODevice::ReadOnly));
        const QByteArray bytes = png.readAll();
        QCOMPARE(bytes.mid(12, 4), QByteArray("IHDR"));
        QCOMPARE(int(be32(bytes, 16)), size);
        QCOMPARE(int(be32(bytes, 20)), size);
        QCOMPARE(int(bytes.at(25)), 2);
        icon = QImage::fromData(bytes);
    }
    QCOMPARE(icon.size(), QSize(size, size));

    const QImage reference(QStringLiteral(":/pyrel.png"));
    const QSize common = size < 48 ? QSize(size, size) : QSize(48, 48);
    const double difference = meanDifference(shrunk(icon, common), shrunk(reference, common));
    qInfo("%s at %d: mean difference %.2f", qPrintable(file), size, difference);
    QVERIFY2(difference <= tolerance, qPrintable(QString::number(difference)));
}

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
