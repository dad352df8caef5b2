#include "hostileoutcomes.h"
#include "hostilephotos.h"
#include "photo/jpegscans.h"
#include "photo/photoloader.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

bool near(QRgb a, QRgb b, int tolerance)
{
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance
        && std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

QByteArray segment(unsigned char marker, const QByteArray &payload)
{
    QByteArray bytes;
    bytes += char(0xFF);
    bytes += char(marker);
    bytes += char((payload.size() + 2) >> 8);
    bytes += char((payload.size() + 2) & 0xFF);
    return bytes + payload;
}

} // namespace

class TestHostilePhotos : public QObject
{
    Q_OBJECT
private slots:
    void everyFileHasAnOutcome();
    void outcome_data();
    void outcome();
    void countScans_data();
    void countScans();
    void longScriptIsThousandsOfScans();

private:
    QTemporaryDir m_dir;
};

void TestHostilePhotos::everyFileHasAnOutcome()
{
    QStringList names;
    for (const HostilePhotos::File &file : HostilePhotos::corpus()) {
        QVERIFY2(!names.contains(file.name), qPrintable(file.name));
        QVERIFY2(expectedOutcomes().contains(file.name), qPrintable(file.name));
        names.append(file.name);
    }
    QCOMPARE(names.size(), expectedOutcomes().size());
}

void TestHostilePhotos::outcome_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("expected");
    for (const HostilePhotos::File &file : HostilePhotos::corpus())
        QTest::newRow(qPrintable(file.name))
            << file.bytes << int(expectedOutcomes().value(file.name));
}

void TestHostilePhotos::outcome()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, expected);
    const QString path = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
    file.close();

    const PhotoLoadResult loaded = loadPhoto(path);
    switch (Outcome(expected)) {
    case NotAPicture:
        QCOMPARE(int(loaded.error), int(PhotoLoadError::NotAPicture));
        QVERIFY(!loaded.photo);
        return;
    case TooLarge:
        QCOMPARE(int(loaded.error), int(PhotoLoadError::TooLarge));
        QVERIFY(!loaded.photo);
        return;
    case Upright:
    case UprightTopOnly:
        break;
    }
    QCOMPARE(int(loaded.error), int(PhotoLoadError::None));
    QVERIFY(loaded.photo);
    const QSize size = loaded.photo->size();
    QVERIFY2(size == QSize(600, 800) || size == QSize(300, 400),
        qPrintable(QStringLiteral("%1 x %2").arg(size.width()).arg(size.height())));
    const QImage upright = loaded.photo->crop(QRect(QPoint(0, 0), size));
    const QImage reference = HostilePhotos::uprightPicture().scaled(size);
    const bool grey = QByteArray(QTest::currentDataTag()).startsWith("greyscale");
    const int w = size.width(), h = size.height();
    // A cut file still shows its first rows of blocks; the rest is the decoder's grey.
    QList<QPoint> probes = { { w / 4, 4 }, { 3 * w / 4, 4 } };
    if (Outcome(expected) == Upright)
        probes += { { w / 4, h / 8 }, { 3 * w / 4, h / 8 }, { w / 4, 3 * h / 4 },
            { 3 * w / 4, 3 * h / 4 }, { w / 4, h / 4 }, { 3 * w / 4, 7 * h / 8 } };
    for (const QPoint probe : probes) {
        QRgb want = reference.pixel(probe);
        if (grey)
            want = qRgb(qGray(want), qGray(want), qGray(want));
        QVERIFY2(near(upright.pixel(probe), want, 12),
            qPrintable(QStringLiteral("at %1,%2: %3 instead of %4")
                           .arg(probe.x())
                           .arg(probe.y())
                           .arg(upright.pixel(probe), 8, 16)
                           .arg(want, 8, 16)));
    }
}

void TestHostilePhotos::countScans_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("stopAfter");
    QTest::addColumn<int>("scans");
    const QByteArray soi("\xFF\xD8", 2);
    const QByteArray eoi("\xFF\xD9", 2);
    const QByteArray sos = segment(0xDA, QByteArray("\x01\x01\x00\x00\x3F\x00", 6));
    // Entropy data holding a stuffed FF 00, restart markers and fill bytes: none ends the scan.
    const QByteArray data("\x12\xFF\x00\x34\xFF\xD0\x56\xFF\xD7\x78\xFF\xFF\xFF\x00", 14);
    QTest::newRow("no bytes") << QByteArray() << 500 << 0;
    QTest::newRow("not a jpeg") << QByteArray("\x89PNG\r\n\x1A\n\xFF\xDA", 10) << 500 << 0;
    QTest::newRow("one scan") << soi + segment(0xDB, "q") + sos + data + eoi << 500 << 1;
    QTest::newRow("three scans") << soi + sos + data + sos + data + sos + data + eoi << 500 << 3;
    QTest::newRow("scans after the end are not read")
        << soi + sos + data + eoi + sos + data << 500 << 1;
    // A thumbnail inside an EXIF block has scans of its own; they belong to the block.
    QTest::newRow("thumbnail in a segment")
        << soi + segment(0xE1, soi + sos + data + eoi) + sos + data + eoi << 500 << 1;
    QTest::newRow("stray bytes between segments")
        << soi + QByteArray("junk") + sos + data + eoi << 500 << 1;
    QTest::newRow("cut inside a length")
        << soi + sos + data + QByteArray("\xFF\xDA\x00", 3) << 500 << 1;
    QTest::newRow("length past the end") << soi + QByteArray("\xFF\xE1\xFF\xFF", 4) << 500 << 0;
    QTest::newRow("length below two") << soi + QByteArray("\xFF\xDA\x00\x01", 4) + sos << 500 << 0;
    QByteArray many = soi;
    for (int i = 0; i < 40; ++i)
        many += sos + data;
    QTest::newRow("counting stops past the limit") << many + eoi << 5 << 6;
    QTest::newRow("forty scans") << many + eoi << 500 << 40;
}

void TestHostilePhotos::countScans()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, stopAfter);
    QFETCH(int, scans);
    QCOMPARE(countJpegScans(bytes, stopAfter), scans);
}

void TestHostilePhotos::longScriptIsThousandsOfScans()
{
    QVERIFY(HostilePhotos::maximumScans() >= 2000);
    const QImage small = HostilePhotos::uprightPicture().scaled(60, 80);
    for (int scans : { 1, 10, 500, 501, HostilePhotos::maximumScans() }) {
        const QByteArray bytes
            = HostilePhotos::encode(small, { HostilePhotos::ColourSpace::Rgb, true, false, scans });
        QVERIFY(!bytes.isEmpty());
        QCOMPARE(countJpegScans(bytes, 100000), scans);
    }
    const QByteArray repeated = HostilePhotos::withRepeatedScan(
        HostilePhotos::encode(small, { HostilePhotos::ColourSpace::Rgb, true }), 3000);
    QCOMPARE(countJpegScans(repeated, 100000), 3000);
}

QTEST_MAIN(TestHostilePhotos)
#include "tst_hostilephotos.moc"
