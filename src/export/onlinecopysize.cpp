#include "onlinecopysize.h"

#include "platform/rounding.h"
#include "platform/units.h"

#include <QRegularExpression>

#include <algorithm>
#include <cstdlib>

namespace {

double printInches(int twips)
{
    return twips / Units::TwipsPerMillimetre / Units::MillimetresPerInch;
}

bool fitsSide(int pixels)
{
    return pixels >= 1 && pixels <= OnlineCopyLargestSide;
}

int heightForWidth(int width, const PhotoFormat &format)
{
    return int(roundHalfEven(double(width) * format.frameHeight / format.frameWidth));
}

} // namespace

OnlineCopyDefaults defaultOnlineCopy(const PhotoFormat &format, const QSize &ownPixels)
{
    for (const OnlineCopyRule &rule : OnlineCopyRules) {
        if (rule.frameWidth != format.frameWidth || rule.frameHeight != format.frameHeight)
            continue;
        // The widest copy that enlarges neither side, within the rule.
        const qint64 own = std::min<qint64>(
            ownPixels.width(), qint64(ownPixels.height()) * format.frameWidth / format.frameHeight);
        const int width = int(std::clamp<qint64>(own, rule.smallestWidth, rule.largestWidth));
        return { QSize(width, heightForWidth(width, format)), rule.limitKb };
    }
    return { QSize(int(roundHalfEven(printInches(format.frameWidth) * OnlineCopyDefaultDpi)),
                 int(roundHalfEven(printInches(format.frameHeight) * OnlineCopyDefaultDpi))),
        0 };
}

double onlineCopyEnlargement(const QSize &copy, const QSize &ownPixels)
{
    if (ownPixels.isEmpty())
        return 0;
    return std::max(
        double(copy.width()) / ownPixels.width(), double(copy.height()) / ownPixels.height());
}

QString pixelSizeText(const QSize &pixels)
{
    return QStringLiteral("%1 x %2").arg(pixels.width()).arg(pixels.height());
}

std::optional<OnlineCopyPlan> planOnlineCopy(
    const QString &size, const QString &limitKb, const PhotoFormat &format)
{
    // Nine digits at most keep every number within an int before the range is checked.
    static const QRegularExpression sizePattern(
        QStringLiteral("^\\s*([0-9]{1,9})\\s*(?:[xX\u00D7]\\s*([0-9]{1,9})\\s*)?$"));
    static const QRegularExpression limitPattern(QStringLiteral("^\\s*([0-9]{0,9})\\s*$"));
    const QRegularExpressionMatch sizeMatch = sizePattern.match(size);
    const QRegularExpressionMatch limitMatch = limitPattern.match(limitKb);
    if (!sizeMatch.hasMatch() || !limitMatch.hasMatch())
        return std::nullopt;

    OnlineCopyPlan plan;
    const int width = sizeMatch.captured(1).toInt();
    const int proportional = heightForWidth(width, format);
    const QString typedHeight = sizeMatch.captured(2);
    const int typed = typedHeight.isEmpty() ? proportional : typedHeight.toInt();
    const int height = std::abs(typed - proportional) <= 1 ? typed : proportional;
    if (!fitsSide(width) || !fitsSide(typed) || !fitsSide(height))
        return std::nullopt;
    plan.pixels = QSize(width, height);
    // A density of 0 is no density: a copy of a few pixels still says 1.
    plan.dotsPerInch = std::max(1, int(roundHalfEven(width / printInches(format.frameWidth))));

    const QString limit = limitMatch.captured(1);
    if (!limit.isEmpty()) {
        plan.limitBytes = limit.toLongLong() * OnlineCopyBytesPerKb;
        if (plan.limitBytes == 0)
            return std::nullopt;
    }
    return plan;
}
