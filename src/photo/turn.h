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

// The rectangle, in turned coordinates, lies wholly on the photo of that upright size.
bool coversRect(const QSize &photo, const Turn &turn, const QRectF &rect);
// The rectangle moved, and made smaller about its centre where it must be, so that the turned
// photo covers it. Its proportions stay; empty when the photo cannot hold it turned so.
QRectF keepOnTurnedPhoto(const QSize &photo, const Turn &turn, const QRectF &rect);

// The pixels of a turned rectangle scaled to a size: only the upright part under it is cut
// from the photo (by `cut`, as the photo's reduced or own pixels at `scale`), then turned.
using UprightCut = std::function<QImage(const QRect &upright, const QSize &size)>;
QImage turnedCrop(const QSize &photo, const Turn &turn, const QRect &rect, const QSize &target,
    const UprightCut &cut);
