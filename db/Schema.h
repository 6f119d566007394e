#pragma once
// The tables the program uses, described once and rendered for each dialect.
// The customer's database already has them; only corvane-db and the tests
// create them.

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <vector>

#include "db/Connection.h"
#include "db/Dialect.h"
#include "db/Sql.h"

namespace corvane::schema {

struct Column {
    QString name;
    ColumnType type = ColumnType::Text;
    int length = 0;
    bool notNull = false;
};

// An index the program's statements rely on (a lookup by a column that is
// no key): its name and columns.
struct Index {
    QString name;
    QStringList columns;
};

// One table, written as a readable block:
//   Table("合同类型").text("合同类型编号", 20).notNull().text("合同类型", 50).flag("公用").key({"合同类型编号"})
// Each column method adds a column; notNull() applies to the column added last.
class Table {
public:
    explicit Table(QString name) : m_name(std::move(name)) {}

    Table& text(const QString& column, int length) { return add(column, ColumnType::Text, length); }
    Table& longText(const QString& column) { return add(column, ColumnType::LongText); }
    Table& integer(const QString& column) { return add(column, ColumnType::Int); }
    Table& identity(const QString& column) { return add(column, ColumnType::Identity); }
    Table& flag(const QString& column) { return add(column, ColumnType::Flag); }
    Table& money(const QString& column) { return add(column, ColumnType::Money); }
    Table& price(const QString& column) { return add(column, ColumnType::Price); }
    Table& rate(const QString& column) { return add(column, ColumnType::Rate); }
    Table& single(const QString& column) { return add(column, ColumnType::Single); }
    Table& date(const QString& column) { return add(column, ColumnType::Date); }
    Table& dateTime(const QString& column) { return add(column, ColumnType::DateTime); }
    Table& blob(const QString& column) { return add(column, ColumnType::Blob); }
    Table& notNull();
    // Primary key of a table without an identity column.
    Table& key(const QStringList& columns);
    Table& unique(const QStringList& columns);
    Table& index(const QString& name, const QStringList& columns);

    const QString& name() const { return m_name; }
    const std::vector<Column>& columns() const { return m_columns; }
    const Column* column(const QString& name) const;
    const std::vector<Index>& indexes() const { return m_indexes; }
    // CREATE TABLE in the dialect's words.
    QString createStatement(Dialect d) const;
    // CREATE INDEX for each of its indexes.
    QStringList indexStatements(Dialect d) const;

private:
    Table& add(const QString& column, ColumnType type, int length = 0);

    QString m_name;
    std::vector<Column> m_columns;
    QStringList m_key;
    std::vector<QStringList> m_unique;
    std::vector<Index> m_indexes;
};

// Every table of the program.
const std::vector<Table>& tables();
// The table of that name, or nullptr.
const Table* table(const QString& name);
// How many characters `table`.`column` holds: the length a box whose text is
// stored there may take; 0 for a column of unbounded text or none of that name.
int textLength(const QString& table, const QString& column);
// CREATE TABLE statements for all tables, in order, then their indexes.
QStringList createStatements(Dialect d);
// Creates all tables on the open connection in one transaction.
bool createSchema(const QSqlDatabase& db, DbError* error = nullptr);
// True when the connection's database already holds our tables.
bool schemaExists(const QSqlDatabase& db);

}  // namespace corvane::schema
