#pragma once

#include <QDir>
#include <QFile>

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
        m_mounted = mountHere(0, "size=" + QByteArray::number(bytes) + ",mode=0755");
    }
    ~TinyDisk()
    {
        if (m_mounted)
            umount2(QFile::encodeName(m_path).constData(), MNT_DETACH);
    }
    Q_DISABLE_COPY(TinyDisk)

    bool mounted() const { return m_mounted; }
    QString path() const { return m_path; }

    // Fills what space is left, so the next write of any size fails.
    bool fill()
    {
        QFile filler(m_path + QStringLiteral("/filler"));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return false;
        for (qint64 size = 4096; size > 0; size /= 2)
            while (filler.write(QByteArray(size, 'x')) == size) { }
        return true;
    }
    bool makeReadOnly() { return mountHere(MS_REMOUNT | MS_RDONLY, {}); }

private:
    bool mountHere(unsigned long flags, const QByteArray &options)
    {
        return mount("tmpfs", QFile::encodeName(m_path).constData(), "tmpfs", flags,
                   options.isNull() ? nullptr : options.constData())
            == 0;
    }

    QString m_path;
    bool m_mounted = false;
};
