#include "checknote.h"

#include "i18n/texttable.h"
#include "widgets/look.h"

#include <QLocale>

#include <cmath>

namespace {

TextId textOf(PhotoCheck check)
{
    switch (check) {
    case PhotoCheck::NoSingleFace:
        return TextId::NoSingleFace;
    case PhotoCheck::FaceTurned:
        return TextId::FaceTurned;
    case PhotoCheck::NoRoomAboveHead:
        return TextId::NoRoomAboveHead;
    case PhotoCheck::NoRoomAroundHead:
        return TextId::NoRoomAroundHead;
    case PhotoCheck::HeadHeightToSkull:
        return TextId::HeadToCrown;
    case PhotoCheck::HeadHeightToHair:
        return TextId::HeadToHair;
    case PhotoCheck::TopPlace:
        return TextId::CrownPlace;
    case PhotoCheck::EyeLinePlace:
        return TextId::EyeLinePlace;
    case PhotoCheck::HeadTopNotFound:
        return TextId::HeadTopNotFound;
    case PhotoCheck::FaceTooSmallToMeasure:
        return TextId::FaceTooSmallToMeasure;
    case PhotoCheck::FaceNearEdge:
        return TextId::FaceNearEdge;
    case PhotoCheck::HeadTilted:
        return TextId::HeadTilted;
    case PhotoCheck::HeadTurned:
        return TextId::HeadTurned;
    case PhotoCheck::HeadRaised:
        return TextId::HeadRaised;
    case PhotoCheck::HeadLowered:
        return TextId::HeadLowered;
    case PhotoCheck::EyesClosed:
        return TextId::EyesLookClosed;
    case PhotoCheck::MouthOpen:
        return TextId::MouthOpen;
    case PhotoCheck::TeethShowing:
        return TextId::TeethShowing;
    case PhotoCheck::FaceTooDark:
        return TextId::FaceTooDark;
    case PhotoCheck::FaceTooBright:
        return TextId::FaceTooBright;
    case PhotoCheck::LitFromOneSide:
        return TextId::FaceLitFromOneSide;
    case PhotoCheck::BackgroundNotPlain:
        return TextId::BackgroundUneven;
    case PhotoCheck::BackgroundTooDark:
        return TextId::BackgroundDarkMeasured;
    case PhotoCheck::BackgroundColoured:
        return TextId::BackgroundColoured;
    case PhotoCheck::BackgroundWhite:
        return TextId::BackgroundWhiteForbidden;
    }
    return TextId::NoSingleFace;
}

// The line with its figures, in the user's locale: millimetres, degrees and levels with one
// decimal; the eyes' opening, a share of a few tenths, with two.
// The wall above the head could not be continued: why, when the fit said.
TextId noRoomText(const CheckFailure &failure)
{
    using Refusal = BackgroundExtension::Refusal;
    if (failure.value == 1 + int(Refusal::NotPlain))
        return TextId::NoRoomWallNotPlain;
    if (failure.value == 1 + int(Refusal::PersonAtEdge))
        return TextId::NoRoomHairAtEdge;
    if (failure.value == 1 + int(Refusal::LikeHair))
        return TextId::NoRoomWallLikeHair;
    return TextId::NoRoomAboveHead;
}

QString line(const CheckFailure &failure, const TextTable &texts, const QString &background)
{
    const QString text = texts.text(
        failure.check == PhotoCheck::NoRoomAboveHead ? noRoomText(failure) : textOf(failure.check));
    const QLocale locale;
    const auto figure = [&locale](double value, int decimals = 1) {
        return locale.toString(value, 'f', decimals);
    };
    switch (failure.check) {
    case PhotoCheck::HeadHeightToSkull:
    case PhotoCheck::HeadHeightToHair:
    case PhotoCheck::TopPlace:
    case PhotoCheck::EyeLinePlace:
        return text.arg(figure(failure.value), figure(failure.least), figure(failure.most));
    case PhotoCheck::HeadTilted:
    case PhotoCheck::HeadTurned:
    case PhotoCheck::HeadRaised:
    case PhotoCheck::HeadLowered:
        return text.arg(figure(std::abs(failure.value)));
    case PhotoCheck::EyesClosed:
        return text.arg(figure(failure.value, 2));
    case PhotoCheck::BackgroundNotPlain:
        return text.arg(figure(failure.value), figure(failure.most));
    case PhotoCheck::NoRoomAboveHead:
        return noRoomText(failure) == TextId::NoRoomWallNotPlain
            ? text.arg(figure(failure.least), figure(failure.most))
            : text;
    case PhotoCheck::BackgroundTooDark:
        return text.arg(figure(failure.value), figure(failure.least));
    case PhotoCheck::BackgroundWhite:
        return text.arg(background);
    default:
        return text;
    }
}

} // namespace

QString CheckNote::wallKept(const BackgroundReplacement::Why &why, const TextTable &texts)
{
    using Refusal = BackgroundReplacement::Refusal;
    const QLocale locale;
    switch (why.refusal) {
    case Refusal::NotPlain:
        return texts.text(TextId::ReplacementNotPlain)
            .arg(locale.toString(why.figure, 'f', 1), locale.toString(why.limit, 'f', 1));
    case Refusal::LikePerson:
        return texts.text(TextId::ReplacementLikePerson);
    case Refusal::TooLittleWall:
        return texts.text(TextId::ReplacementTooLittleWall);
    case Refusal::NoFace:
        break;
    }
    return texts.text(TextId::ReplacementNoFace);
}

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
        display(m_shown, m_softDpi);
}

QStringList CheckNote::lines(
    const std::vector<CheckFailure> &failures, const TextTable &texts, const QString &background)
{
    QStringList lines;
    for (const CheckFailure &failure : failures)
        lines.append(line(failure, texts, background));
    if (lines.isEmpty())
        lines.append(texts.text(TextId::ChecksPassed));
    return lines;
}

void CheckNote::display(const std::vector<CheckFailure> &failures, std::optional<int> softDpi)
{
    m_shown = failures;
    m_softDpi = softDpi;
    QStringList shown;
    if (softDpi)
        shown.append(m_texts.text(TextId::ResolutionNote).arg(*softDpi));
    if (!failures.empty() || !softDpi)
        shown += lines(failures, m_texts, m_background);
    const bool passed = failures.empty() && !softDpi;
    setTextColour(this, passed ? QColor(110, 220, 120) : QColor(255, 120, 100));
    setText(shown.join(u'\n'));
    // The room's whole width, as high as its wrapped lines; many lines take a smaller font
    // rather than run out of the room.
    int height = 0;
    for (const double points : { 9.75, 9.0, 8.25, 7.5 }) {
        setFont(arialFont(points, true));
        height = fontMetrics()
                     .boundingRect(QRect(0, 0, m_room.width(), 1 << 20),
                         int(alignment()) | Qt::TextWordWrap, text())
                     .height();
        if (height <= m_room.height())
            break;
    }
    setGeometry(m_room.left(), m_room.top(), m_room.width(), std::min(height, m_room.height()));
    QLabel::show();
}
