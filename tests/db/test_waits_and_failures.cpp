#include <QElapsedTimer>
#include <gtest/gtest.h>

#include "db/Connection.h"
#include "db/Sql.h"
#include "platform/Services.h"
#include "testsupport/TestDatabase.h"
#include "testsupport/ServiceDoubles.h"

namespace corvane {
namespace {

using test::doubles;

const QString kBusy = "数据正被其他用户修改，请稍后再试";
const QString kRepeat = "与数据库的连接已中断并已重新连接，请重新执行刚才的操作";
const QString kLogInAgain = "与数据库的连接已中断，请注销后重新登录";

class SqlFailures : public test::DbTest {
protected:
    // The login connection gives up after `ms`, as every later connection does.
    void shortenCommandTimeout(int ms)
    {
        SetCommandTimeoutMs(ms);
        ASSERT_FALSE(ReopenInPlace().isValid());
    }
    void TearDown() override
    {
        SetCommandTimeoutMs(kCommandTimeoutMs);
        test::DbTest::TearDown();
    }
    int count(const QString& sql, const QVariantList& values = {})
    {
        const auto row = selectFirst(sql, values);
        return row ? row->value(0).toInt() : -1;
    }
};

TEST(CommandTimeout, EveryEngineIsToldAtConnect)
{
    DbSettings s;
    s.driver = "QSQLITE";
    EXPECT_EQ(ConnectOptions(s, 30000), "QSQLITE_BUSY_TIMEOUT=30000");
    s.driver = "QPSQL";
    EXPECT_EQ(ConnectOptions(s, 30000),
              "connect_timeout=30;options='-c statement_timeout=30000 -c lock_timeout=30000 -c jit=off'");
    s.driver = "QODBC";
    EXPECT_EQ(ConnectOptions(s, 30000), "SQL_ATTR_LOGIN_TIMEOUT=30");
    EXPECT_EQ(SessionStatements(Dialect::SqlServer, "QODBC", 30000), QStringList{"SET LOCK_TIMEOUT 30000"});
    EXPECT_TRUE(SessionStatements(Dialect::PostgreSQL, "QPSQL", 30000).isEmpty());
    EXPECT_EQ(SessionStatements(Dialect::PostgreSQL, "QODBC", 30000),
              (QStringList{"SET statement_timeout = 30000", "SET lock_timeout = 30000", "SET jit = off"}));
    EXPECT_EQ(SessionStatements(Dialect::SQLite, "QSQLITE", 30000), QStringList{"PRAGMA cache_size = -65536"});
    EXPECT_EQ(kCommandTimeoutMs, 30000);
    EXPECT_EQ(CommandTimeoutMs(), kCommandTimeoutMs);
}

// The larger page cache is the connection's own setting: the login
// connection has it, and has it again when reopened in place.
TEST_F(SqlFailures, ASQLiteConnectionHasItsLargerPageCacheAfterEveryOpen)
{
    if (DbDialect() != Dialect::SQLite) GTEST_SKIP() << "an SQLite setting";
    EXPECT_EQ(count("PRAGMA cache_size"), -65536);
    ASSERT_FALSE(ReopenInPlace().isValid());
    EXPECT_EQ(count("PRAGMA cache_size"), -65536);
}

// Likewise a PostgreSQL session compiles nothing just in time, reopened or not.
TEST_F(SqlFailures, APostgreSQLSessionHasNoJustInTimeCompilingAfterEveryOpen)
{
    if (DbDialect() != Dialect::PostgreSQL) GTEST_SKIP() << "a PostgreSQL setting";
    for (int open = 0; open < 2; ++open) {
        const auto jit = selectFirstQuiet(QStringLiteral("SHOW jit"));
        ASSERT_TRUE(jit) << jit.error().description.toStdString();
        EXPECT_EQ(jit->text(0), QStringLiteral("off")) << "open " << open;
        ASSERT_FALSE(ReopenInPlace().isValid());
    }
}

// Another workstation holds the numbering lock and a row: a save gives up
// soon with words a clerk understands, and leaves the database as it was.
TEST_F(SqlFailures, SaveWhileAnotherWorkstationHoldsTheLockGivesUpAndRollsBack)
{
    exec("INSERT INTO SystemSetup (Code, Value) VALUES (?, ?)", {"合同同步", "0"});
    shortenCommandTimeout(300);
    auto other = openSecondConnection("other-workstation");
    ASSERT_TRUE(other->db().isOpen());
    Transaction held(other->db(), Transaction::Write);
    ASSERT_TRUE(held.isActive());
    ASSERT_TRUE(takeNumberingLock(other->db(), "合同信息"));
    ASSERT_TRUE(executeQuiet(other->db(), "UPDATE SystemSetup SET Value = ? WHERE Code = ?", {"1", "合同同步"}));

    const struct {
        const char* what;
        std::function<DbError()> save;
    } cases[] = {
        {"numbering",
         [] {
             Transaction tx(Transaction::Write);
             DbError e = tx.error();
             if (tx.isActive() && takeNumberingLock(DbConnection(), "合同信息", &e)) {
                 const auto r = executeQuiet("INSERT INTO 合同信息 (合同编号) VALUES (?)", {"WF-1"});
                 if (!r) return r.error();
                 tx.commit();
                 e = tx.error();
             }
             return e;
         }},
        {"held row",
         [] {
             Transaction tx;
             const auto r = executeQuiet("UPDATE SystemSetup SET Value = ? WHERE Code = ?", {"2", "合同同步"});
             if (r) tx.commit();
             return r ? tx.error() : r.error();
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const int waitsBefore = doubles().cursor->waits;
        QElapsedTimer timer;
        timer.start();
        const DbError e = c.save();
        EXPECT_LT(timer.elapsed(), 3000);
        EXPECT_TRUE(e.description.startsWith(kBusy + "\n")) << e.description.toStdString();
        EXPECT_GT(e.description.size(), kBusy.size() + 1) << "the server's own text follows";
        EXPECT_GT(doubles().cursor->waits, waitsBefore);
        EXPECT_EQ(doubles().cursor->depth, 0);
    }

    held.rollback();
    EXPECT_EQ(count("SELECT COUNT(*) FROM 合同信息"), 0);
    const auto row = selectFirst("SELECT Value FROM SystemSetup WHERE Code = ?", {"合同同步"});
    ASSERT_TRUE(row);
    EXPECT_EQ(row->text(0), "0");
}

TEST_F(SqlFailures, TheWaitCursorShowsWhileTheDatabaseWorksAndAlwaysGoesAway)
{
    auto& cursor = *doubles().cursor;
    const struct {
        const char* what;
        std::function<void()> work;
    } cases[] = {
        {"statement", [] { executeQuiet("SELECT COUNT(*) FROM SystemSetup WHERE Code = ?", {"a"}); }},
        {"failing statement", [] { executeQuiet("SELECT * FROM 没有这个表"); }},
        {"commit", [] {
             Transaction tx;
             tx.commit();
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (const bool insideAWindowsOwnWait : {false, true}) {
            std::optional<WaitCursor> outer;
            if (insideAWindowsOwnWait) outer.emplace();
            const int before = cursor.waits;
            c.work();
            EXPECT_GT(cursor.waits, before);
            EXPECT_EQ(cursor.depth, insideAWindowsOwnWait ? 1 : 0);
        }
    }
}

TEST_F(SqlFailures, TextHoldingANulIsRefusedBeforeItReachesTheServer)
{
    const QString withNul = QString("甲") + QChar(u'\0') + QString("乙");
    const struct {
        const char* what;
        QString sql;
    } cases[] = {
        {"insert", "INSERT INTO SystemSetup (Code, Value) VALUES ('k', ?)"},
        {"where", "SELECT COUNT(*) FROM SystemSetup WHERE Value = ?"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto r = selectRowsQuiet(c.sql, {withNul});
        EXPECT_FALSE(r);
        EXPECT_EQ(r.error().description, "文本中含有不可保存的控制字符");
        EXPECT_EQ(r.error().number, 0);
    }
    EXPECT_EQ(count("SELECT COUNT(*) FROM SystemSetup"), 0);
    // Only NUL is refused: other characters are the input boxes' business.
    EXPECT_TRUE(executeQuiet("INSERT INTO SystemSetup (Code, Value) VALUES (?, ?)", {"k", "a\tb"}));
}

// The server ends our session (a restart, a dropped network): the statement
// that finds out fails, the connection is opened again, and nothing is re-run.
TEST_F(SqlFailures, LostConnectionIsReopenedAndTheUserAskedToRepeat)
{
    if (!test::testingOnPostgres()) GTEST_SKIP() << "an embedded SQLite database cannot lose its connection";
    // From the server's own database: no one may shut connections out of the database they are in.
    DbSettings server = dbSettings();
    server.database = "postgres";
    auto admin = std::make_unique<test::ExtraConnection>(server, "admin");
    ASSERT_TRUE(admin->db().isOpen());
    const QString database = dbSettings().database;
    const struct {
        const char* what;
        bool serverAcceptsConnections;
        QString description;
    } cases[] = {
        {"server back", true, kRepeat},
        {"server refusing connections", false, kLogInAgain},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (!DbConnection().isOpen()) {
            ASSERT_FALSE(ReopenInPlace().isValid());
        }
        const auto pid = selectFirst("SELECT pg_backend_pid()");
        ASSERT_TRUE(pid);
        if (!c.serverAcceptsConnections) {
            ASSERT_TRUE(executeQuiet(admin->db(), "ALTER DATABASE " + database + " ALLOW_CONNECTIONS false"));
        }
        {
            Transaction tx;
            ASSERT_TRUE(tx.isActive());
            ASSERT_TRUE(selectRowsQuiet(admin->db(), "SELECT pg_terminate_backend(?, 5000)", {pid->value(0)}));
            const auto lost = executeQuiet("INSERT INTO SystemSetup (Code, Value) VALUES (?, ?)", {"断线", "1"});
            ASSERT_FALSE(lost);
            EXPECT_EQ(lost.error().description, c.description);
            EXPECT_FALSE(tx.commit()) << "what the action wrote went with the old session";
        }
        if (!c.serverAcceptsConnections) {
            EXPECT_FALSE(DbConnection().isOpen());
            ASSERT_TRUE(executeQuiet(admin->db(), "ALTER DATABASE " + database + " ALLOW_CONNECTIONS true"));
            continue;
        }
        const auto next = selectFirst("SELECT pg_backend_pid()");
        ASSERT_TRUE(next);
        EXPECT_NE(next->value(0), pid->value(0));
    }
    ASSERT_TRUE(DbConnection().isOpen() || !ReopenInPlace().isValid());
    EXPECT_EQ(count("SELECT COUNT(*) FROM SystemSetup"), 0) << "the failed statement was not run again";
}

}  // namespace
}  // namespace corvane
