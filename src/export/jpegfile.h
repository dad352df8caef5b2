#pragma once

#include <QByteArray>

class QImage;

// A JPEG as TurboJPEG writes it: baseline, 4:2:0 chroma, and a JFIF header that carries the
// density in dots per inch and nothing else, so no metadata travels and the pixels count as
// sRGB. Empty when the encode failed.
QByteArray encodeJpeg(const QImage &pixels, int quality, int dotsPerInch);
