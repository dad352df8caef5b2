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

// The JPEG at the best quality whose file fits the limit (0: none). Empty when even the lowest
// quality is larger, with its size in `smallest`, or when the encode failed.
QByteArray encodeWithin(const QImage &pixels, int dotsPerInch, qint64 limit, qint64 &smallest)
{
    if (limit <= 0)
        return encodeJpeg(pixels, UnlimitedQuality, dotsPerInch);
    for (int quality = HighestQuality;; quality -= quality > FineStepsFrom ? 5 : 1) {
        const QByteArray jpeg = encodeJpeg(pixels, quality, dotsPerInch);
        if (jpeg.isEmpty() || jpeg.size() <= limit)
            return jpeg;
        if (quality <= LowestQuality) {
            smallest = jpeg.size();
            return QByteArray();
        }
    }
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
    OnlineCopyJpeg copy { encodeWithin(pixels, plan.dotsPerInch, plan.limitBytes, smallestBytes),
        {} };
    if (copy.bytes.isEmpty()) {
        copy.failure.outcome
            = smallestBytes > 0 ? ExportOutcome::OverSizeLimit : ExportOutcome::Failed;
        // Rounded up: a limit of that many KB is reached.
        copy.failure.smallestKb = (smallestBytes + OnlineCopyBytesPerKb - 1) / OnlineCopyBytesPerKb;
    }
    return copy;
}
