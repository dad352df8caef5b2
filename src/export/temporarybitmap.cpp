#include "temporarybitmap.h"

#include "platform/bmpfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
constexpr auto BitmapName = "PhotoID_tmp.bmp";
}

QString temporaryBitmapPath(const QString &programFolder)
{
    const QFileInfo folder(programFolder);
    const QString base = folder.isDir() && folder.isWritable() ? programFolder : QDir::tempPath();
    return base + u'/' + QString::fromLatin1(BitmapName);
}

bool writeTemporaryBitmap(const QImage &sheet, const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        return false;
    const bool complete = writeBmp32(sheet, file);
    file.close();
    if (!complete)
        file.remove();
    return complete;
}
