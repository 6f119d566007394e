#include "db/Dialect.h"

namespace corvane::dialect {

QString selectTop(Dialect d, int n, const QString& selectBody)
{
    // n is always a count chosen by the program, never a user's value; the
    // clause sits at opposite ends of the statement, so binding it would move
    // the caller's parameters between dialects.
    const QString count = QString::number(n);
    if (d == Dialect::SqlServer) return QStringLiteral("SELECT TOP ") + count + QLatin1Char(' ') + selectBody;
    return QStringLiteral("SELECT ") + selectBody + QStringLiteral(" LIMIT ") + count;
}

QString serverNow(Dialect d)
{
    switch (d) {
    case Dialect::SQLite: return QStringLiteral("datetime('now','localtime')");
    case Dialect::PostgreSQL: return QStringLiteral("LOCALTIMESTAMP");
    case Dialect::SqlServer: return QStringLiteral("GETDATE()");
    }
    return {};
}

QString serverToday(Dialect d)
{
    switch (d) {
    case Dialect::SQLite: return QStringLiteral("date('now','localtime')");
    case Dialect::PostgreSQL: return QStringLiteral("CURRENT_DATE");
    // Midnight of today as a datetime: the date type is unknown before SQL Server 2008.
    case Dialect::SqlServer: return QStringLiteral("DATEADD(day, DATEDIFF(day, 0, GETDATE()), 0)");
    }
    return {};
}

namespace {
QString placeholderList(int n)
{
    QStringList marks;
    for (int i = 0; i < n; ++i) marks << QStringLiteral("?");
    return marks.join(QStringLiteral(", "));
}
}  // namespace

QString insertReturningId(Dialect d, const QString& table, const QStringList& columns, const QString& idColumn)
{
    const QString head = QStringLiteral("INSERT INTO ") + table + QStringLiteral(" (") + columns.join(QStringLiteral(", ")) +
                         QStringLiteral(")");
    const QString values = QStringLiteral(" VALUES (") + placeholderList(int(columns.size())) + QStringLiteral(")");
    if (d == Dialect::SqlServer) return head + QStringLiteral(" OUTPUT INSERTED.") + idColumn + values;
    return head + values + QStringLiteral(" RETURNING ") + idColumn;
}

QString insertSelectReturningId(Dialect d, const QString& table, const QStringList& columns, const QString& idColumn,
                                const QString& condition)
{
    const QString head = QStringLiteral("INSERT INTO ") + table + QStringLiteral(" (") + columns.join(QStringLiteral(", ")) +
                         QStringLiteral(")");
    const QString select = QStringLiteral(" SELECT ") + placeholderList(int(columns.size())) + QStringLiteral(" WHERE ") +
                           condition;
    if (d == Dialect::SqlServer) return head + QStringLiteral(" OUTPUT INSERTED.") + idColumn + select;
    return head + select + QStringLiteral(" RETURNING ") + idColumn;
}

QString likeOperator(Dialect d) { return d == Dialect::PostgreSQL ? QStringLiteral("ILIKE") : QStringLiteral("LIKE"); }

QString escapeLike(const QString& text)
{
    QString escaped = text;
    escaped.replace(QLatin1String("!"), QLatin1String("!!"));
    escaped.replace(QLatin1String("%"), QLatin1String("!%"));
    escaped.replace(QLatin1String("_"), QLatin1String("!_"));
    // SQL Server reads "[" as the start of a character class.
    escaped.replace(QLatin1String("["), QLatin1String("!["));
    return escaped;
}

LikeCondition containsText(Dialect d, const QString& expression, const QString& text)
{
    return {expression + QLatin1Char(' ') + likeOperator(d) + QStringLiteral(" ? ESCAPE '!'"),
            QLatin1Char('%') + escapeLike(text) + QLatin1Char('%')};
}

QString concat(Dialect d, const QString& a, const QString& b)
{
    const QString op = d == Dialect::SqlServer ? QStringLiteral(" + ") : QStringLiteral(" || ");
    return QLatin1Char('(') + a + op + b + QLatin1Char(')');
}

QString setSavepoint(Dialect d, const QString& name)
{
    return (d == Dialect::SqlServer ? QStringLiteral("SAVE TRANSACTION ") : QStringLiteral("SAVEPOINT ")) + name;
}

QString rollbackToSavepoint(Dialect d, const QString& name)
{
    return (d == Dialect::SqlServer ? QStringLiteral("ROLLBACK TRANSACTION ") : QStringLiteral("ROLLBACK TO SAVEPOINT ")) +
           name;
}

QString releaseSavepoint(Dialect d, const QString& name)
{
    // SQL Server has no release; the savepoint ends with the transaction.
    return d == Dialect::SqlServer ? QString() : QStringLiteral("RELEASE SAVEPOINT ") + name;
}

QString numberingLock(Dialect d)
{
    switch (d) {
    case Dialect::SQLite: return {};  // BEGIN IMMEDIATE already holds the write lock
    case Dialect::PostgreSQL: return QStringLiteral("SELECT pg_advisory_xact_lock(hashtext(?))");
    case Dialect::SqlServer:
        return QStringLiteral(
            "SET NOCOUNT ON; DECLARE @r int; "
            "EXEC @r = sp_getapplock @Resource = ?, @LockMode = 'Exclusive', @LockOwner = 'Transaction'; "
            "SELECT @r");
    }
    return {};
}

QString dateTimeText(Dialect d, const QString& column)
{
    switch (d) {
    case Dialect::SQLite: return column;
    case Dialect::PostgreSQL: return QStringLiteral("to_char(") + column + QStringLiteral(", 'YYYY-MM-DD HH24:MI:SS')");
    case Dialect::SqlServer: return QStringLiteral("CONVERT(VARCHAR(19), ") + column + QStringLiteral(", 120)");
    }
    return column;
}

QString ddlType(Dialect d, ColumnType type, int length)
{
    const bool lite = d == Dialect::SQLite, pg = d == Dialect::PostgreSQL;
    switch (type) {
    case ColumnType::Text:
        if (lite) return QStringLiteral("TEXT");
        return (pg ? QStringLiteral("VARCHAR(") : QStringLiteral("NVARCHAR(")) + QString::number(length) +
               QLatin1Char(')');
    case ColumnType::LongText: return lite || pg ? QStringLiteral("TEXT") : QStringLiteral("NVARCHAR(MAX)");
    case ColumnType::Int: return lite || pg ? QStringLiteral("INTEGER") : QStringLiteral("INT");
    case ColumnType::Identity:
        if (lite) return QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
        if (pg) return QStringLiteral("INTEGER GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY");
        return QStringLiteral("INT IDENTITY(1,1) PRIMARY KEY");
    case ColumnType::Flag: return QStringLiteral("SMALLINT");
    case ColumnType::Money: return QStringLiteral("DECIMAL(18,2)");
    case ColumnType::Price: return QStringLiteral("DECIMAL(19,6)");
    case ColumnType::Rate: return QStringLiteral("DECIMAL(9,4)");
    case ColumnType::Single: return QStringLiteral("REAL");
    // SQLite keeps dates as text so that text comparison orders them; TEXT
    // affinity keeps them text whatever is bound.
    case ColumnType::Date: return lite ? QStringLiteral("TEXT") : QStringLiteral("DATE");
    case ColumnType::DateTime:
        if (lite) return QStringLiteral("TEXT");
        return pg ? QStringLiteral("TIMESTAMP") : QStringLiteral("DATETIME");
    case ColumnType::Blob:
        if (lite) return QStringLiteral("BLOB");
        return pg ? QStringLiteral("BYTEA") : QStringLiteral("VARBINARY(MAX)");
    }
    return {};
}

}  // namespace corvane::dialect
