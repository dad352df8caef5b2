#pragma once

#include "iddocument.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// A table of documents is a few KB; a larger file is not one, and is not read further.
inline constexpr qint64 MaximumDocumentTableBytes = 1024 * 1024;
inline constexpr double LargestPhotoPixels = 10000;

// The documents of one tab-separated file and, in English, why a row or the whole file was
// refused ("documents.tsv line 12: ..."), one line each.
struct DocumentTable
{
    QList<IdDocument> documents;
    QStringList problems;
};

// Columns are found by the header's names, in any order; id, country, document, width, height
// and unit are required, the others may be left out. A refused row leaves the others standing.
DocumentTable readDocumentTable(const QByteArray &bytes, const QString &fileName);

// The shipped table and the user's own additions, read once at start.
class DocumentList
{
public:
    // Reads data/documents.tsv beside the executable or in the installed data folder, then
    // documents.tsv in the user's folder (when there is one), whose rows add documents or
    // replace the shipped one of the same id in its place. What cannot be read is added to
    // `problems`; a missing shipped table leaves the list empty.
    void load(const QString &programFolder, const QString &userFolder, QStringList *problems);

    const QList<IdDocument> &documents() const { return m_documents; }
    std::optional<IdDocument> find(const QString &id) const;

private:
    QList<IdDocument> m_documents;
};
