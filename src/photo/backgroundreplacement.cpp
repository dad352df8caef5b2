#include "backgroundreplacement.h"
#include "wallcolour.h"

#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace {

using namespace Landmark;
using namespace WallColour;

// The wall is judged on the view the background check uses, so the two spreads compare.
constexpr int ViewHeight = 120;
// The long side of the grid the person is told from the wall on.
constexpr int WorkSide = 1000;
// Where the wall is not sampled for its field: hair and ears reach this share of the jaw's
// width beyond its sides and above the measured top, shoulders this far either side below the
// chin.
constexpr double HeadSide = 0.45, HairAbove = 0.25, Shoulders = 1.8;
// The band between sure wall and sure person, in pixels of the picture measured: inside the
// outline for JPEG's ringing along it, outside for hair's soft fringe.
constexpr int BandIn = 2, BandOut = 3;
// Things off the wall's field nearer the person than this (jaw widths) are loose hair; further
// off they are strays.
constexpr double StrayMargin = 0.15;

std::array<double, 6> terms(double fx, double fy)
{
    const double u = fx - 0.5, v = fy - 0.5;
    return { 1, u, v, u * u, u * v, v * v };
}

// Not std::hypot: its care for overflow costs more than the whole rest of a pixel's work.
double distance(const Colour &a, const Colour &b)
{
    const double y = a[0] - b[0], cb = a[1] - b[1], cr = a[2] - b[2];
    return std::sqrt(y * y + cb * cb + cr * cr);
}

// The chamfer distance (3 a step, 4 a diagonal) to the nearest pixel where `source` holds.
template<typename Source> std::vector<int> chamfer(int w, int h, Source source)
{
    constexpr int Far = 1 << 28;
    std::vector<int> d(size_t(w) * size_t(h));
    for (size_t k = 0; k < d.size(); ++k)
        d[k] = source(k) ? 0 : Far;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const size_t k = size_t(y) * size_t(w) + size_t(x);
            int v = d[k];
            if (x > 0)
                v = std::min(v, d[k - 1] + 3);
            if (y > 0) {
                v = std::min(v, d[k - size_t(w)] + 3);
                if (x > 0)
                    v = std::min(v, d[k - size_t(w) - 1] + 4);
                if (x < w - 1)
                    v = std::min(v, d[k - size_t(w) + 1] + 4);
            }
            d[k] = v;
        }
    for (int y = h - 1; y >= 0; --y)
        for (int x = w - 1; x >= 0; --x) {
            const size_t k = size_t(y) * size_t(w) + size_t(x);
            int v = d[k];
            if (x < w - 1)
                v = std::min(v, d[k + 1] + 3);
            if (y < h - 1) {
                v = std::min(v, d[k + size_t(w)] + 3);
                if (x < w - 1)
                    v = std::min(v, d[k + size_t(w) + 1] + 4);
                if (x > 0)
                    v = std::min(v, d[k + size_t(w) - 1] + 4);
            }
            d[k] = v;
        }
    return d;
}

} // namespace

std::optional<BackgroundReplacement> BackgroundReplacement::measure(
    const QImage &picture, const FaceMarks &marks, Why *why, const ReplacementLimits &limits)
{
    const auto refuse = [why](Refusal refusal, double figure, double limit) {
        if (why)
            *why = { refusal, figure, limit };
        return std::nullopt;
    };
    if (picture.isNull() || marks.points.size() != Count)
        return refuse(Refusal::NoFace, 0, 0);
    // The trimap needs no finer grid: the band's pixels are matted at the target's own
    // resolution.
    const double work
        = std::min(1.0, double(WorkSide) / std::max(picture.width(), picture.height()));
    const QImage image = (work < 1
            ? picture.scaled(picture.size() * work, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
            : picture)
                             .convertToFormat(QImage::Format_RGB32);
    const int w = image.width(), h = image.height();
    const size_t n = size_t(w) * size_t(h);
    const FaceMarks face = work < 1 ? marks.mapped(QTransform::fromScale(
                               double(w) / picture.width(), double(h) / picture.height()))
                                    : marks;
    const QList<QPointF> &p = face.points;
    const double jaw
        = std::hypot(p[JawLast].x() - p[JawFirst].x(), p[JawLast].y() - p[JawFirst].y());
    if (jaw < 4)
        return refuse(Refusal::NoFace, 0, 0);
    const double top = std::min(face.hair(), face.crown());
    const auto nearPerson = [&](double x, double y) {
        const double across = std::abs(x - face.centreX);
        return (y >= top - HairAbove * jaw && y <= face.chin && across <= (0.5 + HeadSide) * jaw)
            || (y > face.chin && across <= Shoulders * jaw);
    };

    // The wall's field, fitted twice on the view, the second time without the pixels far off
    // the first fit (a stray hair, a mark), as the background check does.
    const double reduce = std::min(1.0, double(ViewHeight) / h);
    const QImage view = reduce < 1 ? image.scaled(std::max(1, int(std::lround(w * reduce))),
                            ViewHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                   : image;
    struct Sample
    {
        std::array<double, 6> terms;
        Colour value;
    };
    std::vector<Sample> samples;
    for (int vy = 0; vy < view.height(); ++vy)
        for (int vx = 0; vx < view.width(); ++vx) {
            const double fx = (vx + 0.5) / view.width(), fy = (vy + 0.5) / view.height();
            if (!nearPerson(fx * w, fy * h))
                samples.push_back({ terms(fx, fy), ycc(view.pixel(vx, vy)) });
        }
    const double viewPixels = double(view.width()) * view.height();
    if (double(samples.size()) < std::max(200.0, limits.minWall * viewPixels / 2))
        return refuse(Refusal::TooLittleWall, double(samples.size()) / viewPixels, limits.minWall);
    BackgroundReplacement matte;
    std::vector<double> off;
    const auto fitted = fitTwice<6>(samples, off);
    if (!fitted)
        return refuse(Refusal::TooLittleWall, 0, limits.minWall);
    matte.m_fit = *fitted;
    const double spread = quantile(off, 0.9);
    if (spread > limits.maxSpread)
        return refuse(Refusal::NotPlain, spread, limits.maxSpread);

    // Each pixel's distance to the field, as shot (for the band's contrast) and smoothed over
    // 3 x 3 (to tell wall from person with the grain averaged out).
    std::vector<float> raw(n);
    std::array<std::vector<float>, 3> diff;
    for (auto &plane : diff)
        plane.resize(n);
    // Along a row the field is a quadratic of x alone.
    std::vector<float> columnU(static_cast<size_t>(w));
    for (int x = 0; x < w; ++x)
        columnU[size_t(x)] = float((x + 0.5) / w - 0.5);
    for (int y = 0; y < h; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        const double v = (y + 0.5) / h - 0.5;
        std::array<float, 3> a, b, c;
        for (int ch = 0; ch < 3; ++ch) {
            const std::array<double, 6> &f = matte.m_fit[size_t(ch)];
            a[ch] = float(f[0] + f[2] * v + f[5] * v * v);
            b[ch] = float(f[1] + f[4] * v);
            c[ch] = float(f[3]);
        }
        for (int x = 0; x < w; ++x) {
            const size_t k = size_t(y) * size_t(w) + size_t(x);
            const float u = columnU[size_t(x)];
            const float r = float(qRed(line[x])), g = float(qGreen(line[x])),
                        bl = float(qBlue(line[x]));
            const float d0 = 0.299f * r + 0.587f * g + 0.114f * bl - (a[0] + u * (b[0] + u * c[0]));
            const float d1
                = -0.168736f * r - 0.331264f * g + 0.5f * bl - (a[1] + u * (b[1] + u * c[1]));
            const float d2
                = 0.5f * r - 0.418688f * g - 0.081312f * bl - (a[2] + u * (b[2] + u * c[2]));
            diff[0][k] = d0;
            diff[1][k] = d1;
            diff[2][k] = d2;
            raw[k] = std::sqrt(d0 * d0 + d1 * d1 + d2 * d2);
        }
    }
    std::vector<float> smooth(n);
    {
        std::vector<float> line(size_t(w) + 2);
        for (std::vector<float> &d : diff)
            for (int y = 0; y < h; ++y) {
                float *row = d.data() + size_t(y) * size_t(w);
                std::copy(row, row + w, line.begin() + 1);
                line[0] = row[0];
                line[size_t(w) + 1] = row[w - 1];
                for (int x = 0; x < w; ++x)
                    row[x] = line[size_t(x)] + line[size_t(x) + 1] + line[size_t(x) + 2];
            }
        for (int y = 0; y < h; ++y) {
            const size_t up = size_t(std::max(y - 1, 0)) * size_t(w), mid = size_t(y) * size_t(w),
                         down = size_t(std::min(y + 1, h - 1)) * size_t(w);
            float *out = smooth.data() + mid;
            for (int x = 0; x < w; ++x) {
                float sum = 0;
                for (const std::vector<float> &d : diff) {
                    const float v = d[up + size_t(x)] + d[mid + size_t(x)] + d[down + size_t(x)];
                    sum += v * v;
                }
                out[x] = std::sqrt(sum) / 9;
            }
        }
    }
    diff = {};
    std::vector<double> rawWall, smoothWall;
    const int stride = std::max(1, int(std::sqrt(double(n) / 40000)));
    for (int y = 0; y < h; y += stride)
        for (int x = 0; x < w; x += stride)
            if (!nearPerson(x + 0.5, y + 0.5)) {
                rawWall.push_back(raw[size_t(y) * size_t(w) + size_t(x)]);
                smoothWall.push_back(smooth[size_t(y) * size_t(w) + size_t(x)]);
            }
    matte.m_noise = std::max(2.0, quantile(rawWall, 0.95));
    // Twice the smoothed grain's 95th percentile leaves a wall pixel in a thousand over it.
    const float threshold = float(std::max(3.0, 2 * quantile(smoothWall, 0.95)));

    // Sure person: the face's hull (jaw, brows raised towards the skull's top) and the body under
    // the jaw widening to the bottom edge: clothes are never changed.
    QImage seeds(w, h, QImage::Format_Grayscale8);
    seeds.fill(0);
    {
        // Drawn a little inside the landmarks, which may stray past the face's edge.
        const auto inside = [&](QPointF point) {
            return QPointF(face.centreX + 0.92 * (point.x() - face.centreX), point.y());
        };
        QPolygonF hull;
        for (int i = JawFirst; i <= JawLast; ++i)
            hull << inside(p[i]);
        double browTop = h;
        for (int i = BrowFirst; i <= BrowLast; ++i)
            browTop = std::min(browTop, p[i].y());
        // The forehead up to nearly the skull's top, arched as the skull is: skin the wall's
        // colour between the brows and the hairline is still the face. The brows' ends stay,
        // so the arch never reaches past the temples into the wall.
        const double lift = std::max(0.0, 0.9 * (browTop - face.crown()));
        const double right = p[BrowLast].x(), left = p[BrowFirst].x();
        hull << inside(p[BrowLast]);
        constexpr int Arch = 24;
        for (int k = 1; k < Arch; ++k) {
            const double x = right + (left - right) * k / Arch;
            const double across = 2.0 * k / Arch - 1;
            hull << inside(QPointF(x, browTop - lift * std::sqrt(1 - across * across)));
        }
        hull << inside(p[BrowFirst]);
        QPolygonF body({ p[6], p[10], QPointF(face.centreX + 0.9 * jaw, h + 1),
            QPointF(face.centreX - 0.9 * jaw, h + 1) });
        QPainter painter(&seeds);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::white);
        painter.drawPolygon(hull);
        painter.drawPolygon(body);
    }
    // The person: the seeds and whatever off the wall's field touches them. A pixel as shot
    // within the grain counts as wall too: the gaps between strands of hair, which the
    // smoothing fills.
    const auto wallLike
        = [&](size_t k) { return smooth[k] <= threshold || raw[k] <= matte.m_noise; };
    std::vector<uchar> cls(n, Wall);
    std::vector<size_t> stack;
    for (int y = 0; y < h; ++y) {
        const uchar *line = seeds.constScanLine(y);
        for (int x = 0; x < w; ++x)
            if (line[x]) {
                cls[size_t(y) * size_t(w) + size_t(x)] = Person;
                // Only the seeds' own edge can reach anything new.
                if (x == 0 || x == w - 1 || !line[x - 1] || !line[x + 1]
                    || (y > 0 && !seeds.constScanLine(y - 1)[x])
                    || (y < h - 1 && !seeds.constScanLine(y + 1)[x]))
                    stack.push_back(size_t(y) * size_t(w) + size_t(x));
            }
    }
    while (!stack.empty()) {
        const size_t k = stack.back();
        stack.pop_back();
        const int x = int(k % size_t(w)), y = int(k / size_t(w));
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const int nx = x + dx, ny = y + dy;
                if (nx < 0 || ny < 0 || nx >= w || ny >= h)
                    continue;
                const size_t m = size_t(ny) * size_t(w) + size_t(nx);
                if (cls[m] == Wall && !wallLike(m)) {
                    cls[m] = Person;
                    stack.push_back(m);
                }
            }
    }
    // Off the field but apart from the person: loose hair near it, strays further off. The
    // band outside is drawn round the person without them (one distance less to find): a
    // loose strand is matted on its own pixels and the band inside it.
    const std::vector<int> toPerson = chamfer(w, h, [&](size_t k) { return cls[k] == Person; });
    const int margin = int(3 * StrayMargin * jaw);
    qsizetype strays = 0, wall = 0;
    for (size_t k = 0; k < n; ++k) {
        if (cls[k] == Person)
            continue;
        if (wallLike(k))
            ++wall;
        else if (toPerson[k] <= margin)
            cls[k] = Person;
        else
            ++strays;
    }
    if (double(wall) < limits.minWall * double(n))
        return refuse(Refusal::TooLittleWall, double(wall) / double(n), limits.minWall);
    if (double(strays) > limits.maxStray * double(wall))
        return refuse(Refusal::NotPlain, double(strays) / double(wall), limits.maxStray);

    // Hair just under its top and the clothes' lower corners must stand off the wall.
    const auto contrast = [&](const QRectF &area) {
        const QRect box = area.toAlignedRect().intersected(image.rect());
        if (box.isEmpty())
            return 255.0;
        Colour mean {};
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x) {
                const Colour v = ycc(image.pixel(x, y));
                for (int c = 0; c < 3; ++c)
                    mean[c] += v[c] / (double(box.width()) * box.height());
            }
        const QPointF at = box.toRectF().center();
        return distance(mean, matte.wallAt(at.x() / w, at.y() / h));
    };
    const auto [firstEye, secondEye] = face.eyes();
    const double eyes = std::hypot(secondEye.x() - firstEye.x(), secondEye.y() - firstEye.y());
    const double hair
        = contrast(QRectF(QPointF(face.centreX - 0.2 * eyes, face.hair() + 0.03 * eyes),
            QPointF(face.centreX + 0.2 * eyes, face.hair() + 0.12 * eyes)));
    double least = hair;
    if (face.chin < h - 0.5 * jaw)
        for (const double side : { -0.7, 0.6 })
            least = std::min(least,
                contrast(QRectF(face.centreX + side * jaw, h - 0.2 * jaw, 0.1 * jaw, 0.15 * jaw)));
    if (least < limits.minContrast)
        return refuse(Refusal::LikePerson, least, limits.minContrast);

    // The band: either side of the outline, never over the seeds.
    const std::vector<int> toWall = chamfer(w, h, [&](size_t k) { return cls[k] == Wall; });
    matte.m_class = QImage(w, h, QImage::Format_Grayscale8);
    matte.m_contrast.assign(n, 0);
    const auto localMost = [&](int x, int y) {
        float most = 0;
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx) {
                const int nx = std::clamp(x + dx, 0, w - 1), ny = std::clamp(y + dy, 0, h - 1);
                most = std::max(most, smooth[size_t(ny) * size_t(w) + size_t(nx)]);
            }
        return double(most);
    };
    for (int y = 0; y < h; ++y) {
        uchar *line = matte.m_class.scanLine(y);
        const uchar *seed = seeds.constScanLine(y);
        // Above the eyes, outside the face, the person is hair: strands finer than a pixel
        // never show its full colour, so the hair's own distance to the wall tells how much
        // of a pixel they cover.
        const double hairHere = y < face.eyeLine ? hair : 0;
        for (int x = 0; x < w; ++x) {
            const size_t k = size_t(y) * size_t(w) + size_t(x);
            uchar c = cls[k];
            double most = -1;
            if (!seed[x] && c == Person) {
                // The edge's inside, and the hair's fringe where it covers under half a pixel.
                if (toWall[k] <= 3 * BandIn || (toWall[k] <= margin && smooth[k] < 0.75 * hairHere))
                    c = Band;
            } else if (!seed[x] && c == Wall && toPerson[k] <= 3 * BandOut)
                c = Band;
            line[x] = c;
            if (c != Band)
                continue;
            if (most < 0)
                most = localMost(x, y);
            matte.m_contrast[k]
                = uchar(std::clamp(std::max(0.8 * most, 0.9 * hairHere), matte.m_noise + 8, 255.0));
        }
    }
    return matte;
}

std::array<double, 3> BackgroundReplacement::wallAt(double fx, double fy) const
{
    const std::array<double, 6> t = terms(fx, fy);
    Colour v {};
    for (int c = 0; c < 3; ++c)
        for (int a = 0; a < 6; ++a)
            v[c] += m_fit[c][a] * t[a];
    return v;
}

double BackgroundReplacement::alphaOf(
    QRgb shot, const std::array<double, 3> &wall, double contrast) const
{
    const double d = distance(ycc(shot), wall);
    return std::clamp((d - m_noise) / (std::max(contrast, m_noise + 8) - m_noise), 0.0, 1.0);
}

template<typename Pixel>
void BackgroundReplacement::walk(
    QSize size, const QRectF &source, const QSize &photoSize, Pixel pixel) const
{
    if (size.isEmpty() || source.isEmpty() || photoSize.isEmpty() || m_class.isNull())
        return;
    const int w = m_class.width(), h = m_class.height();
    const double stepX = source.width() / size.width(), stepY = source.height() / size.height();
    // Each column's place, once: its share of the photo's width and the trimap's left cell of
    // the bilinear pair (-2 outside the photo).
    std::vector<double> fxs(size_t(size.width()));
    std::vector<int> cells(size_t(size.width()));
    for (int i = 0; i < size.width(); ++i) {
        const double fx = (source.left() + (i + 0.5) * stepX) / photoSize.width();
        fxs[size_t(i)] = fx;
        cells[size_t(i)] = fx < 0 || fx >= 1 ? -2 : int(std::floor(fx * w - 0.5));
    }
    for (int j = 0; j < size.height(); ++j) {
        const double fy = (source.top() + (j + 0.5) * stepY) / photoSize.height();
        if (fy < 0 || fy >= 1) {
            for (int i = 0; i < size.width(); ++i)
                pixel(j, i, fxs[size_t(i)], fy, 0.0);
            continue;
        }
        const int row = int(std::floor(fy * h - 0.5));
        const int r0 = std::clamp(row, 0, h - 1), r1 = std::clamp(row + 1, 0, h - 1);
        const uchar *above = m_class.constScanLine(r0), *below = m_class.constScanLine(r1);
        const uchar *contrastAbove = m_contrast.data() + size_t(r0) * size_t(w);
        const uchar *contrastBelow = m_contrast.data() + size_t(r1) * size_t(w);
        for (int i = 0; i < size.width(); ++i) {
            const int cell = cells[size_t(i)];
            if (cell == -2) {
                pixel(j, i, fxs[size_t(i)], fy, 0.0);
                continue;
            }
            const int c0 = std::max(cell, 0), c1 = std::min(cell + 1, w - 1);
            const uchar all = above[c0] & above[c1] & below[c0] & below[c1];
            if (all == Person)
                continue;
            if ((above[c0] | above[c1] | below[c0] | below[c1]) == Wall) {
                pixel(j, i, fxs[size_t(i)], fy, 0.0);
                continue;
            }
            const uchar most = std::max({ contrastAbove[c0], contrastAbove[c1], contrastBelow[c0],
                contrastBelow[c1], uchar(1) });
            pixel(j, i, fxs[size_t(i)], fy, double(most));
        }
    }
}

void BackgroundReplacement::paint(
    QImage &target, const QRectF &source, const QSize &photoSize, QColor colour) const
{
    if (target.format() != QImage::Format_RGB32 && target.format() != QImage::Format_ARGB32)
        target = target.convertToFormat(QImage::Format_RGB32);
    const QRgb plain = colour.rgb() | 0xff000000u;
    const Colour fresh = { double(colour.red()), double(colour.green()), double(colour.blue()) };
    QRgb *line = nullptr;
    int lineIndex = -1;
    walk(
        target.size(), source, photoSize, [&](int j, int i, double fx, double fy, double contrast) {
            if (j != lineIndex)
                line = reinterpret_cast<QRgb *>(target.scanLine(lineIndex = j));
            if (contrast <= 0) {
                line[i] = plain;
                return;
            }
            // The old wall's share taken out and the new one's put in, in proportion: a
            // strand's fringe keeps its own colour, not the old wall's tint.
            const Colour wall = wallAt(fx, fy);
            const double keep = 1 - alphaOf(line[i], wall, contrast);
            const Colour old = rgb(wall);
            const QRgb shot = line[i];
            const int r = int(std::lround(qRed(shot) + keep * (fresh[0] - old[0])));
            const int g = int(std::lround(qGreen(shot) + keep * (fresh[1] - old[1])));
            const int b = int(std::lround(qBlue(shot) + keep * (fresh[2] - old[2])));
            line[i] = qRgb(std::clamp(r, 0, 255), std::clamp(g, 0, 255), std::clamp(b, 0, 255));
        });
}

QImage BackgroundReplacement::alpha(
    const QImage &target, const QRectF &source, const QSize &photoSize) const
{
    const QImage shot = target.convertToFormat(QImage::Format_RGB32);
    QImage matte(target.size(), QImage::Format_Grayscale8);
    matte.fill(255);
    walk(
        target.size(), source, photoSize, [&](int j, int i, double fx, double fy, double contrast) {
            matte.scanLine(j)[i] = contrast <= 0
                ? 0
                : uchar(std::lround(255
                    * alphaOf(reinterpret_cast<const QRgb *>(shot.constScanLine(j))[i],
                        wallAt(fx, fy), contrast)));
        });
    return matte;
}
