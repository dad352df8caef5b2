#include "photo.h"

#include <thread>

namespace {

// Reduced copies stop once their longer side is this small; the frame is never smaller.
constexpr int SmallestReducedSide = 200;

QImage oriented(const QImage &image, QImageIOHandler::Transformations orientation)
{
    if (orientation == QImageIOHandler::TransformationNone)
        return image;
    QImage result = image.mirrored(orientation & QImageIOHandler::TransformationMirror,
        orientation & QImageIOHandler::TransformationFlip);
    if (orientation & QImageIOHandler::TransformationRotate90)
        result = result.transformed(QTransform().rotate(90));
    return result;
}

// Averages each factor x factor block of a 32-bit image into one pixel (factor a power of two
// up to 16), rows split between two threads: this runs once per photo over every pixel, on
// the load's critical path. Two channels are summed at once in the 16-bit halves of a word.
QImage boxReduce(const QImage &source, int factor)
{
    const int width = source.width() / factor;
    const int height = source.height() / factor;
    QImage reduced(width, height, QImage::Format_RGB32);
    if (reduced.isNull())
        return reduced;
    int shift = 0;
    while ((1 << shift) < factor * factor)
        ++shift;
    auto reduceRows = [&](int firstRow, int endRow) {
        std::vector<quint32> blueRed(static_cast<size_t>(width));
        std::vector<quint32> greenAlpha(static_cast<size_t>(width));
        for (int y = firstRow; y < endRow; ++y) {
            std::fill(blueRed.begin(), blueRed.end(), 0u);
            std::fill(greenAlpha.begin(), greenAlpha.end(), 0u);
            for (int dy = 0; dy < factor; ++dy) {
                const auto *in
                    = reinterpret_cast<const quint32 *>(source.constScanLine(y * factor + dy));
                for (int x = 0; x < width; ++x) {
                    quint32 br = 0, ga = 0;
                    for (int dx = 0; dx < factor; ++dx, ++in) {
                        br += *in & 0x00FF00FF;
                        ga += (*in >> 8) & 0x00FF00FF;
                    }
                    blueRed[x] += br;
                    greenAlpha[x] += ga;
                }
            }
            auto *out = reinterpret_cast<quint32 *>(reduced.scanLine(y));
            for (int x = 0; x < width; ++x) {
                const quint32 br = blueRed[x];
                const quint32 ga = greenAlpha[x];
                out[x] = ((ga >> 16) >> shift) << 24 | ((br >> 16) >> shift) << 16
                    | ((ga & 0xFFFF) >> shift) << 8 | ((br & 0xFFFF) >> shift);
            }
        }
    };
    const int middle = height / 2;
    std::thread lower(reduceRows, middle, height);
    reduceRows(0, middle);
    lower.join();
    return reduced;
}

} // namespace

Photo::Photo(QImage stored, QImageIOHandler::Transformations orientation)
    : m_stored(std::move(stored))
    , m_orientation(orientation)
{
    m_upright = orientation & QImageIOHandler::TransformationRotate90 ? m_stored.size().transposed()
                                                                      : m_stored.size();
    buildReducedCopies();
}

QRect Photo::storedRect(const QRect &upright) const
{
    const int sw = m_stored.width();
    const int sh = m_stored.height();
    QRect rect = upright;
    if (m_orientation & QImageIOHandler::TransformationRotate90)
        rect = QRect(upright.top(), sh - (upright.left() + upright.width()), upright.height(),
            upright.width());
    if (m_orientation & QImageIOHandler::TransformationMirror)
        rect.moveLeft(sw - (rect.left() + rect.width()));
    if (m_orientation & QImageIOHandler::TransformationFlip)
        rect.moveTop(sh - (rect.top() + rect.height()));
    return rect;
}

QImage Photo::crop(const QRect &upright) const
{
    return oriented(m_stored.copy(storedRect(upright)), m_orientation);
}

QImage Photo::scaledCrop(const QRect &upright, const QSize &target) const
{
    if (target.isEmpty() || upright.isEmpty())
        return QImage();
    for (auto level = m_reduced.rbegin(); level != m_reduced.rend(); ++level) {
        const QRectF part(upright.x() / double(level->factor), upright.y() / double(level->factor),
            upright.width() / double(level->factor), upright.height() / double(level->factor));
        if (part.width() < target.width() || part.height() < target.height())
            continue;
        const QRect source = part.toRect().intersected(level->upright.rect());
        return level->upright.copy(source).scaled(
            target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    // No reduced copy is large enough: scale the photo's own pixels of the part.
    return oriented(
        m_stored.copy(storedRect(upright))
            .scaled(m_orientation & QImageIOHandler::TransformationRotate90 ? target.transposed()
                                                                            : target,
                Qt::IgnoreAspectRatio, Qt::SmoothTransformation),
        m_orientation);
}

void Photo::buildReducedCopies()
{
    // A quarter in each direction first: a half would cost a quarter of the photo's memory.
    int factor = 4;
    QImage level = boxReduce(m_stored, factor);
    while (!level.isNull() && std::max(level.width(), level.height()) >= SmallestReducedSide) {
        m_reduced.push_back({ factor, oriented(level, m_orientation) });
        level = boxReduce(level, 2);
        factor *= 2;
    }
}
