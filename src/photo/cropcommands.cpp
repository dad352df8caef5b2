#include "cropcommands.h"

#include "platform/rounding.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace {

enum class Step { Ok, Refused, Failed };

// Runs the statements in order; after a failing one the recovery runs and the command goes
// on with the statement that follows it.
void run(std::initializer_list<std::function<Step()>> statements,
    const std::function<void(Step)> &recovery)
{
    for (const auto &statement : statements) {
        const Step result = statement();
        if (result != Step::Ok && recovery)
            recovery(result);
    }
}

// Stores R(value) into a 16-bit field; a value that does not fit is a failure.
Step store(int16_t &field, double value)
{
    const std::optional<int16_t> rounded = toInt16(value);
    if (!rounded)
        return Step::Failed;
    field = *rounded;
    return Step::Ok;
}

Step show(CropContext &context)
{
    const std::optional<ClipImage> image = context.clip.clipImage();
    if (!image)
        return Step::Refused;
    context.showClip(*image);
    return Step::Ok;
}

// (photo side - rectangle side) is a 16-bit integer difference; the rest is floating point.
Step centreWithPan(int16_t &origin, int photoSide, int16_t side, int16_t panSteps)
{
    const int difference = photoSide - side;
    if (!toInt16(difference))
        return Step::Failed;
    return store(origin, panStep(photoSide) * panSteps + difference / 2.0);
}

void zoom(CropContext &c, double sign)
{
    CropRect &r = c.clip.rect;
    const double dx = c.frameWidth / 100;
    const double dy = c.frameHeight / 100;
    run({ [&] { return store(r.height, r.height + sign * dy); },
            [&] { return store(r.width, r.width + sign * dx); },
            [&] { return centreWithPan(r.left, c.clip.width(), r.width, c.panStepsX); },
            [&] { return centreWithPan(r.top, c.clip.height(), r.height, c.panStepsY); },
            [&] { return show(c); } },
        [&](Step) {
            store(r.height, r.height - sign * dy);
            store(r.width, r.width - sign * dx);
        });
}

// Moves the rectangle one step towards the far edge; the crop source's refusal puts it back,
// but the step is still counted.
void moveTowardsFarEdge(CropContext &c, int16_t &origin, int photoSide, int16_t &counter)
{
    const double step = panStep(photoSide);
    run({ [&] { return store(origin, step + origin); }, [&] { return show(c); },
            [&] { return store(counter, counter + 1.0); } },
        [&](Step result) {
            if (result == Step::Refused)
                store(origin, origin - step);
        });
}

// Moves one step towards the near edge only while more than one step is left.
void moveTowardsNearEdge(CropContext &c, int16_t &origin, int photoSide, int16_t &counter)
{
    const double step = panStep(photoSide);
    if (!(origin > step))
        return;
    run({ [&] { return store(origin, origin - step); }, [&] { return show(c); },
            [&] { return store(counter, counter - 1.0); } },
        nullptr);
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
    CropRect rect;
    // The side that limits the rectangle is the one the photo is short of in the frame's
    // proportions, so the rectangle never leaves the photo (a 4:5 or square portrait is
    // limited by its height, not its width).
    if (W * frameHeight > H * frameWidth) {
        if (store(rect.height, H) != Step::Ok
            || store(rect.width, std::max(1.0, H / frameHeight * frameWidth)) != Step::Ok)
            return std::nullopt;
    } else {
        if (store(rect.width, W) != Step::Ok
            || store(rect.height, std::max(1.0, W / frameWidth * frameHeight)) != Step::Ok)
            return std::nullopt;
    }
    if (store(rect.left, (W - rect.width) / 2) != Step::Ok
        || store(rect.top, (H - rect.height) / 2) != Step::Ok)
        return std::nullopt;
    return rect;
}

void zoomIn(CropContext &context)
{
    zoom(context, -1);
}

void zoomOut(CropContext &context)
{
    zoom(context, +1);
}

void moveUp(CropContext &context)
{
    moveTowardsFarEdge(context, context.clip.rect.top, context.clip.height(), context.panStepsY);
}

void moveLeft(CropContext &context)
{
    moveTowardsFarEdge(context, context.clip.rect.left, context.clip.width(), context.panStepsX);
}

void moveDown(CropContext &context)
{
    moveTowardsNearEdge(context, context.clip.rect.top, context.clip.height(), context.panStepsY);
}

void moveRight(CropContext &context)
{
    moveTowardsNearEdge(context, context.clip.rect.left, context.clip.width(), context.panStepsX);
}
