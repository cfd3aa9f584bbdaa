// Draws the four value pictures of the main window and the program icon.
//
// The value pictures are black bold sans-serif type on pure white, set with
// Liberation Sans from the Debian font package so that a rerun gives the same
// pixels; each is drawn at 1x, 2x and 3x (image1.png, image1@2x.png,
// image1@3x.png), the larger ones set at the larger type size. The icon is
// computed pixel by pixel on an 18-colour palette and written as an 8-bit
// ICO (the bytes are laid out here, not by an image plugin) and as a PNG
// with the same pixels. For the desktop's icon theme the same picture is
// also drawn from its geometry at 16 to 512 pixels (pyrel-16.png, ...) and
// written as pyrel.svg. The formula picture is drawn by draw_formula.py.
//
// Usage: draw_pictures OUTPUT_DIR

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>
#include <QString>
#include <QTextStream>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <vector>

namespace {

const char *const SansBold = "/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf";
const char *const NarrowBold = "/usr/share/fonts/truetype/liberation/LiberationSansNarrow-Bold.ttf";

QString loadFamily(const char *path)
{
    const int id = QFontDatabase::addApplicationFont(QString::fromUtf8(path));
    if (id < 0)
        qFatal("cannot load font %s", path);
    return QFontDatabase::applicationFontFamilies(id).constFirst();
}

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

void save(const QImage &image, const QDir &dir, const QString &name)
{
    if (!image.save(dir.filePath(name), "PNG"))
        qFatal("cannot write %s", qPrintable(dir.filePath(name)));
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

constexpr int IconSize = 48;

// Palette indices. The curve is smoothed with six blends of dark blue into
// whatever lies behind it (white above the curve and on the tail, cyan in the
// shaded band), and the lettering with one half-tone red on its diagonals and
// round corners. Together with the five plain colours that makes 18.
enum : std::uint8_t {
    White, Black, DarkBlue, Cyan, Red, HalfRed,
    BlueOnWhite1, // ..BlueOnWhite6 follow
    BlueOnCyan1 = BlueOnWhite1 + 6, // ..BlueOnCyan6 follow
    ColourCount = BlueOnCyan1 + 6,
};

constexpr int BlendSteps = 7; // coverage is rounded to sevenths

std::array<QRgb, ColourCount> iconPalette()
{
    std::array<QRgb, ColourCount> p{};
    p[White] = qRgb(255, 255, 255);
    p[Black] = qRgb(0, 0, 0);
    p[DarkBlue] = qRgb(0, 0, 128);
    p[Cyan] = qRgb(0, 255, 255);
    p[Red] = qRgb(255, 0, 0);
    p[HalfRed] = qRgb(255, 128, 128);
    const auto mix = [](QRgb fg, QRgb bg, int k) {
        const auto c = [k](int f, int b) { return (f * k + b * (BlendSteps - k) + BlendSteps / 2) / BlendSteps; };
        return qRgb(c(qRed(fg), qRed(bg)), c(qGreen(fg), qGreen(bg)), c(qBlue(fg), qBlue(bg)));
    };
    for (int k = 1; k < BlendSteps; ++k) {
        p[BlueOnWhite1 + k - 1] = mix(p[DarkBlue], p[White], k);
        p[BlueOnCyan1 + k - 1] = mix(p[DarkBlue], p[Cyan], k);
    }
    return p;
}

// Geometry of the plot, in pixels: the axes take the two left columns and the
// two bottom rows. The curve's zero lies inside the bottom axis, so that its
// flat foot is hidden there and the curve appears where it starts to rise.
constexpr int AxisTop = 46;
constexpr double CurveZero = 46.9;
constexpr double PlotLeft = 2.0;
constexpr double PeakX = 16.0;
constexpr double PeakY = 9.0;
constexpr int MarkerColumn = 27;

// Planck's law as a function of wavelength, scaled so that its maximum (at
// Wien's wavelength) is 1; u is the wavelength over the peak wavelength.
double planck(double u)
{
    constexpr double wien = 4.965114231744276; // x with x = 5(1 - exp(-x))
    if (u <= 0.0)
        return 0.0;
    const auto b = [](double v) { return 1.0 / (std::pow(v, 5) * std::expm1(wien / v)); };
    return b(u) / b(1.0);
}

double curveY(double x)
{
    return CurveZero - (CurveZero - PeakY) * planck((x - PlotLeft) / (PeakX - PlotLeft));
}

// Distance from a point to the curve, measured on a fine polyline.
double distanceToCurve(double px, double py, const std::vector<QPointF> &polyline)
{
    double best = 1e9;
    for (std::size_t i = 1; i < polyline.size(); ++i) {
        const QPointF a = polyline[i - 1];
        const QPointF d = polyline[i] - a;
        const double len2 = d.x() * d.x() + d.y() * d.y();
        double t = ((px - a.x()) * d.x() + (py - a.y()) * d.y()) / len2;
        t = std::clamp(t, 0.0, 1.0);
        const double dx = a.x() + t * d.x() - px;
        const double dy = a.y() + t * d.y() - py;
        best = std::min(best, dx * dx + dy * dy);
    }
    return std::sqrt(best);
}

// A bold 7-pixel-high hand-made font for the short name: '#' is full red,
// '+' the half-tone that rounds corners and softens diagonals.
struct Glyph {
    int width;
    std::array<const char *, 7> rows;
};

const Glyph GlyphP{5, {"####+", "##.##", "##.##", "####+", "##...", "##...", "##..."}};
const Glyph GlyphY{6, {"##..##", "##..##", "+####+", ".+##+.", "..##..", "..##..", "..##.."}};
const Glyph GlyphR{5, {"####+", "##.##", "##.##", "####+", "##+#+", "##.##", "##.##"}};
const Glyph GlyphE{4, {"####", "##..", "##..", "###.", "##..", "##..", "####"}};
const Glyph GlyphL{4, {"##..", "##..", "##..", "##..", "##..", "##..", "####"}};

using IconPixels = std::array<std::array<std::uint8_t, IconSize>, IconSize>; // [y][x]

IconPixels drawIcon()
{
    IconPixels px{};

    std::vector<QPointF> polyline;
    for (double x = PlotLeft; x <= IconSize + 1.0; x += 0.05)
        polyline.emplace_back(x, curveY(x));

    // The curve: a stroke 1.7 px wide, its coverage measured on an 8x8 grid
    // inside each pixel and blended into the ground behind it.
    constexpr int Sub = 8;
    constexpr double HalfWidth = 0.85;
    for (int y = 0; y < IconSize; ++y) {
        for (int x = 0; x < IconSize; ++x) {
            const double cx = x + 0.5;
            const bool shaded = x >= PlotLeft && x < MarkerColumn && y + 0.5 > curveY(cx);
            int covered = 0;
            if (std::abs(curveY(cx) - (y + 0.5)) < 12.0) { // skip pixels far from the curve
                for (int sy = 0; sy < Sub; ++sy)
                    for (int sx = 0; sx < Sub; ++sx)
                        if (distanceToCurve(x + (sx + 0.5) / Sub, y + (sy + 0.5) / Sub, polyline) < HalfWidth)
                            ++covered;
            }
            const int k = (covered * BlendSteps + Sub * Sub / 2) / (Sub * Sub);
            if (k == BlendSteps)
                px[y][x] = DarkBlue;
            else if (k > 0)
                px[y][x] = std::uint8_t((shaded ? BlueOnCyan1 : BlueOnWhite1) + k - 1);
            else
                px[y][x] = shaded ? Cyan : White;
        }
    }

    // The marker: from just under the curve down to the axis.
    const int markerTop = int(std::floor(curveY(MarkerColumn + 0.5)));
    for (int y = markerTop; y < AxisTop; ++y)
        px[y][MarkerColumn] = DarkBlue;

    // The axes, on top of everything they meet.
    for (int i = 0; i < IconSize; ++i) {
        px[i][0] = px[i][1] = Black;
        px[IconSize - 2][i] = px[IconSize - 1][i] = Black;
    }

    // "PYREL" across the top right, one blank column between letters.
    int left = 19;
    for (const Glyph *g : {&GlyphP, &GlyphY, &GlyphR, &GlyphE, &GlyphL}) {
        for (int row = 0; row < 7; ++row)
            for (int col = 0; col < g->width; ++col) {
                const char c = g->rows[std::size_t(row)][col];
                if (c != '.')
                    px[1 + row][left + col] = c == '#' ? Red : HalfRed;
            }
        left += g->width + 1;
    }
    return px;
}

void putLe(QByteArray &out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.append(char((value >> (8 * i)) & 0xFF));
}

// An ICO file holding one 48x48 image at 8 bits per pixel: the directory,
// one entry, then a bottom-up DIB with a 256-entry palette and an all-clear
// AND mask, so that every pixel is opaque.
QByteArray icoBytes(const IconPixels &px, const std::array<QRgb, ColourCount> &palette)
{
    constexpr int HeaderSize = 40;
    constexpr int PaletteSize = 256 * 4;
    constexpr int XorSize = IconSize * IconSize; // 48 bytes a row: already a multiple of 4
    constexpr int AndStride = ((IconSize + 31) / 32) * 4;
    constexpr int AndSize = AndStride * IconSize;
    constexpr int ImageSize = HeaderSize + PaletteSize + XorSize + AndSize;
    static_assert(ImageSize == 3752);

    QByteArray out;
    putLe(out, 0, 2);  // reserved
    putLe(out, 1, 2);  // type: icon
    putLe(out, 1, 2);  // one image

    out.append(char(IconSize));
    out.append(char(IconSize));
    out.append(char(0)); // colour count: 0 means 256
    out.append(char(0)); // reserved
    putLe(out, 1, 2);    // planes
    putLe(out, 8, 2);    // bits per pixel
    putLe(out, ImageSize, 4);
    putLe(out, 6 + 16, 4); // offset of the image

    putLe(out, HeaderSize, 4);
    putLe(out, IconSize, 4);
    putLe(out, 2 * IconSize, 4); // the height covers the XOR and the AND bitmap
    putLe(out, 1, 2);
    putLe(out, 8, 2);
    putLe(out, 0, 4); // no compression
    putLe(out, XorSize + AndSize, 4);
    putLe(out, 0, 4);
    putLe(out, 0, 4);
    putLe(out, 0, 4); // colours used: 0 means all 256
    putLe(out, 0, 4);

    for (int i = 0; i < 256; ++i) {
        const QRgb c = i < ColourCount ? palette[std::size_t(i)] : qRgb(0, 0, 0);
        out.append(char(qBlue(c)));
        out.append(char(qGreen(c)));
        out.append(char(qRed(c)));
        out.append(char(0));
    }
    for (int y = IconSize - 1; y >= 0; --y)
        for (int x = 0; x < IconSize; ++x)
            out.append(char(px[std::size_t(y)][std::size_t(x)]));
    out.append(QByteArray(AndSize, '\0'));
    return out;
}

void drawIconFiles(const QDir &dir)
{
    const auto palette = iconPalette();
    const IconPixels px = drawIcon();

    std::array<bool, ColourCount> used{};
    for (const auto &row : px)
        for (std::uint8_t i : row)
            used[i] = true;
    for (std::size_t i = 0; i < used.size(); ++i)
        if (!used[i])
            qFatal("icon palette entry %zu is not used", i);

    QFile ico(dir.filePath(QStringLiteral("pyrel.ico")));
    if (!ico.open(QIODevice::WriteOnly) || ico.write(icoBytes(px, palette)) != 22 + 3752)
        qFatal("cannot write %s", qPrintable(ico.fileName()));

    QImage png(IconSize, IconSize, QImage::Format_RGB888);
    for (int y = 0; y < IconSize; ++y)
        for (int x = 0; x < IconSize; ++x)
            png.setPixel(x, y, palette[px[std::size_t(y)][std::size_t(x)]]);
    save(png, dir, QStringLiteral("pyrel.png"));
}

// The same icon as geometry, for the desktop's larger and smaller sizes and
// its scalable form: the 48-pixel picture's plan (in its 48 units) with its
// pixel steps taken out. The ground, the shaded band, the curve and the
// marker keep their places; the letters become the outlines of a narrow bold
// face fitted into the box the pixel letters fill, since 7-pixel letters
// enlarged would show their steps.
struct IconGeometry {
    QPainterPath shade;   // under the curve, from the left axis to the marker
    QPainterPath curve;   // the centre line of the curve's stroke
    QRectF marker;        // from the curve down to the bottom axis
    QPainterPath letters; // "PYREL", filled
};

constexpr double CurveWidth = 1.7;
constexpr double AxisWidth = 2.0;
constexpr double LetterStroke = 0.6;

IconGeometry iconGeometry()
{
    IconGeometry g;
    const auto point = [](double x) { return QPointF(x, curveY(x)); };

    g.shade.moveTo(PlotLeft, IconSize);
    for (double x = PlotLeft; x < MarkerColumn; x += 0.25)
        g.shade.lineTo(point(x));
    g.shade.lineTo(point(MarkerColumn));
    g.shade.lineTo(MarkerColumn, IconSize);
    g.shade.closeSubpath();

    g.curve.moveTo(point(PlotLeft));
    for (double x = PlotLeft + 0.25; x <= IconSize + 1.0; x += 0.25)
        g.curve.lineTo(point(x));

    const double top = curveY(MarkerColumn + 0.5);
    g.marker = QRectF(MarkerColumn, top, 1.0, AxisTop - top);

    QFont font(loadFamily(NarrowBold));
    font.setPixelSize(100); // any size: the outline is fitted below
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(false);
    QPainterPath text;
    text.addText(0, 0, font, QStringLiteral("PYREL"));
    const QRectF from = text.boundingRect();
    // The pixel letters' stems are two of their seven rows; the face's are
    // thinner, so the outline is also stroked (LetterStroke wide) and fitted
    // into the box the pixel letters fill, less half that stroke.
    const QRectF to = QRectF(19, 1, 28, 7).adjusted(LetterStroke / 2, LetterStroke / 2, -LetterStroke / 2,
                                                    -LetterStroke / 2);
    QTransform fit;
    fit.translate(to.left(), to.top());
    fit.scale(to.width() / from.width(), to.height() / from.height());
    fit.translate(-from.left(), -from.top());
    g.letters = fit.map(text);
    return g;
}

// The icon at `size` pixels. The axes and the marker are whole device
// pixels wide (at least one), so that they stay crisp at every size; the
// curve is at least one pixel wide, so that it stays visible at 16.
QImage renderIcon(const IconGeometry &g, int size)
{
    const auto palette = iconPalette();
    const double f = size / double(IconSize);
    const int axis = std::max(1, qRound(AxisWidth * f));
    const int markerLeft = qRound(MarkerColumn * f);
    const int markerWidth = std::max(1, qRound(f));

    QImage image(size, size, QImage::Format_RGB32);
    image.fill(palette[White]);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);

    painter.save();
    painter.scale(f, f);
    // The band ends where the marker starts, on the marker's device pixel.
    painter.setClipRect(QRectF(0, 0, markerLeft / f, IconSize));
    painter.fillPath(g.shade, QColor(palette[Cyan]));
    painter.setClipping(false);
    painter.strokePath(g.curve, QPen(QColor(palette[DarkBlue]), std::max(CurveWidth, 1.0 / f), Qt::SolidLine,
                                     Qt::RoundCap, Qt::RoundJoin));
    painter.restore();

    const int markerTop = qRound(g.marker.top() * f);
    painter.fillRect(QRect(markerLeft, markerTop, markerWidth, size - axis - markerTop), QColor(palette[DarkBlue]));
    painter.fillRect(QRect(0, 0, axis, size), QColor(palette[Black]));
    painter.fillRect(QRect(0, size - axis, size, axis), QColor(palette[Black]));

    painter.scale(f, f);
    painter.fillPath(g.letters, QColor(palette[Red]));
    painter.strokePath(g.letters, QPen(QColor(palette[Red]), LetterStroke, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.end();
    return image.convertToFormat(QImage::Format_RGB888);
}

QString svgNumber(double v)
{
    QString text = QString::number(v, 'f', 3);
    while (text.endsWith(u'0'))
        text.chop(1);
    if (text.endsWith(u'.'))
        text.chop(1);
    return text == QStringLiteral("-0") ? QStringLiteral("0") : text;
}

QString svgPath(const QPainterPath &path)
{
    QString d;
    const auto xy = [](const QPainterPath::Element &e) {
        return svgNumber(e.x) + u' ' + svgNumber(e.y);
    };
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (!d.isEmpty())
            d += u' ';
        if (e.isMoveTo()) {
            d += u'M' + xy(e);
        } else if (e.isLineTo()) {
            d += u'L' + xy(e);
        } else if (e.isCurveTo()) {
            d += u'C' + xy(e) + u' ' + xy(path.elementAt(i + 1)) + u' ' + xy(path.elementAt(i + 2));
            i += 2;
        }
    }
    return d;
}

QString svgColour(QRgb c)
{
    return QStringLiteral("#%1").arg(c & 0xFFFFFF, 6, 16, QLatin1Char('0'));
}

// The scalable icon, in the 48-unit plan of the pixel picture.
QByteArray iconSvg(const IconGeometry &g)
{
    const auto palette = iconPalette();
    QString svg;
    QTextStream out(&svg);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"48\" height=\"48\" viewBox=\"0 0 48 48\">\n"
        << "  <rect width=\"48\" height=\"48\" fill=\"" << svgColour(palette[White]) << "\"/>\n"
        << "  <path fill=\"" << svgColour(palette[Cyan]) << "\" d=\"" << svgPath(g.shade) << "\"/>\n"
        << "  <path fill=\"none\" stroke=\"" << svgColour(palette[DarkBlue]) << "\" stroke-width=\""
        << svgNumber(CurveWidth) << "\" stroke-linecap=\"round\" stroke-linejoin=\"round\" d=\""
        << svgPath(g.curve) << "\"/>\n"
        << "  <rect x=\"" << svgNumber(g.marker.x()) << "\" y=\"" << svgNumber(g.marker.y()) << "\" width=\""
        << svgNumber(g.marker.width()) << "\" height=\"" << svgNumber(g.marker.height()) << "\" fill=\""
        << svgColour(palette[DarkBlue]) << "\"/>\n"
        << "  <rect width=\"" << svgNumber(AxisWidth) << "\" height=\"48\" fill=\"" << svgColour(palette[Black])
        << "\"/>\n"
        << "  <rect y=\"" << svgNumber(IconSize - AxisWidth) << "\" width=\"48\" height=\"" << svgNumber(AxisWidth)
        << "\" fill=\"" << svgColour(palette[Black]) << "\"/>\n"
        << "  <path fill=\"" << svgColour(palette[Red]) << "\" stroke=\"" << svgColour(palette[Red])
        << "\" stroke-width=\"" << svgNumber(LetterStroke) << "\" stroke-linejoin=\"round\" d=\""
        << svgPath(g.letters) << "\"/>\n"
        << "</svg>\n";
    out.flush();
    return svg.toUtf8();
}

// The desktop's sizes besides the 48-pixel picture itself, which stays the
// one drawn pixel by pixel; 192 and 512 are the web app's.
void drawDesktopIcons(const QDir &dir)
{
    const IconGeometry g = iconGeometry();
    for (int size : {16, 24, 32, 64, 128, 192, 256, 512})
        save(renderIcon(g, size), dir, QStringLiteral("pyrel-%1.png").arg(size));
    QFile svg(dir.filePath(QStringLiteral("pyrel.svg")));
    const QByteArray bytes = iconSvg(g);
    if (!svg.open(QIODevice::WriteOnly) || svg.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(svg.fileName()));
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
