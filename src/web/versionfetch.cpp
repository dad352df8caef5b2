#include "versionfetch.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFutureWatcher>
#include <QHostAddress>
#include <QNetworkProxyFactory>
#include <QPromise>
#include <QSslSocket>
#include <QTimer>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>

namespace {

// Lookups still running. Plain storage with nothing to destroy, so a lookup thread left running
// may count itself out even while the program ends.
std::atomic<int> runningLookups { 0 };

struct Answer
{
    int status = 0;
    QByteArray location;
    QByteArray body;
};

bool isLoopback(const QUrl &address)
{
    return QHostAddress(address.host()).isLoopback()
        || address.host().compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0;
}

int defaultPort(const QUrl &address)
{
    return address.port(address.scheme() == QLatin1String("https") ? 443 : 80);
}

// The desktop's proxy for the address, or nothing when the lookup has not answered by the
// deadline. Automatic configuration makes Qt fetch a script first and wait for it without any
// limit, so the lookup runs on a thread of its own that is left to end by itself when given up.
std::optional<QNetworkProxy> lookUpProxy(const QUrl &address, const QDeadlineTimer &deadline)
{
    if (isLoopback(address))
        return QNetworkProxy(QNetworkProxy::NoProxy);
    QPromise<QNetworkProxy> promise;
    QFutureWatcher<QNetworkProxy> watcher;
    watcher.setFuture(promise.future());
    runningLookups.fetch_add(1);
    std::thread([promise = std::move(promise), address]() mutable {
        promise.start();
        promise.addResult(
            QNetworkProxyFactory::systemProxyForQuery(QNetworkProxyQuery(address)).value(0));
        runningLookups.fetch_sub(1);
        promise.finish();
    }).detach();

    QEventLoop loop;
    QObject::connect(&watcher, &QFutureWatcherBase::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(
        int(std::max<qint64>(0, deadline.remainingTime())), &loop, &QEventLoop::quit);
    if (!watcher.isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (!watcher.future().isResultReadyAt(0))
        return std::nullopt;
    return watcher.future().result();
}

// The status line and the headers that matter; nothing when the head is not HTTP or the body
// does not match its announced length.
std::optional<Answer> parseAnswer(const QByteArray &bytes, qsizetype headEnd)
{
    const QList<QByteArray> lines = bytes.left(headEnd).split('\n');
    const QList<QByteArray> statusLine = lines.value(0).trimmed().split(' ');
    if (statusLine.size() < 2 || !statusLine[0].startsWith("HTTP/1."))
        return std::nullopt;
    Answer answer;
    bool ok = false;
    answer.status = statusLine[1].toInt(&ok);
    if (!ok)
        return std::nullopt;
    answer.body = bytes.mid(headEnd + 4);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        const QByteArray name = lines[i].left(colon).trimmed().toLower();
        const QByteArray value = lines[i].mid(colon + 1).trimmed();
        if (name == "location")
            answer.location = value;
        else if (name == "content-length" && value.toLongLong() != answer.body.size())
            return std::nullopt; // cut short
        else if (name == "transfer-encoding")
            return std::nullopt; // not offered to an HTTP/1.0 client
    }
    return answer;
}

// One request and its whole answer, the head counted against the byte limit like the body.
std::optional<Answer> exchange(
    const QUrl &address, const FetchLimits &limits, const QDeadlineTimer &deadline)
{
    const bool secure = address.scheme() == QLatin1String("https");
    if (!secure && address.scheme() != QLatin1String("http"))
        return std::nullopt;
    // The desktop's proxy settings, except for this machine itself. A web proxy takes a plain
    // request with the whole address; anything else is a tunnel the socket goes through.
    const std::optional<QNetworkProxy> proxy = lookUpProxy(address, deadline);
    if (!proxy)
        return std::nullopt;
    std::unique_ptr<QTcpSocket> socket
        = secure ? std::make_unique<QSslSocket>() : std::make_unique<QTcpSocket>();

    QByteArray target
        = address.toEncoded(QUrl::RemoveScheme | QUrl::RemoveAuthority | QUrl::RemoveFragment);
    if (target.isEmpty())
        target = "/";
    QString host = address.host();
    int port = defaultPort(address);
    if (proxy->type() == QNetworkProxy::HttpProxy && !secure) {
        target = address.toEncoded(QUrl::RemoveUserInfo | QUrl::RemoveFragment);
        host = proxy->hostName();
        port = proxy->port();
        socket->setProxy(QNetworkProxy::NoProxy);
    } else {
        socket->setProxy(*proxy);
    }
    const QByteArray hostHeader = address.host(QUrl::FullyEncoded).toLatin1()
        + (address.port() > 0 ? ':' + QByteArray::number(address.port()) : QByteArray());
    const QByteArray request = "GET " + target + " HTTP/1.0\r\nHost: " + hostHeader
        + "\r\nUser-Agent: VB OpenUrl\r\nCache-Control: no-cache\r\nConnection: close\r\n\r\n";

    QEventLoop loop;
    QByteArray received;
    bool complete = false;
    auto finish = [&](bool whole) {
        complete = whole;
        loop.quit();
    };
    // One byte over the limit is enough to know the answer is too long.
    auto take = [&] {
        received += socket->read(limits.maxBytes + 1 - received.size());
        return received.size() <= limits.maxBytes;
    };
    QObject::connect(socket.get(), &QTcpSocket::readyRead, &loop, [&] {
        if (!take())
            finish(false);
    });
    // The server closing the connection ends an HTTP/1.0 answer.
    QObject::connect(socket.get(), &QTcpSocket::disconnected, &loop, [&] { finish(take()); });
    QObject::connect(socket.get(), &QAbstractSocket::errorOccurred, &loop,
        [&](QAbstractSocket::SocketError error) {
            finish(error == QAbstractSocket::RemoteHostClosedError && take());
        });
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, [&] { finish(false); });
    timer.start(std::max<qint64>(0, deadline.remainingTime()));

    if (secure) {
        auto *ssl = static_cast<QSslSocket *>(socket.get());
        QObject::connect(ssl, &QSslSocket::encrypted, &loop, [&] { ssl->write(request); });
        ssl->connectToHostEncrypted(host, quint16(port));
    } else {
        QObject::connect(
            socket.get(), &QTcpSocket::connected, &loop, [&] { socket->write(request); });
        socket->connectToHost(host, quint16(port));
    }
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    socket->disconnect(&loop);
    socket->abort();

    const qsizetype headEnd = received.indexOf("\r\n\r\n");
    if (!complete || headEnd < 0)
        return std::nullopt;
    return parseAnswer(received, headEnd);
}

} // namespace

std::optional<QString> fetchVersionText(const QUrl &address, const FetchLimits &limits)
{
    if (!address.isValid() || address.isEmpty())
        return std::nullopt;
    const QDeadlineTimer deadline(limits.timeoutMs);
    QUrl current = address;
    for (int hops = 0;; ++hops) {
        const std::optional<Answer> answer = exchange(current, limits, deadline);
        if (!answer)
            return std::nullopt;
        if (answer->status >= 300 && answer->status < 400 && !answer->location.isEmpty()) {
            // The answer comes from the maker's own server: a redirect elsewhere ends the check.
            const QUrl target = current.resolved(QUrl::fromEncoded(answer->location));
            if (hops == limits.maxRedirects || target.scheme() != address.scheme()
                || target.host() != address.host() || defaultPort(target) != defaultPort(address))
                return std::nullopt;
            current = target;
            continue;
        }
        if (answer->status < 200 || answer->status >= 300)
            return std::nullopt;
        return QString::fromLatin1(answer->body);
    }
}

int endProgram(int exitCode)
{
    if (runningLookups.load() > 0) {
        std::fflush(nullptr);
        std::_Exit(exitCode);
    }
    return exitCode;
}
