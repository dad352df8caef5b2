#pragma once

#include "platform/paths.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// options.ini as read: each line is present only if the file had it.
struct OptionsIni
{
    std::optional<QString> languageFileName; // line 2, a file name in a language folder
    std::optional<int> formatIndex; // line 3, when it is a 16-bit number
    std::optional<QString> lastPhotoFolder; // line 4
    std::optional<bool> autoFaceFit; // line 5, "1" or "0"
    std::optional<QString> document; // line 6: the chosen document's id or custom size
};

// A file with a longer line is read as empty, as if it were not there.
constexpr qsizetype MaximumOptionsLine = 4096;
OptionsIni parseOptionsIni(const QStringList &lines);
QByteArray formatOptionsIni(const QString &languageFileName, int formatIndex,
    const QString &lastPhotoFolder, bool autoFaceFit = true, const QString &document = {});

// options.ini: the chosen language file, the folder of the last photo and the face fit's
// switch, alive from start to exit. The selected format belongs to the photo and is handed in
// whenever the file is written.
class Settings
{
public:
    // options.ini stands in Lang/ beside the executable when that is writable (a portable copy
    // or a build), else in the user's folder; without one, in the Lang/ the language files
    // come from.
    explicit Settings(const QString &programFolder, const QString &userFolder = {});

    QString path() const;
    // The folders considered: Lang/ beside the executable, then the one used.
    QStringList foldersTried() const;

    QString languageFileName() const { return m_languageFileName; }
    void setLanguageFileName(const QString &name) { m_languageFileName = name; }
    // Empty or blanks only: the language is to be taken from the locale.
    bool hasLanguage() const { return !m_languageFileName.trimmed().isEmpty(); }
    QString lastPhotoFolder() const { return m_lastPhotoFolder; }
    void setLastPhotoFolder(const QString &folder) { m_lastPhotoFolder = folder; }
    bool autoFaceFit() const { return m_autoFaceFit; }
    void setAutoFaceFit(bool on) { m_autoFaceFit = on; }
    // Empty: the format of line 3 alone.
    QString document() const { return m_document; }
    void setDocument(const QString &document) { m_document = document; }
    // The folder the last export or online copy went to, for this run only (options.ini's
    // lines stay as they are); empty: none was saved yet.
    QString lastSaveFolder() const { return m_lastSaveFolder; }
    void setLastSaveFolder(const QString &folder) { m_lastSaveFolder = folder; }

    // Nothing when options.ini does not exist or cannot be read.
    std::optional<OptionsIni> read() const;
    // Takes the language, the photo folder and the face fit's switch from options.ini; the
    // stored format, when it names one.
    std::optional<int> restore();
    // options.ini exists and save() would write something else into it.
    bool differsFromStored(int formatIndex) const;
    // Writes options.ini whole or not at all, so a failed write keeps the previous file.
    WriteResult save(int formatIndex) const;

private:
    QString m_programFolder;
    QString m_dataFolder;
    QString m_userFolder;
    QString m_languageFileName;
    QString m_lastPhotoFolder;
    bool m_autoFaceFit = true;
    QString m_document;
    QString m_lastSaveFolder;
};
