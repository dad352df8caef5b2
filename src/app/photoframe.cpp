#include "photoframe.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

PhotoFrame::PhotoFrame(QWidget *parent)
    : QWidget(parent)
{ }

void PhotoFrame::setClip(const ClipImage &clip)
{
    m_clip = clip;
    setCursor(Qt::OpenHandCursor); // the photo can be dragged
    render();
}

void PhotoFrame::setGuides(const QList<GuideBand> &bands)
{
    m_guides = bands;
    update();
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
    // Small enough to leave the face alone, outlined to show on light and dark photos alike.
    constexpr qreal MarkWidth = 4;
    painter.setPen(QPen(QColor(0, 0, 0, 160), 1));
    painter.setBrush(QColor(255, 128, 0, 220));
    for (const GuideBand &band : std::as_const(m_guides)) {
        const qreal top = band.top * height();
        const qreal bottom = band.bottom * height();
        painter.drawRect(QRectF(0.5, top, MarkWidth, bottom - top));
        painter.drawRect(QRectF(width() - MarkWidth - 0.5, top, MarkWidth, bottom - top));
    }
}

void PhotoFrame::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || m_clip.isNull())
        return QWidget::mousePressEvent(event);
    setCursor(Qt::ClosedHandCursor);
    emit dragStarted(event->position());
}

void PhotoFrame::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton) || m_clip.isNull())
        return QWidget::mouseMoveEvent(event);
    emit dragged(event->position());
}

void PhotoFrame::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_clip.isNull())
        setCursor(Qt::OpenHandCursor);
    QWidget::mouseReleaseEvent(event);
}

void PhotoFrame::wheelEvent(QWheelEvent *event)
{
    if (m_clip.isNull())
        return QWidget::wheelEvent(event);
    emit wheeled(event->angleDelta().y());
}
