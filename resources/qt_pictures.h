#pragma once

#include <QPixmap>
#include <QString>

namespace resources {

// The picture `name` ("image1" .. "image4", "formula") drawn for a display
// of `devicePixelRatio` device pixels to the logical pixel, so that a label
// shows it at its natural size in logical pixels and as sharp as the text
// beside it. At 1, 2 and 3 it is the bitmap drawn for that ratio, unchanged;
// between them, the next larger one scaled down smoothly to the natural
// size times the ratio, rounded, never a smaller one scaled up (above 3 the
// 3x bitmap is the largest there is). The pixmap's devicePixelRatio is the
// ratio asked for. Keeping it current when a window moves to another screen
// is left to the caller. Null if there is no such picture.
QPixmap picture(const QString &name, qreal devicePixelRatio);

} // namespace resources
