#include "photo/cropcommands.h"

#include <QTest>

Q_DECLARE_METATYPE(CropRect)

namespace {

PhotoPtr blankPhoto(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::gray);
    return std::make_shared<const Photo>(image, QImageIOHandler::TransformationNone);
}

using Command = void (*)(CropContext &);

} // namespace

class TestCrop : public QObject
{
    Q_OBJECT
private slots:
    void centreCrop_data();
    void centreCrop();
    void clipRefusals_data();
    void clipRefusals();
    void commands_data();
    void commands();
};

void TestCrop::centreCrop_data()
{
    QTest::addColumn<QSize>("photo");
    QTest::addColumn<QSizeF>("frame");
    QTest::addColumn<bool>("fits");
    QTest::addColumn<QRect>("expected");
    QTest::newRow("landscape keeps its height")
        << QSize(3000, 2000) << QSizeF(3500, 4500) << true << QRect(722, 0, 1556, 2000);
    QTest::newRow("portrait keeps its width")
        << QSize(1200, 1800) << QSizeF(3000, 4000) << true << QRect(0, 100, 1200, 1600);
    QTest::newRow("too wide portrait")
        << QSize(1000, 1200) << QSizeF(3500, 4500) << true << QRect(0, -43, 1000, 1286);
    QTest::newRow("square is not wider")
        << QSize(800, 800) << QSizeF(4000, 4000) << true << QRect(0, 0, 800, 800);
    QTest::newRow("half goes to even 499.5")
        << QSize(1001, 2000) << QSizeF(4000, 4000) << true << QRect(0, 500, 1001, 1001);
    QTest::newRow("half goes to even 500.5")
        << QSize(1001, 2002) << QSizeF(4000, 4000) << true << QRect(0, 500, 1001, 1001);
    QTest::newRow("landscape half 500.5")
        << QSize(1779, 1000) << QSizeF(3500, 4500) << true << QRect(500, 0, 778, 1000);
    QTest::newRow("2x2 in") << QSize(2000, 3000) << QSizeF(5080, 5080) << true
                            << QRect(0, 500, 2000, 2000);
    QTest::newRow("beyond 16 bits")
        << QSize(32767, 32767) << QSizeF(3000, 4000) << false << QRect();
}

void TestCrop::centreCrop()
{
    QFETCH(QSize, photo);
    QFETCH(QSizeF, frame);
    QFETCH(bool, fits);
    QFETCH(QRect, expected);
    const std::optional<CropRect> rect
        = CentreCrop(photo.width(), photo.height(), frame.width(), frame.height());
    QCOMPARE(rect.has_value(), fits);
    if (rect)
        QCOMPARE(rect->toRect(), expected);
}

void TestCrop::clipRefusals_data()
{
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("inside") << QRect(10, 20, 100, 100) << true;
    QTest::newRow("negative left") << QRect(-1, 0, 100, 100) << false;
    QTest::newRow("one past right") << QRect(201, 0, 100, 100) << false;
    QTest::newRow("touching right") << QRect(200, 0, 100, 100) << true;
    QTest::newRow("empty") << QRect(0, 0, 0, 100) << false;
    QTest::newRow("negative size") << QRect(50, 50, -10, 10) << false;
}

void TestCrop::clipRefusals()
{
    QFETCH(QRect, rect);
    QFETCH(bool, accepted);
    PictureClip clip;
    clip.setPicture(blankPhoto(300, 200));
    // Setting values never fails; the refusal comes when the clip image is taken.
    clip.ClipRect = { int16_t(rect.left()), int16_t(rect.top()), int16_t(rect.width()),
        int16_t(rect.height()) };
    QCOMPARE(clip.ClipRect.toRect(), rect);
    const std::optional<ClipImage> image = clip.clipImage();
    QCOMPARE(image.has_value(), accepted);
    if (image)
        QCOMPARE(image->size(), rect.size());
}

void TestCrop::commands_data()
{
    QTest::addColumn<QSize>("photo");
    QTest::addColumn<QSizeF>("frame");
    QTest::addColumn<QRect>("start");
    QTest::addColumn<QPoint>("pan"); // PanStepsX, PanStepsY before
    QTest::addColumn<quintptr>("command");
    QTest::addColumn<QRect>("expected");
    QTest::addColumn<QPoint>("expectedPan");
    QTest::addColumn<bool>("shown");
    const auto cmd = [](Command c) { return quintptr(c); };
    const QSizeF f3545(3500, 4500);

    QTest::newRow("399 wide: step 1")
        << QSize(399, 300) << f3545 << QRect(10, 10, 100, 100) << QPoint() << cmd(PhotoLeft)
        << QRect(11, 10, 100, 100) << QPoint(1, 0) << true;
    QTest::newRow("400 wide: step 2")
        << QSize(400, 300) << f3545 << QRect(10, 10, 100, 100) << QPoint() << cmd(PhotoLeft)
        << QRect(12, 10, 100, 100) << QPoint(1, 0) << true;
    QTest::newRow("down: top equal to step stays")
        << QSize(300, 400) << f3545 << QRect(0, 2, 100, 100) << QPoint() << cmd(PhotoDown)
        << QRect(0, 2, 100, 100) << QPoint() << false;
    QTest::newRow("down: one more than step")
        << QSize(300, 400) << f3545 << QRect(0, 3, 100, 100) << QPoint() << cmd(PhotoDown)
        << QRect(0, 1, 100, 100) << QPoint(0, -1) << true;
    QTest::newRow("right: guard") << QSize(400, 300) << f3545 << QRect(2, 0, 100, 100)
                                  << QPoint(3, 0) << cmd(PhotoRight) << QRect(2, 0, 100, 100)
                                  << QPoint(3, 0) << false;
    QTest::newRow("right: moves") << QSize(400, 300) << f3545 << QRect(7, 0, 100, 100)
                                  << QPoint(3, 0) << cmd(PhotoRight) << QRect(5, 0, 100, 100)
                                  << QPoint(2, 0) << true;
    QTest::newRow("up at bottom edge still counts")
        << QSize(300, 400) << f3545 << QRect(0, 300, 100, 100) << QPoint() << cmd(PhotoUp)
        << QRect(0, 300, 100, 100) << QPoint(0, 1) << false;
    QTest::newRow("left at right edge still counts")
        << QSize(400, 300) << f3545 << QRect(300, 0, 100, 100) << QPoint(-4, 0) << cmd(PhotoLeft)
        << QRect(300, 0, 100, 100) << QPoint(-3, 0) << false;
    QTest::newRow("zoom keeps the counted step")
        << QSize(300, 400) << f3545 << QRect(0, 300, 100, 100) << QPoint(0, 1) << cmd(ZoomIn)
        << QRect(118, 174, 65, 55) << QPoint(0, 1) << true;
    QTest::newRow("2x2 in zoom in")
        << QSize(2000, 2000) << QSizeF(5080, 5080) << QRect(500, 500, 1000, 1000) << QPoint()
        << cmd(ZoomIn) << QRect(526, 526, 949, 949) << QPoint() << true;
    QTest::newRow("2x2 in zoom out")
        << QSize(2000, 2000) << QSizeF(5080, 5080) << QRect(500, 500, 1000, 1000) << QPoint()
        << cmd(ZoomOut) << QRect(474, 474, 1051, 1051) << QPoint() << true;
    QTest::newRow("zoom half to even")
        << QSize(1001, 1200) << f3545 << QRect(0, 0, 735, 900) << QPoint() << cmd(ZoomIn)
        << QRect(150, 172, 700, 855) << QPoint() << true;
    QTest::newRow("zoom out past the photo")
        << QSize(1000, 1000) << QSizeF(4000, 4000) << QRect(0, 0, 1000, 1000) << QPoint()
        << cmd(ZoomOut) << QRect(-20, -20, 1000, 1000) << QPoint() << false;
    QTest::newRow("zoom with pan offset")
        << QSize(1000, 1000) << QSizeF(4000, 4000) << QRect(300, 300, 400, 400) << QPoint(-10, 5)
        << cmd(ZoomIn) << QRect(270, 345, 360, 360) << QPoint(-10, 5) << true;
    QTest::newRow("counter overflow keeps last value")
        << QSize(300, 400) << f3545 << QRect(0, 10, 100, 100) << QPoint(0, 32767) << cmd(PhotoUp)
        << QRect(0, 12, 100, 100) << QPoint(0, 32767) << true;
}

void TestCrop::commands()
{
    QFETCH(QSize, photo);
    QFETCH(QSizeF, frame);
    QFETCH(QRect, start);
    QFETCH(QPoint, pan);
    QFETCH(quintptr, command);
    QFETCH(QRect, expected);
    QFETCH(QPoint, expectedPan);
    QFETCH(bool, shown);

    PictureClip clip;
    clip.setPicture(blankPhoto(photo.width(), photo.height()));
    clip.ClipRect = { int16_t(start.left()), int16_t(start.top()), int16_t(start.width()),
        int16_t(start.height()) };
    int16_t panX = int16_t(pan.x());
    int16_t panY = int16_t(pan.y());
    QList<QRect> shownRects;
    CropContext context { clip, frame.width(), frame.height(), panX, panY,
        [&](const ClipImage &image) { shownRects.append(image.rect()); } };
    reinterpret_cast<Command>(command)(context);

    QCOMPARE(clip.ClipRect.toRect(), expected);
    QCOMPARE(QPoint(panX, panY), expectedPan);
    QCOMPARE(!shownRects.isEmpty(), shown);
    if (shown)
        QCOMPARE(shownRects.last(), expected);
}

QTEST_MAIN(TestCrop)
#include "tst_crop.moc"
