#include "fakeplatform.h"
#include "i18n/texttable.h"
#include "testhttpserver.h"
#include "web/updatecheck.h"
#include "web/versionfetch.h"

#include <QTest>

class TestUpdateCheck : public QObject
{
    Q_OBJECT
private slots:
    void fetchFailures_data()
    {
        QTest::addColumn<QByteArray>("response");
        QTest::addColumn<int>("msPerByte");
        QTest::newRow("one byte over 64 KiB")
            << TestHttpServer::answer(QByteArray(64 * 1024 + 1, '1')) << 0;
        QTest::newRow("10 MB without a length")
            << "HTTP/1.1 200 OK\r\n\r\n" + QByteArray(10 * 1024 * 1024, '9') << 0;
        // Header lines count against the limit too, whatever the body.
        QTest::newRow("70 KiB of header lines")
            << "HTTP/1.1 200 OK\r\n" + ("X-Pad: " + QByteArray(1015, 'x') + "\r\n").repeated(70)
                + "Content-Length: 9\r\n\r\n999000000"
            << 0;
        QTest::newRow("redirect loop")
            << QByteArray("HTTP/1.1 302 Found\r\nLocation: /ver.txt\r\n\r\n") << 0;
        // A newer version, one byte every 50 ms: it would be whole well after the deadline.
        QTest::newRow("slow") << TestHttpServer::answer("999000000") << 50;
    }
    void fetchFailures()
    {
        QFETCH(QByteArray, response);
        QFETCH(int, msPerByte);
        TestHttpServer server(response, msPerByte);
        const FetchLimits limits { 1000 };
        QCOMPARE(fetchVersionText(server.url(), limits), std::nullopt);
        // At most the allowed hops, each perhaps sent twice when Qt retries a closed connection.
        QVERIFY(server.requests >= 1 && server.requests <= 2 * (1 + limits.maxRedirects));
    }
    // A redirect to another host (here another name and port of this machine) is not followed.
    void otherHostNotFollowed()
    {
        TestHttpServer other(TestHttpServer::answer("999000000"));
        TestHttpServer server("HTTP/1.1 302 Found\r\nLocation: http://localhost:"
            + QByteArray::number(other.url().port()) + "/ver.txt\r\n\r\n");
        QCOMPARE(fetchVersionText(server.url()), std::nullopt);
        QCOMPARE(other.requests, 0);
    }
    // Qt asks libproxy here, which fetches the automatic proxy script before it answers: a
    // script server that never answers costs the check its time limit, the loop still running.
    void silentProxyScript()
    {
        QTcpServer script;
        script.listen(QHostAddress::LocalHost);
        const QByteArray saved = qgetenv("http_proxy");
        qputenv("http_proxy",
            "pac+http://127.0.0.1:" + QByteArray::number(script.serverPort()) + "/p.pac");
        bool looped = false;
        QTimer::singleShot(200, this, [&] { looped = true; });
        const QDeadlineTimer bound(1000 + 3000);
        const QUrl away(QStringLiteral("http://update.example.invalid/ver.txt"));
        const std::optional<QString> text = fetchVersionText(away, FetchLimits { 1000 });
        saved.isNull() ? qunsetenv("http_proxy") : qputenv("http_proxy", saved);
        QCOMPARE(text, std::nullopt);
        QVERIFY(!bound.hasExpired());
        QVERIFY(looped);
    }
    void offer_data()
    {
        QTest::addColumn<QByteArray>("published");
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("newer");
        QTest::newRow("newer") << QByteArray("001000001") << 200 << true;
        QTest::newRow("the same") << localVersionText().toLatin1() << 200 << false;
        QTest::newRow("older") << QByteArray("000999999") << 200 << false;
        QTest::newRow("newer on an error page") << QByteArray("999000000") << 500 << false;
        // Only nine digits name a release.
        QTest::newRow("ten digits") << QByteArray("9990000000") << 200 << false;
    }
    void offer()
    {
        QFETCH(QByteArray, published);
        QFETCH(int, status);
        TestHttpServer server(TestHttpServer::answer(published, status));
        QTEST(newerReleasePublished(server.url()), "newer");
    }
};

QTEST_MAIN(TestUpdateCheck)
#include "tst_updatecheck.moc"
