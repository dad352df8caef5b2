#include "photochoice.h"

#include "i18n/languagesettings.h"
#include "platform/filedialog.h"
#include "platform/platform.h"

#include <QFileInfo>

QString choosePhotoFile(Platform &platform, LanguageSettings &settings, QWidget *owner)
{
    if (settings.lastPhotoFolder.isEmpty())
        settings.lastPhotoFolder = platform.currentDirectory();
    FileDialogRequest request;
    request.initialDir = settings.lastPhotoFolder;
    request.filter = settings.textTable.text(TextId::PhotoFilter);
    request.defaultExt = QStringLiteral("*.jpg");
    request.fileName = QStringLiteral("*.jpg");
    request.dialogTitle = settings.textTable.text(TextId::PhotoDialogTitle);
    request.owner = owner;
    request.openDialog = true;
    const QString path = showFileDialog(platform, request);
    if (!path.isEmpty()) {
        const QFileInfo file(path);
        const QString name = file.isFile() ? file.fileName() : QString();
        settings.lastPhotoFolder = path.left(path.size() - name.size());
    }
    return path;
}
