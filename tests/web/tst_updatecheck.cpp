#include "app/form1.h"
#include "fakeplatform.h"
#include "i18n/texttable.h"
#include "programfolder.h"
#include "testhttpserver.h"
#include "web/links.h"
#include "web/updatecheck.h"
#include "web/version.h"
#include "web/versionfetch.h"

#include <QTest>

using Behaviour = TestHttpServer::Behaviour;
Q_DECLARE_METATYPE(TestHttpServer::Behaviour)

namespace {

// Short limits keep the failing cases quick; the window's own check uses the real ones.
FetchLimits quickLimits()
{
    FetchLimits limits;
    limits.timeoutMs = 1500;
    return limits;
}

QByteArray headerValue(const QByteArray &head, const QByteArray &name)
{
    const QList<QByteArray> lines = head.split('\n');
    for (const QByteArray &line : lines) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed().toLower() == name.toLower())
            return line.mid(colon + 1).trimmed();
    }
    return {};
}

} // namespace

class TestUpdateCheck : public QObject
{
    Q_OBJECT
private slots:
    void versionText_data();
    void versionText();
    void programVersionText();
    void newerRelease_data();
    void newerRelease();
    void question_data();
    void question();

    void fetchAnswers_data();
    void fetchAnswers();
    void fetchFailures_data();
    void fetchFailures();
    void requestHeaders();
    void loopEndedFromOutside();
    void unreachable_data();
    void unreachable();

    void startUpOffer_data();
    void startUpOffer();
    void answeringTheOffer_data();
    void answeringTheOffer();
    void startUpNeverWaitsForSilentServer_data();
    void startUpNeverWaitsForSilentServer();
};

void TestUpdateCheck::versionText_data()
{
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("revision");
    QTest::addColumn<QString>("text");
    QTest::newRow("1.0.0") << 1 << 0 << 0 << "001000000";
    QTest::newRow("1.2.15") << 1 << 2 << 15 << "001002015";
    QTest::newRow("999.999.999") << 999 << 999 << 999 << "999999999";
    QTest::newRow("0.0.7") << 0 << 0 << 7 << "000000007";
    QTest::newRow("part wider than three digits") << 1 << 1000 << 0 << "0011000000";
}

void TestUpdateCheck::versionText()
{
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(int, revision);
    QFETCH(QString, text);
    QCOMPARE(localVersionText(uint16_t(major), uint16_t(minor), uint16_t(revision)), text);
}

void TestUpdateCheck::programVersionText()
{
    QCOMPARE(localVersionText(), QStringLiteral("001000000"));
    QCOMPARE(ProgramVersion::Major, 1);
    QCOMPARE(ProgramVersion::Minor, 0);
    QCOMPARE(ProgramVersion::Revision, 0);
}

void TestUpdateCheck::newerRelease_data()
{
    QTest::addColumn<QString>("remote");
    QTest::addColumn<QString>("local");
    QTest::addColumn<bool>("newer");
    QTest::newRow("next revision") << "001002016"
                                   << "001002015" << true;
    QTest::newRow("equal") << "001002015"
                           << "001002015" << false;
    QTest::newRow("older") << "001001999"
                           << "001002015" << false;
    QTest::newRow("next major") << "002000000"
                                << "001999999" << true;
    QTest::newRow("revision above 99") << "001000100"
                                       << "001000099" << true;
    QTest::newRow("trailing line break") << "001002016\r\n"
                                         << "001002015" << false;
    QTest::newRow("trailing LF") << "001002016\n"
                                 << "001002015" << false;
    QTest::newRow("eight digits") << "00100201"
                                  << "001002015" << false;
    QTest::newRow("empty") << ""
                           << "001002015" << false;
    QTest::newRow("letters") << "abcdefghi"
                             << "001000000" << false;
    QTest::newRow("blanks") << "         "
                            << "001000000" << false;
    QTest::newRow("digit then letter") << "00100000a"
                                       << "001000000" << false;
    QTest::newRow("html") << "<html>hi!"
                          << "001000000" << false;
    QTest::newRow("non-ASCII digits")
        << QString::fromUtf8("\u0661\u0661\u0661\u0661\u0661\u0661\u0661\u0661\u0661")
        << "001000000" << false;
}

void TestUpdateCheck::newerRelease()
{
    QFETCH(QString, remote);
    QFETCH(QString, local);
    QFETCH(bool, newer);
    QCOMPARE(isNewerRelease(remote, local), newer);
}

void TestUpdateCheck::question_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("question");
    QTest::newRow("one marker") << "New version.<BR>Open the page?"
                                << "New version.\n\nOpen the page?";
    QTest::newRow("two markers") << "a<BR>b<BR>c"
                                 << "a\n\nb\n\nc";
    QTest::newRow("lower case kept") << "a<br>b"
                                     << "a<br>b";
    QTest::newRow("no marker") << "Open the page?"
                               << "Open the page?";
    QTest::newRow("marker only") << "<BR>"
                                 << "\n\n";
    QTest::newRow("empty") << ""
                           << "";
}

void TestUpdateCheck::question()
{
    QFETCH(QString, text);
    QFETCH(QString, question);
    QCOMPARE(updateQuestion(text), question);
}

void TestUpdateCheck::fetchAnswers_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::newRow("nine digits") << QByteArray("001000001");
    QTest::newRow("with line break") << QByteArray("001000001\r\n");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("exactly 64 KiB") << QByteArray(64 * 1024, '1');
}

void TestUpdateCheck::fetchAnswers()
{
    QFETCH(QByteArray, body);
    TestHttpServer server(Behaviour::Answer, body);
    QVERIFY(server.isListening());
    const std::optional<QString> text = fetchVersionText(server.url(), quickLimits());
    QVERIFY(text);
    QCOMPARE(*text, QString::fromLatin1(body));
}

void TestUpdateCheck::fetchFailures_data()
{
    QTest::addColumn<Behaviour>("behaviour");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("status");
    QTest::newRow("not found") << Behaviour::Answer << QByteArray("001000001") << 404;
    QTest::newRow("server error") << Behaviour::Answer << QByteArray("001000001") << 500;
    QTest::newRow("one byte over 64 KiB")
        << Behaviour::Answer << QByteArray(64 * 1024 + 1, '1') << 200;
    QTest::newRow("10 MB without length") << Behaviour::Endless << QByteArray() << 200;
    QTest::newRow("10 MB announced") << Behaviour::AnnouncedHuge << QByteArray() << 200;
    QTest::newRow("slow") << Behaviour::Trickle << QByteArray() << 200;
    QTest::newRow("never answers") << Behaviour::Silent << QByteArray() << 200;
    QTest::newRow("redirect loop") << Behaviour::RedirectLoop << QByteArray() << 200;
    QTest::newRow("hangs up") << Behaviour::HangUp << QByteArray() << 200;
    QTest::newRow("cut short") << Behaviour::CutShort << QByteArray() << 200;
    QTest::newRow("stalls after nine") << Behaviour::Stall << QByteArray() << 200;
}

void TestUpdateCheck::fetchFailures()
{
    QFETCH(Behaviour, behaviour);
    QFETCH(QByteArray, body);
    QFETCH(int, status);
    TestHttpServer server(behaviour, body, status);
    QVERIFY(server.isListening());
    QCOMPARE(fetchVersionText(server.url(), quickLimits()), std::optional<QString>());
    QVERIFY2(!server.requests.isEmpty() || behaviour == Behaviour::HangUp, "the server was asked");
    // Qt resends a request once when a reused connection turns out closed, so a hop can reach
    // the server twice; a loop that were followed without end would ask hundreds of times.
    if (behaviour == Behaviour::RedirectLoop)
        QVERIFY2(server.requests.size() <= 2 * (1 + FetchLimits().maxRedirects),
            QByteArray::number(server.requests.size()));
}

void TestUpdateCheck::requestHeaders()
{
    TestHttpServer server(Behaviour::Answer, "001000000");
    QVERIFY(fetchVersionText(server.url(), quickLimits()));
    QCOMPARE(server.requests.size(), 1);
    const QByteArray head = server.requests.first();
    QVERIFY2(head.startsWith("GET /Software/ver_klm.txt HTTP/1.1\r\n"), head.constData());
    QCOMPARE(headerValue(head, "User-Agent"), QByteArray("VB OpenUrl"));
    QCOMPARE(headerValue(head, "Cache-Control"), QByteArray("no-cache"));
}

void TestUpdateCheck::loopEndedFromOutside()
{
    TestHttpServer server(Behaviour::Stall);
    // The application quitting ends every event loop, the check's own included; run inside
    // the application's loop so that it is reset for the tests that follow.
    std::optional<QString> text = QStringLiteral("not run");
    QTimer::singleShot(0, qApp, [&] { text = fetchVersionText(server.url()); });
    QTimer::singleShot(300, qApp, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
    QCOMPARE(text, std::optional<QString>());
    QCOMPARE(server.requests.size(), 1);
}

void TestUpdateCheck::unreachable_data()
{
    QTest::addColumn<QUrl>("address");
    QTest::newRow("no address") << QUrl();
    QTest::newRow("unknown name") << QUrl(
        QStringLiteral("http://kalmora-update.invalid/Software/ver_klm.txt"));
    QTest::newRow("not HTTP") << QUrl(QStringLiteral("file:///etc/hostname"));
    QTest::newRow("refused") << QUrl(); // filled in below with a port nobody listens on
}

void TestUpdateCheck::unreachable()
{
    QFETCH(QUrl, address);
    if (QByteArray(QTest::currentDataTag()) == "refused") {
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        address = QUrl(
            QStringLiteral("http://127.0.0.1:%1/Software/ver_klm.txt").arg(closed.serverPort()));
        closed.close();
    }
    QCOMPARE(fetchVersionText(address, quickLimits()), std::optional<QString>());
}

void TestUpdateCheck::startUpOffer_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("offered");
    QTest::newRow("newer") << QByteArray("001000001") << true;
    QTest::newRow("much newer") << QByteArray("002000000") << true;
    QTest::newRow("equal") << QByteArray("001000000") << false;
    QTest::newRow("older") << QByteArray("000999999") << false;
    QTest::newRow("eleven characters") << QByteArray("001000001\r\n") << false;
    QTest::newRow("non-digits") << QByteArray("abcdefghi") << false;
    QTest::newRow("empty") << QByteArray() << false;
}

void TestUpdateCheck::startUpOffer()
{
    QFETCH(QByteArray, body);
    QFETCH(bool, offered);
    ProgramFolder program;
    FakePlatform platform(program.path());
    TestHttpServer server(Behaviour::Answer, body);
    platform.updateUrl = server.url();
    platform.answers.enqueue(MessageBoxAnswer::No);

    Form1 form(platform);

    QCOMPARE(server.requests.size(), 1);
    QCOMPARE(platform.messages.size(), offered ? 1 : 0);
    if (offered) {
        const FakePlatform::Message &message = platform.messages.first();
        QCOMPARE(message.text,
            QStringLiteral("A newer version of Kalmora is available.\n\n"
                           "Do you want to open its web page now?"));
        QCOMPARE(message.title, QStringLiteral("Update available"));
        QCOMPARE(message.style, MessageBoxStyle::Information | MessageBoxStyle::YesNo);
    }
    QVERIFY(platform.opened.isEmpty());
    QCOMPARE(platform.endCalls, 0);
    QVERIFY(form.isVisible());
}

void TestUpdateCheck::answeringTheOffer_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("yes opens the page and ends") << int(MessageBoxAnswer::Yes);
    QTest::newRow("no keeps running") << int(MessageBoxAnswer::No);
}

void TestUpdateCheck::answeringTheOffer()
{
    QFETCH(int, answer);
    ProgramFolder program;
    FakePlatform platform(program.path());
    TestHttpServer server(Behaviour::Answer, "001000001");
    platform.updateUrl = server.url();
    platform.answers.enqueue(answer);

    Form1 form(platform);

    QCOMPARE(platform.messages.size(), 1);
    if (answer == MessageBoxAnswer::Yes) {
        QCOMPARE(platform.opened,
            QList<QUrl> { QUrl(QStringLiteral("http://www.kalmora.example/kalmora.html")) });
        QCOMPARE(platform.endCalls, 1);
        return;
    }
    QVERIFY(platform.opened.isEmpty());
    QCOMPARE(platform.endCalls, 0);
    QVERIFY(form.isVisible());
    QVERIFY2(!QGuiApplication::overrideCursor(), "the hourglass is gone after start-up");
}

void TestUpdateCheck::startUpNeverWaitsForSilentServer_data()
{
    QTest::addColumn<Behaviour>("behaviour");
    QTest::newRow("never answers") << Behaviour::Silent;
    QTest::newRow("slow") << Behaviour::Trickle;
    QTest::newRow("10 MB") << Behaviour::Endless;
    QTest::newRow("redirect loop") << Behaviour::RedirectLoop;
}

void TestUpdateCheck::startUpNeverWaitsForSilentServer()
{
    QFETCH(Behaviour, behaviour);
    ProgramFolder program;
    FakePlatform platform(program.path());
    TestHttpServer server(behaviour);
    platform.updateUrl = server.url();

    // Returning at all is the point: the check gives up on its own deadline.
    Form1 form(platform);

    QVERIFY(!server.requests.isEmpty());
    QVERIFY(platform.messages.isEmpty());
    QVERIFY(platform.opened.isEmpty());
    QVERIFY(form.isVisible());
    QVERIFY(form.isEnabled());
}

QTEST_MAIN(TestUpdateCheck)
#include "tst_updatecheck.moc"
