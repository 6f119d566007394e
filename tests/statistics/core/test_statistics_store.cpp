#include <gtest/gtest.h>

#include <vector>

#include "statistics/StatisticsStore.h"
#include "tests/statistics/core/StatisticsData.h"

namespace corvane::test {

using namespace statistics;

class StoreTest : public StatisticsDataTest {
protected:
    void SetUp() override
    {
        StatisticsDataTest::SetUp();
        dept("D01", "总部");
        dept("D02", "工程部", "职能部门", "D01");
        type("T1", "工程合同", "付款合同");
        type("T2", "物业服务合同", "收款合同");
        type("T3", "租赁合同", "收款合同");
        type("T4", "其他合同", "其他", false);
        contract({"HT-03", "T2", "D01", "乙公司", "履行中", "300.10"});
        contract({"HT-01", "T2", "D01", "甲公司", "履行中", "100.25"});
        contract({"HT-02", "T2", "D02", QVariant(QMetaType::fromType<QString>()), "签约完成", "50.00"});
        contract({"HT-04", "T1", "D02", "O'Neil", "履行中", "1000.00"});
        contract({"HT-05", "T3", "D01", "租户", "履行中", "999.00"});  // a lease
        contract({"HT-06", "T4", "D01", "甲公司", "履行中", "7.00"});
    }
    static SummaryCriteria everything(Grouping g)
    {
        SummaryCriteria c;
        c.types = {"T1", "T2", "T4"};
        c.departments = {"D01", "D02"};
        c.states = {"履行中", "签约完成"};
        c.grouping = g;
        return c;
    }
    static QStringList summary(const SummaryCriteria& c, const QString& category)
    {
        const auto groups = readSummary(c, category);
        EXPECT_TRUE(groups.has_value()) << groups.error().description.toStdString();
        QStringList out;
        if (groups)
            for (const SummaryGroup& g : *groups)
                out << g.name + u'|' + QString::number(g.count) + u'|' + amountText(g.amountCents);
        return out;
    }
    static QStringList detail(const SummaryCriteria& c, const DetailGroup& g, const QString& category)
    {
        QStringList numbers;
        const DbError e = readDetail(c, g, category, [&](const DetailValues& v) { numbers << v.number; });
        EXPECT_FALSE(e.isValid()) << e.description.toStdString();
        return numbers;
    }
};

TEST_F(StoreTest, SummaryByEachGroupingCountsEveryContractOfTheGroup)
{
    EXPECT_EQ(summary(everything(Grouping::Department), kReceiptCategory),
              QStringList({"D01 总部|2|400.35", "D02 工程部|1|50.00"}));
    // A contract without counterparty counts in its group.
    QStringList byParty = summary(everything(Grouping::Counterparty), kReceiptCategory);
    byParty.sort();
    EXPECT_EQ(byParty, QStringList({"|1|50.00", "乙公司|1|300.10", "甲公司|1|100.25"}));
    EXPECT_EQ(summary(everything(Grouping::ContractType), kPaymentCategory), QStringList({"工程合同|1|1000.00"}));
    // A type of neither category is in neither block.
    EXPECT_EQ(summary(everything(Grouping::ContractType), kReceiptCategory), QStringList({"物业服务合同|3|450.35"}));
}

TEST_F(StoreTest, ApostrophesAndDateRangesAreValues)
{
    SummaryCriteria c = everything(Grouping::Counterparty);
    c.counterparties = QStringList{"O'Neil"};
    EXPECT_EQ(summary(c, kPaymentCategory), QStringList({"O'Neil|1|1000.00"}));
    EXPECT_EQ(detail(c, {false, "O'Neil", false}, kPaymentCategory), QStringList({"HT-04"}));

    // The last day counts, also with a time of day.
    exec("UPDATE 合同信息 SET 合同终止日期 = ? WHERE 合同编号 = 'HT-01'",
         {testingOnPostgres() ? QVariant(QDate(2026, 6, 30)) : QVariant("2026-06-30 18:00:00")});
    c = everything(Grouping::Department);
    c.end = DateRange{QDate(2026, 6, 1), QDate(2026, 6, 30)};
    EXPECT_EQ(summary(c, kReceiptCategory), QStringList({"D01 总部|1|100.25"}));
    c.end = DateRange{QDate(2026, 6, 30), QDate(2026, 6, 30)};
    EXPECT_EQ(summary(c, kReceiptCategory), QStringList({"D01 总部|1|100.25"}));
    c.end.reset();
    c.start = DateRange{QDate(2026, 1, 2), QDate(2026, 12, 31)};
    EXPECT_TRUE(summary(c, kReceiptCategory).isEmpty());
}

TEST_F(StoreTest, ListsLongerThanTheEnginesBindLimitAreStaged)
{
    SummaryCriteria c = everything(Grouping::Counterparty);
    QStringList parties{"甲公司", "O'Neil"};
    for (int i = 0; i < bindLimit(Dialect::SqlServer) + bindLimit(DbDialect()); ++i) parties << QStringLiteral("单位%1").arg(i);
    c.counterparties = parties;
    EXPECT_EQ(summary(c, kReceiptCategory), QStringList({"甲公司|1|100.25"}));
    EXPECT_EQ(summary(c, kPaymentCategory), QStringList({"O'Neil|1|1000.00"}));
    EXPECT_EQ(detail(c, {true, "", false}, kReceiptCategory), QStringList({"HT-01"}));

    instalment(true, "HT-03", QDate(2026, 3, 15), "300.10");
    QStringList departments{"D01"};
    for (int i = 0; i < 3000; ++i) departments << QStringLiteral("X%1").arg(i);
    int rows = 0;
    const DbError e = readInstalments(true, departments, QDate(2026, 3, 1), QDate(2026, 3, 31),
                                      [&](const InstalmentValues&) { ++rows; });
    EXPECT_FALSE(e.isValid()) << e.description.toStdString();
    EXPECT_EQ(rows, 1);
}

TEST_F(StoreTest, DrillDownListsExactlyTheGroupsContracts)
{
    const SummaryCriteria byParty = everything(Grouping::Counterparty);
    EXPECT_EQ(detail(byParty, {false, "", true}, kReceiptCategory), QStringList({"HT-02"}));
    EXPECT_EQ(detail(byParty, {false, "甲公司", false}, kReceiptCategory), QStringList({"HT-01"}));
    // A "合计 " row: the whole category, by number.
    EXPECT_EQ(detail(byParty, {true, "", false}, kReceiptCategory), QStringList({"HT-01", "HT-02", "HT-03"}));
    EXPECT_EQ(detail(everything(Grouping::Department), {false, "D02", false}, kPaymentCategory), QStringList({"HT-04"}));
    EXPECT_EQ(detail(everything(Grouping::ContractType), {false, "物业服务合同", false}, kReceiptCategory).size(), 3);

    DetailValues seen;
    readDetail(everything(Grouping::Department), {false, "D02", false}, kPaymentCategory,
               [&](const DetailValues& v) { seen = v; });
    EXPECT_EQ(seen.category, kPaymentCategory);
    EXPECT_EQ(seen.departmentCode, QStringLiteral("D02"));
    EXPECT_EQ(seen.departmentName, QStringLiteral("工程部"));
    EXPECT_EQ(seen.typeName, QStringLiteral("工程合同"));
    EXPECT_EQ(seen.amountCents, 100000);
    EXPECT_EQ(dayText(seen.start), QStringLiteral("2026-01-01"));
    EXPECT_EQ(dateDefaultText(seen.signing), QStringLiteral("2026-01-01"));
    EXPECT_GT(seen.id, 0);
}

TEST_F(StoreTest, CriteriaListsLeaveLeasesOutByTypeName)
{
    EXPECT_EQ(contractStates(), QStringList({"履行中", "签约完成"}));
    EXPECT_EQ(counterparties(QString()), QStringList({"O'Neil", "乙公司", "甲公司"}));
    EXPECT_EQ(counterparties("o'n"), QStringList({"O'Neil"}));
    EXPECT_EQ(counterparties("公司"), QStringList({"乙公司", "甲公司"}));
    EXPECT_EQ(counterparties("%"), QStringList());
}

TEST_F(StoreTest, TypeTreeRights)
{
    auto codes = [](bool company, const QString& dept) {
        QStringList out;
        const auto types = typesForTree(company, dept);
        EXPECT_TRUE(types.has_value()) << types.error().description.toStdString();
        if (types)
            for (const auto& t : *types) out << t.code;
        return out;
    };
    EXPECT_EQ(codes(true, "D01"), QStringList({"T1", "T2", "T4"}));
    EXPECT_EQ(codes(false, "D01"), QStringList({"T1", "T2"}));
    assignType("T4", "D01");
    EXPECT_EQ(codes(false, "D01"), QStringList({"T1", "T2", "T4"}));
    EXPECT_EQ(codes(false, "D02"), QStringList({"T1", "T2"}));
}

TEST_F(StoreTest, InstalmentsWithTheirContractsSettledTotals)
{
    const qint64 a1 = instalment(true, "HT-01", QDate(2026, 3, 1), "60.00");
    const qint64 a0 = instalment(true, "HT-01", QDate(2025, 3, 1), "40.25");
    const qint64 a2 = instalment(true, "HT-01", QDate(2026, 3, 31), "0.00");
    instalment(true, "HT-03", QDate(2026, 3, 15), "300.10");
    instalment(true, "HT-05", QDate(2026, 3, 15), "999.00");  // a lease is listed
    instalment(true, "HT-05", QDate(2026, 4, 1), "1.00");     // out of range
    settle(true, a1, "10.50");
    settle(true, a0, "40.25");  // outside the range, still counts in the contract's total
    Q_UNUSED(a2);

    QStringList rows;
    std::vector<bool> newContract;
    const int before = statementsIssued();
    const DbError e = readInstalments(true, {"D01", "D02"}, QDate(2026, 3, 1), QDate(2026, 3, 31),
                                      [&](const InstalmentValues& v) {
                                          const auto t = instalmentTexts(true, v);
                                          rows << QStringList(t.begin(), t.end()).join(u'|');
                                          newContract.push_back(v.newContract);
                                      });
    ASSERT_FALSE(e.isValid()) << e.description.toStdString();
    EXPECT_EQ(statementsIssued() - before, 1);
    EXPECT_EQ(rows, QStringList({
                        "HT-01|合同HT-01|物业服务合同|履行中|2026-01-01|2026-12-31|100.25|50.75|2026-03-01|60|49.5",
                        "HT-01|合同HT-01|物业服务合同|履行中|2026-01-01|2026-12-31|100.25|50.75|2026-03-31|0|0",
                        "HT-03|合同HT-03|物业服务合同|履行中|2026-01-01|2026-12-31|300.1||2026-03-15|300.1|300.1",
                        "HT-05|合同HT-05|租赁合同|履行中|2026-01-01|2026-12-31|999||2026-03-15|999|999",
                    }));
    // The contract's columns come with its first listed instalment only.
    EXPECT_EQ(newContract, std::vector<bool>({true, false, true, true}));
}

TEST_F(StoreTest, VoidPaymentsSettleNothingAndTheStoredBalanceShows)
{
    const qint64 p1 = instalment(false, "HT-04", QDate(2026, 5, 5), "600.00", "100.00");
    const qint64 p2 = instalment(false, "HT-04", QDate(2027, 5, 5), "400.00");
    settle(false, p1, "500.00");
    settle(false, p2, "300.00", true);  // void
    QStringList rows;
    readInstalments(false, {"D02"}, QDate(2026, 5, 5), QDate(2026, 5, 5), [&](const InstalmentValues& v) {
        const auto t = instalmentTexts(false, v);
        rows << t[7] + u'|' + t[10];
    });
    EXPECT_EQ(rows, QStringList({"500|100"}));
    rows.clear();
    // A start after the end lists nothing.
    readInstalments(false, {"D02"}, QDate(2026, 5, 6), QDate(2026, 5, 5), [&](const InstalmentValues&) { rows << "x"; });
    EXPECT_TRUE(rows.isEmpty());
}

}  // namespace corvane::test

namespace corvane::test {

// The statistics select contracts by department and instalments by date.
TEST_F(StatisticsDataTest, TheIndexesOfTheStatisticsExist)
{
    const QString sql = DbDialect() == Dialect::SQLite
                            ? QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE type = 'index' AND name = ?")
                            : QStringLiteral("SELECT COUNT(*) FROM pg_indexes WHERE indexname = ?");
    for (const char* name : {"ix_合同信息_对应部门", "ix_合同收款计划表_收款日期", "ix_合同付款计划表_付款日期",
                             "ix_合同收款计划表_合同编号", "ix_合同付款计划表_合同编号", "ix_合同收款记录_合同收款计划id",
                             "ix_合同付款记录_合同付款计划id"})
        EXPECT_EQ(selectFirst(sql, {QString::fromUtf8(name)})->value(0).toInt(), 1) << name;
}

}  // namespace corvane::test
