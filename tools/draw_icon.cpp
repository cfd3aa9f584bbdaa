#include "tools/draw_icon.h"

#include "tools/draw_common.h"

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QPointF>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <vector>

namespace {

constexpr int BlendSteps = 7; // coverage is rounded to sevenths

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

} // namespace

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

double curveY(double x)
{
    return CurveZero - (CurveZero - PeakY) * planck((x - PlotLeft) / (PeakX - PlotLeft));
}

namespace {

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

} // namespace

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
