#include "languagefiles.h"

#include "platform/paths.h"
#include "platform/resources.h"
#include "textfile.h"

#include <QFileInfo>

#include <algorithm>

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

bool staysInLangFolder(const QString &name)
{
    if (name.startsWith(u'/') || name.contains(u'\\'))
        return false;
    const QStringList steps = name.split(u'/');
    return std::none_of(steps.begin(), steps.end(),
        [](const QString &step) { return step.trimmed() == QLatin1String(".."); });
}

std::optional<QString> languageFileFromPath(const QString &path)
{
    static const QString marker = QStringLiteral("/Lang/");
    const qsizetype at = path.lastIndexOf(marker, -1, Qt::CaseSensitive);
    if (at < 0 || !staysInLangFolder(path.mid(at + marker.size())))
        return std::nullopt;
    return path.mid(at + marker.size());
}

LanguageFiles::LanguageFiles(const QString &programFolder, const QString &userFolder)
    : m_dataFolder(dataFolder(programFolder))
    , m_userFolder(userFolder)
{ }

QString LanguageFiles::langFolder() const
{
    return m_dataFolder + QStringLiteral("/Lang/");
}

QString LanguageFiles::path(const QString &name) const
{
    const QString own = m_userFolder + QStringLiteral("/Lang/") + name;
    if (!m_userFolder.isEmpty() && QFileInfo(own).isFile())
        return own;
    return langFolder() + name;
}

QString LanguageFiles::fileForLocale(const QString &localeCode) const
{
    const QString stem = languageForCode(localeCode.toLower());
    const QString candidate = stem + QStringLiteral(".lng");
    if (!stem.isEmpty() && QFileInfo(langFolder() + candidate).isFile())
        return candidate;
    return QString::fromLatin1(DefaultFile);
}

std::optional<QString> LanguageFiles::nameToStore(const QString &chosenPath) const
{
    const std::optional<QString> name = languageFileFromPath(chosenPath);
    if (!name)
        return std::nullopt;
    const QFileInfo file(path(*name));
    if (!file.isFile() || !file.isReadable())
        return std::nullopt;
    return name;
}

bool LanguageFiles::load(const QString &name)
{
    std::optional<QStringList> lines
        = staysInLangFolder(name) ? readTextLines(path(name)) : std::nullopt;
    if (!lines && !m_hasTexts)
        lines = readTextLines(langFolder() + QString::fromLatin1(DefaultFile));
    // Without any readable Lang/, the English texts built into the program stand in, so no
    // message is ever blank.
    if (!lines && !m_hasTexts) {
        initResources();
        lines = readTextLines(QStringLiteral(":/lang/english.lng"));
    }
    if (!lines)
        return false;
    m_texts.applyLines(*lines);
    m_hasTexts = true;
    return true;
}
