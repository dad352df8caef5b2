#pragma once

#include <QImage>

class QIODevice;

// Uncompressed 32-bit top-down BMP files, written and read as one block of memory: Qt's own
// BMP handler converts pixel by pixel and costs more than the JPEG encoding of the sheet.
bool writeBmp32(const QImage &image, QIODevice &device);
// A view on the pixels of a file writeBmp32 wrote, without copying them; the data must outlive
// the image. A null image for any other kind of BMP.
QImage viewBmp32(const uchar *data, qint64 size);
