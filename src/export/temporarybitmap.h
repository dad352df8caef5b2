#pragma once

#include <QImage>
#include <QString>

// Writes the sheet as a BMP file of its own beside the executable, or in the system's
// temporary folder when the program folder cannot be written: created anew under a unique
// "PhotoID_tmp-XXXXXX.bmp" name, never through a file or link already there, so two exports
// at once never share it. The path written, or an empty text unless it is complete.
QString writeTemporaryBitmap(const QImage &sheet, const QString &programFolder);
