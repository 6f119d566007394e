#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "db/Connection.h"
#include "db/Sql.h"
#include "testsupport/TestDatabase.h"
#include "testsupport/ServiceDoubles.h"

namespace corvane {
namespace {

using test::doubles;

void setDbSetting(const QString& key, const QString& value)
{
    doubles().settings->values[kSettingsApp + '/' + kSettingsSection + '/' + key] = value;
}

class ConnectionSettings : public ::testing::Test {
protected:
    void SetUp() override { test::resetServices(); }
    void TearDown() override { CloseConnection(); }
};

TEST_F(ConnectionSettings, MissingKeysTakeTheirDefaults)
{
    const DbSettings s = ReadDbSettings();
    EXPECT_EQ(s.driver, "QODBC");
    EXPECT_EQ(s.edition, "2000");
#ifdef Q_OS_WIN
    EXPECT_EQ(s.odbcDriver, "SQL Server");
#else
    EXPECT_EQ(s.odbcDriver, "FreeTDS");
#endif
    EXPECT_TRUE(s.server.isEmpty() && s.login.isEmpty() && s.password.isEmpty() && s.database.isEmpty());

    setDbSetting("Edition", " 2005 ");
    setDbSetting("Driver", "QSQLITE");
    OpenConnection(ReadDbSettings());
    EXPECT_EQ(DbEdition, " 2005 ");
}

TEST_F(ConnectionSettings, OdbcStringQuotesValuesAndLeavesCredentialsOut)
{
    DbSettings s;
    s.driver = "QODBC";
    s.odbcDriver = "FreeTDS";
    s.server = "srv;Trusted_Connection=yes";
    s.database = "合同}库";
    s.login = "sa";
    s.password = "p;w}d";
    const QString text = BuildConnectString(s);
    EXPECT_EQ(text, "DRIVER={FreeTDS};SERVER={srv;Trusted_Connection=yes};DATABASE={合同}}库}");
    EXPECT_FALSE(text.contains("p;w"));
    EXPECT_FALSE(text.contains("UID") || text.contains("PWD"));

    s.server = " plain ";
    s.database = "Corvane";
    EXPECT_EQ(BuildConnectString(s), "DRIVER={FreeTDS};SERVER={ plain };DATABASE=Corvane");

    // A port goes apart from the host; a named instance stays as it is.
    s.server = "db.example:5433";
    EXPECT_EQ(BuildConnectString(s), "DRIVER={FreeTDS};SERVER=db.example;PORT=5433;DATABASE=Corvane");
    s.server = "db\\SQLEXPRESS";
    EXPECT_EQ(BuildConnectString(s), "DRIVER={FreeTDS};SERVER=db\\SQLEXPRESS;DATABASE=Corvane");

    s.driver = "QPSQL";
    s.server = "db.example:5433";
    EXPECT_EQ(BuildConnectString(s), "host=db.example port=5433 dbname=Corvane");
}

TEST_F(ConnectionSettings, LoginAndPasswordGoToTheDriver)
{
    QTemporaryDir dir;
    setDbSetting("Driver", "QSQLITE");
    setDbSetting("DBname", dir.filePath("missing.db"));
    setDbSetting("UID", "sa");
    setDbSetting("PWD", "a;b");
    OpenConnection(ReadDbSettings());
    EXPECT_EQ(DbConnection().userName(), "sa");
    EXPECT_EQ(DbConnection().password(), "a;b");
    EXPECT_EQ(DbConnectString, dir.filePath("missing.db"));
}

TEST_F(ConnectionSettings, UnreachableDatabaseIsAFailedConnection)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath("nothing-here.db");
    struct Case {
        const char* what;
        QString driver, database;
    } cases[] = {
        {"no settings at all", QString(), QString()},
        {"SQLite file that does not exist", "QSQLITE", missing},
        {"SQLite without a file name", "QSQLITE", QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        doubles().settings->values.clear();
        if (!c.driver.isEmpty()) setDbSetting("Driver", c.driver);
        if (!c.database.isEmpty()) setDbSetting("DBname", c.database);
        EXPECT_FALSE(OpenConnection(ReadDbSettings()));
        EXPECT_FALSE(DbConnection().isOpen());
    }
    EXPECT_FALSE(QFileInfo::exists(missing)) << "a missing file must not be created";
}

TEST_F(ConnectionSettings, ReOpenConnectionThatFailsShowsOneMessageAndStaysUnopened)
{
    QTemporaryDir dir;
    setDbSetting("Driver", "QSQLITE");
    setDbSetting("DBname", dir.filePath("gone.db"));
    OpenConnection(ReadDbSettings());

    ReOpenConnection();

    ASSERT_EQ(doubles().boxes->shown.size(), 1);
    EXPECT_EQ(doubles().boxes->shown[0].title, "Corvane");
    EXPECT_FALSE(doubles().boxes->shown[0].text.isEmpty());
    EXPECT_FALSE(DbConnection().isOpen());
}

TEST_F(ConnectionSettings, ReopenInPlaceThatFailsGivesItsErrorAndShowsNothing)
{
    QTemporaryDir dir;
    struct Case {
        const char* driver;
        QString server, database;
        const char* words;  // what the error must say
    };
    // A file that is not there, and a server that refuses the connection
    // (nothing listens on port 1): the driver's words, or ours when it has none.
    for (const Case& c : {Case{"QSQLITE", "", dir.filePath("gone.db"), "无法重新连接数据库"},
                          Case{"QPSQL", "127.0.0.1:1", "corvane", "127.0.0.1"}}) {
        doubles().settings->values.clear();
        setDbSetting("Driver", c.driver);
        setDbSetting("Svr", c.server);
        setDbSetting("DBname", c.database);
        OpenConnection(ReadDbSettings());

        const DbError error = ReopenInPlace();

        EXPECT_TRUE(error.isValid()) << c.driver;
        EXPECT_TRUE(error.description.contains(QString::fromUtf8(c.words))) << error.description.toStdString();
        EXPECT_FALSE(DbConnection().isOpen()) << c.driver;
    }
    EXPECT_TRUE(doubles().boxes->shown.isEmpty());
}

TEST_F(ConnectionSettings, ServerDateWithoutAConnectionShowsTheStandardErrorBox)
{
    EXPECT_EQ(GetServerDate(), std::nullopt);
    ASSERT_EQ(doubles().boxes->shown.size(), 1);
    const auto& box = doubles().boxes->shown[0];
    EXPECT_EQ(box.title, "提示");
    EXPECT_EQ(box.icon(), vbInformation);
    EXPECT_TRUE(box.text.startsWith("错误号：0\n错误描述：")) << box.text.toStdString();
}

class ConnectionOnDatabase : public test::DbTest {};

TEST_F(ConnectionOnDatabase, ServerDateIsTheServersDate)
{
    const QString direct = test::testingOnPostgres() ? "SELECT to_char(now(), 'YYYY-MM-DD')"
                                                     : "SELECT strftime('%Y-%m-%d', 'now', 'localtime')";
    const auto before = selectFirst(direct);
    const auto date = GetServerDate();
    const auto after = selectFirst(direct);
    ASSERT_TRUE(date && before && after);
    EXPECT_TRUE(*date == toDate(before->value(0)) || *date == toDate(after->value(0)));
    EXPECT_TRUE(doubles().boxes->shown.isEmpty());
}

TEST_F(ConnectionOnDatabase, ServerDateAfterTheConnectionIsLostGivesNoDate)
{
    DbConnection().close();
    EXPECT_EQ(GetServerDate(), std::nullopt);
    ASSERT_EQ(doubles().boxes->shown.size(), 1);
    EXPECT_EQ(doubles().boxes->shown[0].title, "提示");
}

TEST_F(ConnectionOnDatabase, ReopenInPlaceReachesTheSameDatabase)
{
    exec("INSERT INTO SystemSetup (Code, Value) VALUES (?, ?)", {"合同同步", "0"});
    ASSERT_FALSE(ReopenInPlace().isValid());
    const auto row = selectFirst("SELECT Value FROM SystemSetup WHERE Code = ?", {"合同同步"});
    ASSERT_TRUE(row);
    EXPECT_EQ(row->text("Value"), "0");
}

}  // namespace
}  // namespace corvane
