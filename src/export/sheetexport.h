#pragma once

#include "i18n/texttable.h"
#include "photo/cropsource.h"

#include <QColor>
#include <QSizeF>
#include <QString>

#include <optional>

class Platform;
class QWidget;

enum class ExportOutcome {
    NoPhoto,
    Cancelled, // no file chosen
    KeptExisting, // the user would not replace the file
    Written,
    Failed, // the JPEG could not be written whole
    NotDecoded, // the photo's own pixels could not be decoded
    OverSizeLimit, // even the lowest quality is larger than the user's limit
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
// Tells the user how an export to `path` ended; nothing for a cancel. `smallestKb` fills the
// message of a size limit that cannot be reached. The photo alone is named so, not a sheet.
void tellExportOutcome(Platform &platform, const TextTable &texts, QWidget *owner,
    ExportOutcome outcome, const QString &path, qint64 smallestKb = 0, bool photoAlone = false);

// The file an export writes, or why there is none.
struct ExportTarget
{
    QString path; // empty when the user declined
    ExportOutcome declined = ExportOutcome::Cancelled;
};
// Asks for the JPEG file to write, proposing a name, and whether an existing file may be
// replaced.
ExportTarget askExportTarget(Platform &platform, const TextTable &texts, QWidget *owner,
    const QString &fileName, const QString &dialogTitle);

// The export command: asks for the target (and whether to replace an existing file), composes
// the sheet of the clip at the frame's format and writes it as a JPEG, whole or not at all.
class SheetExport
{
public:
    SheetExport(Platform &platform, const TextTable &texts, QWidget *owner);

    ExportOutcome run(const ClipImage &clip, const QSizeF &frameTwips, const QColor &background);
    // The chosen file, once one was chosen.
    QString target() const { return m_target; }

private:
    Platform &m_platform;
    const TextTable &m_texts;
    QWidget *m_owner;
    QString m_target;
};
