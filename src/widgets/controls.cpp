#include "controls.h"

#include "look.h"
#include "twips.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include <algorithm>

QString withoutMnemonic(const QString &caption)
{
    QString shown;
    shown.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == u'&' && i + 1 < caption.size())
            ++i;
        else if (caption.at(i) == u'&')
            continue;
        shown.append(caption.at(i));
    }
    return shown;
}

void setCaption(QLabel *label, const QString &caption)
{
    label->setText(withoutMnemonic(caption));
    autoSizeTwips(label);
}

namespace {

void fitCaptionToText(QLabel *label, QRect bounds)
{
    constexpr int EdgeMargin = 4;
    constexpr char DesignBox[] = "designGeometry";
    constexpr char DesignWrap[] = "designWordWrap";
    if (!label->property(DesignBox).isValid()) {
        label->setProperty(DesignBox, label->geometry());
        label->setProperty(DesignWrap, label->wordWrap());
    }
    QRect box = label->property(DesignBox).toRect();
    if (bounds.isEmpty() && label->parentWidget())
        bounds = label->parentWidget()->rect().adjusted(
            EdgeMargin, EdgeMargin, -EdgeMargin, -EdgeMargin);

    const QFontMetrics metrics = label->fontMetrics();
    const QSize chrome = label->size() - label->contentsRect().size();
    const int flags = int(label->alignment()) & ~Qt::TextWordWrap;
    // One pixel spare: italic and bold glyphs may overhang their advance.
    const int needed
        = metrics.boundingRect(QRect(), flags, label->text()).width() + chrome.width() + 1;
    label->setWordWrap(label->property(DesignWrap).toBool());
    if (needed > box.width()) {
        const int grow = needed - box.width();
        // Centred text may slide along its line; text aligned to an edge keeps that edge,
        // which lines it up with its picture or frame.
        if (label->alignment() & Qt::AlignHCenter) {
            box.adjust(-grow / 2, 0, grow - grow / 2, 0);
            if (box.right() > bounds.right())
                box.moveRight(bounds.right());
            if (box.left() < bounds.left())
                box.moveLeft(bounds.left());
        } else if (label->alignment() & Qt::AlignRight) {
            box.setLeft(box.left() - grow);
        } else {
            box.setRight(box.right() + grow);
        }
        box = box.intersected(bounds);
        if (box.width() < needed)
            label->setWordWrap(true);
    }
    if (label->wordWrap()) {
        const int textWidth = box.width() - chrome.width();
        const int height = metrics
                               .boundingRect(QRect(0, 0, textWidth, 1 << 20),
                                   flags | Qt::TextWordWrap, label->text())
                               .height()
            + chrome.height();
        // Down to the edge of its bounds at most; never shorter than its design box.
        box.setHeight(std::max(box.height(), std::min(height, bounds.bottom() + 1 - box.top())));
    }
    setTwipsGeometry(label,
        QRectF(box.x() * TwipsPerPixel, box.y() * TwipsPerPixel, box.width() * TwipsPerPixel,
            box.height() * TwipsPerPixel));
}

// Drawn the same in every style: some draw a focus frame only after a Tab, or not at all.
void drawFocusFrame(QPainter &painter, const QWidget *widget)
{
    painter.setPen(QPen(textColour(widget), 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(widget->rect().adjusted(0, 0, -1, -1));
}

} // namespace

void fitToText(QLabel *label, QRect bounds)
{
    fitCaptionToText(label, bounds);
}

void showPlainText(QWidget *window)
{
    const QList<QLabel *> labels = window->findChildren<QLabel *>();
    for (QLabel *label : labels)
        label->setTextFormat(Qt::PlainText);
}

void keepWithinScreen(QWidget *dialog)
{
    const QScreen *screen = dialog->screen();
    const int width = screen ? screen->availableGeometry().width() : 1280;
    const int widest = width * 3 / 10;
    for (QLabel *label : dialog->findChildren<QLabel *>()) {
        label->setWordWrap(true);
        label->setMaximumWidth(std::min(label->maximumWidth(), widest));
        // A window does not grow for the lines a wrapped text needs: a long text takes them
        // from the start, and its layout cannot squeeze it narrower.
        const QFontMetrics metrics = label->fontMetrics();
        if (metrics.horizontalAdvance(label->text()) > widest) {
            // Three lines at most, so a dozen of them still leave room for the rest.
            const QString text = label->text();
            const QString shown = metrics.elidedText(text, Qt::ElideRight, widest * 5 / 2);
            if (shown != text) {
                label->setToolTip(plainToolTip(text));
                label->setText(shown);
            }
            label->setMinimumWidth(widest);
            label->setMinimumHeight(label->heightForWidth(widest));
        }
    }
    for (QPushButton *button : dialog->findChildren<QPushButton *>()) {
        const QString text = button->text();
        const QString shown = button->fontMetrics().elidedText(text, Qt::ElideRight, width / 4);
        if (shown == text)
            continue;
        button->setToolTip(plainToolTip(withoutMnemonic(text)));
        button->setText(shown);
    }
}

QString plainToolTip(const QString &text)
{
    return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped()
        + QStringLiteral("</p>");
}

LinkLabel::LinkLabel(QWidget *parent)
    : QLabel(parent)
{
    setMouseTracking(true);
}

bool LinkLabel::event(QEvent *event)
{
    if (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove)
        emit hovered();
    return QLabel::event(event);
}

void LinkLabel::takeKeyboard()
{
    setFocusPolicy(Qt::TabFocus);
}

void LinkLabel::keyPressEvent(QKeyEvent *event)
{
    if (focusPolicy() != Qt::NoFocus && event->key() == Qt::Key_Space && !event->isAutoRepeat())
        emit clicked();
    else
        QLabel::keyPressEvent(event);
}

void LinkLabel::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    if (hasFocus()) {
        QPainter painter(this);
        drawFocusFrame(painter, this);
    }
}

void LinkLabel::mouseMoveEvent(QMouseEvent *event)
{
    // Taken here, so the move does not reach the window background and undo the highlight.
    event->accept();
}

void LinkLabel::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_pressed = true;
    event->accept();
}

void LinkLabel::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton
        && rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click)
        emit clicked();
}

CaptionButton::CaptionButton(QWidget *parent)
    : QPushButton(parent)
{
    setMouseTracking(true);
    setAutoDefault(true); // Return presses the button that has the focus
}

bool CaptionButton::event(QEvent *event)
{
    if (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove)
        emit hovered();
    const bool handled = QPushButton::event(event);
    // Taken here, so the move does not reach the window background and undo the highlight.
    if (event->type() == QEvent::MouseMove)
        event->accept();
    return handled;
}

void CaptionButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(isEnabled() ? textColour(this) : QColor(150, 150, 150));
    // A caption wider than the window allows is cut short rather than clipped at both ends.
    painter.drawText(
        rect(), int(alignment()), fontMetrics().elidedText(text(), Qt::ElideRight, width()));
    if (hasFocus())
        drawFocusFrame(painter, this);
}

ShapeWidget::ShapeWidget(Kind kind, QWidget *parent)
    : QWidget(parent)
    , m_kind(kind)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ShapeWidget::setBorder(const QColor &colour, Qt::PenStyle style, int widthPixels)
{
    m_borderColour = colour;
    m_borderStyle = style;
    m_borderWidth = widthPixels;
    update();
}

void ShapeWidget::setFill(const QColor &colour)
{
    m_fill = colour;
    update();
}

void ShapeWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_kind == Kind::HorizontalLine || m_kind == Kind::VerticalLine) {
        // The control is the line: a pen along its edge falls between device pixels at
        // fractional scales and vanishes.
        painter.fillRect(rect(), m_borderColour);
        return;
    }
    QPen pen(m_borderColour, m_borderWidth, m_borderStyle);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(m_fill.isValid() ? QBrush(m_fill) : QBrush(Qt::NoBrush));
    // Keep the whole outline inside the control.
    const qreal inset = m_borderWidth / 2.0;
    const QRectF area = QRectF(rect()).adjusted(inset, inset, -inset, -inset);
    if (m_kind == Kind::Oval) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.drawEllipse(area);
    } else {
        painter.drawRect(area);
    }
}
