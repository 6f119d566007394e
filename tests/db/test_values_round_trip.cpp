// What goes in comes back, on every engine and through every driver the
// tests run (SQLite, PostgreSQL's own, and ODBC, the customer's road):
// amounts to the cent as decimals, never doubles; Chinese text beyond the
// basic plane; dates and date-times; whole files as binary columns; a long
// result read forward only.

#include <gtest/gtest.h>

#include "platform/Amounts.h"
#include "db/Dialect.h"
#include "db/Sql.h"
#include "testsupport/TestDatabase.h"

namespace corvane {
namespace {

class ValuesRoundTrip : public test::DbTest {};

TEST_F(ValuesRoundTrip, TheDialectFollowsTheServerNotTheDriver)
{
    const Dialect expected = test::testingOnPostgres() ? Dialect::PostgreSQL : Dialect::SQLite;
    EXPECT_EQ(DbDialect(), expected);
    EXPECT_EQ(DbConnection().driverName(), test::testingOverOdbc() ? QStringLiteral("QODBC") : dbSettings().driver);
    // Before it is open, only the driver's name is known: ODBC means SQL Server then.
    const QSqlDatabase unopened = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), QStringLiteral("unopened"));
    EXPECT_EQ(dialectOf(unopened), Dialect::SqlServer);
    QSqlDatabase::removeDatabase(QStringLiteral("unopened"));
}

TEST_F(ValuesRoundTrip, AmountsComeBackToTheCent)
{
    // The widest amount every engine keeps, the smallest, negatives, and
    // figures a double would spoil once summed.
    const QStringList amounts = {"9999999999999.99", "0.01", "-0.01", "-1234567890123.45", "0.10", "0.20", "1000.00"};
    for (int i = 0; i < amounts.size(); ++i)
        exec("INSERT INTO 合同信息 (合同编号, 合同金额) VALUES (?, ?)", {QStringLiteral("A-%1").arg(i), amounts[i]});
    for (int i = 0; i < amounts.size(); ++i) {
        const auto row = selectFirst("SELECT 合同金额 FROM 合同信息 WHERE 合同编号 = ?", {QStringLiteral("A-%1").arg(i)});
        ASSERT_TRUE(row);
        const QVariant v = row->value(0);
        // SQLite keeps DECIMAL as a binary float: there the cents rule reads it back.
        if (test::testingOnPostgres())
            EXPECT_NE(v.typeId(), QMetaType::Double) << amounts[i].toStdString() << " came back as a double";
        EXPECT_EQ(centsOf(v), centsOf(amounts[i])) << amounts[i].toStdString() << " came back as " << v.toString().toStdString();
    }
    // Unit prices keep six places.
    exec("INSERT INTO 票据开票数据 (票据编号, 数量, 单价) VALUES (?, ?, ?)", {"P-1", "3.000001", "123456.123456"});
    const auto price = selectFirst("SELECT 数量, 单价 FROM 票据开票数据 WHERE 票据编号 = ?", {"P-1"});
    ASSERT_TRUE(price);
    auto plain = [](QString text) {
        if (text.contains(QLatin1Char('.'))) {
            while (text.endsWith(QLatin1Char('0'))) text.chop(1);
            if (text.endsWith(QLatin1Char('.'))) text.chop(1);
        }
        return text;
    };
    EXPECT_EQ(plain(price->text(0)), QStringLiteral("3.000001"));
    EXPECT_EQ(plain(price->text(1)), QStringLiteral("123456.123456"));
}

TEST_F(ValuesRoundTrip, TextDatesAndFilesComeBackAsStored)
{
    const QString name = QStringLiteral("深圳市𠀀𠀁物业管理有限公司（“甲方”）·€");
    const QDate day(2026, 2, 28);
    const QDateTime at(QDate(2026, 12, 31), QTime(23, 59, 58));
    exec("INSERT INTO 合同信息 (合同编号, 合同名称, 合同起始日期, 提交日期) VALUES (?, ?, ?, ?)", {"T-1", name, day, at});
    const auto row = selectFirst(QStringLiteral("SELECT 合同名称, 合同起始日期, ") +
                                     dialect::dateTimeText(DbDialect(), QStringLiteral("提交日期")) +
                                     QStringLiteral(" FROM 合同信息 WHERE 合同名称 = ?"),
                                 {name});
    ASSERT_TRUE(row) << "a text beyond the basic plane finds its row";
    EXPECT_EQ(row->text(0), name);
    EXPECT_EQ(toDate(row->value(1)), day);
    EXPECT_EQ(row->text(2), QStringLiteral("2026-12-31 23:59:58"));

    // Every byte value, and a file of a few megabytes.
    QByteArray small;
    for (int b = 0; b < 256; ++b) small.append(char(b));
    QByteArray large(3 * 1024 * 1024 + 7, '\0');
    for (qsizetype i = 0; i < large.size(); ++i) large[i] = char((i * 131) % 251);
    for (const QByteArray& file : {small, large, QByteArray()}) {
        Statement insert(dialect::insertReturningId(QStringLiteral("合同信息附件"), {QStringLiteral("合同ID"), QStringLiteral("附件")},
                                                    QStringLiteral("ID")),
                         {1, file});
        ASSERT_TRUE(insert.exec()) << insert.error().description.toStdString();
        const auto back = selectFirst("SELECT 附件 FROM 合同信息附件 WHERE ID = ?", {insert.lastInsertId()});
        ASSERT_TRUE(back);
        EXPECT_EQ(back->value(0).toByteArray(), file) << file.size() << " bytes";
    }
}

TEST_F(ValuesRoundTrip, ALongResultIsReadForwardOnlyToItsEnd)
{
    {
        Transaction t;
        for (int i = 0; i < 3000; ++i)
            exec("INSERT INTO 合同信息 (合同编号, 合同金额) VALUES (?, ?)", {QStringLiteral("F-%1").arg(i, 5, 10, QLatin1Char('0')), "0.01"});
        ASSERT_TRUE(t.commit());
    }
    Statement st(QStringLiteral("SELECT 合同编号, 合同金额 FROM 合同信息 WHERE 合同编号 LIKE ? ORDER BY 合同编号"), {"F-%"});
    ASSERT_TRUE(st.exec());
    int n = 0;
    qint64 cents = 0;
    while (st.next()) {
        EXPECT_EQ(st.value(0).toString(), QStringLiteral("F-%1").arg(n, 5, 10, QLatin1Char('0')));
        cents += centsOf(st.value(1)).value_or(-1000000);
        ++n;
    }
    EXPECT_FALSE(st.error().isValid());
    EXPECT_EQ(n, 3000);
    EXPECT_EQ(cents, 3000);
}

}  // namespace
}  // namespace corvane
