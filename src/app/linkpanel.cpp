#include "linkpanel.h"

#include "i18n/texttable.h"
#include "widgets/controls.h"
#include "widgets/look.h"
#include "widgets/twips.h"

#include <QAction>

namespace {

struct Link
{
    QRectF picture;
    const char *image;
    QRectF label;
    const char *caption;
};

const std::array<Link, 4> Links = { {
    { QRectF(6780, 1110, 480, 420), ":/main/folder.png", QRectF(7470, 1170, 1455, 315),
        "Open Photo..." },
    { QRectF(6720, 2100, 600, 510), ":/main/printer.png", QRectF(7470, 2220, 660, 270),
        "Print..." },
    { QRectF(8220, 6360, 1380, 390), ":/main/donate.png", QRectF(8520, 5940, 765, 270), "Donate" },
    { QRectF(6780, 3060, 510, 570), ":/main/smiley.png", QRectF(7470, 3210, 540, 270), "Info..." },
} };

} // namespace

LinkPanel::LinkPanel(QWidget *client, const std::array<QAction *, 4> &commands)
    : QObject(client)
{
    for (int i = 0; i < 4; ++i) {
        Image5[i] = placeTwips(new LinkLabel(client), indexedName("Image5", i), Links[i].picture);
        Image5[i]->setPixmap(QPixmap(QString::fromLatin1(Links[i].image)));
        Label2[i] = placeTwips(new LinkLabel(client), indexedName("Label2", i), Links[i].label);
        Label2[i]->setFont(arialFont(12));
        setTextColour(Label2[i], Look::Line);
        setCaption(Label2[i], QString::fromLatin1(Links[i].caption));
        for (LinkLabel *link : { Label2[i], Image5[i] }) {
            link->setCursor(Qt::PointingHandCursor);
            connect(link, &LinkLabel::hovered, this, [this, i] { HighlightLink(i); });
            connect(link, &LinkLabel::clicked, commands[i], &QAction::trigger);
        }
    }
    // The donation link stays in the design but is never shown.
    Label2[2]->hide();
    Image5[2]->hide();
}

void LinkPanel::applyTexts(const TextTable &texts)
{
    for (const auto &[link, id] : { std::pair { 0, TextId::OpenPhoto },
             std::pair { 1, TextId::PrintPhoto }, std::pair { 3, TextId::Info } }) {
        Label2[link]->setText(withoutMnemonic(texts.text(id)));
        fitToText(Label2[link]);
    }
    Image5[2]->setToolTip(plainToolTip(u' ' + texts.text(TextId::DonateHint) + u' '));
}

void LinkPanel::HighlightLink(int index)
{
    for (int k = 0; k < 4; ++k) {
        const QColor wanted = k == index ? Look::Bright : Look::Line;
        if (textColour(Label2[k]) == wanted)
            continue;
        setTextColour(Label2[k], wanted);
        QFont font = Label2[k]->font();
        font.setBold(k == index);
        Label2[k]->setFont(font);
        fitToText(Label2[k]);
    }
}
