#include "bmpfile.h"

#include <QIODevice>
#include <QtEndian>

#include <cstring>

namespace {
constexpr int FileHeaderSize = 14;
constexpr int InfoHeaderSize = 40;
constexpr int HeaderSize = FileHeaderSize + InfoHeaderSize;
} // namespace

bool writeBmp32(const QImage &source, QIODevice &device)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const qint64 rowBytes = qint64(image.width()) * 4;
    const qint64 size = HeaderSize + rowBytes * image.height();
    if (image.isNull() || size > std::numeric_limits<qint32>::max())
        return false;
    uchar header[HeaderSize] = {};
    header[0] = 'B';
    header[1] = 'M';
    qToLittleEndian<quint32>(quint32(size), header + 2);
    qToLittleEndian<quint32>(HeaderSize, header + 10);
    qToLittleEndian<quint32>(InfoHeaderSize, header + 14);
    qToLittleEndian<qint32>(image.width(), header + 18);
    qToLittleEndian<qint32>(-image.height(), header + 22); // negative: rows top-down
    qToLittleEndian<quint16>(1, header + 26); // planes
    qToLittleEndian<quint16>(32, header + 28); // bits per pixel, no compression
    qToLittleEndian<quint32>(quint32(size - HeaderSize), header + 34);
    qToLittleEndian<qint32>(image.dotsPerMeterX(), header + 38);
    qToLittleEndian<qint32>(image.dotsPerMeterY(), header + 42);
    if (device.write(reinterpret_cast<const char *>(header), HeaderSize) != HeaderSize)
        return false;
    if (image.bytesPerLine() == rowBytes) // one block: the rows follow each other
        return device.write(reinterpret_cast<const char *>(image.constBits()), size - HeaderSize)
            == size - HeaderSize;
    for (int y = 0; y < image.height(); ++y) {
        if (device.write(reinterpret_cast<const char *>(image.constScanLine(y)), rowBytes)
            != rowBytes)
            return false;
    }
    return true;
}

QImage viewBmp32(const uchar *data, qint64 size)
{
    if (size < HeaderSize || data[0] != 'B' || data[1] != 'M'
        || qFromLittleEndian<quint32>(data + 10) != HeaderSize
        || qFromLittleEndian<quint32>(data + 14) != InfoHeaderSize
        || qFromLittleEndian<quint16>(data + 28) != 32
        || qFromLittleEndian<quint32>(data + 30) != 0)
        return QImage();
    const qint32 width = qFromLittleEndian<qint32>(data + 18);
    const qint32 height = -qFromLittleEndian<qint32>(data + 22);
    if (width <= 0 || height <= 0 || size < HeaderSize + qint64(width) * 4 * height)
        return QImage();
    QImage image(data + HeaderSize, width, height, qsizetype(width) * 4, QImage::Format_RGB32);
    image.setDotsPerMeterX(qFromLittleEndian<qint32>(data + 38));
    image.setDotsPerMeterY(qFromLittleEndian<qint32>(data + 42));
    return image;
}
