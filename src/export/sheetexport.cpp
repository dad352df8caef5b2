#include "sheetexport.h"

#include "platform/bmptojpg.h"
#include "platform/filedialog.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "sheetcomposer.h"
#include "sheetlayout.h"
#include "temporarybitmap.h"

#include <QCoreApplication>
#include <QCursor>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>

std::optional<ExportMessage> exportMessage(ExportOutcome outcome)
{
    switch (outcome) {
    case ExportOutcome::NoPhoto:
        return ExportMessage { TextId::NothingToExport, TextId::MessageTitle,
            MessageBoxStyle::Exclamation, false };
    case ExportOutcome::Written:
        return ExportMessage { TextId::SheetSaved, TextId::ExportFinished,
            MessageBoxStyle::Information, false };
    case ExportOutcome::BitmapUnreadable:
        return ExportMessage { TextId::SheetNotSavedAs, TextId::ExportFailed,
            MessageBoxStyle::Information, true };
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
    m_target = ShowFileDialog(m_platform, request);
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
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    const QString bitmap = writeTemporaryBitmap(sheet, m_platform.programFolder());
    const bool bitmapWritten = !bitmap.isEmpty();
    QCoreApplication::processEvents();
    BmpToJpgFailure failure = BmpToJpgFailure::TargetUnwritable;
    const bool converted = bitmapWritten && QFileInfo(bitmap).isFile()
        && BMPToJPG(bitmap, m_target, 85, &failure) != 0;
    QFile::remove(bitmap);
    QGuiApplication::restoreOverrideCursor();
    if (converted)
        return ExportOutcome::Written;
    return failure == BmpToJpgFailure::SourceUnreadable ? ExportOutcome::BitmapUnreadable
                                                        : ExportOutcome::Failed;
}
