#include "paths.h"

#include <QDir>
#include <QFileInfo>

QString dataFolder(const QString &programFolder)
{
    if (QFileInfo(programFolder + QStringLiteral("/Lang")).isDir())
        return programFolder;
    const QString installed = QDir::cleanPath(programFolder + QStringLiteral("/../share/kalmora"));
    return QFileInfo(installed + QStringLiteral("/Lang")).isDir() ? installed : programFolder;
}

bool replaceableAsFile(const QString &path)
{
    const QFileInfo file(path);
    if (file.isSymLink())
        return false;
    return !file.exists() || file.isFile();
}
