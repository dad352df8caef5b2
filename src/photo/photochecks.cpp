#include "photochecks.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

using namespace Landmark;
// The view the pixel checks look at: large enough for the face's halves, small enough that
// sensor noise and JPEG blocks do not count as texture.
constexpr int ViewHeight = 240;

double distance(const QPointF &a, const QPointF &b)
{
    return std::hypot(a.x() - b.x(), a.y() - b.y());
}

// Points 0-5 of an eye: outer corner, two upper, inner corner, two lower.
double eyeOpening(const QList<QPointF> &p, int first)
{
    const double width = distance(p[first], p[first + 3]);
    if (width <= 0)
        return 0;
    return (distance(p[first + 1], p[first + 5]) + distance(p[first + 2], p[first + 4]))
        / (2 * width);
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

struct Luma
{
    double mean = 0;
    double clippedShare = 0;
    qsizetype count = 0;
};

Luma luma(const QImage &grey, const QImage &region, int clipped, int fromX = 0, int toX = -1)
{
    if (toX < 0)
        toX = grey.width();
    double sum = 0;
    qsizetype count = 0, bright = 0;
    for (int y = 0; y < grey.height(); ++y) {
        const uchar *pixel = grey.constScanLine(y);
        const uchar *inside = region.constScanLine(y);
        for (int x = fromX; x < toX; ++x)
            if (inside[x]) {
                sum += pixel[x];
                bright += pixel[x] >= clipped;
                ++count;
            }
    }
    if (count == 0)
        return {};
    return { sum / count, double(bright) / count, count };
}

// Mean Sobel gradient magnitude (L1) over the region, its border left out.
double texture(const QImage &grey, const QImage &region)
{
    double sum = 0;
    qsizetype count = 0;
    for (int y = 1; y + 1 < grey.height(); ++y) {
        const uchar *up = grey.constScanLine(y - 1);
        const uchar *row = grey.constScanLine(y);
        const uchar *down = grey.constScanLine(y + 1);
        const uchar *inside = region.constScanLine(y);
        for (int x = 1; x + 1 < grey.width(); ++x) {
            if (!inside[x])
                continue;
            const int gx = (up[x + 1] + 2 * row[x + 1] + down[x + 1])
                - (up[x - 1] + 2 * row[x - 1] + down[x - 1]);
            const int gy
                = (down[x - 1] + 2 * down[x] + down[x + 1]) - (up[x - 1] + 2 * up[x] + up[x + 1]);
            sum += (std::abs(gx) + std::abs(gy)) / 8.0;
            ++count;
        }
    }
    return count ? sum / count : 0;
}

} // namespace

std::vector<CheckFailure> checkPhoto(const QImage &crop, const std::optional<FaceMarks> &face,
    const FaceRule &rule, const CheckLimits &limits)
{
    if (!face || face->points.size() != Count || crop.isNull())
        return { { PhotoCheck::NoSingleFace } };
    const QList<QPointF> &p = face->points;
    // Along the eye line, so a tilted head does not look turned.
    const auto [firstEye, secondEye] = face->eyes();
    const QPointF across = secondEye - firstEye;
    const auto along = [&across](const QPointF &v) { return QPointF::dotProduct(v, across); };
    const double jawWidth = along(p[JawLast] - p[JawFirst]);
    const double noseShare = jawWidth > 0 ? along(p[NoseTip] - p[JawFirst]) / jawWidth : 0;
    if (noseShare < limits.turnedSideShare || noseShare > 1 - limits.turnedSideShare)
        return { { PhotoCheck::FaceTurned } };

    std::vector<CheckFailure> failures;
    const double tilt = face->tilt();
    if (std::abs(tilt) > limits.maxTiltDegrees)
        failures.push_back({ PhotoCheck::HeadTilted, tilt });

    const double W = crop.width(), H = crop.height();
    const double head = face->head() / H;
    const double anchor
        = rule.anchor == FaceRule::Anchor::Crown ? face->crown() / H : 1 - face->eyeLine / H;
    // A hair's breadth of rounding is no refusal.
    constexpr double Slack = 0.005;
    if (head < rule.headMin - Slack || head > rule.headMax + Slack
        || anchor < rule.anchorMin - Slack || anchor > rule.anchorMax + Slack)
        failures.push_back({ PhotoCheck::HeadOutsideRule });
    double left = W, right = 0;
    for (const QPointF &point : p) {
        left = std::min(left, point.x());
        right = std::max(right, point.x());
    }
    if (left < limits.minEdgeShare * W || right > (1 - limits.minEdgeShare) * W || face->crown() < 0
        || face->chin > H)
        failures.push_back({ PhotoCheck::FaceNearEdge });

    if (std::min(eyeOpening(p, FirstEye), eyeOpening(p, SecondEye)) < limits.minEyeOpening)
        failures.push_back({ PhotoCheck::EyesClosed });

    // The pixel checks look at a small grey view of the crop.
    const double scale = ViewHeight / H;
    const QSize view(std::max(1, int(std::lround(W * scale))), ViewHeight);
    const QImage grey = crop.convertToFormat(QImage::Format_Grayscale8)
                            .scaled(view, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QPolygonF outline; // the jaw, then the brows back to where it began
    for (int i = JawFirst; i <= JawLast; ++i)
        outline << p[i] * scale;
    for (int i = BrowLast; i >= BrowFirst; --i)
        outline << p[i] * scale;
    const QImage skin = mask(view, [&outline](QPainter &painter) { painter.drawPolygon(outline); });
    const Luma whole = luma(grey, skin, limits.clippedLuma);
    if (whole.mean < limits.minFaceLuma)
        failures.push_back({ PhotoCheck::FaceTooDark });
    if (whole.clippedShare > limits.maxClippedShare)
        failures.push_back({ PhotoCheck::FaceTooBright });
    const int middle = std::clamp(
        int(std::lround((p[NoseTop].x() + p[NoseTip].x()) / 2 * scale)), 0, view.width());
    const double first = luma(grey, skin, limits.clippedLuma, 0, middle).mean;
    const double second = luma(grey, skin, limits.clippedLuma, middle).mean;
    if (std::abs(first - second) > limits.maxSideDifference * std::max(first, second))
        failures.push_back({ PhotoCheck::LitFromOneSide });

    // The background: above the chin, outside a generous ellipse about the head and its hair.
    const double crown = face->crown() * scale, chin = face->chin * scale;
    const double headHeight = chin - crown;
    const QPointF centre(face->centreX * scale, (crown + chin) / 2);
    const QImage background = mask(view, [&](QPainter &painter) {
        QPainterPath path;
        path.addRect(QRectF(0, 0, view.width(), chin));
        QPainterPath headAndHair;
        headAndHair.addEllipse(centre, 0.62 * headHeight, 0.68 * headHeight);
        painter.drawPath(path.subtracted(headAndHair));
    });
    // The clipped level above the scale counts nothing; only the mean is wanted here.
    if (const Luma wall = luma(grey, background, 256); wall.count > 0) {
        if (texture(grey, background) > limits.maxBackgroundTexture)
            failures.push_back({ PhotoCheck::BackgroundNotPlain });
        if (wall.mean < limits.minBackgroundLuma)
            failures.push_back({ PhotoCheck::BackgroundTooDark });
    }
    return failures;
}

std::vector<CheckFailure> FitToCheck::check(const CheckLimits &limits) const
{
    if (clip.isNull() || clip.rect().isEmpty())
        return { { PhotoCheck::NoSingleFace } };
    // Twice the view's height: the reduced decode has that much for any fit.
    const double scale = 2.0 * ViewHeight / clip.rect().height();
    const QSize size(std::max(1, int(std::lround(clip.rect().width() * scale))), 2 * ViewHeight);
    std::optional<FaceMarks> inCrop;
    if (face) {
        QList<QPointF> points;
        for (const QPointF &point : face->points)
            points.append((point - clip.rect().topLeft()) * scale);
        inCrop = FaceMarks::fromPoints(points);
    }
    return checkPhoto(clip.scaledTo(size), inCrop, rule, limits);
}
