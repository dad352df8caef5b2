#include "settings.h"

#include "languagefiles.h"
#include "textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

OptionsIni parseOptionsIni(const QStringList &lines)
{
    OptionsIni options;
    // No line we write comes near this; a file that has one is garbage, not a name to keep
    // (and to write back).
    for (const QString &line : lines) {
        if (line.size() > MaximumOptionsLine)
            return options;
    }
    // A name that leaves the Lang folder would read any file on the machine as the texts.
    if (lines.size() > 1 && staysInLangFolder(lines.at(1)))
        options.languageFileName = lines.at(1);
    if (lines.size() > 2) {
        bool ok = false;
        const short index = lines.at(2).trimmed().toShort(&ok);
        if (ok)
            options.formatIndex = index;
    }
    if (lines.size() > 3)
        options.lastPhotoFolder = lines.at(3);
    if (lines.size() > 4 && (lines.at(4) == u'0' || lines.at(4) == u'1'))
        options.autoFaceFit = lines.at(4) == u'1';
    if (lines.size() > 5)
        options.document = lines.at(5).trimmed();
    return options;
}

QByteArray formatOptionsIni(const QString &languageFileName, int formatIndex,
    const QString &lastPhotoFolder, bool autoFaceFit, const QString &document)
{
    // New lines come last, so the lines older files have keep their places; the document's
    // line only when one is chosen, so a file without one stays as it was.
    QString text = QStringLiteral("1\r\n") + languageFileName + QStringLiteral("\r\n")
        + QString::number(formatIndex) + QStringLiteral("\r\n") + lastPhotoFolder
        + QStringLiteral("\r\n") + QLatin1Char(autoFaceFit ? '1' : '0') + QStringLiteral("\r\n");
    if (!document.isEmpty())
        text += document + QStringLiteral("\r\n");
    return text.toUtf8();
}

Settings::Settings(const QString &programFolder, const QString &userFolder)
    : m_programFolder(programFolder)
    , m_dataFolder(dataFolder(programFolder))
    , m_userFolder(userFolder)
{ }

QString Settings::path() const
{
    // A portable copy keeps its settings beside itself, an installed one in the user's folder.
    const QFileInfo beside(m_programFolder + QStringLiteral("/Lang"));
    if (m_userFolder.isEmpty() || (beside.isDir() && beside.isWritable()))
        return m_dataFolder + QStringLiteral("/Lang/options.ini");
    return m_userFolder + QStringLiteral("/options.ini");
}

QStringList Settings::foldersTried() const
{
    QStringList folders { QDir::cleanPath(m_programFolder + QStringLiteral("/Lang")) };
    const QString chosen = QFileInfo(path()).absolutePath();
    if (!folders.contains(chosen))
        folders.append(chosen);
    return folders;
}

std::optional<OptionsIni> Settings::read() const
{
    const std::optional<QStringList> lines = readTextLines(path());
    if (!lines)
        return std::nullopt;
    return parseOptionsIni(*lines);
}

std::optional<int> Settings::restore()
{
    const std::optional<OptionsIni> options = read();
    if (!options)
        return std::nullopt;
    if (options->languageFileName)
        m_languageFileName = *options->languageFileName;
    if (options->lastPhotoFolder)
        m_lastPhotoFolder = *options->lastPhotoFolder;
    m_autoFaceFit = options->autoFaceFit.value_or(true);
    m_document = options->document.value_or(QString());
    return options->formatIndex;
}

bool Settings::differsFromStored(int formatIndex) const
{
    QFile file;
    return openRegularFile(file, path())
        && file.read(MaximumTextFileBytes + 1)
        != formatOptionsIni(
            m_languageFileName, formatIndex, m_lastPhotoFolder, m_autoFaceFit, m_document);
}

WriteResult Settings::save(int formatIndex) const
{
    QDir().mkpath(QFileInfo(path()).absolutePath());
    return writeWholeFile(path(),
        formatOptionsIni(
            m_languageFileName, formatIndex, m_lastPhotoFolder, m_autoFaceFit, m_document));
}
