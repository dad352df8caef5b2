#pragma once

#include "i18n/texttable.h"
#include "photo/cropsource.h"
#include "photo/photoformat.h"
#include "sheetexport.h"

#include <QString>

class Platform;
class QWidget;

// The command that saves the fitted photo alone as one JPEG for an online application: asks for
// its size in pixels and an optional size limit, encodes the photo's own pixels within the
// limit, asks for the file and writes it whole or not at all, then tells the user how it ended.
class OnlineCopyExport
{
public:
    OnlineCopyExport(Platform &platform, const TextTable &texts, QWidget *owner);

    ExportOutcome run(const ClipImage &clip, const PhotoFormat &format);
    // The chosen file, once one was chosen.
    QString target() const { return m_target; }

private:
    ExportOutcome save(const ClipImage &clip, const PhotoFormat &format);

    Platform &m_platform;
    const TextTable &m_texts;
    QWidget *m_owner;
    QString m_target;
    qint64 m_smallestBytes = 0; // at the lowest quality, when the limit cannot be reached
};
