#include "versionfetch.h"

#include <QEventLoop>
#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

namespace {

// The desktop's proxy settings, except for this machine itself.
class SystemProxyFactory : public QNetworkProxyFactory
{
public:
    QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery &query) override
    {
        if (QHostAddress(query.peerHostName()).isLoopback()
            || query.peerHostName().compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
            return { QNetworkProxy(QNetworkProxy::NoProxy) };
        return systemProxyForQuery(query);
    }
};

} // namespace

std::optional<QString> fetchVersionText(const QUrl &address, const FetchLimits &limits)
{
    if (!address.isValid() || address.isEmpty())
        return std::nullopt;

    QNetworkAccessManager manager;
    manager.setProxyFactory(new SystemProxyFactory);

    QNetworkRequest request(address);
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("VB OpenUrl"));
    request.setAttribute(
        QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(
        QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(limits.maxRedirects);

    QNetworkReply *reply = manager.get(request);
    // The reply stops reading from the socket once its buffer is full, so an endless answer
    // never piles up in memory; one byte over the limit is enough to know it is too long.
    reply->setReadBufferSize(limits.maxBytes + 1);

    QEventLoop loop;
    bool failed = false;
    auto giveUp = [&] {
        failed = true;
        reply->abort();
    };
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    // The answer comes from the maker's own server: a redirect elsewhere ends the check
    // before it is followed.
    QObject::connect(reply, &QNetworkReply::redirected, &loop, [&](const QUrl &target) {
        if (target.scheme() != address.scheme() || target.host() != address.host()
            || target.port() != address.port())
            giveUp();
    });
    QObject::connect(reply, &QNetworkReply::metaDataChanged, &loop, [&] {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > limits.maxBytes)
            giveUp();
    });
    QObject::connect(reply, &QNetworkReply::readyRead, &loop, [&] {
        if (reply->bytesAvailable() > limits.maxBytes)
            giveUp();
    });
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, giveUp);
    deadline.start(limits.timeoutMs);

    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    deadline.stop();

    std::optional<QString> text;
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    // A loop ended from outside (the application quitting) leaves the reply unfinished, and
    // the first nine characters of a longer answer must not pass for the whole of it.
    if (!failed && reply->isFinished() && reply->error() == QNetworkReply::NoError && status >= 200
        && status < 300 && reply->bytesAvailable() <= limits.maxBytes)
        text = QString::fromLatin1(reply->readAll());
    delete reply;
    return text;
}
