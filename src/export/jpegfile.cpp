#include "jpegfile.h"

#include <QImage>

#include <turbojpeg.h>

#include <cstring>

namespace {

// libjpeg-turbo writes a JFIF header without units; the density goes there, which a photo lab
// prints at and which tells a reader the size in print.
bool writeDensity(unsigned char *jpeg, unsigned long size, int dotsPerInch)
{
    static const unsigned char jfif[] = { 0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0 };
    if (size < 18 || std::memcmp(jpeg, jfif, sizeof jfif) != 0 || dotsPerInch < 1
        || dotsPerInch > 0xFFFF)
        return false;
    jpeg[13] = 1; // dots per inch
    jpeg[14] = jpeg[16] = static_cast<unsigned char>(dotsPerInch >> 8);
    jpeg[15] = jpeg[17] = static_cast<unsigned char>(dotsPerInch & 0xFF);
    return true;
}

} // namespace

// TurboJPEG takes 32-bit pixels with no conversion, which keeps an export within twice the
// least an encode costs.
QByteArray encodeJpeg(const QImage &pixels, int quality, int dotsPerInch)
{
    const QImage image = pixels.format() == QImage::Format_RGB32
        ? pixels
        : pixels.convertToFormat(QImage::Format_RGB32);
    if (image.isNull())
        return QByteArray();
    tjhandle handle = tjInitCompress();
    if (!handle)
        return QByteArray();
    unsigned char *jpeg = nullptr;
    unsigned long size = 0;
    const bool encoded
        = tjCompress2(handle, image.constBits(), image.width(), int(image.bytesPerLine()),
              image.height(), TJPF_BGRX, &jpeg, &size, TJSAMP_420, quality, 0)
            == 0
        && writeDensity(jpeg, size, dotsPerInch);
    tjDestroy(handle);
    QByteArray bytes;
    if (encoded)
        bytes = QByteArray(reinterpret_cast<const char *>(jpeg), qsizetype(size));
    tjFree(jpeg);
    return bytes;
}
