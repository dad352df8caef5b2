#pragma once

#include <QByteArray>
#include <QImage>

// Uncompressed 32-bit BMP files, written and read row by row in one piece: Qt's own BMP
// handler converts pixel by pixel and costs more than the JPEG encoding of the sheet.
QByteArray encodeBmp32(const QImage &image);
// Reads the files encodeBmp32 writes; any other BMP goes through Qt's reader.
QImage decodeBmp(const QByteArray &bytes);
