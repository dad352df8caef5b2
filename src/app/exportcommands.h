#pragma once

#include "export/sheetexport.h"
#include "onlinecopydialog.h"
#include "photo/cropsource.h"
#include "photo/iddocument.h"

#include <QColor>
#include <QSizeF>
#include <QString>

class Platform;
class QWidget;
class Settings;
class TextTable;

// The export command: asks for the target (and whether to replace an existing file), writes
// the sheet of the clip at its print size in millimetres under the busy pointer, then tells
// the user how it ended. The settings keep the folder saved to for the run.
ExportResult runSheetExport(Platform &platform, const TextTable &texts, Settings &settings,
    QWidget *owner, const ClipImage &clip, const QSizeF &printMm, const QColor &background);

// The command that saves the fitted photo alone for an online application: asks for its size
// and an optional size limit through `ask`, with the document's file rule as the first answer,
// encodes it within the limits off the window's thread while `wait` waits, under the busy
// pointer (asking again, as typed, while the limit is out of reach; a wait given up on ends as a
// cancel, silently), asks for the file and writes it, then tells the user how it ended, with its
// pixels and KB.
ExportResult runOnlineCopyExport(Platform &platform, const TextTable &texts, Settings &settings,
    QWidget *owner, const AskOnlineCopy &ask, const ClipImage &clip, const IdDocument &document,
    const WaitForOnlineCopy &wait = waitForOnlineCopy);

// Tells the user how an export to `path` ended; nothing for a cancel. The photo alone is named
// so, not a sheet, with `figures` (its size) when saved; a failed write says why.
void tellExportOutcome(Platform &platform, const TextTable &texts, QWidget *owner,
    const ExportResult &result, const QString &path, bool photoAlone = false,
    const QString &figures = {});
