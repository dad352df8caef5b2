#include "sheetgeometry.h"

namespace {
constexpr float Margin = 10.0f;
constexpr float Gap = 1.0f;
constexpr float FourColumnLimit = 50.0f;
} // namespace

QList<QRectF> sheetRectangles(const QSizeF &photoMm)
{
    // Single precision on purpose: the positions are the ones the layout has always had.
    const float w = float(photoMm.width());
    const float h = float(photoMm.height());
    const int columns = w < FourColumnLimit ? 4 : 3;
    QList<QRectF> rectangles;
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < columns; ++column) {
            const float left = Margin + float(column) * (w + Gap);
            const float top = Margin + float(row) * (h + Gap);
            rectangles.append(QRectF(left, top, w, h));
        }
    }
    return rectangles;
}

QSizeF photoSizeMm(const QSizeF &frameTwips)
{
    return QSizeF(float(frameTwips.width()) / 100.0f, float(frameTwips.height()) / 100.0f);
}
