#include "photoframe.h"

#include <QPainter>

PhotoFrame::PhotoFrame(QWidget *parent)
    : QWidget(parent)
{ }

void PhotoFrame::setClip(const ClipImage &clip)
{
    m_clip = clip;
    render();
}

void PhotoFrame::render()
{
    const qreal ratio = devicePixelRatioF();
    m_picture = m_clip.scaledTo((QSizeF(size()) * ratio).toSize());
    m_picture.setDevicePixelRatio(ratio);
    update();
}

void PhotoFrame::resizeEvent(QResizeEvent *)
{
    if (!m_clip.isNull())
        render();
}

void PhotoFrame::paintEvent(QPaintEvent *)
{
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(rect()), m_picture);
}
