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
    void clicks_data()
    {
        QTest::addColumn<QString>("control"); // empty: the window background
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<QList<QUrl>>("opened");
        const QList<QUrl> none;
        QTest::newRow("background") << "" << Qt::LeftButton << true << none;
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
