// The photo load path, JPEG, HEIF and what Qt reads: scan count and size checks, decoding,
// orientation, the first crop and the pictures shown and printed from it.
#include "photo/cropcommands.h"
#include "photo/cropsource.h"
#include "photo/heifreader.h"
#include "photo/jpegscans.h"
#include "photo/photoformat.h"
#include "photo/photoloader.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImageReader>

#include <cstdlib>
#include <sys/mman.h>
#include <unistd.h>

namespace {
int g_file = -1;
QString g_path;
// Photos this large load correctly but take seconds under the sanitizers; the checks that
// refuse larger ones still run on every input.
constexpr qint64 DecodedPixelsWhileFuzzing = 4'000'000;
} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    // A file in memory, so each input is a real file to the loader without touching the disk.
    g_file = memfd_create("photo.jpg", 0);
    if (g_file < 0)
        std::abort();
    g_path = QStringLiteral("/proc/self/fd/%1").arg(g_file);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes
        = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const JpegSegments segments = readJpegSegments(bytes, MaximumJpegScans);
    const int scans = segments.scans;
    if (scans < 0 || scans > MaximumJpegScans + 1 || segments.metadataBytes < 0
        || segments.metadataBytes > qsizetype(size))
        std::abort();

    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QSize claimed = QImageReader(&buffer).size();
    if (const HeifPhoto heif(bytes); heif.header() != HeifPhoto::Header::NotHeif)
        claimed = heif.size();
    if (claimed.isValid() && claimed.width() <= MaximumPhotoSide
        && claimed.height() <= MaximumPhotoSide
        && qint64(claimed.width()) * claimed.height() > DecodedPixelsWhileFuzzing)
        return 0;

    if (ftruncate(g_file, 0) != 0 || pwrite(g_file, data, size, 0) != ssize_t(size))
        std::abort();
    // A small frame: most pictures are first shown from libjpeg-turbo's reduced decode, and
    // their own pixels decoded on another thread.
    const PhotoLoadResult loaded = loadPhoto(g_path, QSizeF(40, 52));
    if (!loaded.photo) {
        if (loaded.error == PhotoLoadError::None)
            std::abort();
        return 0;
    }
    if (scans > MaximumJpegScans || segments.metadataBytes > MaximumJpegMetadataBytes
        || loaded.photo->width() > MaximumPhotoSide || loaded.photo->height() > MaximumPhotoSide)
        std::abort();
    for (const PhotoFormat &format : PhotoFormats) {
        const std::optional<CropRect> rect = centreCrop(
            loaded.photo->width(), loaded.photo->height(), format.frameWidth, format.frameHeight);
        if (!rect)
            continue;
        CropSource clip;
        clip.setPicture(loaded.photo);
        clip.rect = *rect;
        const std::optional<ClipImage> image = clip.clipImage();
        if (!image)
            continue;
        if (!QRect(QPoint(0, 0), loaded.photo->size()).contains(image->rect()))
            std::abort();
        image->scaledTo(QSize(40, 52));
        image->fullResolution();
    }
    return 0;
}
