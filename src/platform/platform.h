#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

class QWidget;

// Message box style numbers and answers, as the windows and the language files use them.
namespace MessageBoxStyle {
constexpr int Ok = 0;
constexpr int YesNo = 4;
constexpr int Critical = 16;
constexpr int Question = 32;
constexpr int Exclamation = 48;
constexpr int Information = 64;
} // namespace MessageBoxStyle

namespace MessageBoxAnswer {
constexpr int Ok = 1;
constexpr int Yes = 6;
constexpr int No = 7;
} // namespace MessageBoxAnswer

constexpr quint32 FileDialogAllowMultiSelect = 0x200;

// Everything a file dialog is asked to show.
struct FileDialogRequest
{
    quint32 flags = 0;
    QString initialDir; // empty: the current directory
    QString filter;
    int filterIndex = 1;
    QString defaultExt;
    QString fileName;
    QString dialogTitle;
    QWidget *owner = nullptr;
    bool openDialog = false;
};

// The seam between the windows and the desktop: the program hands in the Qt
// implementation, tests hand in fakes that answer dialogs and record what was shown.
class Platform
{
public:
    virtual ~Platform() = default;

    // Returns MessageBoxAnswer::Ok, Yes or No.
    virtual int messageBox(QWidget *owner, const QString &text, int style, const QString &title)
        = 0;
    // The chosen full paths (several only with the multiple-selection flag), or nothing when
    // cancelled.
    virtual std::optional<QStringList> fileDialog(const FileDialogRequest &request) = 0;
    // Opens an address or a file with its default handler; false when nothing could open it.
    virtual bool openUrl(const QUrl &url) = 0;
    // Folder of the executable, without a trailing separator; Lang/ and Versioni.txt live here.
    virtual QString programFolder() const = 0;
    // The user's own folder for this program's settings and added language files, without a
    // trailing separator; it may not exist yet.
    virtual QString userConfigFolder() const = 0;
    // Two-letter language code of the user's locale, lower case.
    virtual QString localeLanguageCode() const = 0;
    virtual QString currentDirectory() const = 0;
    // Ends the program at once, without the main window's closing steps.
    virtual void endProgram() = 0;
    // The busy pointer while a long step runs; calls nest.
    virtual void setBusy(bool busy) = 0;
};
