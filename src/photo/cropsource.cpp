#include "cropsource.h"

QImage ClipImage::fullResolution() const
{
    if (!m_photo)
        return QImage();
    if (m_turn.isNull())
        return m_photo->crop(m_rect);
    return turnedCrop(m_photo->size(), m_turn, m_rect, m_rect.size(),
        [this](const QRect &upright, const QSize &) { return m_photo->crop(upright); });
}

QImage ClipImage::scaled(const QSize &size, Photo::Scaling scaling) const
{
    if (!m_photo)
        return QImage();
    if (m_turn.isNull())
        return m_photo->scaledCrop(m_rect, size, scaling);
    return turnedCrop(m_photo->size(), m_turn, m_rect, size,
        [this, scaling](const QRect &upright, const QSize &cut) {
            return m_photo->scaledCrop(upright, cut, scaling);
        });
}

std::optional<ClipImage> CropSource::clipImage() const
{
    const QRect r = rect.toRect();
    if (!m_photo || r.isEmpty() || !QRect(QPoint(0, 0), m_photo->size()).contains(r))
        return std::nullopt;
    if (!turn.isNull() && !coversRect(m_photo->size(), turn, QRectF(r)))
        return std::nullopt;
    return ClipImage(m_photo, r, turn);
}
