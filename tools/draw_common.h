#pragma once

// What the value pictures and the icon share: the faces they are set in,
// from the Debian font package so that a rerun gives the same pixels, and
// writing a picture.

#include <QDir>
#include <QImage>
#include <QString>

const char *const SansBold = "/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf";
const char *const NarrowBold = "/usr/share/fonts/truetype/liberation/LiberationSansNarrow-Bold.ttf";

// The family of the font in the file at `path`; stops the program when it
// cannot be loaded.
QString loadFamily(const char *path);

// Writes `image` as a PNG file `name` in `dir`; stops the program when it
// cannot.
void save(const QImage &image, const QDir &dir, const QString &name);
