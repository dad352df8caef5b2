#include "app/form1.h"
#include "fakeplatform.h"
#include "platform/qtplatform.h"
#include "programfolder.h"
#include "web/links.h"

#include <QAction>
#include <QTest>
#include <QTimer>

class TestLinks : public QObject
{
    Q_OBJECT
private slots:
    void addresses_data();
    void addresses();
    void menuCommands_data();
    void menuCommands();
    void repeatedClicksOpenAgain();
    void missingReleaseNotesAreSilent();
    void noHandlerIsSilent();
    void releaseNotesInUnusualFolder();
    void programUsesTheConstantUpdateAddress();
    void endingBeforeTheMainLoopStarts();
    void endingInsideTheMainLoop();
};

void TestLinks::addresses_data()
{
    QTest::addColumn<QUrl>("address");
    QTest::addColumn<QString>("expected");
    QTest::newRow("languages") << webPageAddress(WebPage::Languages)
                               << "http://www.kalmora.example/languages.html";
    QTest::newRow("program") << webPageAddress(WebPage::Program)
                             << "http://www.kalmora.example/kalmora.html";
    QTest::newRow("donate") << webPageAddress(WebPage::Donate)
                            << "http://www.kalmora.example/donate.html";
    QTest::newRow("home") << webPageAddress(WebPage::Home) << "http://www.kalmora.example/";
    QTest::newRow("update file") << updateFileAddress()
                                 << "http://www.kalmora.example/Software/ver_klm.txt";
}

void TestLinks::addresses()
{
    QFETCH(QUrl, address);
    QFETCH(QString, expected);
    QVERIFY(address.isValid());
    QCOMPARE(address.toString(), expected);
}

void TestLinks::menuCommands_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("opens"); // relative to the program folder when it has no scheme
    QTest::newRow("add a language") << "mnuAddLang"
                                    << "http://www.kalmora.example/languages.html";
    QTest::newRow("donate") << "mnuDonate"
                            << "http://www.kalmora.example/donate.html";
    QTest::newRow("check update") << "mnuCheckUpdate"
                                  << "http://www.kalmora.example/kalmora.html";
    QTest::newRow("release notes") << "mnuRelease"
                                   << "Versioni.txt";
}

void TestLinks::menuCommands()
{
    QFETCH(QString, action);
    QFETCH(QString, opens);
    ProgramFolder program;
    FakePlatform platform(program.path());
    Form1 form(platform);
    form.findChild<QAction *>(action)->trigger();

    const QUrl expected = opens.startsWith(QLatin1String("http:"))
        ? QUrl(opens)
        : QUrl::fromLocalFile(program.path() + u'/' + opens);
    QCOMPARE(platform.opened, QList<QUrl> { expected });
    QVERIFY(platform.messages.isEmpty());
    QCOMPARE(platform.endCalls, 0);
    QVERIFY(form.isVisible());
}

void TestLinks::repeatedClicksOpenAgain()
{
    ProgramFolder program;
    FakePlatform platform(program.path());
    Form1 form(platform);
    for (int i = 0; i < 3; ++i) {
        form.findChild<QAction *>(QStringLiteral("mnuDonate"))->trigger();
        form.findChild<QAction *>(QStringLiteral("mnuRelease"))->trigger();
    }
    QCOMPARE(platform.opened.size(), 6);
    QCOMPARE(
        platform.opened.count(QUrl(QStringLiteral("http://www.kalmora.example/donate.html"))), 3);
}

void TestLinks::missingReleaseNotesAreSilent()
{
    ProgramFolder program;
    QVERIFY(QFile::remove(program.path() + "/Versioni.txt"));
    FakePlatform platform(program.path());
    Form1 form(platform);
    form.findChild<QAction *>(QStringLiteral("mnuRelease"))->trigger();
    QVERIFY(platform.opened.isEmpty());
    QVERIFY(platform.messages.isEmpty());
    QVERIFY(!openReleaseNotes(platform));

    // A folder of that name is not the release notes either.
    QVERIFY(QDir().mkpath(program.path() + "/Versioni.txt"));
    form.findChild<QAction *>(QStringLiteral("mnuRelease"))->trigger();
    QVERIFY(platform.opened.isEmpty());
}

void TestLinks::noHandlerIsSilent()
{
    ProgramFolder program;
    FakePlatform platform(program.path());
    platform.openResult = false;
    Form1 form(platform);
    for (const char *name : { "mnuAddLang", "mnuDonate", "mnuCheckUpdate", "mnuRelease" })
        form.findChild<QAction *>(QString::fromLatin1(name))->trigger();
    QCOMPARE(platform.opened.size(), 4);
    QVERIFY(platform.messages.isEmpty());
    QVERIFY(form.isVisible());
}

void TestLinks::releaseNotesInUnusualFolder()
{
    QTemporaryDir top;
    const QString folder = top.path() + QStringLiteral("/Mes programmes #1 (åäö)");
    QVERIFY(QDir().mkpath(folder));
    QFile notes(folder + "/Versioni.txt");
    QVERIFY(notes.open(QIODevice::WriteOnly));
    notes.close();
    FakePlatform platform(folder);
    QVERIFY(openReleaseNotes(platform));
    QCOMPARE(platform.opened.size(), 1);
    QVERIFY(platform.opened.first().isLocalFile());
    QCOMPARE(platform.opened.first().toLocalFile(), folder + "/Versioni.txt");
}

void TestLinks::programUsesTheConstantUpdateAddress()
{
    QtPlatform platform;
    QCOMPARE(platform.updateAddress(), updateFileAddress());
}

// Accepting the update offer at start-up ends the program before its main loop runs.
void TestLinks::endingBeforeTheMainLoopStarts()
{
    QtPlatform platform;
    platform.endProgram();
    // Hangs here (and the test times out) if the request to end were forgotten.
    QCOMPARE(QCoreApplication::exec(), 0);
}

void TestLinks::endingInsideTheMainLoop()
{
    QtPlatform platform;
    bool after = false;
    QTimer::singleShot(0, qApp, [&] {
        platform.endProgram();
        after = true;
    });
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(after);
}

QTEST_MAIN(TestLinks)
#include "tst_links.moc"
