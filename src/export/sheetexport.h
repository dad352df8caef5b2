#pragma once

#include "i18n/texttable.h"
#include "photo/cropsource.h"

#include <QColor>
#include <QSizeF>
#include <QString>

#include <optional>

enum class ExportOutcome {
    NoPhoto,
    Cancelled, // no file chosen
    KeptExisting, // the user would not replace the file
    Written,
    Failed, // the JPEG could not be written whole
    NotDecoded, // the photo's own pixels could not be decoded
    OverSizeLimit, // even the lowest quality is larger than the user's limit
    WrittenUnderLeast, // written, but even the top quality is smaller than the office asks
};

// How an export ended; an outcome alone is one.
struct ExportResult
{
    ExportResult(ExportOutcome outcome = ExportOutcome::Cancelled, const QString &reason = {})
        : outcome(outcome)
        , reason(reason)
    { }

    ExportOutcome outcome;
    QString reason; // a failed write: why, in the system's words
    // Over the size limit: the smallest the file can be; under the office's least size: that.
    qint64 smallestKb = 0;
};

// What the window tells the user after an export.
struct ExportMessage
{
    TextId text;
    TextId title;
    int style;
    bool withPath; // the target's path follows the text
};
std::optional<ExportMessage> exportMessage(ExportOutcome outcome);

// The sheet of copies of the clip at its print size (sheetLayoutFor), written to `path` as a
// JPEG, whole or not at all.
ExportResult writeSheet(
    const ClipImage &clip, const QSizeF &printMm, const QColor &background, const QString &path);

// An encoded JPEG written to `path`, whole or not at all.
ExportResult writeJpegFile(const QByteArray &jpeg, const QString &path);
