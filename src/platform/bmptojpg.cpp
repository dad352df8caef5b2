#include "bmptojpg.h"

#include "bmpfile.h"

#include <QFile>
#include <QImageReader>
#include <QSaveFile>

#include <algorithm>

#include <turbojpeg.h>

namespace {

// TurboJPEG writes a JFIF header without units; the sheet's density is what makes a photo
// lab print it at its real size.
void setJfifDensity(QByteArray &jpeg, const QImage &image)
{
    const int dpiX = qRound(image.dotsPerMeterX() * 0.0254);
    const int dpiY = qRound(image.dotsPerMeterY() * 0.0254);
    if (jpeg.size() < 18 || !jpeg.startsWith("\xFF\xD8\xFF\xE0")
        || jpeg.mid(6, 5) != QByteArray("JFIF\0", 5) || dpiX <= 0 || dpiY <= 0 || dpiX > 0xFFFF
        || dpiY > 0xFFFF)
        return;
    jpeg[13] = 1; // dots per inch
    jpeg[14] = char(dpiX >> 8);
    jpeg[15] = char(dpiX & 0xFF);
    jpeg[16] = char(dpiY >> 8);
    jpeg[17] = char(dpiY & 0xFF);
}

QByteArray encodeJpeg(const QImage &source, int quality)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    tjhandle handle = tjInitCompress();
    if (!handle)
        return QByteArray();
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    // Format_RGB32 is B, G, R, X in memory on the little-endian machines we build for.
    const int failed = tjCompress2(handle, image.constBits(), image.width(),
        int(image.bytesPerLine()), image.height(), TJPF_BGRX, &buffer, &size, TJSAMP_420,
        std::clamp(quality, 1, 100), TJFLAG_ACCURATEDCT);
    QByteArray jpeg;
    if (!failed)
        jpeg = QByteArray(reinterpret_cast<const char *>(buffer), qsizetype(size));
    tjFree(buffer);
    tjDestroy(handle);
    setJfifDensity(jpeg, image);
    return jpeg;
}

} // namespace

int16_t BMPToJPG(
    const QString &bmpPath, const QString &jpgPath, int quality, BmpToJpgFailure *failure)
{
    auto fail = [failure](BmpToJpgFailure why) {
        if (failure)
            *failure = why;
        return int16_t(0);
    };
    QFile bmp(bmpPath);
    if (!bmp.open(QIODevice::ReadOnly))
        return fail(BmpToJpgFailure::SourceUnreadable);
    // Our own bitmaps are encoded straight from the mapped file; others go through Qt.
    const qint64 size = bmp.size();
    uchar *mapped = size > 0 ? bmp.map(0, size) : nullptr;
    QImage image = mapped ? viewBmp32(mapped, size) : QImage();
    if (image.isNull())
        image = QImageReader(&bmp, "bmp").read();
    if (image.isNull())
        return fail(BmpToJpgFailure::SourceUnreadable);
    // Encoded in memory first: the file is then written in one checked piece.
    const QByteArray jpeg = encodeJpeg(image, quality);
    image = QImage();
    if (mapped)
        bmp.unmap(mapped);
    if (jpeg.isEmpty())
        return fail(BmpToJpgFailure::SourceUnreadable);

    QSaveFile file(jpgPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(BmpToJpgFailure::TargetUnwritable);
    if (file.write(jpeg) != jpeg.size()) {
        file.cancelWriting();
        return fail(BmpToJpgFailure::TargetUnwritable);
    }
    if (!file.commit())
        return fail(BmpToJpgFailure::TargetUnwritable);
    if (failure)
        *failure = BmpToJpgFailure::None;
    return 1;
}
