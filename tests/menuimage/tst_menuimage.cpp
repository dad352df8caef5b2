#include "iconbytes.h"
#include "menuimage/clsmenuimage.h"
#include "menuimage/menuimageeffects.h"
#include "menuimage/menuimagestyle.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace IconBytes;

namespace {

QImage solid(QSize size, QRgb colour)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

QByteArray solidPng(QRgb colour, QSize size = QSize(16, 16))
{
    return png(solid(size, colour));
}

// Pixmaps keep premultiplied pixels; compare in that form so no rounding of the
// conversion back is mistaken for a fault.
QImage premultiplied(const QImage &image)
{
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage shown(const QIcon &icon, QIcon::Mode mode = QIcon::Normal)
{
    return premultiplied(icon.pixmap(QSize(16, 16), 1.0, mode).toImage());
}

// A main window with a menu bar like the program's: a menu with a separator, a plain
// command and a second menu.
struct TestWindow
{
    TestWindow()
    {
        QMenuBar *bar = window.menuBar();
        bar->setNativeMenuBar(false);
        first = bar->addMenu(QStringLiteral("&First"));
        one = first->addAction(QStringLiteral("One"));
        first->addSeparator();
        two = first->addAction(QStringLiteral("Two"));
        command = bar->addAction(QStringLiteral("&Command"));
        second = bar->addMenu(QStringLiteral("&Second"));
        inner = second->addMenu(QStringLiteral("Inner"));
        deep = inner->addAction(QStringLiteral("Deep"));
        window.resize(480, 200);
    }

    QMainWindow window;
    QMenu *first = nullptr;
    QAction *one = nullptr;
    QAction *two = nullptr;
    QAction *command = nullptr;
    QMenu *second = nullptr;
    QMenu *inner = nullptr;
    QAction *deep = nullptr;
};

const QList<QRgb> colours = { qRgb(255, 0, 0), qRgb(0, 160, 0), qRgb(0, 0, 255) };

} // namespace

class TestMenuImage : public QObject
{
    Q_OBJECT
private slots:
    void newObjectIsEmpty();
    void initChecksItsArguments_data();
    void initChecksItsArguments();
    void countFollowsAddsAndRemoves();
    void removingTheFirstOfThree();
    void removeOutOfRange_data();
    void removeOutOfRange();
    void clearAndInitEmptyTheList();
    void imagesAreScaledToTheSlot();
    void streamIconContainer();
    void fileLoading_data();
    void fileLoading();
    void iconFromHandle();
    void badInputLeavesListUnchanged_data();
    void badInputLeavesListUnchanged();
    void ghostedAlpha_data();
    void ghostedAlpha();
    void greyedPixel_data();
    void greyedPixel();
    void disabledItemShowsGreyedImage();
    void putImageOnMenuBarAndSubMenus();
    void putImageFailures_data();
    void putImageFailures();
    void minusOneRemovesTheImage();
    void putImageToApiMenu();
    void menuBarShowsIconAndText();
    void menusWithoutCheckMarks();
    void menuMessages();
    void noMessagesUnlessAsked();
};

void TestMenuImage::newObjectIsEmpty()
{
    clsMenuImage images;
    QCOMPARE(images.ImageCount(), -1);
    QVERIFY(images.IsWindowVistaOrLater());
    QVERIFY2(!images.AddImageFromStream(solidPng(colours[0])), "no image size before Init");
    QCOMPARE(images.ImageCount(), -1);
    QVERIFY(images.Init(nullptr, 16, 16));
    QVERIFY(images.AddImageFromStream(solidPng(colours[0])));
    QCOMPARE(images.ImageCount(), 0);
}

void TestMenuImage::initChecksItsArguments_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<bool>("raiseEvents");
    QTest::addColumn<bool>("withWindow");
    QTest::addColumn<bool>("result");
    QTest::newRow("16 x 16") << 16 << 16 << false << true << true;
    QTest::newRow("no window, no events") << 16 << 16 << false << false << true;
    QTest::newRow("events need a window") << 16 << 16 << true << false << false;
    QTest::newRow("events with a window") << 16 << 16 << true << true << true;
    QTest::newRow("zero width") << 0 << 16 << false << true << false;
    QTest::newRow("negative height") << 16 << -1 << false << true << false;
    QTest::newRow("too large") << 257 << 16 << false << true << false;
}

void TestMenuImage::initChecksItsArguments()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(bool, raiseEvents);
    QFETCH(bool, withWindow);
    QFETCH(bool, result);
    TestWindow test;
    clsMenuImage images;
    QCOMPARE(images.Init(withWindow ? &test.window : nullptr, width, height, raiseEvents), result);
}

void TestMenuImage::countFollowsAddsAndRemoves()
{
    clsMenuImage images;
    QVERIFY(images.Init(nullptr, 16, 16));
    for (int i = 0; i < 3; ++i) {
        QVERIFY(images.AddImageFromStream(solidPng(colours[i])));
        QCOMPARE(images.ImageCount(), i);
    }
    QVERIFY(images.RemoveImage(2));
    QCOMPARE(images.ImageCount(), 1);
    QVERIFY(images.RemoveImage(0));
    QVERIFY(images.RemoveImage(0));
    QCOMPARE(images.ImageCount(), -1);
    QVERIFY(!images.RemoveImage(0));
    QVERIFY(images.AddImageFromStream(solidPng(colours[1])));
    QCOMPARE(images.ImageCount(), 0);
}

void TestMenuImage::removingTheFirstOfThree()
{
    clsMenuImage images;
    QVERIFY(images.Init(nullptr, 16, 16));
    for (QRgb colour : colours)
        QVERIFY(images.AddImageFromStream(solidPng(colour)));
    QCOMPARE(images.ImageCount(), 2);
    QVERIFY(images.RemoveImage(0));
    QCOMPARE(images.ImageCount(), 1);
    QCOMPARE(images.image(0), solid(QSize(16, 16), colours[1]));
    QCOMPARE(images.image(1), solid(QSize(16, 16), colours[2]));
    QVERIFY(images.image(2).isNull());
}

void TestMenuImage::removeOutOfRange_data()
{
    QTest::addColumn<int>("index");
    QTest::newRow("-1") << -1;
    QTest::newRow("ImageCount + 1") << 3;
    QTest::newRow("far beyond") << 1000;
    QTest::newRow("most negative") << std::numeric_limits<int>::min();
}

void TestMenuImage::removeOutOfRange()
{
    QFETCH(int, index);
    clsMenuImage images;
    QVERIFY(images.Init(nullptr, 16, 16));
    for (QRgb colour : colours)
        QVERIFY(images.AddImageFromStream(solidPng(colour)));
    QVERIFY(!images.RemoveImage(index));
    QCOMPARE(images.ImageCount(), 2);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(images.image(i), solid(QSize(16, 16), colours[i]));
}

void TestMenuImage::clearAndInitEmptyTheList()
{
    clsMenuImage images;
    QVERIFY(images.Init(nullptr, 16, 16));
    QVERIFY(images.AddImageFromStream(solidPng(colours[0])));
    QVERIFY(images.AddImageFromStream(solidPng(colours[1])));
    images.Clear();
    QCOMPARE(images.ImageCount(), -1);
    QVERIFY(images.AddImageFromStream(solidPng(colours[2])));
    QVERIFY(images.Init(nullptr, 24, 24));
    QCOMPARE(images.ImageCount(), -1);
    QVERIFY(images.AddImageFromStream(solidPng(colours[2])));
    QCOMPARE(images.image(0).size(), QSize(24, 24));
}

void TestMenuImage::imagesAreScaledToTheSlot()
{
    clsMenuImage images;
    QVERIFY(images.Init(nullptr, 16, 16));
    QVERIFY(images.AddImageFromStream(solidPng(qRgba(10, 20, 30, 255), QSize(64, 48))));
    QImage half(2, 2, QImage::Format_ARGB32);
    half.fill(qRgba(0, 0, 0, 0));
    half.setPixel(0, 0, qRgb(250, 250, 250));
    QVERIFY(images.AddImageFromStream(png(half)));
    QCOMPARE(images.image(0), solid(QSize(16, 16), qRgba(10, 20, 30, 255)));
    const QImage scaled = images.image(1);
    QCOMPARE(scaled.size(), QSize(16, 16));
    QCOMPARE(scaled.format(), QImage::Format_ARGB32);
    // Scaling blends alpha, never the black of transparent pixels into the colour (only
    // the rounding of faint pixels moves it a little).
    QCOMPARE(scaled.pixel(0, 0), qRgb(250, 250, 250));
    QCOMPARE(qAlpha(scaled.pixel(15, 15)), 0);
    int blended = 0;
    for (int x = 0; x < 16; ++x) {
        const QRgb pixel = scaled.pixel(x, 7);
        if (qAlpha(pixel) >= 32 && qAlpha(pixel) < 255) {
            ++blended;
            QVERIFY2(qRed(pixel) >= 244, qPrintable(QString::number(pixel, 16)));
        }
    }
    QVERIFY(blended > 0);
}

void TestMenuImage::streamIconContainer()
{
    clsMenuImage images;
    QVERIFY(images.Init(nullptr, 16, 16));
    const QRgb wanted = qRgba(30, 200, 90, 255);
    QVERIFY(images.AddImageFromStream(container({ entry(32, 32, 32, qRgb(1, 1, 1)),
        entry(16, 16, 32, wanted), entry(16, 16, 8, qRgb(2, 2, 2)) })));
    QCOMPARE(images.image(0).pixel(8, 8), wanted);
    // Only larger pictures at the highest depth: nothing is added.
    QVERIFY(!images.AddImageFromStream(container({ entry(24, 24, 32), entry(16, 16, 8) })));
    QCOMPARE(images.ImageCount(), 0);
    // A cursor container is read the same way.
    QVERIFY(images.AddImageFromStream(container({ entry(16, 16, 24, wanted) }, 2)));
    QCOMPARE(images.image(1).pixel(8, 8), wanted);
    QCOMPARE(qAlpha(images.image(1).pixel(0, 8)), 0);
}

void TestMenuImage::fileLoading_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("added");
    QTest::addColumn<QRgb>("pixel");

    const QRgb nearest = qRgba(250, 200, 0, 255);
    // A stream would refuse it: the deepest pictures are all larger than 16 x 16.
    const QByteArray icon = container({ entry(32, 32, 32, qRgb(1, 1, 1)), entry(16, 16, 8, nearest),
        entry(48, 48, 32, qRgb(2, 2, 2)) });
    QTest::newRow("lower-case ico") << "a.ico" << icon << true << nearest;
    QTest::newRow("upper-case ICO") << "B.ICO" << icon << true << nearest;
    QTest::newRow("mixed-case Ico") << "c.Ico" << icon << true << nearest;
    QTest::newRow("cursor") << "d.cur" << container({ entry(16, 16, 8, nearest) }, 2) << true
                            << nearest;
    QTest::newRow("PNG file") << "e.png" << solidPng(nearest) << true << nearest;
    QTest::newRow("PNG named .dat") << "f.dat" << solidPng(nearest) << true << nearest;
    QTest::newRow("PNG named .ico") << "g.ico" << solidPng(nearest) << false << QRgb(0);
    QTest::newRow("empty file") << "h.png" << QByteArray() << false << QRgb(0);
    QTest::newRow("damaged icon file") << "i.ico" << icon.left(30) << false << QRgb(0);
}

void TestMenuImage::fileLoading()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, added);
    QFETCH(QRgb, pixel);
    QTemporaryDir dir;
    QFile file(dir.filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();

    clsMenuImage images;
    QVERIFY(images.Init(nullptr, 16, 16));
    QCOMPARE(images.AddImageFromFile(file.fileName()), added);
    QCOMPARE(images.ImageCount(), added ? 0 : -1);
    if (added)
        QCOMPARE(images.image(0).pixel(8, 8), pixel);
    QVERIFY(!images.AddImageFromFile(dir.filePath(QStringLiteral("missing.png"))));
    QVERIFY(!images.AddImageFromFile(dir.filePath(QStringLiteral("missing.ico"))));
}

void TestMenuImage::iconFromHandle()
{
    clsMenuImage images;
    QVERIFY(images.Init(nullptr, 16, 16));
    QVERIFY(!images.AddIconFromHandle(QIcon()));
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(solid(QSize(32, 32), colours[0])));
    icon.addPixmap(QPixmap::fromImage(solid(QSize(16, 16), colours[1])));
    QVERIFY(images.AddIconFromHandle(icon));
    QCOMPARE(images.image(0), solid(QSize(16, 16), colours[1]));
    QVERIFY(images.AddIconFromHandle(icon, true));
    QCOMPARE(qAlpha(images.image(1).pixel(3, 3)), 178);
    QVERIFY2(!icon.isNull(), "the caller's icon stays");
}

void TestMenuImage::badInputLeavesListUnchanged_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray good = solidPng(colours[0]);
    QTest::newRow("zero-length array") << QByteArray();
    QTest::newRow("PNG cut in half") << good.left(good.size() / 2);
    QTest::newRow("PNG signature only") << good.left(8);
    QByteArray scrambled = good;
    for (qsizetype i = 41; i < scrambled.size() - 12; ++i)
        scrambled[i] = char(~scrambled[i]);
    QTest::newRow("PNG with damaged data") << scrambled;
    QTest::newRow("random bytes") << QByteArray("\x13\x37\xC0\xDE not an image at all", 25);
    QByteArray countTooLarge = container({ entry(16, 16, 32) });
    countTooLarge[4] = 50;
    QTest::newRow("icon count larger than its data") << countTooLarge;
    QByteArray outside = container({ entry(16, 16, 32) });
    qToLittleEndian<quint32>(0x7FFFFFF0u, outside.data() + 6 + 12);
    QTest::newRow("entry pointing outside the data") << outside;
    QTest::newRow("icon header only") << QByteArray("\0\0\1\0", 4);
    QTest::newRow("icon cut inside its picture")
        << container({ entry(16, 16, 32) }).left(6 + 16 + 40);
}

void TestMenuImage::badInputLeavesListUnchanged()
{
    QFETCH(QByteArray, bytes);
    clsMenuImage images;
    QVERIFY(images.Init(nullptr, 16, 16));
    QVERIFY(images.AddImageFromStream(solidPng(colours[2])));
    QVERIFY(!images.AddImageFromStream(bytes));
    QVERIFY(!images.AddImageFromStream(bytes, true));
    QCOMPARE(images.ImageCount(), 0);
    QCOMPARE(images.image(0), solid(QSize(16, 16), colours[2]));
}

void TestMenuImage::ghostedAlpha_data()
{
    QTest::addColumn<QRgb>("source");
    QTest::addColumn<QRgb>("ghosted");
    // alpha x 0.7, halves to the even neighbour: 255 -> 178.5 -> 178
    QTest::newRow("opaque") << qRgba(200, 100, 50, 255) << qRgba(200, 100, 50, 178);
    QTest::newRow("100") << qRgba(1, 2, 3, 100) << qRgba(1, 2, 3, 70);
    QTest::newRow("51") << qRgba(90, 80, 70, 51) << qRgba(90, 80, 70, 36);
    QTest::newRow("5: 3.5 goes to 4") << qRgba(90, 80, 70, 5) << qRgba(90, 80, 70, 4);
}

void TestMenuImage::ghostedAlpha()
{
    QFETCH(QRgb, source);
    QFETCH(QRgb, ghosted);
    clsMenuImage images;
    QVERIFY(images.Init(nullptr, 16, 16));
    QVERIFY(images.AddImageFromStream(solidPng(source), true));
    QVERIFY(images.AddImageFromStream(solidPng(source), false));
    QCOMPARE(images.image(0).pixel(5, 5), ghosted);
    QCOMPARE(images.image(1).pixel(5, 5), source);
}

void TestMenuImage::greyedPixel_data()
{
    QTest::addColumn<QRgb>("source");
    QTest::addColumn<QRgb>("greyed");
    // 0.299 R + 0.587 G + 0.114 B, alpha x 0.5, halves to the even neighbour
    QTest::newRow("red") << qRgba(255, 0, 0, 255) << qRgba(76, 76, 76, 128);
    QTest::newRow("green") << qRgba(0, 255, 0, 200) << qRgba(150, 150, 150, 100);
    QTest::newRow("blue, 0.5 alpha goes to 0") << qRgba(0, 0, 255, 1) << qRgba(29, 29, 29, 0);
    QTest::newRow("mixed, 1.5 alpha goes to 2") << qRgba(10, 20, 30, 3) << qRgba(18, 18, 18, 2);
    QTest::newRow("white") << qRgba(255, 255, 255, 255) << qRgba(255, 255, 255, 128);
    QTest::newRow("black, transparent") << qRgba(0, 0, 0, 0) << qRgba(0, 0, 0, 0);
    QTest::newRow("orange") << qRgba(255, 128, 0, 77) << qRgba(151, 151, 151, 38);
}

void TestMenuImage::greyedPixel()
{
    QFETCH(QRgb, source);
    QFETCH(QRgb, greyed);
    QCOMPARE(greyedImage(solid(QSize(3, 2), source)), solid(QSize(3, 2), greyed));
}

void TestMenuImage::disabledItemShowsGreyedImage()
{
    TestWindow test;
    clsMenuImage images;
    QVERIFY(images.Init(&test.window, 16, 16));
    QImage picture(16, 16, QImage::Format_ARGB32);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x)
            picture.setPixel(x, y, qRgba(x * 16, 255 - y * 16, 100, 55 + y * 12));
    }
    QVERIFY(images.AddImageFromStream(png(picture)));
    QVERIFY(images.PutImageToVBMenu(0, 2, { 0 }));
    test.two->setEnabled(false);
    QCOMPARE(shown(test.two->icon(), QIcon::Normal), premultiplied(picture));
    QCOMPARE(shown(test.two->icon(), QIcon::Disabled), premultiplied(greyedImage(picture)));
}

void TestMenuImage::putImageOnMenuBarAndSubMenus()
{
    TestWindow test;
    clsMenuImage images;
    QVERIFY(images.Init(&test.window, 16, 16));
    for (QRgb colour : colours)
        QVERIFY(images.AddImageFromStream(solidPng(colour)));

    QVERIFY(images.PutImageToVBMenu(0, 0)); // the "First" menu on the bar
    QVERIFY(images.PutImageToVBMenu(1, 2, { 0 })); // "Two": the separator counts
    QVERIFY(images.PutImageToVBMenu(2, 1)); // the command on the bar
    QVERIFY(images.PutImageToVBMenu(1, 0, { 2, 0 })); // "Deep" inside "Inner"
    const QImage red = premultiplied(solid(QSize(16, 16), colours[0]));
    const QImage green = premultiplied(solid(QSize(16, 16), colours[1]));
    const QImage blue = premultiplied(solid(QSize(16, 16), colours[2]));
    QCOMPARE(shown(test.first->menuAction()->icon()), red);
    QCOMPARE(shown(test.two->icon()), green);
    QCOMPARE(shown(test.command->icon()), blue);
    QCOMPARE(shown(test.deep->icon()), green);
    QVERIFY(test.one->icon().isNull());
    QVERIFY(test.second->menuAction()->icon().isNull());

    // Items keep what they were given when the list changes.
    QVERIFY(images.RemoveImage(0));
    images.Clear();
    QCOMPARE(shown(test.two->icon()), green);
}

void TestMenuImage::putImageFailures_data()
{
    QTest::addColumn<int>("imageId");
    QTest::addColumn<int>("position");
    QTest::addColumn<QList<int>>("path");
    QTest::newRow("position past the last item") << 0 << 3 << QList<int> { 0 };
    QTest::newRow("negative position") << 0 << -1 << QList<int> { 0 };
    QTest::newRow("path through a plain command") << 0 << 0 << QList<int> { 1 };
    QTest::newRow("path past the menu bar") << 0 << 0 << QList<int> { 3 };
    QTest::newRow("path through a plain item") << 0 << 0 << QList<int> { 0, 0 };
    QTest::newRow("image past the list") << 3 << 0 << QList<int> { 0 };
    QTest::newRow("image -2") << -2 << 0 << QList<int> { 0 };
}

void TestMenuImage::putImageFailures()
{
    QFETCH(int, imageId);
    QFETCH(int, position);
    QFETCH(QList<int>, path);
    TestWindow test;
    clsMenuImage images;
    QVERIFY(images.Init(&test.window, 16, 16));
    for (QRgb colour : colours)
        QVERIFY(images.AddImageFromStream(solidPng(colour)));
    QVERIFY(images.PutImageToVBMenu(1, 0, { 0 }));
    QVERIFY(!images.PutImageToVBMenu(imageId, position, path));
    QCOMPARE(shown(test.one->icon()), premultiplied(solid(QSize(16, 16), colours[1])));
    for (QAction *action : { test.two, test.command, test.deep })
        QVERIFY(action->icon().isNull());

    clsMenuImage unbound;
    QVERIFY(unbound.Init(nullptr, 16, 16));
    QVERIFY(unbound.AddImageFromStream(solidPng(colours[0])));
    QVERIFY2(!unbound.PutImageToVBMenu(0, 0, { 0 }), "no window, no menu bar");
}

void TestMenuImage::minusOneRemovesTheImage()
{
    TestWindow test;
    clsMenuImage images;
    QVERIFY(images.Init(&test.window, 16, 16));
    QVERIFY(images.AddImageFromStream(solidPng(colours[0])));
    QVERIFY(images.PutImageToVBMenu(0, 0, { 0 }));
    QVERIFY(images.PutImageToVBMenu(0, 2, { 0 }));
    QVERIFY(images.PutImageToVBMenu(0, 1));
    QVERIFY(images.PutImageToVBMenu(-1, 0, { 0 }));
    QVERIFY(images.PutImageToVBMenu(-1, 1));
    QVERIFY(test.one->icon().isNull());
    QVERIFY(test.command->icon().isNull());
    QVERIFY(!test.two->icon().isNull());
}

void TestMenuImage::putImageToApiMenu()
{
    QMenu menu;
    QAction *plain = menu.addAction(QStringLiteral("Plain"));
    menu.addSeparator();
    QAction *withData = menu.addAction(QStringLiteral("Data"));
    withData->setData(QStringLiteral("keep"));
    clsMenuImage images;
    QVERIFY(images.Init(nullptr, 16, 16));
    QVERIFY(images.AddImageFromStream(solidPng(colours[0])));
    QVERIFY(images.AddImageFromStream(solidPng(colours[1])));

    QVERIFY(images.PutImageToApiMenu(1, &menu, 0, 42));
    QCOMPARE(plain->data(), QVariant(42));
    QCOMPARE(shown(plain->icon()), premultiplied(solid(QSize(16, 16), colours[1])));
    QVERIFY2(images.PutImageToApiMenu(0, &menu, 2), "no data given: the item keeps its own");
    QCOMPARE(withData->data(), QVariant(QStringLiteral("keep")));
    QCOMPARE(shown(withData->icon()), premultiplied(solid(QSize(16, 16), colours[0])));

    QVERIFY(!images.PutImageToApiMenu(2, &menu, 0, 7));
    QCOMPARE(plain->data(), QVariant(42));
    QVERIFY(!images.PutImageToApiMenu(0, &menu, 3));
    QVERIFY(!images.PutImageToApiMenu(0, nullptr, 0));
    QVERIFY(images.PutImageToApiMenu(-1, &menu, 0));
    QVERIFY(plain->icon().isNull());
}

void TestMenuImage::menuBarShowsIconAndText()
{
    TestWindow test;
    test.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&test.window));
    QMenuBar *bar = test.window.menuBar();
    const int textOnly = bar->actionGeometry(test.command).width();
    clsMenuImage images;
    QVERIFY(images.Init(&test.window, 16, 16));
    QVERIFY(images.AddImageFromStream(solidPng(colours[0])));
    QVERIFY(images.PutImageToVBMenu(0, 1));
    QVERIFY(qobject_cast<MenuImageStyle *>(bar->style()));
    QTRY_COMPARE(
        bar->actionGeometry(test.command).width(), textOnly + 16 + MenuImageStyle::IconTextGap);
    QTRY_VERIFY(bar->height() >= bar->actionGeometry(test.command).bottom());

    // The icon is drawn in front of the text, pixel for pixel.
    const QImage drawn = bar->grab(bar->actionGeometry(test.command)).toImage();
    const QImage red = solid(QSize(16, 16), colours[0]);
    bool found = false;
    for (int x = 0; x + 16 <= drawn.width() / 2 && !found; ++x) {
        for (int y = 0; y + 16 <= drawn.height() && !found; ++y)
            found = drawn.copy(x, y, 16, 16).convertToFormat(QImage::Format_ARGB32) == red;
    }
    QVERIFY2(found, "a crisp 16 x 16 image in the left half of the item");
    int textPixels = 0;
    for (int x = drawn.width() / 2; x < drawn.width(); ++x) {
        for (int y = 0; y < drawn.height(); ++y)
            textPixels += qGray(drawn.pixel(x, y)) < 100 ? 1 : 0;
    }
    QVERIFY2(textPixels > 10, "the text is still drawn beside the image");
}

void TestMenuImage::menusWithoutCheckMarks()
{
    QMenu menu;
    QAction *checked = menu.addAction(QStringLiteral("Checked"));
    checked->setCheckable(true);
    menu.adjustSize();
    auto look = [&menu, checked](bool on) {
        checked->setChecked(on);
        return menu.grab().toImage();
    };
    QVERIFY2(look(true) != look(false), "the style shows a check mark");

    clsMenuImage images;
    QVERIFY(images.Init(nullptr, 16, 16));
    images.RemoveMenuCheckApi(&menu);
    QVERIFY(menu.property(MenuImageStyle::NoCheckMarksProperty).toBool());
    QCOMPARE(look(true), look(false));

    // Through the window's menus; paths that lead to no menu change nothing.
    TestWindow test;
    QVERIFY(images.Init(&test.window, 16, 16));
    images.RemoveMenuCheckVB({ 2, 0 });
    images.RemoveMenuCheckVB({ 1 });
    images.RemoveMenuCheckVB({ 7 });
    images.RemoveMenuCheckVB({});
    QVERIFY(test.inner->property(MenuImageStyle::NoCheckMarksProperty).toBool());
    QVERIFY(!test.first->property(MenuImageStyle::NoCheckMarksProperty).toBool());
    QVERIFY(!test.second->property(MenuImageStyle::NoCheckMarksProperty).toBool());
}

void TestMenuImage::menuMessages()
{
    TestWindow test;
    test.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&test.window));
    clsMenuImage images;
    QVERIFY(images.Init(&test.window, 16, 16, true));
    QSignalSpy spy(&images, &clsMenuImage::MenuMessages);

    test.first->popup(test.window.mapToGlobal(QPoint(0, 0)));
    QVERIFY(QTest::qWaitForWindowExposed(test.first));
    QTRY_VERIFY(!spy.isEmpty());
    QCOMPARE(spy.last().at(0).value<QWidget *>(), &test.window);
    QCOMPARE(spy.last().at(1).toInt(), int(clsMenuImage::EnterIdle));
    QCOMPARE(spy.last().at(2).value<QWidget *>(), test.first);

    spy.clear();
    QTest::mouseMove(test.first, test.first->actionGeometry(test.two).center());
    QTRY_VERIFY(!spy.isEmpty());
    QCOMPARE(spy.last().at(1).toInt(), int(clsMenuImage::MenuSelect));
    QCOMPARE(spy.last().at(3).value<QAction *>(), test.two);

    spy.clear();
    test.first->hide();
    QVERIFY(!spy.isEmpty());
    QCOMPARE(spy.last().at(1).toInt(), int(clsMenuImage::MenuSelect));
    QCOMPARE(spy.last().at(2).value<QWidget *>(), test.first);
    QCOMPARE(spy.last().at(3).value<QAction *>(), nullptr);
}

void TestMenuImage::noMessagesUnlessAsked()
{
    TestWindow test;
    test.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&test.window));
    clsMenuImage images;
    QVERIFY(images.Init(&test.window, 16, 16, true));
    QVERIFY2(images.Init(&test.window, 16, 16, false), "a new Init without events unhooks");
    QSignalSpy spy(&images, &clsMenuImage::MenuMessages);
    test.first->popup(test.window.mapToGlobal(QPoint(0, 0)));
    QVERIFY(QTest::qWaitForWindowExposed(test.first));
    QTest::mouseMove(test.first, test.first->actionGeometry(test.two).center());
    test.first->hide();
    QCoreApplication::processEvents();
    QVERIFY(spy.isEmpty());
}

QTEST_MAIN(TestMenuImage)
#include "tst_menuimage.moc"
