#include "app/aboutbox.h"
#include "fakeplatform.h"
#include "i18n/texttable.h"
#include "web/links.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

// An open About box whose timer is stopped, so only the test moves the panel.
struct OpenAboutBox
{
    OpenAboutBox()
    {
        about.show();
        about.findChild<QTimer *>("scrollTimer")->stop();
    }
    QWidget *child(const QString &name) const { return about.findChild<QWidget *>(name); }

    FakePlatform platform { QString {} };
    AboutBox about { platform, TextTable() };
    QSignalSpy unloaded { &about, &AboutBox::unloaded };
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
        QTest::newRow("wraps below") << 2535.0 << -4510.0 << 373 << 2200.0 << 0;
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
        QCOMPARE(scroll.pauseTicks, pause);
    }
    void clicks_data()
    {
        QTest::addColumn<QString>("control"); // empty: the window background
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<QList<QUrl>>("opened");
        const QList<QUrl> none;
        QTest::newRow("background") << "" << Qt::LeftButton << true << none;
        QTest::newRow("right button on background") << "" << Qt::RightButton << false << none;
        QTest::newRow("viewport") << "viewport" << Qt::LeftButton << false << none;
        QTest::newRow("home page")
            << "homePageLink" << Qt::LeftButton << false << QList { webPageAddress(WebPage::Home) };
    }
    void clicks()
    {
        QFETCH(QString, control);
        QFETCH(Qt::MouseButton, button);
        QFETCH(bool, closes);
        QFETCH(QList<QUrl>, opened);
        OpenAboutBox box;
        QWidget *target = control.isEmpty() ? &box.about : box.child(control);
        QTest::mouseClick(target, button, {}, control.isEmpty() ? QPoint(5, 5) : QPoint());

        QCOMPARE(box.unloaded.size(), closes ? 1 : 0);
        QCOMPARE(box.about.isVisible(), !closes);
        QCOMPARE(box.platform.opened, opened);
    }
    void onlyEscapeInTheViewportCloses()
    {
        OpenAboutBox box;
        QTest::keyClick(box.child("titleLabel"), Qt::Key_Escape);
        QTest::keyClick(box.child("viewport"), Qt::Key_Return);
        QCOMPARE(box.unloaded.size(), 0);
        QTest::keyClick(box.child("viewport"), Qt::Key_Escape);
        QCOMPARE(box.unloaded.size(), 1);
        QVERIFY(!box.about.isVisible());
    }
};

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
