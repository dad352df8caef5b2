#pragma once

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QSemaphore>
#include <QThreadPool>

#include <cstring>
#include <memory>

#include <libheif/heif.h>

#include "photo/photo.h"

// Real JPEG files for tests and the benchmark, written by us.
namespace TestPhotos {

// Four quadrants of distinct colours, so any crop, rotation or mirror shows.
inline QImage quadrants(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.fillRect(0, 0, width / 2, height / 2, QColor(255, 0, 0));
    painter.fillRect(width / 2, 0, width - width / 2, height / 2, QColor(0, 255, 0));
    painter.fillRect(0, height / 2, width / 2, height - height / 2, QColor(0, 0, 255));
    painter.fillRect(
        width / 2, height / 2, width - width / 2, height - height / 2, QColor(255, 255, 0));
    return image;
}

inline QByteArray encode(const QImage &image, const char *format, int quality = 90)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    writer.write(image);
    return bytes;
}

inline QByteArray encodeJpeg(const QImage &image, int quality = 90)
{
    return encode(image, "jpeg", quality);
}

// An EXIF block holding only the orientation tag, placed right after the start marker.
inline QByteArray withOrientation(const QByteArray &jpeg, int orientation)
{
    // Big-endian TIFF header, its IFD at 8 with one entry: orientation, SHORT, count 1.
    const QByteArray exif
        = QByteArray("Exif\0\0MM\0\x2A\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01\0", 25)
        + char(orientation) + QByteArray(6, 0); // no next IFD
    const int length = int(exif.size()) + 2;
    const QByteArray segment
        = QByteArray("\xFF\xE1", 2) + char(length >> 8) + char(length & 0xFF) + exif;
    return jpeg.left(2) + segment + jpeg.mid(2);
}

// An ICC profile in APP2 markers right after the start marker, in parts of at most `part`
// bytes, of which the first `kept` are written (all when negative): a profile cut short.
inline QByteArray withIccProfile(
    const QByteArray &jpeg, const QByteArray &icc, int part = 65519, int kept = -1)
{
    const auto parts = int((icc.size() + part - 1) / part);
    QByteArray markers;
    for (int i = 0; i < parts && (kept < 0 || i < kept); ++i) {
        const QByteArray data = QByteArray("ICC_PROFILE", 12) + char(i + 1) + char(parts)
            + icc.mid(qsizetype(i) * part, part);
        const auto length = int(data.size()) + 2;
        markers += QByteArray("\xFF\xE2", 2) + char(length >> 8) + char(length & 0xFF) + data;
    }
    return jpeg.left(2) + markers + jpeg.mid(2);
}

// Rewrites the size in the frame header, so the header claims what the data does not hold.
inline QByteArray withClaimedSize(QByteArray jpeg, int width, int height)
{
    for (qsizetype i = 2; i + 8 < jpeg.size(); ++i) {
        const auto marker = static_cast<unsigned char>(jpeg[i + 1]);
        if (static_cast<unsigned char>(jpeg[i]) == 0xFF && (marker == 0xC0 || marker == 0xC2)) {
            jpeg[i + 5] = char(height >> 8);
            jpeg[i + 6] = char(height & 0xFF);
            jpeg[i + 7] = char(width >> 8);
            jpeg[i + 8] = char(width & 0xFF);
            break;
        }
    }
    return jpeg;
}

// A PNG chunk of this type and data, its checksum right.
inline QByteArray pngChunk(const QByteArray &type, const QByteArray &data)
{
    const QByteArray body = type + data;
    quint32 crc = 0xFFFFFFFF;
    for (const char byte : body) {
        crc ^= uchar(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = crc & 1 ? (crc >> 1) ^ 0xEDB88320 : crc >> 1;
    }
    QByteArray chunk;
    for (int i = 0; i < 4; ++i)
        chunk += char(data.size() >> (24 - 8 * i));
    chunk += body;
    for (int i = 0; i < 4; ++i)
        chunk += char(~crc >> (24 - 8 * i));
    return chunk;
}

// A PNG whose header claims another size, only the size wrong.
inline QByteArray withClaimedPngSize(const QByteArray &png, quint32 width, quint32 height)
{
    QByteArray header = png.mid(16, 13);
    for (int i = 0; i < 4; ++i) {
        header[i] = char(width >> (24 - 8 * i));
        header[4 + i] = char(height >> (24 - 8 * i));
    }
    return png.left(8) + pngChunk("IHDR", header) + png.mid(33);
}

// A HEIC file from libheif's HEVC encoder, the picture turned on display by `orientation`
// (EXIF numbering); empty where libheif was built without one.
inline QByteArray encodeHeic(const QImage &source, int orientation = 1)
{
    if (!heif_have_encoder_for_format(heif_compression_HEVC))
        return {};
    const QImage rgb = source.convertToFormat(QImage::Format_RGB888);
    heif_context *context = heif_context_alloc();
    heif_encoder *encoder = nullptr;
    heif_context_get_encoder_for_format(context, heif_compression_HEVC, &encoder);
    heif_image *image = nullptr;
    heif_image_create(
        rgb.width(), rgb.height(), heif_colorspace_RGB, heif_chroma_interleaved_RGB, &image);
    heif_image_add_plane(image, heif_channel_interleaved, rgb.width(), rgb.height(), 8);
    int stride = 0;
    uint8_t *plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
    for (int y = 0; y < rgb.height(); ++y)
        std::memcpy(plane + y * stride, rgb.constScanLine(y), size_t(rgb.width()) * 3);
    heif_encoding_options *options = heif_encoding_options_alloc();
    options->image_orientation = heif_orientation(orientation);
    heif_context_encode_image(context, image, encoder, options, nullptr);
    heif_encoding_options_free(options);
    heif_image_release(image);
    heif_encoder_release(encoder);
    QByteArray bytes;
    heif_writer writer {};
    writer.writer_api_version = 1;
    writer.write = [](heif_context *, const void *data, size_t size, void *out) {
        static_cast<QByteArray *>(out)->append(static_cast<const char *>(data), qsizetype(size));
        return heif_error { heif_error_Ok, heif_suberror_Unspecified, "" };
    };
    heif_context_write(context, &writer, &bytes);
    heif_context_free(context);
    return bytes;
}

// A smooth picture in which any shift of a crop shows as a change of colour.
inline QImage gradients(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x]
                = qRgb(255 * x / width, 255 * y / height, 255 - 128 * (x + y) / (width + height));
    }
    return image;
}

// Holds every thread where photos decode their own pixels (or, given that pool, where they
// are read), so a test sees a photo whose decode has not ended, for as long as it likes.
class DecodeHold
{
public:
    explicit DecodeHold(QThreadPool &threads = photoDecodeThreads())
        : m_threads(threads.maxThreadCount())
    {
        // Shared: a woken thread still touches the semaphore after the hold has gone.
        for (int i = 0; i < m_threads; ++i)
            threads.start([held = m_release] { held->acquire(); });
    }
    ~DecodeHold() { release(); }
    void release()
    {
        m_release->release(m_threads);
        m_threads = 0;
    }

private:
    int m_threads;
    std::shared_ptr<QSemaphore> m_release = std::make_shared<QSemaphore>();
};

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && file.write(bytes) == bytes.size();
}

} // namespace TestPhotos
