#pragma once

#include "backgroundextension.h"
#include "backgroundreplacement.h"
#include "photo.h"
#include "turn.h"

#include <QPolygonF>

#include <cstdint>
#include <memory>
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

using ExtensionPtr = std::shared_ptr<const BackgroundExtension>;

// What stands behind the person: the photo's own wall, or a plain colour in its place.
enum class WallChoice { AsShot, White, LightGrey, Document };
struct NewWall
{
    std::shared_ptr<const BackgroundReplacement> replacement; // null: as shot
    QRgb colour = 0;
    WallChoice choice = WallChoice::AsShot;
    friend bool operator==(const NewWall &, const NewWall &) = default;
};

// A fit may reach this far beyond an edge whose wall is continued, as a share of the fit's
// side across that edge: further, the painted wall would be a large part of the picture.
inline constexpr double MostExtended = 0.2;
// The upright area a fit of `crop`'s size may take: the photo, grown on the edges given.
QRectF extendedArea(const QSize &photo, Qt::Edges edges, const QSizeF &crop);
// The photo's edges the rectangle, on the photo turned so, reaches beyond.
Qt::Edges edgesBeyond(const QSize &photo, const Turn &turn, const QRectF &rect);

// The picture of the crop rectangle: a view on the photo, not a copy of its pixels. A turned
// photo is turned only where the rectangle is, each time its pixels are asked for; where the
// rectangle leaves the photo, its continued wall is painted.
class ClipImage
{
public:
    ClipImage() = default;
    ClipImage(PhotoPtr photo, const QRect &rect, const Turn &turn = {}, ExtensionPtr extension = {},
        NewWall wall = {})
        : m_photo(std::move(photo))
        , m_rect(rect)
        , m_turn(turn)
        , m_extension(std::move(extension))
        , m_wall(std::move(wall))
    { }

    bool isNull() const { return !m_photo; }
    QRect rect() const { return m_rect; }
    QSize size() const { return m_rect.size(); }
    const Turn &turn() const { return m_turn; }
    // The wall continued beyond the photo, where the rectangle leaves it.
    const ExtensionPtr &extension() const { return m_extension; }
    const NewWall &wall() const { return m_wall; }
    // The photo's outline in shares of the rectangle (0-1 across it), where the rectangle
    // shows continued wall beyond it; empty otherwise.
    QPolygonF photoOutline() const;
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
    // The upright part, which may reach beyond the photo onto its continued wall.
    QImage uprightCut(const QRect &upright, const QSize &size, Photo::Scaling scaling) const;
    QImage photoCut(const QRect &upright, const QSize &size, Photo::Scaling scaling) const;
    QRect area() const; // where the part cut for a turned rectangle may lie

    PhotoPtr m_photo;
    QRect m_rect;
    Turn m_turn;
    ExtensionPtr m_extension;
    NewWall m_wall;
};

// The crop component: holds the photo and a crop rectangle. Setting a rectangle value never
// fails; taking the clip image is refused when the rectangle is empty or not wholly inside
// the photo, or inside the room its continued wall gives.
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
    ExtensionPtr extension; // the wall continued beyond some of the photo's edges
    NewWall wall;

    // Nothing means the refusal (32015); a turned photo must cover the whole rectangle.
    std::optional<ClipImage> clipImage() const;

private:
    PhotoPtr m_photo;
};
