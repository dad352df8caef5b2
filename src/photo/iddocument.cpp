#include "iddocument.h"

#include "platform/units.h"

#include <QLocale>

#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <QStringList>

#include <algorithm>
#include <array>
#include <cmath>

std::optional<QRgb> IdDocument::backgroundColour() const
{
    QString words = background.toLower();
    const bool white = words.remove(QStringLiteral("off-white")).contains(u"white");
    // White first where it is allowed: it meets every office that takes it; grey before the
    // tints, which the check of the background's colour would refuse.
    if (!whiteForbidden && white)
        return WhiteWall;
    if (!whiteForbidden && background.contains(u"off-white", Qt::CaseInsensitive))
        return qRgb(245, 243, 236);
    if (words.contains(u"grey") || words.contains(u"light"))
        return LightGreyWall;
    if (words.contains(u"cream"))
        return qRgb(243, 236, 216);
    return std::nullopt;
}

QSizeF IdDocument::printMm() const
{
    switch (unit) {
    case SizeUnit::Millimetre:
        return size;
    case SizeUnit::Inch:
        return size * Units::MillimetresPerInch;
    case SizeUnit::Pixel:
        if (!(size.height() > 0))
            return {};
        return QSizeF(DigitalPrintHeight * size.width() / size.height(), DigitalPrintHeight);
    }
    return {};
}

QSize IdDocument::pixels() const
{
    if (unit != SizeUnit::Pixel)
        return {};
    return QSize(int(std::lround(size.width())), int(std::lround(size.height())));
}

int IdDocument::bandFormat() const
{
    if (isDigital())
        return -1;
    const QSizeF mm = printMm();
    for (int i = 0; i < PhotoFormatCount; ++i) {
        // Hundredths of a millimetre, the frame's own unit, tell the sizes apart.
        if (std::lround(mm.width() * Units::TwipsPerMillimetre) == PhotoFormats[i].frameWidth
            && std::lround(mm.height() * Units::TwipsPerMillimetre) == PhotoFormats[i].frameHeight)
            return i;
    }
    return -1;
}

IdDocument formatDocument(int formatIndex)
{
    const PhotoFormat &format = PhotoFormats[std::clamp(formatIndex, 0, PhotoFormatCount - 1)];
    IdDocument document;
    document.name = QString::fromLatin1(format.caption);
    const bool inches = document.name.endsWith(QLatin1String(" in"));
    document.unit = inches ? SizeUnit::Inch : SizeUnit::Millimetre;
    const double perUnit = Units::TwipsPerMillimetre * (inches ? Units::MillimetresPerInch : 1.0);
    document.size = QSizeF(format.frameWidth / perUnit, format.frameHeight / perUnit);
    document.rule = format.faceRule;
    // The offices these sizes stand for want the mouth closed.
    document.teethAllowed = false;
    // The US visa and passport portals take 2 x 2 in as a square of 600 to 1200 pixels under
    // 240 KB.
    if (inches)
        document.file = FileRule { 600, 1200, 0, 240 };
    return document;
}

QSizeF frameTwipsFor(const QSizeF &printMm)
{
    const QSizeF twips = printMm * Units::TwipsPerMillimetre;
    if (twips.width() <= LargestFrameWidth && twips.height() <= LargestFrameHeight)
        return twips;
    return twips.scaled(QSizeF(LargestFrameWidth, LargestFrameHeight), Qt::KeepAspectRatio);
}

QString sizeText(const IdDocument &document, const QLocale &locale)
{
    const char *unit = document.unit == SizeUnit::Pixel ? "px"
        : document.unit == SizeUnit::Inch               ? "in"
                                                        : "mm";
    auto number = [&locale](double value) {
        return locale.toString(value, 'g', QLocale::FloatingPointShortest);
    };
    return number(document.size.width()) + QStringLiteral(" x ") + number(document.size.height())
        + u' ' + QLatin1String(unit);
}

namespace {
constexpr double TargetSlack = 0.04;
constexpr double AnchorSlack = 0.02;
constexpr double RoomAboveShare = 0.4;

// A range as shares; a single value gets `slack` either side.
std::pair<double, double> shares(double least, double most, double height, double slack)
{
    if (least > most)
        std::swap(least, most);
    if (least == most)
        return { least / height - slack, most / height + slack };
    return { least / height, most / height };
}
} // namespace

std::optional<FaceRule> faceRuleFor(double height, const HeadRuleFacts &facts, double width)
{
    if (!(height > 0))
        return std::nullopt;
    const double scale = facts.percent ? 100.0 : height;
    // Only the head's shares are taken from these; the facts below set the anchor.
    FaceRule rule = width == height ? SquareFaceRule : PortraitFaceRule;
    rule.top = facts.measure == HeadMeasure::Hair ? FaceRule::Top::Hair : FaceRule::Top::Skull;
    if (facts.headMax > 0) {
        const auto [least, most] = shares(facts.headMin, facts.headMax, scale, TargetSlack);
        rule.headMin = least;
        rule.headMax = most;
        rule.headTarget = (facts.headMin + facts.headMax) / 2 / scale;
    }
    if (!(rule.headMin > 0) || rule.headMax >= 1 || rule.headTarget >= 1)
        return std::nullopt;
    if (facts.eyeFromBottomMax > 0) {
        const auto [least, most]
            = shares(facts.eyeFromBottomMin, facts.eyeFromBottomMax, scale, AnchorSlack);
        rule.anchor = FaceRule::Anchor::EyeLine;
        rule.anchorMin = least;
        rule.anchorMax = most;
        rule.anchorTarget = (facts.eyeFromBottomMin + facts.eyeFromBottomMax) / 2 / scale;
        // The eyes lie about midway up the head, which must stay inside the photo.
        if (rule.anchorTarget >= 1 || rule.anchorTarget + rule.headTarget / 2 > 1
            || rule.anchorTarget < rule.headTarget / 2)
            return std::nullopt;
        return rule;
    }
    rule.anchor = FaceRule::Anchor::Crown;
    if (facts.topMarginMax > 0) {
        const auto [least, most]
            = shares(facts.topMarginMin, facts.topMarginMax, scale, AnchorSlack);
        rule.anchorMin = std::max(0.0, least);
        rule.anchorMax = most;
        rule.anchorTarget = (facts.topMarginMin + facts.topMarginMax) / 2 / scale;
    } else {
        rule.anchorTarget = RoomAboveShare * (1 - rule.headTarget);
        rule.anchorMin = std::max(0.0, rule.anchorTarget - AnchorSlack);
        rule.anchorMax = rule.anchorTarget + AnchorSlack;
    }
    if (rule.anchorTarget + rule.headTarget > 1)
        return std::nullopt;
    return rule;
}

std::optional<IdDocument> customDocument(
    const QSizeF &size, SizeUnit unit, double headMin, double headMax)
{
    if (unit == SizeUnit::Pixel)
        return std::nullopt;
    IdDocument document;
    auto number = [](double value) { return QString::number(value, 'g', 6); };
    document.id = QStringList { QStringLiteral("custom"), number(size.width()),
        number(size.height()), QLatin1String(unit == SizeUnit::Inch ? "in" : "mm"), number(headMin),
        number(headMax) }
                      .join(u' ');
    document.size = size;
    document.unit = unit;
    const QSizeF mm = document.printMm();
    if (!(mm.width() >= SmallestCustomMm && mm.height() >= SmallestCustomMm
            && mm.width() <= LargestPrintMm && mm.height() <= LargestPrintMm)
        || !(headMin > 0) || headMin > headMax)
        return std::nullopt;
    const std::optional<FaceRule> rule
        = faceRuleFor(size.height(), HeadRuleFacts { headMin, headMax }, size.width());
    if (!rule)
        return std::nullopt;
    document.rule = *rule;
    document.headTarget = headMin == headMax;
    return document;
}

int documentKinds(const QString &name, SizeUnit unit)
{
    int kinds = 0;
    auto has = [&name](const char *word) {
        return name.contains(QLatin1String(word), Qt::CaseInsensitive);
    };
    if (has("passport"))
        kinds |= PassportKind;
    if (has("visa") || has("permit") || has("residence") || has("green card"))
        kinds |= VisaKind;
    if (has("ID card") || has("eID") || has("identity") || has("DNI") || has("RG/") || has("NICOP")
        || has("Emirates ID"))
        kinds |= IdCardKind;
    if (has("driving") || has("licence"))
        kinds |= DrivingLicenceKind;
    if (unit == SizeUnit::Pixel || has("online") || has("digital") || has("e-visa") || has("evisa"))
        kinds |= OnlineKind;
    return kinds;
}

QString countryName(const QString &code, const QString &languageCode)
{
    const QByteArray region = code.toLatin1();
    icu::UnicodeString name;
    icu::Locale(nullptr, region.constData())
        .getDisplayCountry(icu::Locale(languageCode.toLatin1().constData()), name);
    // ICU gives the code back where it has no name for it.
    if (name.isEmpty())
        return code;
    return QString(reinterpret_cast<const QChar *>(name.getBuffer()), name.length());
}

std::optional<IdDocument> customDocument(const QString &id)
{
    const QStringList parts = id.split(u' ', Qt::SkipEmptyParts);
    if (parts.size() != 6 || parts[0] != QLatin1String("custom")
        || (parts[3] != QLatin1String("mm") && parts[3] != QLatin1String("in")))
        return std::nullopt;
    std::array<double, 4> values {};
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        values[i] = parts[i < 2 ? i + 1 : i + 2].toDouble(&ok);
        if (!ok)
            return std::nullopt;
    }
    return customDocument(QSizeF(values[0], values[1]),
        parts[3] == QLatin1String("in") ? SizeUnit::Inch : SizeUnit::Millimetre, values[2],
        values[3]);
}
