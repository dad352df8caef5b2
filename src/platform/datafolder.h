#pragma once

#include <QString>

// Where Lang/ and Versioni.txt are: beside the executable for a portable copy or a build,
// else in the installed data folder (PREFIX/share/kalmora for PREFIX/bin/kalmora). Without a
// separator at the end.
QString dataFolder(const QString &programFolder);
