#include "exportcommands.h"

#include "export/onlinecopyexport.h"
#include "filechoices.h"
#include "platform/platform.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

#include <atomic>
#include <memory>

namespace {

// A menu item's text as a title: no mnemonic marker, no dots that announce a dialog.
QString menuTextAsTitle(QString text)
{
    static const QRegularExpression marker(QStringLiteral("&(?!&)"));
    text.remove(marker);
    while (text.endsWith(u'.') || text.endsWith(QChar(0x2026)))
        text.chop(1);
    return text.trimmed();
}

// What the online copy's dialog shows and how it judges what is typed, prefilled with the
// document's file rule.
OnlineCopyQuestion onlineCopyQuestion(
    const TextTable &texts, const ClipImage &clip, const IdDocument &document)
{
    OnlineCopyQuestion question;
    question.title = menuTextAsTitle(texts.text(TextId::OnlineCopyMenu));
    question.sizeLabel = texts.text(TextId::OnlineCopySize);
    question.limitLabel = texts.text(TextId::OnlineCopyLimitKB);
    question.resultLabel = texts.text(TextId::OnlineCopySizeWritten);
    question.ownPixels = clip.size();
    question.ownPixelsLine = texts.text(TextId::OnlineCopyOwnPixels)
                                 .arg(clip.size().width())
                                 .arg(clip.size().height());
    question.enlargedNote = texts.text(TextId::OnlineCopyEnlarged);
    const OnlineCopyDefaults defaults = defaultOnlineCopy(document, clip.size());
    question.prefill.size = pixelSizeText(defaults.pixels);
    if (defaults.limitKb > 0)
        question.prefill.limit = QString::number(defaults.limitKb);
    question.check = [&document](const OnlineCopyChoice &typed) -> std::optional<QSize> {
        const std::optional<OnlineCopyPlan> plan
            = planOnlineCopy(typed.size, typed.limit, document);
        return plan ? std::optional(plan->pixels) : std::nullopt;
    };
    return question;
}

// Not Qt's global pool: its image scaling splits large images over that pool's threads. A copy
// still being made when the program ends is told to stop, and ends within one encode.
QThreadPool &onlineCopyThreads()
{
    static QThreadPool pool;
    static const bool drainedAtExit = [] {
        qAddPostRoutine([] { pool.waitForDone(); });
        return true;
    }();
    Q_UNUSED(drainedAtExit);
    return pool;
}

// The copy made off the window's thread while `wait` waits for it. A copy not waited for is
// stopped and left to end by itself: it holds its own share of the photo and of its result.
OnlineCopyJpeg encodeWaiting(Platform &platform, const TextTable &texts, QWidget *owner,
    const WaitForOnlineCopy &wait, const ClipImage &clip, const OnlineCopyPlan &plan)
{
    struct Work
    {
        std::atomic<bool> stop = false;
        OnlineCopyJpeg copy;
    };
    const auto work = std::make_shared<Work>();
    const QFuture<void> done = QtConcurrent::run(&onlineCopyThreads(),
        [work, clip, plan] { work->copy = encodeOnlineCopy(clip, plan, &work->stop); });
    platform.setBusy(true);
    const bool waited = wait(owner, texts.text(TextId::Cancel), done);
    platform.setBusy(false);
    if (!waited || !done.isFinished()) {
        work->stop = true;
        return { {}, ExportOutcome::Cancelled };
    }
    return std::move(work->copy);
}

// The copy as the user settles it: a limit out of reach is told and the dialog comes back
// with what was typed, until the copy can be made or the user cancels.
OnlineCopyJpeg encodeAsAsked(Platform &platform, const TextTable &texts, QWidget *owner,
    const AskOnlineCopy &ask, const WaitForOnlineCopy &wait, const ClipImage &clip,
    const IdDocument &document, OnlineCopyQuestion &question, std::optional<OnlineCopyPlan> &plan)
{
    for (;;) {
        const std::optional<OnlineCopyChoice> choice = ask(owner, question);
        // The dialog accepts no refused texts; an answer it would not give ends as a cancel.
        plan = choice ? planOnlineCopy(choice->size, choice->limit, document) : std::nullopt;
        if (!plan)
            return { {}, ExportOutcome::Cancelled };
        // Encoded before the file is asked for, so a limit that cannot be reached is told at
        // once.
        OnlineCopyJpeg copy = encodeWaiting(platform, texts, owner, wait, clip, *plan);
        if (copy.failure.outcome != ExportOutcome::OverSizeLimit)
            return copy;
        tellExportOutcome(platform, texts, owner, copy.failure, QString());
        question.prefill = *choice;
    }
}

ExportResult saveOnlineCopy(Platform &platform, const TextTable &texts, Settings &settings,
    QWidget *owner, const AskOnlineCopy &ask, const WaitForOnlineCopy &wait, const ClipImage &clip,
    const IdDocument &document, QString &target, QString &figures)
{
    if (clip.isNull())
        return ExportOutcome::NoPhoto;
    OnlineCopyQuestion question = onlineCopyQuestion(texts, clip, document);
    std::optional<OnlineCopyPlan> plan;
    const OnlineCopyJpeg copy
        = encodeAsAsked(platform, texts, owner, ask, wait, clip, document, question, plan);
    if (copy.bytes.isEmpty())
        return copy.failure;

    const ExportTarget chosen = askExportTarget(platform, texts, settings, owner,
        QStringLiteral("PhotoID-%1x%2.jpg").arg(plan->pixels.width()).arg(plan->pixels.height()),
        question.title);
    target = chosen.path;
    if (target.isEmpty())
        return chosen.declined;
    ExportResult written = writeJpegFile(copy.bytes, target);
    if (written.outcome == ExportOutcome::Written && copy.underLeast) {
        written.outcome = ExportOutcome::WrittenUnderLeast;
        written.smallestKb = document.file.kbMin; // what the office asks at least
    }
    // Units every language reads; a KB is 1000 bytes, rounded up so it is never under a limit
    // the file exceeds.
    figures = QStringLiteral("%1 px, %2 KB")
                  .arg(pixelSizeText(plan->pixels))
                  .arg((copy.bytes.size() + 999) / 1000);
    return written;
}

} // namespace

ExportResult runSheetExport(Platform &platform, const TextTable &texts, Settings &settings,
    QWidget *owner, const ClipImage &clip, const QSizeF &printMm, const QColor &background)
{
    ExportResult result = ExportOutcome::NoPhoto;
    QString path;
    if (!clip.isNull()) {
        const ExportTarget target = askExportTarget(platform, texts, settings, owner,
            QStringLiteral("PhotoID1.jpg"), texts.text(TextId::ExportDialogTitle));
        path = target.path;
        if (path.isEmpty()) {
            result = target.declined;
        } else {
            platform.setBusy(true);
            result = writeSheet(clip, printMm, background, path);
            platform.setBusy(false);
        }
    }
    tellExportOutcome(platform, texts, owner, result, path);
    return result;
}

ExportResult runOnlineCopyExport(Platform &platform, const TextTable &texts, Settings &settings,
    QWidget *owner, const AskOnlineCopy &ask, const ClipImage &clip, const IdDocument &document,
    const WaitForOnlineCopy &wait)
{
    QString target, figures;
    const ExportResult result = saveOnlineCopy(
        platform, texts, settings, owner, ask, wait, clip, document, target, figures);
    tellExportOutcome(platform, texts, owner, result, target, true, figures);
    return result;
}

void tellExportOutcome(Platform &platform, const TextTable &texts, QWidget *owner,
    const ExportResult &result, const QString &path, bool photoAlone, const QString &figures)
{
    const std::optional<ExportMessage> shown = exportMessage(result.outcome);
    if (!shown)
        return;
    TextId id = shown->text;
    if (photoAlone && id == TextId::SheetSaved)
        id = TextId::PhotoSaved;
    else if (photoAlone && id == TextId::SheetNotWritten)
        id = TextId::PhotoNotWritten;
    QString text = texts.text(id);
    if (id == TextId::PhotoSaved && !figures.isEmpty()) {
        // Inside the sentence, before its full stop.
        const bool stop = text.endsWith(u'.');
        text = text.left(text.size() - (stop ? 1 : 0)) + QStringLiteral(" (") + figures + u')'
            + (stop ? QStringLiteral(".") : QString());
    }
    if (result.outcome == ExportOutcome::OverSizeLimit)
        text = text.arg(result.smallestKb);
    if (result.outcome == ExportOutcome::WrittenUnderLeast)
        text += u'\n' + texts.text(TextId::OnlineCopyUnderLowerLimit).arg(result.smallestKb);
    if (shown->withPath)
        text += path;
    if (!result.reason.isEmpty())
        text += QStringLiteral("\n\n") + result.reason;
    platform.messageBox(owner, text, shown->style, texts.text(shown->title));
}
