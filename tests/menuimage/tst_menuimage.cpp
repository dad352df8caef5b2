#include "app/form1.h"
#include "fakeplatform.h"
#include "menuimage/clsmenuimage.h"
#include "menuimage/iconcontainer.h"
#include "menuimage/menuimageeffects.h"
#include "programfolder.h"

#include <QBuffer>
#include <QMenu>
#include <QScopeGuard>
#include <QTest>
#include <QtEndian>

namespace {

// Icon containers are written here field by field, independent of any icon writer.
QByteArray le(quint32 value, int size = 4)
{
    value = qToLittleEndian(value);
    return QByteArray(reinterpret_cast<const char *>(&value), size);
}

// A picture whose top row has a colour of its own, so rows stored upside down show.
struct Pic
{
    int w = 16, h = 16, bits = 32;
    QRgb fill = qRgba(200, 40, 20, 255);
    int listed = -1; // the directory's bit count (a cursor's hot spot); -1: bits
    QByteArray data = {}; // empty: a bitmap of the picture, whose mask hides the left column
};

QRgb colour(const Pic &p, int y)
{
    return y == 0 ? qRgba(10, 90, 250, qAlpha(p.fill)) : p.fill;
}

// As read back: bitmaps without alpha of their own take their transparency from the mask.
QImage picture(const Pic &p)
{
    const bool masked = p.data.isEmpty() && (p.bits < 32 || qAlpha(p.fill) == 0);
    QImage image(p.w, p.h, QImage::Format_ARGB32);
    for (int y = 0; y < p.h; ++y)
        for (int x = 0; x < p.w; ++x)
            image.setPixel(x, y, !masked ? colour(p, y) : x == 0 ? 0 : colour(p, y) | 0xFF000000u);
    return image;
}

QByteArray png(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray dib(const Pic &p)
{
    QByteArray b;
    for (int field : { 40, p.w, 2 * p.h, 1 | p.bits << 16, 0, 0, 0, 0, p.bits <= 8 ? 2 : 0, 0 })
        b += le(field);
    for (int y = 0; y < (p.bits <= 8 ? 2 : 0); ++y) // the palette: the top row's colour first
        b += le(colour(p, y));
    for (int y = p.h - 1; y >= 0; --y) {
        QByteArray row((p.w * p.bits + 31) / 32 * 4, 0);
        for (int x = 0; x < p.w; ++x) {
            const quint32 value = p.bits <= 8 ? y != 0 : colour(p, y);
            const int shift = p.bits < 8 ? 8 - p.bits - x * p.bits % 8 : 0; // leftmost first
            for (int k = 0; k < std::max(1, p.bits / 8); ++k)
                row[x * p.bits / 8 + k] |= char(value >> 8 * k << shift);
        }
        b += row;
    }
    for (int y = 0; y < p.h; ++y)
        b += char(0x80) + QByteArray((p.w + 31) / 32 * 4 - 1, 0);
    return b;
}

// Type 1: an icon; 2: a cursor, whose hot spot stands where an icon's bit count does.
QByteArray container(const QList<Pic> &pics, int type = 1)
{
    QByteArray head = le(type << 16) + le(pics.size(), 2), data;
    for (const Pic &p : pics) {
        const QByteArray bytes = p.data.isEmpty() ? dib(p) : p.data;
        head += le((p.w & 0xFF) | (p.h & 0xFF) << 8)
            + le(1 | (p.listed < 0 ? p.bits : p.listed) << 16) + le(bytes.size())
            + le(6 + 16 * pics.size() + data.size());
        data += bytes;
    }
    return head + data;
}

} // namespace

class TestMenuImage : public QObject
{
    Q_OBJECT
private slots:
    void containers_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("nearest"); // as an icon file is read, else as a stream
        QTest::addColumn<QImage>("picture"); // the one chosen for 16 x 16; null: none, refused
        const auto row = [](const QByteArray &name, const QList<Pic> &pics, int chosen,
                             bool nearest = false, int type = 1) {
            QTest::newRow(name) << container(pics, type) << nearest
                                << (chosen < 0 ? QImage() : picture(pics[chosen]));
        };
        for (int bits : { 1, 4, 8, 24 })
            row(QByteArray::number(bits) + " bits, odd width", { { 5, 3, bits } }, 0);
        // Once shifted an int by 32 for the palette size.
        row("32 bits, own alpha", { { 5, 3, 32, qRgba(200, 40, 20, 128) } }, 0);
        row("32 bits, alpha all 0: the mask's", { { 5, 3, 32, qRgba(200, 40, 20, 0) } }, 0);
        Pic pngPicture { .listed = 0 };
        pngPicture.data = png(picture(pngPicture));
        row("a PNG counts its channels", { { .bits = 24 }, pngPicture }, 1);
        row("largest not above the size", { { 8, 8 }, { 24, 24 }, { 12, 12 }, { 24, 8 } }, 3);
        row("highest bit count first", { { .bits = 8 }, { 32, 32 }, { 12, 12 }, { .bits = 4 } }, 2);
        row("only a shallower one fits", { { 32, 32 }, { .bits = 8 } }, -1);
        row("a stored 0 means 256", { { 256, 256 } }, -1);
        row("bit count from the picture", { { .bits = 8, .listed = 0 }, { .listed = 0 } }, 1);
        row("a cursor's hot spot is no bit count", { { .listed = 1 }, { .bits = 8, .listed = 40 } },
            0, false, 2);
        row("nearest: the size, then the depth",
            { { 32, 32 }, { .bits = 4, .fill = 0xFF010203 }, { .bits = 8 } }, 2, true);

        const auto patched = [](QByteArray bytes, int at, quint32 value) {
            return bytes.replace(at, 4, le(value));
        };
        const auto refused = [](const char *name, const QByteArray &bytes) {
            QTest::newRow(name) << bytes << false << QImage();
        };
        const QByteArray good = container({ {} }); // the entry's size at 14, its offset at 18
        refused("count past the data", patched(good, 4, 9 | 16 << 16));
        refused("offset + size wraps", patched(patched(good, 14, 32), 18, 0xFFFFFFF0u));
        refused("neither PNG nor bitmap", container({ { .data = QByteArray(64, 'x') } }));
    }
    void containers()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, nearest);
        QFETCH(QImage, picture);
        const std::optional<IconContainer> parsed = IconContainer::parse(bytes);
        const std::optional<qsizetype> entry = !parsed ? std::nullopt
            : nearest                                  ? parsed->chooseNearestEntry(16, 16)
                                                       : parsed->chooseEntry(16, 16);
        QCOMPARE(entry ? parsed->decodeEntry(*entry) : QImage(), picture);
    }

    void greyedPixel_data()
    {
        QTest::addColumn<QRgb>("source");
        QTest::addColumn<QRgb>("greyed");
        QTest::newRow("red, alpha 127.5 to 128") << qRgba(255, 0, 0, 255) << qRgba(76, 76, 76, 128);
        QTest::newRow("blue, alpha 0.5 to 0") << qRgba(0, 0, 255, 1) << qRgba(29, 29, 29, 0);
        QTest::newRow("orange, alpha 38.5 to 38")
            << qRgba(255, 128, 0, 77) << qRgba(151, 151, 151, 38);
    }
    void greyedPixel()
    {
        QFETCH(QRgb, source);
        QFETCH(QRgb, greyed);
        QImage image(1, 1, QImage::Format_ARGB32);
        image.fill(source);
        QCOMPARE(greyedImage(image).pixel(0, 0), greyed);
    }

    void mainWindow_data()
    {
        QTest::addColumn<int>("damaged"); // the picture that cannot be read; -1: none
        QTest::newRow("twelve pictures") << -1;
        QTest::newRow("one damaged, the others in place") << 5;
    }
    void mainWindow()
    {
        QFETCH(int, damaged);
        // The damaged copy goes in front of the program's own pictures.
        Q_CLEANUP_RESOURCE(damagedmenu);
        Q_CLEANUP_RESOURCE(resources);
        if (damaged >= 0)
            Q_INIT_RESOURCE(damagedmenu);
        Q_INIT_RESOURCE(resources);
        const auto restore = qScopeGuard([] { Q_CLEANUP_RESOURCE(damagedmenu); });
        ProgramFolder program;
        FakePlatform platform(program.path());
        Form1 form(platform, platform.printerSystem);
        form.startUp(QUrl());
        const QStringList names = { "mnuFile", "mnuOpen", "mnuExport", "mnuPrint", "mnuExit",
            "mnuOption", "mnuLang", "mnuAddLang", "mnuDonate", "mnuRelease", "mnuCheckUpdate",
            "mnuInfo", "mnuFitFace" };
        for (int i = 0; i < names.size(); ++i) {
            const QMenu *menu = form.findChild<QMenu *>(names[i]);
            const QAction *item = menu ? menu->menuAction() : form.findChild<QAction *>(names[i]);
            const QPixmap wanted(QStringLiteral(":/menu/%1.png").arg(100 + i));
            QVERIFY(item);
            QCOMPARE(item->icon().pixmap(16).toImage(), i == damaged ? QImage() : wanted.toImage());
        }
        const QList<QAction *> items = form.findChildren<QAction *>();
        QCOMPARE(std::count_if(
                     items.begin(), items.end(), [](QAction *a) { return !a->icon().isNull(); }),
            damaged < 0 ? 13 : 12);
        QAction *exportItem = form.findChild<QAction *>(QStringLiteral("mnuExport"));
        exportItem->setEnabled(false);
        QCOMPARE(exportItem->icon().pixmap(16, QIcon::Disabled).toImage(),
            QPixmap::fromImage(greyedImage(QImage(QStringLiteral(":/menu/102.png")))).toImage());
    }
};

QTEST_MAIN(TestMenuImage)
#include "tst_menuimage.moc"
