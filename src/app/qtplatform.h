#pragma once

#include "platform/platform.h"

class QtPlatform : public Platform
{
public:
    int messageBox(QWidget *owner, const QString &text, int style, const QString &title) override;
    std::optional<QStringList> fileDialog(const FileDialogRequest &request) override;
    bool openUrl(const QUrl &url) override;
    QString programFolder() const override;
    QString userConfigFolder() const override;
    QString localeLanguageCode() const override;
    QString currentDirectory() const override;
    void endProgram() override;
    void setBusy(bool busy) override;
};
