#pragma once

#include <QByteArray>

class QImage;
class QString;

// A JPEG as TurboJPEG writes it: baseline, 4:2:0 chroma, and a JFIF header that carries the
// density in dots per inch and nothing else, so no metadata travels and the pixels count as
// sRGB. Empty when the encode failed.
QByteArray encodeJpeg(const QImage &pixels, int quality, int dotsPerInch);

// Writes the bytes through a file of its own beside the target, which replaces the target only
// once all of it is on disk; false leaves the target as it was.
bool writeWholeFile(const QString &path, const QByteArray &bytes);
