#include "onlinecopysize.h"

#include "platform/rounding.h"
#include "platform/units.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

double printInches(double mm)
{
    return mm / Units::MillimetresPerInch;
}

bool fitsSide(int pixels)
{
    return pixels >= 1 && pixels <= OnlineCopyLargestSide;
}

int heightForWidth(int width, const IdDocument &document)
{
    return int(roundHalfEven(double(width) * document.size.height() / document.size.width()));
}

} // namespace

OnlineCopyDefaults defaultOnlineCopy(const IdDocument &document, const QSize &ownPixels)
{
    if (document.size.isEmpty())
        return {};
    const FileRule &rule = document.file;
    const int limitKb = std::max(0, rule.kbMax);
    // A digital document whose rule names one width is taken at its own pixels.
    if (rule.widthMax > 0 && !(document.isDigital() && rule.widthMin >= rule.widthMax)) {
        // The widest copy that enlarges neither side, within the rule; the slack keeps a width
        // the height holds exactly from rounding down.
        const double heightHolds = std::floor(
            ownPixels.height() * document.size.width() / document.size.height() + 1e-6);
        const qint64 own = std::min<qint64>(ownPixels.width(), qint64(heightHolds));
        const int least = std::clamp(rule.widthMin, 1, rule.widthMax);
        const int width = int(std::clamp<qint64>(own, least, rule.widthMax));
        return { QSize(width, heightForWidth(width, document)), limitKb };
    }
    if (document.isDigital())
        return { document.pixels(), limitKb };
    const QSizeF mm = document.printMm();
    return { QSize(int(roundHalfEven(printInches(mm.width()) * OnlineCopyDefaultDpi)),
                 int(roundHalfEven(printInches(mm.height()) * OnlineCopyDefaultDpi))),
        limitKb };
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
    const QString &size, const QString &limitKb, const IdDocument &document)
{
    // Nine digits at most keep every number within an int before the range is checked.
    static const QRegularExpression sizePattern(
        QStringLiteral("^\\s*([0-9]{1,9})\\s*(?:[xX\u00D7]\\s*([0-9]{1,9})\\s*)?$"));
    static const QRegularExpression limitPattern(QStringLiteral("^\\s*([0-9]{0,9})\\s*$"));
    const QRegularExpressionMatch sizeMatch = sizePattern.match(size);
    const QRegularExpressionMatch limitMatch = limitPattern.match(limitKb);
    if (!sizeMatch.hasMatch() || !limitMatch.hasMatch() || document.size.isEmpty())
        return std::nullopt;

    OnlineCopyPlan plan;
    const int width = sizeMatch.captured(1).toInt();
    const int proportional = heightForWidth(width, document);
    const QString typedHeight = sizeMatch.captured(2);
    const int typed = typedHeight.isEmpty() ? proportional : typedHeight.toInt();
    const int height = std::abs(typed - proportional) <= 1 ? typed : proportional;
    if (!fitsSide(width) || !fitsSide(typed) || !fitsSide(height))
        return std::nullopt;
    plan.pixels = QSize(width, height);
    // A density of 0 is no density: a copy of a few pixels still says 1.
    plan.dotsPerInch = document.isDigital()
        ? OnlineCopyDigitalDpi
        : std::max(1, int(roundHalfEven(width / printInches(document.printMm().width()))));
    plan.leastBytes = qint64(std::max(0, document.file.kbMin)) * OnlineCopyBytesPerKb;

    const QString limit = limitMatch.captured(1);
    if (!limit.isEmpty()) {
        plan.limitBytes = limit.toLongLong() * OnlineCopyBytesPerKb;
        if (plan.limitBytes == 0)
            return std::nullopt;
    }
    return plan;
}
