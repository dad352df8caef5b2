#include "widgets/controls.h"
#include "app/form1.h"
#include "fakeplatform.h"
#include "hostileoutcomes.h"
#include "programfolder.h"
#include "testphotos.h"

#include <QTest>

namespace {

const QImage &framePicture(Form1 &form)
{
    return static_cast<PhotoFrame *>(form.findChild<QWidget *>(QStringLiteral("Image1")))
        ->picture();
}

bool near(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) <= 12 && std::abs(qGreen(a) - qGreen(b)) <= 12
        && std::abs(qBlue(a) - qBlue(b)) <= 12;
}

} // namespace

// Every hostile file, opened over a photo already in the workspace, either replaces it whole
// or leaves it whole with one message.
class TestForm1Hostile : public QObject
{
    Q_OBJECT
private slots:
    void openOverAPhoto_data();
    void openOverAPhoto();

private:
    ProgramFolder m_program;
};

void TestForm1Hostile::openOverAPhoto_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("expected");
    for (const HostilePhotos::File &file : HostilePhotos::corpus()) {
        QVERIFY2(expectedOutcomes().contains(file.name), qPrintable(file.name));
        QTest::newRow(qPrintable(file.name))
            << file.bytes << int(expectedOutcomes().value(file.name));
    }
}

void TestForm1Hostile::openOverAPhoto()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, expected);
    const QString first = m_program.path() + QStringLiteral("/first.jpg");
    QVERIFY(
        TestPhotos::writeFile(first, TestPhotos::encodeJpeg(TestPhotos::photoLike(900, 1200), 95)));
    const QString path = m_program.path() + u'/' + QString::fromLatin1(QTest::currentDataTag());
    QVERIFY(TestPhotos::writeFile(path, bytes));

    FakePlatform platform(m_program.path());
    Form1 form(platform);
    form.SelectFormat(1); // 35 x 45 mm
    form.LoadPhoto(first);
    QVERIFY(form.isPhotoLoaded());
    const PhotoPtr before = form.cropSource().picture();
    const CropRect rectBefore = form.cropSource().ClipRect;
    const QImage pictureBefore = framePicture(form);

    form.LoadPhoto(path);

    if (expected == NotAPicture || expected == TooLarge) {
        QCOMPARE(platform.messages.size(), 1);
        QCOMPARE(platform.messages.first().text, form.text(expected == TooLarge ? 51 : 50));
        QCOMPARE(platform.messages.first().title, form.text(14));
        QCOMPARE(form.cropSource().picture(), before);
        QCOMPARE(form.cropSource().ClipRect.toRect(), rectBefore.toRect());
        QCOMPARE(framePicture(form), pictureBefore);
        QVERIFY(form.isPhotoLoaded());
        return;
    }
    QCOMPARE(platform.messages.size(), 0);
    QVERIFY(form.isPhotoLoaded());
    const PhotoPtr after = form.cropSource().picture();
    QVERIFY(after && after != before);
    // The crop is the new photo's own: centred, full width of a portrait photo.
    const QRect rect = form.cropSource().ClipRect.toRect();
    QCOMPARE(rect.width(), after->width());
    QVERIFY(rect.top() >= 0 && rect.bottom() < after->height());
    QVERIFY(std::abs(rect.top() - (after->height() - 1 - rect.bottom())) <= 1);
    if (expected != Upright)
        return;
    // The frame shows it upright: red at the top left, yellow at the bottom right.
    const QImage &picture = framePicture(form);
    QRgb red = qRgb(255, 0, 0);
    QRgb yellow = qRgb(255, 255, 0);
    if (QByteArray(QTest::currentDataTag()).startsWith("greyscale")) {
        red = qRgb(qGray(red), qGray(red), qGray(red));
        yellow = qRgb(qGray(yellow), qGray(yellow), qGray(yellow));
    }
    QVERIFY(near(picture.pixel(10, 10), red));
    QVERIFY(near(picture.pixel(picture.width() - 10, picture.height() - 10), yellow));
}

QTEST_MAIN(TestForm1Hostile)
#include "tst_form1hostile.moc"
