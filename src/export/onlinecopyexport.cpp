#include "onlinecopyexport.h"

#include "jpegfile.h"

namespace {

// Without a limit: 92, where JPEG artefacts no longer show in skin and hair while the file is
// clearly smaller than at 95, in case a portal has a limit the user was not told of.
constexpr int UnlimitedQuality = 92;
// With a limit, the bytes it allows go to the picture: from 95 down in steps of 5, and from 80
// in steps of 1, where a step saves fewer bytes and each one shows more in the face. Below 70
// blocks show in the face, which a portal's check may refuse.
constexpr int HighestQuality = 95;
constexpr int FineStepsFrom = 80;
constexpr int LowestQuality = 70;

constexpr int TopQuality = 100;

// The JPEG at the best quality whose file fits the limit (0: none), at `quality` there. Empty
// when even the lowest quality is larger, with its size in `smallest`, or when the encode
// failed.
QByteArray encodeWithin(
    const QImage &pixels, int dotsPerInch, qint64 limit, qint64 &smallest, int &quality)
{
    if (limit <= 0) {
        quality = UnlimitedQuality;
        return encodeJpeg(pixels, quality, dotsPerInch);
    }
    for (quality = HighestQuality;; quality -= quality > FineStepsFrom ? 5 : 1) {
        const QByteArray jpeg = encodeJpeg(pixels, quality, dotsPerInch);
        if (jpeg.isEmpty() || jpeg.size() <= limit)
            return jpeg;
        if (quality <= LowestQuality) {
            smallest = jpeg.size();
            return QByteArray();
        }
    }
}

// A file under the office's lower limit is encoded at higher qualities, one step at a time,
// until it reaches the limit, the upper limit would be passed or the quality is at its top.
// Whether it reached the lower limit.
bool raiseToLeast(QByteArray &jpeg, const QImage &pixels, const OnlineCopyPlan &plan, int quality)
{
    while (jpeg.size() < plan.leastBytes && quality < TopQuality) {
        const QByteArray higher = encodeJpeg(pixels, ++quality, plan.dotsPerInch);
        if (higher.isEmpty() || (plan.limitBytes > 0 && higher.size() > plan.limitBytes))
            break;
        jpeg = higher;
    }
    return jpeg.size() >= plan.leastBytes;
}

} // namespace

OnlineCopyJpeg encodeOnlineCopy(const ClipImage &clip, const OnlineCopyPlan &plan)
{
    if (clip.isNull())
        return { {}, ExportOutcome::NoPhoto };
    const QImage pixels = clip.ownPixelsScaledTo(plan.pixels);
    if (pixels.isNull())
        return { {}, ExportOutcome::NotDecoded };
    qint64 smallestBytes = 0;
    int quality = 0;
    OnlineCopyJpeg copy {
        encodeWithin(pixels, plan.dotsPerInch, plan.limitBytes, smallestBytes, quality), {}
    };
    copy.underLeast = !copy.bytes.isEmpty() && !raiseToLeast(copy.bytes, pixels, plan, quality);
    if (copy.bytes.isEmpty()) {
        copy.failure.outcome
            = smallestBytes > 0 ? ExportOutcome::OverSizeLimit : ExportOutcome::Failed;
        // Rounded up: a limit of that many KB is reached.
        copy.failure.smallestKb = (smallestBytes + OnlineCopyBytesPerKb - 1) / OnlineCopyBytesPerKb;
    }
    return copy;
}
