// A contract's whole administrative road on both engines: submitted from the
// record window, circulated by the approval program, shown in the progress
// list, and carried back by the start-up synchronisation.
#include "SignOffFixture.h"
#include "platform/Tag.h"

namespace corvane::test {
namespace {

class RoundTrip : public SignOffTest {};

TEST_F(RoundTrip, SubmissionProgramProgressListSynchronisationAndAttachments)
{
    addAttachment(QStringLiteral("HT-1"), QStringLiteral("合同扫描件.pdf"), "%PDF scan");
    auto* w = shown();
    w->Command9_Click();
    ASSERT_EQ(lastText(), "提交完成");
    const QString number = TagOf(w->Command9);
    ASSERT_EQ(number, "HTHQ-00000001");

    // The program circulates the document: step 1 answers, step 2 is
    // reached, an inserted step stays private, an attachment is added.
    ApprovalProgram p = program();
    const QDateTime first(kToday, QTime(10, 15)), second(kToday, QTime(14, 5));
    ASSERT_TRUE(p.reply(number, QStringLiteral("P02"), QStringLiteral("同意"), first, true, QStringLiteral("E002")));
    ASSERT_NE(p.addDelivery(number, QStringLiteral("D02"), QStringLiteral("P03"), 2), 0);
    ASSERT_NE(p.addDelivery(number, QStringLiteral("D01"), QStringLiteral("P01"), 2, 1, false), 0);
    ASSERT_TRUE(p.reply(number, QStringLiteral("P03"), QStringLiteral("同意\r\n请尽快办理"), second, true, QStringLiteral("E001")));
    ASSERT_TRUE(p.addAttachment(number, QStringLiteral("批示"), QStringLiteral("pdf"), "%PDF approved"));

    w->Command9_Click();
    EXPECT_EQ(gridRows(*w->MSFlexGrid1),
              (QList<QStringList>{{"1", "财务部 会计", "王芳", "2026-12-10 10:15:00", "同意", "同意"},
                                  {"2", "工程部 工程师", "张伟", "2026-12-10 14:05:00", "同意\r\n请尽快办理", "同意"}}));
    EXPECT_FALSE(w->Picture10->isHidden());

    // Not finished yet: the start-up leaves the contract waiting.
    EXPECT_FALSE(mainWindowHooks().行政合同审批同步().error.isValid());
    EXPECT_EQ(contractRow(QStringLiteral("HT-1")).text("合同状态"), "审批中");

    ASSERT_TRUE(p.finish(number, QDateTime(kToday, QTime(15, 0)), true));
    EXPECT_FALSE(mainWindowHooks().行政合同审批同步().error.isValid());
    const Row contract = contractRow(QStringLiteral("HT-1"));
    EXPECT_EQ(contract.text("合同状态"), "审批通过");
    EXPECT_EQ(contract.text("流转通过"), "1");
    EXPECT_EQ(toDateTime(contract.value("流转结束日期")), QDateTime(kToday, QTime(15, 0)));
    EXPECT_EQ(contractAttachments(QStringLiteral("HT-1")), (QStringList{"合同扫描件.pdf/文件", "批示.pdf/文件"}));

    // The record window lists the returned attachment and opens it.
    w->显示合同信息();
    ASSERT_EQ(w->MSFlexGrid2->Rows(), 3);
    EXPECT_EQ(w->MSFlexGrid2->TextMatrix(2, 1), "批示.pdf");
    w->MSFlexGrid2->setRow(2);
    w->MSFlexGrid2->setCol(2);
    w->MSFlexGrid2_Click();
    const QString copy = QDir(programFolder()).filePath("Temp/批示.pdf");
    EXPECT_EQ(doubles().shell->opened, QStringList{copy});
    QFile opened(copy);
    ASSERT_TRUE(opened.open(QIODevice::ReadOnly));
    EXPECT_EQ(opened.readAll(), QByteArray("%PDF approved"));
}

TEST_F(RoundTrip, ARefusalComesBackAsNotApproved)
{
    auto* w = shown();
    w->Command9_Click();
    const QString number = TagOf(w->Command9);
    ApprovalProgram p = program();
    ASSERT_TRUE(p.reply(number, QStringLiteral("P02"), QStringLiteral("金额过高"), QDateTime(kToday, QTime(11, 0)), false,
                        QStringLiteral("E002")));
    ASSERT_TRUE(p.finish(number, QDateTime(kToday, QTime(11, 0)), false));
    EXPECT_FALSE(mainWindowHooks().行政合同审批同步().error.isValid());
    EXPECT_EQ(contractRow(QStringLiteral("HT-1")).text("合同状态"), "审批未通过");
    w->Command9_Click();
    EXPECT_EQ(gridRows(*w->MSFlexGrid1),
              (QList<QStringList>{{"1", "财务部 会计", "王芳", "2026-12-10 11:00:00", "金额过高", "不同意"}}));
}

TEST_F(RoundTrip, CountersignDecisionsRecordedOutsideShowInTheirList)
{
    approval::CountersignSubmission s;
    s.contract.number = QStringLiteral("HT-1");
    s.contract.id = idOf("HT-1");
    s.now = QDateTime(kToday, QTime(9, 0));
    s.steps = {{"D01", "P02", 1, 1}};
    ASSERT_EQ(approval::submitCountersign(s).kind, approval::WriteOutcome::Done);
    ASSERT_TRUE(program().decideCountersign(QStringLiteral("HT-1"), QStringLiteral("P02"), QStringLiteral("王芳"),
                                            QDateTime(kToday, QTime(16, 0)), QStringLiteral("可以"), true));
    auto* w = shown();
    w->Command9_Click();
    EXPECT_EQ(gridRows(*w->MSFlexGrid1),
              (QList<QStringList>{{"1", "财务部 会计", "王芳", "2026-12-10 16:00:00", "可以", "同意"}}));
}

}  // namespace
}  // namespace corvane::test
