// The top of the head read from the pixels, against the labels of real portraits and of
// photos made from them.
#include "photo/backgroundextension.h"
#include "photo/documenttable.h"
#include "photo/facefinder.h"
#include "photo/facefit.h"
#include "photo/headtop.h"
#include "photo/photodocument.h"
#include "portraits.h"
#include "testphotos.h"

#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(Portrait)
Q_DECLARE_METATYPE(std::optional<BackgroundExtension::Refusal>)

namespace {

enum class Made { AsShot, Wall, WallWithRoom, PlainStripAbove, HairToTheEdge, HeadOnWall };

// A plain wall with a camera's noise and a gentle fall of the light, pasted over the photo
// above the hair's labelled top (the head's own pixels below stay).
void pasteWall(QImage &image, int above, QColor wall)
{
    QRandomGenerator noise(7);
    for (int y = 0; y < above; ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        const double light = 1 - 0.06 * y / std::max(1, above);
        for (int x = 0; x < image.width(); ++x) {
            const int n = int(noise.bounded(9)) - 4;
            row[x] = qRgb(std::clamp(int(wall.red() * light) + n, 0, 255),
                std::clamp(int(wall.green() * light) + n, 0, 255),
                std::clamp(int(wall.blue() * light) + n, 0, 255));
        }
    }
}

struct MadePhoto
{
    QImage image;
    double shift; // rows added above the portrait
};

MadePhoto made(const Portrait &portrait, Made made, QColor wall)
{
    QImage image = portrait.image().convertToFormat(QImage::Format_RGB32);
    const int hair = int(portrait.hairTop);
    double shift = 0; // rows added above
    switch (made) {
    case Made::AsShot:
        break;
    case Made::Wall:
        pasteWall(image, hair - 1, wall);
        break;
    case Made::WallWithRoom: {
        // The wall reaches a third of the height above and below the photo and a sixth of
        // its width beside it.
        const int rows = image.height() / 3, columns = image.width() / 6;
        QImage taller(image.width() + 2 * columns, image.height() + 2 * rows, QImage::Format_RGB32);
        pasteWall(taller, taller.height(), wall);
        QPainter(&taller).drawImage(columns, rows, image);
        pasteWall(taller, rows + hair - 1, wall);
        image = taller;
        shift = rows;
        break;
    }
    case Made::PlainStripAbove: {
        // The photo as shot below a plain strip a quarter of its height.
        const int rows = image.height() / 4;
        QImage taller(image.width(), image.height() + rows, QImage::Format_RGB32);
        pasteWall(taller, rows, wall);
        QPainter(&taller).drawImage(0, rows, image);
        image = taller;
        shift = rows;
        break;
    }
    case Made::HeadOnWall: {
        // The head and neck alone (an oval from the labels) on a wall a third taller.
        const int rows = image.height() / 3;
        QImage taller(image.width(), image.height() + rows, QImage::Format_RGB32);
        pasteWall(taller, taller.height(), wall);
        const QPointF eyes = (portrait.firstEye + portrait.secondEye) / 2;
        const double half = 1.8 * (portrait.secondEye.x() - portrait.firstEye.x());
        const double top = rows + portrait.hairTop - 2;
        QPainter painter(&taller);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath head;
        head.addEllipse(
            QRectF(eyes.x() - half, top, 2 * half, 2 * (portrait.chin - portrait.hairTop)));
        painter.setClipPath(head);
        painter.drawImage(0, rows, image);
        image = taller;
        shift = rows;
        break;
    }
    case Made::HairToTheEdge: {
        const int cut = hair + int(portrait.skullTop - portrait.hairTop) / 2;
        image = image.copy(0, cut, image.width(), image.height() - cut);
        shift = -cut;
        break;
    }
    }
    return { image, shift };
}

} // namespace

class TestHeadTop : public QObject
{
    Q_OBJECT
    std::shared_ptr<FaceModel> m_model;

private slots:
    void initTestCase()
    {
        m_model = loadFaceModel(QString::fromLatin1(LandmarkModelPath));
        QVERIFY(m_model);
        QCOMPARE(::portraits().size(), 4);
    }

    void portraits_data()
    {
        QTest::addColumn<Portrait>("portrait");
        QTest::addColumn<Made>("kind");
        QTest::addColumn<QColor>("wall");
        for (const Portrait &p : ::portraits()) {
            const QByteArray name = p.name.toLatin1();
            QTest::newRow(name) << p << Made::AsShot << QColor();
            QTest::newRow(name + " white wall") << p << Made::Wall << QColor(246, 246, 244);
            QTest::newRow(name + " grey wall") << p << Made::Wall << QColor(128, 130, 132);
            QTest::newRow(name + " beige wall") << p << Made::Wall << QColor(222, 206, 178);
            QTest::newRow(name + " room above") << p << Made::WallWithRoom << QColor(200, 200, 200);
            QTest::newRow(name + " plain strip above")
                << p << Made::PlainStripAbove << QColor(216, 216, 212);
            QTest::newRow(name + " hair to the edge") << p << Made::HairToTheEdge << QColor();
        }
    }
    // Within a millimetre of the labels at 35 x 45 mm (34 mm chin to skull) where the top
    // shows; where it cannot be told, not found rather than wrong.
    void portraits()
    {
        QFETCH(Portrait, portrait);
        QFETCH(Made, kind);
        QFETCH(QColor, wall);
        const auto [image, shift] = made(portrait, kind, wall);
        const FaceSearch search
            = findFace(*m_model, Photo(image, QImageIOHandler::TransformationNone));
        QVERIFY(search.face);
        const FaceMarks &measured = *search.face; // as the search measured it
        const double millimetre = (portrait.chin - portrait.skullTop) / 34;
        const QByteArray found = "hair " + QByteArray::number(measured.hair() - shift) + ", skull "
            + QByteArray::number(measured.crown() - shift);
        // The top is not in the photo: any figure would be a guess.
        if (kind == Made::HairToTheEdge) {
            QVERIFY2(measured.topFound == FaceMarks::TopFound::NotFound, found);
            QCOMPARE(measured.crown(), FaceMarks::fromPoints(measured.points).crown());
            return;
        }
        QVERIFY2(measured.topFound == FaceMarks::TopFound::Measured, found);
        QVERIFY2(std::abs(measured.hair() - shift - portrait.hairTop) <= millimetre, found);
        QVERIFY2(std::abs(measured.crown() - shift - portrait.skullTop) <= 1.5 * millimetre, found);
    }

    // Fitted by each format's or document's rule, the labelled head lies within the rule's
    // bands, within a millimetre of its target to the top of the hair, 1.5 to the skull's top.
    void fitByTheRule_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("id"); // of a document, for a format of none
        for (int i = 0; i < PhotoFormatCount; ++i)
            QTest::newRow(PhotoFormats[i].caption) << i << QString();
        // Sizes of their own, two rules for 35 x 45 mm (31.5 and 34 mm), one to the hair.
        for (const char *id : { "ca_passport", "cn_visa", "gb_passport", "schengen_visa",
                 "jp_passport", "es_dni", "us_visa_online" })
            QTest::newRow(id) << -1 << QString::fromLatin1(id);
    }
    void fitByTheRule()
    {
        QFETCH(int, format);
        QFETCH(QString, id);
        DocumentList shipped;
        QStringList problems;
        shipped.load(QStringLiteral(KALMORA_SOURCE_DIR), {}, &problems);
        const std::optional<IdDocument> document
            = format >= 0 ? formatDocument(format) : shipped.find(id);
        QVERIFY(document);
        const QSizeF frameMm = document->printMm();
        const FaceRule &rule = document->rule;
        const double high = frameMm.height(); // mm
        const QSizeF frame = frameMm * 100; // twips
        std::vector<double> errors;
        for (const Portrait &portrait : ::portraits())
            for (const Made kind : { Made::AsShot, Made::WallWithRoom }) {
                const auto [image, shift] = made(portrait, kind, QColor(236, 236, 232));
                const FaceSearch search
                    = findFace(*m_model, Photo(image, QImageIOHandler::TransformationNone));
                QVERIFY(search.face);
                const std::optional<CropRect> crop = faceCrop(image.width(), image.height(),
                    frame.width(), frame.height(), *search.face, rule);
                QVERIFY(crop);
                // A head with no room for the rule in this photo is the checks' to report.
                const FaceMarks &face = *search.face;
                const double wanted = face.head(rule.top) / rule.headTarget;
                const double wantedTop = rule.anchor == FaceRule::Anchor::Crown
                    ? face.top(rule.top) - rule.anchorTarget * wanted
                    : face.eyeLine - (1 - rule.anchorTarget) * wanted;
                if (std::abs(crop->height - wanted) > 1 || std::abs(crop->top - wantedTop) > 1)
                    continue;
                const double mm = high / crop->height;
                const double top = shift
                    + (rule.top == FaceRule::Top::Hair ? portrait.hairTop : portrait.skullTop);
                const double head = (portrait.chin + shift - top) * mm;
                const double eyes = (portrait.firstEye.y() + portrait.secondEye.y()) / 2 + shift;
                const double anchor = rule.anchor == FaceRule::Anchor::Crown
                    ? (top - crop->top) * mm
                    : (crop->top + crop->height - eyes) * mm;
                const QByteArray what = QString::asprintf(
                    "%s: head %.2f mm, anchor %.2f mm", qPrintable(portrait.name), head, anchor)
                                            .toUtf8();
                QVERIFY2(head >= rule.headMin * high && head <= rule.headMax * high, what);
                QVERIFY2(anchor >= rule.anchorMin * high && anchor <= rule.anchorMax * high, what);
                errors.push_back(std::abs(head - rule.headTarget * high));
            }
        QVERIFY(errors.size() >= 4);
        std::sort(errors.begin(), errors.end());
        qInfo("head-size error on %zu photos: median %.2f mm, largest %.2f mm", errors.size(),
            errors[errors.size() / 2], errors.back());
        QVERIFY(errors.back() <= (rule.top == FaceRule::Top::Hair ? 1.0 : 1.5));
    }

    // Room above the head: the top rows of a plain wall cut off and continued again match
    // what was cut; a busy top and hair that runs on past the edge are not continued.
    void roomAbove_data()
    {
        QTest::addColumn<Portrait>("portrait");
        QTest::addColumn<Made>("kind");
        QTest::addColumn<std::optional<BackgroundExtension::Refusal>>("refused");
        using R = BackgroundExtension::Refusal;
        const QList<Portrait> all = ::portraits();
        const Portrait &obama = all[0], &astronaut = all[3];
        QTest::newRow("wall") << astronaut << Made::HeadOnWall << std::optional<R>();
        QTest::newRow("busy") << obama << Made::AsShot << std::optional(R::NotPlain);
        // The wall would cut the hair straight where it goes on.
        QTest::newRow("hair to the edge")
            << astronaut << Made::HairToTheEdge << std::optional(R::PersonAtEdge);
    }
    void roomAbove()
    {
        QFETCH(Portrait, portrait);
        QFETCH(Made, kind);
        QFETCH(std::optional<BackgroundExtension::Refusal>, refused);
        const auto [wall, shift] = made(portrait, Made::HeadOnWall, QColor(222, 206, 178));
        const QImage whole
            = QImage::fromData(TestPhotos::encodeJpeg(wall)).convertToFormat(QImage::Format_RGB32);
        const int rows = int(shift + portrait.hairTop);
        const int cut = kind == Made::HeadOnWall ? rows - whole.height() / 30
            : kind == Made::HairToTheEdge ? rows + int(portrait.skullTop - portrait.hairTop) / 2
                                          : 0;
        const QImage image = kind == Made::AsShot
            ? portrait.image()
            : whole.copy(0, cut, whole.width(), whole.height() - cut);
        const FaceSearch search
            = findFace(*m_model, Photo(image, QImageIOHandler::TransformationNone));
        QVERIFY(search.face);
        BackgroundExtension::Why why;
        // Measured on a reduced copy, as the frame's picture, and painted at the photo's size.
        const QImage half
            = image.scaled(image.size() / 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const auto extension = BackgroundExtension::measure(
            half, search.face->mapped(QTransform::fromScale(0.5, 0.5)), Qt::TopEdge, &why);
        QVERIFY2((extension ? std::nullopt : std::optional(why.refusal)) == refused,
            QByteArray::number(int(why.refusal)) + " " + QByteArray::number(why.figure));
        if (!extension)
            return;
        QImage extended(image.width(), whole.height(), QImage::Format_RGB32);
        QPainter(&extended).drawImage(0, cut, image);
        extension->paintOutside(
            extended, QRectF(0, -cut, image.width(), whole.height()), image.size());
        // A row's mean over the three channels, and its grain: their spread about their means.
        const auto mean = [](const QImage &im, int y, bool grain = false) {
            double sums[3] {}, squares[3] {};
            for (int x = 0; x < im.width(); ++x)
                for (int c = 0; c < 3; ++c) {
                    const int value = int(im.pixel(x, y) >> (8 * c) & 0xff);
                    sums[c] += value;
                    squares[c] += value * value;
                }
            double result = 0;
            for (int c = 0; c < 3; ++c)
                result += grain
                    ? std::sqrt(squares[c] / im.width() - std::pow(sums[c] / im.width(), 2))
                    : sums[c] / im.width();
            return result / 3;
        };
        double error = 0;
        for (int y = 0; y < cut; ++y)
            error += std::abs(mean(extended, y) - mean(whole, y)) / cut;
        const double seam = std::abs(mean(extended, cut - 1) - mean(extended, cut));
        const double step = std::abs(mean(whole, cut - 1) - mean(whole, cut));
        const double grain = mean(extended, cut / 2, true) / mean(whole, cut + 1, true);
        qInfo("mean error %.2f, seam %.2f against %.2f between rows shot, grain %.2f", error, seam,
            step, grain);
        QVERIFY(error < 3);
        QVERIFY(seam <= step + 0.3);
        QVERIFY(grain > 0.75 && grain < 1.33);
    }

    // A mark the user puts right is the face's top from then on: the fit follows, and one
    // undo takes both back.
    void markByHand()
    {
        const Portrait portrait = ::portraits().first();
        QTemporaryDir dir;
        const QString path = dir.filePath("wall.jpg");
        QVERIFY(TestPhotos::writeFile(path,
            TestPhotos::encodeJpeg(
                made(portrait, Made::WallWithRoom, QColor(236, 236, 232)).image)));
        PhotoDocument document;
        QCOMPARE(document.load(path), LoadOutcome::Accepted);
        document.setFaceSearch(document.photo(), findFace(*m_model, *document.photo()));
        const CropRect fitted = document.cropSource().rect;
        const auto measured = document.headMarks();
        QVERIFY(measured && measured->found == FaceMarks::TopFound::Measured);
        const int steps = document.undoStack()->count();
        const FaceRule &rule = PhotoFormats[document.format()].faceRule;
        QVERIFY(std::abs(measured->skull - rule.anchorTarget) < 0.005);

        // The skull higher by a twentieth of the frame: the head is larger, so the fit widens.
        QVERIFY(document.moveHeadMark(FaceRule::Top::Skull, measured->skull - 0.05));
        QCOMPARE(document.undoStack()->count(), steps + 1);
        QCOMPARE(document.face()->topFound, FaceMarks::TopFound::ByHand);
        QVERIFY(document.cropSource().rect.height > fitted.height);
        QVERIFY(std::abs(document.headMarks()->skull - rule.anchorTarget) < 0.005);
        QVERIFY(document.undo());
        QCOMPARE(document.cropSource().rect, fitted);
        QCOMPARE(document.headMarks()->skull, measured->skull);
    }
};

QTEST_GUILESS_MAIN(TestHeadTop)
#include "tst_headtop.moc"
