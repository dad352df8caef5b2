#include "cropsource.h"

std::optional<ClipImage> CropSource::clipImage() const
{
    const QRect r = rect.toRect();
    if (!m_photo || r.isEmpty() || !QRect(QPoint(0, 0), m_photo->size()).contains(r))
        return std::nullopt;
    return ClipImage(m_photo, r);
}
