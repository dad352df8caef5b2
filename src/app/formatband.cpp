#include "formatband.h"

#include "photo/photoformat.h"
#include "widgets/controls.h"
#include "widgets/look.h"
#include "widgets/twips.h"

#include <QLabel>
#include <QRadioButton>

namespace {
const QColor BandColour(92, 92, 92);
const QColor CaptionColour(192, 192, 192);
} // namespace

FormatBand::FormatBand(QWidget *client)
    : QObject(client)
{
    auto *band = placeTwips(new ShapeWidget(ShapeWidget::Kind::Rectangle, client),
        QStringLiteral("Shape3"), QRectF(-30, 0, 10035, 765));
    band->setBorder(Qt::black);
    band->setFill(BandColour);
    auto *arrows
        = placeTwips(new QLabel(client), QStringLiteral("Image2"), QRectF(60, 60, 630, 645));
    arrows->setPixmap(QPixmap(QStringLiteral(":/main/arrows.png")));
    arrows->setAttribute(Qt::WA_TransparentForMouseEvents);

    static constexpr std::array<double, 5> optionLefts = { 930, 2670, 4470, 6240, 7980 };
    static constexpr std::array<double, 5> captionLefts = { 1230, 2970, 4770, 6540, 8250 };
    for (int i = 0; i < PhotoFormatCount; ++i) {
        Option1[i] = placeTwips(new QRadioButton(client), indexedName("Option1", i),
            QRectF(optionLefts[i], 240, 225, 285));
        setBackground(Option1[i], BandColour);
        Option1[i]->setCursor(Qt::PointingHandCursor);
        Label3[i] = placeTwips(new QLabel(client), indexedName("Label3", i),
            QRectF(captionLefts[i], 240, i == 4 ? 735 : 1215, 270));
        Label3[i]->setFont(arialFont(12));
        setTextColour(Label3[i], CaptionColour);
        setCaption(Label3[i], QString::fromLatin1(PhotoFormats[i].caption));
        connect(Option1[i], &QRadioButton::clicked, this, [this, i] { emit clicked(i); });
    }
    Option1[1]->setChecked(true);
    NormalLabelColour = textColour(Label3[0]);
}

int FormatBand::selected() const
{
    for (int i = 0; i < PhotoFormatCount; ++i) {
        if (Option1[i]->isChecked())
            return i;
    }
    return -1;
}

void FormatBand::mark(int index)
{
    Option1[index]->setChecked(true);
    for (int k = 0; k < PhotoFormatCount; ++k) {
        setTextColour(Label3[k], k == index ? Look::Bright : NormalLabelColour);
        QFont font = Label3[k]->font();
        font.setBold(k == index);
        Label3[k]->setFont(font);
        autoSizeTwips(Label3[k]);
    }
}
