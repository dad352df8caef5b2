#include "sheetexport.h"

#include "platform/filedialog.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "sheetcomposer.h"
#include "sheetlayout.h"

#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>

namespace {

// Encoded into a file of its own beside the target, which replaces the target only once the
// whole image is on disk. The sheet carries its 300 dpi, which a photo lab prints it at.
bool writeSheetJpeg(const QImage &sheet, const QString &path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QImageWriter writer(&file, "jpeg");
    writer.setQuality(85);
    if (!writer.write(sheet)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

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
    const bool written = writeSheetJpeg(sheet, m_target);
    m_platform.setBusy(false);
    return written ? ExportOutcome::Written : ExportOutcome::Failed;
}
