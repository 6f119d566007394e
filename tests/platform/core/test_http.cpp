// The HTTP service and the decoders of the electronic-invoice exchange: the
// exact request on the wire, each reply mode, no server, no answer, and the
// Base64 and GBK decoders.
#include <gtest/gtest.h>

#include "platform/Http.h"
#include "platform/TextFile.h"
#include "testsupport/LocalHttpServer.h"
#include "testsupport/ServiceDoubles.h"

namespace corvane::test {
namespace {

class HttpPostTest : public ::testing::Test {
protected:
    void SetUp() override { resetServices(); }
    LocalHttpServer server;
};

TEST_F(HttpPostTest, SendsTheFormWithItsLengthInOctetsAndReturnsTheTextByItsCharset)
{
    server.replies.push_back({true, 200, "text/xml; charset=GBK", toGbk(QStringLiteral("<msg>开具成功</msg>"))});
    const QString body = QStringLiteral("nextContent=<GMF_MC>翠湖</GMF_MC>");
    const QVariant reply = HttpPost(server.url(), body, 1);
    EXPECT_EQ(reply.toString(), "<msg>开具成功</msg>");
    ASSERT_EQ(server.received.size(), 1);
    const ReceivedRequest& r = server.received[0];
    EXPECT_EQ(r.requestLine, "POST /fpkj HTTP/1.1");
    EXPECT_EQ(r.header("Content-Type"), QList<QByteArray>{"application/x-www-form-urlencoded"});
    // 31 characters, 35 octets: each Chinese character is three in UTF-8.
    EXPECT_EQ(r.header("Content-Length"), QList<QByteArray>{"35"});
    EXPECT_EQ(r.body, body.toUtf8());
    EXPECT_TRUE(doubles().boxes->shown.isEmpty());
}

TEST_F(HttpPostTest, ModesGiveTextBytesOrGbkText)
{
    const QByteArray gbk = toGbk(QStringLiteral("成功"));
    for (int mode : {1, 2, 3, 4}) server.replies.push_back({true, 200, "text/plain", mode == 1 ? QByteArray("好") : gbk});
    EXPECT_EQ(HttpPost(server.url(), QStringLiteral("a"), 1).toString(), "好");  // UTF-8 without a charset
    EXPECT_EQ(HttpPost(server.url(), QStringLiteral("a"), 2).toByteArray(), gbk);
    EXPECT_EQ(HttpPost(server.url(), QStringLiteral("a"), 3).toString(), "成功");
    EXPECT_EQ(HttpPost(server.url(), QStringLiteral("a"), 4).toString(), "");
}

TEST_F(HttpPostTest, AnErrorStatusStillGivesTheReplyText)
{
    server.replies.push_back({true, 500, "text/plain", "failed"});
    EXPECT_EQ(HttpPost(server.url(), QStringLiteral("a"), 1).toString(), "failed");
}

TEST_F(HttpPostTest, NoServerOrABadAddressIsShownAndGivesAnEmptyText)
{
    QString closed;
    {
        LocalHttpServer gone;
        closed = gone.url();
    }
    EXPECT_EQ(HttpPost(closed, QStringLiteral("a"), 1).toString(), "");
    EXPECT_EQ(HttpPost(QStringLiteral("not an address"), QStringLiteral("a"), 1).toString(), "");
    ASSERT_EQ(doubles().boxes->shown.size(), 2);
    EXPECT_FALSE(doubles().boxes->shown[0].text.isEmpty());
    EXPECT_EQ(doubles().boxes->shown[1].title, AppTitle());
}

TEST_F(HttpPostTest, NoAnswerEndsAtTheTimeOutWithItsOwnText)
{
    ScriptedReply silent;
    silent.answer = false;
    server.replies.push_back(silent);
    EXPECT_EQ(HttpPost(server.url(), QStringLiteral("a"), 1, 300, QStringLiteral("没有应答")).toString(), "");
    ASSERT_EQ(doubles().boxes->shown.size(), 1);
    EXPECT_EQ(doubles().boxes->shown[0].text, "没有应答");
    EXPECT_EQ(server.received.size(), 1);
}

// A reply longer than the limit is refused unread, the service named.
TEST_F(HttpPostTest, AReplyOverTheLimitIsRefusedNamingTheService)
{
    server.replies.push_back({true, 200, "text/plain", QByteArray(kMaxReplyBytes + 1, 'x')});
    EXPECT_EQ(HttpPost(server.url(), QStringLiteral("a"), 1).toString(), "");
    ASSERT_EQ(doubles().boxes->shown.size(), 1);
    EXPECT_EQ(doubles().boxes->shown[0].text, QStringLiteral("服务 %1 的回复超过 16 MB，不予处理").arg(server.url()));

    server.replies.push_back({true, 200, "text/plain", QByteArray(kMaxReplyBytes, 'x')});
    EXPECT_EQ(HttpPost(server.url(), QStringLiteral("a"), 2).toByteArray().size(), kMaxReplyBytes);

    // The transport gives up as soon as the reply is known to be too long.
    HttpRequest request;
    request.url = server.url();
    request.maxReplyBytes = 100;
    for (int size : {100, 101}) {
        server.replies.push_back({true, 200, "text/plain", QByteArray(size, 'x')});
        const HttpResponse r = Http::service().post(request);
        EXPECT_EQ(r.answered, size == 100) << size;
        EXPECT_EQ(r.error, size == 100 ? QString() : replyTooLargeText(request.url, 100)) << size;
    }

    // A transport of another kind is held to the same limit.
    struct Huge : HttpService {
        HttpResponse post(const HttpRequest&) override
        {
            HttpResponse r;
            r.answered = true;
            r.status = 200;
            r.body = QByteArray(kMaxReplyBytes + 1, 'x');
            return r;
        }
    };
    Http::setService(std::make_unique<Huge>());
    EXPECT_EQ(HttpPost(QStringLiteral("http://e.example/fpkj"), QStringLiteral("a"), 1).toString(), "");
    EXPECT_EQ(doubles().boxes->shown.last().text, replyTooLargeText(QStringLiteral("http://e.example/fpkj"), kMaxReplyBytes));
    Http::setService(nullptr);
}

TEST(Base64Decode, DecodesTheDataBeforeTheFirstEqualsSignSkippingOtherCharacters)
{
    struct Case {
        const char* text;
        QByteArray bytes;
    } cases[] = {
        {"", ""},
        {"TWFu", "Man"},
        {"TWE=", "Ma"},
        {"TQ==", "M"},
        {"TWE", "Ma"},                    // a final group of three gives two bytes
        {"TQ", "M"},                      // of two, one
        {"T", ""},                        // a lone character gives nothing
        {"TWFu\r\nTWFu", "ManMan"},       // line breaks are skipped
        {" TW Fu ", "Man"},               // so are blanks
        {"TQ==TWFu", "M"},                // nothing after the first "="
        {"+/+/", QByteArray("\xfb\xff\xbf", 3)},
    };
    for (const Case& c : cases) EXPECT_EQ(Base64Decode(QString::fromLatin1(c.text)), c.bytes) << c.text;
    const QByteArray long_ = QByteArray(200, 'x') + toGbk(QStringLiteral("发票"));
    QString wrapped = QString::fromLatin1(long_.toBase64());
    for (int at = 76; at < wrapped.size(); at += 78) wrapped.insert(at, QStringLiteral("\r\n"));
    EXPECT_EQ(Base64Decode(wrapped), long_);
}

TEST(BytesToBstr, ReadsGbkPairsAndDropsALoneLeadByte)
{
    EXPECT_EQ(BytesToBstr(toGbk(QStringLiteral("A发票1"))), "A发票1");
    EXPECT_EQ(BytesToBstr(toGbk(QStringLiteral("发票")).left(3)), "发");
    EXPECT_EQ(BytesToBstr(QByteArray("\xff\xff", 2) + "a"), "?a");
    EXPECT_EQ(BytesToBstr(QByteArray()), "");
}

TEST(DecodeReplyText, TakesTheCharsetOfTheContentType)
{
    const QString text = QStringLiteral("开具成功");
    EXPECT_EQ(decodeReplyText(text.toUtf8(), "text/xml"), text);
    EXPECT_EQ(decodeReplyText(text.toUtf8(), "text/xml; charset=utf-8"), text);
    EXPECT_EQ(decodeReplyText(toGbk(text), "text/xml;charset=\"gb2312\""), text);
    EXPECT_EQ(decodeReplyText(toGbk(text), "text/xml; charset=GBK"), text);
    EXPECT_EQ(decodeReplyText(text.toUtf8(), "text/xml; charset=x-unknown"), text);
    EXPECT_EQ(decodeReplyText("caf\xe9", "text/plain; charset=ISO-8859-1"), QString::fromLatin1("caf\xe9"));
}

}  // namespace
}  // namespace corvane::test
