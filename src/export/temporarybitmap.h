#pragma once

#include <QImage>
#include <QString>

// "PhotoID_tmp.bmp" beside the executable, or in the system's temporary folder when the
// program folder cannot be written.
QString temporaryBitmapPath(const QString &programFolder);
// Writes the sheet as a BMP file, replacing one of that name; false unless it is complete.
bool writeTemporaryBitmap(const QImage &sheet, const QString &path);
