#include <gtest/gtest.h>

#include "RecordFixture.h"

using namespace corvane;
using namespace corvane::test;

namespace {

std::map<QString, QVariant> approved(std::map<QString, QVariant> more = {})
{
    more.emplace("提交日期", QDateTime(QDate(2026, 1, 5), QTime(10, 0)));
    more.emplace("流转结束日期", QDateTime(QDate(2026, 1, 9), QTime(16, 0)));
    more.emplace("流转通过", 1);
    return more;
}

}  // namespace

TEST_F(RecordTest, SigningWritesDatesStateAndSignatories)
{
    const struct {
        bool immediate;
        const char* state;
        bool effectiveDate;
    } cases[] = {{true, "履行中", true}, {false, "签约完成", false}};
    int n = 0;
    for (const auto& c : cases) {
        const QString number = QStringLiteral("S-%1").arg(++n);
        addContract(number, "D01", "T1", "审批通过", approved());
        auto* f = openRecord("修改", number);
        ASSERT_EQ(f->Command18->text(), "合同签订");
        f->Check2->setChecked(c.immediate);
        f->Text1[10]->setText("2026-02-01");
        f->Text1[8]->setText("李四");
        f->Text1[9]->setText("");
        boxes().clear();
        f->Command18_Click();
        ASSERT_EQ(boxes().size(), 1);
        EXPECT_EQ(boxes()[0].text, "请核对：\n\n对方签字人（代表）为 李四\n本方签字人（代表）为 \n\n 是否继续？");
        EXPECT_EQ(boxes()[0].buttons(), vbYesNo);
        const Row r = contractRow(number);
        EXPECT_EQ(r.text("合同状态"), QString::fromUtf8(c.state));
        EXPECT_EQ(toDate(r.value("合同签订日期")), QDate(2026, 2, 1));
        EXPECT_EQ(r.isNull("合同生效日期"), !c.effectiveDate);
        EXPECT_EQ(r.text("对方签约人"), "李四");
        EXPECT_FALSE(r.isNull("签约人"));  // an empty signatory is an empty text
        EXPECT_EQ(f->Label1[18]->text(), QString::fromUtf8(c.state));
        EXPECT_EQ(on(f->Command18), !c.immediate);
        EXPECT_EQ(shown(f->Command26), !c.immediate);
    }
}

TEST_F(RecordTest, SigningAndTakingEffectRefuseAMissingDateBeforeAnything)
{
    addContract("A", "D01", "T1", "审批通过", approved());
    auto* f = openRecord("修改", "A");
    f->Text1[10]->setText("");
    f->Command18_Click();
    EXPECT_EQ(texts(), QStringList{"请输入正确的签订日期"});

    exec("UPDATE 合同信息 SET 合同签订日期 = ?, 合同状态 = ? WHERE 合同编号 = ?", {QDate(2026, 2, 1), "签约完成", "A"});
    f->Form_Activate();
    ASSERT_EQ(f->Command18->text(), "合同生效");
    boxes().clear();
    f->Command18_Click();  // no effective date in the box
    EXPECT_EQ(texts(), QStringList{"请输入正确的生效日期"});
    EXPECT_EQ(contractRow("A").text("合同状态"), "签约完成");
    EXPECT_TRUE(contractRow("A").isNull("合同生效日期"));

    f->Text1[11]->setText("2026-02-03");
    f->Command18_Click();
    EXPECT_EQ(contractRow("A").text("合同状态"), "履行中");
    EXPECT_EQ(toDate(contractRow("A").value("合同生效日期")), QDate(2026, 2, 3));
    EXPECT_TRUE(on(f->Command20));
}

TEST_F(RecordTest, ActionOnAContractChangedMeanwhileIsReported)
{
    addContract("A", "D01", "T1", "审批通过", approved());
    auto* f = openRecord("修改", "A");
    exec("UPDATE 合同信息 SET 合同签订日期 = ?, 合同状态 = ? WHERE 合同编号 = ?", {QDate(2026, 3, 1), "履行中", "A"});
    f->Text1[10]->setText("2026-02-01");
    f->Command18_Click();
    EXPECT_EQ(lastText(), "该合同已被删除，或其状态已被他人改变，本次操作没有执行。请重新打开该合同。");
    EXPECT_EQ(toDate(contractRow("A").value("合同签订日期")), QDate(2026, 3, 1));
}

TEST_F(RecordTest, SuspendingAsksFirstThenChecksTheDate)
{
    addContract("A", "D01", "T1", "履行中", {{"合同终止日期", QDate(2027, 1, 1)}});
    auto* f = openRecord("修改", "A");
    f->Text1[12]->setText("");
    f->Command19_Click();
    EXPECT_EQ(texts(), (QStringList{"确定要中止本合同履行吗？", "您输入了非法的中止日期"}));

    f->Text1[12]->setText("2026-06-01");
    f->Text1[13]->setText("");
    f->Command19_Click();
    const Row r = contractRow("A");
    EXPECT_EQ(r.text("合同状态"), "已中止");
    EXPECT_EQ(toDate(r.value("合同中止日期")), QDate(2026, 6, 1));
    EXPECT_TRUE(r.isNull("中止原因"));
    // The state shows at once, and the buttons are those of a suspended contract.
    EXPECT_EQ(f->Label1[18]->text(), "已中止");
    EXPECT_FALSE(on(f->Command19));
    EXPECT_TRUE(on(f->Command20));
}

TEST_F(RecordTest, VoidingWritesTheWorkstationsDate)
{
    addContract("A", "D01", "T1", "未提交");
    auto* f = openRecord("修改", "A");
    doubles().boxes->answers = {vbNo};
    f->Command10_Click();
    EXPECT_EQ(contractRow("A").text("合同状态"), "未提交");
    f->Command10_Click();
    EXPECT_EQ(texts().last(), "确认要作废本合同？");
    const Row r = contractRow("A");
    EXPECT_EQ(r.text("合同状态"), "已作废");
    EXPECT_EQ(toDate(r.value("作废日期")), kToday);
    EXPECT_EQ(f->Label1[18]->text(), "已作废");
    EXPECT_FALSE(on(f->Command10));
}

TEST_F(RecordTest, DeletingRemovesTheContractAndItsUnitsTogether)
{
    addContract("A", "D01", "T1", "未提交");
    addContract("B", "D01", "T1", "未提交");
    const qint64 a = idOf("A");
    exec("INSERT INTO 合同单元信息 (合同ID) VALUES (?)", {a});
    exec("INSERT INTO 合同单元信息 (合同ID) VALUES (?)", {idOf("B")});
    addPayment("A", QDate(2026, 3, 1), "100", "100");
    auto* f = openRecord("修改", "A");
    f->Command3_Click();
    EXPECT_EQ(texts(), (QStringList{"确定要删除合同编号为 A 的合同信息吗？", "删除操作完成！"}));
    EXPECT_EQ(idOf("A"), -1);
    EXPECT_EQ(count("SELECT COUNT(*) FROM 合同单元信息"), 1);
    EXPECT_EQ(count("SELECT COUNT(*) FROM 合同付款计划表 WHERE 合同编号 = ?", {"A"}), 1);
    EXPECT_EQ(f->Text1[1]->text(), "A");

    // Nothing is open to the deleted contract any more.
    for (QWidget* b : {static_cast<QWidget*>(f->Command2), static_cast<QWidget*>(f->Command3),
                       static_cast<QWidget*>(f->Command9), static_cast<QWidget*>(f->Command10)})
        EXPECT_FALSE(on(b)) << b->objectName().toStdString();
    boxes().clear();
    f->Command3_Click();
    EXPECT_TRUE(boxes().isEmpty());
}

TEST_F(RecordTest, DeleteOfAContractSubmittedMeanwhileKeepsEverything)
{
    addContract("A", "D01", "T1", "未提交");
    exec("INSERT INTO 合同单元信息 (合同ID) VALUES (?)", {idOf("A")});
    auto* f = openRecord("修改", "A");
    exec("UPDATE 合同信息 SET 提交日期 = ?, 合同状态 = ? WHERE 合同编号 = ?", {QDateTime(kToday, QTime(9, 0)), "审批中", "A"});
    f->Command3_Click();
    EXPECT_NE(idOf("A"), -1);
    EXPECT_EQ(count("SELECT COUNT(*) FROM 合同单元信息"), 1);
}
