#pragma once

#include <QLocale>
#include <QString>
#include <QTranslator>

// Qt's own texts (the file dialogs, Yes and No) in the language of the chosen language file.
class QtTranslation
{
public:
    ~QtTranslation();
    // Two-letter code of a language file's language ("deutsch.lng": "de"); empty when unknown.
    static QString languageCode(const QString &languageFileName);
    // The locale of the figures shown with a language file's texts ("19,9" in German); English
    // for a file whose language is not known.
    static QLocale locale(const QString &languageFileName);
    // Loads Qt's translation for the file's language in place of the present one, or where Qt
    // ships none (Greek, Indonesian, Swedish, Portuguese) ours from the program's
    // translations/ folder; false when there is none (English, or a language file of the
    // user's own), and Qt speaks English.
    bool apply(const QString &languageFileName, const QString &programFolder);

private:
    QTranslator m_translator;
    bool m_installed = false;
};
