// The administrative road of a submission: the sign-off document written for
// the approval program, all or nothing, with the contract's claim.
#include <thread>

#include "SignOffFixture.h"
#include "platform/Tag.h"

namespace corvane::test {
namespace {

const QDateTime kNow(kToday, QTime(9, 30));

TEST_F(SignOffTest, AMultiLevelRouteWritesTheDocumentItsAttachmentsRouteAndFirstDeliveryThenClaimsTheContract)
{
    exec(QStringLiteral("UPDATE 合同信息 SET 合同金额 = 2000.5, 对方单位 = '恒达<电梯>', 主要条款 = '按月维保'"));
    addAttachment(QStringLiteral("HT-1"), QStringLiteral("合同扫描件.pdf"), QByteArray("%PDF scan"));
    addAttachment(QStringLiteral("HT-1"), QStringLiteral("说明"), QByteArray("notes"));
    addPayment(QStringLiteral("HT-1"), QDate(2026, 9, 1), QStringLiteral("1000.50"), QStringLiteral("验收合格"));
    addPayment(QStringLiteral("HT-1"), QDate(2026, 3, 1), QStringLiteral("1000.00"), QVariant());
    auto* w = shown();
    w->Command9_Click();
    EXPECT_EQ(lastText(), "提交完成");
    EXPECT_EQ(boxes().last().icon(), 0);

    const Row doc = documentRow(QStringLiteral("HTHQ-00000001"));
    ASSERT_GT(doc.count(), 0);
    const QDate server = *GetServerDate();
    const std::pair<const char*, QString> expected[] = {
        {"文头", "HTHQ-"},       {"年", QString::number(server.year())}, {"月", QString::number(server.month())},
        {"日", QString::number(server.day())}, {"流水号", "1"},            {"文件类型", "合同会签"},
        {"审批文件", "1"},       {"是否通知", "0"},    {"是否公告", "0"},  {"文件标题", "办公楼维修"},
        {"模板类型", "HTML"},    {"部门", "D01"},      {"岗位", "P01"},    {"是否回复", "0"},
        {"是否发送", "1"},       {"是否作废", "0"},    {"是否结束", "0"},  {"拟稿人", "E001"},
        {"紧急程度", "普通"},    {"流转类型", "多级"}, {"允许修改", "0"},  {"对应合同编号", "HT-1"},
        {"CzyDH", "E001"},
    };
    for (const auto& [column, value] : expected) EXPECT_EQ(doc.text(QString::fromUtf8(column)), value) << column;
    EXPECT_TRUE(doc.isNull(QStringLiteral("关联文件ID")));
    EXPECT_TRUE(doc.isNull(QStringLiteral("到期日期")));
    EXPECT_EQ(toDate(doc.value(QStringLiteral("拟稿日期"))), kToday);
    EXPECT_EQ(toDateTime(doc.value(QStringLiteral("updatedate"))), kNow);
    EXPECT_EQ(toDateTime(doc.value(QStringLiteral("发送日期"))), kNow);

    const QString text = documentText(QStringLiteral("HTHQ-00000001"));
    EXPECT_TRUE(text.startsWith("<HTML><BODY><H1>合同会签单 HTHQ-00000001</H1>")) << text.toStdString();
    EXPECT_TRUE(text.contains("<TD>办公楼维修</TD><TD>编号</TD><TD>HT-1</TD>")) << text.toStdString();
    EXPECT_TRUE(text.contains("<TD>D01 财务部</TD><TD>类型</TD><TD>T1 工程合同</TD>")) << text.toStdString();
    EXPECT_TRUE(text.contains("<TD>2000.50</TD>")) << text.toStdString();
    EXPECT_TRUE(text.contains("<TD>恒达&lt;电梯&gt;</TD><TD>合格供方</TD><TD></TD>")) << text.toStdString();
    EXPECT_TRUE(text.endsWith("<P>付款计划</P><TABLE><TBODY><TR><TD>日期</TD><TD>金额</TD><TD>条件</TD></TR>"
                              "<TR id=计划><TD>2026-03-01</TD><TD>1000</TD><TD></TD></TR>"
                              "<TR id=计划><TD>2026-09-01</TD><TD>1000.5</TD><TD>验收合格</TD></TR>"
                              "</TBODY></TABLE></BODY></HTML>"))
        << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("《")));

    const qint64 id = doc.value(QStringLiteral("UniqueID")).toLongLong();
    const Rows attachments = *selectRows(QStringLiteral("SELECT 附件标题, 扩展名, 附件内容, 模板附件, 编辑人, CzyDH, updatedate"
                                                        " FROM XZ文件附件 WHERE 行政文件ID = ? ORDER BY UniqueID"),
                                         {id});
    ASSERT_EQ(attachments.size(), 2u);
    EXPECT_EQ(attachments[0].text(0) + "|" + attachments[0].text(1), "合同扫描件|pdf");
    EXPECT_EQ(attachments[0].value(2).toByteArray(), QByteArray("%PDF scan"));
    EXPECT_EQ(attachments[0].text(3) + attachments[0].text(4) + attachments[0].text(5), "0E001E001");
    EXPECT_EQ(toDateTime(attachments[0].value(6)), kNow);
    EXPECT_EQ(attachments[1].text(0) + "|" + attachments[1].text(1), "说明|");

    EXPECT_EQ(routeRows(id), (QStringList{"D01/P02/1/1", "D02/P03/2/0"}));
    EXPECT_EQ(deliveryRows(id), QStringList{"D01/P02/1/1/0/E001"});
    const Row delivery = *selectFirst(QStringLiteral("SELECT 送达时间, updatedate FROM XZ文件流转情况 WHERE 文件ID = ?"), {id});
    EXPECT_EQ(toDate(delivery.value(0)), kToday);
    EXPECT_EQ(toDate(delivery.value(1)), kToday);

    const Row contract = contractRow(QStringLiteral("HT-1"));
    EXPECT_EQ(contract.text("合同状态"), "审批中");
    EXPECT_EQ(contract.text("行政审批编号"), "HTHQ-00000001");
    EXPECT_EQ(toDateTime(contract.value("提交日期")), kNow);
    EXPECT_EQ(w->Command9->text(), "流转情况");
    EXPECT_EQ(TagOf(w->Command9), "HTHQ-00000001");
}

TEST_F(SignOffTest, ASingleLevelRouteReachesEveryStepAtOnceWithOrderZero)
{
    setType(QStringLiteral("T1"), true, false);
    shown()->Command9_Click();
    const Row doc = documentRow(QStringLiteral("HTHQ-00000001"));
    EXPECT_EQ(doc.text("流转类型"), "单级");
    const qint64 id = doc.value(QStringLiteral("UniqueID")).toLongLong();
    EXPECT_EQ(routeRows(id), (QStringList{"D01/P02/0/1", "D02/P03/0/0"}));
    EXPECT_EQ(deliveryRows(id), (QStringList{"D01/P02/0/1/0/E001", "D02/P03/0/0/0/E001"}));
}

TEST_F(SignOffTest, TheSerialStepsOverANumberTakenUnderAnotherHeading)
{
    exec(QStringLiteral("INSERT INTO XZ文件记录 (文头, 编号, 流水号) VALUES ('HTHQ-', 'HTHQ-00000041', 41),"
                        " ('HTFW-', 'HTHQ-00000042', 1)"));
    shown()->Command9_Click();
    EXPECT_EQ(contractRow(QStringLiteral("HT-1")).text("行政审批编号"), "HTHQ-00000043");
    EXPECT_EQ(documentRow(QStringLiteral("HTHQ-00000043")).text("流水号"), "43");
}

TEST_F(SignOffTest, TheDefaultUrgencyIsTheLowestOrderAndEmptyWhenThereIsNone)
{
    struct Case {
        QString rows;
        QString urgency;
    };
    const Case cases[] = {{"", ""}, {"('紧急', 2), ('普通', 1)", "普通"}, {"(NULL, 1), ('紧急', 2)", ""}};
    for (const Case& c : cases) {
        exec(QStringLiteral("DELETE FROM XZ紧急程度"));
        if (!c.rows.isEmpty()) exec(QStringLiteral("INSERT INTO XZ紧急程度 (紧急程度, 序) VALUES ") + c.rows);
        EXPECT_EQ(approval::defaultUrgency(DbConnection()), c.urgency) << c.rows.toStdString();
    }
    exec(QStringLiteral("DELETE FROM XZ紧急程度"));
    shown()->Command9_Click();
    EXPECT_EQ(documentRow(QStringLiteral("HTHQ-00000001")).text("紧急程度"), "");
    // An empty text, not NULL: the approval program reads the column as text.
    EXPECT_EQ(storedText(QStringLiteral("SELECT 紧急程度 FROM XZ文件记录 WHERE 编号 = 'HTHQ-00000001'")), stored(""));
}

TEST_F(SignOffTest, APlanThatCannotBeFilledStopsTheSubmissionBeforeAnythingIsWritten)
{
    struct Case {
        const char* what;
        QString plan;
        std::function<void(SignOffTest&, Frm合同信息&)> arrange;
        QString message;
    };
    const Case cases[] = {
        {"no type chosen", kPlanTable, [](SignOffTest&, Frm合同信息& w) { w.List1->setCurrentRow(-1); }, "请选择合同类型"},
        {"no row block", QStringLiteral("<TABLE><TR><TD>《日期》</TD></TR></TABLE>"), {}, "合同收付款计划模板格式不正确"},
        {"no amount", kPlanTable,
         [](SignOffTest& t, Frm合同信息&) { t.addPayment(QStringLiteral("HT-1"), QDate(2026, 1, 1), QVariant(), {}); },
         "收付款计划中有日期或金额为空的记录"},
        {"no date", kPlanTable,
         [](SignOffTest& t, Frm合同信息&) { t.addPayment(QStringLiteral("HT-1"), QVariant(), QStringLiteral("5.00"), {}); },
         "收付款计划中有日期或金额为空的记录"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        exec(QStringLiteral("DELETE FROM 合同付款计划表"));
        exec(QStringLiteral("UPDATE SystemSetup SET Value = ? WHERE Code = '合同收付款计划模板'"), {c.plan});
        auto* w = shown();
        if (c.arrange) c.arrange(*this, *w);
        w->Command9_Click();
        EXPECT_EQ(lastText(), c.message);
        EXPECT_EQ(rows(QStringLiteral("XZ文件记录")), 0);
        EXPECT_TRUE(contractRow(QStringLiteral("HT-1")).isNull("提交日期"));
        EXPECT_EQ(w->Command9->text(), "提交");
        FormRegistry::instance().unloadAll();
    }
}

TEST_F(SignOffTest, WithoutInstalmentsOrPlanTemplateTheDocumentCarriesNoPlan)
{
    shown()->Command9_Click();
    approval::SignOffValues v;
    v.合同名称 = QStringLiteral("办公楼维修");
    v.编号 = QStringLiteral("HT-1");
    v.合同部门 = QStringLiteral("D01 财务部");
    v.合同类型 = QStringLiteral("T1 工程合同");
    v.合同金额 = QStringLiteral("0.00");
    EXPECT_EQ(documentText(QStringLiteral("HTHQ-00000001")),
              approval::fillDocumentNumber(approval::fillSignOff(kSignOffForm, v), QStringLiteral("HTHQ-00000001")));
    // Without a plan template the type's category is not needed.
    addContract(QStringLiteral("HT-2"), QStringLiteral("D01"), QStringLiteral("T1"), QStringLiteral("未提交"));
    exec(QStringLiteral("DELETE FROM SystemSetup WHERE Code = '合同收付款计划模板'"));
    addPayment(QStringLiteral("HT-2"), QDate(2026, 1, 1), QStringLiteral("5.00"), {});
    FormRegistry::instance().unloadAll();
    auto* w = shown(QStringLiteral("HT-2"));
    w->List1->setCurrentRow(-1);
    w->Command9_Click();
    EXPECT_EQ(lastText(), "提交完成");
    EXPECT_FALSE(documentText(QStringLiteral("HTHQ-00000002")).contains(QStringLiteral("付款计划")));
}

TEST_F(SignOffTest, AFailureRollsEverythingBackAndTheContractCanBeSubmittedAgain)
{
    addAttachment(QStringLiteral("HT-1"), QStringLiteral("合同扫描件.pdf"), QByteArray("%PDF scan"));
    failEvery(QStringLiteral("INSERT"), QStringLiteral("XZ文件流转情况"));
    auto* w = shown();
    w->Command9_Click();
    EXPECT_TRUE(lastText().contains("injected failure")) << lastText().toStdString();
    EXPECT_EQ(boxes().last().icon(), int(vbInformation));
    for (const char* table : {"XZ文件记录", "XZ文件附件", "XZ文件流转路径", "XZ文件流转情况"})
        EXPECT_EQ(rows(QString::fromUtf8(table)), 0) << table;
    const Row contract = contractRow(QStringLiteral("HT-1"));
    EXPECT_EQ(contract.text("合同状态"), "未提交");
    EXPECT_TRUE(contract.isNull("提交日期"));
    EXPECT_TRUE(contract.isNull("行政审批编号"));
    EXPECT_EQ(w->Command9->text(), "提交");

    exec(testingOnPostgres() ? QStringLiteral("DROP TRIGGER injected ON XZ文件流转情况") : QStringLiteral("DROP TRIGGER injected"));
    w->Command9_Click();
    EXPECT_EQ(lastText(), "提交完成");
    EXPECT_EQ(contractRow(QStringLiteral("HT-1")).text("行政审批编号"), "HTHQ-00000001");
}

TEST_F(SignOffTest, AContractSubmittedMeanwhileIsNotSubmittedTwice)
{
    auto* w = shown();
    exec(QStringLiteral("UPDATE 合同信息 SET 提交日期 = ?, 合同状态 = '审批中'"), {QDateTime(kToday, QTime(8, 0))});
    w->Command9_Click();
    EXPECT_EQ(lastText(), "该合同已经提交，不能重复提交！");
    EXPECT_EQ(rows(QStringLiteral("XZ文件记录")), 0);
    EXPECT_EQ(w->Command9->text(), "流转情况");
}

TEST_F(SignOffTest, WorkstationsSubmittingAtOnceTakeDistinctNumbers)
{
    constexpr int kClients = 6;
    for (int i = 2; i <= kClients; ++i)
        addContract(QStringLiteral("HT-%1").arg(i), QStringLiteral("D01"), QStringLiteral("T1"), QStringLiteral("未提交"));
    std::vector<approval::SignOffSubmission> submissions;
    for (int i = 1; i <= kClients; ++i) {
        approval::SignOffSubmission s;
        s.contract.number = QStringLiteral("HT-%1").arg(i);
        s.contract.id = idOf(s.contract.number);
        s.signOff = QStringLiteral("《会签单编号》");
        s.steps = {{1, "D01", "P02", 1}};
        s.多级流转 = true;
        s.工号 = QStringLiteral("E001");
        s.now = kNow;
        submissions.push_back(s);
    }
    std::vector<approval::SignOffResult> results(kClients);
    std::vector<std::thread> running;
    for (int t = 0; t < kClients; ++t)
        running.emplace_back([&, t] {
            auto conn = openSecondConnection(QStringLiteral("client-%1").arg(t));
            results[t] = approval::writeSignOff(conn->db(), submissions[t]);
        });
    for (auto& th : running) th.join();
    QSet<QString> numbers;
    for (const auto& r : results) {
        EXPECT_EQ(r.outcome.kind, approval::WriteOutcome::Done) << r.outcome.error.description.toStdString();
        numbers.insert(r.number);
    }
    EXPECT_EQ(numbers.size(), kClients);
    EXPECT_TRUE(numbers.contains(QStringLiteral("HTHQ-00000006")));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM 合同信息 WHERE 行政审批编号 IS NOT NULL")), kClients);
}

}  // namespace
}  // namespace corvane::test
