#pragma once
// HTTP requests to services outside the program (the electronic-invoice
// service), and the decoders their replies need. The transport is a service
// of its own, replaceable as a whole like those of platform/Services.h; the
// real one waits for the reply with the window events still running, up to
// a time-out, so the caller disables its window while it waits.

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>
#include <memory>

namespace corvane {

// A reply longer than this is no answer of the services we call; reading it
// whole would hold the window and the memory for nothing.
inline constexpr qint64 kMaxReplyBytes = 16 * 1024 * 1024;

struct HttpRequest {
    QString url;
    QByteArray body;
    QList<QPair<QByteArray, QByteArray>> headers;  // sent as given, in order
    int timeoutMs = 60000;
    qint64 maxReplyBytes = kMaxReplyBytes;  // a longer reply is refused unread
};

struct HttpResponse {
    // The server answered (whatever its status); body and content type are
    // what it sent.
    bool answered = false;
    bool timedOut = false;
    int status = 0;
    QByteArray body;
    QByteArray contentType;
    QString error;  // why there is no answer
};

// The reason given when a reply from `url` is longer than `maxBytes`.
QString replyTooLargeText(const QString& url, qint64 maxBytes);

class HttpService {
public:
    virtual ~HttpService() = default;
    virtual HttpResponse post(const HttpRequest& request) = 0;
};

namespace Http {
HttpService& service();
// Takes ownership; nullptr restores the real transport.
void setService(std::unique_ptr<HttpService> service);
}  // namespace Http

// HttpPost(url, body, mode) of the shared module: posts `body`, sent as
// UTF-8, as a form ("CONTENT-TYPE: application/x-www-form-urlencoded" and its
// Content-Length in octets). Mode 1: the reply as text, decoded by the
// charset its Content-Type declares (UTF-8 when none); mode 2: its bytes;
// mode 3: its bytes through BytesToBstr; any other mode: an empty text.
// When no answer comes (no server, a bad address, the time-out, a reply over
// kMaxReplyBytes) the reason is shown in a message box and an empty text is
// returned; a time-out is described by `timeoutText`.
QVariant HttpPost(const QString& url, const QString& body, int mode, int timeoutMs = 60000,
                  const QString& timeoutText = QString());

// The reply body as text by the charset of `contentType`; UTF-8 when it
// names none or one we cannot read.
QString decodeReplyText(const QByteArray& body, const QByteArray& contentType);

// Double-byte ANSI (GBK) bytes as text: a byte below 128 is a character of
// its own, any other byte leads a pair. A lead byte with nothing after it is
// dropped; a pair GBK does not hold becomes "?".
QString BytesToBstr(const QByteArray& bytes);

// Base64 (RFC 4648, standard alphabet) of a text's characters. The data ends
// before the first "="; characters outside the alphabet (line breaks, blanks)
// are skipped; a final group of 2 or 3 characters gives 1 or 2 bytes; a lone
// final character gives nothing. Never fails.
QByteArray Base64Decode(const QString& text);

}  // namespace corvane
