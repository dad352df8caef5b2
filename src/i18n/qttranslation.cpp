#include "qttranslation.h"

#include "languagefiles.h"
#include "platform/paths.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>

QtTranslation::~QtTranslation()
{
    if (m_installed)
        QCoreApplication::removeTranslator(&m_translator);
}

QString QtTranslation::languageCode(const QString &languageFileName)
{
    const QString stem = QFileInfo(languageFileName).completeBaseName().toLower();
    for (const char *code : { "cs", "de", "el", "fr", "in", "it", "pt", "sv" }) {
        if (languageForCode(QString::fromLatin1(code)) == stem)
            return code == QLatin1String("in") ? QStringLiteral("id") : QString::fromLatin1(code);
    }
    return QString();
}

QLocale QtTranslation::locale(const QString &languageFileName)
{
    const QString code = languageCode(languageFileName);
    return code.isEmpty() ? QLocale(QLocale::English) : QLocale(code);
}

bool QtTranslation::apply(const QString &languageFileName, const QString &programFolder)
{
    if (m_installed)
        QCoreApplication::removeTranslator(&m_translator);
    const QString code = languageCode(languageFileName);
    if (code.isEmpty())
        return m_installed = false;
    const QString name = QStringLiteral("qtbase_") + code;
    // Qt's own where it has one; never a near name (pt_BR for pt): ours stands in then.
    const QString qtFile
        = QLibraryInfo::path(QLibraryInfo::TranslationsPath) + u'/' + name + QStringLiteral(".qm");
    const QString ours = dataFile(programFolder, QStringLiteral("translations/") + name + ".qm");
    m_installed = (m_translator.load(qtFile) || (!ours.isEmpty() && m_translator.load(ours)))
        && QCoreApplication::installTranslator(&m_translator);
    return m_installed;
}
