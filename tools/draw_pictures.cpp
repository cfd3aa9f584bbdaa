// Draws the four value pictures of the main window and the program icon.
//
// The value pictures are black bold sans-serif type on pure white, set with
// Liberation Sans from the Debian font package so that a rerun gives the same
// pixels; each is drawn at 1x, 2x and 3x (image1.png, image1@2x.png,
// image1@3x.png), the larger ones set at the larger type size. The icon is
// computed pixel by pixel on an 18-colour palette and written as an 8-bit
// ICO (its bytes laid out by this program, not by an image plugin) and
// as a PNG with the same pixels. For the desktop's icon theme the same
// picture is also drawn from its geometry at 16 to 512 pixels
// (pyrel-16.png, ...) and written as pyrel.svg (draw_icon.cpp and
// draw_scalable_icon.cpp). The formula picture is drawn by draw_formula.py.
//
// Usage: draw_pictures OUTPUT_DIR

#include "tools/draw_common.h"
#include "tools/draw_icon.h"
#include "tools/draw_scalable_icon.h"

#include <QDir>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>

#include <cstdio>
#include <initializer_list>

namespace {

// One piece of type: its text, font, pixel size, how far its baseline is
// raised above the picture's baseline and the space left before it.
struct Run {
    QString text;
    QString family;
    int pixelSize;
    int raise = 0;
    int space = 0;
};

QFont runFont(const Run &run)
{
    QFont font(run.family);
    font.setPixelSize(run.pixelSize);
    font.setBold(true);
    // Hinted outlines keep the stems of such small type crisp.
    font.setHintingPreference(QFont::PreferFullHinting);
    // Grey edges only: coloured subpixel fringes would break "black on white".
    font.setStyleStrategy(QFont::NoSubpixelAntialias);
    font.setKerning(false);
    return font;
}

// Sets the runs side by side on one baseline, centred horizontally in a
// white picture of the given size. Every length (the picture's size, the
// baseline, each run's pixel size, raise and space) is given at 1x and
// multiplied by `scale`, so the 2x and 3x pictures are set from the same
// fonts at two and three times the size rather than enlarged. Where each
// run starts is worked out at 1x and multiplied too: rounded at each size
// on its own, the advances would drift apart by up to a 1x pixel.
QImage typeset(int scale, int width, int height, int baseline, std::initializer_list<Run> runs)
{
    // Whole-pixel advances, so that every piece starts on a pixel boundary.
    const auto advance = [](const Run &run) {
        return run.space + qRound(QFontMetricsF(runFont(run)).horizontalAdvance(run.text));
    };
    int total = 0;
    for (const Run &run : runs)
        total += advance(run);

    QImage image(width * scale, height * scale, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    painter.setPen(Qt::black);

    int x = (width - total) / 2;
    for (const Run &run : runs) {
        const Run scaled{run.text, run.family, run.pixelSize * scale, run.raise * scale, run.space * scale};
        painter.setFont(runFont(scaled));
        painter.drawText(QPoint((x + run.space) * scale, (baseline - run.raise) * scale), run.text);
        x += advance(run);
    }
    painter.end();
    return image.convertToFormat(QImage::Format_RGB888);
}

// The file name of a picture drawn at `scale`: "image1.png", "image1@2x.png".
QString pictureName(const char *base, int scale)
{
    const QString name = QString::fromLatin1(base);
    return scale == 1 ? name + QStringLiteral(".png") : QStringLiteral("%1@%2x.png").arg(name).arg(scale);
}

void drawValuePictures(const QDir &dir, int scale)
{
    const QString sans = loadFamily(SansBold);
    const QString narrow = loadFamily(NarrowBold);
    const QChar lambda(0x03BB);
    const QChar micro(0x00B5);
    const QChar arrow(0x2192);
    const QChar dot(0x00B7);

    // Parentheses come from the narrow face at a larger size, so they stand
    // taller than the capitals while staying thin.
    const auto open = Run{QStringLiteral("("), narrow, 19};
    const auto close = Run{QStringLiteral(")"), narrow, 19};

    save(typeset(scale, 52, 27, 19,
                 {{QStringLiteral("T"), sans, 16}, open, {QStringLiteral("K"), sans, 16}, close,
                  {QStringLiteral("="), sans, 16, 0, 1}}),
         dir, pictureName("image1", scale));

    save(typeset(scale, 63, 27, 19,
                 {{QString(lambda), sans, 16}, open, {QString(micro) + u'm', sans, 16}, close,
                  {QStringLiteral("="), sans, 16, 0, 1}}),
         dir, pictureName("image2", scale));

    save(typeset(scale, 57, 29, 20,
                 {{QStringLiteral("F"), sans, 21},
                  {QStringLiteral("(0"), sans, 10, -4},
                  {QString(arrow), sans, 12, -4},
                  {QString(lambda) + u')', sans, 10, -4},
                  {QStringLiteral("="), sans, 16, 3, 1}}),
         dir, pictureName("image3", scale));

    save(typeset(scale, 92, 27, 19,
                 {{QString(lambda) + u'T', sans, 16}, open, {QString(micro) + u'm', sans, 16},
                  {QString(dot), sans, 16}, {QStringLiteral("K"), sans, 16}, close,
                  {QStringLiteral("="), sans, 16, 0, 1}}),
         dir, pictureName("image4", scale));
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: draw_pictures OUTPUT_DIR\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    for (int scale : {1, 2, 3})
        drawValuePictures(dir, scale);
    drawIconFiles(dir);
    drawDesktopIcons(dir);
    return 0;
}
