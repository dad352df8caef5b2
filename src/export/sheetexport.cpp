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
    case ExportOutcome::Cancelled:
    case ExportOutcome::KeptExisting:
        break;
    }
    return std::nullopt;
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

    FileDialogRequest request;
    request.initialDir = m_platform.currentDirectory();
    request.filter = m_texts.text(TextId::PhotoFilter);
    request.defaultExt = QStringLiteral("*.jpg");
    request.fileName = QStringLiteral("PhotoID1.jpg");
    request.dialogTitle = m_texts.text(TextId::ExportDialogTitle);
    request.owner = m_owner;
    m_target = showFileDialog(m_platform, request);
    if (m_target.isEmpty())
        return ExportOutcome::Cancelled;
    if (QFileInfo(m_target).isFile()
        && m_platform.messageBox(m_owner,
               m_texts.text(TextId::FileExists) + QStringLiteral("\r\r")
                   + m_texts.text(TextId::ReplaceQuestion),
               MessageBoxStyle::Exclamation | MessageBoxStyle::YesNo,
               m_texts.text(TextId::MessageTitle))
            == MessageBoxAnswer::No)
        return ExportOutcome::KeptExisting;

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
