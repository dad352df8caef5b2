#include "facefit.h"

#include "cropcommands.h"

#include <algorithm>
#include <cmath>

std::optional<CropRect> faceCrop(int photoWidth, int photoHeight, double frameWidth,
    double frameHeight, const FaceMarks &face, const FaceRule &rule, const Turn &turn,
    Qt::Edges extendable)
{
    if (!(face.head(rule.top) > 0) || frameWidth <= 0 || frameHeight <= 0)
        return std::nullopt;
    double height = face.head(rule.top) / rule.headTarget;
    double width = height * frameWidth / frameHeight;
    const QSize photo(photoWidth, photoHeight);
    // The wall continued on both sides of an axis gives room on both.
    const int besides = (extendable & Qt::LeftEdge ? 1 : 0) + (extendable & Qt::RightEdge ? 1 : 0);
    const int aboveBelow
        = (extendable & Qt::TopEdge ? 1 : 0) + (extendable & Qt::BottomEdge ? 1 : 0);
    const double widest = photoWidth / (1 - besides * MostExtended);
    const double tallest = photoHeight / (1 - aboveBelow * MostExtended);
    // A face too large for its rule in this photo: as close as the photo allows, which is the
    // centred fit's rectangle moved onto the face.
    if (extendable.toInt() == 0 && (width > photoWidth || height > photoHeight)) {
        const std::optional<CropRect> largest
            = centreCrop(photoWidth, photoHeight, frameWidth, frameHeight);
        if (!largest)
            return std::nullopt;
        width = largest->width;
        height = largest->height;
    } else if (width > widest || height > tallest) {
        const double scale = std::min(widest / width, tallest / height);
        width *= scale;
        height *= scale;
    }
    const QRectF area = extendedArea(photo, extendable, QSizeF(width, height));
    const double top = rule.anchor == FaceRule::Anchor::Crown
        ? face.top(rule.top) - rule.anchorTarget * height
        : face.eyeLine - (1 - rule.anchorTarget) * height;
    const double left = face.centreX - width / 2;
    if (!turn.isNull()) {
        const QRectF kept = keepOnTurnedPhoto(area, turn, QRectF(left, top, width, height));
        // Rounded inwards, so the turned photo still covers every pixel.
        const QRect inside(QPoint(int(std::ceil(kept.left())), int(std::ceil(kept.top()))),
            QPoint(int(std::floor(kept.right())) - 1, int(std::floor(kept.bottom())) - 1));
        if (inside.isEmpty() || !coversRect(area, turn, QRectF(inside)))
            return std::nullopt;
        return CropRect { int16_t(inside.left()), int16_t(inside.top()), int16_t(inside.width()),
            int16_t(inside.height()) };
    }

    const long least[2] = { long(std::ceil(area.left())), long(std::ceil(area.top())) };
    const long most[2] = { long(std::floor(area.right())), long(std::floor(area.bottom())) };
    CropRect rect;
    rect.width = int16_t(std::clamp<long>(std::lround(width), 1, most[0] - least[0]));
    rect.height = int16_t(std::clamp<long>(std::lround(height), 1, most[1] - least[1]));
    rect.left = int16_t(std::clamp<long>(std::lround(left), least[0], most[0] - rect.width));
    rect.top = int16_t(std::clamp<long>(std::lround(top), least[1], most[1] - rect.height));
    return rect;
}

Turn levellingTurn(const FaceMarks &face)
{
    const auto [first, second] = face.eyes();
    return { -face.tilt(), (first + second) / 2 };
}

PanSteps panStepsFor(const CropRect &rect, int photoWidth, int photoHeight)
{
    auto steps = [](int origin, int side, int photoSide) {
        const double step = panStep(photoSide);
        if (step <= 0)
            return int16_t(0);
        const double centred = (photoSide - side) / 2.0;
        return int16_t(
            std::clamp<long>(std::lround((origin - centred) / step), INT16_MIN, INT16_MAX));
    };
    return { steps(rect.left, rect.width, photoWidth), steps(rect.top, rect.height, photoHeight) };
}

QList<GuideBand> guideBands(const FaceRule &rule)
{
    if (rule.anchor == FaceRule::Anchor::EyeLine)
        return { { 1 - rule.anchorMax, 1 - rule.anchorMin } };
    return { { rule.anchorMin, rule.anchorMax },
        { rule.anchorMin + rule.headMin, rule.anchorMax + rule.headMax } };
}

QRectF faceOval(const FaceRule &rule, const QSizeF &frame)
{
    const double height = rule.headTarget * frame.height();
    const double width = 0.75 * height;
    // The eye line lies about midway between the top of the head and the chin.
    const double top = rule.anchor == FaceRule::Anchor::Crown
        ? rule.anchorTarget * frame.height()
        : (1 - rule.anchorTarget) * frame.height() - height / 2;
    return { (frame.width() - width) / 2, top, width, height };
}
