#include "fakeplatform.h"
#include "i18n/texttable.h"
#include "web/frmabout2.h"
#include "web/links.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

// An open About box whose timer is stopped, so only the test moves the panel.
struct AboutBox
{
    AboutBox()
    {
        about.show();
        about.findChild<QTimer *>("Timer1")->stop();
    }
    QWidget *child(const QString &name) const { return about.findChild<QWidget *>(name); }

    FakePlatform platform { QString {} };
    frmAbout2 about { platform, TextTable() };
    QSignalSpy unloaded { &about, &frmAbout2::unloaded };
};

} // namespace

class TestAbout : public QObject
{
    Q_OBJECT
private slots:
    void scrollStep_data()
    {
        QTest::addColumn<double>("viewport");
        QTest::addColumn<double>("startTop");
        QTest::addColumn<int>("startPause");
        QTest::addColumn<double>("top");
        QTest::addColumn<int>("pause");
        // A 4515-twip panel rises until its end is in view, rests 120 ticks, rises out, restarts.
        QTest::newRow("rises to its end") << 2535.0 << -1970.0 << 0 << -1980.0 << 0;
        QTest::newRow("rests") << 2535.0 << -1980.0 << 119 << -1980.0 << 120;
        QTest::newRow("moves on after 120") << 2535.0 << -1980.0 << 120 << -1990.0 << 121;
        QTest::newRow("wraps below") << 2535.0 << -4510.0 << 373 << 2200.0 << 0;
        QTest::newRow("at minus height keeps going") << 2535.0 << -4505.0 << 200 << -4515.0 << 201;
        QTest::newRow("pause in single precision") << 2534.99999 << -1980.0 << 0 << -1980.0 << 1;
        QTest::newRow("pause count saturates") << 2535.0 << -1980.0 << 32767 << -1990.0 << 32767;
    }
    void scrollStep()
    {
        QFETCH(double, viewport);
        QFETCH(double, startTop);
        QFETCH(int, startPause);
        QFETCH(double, top);
        QFETCH(int, pause);
        AboutScroll scroll { startTop, int16_t(startPause) };
        scroll.step(viewport, 4515);
        QCOMPARE(scroll.top, top);
        QCOMPARE(scroll.PauseTicks, pause);
    }
    void clicks_data()
    {
        QTest::addColumn<QString>("control"); // empty: the window background
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<QList<QUrl>>("opened");
        const QList<QUrl> none;
        QTest::newRow("background") << "" << Qt::LeftButton << true << none;
        QTest::newRow("release") << "lblVersion" << Qt::LeftButton << true << none;
        QTest::newRow("right button on background") << "" << Qt::RightButton << false << none;
        QTest::newRow("right button on title") << "lblTitle" << Qt::RightButton << false << none;
        QTest::newRow("viewport") << "Picture1" << Qt::LeftButton << false << none;
        QTest::newRow("home page")
            << "lblHomePage" << Qt::LeftButton << false << QList { webPageAddress(WebPage::Home) };
    }
    void clicks()
    {
        QFETCH(QString, control);
        QFETCH(Qt::MouseButton, button);
        QFETCH(bool, closes);
        QFETCH(QList<QUrl>, opened);
        AboutBox box;
        QWidget *target = control.isEmpty() ? &box.about : box.child(control);
        QTest::mouseClick(target, button, {}, control.isEmpty() ? QPoint(5, 5) : QPoint());

        QCOMPARE(box.unloaded.size(), closes ? 1 : 0);
        QCOMPARE(box.about.isVisible(), !closes);
        QCOMPARE(box.platform.opened, opened);
    }
    void onlyEscapeInTheViewportCloses()
    {
        AboutBox box;
        QTest::keyClick(box.child("lblTitle"), Qt::Key_Escape);
        QTest::keyClick(box.child("Picture1"), Qt::Key_Return);
        QCOMPARE(box.unloaded.size(), 0);
        QTest::keyClick(box.child("Picture1"), Qt::Key_Escape);
        QCOMPARE(box.unloaded.size(), 1);
        QVERIFY(!box.about.isVisible());
    }
};

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
