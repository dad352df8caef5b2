#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QtEndian>

// Writes icon and cursor containers byte by byte, so the tests do not depend on any icon
// writer of the toolkit.
namespace IconBytes {

inline void put16(QByteArray &bytes, int value)
{
    char raw[2];
    qToLittleEndian<quint16>(quint16(value), raw);
    bytes.append(raw, 2);
}

inline void put32(QByteArray &bytes, qint64 value)
{
    char raw[4];
    qToLittleEndian<quint32>(quint32(value), raw);
    bytes.append(raw, 4);
}

// A picture whose top row is `top` and every other pixel `fill`; with a mask, the left
// column is transparent through it.
struct Picture
{
    int width = 16;
    int height = 16;
    int bitCount = 32;
    QRgb fill = qRgba(200, 40, 20, 255);
    QRgb top = qRgba(10, 90, 250, 255);
    bool png = false;
};

inline QRgb expectedPixel(const Picture &picture, int x, int y, bool maskUsed)
{
    if (maskUsed && x == 0)
        return 0;
    const QRgb colour = y == 0 ? picture.top : picture.fill;
    return maskUsed ? (colour | 0xFF000000u) : colour;
}

inline QImage image(const Picture &picture)
{
    QImage result(picture.width, picture.height, QImage::Format_ARGB32);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x)
            result.setPixel(x, y, expectedPixel(picture, x, y, false));
    }
    return result;
}

inline QByteArray png(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// Header, palette (index 0 = top colour, index 1 = fill), colour rows and mask rows, bottom-up.
inline QByteArray dib(const Picture &picture)
{
    const int w = picture.width;
    const int h = picture.height;
    const int bits = picture.bitCount;
    const int paletteSize = bits <= 8 ? 2 : 0;
    QByteArray bytes;
    put32(bytes, 40);
    put32(bytes, w);
    put32(bytes, 2 * h);
    put16(bytes, 1);
    put16(bytes, bits);
    put32(bytes, 0);
    put32(bytes, 0);
    put32(bytes, 0);
    put32(bytes, 0);
    put32(bytes, paletteSize);
    put32(bytes, 0);
    for (QRgb colour : { picture.top, picture.fill }) {
        if (paletteSize == 0)
            break;
        bytes.append(char(qBlue(colour)))
            .append(char(qGreen(colour)))
            .append(char(qRed(colour)))
            .append('\0');
    }
    const int colourStride = ((w * bits + 31) / 32) * 4;
    for (int y = h - 1; y >= 0; --y) {
        QByteArray row(colourStride, '\0');
        for (int x = 0; x < w; ++x) {
            const QRgb colour = y == 0 ? picture.top : picture.fill;
            const int index = y == 0 ? 0 : 1;
            switch (bits) {
            case 32:
                row[x * 4] = char(qBlue(colour));
                row[x * 4 + 1] = char(qGreen(colour));
                row[x * 4 + 2] = char(qRed(colour));
                row[x * 4 + 3] = char(qAlpha(colour));
                break;
            case 24:
                row[x * 3] = char(qBlue(colour));
                row[x * 3 + 1] = char(qGreen(colour));
                row[x * 3 + 2] = char(qRed(colour));
                break;
            case 8:
                row[x] = char(index);
                break;
            case 4:
                row[x / 2] = char(row[x / 2] | (index << (x % 2 == 0 ? 4 : 0)));
                break;
            case 1:
                row[x / 8] = char(row[x / 8] | (index << (7 - x % 8)));
                break;
            }
        }
        bytes.append(row);
    }
    const int maskStride = ((w + 31) / 32) * 4;
    for (int y = h - 1; y >= 0; --y) {
        QByteArray row(maskStride, '\0');
        row[0] = char(0x80); // the left column
        bytes.append(row);
    }
    return bytes;
}

struct Entry
{
    Picture picture;
    int listedBitCount = -1; // -1: the picture's own
    QByteArray data; // empty: written from the picture
    QPoint hotSpot { 7, 9 }; // cursors only
};

inline Entry entry(int width, int height, int bitCount, QRgb fill = qRgba(200, 40, 20, 255))
{
    Entry e;
    e.picture.width = width;
    e.picture.height = height;
    e.picture.bitCount = bitCount;
    e.picture.fill = fill;
    return e;
}

// type 1: icon; type 2: cursor, whose directory holds the hot spot where icons hold planes
// and bit count.
inline QByteArray container(const QList<Entry> &entries, int type = 1)
{
    QList<QByteArray> data;
    for (const Entry &e : entries) {
        if (!e.data.isEmpty())
            data.append(e.data);
        else if (e.picture.png)
            data.append(png(image(e.picture)));
        else
            data.append(dib(e.picture));
    }
    QByteArray bytes;
    put16(bytes, 0);
    put16(bytes, type);
    put16(bytes, int(entries.size()));
    qint64 offset = 6 + 16 * entries.size();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const Entry &e = entries[i];
        bytes.append(char(e.picture.width >= 256 ? 0 : e.picture.width));
        bytes.append(char(e.picture.height >= 256 ? 0 : e.picture.height));
        bytes.append('\0').append('\0');
        if (type == 2) {
            put16(bytes, e.hotSpot.x());
            put16(bytes, e.hotSpot.y());
        } else {
            put16(bytes, 1);
            put16(bytes, e.listedBitCount >= 0 ? e.listedBitCount : e.picture.bitCount);
        }
        put32(bytes, data[i].size());
        put32(bytes, offset);
        offset += data[i].size();
    }
    for (const QByteArray &d : data)
        bytes.append(d);
    return bytes;
}

} // namespace IconBytes
