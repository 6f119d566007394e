#include <gtest/gtest.h>

#include "ContractFixture.h"
#include "db/Dialect.h"
#include "contracts/ContractListQuery.h"

using namespace corvane;
using namespace corvane::test;

namespace {

// Contracts of D01 unless named B*, which belong to D02.
class ListQueryTest : public ContractTest {
protected:
    void SetUp() override
    {
        ContractTest::SetUp();
        const QString T1 = QStringLiteral("T1"), T2 = QStringLiteral("T2"), T3 = QStringLiteral("T3");
        const QString D01 = QStringLiteral("D01"), D02 = QStringLiteral("D02");
        auto end = [](int y, int m, int d) { return std::map<QString, QVariant>{{QStringLiteral("合同终止日期"), QDate(y, m, d)}}; };
        // Two due instalments; ends on the 60-day limit.
        addContract("P1", D01, T1, "履行中", end(2027, 2, 8));
        addPayment("P1", QDate(2026, 11, 1), "100", "100");
        addPayment("P1", QDate(2027, 2, 8), "50", "50");
        // Ends one day after the limit; its open instalment too; its due one is paid.
        addContract("P2", D01, T1, "履行中", end(2027, 2, 9));
        addPayment("P2", QDate(2027, 2, 9), "10", "10");
        addPayment("P2", QDate(2026, 11, 1), "10", "0");
        // Ends today with an instalment due today.
        addContract("R1", D01, T2, "履行中", end(2026, 12, 10));
        addReceipt("R1", QDate(2026, 12, 10), "5", "5");
        addContract("N1", D01, T1, "未提交");
        addContract("S1", D01, T1, "签约中");
        addContract("S2", D01, T1, "审批中");
        addContract("S3", D01, T1, "审批通过");
        addContract("S4", D01, T1, "签约完成");
        addContract("X1", D01, T1, "审批未通过");
        addContract("X2", D01, T1, "已作废");
        addContract("E1", D01, T1, "已中止", {{"合同生效日期", QDate(2026, 6, 1)}, {"合同中止日期", QDate(2026, 6, 19)}});
        addContract("E2", D01, T1, "中止", {{"合同生效日期", QDate(2026, 6, 30)}, {"合同中止日期", QDate(2026, 6, 20)}});
        addContract("E3", D01, T2, "履行完成", {{"合同生效日期", QDate(2026, 6, 1)}, {"合同终止日期", QDate(2026, 7, 1)}});
        addContract("E4", D01, T2, "履行完成", {{"合同生效日期", QDate(2026, 5, 31)}});
        // A lease contract fits every option but is never listed.
        addContract("L1", D01, T3, "履行中", end(2026, 12, 1));
        addReceipt("L1", QDate(2026, 12, 1), "5", "5");
        addContract("L2", D01, T3, "中止", {{"合同生效日期", QDate(2026, 6, 1)}});
        addContract("B1", D02, T1, "履行中", end(2026, 12, 1));
        addPayment("B1", QDate(2026, 12, 1), "5", "5");
        addContract("B2", D02, T1, "中止", {{"合同生效日期", QDate(2026, 6, 15)}});
        addContract("B3", D02, T1, "审批中");
        grantCompanyScope("D01", "P01");
    }
};

using Set = QSet<QString>;
Set set(std::initializer_list<const char*> l)
{
    Set s;
    for (const char* n : l) s << QString::fromUtf8(n);
    return s;
}

}  // namespace

TEST_F(ListQueryTest, EachOptionInBothScopes)
{
    enum Opt { Live, PayDue, RecvDue, Ending, Ended, Overdue, Signing, All };
    struct Case {
        const char* name;
        Opt option;
        bool company;
        Set expected;
        const char* days = "60";
        int basis = 0;
        QDate from = QDate(2026, 6, 1), to = QDate(2026, 6, 30);
    } cases[] = {
        {"in force", Live, false, set({"P1", "P2", "R1", "N1", "S1"})},
        {"in force, company", Live, true, set({"P1", "P2", "R1", "N1", "S1", "B1"})},
        {"payments due, listed once", PayDue, false, set({"P1"})},
        {"payments due, company", PayDue, true, set({"P1", "B1"})},
        {"receipts due", RecvDue, false, set({"R1"})},
        {"receipts due, company", RecvDue, true, set({"R1"})},
        {"ending by the limit", Ending, false, set({"P1", "R1"})},
        {"ending, company", Ending, true, set({"P1", "R1", "B1"})},
        {"ending, days not a number", Ending, false, set({"R1"}), "abc"},
        {"ending, days before today", Ending, false, set({}), "-1"},
        {"ended, all three kinds", Ended, false, set({"E1", "E2", "E3"})},
        {"ended, company", Ended, true, set({"E1", "E2", "E3", "B2"})},
        {"ended by end date", Ended, false, set({"E3"}), "60", 1, QDate(2026, 7, 1), QDate(2026, 7, 1)},
        {"ended by suspension date", Ended, false, set({"E2"}), "60", 2, QDate(2026, 6, 20), QDate(2026, 6, 30)},
        {"ended, from after to", Ended, false, set({}), "60", 0, QDate(2026, 6, 30), QDate(2026, 6, 1)},
        {"overdue", Overdue, false, set({"R1"})},
        {"overdue, company", Overdue, true, set({"R1", "B1"})},
        {"before effect", Signing, false, set({"N1", "S1", "S2", "S3", "S4"})},
        {"before effect, company", Signing, true, set({"N1", "S1", "S2", "S3", "S4", "B3"})},
        {"all", All, false, set({"P1", "P2", "R1", "N1", "S1", "S2", "S3", "S4", "X1", "X2", "E1", "E2", "E3", "E4"})},
        {"all, company",
         All,
         true,
         set({"P1", "P2", "R1", "N1", "S1", "S2", "S3", "S4", "X1", "X2", "E1", "E2", "E3", "E4", "B1", "B2", "B3"})},
    };
    frmCorvane* f = openList();
    QRadioButton* options[] = {f->Option3[0], f->Option3[1], f->Option3[2], f->Option3[3],
                               f->Option1[0], f->Option1[1], f->Option4,    f->Option2};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        options[c.option]->setChecked(true);
        f->Check1->setChecked(c.company);
        f->Text2->setText(QString::fromUtf8(c.days));
        f->Option5[size_t(c.basis)]->setChecked(true);
        f->DTPicker1->setDate(c.from);
        f->DTPicker2->setDate(c.to);
        f->Command1_Click();
        EXPECT_EQ(listed(*f), c.expected);
        EXPECT_EQ(f->MSFlexGrid1->Rows() - 1, c.expected.size()) << "each contract once";
        EXPECT_EQ(f->Label1[2]->text(), QStringLiteral("共有 %1 份合同").arg(c.expected.size()));
        EXPECT_EQ(f->MSFlexGrid1->Row(), f->MSFlexGrid1->Rows() - 1);
    }
}

TEST(ListStatement, EveryValueIsBoundAndTheOrderIsStable)
{
    contract::ListSelection s;
    s.department = QStringLiteral("D01' OR '1'='1");
    s.filter = contract::ListFilter::已终止履行合同;
    s.today = QDate(2026, 12, 10);
    s.from = QDate(2026, 1, 1);
    s.to = QDate(2026, 12, 31);
    const auto b = contract::contractListStatement(s);
    EXPECT_FALSE(b.sql.contains(QLatin1Char('\'')));
    EXPECT_FALSE(b.sql.contains(QStringLiteral("2026")));
    EXPECT_TRUE(b.values.contains(s.department));
    EXPECT_TRUE(b.sql.endsWith(QStringLiteral("ORDER BY 合同信息.id")));
}

// Dates come as text on every engine, so no driver turns them into
// QDateTime through the time-zone rules on the way.
TEST(ListStatement, DatesAreReadAsText)
{
    const struct {
        Dialect dialect;
        const char* submitted;
    } cases[] = {
        {Dialect::SQLite, "合同信息.提交日期 AS 提交日期"},
        {Dialect::PostgreSQL, "to_char(合同信息.提交日期, 'YYYY-MM-DD HH24:MI:SS') AS 提交日期"},
        {Dialect::SqlServer, "CONVERT(VARCHAR(19), 合同信息.提交日期, 120) AS 提交日期"},
    };
    for (const auto& c : cases) {
        const QString sql = contract::contractListStatement({}, c.dialect).sql;
        EXPECT_TRUE(sql.contains(QString::fromUtf8(c.submitted))) << sql.toStdString();
        for (const char* column : {"合同签订日期", "合同生效日期", "合同终止日期", "合同中止日期", "流转结束日期"}) {
            const QString name = QString::fromUtf8(column);
            EXPECT_TRUE(sql.contains(dialect::dateTimeText(c.dialect, QStringLiteral("合同信息.") + name) +
                                     QStringLiteral(" AS ") + name))
                << column;
        }
    }
}

TEST(ListStatement, DueLimitCountsWholeDays)
{
    const QDate today(2026, 12, 10);
    EXPECT_EQ(contract::dueLimit(today, 60), QDate(2027, 2, 8));
    EXPECT_EQ(contract::dueLimit(today, 1.5), QDate(2026, 12, 11));
    EXPECT_EQ(contract::dueLimit(today, -1.5), QDate(2026, 12, 8));
    EXPECT_EQ(contract::dueLimit(today, 0), today);
}
