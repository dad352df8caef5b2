#include "qttranslation.h"

#include "languagefiles.h"

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

bool QtTranslation::apply(const QString &languageFileName)
{
    if (m_installed)
        QCoreApplication::removeTranslator(&m_translator);
    const QString code = languageCode(languageFileName);
    m_installed = !code.isEmpty()
        && m_translator.load(
            QStringLiteral("qtbase_") + code, QLibraryInfo::path(QLibraryInfo::TranslationsPath))
        && QCoreApplication::installTranslator(&m_translator);
    return m_installed;
}
