#include "sheetexport.h"

#include "platform/filedialog.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "sheetcomposer.h"
#include "sheetlayout.h"

#include <QFileInfo>
#include <QSaveFile>

#include <turbojpeg.h>

#include <cstring>

namespace {

constexpr int SheetJpegQuality = 85;

// libjpeg-turbo writes a JFIF header without units; the sheet carries its 300 dpi there, which
// a photo lab prints it at.
bool writeDensity(unsigned char *jpeg, unsigned long size, int dotsPerInch)
{
    static const unsigned char jfif[] = { 0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0 };
    if (size < 18 || std::memcmp(jpeg, jfif, sizeof jfif) != 0)
        return false;
    jpeg[13] = 1; // dots per inch
    jpeg[14] = jpeg[16] = static_cast<unsigned char>(dotsPerInch >> 8);
    jpeg[15] = jpeg[17] = static_cast<unsigned char>(dotsPerInch & 0xFF);
    return true;
}

// TurboJPEG takes the sheet's own 32-bit pixels with no conversion, which keeps an export
// within twice the least an encode costs. The file of its own beside the target replaces the
// target only once the whole image is on disk.
bool writeSheetJpeg(const QImage &sheet, const QString &path)
{
    if (sheet.format() != QImage::Format_RGB32)
        return false;
    tjhandle handle = tjInitCompress();
    if (!handle)
        return false;
    unsigned char *jpeg = nullptr;
    unsigned long size = 0;
    const bool encoded
        = tjCompress2(handle, sheet.constBits(), sheet.width(), int(sheet.bytesPerLine()),
              sheet.height(), TJPF_BGRX, &jpeg, &size, TJSAMP_420, SheetJpegQuality, 0)
            == 0
        && writeDensity(jpeg, size, int(SheetDotsPerInch));
    tjDestroy(handle);

    QSaveFile file(path);
    bool written = encoded && file.open(QIODevice::WriteOnly)
        && file.write(reinterpret_cast<const char *>(jpeg), qint64(size)) == qint64(size);
    tjFree(jpeg);
    if (!written) {
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
