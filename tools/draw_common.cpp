#include "tools/draw_common.h"

#include <QFontDatabase>

QString loadFamily(const char *path)
{
    const int id = QFontDatabase::addApplicationFont(QString::fromUtf8(path));
    if (id < 0)
        qFatal("cannot load font %s", path);
    return QFontDatabase::applicationFontFamilies(id).constFirst();
}

void save(const QImage &image, const QDir &dir, const QString &name)
{
    if (!image.save(dir.filePath(name), "PNG"))
        qFatal("cannot write %s", qPrintable(dir.filePath(name)));
}
