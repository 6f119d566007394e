#include "platform/Http.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QStringDecoder>
#include <QTimer>
#include <QUrl>

#include "platform/Services.h"
#include "platform/TextFile.h"

namespace corvane {

namespace {

class NetworkHttp : public HttpService {
public:
    HttpResponse post(const HttpRequest& request) override
    {
        HttpResponse out;
        const QUrl url(request.url, QUrl::StrictMode);
        if (!url.isValid() || url.scheme().isEmpty() || url.host().isEmpty()) {
            out.error = QStringLiteral("地址无效：") + request.url;
            return out;
        }
        QNetworkRequest req(url);
        for (const auto& h : request.headers) req.setRawHeader(h.first, h.second);
        req.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);

        QNetworkAccessManager manager;
        QNetworkReply* reply = manager.post(req, request.body);
        QEventLoop loop;
        QTimer timer;
        timer.setSingleShot(true);
        bool timedOut = false;
        QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
            timedOut = true;
            reply->abort();
        });
        bool tooLarge = false;
        const auto checkSize = [&](qint64 received) {
            const qint64 declared = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
            if (tooLarge || (received <= request.maxReplyBytes && declared <= request.maxReplyBytes)) return;
            tooLarge = true;
            reply->abort();
        };
        QObject::connect(reply, &QNetworkReply::metaDataChanged, &loop, [&] { checkSize(0); });
        QObject::connect(reply, &QNetworkReply::downloadProgress, &loop, [&](qint64 received, qint64) { checkSize(received); });
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        if (!reply->isFinished()) {
            timer.start(request.timeoutMs);
            loop.exec();
        }
        timer.stop();

        const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        if (tooLarge) {
            out.error = replyTooLargeText(request.url, request.maxReplyBytes);
        } else if (timedOut) {
            out.timedOut = true;
            out.error = QStringLiteral("no reply within %1 ms").arg(request.timeoutMs);
        } else if (status.isValid()) {
            out.answered = true;
            out.status = status.toInt();
            out.body = reply->readAll();
            out.contentType = reply->rawHeader("Content-Type");
        } else {
            out.error = reply->errorString();
        }
        delete reply;
        return out;
    }
};

std::unique_ptr<HttpService>& current()
{
    static std::unique_ptr<HttpService> s;
    return s;
}

int valueOf(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'A' && u <= u'Z') return u - u'A';
    if (u >= u'a' && u <= u'z') return u - u'a' + 26;
    if (u >= u'0' && u <= u'9') return u - u'0' + 52;
    if (u == u'+') return 62;
    if (u == u'/') return 63;
    return -1;
}

}  // namespace

HttpService& Http::service()
{
    if (!current()) current() = std::make_unique<NetworkHttp>();
    return *current();
}

void Http::setService(std::unique_ptr<HttpService> service) { current() = std::move(service); }

QVariant HttpPost(const QString& url, const QString& body, int mode, int timeoutMs, const QString& timeoutText)
{
    HttpRequest request;
    request.url = url;
    request.body = body.toUtf8();
    request.headers = {{"CONTENT-TYPE", "application/x-www-form-urlencoded"},
                       {"Content-Length", QByteArray::number(request.body.size())}};
    request.timeoutMs = timeoutMs;
    HttpResponse reply = Http::service().post(request);
    if (reply.answered && reply.body.size() > request.maxReplyBytes) {
        reply.answered = false;
        reply.error = replyTooLargeText(url, request.maxReplyBytes);
    }
    if (!reply.answered) {
        MsgBox(reply.timedOut && !timeoutText.isEmpty() ? timeoutText : reply.error, vbOKOnly);
        return QString();
    }
    switch (mode) {
    case 1: return decodeReplyText(reply.body, reply.contentType);
    case 2: return reply.body;
    case 3: return BytesToBstr(reply.body);
    default: return QString();
    }
}

QString replyTooLargeText(const QString& url, qint64 maxBytes)
{
    return QStringLiteral("服务 %1 的回复超过 %2 MB，不予处理").arg(url).arg(double(maxBytes) / (1024 * 1024));
}

QString decodeReplyText(const QByteArray& body, const QByteArray& contentType)
{
    QByteArray charset;
    for (const QByteArray& part : contentType.split(';')) {
        const QByteArray p = part.trimmed();
        if (p.toLower().startsWith("charset=")) {
            charset = p.mid(8).trimmed();
            if (charset.startsWith('"') && charset.endsWith('"') && charset.size() >= 2)
                charset = charset.mid(1, charset.size() - 2);
        }
    }
    const QByteArray name = charset.toLower();
    if (name.isEmpty() || name == "utf-8" || name == "utf8") return QString::fromUtf8(body);
    if (name == "gbk" || name == "gb2312" || name == "gb18030" || name == "cp936") return BytesToBstr(body);
    QStringDecoder decoder(charset.constData());
    if (!decoder.isValid()) return QString::fromUtf8(body);
    return decoder.decode(body);
}

QString BytesToBstr(const QByteArray& bytes)
{
    QString out;
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 128) {
            out += QChar(char16_t(b));
            ++i;
            continue;
        }
        if (i + 1 >= n) break;  // a lead byte with nothing after it
        const QString pair = fromGbk(bytes.mid(i, 2));
        out += pair.size() == 1 ? pair : QStringLiteral("?");
        i += 2;
    }
    return out;
}

QByteArray Base64Decode(const QString& text)
{
    QByteArray out;
    quint32 group = 0;
    int have = 0;
    for (const QChar c : text) {
        if (c == QLatin1Char('=')) break;
        const int v = valueOf(c);
        if (v < 0) continue;
        group = (group << 6) | quint32(v);
        if (++have == 4) {
            out += char((group >> 16) & 0xFF);
            out += char((group >> 8) & 0xFF);
            out += char(group & 0xFF);
            group = 0;
            have = 0;
        }
    }
    if (have == 2) {
        out += char((group >> 4) & 0xFF);
    } else if (have == 3) {
        out += char((group >> 10) & 0xFF);
        out += char((group >> 2) & 0xFF);
    }
    return out;
}

}  // namespace corvane
