#include "photochecks.h"

#include "wallcolour.h"

#include "platform/units.h"
#include "turn.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <functional>

// Across, where the landmark model puts the points on frontal portraits (the tests' four,
// scaled to the adult mean of 90 mm between the outer eye corners); in depth, from average
// adult profiles: the nose's root 22 mm behind its tip, the inner eye corners 32 and the outer
// ones 44.
const std::array<ModelPoint, 13> FaceModelPoints = { {
    { 27, 0, 40, -22 },
    { 28, 0, 27, -15 },
    { 29, 0, 14, -8 },
    { 30, 0, 0, 0 },
    { 31, -18, -6.5, -20 },
    { 32, -9.5, -9, -16 },
    { 33, 0, -11.5, -15 },
    { 34, 9.5, -9, -16 },
    { 35, 18, -6.5, -20 },
    { 36, -45, 36.5, -44 },
    { 39, -20, 36.5, -32 },
    { 42, 20, 36.5, -32 },
    { 45, 45, 36.5, -44 },
} };

namespace {

using namespace Landmark;
// The lips: outer outline 48-59 from the left corner, inner 60-67.
constexpr int OuterLips = 48, MouthLeft = 48, MouthRight = 54, InnerLips = 60;
// The background and the light are judged on a small view: large enough for the face's
// halves, small enough that sensor noise and JPEG blocks do not count.
constexpr int ViewHeight = 240;
// The wall on a smaller one still: a photo's noise averages out there, blotches and folds do
// not.
constexpr int WallHeight = 120;
// Eyes and mouth on a larger one: a narrowed eye is a few pixels high even there.
constexpr int DetailHeight = 480;
constexpr double Degrees = 180 / M_PI;

double distance(const QPointF &a, const QPointF &b)
{
    return std::hypot(a.x() - b.x(), a.y() - b.y());
}

// --- the head's pose

struct PoseParameters
{
    std::array<double, 6> p; // yaw, pitch, roll (radians), scale, x, y
};

QPointF project(const std::array<double, 6> &p, const ModelPoint &m)
{
    const double cy = std::cos(p[0]), sy = std::sin(p[0]);
    const double cp = std::cos(p[1]), sp = std::sin(p[1]);
    const double cr = std::cos(p[2]), sr = std::sin(p[2]);
    // Pitched about the ear-to-ear axis, then turned about the upright one.
    const double y1 = cp * m.y + sp * m.z, z1 = -sp * m.y + cp * m.z;
    const double x2 = cy * m.x + sy * z1;
    const double a = p[3] * x2, b = -p[3] * y1; // the photo's y runs down
    return { a * cr - b * sr + p[4], a * sr + b * cr + p[5] };
}

} // namespace

std::optional<HeadPose> headPose(const QList<QPointF> &points)
{
    if (points.size() != Count)
        return std::nullopt;
    constexpr int M = int(FaceModelPoints.size());
    const QPointF outer = points[SecondEye + 3] - points[FirstEye];
    const double eyes = std::hypot(outer.x(), outer.y());
    if (!(eyes > 0))
        return std::nullopt;
    std::array<double, 6> p
        = { 0, 0, std::atan2(outer.y(), outer.x()), eyes / (2 * FaceModelPoints[12].x), 0, 0 };
    QPointF centre, modelCentre;
    for (const ModelPoint &m : FaceModelPoints) {
        centre += points[m.landmark] / M;
        modelCentre += project(p, m) / M;
    }
    p[4] = centre.x() - modelCentre.x();
    p[5] = centre.y() - modelCentre.y();
    const auto residuals = [&points](const std::array<double, 6> &q) {
        std::array<double, 2 * M> r {};
        for (int i = 0; i < M; ++i) {
            const QPointF d = project(q, FaceModelPoints[i]) - points[FaceModelPoints[i].landmark];
            r[2 * i] = d.x();
            r[2 * i + 1] = d.y();
        }
        return r;
    };
    // Gauss-Newton from the frontal pose; the steps of the derivatives suit each parameter.
    const std::array<double, 6> steps = { 1e-4, 1e-4, 1e-4, p[3] * 1e-4, 1e-2, 1e-2 };
    for (int round = 0; round < 30; ++round) {
        const std::array<double, 2 *M> r = residuals(p);
        std::array<std::array<double, 2 * M>, 6> jacobian;
        for (int k = 0; k < 6; ++k) {
            std::array<double, 6> q = p;
            q[k] += steps[k];
            const std::array<double, 2 *M> moved = residuals(q);
            for (int i = 0; i < 2 * M; ++i)
                jacobian[k][i] = (moved[i] - r[i]) / steps[k];
        }
        std::array<std::array<double, 7>, 6> normal {};
        for (int a = 0; a < 6; ++a) {
            for (int b = 0; b < 6; ++b)
                for (int i = 0; i < 2 * M; ++i)
                    normal[a][b] += jacobian[a][i] * jacobian[b][i];
            for (int i = 0; i < 2 * M; ++i)
                normal[a][6] -= jacobian[a][i] * r[i];
        }
        if (!WallColour::solve<6>(normal))
            return std::nullopt;
        double change = 0;
        for (int k = 0; k < 6; ++k) {
            // Damped: no step turns the head by more than 10 degrees at once.
            const double step = k < 3 ? std::clamp(normal[k][6], -0.17, 0.17) : normal[k][6];
            p[k] += step;
            change = std::max(change, k < 3 ? std::abs(step) : 0.0);
        }
        if (change < 1e-6)
            break;
    }
    if (!(p[3] > 0))
        return std::nullopt;
    double error = 0;
    for (const ModelPoint &m : FaceModelPoints)
        error += distance(project(p, m), points[m.landmark]) / M;
    return HeadPose { p[0] * Degrees, p[1] * Degrees, p[2] * Degrees, p[3], error / p[3] };
}

namespace {

// Points 0-5 of an eye: outer corner, two upper, inner corner, two lower.
double eyeOpening(const QList<QPointF> &p, int first)
{
    const double width = distance(p[first], p[first + 3]);
    if (width <= 0)
        return 0;
    return (distance(p[first + 1], p[first + 5]) + distance(p[first + 2], p[first + 4]))
        / (2 * width);
}

QPolygonF polygon(const QList<QPointF> &p, int first, int last, double scale)
{
    QPolygonF outline;
    for (int i = first; i <= last; ++i)
        outline << p[i] * scale;
    return outline;
}

// A mask of the region (255 inside), drawn at the view's size.
QImage mask(const QSize &size, const std::function<void(QPainter &)> &draw)
{
    QImage image(size, QImage::Format_Grayscale8);
    image.fill(0);
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    draw(painter);
    return image;
}

// The JPEG's own YCbCr, chroma about 0.
struct Ycc
{
    double y, cb, cr;
};

Ycc ycc(QRgb c)
{
    const double r = qRed(c), g = qGreen(c), b = qBlue(c);
    return { 0.299 * r + 0.587 * g + 0.114 * b, -0.168736 * r - 0.331264 * g + 0.5 * b,
        0.5 * r - 0.418688 * g - 0.081312 * b };
}

// The pixels of an RGB32 view inside a mask.
template<typename Each> void forEachInside(const QImage &view, const QImage &region, Each each)
{
    for (int y = 0; y < view.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(view.constScanLine(y));
        const uchar *inside = region.constScanLine(y);
        for (int x = 0; x < view.width(); ++x)
            if (inside[x])
                each(x, y, row[x]);
    }
}

double quantile(std::vector<double> values, double share)
{
    if (values.empty())
        return 0;
    const auto at = values.begin()
        + std::clamp<qsizetype>(
            qsizetype(share * double(values.size())), 0, qsizetype(values.size()) - 1);
    std::nth_element(values.begin(), at, values.end());
    return *at;
}

struct Skin
{
    double mean = 0, median = 0, clippedShare = 0, saturation = 0; // chroma over luma
};

Skin skin(const QImage &view, const QImage &region, int clipped, int fromX = 0, int toX = -1)
{
    std::vector<double> luma, chroma;
    qsizetype bright = 0;
    double sum = 0;
    forEachInside(view, region, [&](int x, int, QRgb c) {
        if (x < fromX || (toX >= 0 && x >= toX))
            return;
        const Ycc v = ycc(c);
        luma.push_back(v.y);
        chroma.push_back(std::hypot(v.cb, v.cr) / std::max(v.y, 1.0));
        sum += v.y;
        bright += v.y >= clipped;
    });
    if (luma.empty())
        return {};
    const double n = double(luma.size());
    return { sum / n, quantile(luma, 0.5), bright / n, quantile(chroma, 0.5) };
}

// The background's evenness: a quadratic of the position fitted to each of Y, Cb and Cr (the
// light's falloff, a tint's drift) and how far the pixels lie from it, luma and chroma together.
struct Evenness
{
    double spread = 0, luma = 0, tint = 0;
    qsizetype count = 0;
};

Evenness evenness(const QImage &view, const QImage &region)
{
    struct Sample
    {
        std::array<double, 6> terms; // of the quadratic
        std::array<double, 3> value; // Y, Cb, Cr
    };
    std::vector<Sample> samples;
    const double w = view.width(), h = view.height();
    forEachInside(view, region, [&](int px, int py, QRgb c) {
        const double x = px / h - w / h / 2, y = py / h;
        const Ycc v = ycc(c);
        samples.push_back({ { 1, x, y, x * x, x * y, y * y }, { v.y, v.cb, v.cr } });
    });
    // Too few pixels to judge a wall by: the head fills the photo.
    if (samples.size() < 200)
        return {};
    // Fitted twice, so hair the outline missed or a lamp does not bend the wall's own light.
    std::vector<double> off;
    if (!WallColour::fitTwice<6>(samples, off))
        return {};
    std::array<std::vector<double>, 3> channels;
    for (const Sample &s : samples)
        for (int channel = 0; channel < 3; ++channel)
            channels[channel].push_back(s.value[channel]);
    return { quantile(off, 0.9), quantile(channels[0], 0.5),
        std::hypot(quantile(channels[1], 0.5), quantile(channels[2], 0.5)),
        qsizetype(samples.size()) };
}

// Where the background is: above the shoulders, outside the head with its hair and ears. The
// head's outline runs from the measured top of the hair over the jaw's sides, widened for hair
// and ears, down to the chin.
QImage backgroundRegion(const QSize &view, const FaceMarks &face, double scale)
{
    const QList<QPointF> &p = face.points;
    const auto [firstEye, secondEye] = face.eyes();
    QPointF across = secondEye - firstEye;
    across /= std::max(1e-9, std::hypot(across.x(), across.y()));
    const QPointF up(across.y(), -across.x());
    const auto along = [&across](const QPointF &v) { return QPointF::dotProduct(v, across); };
    const double jaw = along(p[JawLast] - p[JawFirst]) * scale;
    const QPointF middle = (firstEye + secondEye) / 2 * scale;
    const QPointF top = face.hairTop * scale;
    // Ears and full hair reach a third of the jaw's width beyond its sides; the hair's soft
    // edge a little above its measured top. Hair is broad high up: a superellipse, not an
    // ellipse.
    const double side = 0.35 * jaw;
    const double above = QPointF::dotProduct(top - middle, up) + 0.05 * jaw;
    const auto power = [](double v) { return std::copysign(std::pow(std::abs(v), 2 / 3.0), v); };
    QPainterPath head;
    head.moveTo(middle - across * (jaw / 2 + side));
    for (int degrees = 180; degrees >= 0; degrees -= 5) {
        const double a = degrees / Degrees;
        head.lineTo(middle + across * power(std::cos(a)) * (jaw / 2 + side)
            + up * power(std::sin(a)) * above);
    }
    const QPointF centre = (p[JawFirst] + p[JawLast]) / 2 * scale;
    for (int i = JawLast; i >= JawFirst; --i) {
        const QPointF point = p[i] * scale;
        head.lineTo(point + across * (along(point - centre) > 0 ? side : -side));
    }
    head.closeSubpath();
    // Shoulders, a collar or a high neckline may rise beside the neck to the mouth: the wall is
    // looked at down to the nose tip, along the eye line.
    const QPointF nose = p[NoseTip] * scale;
    const double reach = view.width() + view.height();
    QPainterPath wall;
    wall.addPolygon(QPolygonF({ nose - across * reach, nose - across * reach + up * reach,
        nose + across * reach + up * reach, nose + across * reach }));
    return mask(view, [&](QPainter &painter) { painter.drawPath(wall.subtracted(head)); });
}

QImage scaledView(const QImage &crop, int height)
{
    const double scale = double(height) / crop.height();
    const QSize size(std::max(1, int(std::lround(crop.width() * scale))), height);
    return crop.convertToFormat(QImage::Format_RGB32)
        .scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

std::vector<Ycc> pixelsIn(const QImage &view, const QPainterPath &region)
{
    const QImage inside
        = mask(view.size(), [&region](QPainter &painter) { painter.drawPath(region); });
    std::vector<Ycc> pixels;
    forEachInside(view, inside, [&pixels](int, int, QRgb c) { pixels.push_back(ycc(c)); });
    return pixels;
}

std::vector<double> lumaOf(const std::vector<Ycc> &pixels)
{
    std::vector<double> luma;
    for (const Ycc &v : pixels)
        luma.push_back(v.y);
    return luma;
}

QPainterPath path(const QPolygonF &outline)
{
    QPainterPath path;
    path.addPolygon(outline);
    path.closeSubpath();
    return path;
}

QPainterPath widened(const QPainterPath &path, double by)
{
    QPainterPathStroker stroker;
    stroker.setWidth(2 * by);
    stroker.setJoinStyle(Qt::RoundJoin);
    return path.united(stroker.createStroke(path));
}

// Of an eye: one minus its darkest tenth's luma over the skin's about it; an open eye shows
// its iris, a shut lid is skin. The skin is a ring clear of the lashes.
double irisDarkness(const QImage &detail, const QList<QPointF> &p, int first, double scale)
{
    const QPainterPath eye = path(polygon(p, first, first + 5, scale));
    const double width = distance(p[first], p[first + 3]) * scale;
    const std::vector<double> inside = lumaOf(pixelsIn(detail, eye));
    const std::vector<double> around = lumaOf(
        pixelsIn(detail, widened(eye, 0.25 * width).subtracted(widened(eye, 0.08 * width))));
    const double skin = quantile(around, 0.5);
    if (inside.empty() || skin <= 0)
        return 0;
    return 1 - quantile(inside, 0.1) / skin;
}

// The lips' gap; teeth: brighter than most of the face and than the lips, and greyer than the
// skin; the dark inside of an open mouth: darker than the lips by half.
void measureMouth(const QImage &detail, const QList<QPointF> &p, double scale, const Skin &face,
    PhotoMeasures &measures)
{
    const double width = distance(p[MouthLeft], p[MouthRight]);
    if (!(width > 0))
        return;
    measures.mouthGap = (distance(p[InnerLips + 1], p[InnerLips + 7])
                            + distance(p[InnerLips + 2], p[InnerLips + 6])
                            + distance(p[InnerLips + 3], p[InnerLips + 5]))
        / (3 * width);
    const QPainterPath between = path(polygon(p, InnerLips, InnerLips + 7, scale));
    const QPainterPath lips
        = path(polygon(p, OuterLips, OuterLips + 11, scale)).subtracted(between);
    const double lipLuma = quantile(lumaOf(pixelsIn(detail, lips)), 0.5);
    qsizetype teeth = 0, dark = 0;
    const std::vector<Ycc> inside = pixelsIn(detail, between);
    for (const Ycc &v : inside) {
        const bool tooth = v.y > std::max(face.median, 1.1 * lipLuma)
            && std::hypot(v.cb, v.cr) < 0.75 * face.saturation * v.y;
        teeth += tooth;
        dark += !tooth && v.y < lipLuma / 2;
    }
    measures.teethShare = teeth / std::pow(width * scale, 2);
    measures.mouthShowing = inside.empty() ? 0 : double(teeth + dark) / inside.size();
}

} // namespace

PhotoMeasures measurePhoto(const QImage &crop, const FaceMarks &face, const CheckLimits &limits)
{
    PhotoMeasures measures;
    const QList<QPointF> &p = face.points;
    if (p.size() != Count || crop.isNull())
        return measures;
    // Along the eye line, so a tilted head does not look turned.
    const auto [firstEye, secondEye] = face.eyes();
    const QPointF across = secondEye - firstEye;
    const auto along = [&across](const QPointF &v) { return QPointF::dotProduct(v, across); };
    const double jawWidth = along(p[JawLast] - p[JawFirst]);
    measures.noseShare = jawWidth > 0 ? along(p[NoseTip] - p[JawFirst]) / jawWidth : 0;
    measures.tilt = face.tilt();
    if (const std::optional<HeadPose> pose = headPose(p))
        measures.pose = *pose;

    const double scale = double(ViewHeight) / crop.height();
    const QImage view = scaledView(crop, ViewHeight);
    QPolygonF outline = polygon(p, JawFirst, JawLast, scale); // then the brows back
    for (int i = BrowLast; i >= BrowFirst; --i)
        outline << p[i] * scale;
    const QImage skinRegion
        = mask(view.size(), [&outline](QPainter &painter) { painter.drawPolygon(outline); });
    const int clipped = limits.clippedLuma;
    const Skin whole = skin(view, skinRegion, clipped);
    measures.faceLuma = whole.mean;
    measures.clippedShare = whole.clippedShare;
    const int middle = std::clamp(
        int(std::lround((p[NoseTop].x() + p[NoseTip].x()) / 2 * scale)), 0, view.width());
    const double first = skin(view, skinRegion, clipped, 0, middle).mean;
    const double second = skin(view, skinRegion, clipped, middle).mean;
    measures.sideDifference = std::abs(first - second) / std::max({ first, second, 1.0 });

    // Eyes and mouth at the larger view.
    const double detailScale = double(DetailHeight) / crop.height();
    const QImage detail = scaledView(crop, DetailHeight);
    for (const int eye : { 0, 1 }) {
        const int first = eye == 0 ? FirstEye : SecondEye;
        measures.eyeOpening[eye] = eyeOpening(p, first);
        measures.irisDarkness[eye] = irisDarkness(detail, p, first, detailScale);
    }

    measureMouth(detail, p, detailScale, whole, measures);

    const QImage wallView = scaledView(crop, WallHeight);
    const Evenness wall = evenness(
        wallView, backgroundRegion(wallView.size(), face, double(WallHeight) / crop.height()));
    measures.backgroundSpread = wall.spread;
    measures.backgroundLuma = wall.luma;
    measures.backgroundTint = wall.tint;
    measures.backgroundPixels = wall.count;
    return measures;
}

namespace {

// Shown with one decimal: a figure that shows inside the range passes.
double shown(double value)
{
    return std::round(value * 10) / 10;
}

} // namespace

std::vector<CheckFailure> checkPhoto(const QImage &crop, const std::optional<FaceMarks> &face,
    const FaceRule &rule, const PrintFrame &frame, const CheckLimits &limits)
{
    if (!face || face->points.size() != Count || crop.isNull())
        return { { PhotoCheck::NoSingleFace } };
    return judgePhoto(measurePhoto(crop, *face, limits), *face, crop.size(), rule, frame, limits);
}

std::vector<CheckFailure> judgePhoto(const PhotoMeasures &m, const FaceMarks &face,
    const QSize &crop, const FaceRule &rule, const PrintFrame &frame, const CheckLimits &limits)
{
    if (m.noseShare < limits.turnedSideShare || m.noseShare > 1 - limits.turnedSideShare)
        return { { PhotoCheck::FaceTurned } };
    const QList<QPointF> &p = face.points;
    std::vector<CheckFailure> failures;
    const auto outside = [&failures](PhotoCheck check, double value, double least, double most) {
        value = shown(value);
        if (value < shown(least) || value > shown(most)) {
            failures.push_back({ check, value, least, most });
            return true;
        }
        return false;
    };

    // The head's size and place, in millimetres of print.
    const double W = crop.width(), H = crop.height();
    const double print = frame.millimetres.height();
    const double mm = print / H;
    const bool hairCut = face.hair() < 0;
    const bool higher = rule.anchor == FaceRule::Anchor::Crown
        ? face.top(rule.top) * mm < shown(rule.anchorMin * print)
        : (H - face.eyeLine) * mm > shown(rule.anchorMax * print);
    const bool noRoom = frame.atPhotoTop && (hairCut || higher);
    // Why the wall could not give the room: 1 + the refusal, with its figure and limit.
    const auto notExtended = [&frame](PhotoCheck check) {
        const std::optional<BackgroundExtension::Why> &why = frame.notExtended;
        if (!why)
            return CheckFailure { check };
        return CheckFailure { check, 1.0 + int(why->refusal), why->figure,
            why->refusal == BackgroundExtension::Refusal::NotPlain ? ExtensionDefaults.maxSpread
                                                                   : 0 };
    };
    const bool aboveRefused = frame.notExtended && frame.notExtended->edge == Qt::TopEdge;
    if (noRoom)
        failures.push_back(aboveRefused ? notExtended(PhotoCheck::NoRoomAboveHead)
                                        : CheckFailure { PhotoCheck::NoRoomAboveHead });
    const bool sized = outside(rule.top == FaceRule::Top::Hair ? PhotoCheck::HeadHeightToHair
                                                               : PhotoCheck::HeadHeightToSkull,
        face.head(rule.top) * mm, rule.headMin * print, rule.headMax * print);
    const bool placed = rule.anchor == FaceRule::Anchor::Crown
        ? outside(PhotoCheck::TopPlace, face.top(rule.top) * mm, rule.anchorMin * print,
            rule.anchorMax * print)
        : outside(PhotoCheck::EyeLinePlace, (H - face.eyeLine) * mm, rule.anchorMin * print,
            rule.anchorMax * print);
    // The fit needed room beside or below the head, and the wall there could not give it.
    if (frame.notExtended && !aboveRefused && (sized || placed))
        failures.push_back(notExtended(PhotoCheck::NoRoomAroundHead));
    if (face.topFound == FaceMarks::TopFound::NotFound)
        failures.push_back({ PhotoCheck::HeadTopNotFound });
    if (face.topFound == FaceMarks::TopFound::TooSmall)
        failures.push_back({ PhotoCheck::FaceTooSmallToMeasure });
    double left = W, right = 0;
    for (const QPointF &point : p) {
        left = std::min(left, point.x());
        right = std::max(right, point.x());
    }
    if (left < limits.minEdgeShare * W || right > (1 - limits.minEdgeShare) * W || face.chin > H
        || (hairCut && !noRoom && !placed))
        failures.push_back({ PhotoCheck::FaceNearEdge });

    // The pose.
    if (std::abs(m.tilt) > limits.maxTiltDegrees)
        failures.push_back({ PhotoCheck::HeadTilted, m.tilt, 0, limits.maxTiltDegrees });
    if (std::abs(m.pose.yaw) > limits.maxTurnDegrees)
        failures.push_back({ PhotoCheck::HeadTurned, m.pose.yaw, 0, limits.maxTurnDegrees });
    if (m.pose.pitch > limits.maxPitchDegrees)
        failures.push_back({ PhotoCheck::HeadRaised, m.pose.pitch, 0, limits.maxPitchDegrees });
    if (m.pose.pitch < -limits.maxPitchDegrees)
        failures.push_back({ PhotoCheck::HeadLowered, m.pose.pitch, 0, limits.maxPitchDegrees });

    // The expression.
    std::optional<double> closed;
    for (const int eye : { 0, 1 }) {
        const double opening = m.eyeOpening[eye];
        if (opening < limits.shutEyeOpening
            || (opening < limits.narrowEyeOpening && m.irisDarkness[eye] < limits.minIrisDarkness))
            closed = std::min(opening, closed.value_or(opening));
    }
    if (closed)
        failures.push_back({ PhotoCheck::EyesClosed, *closed, limits.shutEyeOpening, 1 });
    // Teeth showing say the mouth is open, and more; where the office allows a smile with
    // teeth, the lips parted by it are allowed too.
    if (m.teethShare > limits.maxTeethShare) {
        if (!frame.teethAllowed)
            failures.push_back({ PhotoCheck::TeethShowing, m.teethShare, 0, limits.maxTeethShare });
    } else if (m.mouthGap > limits.maxMouthGap && m.mouthShowing > limits.minMouthShowing)
        failures.push_back({ PhotoCheck::MouthOpen, m.mouthGap, 0, limits.maxMouthGap });

    // The light on the face.
    if (m.faceLuma < limits.minFaceLuma)
        failures.push_back({ PhotoCheck::FaceTooDark, m.faceLuma, limits.minFaceLuma, 255 });
    if (m.clippedShare > limits.maxClippedShare)
        failures.push_back(
            { PhotoCheck::FaceTooBright, m.clippedShare, 0, limits.maxClippedShare });
    if (m.sideDifference > limits.maxSideDifference)
        failures.push_back(
            { PhotoCheck::LitFromOneSide, m.sideDifference, 0, limits.maxSideDifference });

    // The background.
    if (m.backgroundPixels > 0) {
        if (m.backgroundSpread > limits.maxBackgroundSpread)
            failures.push_back({ PhotoCheck::BackgroundNotPlain, m.backgroundSpread, 0,
                limits.maxBackgroundSpread });
        if (m.backgroundLuma < limits.minBackgroundLuma)
            failures.push_back(
                { PhotoCheck::BackgroundTooDark, m.backgroundLuma, limits.minBackgroundLuma, 255 });
        if (m.backgroundTint > limits.maxBackgroundTint)
            failures.push_back(
                { PhotoCheck::BackgroundColoured, m.backgroundTint, 0, limits.maxBackgroundTint });
        else if (frame.whiteForbidden && m.backgroundLuma >= limits.minWhiteLuma)
            failures.push_back(
                { PhotoCheck::BackgroundWhite, m.backgroundLuma, 0, limits.minWhiteLuma });
    }
    return failures;
}

std::optional<FaceMarks> FitToCheck::faceInCrop() const
{
    if (!face || clip.isNull() || clip.rect().isEmpty())
        return std::nullopt;
    const double scale = double(DetailHeight) / clip.rect().height();
    const auto map
        = [this, scale](const QPointF &point) { return (point - clip.rect().topLeft()) * scale; };
    QList<QPointF> points;
    for (const QPointF &point : face->points)
        points.append(map(point));
    FaceMarks inCrop = FaceMarks::fromPoints(points);
    inCrop.hairTop = map(face->hairTop);
    inCrop.skullTop = map(face->skullTop);
    inCrop.topFound = face->topFound;
    return inCrop;
}

QImage FitToCheck::cropToCheck() const
{
    if (clip.isNull() || clip.rect().isEmpty())
        return {};
    // The reduced decode has this much for any fit.
    const double scale = double(DetailHeight) / clip.rect().height();
    return clip.scaledTo(
        QSize(std::max(1, int(std::lround(clip.rect().width() * scale))), DetailHeight));
}

std::vector<CheckFailure> FitToCheck::check(const CheckLimits &limits) const
{
    if (clip.isNull() || clip.rect().isEmpty())
        return { { PhotoCheck::NoSingleFace } };
    return checkPhoto(cropToCheck(), faceInCrop(), rule, frame, limits);
}
