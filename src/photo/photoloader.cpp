#include "photoloader.h"

#include "jpegscans.h"
#include "platform/paths.h"

#include <QFile>
#include <QImageReader>

#include <algorithm>
#include <cmath>

namespace {

// Qt refuses images above 128 MB by default; the pixel limit above is our own guard.
void allowLargePhotos()
{
    constexpr int megabytes = int(MaximumPhotoPixels * 4 / (1024 * 1024)) + 1;
    if (QImageReader::allocationLimit() < megabytes)
        QImageReader::setAllocationLimit(megabytes);
}

// A JPEG of more scans than MaximumJpegScans, or than MaximumScanMegapixels allow for its size.
bool tooManyScans(QFile &file, const QSize &size)
{
    const double megapixels = double(size.width()) * size.height() / 1e6;
    const int allowed = int(std::min<double>(MaximumJpegScans,
        std::max(1.0, std::floor(MaximumScanMegapixels / std::max(megapixels, 1e-6)))));
    const qint64 bytes = file.size();
    if (bytes <= 0)
        return false;
    // Mapped rather than read, so a large photo is not held twice while it is checked.
    bool tooMany = false;
    if (uchar *mapped = file.map(0, bytes)) {
        tooMany = countJpegScans(QByteArrayView(mapped, bytes), allowed) > allowed;
        file.unmap(mapped);
    } else {
        tooMany = countJpegScans(file.readAll(), allowed) > allowed;
    }
    file.seek(0);
    return tooMany;
}

} // namespace

PhotoLoadResult loadPhoto(const QString &path)
{
    allowLargePhotos();
    QFile file;
    if (!openRegularFile(file, path))
        return { nullptr, PhotoLoadError::NotAPicture };
    QImageReader reader(&file);
    // The orientation is applied by the photo itself, without a second copy of the pixels.
    reader.setAutoTransform(false);
    const QSize stored = reader.size();
    if (!stored.isValid() || stored.isEmpty())
        return { nullptr, PhotoLoadError::NotAPicture };
    if (stored.width() > MaximumPhotoSide || stored.height() > MaximumPhotoSide
        || qint64(stored.width()) * stored.height() > MaximumPhotoPixels)
        return { nullptr, PhotoLoadError::TooLarge };
    const QImageIOHandler::Transformations orientation = reader.transformation();
    if (tooManyScans(file, stored))
        return { nullptr, PhotoLoadError::NotAPicture };
    // The reader read the header; it starts afresh from the beginning of the file.
    reader.setDevice(nullptr);
    reader.setDevice(&file);
    reader.setAutoTransform(false);

    QImage image;
    if (!reader.read(&image) || image.isNull())
        return { nullptr, PhotoLoadError::NotAPicture };
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32)
        image.convertTo(QImage::Format_RGB32); // greyscale and odd formats only
    return { std::make_shared<const Photo>(std::move(image), orientation), PhotoLoadError::None };
}
