#include "headtop.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <vector>

namespace {

using namespace Landmark;
using Colour = std::array<double, 3>;

// A cell of the sampling grid is this share of the eyes' distance: a fortieth is about
// 0.2 mm on a printed head, finer than any office measures.
constexpr double CellShare = 1.0 / 40;
// The columns start this far above the highest brow point, clear of the brows' hairs.
constexpr double AboveBrows = 0.15;
// A head's top lies at most this far above the brows (eyes' distances; a bouffant reaches 2).
constexpr double HighestTop = 3.2;
// The sides of the head: beyond the hair of a full head, still near it.
constexpr double SideFrom = 1.7, SideTo = 2.2;
// A background this short (eyes' distances) may be the head's own hair or its shadow: it is
// taken only when the sides of the head agree with it.
constexpr double ShortBackground = 0.2;
// The top of a column is a plain wall when its first cells (this share of the column) vary
// by less than this (RGB distance, root mean square): a camera's noise, no texture.
constexpr double PlainCells = 0.08;
constexpr double PlainNoise = 8;
// Cells in a row that must leave the wall: a stray hair or a speck of noise is no head.
constexpr size_t Lasting = 3;

double distance(const Colour &a, const Colour &b)
{
    return std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1])
        + (a[2] - b[2]) * (a[2] - b[2]));
}

// The picture around the head, sampled in the face's own frame: column u across the face,
// row v upwards from above the brows, a cell of `cell` pixels each.
class Grid
{
public:
    Grid(const QImage &picture, QPointF origin, QPointF across, QPointF up, double cell,
        int halfColumns, int rows)
        : m_half(halfColumns)
        , m_rows(rows)
        , m_cells(size_t(2 * halfColumns + 1) * rows)
        , m_valid(m_cells.size(), false)
    {
        // Averaged down to about a pixel a cell first, so a cell is its area, not one pixel.
        const double reduce = std::min(1.0, 1 / cell);
        const QImage small = reduce < 1 ? picture.scaled(picture.size() * reduce,
                                 Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                        : picture;
        const QImage rgb = small.convertToFormat(QImage::Format_RGB32);
        const double sx = double(rgb.width()) / picture.width();
        const double sy = double(rgb.height()) / picture.height();
        for (int u = -halfColumns; u <= halfColumns; ++u)
            for (int v = 0; v < rows; ++v) {
                const QPointF at = origin + across * (u * cell) + up * (v * cell);
                const double x = at.x() * sx - 0.5, y = at.y() * sy - 0.5;
                if (x < 0 || y < 0 || x > rgb.width() - 1 || y > rgb.height() - 1)
                    continue;
                const size_t i = index(u, v);
                m_cells[i] = bilinear(rgb, x, y);
                m_valid[i] = true;
            }
    }
    bool valid(int u, int v) const { return v >= 0 && v < m_rows && m_valid[index(u, v)]; }
    const Colour &at(int u, int v) const { return m_cells[index(u, v)]; }
    int rows() const { return m_rows; }
    // The highest row the picture holds in column u, or -1.
    int topRow(int u) const
    {
        for (int v = m_rows - 1; v >= 0; --v)
            if (valid(u, v))
                return v;
        return -1;
    }

private:
    size_t index(int u, int v) const { return size_t(u + m_half) * m_rows + v; }
    static Colour bilinear(const QImage &image, double x, double y)
    {
        const int x0 = int(x), y0 = int(y);
        const int x1 = std::min(x0 + 1, image.width() - 1);
        const int y1 = std::min(y0 + 1, image.height() - 1);
        const double fx = x - x0, fy = y - y0;
        const auto *row0 = reinterpret_cast<const QRgb *>(image.constScanLine(y0));
        const auto *row1 = reinterpret_cast<const QRgb *>(image.constScanLine(y1));
        const QRgb corners[4] = { row0[x0], row0[x1], row1[x0], row1[x1] };
        const double weights[4] = { (1 - fx) * (1 - fy), fx * (1 - fy), (1 - fx) * fy, fx * fy };
        Colour colour {};
        for (int k = 0; k < 4; ++k) {
            colour[0] += weights[k] * qRed(corners[k]);
            colour[1] += weights[k] * qGreen(corners[k]);
            colour[2] += weights[k] * qBlue(corners[k]);
        }
        return colour;
    }

    int m_half;
    int m_rows;
    std::vector<Colour> m_cells;
    std::vector<bool> m_valid;
};

// Sums over a column from its top, for the spread of any run of it in constant time.
class Runs
{
public:
    explicit Runs(const std::vector<Colour> &values)
        : m_sum(values.size() + 1)
        , m_squares(values.size() + 1, 0.0)
    {
        for (size_t i = 0; i < values.size(); ++i) {
            double square = 0;
            for (int c = 0; c < 3; ++c) {
                m_sum[i + 1][c] = m_sum[i][c] + values[i][c];
                square += values[i][c] * values[i][c];
            }
            m_squares[i + 1] = m_squares[i] + square;
        }
    }
    // The squared deviations from their mean of the values [from, to).
    double spread(size_t from, size_t to) const
    {
        if (to <= from)
            return 0;
        double sum2 = 0;
        for (int c = 0; c < 3; ++c) {
            const double s = m_sum[to][c] - m_sum[from][c];
            sum2 += s * s;
        }
        return m_squares[to] - m_squares[from] - sum2 / double(to - from);
    }
    Colour mean(size_t from, size_t to) const
    {
        Colour mean {};
        if (to > from)
            for (int c = 0; c < 3; ++c)
                mean[c] = (m_sum[to][c] - m_sum[from][c]) / double(to - from);
        return mean;
    }

private:
    std::vector<Colour> m_sum;
    std::vector<double> m_squares;
};

// The mean colour beside the head, left or right of it (columns from-to), in rows
// [fromRow, toRow); nothing where the picture ends first.
std::optional<Colour> sideColour(
    const Grid &grid, int side, int from, int to, int fromRow, int toRow = INT_MAX)
{
    Colour sum {};
    int count = 0;
    for (int k = from; k <= to; ++k)
        for (int v = std::max(0, fromRow); v < std::min(toRow, grid.rows()); ++v)
            if (grid.valid(side * k, v)) {
                const Colour &c = grid.at(side * k, v);
                for (int i = 0; i < 3; ++i)
                    sum[i] += c[i];
                ++count;
            }
    if (count == 0)
        return std::nullopt;
    for (double &c : sum)
        c /= count;
    return sum;
}

struct Column
{
    double top; // the row where the background ends, in cells above the grid's bottom
    Colour background;
    Colour head;
    size_t backgroundCells;
};

// The column parted into background above, then hair, then forehead, each as even in colour
// as can be: the least total spread over all places of the two cuts. Where hair and forehead
// are alike (a bald head, blond hair) the hair's part is empty or small; the cut that counts
// is the background's.
std::optional<Column> partColumn(
    const Grid &grid, int u, double minContrast, int sideFrom, int sideTo)
{
    const int top = grid.topRow(u);
    if (top < 4)
        return std::nullopt;
    std::vector<Colour> values; // from the top down
    for (int v = top; v >= 0 && grid.valid(u, v); --v)
        values.push_back(grid.at(u, v));
    const size_t n = values.size();
    const Runs runs(values);
    // What lies beside the head in these cells (from the top), when the picture shows it.
    const auto beside = [&](size_t from, size_t to) {
        std::vector<Colour> sides;
        for (const int side : { -1, 1 })
            if (const std::optional<Colour> colour
                = sideColour(grid, side, sideFrom, sideTo, top - int(to) + 1, top - int(from) + 1))
                sides.push_back(*colour);
        return sides;
    };
    size_t bestA = 0;
    // A few changes within the background at most; a busier one is no plain photo's.
    for (size_t start = 0, tries = 0; tries < 4; ++tries) {
        double best = -1;
        for (size_t a = start + 1; a + 1 < n; ++a)
            for (size_t c = a; c + 1 <= n - 1; ++c) {
                const double cost = runs.spread(start, a) + runs.spread(a, c) + runs.spread(c, n);
                if (best < 0 || cost < best) {
                    best = cost;
                    bestA = a;
                }
            }
        if (best < 0)
            return std::nullopt;
        // Below a change within the background (a plain strip above a busy room) lies more of
        // what shows beside the head: the head's top is further down.
        const size_t below = std::min(n, bestA + Lasting);
        const Colour under = runs.mean(bestA, below);
        const double head = distance(under, runs.mean(below, n));
        const std::vector<Colour> sides = beside(bestA, below);
        if (std::none_of(sides.begin(), sides.end(),
                [&](const Colour &side) { return distance(under, side) < head / 2; }))
            break;
        start = bestA;
    }
    // Against a plain wall anything that leaves it is the head, though the lightest strands
    // of the hair may lie nearer the wall's colour than the rest of the head does.
    const size_t first = std::max<size_t>(3, size_t(std::lround(PlainCells * n)));
    if (first < bestA) {
        const double noise = std::sqrt(runs.spread(0, first) / double(first));
        if (noise < PlainNoise) {
            const double limit = std::max(minContrast, 4 * noise);
            size_t leaving = 0;
            for (size_t i = first; i < bestA; ++i) {
                const Colour wall = runs.mean(0, i - leaving);
                leaving = distance(values[i], wall) > limit ? leaving + 1 : 0;
                if (leaving < Lasting)
                    continue;
                // What the wall gives way to must look like the head, not like the background
                // beside the head (a plain strip above a busy room).
                const size_t from = i + 1 - Lasting;
                const Colour left = runs.mean(from, i + 1);
                double background = distance(left, wall);
                for (const Colour &side : beside(from, i + 1))
                    background = std::min(background, distance(left, side));
                if (distance(left, runs.mean(bestA, n)) < background)
                    bestA = from;
                break;
            }
        }
    }
    // The cut lies between two cells: where background and hair mix half and half.
    const size_t headCells = std::min<size_t>(n - bestA, std::max<size_t>(2, (n - bestA) / 4));
    return Column { double(top) - double(bestA) + 0.5, runs.mean(0, bestA),
        runs.mean(bestA, bestA + headCells), bestA };
}

} // namespace

FaceMarks withMeasuredTop(const QImage &picture, FaceMarks face, const HeadTopLimits &limits)
{
    face.topFound = FaceMarks::TopFound::NotFound;
    if (picture.isNull() || face.points.size() != Count)
        return face;
    const auto [firstEye, secondEye] = face.eyes();
    const double eyes = std::hypot(secondEye.x() - firstEye.x(), secondEye.y() - firstEye.y());
    if (eyes < limits.minEyeDistance) {
        face.topFound = FaceMarks::TopFound::TooSmall;
        return face;
    }
    const QPointF across = (secondEye - firstEye) / eyes;
    const QPointF up(across.y(), -across.x());
    const QPointF middle = (firstEye + secondEye) / 2;
    double brows = 0;
    for (int i = BrowFirst; i <= BrowLast; ++i)
        brows = std::max(brows, QPointF::dotProduct(face.points[i] - middle, up));
    const double cell = eyes * CellShare;
    const QPointF origin = middle + up * (brows + AboveBrows * eyes);
    const int halfColumns = int(std::ceil(SideTo * eyes / cell));
    const int rows = int(std::ceil(HighestTop * eyes / cell));
    const Grid grid(picture, origin, across, up, cell, halfColumns, rows);

    const int span = int(limits.columnSpan * eyes / cell);
    std::vector<Column> columns;
    for (int u = -span; u <= span; ++u)
        if (const std::optional<Column> column
            = partColumn(grid, u, limits.minContrast, int(SideFrom * eyes / cell), halfColumns);
            column && distance(column->background, column->head) >= limits.minContrast)
            columns.push_back(*column);
    if (columns.size() < size_t(span + 1)) // most of the 2 span + 1 columns
        return face;
    std::vector<double> tops;
    for (const Column &column : columns)
        tops.push_back(column.top);
    std::sort(tops.begin(), tops.end());
    const double lower = tops[tops.size() / 4], upper = tops[tops.size() * 3 / 4];
    if ((upper - lower) * cell > limits.maxSpread * eyes)
        return face;
    // Light strands taken for the wall lower a column's top, never raise it.
    const double top = upper;
    const Column &central = columns[columns.size() / 2];
    // Hair to the photo's edge leaves the column's top looking like background; beside the
    // head the true background shows.
    if (double(central.backgroundCells) * cell < ShortBackground * eyes) {
        // Hair on both sides alike means the head reaches the edge; a background the head
        // hides parts of differs on one side only.
        const int from = int(SideFrom * eyes / cell);
        bool wall = false;
        for (const int side : { -1, 1 })
            if (const std::optional<Colour> beside
                = sideColour(grid, side, from, halfColumns, int(top) + 1))
                wall = wall
                    || distance(central.background, *beside)
                        <= distance(central.background, central.head);
        if (!wall)
            return face;
    }

    const double hairAbove = brows + AboveBrows * eyes + top * cell; // above the eyes' middle
    face.hairTop = middle + up * hairAbove;
    // The landmarks' own estimate, lowered to below the hair where it would lie above it.
    const double mirrored = QPointF::dotProduct(face.skullTop - middle, up);
    face.skullTop = middle + up * std::min(mirrored, hairAbove - limits.hairThickness * eyes);
    face.topFound = FaceMarks::TopFound::Measured;
    return face;
}
