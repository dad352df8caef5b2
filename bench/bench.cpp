// Measures the photo pipeline against a reference measured in the same run, and prints one
// table of ratios: run build/bench/kalmora_bench (see docs/developers.md, "Performance").
#include "benchphotos.h"
#include "export/onlinecopyexport.h"
#include "export/sheetexport.h"
#include "photo/backgroundextension.h"
#include "photo/backgroundreplacement.h"
#include "photo/facefinder.h"
#include "photo/headtop.h"
#include "photo/photodocument.h"
#include "photo/photoformat.h"
#include "photo/photoloader.h"
#include "print/sheetgeometry.h"
#include "testphotos.h"

#include <QApplication>
#include <QColorSpace>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <malloc.h>
#include <turbojpeg.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int Runs = 7;
constexpr int PressRuns = 21;
constexpr int ExportRuns = 11; // the synced write varies from run to run

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// "median (min-max)" of values divided by a reference.
QByteArray spread(const std::vector<double> &values, double reference, int decimals)
{
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    return QByteArray::number(median(values) / reference, 'f', decimals) + " ("
        + QByteArray::number(*low / reference, 'f', decimals) + "-"
        + QByteArray::number(*high / reference, 'f', decimals) + ")";
}

double timeMs(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

// Decoding with TurboJPEG into a freshly allocated buffer: the fastest a load can be.
double referenceDecodeMs(const QByteArray &jpeg)
{
    tjhandle handle = tjInitDecompress();
    int width = 0, height = 0, subsampling = 0, colourspace = 0;
    tjDecompressHeader3(handle, reinterpret_cast<const unsigned char *>(jpeg.constData()),
        jpeg.size(), &width, &height, &subsampling, &colourspace);
    std::vector<double> times;
    for (int run = 0; run < Runs; ++run) {
        times.push_back(timeMs([&] {
            auto *pixels = static_cast<unsigned char *>(malloc(size_t(width) * height * 4));
            tjDecompress2(handle, reinterpret_cast<const unsigned char *>(jpeg.constData()),
                jpeg.size(), pixels, width, 0, height, TJPF_BGRX, 0);
            free(pixels);
        }));
    }
    tjDestroy(handle);
    return median(times);
}

long statusKiB(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').first().toLong();
    return -1;
}

// What the main window does for a load or a press: the document's work, then the frame's
// picture at its size on the screen.
struct Frame
{
    PhotoDocument document;
    QImage picture;

    Frame()
    {
        const PhotoFormat &format = PhotoFormats[1];
        document.setFrame(QSizeF(format.frameWidth, format.frameHeight));
    }
    void show()
    {
        const QSizeF twips = document.frame();
        picture = document.shown().scaledTo(QSize(qRound(twips.width() / TwipsPerPhotoPixel),
            qRound(twips.height() / TwipsPerPhotoPixel)));
    }
    // Ends with the frame ready; the photo's own pixels may still be on their way.
    void load(const QString &path)
    {
        if (document.load(path) == LoadOutcome::Accepted)
            show();
    }
    void settle() const
    {
        if (document.photo())
            document.photo()->waitUntilComplete();
    }
    void press(PhotoCommand command)
    {
        if (document.run(command))
            show();
    }
};

// The peak resident memory of one load and its decode, above what the process held before.
double loadPeakBytes(Frame &form, const QString &path)
{
    malloc_trim(0);
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    if (clearRefs.open(QIODevice::WriteOnly))
        clearRefs.write("5"); // resets the peak to the present size
    clearRefs.close();
    const long before = statusKiB("VmRSS:");
    form.load(path);
    form.settle();
    return (statusKiB("VmHWM:") - before) * 1024.0;
}

// Encoding a sheet with TurboJPEG at the export's quality: the least an export can cost.
double referenceEncodeMs(const QImage &sheet)
{
    const QImage pixels = sheet.convertToFormat(QImage::Format_RGB32);
    tjhandle handle = tjInitCompress();
    std::vector<double> times;
    for (int run = 0; run < Runs; ++run) {
        times.push_back(timeMs([&] {
            unsigned char *jpeg = nullptr;
            unsigned long size = 0;
            tjCompress2(handle, pixels.constBits(), pixels.width(), int(pixels.bytesPerLine()),
                pixels.height(), TJPF_BGRX, &jpeg, &size, TJSAMP_420, 85, 0);
            tjFree(jpeg);
        }));
    }
    tjDestroy(handle);
    return median(times);
}

QByteArray loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    return file.open(QIODevice::ReadOnly) ? file.readAll().split(' ').mid(0, 3).join(' ') : "?";
}

// What follows a fit on the 48-megapixel photo: its checks, and the levelling of the
// portrait's 3 degree lean (the turn and the frame's picture; the turned own pixels a print
// or an export takes).
void benchChecksAndTurn(Frame &form, const FaceSearch &search, double decodeMs)
{
    form.settle();
    form.document.setFaceSearch(form.document.photo(), search);
    if (form.document.cropSource().turn.isNull()) {
        std::printf("\nThe fit did not level the face.\n");
        return;
    }
    std::vector<double> checks, turns, prints;
    for (int run = 0; run < PressRuns; ++run) {
        checks.push_back(timeMs([&] { form.document.fitToCheck().check(); }));
        form.document.undo();
        turns.push_back(timeMs([&] {
            form.document.straighten();
            form.show();
        }));
        prints.push_back(timeMs([&] { form.document.photoCrop(); }));
    }
    std::printf("\n| after the fit (48 MP photo), medians of %d | ms | / decode |\n|---|---|---|\n",
        PressRuns);
    std::printf("| photo checks (goal < 0.2) | %.1f | %s |\n", median(checks),
        spread(checks, decodeMs, 3).constData());
    std::printf("| straighten and the frame's picture (goal < 1.0) | %.1f | %s |\n", median(turns),
        spread(turns, decodeMs, 3).constData());
    std::printf("| the turned crop's own pixels, for print | %.1f | %s |\n", median(prints),
        spread(prints, decodeMs, 3).constData());
}

// The portrait on a 48-megapixel photo, searched as the window does after a load; the
// model's load is timed once, as the window's start-up pays it.
void benchFaceSearch(const QString &path)
{
    QImage scene = BenchPhotos::photoLike(8000, 6000, 5);
    QPainter(&scene).drawImage(2800, 1000,
        QImage(QStringLiteral(KALMORA_SOURCE_DIR "/tests/data/astronaut.jpg"))
            .scaled(3600, 3600, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    const QByteArray jpeg = TestPhotos::encodeJpeg(scene, 90);
    TestPhotos::writeFile(path, jpeg);
    const double decodeMs = referenceDecodeMs(jpeg);
    std::shared_ptr<FaceModel> model;
    const double modelMs
        = timeMs([&] { model = loadFaceModel(QString::fromLatin1(LandmarkModelPath)); });
    Frame form;
    form.load(path);
    std::vector<double> searches;
    int faces = 0;
    for (int run = 0; model && run < PressRuns; ++run)
        searches.push_back(timeMs([&] { faces = findFace(*model, *form.document.photo()).faces; }));
    if (searches.empty()) {
        std::printf("\nThe face model %s cannot be read.\n", LandmarkModelPath);
        return;
    }
    std::sort(searches.begin(), searches.end());
    const double searchMs = median(searches);
    std::printf("\n| face search (48 MP photo, %d face) | ms | / decode |\n|---|---|---|\n", faces);
    std::printf("| TurboJPEG decode of the photo | %.0f | 1 |\n", decodeMs);
    std::printf("| detection and landmarks, median (range) of %zu (goal <= 1.0) | %.0f (%.0f-%.0f) "
                "| %.2f (%.2f-%.2f) |\n",
        searches.size(), searchMs, searches.front(), searches.back(), searchMs / decodeMs,
        searches.front() / decodeMs, searches.back() / decodeMs);
    std::printf("| model load, once, in the background (goal < 3 s) | %.0f | %.2f |\n", modelMs,
        modelMs / decodeMs);
    // The top of the head is measured in the picture the search found the face in.
    const FaceSearch found = findFace(*model, *form.document.photo());
    if (found.face) {
        const QSize size = form.document.photo()->size().scaled(1000, 1000, Qt::KeepAspectRatio);
        const QImage picture
            = form.document.photo()->scaledCrop(QRect(QPoint(), scene.size()), size);
        const FaceMarks face = found.face->mapped(QTransform::fromScale(
            double(size.width()) / scene.width(), double(size.height()) / scene.height()));
        std::vector<double> measures;
        for (int run = 0; run < PressRuns; ++run)
            measures.push_back(timeMs([&] { withMeasuredTop(picture, face); }));
        std::printf("| the top of the head, measured (goal < 0.2) | %.1f | %s |\n",
            median(measures), spread(measures, decodeMs, 3).constData());
    }
    benchChecksAndTurn(form, found, decodeMs);
}

// Photos whose face a search of the photo reduced to 1000 pixels misses, searched with the
// photo's own pixels there; the portrait's head (crown to chin) is 150 of its 512 pixels.
void benchSmallFaces(const QTemporaryDir &dir)
{
    const QImage portrait(QStringLiteral(KALMORA_SOURCE_DIR "/tests/data/astronaut.jpg"));
    struct Case
    {
        const char *name;
        QSize size;
        double scale;
        QPointF place;
        int orientation;
    };
    const Case cases[] = { { "the portrait, 512 x 512", { 512, 512 }, 1, {}, 1 },
        { "2400 x 3200, head 240 px", { 2400, 3200 }, 1.6, { 720, 320 }, 1 },
        { "4000 x 3000, head 300 px", { 4000, 3000 }, 2, { 2200, 450 }, 1 },
        { "2400 x 3200, head 240 px, EXIF orientation 6", { 2400, 3200 }, 1.6, { 720, 320 }, 6 } };
    const std::shared_ptr<FaceModel> model = loadFaceModel(QString::fromLatin1(LandmarkModelPath));
    if (!model)
        return;
    std::printf(
        "\n| face search, medians of %d | faces | search ms | TurboJPEG decode ms | search / "
        "decode (goal < 1.0) |\n|---|---|---|---|---|\n",
        Runs);
    for (const Case &c : cases) {
        QImage scene = BenchPhotos::photoLike(c.size.width(), c.size.height(), 7);
        QPainter(&scene).drawImage(c.place,
            portrait.scaled(
                portrait.size() * c.scale, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        QByteArray jpeg = TestPhotos::encodeJpeg(
            c.orientation == 6 ? scene.transformed(QTransform().rotate(-90)) : scene, 90);
        if (c.orientation != 1)
            jpeg = TestPhotos::withOrientation(jpeg, c.orientation);
        const QString path = dir.filePath(QStringLiteral("small-face.jpg"));
        TestPhotos::writeFile(path, jpeg);
        const double decodeMs = referenceDecodeMs(jpeg);
        Frame form;
        form.load(path);
        form.settle();
        std::vector<double> searches;
        FaceSearch search;
        for (int run = 0; run < Runs; ++run)
            searches.push_back(timeMs([&] { search = findFace(*model, *form.document.photo()); }));
        std::printf("| %s | %d%s | %.0f | %.1f | %s |\n", c.name, search.faces,
            search.face ? "" : " (no single face)", median(searches), decodeMs,
            spread(searches, decodeMs, 2).constData());
    }
}

// What an Adobe RGB profile costs a photo, against the decode of the same photo: its tables,
// built once; the conversion of the photo's own pixels on one thread; and our whole decode
// with the conversion beside it, against the same decode without a profile.
void benchColourProfile(
    const std::vector<std::pair<const char *, QByteArray>> &photos, const QByteArray &icc)
{
    std::printf("\n| Adobe RGB profile, medians of %d | TurboJPEG decode ms | tables, once "
                "per photo, / decode | conversion on one thread ms | conversion / decode "
                "(goal < 0.5) | our whole decode / decode, no profile | the same with the "
                "profile |\n|---|---|---|---|---|---|---|\n",
        Runs);
    for (const auto &[name, jpeg] : photos) {
        const double decodeMs = referenceDecodeMs(jpeg);
        std::vector<double> builds, conversions, plain, converted;
        ColourProfile profile;
        for (int run = 0; run < Runs; ++run) {
            builds.push_back(timeMs(
                [&] { profile = ColourProfile::fromIcc(icc, ColourProfile::Channels::Rgb); }));
            QImage pixels = decodeWholePhoto(jpeg, true, nullptr, {});
            conversions.push_back(timeMs([&] { profile.convert(pixels); }));
            pixels = QImage();
            plain.push_back(timeMs([&] { pixels = decodeWholePhoto(jpeg, true, nullptr, {}); }));
            pixels = QImage();
            converted.push_back(
                timeMs([&] { pixels = decodeWholePhoto(jpeg, true, nullptr, profile); }));
        }
        std::printf("| %s | %.0f | %s | %.0f | %s | %s | %s |\n", name, decodeMs,
            spread(builds, decodeMs, 3).constData(), median(conversions),
            spread(conversions, decodeMs, 2).constData(), spread(plain, decodeMs, 2).constData(),
            spread(converted, decodeMs, 2).constData());
    }
}

// The largest online copy, 10000 pixels square at 2 x 2 in from the 24-megapixel photo: the
// time against the photo's decode, the peak memory above the loaded photo against the copy's
// own 32-bit pixels, without a limit (one encode) and under one the halves search for.
void benchOnlineCopy(const QString &path, double decodeMs)
{
    constexpr int CopyRuns = 3;
    std::printf("\n| online copy 10000 px square, 24 MP photo, medians of %d (min-max) | ms | / "
                "decode | peak memory / copy's pixels (goal <= 2) |\n|---|---|---|---|\n",
        CopyRuns);
    const IdDocument document = formatDocument(4);
    Frame form;
    form.load(path);
    form.settle();
    for (const char *limitKb : { "", "6000" }) {
        const OnlineCopyPlan plan
            = planOnlineCopy(QStringLiteral("10000"), QString::fromLatin1(limitKb), document)
                  .value();
        const double copyBytes = double(plan.pixels.width()) * plan.pixels.height() * 4;
        std::vector<double> times, peaks;
        qint64 bytes = 0;
        for (int run = 0; run < CopyRuns; ++run) {
            malloc_trim(0);
            QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
            if (clearRefs.open(QIODevice::WriteOnly))
                clearRefs.write("5");
            clearRefs.close();
            const long before = statusKiB("VmRSS:");
            times.push_back(timeMs(
                [&] { bytes = encodeOnlineCopy(form.document.shown(), plan).bytes.size(); }));
            peaks.push_back((statusKiB("VmHWM:") - before) * 1024.0);
        }
        std::printf("| %d x %d, %s, %lld KB | %.0f | %s | %s |\n", plan.pixels.width(),
            plan.pixels.height(), *limitKb ? "limit 6000 KB" : "no limit", bytes / 1000,
            median(times), spread(times, decodeMs, 2).constData(),
            spread(peaks, copyBytes, 2).constData());
    }
}

struct Row
{
    QString name;
    double referenceMs;
    std::vector<double> loads, presses;
    double memoryRatio;
};

} // namespace

// A 12-megapixel portrait on a plain wall with a camera's noise and a fall of the light: the
// astronaut's head (an oval from her labels) `k` times her size, her hair's top at `hairRow`,
// a dark suit below where asked. The wall's colour for a light level comes from `wall`.
struct HeadScene
{
    QImage photo;
    double decodeMs = 0;
    std::shared_ptr<FaceModel> model;
    QImage picture; // reduced as the document reduces it for its walls
    std::optional<FaceMarks> face; // in `picture`
    QRectF frame; // the rule's 35 x 45 mm fit in the photo's pixels
};

HeadScene headScene(double k, double hairRow, int fall, QRgb (*wall)(int light), bool suit)
{
    QImage scene(3000, 4000, QImage::Format_RGB32);
    QRandomGenerator noise(5);
    for (int y = 0; y < scene.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(scene.scanLine(y));
        for (int x = 0; x < scene.width(); ++x)
            line[x] = wall(222 - fall * y / scene.height() + int(noise.bounded(9u)) - 4);
    }
    const double hairTop = 16, chin = 178, middle = 225.5, eyes = 43;
    const QPointF at(scene.width() / 2 - middle * k, hairRow - hairTop * k);
    QPainter painter(&scene);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    if (suit) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(38, 40, 48));
        const double neck = at.y() + (chin + 60) * k, centre = scene.width() / 2.0;
        painter.drawPolygon(
            QPolygonF({ { centre - 2 * eyes * k, neck }, { centre + 2 * eyes * k, neck },
                { centre + 4.5 * eyes * k, 4001.0 }, { centre - 4.5 * eyes * k, 4001.0 } }));
    }
    QPainterPath head;
    head.addEllipse(QRectF(at.x() + (middle - 1.8 * eyes) * k, at.y() + (hairTop - 2) * k,
        3.6 * eyes * k, 2 * (chin - hairTop) * k));
    painter.setClipPath(head);
    painter.drawImage(QRectF(at, QSizeF(512, 512) * k),
        QImage(QStringLiteral(KALMORA_SOURCE_DIR "/tests/data/astronaut.jpg")));
    painter.end();
    HeadScene made;
    const QByteArray jpeg = TestPhotos::encodeJpeg(scene, 90);
    made.decodeMs = referenceDecodeMs(jpeg);
    made.photo = QImage::fromData(jpeg).convertToFormat(QImage::Format_RGB32);
    made.model = loadFaceModel(QString::fromLatin1(LandmarkModelPath));
    const QSize size = made.photo.size().scaled(
        PhotoDocument::WallPictureSide, PhotoDocument::WallPictureSide, Qt::KeepAspectRatio);
    made.picture = made.photo.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (made.model)
        made.face = findFace(*made.model, made.picture).face;
    if (made.face) {
        const double scale = double(made.photo.height()) / made.picture.height();
        const FaceRule &rule = PortraitFaceRule;
        const double height = made.face->head(rule.top) * scale / rule.headTarget;
        made.frame = QRectF(made.face->centreX * scale - height * 35 / 90,
            made.face->top(rule.top) * scale - rule.anchorTarget * height, height * 35 / 45,
            height);
    }
    return made;
}

// Room above the head on a 12-megapixel portrait whose hair nearly touches the top: the wall
// beside and above the head measured in the reduced picture the head's top is measured in,
// and the rows a 35 x 45 mm fit needs painted at the photo's own resolution.
void benchRoomAbove()
{
    // Twelve times her size, the hair's top 40 rows below the photo's.
    const HeadScene scene = headScene(
        12, 40, 20, [](int light) { return qRgb(light - 2, light - 6, light - 12); }, false);
    if (!scene.face) {
        std::printf("\nRoom above: no face found.\n");
        return;
    }
    const QImage &photo = scene.photo, &picture = scene.picture;
    const FaceMarks &face = *scene.face;
    const QRectF &frame = scene.frame;
    const double decodeMs = scene.decodeMs;
    const QRectF above(frame.left(), frame.top(), frame.width(), -frame.top());
    std::vector<double> times, measures;
    bool extended = false;
    BackgroundExtension::Why why;
    for (int run = 0; run < PressRuns; ++run) {
        QImage rows(above.size().toSize(), QImage::Format_RGB32);
        times.push_back(timeMs([&] {
            const std::optional<BackgroundExtension> extension
                = BackgroundExtension::measure(picture, face, Qt::TopEdge, &why);
            if ((extended = extension.has_value()))
                extension->paintOutside(rows, above, photo.size());
        }));
        measures.push_back(
            timeMs([&] { BackgroundExtension::measure(picture, face, Qt::TopEdge); }));
    }
    std::printf("\n| room above the head (12 MP photo, %.0f x %.0f rows painted) | ms | / decode "
                "|\n|---|---|---|\n",
        above.width(), above.height());
    std::printf("| TurboJPEG decode of the photo | %.0f | 1 |\n", decodeMs);
    std::printf("| measure (%d-pixel picture) and paint%s | %.1f | %s |\n",
        PhotoDocument::WallPictureSide,
        extended ? "" : qPrintable(QString::asprintf(" (refused: %d)", int(why.refusal))),
        median(times), spread(times, decodeMs, 3).constData());
    std::printf("| of which the measure | %.1f | %s |\n", median(measures),
        spread(measures, decodeMs, 3).constData());
}

// The wall replaced on a 12-megapixel portrait: measured in the reduced picture the caller
// passes, painted on the 35 x 45 mm crop at the photo's own resolution.
void benchBackground()
{
    // Eight times her size above a dark suit, on a beige wall.
    const HeadScene scene = headScene(
        8, 900, 14, [](int light) { return qRgb(light, light - 16, light - 44); }, true);
    if (!scene.face) {
        std::printf("\nBackground: no face found.\n");
        return;
    }
    const QImage &photo = scene.photo, &picture = scene.picture;
    const FaceMarks &face = *scene.face;
    const QRectF &frame = scene.frame;
    const double decodeMs = scene.decodeMs;
    const std::shared_ptr<FaceModel> &model = scene.model;
    std::vector<double> measures, paints;
    BackgroundReplacement::Why why;
    std::optional<BackgroundReplacement> matte;
    for (int run = 0; run < 5; ++run) {
        measures.push_back(
            timeMs([&] { matte = BackgroundReplacement::measure(picture, face, &why); }));
        if (!matte) {
            std::printf("\nBackground: refused (%d, %.2f).\n", int(why.refusal), why.figure);
            return;
        }
        QImage crop = photo.copy(frame.toAlignedRect());
        paints.push_back(timeMs([&] { matte->paint(crop, frame, photo.size(), Qt::white); }));
    }
    std::vector<double> both;
    for (size_t i = 0; i < measures.size(); ++i)
        both.push_back(measures[i] + paints[i]);
    std::printf("\n| wall replaced (12 MP photo, %.0f x %.0f crop painted), 5 runs | ms | / decode "
                "|\n|---|---|---|\n",
        frame.width(), frame.height());
    std::printf("| TurboJPEG decode of the photo | %.0f | 1 |\n", decodeMs);
    std::printf("| measure (%d-pixel picture) | %.1f | %s |\n", PhotoDocument::WallPictureSide,
        median(measures), spread(measures, decodeMs, 3).constData());
    std::printf("| paint (the crop at full resolution) | %.1f | %s |\n", median(paints),
        spread(paints, decodeMs, 3).constData());
    std::printf("| both (goal <= 0.5) | %.1f | %s |\n", median(both),
        spread(both, decodeMs, 3).constData());

    // 48 MP, the head close under the top: fitted with the wall continued above it, the wall
    // made white, and the print's crop drawn at the photo's own resolution. The peak memory
    // against the decoded photo's own.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("48mp.jpg"));
    TestPhotos::writeFile(path,
        TestPhotos::encodeJpeg(
            photo.copy(300, 860, 2400, 3140)
                .scaled(6000, 7850, Qt::IgnoreAspectRatio, Qt::SmoothTransformation),
            90));
    PhotoDocument document;
    document.load(path);
    document.photo()->waitUntilComplete();
    const double photoBytes = 6000.0 * 7850 * 4;
    const FaceSearch search = findFace(*model, *document.photo());
    malloc_trim(0);
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    if (clearRefs.open(QIODevice::WriteOnly))
        clearRefs.write("5"); // the peak from here
    clearRefs.close();
    const long before = statusKiB("VmRSS:");
    document.setFaceSearch(document.photo(), search);
    const bool extended = bool(document.shown().extension());
    const auto refused = document.setWall(WallChoice::White);
    const QImage print = document.photoCrop();
    const double peak = (statusKiB("VmHWM:") - before) * 1024.0;
    std::printf("| 48 MP: extended %s, wall %s, print crop %d x %d: peak memory / photo "
                "(goal <= 1.5) | | %.2f |\n",
        extended ? "yes" : "no", refused ? "refused" : "white", print.width(), print.height(),
        1 + peak / photoBytes);
}

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QByteArray startLoad = loadAverage();
    // The online copy's case alone, for a quick look.
    if (app.arguments().contains(QStringLiteral("--online-copy"))) {
        const QString path = dir.filePath(QStringLiteral("photo.jpg"));
        const QByteArray jpeg = TestPhotos::encodeJpeg(BenchPhotos::photoLike(6000, 4000, 3), 90);
        TestPhotos::writeFile(path, jpeg);
        benchOnlineCopy(path, referenceDecodeMs(jpeg));
        std::printf("\nLoad average (1, 5, 15 min) at the start: %s; at the end: %s\n",
            startLoad.constData(), loadAverage().constData());
        return 0;
    }
    if (app.arguments().contains(QStringLiteral("--background"))) {
        benchBackground();
        std::printf("\nLoad average (1, 5, 15 min) at the start: %s; at the end: %s\n",
            startLoad.constData(), loadAverage().constData());
        return 0;
    }
    if (app.arguments().contains(QStringLiteral("--room-above"))) {
        benchRoomAbove();
        std::printf("\nLoad average (1, 5, 15 min) at the start: %s; at the end: %s\n",
            startLoad.constData(), loadAverage().constData());
        return 0;
    }
    std::fputs("Writing test photos...\n", stderr);

    struct Case
    {
        const char *name;
        int width, height, orientation;
        bool adobeRgb = false;
        const char *format = "jpg"; // the file loaded; the reference decodes a JPEG of it
    };
    const std::vector<Case> cases = { { "12 MP 4000 x 3000", 4000, 3000, 1 },
        { "12 MP PNG", 4000, 3000, 1, false, "png" },
        { "12 MP HEIC", 4000, 3000, 1, false, "heic" }, { "24 MP 6000 x 4000", 6000, 4000, 1 },
        { "24 MP, Adobe RGB profile", 6000, 4000, 1, true }, { "48 MP 8000 x 6000", 8000, 6000, 1 },
        { "48 MP, EXIF orientation 6", 8000, 6000, 6 } };
    const QByteArray adobeRgb = QColorSpace(QColorSpace::AdobeRgb).iccProfile();
    QByteArray profiledJpeg;
    QDir().mkpath(dir.path() + QStringLiteral("/Lang"));
    std::vector<Row> rows;
    std::vector<double> exports, exportsAfterLoad;
    double encodeMs = 0;
    std::pair<QString, double> onlineCopyPhoto; // the 24-megapixel photo and its decode
    for (const Case &c : cases) {
        const QImage picture = BenchPhotos::photoLike(c.width, c.height, 3);
        QByteArray jpeg = TestPhotos::encodeJpeg(picture, 90);
        if (c.orientation != 1)
            jpeg = TestPhotos::withOrientation(jpeg, c.orientation);
        if (c.adobeRgb)
            profiledJpeg = jpeg = TestPhotos::withIccProfile(jpeg, adobeRgb);
        const QByteArray format(c.format);
        const QByteArray file = format == "png" ? TestPhotos::encode(picture, "png")
            : format == "heic"                  ? TestPhotos::encodeHeic(picture)
                                                : jpeg;
        if (file.isEmpty())
            continue; // no HEVC encoder in this libheif
        const QString path
            = dir.filePath(QStringLiteral("photo%1.%2").arg(rows.size()).arg(c.format));
        TestPhotos::writeFile(path, file);
        const double pixelBytes = double(c.width) * c.height * 4;

        Row row { QString::fromLatin1(c.name), referenceDecodeMs(jpeg), {}, {}, 0 };
        std::vector<double> memory;
        for (int run = 0; run <= Runs; ++run) {
            auto form = std::make_unique<Frame>();
            if (run == 0) {
                memory.push_back(loadPeakBytes(*form, path) / pixelBytes);
            } else {
                row.loads.push_back(timeMs([&] { form->load(path); }));
                form->settle(); // the next run starts on an idle machine
            }
            if (run == Runs) {
                for (int press = 0; press < PressRuns; ++press) {
                    const bool in = press % 2 == 0;
                    row.presses.push_back(timeMs([&] {
                        form->press(in ? PhotoCommand::ZoomIn : PhotoCommand::ZoomOut);
                        form->press(in ? PhotoCommand::Left : PhotoCommand::Right);
                    }));
                }
            }
        }
        if (c.width == 6000 && !c.adobeRgb) {
            onlineCopyPhoto = { path, row.referenceMs };
            const QString target = dir.filePath(QStringLiteral("sheet.jpg"));
            // Right after the frame shows, the export waits for the decode under way; then
            // once more with the photo's pixels there.
            for (std::vector<double> *times : { &exportsAfterLoad, &exports }) {
                for (int run = 0; run < ExportRuns; ++run) {
                    Frame form;
                    form.load(path);
                    if (times == &exports)
                        form.settle();
                    times->push_back(timeMs([&] {
                        writeSheet(form.document.shown(), photoSizeMm(form.document.frame()),
                            Qt::lightGray, target);
                    }));
                }
            }
            encodeMs = referenceEncodeMs(QImage(target));
        }
        row.memoryRatio = median(memory);
        rows.push_back(row);
        std::fprintf(stderr, "  %s done\n", c.name);
    }

    std::printf(
        "Medians of %d loads and %d presses, (min-max) of the ratios.\n\n", Runs, PressRuns);
    std::printf("| photo | load to frame ready ms | TurboJPEG decode ms | load / decode (goal <= "
                "0.5) | zoom + pan press ms | press / decode (goal <= 0.005) | peak memory / "
                "photo (goal <= 1.2) |\n");
    std::printf("|---|---|---|---|---|---|---|\n");
    for (const Row &row : rows)
        std::printf("| %s | %.0f | %.0f | %s | %.2f | %s | %.2f |\n", qPrintable(row.name),
            median(row.loads), row.referenceMs, spread(row.loads, row.referenceMs, 2).constData(),
            median(row.presses), spread(row.presses, row.referenceMs, 4).constData(),
            row.memoryRatio);
    std::printf("\n| export (24 MP photo, 35 x 45 mm), medians of %d | ms | / encode |\n"
                "|---|---|---|\n",
        ExportRuns);
    std::printf("| TurboJPEG encode of the sheet, quality 85 | %.1f | 1 |\n", encodeMs);
    std::printf("| export to the JPEG on disk (goal <= 2.0) | %.0f | %s |\n", median(exports),
        spread(exports, encodeMs, 2).constData());
    std::printf("| the same right after the frame shows, waiting for the decode | %.0f | %s |\n",
        median(exportsAfterLoad), spread(exportsAfterLoad, encodeMs, 2).constData());
    benchOnlineCopy(onlineCopyPhoto.first, onlineCopyPhoto.second);
    const QByteArray profiled48 = TestPhotos::withIccProfile(
        TestPhotos::encodeJpeg(BenchPhotos::photoLike(8000, 6000, 3), 90), adobeRgb);
    benchColourProfile({ { "24 MP", profiledJpeg }, { "48 MP", profiled48 } }, adobeRgb);
    benchFaceSearch(dir.filePath(QStringLiteral("face.jpg")));
    benchSmallFaces(dir);
    benchRoomAbove();
    benchBackground();
    std::printf("\nLoad average (1, 5, 15 min) at the start: %s; at the end: %s\n",
        startLoad.constData(), loadAverage().constData());
    return 0;
}
