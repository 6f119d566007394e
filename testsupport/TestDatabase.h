#pragma once
// A fresh database for each test: a SQLite file in a temporary folder, or, when
// CORVANE_TEST_PG names a server ("host:port"), a new PostgreSQL database on it
// (user "corvane", no password), reached through Qt's ODBC driver as well when
// CORVANE_TEST_ODBC names an ODBC driver. The schema is created, the settings double
// points at the database and DbConnection is open.

#include <QSqlDatabase>
#include <QString>
#include <QTemporaryDir>
#include <QVariantList>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "db/Connection.h"
#include "db/Sql.h"

namespace corvane::test {

// True when the database tests run on PostgreSQL (CORVANE_TEST_PG is set).
bool testingOnPostgres();
// True when they reach it through Qt's ODBC driver: CORVANE_TEST_ODBC names
// the ODBC driver ("PostgreSQL Unicode").
bool testingOverOdbc();
// The settings that reach the same server through its own Qt driver (making
// and dropping databases, which only corvane-db does).
DbSettings serverSettings(const DbSettings& settings);

// The first column of the first row as stored, as text (a number as "0", a
// date as "yyyy-MM-dd"); no value for NULL. No row fails the test.
std::optional<QString> storedText(const QString& sql, const QVariantList& values = {});
// An expected stored value in a table of cases: nullptr for NULL.
inline std::optional<QString> stored(const char* text)
{
    return text ? std::optional<QString>(QString::fromUtf8(text)) : std::nullopt;
}

// Another connection to the test database, made and used in one thread.
class ExtraConnection {
public:
    ExtraConnection(const DbSettings& settings, const QString& name);
    ~ExtraConnection();
    ExtraConnection(const ExtraConnection&) = delete;
    ExtraConnection& operator=(const ExtraConnection&) = delete;
    QSqlDatabase db() const { return QSqlDatabase::database(m_name, false); }

private:
    QString m_name;
};

class DbTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The settings that reach the test database (also in the settings double).
    const DbSettings& dbSettings() const { return m_settings; }
    // A second, independent connection; create it in the thread that uses it.
    std::unique_ptr<ExtraConnection> openSecondConnection(const QString& name) const;

    // Small fixture builders. A department's category and a post's category
    // are created on first use.
    void addDepartment(const QString& code, const QString& name, const QString& categoryCode,
                       const QString& superior = QString());
    void addPost(const QString& code, const QString& name, const QString& dept, const QString& postCategory,
                 bool head = false);
    void addStaff(const QString& 工号, const QString& 姓名, const QString& password, bool left = false);
    void assignPost(const QString& 工号, const QString& post, bool main = true, bool ended = false);
    void addMenuGrant(const QString& post, const QString& group, const QString& formName, bool popedom);

    // A row of 合同信息 with `columns`, then `more` by name (a name in both
    // takes its value from `more`). Its id.
    using ColumnValues = corvane::ColumnValues;
    qint64 addContractRow(ColumnValues columns, const std::map<QString, QVariant>& more = {});

    // Runs a fixture statement; a failure fails the test.
    void exec(const QString& sql, const QVariantList& values = {});
    // A trigger that makes every `event` (INSERT, UPDATE, DELETE) on `table`
    // fail with "injected failure".
    void failEvery(const QString& event, const QString& table);

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    DbSettings m_settings;
};

}  // namespace corvane::test
