#pragma once

#include "fakeprintersystem.h"
#include "platform/platform.h"

#include <QList>
#include <QQueue>

// Answers dialogs from queues and records everything the windows showed or opened.
class FakePlatform : public Platform
{
public:
    struct Message
    {
        QString text;
        int style;
        QString title;
    };

    explicit FakePlatform(const QString &programFolder)
        : folder(programFolder)
        , workingDirectory(programFolder)
        , userFolder(programFolder + QStringLiteral("/user"))
    { }

    int messageBox(QWidget *, const QString &text, int style, const QString &title) override
    {
        messages.append({ text, style, title });
        return answers.isEmpty() ? MessageBoxAnswer::Ok : answers.dequeue();
    }

    std::optional<QStringList> fileDialog(const FileDialogRequest &request) override
    {
        dialogs.append(request);
        return dialogAnswers.isEmpty() ? std::nullopt : dialogAnswers.dequeue();
    }

    bool openUrl(const QUrl &url) override
    {
        opened.append(url);
        return openResult;
    }

    QString programFolder() const override { return folder; }
    QString userConfigFolder() const override { return userFolder; }
    QString localeLanguageCode() const override { return locale; }
    QString currentDirectory() const override { return workingDirectory; }
    void endProgram() override { ++endCalls; }
    void setBusy(bool on) override { busy += on ? 1 : -1; }

    QString folder;
    QString workingDirectory;
    QString userFolder;
    QString locale = QStringLiteral("en");
    QList<Message> messages;
    QQueue<int> answers;
    QList<FileDialogRequest> dialogs;
    QQueue<std::optional<QStringList>> dialogAnswers;
    QList<QUrl> opened;
    bool openResult = true;
    int endCalls = 0;
    int busy = 0; // busy pointers shown and not yet taken back
    // Handed to the window beside the platform, as the program hands in the CUPS printers.
    FakePrinterSystem printerSystem;
};
