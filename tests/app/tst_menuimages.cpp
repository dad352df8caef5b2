#include "app/form1.h"
#include "fakeplatform.h"
#include "menuimage/clsmenuimage.h"
#include "menuimage/menuimageeffects.h"
#include "programfolder.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

namespace {

QImage premultiplied(const QImage &image)
{
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage shown(const QIcon &icon, QIcon::Mode mode = QIcon::Normal)
{
    return premultiplied(icon.pixmap(QSize(16, 16), 1.0, mode).toImage());
}

QImage resource(int id)
{
    return QImage(QStringLiteral(":/menu/%1.png").arg(id));
}

// The item by its name: a menu of the bar stands for its own entry on the bar.
QAction *item(Form1 &form, const QString &name)
{
    if (auto *menu = form.findChild<QMenu *>(name))
        return menu->menuAction();
    return form.findChild<QAction *>(name);
}

const QList<std::pair<const char *, int>> placements = {
    { "mnuFile", 100 },
    { "mnuOpen", 101 },
    { "mnuExport", 102 },
    { "mnuPrint", 103 },
    { "mnuExit", 104 },
    { "mnuOption", 105 },
    { "mnuLang", 106 },
    { "mnuAddLang", 107 },
    { "mnuDonate", 108 },
    { "mnuRelease", 109 },
    { "mnuCheckUpdate", 110 },
    { "mnuInfo", 111 },
};

} // namespace

class TestMenuImages : public QObject
{
    Q_OBJECT
private slots:
    void resourcesAreSmallImages();
    void everyItemHasItsImage_data();
    void everyItemHasItsImage();
    void nothingElseHasAnImage();
    void minusOneRemovesOneImage();
    void setupAgainAfterLanguageChange();
    void disabledItemIsGreyed();
    void closingReleasesTheImages();
    void exitKeepsTheImages();
};

void TestMenuImages::resourcesAreSmallImages()
{
    for (int id = 100; id <= 111; ++id) {
        const QImage image = resource(id);
        QCOMPARE(image.size(), QSize(16, 16));
        QVERIFY(image.hasAlphaChannel());
    }
}

void TestMenuImages::everyItemHasItsImage_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("resourceId");
    for (const auto &[name, id] : placements)
        QTest::newRow(name) << QString::fromLatin1(name) << id;
}

void TestMenuImages::everyItemHasItsImage()
{
    QFETCH(QString, name);
    QFETCH(int, resourceId);
    ProgramFolder program;
    FakePlatform platform(program.path());
    Form1 form(platform);
    QVERIFY(form.MenuImages);
    QCOMPARE(form.MenuImages->ImageCount(), 11);
    QAction *action = item(form, name);
    QVERIFY(action);
    QCOMPARE(shown(action->icon()), premultiplied(resource(resourceId)));
    QCOMPARE(form.MenuImages->image(resourceId - 100),
        resource(resourceId).convertToFormat(QImage::Format_ARGB32));
}

void TestMenuImages::nothingElseHasAnImage()
{
    ProgramFolder program;
    FakePlatform platform(program.path());
    Form1 form(platform);
    QStringList withImages;
    const QList<QAction *> actions = form.findChildren<QAction *>();
    for (QAction *action : actions) {
        if (!action->icon().isNull())
            withImages.append(QMenu::menuInAction(action)
                    ? QMenu::menuInAction(action)->objectName()
                    : action->objectName());
    }
    withImages.sort();
    QStringList expected;
    for (const auto &[name, id] : placements)
        expected.append(QString::fromLatin1(name));
    expected.sort();
    QCOMPARE(withImages, expected);
}

void TestMenuImages::minusOneRemovesOneImage()
{
    ProgramFolder program;
    FakePlatform platform(program.path());
    Form1 form(platform);
    QVERIFY(form.MenuImages->PutImageToVBMenu(-1, 3, { 0 }));
    QVERIFY(item(form, "mnuPrint")->icon().isNull());
    QCOMPARE(shown(item(form, "mnuExport")->icon()), premultiplied(resource(102)));
    QVERIFY(form.MenuImages->PutImageToVBMenu(-1, 2));
    QVERIFY(item(form, "mnuDonate")->icon().isNull());
    QVERIFY(form.MenuImages->PutImageToVBMenu(3, 3, { 0 }));
    QCOMPARE(shown(item(form, "mnuPrint")->icon()), premultiplied(resource(103)));
}

void TestMenuImages::setupAgainAfterLanguageChange()
{
    ProgramFolder program;
    FakePlatform platform(program.path());
    Form1 form(platform);
    const clsMenuImage *first = form.MenuImages.get();
    form.settings().LanguageFileName = QStringLiteral("italiano.lng");
    form.settings().loadTextTable();
    form.ApplyTexts();
    form.SetupMenuImages();
    QVERIFY(form.MenuImages);
    QVERIFY2(form.MenuImages.get() != first, "a new list each time");
    QCOMPARE(form.MenuImages->ImageCount(), 11);
    QCOMPARE(item(form, "mnuOpen")->text(), QStringLiteral("&Apri foto..."));
    for (const auto &[name, id] : placements)
        QCOMPARE(shown(item(form, name)->icon()), premultiplied(resource(id)));
}

void TestMenuImages::disabledItemIsGreyed()
{
    ProgramFolder program;
    FakePlatform platform(program.path());
    Form1 form(platform);
    QAction *exportItem = item(form, "mnuExport");
    exportItem->setEnabled(false);
    QCOMPARE(shown(exportItem->icon(), QIcon::Disabled), premultiplied(greyedImage(resource(102))));
}

void TestMenuImages::closingReleasesTheImages()
{
    ProgramFolder program;
    FakePlatform platform(program.path());
    Form1 form(platform);
    QVERIFY(form.MenuImages);
    form.close();
    QVERIFY(!form.MenuImages);
    QCOMPARE(platform.endCalls, 0);
}

void TestMenuImages::exitKeepsTheImages()
{
    ProgramFolder program;
    FakePlatform platform(program.path());
    Form1 form(platform);
    item(form, "mnuExit")->trigger();
    QCOMPARE(platform.endCalls, 1);
    QVERIFY2(form.MenuImages, "the program ends without the window's closing steps");
}

QTEST_MAIN(TestMenuImages)
#include "tst_menuimages.moc"
