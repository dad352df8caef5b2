#include "photo.h"

#include <QCoreApplication>
#include <QPainter>
#include <QThreadPool>

#include <array>
#include <condition_variable>
#include <cstring>
#include <mutex>
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

// The reduced copies halve from one to the next, so the copy a part is taken from is less
// than twice the target's size: there, bilinear sampling averages nearly as an area filter
// does, at a third of its cost, which the frame pays on every press.
QImage scaledPart(
    const QImage &picture, const QRectF &wanted, const QSize &target, Photo::Scaling scaling)
{
    const QRectF part = wanted.intersected(QRectF(picture.rect()));
    if (scaling == Photo::Scaling::Smooth)
        return picture.copy(part.toRect())
            .scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QImage scaled(target, picture.format());
    if (scaled.isNull())
        return scaled;
    QPainter painter(&scaled);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(QPointF(), QSizeF(target)), picture, part);
    return scaled;
}

} // namespace

namespace {

// Not Qt's global pool: its image functions split large images over that pool's threads and
// would wait behind a read or a decode. Work still running ends with the application, while
// the image plugins are there.
QThreadPool &photoThreads(int work)
{
    static std::array<QThreadPool, 2> pools;
    static const bool drainedAtExit = [] {
        qAddPostRoutine([] {
            for (QThreadPool &pool : pools)
                pool.waitForDone();
        });
        return true;
    }();
    Q_UNUSED(drainedAtExit);
    return pools[std::size_t(work)];
}

} // namespace

QThreadPool &photoReadThreads()
{
    return photoThreads(0);
}

QThreadPool &photoDecodeThreads()
{
    return photoThreads(1);
}

struct Photo::Decode
{
    Decode() { done.reportStarted(); }
    ~Decode() { done.reportFinished(); }
    // Set complete: tells the future too.
    void finish(std::shared_ptr<const Pixels> result)
    {
        {
            const std::lock_guard lock(mutex);
            pixels = std::move(result);
            finished.notify_all();
        }
        done.reportFinished();
    }

    QFutureInterface<void> done;
    std::atomic<bool> unwanted { false };
    std::mutex mutex;
    std::condition_variable finished;
    std::shared_ptr<const Pixels> pixels; // set once; its picture is null when the decode failed
};

Photo::Photo(
    QImage stored, QImageIOHandler::Transformations orientation, bool colourProfileUnusable)
    : m_orientation(orientation)
    , m_colourProfileUnusable(colourProfileUnusable)
    , m_stored(stored.size())
    , m_decode(std::make_shared<Decode>())
{
    m_upright
        = orientation & QImageIOHandler::TransformationRotate90 ? m_stored.transposed() : m_stored;
    std::vector<Reduced> reduced = reducedCopies(stored, 1, orientation);
    m_decode->finish(
        std::make_shared<const Pixels>(Pixels { std::move(stored), std::move(reduced) }));
}

Photo::Photo(QImage preview, int previewFactor, QSize storedSize,
    QImageIOHandler::Transformations orientation, FullDecode decode, bool colourProfileUnusable)
    : m_orientation(orientation)
    , m_colourProfileUnusable(colourProfileUnusable)
    , m_stored(storedSize)
    , m_preview(reducedCopies(preview, previewFactor, orientation))
    , m_decode(std::make_shared<Decode>())
{
    m_upright
        = orientation & QImageIOHandler::TransformationRotate90 ? m_stored.transposed() : m_stored;
    photoDecodeThreads().start(
        [state = m_decode, decode = std::move(decode), orientation, storedSize]() mutable {
            QImage stored = decode(state->unwanted);
            decode = nullptr; // lets go of the file's bytes before the copies are made
            if (stored.size() != storedSize)
                stored = QImage();
            std::vector<Reduced> reduced;
            if (!stored.isNull() && !state->unwanted)
                reduced = reducedCopies(stored, 1, orientation);
            state->finish(
                std::make_shared<const Pixels>(Pixels { std::move(stored), std::move(reduced) }));
        });
}

Photo::~Photo()
{
    m_decode->unwanted = true;
}

std::shared_ptr<const Photo::Pixels> Photo::complete() const
{
    const std::lock_guard lock(m_decode->mutex);
    return m_decode->pixels;
}

bool Photo::isComplete() const
{
    return complete() != nullptr;
}

void Photo::waitUntilComplete() const
{
    std::unique_lock lock(m_decode->mutex);
    m_decode->finished.wait(lock, [this] { return m_decode->pixels != nullptr; });
}

bool Photo::waitFor(std::chrono::milliseconds limit) const
{
    std::unique_lock lock(m_decode->mutex);
    return m_decode->finished.wait_for(lock, limit, [this] { return m_decode->pixels != nullptr; });
}

QFuture<void> Photo::decoded() const
{
    return m_decode->done.future();
}

bool Photo::hasOwnPixels() const
{
    waitUntilComplete();
    return !complete()->stored.isNull();
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
    waitUntilComplete();
    const QImage &stored = complete()->stored;
    return stored.isNull() ? QImage() : oriented(stored.copy(storedRect(upright)), m_orientation);
}

bool Photo::drawCrop(QImage &target, const QPoint &at, const QRect &upright) const
{
    waitUntilComplete();
    const QImage &stored = complete()->stored;
    if (stored.isNull())
        return false;
    const QRect from = storedRect(upright);
    const QRect to = QRect(at, from.size()) & target.rect();
    if (m_orientation == QImageIOHandler::TransformationNone && stored.format() == target.format()
        && target.depth() == 32) {
        // Row by row: a painter would copy the part first.
        for (int y = to.top(); y <= to.bottom(); ++y)
            std::memcpy(target.scanLine(y) + to.left() * 4,
                stored.constScanLine(from.top() + y - at.y())
                    + (from.left() + to.left() - at.x()) * 4,
                size_t(to.width()) * 4);
        return true;
    }
    QPainter painter(&target);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(at, crop(upright));
    return true;
}

QImage Photo::scaledCrop(const QRect &upright, const QSize &target, Scaling scaling) const
{
    if (target.isEmpty() || upright.isEmpty())
        return QImage();
    const std::shared_ptr<const Pixels> pixels = complete();
    const bool own = pixels && !pixels->stored.isNull();
    const std::vector<Reduced> &levels = own ? pixels->reduced : m_preview;
    auto partOf = [&upright](const Reduced &level) {
        return QRectF(upright.x() / double(level.factor), upright.y() / double(level.factor),
            upright.width() / double(level.factor), upright.height() / double(level.factor));
    };
    for (auto level = levels.rbegin(); level != levels.rend(); ++level) {
        const QRectF part = partOf(*level);
        if (part.width() >= target.width() && part.height() >= target.height())
            return scaledPart(level->upright, part, target, scaling);
    }
    // Zoomed in past the reduced picture before the photo's own pixels are there: it stands
    // in, enlarged, for the moment.
    if (!own)
        return levels.empty()
            ? QImage()
            : scaledPart(levels.front().upright, partOf(levels.front()), target, Scaling::Smooth);
    // No reduced copy is large enough: scale the photo's own pixels of the part. The whole
    // photo is not copied first: fresh memory of its size costs more than the scaling.
    const QRect part = storedRect(upright);
    const QImage &stored = pixels->stored;
    return oriented(
        (part == stored.rect() ? stored : stored.copy(part))
            .scaled(m_orientation & QImageIOHandler::TransformationRotate90 ? target.transposed()
                                                                            : target,
                Qt::IgnoreAspectRatio, Qt::SmoothTransformation),
        m_orientation);
}

bool Photo::holdsPixelsFor(const QRect &upright, const QSize &target) const
{
    const int factor = m_preview.empty() ? 1 : m_preview.front().factor;
    return isComplete()
        || (upright.width() / factor >= target.width()
            && upright.height() / factor >= target.height());
}

std::vector<Photo::Reduced> Photo::reducedCopies(
    const QImage &stored, int factor, QImageIOHandler::Transformations orientation)
{
    std::vector<Reduced> levels;
    // From the photo's own pixels a quarter in each direction first: a half would cost a
    // quarter of the photo's memory. A picture the decoder reduced is the first copy itself.
    QImage level = factor == 1 ? boxReduce(stored, 4) : stored;
    factor = factor == 1 ? 4 : factor;
    while (!level.isNull() && std::max(level.width(), level.height()) >= SmallestReducedSide) {
        levels.push_back({ factor, oriented(level, orientation) });
        level = boxReduce(level, 2);
        factor *= 2;
    }
    return levels;
}
