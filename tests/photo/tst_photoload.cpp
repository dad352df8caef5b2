#include "hostilephotos.h"
#include "photo/jpegscans.h"
#include "photo/photoloader.h"
#include "testphotos.h"

#include <QTemporaryDir>
#include <QTest>

using HostilePhotos::Outcome;

namespace {

int channelDistance(QRgb a, QRgb b)
{
    return std::max({ std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
        std::abs(qBlue(a) - qBlue(b)) });
}

QByteArray segment(unsigned char marker, const QByteArray &payload)
{
    QByteArray bytes("\xFF", 1);
    bytes += char(marker);
    bytes += char((payload.size() + 2) >> 8);
    bytes += char((payload.size() + 2) & 0xFF);
    return bytes + payload;
}

} // namespace

class TestPhotoLoad : public QObject
{
    Q_OBJECT
private slots:
    void hostileSet_data();
    void hostileSet();
    void sizeLimits_data();
    void sizeLimits();
    void countScans_data();
    void countScans();
    void reducedCopiesStaySharpAndSmall();

private:
    QTemporaryDir m_dir;
};

void TestPhotoLoad::hostileSet_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Outcome>("expected");
    for (const HostilePhotos::File &file : HostilePhotos::corpus())
        QTest::newRow(qPrintable(file.name)) << file.bytes << file.outcome;
}

void TestPhotoLoad::hostileSet()
{
    QFETCH(QByteArray, bytes);
    QFETCH(Outcome, expected);
    const QString path = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(TestPhotos::writeFile(path, bytes));

    const PhotoLoadResult loaded = loadPhoto(path);
    if (expected == Outcome::NotAPicture || expected == Outcome::TooLarge) {
        QCOMPARE(loaded.error,
            expected == Outcome::TooLarge ? PhotoLoadError::TooLarge : PhotoLoadError::NotAPicture);
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
        if (grey)
            want = qRgb(qGray(want), qGray(want), qGray(want));
        QVERIFY2(channelDistance(upright.pixel(probe), want) <= 12,
            qPrintable(QStringLiteral("at %1,%2").arg(probe.x()).arg(probe.y())));
    }
}

void TestPhotoLoad::sizeLimits_data()
{
    QTest::addColumn<QSize>("claimed");
    QTest::addColumn<PhotoLoadError>("error");
    QTest::newRow("32767 wide is read") << QSize(32767, 300) << PhotoLoadError::None;
    QTest::newRow("32768 wide") << QSize(32768, 300) << PhotoLoadError::TooLarge;
    QTest::newRow("over 200 megapixels") << QSize(20000, 20000) << PhotoLoadError::TooLarge;
}

// Refused from the header alone: the data holds only 300 x 400 pixels.
void TestPhotoLoad::sizeLimits()
{
    QFETCH(QSize, claimed);
    QFETCH(PhotoLoadError, error);
    const QByteArray good = TestPhotos::encodeJpeg(TestPhotos::quadrants(300, 400));
    const QString path = m_dir.filePath(QStringLiteral("claims.jpg"));
    QVERIFY(TestPhotos::writeFile(
        path, TestPhotos::withClaimedSize(good, claimed.width(), claimed.height())));
    const PhotoLoadResult loaded = loadPhoto(path);
    QCOMPARE(loaded.error, error);
    if (error == PhotoLoadError::None)
        QCOMPARE(loaded.photo->size(), claimed);
}

void TestPhotoLoad::countScans_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("stopAfter");
    QTest::addColumn<int>("scans");
    const QByteArray soi("\xFF\xD8", 2);
    const QByteArray eoi("\xFF\xD9", 2);
    const QByteArray sos = segment(0xDA, QByteArray("\x01\x01\x00\x00\x3F\x00", 6));
    // Entropy data holding a stuffed FF 00, restart markers and fill bytes: none ends the scan.
    const QByteArray data("\x12\xFF\x00\x34\xFF\xD0\x56\xFF\xD7\x78\xFF\xFF\xFF\x00", 14);
    QTest::newRow("three scans") << soi + sos + data + sos + data + sos + data + eoi << 500 << 3;
    // A thumbnail inside an EXIF block has scans of its own; they belong to the block.
    QTest::newRow("thumbnail in a segment")
        << soi + segment(0xE1, soi + sos + data + eoi) + sos + data + eoi << 500 << 1;
    QTest::newRow("stray bytes between segments")
        << soi + QByteArray("junk") + sos + data + eoi << 500 << 1;
    QTest::newRow("length below two") << soi + QByteArray("\xFF\xDA\x00\x01", 4) + sos << 500 << 0;
    QByteArray many = soi;
    for (int i = 0; i < 40; ++i)
        many += sos + data;
    QTest::newRow("counting stops past the limit") << many + eoi << 5 << 6;
    const QImage small = HostilePhotos::uprightPicture().scaled(60, 80);
    const int longest = HostilePhotos::maximumScans();
    QTest::newRow("libjpeg's longest script")
        << HostilePhotos::encode(small, { HostilePhotos::ColourSpace::Rgb, true, false, longest })
        << 100000 << longest;
}

void TestPhotoLoad::countScans()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, stopAfter);
    QFETCH(int, scans);
    QCOMPARE(countJpegScans(bytes, stopAfter), scans);
}

void TestPhotoLoad::reducedCopiesStaySharpAndSmall()
{
    const QImage source = TestPhotos::photoLike(3000, 2000, 7);
    const Photo photo(source, QImageIOHandler::TransformationNone);
    // The reduced copies cost a small part of the photo's memory.
    QVERIFY(photo.reducedBytes() < source.sizeInBytes() / 10);
    // Scaled from a reduced copy, the frame's picture matches a direct smooth scale closely.
    const QRect part(700, 100, 1556, 1800);
    const QSize frame(234, 300);
    const QImage fast = photo.scaledCrop(part, frame);
    const QImage direct
        = source.copy(part).scaled(frame, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QCOMPARE(fast.size(), frame);
    qint64 difference = 0;
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x)
            difference += channelDistance(fast.pixel(x, y), direct.pixel(x, y));
    QVERIFY(difference < 6 * frame.width() * frame.height());
}

QTEST_MAIN(TestPhotoLoad)
#include "tst_photoload.moc"
