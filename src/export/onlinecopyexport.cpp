#include "onlinecopyexport.h"

#include "jpegfile.h"
#include "onlinecopysize.h"
#include "platform/paths.h"
#include "platform/platform.h"

#include <QRegularExpression>

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

// A menu item's text as a title: no mnemonic marker, no dots that announce a dialog.
QString menuTextAsTitle(QString text)
{
    static const QRegularExpression marker(QStringLiteral("&(?!&)"));
    text.remove(marker);
    while (text.endsWith(u'.') || text.endsWith(QChar(0x2026)))
        text.chop(1);
    return text.trimmed();
}

} // namespace

OnlineCopyExport::OnlineCopyExport(Platform &platform, const TextTable &texts, QWidget *owner)
    : m_platform(platform)
    , m_texts(texts)
    , m_owner(owner)
{ }

ExportOutcome OnlineCopyExport::run(const ClipImage &clip, const PhotoFormat &format)
{
    const ExportOutcome outcome = save(clip, format);
    tellExportOutcome(m_platform, m_texts, m_owner, outcome, m_target,
        (m_smallestBytes + 1023) / 1024, // rounded up: a limit of that many KB is reached
        true);
    return outcome;
}

ExportOutcome OnlineCopyExport::save(const ClipImage &clip, const PhotoFormat &format)
{
    m_target.clear();
    m_smallestBytes = 0;
    if (clip.isNull())
        return ExportOutcome::NoPhoto;
    OnlineCopyRequest request;
    request.title = menuTextAsTitle(m_texts.text(TextId::OnlineCopyMenu));
    request.sizeLabel = m_texts.text(TextId::OnlineCopySize);
    request.limitLabel = m_texts.text(TextId::OnlineCopyLimit);
    request.prefill.size = pixelSizeText(defaultOnlineCopyPixels(format));
    request.check = [&format](const OnlineCopyChoice &typed) -> std::optional<QSize> {
        const std::optional<OnlineCopyPlan> plan = planOnlineCopy(typed.size, typed.limit, format);
        return plan ? std::optional(plan->pixels) : std::nullopt;
    };
    const std::optional<OnlineCopyChoice> choice = m_platform.askOnlineCopy(m_owner, request);
    // The dialog accepts no refused texts; an answer it would not give ends as a cancel does.
    const std::optional<OnlineCopyPlan> plan
        = choice ? planOnlineCopy(choice->size, choice->limit, format) : std::nullopt;
    if (!plan)
        return ExportOutcome::Cancelled;

    // Encoded before the file is asked for, so a limit that cannot be reached is told at once.
    m_platform.setBusy(true);
    const QImage pixels = clip.ownPixelsScaledTo(plan->pixels);
    const QByteArray jpeg = pixels.isNull()
        ? QByteArray()
        : encodeWithin(pixels, plan->dotsPerInch, plan->limitBytes, m_smallestBytes);
    m_platform.setBusy(false);
    if (pixels.isNull())
        return ExportOutcome::NotDecoded;
    if (jpeg.isEmpty())
        return m_smallestBytes > 0 ? ExportOutcome::OverSizeLimit : ExportOutcome::Failed;

    const ExportTarget target = askExportTarget(m_platform, m_texts, m_owner,
        QStringLiteral("PhotoID-%1x%2.jpg").arg(plan->pixels.width()).arg(plan->pixels.height()),
        request.title);
    m_target = target.path;
    if (m_target.isEmpty())
        return target.declined;
    return replaceableAsFile(m_target) && writeWholeFile(m_target, jpeg) ? ExportOutcome::Written
                                                                         : ExportOutcome::Failed;
}
