#include "tools/draw_scalable_icon.h"

#include "tools/draw_common.h"
#include "tools/draw_icon.h"

#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QRectF>
#include <QString>
#include <QTextStream>
#include <QTransform>

#include <algorithm>
#include <initializer_list>

namespace {

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

} // namespace

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
