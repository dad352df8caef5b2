#include "languagesettings.h"

#include "platform/paths.h"
#include "platform/resources.h"
#include "textfile.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

OptionsIni parseOptionsIni(const QStringList &lines)
{
    OptionsIni options;
    // No line we write comes near this; a file that has one is garbage, not a name to keep
    // (and to write back).
    for (const QString &line : lines) {
        if (line.size() > MaximumOptionsLine)
            return options;
    }
    // A name with a separator or ".." would read any file on the machine as the texts.
    if (lines.size() > 1 && !lines.at(1).contains(u'/') && !lines.at(1).contains(u'\\')
        && lines.at(1).trimmed() != QLatin1String(".."))
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
    return options;
}

QByteArray formatOptionsIni(const QString &languageFileName, int formatIndex,
    const QString &lastPhotoFolder, bool autoFaceFit)
{
    // The face fit's switch comes last, so the four lines older files have keep their places.
    const QString text = QStringLiteral("1\r\n") + languageFileName + QStringLiteral("\r\n")
        + QString::number(formatIndex) + QStringLiteral("\r\n") + lastPhotoFolder
        + QStringLiteral("\r\n") + QLatin1Char(autoFaceFit ? '1' : '0') + QStringLiteral("\r\n");
    return text.toUtf8();
}

QString languageForCode(const QString &code)
{
    static const QList<std::pair<QString, QString>> map = {
        { QStringLiteral("cs"), QStringLiteral("czech") },
        { QStringLiteral("de"), QStringLiteral("deutsch") },
        { QStringLiteral("el"), QStringLiteral("greek") },
        { QStringLiteral("fr"), QStringLiteral("francais") },
        { QStringLiteral("in"), QStringLiteral("indonesian") },
        { QStringLiteral("it"), QStringLiteral("italiano") },
        { QStringLiteral("pt"), QStringLiteral("portugues") },
        { QStringLiteral("sv"), QStringLiteral("swedish") },
    };
    // Indonesian is known to the language files by its older code.
    const QString key = code == QLatin1String("id") ? QStringLiteral("in") : code;
    for (const auto &[mapCode, stem] : map) {
        if (mapCode == key)
            return stem;
    }
    return QString();
}

LanguageSettings::LanguageSettings(const QString &programFolder, const QString &userFolder)
    : m_programFolder(programFolder)
    , m_dataFolder(dataFolder(programFolder))
    , m_userFolder(userFolder)
{ }

QString LanguageSettings::langFolder() const
{
    return m_dataFolder + QStringLiteral("/Lang/");
}

QString LanguageSettings::optionsPath() const
{
    // A portable copy keeps its settings beside itself, an installed one in the user's folder.
    const QFileInfo beside(m_programFolder + QStringLiteral("/Lang"));
    if (m_userFolder.isEmpty() || (beside.isDir() && beside.isWritable()))
        return langFolder() + QStringLiteral("options.ini");
    return m_userFolder + QStringLiteral("/options.ini");
}

QString LanguageSettings::languagePath(const QString &name) const
{
    const QString own = m_userFolder + QStringLiteral("/Lang/") + name;
    if (!m_userFolder.isEmpty() && QFileInfo(own).isFile())
        return own;
    return langFolder() + name;
}

QStringList LanguageSettings::settingsFolders() const
{
    QStringList folders { QDir::cleanPath(m_programFolder + QStringLiteral("/Lang")) };
    const QString chosen = QFileInfo(optionsPath()).absolutePath();
    if (!folders.contains(chosen))
        folders.append(chosen);
    return folders;
}

std::optional<OptionsIni> LanguageSettings::readOptions() const
{
    const std::optional<QStringList> lines = readTextLines(optionsPath());
    if (!lines)
        return std::nullopt;
    return parseOptionsIni(*lines);
}

std::optional<int> LanguageSettings::restoreOptions()
{
    const std::optional<OptionsIni> options = readOptions();
    if (!options)
        return std::nullopt;
    if (options->languageFileName)
        languageFileName = *options->languageFileName;
    if (options->lastPhotoFolder)
        lastPhotoFolder = *options->lastPhotoFolder;
    autoFaceFit = options->autoFaceFit.value_or(true);
    return options->formatIndex;
}

void LanguageSettings::chooseLanguageByLocale(const QString &localeCode)
{
    if (!languageFileName.trimmed().isEmpty())
        return;
    const QString stem = languageForCode(localeCode.toLower());
    const QString candidate = stem + QStringLiteral(".lng");
    if (!stem.isEmpty() && QFileInfo(langFolder() + candidate).isFile())
        languageFileName = candidate;
    else
        languageFileName = QString::fromLatin1(DefaultLanguageFile);
}

bool LanguageSettings::loadTextTable()
{
    std::optional<QStringList> lines = readTextLines(languagePath());
    if (!lines && !m_hasTexts)
        lines = readTextLines(langFolder() + QString::fromLatin1(DefaultLanguageFile));
    // Without any readable Lang/, the English texts built into the program stand in, so no
    // message is ever blank.
    if (!lines && !m_hasTexts) {
        initResources();
        lines = readTextLines(QStringLiteral(":/lang/english.lng"));
    }
    if (!lines)
        return false;
    textTable.applyLines(*lines);
    m_hasTexts = true;
    return true;
}

bool LanguageSettings::differsFromStored(int formatIndex) const
{
    QFile file;
    return openRegularFile(file, optionsPath())
        && file.read(MaximumTextFileBytes + 1)
        != formatOptionsIni(languageFileName, formatIndex, lastPhotoFolder, autoFaceFit);
}

bool LanguageSettings::save(int formatIndex) const
{
    if (!replaceableAsFile(optionsPath()))
        return false;
    QDir().mkpath(QFileInfo(optionsPath()).absolutePath());
    QSaveFile file(optionsPath());
    // Unbuffered, so a short write shows in write()'s count instead of being lost in a flush.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    const QByteArray bytes
        = formatOptionsIni(languageFileName, formatIndex, lastPhotoFolder, autoFaceFit);
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
