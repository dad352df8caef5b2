#include "app/form1.h"
#include "widgets/twips.h"
#include "fakeplatform.h"
#include "i18n/texttable.h"
#include "programfolder.h"
#include "web/aboutscroll.h"
#include "web/frmabout2.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

frmAbout2 *openAbout()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (auto *about = qobject_cast<frmAbout2 *>(window); about && about->isVisible())
            return about;
    }
    return nullptr;
}

QWidget *child(QWidget *about, const QString &name)
{
    return about->findChild<QWidget *>(name);
}

QString labelText(QWidget *about, const char *name)
{
    return about->findChild<QLabel *>(QString::fromLatin1(name))->text();
}

double panelTop(QWidget *about)
{
    return twipsGeometry(child(about, QStringLiteral("Picture2"))).top();
}

void stopTimer(QWidget *about)
{
    about->findChild<QTimer *>(QStringLiteral("Timer1"))->stop();
}

void tick(frmAbout2 *about, int count)
{
    for (int i = 0; i < count; ++i)
        about->scrollStep();
}

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TextTable englishTexts()
{
    TextTable texts;
    texts.setText(2, QStringLiteral("What the program does."));
    texts.setText(11, QStringLiteral("About Kalmora"));
    texts.setText(16, QStringLiteral("Home page"));
    texts.setText(23, QStringLiteral("identity photos made at home"));
    return texts;
}

} // namespace

class TestAbout : public QObject
{
    Q_OBJECT
private slots:
    void scrollStep_data();
    void scrollStep();
    void scrollOtherSizes_data();
    void scrollOtherSizes();
    void versionLeft_data();
    void versionLeft();

    void opensFromMenuAndLink_data();
    void opensFromMenuAndLink();
    void texts();
    void emptyHomePageCaption();
    void designGeometry_data();
    void designGeometry();
    void scrollsThroughItsCycle();
    void eachOpeningStartsAfresh();
    void clicks_data();
    void clicks();
    void escapeOnlyInViewport();
    void homePageLink();
    void windowCloseButton();
};

void TestAbout::scrollStep_data()
{
    QTest::addColumn<int>("ticks");
    QTest::addColumn<double>("top");
    QTest::addColumn<int>("pause");
    QTest::newRow("start") << 0 << 2200.0 << 0;
    QTest::newRow("first tick") << 1 << 2190.0 << 0;
    QTest::newRow("one before the pause") << 417 << -1970.0 << 0;
    QTest::newRow("end in view") << 418 << -1980.0 << 0;
    QTest::newRow("first pause tick") << 419 << -1980.0 << 1;
    QTest::newRow("last pause tick") << 538 << -1980.0 << 120;
    QTest::newRow("moves on") << 539 << -1990.0 << 121;
    QTest::newRow("last tick of the cycle") << 791 << -4510.0 << 373;
    QTest::newRow("restart") << 792 << 2200.0 << 0;
    QTest::newRow("second cycle") << 793 << 2190.0 << 0;
    QTest::newRow("second pause") << 792 + 418 + 120 << -1980.0 << 120;
}

void TestAbout::scrollStep()
{
    QFETCH(int, ticks);
    QFETCH(double, top);
    QFETCH(int, pause);
    AboutScroll scroll;
    for (int i = 0; i < ticks; ++i)
        scroll.step(2535, 4515);
    QCOMPARE(scroll.top, top);
    QCOMPARE(scroll.PauseTicks, pause);
}

void TestAbout::scrollOtherSizes_data()
{
    QTest::addColumn<double>("viewport");
    QTest::addColumn<double>("panel");
    QTest::addColumn<double>("startTop");
    QTest::addColumn<int>("startPause");
    QTest::addColumn<double>("top");
    QTest::addColumn<int>("pause");
    QTest::newRow("panel shorter than viewport") << 3000.0 << 1000.0 << 2010.0 << 0 << 2000.0 << 0;
    QTest::newRow("rests at its end") << 3000.0 << 1000.0 << 2000.0 << 5 << 2000.0 << 6;
    QTest::newRow("pause compared in single precision")
        << 2534.99999 << 4515.0 << -1980.0 << 0 << -1980.0 << 1;
    QTest::newRow("just past the top") << 2535.0 << 4515.0 << -4510.0 << 200 << 2200.0 << 0;
    QTest::newRow("exactly at -H2 keeps going")
        << 2535.0 << 4515.0 << -4505.0 << 200 << -4515.0 << 201;
}

void TestAbout::scrollOtherSizes()
{
    QFETCH(double, viewport);
    QFETCH(double, panel);
    QFETCH(double, startTop);
    QFETCH(int, startPause);
    QFETCH(double, top);
    QFETCH(int, pause);
    AboutScroll scroll;
    scroll.top = startTop;
    scroll.PauseTicks = int16_t(startPause);
    scroll.step(viewport, panel);
    QCOMPARE(scroll.top, top);
    QCOMPARE(scroll.PauseTicks, pause);
}

void TestAbout::versionLeft_data()
{
    QTest::addColumn<double>("titleLeft");
    QTest::addColumn<double>("titleWidth");
    QTest::addColumn<double>("left");
    QTest::newRow("design") << 1500.0 << 3615.0 << 5295.0;
    QTest::newRow("wider title") << 1500.0 << 4000.0 << 5680.0;
    QTest::newRow("moved title") << 100.0 << 3615.0 << 3895.0;
}

void TestAbout::versionLeft()
{
    QFETCH(double, titleLeft);
    QFETCH(double, titleWidth);
    QFETCH(double, left);
    QCOMPARE(versionLabelLeft(titleLeft, titleWidth), left);
}

void TestAbout::opensFromMenuAndLink_data()
{
    QTest::addColumn<QString>("way");
    QTest::newRow("menu") << "mnuInfo";
    QTest::newRow("link label") << "Label2_3";
    QTest::newRow("link picture") << "Image5_3";
}

void TestAbout::opensFromMenuAndLink()
{
    QFETCH(QString, way);
    ProgramFolder program;
    FakePlatform platform(program.path());
    Form1 form(platform);
    QVERIFY(!openAbout());
    if (way.startsWith(QLatin1String("mnu")))
        form.findChild<QAction *>(way)->trigger();
    else
        QTest::mouseClick(form.findChild<QWidget *>(way), Qt::LeftButton);

    frmAbout2 *about = openAbout();
    QVERIFY(about);
    QVERIFY(!form.isVisible());
    QCOMPARE(about->windowTitle(), QStringLiteral("About Kalmora"));
    QVERIFY2(!about->parentWidget(), "the box has no owner window");
    QVERIFY(about->isWindow());
    const QTimer *timer = about->findChild<QTimer *>(QStringLiteral("Timer1"));
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 10);
    QVERIFY(platform.messages.isEmpty());
    about->close();
    QVERIFY(form.isVisible());
}

void TestAbout::texts()
{
    ProgramFolder program;
    FakePlatform platform(program.path());
    Form1 form(platform);
    platform.dialogAnswers.enqueue(QStringList { program.langPath() + "deutsch.lng" });
    form.findChild<QAction *>(QStringLiteral("mnuLang"))->trigger();
    form.findChild<QAction *>(QStringLiteral("mnuInfo"))->trigger();

    frmAbout2 *about = openAbout();
    QVERIFY(about);
    QCOMPARE(about->windowTitle(), form.text(11));
    QCOMPARE(about->windowTitle(), QStringLiteral("Über Kalmora"));
    QCOMPARE(labelText(about, "lblTitle"), QStringLiteral("Kalmora"));
    QCOMPARE(labelText(about, "lblVersion"), QStringLiteral("Rel. 1.0.0"));
    QCOMPARE(labelText(about, "lblDescription"), form.text(2));
    QCOMPARE(labelText(about, "lblCopyright"),
        QStringLiteral("\u00A9 The Kalmora authors - ") + form.text(23));
    QCOMPARE(labelText(about, "lblHomePageCap"), form.text(16) + u':');
    QCOMPARE(labelText(about, "lblHomePage"), QStringLiteral("http://www.kalmora.example/"));
    about->close();
}

void TestAbout::emptyHomePageCaption()
{
    ProgramFolder program;
    FakePlatform platform(program.path());
    TextTable texts = englishTexts();
    texts.setText(16, QString());
    texts.setText(23, QString());
    frmAbout2 about(platform, texts);
    QCOMPARE(labelText(&about, "lblHomePageCap"), QStringLiteral(":"));
    QCOMPARE(labelText(&about, "lblCopyright"), QStringLiteral("\u00A9 The Kalmora authors - "));
}

void TestAbout::designGeometry_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRectF>("twips");
    QTest::newRow("title") << "lblTitle" << QRectF(1500, 300, 3615, 375);
    QTest::newRow("separator") << "Frame1" << QRectF(-60, 1140, 6495, 25);
    QTest::newRow("viewport") << "Picture1" << QRectF(240, 1170, 5940, 2535);
    QTest::newRow("panel at its start") << "Picture2" << QRectF(60, 2200, 5775, 4515);
    QTest::newRow("description") << "lblDescription" << QRectF(900, 0, 3945, 1095);
    QTest::newRow("credit line") << "lblCopyright" << QRectF(690, 1320, 4380, 435);
    QTest::newRow("home page caption") << "lblHomePageCap" << QRectF(720, 3870, 1050, 195);
    QTest::newRow("home page") << "lblHomePage" << QRectF(705, 4110, 3405, 255);
}

void TestAbout::designGeometry()
{
    QFETCH(QString, name);
    QFETCH(QRectF, twips);
    ProgramFolder program;
    FakePlatform platform(program.path());
    frmAbout2 about(platform, englishTexts());
    QWidget *control = child(&about, name);
    QVERIFY(control);
    QCOMPARE(twipsGeometry(control), twips);

    // The release stands 180 twips right of the title's end, at the design's height.
    const QRectF version = twipsGeometry(child(&about, QStringLiteral("lblVersion")));
    QCOMPARE(version.left(), 1500.0 + 3615.0 + 180.0);
    QCOMPARE(version.top(), 630.0);
    QVERIFY(version.width() >= 720.0);
    QVERIFY2(version.right() <= twipsGeometry(&about).width(), "the release is not cut off");
}

void TestAbout::scrollsThroughItsCycle()
{
    ProgramFolder program;
    FakePlatform platform(program.path());
    frmAbout2 about(platform, englishTexts());
    stopTimer(&about);

    tick(&about, 418);
    QCOMPARE(panelTop(&about), -1980.0);
    QCOMPARE(about.pauseTicks(), 0);
    tick(&about, 120);
    QCOMPARE(panelTop(&about), -1980.0);
    QCOMPARE(about.pauseTicks(), 120);
    tick(&about, 1);
    QCOMPARE(panelTop(&about), -1990.0);
    tick(&about, 253);
    QCOMPARE(panelTop(&about), 2200.0);
    QCOMPARE(about.pauseTicks(), 0);
    // The panel really moves on screen, in whole pixels of its twips position.
    QCOMPARE(child(&about, QStringLiteral("Picture2"))->y(), twipsToPixels(2200));
    tick(&about, 418);
    QCOMPARE(child(&about, QStringLiteral("Picture2"))->y(), twipsToPixels(-1980));
}

void TestAbout::eachOpeningStartsAfresh()
{
    ProgramFolder program;
    FakePlatform platform(program.path());
    Form1 form(platform);
    QAction *info = form.findChild<QAction *>(QStringLiteral("mnuInfo"));

    info->trigger();
    QPointer<frmAbout2> first = openAbout();
    QVERIFY(first);
    stopTimer(first);
    tick(first, 500);
    QCOMPARE(first->pauseTicks(), 82);
    QTest::keyClick(child(first, QStringLiteral("Picture1")), Qt::Key_Escape);
    flushDeletes();
    QVERIFY2(!first, "a closed box is gone");
    QVERIFY(form.isVisible());

    info->trigger();
    frmAbout2 *second = openAbout();
    QVERIFY(second);
    QCOMPARE(panelTop(second), 2200.0);
    QCOMPARE(second->pauseTicks(), 0);
    QVERIFY(second->findChild<QTimer *>(QStringLiteral("Timer1"))->isActive());
    second->close();
}

void TestAbout::clicks_data()
{
    QTest::addColumn<QString>("control"); // empty: the window background
    QTest::addColumn<bool>("rightButton");
    QTest::addColumn<bool>("closes");
    QTest::newRow("background") << "" << false << true;
    QTest::newRow("title picture") << "imgTitle" << false << true;
    QTest::newRow("title") << "lblTitle" << false << true;
    QTest::newRow("release") << "lblVersion" << false << true;
    QTest::newRow("description") << "lblDescription" << false << true;
    QTest::newRow("credit line") << "lblCopyright" << false << true;
    QTest::newRow("viewport") << "Picture1" << false << false;
    QTest::newRow("panel") << "Picture2" << false << false;
    QTest::newRow("home page caption") << "lblHomePageCap" << false << false;
    QTest::newRow("panel picture") << "Image1" << false << false;
    QTest::newRow("right button on title") << "lblTitle" << true << false;
}

void TestAbout::clicks()
{
    QFETCH(QString, control);
    QFETCH(bool, rightButton);
    QFETCH(bool, closes);
    ProgramFolder program;
    FakePlatform platform(program.path());
    Form1 form(platform);
    form.findChild<QAction *>(QStringLiteral("mnuInfo"))->trigger();
    QPointer<frmAbout2> about = openAbout();
    QVERIFY(about);
    QSignalSpy unloaded(about.data(), &frmAbout2::unloaded);
    QTimer *timer = about->findChild<QTimer *>(QStringLiteral("Timer1"));
    const Qt::MouseButton button = rightButton ? Qt::RightButton : Qt::LeftButton;

    if (control.isEmpty())
        QTest::mouseClick(about, button, {}, QPoint(5, 5));
    else
        QTest::mouseClick(child(about, control), button);

    if (!closes) {
        QVERIFY(about->isVisible());
        QVERIFY(!form.isVisible());
        QVERIFY(timer->isActive());
        about->close();
        return;
    }
    QCOMPARE(unloaded.size(), 1);
    QVERIFY(!timer->isActive());
    QVERIFY(!about->isVisible());
    QVERIFY(form.isVisible());
    flushDeletes();
    QVERIFY(!about);
    QVERIFY(platform.opened.isEmpty());
}

void TestAbout::escapeOnlyInViewport()
{
    ProgramFolder program;
    FakePlatform platform(program.path());
    Form1 form(platform);
    form.findChild<QAction *>(QStringLiteral("mnuInfo"))->trigger();
    frmAbout2 *about = openAbout();
    QVERIFY(about);
    QWidget *viewport = child(about, QStringLiteral("Picture1"));
    QCOMPARE(viewport->focusPolicy(), Qt::StrongFocus);

    QTest::keyClick(about, Qt::Key_Escape);
    QTest::keyClick(child(about, QStringLiteral("lblTitle")), Qt::Key_Escape);
    QTest::keyClick(viewport, Qt::Key_Return);
    QVERIFY(about->isVisible());
    QVERIFY(!form.isVisible());

    QTest::keyClick(viewport, Qt::Key_Escape);
    QVERIFY(!about->isVisible());
    QVERIFY(form.isVisible());
}

void TestAbout::homePageLink()
{
    ProgramFolder program;
    FakePlatform platform(program.path());
    Form1 form(platform);
    form.findChild<QAction *>(QStringLiteral("mnuInfo"))->trigger();
    frmAbout2 *about = openAbout();
    QVERIFY(about);
    QWidget *link = child(about, QStringLiteral("lblHomePage"));
    QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(link, Qt::LeftButton);
    QTest::mouseClick(link, Qt::LeftButton);

    QCOMPARE(platform.opened,
        (QList<QUrl> { QUrl(QStringLiteral("http://www.kalmora.example/")),
            QUrl(QStringLiteral("http://www.kalmora.example/")) }));
    QVERIFY(about->isVisible());

    // No handler for the address: nothing is said and the box stays.
    platform.openResult = false;
    QTest::mouseClick(link, Qt::LeftButton);
    QVERIFY(platform.messages.isEmpty());
    QVERIFY(about->isVisible());
    about->close();
}

void TestAbout::windowCloseButton()
{
    ProgramFolder program;
    FakePlatform platform(program.path());
    Form1 form(platform);
    QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
    form.findChild<QAction *>(QStringLiteral("mnuInfo"))->trigger();
    frmAbout2 *about = openAbout();
    QVERIFY(about);
    QVERIFY(about->close());
    QVERIFY(form.isVisible());
    QCoreApplication::processEvents();
    QCOMPARE(lastClosed.size(), 0);
}

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
