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
        QStringLiteral("bandFrame"), QRectF(-30, 0, 10035, 765));
    band->setBorder(Qt::black);
    band->setFill(BandColour);
    auto *arrows
        = placeTwips(new QLabel(client), QStringLiteral("bandIcon"), QRectF(60, 60, 630, 645));
    arrows->setPixmap(QPixmap(QStringLiteral(":/main/arrows.png")));
    arrows->setAttribute(Qt::WA_TransparentForMouseEvents);
    placeTwips(new ShapeWidget(ShapeWidget::Kind::HorizontalLine, client),
        QStringLiteral("bandUnderline"), QRectF(0, 750, 9930, 15))
        ->setBorder(Look::Line);

    static constexpr std::array<double, 5> optionLefts = { 930, 2670, 4470, 6240, 7980 };
    static constexpr std::array<double, 5> captionLefts = { 1230, 2970, 4770, 6540, 8250 };
    for (int i = 0; i < PhotoFormatCount; ++i) {
        buttons[i] = placeTwips(new QRadioButton(client), QStringLiteral("formatButton%1").arg(i),
            QRectF(optionLefts[i], 240, 225, 285));
        setBackground(buttons[i], BandColour);
        buttons[i]->setCursor(Qt::PointingHandCursor);
        // The caption is the larger target: a click on it chooses as the option's does.
        auto *caption = placeTwips(new LinkLabel(client), QStringLiteral("formatCaption%1").arg(i),
            QRectF(captionLefts[i], 240, i == 4 ? 735 : 1215, 270));
        caption->setCursor(Qt::PointingHandCursor);
        connect(caption, &LinkLabel::clicked, this, [this, i] { emit clicked(i); });
        captions[i] = caption;
        captions[i]->setFont(arialFont(12));
        setTextColour(captions[i], CaptionColour);
        setCaption(captions[i], QString::fromLatin1(PhotoFormats[i].caption));
        connect(buttons[i], &QRadioButton::clicked, this, [this, i] { emit clicked(i); });
    }
    buttons[1]->setChecked(true);
    m_normalCaptionColour = textColour(captions[0]);
    documentCaption = placeTwips(
        new QLabel(client), QStringLiteral("documentCaption"), QRectF(930, 780, 8800, 240));
    documentCaption->setFont(arialFont(8.25, true));
    setTextColour(documentCaption, Look::Text);
    documentCaption->hide();
}

void FormatBand::setDocumentCaption(const QString &text)
{
    documentCaption->setText(text);
    documentCaption->setVisible(!text.isEmpty());
}

int FormatBand::selected() const
{
    for (int i = 0; i < PhotoFormatCount; ++i) {
        if (buttons[i]->isChecked())
            return i;
    }
    return -1;
}

void FormatBand::mark(int index)
{
    for (int k = 0; k < PhotoFormatCount; ++k) {
        // Exclusive buttons cannot all be cleared otherwise.
        buttons[k]->setAutoExclusive(index >= 0);
        buttons[k]->setChecked(k == index);
        buttons[k]->setAutoExclusive(true);
    }
    for (int k = 0; k < PhotoFormatCount; ++k) {
        setTextColour(captions[k], k == index ? Look::Bright : m_normalCaptionColour);
        QFont font = captions[k]->font();
        font.setBold(k == index);
        captions[k]->setFont(font);
        autoSizeTwips(captions[k]);
    }
}
