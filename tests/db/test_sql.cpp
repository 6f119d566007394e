#include <QSet>
#include <gtest/gtest.h>
#include <thread>

#include "db/Dialect.h"
#include "db/Sql.h"
#include "testsupport/TestDatabase.h"
#include "testsupport/ServiceDoubles.h"

namespace corvane {
namespace {

using test::doubles;

class Sql : public test::DbTest {};

int countRows(const QString& sql, const QVariantList& values = {})
{
    const auto row = selectFirst(sql, values);
    return row ? row->value(0).toInt() : -1;
}

// The statements PostgreSQL holds prepared whose text holds `marker`.
int preparedHolding(const QString& marker)
{
    return countRows(QStringLiteral("SELECT COUNT(*) FROM pg_prepared_statements WHERE statement LIKE ?"),
                     {QLatin1Char('%') + marker + QLatin1Char('%')});
}

TEST_F(Sql, BoundTextArrivesAsTyped)
{
    const QStringList names = {"x' or '1'='1", "O'Brien; DROP TABLE 员工档案; --", "反斜杠\\和'引号'", ""};
    for (int i = 0; i < names.size(); ++i) addStaff(QString::number(i), names[i], "pw");

    for (int i = 0; i < names.size(); ++i) {
        const auto row = selectFirst("SELECT 姓名 FROM 员工档案 WHERE 工号 = ?", {QString::number(i)});
        ASSERT_TRUE(row);
        EXPECT_EQ(row->text("姓名"), names[i]);
    }
    EXPECT_EQ(countRows("SELECT COUNT(*) FROM 员工档案 WHERE 姓名 = ?", {"x' or '1'='1"}), 1);
    EXPECT_EQ(countRows("SELECT COUNT(*) FROM 员工档案 WHERE 工号 = ?", {"' or '1'='1"}), 0);
}

// A text binds as a text, an empty one as '' however it was made (a box
// never typed into gives a QString that Qt calls null); only a null value
// binds as NULL.
TEST_F(Sql, EmptyTextIsStoredAsEmptyTextAndOnlyNullAsNull)
{
    const struct {
        const char* what;
        QVariant value;
        bool storedNull;
    } cases[] = {
        {"QString()", QVariant(QString()), false},
        {"\"\"", QVariant(QStringLiteral("")), false},
        {"a blank", QVariant(QStringLiteral(" ")), false},
        {"a null text", QVariant(QMetaType::fromType<QString>()), true},
        {"no value", QVariant(), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        exec(QStringLiteral("DELETE FROM 合同收款计划表"));
        ASSERT_TRUE(executeQuiet("INSERT INTO 合同收款计划表 (合同编号, 收款条件) VALUES (?, ?)", {QStringLiteral("HT-1"), c.value}));
        ASSERT_TRUE(executeQuiet("INSERT INTO 合同收款计划表 (合同编号, 收款条件) VALUES (?, ?)", {QStringLiteral("HT-2"), "x"}));
        ASSERT_TRUE(executeQuiet("UPDATE 合同收款计划表 SET 收款条件 = ? WHERE 合同编号 = ?", {c.value, QStringLiteral("HT-2")}));
        const auto rows = selectRows("SELECT 收款条件 FROM 合同收款计划表 ORDER BY 合同编号");
        ASSERT_TRUE(rows);
        ASSERT_EQ(rows->size(), 2u);
        for (const Row& row : *rows) {
            EXPECT_EQ(row.value(0).isNull(), c.storedNull);
            if (!c.storedNull) EXPECT_EQ(row.text(0), c.value.toString());
        }
    }
}

// A statement that runs again on PostgreSQL uses the prepared statement of
// its last run (one round trip instead of prepare, run, deallocate); one
// still alive is not lent to a second of the same text.
TEST_F(Sql, ABoundStatementRunAgainIsPreparedOnce)
{
    for (int i = 0; i < 4; ++i) addStaff(QString::number(i), QStringLiteral("员工%1").arg(i), "pw");
    const QString sql = QStringLiteral("SELECT 工号 AS 预备标记 FROM 员工档案 WHERE 工号 >= ? ORDER BY 工号");
    auto all = [](Statement& st) {
        QStringList seen;
        while (st.next()) seen << st.value(0).toString();
        EXPECT_FALSE(st.error().isValid());
        return seen;
    };
    for (int round = 0; round < 3; ++round) {
        Statement first(sql, {QStringLiteral("2")});
        ASSERT_TRUE(first.exec());
        EXPECT_EQ(all(first), QStringList({"2", "3"}));
        // The first is still alive: the second gets a query of its own.
        Statement second(sql, {QStringLiteral("1")});
        ASSERT_TRUE(second.exec());
        EXPECT_EQ(all(second), QStringList({"1", "2", "3"}));
        ASSERT_TRUE(first.exec());
        EXPECT_EQ(all(first), QStringList({"2", "3"}));
    }
    if (test::testingOnPostgres()) { EXPECT_EQ(preparedHolding(QStringLiteral("预备标记")), 1); }
    // A statement that fails leaves nothing behind to be reused, twice over.
    for (int i = 0; i < 2; ++i) {
        Statement bad(QStringLiteral("SELECT 没有这一列 AS 预备标记 FROM 员工档案 WHERE 工号 = ?"), {"1"});
        EXPECT_FALSE(bad.exec());
    }
    const auto first = selectFirstQuiet(sql, {QStringLiteral("0")});
    ASSERT_TRUE(first);
    EXPECT_EQ(first->text(0), QStringLiteral("0"));
}

// One planned for each run's values is prepared afresh every time and never
// kept, so PostgreSQL never plans it once for any values, however often it runs.
TEST_F(Sql, AStatementPlannedEachRunIsNeverKept)
{
    for (int i = 0; i < 4; ++i) addStaff(QString::number(i), QStringLiteral("员工%1").arg(i), "pw");
    const QString sql = QStringLiteral("SELECT 工号 AS 每次计划 FROM 员工档案 WHERE 工号 >= ? ORDER BY 工号");
    for (int run = 0; run < 7; ++run) {
        Statement st(sql, {QString::number(run % 4)});
        st.planEachRun();
        ASSERT_TRUE(st.exec());
        QStringList seen;
        while (st.next()) seen << st.value(0).toString();
        EXPECT_FALSE(st.error().isValid());
        EXPECT_EQ(seen.size(), 4 - run % 4) << "run " << run;
    }
    if (test::testingOnPostgres()) { EXPECT_EQ(preparedHolding(QStringLiteral("每次计划")), 0); }
    // A run of the same text that is not planned each time is kept as before.
    const auto kept = selectFirstQuiet(sql, {QStringLiteral("3")});
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->text(0), QStringLiteral("3"));
    if (test::testingOnPostgres()) { EXPECT_EQ(preparedHolding(QStringLiteral("每次计划")), 1); }
}

TEST_F(Sql, ConditionalUpdateThatMissesReportsNoRows)
{
    exec("INSERT INTO 合同信息 (合同编号, 合同状态) VALUES (?, ?)", {"HT-1", "未提交"});
    const QString submit = "UPDATE 合同信息 SET 合同状态 = ? WHERE 合同编号 = ? AND 合同状态 = ?";
    EXPECT_EQ(execute(submit, {"审批中", "HT-1", "未提交"}), 1);
    EXPECT_EQ(execute(submit, {"审批中", "HT-1", "未提交"}), 0) << "the state may change only once";
    EXPECT_EQ(execute(submit, {"审批中", "HT-404", "未提交"}), 0);
}

TEST_F(Sql, FailureShowsTheStandardErrorBoxWithTheNativeCode)
{
    const auto rows = selectRows("SELECT * FROM 没有这个表");
    EXPECT_EQ(rows, std::nullopt);
    ASSERT_EQ(doubles().boxes->shown.size(), 1);
    const auto& box = doubles().boxes->shown[0];
    EXPECT_EQ(box.title, "提示");
    // SQLite's code is a number; PostgreSQL's SQLSTATE 42P01 is not, and shows as 0.
    const qint64 expected = test::testingOnPostgres() ? 0 : 1;
    EXPECT_EQ(rows.error().number, expected);
    EXPECT_EQ(box.text, "错误号：" + QString::number(expected) + "\n错误描述：" + rows.error().description);
    EXPECT_FALSE(rows.error().description.isEmpty());

    EXPECT_EQ(executeQuiet("DELETE FROM 没有这个表"), std::nullopt);
    EXPECT_EQ(doubles().boxes->shown.size(), 1) << "the quiet variants show nothing";
}

TEST_F(Sql, TransactionKeepsOnlyWhatWasCommitted)
{
    {
        Transaction tx;
        ASSERT_TRUE(tx.isActive());
        exec("INSERT INTO SystemSetup (Code, Value) VALUES (?, ?)", {"丢弃", "1"});
    }
    {
        Transaction tx;
        exec("INSERT INTO SystemSetup (Code, Value) VALUES (?, ?)", {"保留", "1"});
        ASSERT_TRUE(tx.commit());
    }
    {
        // A failing second statement: the business action is undone as a whole.
        Transaction tx;
        exec("INSERT INTO SystemSetup (Code, Value) VALUES (?, ?)", {"半途", "1"});
        EXPECT_EQ(executeQuiet("INSERT INTO SystemSetup (Code, Value) VALUES (?, ?)", {"保留", "2"}), std::nullopt);
    }
    const auto rows = selectRows("SELECT Code FROM SystemSetup ORDER BY Code");
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->size(), 1u);
    EXPECT_EQ(rows->front().text("Code"), "保留");
}

TEST_F(Sql, InsertGivesBackTheNewIdentity)
{
    const QString sql = dialect::insertReturningId("合同信息附件", {"合同ID", "名称", "附件"}, "ID");
    const QByteArray bytes("\x00\x01\xff binary", 10);
    Statement first(sql, {7, "a.doc", bytes});
    Statement second(sql, {7, "b.doc", QByteArray("x")});
    ASSERT_TRUE(first.exec() && second.exec());
    const QVariant id = first.lastInsertId();
    ASSERT_TRUE(id.isValid());
    EXPECT_NE(id, second.lastInsertId());
    const auto row = selectFirst("SELECT 名称, 附件 FROM 合同信息附件 WHERE ID = ?", {id});
    ASSERT_TRUE(row);
    EXPECT_EQ(row->text("名称"), "a.doc");
    EXPECT_EQ(row->value("附件").toByteArray(), bytes);
}

TEST_F(Sql, InsertReadingBackItsIdentityLetsTheTransactionCommit)
{
    Transaction tx(Transaction::Write);
    ASSERT_TRUE(tx.isActive());
    // Kept alive past the commit, as a window's local statement is.
    Statement insert(dialect::insertReturningId("合同信息附件", {"合同ID", "名称"}, "ID"), {9, "c.doc"});
    ASSERT_TRUE(insert.exec());
    EXPECT_TRUE(insert.lastInsertId().isValid());
    EXPECT_TRUE(tx.commit()) << tx.error().description.toStdString();
    const auto row = selectFirst("SELECT 名称 FROM 合同信息附件 WHERE 合同ID = ?", {9});
    ASSERT_TRUE(row);
    EXPECT_EQ(row->text("名称"), "c.doc");
}

// Each value is named beside its column; the statement lists them in the
// row's order, whatever the dialect, and binds every value.
TEST(SqlInsert, AColumnTableBuildsTheInsertOfEachDialect)
{
    const ColumnValues row{{"合同ID", 7}, {"名称", "a.doc"}, {"类别", QVariant(QMetaType::fromType<QString>())}};
    struct Case {
        Dialect dialect;
        const char* idColumn;
        const char* sql;
    };
    for (const Case& c : {
             Case{Dialect::SQLite, "", "INSERT INTO 合同信息附件 (合同ID, 名称, 类别) VALUES (?, ?, ?)"},
             Case{Dialect::PostgreSQL, "", "INSERT INTO 合同信息附件 (合同ID, 名称, 类别) VALUES (?, ?, ?)"},
             Case{Dialect::SqlServer, "", "INSERT INTO 合同信息附件 (合同ID, 名称, 类别) VALUES (?, ?, ?)"},
             Case{Dialect::SQLite, "ID", "INSERT INTO 合同信息附件 (合同ID, 名称, 类别) VALUES (?, ?, ?) RETURNING ID"},
             Case{Dialect::PostgreSQL, "ID",
                  "INSERT INTO 合同信息附件 (合同ID, 名称, 类别) VALUES (?, ?, ?) RETURNING ID"},
             Case{Dialect::SqlServer, "ID",
                  "INSERT INTO 合同信息附件 (合同ID, 名称, 类别) OUTPUT INSERTED.ID VALUES (?, ?, ?)"},
         }) {
        const BoundSql insert = insertStatement(c.dialect, "合同信息附件", row, QString::fromUtf8(c.idColumn));
        EXPECT_EQ(insert.sql, QString::fromUtf8(c.sql));
        ASSERT_EQ(insert.values.size(), 3);
        EXPECT_EQ(insert.values[0], QVariant(7));
        EXPECT_EQ(insert.values[1], QVariant("a.doc"));
        EXPECT_TRUE(insert.values[2].isNull());
    }
}

TEST_F(Sql, ARowFromAColumnTableLandsEachValueInItsColumn)
{
    // Not in the table's own order: each value must still reach its column.
    const auto id = insertReturningIdQuiet(DbConnection(), "合同信息附件",
                                           {{"类别", "文件"}, {"名称", "b.doc"}, {"合同ID", 12}}, "ID");
    ASSERT_TRUE(id) << id.error().description.toStdString();
    EXPECT_GT(*id, 0);
    const auto row = selectFirst("SELECT 合同ID, 名称, 类别 FROM 合同信息附件 WHERE ID = ?", {*id});
    ASSERT_TRUE(row);
    EXPECT_EQ(row->value("合同ID").toInt(), 12);
    EXPECT_EQ(row->text("名称"), "b.doc");
    EXPECT_EQ(row->text("类别"), "文件");

    EXPECT_EQ(insertQuiet(DbConnection(), "SystemSetup", {{"Code", "新"}, {"Value", "1"}}), 1);
    EXPECT_EQ(countRows("SELECT COUNT(*) FROM SystemSetup WHERE Code = ? AND Value = ?", {"新", "1"}), 1);
}

// A later statement keys its rows by the identity: anything but a whole
// number above 0 is an error naming the table, never a 0 to write under.
TEST_F(Sql, AnIdentityThatIsNoPositiveWholeNumberIsAnError)
{
    struct Case {
        const char* idColumn;  // the column given back as the identity
        QVariant stored;       // what the row holds there
        std::optional<qint64> id;
    };
    const QVariant nullText(QMetaType::fromType<QString>());
    for (const Case& c :
         {Case{"合同ID", 41, 41}, Case{"名称", "17", 17}, Case{"名称", "a.doc", std::nullopt},
          Case{"名称", "2.5", std::nullopt}, Case{"名称", "12abc", std::nullopt}, Case{"合同ID", 0, std::nullopt},
          Case{"合同ID", -3, std::nullopt}, Case{"名称", nullText, std::nullopt}}) {
        const QString column = QString::fromUtf8(c.idColumn);
        ColumnValues row{{"合同ID", 1}, {"名称", "x.doc"}};
        for (auto& [name, value] : row)
            if (name == column) value = c.stored;
        const auto id = insertReturningIdQuiet(DbConnection(), "合同信息附件", row, column);
        EXPECT_EQ(id.has_value(), c.id.has_value()) << c.stored.toString().toStdString();
        if (c.id && id) {
            EXPECT_EQ(*id, *c.id);
        } else if (!c.id) {
            EXPECT_TRUE(id.error().description.contains("合同信息附件")) << id.error().description.toStdString();
        }
    }

    // An INSERT ... SELECT whose condition held for no row gives no identity back.
    Statement none(dialect::insertSelectReturningId("合同信息附件", {"合同ID", "名称"}, "ID", "1 = 0"), {1, "y.doc"});
    ASSERT_TRUE(none.exec()) << none.error().description.toStdString();
    const auto id = checkedInsertId(none, "合同信息附件");
    EXPECT_FALSE(id);
    EXPECT_TRUE(id.error().isValid());
    EXPECT_EQ(countRows("SELECT COUNT(*) FROM 合同信息附件 WHERE 名称 = ?", {"y.doc"}), 0);
}

// A failed part of a transaction is undone alone; the rest commits.
TEST_F(Sql, RollingBackToASavepointKeepsWhatCameBefore)
{
    const Dialect d = DbDialect();
    Transaction tx;
    ASSERT_TRUE(tx.isActive());
    exec("INSERT INTO SystemSetup (Code, Value) VALUES ('kept', '1')");
    exec(dialect::setSavepoint(d, "part"));
    exec("INSERT INTO SystemSetup (Code, Value) VALUES ('undone', '1')");
    EXPECT_EQ(executeQuiet("INSERT INTO SystemSetup (Code, Value) VALUES ('kept', '2')"), std::nullopt);
    exec(dialect::rollbackToSavepoint(d, "part"));
    exec(dialect::releaseSavepoint(d, "part"));
    ASSERT_TRUE(tx.commit()) << tx.error().description.toStdString();
    EXPECT_EQ(countRows("SELECT COUNT(*) FROM SystemSetup WHERE Code IN ('kept', 'undone')"), 1);
    EXPECT_EQ(dialect::setSavepoint(Dialect::SqlServer, "part"), "SAVE TRANSACTION part");
    EXPECT_EQ(dialect::rollbackToSavepoint(Dialect::SqlServer, "part"), "ROLLBACK TRANSACTION part");
    EXPECT_EQ(dialect::releaseSavepoint(Dialect::SqlServer, "part"), "");
}

TEST_F(Sql, BusinessKeyRefusesADuplicate)
{
    exec("INSERT INTO 合同信息 (合同编号) VALUES (?)", {"WF-00000001"});
    EXPECT_EQ(executeQuiet("INSERT INTO 合同信息 (合同编号) VALUES (?)", {"WF-00000001"}), std::nullopt);
}

TEST_F(Sql, DatesAreStoredInTheirTextFormsAndReadBack)
{
    const QDate start(2026, 3, 5);
    const QDateTime submitted(QDate(2026, 3, 5), QTime(14, 7, 9));
    exec("INSERT INTO 合同信息 (合同编号, 合同起始日期, 提交日期, 流转结束日期, 合同终止日期) VALUES (?, ?, ?, ?, ?)",
         {"D-1", dateValue(start), dateTimeValue(submitted), submitted, dateValue(QDate())});

    const auto row = selectFirst("SELECT * FROM 合同信息 WHERE 合同编号 = ?", {"D-1"});
    ASSERT_TRUE(row);
    EXPECT_EQ(toDate(row->value("合同起始日期")), start);
    EXPECT_EQ(toDateTime(row->value("提交日期")), submitted);
    EXPECT_EQ(toDateTime(row->value("流转结束日期")), submitted) << "a plain QDateTime binds the same way";
    EXPECT_EQ(row->text("提交日期"), "2026-03-05 14:07:09");
    EXPECT_EQ(row->text("合同起始日期"), "2026-03-05");
    EXPECT_TRUE(row->isNull("合同终止日期"));
    // Text comparison of dates orders them on every dialect.
    EXPECT_EQ(countRows("SELECT COUNT(*) FROM 合同信息 WHERE 合同起始日期 <= ?", {dateValue(QDate(2026, 3, 10))}), 1);

    if (!test::testingOnPostgres()) {
        const auto raw = selectFirst("SELECT typeof(合同起始日期), 合同起始日期, 流转结束日期 FROM 合同信息");
        ASSERT_TRUE(raw);
        EXPECT_EQ(raw->text(0), "text");
        EXPECT_EQ(raw->text(1), "2026-03-05");
        EXPECT_EQ(raw->text(2), "2026-03-05 14:07:09");
    }
}

TEST(SqlDates, ReadsWhateverTheDriverReturned)
{
    const QDateTime noon(QDate(2026, 1, 2), QTime(12, 0, 0));
    struct Case {
        QVariant in;
        QDateTime expected;
    } cases[] = {
        {QString("2026-01-02"), QDateTime(QDate(2026, 1, 2), QTime(0, 0))},
        {QString("2026-01-02 12:00:00"), noon},
        {QString("2026-01-02T12:00:00.000"), noon},
        {QString("2026/01/02"), QDateTime(QDate(2026, 1, 2), QTime(0, 0))},
        {QDate(2026, 1, 2), QDateTime(QDate(2026, 1, 2), QTime(0, 0))},
        {noon, noon},
        {QVariant(), QDateTime()},
        {QString("not a date"), QDateTime()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in.toString().toStdString());
        EXPECT_EQ(toDateTime(c.in), c.expected);
        EXPECT_EQ(toDate(c.in), c.expected.date());
    }
    EXPECT_EQ(placeholders(3), "?, ?, ?");
}

}  // namespace
}  // namespace corvane
