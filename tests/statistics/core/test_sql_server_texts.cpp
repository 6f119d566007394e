// The statistics statements as the SQL Server dialect sends them, with their
// staged lists, compared with the reviewed text in
// sql_server_statistics.expected.sql (no SQL Server runs here).

#include <gtest/gtest.h>

#include "statistics/StatisticsQuery.h"
#include "testsupport/ExpectedText.h"

namespace corvane::statistics {
namespace {

constexpr Dialect kSql = Dialect::SqlServer;

TEST(SqlServerTexts, StatisticsWithStagedLists)
{
    QString out;
    auto section = [&](const QString& what, const QStringList& statements) { test::appendStatements(out, what, statements); };
    // One list past what SQL Server binds one by one, one short of it.
    QStringList many, few;
    for (int i = 0; i <= bindLimit(kSql); ++i) many << QStringLiteral("D%1").arg(i);
    few << QStringLiteral("HT01") << QStringLiteral("HT02");
    SummaryCriteria c;
    c.types = few;
    c.departments = many;
    c.states = {QStringLiteral("履行中")};
    c.counterparties = many;
    c.start = DateRange{QDate(2026, 1, 1), QDate(2026, 12, 31)};
    c.end = DateRange{QDate(2026, 1, 1), QDate(2027, 12, 31)};

    section(QStringLiteral("staging"), {createStagingTable(kSql), clearStagingTable(kSql), stageValue(kSql)});
    const SqlText summary = summaryQuery(kSql, c, kReceiptCategory);
    EXPECT_EQ(summary.staged.size(), 2u);
    section(QStringLiteral("summary, by department"), {summary.sql});
    c.grouping = Grouping::Counterparty;
    section(QStringLiteral("summary, by counterparty"), {summaryQuery(kSql, c, kPaymentCategory).sql});
    section(QStringLiteral("drill-down of a group and of a whole category"),
            {detailQuery(kSql, c, DetailGroup{false, QStringLiteral("甲方"), false}, kReceiptCategory).sql,
             detailQuery(kSql, c, DetailGroup{true, QString(), false}, kReceiptCategory).sql});
    section(QStringLiteral("instalments, staged and bound departments"),
            {instalmentQuery(kSql, true, many, QDate(2026, 1, 1), QDate(2026, 3, 31)).sql,
             instalmentQuery(kSql, false, few, QDate(2026, 1, 1), QDate(2026, 3, 31)).sql});

    EXPECT_TRUE(test::matchesExpectedText(out, QStringLiteral("statistics/sql_server_statistics.expected.sql")));
}

}  // namespace
}  // namespace corvane::statistics
