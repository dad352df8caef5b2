#include "pictureclip.h"

std::optional<ClipImage> PictureClip::clipImage() const
{
    const QRect rect = ClipRect.toRect();
    if (!m_photo || rect.isEmpty() || !QRect(QPoint(0, 0), m_photo->size()).contains(rect))
        return std::nullopt;
    return ClipImage(m_photo, rect);
}
