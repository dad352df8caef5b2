#pragma once

#include <QSize>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>
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

// What the user typed in the dialog of the copy for an online application.
struct OnlineCopyChoice
{
    QString size; // pixels, "width x height" or the width alone
    QString limit; // KB; empty: no limit
};

// What that dialog shows, and how it judges the texts typed in it.
struct OnlineCopyRequest
{
    QString title;
    QString sizeLabel;
    QString limitLabel;
    OnlineCopyChoice prefill;
    // The pixel size the texts give, or nothing when they are refused and cannot be accepted.
    std::function<std::optional<QSize>(const OnlineCopyChoice &)> check;
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
    // The accepted texts, or nothing when cancelled.
    virtual std::optional<OnlineCopyChoice> askOnlineCopy(
        QWidget *owner, const OnlineCopyRequest &request)
        = 0;
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
    // Ends the program this moment, skipping every closing step: for a request to quit while
    // a long step holds the user's input back and nothing is left to save.
    virtual void endProgramNow() = 0;
    // The busy pointer while a long step runs; calls nest.
    virtual void setBusy(bool busy) = 0;
};
