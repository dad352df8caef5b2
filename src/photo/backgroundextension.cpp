#include "backgroundextension.h"
#include "wallcolour.h"

#include <algorithm>
#include <cmath>

namespace {

using namespace Landmark;
using namespace WallColour;

// The wall is judged on the view the background check uses: a photo's noise averages out
// there, blotches and patterns do not, so the two figures compare.
constexpr int ViewHeight = 120;
// Near the edge the photo's own colours give way to the smooth field over this share of the
// side, so the last row shot and the first one continued differ by no more than their grain.
constexpr double RimBlend = 0.015;
// Bins along the edge for the photo's rim: coarse enough that the camera's noise averages out
// and is not drawn out into streaks by the blend.
constexpr int RimBins = 64;
// The light's fall across the edge is continued for about three strips' depth, then levels
// off: a gradient followed further would run a wall into black or white.
constexpr double FallReach = 3;
// Around the head and ears as the background check leaves them out; the shoulders reach about
// one and a half jaw widths either side of the face's middle on frontal portraits.
constexpr double HeadSide = 0.35, Shoulders = 1.6;
// Sensor noise shrinks as a photo is reduced, by the side's ratio for white noise and less for
// a camera's (demosaicked, compressed) grain: half-way, in the log, is what is continued.
constexpr double MaxGrainGain = 3;

// Along (s, -0.5 to 0.5) and into the photo (t, share of the side across) for each edge, from
// the shares of the photo's width and height.
struct Place
{
    double s, t;
};
Place place(int edge, double fx, double fy)
{
    switch (edge) {
    case 0:
        return { fx - 0.5, fy };
    case 1:
        return { fx - 0.5, 1 - fy };
    case 2:
        return { fy - 0.5, fx };
    default:
        return { fy - 0.5, 1 - fx };
    }
}

constexpr std::array<Qt::Edge, 4> EdgeFlags
    = { Qt::TopEdge, Qt::BottomEdge, Qt::LeftEdge, Qt::RightEdge };

struct Sample
{
    std::array<double, 4> terms; // 1, s, s^2, t
    Colour value;
};

std::array<double, 4> terms(double s, double t)
{
    return { 1, s, s * s, t };
}

double evaluate(const std::array<double, 4> &fit, const std::array<double, 4> &terms)
{
    return fit[0] * terms[0] + fit[1] * terms[1] + fit[2] * terms[2] + fit[3] * terms[3];
}

// A number from -1.7 to 1.7 with unit variance, the same for the same position.
double grain(quint32 x, quint32 y, quint32 channel)
{
    quint32 h = x * 0x9E3779B1u ^ (y + 0x7F4A7C15u) * 0x85EBCA77u ^ channel * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    const double a = (h & 0xFFFF) / 65535.0, b = (h >> 16) / 65535.0;
    return (a + b - 1) * 2.449489742783178; // sqrt(6)
}

} // namespace

std::optional<BackgroundExtension> BackgroundExtension::measure(const QImage &picture,
    const FaceMarks &face, Qt::Edges edges, Why *why, const ExtensionLimits &limits)
{
    const auto refuse = [why](Qt::Edge edge, Refusal refusal, double figure) {
        if (why)
            *why = { edge, refusal, figure };
        return std::nullopt;
    };
    if (picture.isNull() || face.points.size() != Count)
        return refuse(Qt::TopEdge, Refusal::NoFace, 0);
    const double width = picture.width(), height = picture.height();

    // The person, in the picture's pixels: the head with its hair and ears, the shoulders.
    const QList<QPointF> &p = face.points;
    const double jaw
        = std::hypot(p[JawLast].x() - p[JawFirst].x(), p[JawLast].y() - p[JawFirst].y());
    // Where the hair's top was not measured it may reach the edge: the pixels there tell.
    const bool topKnown = face.topFound == FaceMarks::TopFound::Measured
        || face.topFound == FaceMarks::TopFound::ByHand;
    const double headTop = topKnown ? std::min(face.hair(), face.crown()) - 0.05 * jaw : -height;
    const double headHalf = jaw / 2 + HeadSide * jaw;
    const auto person = [&](double x, double y) {
        const double across = std::abs(x - face.centreX);
        return (y >= headTop && y <= face.chin && across <= headHalf)
            || (y > face.chin && across <= Shoulders * jaw);
    };

    const double reduce = std::min(1.0, ViewHeight / height);
    const QImage view = (reduce < 1 ? picture.scaled(std::max(1, int(std::lround(width * reduce))),
                             ViewHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                    : picture)
                            .convertToFormat(QImage::Format_RGB32);
    const double toX = width / view.width(), toY = height / view.height();

    BackgroundExtension extension;
    extension.m_edges = edges;
    extension.m_picture = picture.size();
    extension.m_depth = limits.depth;
    std::vector<Colour> grains;
    for (int e = 0; e < 4; ++e) {
        const Qt::Edge flag = EdgeFlags[e];
        if (!edges.testFlag(flag))
            continue;
        const bool across = e < 2; // the edge runs across the photo
        const int along = across ? view.width() : view.height();
        const int deep
            = std::max(2, int(std::ceil(limits.depth * (across ? view.height() : view.width()))));
        std::vector<Sample> samples;
        std::vector<Colour> rimHead; // the outer row or column where the person is
        qsizetype covered = 0;
        for (int k = 0; k < along; ++k)
            for (int d = 0; d < deep; ++d) {
                const int vx = across ? k : (e == 2 ? d : view.width() - 1 - d);
                const int vy = across ? (e == 0 ? d : view.height() - 1 - d) : k;
                const double x = (vx + 0.5) * toX, y = (vy + 0.5) * toY;
                const Colour value = ycc(view.pixel(vx, vy));
                if (person(x, y)) {
                    ++covered;
                    if (d == 0)
                        rimHead.push_back(value);
                    continue;
                }
                const Place at = place(e, x / width, y / height);
                samples.push_back({ terms(at.s, at.t), value });
            }
        const double share = double(covered) / double(along * deep);
        if (share > limits.maxCovered || samples.size() < 50)
            return refuse(flag, Refusal::PersonAtEdge, share);

        // Fitted twice, as the background check does.
        Edge edge;
        std::vector<double> off;
        const auto fitted = fitTwice<4>(samples, off);
        if (!fitted)
            return refuse(flag, Refusal::PersonAtEdge, share);
        edge.fit = *fitted;
        edge.spread = quantile(off, 0.9);
        if (edge.spread > limits.maxSpread)
            return refuse(flag, Refusal::NotPlain, edge.spread);

        edge.low = { 255, 255, 255 };
        edge.high = { -255, -255, -255 };
        Colour wall {};
        for (const Sample &sample : samples)
            for (int c = 0; c < 3; ++c) {
                const double v = evaluate(edge.fit[c], sample.terms);
                edge.low[c] = std::min(edge.low[c], v);
                edge.high[c] = std::max(edge.high[c], v);
                wall[c] += rgb(sample.value)[c] / double(samples.size());
            }
        // Hair reaching the edge would be cut straight by a wall painted where it goes on; a
        // few strands across the edge are no head.
        const double noise = std::max(limits.minContrast, 4 * quantile(off, 0.5));
        const Place mid = place(e, 0.5, 0.5);
        qsizetype hair = 0;
        for (const Colour &value : rimHead) {
            Colour d = value;
            for (int c = 0; c < 3; ++c)
                d[c] -= evaluate(edge.fit[c], terms(mid.s, 0));
            hair += std::hypot(d[0], d[1], d[2]) > noise;
        }
        const double headSpan = 2 * headHalf / (across ? toX : toY); // in the view's pixels
        if (double(hair) > limits.maxHairAcross * headSpan)
            return refuse(flag, Refusal::PersonAtEdge, double(hair) / headSpan);
        // A wall of the hair's colour: where the head ends could not be seen, nor matted later.
        if (topKnown) {
            const auto [firstEye, secondEye] = face.eyes();
            const double eyes
                = std::hypot(secondEye.x() - firstEye.x(), secondEye.y() - firstEye.y());
            const QRect band = QRectF(QPointF(face.centreX - 0.2 * eyes, face.hair() + 0.03 * eyes),
                QPointF(face.centreX + 0.2 * eyes, face.hair() + 0.12 * eyes))
                                   .toAlignedRect()
                                   .intersected(picture.rect());
            if (!band.isEmpty()) {
                Colour mean {};
                for (int y = band.top(); y <= band.bottom(); ++y)
                    for (int x = band.left(); x <= band.right(); ++x) {
                        const QRgb c = picture.pixel(x, y);
                        mean[0] += qRed(c), mean[1] += qGreen(c), mean[2] += qBlue(c);
                    }
                const double n = double(band.width()) * band.height();
                const double contrast = std::hypot(
                    mean[0] / n - wall[0], mean[1] / n - wall[1], mean[2] / n - wall[2]);
                if (contrast < limits.minContrast)
                    return refuse(flag, Refusal::LikeHair, contrast);
            }
        }

        // The photo's own rim, from its own pixels (a reduced view's outer row is darkened by
        // the filter reaching past the edge): its outer rows or columns, as thick as a row of
        // the view, in bins along the edge; where the person is, the fit.
        const int length = across ? picture.width() : picture.height();
        const int bins = std::min(RimBins, length);
        const int thick = std::max(2, int(std::ceil(across ? toY : toX)));
        edge.rim.assign(size_t(bins), Colour {});
        std::vector<int> counts(size_t(bins), 0);
        for (int k = 0; k < length; ++k)
            for (int d = 0; d < thick; ++d) {
                const int x = across ? k : (e == 2 ? d : picture.width() - 1 - d);
                const int y = across ? (e == 0 ? d : picture.height() - 1 - d) : k;
                if (person(x + 0.5, y + 0.5))
                    continue;
                const size_t bin = size_t(k) * size_t(bins) / size_t(length);
                const Colour value = ycc(picture.pixel(x, y));
                for (int c = 0; c < 3; ++c)
                    edge.rim[bin][c] += value[c];
                ++counts[bin];
            }
        for (int b = 0; b < bins; ++b)
            for (int c = 0; c < 3; ++c)
                edge.rim[size_t(b)][c] = counts[size_t(b)] > 0
                    ? edge.rim[size_t(b)][c] / counts[size_t(b)]
                    : evaluate(edge.fit[c], terms((b + 0.5) / bins - 0.5, 0));

        // The grain at the picture's own size: the robust spread of each channel about the fit.
        const int stride = std::max(1, int(std::sqrt(along * toX * deep * toY / 20000.0)));
        std::array<std::vector<double>, 3> residuals;
        const int depthPixels = int(std::ceil(limits.depth * (across ? height : width)));
        for (int k = 0; k < (across ? picture.width() : picture.height()); k += stride)
            for (int d = 0; d < depthPixels; d += stride) {
                const int x = across ? k : (e == 2 ? d : picture.width() - 1 - d);
                const int y = across ? (e == 0 ? d : picture.height() - 1 - d) : k;
                if (person(x + 0.5, y + 0.5))
                    continue;
                const Place at = place(e, (x + 0.5) / width, (y + 0.5) / height);
                Colour model;
                for (int c = 0; c < 3; ++c)
                    model[c] = evaluate(edge.fit[c], terms(at.s, at.t));
                const Colour smooth = rgb(model);
                const QRgb shot = picture.pixel(x, y);
                residuals[0].push_back(std::abs(qRed(shot) - smooth[0]));
                residuals[1].push_back(std::abs(qGreen(shot) - smooth[1]));
                residuals[2].push_back(std::abs(qBlue(shot) - smooth[2]));
            }
        Colour sigma;
        for (int c = 0; c < 3; ++c)
            sigma[c] = 1.4826 * quantile(residuals[c], 0.5); // the deviation of a normal noise
        grains.push_back(sigma);
        extension.m_edge[size_t(e)] = std::move(edge);
    }
    for (const Colour &sigma : grains)
        for (int c = 0; c < 3; ++c)
            extension.m_grain[c] += sigma[c] / double(grains.size());
    return extension;
}

double BackgroundExtension::spread(Qt::Edge edge) const
{
    for (int e = 0; e < 4; ++e)
        if (EdgeFlags[e] == edge && m_edge[e])
            return m_edge[e]->spread;
    return 0;
}

BackgroundExtension::Along BackgroundExtension::along(int e, double s) const
{
    const Edge &edge = *m_edge[size_t(e)];
    s = std::clamp(s, -0.5, 0.5);
    const double bin
        = std::clamp((s + 0.5) * double(edge.rim.size()) - 0.5, 0.0, double(edge.rim.size() - 1));
    const size_t b0 = size_t(bin), b1 = std::min(b0 + 1, edge.rim.size() - 1);
    const double f = bin - double(b0);
    Along along;
    for (int c = 0; c < 3; ++c) {
        along.atEdge[c] = evaluate(edge.fit[c], terms(s, 0));
        along.shot[c] = edge.rim[b0][c] * (1 - f) + edge.rim[b1][c] * f;
    }
    return along;
}

BackgroundExtension::Beyond BackgroundExtension::beyond(double outside, double depth)
{
    const double reach = FallReach * depth;
    return { -reach * (1 - std::exp(-outside / reach)), std::exp(-outside / RimBlend) };
}

std::array<double, 3> BackgroundExtension::colour(
    int e, const Along &along, const Beyond &beyond) const
{
    const Edge &edge = *m_edge[size_t(e)];
    Colour value;
    for (int c = 0; c < 3; ++c) {
        const double width = edge.high[c] - edge.low[c];
        const double far = std::clamp(along.atEdge[c] + edge.fit[c][3] * beyond.fall,
            edge.low[c] - FallReach * width, edge.high[c] + FallReach * width);
        value[c] = far + (along.shot[c] - along.atEdge[c]) * beyond.rim;
    }
    return rgb(value);
}

std::array<double, 3> BackgroundExtension::colourAt(double fx, double fy) const
{
    // How far beyond each edge, as a share of the side across it.
    const std::array<double, 4> beyond = { -fy, fy - 1, -fx, fx - 1 };
    Colour sum {};
    double weights = 0;
    int nearest = -1;
    for (int e = 0; e < 4; ++e) {
        if (!m_edge[size_t(e)])
            continue;
        if (nearest < 0 || beyond[e] > beyond[nearest])
            nearest = e;
        if (beyond[e] <= 0)
            continue;
        // Beyond a corner the nearer edge's wall counts most.
        const double other = e < 2 ? std::max({ 0.0, beyond[2], beyond[3] })
                                   : std::max({ 0.0, beyond[0], beyond[1] });
        const double weight = other + 1e-9;
        const Colour value
            = colour(e, along(e, place(e, fx, fy).s), this->beyond(beyond[e], m_depth));
        for (int c = 0; c < 3; ++c)
            sum[c] += weight * value[c];
        weights += weight;
    }
    if (weights > 0) {
        for (double &c : sum)
            c /= weights;
        return sum;
    }
    return nearest < 0 ? Colour {}
                       : colour(nearest, along(nearest, place(nearest, fx, fy).s), { 0, 1 });
}

QRgb BackgroundExtension::at(QPointF point) const
{
    const Colour c = colourAt(point.x() / m_picture.width(), point.y() / m_picture.height());
    return qRgb(std::clamp(int(std::lround(c[0])), 0, 255),
        std::clamp(int(std::lround(c[1])), 0, 255), std::clamp(int(std::lround(c[2])), 0, 255));
}

void BackgroundExtension::paintOutside(
    QImage &target, const QRectF &source, const QSize &photoSize) const
{
    if (target.isNull() || source.isEmpty() || photoSize.isEmpty())
        return;
    if (target.format() != QImage::Format_RGB32 && target.format() != QImage::Format_ARGB32)
        target = target.convertToFormat(QImage::Format_RGB32);
    const double stepX = source.width() / target.width(), stepY = source.height() / target.height();
    // The target's pixels per pixel of the picture measured, for the grain's strength.
    const double finer = photoSize.width() / m_picture.width() / stepX;
    const double gain = std::min(MaxGrainGain, std::sqrt(finer));
    const QRectF photo(QPointF(0, 0), QSizeF(photoSize));
    // Above and below the photo each column's place along the edge is the same on every row.
    std::array<std::vector<Along>, 2> columns;
    for (int e = 0; e < 2; ++e)
        if (m_edge[size_t(e)])
            for (int i = 0; i < target.width(); ++i)
                columns[size_t(e)].push_back(
                    along(e, (source.left() + (i + 0.5) * stepX) / photo.width() - 0.5));
    for (int j = 0; j < target.height(); ++j) {
        const double y = source.top() + (j + 0.5) * stepY;
        auto *line = reinterpret_cast<QRgb *>(target.scanLine(j));
        // The grain sits on a grid of the target's pixels fixed to the photo, not to `source`.
        const auto gy = quint32(qint64(std::floor(y / stepY)));
        const int e = y < 0 ? 0 : 1;
        const bool row = (y < 0 || y >= photo.height()) && m_edge[size_t(e)];
        const Beyond rowBeyond
            = beyond(y < 0 ? -y / photo.height() : y / photo.height() - 1, m_depth);
        for (int i = 0; i < target.width(); ++i) {
            const double x = source.left() + (i + 0.5) * stepX;
            if (y >= 0 && y < photo.height() && x >= 0 && x < photo.width())
                continue;
            const Colour c = row && x >= 0 && x < photo.width()
                ? colour(e, columns[size_t(e)][size_t(i)], rowBeyond)
                : colourAt(x / photo.width(), y / photo.height());
            const auto gx = quint32(qint64(std::floor(x / stepX)));
            int v[3];
            for (int k = 0; k < 3; ++k)
                v[k] = std::clamp(
                    int(std::lround(c[k] + gain * m_grain[k] * grain(gx, gy, quint32(k)))), 0, 255);
            line[i] = qRgb(v[0], v[1], v[2]);
        }
    }
}
