#include "testsupport/LocalHttpServer.h"

#include <QHostAddress>
#include <QSharedPointer>

namespace corvane::test {

QList<QByteArray> ReceivedRequest::header(const QByteArray& name) const
{
    QList<QByteArray> out;
    for (const auto& h : headers)
        if (h.first.toLower() == name.toLower()) out << h.second;
    return out;
}

LocalHttpServer::LocalHttpServer()
{
    m_server.listen(QHostAddress::LocalHost, 0);
    QObject::connect(&m_server, &QTcpServer::newConnection, [this] {
        while (QTcpSocket* s = m_server.nextPendingConnection()) serve(s);
    });
}

LocalHttpServer::~LocalHttpServer()
{
    for (QTcpSocket* s : m_open) s->abort();
    m_server.close();
}

QString LocalHttpServer::url(const QString& path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path);
}

void LocalHttpServer::serve(QTcpSocket* socket)
{
    m_open << socket;
    auto buffer = QSharedPointer<QByteArray>::create();
    QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, buffer] {
        *buffer += socket->readAll();
        const qsizetype end = buffer->indexOf("\r\n\r\n");
        if (end < 0) return;
        ReceivedRequest r;
        const QList<QByteArray> lines = buffer->left(end).split('\n');
        r.requestLine = lines.value(0).trimmed();
        qsizetype length = 0;
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const QByteArray line = lines[i].trimmed();
            const qsizetype colon = line.indexOf(':');
            if (colon < 0) continue;
            r.headers.append({line.left(colon).trimmed(), line.mid(colon + 1).trimmed()});
            if (line.left(colon).trimmed().toLower() == "content-length") length = line.mid(colon + 1).trimmed().toLongLong();
        }
        if (buffer->size() < end + 4 + length) return;
        r.body = buffer->mid(end + 4, length);
        buffer->clear();
        received << r;
        if (onRequest) onRequest();
        ScriptedReply reply;
        if (!replies.empty()) {
            reply = replies.front();
            replies.pop_front();
        }
        if (!reply.answer) return;
        QByteArray out = "HTTP/1.1 " + QByteArray::number(reply.status) + " X\r\nContent-Type: " + reply.contentType +
                         "\r\nContent-Length: " + QByteArray::number(reply.body.size()) +
                         "\r\nConnection: close\r\n\r\n" + reply.body;
        socket->write(out);
        socket->flush();
        socket->disconnectFromHost();
    });
}

}  // namespace corvane::test
