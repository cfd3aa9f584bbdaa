#pragma once

// The program icon as the 48-pixel picture: computed pixel by pixel on an
// 18-colour palette and written as an 8-bit ICO (the bytes are laid out
// here, not by an image plugin) and as a PNG with the same pixels. Its
// palette and its plan (the axes, the curve and the marker) are shared with
// the icon drawn from its geometry (draw_scalable_icon.h).

#include <QDir>
#include <QRgb>

#include <array>
#include <cstdint>

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

// The colour of each palette index.
std::array<QRgb, ColourCount> iconPalette();

// Geometry of the plot, in pixels: the axes take the two left columns and the
// two bottom rows. The curve's zero lies inside the bottom axis, so that its
// flat foot is hidden there and the curve appears where it starts to rise.
constexpr int AxisTop = 46;
constexpr double CurveZero = 46.9;
constexpr double PlotLeft = 2.0;
constexpr double PeakX = 16.0;
constexpr double PeakY = 9.0;
constexpr int MarkerColumn = 27;

// The height of the curve's centre line at `x`, in pixels from the top.
double curveY(double x);

// Writes pyrel.ico and pyrel.png into `dir`.
void drawIconFiles(const QDir &dir);
