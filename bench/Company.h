#pragma once
// A company's size for the benchmarks of windows that show one contract or
// the contracts due: 100,000 contracts over the departments (a fifth in
// performance and ending before the reminder's cut-off, one in fifty of those
// a lease; every hundredth contract a merged supplement of the one before;
// all but one in fifty, entered before contracts went to sign-off, approved
// through a finished sign-off document, and one in a thousand still waiting
// for its document to come back),
// 1,000,000 instalments in the plan table a benchmark names (ten per
// contract) with a settlement record on every second one, and the contract
// HT-BENCH whose 20 instalments and its merged supplement's 4 the windows
// show. The database makes the rows itself, in one transaction.

#include <QStringList>

#include "BenchDatabase.h"
#include "db/Sql.h"

namespace corvane::bench {

constexpr int kCompanyContracts = 100000;
constexpr int kCompanyInstalments = 1000000;
constexpr int kBenchInstalments = 24;
inline const QString kBenchContract = QStringLiteral("HT-BENCH");
// The reminder's day: every contract in performance ends before its cut-off.
inline const QDate kCompanyToday(2026, 12, 10);

enum class Plans { Receipt, Payment };

inline QString eightDigits(const QString& e)
{
    return onPostgres() ? QStringLiteral("lpad((%1)::text, 8, '0')").arg(e) : QStringLiteral("printf('%08d', %1)").arg(e);
}

inline QString daysAfter(const QString& day, const QString& days)
{
    return onPostgres() ? QStringLiteral("(DATE '%1' + (%2))").arg(day, days)
                        : QStringLiteral("date('%1', '+' || (%2) || ' days')").arg(day, days);
}

// `departments`: the codes contracts are spread over; empty makes ten
// (D0 a functional department, whose reminder covers every department).
inline void fillCompany(Plans plans, QStringList departments = {})
{
    Transaction tx;
    if (departments.isEmpty()) {
        for (int d = 0; d < 10; ++d) {
            departments << QStringLiteral("D%1").arg(d);
            runSql(QStringLiteral("INSERT INTO 职能部门new (职能部门编号, 职能部门名称, app部门类别) VALUES ('D%1', '第%1管理处', '%2')")
                       .arg(d)
                       .arg(d == 0 ? QStringLiteral("职能部门") : QStringLiteral("管理项目")));
        }
    }
    runSql(QStringLiteral("INSERT INTO 合同类型 (合同类型编号, 合同类型, 合同类别) VALUES ('BT1', '维修合同', '付款合同'), "
                          "('BT2', '物业服务合同', '收款合同'), ('BT3', '租赁合同', '收款合同'), ('BT4', '保洁合同', '收款合同')"));
    QString department = QStringLiteral("CASE i % %1").arg(departments.size());
    for (int d = 0; d < departments.size(); ++d)
        department += QStringLiteral(" WHEN %1 THEN '%2'").arg(d).arg(departments[d]);
    department += QStringLiteral(" END");
    const QString number = QStringLiteral("'HT-' || ") + eightDigits(QStringLiteral("i"));
    const QString main = QStringLiteral("'HT-' || ") + eightDigits(QStringLiteral("i - 1"));
    // Sent for sign-off some days before the start, back a few days later.
    const QString unsent = QStringLiteral("i % 50 = 7"), waiting = QStringLiteral("i % 1000 = 3");
    const QString signOff = QStringLiteral("CASE WHEN ") + unsent + QStringLiteral(" THEN NULL ELSE 'HTHQ-B' || ") +
                            eightDigits(QStringLiteral("i")) + QStringLiteral(" END, CASE WHEN ") + unsent +
                            QStringLiteral(" THEN NULL ELSE ") + daysAfter(QStringLiteral("2023-12-01"), QStringLiteral("i % 300")) +
                            QStringLiteral(" END, CASE WHEN ") + unsent + QStringLiteral(" OR ") + waiting +
                            QStringLiteral(" THEN NULL ELSE ") + daysAfter(QStringLiteral("2023-12-20"), QStringLiteral("i % 300")) +
                            QStringLiteral(" END, CASE WHEN ") + unsent + QStringLiteral(" OR ") + waiting +
                            QStringLiteral(" THEN NULL ELSE 1 END");
    runSql(QStringLiteral("INSERT INTO 合同信息 (合同编号, 合同名称, 合同类型, 对应部门, 对方单位, 合同金额, 合同起始日期, "
                          "合同生效日期, 合同终止日期, 合同状态, 补充, 主合同编号, 收付款计划合并, "
                          "行政审批编号, 提交日期, 流转结束日期, 流转通过) "
                          "SELECT %1, '第' || (i % 3000) || '号楼公共设施合同', "
                          "CASE WHEN i % 50 = 25 THEN 'BT3' WHEN i % 2 = 0 THEN 'BT1' WHEN i % 3 = 0 THEN 'BT4' ELSE 'BT2' END, "
                          "%2, '华东第' || (i % 900) || '工程有限公司', 120000, %3, %3, "
                          "CASE WHEN i % 5 = 0 THEN %4 ELSE %5 END, "
                          "CASE WHEN i % 5 = 0 THEN '履行中' WHEN %8 THEN '审批中' ELSE '履行完成' END, "
                          "CASE WHEN i % 100 = 1 AND i > 1 THEN 1 ELSE 0 END, "
                          "CASE WHEN i % 100 = 1 AND i > 1 THEN %6 END, "
                          "CASE WHEN i % 100 = 1 AND i > 1 THEN 1 ELSE 0 END, %9 "
                          "FROM (SELECT n AS i FROM %7) c")
               .arg(number, department, daysAfter(QStringLiteral("2024-01-01"), QStringLiteral("i % 300")),
                    daysAfter(QStringLiteral("2025-06-01"), QStringLiteral("i % 500")),
                    daysAfter(QStringLiteral("2028-01-01"), QStringLiteral("i % 300")), main, series(kCompanyContracts),
                    waiting, signOff));
    // Each sign-off document of a contract; the waiting contracts' still go round.
    runSql(QStringLiteral("INSERT INTO XZ文件记录 (文头, 编号, 流水号, 文件类型, 文件标题, 对应合同编号, 是否发送, 是否结束, "
                          "结束日期, 是否同意) "
                          "SELECT 'HTHQ-', 行政审批编号, ID, '合同会签', 合同名称, 合同编号, 1, "
                          "CASE WHEN 流转结束日期 IS NULL THEN 0 ELSE 1 END, 流转结束日期, 流转通过 "
                          "FROM 合同信息 WHERE 行政审批编号 LIKE 'HTHQ-B%'"));
    const QString type = plans == Plans::Receipt ? QStringLiteral("BT2") : QStringLiteral("BT1");
    runSql(QStringLiteral("INSERT INTO 合同信息 (合同编号, 合同名称, 合同类型, 对应部门, 合同金额, 合同状态, 补充, 主合同编号, 收付款计划合并) "
                          "VALUES ('HT-BENCH', '基准合同', '%1', '%2', 24000, '履行中', 0, NULL, 0), "
                          "('HT-BENCH-B', '基准合同补充协议', '%1', '%2', 4000, '履行中', 1, 'HT-BENCH', 1)")
               .arg(type, departments.last()));

    const bool receipt = plans == Plans::Receipt;
    const QString plan = receipt ? QStringLiteral("合同收款计划表 (合同编号, 收款日期, 收款金额, 余额)")
                                 : QStringLiteral("合同付款计划表 (合同编号, 付款日期, 付款金额, 余额)");
    runSql(QStringLiteral("INSERT INTO %1 SELECT 'HT-' || %2, %3, 1000, 1000 FROM %4")
               .arg(plan, eightDigits(QStringLiteral("(n - 1) / 10 + 1")),
                    daysAfter(QStringLiteral("2024-01-01"), QStringLiteral("((n - 1) % 10) * 30 + ((n - 1) / 10) % 300")),
                    series(kCompanyInstalments)));
    for (const auto& [contract, count, first] : {std::tuple{QStringLiteral("HT-BENCH"), 20, 0},
                                                 std::tuple{QStringLiteral("HT-BENCH-B"), 4, 5}})
        runSql(QStringLiteral("INSERT INTO %1 SELECT '%2', %3, 1000, 1000 FROM %4")
                   .arg(plan, contract, daysAfter(QStringLiteral("2026-01-15"), QStringLiteral("(n + %1) * 30").arg(first)),
                        series(count)));
    if (receipt)
        runSql(QStringLiteral("INSERT INTO 合同收款记录 (合同收款计划ID, 收款金额) SELECT ID, 500 FROM 合同收款计划表 WHERE ID % 2 = 0"));
    else
        runSql(QStringLiteral("INSERT INTO 合同付款记录 (合同付款计划ID, 付款金额, 作废, 凭证编号) SELECT ID, 500, "
                              "CASE WHEN ID % 13 = 0 THEN 1 ELSE 0 END, 'F' || ID FROM 合同付款计划表 WHERE ID % 2 = 0"));
    if (!tx.commit()) fail(tx.error().description);
    // A company's tables have been vacuumed by now: the visibility map lets
    // PostgreSQL read a covering index alone.
    runSql(onPostgres() ? QStringLiteral("VACUUM ANALYZE") : QStringLiteral("ANALYZE"));
}

}  // namespace corvane::bench
