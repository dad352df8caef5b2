#pragma once

#include "texttable.h"

#include <QByteArray>
#include <QString>
#include <optional>

// options.ini as read: each line is present only if the file had it.
struct OptionsIni
{
    std::optional<QString> languageFileName; // line 2, a file name in a language folder
    std::optional<int> formatIndex; // line 3, when it is a 16-bit number
    std::optional<QString> lastPhotoFolder; // line 4
    std::optional<bool> autoFaceFit; // line 5, "1" or "0"
};

// A file with a longer line is read as empty, as if it were not there.
constexpr qsizetype MaximumOptionsLine = 4096;
OptionsIni parseOptionsIni(const QStringList &lines);
QByteArray formatOptionsIni(const QString &languageFileName, int formatIndex,
    const QString &lastPhotoFolder, bool autoFaceFit = true);

// Two-letter language code to the stem of the language file; empty when the code is unknown.
QString languageForCode(const QString &code);

// The program-wide language and settings state, alive from start to exit.
class LanguageSettings
{
public:
    static constexpr auto DefaultLanguageFile = "english.lng";

    // Lang/ is looked for beside the executable, then in the installed data folder. The
    // user's folder holds options.ini unless a writable Lang/ stands beside the executable,
    // and the language files the user adds (in its own Lang/); empty: there is none.
    explicit LanguageSettings(const QString &programFolder, const QString &userFolder = {});

    QString langFolder() const; // the shipped language files, with its trailing separator
    QString optionsPath() const;
    // A language file by its name below Lang/: the user's own copy when there is one.
    QString languagePath(const QString &name) const;
    QString languagePath() const { return languagePath(languageFileName); }
    // The folders considered for options.ini: Lang/ beside the executable, then the one used.
    QStringList settingsFolders() const;

    TextTable textTable;
    QString languageFileName;
    QString lastPhotoFolder;
    bool autoFaceFit = true;

    // Nothing when options.ini does not exist or cannot be read.
    std::optional<OptionsIni> readOptions() const;
    // Takes the language, the photo folder and the face fit's switch from options.ini; the
    // stored format, when it names one.
    std::optional<int> restoreOptions();
    // Fills an empty languageFileName from the locale, falling back to english.lng.
    void chooseLanguageByLocale(const QString &localeCode);
    // Reads the current language file into the text table; false when it cannot be opened.
    // Until some file has been read, english.lng stands in for one that cannot be opened.
    bool loadTextTable();
    bool hasTexts() const { return m_hasTexts; }
    // Writes options.ini whole or not at all, so a failed write keeps the previous file.
    bool save(int formatIndex) const;
    // options.ini exists and save() would write something else into it.
    bool differsFromStored(int formatIndex) const;

private:
    QString m_programFolder;
    QString m_dataFolder;
    QString m_userFolder;
    bool m_hasTexts = false;
};
