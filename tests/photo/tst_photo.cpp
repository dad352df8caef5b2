#include "hostilephotos.h"
#include "photo/cropcommands.h"
#include "photo/facefit.h"
#include "photo/fitgestures.h"
#include "photo/photodocument.h"
#include "photo/photoformat.h"
#include "photo/photoloader.h"
#include "testphotos.h"

#include <QColorSpace>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

const QSizeF F3545(3500, 4500);

// Two colours side by side, 2000 x 1500.
QImage halves(QRgb left, QRgb right)
{
    QImage image(2000, 1500, QImage::Format_RGB32);
    image.fill(left);
    QPainter(&image).fillRect(1000, 0, 1000, 1500, QColor(right));
    return image;
}

int channelDistance(QRgb a, QRgb b)
{
    return std::max({ std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
        std::abs(qBlue(a) - qBlue(b)) });
}

} // namespace

using HostilePhotos::Outcome;

class TestPhoto : public QObject
{
    Q_OBJECT
private slots:
    void hostileSet_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Outcome>("expected");
        for (const HostilePhotos::File &file : HostilePhotos::corpus())
            QTest::newRow(qPrintable(file.name)) << file.bytes << file.outcome;
    }
    void hostileSet()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(Outcome, expected);
        if (bytes.isEmpty() && QByteArray(QTest::currentDataTag()).endsWith(".heic"))
            QSKIP("libheif here was built without an HEVC encoder to write the file");
        // KALMORA_KEEP_PHOTOS=FOLDER keeps the set there, to look at or to fuzz from.
        const QDir folder(qEnvironmentVariable("KALMORA_KEEP_PHOTOS", m_dir.path()));
        const QString path = folder.filePath(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(folder.mkpath(".") && TestPhotos::writeFile(path, bytes));

        // As the window loads: most are first shown from a reduced decode.
        const PhotoLoadResult loaded = loadPhoto(path, QSizeF(233, 300));
        if (expected == Outcome::NotAPicture || expected == Outcome::TooLarge) {
            QCOMPARE(loaded.error,
                expected == Outcome::TooLarge ? PhotoLoadError::TooLarge
                                              : PhotoLoadError::NotAPicture);
            QVERIFY(!loaded.photo);
            return;
        }
        QCOMPARE(loaded.error, PhotoLoadError::None);
        const QSize size = loaded.photo->size();
        QVERIFY(size == QSize(600, 800) || size == QSize(300, 400));
        const QImage upright = loaded.photo->crop(QRect(QPoint(0, 0), size));
        const QImage reference = HostilePhotos::uprightPicture().scaled(size);
        const bool grey = QByteArray(QTest::currentDataTag()).startsWith("greyscale");
        const int w = size.width(), h = size.height();
        // A cut file still shows its first rows of blocks; the rest is the decoder's grey.
        QList<QPoint> probes = { { w / 4, 4 }, { 3 * w / 4, 4 } };
        if (expected == Outcome::Upright)
            probes += { { w / 4, h / 4 }, { 3 * w / 4, h / 4 }, { w / 4, 3 * h / 4 },
                { 3 * w / 4, 7 * h / 8 } };
        for (const QPoint probe : probes) {
            QRgb want = reference.pixel(probe);
            const int luma
                = qRound(0.299 * qRed(want) + 0.587 * qGreen(want) + 0.114 * qBlue(want));
            if (grey)
                want = qRgb(luma, luma, luma);
            QVERIFY2(channelDistance(upright.pixel(probe), want) <= 12,
                qPrintable(QStringLiteral("at %1,%2").arg(probe.x()).arg(probe.y())));
        }
    }
    // Shown before its own pixels are decoded, a photo has the crop and, within a shade, the
    // frame of a photo decoded whole; a photo loaded meanwhile ends the first one's decode.
    // The photo's own pixels as Qt's reader gives them; a decode no longer wanted ends with
    // nothing, however its scans are laid out.
    void wholeDecode()
    {
        for (const bool progressive : { false, true }) {
            QByteArray jpeg;
            QBuffer buffer(&jpeg);
            buffer.open(QIODevice::WriteOnly);
            QImageWriter writer(&buffer, "jpeg");
            writer.setProgressiveScanWrite(progressive);
            QVERIFY(writer.write(TestPhotos::gradients(640, 480)));
            std::atomic<bool> stop { false };
            QCOMPARE(decodeWholePhoto(jpeg, true, &stop, {}),
                QImage::fromData(jpeg).convertToFormat(QImage::Format_RGB32));
            stop = true;
            QVERIFY(decodeWholePhoto(jpeg, true, &stop, {}).isNull());
        }
    }
    // An embedded profile makes a photo's colours sRGB, in the reduced picture shown first and
    // in its own pixels alike; one that cannot be used leaves them as stored, and says so.
    void colourProfile_data()
    {
        QTest::addColumn<QByteArray>("jpeg");
        QTest::addColumn<QRgb>("left"); // the colour each half shows
        QTest::addColumn<QRgb>("right");
        QTest::addColumn<bool>("unusable");
        using TestPhotos::withIccProfile;
        const QRgb skin = qRgb(160, 114, 97), red = qRgb(230, 60, 40);
        const QByteArray rgb = TestPhotos::encodeJpeg(halves(skin, red));
        const QByteArray adobe = QColorSpace(QColorSpace::AdobeRgb).iccProfile();
        // Adobe RGB's curve as a grey profile: its red curve renamed, the colour space named.
        QByteArray grey = QByteArray(adobe).replace(16, 4, "GRAY");
        grey.replace(grey.indexOf("rTRC"), 4, "kTRC");
        const auto row
            = [](const char *name, const QByteArray &jpeg, QRgb left, QRgb right, bool unusable) {
                  QTest::newRow(name) << jpeg << left << right << unusable;
              };
        // As Adobe RGB's matrix and curve give them, in sRGB; the red lies outside it.
        row("Adobe RGB", withIccProfile(rgb, adobe), qRgb(176, 115, 96), qRgb(255, 57, 34), false);
        row("Adobe RGB in 100-byte parts", withIccProfile(rgb, adobe, 100), qRgb(176, 115, 96),
            qRgb(255, 57, 34), false);
        row("grey photo, grey profile",
            withIccProfile(HostilePhotos::encode(halves(qRgb(30, 30, 30), qRgb(200, 200, 200)),
                               { HostilePhotos::ColourSpace::Grey }),
                grey),
            qRgb(24, 24, 24), qRgb(201, 201, 201), false);
        row("no profile", rgb, skin, red, false);
        row("not a profile", withIccProfile(rgb, QByteArray(600, 'x')), skin, red, true);
        row("grey profile", withIccProfile(rgb, grey), skin, red, true);
        row("cut short across markers", withIccProfile(rgb, adobe, 100, 3), skin, red, true);
        // Qt reads no CMYK profile: the colours as Qt's reader makes them of CMYK.
        row("CMYK photo, CMYK profile",
            withIccProfile(
                HostilePhotos::encode(halves(skin, red), { HostilePhotos::ColourSpace::Cmyk }),
                QByteArray(adobe).replace(16, 4, "CMYK")),
            skin, red, true);
    }
    void colourProfile()
    {
        QFETCH(QByteArray, jpeg);
        QFETCH(QRgb, left);
        QFETCH(QRgb, right);
        QFETCH(bool, unusable);
        const QString path = write(QStringLiteral("profile.jpg"), jpeg);
        const auto shows = [&](const QImage &picture) {
            const int w = picture.width(), h = picture.height();
            return channelDistance(picture.pixel(w / 4, h / 2), left) <= 3
                && channelDistance(picture.pixel(3 * w / 4, h / 2), right) <= 3;
        };
        TestPhotos::DecodeHold hold;
        const PhotoLoadResult loaded = loadPhoto(path, QSizeF(233, 300));
        QVERIFY(loaded.photo);
        const Photo &photo = *loaded.photo;
        const QRect whole(QPoint(), photo.size());
        // Qt's reader decodes CMYK whole at once; the others are shown from a reduced decode.
        const QByteArray tag = QTest::currentDataTag();
        QCOMPARE(photo.isComplete(), tag.startsWith("CMYK photo"));
        QVERIFY(shows(photo.scaledCrop(whole, photo.size() / 8)));
        hold.release();
        QVERIFY(shows(photo.crop(whole)));
        QCOMPARE(photo.colourProfileUnusable(), unusable);
        const auto d = document();
        QCOMPARE(d->load(path), LoadOutcome::Accepted);
        QCOMPARE(d->colourProfileUnusable(), unusable);
    }
    void frameFirst_data()
    {
        QTest::addColumn<QSize>("frame");
        QTest::addColumn<int>("orientation");
        QTest::addColumn<int>("cut"); // per cent of the file kept
        QTest::newRow("35 x 45 mm") << QSize(3500, 4500) << 1 << 100;
        QTest::newRow("2 x 2 in, orientation 6") << QSize(5080, 5080) << 6 << 100;
        QTest::newRow("cut short") << QSize(3500, 4500) << 1 << 60;
    }
    void frameFirst()
    {
        QFETCH(QSize, frame);
        QFETCH(int, orientation);
        QFETCH(int, cut);
        const QByteArray jpeg = TestPhotos::withOrientation(
            TestPhotos::encodeJpeg(TestPhotos::gradients(4000, 3000)), orientation);
        const QString path = write(QStringLiteral("big.jpg"), jpeg.left(jpeg.size() * cut / 100));
        PhotoDocument whole;
        whole.setFrame(frame);
        QCOMPARE(whole.load(path), LoadOutcome::Accepted);
        whole.photo()->waitUntilComplete();
        const QSize pixels = (QSizeF(frame) / TwipsPerPhotoPixel).toSize();

        const auto first = document();
        TestPhotos::DecodeHold hold;
        QCOMPARE(first->load(write(QStringLiteral("other.jpg"), jpeg)), LoadOutcome::Accepted);
        const std::weak_ptr<const Photo> other = first->photo();
        first->setFrame(frame);
        QCOMPARE(first->load(path), LoadOutcome::Accepted);
        QVERIFY(other.expired() && !first->isPhotoComplete());
        QCOMPARE(first->cropSource().rect, whole.cropSource().rect);
        const QImage shown = first->shown().scaledTo(pixels);
        const QImage wanted = whole.shown().scaledTo(pixels);
        int worst = 0;
        for (int y = 0; y < pixels.height() * cut / 200; ++y)
            for (int x = 0; x < pixels.width(); ++x)
                worst = std::max(worst, channelDistance(shown.pixel(x, y), wanted.pixel(x, y)));
        QVERIFY2(worst <= 4, qPrintable(QString::number(worst)));
        hold.release();
        QCOMPARE(first->photoCrop(), whole.photoCrop());
    }
    void centreCrop_data()
    {
        QTest::addColumn<QSize>("photo");
        QTest::addColumn<QSizeF>("frame");
        QTest::addColumn<QRect>("expected"); // empty: no rectangle fits 16 bits
        const auto row = [](const char *name, QSize photo, QSizeF frame, QRect expected) {
            QTest::newRow(name) << photo << frame << expected;
        };
        row("landscape keeps its height", { 3000, 2000 }, F3545, { 722, 0, 1556, 2000 });
        row("portrait keeps its width", { 1200, 1800 }, { 3000, 4000 }, { 0, 100, 1200, 1600 });
        row("half goes to even 499.5", { 1001, 2000 }, { 4000, 4000 }, { 0, 500, 1001, 1001 });
        row("landscape half 500.5", { 1779, 1000 }, F3545, { 500, 0, 778, 1000 });
        // Portraits proportionally wider than the frame keep their height.
        row("4:5 portrait", { 1080, 1350 }, F3545, { 15, 0, 1050, 1350 });
        row("square photo, portrait frame", { 2000, 2000 }, F3545, { 222, 0, 1556, 2000 });
        row("32767 square", { 32767, 32767 }, { 3000, 4000 }, { 4096, 0, 24575, 32767 });
        row("beyond 16 bits", { 40000, 40000 }, { 3000, 4000 }, {});
    }
    void centreCrop()
    {
        QFETCH(QSize, photo);
        QFETCH(QSizeF, frame);
        QFETCH(QRect, expected);
        const std::optional<CropRect> rect
            = ::centreCrop(photo.width(), photo.height(), frame.width(), frame.height());
        QCOMPARE(rect.has_value(), !expected.isNull());
        if (rect)
            QCOMPARE(rect->toRect(), expected);
    }
    // Whatever its proportions (a 1 x N strip, 32767 pixels high), a photo's centred rectangle
    // lies inside it, fills it in one direction and has the frame's proportions.
    void centreCropStaysInside()
    {
        const QList<int> sides { 1, 233, 999, 1080, 1350, 2000, 32767 };
        for (const QSizeF frame : { QSizeF(3000, 4000), QSizeF(3495, 4500), QSizeF(5080, 5080) })
            for (int w : sides)
                for (int h : sides) {
                    const QRect r = ::centreCrop(w, h, frame.width(), frame.height())->toRect();
                    QVERIFY(QRect(0, 0, w, h).contains(r) && (r.width() == w || r.height() == h)
                        && std::abs(r.width() - r.height() * frame.width() / frame.height()) <= 1);
                }
    }
    // Wherever a rectangle is asked for on a turned photo (at a corner, at an edge, larger
    // than the turn allows, already covered), the kept one is covered, keeps its proportions
    // and is no smaller than it must be; a covered one stays as it was.
    void keptOnTurnedPhoto()
    {
        const QSize photo(1200, 1600);
        // Turned about a point near an edge, the turned photo and the frame overlap less, and
        // one move into each is not yet in both.
        for (const auto &[degrees, centre] : { std::pair(-15.0, QPointF(700, 500)),
                 { 3.0, QPointF(700, 500) }, { 40.0, QPointF(48, 1188) },
                 { -31.4, QPointF(458, 110) }, { 16.5, QPointF(1119, 271) } }) {
            const Turn turn { degrees, centre };
            for (const QRectF &asked : { QRectF(-50, -80, 450, 600), QRectF(935, 463, 912, 1216),
                     QRectF(-143, 271, 885, 1180), QRectF(515, 711, 1126, 1501),
                     QRectF(0, 0, 1200, 1600), QRectF(450, 500, 450, 600) }) {
                const QRectF kept = keepOnTurnedPhoto(photo, turn, asked);
                QVERIFY(coversRect(photo, turn, kept));
                QVERIFY(QRectF(QPointF(), photo).contains(kept));
                QVERIFY(
                    std::abs(kept.width() * asked.height() - kept.height() * asked.width()) < 1e-6);
                if (coversRect(photo, turn, asked))
                    QCOMPARE(kept, asked);
            }
        }
    }
    // A large crop at the photo's own pixels is turned a band at a time: no band's edge shows.
    void turnedInBands()
    {
        QImage photo(2400, 2000, QImage::Format_RGB32);
        for (int y = 0; y < photo.height(); ++y)
            for (int x = 0; x < photo.width(); ++x)
                photo.setPixel(x, y,
                    qRgb(int(128 + 100 * std::sin(x / 37.0) * std::cos(y / 53.0)), x % 256, 0));
        const Turn turn { 3.5, QPointF(1200, 1000) };
        const QRect rect(300, 200, 1800, 1600);
        QVERIFY(qint64(rect.width()) * rect.height() > BandedPixels);
        const QImage banded = turnedCrop(photo.rect(), turn, rect, rect.size(),
            [&photo](const QRect &upright, const QSize &) { return photo.copy(upright); });
        QImage whole(rect.size(), QImage::Format_RGB32);
        QPainter painter(&whole);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.setTransform(turn.matrix() * QTransform::fromTranslate(-rect.left(), -rect.top()));
        painter.drawImage(0, 0, photo);
        painter.end();
        int apart = 0;
        for (int y = 0; y < whole.height(); ++y)
            for (int x = 0; x < whole.width(); ++x)
                apart
                    = std::max(apart, std::abs(qRed(banded.pixel(x, y)) - qRed(whole.pixel(x, y))));
        QVERIFY2(apart <= 2, qPrintable(QString::number(apart)));
    }

    // A head too large for the rule in a 4:5 photo: the largest rectangle of the frame's
    // proportions, as the centred fit takes it, moved onto the face and kept inside.
    void faceTooLargeForTheRule()
    {
        for (const auto &[centreX, left] : { std::pair(700.0, 30), { 100.0, 0 } }) {
            const FaceMarks face { 1250, 700, centreX }; // head 1100 pixels of 1350
            const std::optional<CropRect> rect
                = faceCrop(1080, 1350, F3545.width(), F3545.height(), face, PortraitFaceRule);
            QCOMPARE(rect->toRect(), QRect(left, 0, 1050, 1350));
        }
    }
    // Each command on a start state: the new one, or refused (no rectangle).
    void commands_data()
    {
        QTest::addColumn<QSize>("photo");
        QTest::addColumn<QSizeF>("frame");
        QTest::addColumn<QRect>("start");
        QTest::addColumn<QPoint>("pan"); // the pan counters before
        QTest::addColumn<PhotoCommand>("command");
        QTest::addColumn<QRect>("expected");
        QTest::addColumn<QPoint>("expectedPan");
        const auto row = [](const char *name, QSize photo, QSizeF frame, QRect start, QPoint pan,
                             PhotoCommand command, QRect expected, QPoint expectedPan) {
            QTest::newRow(name) << photo << frame << start << pan << command << expected
                                << expectedPan;
        };
        using enum PhotoCommand;
        const QRect r(10, 10, 100, 100);
        row("399 wide: step 1", { 399, 300 }, F3545, r, {}, Left, { 11, 10, 100, 100 }, { 1, 0 });
        row("down: one step left is not enough", { 300, 400 }, F3545, { 0, 2, 100, 100 }, {}, Down,
            {}, {});
        row("down: one more than step", { 300, 400 }, F3545, { 0, 3, 100, 100 }, {}, Down,
            { 0, 1, 100, 100 }, { 0, -1 });
        row("up past the bottom edge", { 300, 400 }, F3545, { 0, 300, 100, 100 }, {}, Up, {}, {});
        row("zoom keeps the counted step", { 300, 400 }, F3545, { 0, 300, 100, 100 }, { 0, 1 },
            ZoomIn, { 118, 174, 65, 55 }, { 0, 1 });
        row("zoom half to even", { 1001, 1200 }, F3545, { 0, 0, 735, 900 }, {}, ZoomIn,
            { 150, 172, 700, 855 }, {});
        row("zoom out past the photo", { 1000, 1000 }, { 4000, 4000 }, { 0, 0, 1000, 1000 }, {},
            ZoomOut, {}, {});
        row("zoom with pan offset", { 1000, 1000 }, { 4000, 4000 }, { 300, 300, 400, 400 },
            { -10, 5 }, ZoomIn, { 270, 345, 360, 360 }, { -10, 5 });
        row("counter at its limit keeps its value", { 300, 400 }, F3545, { 0, 10, 100, 100 },
            { 0, 32767 }, Up, { 0, 12, 100, 100 }, { 0, 32767 });
    }
    void commands()
    {
        QFETCH(QSize, photo);
        QFETCH(QSizeF, frame);
        QFETCH(QRect, start);
        QFETCH(QPoint, pan);
        QFETCH(PhotoCommand, command);
        QFETCH(QRect, expected);
        QFETCH(QPoint, expectedPan);
        const CropState state { { int16_t(start.left()), int16_t(start.top()),
                                    int16_t(start.width()), int16_t(start.height()) },
            int16_t(pan.x()), int16_t(pan.y()) };
        const std::optional<CropState> next = applyCommand(command, state, photo, frame);
        QCOMPARE(next.has_value(), !expected.isNull());
        if (next) {
            QCOMPARE(next->rect.toRect(), expected);
            QCOMPARE(QPoint(next->panStepsX, next->panStepsY), expectedPan);
        }
    }
    void load_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<LoadOutcome>("outcome");
        const auto jpeg
            = [](int w, int h) { return TestPhotos::encodeJpeg(TestPhotos::quadrants(w, h)); };
        // 35 x 45 mm is 3500 x 4500 twips: a photo needs at least 234 x 300 pixels.
        QTest::newRow("233 x 310 too narrow") << "a.jpg" << jpeg(233, 310) << LoadOutcome::TooSmall;
        QTest::newRow("300 x 299 too short") << "a.jpg" << jpeg(300, 299) << LoadOutcome::TooSmall;
        QTest::newRow("234 x 300, just large enough")
            << "a.jpg" << jpeg(234, 300) << LoadOutcome::Accepted;
        QTest::newRow(".jpeg") << "a.jpeg" << jpeg(300, 400) << LoadOutcome::Accepted;
        QTest::newRow(".heic holding a JPEG")
            << "a.heic" << jpeg(300, 400) << LoadOutcome::Accepted;
        QTest::newRow(".gif is not a photo name")
            << "a.gif" << jpeg(300, 400) << LoadOutcome::Ignored;
        QTest::newRow("hidden file") << ".a.jpg" << jpeg(300, 400) << LoadOutcome::Ignored;
    }
    // A pipe under a photo's name is refused at once, not waited on.
    void pipeIsNoPhoto()
    {
        const QString path = m_dir.filePath("pipe.jpg");
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        QCOMPARE(loadPhoto(path).error, PhotoLoadError::NotAPicture);
        QCOMPARE(document()->load(path), LoadOutcome::Ignored);
    }
    void load()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(LoadOutcome, outcome);
        const auto w = document();
        QCOMPARE(w->load(write(name, bytes)), outcome);
        QCOMPARE(w->isLoaded(), outcome == LoadOutcome::Accepted);
        QCOMPARE(w->shown().isNull(), outcome != LoadOutcome::Accepted);
    }

    // Each sequence ends where its twin does ('+' '-' '^' 'v' '<' '>' as the buttons, 'u' undo,
    // 'r' reset), with the frame showing the rectangle: a refused press changes nothing.
    void sequences_data()
    {
        QTest::addColumn<QString>("sequence");
        QTest::addColumn<QString>("twin");
        QTest::addColumn<QPoint>("pan");
        // 1000 x 1500 fits 35 x 45 mm at its full width: (0, 107, 1000, 1286), steps 5 and 7.
        const auto row = [](const char *name, const char *sequence, const char *twin, QPoint pan) {
            QTest::newRow(name) << QString(sequence) << QString(twin) << pan;
        };
        row("- at full width, then v twice", "-vv", "vv", QPoint(0, -2));
        row("12 presses against the edge, +", "<<<<<<<<<<<<+", "+", QPoint());
        row("refused zoom, every arrow", "-^v<>", "", QPoint());
        row("moves back and forth", "+<<<>", "+<<", QPoint(2, 0));
        row("undo", "+<<u", "+<", QPoint(1, 0));
        row("reset", "+<^r", "", QPoint());
        row("reset undone", "+<^ru", "+<^", QPoint(1, 1));
        row("nothing to undo", "uuv", "v", QPoint(0, -1));
    }
    void sequences()
    {
        QFETCH(QString, sequence);
        QFETCH(QString, twin);
        QFETCH(QPoint, pan);
        const QString path
            = write("p.jpg", TestPhotos::encodeJpeg(TestPhotos::quadrants(1000, 1500)));
        const auto play = [&](const QString &keys) {
            const auto w = document();
            w->load(path);
            const QString commands = QStringLiteral("+-^v<>");
            for (QChar key : keys) {
                if (key == u'u')
                    w->undo();
                else if (key == u'r')
                    w->resetFit();
                else
                    w->run(PhotoCommand(commands.indexOf(key)));
            }
            return std::tuple { w->cropSource().rect, QPoint(w->panStepsX(), w->panStepsY()),
                w->shown().rect() };
        };
        const auto [rect, steps, shown] = play(sequence);
        QCOMPARE(play(twin), std::tuple(rect, steps, shown));
        QCOMPARE(steps, pan);
        QCOMPARE(shown, rect.toRect());
    }
    // A wild jump of the pointer or a wild wheel brings at most MaxCommands commands, so one
    // event cannot stall the window; drags and notches themselves are the window's tests.
    void gesturesAreCapped()
    {
        FrameGestures gestures;
        gestures.startDrag({ 0, 0 });
        QCOMPARE(gestures.dragTo({ 1e6, 0 }, { 4, 3 }).size(), FrameGestures::MaxCommands);
        QCOMPARE(gestures.wheel(120 * 80).size(), FrameGestures::MaxCommands);
    }

private:
    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(name);
        return TestPhotos::writeFile(path, bytes) ? path : QString();
    }
    static std::unique_ptr<PhotoDocument> document()
    {
        auto d = std::make_unique<PhotoDocument>();
        d->setFrame(F3545);
        return d;
    }

    QTemporaryDir m_dir;
};

QTEST_MAIN(TestPhoto)
#include "tst_photo.moc"
