#include "datafolder.h"

#include <QDir>
#include <QFileInfo>

QString dataFolder(const QString &programFolder)
{
    if (QFileInfo(programFolder + QStringLiteral("/Lang")).isDir())
        return programFolder;
    const QString installed = QDir::cleanPath(programFolder + QStringLiteral("/../share/kalmora"));
    return QFileInfo(installed + QStringLiteral("/Lang")).isDir() ? installed : programFolder;
}
