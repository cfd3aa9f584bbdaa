#pragma once

// The program icon drawn from its geometry, for the desktop's larger and
// smaller sizes and its scalable form.

#include <QDir>

// Writes pyrel-16.png to pyrel-512.png (all but 48, which stays the picture
// drawn pixel by pixel) and pyrel.svg into `dir`.
void drawDesktopIcons(const QDir &dir);
