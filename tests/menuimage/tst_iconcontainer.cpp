#include "iconbytes.h"
#include "menuimage/iconcontainer.h"

#include <QImageWriter>
#include <QTest>

using namespace IconBytes;

namespace {

using Entries = QList<Entry>;

Entry listedAs(Entry e, int listedBitCount)
{
    e.listedBitCount = listedBitCount;
    return e;
}

Entry withHotSpot(Entry e, QPoint hotSpot)
{
    e.hotSpot = hotSpot;
    return e;
}

Entry asPng(Entry e)
{
    e.picture.png = true;
    return e;
}

Entry withData(Entry e, const QByteArray &data)
{
    e.data = data;
    return e;
}

void patch32(QByteArray &bytes, qsizetype at, quint32 value)
{
    qToLittleEndian<quint32>(value, bytes.data() + at);
}

} // namespace

class TestIconContainer : public QObject
{
    Q_OBJECT
private slots:
    void recognisesContainers_data();
    void recognisesContainers();
    void choice_data();
    void choice();
    void nearestChoice_data();
    void nearestChoice();
    void decodesEveryDepth_data();
    void decodesEveryDepth();
    void damagedDirectory_data();
    void damagedDirectory();
    void damagedPicture_data();
    void damagedPicture();
    void readsToolkitIcons();
};

void TestIconContainer::recognisesContainers_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("container");
    QTest::newRow("icon") << QByteArray("\0\0\1\0\1\0", 6) << true;
    QTest::newRow("cursor") << QByteArray("\0\0\2\0\1\0", 6) << true;
    QTest::newRow("type 3") << QByteArray("\0\0\3\0\1\0", 6) << false;
    QTest::newRow("PNG") << QByteArray("\x89PNG\r\n\x1a\n") << false;
    // A BMP of 258 bytes carries 2 in its third byte; its signature rules it out.
    QTest::newRow("BMP of 258 bytes") << QByteArray("BM\2\1\0\0", 6) << false;
    QTest::newRow("reserved not zero") << QByteArray("\0\1\1\0\1\0", 6) << false;
    QTest::newRow("three bytes") << QByteArray("\0\0\1", 3) << false;
    QTest::newRow("empty") << QByteArray() << false;
}

void TestIconContainer::recognisesContainers()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, container);
    QCOMPARE(IconContainer::looksLikeContainer(bytes), container);
}

void TestIconContainer::choice_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QSize>("requested");
    QTest::addColumn<int>("chosen"); // -1: none fits

    QTest::newRow("exact size among several")
        << container({ entry(16, 16, 32), entry(32, 32, 32), entry(48, 48, 32) }) << QSize(16, 16)
        << 0;
    QTest::newRow("largest not above the requested size")
        << container({ entry(8, 8, 32), entry(24, 24, 32), entry(16, 16, 32) }) << QSize(20, 20)
        << 2;
    QTest::newRow("highest bit count before size")
        << container({ entry(16, 16, 8), entry(32, 32, 32), entry(12, 12, 32), entry(16, 16, 4) })
        << QSize(16, 16) << 2;
    QTest::newRow("smallest entry larger than requested")
        << container({ entry(24, 24, 32), entry(32, 32, 32), entry(48, 48, 32) }) << QSize(16, 16)
        << -1;
    QTest::newRow("only a shallower picture fits")
        << container({ entry(32, 32, 32), entry(16, 16, 8) }) << QSize(16, 16) << -1;
    QTest::newRow("width plus height decides")
        << container({ entry(8, 8, 32), entry(24, 8, 32) }) << QSize(16, 16) << 1;
    QTest::newRow("first of equal candidates")
        << container({ entry(16, 16, 32, qRgb(1, 2, 3)), entry(16, 16, 32) }) << QSize(16, 16) << 0;
    QTest::newRow("stored 0 means 256")
        << container({ entry(256, 256, 32), entry(16, 16, 32) }) << QSize(16, 16) << 1;
    QTest::newRow("256 chosen when asked for")
        << container({ entry(16, 16, 32), entry(256, 256, 32) }) << QSize(256, 256) << 1;
    QTest::newRow("unlisted bit count read from the picture")
        << container({ listedAs(entry(16, 16, 8), 0), listedAs(entry(16, 16, 32), 0) })
        << QSize(16, 16) << 1;
    QTest::newRow("PNG picture counts its channels")
        << container({ entry(16, 16, 24), listedAs(asPng(entry(16, 16, 32)), 0) }) << QSize(16, 16)
        << 1;
    // Cursors keep the hot spot where icons keep the bit count.
    QTest::newRow("cursor hot spot is no bit count") << container(
        { withHotSpot(entry(16, 16, 32), { 1, 1 }), withHotSpot(entry(16, 16, 8), { 40, 40 }) }, 2)
                                                     << QSize(16, 16) << 0;
}

void TestIconContainer::choice()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QSize, requested);
    QFETCH(int, chosen);
    const std::optional<IconContainer> parsed = IconContainer::parse(bytes);
    QVERIFY(parsed);
    const std::optional<qsizetype> entry
        = parsed->chooseEntry(requested.width(), requested.height());
    QCOMPARE(entry ? int(*entry) : -1, chosen);
}

void TestIconContainer::nearestChoice_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("chosen");
    QTest::newRow("exact size, whatever its depth")
        << container({ entry(32, 32, 32), entry(16, 16, 8), entry(48, 48, 32) }) << 1;
    QTest::newRow("deepest of the nearest")
        << container({ entry(16, 16, 4), entry(16, 16, 32), entry(16, 16, 8) }) << 1;
    QTest::newRow("larger picture when none is smaller")
        << container({ entry(48, 48, 32), entry(32, 32, 32) }) << 1;
}

void TestIconContainer::nearestChoice()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, chosen);
    const std::optional<IconContainer> parsed = IconContainer::parse(bytes);
    QVERIFY(parsed);
    QCOMPARE(parsed->chooseNearestEntry(16, 16), std::optional<qsizetype>(chosen));
}

void TestIconContainer::decodesEveryDepth_data()
{
    QTest::addColumn<int>("bitCount");
    QTest::addColumn<int>("width");
    QTest::addColumn<QRgb>("fill");
    QTest::addColumn<bool>("png");
    QTest::addColumn<bool>("maskUsed");
    // Odd widths make every row padded to four bytes.
    QTest::newRow("1 bit") << 1 << 5 << qRgb(200, 40, 20) << false << true;
    QTest::newRow("4 bits") << 4 << 5 << qRgb(200, 40, 20) << false << true;
    QTest::newRow("8 bits") << 8 << 5 << qRgb(200, 40, 20) << false << true;
    QTest::newRow("24 bits") << 24 << 5 << qRgb(200, 40, 20) << false << true;
    QTest::newRow("24 bits, 33 wide") << 24 << 33 << qRgb(200, 40, 20) << false << true;
    QTest::newRow("32 bits with alpha") << 32 << 5 << qRgba(200, 40, 20, 128) << false << false;
    QTest::newRow("32 bits, alpha all zero") << 32 << 5 << qRgba(200, 40, 20, 0) << false << true;
    QTest::newRow("PNG") << 32 << 5 << qRgba(200, 40, 20, 77) << true << false;
}

void TestIconContainer::decodesEveryDepth()
{
    QFETCH(int, bitCount);
    QFETCH(int, width);
    QFETCH(QRgb, fill);
    QFETCH(bool, png);
    QFETCH(bool, maskUsed);
    Entry e = entry(width, 3, bitCount, fill);
    e.picture.png = png;
    e.picture.top = maskUsed ? qRgba(10, 90, 250, 0) : qRgba(10, 90, 250, 255);
    const std::optional<IconContainer> parsed = IconContainer::parse(container({ e }));
    QVERIFY(parsed);
    const QImage decoded = parsed->decodeEntry(0);
    QCOMPARE(decoded.size(), QSize(width, 3));
    QCOMPARE(decoded.format(), QImage::Format_ARGB32);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < width; ++x) {
            const QRgb want = expectedPixel(e.picture, x, y, maskUsed);
            QVERIFY2(decoded.pixel(x, y) == want,
                qPrintable(QStringLiteral("pixel %1,%2: %3, wanted %4")
                               .arg(x)
                               .arg(y)
                               .arg(decoded.pixel(x, y), 8, 16)
                               .arg(want, 8, 16)));
        }
    }
}

void TestIconContainer::damagedDirectory_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray good = container({ entry(16, 16, 32) });

    QByteArray countTooLarge = good;
    countTooLarge[4] = 9;
    QTest::newRow("count larger than the data") << countTooLarge;
    QByteArray noEntries = good;
    noEntries[4] = 0;
    QTest::newRow("no entries") << noEntries;
    QTest::newRow("header only") << good.left(6);
    QTest::newRow("directory cut short") << good.left(12);
    QByteArray pastEnd = good;
    patch32(pastEnd, 6 + 12, quint32(good.size()));
    QTest::newRow("data offset at the end") << pastEnd;
    QByteArray sizeTooLarge = good;
    patch32(sizeTooLarge, 6 + 8, quint32(good.size()));
    QTest::newRow("data size past the end") << sizeTooLarge;
    QByteArray wraps = good;
    patch32(wraps, 6 + 8, 0x20);
    patch32(wraps, 6 + 12, 0xFFFFFFF0u);
    QTest::newRow("offset plus size wraps around") << wraps;
    QByteArray intoDirectory = good;
    patch32(intoDirectory, 6 + 12, 2);
    QTest::newRow("data inside the directory") << intoDirectory;
    QByteArray emptyData = good;
    patch32(emptyData, 6 + 8, 0);
    QTest::newRow("zero data size") << emptyData;
    QTest::newRow("second entry outside")
        << container({ entry(16, 16, 32), withData(entry(16, 16, 32), QByteArray(3, 'x')) });
    QTest::newRow("picture neither PNG nor bitmap")
        << container({ withData(entry(16, 16, 32), QByteArray(64, 'x')) });
}

void TestIconContainer::damagedDirectory()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(!IconContainer::parse(bytes));
}

void TestIconContainer::damagedPicture_data()
{
    QTest::addColumn<QByteArray>("picture");
    const QByteArray good = dib(entry(16, 16, 8).picture);
    auto patched = [&good](qsizetype at, quint32 value) {
        QByteArray bytes = good;
        patch32(bytes, at, value);
        return bytes;
    };
    QTest::newRow("colour rows cut short") << good.left(40 + 8 + 100);
    QTest::newRow("mask cut short") << good.left(good.size() - 10);
    QTest::newRow("zero width") << patched(4, 0);
    QTest::newRow("width above 256") << patched(4, 300);
    QTest::newRow("negative height") << patched(8, quint32(-32));
    QTest::newRow("odd height") << patched(8, 31);
    QTest::newRow("compressed") << patched(16, 1);
    QTest::newRow("huge header size") << patched(0, 0xFFFFFFF0u);
    QTest::newRow("header size below a bitmap header's") << patched(0, 12);
    QTest::newRow("palette larger than the depth") << patched(32, 300);
    QTest::newRow("index beyond the palette") << patched(32, 1);
    QByteArray depth = good;
    depth[14] = 16;
    QTest::newRow("16 bits") << depth;
    const QByteArray png = IconBytes::png(image(entry(16, 16, 32).picture));
    QTest::newRow("PNG cut short") << png.left(png.size() / 2);
    QByteArray scrambled = png;
    for (qsizetype i = 40; i < scrambled.size() - 20; ++i)
        scrambled[i] = char(scrambled[i] ^ 0x5A);
    QTest::newRow("PNG with damaged data") << scrambled;
}

void TestIconContainer::damagedPicture()
{
    QFETCH(QByteArray, picture);
    // Refused with the directory, or when decoded.
    const std::optional<IconContainer> parsed
        = IconContainer::parse(container({ withData(entry(16, 16, 8), picture) }));
    if (!parsed)
        return;
    QVERIFY(parsed->decodeEntry(0).isNull());
    QVERIFY(parsed->decodeEntry(1).isNull());
    QVERIFY(parsed->decodeEntry(-1).isNull());
}

void TestIconContainer::readsToolkitIcons()
{
    if (!QImageWriter::supportedImageFormats().contains("ico"))
        QSKIP("this system's toolkit writes no icon files");
    // Written by an independent writer, read back by ours.
    QImage picture(16, 16, QImage::Format_ARGB32);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x)
            picture.setPixel(x, y, qRgba(x * 16, y * 16, 255 - x * 8, x == 0 ? 0 : 40 + y * 10));
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(QImageWriter(&buffer, "ico").write(picture));
    const std::optional<IconContainer> parsed = IconContainer::parse(bytes);
    QVERIFY(parsed);
    const std::optional<qsizetype> chosen = parsed->chooseEntry(16, 16);
    QVERIFY(chosen);
    QCOMPARE(parsed->decodeEntry(*chosen), picture);
}

QTEST_GUILESS_MAIN(TestIconContainer)
#include "tst_iconcontainer.moc"
