#pragma once

#include <QString>

class QFile;

// Where Lang/ and Versioni.txt are: beside the executable for a portable copy or a build,
// else in the installed data folder (PREFIX/share/kalmora for PREFIX/bin/kalmora). Without a
// separator at the end.
QString dataFolder(const QString &programFolder);

// Whether a file may be written under this name: nothing is there yet, or a regular file that
// is no link. A link, a pipe, a device or a folder is refused, so nothing is written through
// it or put in its place.
bool replaceableAsFile(const QString &path);

// Opens a regular file for reading, checking what was opened rather than the name before it:
// the open never blocks (a pipe swapped in under the name is refused, not waited on).
bool openRegularFile(QFile &file, const QString &path);
