#include "onlinecopyexport.h"

#include "jpegfile.h"

#include <QPainter>

namespace {

// Without a limit: 92, where JPEG artefacts no longer show in skin and hair while the file is
// clearly smaller than at 95, in case a portal has a limit the user was not told of.
constexpr int UnlimitedQuality = 92;
// With a limit, the bytes it allows go to the picture, at 95 at most. Below 70 blocks show in
// the face, which a portal's check may refuse.
constexpr int HighestQuality = 95;
constexpr int LowestQuality = 70;

constexpr int TopQuality = 100;

// Rows of an enlarged copy drawn at a time: a stop waits for one band at most.
constexpr int BandRows = 256;

bool stopped(const std::atomic<bool> *stop)
{
    return stop && stop->load(std::memory_order_relaxed);
}

// The copy at its size. An enlarged one is drawn from the crop's own pixels band by band, so a
// stop is heard within one; a smaller one comes from the photo's reduced copies, no larger than
// the crop, with area averaging.
QImage scaledCopy(const ClipImage &clip, const QSize &size, const std::atomic<bool> *stop)
{
    if (size.width() <= clip.size().width() || size.height() <= clip.size().height()) {
        // Converted once here rather than at every encode.
        QImage copy = clip.ownPixelsScaledTo(size);
        copy.convertTo(QImage::Format_RGB32);
        return copy;
    }
    const QImage own = clip.fullResolution();
    QImage copy;
    if (!own.isNull())
        copy = QImage(size, QImage::Format_RGB32);
    if (copy.isNull())
        return copy;
    QPainter painter(&copy);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (int top = 0; top < size.height(); top += BandRows) {
        if (stopped(stop))
            return QImage();
        painter.setClipRect(0, top, size.width(), BandRows);
        painter.drawImage(QRectF(copy.rect()), own);
    }
    return copy;
}

// Encodes at one quality after another, until told to stop.
struct Encoder
{
    const QImage &pixels;
    int dotsPerInch;
    const std::atomic<bool> *stop;

    QByteArray operator()(int quality) const
    {
        return stopped(stop) ? QByteArray() : encodeJpeg(pixels, quality, dotsPerInch);
    }
};

// The JPEG at the best quality whose file fits the limit (0: none), at `quality` there. Empty
// when even the lowest quality is larger, with its size in `smallest`, or when the encode
// failed. Most limits take the best quality, which is tried first; below it a file grows with
// its quality, so halving the qualities still in question finds it in five encodes more.
QByteArray encodeWithin(const Encoder &encode, qint64 limit, qint64 &smallest, int &quality)
{
    quality = limit <= 0 ? UnlimitedQuality : HighestQuality;
    QByteArray first = encode(quality);
    if (limit <= 0 || first.isEmpty() || first.size() <= limit)
        return first;
    // Fits at `fits` or below (LowestQuality - 1: none known), not at `over` or above.
    int fits = LowestQuality - 1, over = HighestQuality;
    QByteArray best;
    while (over - fits > 1) {
        const int middle = (fits + over) / 2;
        QByteArray jpeg = encode(middle);
        if (jpeg.isEmpty())
            return jpeg;
        if (jpeg.size() <= limit) {
            fits = middle;
            best = std::move(jpeg);
        } else {
            over = middle;
            if (middle == LowestQuality)
                smallest = jpeg.size();
        }
    }
    quality = fits;
    return best;
}

// A file under the office's lower limit is encoded at a higher quality: the lowest that reaches
// the limit, or, when the upper limit would be passed first or the quality is at its top, the
// highest below that. Whether it reached the lower limit.
bool raiseToLeast(QByteArray &jpeg, const Encoder &encode, const OnlineCopyPlan &plan, int quality)
{
    if (jpeg.size() >= plan.leastBytes)
        return true;
    const auto tooLarge = [&plan](const QByteArray &bytes) {
        return plan.limitBytes > 0 && bytes.size() > plan.limitBytes;
    };
    // Under both limits at `under`; at `reaches` the lower limit is reached or the upper passed
    // (TopQuality + 1: nothing known).
    int under = quality, reaches = TopQuality + 1;
    QByteArray reached;
    while (reaches - under > 1) {
        const int middle = (under + reaches) / 2;
        QByteArray higher = encode(middle);
        if (higher.isEmpty())
            break;
        if (higher.size() >= plan.leastBytes || tooLarge(higher)) {
            reaches = middle;
            reached = std::move(higher);
        } else {
            under = middle;
            jpeg = std::move(higher);
        }
    }
    if (!reached.isEmpty() && !tooLarge(reached))
        jpeg = std::move(reached);
    return jpeg.size() >= plan.leastBytes;
}

} // namespace

OnlineCopyJpeg encodeOnlineCopy(
    const ClipImage &clip, const OnlineCopyPlan &plan, const std::atomic<bool> *stop)
{
    if (clip.isNull())
        return { {}, ExportOutcome::NoPhoto };
    OnlineCopyJpeg copy;
    qint64 smallestBytes = 0;
    {
        const QImage pixels = scaledCopy(clip, plan.pixels, stop);
        if (stopped(stop))
            return { {}, ExportOutcome::Cancelled };
        if (pixels.isNull())
            return { {}, ExportOutcome::NotDecoded };
        const Encoder encode { pixels, plan.dotsPerInch, stop };
        int quality = 0;
        copy.bytes = encodeWithin(encode, plan.limitBytes, smallestBytes, quality);
        copy.underLeast = !copy.bytes.isEmpty() && !raiseToLeast(copy.bytes, encode, plan, quality);
    }
    if (stopped(stop))
        return { {}, ExportOutcome::Cancelled };
    if (copy.bytes.isEmpty()) {
        copy.failure.outcome
            = smallestBytes > 0 ? ExportOutcome::OverSizeLimit : ExportOutcome::Failed;
        // Rounded up: a limit of that many KB is reached.
        copy.failure.smallestKb = (smallestBytes + OnlineCopyBytesPerKb - 1) / OnlineCopyBytesPerKb;
    }
    return copy;
}
