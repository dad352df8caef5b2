#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <sys/mount.h>

// A small tmpfs of its own, for faults a file-size limit cannot show: a disk that is really
// full, a folder that is read-only even for root. Mounting needs root (or CAP_SYS_ADMIN);
// without it `mounted()` is false and the test says it skipped.
class TinyDisk
{
public:
    TinyDisk(const QString &path, qint64 bytes)
        : m_path(path)
    {
        QDir().mkpath(path);
        const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0755";
        m_mounted
            = mount("tmpfs", QFile::encodeName(path).constData(), "tmpfs", 0, options.constData())
            == 0;
    }
    ~TinyDisk()
    {
        if (m_mounted)
            umount2(QFile::encodeName(m_path).constData(), MNT_DETACH);
    }
    TinyDisk(const TinyDisk &) = delete;
    TinyDisk &operator=(const TinyDisk &) = delete;

    bool mounted() const { return m_mounted; }
    QString path() const { return m_path; }

    // Fills what space is left, so the next write of any size fails.
    bool fill()
    {
        QFile filler(m_path + QStringLiteral("/filler"));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return false;
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size()) { }
        while (filler.write(block.left(1)) == 1) { }
        return true;
    }

    bool makeReadOnly()
    {
        return mount("tmpfs", QFile::encodeName(m_path).constData(), "tmpfs",
                   MS_REMOUNT | MS_RDONLY, nullptr)
            == 0;
    }

private:
    QString m_path;
    bool m_mounted = false;
};
