// Draws the four value pictures of the main window and the program icon.
//
// The value pictures are black bold sans-serif type on pure white, set with
// Liberation Sans from the Debian font package so that a rerun gives the same
// pixels. The icon is computed pixel by pixel on an 18-colour palette and
// written as an 8-bit ICO (the bytes are laid out here, not by an image
// plugin) and as a PNG with the same pixels. The formula picture is drawn by
// draw_formula.py.
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
#include <QString>

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
// white picture of the given size.
QImage typeset(int width, int height, int baseline, std::initializer_list<Run> runs)
{
    // Whole-pixel advances, so that every piece starts on a pixel boundary.
    const auto advance = [](const Run &run) {
        return run.space + qRound(QFontMetricsF(runFont(run)).horizontalAdvance(run.text));
    };
    int total = 0;
    for (const Run &run : runs)
        total += advance(run);

    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    painter.setPen(Qt::black);

    int x = (width - total) / 2;
    for (const Run &run : runs) {
        painter.setFont(runFont(run));
        painter.drawText(QPoint(x + run.space, baseline - run.raise), run.text);
        x += advance(run);
    }
    painter.end();
    return image.convertToFormat(QImage::Format_RGB888);
}

void save(const QImage &image, const QDir &dir, const QString &name)
{
    if (!image.save(dir.filePath(name), "PNG"))
        qFatal("cannot write %s", qPrintable(dir.filePath(name)));
}

void drawValuePictures(const QDir &dir)
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

    save(typeset(52, 27, 19,
                 {{QStringLiteral("T"), sans, 16}, open, {QStringLiteral("K"), sans, 16}, close,
                  {QStringLiteral("="), sans, 16, 0, 1}}),
         dir, QStringLiteral("image1.png"));

    save(typeset(63, 27, 19,
                 {{QString(lambda), sans, 16}, open, {QString(micro) + u'm', sans, 16}, close,
                  {QStringLiteral("="), sans, 16, 0, 1}}),
         dir, QStringLiteral("image2.png"));

    save(typeset(57, 29, 20,
                 {{QStringLiteral("F"), sans, 21},
                  {QStringLiteral("(0"), sans, 10, -4},
                  {QString(arrow), sans, 12, -4},
                  {QString(lambda) + u')', sans, 10, -4},
                  {QStringLiteral("="), sans, 16, 3, 1}}),
         dir, QStringLiteral("image3.png"));

    save(typeset(92, 27, 19,
                 {{QString(lambda) + u'T', sans, 16}, open, {QString(micro) + u'm', sans, 16},
                  {QString(dot), sans, 16}, {QStringLiteral("K"), sans, 16}, close,
                  {QStringLiteral("="), sans, 16, 0, 1}}),
         dir, QStringLiteral("image4.png"));
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
    drawValuePictures(dir);
    drawIconFiles(dir);
    return 0;
}
