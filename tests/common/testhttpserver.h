#pragma once

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

// An HTTP server on 127.0.0.1 answering every request with the same bytes, at once or slowly.
// It runs in the test's thread: the client's local event loop serves it while it waits.
class TestHttpServer : public QObject
{
public:
    explicit TestHttpServer(const QByteArray &response, int msPerByte = 0)
    {
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, [this, response, msPerByte] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket,
                    [=, this, head = QByteArray()]() mutable {
                        head += socket->readAll();
                        if (!head.contains("\r\n\r\n"))
                            return;
                        head.clear();
                        ++requests;
                        if (msPerByte == 0) {
                            socket->write(response);
                            socket->disconnectFromHost();
                            return;
                        }
                        auto *timer = new QTimer(socket);
                        connect(timer, &QTimer::timeout, socket,
                            [=, sent = 0]() mutable { socket->write(response.mid(sent++, 1)); });
                        timer->start(msPerByte);
                    });
            }
        });
    }

    static QByteArray answer(const QByteArray &body, int status = 200)
    {
        return "HTTP/1.1 " + QByteArray::number(status) + " Status\r\nContent-Length: "
            + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
    }

    QUrl url() const
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1/ver.txt").arg(m_server.serverPort()));
    }

    int requests = 0;

private:
    QTcpServer m_server;
};
