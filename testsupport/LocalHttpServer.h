#pragma once
// An HTTP server on 127.0.0.1 inside a test: it records each request as it
// arrived and answers as scripted, or not at all. It runs on the test's own
// thread; the client's wait lets it work.

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QTcpServer>
#include <QTcpSocket>
#include <deque>
#include <functional>

namespace corvane::test {

struct ReceivedRequest {
    QByteArray requestLine;                         // "POST /path HTTP/1.1"
    QList<QPair<QByteArray, QByteArray>> headers;   // as sent
    QByteArray body;
    // The values of a header, named case-insensitively.
    QList<QByteArray> header(const QByteArray& name) const;
};

struct ScriptedReply {
    bool answer = true;  // false: read the request and never answer
    int status = 200;
    QByteArray contentType = "text/xml";
    QByteArray body;
};

class LocalHttpServer {
public:
    LocalHttpServer();
    ~LocalHttpServer();
    QString url(const QString& path = QStringLiteral("/fpkj")) const;
    std::deque<ScriptedReply> replies;  // one per request; a 200 with no body when none is left
    QList<ReceivedRequest> received;
    std::function<void()> onRequest;  // runs when a request has arrived, before the answer

private:
    void serve(QTcpSocket* socket);
    QTcpServer m_server;
    QList<QTcpSocket*> m_open;
};

}  // namespace corvane::test
