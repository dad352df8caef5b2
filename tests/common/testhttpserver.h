#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

#include <memory>

// A small HTTP server on 127.0.0.1 that answers every request the same, well or badly. It runs
// in the test's thread: the client's local event loop serves its sockets while it waits.
class TestHttpServer : public QObject
{
public:
    enum class Behaviour {
        Answer, // status line, Content-Length, body, then close
        Trickle, // announces a newer version text, then sends one byte of it a second
        Silent, // reads the request and never answers
        Endless, // 10 MB without a Content-Length
        AnnouncedHuge, // 10 MB with its Content-Length
        RedirectLoop, // sends every request back to itself
        HangUp, // closes the connection without a word
        CutShort, // announces nine bytes, sends four and closes
        Stall, // announces eleven bytes, sends a newer version's nine and waits
    };

    explicit TestHttpServer(Behaviour behaviour, const QByteArray &body = {}, int status = 200)
        : m_behaviour(behaviour)
        , m_body(body)
        , m_status(status)
    {
        m_server.listen(QHostAddress::LocalHost);
        QObject::connect(&m_server, &QTcpServer::newConnection, this, [this] { accept(); });
    }

    bool isListening() const { return m_server.isListening(); }

    QUrl url(const QString &path = QStringLiteral("/Software/ver_klm.txt")) const
    {
        QUrl address;
        address.setScheme(QStringLiteral("http"));
        address.setHost(QStringLiteral("127.0.0.1"));
        address.setPort(m_server.serverPort());
        address.setPath(path);
        return address;
    }

    // The head of every request received, in order.
    QList<QByteArray> requests;

private:
    void accept()
    {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            if (m_behaviour == Behaviour::HangUp) {
                socket->abort();
                socket->deleteLater();
                continue;
            }
            auto head = std::make_shared<QByteArray>();
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, head] {
                head->append(socket->readAll());
                const qsizetype end = head->indexOf("\r\n\r\n");
                if (end < 0)
                    return;
                requests.append(head->left(end));
                head->clear();
                respond(socket);
            });
        }
    }

    static QByteArray statusLine(int status)
    {
        return "HTTP/1.1 " + QByteArray::number(status) + (status == 200 ? " OK" : " Other")
            + "\r\n";
    }

    void respond(QTcpSocket *socket)
    {
        switch (m_behaviour) {
        case Behaviour::Answer:
            socket->write(statusLine(m_status)
                + "Content-Length: " + QByteArray::number(m_body.size())
                + "\r\nContent-Type: text/plain\r\nConnection: close\r\n\r\n" + m_body);
            socket->disconnectFromHost();
            break;
        case Behaviour::Trickle: {
            socket->write(statusLine(200) + "Content-Length: 9\r\n\r\n");
            auto *timer = new QTimer(socket);
            auto sent = std::make_shared<int>(0);
            QObject::connect(timer, &QTimer::timeout, socket, [socket, sent] {
                if (*sent < 9)
                    socket->write(QByteArray("999000000").mid((*sent)++, 1));
            });
            timer->start(1000);
            break;
        }
        case Behaviour::Silent:
            break;
        case Behaviour::Endless:
            socket->write(statusLine(200) + "Connection: close\r\n\r\n");
            socket->write(QByteArray(10 * 1024 * 1024, '9'));
            break;
        case Behaviour::AnnouncedHuge:
            socket->write(statusLine(200) + "Content-Length: 10485760\r\n\r\n");
            socket->write(QByteArray(10 * 1024 * 1024, '9'));
            break;
        case Behaviour::RedirectLoop:
            socket->write(statusLine(302) + "Location: " + url().toEncoded()
                + "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
            socket->disconnectFromHost();
            break;
        case Behaviour::HangUp:
            break;
        case Behaviour::Stall:
            socket->write(statusLine(200) + "Content-Length: 11\r\n\r\n001000001");
            break;
        case Behaviour::CutShort:
            socket->write(statusLine(200) + "Content-Length: 9\r\n\r\n0020");
            socket->disconnectFromHost();
            break;
        }
    }

    Behaviour m_behaviour;
    QByteArray m_body;
    int m_status;
    QTcpServer m_server;
};
