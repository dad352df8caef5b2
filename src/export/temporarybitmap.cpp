#include "temporarybitmap.h"

#include "platform/bmpfile.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

QString writeTemporaryBitmap(const QImage &sheet, const QString &programFolder)
{
    const QFileInfo folder(programFolder);
    const QString base = folder.isDir() && folder.isWritable() ? programFolder : QDir::tempPath();
    QTemporaryFile file(base + QStringLiteral("/PhotoID_tmp-XXXXXX.bmp"));
    file.setAutoRemove(false);
    if (!file.open())
        return QString();
    // A short write can hide in the buffer until it is flushed: both are checked.
    const bool complete = writeBmp32(sheet, file) && file.flush();
    file.close();
    if (!complete || file.error() != QFileDevice::NoError) {
        file.remove();
        return QString();
    }
    return file.fileName();
}
