#include "bmpfile.h"

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>

#include <cstring>

namespace {
constexpr int FileHeaderSize = 14;
constexpr int InfoHeaderSize = 40;
constexpr int HeaderSize = FileHeaderSize + InfoHeaderSize;
} // namespace

QByteArray encodeBmp32(const QImage &source)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const int width = image.width();
    const int height = image.height();
    const qint64 rowBytes = qint64(width) * 4;
    const qint64 size = HeaderSize + rowBytes * height;
    if (image.isNull() || size > std::numeric_limits<qint32>::max())
        return QByteArray();
    QByteArray bytes(size, Qt::Uninitialized);
    uchar *data = reinterpret_cast<uchar *>(bytes.data());
    std::memset(data, 0, HeaderSize);
    data[0] = 'B';
    data[1] = 'M';
    qToLittleEndian<quint32>(quint32(size), data + 2);
    qToLittleEndian<quint32>(HeaderSize, data + 10);
    qToLittleEndian<quint32>(InfoHeaderSize, data + 14);
    qToLittleEndian<qint32>(width, data + 18);
    qToLittleEndian<qint32>(height, data + 22); // positive: bottom-up rows
    qToLittleEndian<quint16>(1, data + 26); // planes
    qToLittleEndian<quint16>(32, data + 28); // bits per pixel, no compression
    qToLittleEndian<quint32>(quint32(rowBytes * height), data + 34);
    qToLittleEndian<qint32>(image.dotsPerMeterX(), data + 38);
    qToLittleEndian<qint32>(image.dotsPerMeterY(), data + 42);
    for (int y = 0; y < height; ++y)
        std::memcpy(data + HeaderSize + rowBytes * (height - 1 - y), image.constScanLine(y), rowBytes);
    return bytes;
}

QImage decodeBmp(const QByteArray &bytes)
{
    const auto *data = reinterpret_cast<const uchar *>(bytes.constData());
    const bool ours = bytes.size() >= HeaderSize && data[0] == 'B' && data[1] == 'M'
                      && qFromLittleEndian<quint32>(data + 10) == HeaderSize
                      && qFromLittleEndian<quint32>(data + 14) == InfoHeaderSize
                      && qFromLittleEndian<quint16>(data + 28) == 32
                      && qFromLittleEndian<quint32>(data + 30) == 0;
    const qint32 width = ours ? qFromLittleEndian<qint32>(data + 18) : 0;
    const qint32 height = ours ? qFromLittleEndian<qint32>(data + 22) : 0;
    if (!ours || width <= 0 || height <= 0
        || bytes.size() < HeaderSize + qint64(width) * 4 * height) {
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        return QImageReader(&buffer, "bmp").read();
    }
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    const qint64 rowBytes = qint64(width) * 4;
    for (int y = 0; y < height; ++y)
        std::memcpy(image.scanLine(y), data + HeaderSize + rowBytes * (height - 1 - y), rowBytes);
    image.setDotsPerMeterX(qFromLittleEndian<qint32>(data + 38));
    image.setDotsPerMeterY(qFromLittleEndian<qint32>(data + 42));
    return image;
}
