#include "sheetexport.h"

#include "jpegfile.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "sheetcomposer.h"
#include "sheetlayout.h"

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
    case ExportOutcome::WrittenUnderLeast:
        return ExportMessage { TextId::PhotoSaved, TextId::ExportFinished,
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

ExportResult writeSheet(
    const ClipImage &clip, const QSizeF &printMm, const QColor &background, const QString &path)
{
    if (clip.isNull())
        return ExportOutcome::NoPhoto;
    const SheetLayout layout = sheetLayoutFor(printMm);
    // The sheet's own 32-bit pixels go to the encoder; the target is replaced only once the
    // whole JPEG is on disk.
    const QByteArray jpeg = encodeJpeg(
        composeSheet(layout, clip, background), SheetJpegQuality, int(SheetDotsPerInch));
    if (jpeg.isEmpty())
        return ExportOutcome::Failed;
    return writeJpegFile(jpeg, path);
}

ExportResult writeJpegFile(const QByteArray &jpeg, const QString &path)
{
    const WriteResult write = writeWholeFile(path, jpeg);
    return { write.written ? ExportOutcome::Written : ExportOutcome::Failed, write.reason };
}
