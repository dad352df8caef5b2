#include "photoloader.h"

#include "jpegscans.h"

#include <QFile>
#include <QImageReader>

namespace {

// Qt refuses images above 128 MB by default; the pixel limit above is our own guard.
void allowLargePhotos()
{
    constexpr int megabytes = int(MaximumPhotoPixels * 4 / (1024 * 1024)) + 1;
    if (QImageReader::allocationLimit() < megabytes)
        QImageReader::setAllocationLimit(megabytes);
}

bool tooManyScans(QFile &file)
{
    const qint64 size = file.size();
    if (size <= 0)
        return false;
    // Mapped rather than read, so a large photo is not held twice while it is checked.
    if (uchar *mapped = file.map(0, size)) {
        const bool tooMany
            = countJpegScans(QByteArrayView(mapped, size), MaximumJpegScans) > MaximumJpegScans;
        file.unmap(mapped);
        return tooMany;
    }
    const QByteArray bytes = file.readAll();
    file.seek(0);
    return countJpegScans(bytes, MaximumJpegScans) > MaximumJpegScans;
}

} // namespace

PhotoLoadResult loadPhoto(const QString &path)
{
    allowLargePhotos();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return { nullptr, PhotoLoadError::NotAPicture };
    if (tooManyScans(file))
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

    QImage image;
    if (!reader.read(&image) || image.isNull())
        return { nullptr, PhotoLoadError::NotAPicture };
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32)
        image.convertTo(QImage::Format_RGB32); // greyscale and odd formats only
    return { std::make_shared<const Photo>(std::move(image), orientation), PhotoLoadError::None };
}
