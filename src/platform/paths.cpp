#include "paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QString installedDataFolder(const QString &programFolder)
{
    return QDir::cleanPath(programFolder + QStringLiteral("/../share/kalmora"));
}
} // namespace

QString dataFolder(const QString &programFolder)
{
    if (QFileInfo(programFolder + QStringLiteral("/Lang")).isDir())
        return programFolder;
    const QString installed = installedDataFolder(programFolder);
    return QFileInfo(installed + QStringLiteral("/Lang")).isDir() ? installed : programFolder;
}

QString dataFile(const QString &programFolder, const QString &relativePath)
{
    for (const QString &folder : { programFolder, installedDataFolder(programFolder) }) {
        const QString path = folder + u'/' + relativePath;
        if (QFileInfo::exists(path))
            return path;
    }
    return QString();
}

bool replaceableAsFile(const QString &path)
{
    const QFileInfo file(path);
    if (file.isSymLink())
        return false;
    return !file.exists() || file.isFile();
}

bool openRegularFile(QFile &file, const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat status
    {
    };
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)
        || ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0
        || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
}

WriteResult writeWholeFile(const QString &path, const QByteArray &bytes)
{
    if (!replaceableAsFile(path))
        return { false,
            QStringLiteral("Not a regular file: a folder, a link, a pipe or a device") };
    QSaveFile file(path);
    // Unbuffered, so a failed write shows in write()'s count instead of being lost in a flush.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return { false, file.errorString() };
    // A full disk first cuts a write short without saying why; the next write says it.
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0) {
            // Taken first: cancelling puts its own words in place of the system's.
            const QString reason = file.errorString();
            file.cancelWriting();
            return { false, reason };
        }
        done += written;
    }
    if (!file.commit())
        return { false, file.errorString() };
    return { true, QString() };
}
