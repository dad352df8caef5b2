#pragma once

#include "photo.h"

#include <cstdint>
#include <optional>

struct CropRect
{
    int16_t left = 0;
    int16_t top = 0;
    int16_t width = 0;
    int16_t height = 0;

    QRect toRect() const { return QRect(left, top, width, height); }
    friend bool operator==(const CropRect &, const CropRect &) = default;
};

// The picture of the crop rectangle: a view on the photo, not a copy of its pixels.
class ClipImage
{
public:
    ClipImage() = default;
    ClipImage(PhotoPtr photo, const QRect &rect)
        : m_photo(std::move(photo))
        , m_rect(rect)
    { }

    bool isNull() const { return !m_photo; }
    QRect rect() const { return m_rect; }
    QSize size() const { return m_rect.size(); }
    // The photo's own pixels of the rectangle, for printing and export.
    QImage fullResolution() const { return m_photo ? m_photo->crop(m_rect) : QImage(); }
    QImage scaledTo(const QSize &size) const
    {
        return m_photo ? m_photo->scaledCrop(m_rect, size) : QImage();
    }
    // The same from the photo's own pixels, never a reduced decode: for printing and export.
    // Waits for the photo's decode; null when it failed.
    QImage ownPixelsScaledTo(const QSize &size) const
    {
        if (!m_photo || !m_photo->hasOwnPixels())
            return QImage();
        return m_photo->scaledCrop(m_rect, size, Photo::Scaling::Smooth);
    }

private:
    PhotoPtr m_photo;
    QRect m_rect;
};

// The crop component: holds the photo and a crop rectangle. Setting a rectangle value never
// fails; taking the clip image is refused when the rectangle is empty or not wholly inside
// the photo.
class CropSource
{
public:
    static constexpr int OutOfRangeError = 32015;

    void setPicture(PhotoPtr photo) { m_photo = std::move(photo); }
    const PhotoPtr &picture() const { return m_photo; }
    int width() const { return m_photo ? m_photo->width() : 0; }
    int height() const { return m_photo ? m_photo->height() : 0; }

    CropRect rect;

    // Nothing means the refusal (32015).
    std::optional<ClipImage> clipImage() const;

private:
    PhotoPtr m_photo;
};
