// What the SQL Server dialect sends, rendered once and compared with the
// reviewed text in sql_server.expected.sql. No SQL Server runs here: this is
// where a change to its statements shows, as a diff to review.

#include <gtest/gtest.h>

#include "db/Connection.h"
#include "db/Dialect.h"
#include "db/Schema.h"
#include "db/Sql.h"
#include "testsupport/ExpectedText.h"

namespace corvane {
namespace {

constexpr Dialect kSql = Dialect::SqlServer;

TEST(SqlServerTexts, EveryStatementThatDiffersByDialect)
{
    QString out;
    auto section = [&](const QString& what, const QStringList& statements) { test::appendStatements(out, what, statements); };

    DbSettings odbc;
    odbc.driver = QStringLiteral("QODBC");
    odbc.odbcDriver = QStringLiteral("FreeTDS");
    odbc.server = QStringLiteral("db.example:1433");
    odbc.database = QStringLiteral("Corvane");
    // Not statements: the driver's connection string and options.
    out += QStringLiteral("-- connection string: ") + BuildConnectString(odbc) + QLatin1Char('\n');
    out += QStringLiteral("-- connect options: ") + ConnectOptions(odbc, kCommandTimeoutMs) + QStringLiteral("\n\n");
    section(QStringLiteral("session"), SessionStatements(kSql, QStringLiteral("QODBC"), kCommandTimeoutMs));
    section(QStringLiteral("numbering lock"), {dialect::numberingLock(kSql)});
    section(QStringLiteral("row limit"),
            {dialect::selectTop(kSql, 1, QStringLiteral("合同编号 FROM 合同信息 WHERE 合同编号 LIKE ? ORDER BY 合同编号 DESC"))});
    section(QStringLiteral("identity read-back"),
            {dialect::insertReturningId(kSql, QStringLiteral("报销单表"), {QStringLiteral("报销单编号"), QStringLiteral("报销金额")},
                                        QStringLiteral("报销单ID")),
             dialect::insertSelectReturningId(kSql, QStringLiteral("票据"), {QStringLiteral("票据编号"), QStringLiteral("入库单编号")},
                                              QStringLiteral("ID"),
                                              QStringLiteral("NOT EXISTS (SELECT 1 FROM 票据 WHERE 票据编号 = ?)")),
             insertStatement(kSql, QStringLiteral("报销附件"),
                             {{QStringLiteral("报销单明细ID"), 1}, {QStringLiteral("附件类型"), QStringLiteral("合同")}},
                             QStringLiteral("ID"))
                 .sql});
    section(QStringLiteral("a row by its column table"),
            {insertStatement(kSql, QStringLiteral("SystemSetup"),
                             {{QStringLiteral("Code"), QStringLiteral("合同同步")}, {QStringLiteral("Value"), QStringLiteral("0")}})
                 .sql});
    section(QStringLiteral("savepoints (SQL Server keeps one until the transaction ends: no release)"),
            {dialect::setSavepoint(kSql, QStringLiteral("signoff")), dialect::rollbackToSavepoint(kSql, QStringLiteral("signoff")),
             dialect::releaseSavepoint(kSql, QStringLiteral("signoff"))});
    section(QStringLiteral("dates"),
            {QStringLiteral("SELECT ") + dialect::serverNow(kSql), QStringLiteral("SELECT ") + dialect::serverToday(kSql),
             QStringLiteral("SELECT ") + dialect::dateTimeText(kSql, QStringLiteral("合同信息.合同终止日期")) +
                 QStringLiteral(" FROM 合同信息")});
    const auto like = dialect::containsText(kSql, QStringLiteral("合同名称"), QStringLiteral("50%_[a]!"));
    section(QStringLiteral("text search and concatenation (the bound value on the second line)"),
            {QStringLiteral("SELECT id FROM 合同信息 WHERE ") + like.sql, like.value,
             QStringLiteral("SELECT ") + dialect::concat(kSql, QStringLiteral("工号"), QStringLiteral("姓名")) +
                 QStringLiteral(" FROM 员工档案")});
    section(QStringLiteral("schema"), schema::createStatements(kSql));

    EXPECT_TRUE(test::matchesExpectedText(out, QStringLiteral("db/sql_server.expected.sql")));
}

}  // namespace
}  // namespace corvane
