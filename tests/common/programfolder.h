#pragma once

#include "testconfig.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// A temporary program folder with its own Lang/, so no test touches the real one.
class ProgramFolder
{
public:
    // With the shipped language files copied in, unless told otherwise.
    explicit ProgramFolder(bool withShippedLanguages = true)
    {
        QDir().mkpath(langPath());
        if (!withShippedLanguages)
            return;
        const QDir shipped(QStringLiteral(KALMORA_SOURCE_DIR "/Lang"));
        const QStringList files = shipped.entryList({ QStringLiteral("*.lng") }, QDir::Files);
        for (const QString &name : files)
            QFile::copy(shipped.filePath(name), langPath() + name);
        QFile::copy(QStringLiteral(KALMORA_SOURCE_DIR "/Versioni.txt"), path() + "/Versioni.txt");
        QDir().mkpath(path() + "/data");
        QFile::copy(QStringLiteral(KALMORA_SOURCE_DIR "/data/documents.tsv"),
            path() + "/data/documents.tsv");
    }

    QString path() const { return m_dir.path(); }
    // Lays the folder out as an installed copy: the language files in share/kalmora/Lang,
    // nothing beside the executable. Returns the executable's folder.
    QString install() const
    {
        QDir().mkpath(path() + "/bin");
        QDir().mkpath(path() + "/share/kalmora");
        QDir().rename(path() + "/Lang", path() + "/share/kalmora/Lang");
        QDir().rename(path() + "/data", path() + "/share/kalmora/data");
        return path() + "/bin";
    }
    QString langPath() const { return m_dir.path() + QStringLiteral("/Lang/"); }
    QString optionsPath() const { return langPath() + QStringLiteral("options.ini"); }

    void write(const QString &relativePath, const QByteArray &bytes) const
    {
        QFile file(m_dir.filePath(relativePath));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

    QByteArray read(const QString &relativePath) const
    {
        QFile file(m_dir.filePath(relativePath));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // A language file whose line k reads "<prefix><tag> k".
    static QByteArray languageFile(int lines, const QString &tag)
    {
        QByteArray bytes;
        for (int k = 1; k <= lines; ++k)
            bytes += QStringLiteral("%1 %2 %3\r\n")
                         .arg(k, 2, 10, QChar(u'0'))
                         .arg(tag)
                         .arg(k)
                         .toUtf8();
        return bytes;
    }

private:
    QTemporaryDir m_dir;
};
