#include "linkpanel.h"

#include "i18n/texttable.h"
#include "widgets/controls.h"
#include "widgets/look.h"
#include "widgets/twips.h"

#include <QAction>
#include <QEvent>

namespace {

struct Link
{
    const char *name;
    QRectF picture;
    const char *image;
    QRectF label;
    const char *caption;
};

const std::array<Link, 4> Links = { {
    { "openLink", QRectF(6780, 1110, 480, 420), ":/main/folder.png", QRectF(7470, 1170, 1455, 315),
        "Open Photo..." },
    { "printLink", QRectF(6720, 2100, 600, 510), ":/main/printer.png", QRectF(7470, 2220, 660, 270),
        "Print..." },
    { "donateLink", QRectF(8220, 6360, 1380, 390), ":/main/donate.png",
        QRectF(8520, 5940, 765, 270), "Donate" },
    { "aboutLink", QRectF(6780, 3060, 510, 570), ":/main/smiley.png", QRectF(7470, 3210, 540, 270),
        "Info..." },
} };

} // namespace

LinkPanel::LinkPanel(QWidget *client, const std::array<QAction *, 4> &commands)
    : QObject(client)
{
    for (const auto &[name, twips] : { std::pair { "linkPanelEdge", QRectF(6420, 750, 15, 3110) },
             { "openSeparator", QRectF(6420, 1830, 3780, 15) },
             { "printSeparator", QRectF(6420, 2850, 3780, 15) },
             { "aboutSeparator", QRectF(6420, 3840, 3780, 15) } })
        placeTwips(
            new ShapeWidget(twips.width() < twips.height() ? ShapeWidget::Kind::VerticalLine
                                                           : ShapeWidget::Kind::HorizontalLine,
                client),
            QString::fromLatin1(name), twips)
            ->setBorder(Look::Line);
    // The pointer on the window's background dims every link.
    client->installEventFilter(this);
    for (int i = 0; i < 4; ++i) {
        icons[i] = placeTwips(new LinkLabel(client),
            QString::fromLatin1(Links[i].name) + QStringLiteral("Icon"), Links[i].picture);
        icons[i]->setPixmap(QPixmap(QString::fromLatin1(Links[i].image)));
        captions[i]
            = placeTwips(new LinkLabel(client), QString::fromLatin1(Links[i].name), Links[i].label);
        captions[i]->setFont(arialFont(12));
        setTextColour(captions[i], Look::Line);
        setCaption(captions[i], QString::fromLatin1(Links[i].caption));
        for (LinkLabel *link : { captions[i], icons[i] }) {
            link->setCursor(Qt::PointingHandCursor);
            connect(link, &LinkLabel::hovered, this, [this, i] { highlightLink(i); });
            connect(link, &LinkLabel::clicked, commands[i], &QAction::trigger);
        }
    }
    // The donation link stays in the design but is never shown.
    captions[2]->hide();
    icons[2]->hide();
}

void LinkPanel::applyTexts(const TextTable &texts)
{
    for (const auto &[link, id] : { std::pair { 0, TextId::OpenPhoto },
             std::pair { 1, TextId::PrintPhoto }, std::pair { 3, TextId::Info } }) {
        captions[link]->setText(withoutMnemonic(texts.text(id)));
        fitToText(captions[link]);
    }
    icons[2]->setToolTip(plainToolTip(u' ' + texts.text(TextId::DonateHint) + u' '));
}

void LinkPanel::highlightLink(int index)
{
    for (int k = 0; k < 4; ++k) {
        const QColor wanted = k == index ? Look::Bright : Look::Line;
        if (textColour(captions[k]) == wanted)
            continue;
        setTextColour(captions[k], wanted);
        QFont font = captions[k]->font();
        font.setBold(k == index);
        captions[k]->setFont(font);
        fitToText(captions[k]);
    }
}

bool LinkPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove)
        highlightLink(-1);
    return QObject::eventFilter(watched, event);
}
