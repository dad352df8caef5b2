#include "sheetexport.h"

#include "jpegfile.h"
#include "platform/filedialog.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "sheetcomposer.h"
#include "sheetlayout.h"

#include <QFileInfo>

namespace {

constexpr int SheetJpegQuality = 85;

} // namespace

std::optional<ExportMessage> exportMessage(ExportOutcome outcome)
{
    switch (outcome) {
    case ExportOutcome::NoPhoto:
        return ExportMessage { TextId::NothingToExport, TextId::MessageTitle,
            MessageBoxStyle::Exclamation, false };
    case ExportOutcome::Written:
        return ExportMessage { TextId::SheetSaved, TextId::ExportFinished,
            MessageBoxStyle::Information, false };
    case ExportOutcome::Failed:
        return ExportMessage { TextId::SheetNotWritten, TextId::MessageTitle,
            MessageBoxStyle::Exclamation, true };
    case ExportOutcome::NotDecoded:
        return ExportMessage { TextId::NotAPhoto, TextId::MessageTitle,
            MessageBoxStyle::Exclamation, false };
    case ExportOutcome::OverSizeLimit:
        return ExportMessage { TextId::OnlineCopyLimitUnreachable, TextId::MessageTitle,
            MessageBoxStyle::Exclamation, false };
    case ExportOutcome::Cancelled:
    case ExportOutcome::KeptExisting:
        break;
    }
    return std::nullopt;
}

void tellExportOutcome(Platform &platform, const TextTable &texts, QWidget *owner,
    ExportOutcome outcome, const QString &path, qint64 smallestKb, bool photoAlone)
{
    const std::optional<ExportMessage> shown = exportMessage(outcome);
    if (!shown)
        return;
    TextId id = shown->text;
    if (photoAlone && id == TextId::SheetSaved)
        id = TextId::PhotoSaved;
    else if (photoAlone && id == TextId::SheetNotWritten)
        id = TextId::PhotoNotWritten;
    QString text = texts.text(id);
    if (outcome == ExportOutcome::OverSizeLimit)
        text = text.arg(smallestKb);
    platform.messageBox(
        owner, shown->withPath ? text + path : text, shown->style, texts.text(shown->title));
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

SheetExport::SheetExport(Platform &platform, const TextTable &texts, QWidget *owner)
    : m_platform(platform)
    , m_texts(texts)
    , m_owner(owner)
{ }

ExportOutcome SheetExport::run(
    const ClipImage &clip, const QSizeF &frameTwips, const QColor &background)
{
    if (clip.isNull())
        return ExportOutcome::NoPhoto;
    const SheetLayout layout = computeSheetLayout(frameTwips.width(), frameTwips.height());
    const QImage sheet = composeSheet(layout, clip, background);

    const ExportTarget target = askExportTarget(m_platform, m_texts, m_owner,
        QStringLiteral("PhotoID1.jpg"), m_texts.text(TextId::ExportDialogTitle));
    m_target = target.path;
    if (m_target.isEmpty())
        return target.declined;
    if (!replaceableAsFile(m_target))
        return ExportOutcome::Failed;
    m_platform.setBusy(true);
    // The sheet's own 32-bit pixels go to the encoder; the target is replaced only once the
    // whole JPEG is on disk.
    const QByteArray jpeg = encodeJpeg(sheet, SheetJpegQuality, int(SheetDotsPerInch));
    const bool written = !jpeg.isEmpty() && writeWholeFile(m_target, jpeg);
    m_platform.setBusy(false);
    return written ? ExportOutcome::Written : ExportOutcome::Failed;
}
