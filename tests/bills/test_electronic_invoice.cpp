// The electronic invoice: the request body, byte for byte, as a server on
// 127.0.0.1 receives it; the service's replies (issued with GBK Base64 and
// CDATA, refused, empty, none at all, content in lines); and the issued
// invoice stored whole or not at all.
#include <gtest/gtest.h>

#include <QUrlQuery>

#include "BillAfterReceiptFixture.h"
#include "platform/Http.h"
#include "platform/TextFile.h"
#include "bills/BillFinishing.h"
#include "bills/ElectronicInvoice.h"
#include "testsupport/LocalHttpServer.h"

namespace corvane::test {
namespace {

using namespace corvane::receipts;

const QString kIssuedText = QStringLiteral("成功");
const QString kServerDown = QStringLiteral("电子发票开具失败，可能是服务器没有工作，请改用纸质发票开具");
const QString kBadSettings = QStringLiteral("电子发票开具失败，可能是设置参数不正确，请改用纸质发票开具");
const QString kDone = QStringLiteral("收款处理完成,电子发票已开具!");

// The service's reply: a message and the invoice as GBK text in Base64.
QByteArray serviceReply(const QString& message, const QString& invoiceXml, int lineLength = 0)
{
    QByteArray b64 = toGbk(invoiceXml).toBase64();
    if (lineLength > 0)
        for (qsizetype at = lineLength; at < b64.size(); at += lineLength + 2) b64.insert(at, "\r\n");
    return "<interface><returnStateInfo><returnMessage>" + message.toUtf8() +
           "</returnMessage></returnStateInfo><data><content>" + b64 + "</content></data></interface>";
}

const QString kInvoice = QStringLiteral(
    "<FPQQLSH>Q1</FPQQLSH><FP_DM><![CDATA[044031900111]]></FP_DM><FP_HM>12345678</FP_HM><JYM>J</JYM>"
    "<PDF_URL><![CDATA[http://e.example/发票.pdf?id=7]]></PDF_URL><SP_URL>[http://e.example/sp]</SP_URL>");

class ElectronicInvoice : public BillAfterReceipt {
protected:
    void SetUp() override
    {
        BillAfterReceipt::SetUp();
        exec(QStringLiteral("INSERT INTO 系统设置表 (名称, 值) VALUES ('电子发票接口URL', ?)"), {server.url()});
        eInvoiceTimeoutMs() = 60000;
    }
    void TearDown() override
    {
        eInvoiceTimeoutMs() = 60000;
        BillAfterReceipt::TearDown();
    }
    frm合同收款* electronicBill()
    {
        auto* w = preparedBill();
        w->Option2[0]->setChecked(true);
        w->Option2_Click(0);
        return w;
    }
    void reply(const QByteArray& body, const QByteArray& type = "text/xml; charset=utf-8")
    {
        server.replies.push_back({true, 200, type, body});
    }
    int bills() const { return count(QStringLiteral("SELECT COUNT(*) FROM 票据 WHERE 入库单编号 <> 'B1'")); }
    int books() const { return count(QStringLiteral("SELECT COUNT(*) FROM 票据入库单 WHERE 入库单编号 <> 'B1'")); }
    LocalHttpServer server;
};

const QString kPlainBody = QStringLiteral(
    "nextContent=<GMF_NSRSBH></GMF_NSRSBH><GMF_MC>O'Brien 物业</GMF_MC><GMF_DZDH></GMF_DZDH><GMF_YHZH>建设银行 6217</GMF_YHZH>"
    "<KPR>王芳</KPR><SKR>王芳</SKR><FHR>王芳</FHR> <KPLX>0</KPLX><YFP_DM></YFP_DM><YFP_HM></YFP_HM>"
    "<JSHJ>800.00</JSHJ><HJJE>754.72</HJJE><HJSE>45.28</HJSE><KCE></KCE><BZ></BZ><GMF_SJH>13800000000</GMF_SJH>"
    "<GMF_DZYX></GMF_DZYX><FPT_ZH></FPT_ZH><HYLX>0</HYLX><BY1></BY1><BY2></BY2><BY3></BY3><BY4></BY4><BY5></BY5>"
    "<BY6></BY6><BY7></BY7><BY8></BY8><BY9></BY9><BY10></BY10>"
    "<COMMON_FPKJ_XMXXS class='COMMON_FPKJ_XMXX' size='2'>"
    "<COMMON_FPKJ_XMXX><FPHXZ>0</FPHXZ><SPBM>SKWY01</SPBM><ZXBM></ZXBM><YHZCBS></YHZCBS><LSLBS></LSLBS><ZZSTSGL></ZZSTSGL>"
    "<XMMC>税控物业服务费</XMMC><GGXH></GGXH><DW></DW><XMSL>1</XMSL><XMDJ>754.716981</XMDJ><XMJE>754.72</XMJE>"
    "<SL>0.06</SL><SE>45.28</SE><BY1></BY1><BY2></BY2><BY3></BY3><BY4></BY4><BY5></BY5><BY6></BY6></COMMON_FPKJ_XMXX>"
    "<COMMON_FPKJ_XMXX><FPHXZ>0</FPHXZ><SPBM></SPBM><ZXBM></ZXBM><YHZCBS></YHZCBS><LSLBS></LSLBS><ZZSTSGL></ZZSTSGL>"
    "<XMMC></XMMC><GGXH>2026年1月</GGXH><DW></DW><XMSL></XMSL><XMDJ></XMDJ><XMJE></XMJE>"
    "<SL></SL><SE></SE><BY1></BY1><BY2></BY2><BY3></BY3><BY4></BY4><BY5></BY5><BY6></BY6></COMMON_FPKJ_XMXX>"
    "</COMMON_FPKJ_XMXXS></REQUEST_COMMON_FPKJ>");

TEST_F(ElectronicInvoice, IssuedInvoiceIsRequestedExactlyAndStoredWithBookBillLinesAndReceipts)
{
    reply(serviceReply(QStringLiteral("开具成功"), kInvoice));
    auto* w = electronicBill();
    w->Text1[4]->setText(QStringLiteral("13800000000"));
    // A row without an item is sent but gets no line.
    w->MSFlexGrid2->setRows(3);
    w->MSFlexGrid2->setTextMatrix(2, 1, QStringLiteral("2026年1月"));
    bool disabledWhileWaiting = false;
    server.onRequest = [&] { disabledWhileWaiting = !w->isEnabled(); };
    w->Command1_Click();

    ASSERT_EQ(server.received.size(), 1);
    const ReceivedRequest& r = server.received[0];
    EXPECT_EQ(QString::fromUtf8(r.body), kPlainBody);
    EXPECT_EQ(r.header("Content-Length"), QList<QByteArray>{QByteArray::number(kPlainBody.toUtf8().size())});
    EXPECT_EQ(r.header("Content-Type"), QList<QByteArray>{"application/x-www-form-urlencoded"});
    EXPECT_TRUE(disabledWhileWaiting);
    EXPECT_TRUE(w->isEnabled());
    EXPECT_EQ(boxTexts(), QStringList{kDone});

    EXPECT_EQ(column(QStringLiteral("SELECT 入库单编号, 票据类型编号 FROM 票据入库单 WHERE 入库单编号 <> 'B1'")),
              QStringList{"044031900111/03"});
    EXPECT_EQ(dateTimeOf(selectFirst(QStringLiteral("SELECT 入库时间 FROM 票据入库单 WHERE 入库单编号 = '044031900111'"))
                             ->value(0)),
              "2026-12-10 09:30:15");
    const auto bill = selectFirst(QStringLiteral(
        "SELECT ID, 入库单编号, 票据编号, 开票部门编号, 开票日期, 付款人, 金额, 预开, 收款日期, 开票人, 收款人, 收款方式, 管理处,"
        " 地址, DJ_ID, ZH_ID, 合同编号, CW_ID, 无需打印票据, 税额, 税号, 账号, PDFURL, SPURL, 手机号码, 邮箱地址, 备注"
        " FROM 票据 WHERE 入库单编号 = '044031900111'"));
    ASSERT_TRUE(bill && bill->count() > 0);
    QStringList values;
    for (int i = 1; i < bill->count(); ++i) {
        const QVariant v = bill->value(i);
        if (i == 4 || i == 8) values << dateTimeOf(v);
        else if (i == 6 || i == 19) values << centsText(*centsOf(v));
        else values << (v.isNull() ? QStringLiteral("NULL") : v.toString());
    }
    EXPECT_EQ(values, (QStringList{"044031900111", "12345678", "D01", "2026-12-10 09:30:15", "O'Brien 物业", "800.00", "0",
                                   "2026-12-10 09:30:15", "王芳", "王芳", "现金", "GL01", "", "NULL", "NULL", "HT-1", "NULL",
                                   "0", "45.28", "", "建设银行 6217", "http://e.example/发票.pdf?id=7",
                                   "http://e.example/sp", "13800000000", "NULL", "NULL"}));
    const qint64 id = bill->value(0).toLongLong();
    EXPECT_EQ(column(QStringLiteral("SELECT 票据ID, 项目, 摘要, 不含税金额 FROM 票据开票数据 WHERE 入库单编号 = '044031900111'")),
              QStringList{QStringLiteral("%1/物业服务费//754.72").arg(id)});
    EXPECT_EQ(receipts(), (QStringList{receipt(a, "30000", "12345678", "044031900111"),
                                       receipt(b, "50000", "12345678", "044031900111")}));
    EXPECT_EQ(w->handBack(), (BillHandBack{QStringLiteral("044031900111"), QStringLiteral("12345678"), std::nullopt}));
    EXPECT_EQ(w->MSFlexGrid2->Rows(), 1);
    EXPECT_FALSE(w->Picture4->isVisibleTo(w));
}

TEST_F(ElectronicInvoice, ASecondInvoiceOfTheSameCodeAddsNoBookAndWithoutATypeTheBookHasNone)
{
    exec(QStringLiteral("DELETE FROM 票据类型 WHERE 票据类型代号 = '03'"));
    const QString second = QString(kInvoice).replace(QStringLiteral("12345678"), QStringLiteral("12345679"));
    reply(serviceReply(kIssuedText, kInvoice));
    reply(serviceReply(kIssuedText, second));
    electronicBill()->Command1_Click();
    FormRegistry::instance().unloadAll();
    exec(QStringLiteral("DELETE FROM 合同收款记录"));  // the same instalments again
    auto* w = electronicBill();
    w->Text1[5]->setText(QStringLiteral("a@b.cn"));
    w->Text5[4]->setText(QStringLiteral("请开专票"));
    w->MSFlexGrid2->setTextMatrix(1, 3, QStringLiteral("2.5件"));
    w->MSFlexGrid2->setTextMatrix(1, 5, QString());
    w->Command1_Click();
    ASSERT_EQ(server.received.size(), 2);
    EXPECT_TRUE(server.received[1].body.contains("<BZ>请开专票</BZ>"));
    EXPECT_TRUE(server.received[1].body.contains("<XMSL>2.5件</XMSL>"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM 票据 WHERE 票据编号 = '12345679' AND 备注 IS NULL")), 1);
    const auto line = selectFirst(QStringLiteral("SELECT 数量, 金额 FROM 票据开票数据 WHERE 票据编号 = '12345679'"));
    EXPECT_EQ(numberOf(line->value(0)), "2.500000");
    EXPECT_EQ(numberOf(line->value(1)), "0.000000");
    EXPECT_EQ(boxTexts(), (QStringList{kDone, kDone}));
    EXPECT_EQ(column(QStringLiteral("SELECT 入库单编号, 票据类型编号 FROM 票据入库单 WHERE 入库单编号 <> 'B1'")),
              QStringList{"044031900111/"});
    EXPECT_EQ(bills(), 2);
    EXPECT_EQ(column(QStringLiteral("SELECT 手机号码, 邮箱地址 FROM 票据 WHERE 票据编号 = '12345679'")), QStringList{"/a@b.cn"});
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM 票据 WHERE 票据编号 = '12345679' AND 手机号码 IS NULL")), 1);
}

TEST_F(ElectronicInvoice, RepliesThatIssueNothingWriteNothing)
{
    struct Case {
        const char* what;
        ScriptedReply reply;
        QStringList boxes;
    } cases[] = {
        {"an error reply", {true, 200, "text/xml", serviceReply(QStringLiteral("参数错误"), kInvoice)}, {kBadSettings}},
        {"成功 without an invoice", {true, 200, "text/xml", "<returnMessage>开具不成功</returnMessage>"}, {kBadSettings}},
        {"成功 without a number",
         {true, 200, "text/xml", serviceReply(kIssuedText, QStringLiteral("<FP_DM>0440</FP_DM><FP_HM></FP_HM>"))},
         {kBadSettings}},
        {"an empty reply", {true, 200, "text/xml", ""}, {kServerDown}},
        {"no reply", {false, 200, "text/xml", ""}, {kEInvoiceTimeoutText, kServerDown}},
        {"a reply over 16 MB",
         {true, 200, "text/xml", serviceReply(kIssuedText, kInvoice) + QByteArray(kMaxReplyBytes, ' ')},
         {replyTooLargeText(server.url(), kMaxReplyBytes), kServerDown}},
    };
    eInvoiceTimeoutMs() = 400;
    for (const Case& c : cases) {
        server.replies.push_back(c.reply);
        auto* w = electronicBill();
        w->Command1_Click();
        EXPECT_EQ(boxTexts(), c.boxes) << c.what;
        EXPECT_EQ(bills() + books(), 0) << c.what;
        EXPECT_TRUE(receipts().isEmpty()) << c.what;
        EXPECT_TRUE(w->isEnabled()) << c.what;
        EXPECT_TRUE(w->Picture4->isVisibleTo(w)) << c.what;
        FormRegistry::instance().unloadAll();
        doubles().boxes->shown.clear();
    }
}

// Nothing listens at the service's address: the clerk reads why, then the
// message that names the server, and nothing is written.
TEST_F(ElectronicInvoice, AServiceThatIsNotThereIsReported)
{
    exec(QStringLiteral("UPDATE 系统设置表 SET 值 = 'http://127.0.0.1:1/fpkj' WHERE 名称 = '电子发票接口URL'"));
    auto* w = electronicBill();
    w->Command1_Click();
    const QStringList shown = boxTexts();
    ASSERT_EQ(shown.size(), 2) << shown.join(QLatin1Char('|')).toStdString();
    EXPECT_FALSE(shown[0].trimmed().isEmpty());
    EXPECT_EQ(shown[1], kServerDown);
    EXPECT_EQ(bills() + books(), 0);
    EXPECT_TRUE(receipts().isEmpty());
    EXPECT_TRUE(w->isEnabled());
    EXPECT_TRUE(w->Picture4->isVisibleTo(w));
}

TEST_F(ElectronicInvoice, ContentInLinesIsDecodedWhole)
{
    reply(serviceReply(kIssuedText, kInvoice, 16), "text/xml");
    electronicBill()->Command1_Click();
    EXPECT_EQ(boxTexts(), QStringList{kDone});
    EXPECT_EQ(column(QStringLiteral("SELECT 入库单编号, 票据编号, PDFURL FROM 票据 WHERE 入库单编号 <> 'B1'")),
              QStringList{"044031900111/12345678/http://e.example/发票.pdf?id=7"});
}

TEST_F(ElectronicInvoice, NoOfficeSendsNothing)
{
    auto* w = electronicBill();
    w->Combo3->clear();
    w->Command1_Click();
    EXPECT_EQ(boxTexts(), QStringList{"请选择对应管理处"});
    EXPECT_TRUE(server.received.isEmpty());
}

TEST_F(ElectronicInvoice, AnInvoiceThatCannotBeStoredLeavesNothingAndIsNamedForTheClerk)
{
    // The bill's number is already taken in a book that does not exist yet:
    // the book row is written first, then the bill is refused.
    exec(QStringLiteral("INSERT INTO 票据 (入库单编号, 票据编号) VALUES ('044031900111', '12345678')"));
    reply(serviceReply(kIssuedText, kInvoice));
    auto* w = electronicBill();
    w->Command1_Click();
    ASSERT_EQ(doubles().boxes->shown.size(), 2);
    EXPECT_EQ(doubles().boxes->shown[0].title, "提示");
    EXPECT_EQ(doubles().boxes->shown[1].text,
              "电子发票已开具但未能保存，请记录：发票代码044031900111，发票号码12345678，http://e.example/发票.pdf?id=7");
    EXPECT_EQ(books(), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM 票据开票数据")), 0);
    EXPECT_TRUE(receipts().isEmpty());
    EXPECT_TRUE(w->Picture4->isVisibleTo(w));
}

TEST(EInvoiceRequestBody, SpecialCharactersReachTheServiceWholeAndLineBreaksAsThePartSays)
{
    EInvoiceRequest r;
    r.付款人 = QStringLiteral("甲&乙<丙>\r\n公司");
    r.备注 = QStringLiteral("50% + 1\r\n第二行'");
    r.lines.resize(1);
    r.lines[0].c[col::单价] = QStringLiteral("");
    const QString body = eInvoiceRequestBody(r);
    ASSERT_TRUE(body.startsWith(QStringLiteral("nextContent=")));
    // What the service reads once it has decoded the form value.
    const QString xml = QUrlQuery(body).queryItemValue(QStringLiteral("nextContent"), QUrl::FullyDecoded);
    EXPECT_TRUE(xml.contains(QStringLiteral("<GMF_MC>甲&amp;乙&lt;丙&gt;公司</GMF_MC>"))) << qPrintable(xml);
    EXPECT_TRUE(xml.contains(QStringLiteral("<BZ>50% + 1\r\n第二行'</BZ>"))) << qPrintable(xml);
    EXPECT_TRUE(body.contains(QStringLiteral("<BZ>50%25 %2B 1\r\n第二行'</BZ>")));
    EXPECT_TRUE(body.contains(QStringLiteral("size='1'")));
    EXPECT_TRUE(body.contains(QStringLiteral("<XMDJ></XMDJ>")));

    EInvoiceRequest none;
    const QString empty = eInvoiceRequestBody(none);
    EXPECT_TRUE(empty.contains(QStringLiteral("size='0'></COMMON_FPKJ_XMXXS></REQUEST_COMMON_FPKJ>")));
    EXPECT_FALSE(empty.contains(QStringLiteral("<COMMON_FPKJ_XMXX>")));
}

TEST(IssuedInvoiceReply, TheLastContentAndTheLastElementOfANameWin)
{
    const QString first = QString::fromLatin1(toGbk(QStringLiteral("<FP_DM>1</FP_DM>")).toBase64());
    const QString last = QString::fromLatin1(
        toGbk(QStringLiteral("<FP_DM>2</FP_DM><FP_HM>8</FP_HM><FP_HM>9</FP_HM><PDF_URL>[a]b</PDF_URL>")).toBase64());
    const IssuedInvoice i =
        parseIssuedInvoice(QStringLiteral("<content>") + first + QStringLiteral("</content>成功<content>") + last);
    EXPECT_EQ(i.code, "2");
    EXPECT_EQ(i.number, "9");
    EXPECT_EQ(i.pdfUrl, "ab");
    EXPECT_EQ(i.spUrl, "");
    EXPECT_TRUE(isIssued(QStringLiteral("成功"), i));
    EXPECT_FALSE(isIssued(QStringLiteral("success"), i));
    EXPECT_EQ(replyContent(QStringLiteral("abc")), "abc");
    EXPECT_EQ(replyContent(QStringLiteral("x<content>a</content>y<content>b</content>")), "b");
}

}  // namespace
}  // namespace corvane::test
