#pragma once

#include "texttable.h"

#include <QString>

#include <optional>

// Two-letter language code to the stem of the language file; empty when the code is unknown.
QString languageForCode(const QString &code);

// A name that stays inside a Lang folder: relative, without ".." steps or backslashes, so no
// file elsewhere is read as the texts. Sub-folders are fine ("extra/mine.lng").
bool staysInLangFolder(const QString &name);

// The part of a chosen path after its last "/Lang/" (case-sensitive): the name the language
// file has in the program's own Lang folder, sub-folders included. Nothing when the path does
// not lead through a folder named exactly "Lang", or the rest would leave it.
std::optional<QString> languageFileFromPath(const QString &path);

// The language files and the texts read from the chosen one, alive from start to exit.
class LanguageFiles
{
public:
    static constexpr auto DefaultFile = "english.lng";

    // Lang/ is looked for beside the executable, then in the installed data folder; the user's
    // folder holds the language files the user adds (in its own Lang/); empty: there is none.
    explicit LanguageFiles(const QString &programFolder, const QString &userFolder = {});

    QString langFolder() const; // the shipped language files, with its trailing separator
    // A language file by its name below Lang/: the user's own copy when there is one.
    QString path(const QString &name) const;
    // The file of the locale's language when it is shipped, else english.lng.
    QString fileForLocale(const QString &localeCode) const;
    // The name to store for a file chosen in the language dialog: only one that can be read
    // from our own Lang folder, so the next start does not fall back to another language.
    std::optional<QString> nameToStore(const QString &chosenPath) const;

    // Reads the named file into the texts; false when it cannot be opened. Until some file
    // has been read, english.lng stands in for one that cannot be opened.
    bool load(const QString &name);
    bool hasTexts() const { return m_hasTexts; }
    const TextTable &texts() const { return m_texts; }

private:
    QString m_dataFolder;
    QString m_userFolder;
    TextTable m_texts;
    bool m_hasTexts = false;
};
