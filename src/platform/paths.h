#pragma once

#include <QByteArray>
#include <QString>

class QFile;

// Where Lang/ and Versioni.txt are: beside the executable for a portable copy or a build,
// else in the installed data folder (PREFIX/share/kalmora for PREFIX/bin/kalmora). Without a
// separator at the end.
QString dataFolder(const QString &programFolder);
// A data file by its path below that folder ("data/documents.tsv"), looked for the same two
// ways on its own; empty when neither holds it.
QString dataFile(const QString &programFolder, const QString &relativePath);

// Whether a file may be written under this name: nothing is there yet, or a regular file that
// is no link. A link, a pipe, a device or a folder is refused, so nothing is written through
// it or put in its place.
bool replaceableAsFile(const QString &path);

// Opens a regular file for reading, checking what was opened rather than the name before it:
// the open never blocks (a pipe swapped in under the name is refused, not waited on).
bool openRegularFile(QFile &file, const QString &path);

// How a write ended: whole, or not at all and why, in the system's words.
struct WriteResult
{
    bool written = false;
    QString reason;
};

// Writes the bytes through a file of its own beside the target, which replaces the target only
// once all of it is on disk; a failure leaves the target as it was. A name replaceableAsFile()
// refuses is not written.
WriteResult writeWholeFile(const QString &path, const QByteArray &bytes);
