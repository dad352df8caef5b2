#include "photoloader.h"

#include <QImageReader>

namespace {

// Qt refuses images above 128 MB by default; the pixel limit above is our own guard.
void allowLargePhotos()
{
    constexpr int megabytes = int(MaximumPhotoPixels * 4 / (1024 * 1024)) + 1;
    if (QImageReader::allocationLimit() < megabytes)
        QImageReader::setAllocationLimit(megabytes);
}

} // namespace

PhotoLoadResult loadPhoto(const QString &path)
{
    allowLargePhotos();
    QImageReader reader(path);
    // The orientation is applied by the photo itself, without a second copy of the pixels.
    reader.setAutoTransform(false);
    const QSize stored = reader.size();
    if (!stored.isValid() || stored.isEmpty())
        return {nullptr, PhotoLoadError::NotAPicture};
    if (stored.width() > MaximumPhotoSide || stored.height() > MaximumPhotoSide
        || qint64(stored.width()) * stored.height() > MaximumPhotoPixels)
        return {nullptr, PhotoLoadError::TooLarge};
    const QImageIOHandler::Transformations orientation = reader.transformation();

    QImage image;
    if (!reader.read(&image) || image.isNull())
        return {nullptr, PhotoLoadError::NotAPicture};
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32)
        image.convertTo(QImage::Format_RGB32); // greyscale and odd formats only
    return {std::make_shared<const Photo>(std::move(image), orientation), PhotoLoadError::None};
}
