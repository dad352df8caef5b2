#include "iconcontainer.h"

#include <QtEndian>

#include <cstdlib>

namespace {

constexpr qsizetype HeaderSize = 6;
constexpr qsizetype DirectoryEntrySize = 16;
constexpr qsizetype DibHeaderSize = 40;
constexpr int MaxIconSide = 256;
const QByteArray PngSignature = QByteArrayLiteral("\x89PNG\r\n\x1a\n");

// Little-endian reads; the caller has checked that the bytes are there.
quint16 read16(const QByteArray &bytes, qsizetype at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

quint32 read32(const QByteArray &bytes, qsizetype at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

bool fits(qint64 offset, qint64 length, qint64 total)
{
    return offset >= 0 && length >= 0 && offset <= total && length <= total - offset;
}

// Bits per pixel of a PNG picture from its header chunk; 0 when the header is not readable.
int pngBitCount(QByteArrayView data)
{
    if (data.size() < 26 || data.sliced(12, 4) != QByteArrayView("IHDR"))
        return 0;
    const int depth = quint8(data[24]);
    switch (quint8(data[25])) {
    case 0:
        return depth; // grey
    case 2:
        return depth * 3; // RGB
    case 3:
        return depth; // palette
    case 4:
        return depth * 2; // grey and alpha
    case 6:
        return depth * 4; // RGBA
    default:
        return 0;
    }
}

// The picture's own depth: cursors keep their hot spot where icons keep planes and bit count,
// and many icon files leave the directory's bit count at 0.
int dataBitCount(const QByteArray &bytes, const IconContainer::Entry &entry)
{
    const QByteArrayView data(bytes.constData() + entry.offset, entry.size);
    if (entry.png)
        return pngBitCount(data);
    if (data.size() < DibHeaderSize)
        return 0;
    const quint32 headerSize = qFromLittleEndian<quint32>(data.data());
    const int bitCount = qFromLittleEndian<quint16>(data.data() + 14);
    const bool knownDepth = bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16
        || bitCount == 24 || bitCount == 32;
    return headerSize >= DibHeaderSize && headerSize <= quint32(data.size()) && knownDepth
        ? bitCount
        : 0;
}

} // namespace

bool IconContainer::looksLikeContainer(const QByteArray &bytes)
{
    return bytes.size() >= 4 && bytes[0] == 0 && bytes[1] == 0 && (bytes[2] == 1 || bytes[2] == 2)
        && bytes[3] == 0;
}

std::optional<IconContainer> IconContainer::parse(const QByteArray &bytes)
{
    if (!looksLikeContainer(bytes) || bytes.size() < HeaderSize)
        return std::nullopt;
    const int count = read16(bytes, 4);
    const qint64 directoryEnd = HeaderSize + qint64(count) * DirectoryEntrySize;
    if (count < 1 || directoryEnd > bytes.size())
        return std::nullopt;

    IconContainer container;
    container.m_bytes = bytes;
    container.m_type = bytes[2] == 1 ? Type::Icon : Type::Cursor;
    for (int i = 0; i < count; ++i) {
        const qsizetype at = HeaderSize + i * DirectoryEntrySize;
        const qint64 size = read32(bytes, at + 8);
        const qint64 offset = read32(bytes, at + 12);
        if (offset < directoryEnd || size < 1 || !fits(offset, size, bytes.size()))
            return std::nullopt;
        Entry entry;
        entry.width = quint8(bytes[at]) == 0 ? MaxIconSide : quint8(bytes[at]);
        entry.height = quint8(bytes[at + 1]) == 0 ? MaxIconSide : quint8(bytes[at + 1]);
        entry.offset = offset;
        entry.size = size;
        entry.png = QByteArrayView(bytes).sliced(offset).startsWith(PngSignature);
        const int ownBitCount = dataBitCount(bytes, entry);
        if (ownBitCount == 0)
            return std::nullopt;
        const int listedBitCount = read16(bytes, at + 6);
        entry.bitCount
            = container.m_type == Type::Icon && listedBitCount != 0 ? listedBitCount : ownBitCount;
        container.m_entries.append(entry);
    }
    return container;
}

std::optional<qsizetype> IconContainer::chooseEntry(int width, int height) const
{
    int highest = 0;
    for (const Entry &entry : m_entries)
        highest = std::max(highest, entry.bitCount);
    std::optional<qsizetype> chosen;
    int chosenSum = 0;
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        const Entry &entry = m_entries[i];
        const int sum = entry.width + entry.height;
        if (entry.bitCount == highest && sum <= width + height && (!chosen || sum > chosenSum)) {
            chosen = i;
            chosenSum = sum;
        }
    }
    return chosen;
}

std::optional<qsizetype> IconContainer::chooseNearestEntry(int width, int height) const
{
    std::optional<qsizetype> chosen;
    int chosenDistance = 0;
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        const Entry &entry = m_entries[i];
        const int distance = std::abs(entry.width - width) + std::abs(entry.height - height);
        if (!chosen || distance < chosenDistance
            || (distance == chosenDistance && entry.bitCount > m_entries[*chosen].bitCount)) {
            chosen = i;
            chosenDistance = distance;
        }
    }
    return chosen;
}

QImage IconContainer::decodeEntry(qsizetype index) const
{
    if (index < 0 || index >= m_entries.size())
        return {};
    const Entry &entry = m_entries[index];
    const QByteArray data = m_bytes.mid(entry.offset, entry.size);
    if (entry.png) {
        QImage picture;
        if (!picture.loadFromData(data, "PNG"))
            return {};
        return picture.convertToFormat(QImage::Format_ARGB32);
    }

    // A device-independent bitmap: the header, the palette, the colour rows and the
    // transparency mask rows, both bottom-up, the height counting both halves.
    const qint64 headerSize = read32(data, 0);
    const qint32 width = qint32(read32(data, 4));
    const qint32 doubleHeight = qint32(read32(data, 8));
    const int bitCount = read16(data, 14);
    const quint32 compression = read32(data, 16);
    const quint32 coloursUsed = read32(data, 32);
    if (headerSize < DibHeaderSize || width < 1 || width > MaxIconSide || doubleHeight < 2
        || doubleHeight > 2 * MaxIconSide || doubleHeight % 2 != 0 || compression != 0)
        return {};
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32)
        return {};
    const int height = doubleHeight / 2;
    const qint64 paletteSize
        = bitCount <= 8 ? (coloursUsed != 0 ? coloursUsed : 1u << bitCount) : 0;
    if (bitCount <= 8 && paletteSize > (1 << bitCount))
        return {};
    const qint64 colourStride = ((qint64(width) * bitCount + 31) / 32) * 4;
    const qint64 maskStride = ((qint64(width) + 31) / 32) * 4;
    const qint64 paletteStart = headerSize;
    const qint64 colourStart = paletteStart + paletteSize * 4;
    const qint64 maskStart = colourStart + colourStride * height;
    if (!fits(colourStart, colourStride * height, data.size()))
        return {};
    const bool hasMask = fits(maskStart, maskStride * height, data.size());

    const auto *bytes = reinterpret_cast<const uchar *>(data.constData());
    QImage picture(width, height, QImage::Format_ARGB32);
    bool anyAlpha = false;
    for (int y = 0; y < height; ++y) {
        const uchar *row = bytes + colourStart + (height - 1 - y) * colourStride;
        auto *out = reinterpret_cast<QRgb *>(picture.scanLine(y));
        for (int x = 0; x < width; ++x) {
            if (bitCount == 32) {
                const uchar *p = row + x * 4;
                out[x] = qRgba(p[2], p[1], p[0], p[3]);
                anyAlpha = anyAlpha || p[3] != 0;
                continue;
            }
            if (bitCount == 24) {
                const uchar *p = row + x * 3;
                out[x] = qRgb(p[2], p[1], p[0]);
                continue;
            }
            int colour = 0;
            if (bitCount == 8)
                colour = row[x];
            else if (bitCount == 4)
                colour = (row[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0x0F;
            else
                colour = (row[x / 8] >> (7 - x % 8)) & 0x01;
            if (colour >= paletteSize)
                return {};
            const uchar *p = bytes + paletteStart + colour * 4;
            out[x] = qRgb(p[2], p[1], p[0]);
        }
    }

    // Pictures that carry no alpha of their own take their transparency from the mask.
    if (anyAlpha)
        return picture;
    if (!hasMask)
        return {};
    for (int y = 0; y < height; ++y) {
        const uchar *row = bytes + maskStart + (height - 1 - y) * maskStride;
        auto *out = reinterpret_cast<QRgb *>(picture.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const bool transparent = (row[x / 8] >> (7 - x % 8)) & 0x01;
            out[x] = transparent ? qRgba(0, 0, 0, 0) : (out[x] | 0xFF000000u);
        }
    }
    return picture;
}
