#include "jpegscans.h"

#include <algorithm>

namespace {

constexpr unsigned char MarkerPrefix = 0xFF;
constexpr unsigned char StartOfImage = 0xD8;
constexpr unsigned char EndOfImage = 0xD9;
constexpr unsigned char StartOfScan = 0xDA;
constexpr unsigned char Temporary = 0x01;

bool isRestart(unsigned char marker)
{
    return marker >= 0xD0 && marker <= 0xD7;
}

// Markers that stand alone, without a length.
bool hasNoLength(unsigned char marker)
{
    return isRestart(marker) || marker == Temporary || marker == StartOfImage
        || marker == EndOfImage;
}

} // namespace

JpegSegments readJpegSegments(QByteArrayView bytes, int stopAfterScans)
{
    const auto *data = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype size = bytes.size();
    if (size < 2 || data[0] != MarkerPrefix || data[1] != StartOfImage)
        return {};

    JpegSegments found;
    qsizetype entropyCoded = 0;
    qsizetype at = 2;
    while (at < size) {
        // Between segments libjpeg skips stray bytes up to the next marker, FF 00 included
        // (a stuffed zero is no marker), and so do we: no arrangement may hide a scan.
        while (at < size && data[at] != MarkerPrefix)
            ++at;
        while (at < size && data[at] == MarkerPrefix) // fill bytes
            ++at;
        if (at >= size)
            break;
        const unsigned char marker = data[at++];
        if (marker == 0x00)
            continue;
        if (marker == EndOfImage)
            break;
        if (hasNoLength(marker))
            continue;
        if (at + 2 > size)
            break;
        const qsizetype length = (qsizetype(data[at]) << 8) | data[at + 1];
        // A length under 2 skips nothing beyond itself, as libjpeg's skip does.
        at += std::max<qsizetype>(length, 2);
        if (marker != StartOfScan)
            continue;
        if (++found.scans > stopAfterScans)
            break;
        // Entropy-coded data runs to the next marker other than a stuffed zero or a restart.
        const qsizetype scanStart = std::min(at, size);
        while (at + 1 < size) {
            if (data[at] == MarkerPrefix) {
                const unsigned char next = data[at + 1];
                if (next != 0x00 && next != MarkerPrefix && !isRestart(next))
                    break;
                if (next == MarkerPrefix) {
                    ++at; // a fill byte before the marker
                    continue;
                }
                at += 2;
                continue;
            }
            ++at;
        }
        entropyCoded += std::min(at, size) - scanStart;
    }
    // Only bytes really there count: a length that runs past the end claims nothing.
    found.metadataBytes = std::min(at, size) - entropyCoded;
    return found;
}
