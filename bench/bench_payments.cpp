// The payment window against a company's database, on SQLite or, when
// CORVANE_TEST_PG names a server ("host:port"), on PostgreSQL, each case
// against the bare forward-only read of the window's own statement, in
// alternating rounds:
// - budget-check: the budget check of one department and subject while
//   报销单表 holds 500,000 forms of 200 departments and the income vouchers
//   100,000 lines (goal: within 50 ms);
// - payment-window-open: opening the window on a contract of 24
//   instalments (its own 20 and its merged supplement's 4), the window
//   closed before left to the event loop as the program leaves it, while
//   合同付款计划表 holds 1,000,000 instalments of 100,000 other contracts
//   with 500,000 payment records (goal: within 50 ms).

#include <QApplication>
#include <QTemporaryDir>

#include "BenchDatabase.h"
#include "Company.h"
#include "app/LoginContext.h"
#include "db/Sql.h"
#include "payments/PaymentStore.h"
#include "payments/frm合同付款处理.h"
#include "testsupport/TestEnvironment.h"

using namespace corvane;
using namespace corvane::bench;
using namespace corvane::payments;

namespace {

void fillBudget()
{
    Transaction tx;
    runSql(QStringLiteral("INSERT INTO 报销单表 (报销单编号, 流水号, 部门代号, 报批日期, 审批通过, 报销类型, 报销单类型, 出纳退回) "
                          "SELECT 'F' || n, n, 'D' || (100 + n % 200), %1, 0, "
                          "CASE WHEN n % 7 = 0 THEN '非预算' ELSE '预算' END, '合同付款', 0 FROM %2")
               .arg(daysAfter(QStringLiteral("2026-01-01"), QStringLiteral("n % 365")), series(500000)));
    runSql(QStringLiteral("INSERT INTO 报销单明细 (报销单ID, 科目代号, 金额) SELECT 报销单ID, "
                          "CASE WHEN 报销单ID % 2 = 0 THEN '5501' ELSE '5502' END, 10.5 FROM 报销单表"));
    runSql(QStringLiteral("INSERT INTO 收入凭证 (收款部门编号, 凭证日期, 交审日期) SELECT 'D' || (100 + n % 200), %1, %1 FROM %2")
               .arg(daysAfter(QStringLiteral("2026-01-01"), QStringLiteral("n % 365")), series(50000)));
    runSql(QStringLiteral("INSERT INTO 收入凭证明细 (凭证ID, 科目代号, 科目名称, 贷方金额, 借方金额) "
                          "SELECT ID, '5501', '维修费', 100, 1 FROM 收入凭证 UNION ALL "
                          "SELECT ID, '5502', '绿化费', 100, 1 FROM 收入凭证"));
    runSql(QStringLiteral("INSERT INTO 财务科目 (科目代号, 科目名称, 预算, 支出项) VALUES ('5501', '维修费', 1, 1), ('5502', '绿化费', 1, 1)"));
    runSql(QStringLiteral("INSERT INTO 预算计划 (计划编号, 部门代号, 年度, 审核通过, 审核完成日期) VALUES ('P142', 'D142', '2026', 1, '2026-01-05')"));
    runSql(QStringLiteral("INSERT INTO 预算详细 (计划编号, 科目代码, 一月, 二月, 三月, 四月, 五月, 六月, 七月, 八月, 九月, 十月, 十一月, "
                          "十二月, 数据来源) VALUES ('P142', '5501', 1e6, 1e6, 1e6, 1e6, 1e6, 1e6, 1e6, 1e6, 1e6, 1e6, 1e6, 1e6, '支出预算')"));
    if (!tx.commit()) fail(tx.error().description);
}

class Database {
public:
    Database()
    {
        openFreshDatabase(QStringLiteral("payments"), m_dir);
        fillBudget();
        fillCompany(Plans::Payment);
    }

private:
    QTemporaryDir m_dir;
};

void budgetCheck()
{
    const auto run = [] {
        const auto check = 检查预算余额(QStringLiteral("5501"), Decimal::whole(1), QStringLiteral("2026-12"), QStringLiteral("D142"));
        if (!check || !check->fits) fail(QStringLiteral("budget check"));
    };
    const auto [sql, values] = budgetBalanceStatement(QStringLiteral("P142"), QStringLiteral("5501"), 2026, 12, QStringLiteral("D142"));
    const auto raw = [&] {
        if (readBare(sql, values, 6) != 1) fail(QStringLiteral("the balance statement gave no line"));
    };
    reportCase("budget-check", 1, alternate(21, raw, run));
}

// The window closed by the clerk is gone once the event loop runs again:
// the last one unloaded, and what it left to the event loop done, untimed.
void closeWindow()
{
    Forms::unload<frm合同付款处理>();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

int openWindow()
{
    auto* w = Forms::get<frm合同付款处理>();
    contract::PaymentHandover h;
    h.number = kBenchContract;
    h.name = QStringLiteral("基准合同");
    h.amount = QStringLiteral("24000.00");
    h.ownerDepartment = QStringLiteral("D9 第9管理处");
    h.userDepartmentText = QStringLiteral("D9 第9管理处");
    h.userDepartmentCode = QStringLiteral("D9");
    w->takeHandover(h);
    w->Form_Activate();
    return w->MSFlexGrid1->Rows() - 1;
}

void windowOpen()
{
    Login().当前部门编号 = QStringLiteral("D9");
    Login().当前部门名称 = QStringLiteral("第9管理处");
    Login().当前岗位代号 = QStringLiteral("P01");
    const QString sql = payableInstalmentsSql(DbDialect());
    const QVariantList values{kBenchContract, kBenchContract};
    if (openWindow() != kBenchInstalments || readBare(sql, values, 4) != kBenchInstalments)
        fail(QStringLiteral("the window lost instalments"));
    const Medians m = alternate(15, [&] { readBare(sql, values, 4); }, [] { openWindow(); }, [] { closeWindow(); });
    reportCase("payment-window-open", kBenchInstalments, m);
    closeWindow();
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("Noto Sans CJK SC")));
    test::installTestEnvironment();
    test::doubles().clock->current = QDateTime(kCompanyToday, QTime(9, 0));
    std::unique_ptr<Database> db;
    const double built = millisecondsOf([&] { db = std::make_unique<Database>(); });
    fprintf(stderr, "database built in %.1f s\n", built / 1000);
    budgetCheck();
    windowOpen();
    FormRegistry::instance().unloadAll();
    CloseConnection();
    return 0;
}
