#include "workspaceview.h"

#include "photo/facefit.h"
#include "photoframe.h"
#include "widgets/controls.h"
#include "widgets/look.h"
#include "widgets/twips.h"
#include "workspacelayout.h"

#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>

namespace {

const QColor GuideColour(192, 192, 192);
// Below the frame: the gap, the move-down button and the design's margin under it.
constexpr double UnderFrame = 20 + 345 + 210;

struct Button
{
    const char *name;
    QRectF twips;
    const char16_t *caption;
    double points;
    PhotoCommand command;
};
const std::array<Button, 6> Buttons = { {
    { "zoomInButton", QRectF(4170, 5130, 345, 345), u"+", 14.25, PhotoCommand::ZoomIn },
    { "zoomOutButton", QRectF(4170, 5520, 345, 345), u"-", 14.25, PhotoCommand::ZoomOut },
    { "moveUpButton", QRectF(1740, 1020, 1335, 345), u"\u2191", 9.75, PhotoCommand::Up },
    { "moveDownButton", QRectF(1740, 5880, 1335, 345), u"\u2193", 9.75, PhotoCommand::Down },
    { "moveRightButton", QRectF(4170, 2970, 345, 1335), u"\u2192", 9.75, PhotoCommand::Right },
    { "moveLeftButton", QRectF(300, 2970, 345, 1335), u"\u2190", 9.75, PhotoCommand::Left },
} };

} // namespace

WorkspaceView::WorkspaceView(QWidget *client)
    : QObject(client)
    , m_client(client)
    , m_designHeight(client->height())
{
    client->installEventFilter(this);
    m_frame = placeTwips(
        new PhotoFrame(client), QStringLiteral("photoFrame"), QRectF(660, 1380, 3495, 4500));
    m_outline = placeTwips(new ShapeWidget(ShapeWidget::Kind::Rectangle, client),
        QStringLiteral("dropOutline"), QRectF(690, 1410, 3435, 4425));
    m_outline->setBorder(GuideColour, Qt::DashDotLine, 3);
    m_oval = placeTwips(new ShapeWidget(ShapeWidget::Kind::Oval, client),
        QStringLiteral("faceOval"), QRectF(1320, 1950, 2145, 3000));
    m_oval->setBorder(GuideColour, Qt::DashLine);
    m_oval->hide();

    m_dropLabel = placeTwips(
        new QLabel(client), QStringLiteral("dropLabel"), QRectF(1800, 3360, 1215, 555));
    m_dropLabel->setFont(arialFont(11.25));
    setTextColour(m_dropLabel, Look::Text);
    m_dropLabel->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_dropLabel->setWordWrap(true);
    m_dropLabel->setText(QStringLiteral("Drag photo here"));

    for (std::size_t i = 0; i < Buttons.size(); ++i) {
        const Button &b = Buttons[i];
        auto *button = placeTwips(new QPushButton(QString::fromUtf16(b.caption), client),
            QString::fromLatin1(b.name), b.twips);
        button->setFont(arialFont(b.points));
        QPalette palette = button->palette();
        palette.setColor(QPalette::Button, Look::Window);
        palette.setColor(QPalette::ButtonText, Look::Text);
        button->setPalette(palette);
        button->setFocusPolicy(Qt::TabFocus);
        button->setCursor(Qt::PointingHandCursor);
        button->hide();
        connect(button, &QPushButton::pressed, this, [this, c = b.command] { emit held(c); });
        connect(button, &QPushButton::released, this, &WorkspaceView::letGo);
        m_buttons[i] = button;
    }
}

QSizeF WorkspaceView::frameTwips() const
{
    return twipsGeometry(m_frame).size();
}

QSizeF WorkspaceView::framePixels() const
{
    return QSizeF(m_frame->size());
}

void WorkspaceView::resizeFrame(const QSizeF &twips)
{
    m_frame->hide();
    m_oval->hide();
    for (QPushButton *button : m_buttons)
        button->hide();
    resizeTwips(m_frame, twips);
    m_client->setFixedHeight(std::max(
        m_designHeight, twipsToPixels(twipsGeometry(m_frame).top() + twips.height() + UnderFrame)));
}

void WorkspaceView::showHeadMarks(const std::optional<PhotoDocument::HeadMarksShown> &marks)
{
    m_frame->setHeadMarks(marks ? std::optional(marks->hair) : std::nullopt,
        marks ? std::optional(marks->skull) : std::nullopt);
}

void WorkspaceView::place(const FaceRule &rule)
{
    auto size = [this](int button) { return twipsGeometry(m_buttons[button]).size(); };
    WorkspaceLayoutInput input;
    input.frame = twipsGeometry(m_frame);
    input.oval = faceOval(rule, input.frame.size());
    input.outlineWidth = m_outline->borderWidth();
    input.outlineLeft = twipsGeometry(m_outline).left();
    // A long drop text wraps within the outline of a narrow frame.
    fitToText(m_dropLabel, m_frame->geometry().adjusted(8, 8, -8, -8));
    input.dropLabel = twipsGeometry(m_dropLabel).size();
    input.zoomIn = size(0);
    input.zoomOut = size(1);
    input.moveUp = size(2);
    input.moveRight = size(4);
    input.moveUpTop = twipsGeometry(m_buttons[2]).top();
    input.moveLeftLeft = twipsGeometry(m_buttons[5]).left();
    const WorkspacePlacement placement = placeWorkspace(input);

    setTwipsGeometry(m_outline, placement.outline);
    m_outline->show();
    setTwipsGeometry(m_oval, placement.oval);
    moveTwips(m_dropLabel, placement.dropLabel);
    const std::array<QPointF, 6> buttons = { placement.zoomIn, placement.zoomOut, placement.moveUp,
        placement.moveDown, placement.moveRight, placement.moveLeft };
    for (std::size_t i = 0; i < buttons.size(); ++i)
        moveTwips(m_buttons[i], buttons[i]);
    m_frame->setGuides(guideBands(rule));
    m_frame->show();
}

void WorkspaceView::showPhoto(const ClipImage &clip)
{
    m_frame->setClip(clip);
    for (QPushButton *button : m_buttons)
        button->show();
    m_dropLabel->hide();
    m_outline->hide();
    m_oval->show();
}

void WorkspaceView::showClip(const ClipImage &clip)
{
    m_frame->setClip(clip);
}

void WorkspaceView::enableButtons(bool enabled)
{
    for (QPushButton *button : m_buttons)
        button->setEnabled(enabled);
}

void WorkspaceView::setDropText(const QString &text)
{
    // Grown to its text where it stands: the layout places it anew with the next photo.
    const QPoint centre = m_dropLabel->geometry().center();
    m_dropLabel->setText(withoutMnemonic(text));
    fitToText(m_dropLabel);
    moveTwips(m_dropLabel,
        QPointF((centre.x() - m_dropLabel->width() / 2) * TwipsPerPixel,
            twipsGeometry(m_dropLabel).top()));
}

int WorkspaceView::rightEdge() const
{
    int right = m_frame->geometry().right();
    for (const QPushButton *button : m_buttons)
        right = std::max(right, button->geometry().right());
    return right;
}

bool WorkspaceView::takesDrops(const QWidget *child) const
{
    return !child || child == m_frame || child == m_dropLabel;
}

bool WorkspaceView::eventFilter(QObject *watched, QEvent *event)
{
    auto *client = static_cast<QWidget *>(watched);
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        // Only the background, the frame and the drop-zone text take files.
        auto *drag = static_cast<QDragMoveEvent *>(event);
        if (drag->mimeData()->hasUrls() && takesDrops(client->childAt(drag->position().toPoint())))
            drag->acceptProposedAction();
        else
            drag->ignore();
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        const QList<QUrl> urls = drop->mimeData()->urls();
        if (urls.isEmpty() || !takesDrops(client->childAt(drop->position().toPoint())))
            return true; // a drop without a file list is ignored
        drop->acceptProposedAction();
        emit photoDropped(urls.first().toLocalFile());
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}
