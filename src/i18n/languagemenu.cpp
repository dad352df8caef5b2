#include "languagemenu.h"

#include "languagesettings.h"
#include "platform/filedialog.h"

#include <QFileInfo>

std::optional<QString> languageFileFromPath(const QString &path)
{
    static const QString marker = QStringLiteral("/Lang/");
    const qsizetype at = path.lastIndexOf(marker, -1, Qt::CaseSensitive);
    // Only a file of the folder itself: options.ini keeps a plain name.
    if (at < 0 || path.indexOf(u'/', at + marker.size()) >= 0)
        return std::nullopt;
    return path.mid(at + marker.size());
}

bool chooseLanguageFile(Platform &platform, LanguageSettings &settings, QWidget *owner)
{
    FileDialogRequest request;
    request.initialDir = settings.langFolder();
    request.filter = settings.textTable.text(TextId::LanguageFilter);
    request.defaultExt = QStringLiteral("*.lng");
    request.fileName = QStringLiteral("*.lng");
    request.dialogTitle = settings.textTable.text(TextId::LanguageDialogTitle);
    request.owner = owner;
    request.openDialog = true;
    const QString chosen = showFileDialog(platform, request);
    if (chosen.isEmpty())
        return false;
    // A name that cannot be read from our own Lang folder is not stored: it would switch the
    // next start to the fallback language instead of keeping the current one.
    if (const std::optional<QString> name = languageFileFromPath(chosen)) {
        const QFileInfo file(settings.languagePath(*name));
        if (file.isFile() && file.isReadable())
            settings.languageFileName = *name;
    }
    return true;
}
