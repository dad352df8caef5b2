#pragma once

#include "photo.h"
#include "turn.h"

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

// The picture of the crop rectangle: a view on the photo, not a copy of its pixels. A turned
// photo is turned only where the rectangle is, each time its pixels are asked for.
class ClipImage
{
public:
    ClipImage() = default;
    ClipImage(PhotoPtr photo, const QRect &rect, const Turn &turn = {})
        : m_photo(std::move(photo))
        , m_rect(rect)
        , m_turn(turn)
    { }

    bool isNull() const { return !m_photo; }
    QRect rect() const { return m_rect; }
    QSize size() const { return m_rect.size(); }
    const Turn &turn() const { return m_turn; }
    // The photo's own pixels of the rectangle, for printing and export.
    QImage fullResolution() const;
    QImage scaledTo(const QSize &size) const { return scaled(size, Photo::Scaling::Screen); }
    // The same from the photo's own pixels, never a reduced decode: for printing and export.
    // Waits for the photo's decode; null when it failed.
    QImage ownPixelsScaledTo(const QSize &size) const
    {
        if (!m_photo || !m_photo->hasOwnPixels())
            return QImage();
        return scaled(size, Photo::Scaling::Smooth);
    }

private:
    QImage scaled(const QSize &size, Photo::Scaling scaling) const;

    PhotoPtr m_photo;
    QRect m_rect;
    Turn m_turn;
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
    Turn turn;

    // Nothing means the refusal (32015); a turned photo must cover the whole rectangle.
    std::optional<ClipImage> clipImage() const;

private:
    PhotoPtr m_photo;
};
