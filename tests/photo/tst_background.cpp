// The wall behind a portrait replaced by a colour, on made photos whose true matte is known:
// a real face on a plain wall with drawn hair and clothes, through JPEG.
#include "photo/backgroundreplacement.h"
#include "photo/facefinder.h"
#include "photo/photodocument.h"
#include "portraits.h"
#include "testphotos.h"

#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(Portrait)
Q_DECLARE_METATYPE(BackgroundReplacement::Refusal)

namespace {

enum class Hair { Dark, Blond, Curly };
enum class Scene { AsShot, HairColourWall, Checked, Window, TwoFaces, Filling };

struct Made
{
    QImage photo, person; // the JPEG as loaded; the person's layer, its alpha the true matte
    QColor wall;
};

// The portrait's face (an oval from its labels) on a wall a third taller, with a suit below and
// hundreds of strands around the top, through JPEG at 90.
Made made(const Portrait &p, QColor wall, Hair hair, bool checked = false)
{
    // The head about 400 pixels tall, as at 300 dpi for 35 x 45 mm.
    const double k = 400 / (p.chin - p.hairTop), e = p.secondEye.x() - p.firstEye.x();
    const int rows = p.size.height() / 3;
    const QSize size = QSize(p.size.width(), p.size.height() + rows) * k;
    QImage person(size, QImage::Format_ARGB32_Premultiplied);
    person.fill(Qt::transparent);
    QPainter painter(&person);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    painter.scale(k, k);
    const QPointF eyes = (p.firstEye + p.secondEye) / 2 + QPointF(0, rows);
    const double chin = p.chin + rows, head = p.chin - p.hairTop;
    // The oval close round the face, so none of the portrait's own background comes along.
    const QRectF oval(eyes.x() - 1.25 * e, rows + p.hairTop + 0.03 * head, 2.5 * e, 0.97 * head);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(38, 40, 48));
    const double bottom = size.height() / k + 1;
    painter.drawPolygon(QPolygonF(
        { { eyes.x() - 0.8 * e, chin - 0.1 * head }, { eyes.x() + 0.8 * e, chin - 0.1 * head },
            { eyes.x() + 1.8 * e, chin + 0.2 * head }, { eyes.x() + 4.5 * e, bottom },
            { eyes.x() - 4.5 * e, bottom }, { eyes.x() - 1.8 * e, chin + 0.2 * head } }));
    QPainterPath clip;
    clip.addEllipse(oval);
    painter.setClipPath(clip);
    painter.drawImage(QPointF(0, rows), p.image());
    const QColor colour = hair == Hair::Blond ? QColor(196, 164, 112) : QColor(44, 34, 28);
    // Hair at the temples, where the oval still shows the portrait's own background.
    QPainterPath face, temples;
    face.addEllipse(QRectF(eyes.x() - 1.05 * e, rows + p.hairTop + 0.2 * head, 2.1 * e, head));
    temples.addRect(QRectF(0, 0, size.width() / k, eyes.y() + 0.1 * head));
    painter.setBrush(colour);
    painter.drawPath(temples.subtracted(face));
    painter.setClipping(false);
    QRandomGenerator random(11);
    for (int i = 0; i < 500; ++i) {
        const double a = M_PI * (1.1 + 0.8 * random.generateDouble());
        const QPointF from = oval.center()
            + QPointF(std::cos(a) * oval.width() / 2, std::sin(a) * oval.height() / 2) * 0.97;
        const QPointF out(std::cos(a + 0.3 * (random.generateDouble() - 0.5)), std::sin(a));
        const double length = head * (0.04 + 0.08 * random.generateDouble());
        // Half a pixel to a pixel and a bit wide in the photo.
        painter.setPen(
            QPen(colour, (0.5 + 0.8 * random.generateDouble()) / k, Qt::SolidLine, Qt::RoundCap));
        QPainterPath strand(from);
        const QPointF bend = QPointF(-out.y(), out.x()) * (hair == Hair::Curly ? length : 0.1);
        strand.quadTo(from + out * length / 2 + bend, from + out * length);
        painter.drawPath(strand);
    }
    painter.end();
    QImage photo(size, QImage::Format_RGB32);
    QRandomGenerator noise(7);
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(photo.scanLine(y));
        const double light = 1 - 0.06 * y / size.height();
        for (int x = 0; x < size.width(); ++x) {
            const QColor c = checked && (x / 40 + y / 40) % 2 ? wall.darker(140) : wall;
            const int n = int(noise.bounded(9)) - 4;
            line[x] = qRgb(std::clamp(int(c.red() * light) + n, 0, 255),
                std::clamp(int(c.green() * light) + n, 0, 255),
                std::clamp(int(c.blue() * light) + n, 0, 255));
        }
    }
    QPainter(&photo).drawImage(0, 0, person);
    return { QImage::fromData(TestPhotos::encodeJpeg(photo)).convertToFormat(QImage::Format_RGB32),
        person, wall };
}

// Measured on a reduced copy, as the document does.
std::optional<BackgroundReplacement> measure(
    const QImage &photo, const FaceMarks &face, BackgroundReplacement::Why *why)
{
    const QImage picture = photo.scaled(PhotoDocument::WallPictureSide,
        PhotoDocument::WallPictureSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    const double s = double(picture.width()) / photo.width();
    return BackgroundReplacement::measure(picture, face.mapped(QTransform::fromScale(s, s)), why);
}

int apart(QRgb a, QRgb b)
{
    return std::max({ std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
        std::abs(qBlue(a) - qBlue(b)) });
}

} // namespace

class TestBackground : public QObject
{
    Q_OBJECT
    std::shared_ptr<FaceModel> m_model;
    FaceMarks find(const QImage &image)
    {
        const FaceSearch search = findFace(*m_model, image);
        return search.face ? *search.face : FaceMarks {};
    }

private slots:
    void initTestCase()
    {
        m_model = loadFaceModel(QString::fromLatin1(LandmarkModelPath));
        QVERIFY(m_model);
    }

    void replaced_data()
    {
        QTest::addColumn<Portrait>("portrait");
        QTest::addColumn<QColor>("wall");
        QTest::addColumn<Hair>("hair");
        QTest::addColumn<QColor>("colour");
        const Portrait obama = portraits()[0], astronaut = portraits()[3];
        const QColor beige(222, 206, 178), grey(128, 130, 132), dim(100, 95, 88);
        QTest::newRow("astronaut beige dark")
            << astronaut << beige << Hair::Dark << QColor(Qt::white);
        QTest::newRow("astronaut grey blond")
            << astronaut << grey << Hair::Blond << QColor(240, 240, 238);
        QTest::newRow("astronaut dim curly")
            << astronaut << dim << Hair::Curly << QColor(Qt::white);
        QTest::newRow("obama grey blond") << obama << grey << Hair::Blond << QColor(Qt::white);
        QTest::newRow("obama beige curly")
            << obama << beige << Hair::Curly << QColor(215, 215, 215);
    }
    // The wall turns to the colour, the person stays, no band of the old wall around them.
    void replaced()
    {
        QFETCH(Portrait, portrait);
        QFETCH(QColor, wall);
        QFETCH(Hair, hair);
        QFETCH(QColor, colour);
        const Made m = made(portrait, wall, hair);
        BackgroundReplacement::Why why;
        const auto matte = measure(m.photo, find(m.photo), &why);
        QVERIFY2(
            matte, QByteArray::number(int(why.refusal)) + " " + QByteArray::number(why.figure));
        QImage out = m.photo;
        matte->paint(out, QRectF(out.rect()), out.size(), colour);
        const int w = out.width(), h = out.height();
        // Sure wall and sure person: more than 3 pixels from any pixel of the other kind.
        const auto sure = [&](int x, int y, int alpha) {
            for (int dy = -3; dy <= 3; ++dy)
                for (int dx = -3; dx <= 3; ++dx)
                    if (qAlpha(m.person.pixel(
                            std::clamp(x + dx, 0, w - 1), std::clamp(y + dy, 0, h - 1)))
                        != alpha)
                        return false;
            return true;
        };
        qsizetype walls = 0, left = 0, persons = 0, changed = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const int a = qAlpha(m.person.pixel(x, y));
                if ((a == 0 || a == 255) && sure(x, y, a)) {
                    (a ? persons : walls) += 1;
                    (a ? changed : left)
                        += apart(out.pixel(x, y), a ? m.photo.pixel(x, y) : colour.rgb()) > 8;
                }
            }
        // The old wall's colour (nearer it than the new) on mostly-wall pixels, grown out from
        // the pixels a quarter person or more (fine strands are hardly ever more) a ring at a
        // time: the halo is as wide as the rings that still find some.
        const auto old = [&](int x, int y) {
            const double f = 1 - 0.06 * y / h;
            const QRgb o = out.pixel(x, y);
            return qAlpha(m.person.pixel(x, y)) < 128
                && apart(o, qRgb(wall.red() * f, wall.green() * f, wall.blue() * f))
                < apart(o, colour.rgb());
        };
        QImage reached = m.person.convertToFormat(QImage::Format_Alpha8);
        int widest = 0;
        for (bool grew = true; grew && widest < 10; widest += grew) {
            const QImage before = reached;
            grew = false;
            // Rings of 4 and 8 neighbours in turn, an octagon's near enough to a circle.
            const auto near = [&](int x, int y) {
                int most = 0;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        if (widest % 2 || !(dx && dy))
                            most = std::max<int>(most, before.constScanLine(y + dy)[x + dx]);
                return most >= 64;
            };
            for (int y = 1; y < h - 1; ++y)
                for (int x = 1; x < w - 1; ++x)
                    if (before.constScanLine(y)[x] < 64 && old(x, y) && near(x, y))
                        reached.scanLine(y)[x] = 255, grew = true;
        }
        const double leftShare = double(left) / walls, changedShare = double(changed) / persons;
        qInfo("wall left %.3f %%, person changed %.3f %%, halo %d px (head %.0f px)",
            100 * leftShare, 100 * changedShare, widest, 400.0);
        QVERIFY(leftShare < 0.01);
        QVERIFY(changedShare < 0.005);
        QVERIFY(widest <= 2);
    }

    void refused_data()
    {
        QTest::addColumn<Scene>("scene");
        QTest::addColumn<BackgroundReplacement::Refusal>("refusal");
        using R = BackgroundReplacement::Refusal;
        QTest::newRow("as shot") << Scene::AsShot << R::NotPlain;
        QTest::newRow("wall of the hair's colour") << Scene::HairColourWall << R::LikePerson;
        QTest::newRow("checked wall") << Scene::Checked << R::NotPlain;
        QTest::newRow("window behind the head") << Scene::Window << R::NotPlain;
        // The other person is no wall: painting round them would cut them out.
        QTest::newRow("two faces") << Scene::TwoFaces << R::NotPlain;
        QTest::newRow("person filling the photo") << Scene::Filling << R::TooLittleWall;
    }
    void refused()
    {
        QFETCH(Scene, scene);
        QFETCH(BackgroundReplacement::Refusal, refusal);
        const Portrait astronaut = portraits()[3];
        const QColor grey(128, 130, 132);
        // One face search: the scenes keep the made photo's face where it was.
        static const Made base = made(astronaut, grey, Hair::Dark);
        static const FaceMarks face = find(base.photo);
        QImage photo = base.photo;
        FaceMarks marks = face;
        const double jaw = face.points[Landmark::JawLast].x() - face.points[Landmark::JawFirst].x();
        switch (scene) {
        case Scene::AsShot:
            photo = astronaut.image();
            marks = find(photo);
            break;
        case Scene::HairColourWall:
            photo = made(astronaut, QColor(44, 34, 28), Hair::Dark).photo;
            break;
        case Scene::Checked:
            photo = made(astronaut, grey, Hair::Dark, true).photo;
            break;
        case Scene::Window:
            QPainter(&photo).fillRect(
                QRectF(face.centreX - 2.5 * jaw, face.hair() - 0.5 * jaw, 2.5 * jaw, 2 * jaw),
                QColor(252, 252, 248));
            QPainter(&photo).drawImage(0, 0, base.person);
            break;
        case Scene::TwoFaces:
            photo = QImage(base.photo.width() * 2, base.photo.height(), QImage::Format_RGB32);
            QPainter(&photo).drawImage(0, 0, base.photo);
            QPainter(&photo).drawImage(base.photo.width(), 0, base.photo);
            break;
        case Scene::Filling: {
            const QRect tight = QRectF(
                face.centreX - 1.1 * jaw, face.hair() - 0.1 * jaw, 2.2 * jaw, base.photo.height())
                                    .toAlignedRect();
            photo = base.photo.copy(tight);
            marks = face.mapped(QTransform::fromTranslate(-tight.x(), -tight.y()));
            break;
        }
        }
        QVERIFY(marks.points.size() == Landmark::Count);
        BackgroundReplacement::Why why;
        QVERIFY(measure(base.photo, face, nullptr)); // the base itself is replaced
        const auto matte = measure(photo, marks, &why);
        qInfo("refused %d: %.3f (limit %.3f)", int(why.refusal), why.figure, why.limit);
        QVERIFY(!matte);
        QCOMPARE(why.refusal, refusal);
    }

    // The frame's small picture and the print's full resolution: the same up to resampling.
    // In the document: the beige wall made white is one step of the fit's history, the checks
    // of the background then pass, the face and clothes keep their pixels, the print agrees with
    // the frame, and undo brings the wall back. A busy wall is declined with nothing changed.
    void inTheDocument()
    {
        const Made m = made(portraits()[0], QColor(222, 206, 178), Hair::Dark);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("made.jpg"));
        QVERIFY(TestPhotos::writeFile(path, TestPhotos::encodeJpeg(m.photo)));
        PhotoDocument document;
        QCOMPARE(document.load(path), LoadOutcome::Accepted);
        document.setFaceSearch(document.photo(), findFace(*m_model, *document.photo()));
        const auto checked = [&document] {
            QList<PhotoCheck> found;
            for (const CheckFailure &f : document.fitToCheck().check())
                found.append(f.check);
            return found;
        };
        QVERIFY(checked().contains(PhotoCheck::BackgroundColoured));
        const QImage before = document.photoCrop().convertToFormat(QImage::Format_RGB32);
        const int steps = document.undoStack()->count();
        QVERIFY(!document.setWall(WallChoice::White));
        QCOMPARE(document.undoStack()->count(), steps + 1);
        for (const PhotoCheck check : { PhotoCheck::BackgroundColoured,
                 PhotoCheck::BackgroundNotPlain, PhotoCheck::BackgroundTooDark })
            QVERIFY(!checked().contains(check));
        const QImage after = document.photoCrop().convertToFormat(QImage::Format_RGB32);
        const QRect crop = document.cropSource().rect.toRect();
        const FaceMarks marks = *document.face();
        QPolygonF face(marks.points.mid(0, 17)); // the jaw, then the brows back
        for (int i = 26; i >= 17; --i)
            face << marks.points[i];
        const double chin = marks.chin;
        qsizetype person = 0, changed = 0;
        for (int y = 0; y < after.height(); ++y)
            for (int x = 0; x < after.width(); ++x) {
                const QPoint at = QPoint(x, y) + crop.topLeft();
                if (!QRect(QPoint(), m.person.size()).contains(at))
                    continue;
                // The face within its landmarks, and the clothes more than 3 pixels inside
                // their outline (the oval's rim carries bits of the portrait's own wall).
                const auto inside = [&m](QPoint p) {
                    return QRect(QPoint(), m.person.size()).contains(p)
                        && qAlpha(m.person.pixel(p)) == 255;
                };
                if (face.containsPoint(at, Qt::OddEvenFill)
                    || (at.y() > chin && inside(at + QPoint(3, 3)) && inside(at - QPoint(3, 3))
                        && inside(at + QPoint(3, -3)) && inside(at + QPoint(-3, 3)))) {
                    ++person;
                    changed += apart(before.pixel(x, y), after.pixel(x, y)) > 8;
                }
            }
        QVERIFY2(changed < 0.005 * person,
            qPrintable(QStringLiteral("%1 of %2").arg(changed).arg(person)));
        QCOMPARE(after.pixel(2, 2), qRgb(255, 255, 255));
        const QImage frame = document.shown().scaledTo(QSize(70, 90));
        const QImage print
            = after.scaled(frame.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        double sum = 0;
        for (int y = 0; y < frame.height(); ++y)
            for (int x = 0; x < frame.width(); ++x)
                sum += apart(frame.pixel(x, y), print.pixel(x, y));
        QVERIFY(sum / (frame.width() * frame.height()) < 4);
        QVERIFY(document.undo());
        QCOMPARE(document.wall(), WallChoice::AsShot);
        QVERIFY(checked().contains(PhotoCheck::BackgroundColoured));

        QCOMPARE(document.load(portraits()[0].path), LoadOutcome::Accepted);
        document.setFaceSearch(document.photo(), findFace(*m_model, *document.photo()));
        const int fitted = document.undoStack()->count();
        const auto why = document.setWall(WallChoice::LightGrey);
        QVERIFY(why && why->refusal == BackgroundReplacement::Refusal::NotPlain);
        QCOMPARE(document.undoStack()->count(), fitted);
        QCOMPARE(document.wall(), WallChoice::AsShot);
    }

    // The office's words give the colour a check passes first.
    void officeColour_data()
    {
        QTest::addColumn<QString>("words");
        QTest::addColumn<bool>("whiteForbidden");
        QTest::addColumn<QRgb>("colour");
        QTest::newRow("white or off-white") << "white-or-off-white" << false << WhiteWall;
        QTest::newRow("off-white") << "off-white" << false << qRgb(245, 243, 236);
        QTest::newRow("no white") << "light blue or light grey (white forbidden)" << true
                                  << LightGreyWall;
        QTest::newRow("none named") << "any plain (no colour set)" << false << QRgb(0);
    }

    void officeColour()
    {
        QFETCH(QString, words);
        QFETCH(bool, whiteForbidden);
        QFETCH(QRgb, colour);
        IdDocument document;
        document.background = words;
        document.whiteForbidden = whiteForbidden;
        QCOMPARE(document.backgroundColour().value_or(0), colour);
    }

    void twoScales()
    {
        const Made m = made(portraits()[0], QColor(222, 206, 178), Hair::Curly);
        const FaceMarks face = find(m.photo);
        const auto matte = measure(m.photo, face, nullptr);
        QVERIFY(matte);
        // 35 x 45 around the face, reaching past the photo's left edge.
        const double height = 2.2 * face.head();
        const QRectF source(face.centreX - 0.39 * height - 0.2 * m.photo.width(),
            face.crown() - 0.12 * height, 0.78 * height, height);
        const auto render = [&](QSize size) {
            QImage target(size, QImage::Format_RGB32);
            target.fill(Qt::black);
            QPainter painter(&target);
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(QRectF(target.rect()), m.photo, source);
            painter.end();
            matte->paint(target, source, m.photo.size(), Qt::white);
            return target;
        };
        const QImage full = render(source.size().toSize());
        const QImage small = render(full.size() / 4);
        const QImage reduced
            = full.scaled(small.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        qsizetype apartMore = 0;
        double sum = 0;
        for (int y = 0; y < small.height(); ++y)
            for (int x = 0; x < small.width(); ++x) {
                const int d = apart(small.pixel(x, y), reduced.pixel(x, y));
                sum += d;
                apartMore += d > 24;
            }
        const double pixels = double(small.width()) * small.height();
        qInfo(
            "mean difference %.2f, over 24 levels %.3f %%", sum / pixels, 100 * apartMore / pixels);
        QVERIFY(sum / pixels < 2);
        // Strand edges resample apart by more now and then; a scale-bound matte moves the mean.
        QVERIFY(apartMore / pixels < 0.015);
    }
};

QTEST_GUILESS_MAIN(TestBackground)
#include "tst_background.moc"
