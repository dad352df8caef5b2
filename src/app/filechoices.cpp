#include "filechoices.h"

#include "i18n/languagefiles.h"
#include "i18n/settings.h"
#include "photo/photoloader.h"
#include "platform/filedialog.h"
#include "platform/platform.h"

#include <QFileInfo>

namespace {

// The open dialog for one kind of file, offering all of them.
QString askToOpen(Platform &platform, const QString &folder, const QString &filter,
    const QString &pattern, const QString &title, QWidget *owner)
{
    FileDialogRequest request;
    request.initialDir = folder;
    request.filter = filter;
    request.defaultExt = pattern;
    request.fileName = pattern;
    request.dialogTitle = title;
    request.owner = owner;
    request.openDialog = true;
    return showFileDialog(platform, request);
}

// The language's JPEG filter, which lists the JPEG names, with the other photos' names added
// to its patterns.
QString photoFilter(const QString &jpegFilter)
{
    QString added;
    for (const bool capitals : { false, true })
        for (const char *ending : PhotoFileEndings) {
            const QString pattern = QStringLiteral("*.") + QLatin1String(ending);
            if (!pattern.startsWith(QLatin1String("*.JP")))
                added += u' ' + (capitals ? pattern : pattern.toLower());
        }
    const qsizetype close = jpegFilter.lastIndexOf(u')');
    return close < 0 ? jpegFilter + QStringLiteral(" (") + added.mid(1) + u')'
                     : QString(jpegFilter).insert(close, added);
}

} // namespace

QString choosePhotoFile(
    Platform &platform, const TextTable &texts, Settings &settings, QWidget *owner)
{
    if (settings.lastPhotoFolder().isEmpty())
        settings.setLastPhotoFolder(platform.currentDirectory());
    const QString path = askToOpen(platform, settings.lastPhotoFolder(),
        photoFilter(texts.text(TextId::PhotoFilter)), QStringLiteral("*.jpg"),
        texts.text(TextId::PhotoDialogTitle), owner);
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
    const QString chosen
        = askToOpen(platform, languages.langFolder(), texts.text(TextId::LanguageFilter),
            QStringLiteral("*.lng"), texts.text(TextId::LanguageDialogTitle), owner);
    if (chosen.isEmpty())
        return false;
    if (const std::optional<QString> name = languages.nameToStore(chosen))
        settings.setLanguageFileName(*name);
    return true;
}

ExportTarget askExportTarget(Platform &platform, const TextTable &texts, Settings &settings,
    QWidget *owner, const QString &fileName, const QString &dialogTitle)
{
    FileDialogRequest request;
    // Empty both: the current folder.
    request.initialDir = settings.lastSaveFolder().isEmpty() ? settings.lastPhotoFolder()
                                                             : settings.lastSaveFolder();
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
    if (!target.path.isEmpty())
        settings.setLastSaveFolder(QFileInfo(target.path).absolutePath());
    return target;
}
