#include "sheetgeometry.h"
#include "photo/iddocument.h"
#include "platform/units.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <tuple>

namespace {
constexpr float Margin = 10.0f;
constexpr float Gap = 1.0f;
constexpr float FourColumnLimit = 50.0f;
constexpr int SheetRows = 2;
// Only the rounding of the sheet's single-precision positions is forgiven.
constexpr double Slack = 0.001; // mm

// How many copies of a side fit a length, 1 mm apart; at most `most`.
int copiesAlong(double room, double side, int most)
{
    const double fitting = std::floor((room + Gap + Slack) / (side + Gap));
    return int(std::clamp(std::isnan(fitting) ? 0.0 : fitting, 0.0, double(most)));
}

// The band's sizes keep the sheet they have always printed; the offices' other sizes print
// as many copies as the paper takes.
bool isBandSize(const QSizeF &photoMm)
{
    IdDocument document;
    document.size = photoMm;
    return document.bandFormat() >= 0;
}

QList<QRectF> gridOnPaper(const QSizeF &photoMm, const QSizeF &printableMm)
{
    const double w = photoMm.width();
    const double h = photoMm.height();
    const int columns = copiesAlong(printableMm.width(), w, std::numeric_limits<int>::max());
    const int rows = copiesAlong(printableMm.height(), h, std::numeric_limits<int>::max());
    const double left = (printableMm.width() - (columns * w + (columns - 1) * Gap)) / 2;
    const double top = (printableMm.height() - (rows * h + (rows - 1) * Gap)) / 2;
    QList<QRectF> places;
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column)
            places.append(QRectF(left + column * (w + Gap), top + row * (h + Gap), w, h));
    }
    return places;
}
} // namespace

QList<QRectF> sheetRectangles(const QSizeF &photoMm)
{
    // Single precision on purpose: the positions are the ones the layout has always had.
    const float w = float(photoMm.width());
    const float h = float(photoMm.height());
    const int columns = w < FourColumnLimit ? 4 : 3;
    QList<QRectF> rectangles;
    for (int row = 0; row < SheetRows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const float left = Margin + float(column) * (w + Gap);
            const float top = Margin + float(row) * (h + Gap);
            rectangles.append(QRectF(left, top, w, h));
        }
    }
    return rectangles;
}

QList<QRectF> sheetOnPaper(const QSizeF &photoMm, const QSizeF &printableMm)
{
    const double w = photoMm.width();
    const double h = photoMm.height();
    if (!(w > 0 && h > 0))
        return {};
    if (!isBandSize(photoMm))
        return gridOnPaper(photoMm, printableMm);
    const QList<QRectF> sheet = sheetRectangles(photoMm);
    const QRectF &last = sheet.last();
    if (last.right() <= printableMm.width() + Slack
        && last.bottom() <= printableMm.height() + Slack)
        return sheet;

    const int most = int(sheet.size());
    const int sheetColumns = most / SheetRows;
    const int maxColumns = copiesAlong(printableMm.width(), w, most);
    const int maxRows = copiesAlong(printableMm.height(), h, most);
    // Better is more copies, then nearer the sheet's shape, then fewer empty places.
    std::tuple<int, int, int> best { 0, 0, 0 };
    int columns = 0;
    int rows = 0;
    for (int c = 1; c <= maxColumns; ++c) {
        for (int r = 1; r <= maxRows; ++r) {
            const int count = std::min(c * r, most);
            if ((r - 1) * c >= count)
                continue; // a row would stay empty
            const std::tuple<int, int, int> score { count,
                -(std::abs(c - sheetColumns) + std::abs(r - SheetRows)), count - c * r };
            if (score > best) {
                best = score;
                columns = c;
                rows = r;
            }
        }
    }
    const int count = std::get<0>(best);
    if (count == 0)
        return {};
    const double left = (printableMm.width() - (columns * w + (columns - 1) * Gap)) / 2;
    const double top = (printableMm.height() - (rows * h + (rows - 1) * Gap)) / 2;
    QList<QRectF> places;
    for (int i = 0; i < count; ++i)
        places.append(
            QRectF(left + (i % columns) * (w + Gap), top + (i / columns) * (h + Gap), w, h));
    return places;
}

QSizeF photoSizeMm(const QSizeF &frameTwips)
{
    return QSizeF(float(frameTwips.width()) / float(Units::TwipsPerMillimetre),
        float(frameTwips.height()) / float(Units::TwipsPerMillimetre));
}
