#include <gtest/gtest.h>

#include "RecordFixture.h"

using namespace corvane;
using namespace corvane::test;

namespace {

const QString kContinue = QStringLiteral("请继续补充收付款计划等续签合同的相关信息，并按[确定]保存补充的信息");
const QString kContinueSupplement = QStringLiteral("请继续补充收付款计划等补充合同的相关信息，并按[确定]保存补充的信息");

std::map<QString, QVariant> inForce(const QDate& start, const QDate& end)
{
    return {{"合同名称", "保洁\r\n服务"}, {"合同金额", "1200"}, {"合同起始日期", start}, {"合同终止日期", end},
            {"对方单位", "甲公司"}, {"对方开户行", "工行"}, {"主要条款", "条款"}, {"签约人", "张三"}};
}

}  // namespace

TEST_F(RecordTest, RenewalProposesNameAmountAndTheNextTerm)
{
    addContract("GC-00000001", "D01", "T1", "履行中", inForce(QDate(2021, 1, 1), QDate(2021, 2, 28)));
    auto* f = openRecord("修改", "GC-00000001");
    f->Command20_Click();
    EXPECT_TRUE(shown(f->Picture6));
    EXPECT_EQ(f->Label1[24]->text(), "续签合同处理");
    EXPECT_EQ(f->Label1[33]->text(), "您正在处理 保洁服务 的续签信息");
    EXPECT_EQ(f->Text5[0]->text(), "保洁服务");
    EXPECT_EQ(f->Text5[4]->text(), "1200.00");
    EXPECT_EQ(f->Text5[2]->text(), "2021-03-01");
    EXPECT_EQ(f->Text5[3]->text(), "2021-04-30");
    EXPECT_FALSE(shown(f->Text5[5]));
    EXPECT_EQ(f->月底日期("2024-02-10"), "29");
    EXPECT_EQ(f->月底日期("2100-02-10"), "28");
}

TEST_F(RecordTest, RenewalOfAContractWithoutStartLeavesTheEndToTheUser)
{
    auto columns = inForce(QDate(2021, 1, 1), QDate(2021, 2, 28));
    columns.erase("合同起始日期");
    addContract("A", "D01", "T1", "履行中", columns);
    auto* f = openRecord("修改", "A");
    f->Text5[3]->setText("");
    f->Command20_Click();
    EXPECT_EQ(lastText(), "原合同的起止日期不正确，无法推算续签合同期，请直接输入新合同期");
    EXPECT_TRUE(shown(f->Picture6));
    EXPECT_EQ(f->Text5[0]->text() + "|" + f->Text5[2]->text() + "|" + f->Text5[3]->text(), "保洁服务|2021-03-01|");
}

TEST_F(RecordTest, RenewalInsertsTheNewContractAndLinksTheOldOne)
{
    addContract("GC-00000007", "D01", "T1", "履行中", inForce(QDate(2020, 1, 1), QDate(2020, 12, 31)));
    exec("UPDATE 合同信息 SET 流水号 = 7");
    auto* f = openRecord("修改", "GC-00000007");
    f->Command20_Click();
    f->Command28_Click();
    EXPECT_EQ(lastText(), kContinue);
    EXPECT_FALSE(shown(f->Picture6));

    const Row n = contractRow("GC-00000008");
    EXPECT_EQ(n.text("合同状态"), "未提交");
    EXPECT_EQ(n.text("合同名称"), "保洁服务");
    EXPECT_EQ(n.text("合同类型"), "T1");
    EXPECT_EQ(n.text("对应部门"), "D01");
    EXPECT_EQ(n.text("对方开户行"), "工行");
    EXPECT_EQ(toDate(n.value("合同起始日期")), QDate(2021, 1, 1));
    EXPECT_EQ(toDate(n.value("合同终止日期")), QDate(2021, 12, 31));
    EXPECT_TRUE(n.isNull("对应续约合同编号"));
    EXPECT_TRUE(n.isNull("CzyDH"));
    EXPECT_EQ(contractRow("GC-00000007").text("对应续约合同编号"), "GC-00000008");
    EXPECT_EQ(contractRow("GC-00000007").text("合同状态"), "履行中");

    // The window shows the new contract as a never-submitted one.
    EXPECT_EQ(f->Text1[1]->text(), "GC-00000008");
    EXPECT_EQ(f->Tag, "修改");
    EXPECT_EQ(f->Command9->text(), "提交");
    EXPECT_TRUE(on(f->Command2));

    // Back on the old contract a second renewal is refused.
    f->showContract("GC-00000007", QString::number(idOf("GC-00000007")));
    f->显示合同信息();
    f->Command20_Click();
    EXPECT_EQ(lastText(), "已经有续签合同，不能生成多份续签合同");
}

TEST_F(RecordTest, RenewalRenewedElsewhereMeanwhileLeavesNoNewContract)
{
    addContract("GC-00000001", "D01", "T1", "履行中", inForce(QDate(2020, 1, 1), QDate(2020, 12, 31)));
    addContract("OTHER", "D01", "T1", "未提交");
    auto* f = openRecord("修改", "GC-00000001");
    f->Command20_Click();
    exec("UPDATE 合同信息 SET 对应续约合同编号 = ? WHERE 合同编号 = ?", {"OTHER", "GC-00000001"});
    f->Command28_Click();
    EXPECT_EQ(lastText(), "已经有续签合同，不能生成多份续签合同");
    EXPECT_EQ(count("SELECT COUNT(*) FROM 合同信息"), 2);
    EXPECT_TRUE(shown(f->Picture6));
    EXPECT_TRUE(on(f->Command28));
}

TEST_F(RecordTest, PanelChecksComeWithTheirMessages)
{
    addContract("A", "D01", "T1", "履行中", inForce(QDate(2020, 1, 1), QDate(2020, 12, 31)));
    addContract("TAKEN", "D01", "T1", "未提交");
    auto* f = openRecord("修改", "A");
    f->Command31_Click();
    const struct {
        const char* what;
        QString name, number, start, end, amount, type;
        bool automatic;
        const char* message;
    } cases[] = {
        {"name", "", "", "2021-01-01", "2021-12-31", "5", "T2 物业服务合同", true, "合同名称不能为空，请填写合同名称!"},
        {"number", "补", "", "2021-01-01", "2021-12-31", "5", "T2 物业服务合同", false, "请输入合同编号"},
        {"term", "补", "", "2021-01-01", "2021-02-30", "5", "T2 物业服务合同", true, "请输入正确合同的起止日期"},
        {"type", "补", "", "2021-01-01", "2021-12-31", "5", "", true, "请确定补充合同的合同类型"},
        {"type typed without its code", "补", "", "2021-01-01", "2021-12-31", "5", "物业服务合同", true,
         "请确定补充合同的合同类型"},
        {"amount", "补", "", "2021-01-01", "2021-12-31", "五元", "T2 物业服务合同", true, "确认补充合同的金额为0"},
        {"amount with a third decimal", "补", "", "2021-01-01", "2021-12-31", "123456.789", "T2 物业服务合同", true,
         "请输入正确的合同金额（数字，最多两位小数）"},
        {"amount past thirteen digits", "补", "", "2021-01-01", "2021-12-31", "12345678901234.56", "T2 物业服务合同",
         true, "请输入正确的合同金额（数字，最多两位小数）"},
        {"taken", "补", "TAKEN", "2021-01-01", "2021-12-31", "5", "T2 物业服务合同", false,
         "TAKEN编号的合同已经存在，请输入其他的合同编号"},
    };
    for (const auto& c : cases) {
        f->Text5[0]->setText(c.name);
        f->Text5[1]->setText(c.number);
        f->Text5[2]->setText(c.start);
        f->Text5[3]->setText(c.end);
        f->Text5[4]->setText(c.amount);
        f->Text5[5]->setText(c.type);
        f->Check3->setChecked(c.automatic);
        doubles().boxes->answers = {vbNo};
        f->Command28_Click();
        EXPECT_EQ(boxes().last().text, QString::fromUtf8(c.message)) << c.what;
        EXPECT_TRUE(on(f->Command28)) << c.what;
    }
    EXPECT_EQ(count("SELECT COUNT(*) FROM 合同信息"), 2);
}

TEST_F(RecordTest, SupplementTakesItsMainContractsPrefixAndLinks)
{
    const struct {
        const char* mainType;
        const char* number;
    } cases[] = {{"T1", "GC-00000001"}, {"T4", "00000002"}};
    int n = 0;
    for (const auto& c : cases) {
        const QString main = QStringLiteral("M-%1").arg(++n);
        addContract(main, "D01", c.mainType, "履行中", inForce(QDate(2020, 1, 1), QDate(2020, 12, 31)));
        auto* f = openRecord("修改", main);
        f->Command31_Click();
        EXPECT_TRUE(shown(f->Text5[5]));
        EXPECT_EQ(f->Text5[4]->text(), "0");
        EXPECT_EQ(f->Label1[33]->text(), "您正在处理 保洁\n服务 合同的补充合同");
        f->Command23_Click(0);
        EXPECT_TRUE(shown(f->List2));
        f->List2->setCurrentRow(1);  // T2, a receipt contract
        f->List2_Click();
        EXPECT_EQ(f->Text5[5]->text(), "T2 物业服务合同");
        EXPECT_EQ(f->Label1[34]->text(), "收款合同");
        f->Text5[0]->setText("补充协议");
        f->Text5[2]->setText("2020-06-01");
        f->Text5[3]->setText("2020-12-31");
        f->Text5[4]->setText("-300.5");
        f->Check3->setChecked(true);
        f->Check4->setChecked(true);
        f->Command28_Click();
        EXPECT_EQ(lastText(), kContinueSupplement);
        const Row r = contractRow(c.number);
        EXPECT_EQ(r.value("补充").toInt(), 1) << c.number;
        EXPECT_EQ(r.text("主合同编号"), main);
        EXPECT_EQ(r.value("收付款计划合并").toInt(), 1);
        EXPECT_EQ(r.text("合同类型"), "T2");
        EXPECT_EQ(contract::amountText(r.value("合同金额")), "-300.50");
        EXPECT_EQ(contract::amountText(contractRow(main).value("合同金额")), "1200.00");
        EXPECT_TRUE(contractRow(main).isNull("对应续约合同编号"));
        EXPECT_EQ(f->Text1[1]->text(), QString::fromUtf8(c.number));
    }
}

TEST_F(RecordTest, ZeroSupplementNeedsConfirmation)
{
    addContract("A", "D01", "T1", "履行中", inForce(QDate(2020, 1, 1), QDate(2020, 12, 31)));
    auto* f = openRecord("修改", "A");
    f->Command31_Click();
    f->Text5[0]->setText("补");
    f->Text5[2]->setText("2021-01-01");
    f->Text5[3]->setText("2021-02-01");
    f->Text5[5]->setText("T1 工程合同");
    doubles().boxes->answers = {vbYes};
    f->Command28_Click();
    EXPECT_EQ(texts(), (QStringList{"确认补充合同的金额为0", kContinueSupplement}));
    EXPECT_EQ(count("SELECT COUNT(*) FROM 合同信息 WHERE 补充 = 1"), 1);
}

TEST_F(RecordTest, PanelCalendarOpensAboveItsBoxOnTheBoxesDate)
{
    addContract("A", "D01", "T1", "履行中", inForce(QDate(2020, 1, 1), QDate(2020, 12, 31)));
    auto* f = openRecord("修改", "A");
    f->Command20_Click();
    f->Text5_GotFocus(3);
    EXPECT_TRUE(shown(f->MonthView2));
    EXPECT_TRUE(shown(f->Command23[2]));
    EXPECT_EQ(f->MonthView2->selectedDate(), QDate(2021, 12, 31));
    EXPECT_LT(f->MonthView2->y(), f->Picture6->y() + f->Text5[3]->y());
    f->Command23_Click(2);
    EXPECT_FALSE(shown(f->MonthView2));
    f->Command23_Click(2);
    f->MonthView2_DateClick(QDate(2022, 1, 15));
    EXPECT_EQ(f->Text5[3]->text(), "2022-01-15");
    EXPECT_FALSE(shown(f->MonthView2));
    f->Text5_GotFocus(0);
    EXPECT_FALSE(shown(f->Command23[2]));
}
