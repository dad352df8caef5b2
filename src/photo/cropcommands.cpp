#include "cropcommands.h"

#include "platform/rounding.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace {

// R(value) as a 16-bit value; nothing when it does not fit.
std::optional<int16_t> field(double value)
{
    return toInt16(value);
}

std::optional<CropState> zoomed(
    const CropState &state, const QSize &photo, const QSizeF &frame, double sign)
{
    const CropRect &r = state.rect;
    const std::optional<int16_t> height = field(r.height + sign * frame.height() / 100);
    const std::optional<int16_t> width = field(r.width + sign * frame.width() / 100);
    if (!height || !width || !toInt16(photo.width() - *width) || !toInt16(photo.height() - *height))
        return std::nullopt;
    // Centred, then moved by the counted pan steps.
    const std::optional<int16_t> left
        = field(panStep(photo.width()) * state.panStepsX + (photo.width() - *width) / 2.0);
    const std::optional<int16_t> top
        = field(panStep(photo.height()) * state.panStepsY + (photo.height() - *height) / 2.0);
    if (!left || !top)
        return std::nullopt;
    CropState next = state;
    next.rect = { *left, *top, *width, *height };
    return next;
}

// One pan step along an axis: +1 towards the far edge, -1 towards the near one.
std::optional<CropState> moved(
    const CropState &state, const QSize &photo, bool horizontal, int direction)
{
    CropState next = state;
    int16_t &origin = horizontal ? next.rect.left : next.rect.top;
    int16_t &counter = horizontal ? next.panStepsX : next.panStepsY;
    const double step = panStep(horizontal ? photo.width() : photo.height());
    if (direction < 0 && !(origin > step))
        return std::nullopt;
    const std::optional<int16_t> moved = field(origin + direction * step);
    if (!moved)
        return std::nullopt;
    origin = *moved;
    counter = field(counter + direction).value_or(counter);
    return next;
}

} // namespace

double panStep(int photoSide)
{
    return std::floor(photoSide / 200.0);
}

std::optional<CropRect> centreCrop(
    int photoWidth, int photoHeight, double frameWidth, double frameHeight)
{
    const double W = photoWidth;
    const double H = photoHeight;
    // The side that limits the rectangle is the one the photo is short of in the frame's
    // proportions, so the rectangle never leaves the photo (a 4:5 or square portrait is
    // limited by its height, not its width).
    const bool heightLimits = W * frameHeight > H * frameWidth;
    const std::optional<int16_t> height
        = field(heightLimits ? H : std::max(1.0, W / frameWidth * frameHeight));
    const std::optional<int16_t> width
        = field(heightLimits ? std::max(1.0, H / frameHeight * frameWidth) : W);
    if (!height || !width)
        return std::nullopt;
    const std::optional<int16_t> left = field((W - *width) / 2);
    const std::optional<int16_t> top = field((H - *height) / 2);
    if (!left || !top)
        return std::nullopt;
    return CropRect { *left, *top, *width, *height };
}

std::optional<CropState> applyCommand(
    PhotoCommand command, const CropState &state, const QSize &photo, const QSizeF &frame)
{
    std::optional<CropState> next;
    switch (command) {
    case PhotoCommand::ZoomIn:
        next = zoomed(state, photo, frame, -1);
        break;
    case PhotoCommand::ZoomOut:
        next = zoomed(state, photo, frame, +1);
        break;
    case PhotoCommand::Up:
        next = moved(state, photo, false, +1);
        break;
    case PhotoCommand::Down:
        next = moved(state, photo, false, -1);
        break;
    case PhotoCommand::Left:
        next = moved(state, photo, true, +1);
        break;
    case PhotoCommand::Right:
        next = moved(state, photo, true, -1);
        break;
    }
    // The rectangle must lie wholly inside the photo.
    if (next && !QRect(QPoint(0, 0), photo).contains(next->rect.toRect()))
        return std::nullopt;
    return next;
}
