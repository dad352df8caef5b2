#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// Language files and options.ini are UTF-8; a file that is not valid UTF-8 is read as
// Windows-1252, the code page such files were written in before.
QString decodeText(const QByteArray &bytes);

// CR LF or a lone CR ends a line; an LF that does not follow a CR is part of the text.
// The last line need not be terminated.
QStringList splitLines(const QString &text);

// Language files and options.ini come from outside: a few KB each, refused beyond this.
constexpr qint64 MaximumTextFileBytes = 256 * 1024;

// The lines of a text file, or nothing when it cannot be opened or is larger than
// MaximumTextFileBytes.
std::optional<QStringList> readTextLines(const QString &path);
