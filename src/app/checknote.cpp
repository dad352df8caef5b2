#include "checknote.h"

#include "i18n/texttable.h"
#include "widgets/look.h"

namespace {

TextId textOf(PhotoCheck check)
{
    switch (check) {
    case PhotoCheck::NoSingleFace:
        return TextId::NoSingleFace;
    case PhotoCheck::FaceTurned:
        return TextId::FaceTurned;
    case PhotoCheck::HeadTilted:
        return TextId::HeadTilted;
    case PhotoCheck::HeadOutsideRule:
        return TextId::HeadOutsideRule;
    case PhotoCheck::FaceNearEdge:
        return TextId::FaceNearEdge;
    case PhotoCheck::EyesClosed:
        return TextId::EyesClosed;
    case PhotoCheck::FaceTooDark:
        return TextId::FaceTooDark;
    case PhotoCheck::FaceTooBright:
        return TextId::FaceTooBright;
    case PhotoCheck::LitFromOneSide:
        return TextId::FaceLitFromOneSide;
    case PhotoCheck::BackgroundNotPlain:
        return TextId::BackgroundNotPlain;
    case PhotoCheck::BackgroundTooDark:
        return TextId::BackgroundTooDark;
    }
    return TextId::NoSingleFace;
}

} // namespace

CheckNote::CheckNote(const TextTable &texts, QWidget *parent)
    : QLabel(parent)
    , m_texts(texts)
{
    setObjectName(QStringLiteral("checkNote"));
    setTextFormat(Qt::PlainText);
    setFont(arialFont(9.75, true));
    setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    setWordWrap(true);
    // Nothing is checked before a photo's face search has ended.
    hide();
}

void CheckNote::clear()
{
    m_shown.clear();
    setText(QString());
    hide();
}

void CheckNote::setRoom(const QRect &room)
{
    m_room = room;
    if (isVisible())
        display(m_shown);
}

QStringList CheckNote::lines(const std::vector<CheckFailure> &failures, const TextTable &texts)
{
    QStringList lines;
    for (const CheckFailure &failure : failures) {
        QString line = texts.text(textOf(failure.check));
        if (failure.check == PhotoCheck::HeadTilted)
            line = line.arg(std::abs(failure.value), 0, 'f', 1);
        lines.append(line);
    }
    if (lines.isEmpty())
        lines.append(texts.text(TextId::ChecksPassed));
    return lines;
}

void CheckNote::display(const std::vector<CheckFailure> &failures)
{
    m_shown = failures;
    setTextColour(this, failures.empty() ? QColor(110, 220, 120) : QColor(255, 120, 100));
    setText(lines(failures, m_texts).join(u'\n'));
    // The room's whole width, as high as its wrapped lines.
    const int height = fontMetrics()
                           .boundingRect(QRect(0, 0, m_room.width(), 1 << 20),
                               int(alignment()) | Qt::TextWordWrap, text())
                           .height();
    setGeometry(m_room.left(), m_room.top(), m_room.width(), std::min(height, m_room.height()));
    QLabel::show();
}
