#include "photoloader.h"

#include "cropcommands.h"
#include "heifreader.h"
#include "jpegscans.h"
#include "platform/paths.h"

#include <QBuffer>
#include <QColorSpace>
#include <QFile>
#include <QImageReader>

#include <cstdio> // before jpeglib.h, which uses FILE
#include <jpeglib.h>

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>

namespace {

// Qt refuses images above 128 MB by default; the pixel limit above is our own guard.
void allowLargePhotos()
{
    constexpr int megabytes = int(MaximumPhotoPixels * 4 / (1024 * 1024)) + 1;
    if (QImageReader::allocationLimit() < megabytes)
        QImageReader::setAllocationLimit(megabytes);
}

// A JPEG of more scans than MaximumJpegScans, or than MaximumScanMegapixels allow for its size.
bool tooManyScans(int scans, const QSize &size)
{
    const double megapixels = double(size.width()) * size.height() / 1e6;
    const int allowed = int(std::min<double>(MaximumJpegScans,
        std::max(1.0, std::floor(MaximumScanMegapixels / std::max(megapixels, 1e-6)))));
    return scans > allowed;
}

// The file's bytes for the decoder. Once the photo is no longer wanted, reading fails, and
// the decoder hurries through the rest without data.
class UntilUnwanted : public QIODevice
{
public:
    UntilUnwanted(const QByteArray &bytes, const std::atomic<bool> *unwanted)
        : m_bytes(bytes)
        , m_unwanted(unwanted)
    {
        open(QIODevice::ReadOnly);
    }
    qint64 size() const override { return m_bytes.size(); }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        if (m_unwanted && *m_unwanted)
            return -1;
        const qint64 count = std::min(maxSize, m_bytes.size() - pos());
        std::copy_n(m_bytes.constData() + pos(), std::max<qint64>(count, 0), data);
        return std::max<qint64>(count, 0);
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    const QByteArray &m_bytes;
    const std::atomic<bool> *m_unwanted;
};

// The strongest reduction the decoder offers that still leaves the first crop at least
// the frame's pixels on the screen; 1: none.
int previewFactor(const QSize &upright, const QSizeF &framePixels)
{
    if (framePixels.isEmpty())
        return 1;
    const std::optional<CropRect> crop
        = centreCrop(upright.width(), upright.height(), framePixels.width(), framePixels.height());
    if (!crop)
        return 1;
    for (int factor : { 8, 4, 2 }) {
        if (crop->width / factor >= framePixels.width()
            && crop->height / factor >= framePixels.height())
            return factor;
    }
    return 1;
}

struct DecodeErrors
{
    jpeg_error_mgr manager; // first: libjpeg hands it back as the whole
    jpeg_progress_mgr progress;
    std::jmp_buf fatal;
    const std::atomic<bool> *stop;
};

// Errors and warnings end in `errors`, as the decodes below take them.
void prepare(jpeg_decompress_struct &info, DecodeErrors &errors, const std::atomic<bool> *stop)
{
    errors.stop = stop;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = [](j_common_ptr common) {
        std::longjmp(reinterpret_cast<DecodeErrors *>(common->err)->fatal, 1);
    };
    errors.manager.output_message = [](j_common_ptr) {};
    errors.progress.progress_monitor = [](j_common_ptr common) {
        auto *errors = reinterpret_cast<DecodeErrors *>(common->err);
        if (errors->stop && *errors->stop)
            std::longjmp(errors->fatal, 1);
    };
}

struct EmbeddedProfile
{
    bool marked = false; // an APP2 marker says it holds part of a profile
    JOCTET *icc = nullptr; // the parts put together; libjpeg's, to be freed
    unsigned int size = 0;
    ColourProfile::Channels channels = ColourProfile::Channels::Rgb;
};

// libjpeg's part of jpegColourProfile, apart for the reason decodeWithLibjpeg is.
bool readProfileWithLibjpeg(jpeg_decompress_struct &info, DecodeErrors &errors,
    const QByteArray &bytes, EmbeddedProfile *found)
{
    if (setjmp(errors.fatal) != 0)
        return false;
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(bytes.constData()),
        static_cast<unsigned long>(bytes.size()));
    jpeg_save_markers(&info, JPEG_APP0 + 2, 0xFFFF);
    jpeg_read_header(&info, TRUE);
    static const char iccMarker[] = "ICC_PROFILE"; // and its terminating zero
    for (jpeg_saved_marker_ptr marker = info.marker_list; marker; marker = marker->next)
        found->marked = found->marked
            || (marker->marker == JPEG_APP0 + 2 && marker->data_length >= sizeof iccMarker
                && std::memcmp(marker->data, iccMarker, sizeof iccMarker) == 0);
    found->channels = info.jpeg_color_space == JCS_GRAYSCALE ? ColourProfile::Channels::Grey
        : info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK
        ? ColourProfile::Channels::Cmyk
        : ColourProfile::Channels::Rgb;
    // Parts missing, repeated or out of order: false, and nothing.
    if (found->marked)
        jpeg_read_icc_profile(&info, &found->icc, &found->size);
    return true;
}

// The colour profile a JPEG's APP2 markers carry, read once for every picture decoded from it.
ColourProfile jpegColourProfile(const QByteArray &bytes)
{
    jpeg_decompress_struct info {};
    DecodeErrors errors {};
    prepare(info, errors, nullptr);
    EmbeddedProfile found;
    const bool read = readProfileWithLibjpeg(info, errors, bytes, &found);
    jpeg_destroy_decompress(&info);
    const QByteArray icc(reinterpret_cast<const char *>(found.icc), qsizetype(found.size));
    std::free(found.icc);
    if (!read || !found.marked)
        return {};
    return icc.isEmpty() ? ColourProfile::unreadable()
                         : ColourProfile::fromIcc(icc, found.channels);
}

// Makes the decoded rows sRGB on a thread of its own while the decoder goes on, so that with a
// second core free the conversion adds next to nothing to the decode; the rows still left when
// the decode ends are shared with the decoding thread.
class RowConversion
{
public:
    explicit RowConversion(const ColourProfile &colours)
        : m_colours(colours)
    {
        if (colours.converts())
            m_helper = std::thread([this] { convertBands(true); });
    }
    ~RowConversion() { finish(false); }
    RowConversion(const RowConversion &) = delete;
    RowConversion &operator=(const RowConversion &) = delete;

    // The rows the decoder writes, from the top, `stride` bytes apart.
    void start(uchar *rows, qsizetype stride, int width)
    {
        const std::lock_guard lock(m_mutex);
        m_rows = rows;
        m_stride = stride;
        m_width = width;
    }
    // Its first `rows` are decoded.
    void decoded(int rows)
    {
        const std::lock_guard lock(m_mutex);
        m_decoded = rows;
        if (m_decoded - m_claimed >= Band)
            m_more.notify_one();
    }
    // Once the decode has ended: with `whole`, every decoded row is converted on return;
    // without, the helper stops at once.
    void finish(bool whole)
    {
        {
            const std::lock_guard lock(m_mutex);
            m_ended = true;
            m_abandoned = !whole;
        }
        m_more.notify_all();
        if (whole && m_helper.joinable())
            convertBands(false);
        if (m_helper.joinable())
            m_helper.join();
    }

private:
    static constexpr int Band = 64; // rows claimed at once

    void convertBands(bool waiting)
    {
        for (;;) {
            int first = 0, end = 0;
            {
                std::unique_lock lock(m_mutex);
                if (waiting)
                    m_more.wait(lock, [this] { return m_ended || m_decoded - m_claimed >= Band; });
                if (m_abandoned || m_decoded <= m_claimed)
                    return;
                first = m_claimed;
                end = m_claimed = std::min(m_decoded, first + Band);
            }
            for (int y = first; y < end; ++y)
                m_colours.convert(reinterpret_cast<QRgb *>(m_rows + y * m_stride), m_width);
        }
    }

    const ColourProfile &m_colours;
    uchar *m_rows = nullptr;
    qsizetype m_stride = 0;
    int m_width = 0;
    std::mutex m_mutex;
    std::condition_variable m_more;
    int m_decoded = 0;
    int m_claimed = 0; // rows below are converted or being converted
    bool m_ended = false;
    bool m_abandoned = false;
    std::thread m_helper;
};

enum class JpegDecode { Done, Failed, NotOurs };

// libjpeg's part of decodeJpeg, apart so that no C++ object of this frame lives across the
// jump a fatal error makes; the picture is reached through a pointer.
JpegDecode decodeWithLibjpeg(jpeg_decompress_struct &info, DecodeErrors &errors,
    const QByteArray &bytes, int factor, RowConversion *conversion, QImage *image)
{
    if (setjmp(errors.fatal) != 0)
        return JpegDecode::Failed;
    jpeg_create_decompress(&info);
    // Set after the creation, which clears everything but the error manager.
    info.progress = &errors.progress;
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(bytes.constData()),
        static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    if (info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK)
        return JpegDecode::NotOurs;
    info.scale_num = 1;
    info.scale_denom = static_cast<unsigned int>(factor);
    info.out_color_space = JCS_EXT_BGRA;
    // Plain colour upsampling for the reduced picture: a sixth faster, and the difference is
    // lost at that size.
    info.do_fancy_upsampling = factor == 1 ? TRUE : FALSE;
    jpeg_start_decompress(&info);
    *image = QImage(int(info.output_width), int(info.output_height), QImage::Format_RGB32);
    if (image->isNull())
        return JpegDecode::Failed;
    // By address: QImage counts each access to its rows, which two threads must not do at once.
    uchar *const rows = image->bits();
    conversion->start(rows, image->bytesPerLine(), image->width());
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = rows + info.output_scanline * image->bytesPerLine();
        jpeg_read_scanlines(&info, &row, 1);
        conversion->decoded(int(info.output_scanline));
    }
    jpeg_finish_decompress(&info);
    return JpegDecode::Done;
}

// libjpeg's own decode, reduced by a factor of 1 to 8, which skips most of the decoder's
// work when reducing, its colours made sRGB. A warning (a file cut short) still leaves a
// picture, its missing rows grey; a fatal error, even one that follows a warning, leaves none.
// The decoder asks after `stop` as it goes, so an unwanted decode ends at once, however large
// the photo.
JpegDecode decodeJpeg(const QByteArray &bytes, int factor, const std::atomic<bool> *stop,
    const ColourProfile &colours, QImage &image)
{
    jpeg_decompress_struct info {};
    DecodeErrors errors {};
    prepare(info, errors, stop);
    RowConversion conversion(colours);
    const JpegDecode result = decodeWithLibjpeg(info, errors, bytes, factor, &conversion, &image);
    conversion.finish(result == JpegDecode::Done);
    jpeg_destroy_decompress(&info);
    if (result != JpegDecode::Done)
        image = QImage();
    return result;
}

quint32 readNumber(const QByteArray &bytes, qsizetype at, int size, bool bigEndian)
{
    quint32 value = 0;
    for (int i = 0; i < size; ++i)
        value |= quint32(uchar(bytes[at + i])) << 8 * (bigEndian ? size - 1 - i : i);
    return value;
}

// The orientation tag of an EXIF block (from its TIFF header on), as Qt's JPEG reader maps it.
QImageIOHandler::Transformations exifOrientation(QByteArray tiff)
{
    if (tiff.startsWith(QByteArrayLiteral("Exif\0\0")))
        tiff.remove(0, 6);
    const bool big = tiff.startsWith("MM");
    if (tiff.size() < 8 || (!big && !tiff.startsWith("II")))
        return QImageIOHandler::TransformationNone;
    const qint64 directory = readNumber(tiff, 4, 4, big);
    if (directory + 2 > tiff.size())
        return QImageIOHandler::TransformationNone;
    const qint64 entries = readNumber(tiff, directory, 2, big);
    for (qint64 at = directory + 2; at < directory + 2 + 12 * entries && at + 12 <= tiff.size();
         at += 12) {
        if (readNumber(tiff, at, 2, big) != 0x0112 || readNumber(tiff, at + 2, 2, big) != 3)
            continue;
        using T = QImageIOHandler;
        static const T::Transformations byTag[] = { T::TransformationNone, T::TransformationMirror,
            T::TransformationRotate180, T::TransformationFlip, T::TransformationFlipAndRotate90,
            T::TransformationRotate90, T::TransformationMirrorAndRotate90,
            T::TransformationRotate270 };
        const quint32 tag = readNumber(tiff, at + 8, 2, big);
        return tag >= 1 && tag <= 8 ? byTag[tag - 1] : T::TransformationNone;
    }
    return QImageIOHandler::TransformationNone;
}

// The EXIF orientation of a PNG (its eXIf chunk, before the pixels) or a WebP (its EXIF
// chunk), which Qt's readers leave unread.
QImageIOHandler::Transformations containerOrientation(const QByteArray &bytes)
{
    const bool png = bytes.startsWith("\x89PNG\r\n\x1a\n");
    const bool webp = bytes.startsWith("RIFF") && bytes.mid(8, 4) == "WEBP";
    for (qint64 at = png ? 8 : 12; (png || webp) && at + 8 <= bytes.size();) {
        const qint64 length = readNumber(bytes, png ? at : at + 4, 4, png);
        const QByteArrayView type(bytes.constData() + (png ? at + 4 : at), 4);
        if (type == (png ? "eXIf" : "EXIF"))
            return exifOrientation(bytes.mid(at + 8, length));
        // A WebP's few chunks are walked whole; a PNG's many parts of pixels are not.
        if (png && type == "IDAT")
            break;
        at += 8 + length + (png ? 4 : length % 2);
    }
    return QImageIOHandler::TransformationNone;
}

// The whole file, read in parts so that a read no longer wanted ends soon.
std::optional<QByteArray> readWhole(QFile &file, const std::atomic<bool> *stop)
{
    constexpr qint64 Part = 16 << 20;
    // Straight into one buffer of the file's size: a part of its own each time would cost a
    // fresh allocation of the part's size, also for a file of a few bytes.
    QByteArray bytes(file.size(), Qt::Uninitialized);
    qint64 done = 0;
    while (done < bytes.size()) {
        if (stop && *stop)
            return std::nullopt;
        const qint64 read = file.read(bytes.data() + done, std::min(Part, bytes.size() - done));
        if (read <= 0)
            break;
        done += read;
    }
    bytes.truncate(done);
    return bytes;
}

} // namespace

QImage decodeWholePhoto(
    const QByteArray &bytes, bool jpeg, const std::atomic<bool> *stop, const ColourProfile &colours)
{
    QImage image;
    if (jpeg && decodeJpeg(bytes, 1, stop, colours, image) != JpegDecode::NotOurs)
        return image;
    // Adobe's CMYK and what is no JPEG at all: Qt's readers know them.
    UntilUnwanted device(bytes, stop);
    QImageReader reader(&device);
    // The orientation is applied by the photo itself, without a second copy of the pixels.
    reader.setAutoTransform(false);
    if (!reader.read(&image) || image.isNull() || (stop && *stop))
        return QImage();
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32)
        image.convertTo(QImage::Format_RGB32); // greyscale and odd formats only
    // Qt's JPEG reader knows no CMYK profile; other files carry theirs in the picture.
    (jpeg ? colours : ColourProfile::fromColorSpace(image.colorSpace())).convert(image);
    return image;
}

PhotoLoadResult loadPhoto(
    const QString &path, const QSizeF &framePixels, const std::atomic<bool> *stop)
{
    allowLargePhotos();
    QFile file;
    if (!openRegularFile(file, path))
        return { nullptr, PhotoLoadError::NotAPicture };
    if (file.size() > MaximumFileBytes)
        return { nullptr, PhotoLoadError::TooLarge };
    // Read once: the shown picture and the photo's own pixels come from the same bytes,
    // whatever happens to the file meanwhile.
    const std::optional<QByteArray> read = readWhole(file, stop);
    if (!read)
        return { nullptr, PhotoLoadError::NotAPicture };
    const QByteArray &bytes = *read;
    // Decoded whole here, on the reading thread: HEIF has no reduced decode, so the photo
    // makes its smaller copies from the whole picture, as for PNG and WebP.
    const HeifPhoto heif(bytes);
    switch (heif.header()) {
    case HeifPhoto::Header::NotHeif:
        break;
    case HeifPhoto::Header::Unreadable:
        return { nullptr, PhotoLoadError::NotAPicture };
    case HeifPhoto::Header::TooLarge:
        return { nullptr, PhotoLoadError::TooLarge };
    case HeifPhoto::Header::Readable: {
        const ColourProfile colours = heif.colourProfile();
        QImage image = heif.decode(stop, colours);
        if (image.isNull())
            return { nullptr, PhotoLoadError::NotAPicture };
        return { std::make_shared<const Photo>(
                     std::move(image), QImageIOHandler::TransformationNone, colours.isUnusable()),
            PhotoLoadError::None };
    }
    }
    // Before Qt reads the header, which costs a millisecond or more a segment.
    const JpegSegments segments = readJpegSegments(bytes, MaximumJpegScans);
    if (segments.metadataBytes > MaximumJpegMetadataBytes)
        return { nullptr, PhotoLoadError::TooLarge };
    QBuffer header;
    header.setData(bytes);
    QImageReader reader(&header);
    reader.setAutoTransform(false);
    const QSize stored = reader.size();
    if (!stored.isValid() || stored.isEmpty())
        return { nullptr, PhotoLoadError::NotAPicture };
    if (stored.width() > MaximumPhotoSide || stored.height() > MaximumPhotoSide
        || qint64(stored.width()) * stored.height() > MaximumPhotoPixels)
        return { nullptr, PhotoLoadError::TooLarge };
    const QImageIOHandler::Transformations orientation
        = reader.format() == "png" || reader.format() == "webp" ? containerOrientation(bytes)
                                                                : reader.transformation();
    if (tooManyScans(segments.scans, stored))
        return { nullptr, PhotoLoadError::NotAPicture };

    const QSize upright
        = orientation & QImageIOHandler::TransformationRotate90 ? stored.transposed() : stored;
    const bool jpeg = reader.format() == "jpeg";
    // The same conversion for the reduced picture and the photo's own pixels, so they agree.
    const ColourProfile colours = jpeg ? jpegColourProfile(bytes) : ColourProfile();
    const int factor = jpeg ? previewFactor(upright, framePixels) : 1;
    if (factor > 1) {
        QImage preview;
        if (decodeJpeg(bytes, factor, stop, colours, preview) == JpegDecode::Done)
            return { std::make_shared<const Photo>(
                         std::move(preview), factor, stored, orientation,
                         [bytes, colours](const std::atomic<bool> &unwanted) {
                             return decodeWholePhoto(bytes, true, &unwanted, colours);
                         },
                         colours.isUnusable()),
                PhotoLoadError::None };
    }
    QImage image = stop && *stop ? QImage() : decodeWholePhoto(bytes, jpeg, stop, colours);
    if (image.isNull())
        return { nullptr, PhotoLoadError::NotAPicture };
    return { std::make_shared<const Photo>(std::move(image), orientation, colours.isUnusable()),
        PhotoLoadError::None };
}
