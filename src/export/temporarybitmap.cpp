#include "temporarybitmap.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>

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
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!QImageWriter(&buffer, "bmp").write(sheet))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        return false;
    const bool complete = file.write(bytes) == bytes.size();
    file.close();
    if (!complete)
        file.remove();
    return complete;
}
