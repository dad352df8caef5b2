#pragma once

#include <QImage>
#include <QPointF>
#include <QRect>
#include <QTransform>

#include <functional>

class Photo;

// A turn of the upright photo about a point, which levels a tilted head. The turned photo
// keeps the upright photo's coordinates; only the part the photo covers after the turn may be
// cropped, so no empty corner is ever shown or printed.
struct Turn
{
    double degrees = 0; // clockwise on the screen
    QPointF centre;

    bool isNull() const { return degrees == 0; }
    // Upright photo coordinates to turned ones.
    QTransform matrix() const;
    QPointF map(const QPointF &upright) const { return matrix().map(upright); }
    QPointF unmap(const QPointF &turned) const { return matrix().inverted().map(turned); }
    friend bool operator==(const Turn &, const Turn &) = default;
};

// The rectangle, in turned coordinates, lies wholly on the upright area (the photo, or the
// photo with the wall continued beyond some of its edges) once turned.
bool coversRect(const QRectF &area, const Turn &turn, const QRectF &rect);
inline bool coversRect(const QSize &photo, const Turn &turn, const QRectF &rect)
{
    return coversRect(QRectF(QPointF(), photo), turn, rect);
}
// The rectangle moved, and made smaller about its centre where it must be, so that the turned
// area covers it. Its proportions stay; empty when the area cannot hold it turned so.
QRectF keepOnTurnedPhoto(const QRectF &area, const Turn &turn, const QRectF &rect);
inline QRectF keepOnTurnedPhoto(const QSize &photo, const Turn &turn, const QRectF &rect)
{
    return keepOnTurnedPhoto(QRectF(QPointF(), photo), turn, rect);
}

// The pixels of a turned rectangle scaled to a size: only the upright part under it is cut
// (by `cut`, as the photo's reduced or own pixels at `scale`), then turned. The part cut stays
// within `area`: the photo, or the photo with its wall continued.
using UprightCut = std::function<QImage(const QRect &upright, const QSize &size)>;
// Above this many pixels a crop at the photo's own resolution is turned in bands.
inline constexpr qint64 BandedPixels = 2'000'000;
QImage turnedCrop(const QRect &area, const Turn &turn, const QRect &rect, const QSize &target,
    const UprightCut &cut);
