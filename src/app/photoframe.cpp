#include "photoframe.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>
#include <QWheelEvent>

namespace {

// A head mark: a pointer at the frame's left edge, large enough to grab.
constexpr qreal HeadMarkWidth = 12;
constexpr qreal HeadMarkHeight = 10;
const QColor HairColour(0, 200, 255, 230);
const QColor SkullColour(235, 90, 235, 230);

} // namespace

PhotoFrame::PhotoFrame(QWidget *parent)
    : QWidget(parent)
{
    setMouseTracking(true); // the pointer shows where a head mark can be grabbed
}

void PhotoFrame::setHeadMarks(std::optional<double> hair, std::optional<double> skull)
{
    if (m_dragging)
        return; // the drag shows its own place until it ends
    m_hairMark = hair;
    m_skullMark = skull;
    update();
}

void PhotoFrame::setHeadMarkTips(const QString &hair, const QString &skull)
{
    m_hairTip = hair;
    m_skullTip = skull;
}

std::optional<FaceRule::Top> PhotoFrame::headMarkAt(const QPointF &at) const
{
    if (m_clip.isNull() || at.x() > HeadMarkWidth + 4)
        return std::nullopt;
    std::optional<FaceRule::Top> nearest;
    qreal best = HeadMarkHeight / 2 + 2;
    for (const auto &[which, share] : { std::pair { FaceRule::Top::Hair, m_hairMark },
             std::pair { FaceRule::Top::Skull, m_skullMark } })
        if (share && std::abs(*share * height() - at.y()) <= best) {
            best = std::abs(*share * height() - at.y());
            nearest = which;
        }
    return nearest;
}

bool PhotoFrame::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        if (const std::optional<FaceRule::Top> which = headMarkAt(help->pos()))
            QToolTip::showText(
                help->globalPos(), *which == FaceRule::Top::Hair ? m_hairTip : m_skullTip, this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

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

void PhotoFrame::showRefused(PhotoCommand command)
{
    switch (command) {
    case PhotoCommand::Up: // the photo would rise past its bottom edge
        m_refused = Qt::BottomEdge;
        break;
    case PhotoCommand::Down:
        m_refused = Qt::TopEdge;
        break;
    case PhotoCommand::Left:
        m_refused = Qt::RightEdge;
        break;
    case PhotoCommand::Right:
        m_refused = Qt::LeftEdge;
        break;
    default:
        m_refused = Qt::TopEdge | Qt::BottomEdge | Qt::LeftEdge | Qt::RightEdge;
    }
    if (!m_refusedTimer) {
        m_refusedTimer = new QTimer(this);
        m_refusedTimer->setSingleShot(true);
        m_refusedTimer->setInterval(400);
        connect(m_refusedTimer, &QTimer::timeout, this, [this] {
            m_refused = {};
            update();
        });
    }
    m_refusedTimer->start();
    update();
}

void PhotoFrame::paintEvent(QPaintEvent *)
{
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(rect()), m_picture);
    // The wall continued beyond the photo is hatched here only: paper shows it plain.
    if (const QPolygonF photo = m_clip.photoOutline(); !photo.isEmpty()) {
        QPainterPath frame, shot;
        frame.addRect(QRectF(rect()));
        shot.addPolygon(photo * QTransform::fromScale(width(), height()));
        painter.save();
        painter.setClipPath(frame.subtracted(shot));
        painter.fillRect(rect(), QBrush(QColor(0, 0, 0, 70), Qt::BDiagPattern));
        painter.restore();
    }
    constexpr qreal EdgeWidth = 3;
    const QColor refused(230, 40, 40);
    if (m_refused & Qt::TopEdge)
        painter.fillRect(QRectF(0, 0, width(), EdgeWidth), refused);
    if (m_refused & Qt::BottomEdge)
        painter.fillRect(QRectF(0, height() - EdgeWidth, width(), EdgeWidth), refused);
    if (m_refused & Qt::LeftEdge)
        painter.fillRect(QRectF(0, 0, EdgeWidth, height()), refused);
    if (m_refused & Qt::RightEdge)
        painter.fillRect(QRectF(width() - EdgeWidth, 0, EdgeWidth, height()), refused);
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
    painter.setRenderHint(QPainter::Antialiasing);
    for (const auto &[share, colour] :
        { std::pair { m_skullMark, SkullColour }, std::pair { m_hairMark, HairColour } }) {
        if (!share)
            continue;
        const qreal y = *share * height();
        QPainterPath pointer;
        pointer.moveTo(0.5, y - HeadMarkHeight / 2);
        pointer.lineTo(HeadMarkWidth, y);
        pointer.lineTo(0.5, y + HeadMarkHeight / 2);
        pointer.closeSubpath();
        painter.setBrush(colour);
        painter.drawPath(pointer);
        painter.setPen(QPen(colour, 1, Qt::DashLine));
        painter.drawLine(QPointF(HeadMarkWidth, y), QPointF(2.5 * HeadMarkWidth, y));
        painter.setPen(QPen(QColor(0, 0, 0, 160), 1));
    }
}

void PhotoFrame::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || m_clip.isNull())
        return QWidget::mousePressEvent(event);
    m_dragging = headMarkAt(event->position());
    if (m_dragging)
        return;
    setCursor(Qt::ClosedHandCursor);
    emit dragStarted(event->position());
}

void PhotoFrame::mouseMoveEvent(QMouseEvent *event)
{
    if (m_clip.isNull())
        return QWidget::mouseMoveEvent(event);
    if (m_dragging) {
        mark(*m_dragging) = std::clamp(event->position().y() / height(), 0.0, 1.0);
        update();
        return;
    }
    if (!(event->buttons() & Qt::LeftButton)) {
        setCursor(headMarkAt(event->position()) ? Qt::SizeVerCursor : Qt::OpenHandCursor);
        return QWidget::mouseMoveEvent(event);
    }
    emit dragged(event->position());
}

void PhotoFrame::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_clip.isNull())
        setCursor(Qt::OpenHandCursor);
    if (const std::optional<FaceRule::Top> which = std::exchange(m_dragging, std::nullopt);
        which && event->button() == Qt::LeftButton)
        emit headMarkMoved(*which, mark(*which).value_or(0));
    QWidget::mouseReleaseEvent(event);
}

void PhotoFrame::wheelEvent(QWheelEvent *event)
{
    if (m_clip.isNull())
        return QWidget::wheelEvent(event);
    emit wheeled(event->angleDelta().y());
}
