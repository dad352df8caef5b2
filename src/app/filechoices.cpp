#include "filechoices.h"

#include "i18n/languagefiles.h"
#include "i18n/settings.h"
#include "platform/filedialog.h"
#include "platform/platform.h"

#include <QFileInfo>

QString choosePhotoFile(
    Platform &platform, const TextTable &texts, Settings &settings, QWidget *owner)
{
    if (settings.lastPhotoFolder().isEmpty())
        settings.setLastPhotoFolder(platform.currentDirectory());
    FileDialogRequest request;
    request.initialDir = settings.lastPhotoFolder();
    request.filter = texts.text(TextId::PhotoFilter);
    request.defaultExt = QStringLiteral("*.jpg");
    request.fileName = QStringLiteral("*.jpg");
    request.dialogTitle = texts.text(TextId::PhotoDialogTitle);
    request.owner = owner;
    request.openDialog = true;
    const QString path = showFileDialog(platform, request);
    if (!path.isEmpty()) {
        const QFileInfo file(path);
        const QString name = file.isFile() ? file.fileName() : QString();
        settings.setLastPhotoFolder(path.left(path.size() - name.size()));
    }
    return path;
}

bool chooseLanguageFile(Platform &platform, const TextTable &texts, const LanguageFiles &languages,
    Settings &settings, QWidget *owner)
{
    FileDialogRequest request;
    request.initialDir = languages.langFolder();
    request.filter = texts.text(TextId::LanguageFilter);
    request.defaultExt = QStringLiteral("*.lng");
    request.fileName = QStringLiteral("*.lng");
    request.dialogTitle = texts.text(TextId::LanguageDialogTitle);
    request.owner = owner;
    request.openDialog = true;
    const QString chosen = showFileDialog(platform, request);
    if (chosen.isEmpty())
        return false;
    if (const std::optional<QString> name = languages.nameToStore(chosen))
        settings.setLanguageFileName(*name);
    return true;
}

ExportTarget askExportTarget(Platform &platform, const TextTable &texts, QWidget *owner,
    const QString &fileName, const QString &dialogTitle)
{
    FileDialogRequest request;
    request.initialDir = platform.currentDirectory();
    request.filter = texts.text(TextId::PhotoFilter);
    request.defaultExt = QStringLiteral("*.jpg");
    request.fileName = fileName;
    request.dialogTitle = dialogTitle;
    request.owner = owner;
    ExportTarget target { showFileDialog(platform, request) };
    if (!target.path.isEmpty() && QFileInfo(target.path).isFile()
        && platform.messageBox(owner,
               texts.text(TextId::FileExists) + QStringLiteral("\r\r")
                   + texts.text(TextId::ReplaceQuestion),
               MessageBoxStyle::Exclamation | MessageBoxStyle::YesNo,
               texts.text(TextId::MessageTitle))
            == MessageBoxAnswer::No)
        target = { QString(), ExportOutcome::KeptExisting };
    return target;
}
