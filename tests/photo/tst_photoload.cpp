#include "photo/photoloader.h"
#include "testphotos.h"

#include <QImageReader>
#include <QTemporaryDir>
#include <QTest>

class TestPhotoLoad : public QObject
{
    Q_OBJECT
private slots:
    void orientation_data();
    void orientation();
    void badFiles_data();
    void badFiles();
    void reducedCopiesStaySharpAndSmall();
    void greyscalePhoto();

private:
    QTemporaryDir m_dir;
};

void TestPhotoLoad::orientation_data()
{
    QTest::addColumn<int>("exif");
    for (int exif = 1; exif <= 8; ++exif)
        QTest::addRow("orientation %d", exif) << exif;
}

// The photo is kept as stored; what it hands out must match Qt's own upright transform.
void TestPhotoLoad::orientation()
{
    QFETCH(int, exif);
    const QString path = m_dir.filePath(QStringLiteral("o%1.jpg").arg(exif));
    QVERIFY(TestPhotos::writeFile(
        path, TestPhotos::withOrientation(TestPhotos::encodeJpeg(TestPhotos::quadrants(320, 200), 95), exif)));

    QImageReader reference(path);
    reference.setAutoTransform(true);
    const QImage upright = reference.read().convertToFormat(QImage::Format_RGB32);
    QVERIFY(!upright.isNull());

    const PhotoLoadResult loaded = loadPhoto(path);
    QVERIFY(loaded.photo);
    QCOMPARE(loaded.photo->size(), upright.size());
    QCOMPARE(loaded.photo->size(), exif >= 5 ? QSize(200, 320) : QSize(320, 200));

    const QRect part(20, 30, 90, 110);
    const QImage crop = loaded.photo->crop(part);
    QCOMPARE(crop, upright.copy(part));
    // The small picture for the frame shows the same part the same way up.
    const QImage small = loaded.photo->scaledCrop(part, QSize(30, 36));
    const QImage expected = upright.copy(part).scaled(30, 36, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    for (const QPoint corner : {QPoint(3, 3), QPoint(26, 3), QPoint(3, 32), QPoint(26, 32)}) {
        const QColor a = small.pixelColor(corner);
        const QColor b = expected.pixelColor(corner);
        QVERIFY2(std::abs(a.red() - b.red()) < 40 && std::abs(a.green() - b.green()) < 40
                     && std::abs(a.blue() - b.blue()) < 40,
                 qPrintable(QStringLiteral("corner %1,%2").arg(corner.x()).arg(corner.y())));
    }
}

void TestPhotoLoad::badFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("error");
    const QByteArray good = TestPhotos::encodeJpeg(TestPhotos::photoLike(400, 300));
    const int notPicture = int(PhotoLoadError::NotAPicture);
    const int tooLarge = int(PhotoLoadError::TooLarge);
    QTest::newRow("empty") << QByteArray() << notPicture;
    QTest::newRow("text renamed") << QByteArray("this is not a photo\n") << notPicture;
    QTest::newRow("header only") << good.left(200) << notPicture;
    QTest::newRow("40000 wide") << TestPhotos::withClaimedSize(good, 40000, 300) << tooLarge;
    QTest::newRow("60000 x 60000") << TestPhotos::withClaimedSize(good, 60000, 60000) << tooLarge;
    QTest::newRow("over 200 megapixels") << TestPhotos::withClaimedSize(good, 20000, 20000) << tooLarge;
}

void TestPhotoLoad::badFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, error);
    const QString path = m_dir.filePath(QStringLiteral("bad.jpg"));
    QVERIFY(TestPhotos::writeFile(path, bytes));
    const PhotoLoadResult loaded = loadPhoto(path);
    QCOMPARE(int(loaded.error), error);
    QVERIFY(!loaded.photo);
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
    const QImage direct = source.copy(part).scaled(frame, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QCOMPARE(fast.size(), frame);
    qint64 difference = 0;
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x) {
            const QRgb a = fast.pixel(x, y);
            const QRgb b = direct.pixel(x, y);
            difference += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b))
                          + std::abs(qBlue(a) - qBlue(b));
        }
    const double meanPerChannel = double(difference) / (frame.width() * frame.height() * 3);
    QVERIFY2(meanPerChannel < 6, qPrintable(QString::number(meanPerChannel)));
}

void TestPhotoLoad::greyscalePhoto()
{
    const QString path = m_dir.filePath(QStringLiteral("grey.jpg"));
    QVERIFY(TestPhotos::writeFile(
        path, TestPhotos::encodeJpeg(TestPhotos::photoLike(300, 400).convertToFormat(QImage::Format_Grayscale8))));
    const PhotoLoadResult loaded = loadPhoto(path);
    QVERIFY(loaded.photo);
    QCOMPARE(loaded.photo->size(), QSize(300, 400));
    QVERIFY(!loaded.photo->scaledCrop(QRect(0, 0, 300, 400), QSize(100, 130)).isNull());
}

QTEST_MAIN(TestPhotoLoad)
#include "tst_photoload.moc"
