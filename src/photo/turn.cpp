#include "turn.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// Rounding of the crop's 16-bit rectangle may reach this far past the exact limit.
constexpr double Slack = 1e-6;

// How far, in upright x and y, a rectangle of this size reaches from its centre once turned.
QPointF reach(const Turn &turn, const QSizeF &size)
{
    const double radians = turn.degrees * M_PI / 180;
    const double c = std::abs(std::cos(radians));
    const double s = std::abs(std::sin(radians));
    return { (size.width() * c + size.height() * s) / 2,
        (size.width() * s + size.height() * c) / 2 };
}

} // namespace

QTransform Turn::matrix() const
{
    return QTransform::fromTranslate(-centre.x(), -centre.y()) * QTransform().rotate(degrees)
        * QTransform::fromTranslate(centre.x(), centre.y());
}

bool coversRect(const QRectF &area, const Turn &turn, const QRectF &rect)
{
    const QRectF upright = area.adjusted(-Slack, -Slack, Slack, Slack);
    const QTransform back = turn.matrix().inverted();
    for (const QPointF &corner :
        { rect.topLeft(), rect.topRight(), rect.bottomLeft(), rect.bottomRight() })
        if (!upright.contains(back.map(corner)))
            return false;
    return true;
}

QRectF keepOnTurnedPhoto(const QRectF &photo, const Turn &turn, const QRectF &rect)
{
    // Turned, the rectangle stays inside the photo exactly when its centre, taken back to the
    // upright photo, keeps its turned reach from every edge; it must also stay within the
    // photo's own frame. Both sets of centres are boxes, so clamping into one and then the
    // other in turn settles in both, unless the rectangle is too large for them together.
    QSizeF size = rect.size();
    const QPointF start = reach(turn, size);
    size *= std::min({ 1.0, photo.width() / (2 * start.x()), photo.height() / (2 * start.y()),
        photo.width() / size.width(), photo.height() / size.height() });
    QPointF centre = rect.center();
    for (int round = 0; round < 300; ++round) {
        const QPointF extent = reach(turn, size);
        QPointF upright = turn.unmap(centre);
        upright.setX(
            std::clamp(upright.x(), photo.left() + extent.x(), photo.right() - extent.x()));
        upright.setY(
            std::clamp(upright.y(), photo.top() + extent.y(), photo.bottom() - extent.y()));
        centre = turn.map(upright);
        centre.setX(std::clamp(
            centre.x(), photo.left() + size.width() / 2, photo.right() - size.width() / 2));
        centre.setY(std::clamp(
            centre.y(), photo.top() + size.height() / 2, photo.bottom() - size.height() / 2));
        QRectF kept(QPointF(), size);
        kept.moveCenter(centre);
        if (coversRect(photo, turn, kept))
            return kept;
        if (round % 10 == 9) // no room for this size
            size *= 0.97;
    }
    return QRectF(); // a photo too small to hold any rectangle turned so
}

QImage turnedCrop(const QRect &area, const Turn &turn, const QRect &rect, const QSize &target,
    const UprightCut &cut)
{
    if (rect.isEmpty() || target.isEmpty())
        return QImage();
    const QTransform back = turn.matrix().inverted();
    const double sx = double(target.width()) / rect.width();
    const double sy = double(target.height()) / rect.height();
    QImage turned(target, QImage::Format_RGB32);
    turned.fill(Qt::white);
    QPainter painter(&turned);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    // At the photo's own resolution a large crop is turned a band of rows at a time, so the
    // upright part under it is never held whole beside the result; its own pixels make every
    // band alike. Scaled, one cut keeps the resampling seamless.
    const bool own = target == rect.size();
    const int band = own && qint64(target.width()) * target.height() > BandedPixels
        ? std::max(1, int(BandedPixels / target.width()))
        : target.height();
    for (int top = 0; top < target.height(); top += band) {
        const int rows = std::min(band, target.height() - top);
        const QRectF part(rect.left(), rect.top() + top / sy, rect.width(), rows / sy);
        // The upright pixels under the part, with one pixel more for the smoothing.
        const QRect under = back.mapRect(part).toAlignedRect().adjusted(-1, -1, 1, 1) & area;
        const QSize cutSize(std::max(1, int(std::lround(under.width() * sx))),
            std::max(1, int(std::lround(under.height() * sy))));
        const QImage upright = cut(under, cutSize);
        if (upright.isNull())
            return QImage();
        painter.resetTransform(); // the band's rows in the target's pixels
        painter.setClipRect(QRect(0, top, target.width(), rows));
        // Cut pixels to upright coordinates, turned, then to the target's pixels.
        painter.setTransform(QTransform::fromScale(double(under.width()) / cutSize.width(),
                                 double(under.height()) / cutSize.height())
            * QTransform::fromTranslate(under.left(), under.top()) * turn.matrix()
            * QTransform::fromTranslate(-rect.left(), -rect.top()) * QTransform::fromScale(sx, sy));
        painter.drawImage(QPointF(), upright);
    }
    return turned;
}
