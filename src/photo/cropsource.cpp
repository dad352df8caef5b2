#include "cropsource.h"

#include <QPainter>

#include <cmath>

QRectF extendedArea(const QSize &photo, Qt::Edges edges, const QSizeF &crop)
{
    const double across = MostExtended * crop.height(), beside = MostExtended * crop.width();
    return QRectF(QPointF(), QSizeF(photo))
        .adjusted(edges & Qt::LeftEdge ? -beside : 0, edges & Qt::TopEdge ? -across : 0,
            edges & Qt::RightEdge ? beside : 0, edges & Qt::BottomEdge ? across : 0);
}

Qt::Edges edgesBeyond(const QSize &photo, const Turn &turn, const QRectF &rect)
{
    // Rounding of the 16-bit rectangle and of a turn may reach a hair past an edge.
    constexpr double Slack = 1e-6;
    Qt::Edges edges;
    const QTransform back = turn.matrix().inverted();
    for (const QPointF &corner :
        { rect.topLeft(), rect.topRight(), rect.bottomLeft(), rect.bottomRight() }) {
        const QPointF p = turn.isNull() ? corner : back.map(corner);
        if (p.x() < -Slack)
            edges |= Qt::LeftEdge;
        if (p.x() > photo.width() + Slack)
            edges |= Qt::RightEdge;
        if (p.y() < -Slack)
            edges |= Qt::TopEdge;
        if (p.y() > photo.height() + Slack)
            edges |= Qt::BottomEdge;
    }
    return edges;
}

QImage ClipImage::uprightCut(const QRect &upright, const QSize &size, Photo::Scaling scaling) const
{
    QImage cut = photoCut(upright, size, scaling);
    if (m_wall.replacement && !cut.isNull()) {
        if (cut.format() != QImage::Format_RGB32)
            cut = cut.convertToFormat(QImage::Format_RGB32);
        m_wall.replacement->paint(cut, QRectF(upright), m_photo->size(), m_wall.colour);
    }
    return cut;
}

QImage ClipImage::photoCut(const QRect &upright, const QSize &size, Photo::Scaling scaling) const
{
    const QRect photo(QPoint(), m_photo->size());
    const bool own = size == upright.size() && scaling == Photo::Scaling::Smooth;
    if (!m_extension || photo.contains(upright))
        return own ? m_photo->crop(upright) : m_photo->scaledCrop(upright, size, scaling);
    QImage cut(size, QImage::Format_RGB32);
    m_extension->paintOutside(cut, QRectF(upright), photo.size());
    const QRect inside = upright & photo;
    if (inside.isEmpty())
        return cut;
    // The photo's part on whole pixels of the cut: the wall painted beside it blends into
    // the photo's own edge, so a fraction of a pixel there shows no seam.
    const double sx = double(size.width()) / upright.width();
    const double sy = double(size.height()) / upright.height();
    const QPoint from(int(std::lround((inside.left() - upright.left()) * sx)),
        int(std::lround((inside.top() - upright.top()) * sy)));
    const QPoint to(int(std::lround((inside.right() + 1 - upright.left()) * sx)),
        int(std::lround((inside.bottom() + 1 - upright.top()) * sy)));
    const QSize part(std::max(1, to.x() - from.x()), std::max(1, to.y() - from.y()));
    // At the photo's own resolution, its pixels go straight in: a 48 MP print holds no second
    // copy of them.
    if (own)
        return m_photo->drawCrop(cut, from, inside) ? cut : QImage();
    const QImage pixels = m_photo->scaledCrop(inside, part, scaling);
    if (pixels.isNull())
        return QImage();
    QPainter painter(&cut);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(from, pixels);
    return cut;
}

QImage ClipImage::fullResolution() const
{
    if (!m_photo)
        return QImage();
    if (m_turn.isNull())
        return uprightCut(m_rect, m_rect.size(), Photo::Scaling::Smooth);
    return turnedCrop(
        area(), m_turn, m_rect, m_rect.size(), [this](const QRect &upright, const QSize &) {
            return uprightCut(upright, upright.size(), Photo::Scaling::Smooth);
        });
}

QImage ClipImage::scaled(const QSize &size, Photo::Scaling scaling) const
{
    if (!m_photo)
        return QImage();
    if (m_turn.isNull())
        return uprightCut(m_rect, size, scaling);
    return turnedCrop(
        area(), m_turn, m_rect, size, [this, scaling](const QRect &upright, const QSize &cut) {
            return uprightCut(upright, cut, scaling);
        });
}

QPolygonF ClipImage::photoOutline() const
{
    if (!m_photo || !m_extension || m_rect.isEmpty())
        return {};
    const QPolygonF photo(QRectF(QPointF(), QSizeF(m_photo->size())));
    const QTransform toShares = QTransform::fromTranslate(-m_rect.left(), -m_rect.top())
        * QTransform::fromScale(1.0 / m_rect.width(), 1.0 / m_rect.height());
    return (m_turn.isNull() ? photo : m_turn.matrix().map(photo)) * toShares;
}

QRect ClipImage::area() const
{
    const QSize photo = m_photo->size();
    if (!m_extension)
        return QRect(QPoint(), photo);
    return extendedArea(photo, m_extension->edges(), QSizeF(m_rect.size())).toAlignedRect();
}

std::optional<ClipImage> CropSource::clipImage() const
{
    const QRect r = rect.toRect();
    if (!m_photo || r.isEmpty())
        return std::nullopt;
    const QRectF area = extension
        ? extendedArea(m_photo->size(), extension->edges(), QSizeF(r.size()))
        : QRectF(QPointF(), QSizeF(m_photo->size()));
    if (!area.contains(QRectF(r)) || (!turn.isNull() && !coversRect(area, turn, QRectF(r))))
        return std::nullopt;
    // A rectangle back on the photo needs no wall painted.
    const bool beyond = extension && edgesBeyond(m_photo->size(), turn, QRectF(r)).toInt() != 0;
    return ClipImage(m_photo, r, turn, beyond ? extension : ExtensionPtr(), wall);
}
