#include "workspaceview.h"

#include "photo/workspacelayout.h"
#include "photoframe.h"
#include "widgets/controls.h"
#include "widgets/look.h"
#include "widgets/twips.h"

#include <QPushButton>

namespace {

const QColor GuideColour(192, 192, 192);

struct Button
{
    const char *name;
    QRectF twips;
    const char16_t *caption;
    double points;
    PhotoCommand command;
};
const std::array<Button, 6> Buttons = { {
    { "Command3", QRectF(4170, 5130, 345, 345), u"+", 14.25, PhotoCommand::ZoomIn },
    { "Command4", QRectF(4170, 5520, 345, 345), u"-", 14.25, PhotoCommand::ZoomOut },
    { "Command5", QRectF(1740, 1020, 1335, 345), u"\u2191", 9.75, PhotoCommand::Up },
    { "Command6", QRectF(1740, 5880, 1335, 345), u"\u2193", 9.75, PhotoCommand::Down },
    { "Command7", QRectF(4170, 2970, 345, 1335), u"\u2192", 9.75, PhotoCommand::Right },
    { "Command8", QRectF(300, 2970, 345, 1335), u"\u2190", 9.75, PhotoCommand::Left },
} };

} // namespace

WorkspaceView::WorkspaceView(QWidget *client)
    : QObject(client)
{
    Image1 = placeTwips(
        new PhotoFrame(client), QStringLiteral("Image1"), QRectF(660, 1380, 3495, 4500));
    Shape1 = placeTwips(new ShapeWidget(ShapeWidget::Kind::Rectangle, client),
        QStringLiteral("Shape1"), QRectF(690, 1410, 3435, 4425));
    Shape1->setBorder(GuideColour, Qt::DashDotLine, 3);
    Shape2 = placeTwips(new ShapeWidget(ShapeWidget::Kind::Oval, client), QStringLiteral("Shape2"),
        QRectF(1320, 1950, 2145, 3000));
    Shape2->setBorder(GuideColour, Qt::DashLine);
    Shape2->hide();

    Label1
        = placeTwips(new QLabel(client), QStringLiteral("Label1"), QRectF(1800, 3360, 1215, 555));
    Label1->setFont(arialFont(11.25));
    setTextColour(Label1, Look::Text);
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label1->setWordWrap(true);
    Label1->setText(QStringLiteral("Drag photo here"));

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
    return twipsGeometry(Image1).size();
}

QSizeF WorkspaceView::framePixels() const
{
    return QSizeF(Image1->size());
}

void WorkspaceView::resizeFrame(const QSizeF &twips)
{
    Image1->hide();
    Shape2->hide();
    for (QPushButton *button : m_buttons)
        button->hide();
    resizeTwips(Image1, twips);
}

void WorkspaceView::place()
{
    auto size = [this](int button) { return twipsGeometry(m_buttons[button]).size(); };
    WorkspaceLayoutInput input;
    input.frame = twipsGeometry(Image1);
    input.outlineWidth = Shape1->borderWidth();
    input.shape1Left = twipsGeometry(Shape1).left();
    input.label1 = twipsGeometry(Label1).size();
    input.command3 = size(0);
    input.command4 = size(1);
    input.command5 = size(2);
    input.command7 = size(4);
    input.command5Top = twipsGeometry(m_buttons[2]).top();
    input.command8Left = twipsGeometry(m_buttons[5]).left();
    const WorkspacePlacement placement = placeWorkspace(input);

    setTwipsGeometry(Shape1, placement.shape1);
    Shape1->show();
    setTwipsGeometry(Shape2, placement.shape2);
    moveTwips(Label1, placement.label1);
    const std::array<QPointF, 6> buttons = { placement.command3, placement.command4,
        placement.command5, placement.command6, placement.command7, placement.command8 };
    for (std::size_t i = 0; i < buttons.size(); ++i)
        moveTwips(m_buttons[i], buttons[i]);
    Image1->show();
}

void WorkspaceView::showPhoto(const ClipImage &clip)
{
    Image1->setClip(clip);
    for (QPushButton *button : m_buttons)
        button->show();
    Label1->hide();
    Shape1->hide();
    Shape2->show();
}

void WorkspaceView::showClip(const ClipImage &clip)
{
    Image1->setClip(clip);
}

void WorkspaceView::setDropText(const QString &text)
{
    // Grown to its text where it stands: the layout places it anew with the next photo.
    const QPoint centre = Label1->geometry().center();
    Label1->setText(withoutMnemonic(text));
    fitToText(Label1);
    moveTwips(Label1,
        QPointF((centre.x() - Label1->width() / 2) * TwipsPerPixel, twipsGeometry(Label1).top()));
}

int WorkspaceView::rightEdge() const
{
    int right = Image1->geometry().right();
    for (const QPushButton *button : m_buttons)
        right = std::max(right, button->geometry().right());
    return right;
}

bool WorkspaceView::takesDrops(const QWidget *child) const
{
    return !child || child == Image1 || child == Label1;
}
