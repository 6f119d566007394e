#include "db/Sql.h"

#include <QCoreApplication>
#include <QSqlDriver>
#include <QMutex>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlResult>
#include <QThread>
#include <unordered_map>

#include <sql.h>
#include <sqlext.h>

#include "db/Dialect.h"
#include "db/DriverError.h"
#include "platform/Services.h"

namespace corvane {

namespace {

const QString kDateFormat = QStringLiteral("yyyy-MM-dd");
const QString kDateTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

const QString kBusy = QStringLiteral("数据正被其他用户修改，请稍后再试");
const QString kReconnected = QStringLiteral("与数据库的连接已中断并已重新连接，请重新执行刚才的操作");
const QString kConnectionGone = QStringLiteral("与数据库的连接已中断，请注销后重新登录");
const QString kControlCharacter = QStringLiteral("文本中含有不可保存的控制字符");

enum class Failure { Other, Busy, ConnectionLost };

StatementFaultHook& statementFaultHook()
{
    static StatementFaultHook hook;
    return hook;
}

// The SQLSTATEs of the diagnostics an ODBC handle holds after a failure
// (Qt's ODBC driver keeps only the native number and the text): of the
// statement when there is one, then of the connection.
QStringList odbcStates(const QSqlDatabase& db, const QSqlQuery* query)
{
    if (db.driverName() != QLatin1String("QODBC")) return {};
    QStringList states;
    auto read = [&](SQLSMALLINT type, const QVariant& handle) {
        if (!handle.isValid() || handle.metaType().sizeOf() != int(sizeof(SQLHANDLE))) return;
        const SQLHANDLE h = *static_cast<const SQLHANDLE*>(handle.constData());
        if (!h) return;
        for (SQLSMALLINT i = 1; i < 10; ++i) {
            SQLCHAR state[SQL_SQLSTATE_SIZE + 1] = {};
            SQLINTEGER native = 0;
            SQLSMALLINT length = 0;
            const SQLRETURN r = SQLGetDiagRec(type, h, i, state, &native, nullptr, 0, &length);
            if (r != SQL_SUCCESS && r != SQL_SUCCESS_WITH_INFO) break;
            states << QString::fromLatin1(reinterpret_cast<const char*>(state));
        }
    };
    if (query && query->result()) read(SQL_HANDLE_STMT, query->result()->handle());
    if (!db.driver()) return states;
    const QVariant connection = db.driver()->handle();
    read(SQL_HANDLE_DBC, connection);
    // A driver may file a lost link under a general state (PostgreSQL's, when
    // it was lost while parameters were sent): the connection knows it is dead.
    if (connection.isValid() && connection.metaType().sizeOf() == int(sizeof(SQLHANDLE))) {
        const SQLHANDLE h = *static_cast<const SQLHANDLE*>(connection.constData());
        SQLUINTEGER dead = SQL_CD_FALSE;
        if (h && SQL_SUCCEEDED(SQLGetConnectAttr(h, SQL_ATTR_CONNECTION_DEAD, &dead, 0, nullptr)) && dead == SQL_CD_TRUE)
            states.prepend(QStringLiteral("08S01"));
    }
    return states;
}

Failure failureKind(Dialect d, const QSqlError& error, const QStringList& odbc)
{
    // Through ODBC the engine's own code is the SQLSTATE (PostgreSQL's ODBC
    // driver passes the server's on); the native number is the driver's.
    const QString code = odbc.isEmpty() || d == Dialect::SqlServer ? error.nativeErrorCode() : odbc.front();
    const QString text = error.databaseText() + QLatin1Char(' ') + error.driverText();
    const bool driverLostIt = error.type() == QSqlError::ConnectionError;
    // The driver's own time-out, and a link that is gone, on any server.
    for (const QString& state : odbc) {
        if (state == QLatin1String("HYT00")) return Failure::Busy;
        if (state.startsWith(QLatin1String("08")) || state == QLatin1String("HYT01")) return Failure::ConnectionLost;
    }
    switch (d) {
    case Dialect::SQLite: {
        // SQLITE_BUSY and SQLITE_LOCKED, with or without an extended code.
        bool numeric = false;
        const int primary = code.toInt(&numeric) & 0xff;
        if (numeric && (primary == 5 || primary == 6)) return Failure::Busy;
        // The driver files every failed step as a connection error, with the
        // engine's code; only one without a code is about the connection.
        return driverLostIt && code.isEmpty() ? Failure::ConnectionLost : Failure::Other;
    }
    case Dialect::PostgreSQL:
        // lock_not_available (lock_timeout) and query_canceled (statement_timeout).
        if (code == QLatin1String("55P03") || code == QLatin1String("57014")) return Failure::Busy;
        // Connection exceptions, and the server ending the session (shut down,
        // restarted, or the backend terminated).
        if (driverLostIt || code.startsWith(QLatin1String("08")) || code == QLatin1String("57P01") ||
            code == QLatin1String("57P02") || code == QLatin1String("57P03"))
            return Failure::ConnectionLost;
        // libpq's own words when the socket is gone: no SQLSTATE comes with them.
        if (code.isEmpty()) {
            static const char* const gone[] = {"server closed the connection", "no connection to the server",
                                               "connection to server was lost", "could not send data to server",
                                               "could not receive data from server"};
            for (const char* words : gone)
                if (text.contains(QLatin1String(words))) return Failure::ConnectionLost;
        }
        return Failure::Other;
    case Dialect::SqlServer: {
        // Error 1222 is SET LOCK_TIMEOUT running out; HYT00 a driver time-out.
        const QStringList codes = code.split(QLatin1Char(';'), Qt::SkipEmptyParts);
        if (codes.contains(QLatin1String("1222")) || text.contains(QLatin1String("HYT00"))) return Failure::Busy;
        if (driverLostIt || text.contains(QLatin1String("08S01")) || text.contains(QLatin1String("08003")) ||
            codes.contains(QLatin1String("08S01")))
            return Failure::ConnectionLost;
        return Failure::Other;
    }
    }
    return Failure::Other;
}

// A failure of the database on `db` as the error box shows it: a time-out
// in words a clerk can act on, and a login connection found gone opened again
// once. The statement is not run again: it may have written before the
// connection broke, so the user repeats the action knowingly. `query`, the
// failed statement, is let go before the reopen, so that nothing of the old
// session (freeing its prepared statement) is sent to the new one.
DbError failureOf(const QSqlDatabase& db, const QSqlError& error, QSqlQuery* query = nullptr, bool fromDriver = true)
{
    DbError e = dbErrorOf(error);
    const Dialect d = dialectOf(db);
    const QStringList odbc = fromDriver ? odbcStates(db, query) : QStringList();
    // PostgreSQL's ODBC driver numbers its own faults, not the server's: no error number to show.
    if (!odbc.isEmpty() && d != Dialect::SqlServer) e.number = 0;
    switch (failureKind(d, error, odbc)) {
    case Failure::Busy: e.description = kBusy + QLatin1Char('\n') + e.description; break;
    case Failure::ConnectionLost:
        e.connectionLost = true;
        if (!IsLoginConnection(db)) break;
        if (query) query->clear();
        e.description = ReopenInPlace().isValid() ? kConnectionGone : kReconnected;
        break;
    case Failure::Other: break;
    }
    return e;
}

// PostgreSQL's driver writes bound values into the statement as literals,
// where a NUL ends the text early and the server reports a syntax error; no
// engine keeps it faithfully. Refused before anything is sent, on every engine.
bool holdsNul(const QVariantList& values)
{
    for (const QVariant& v : values)
        if (v.typeId() == QMetaType::QString && v.toString().contains(QChar(u'\0'))) return true;
    return false;
}

// The wait cursor while the database works. Only the GUI thread may touch
// the cursor; work on other threads (their own connections) goes without.
class DatabaseWait {
public:
    DatabaseWait()
    {
        const QCoreApplication* app = QCoreApplication::instance();
        if (app && app->thread() == QThread::currentThread()) m_cursor.emplace();
    }

private:
    std::optional<WaitCursor> m_cursor;
};

DbError notOpenError(const QSqlDatabase& db)
{
    DbError e = db.isValid() ? dbErrorOf(db.lastError()) : DbError();
    e.description = QStringLiteral("数据库连接未打开");
    return e;
}

// What a value becomes when bound: flags as 0/1 (PostgreSQL refuses true/false
// for SMALLINT), dates and date-times in the text forms our layer stores.
// A text is a text even when it never held a character: Qt's drivers store
// such a "null" QString as NULL, so an empty box would arrive as NULL or as
// '' by chance. NULL is bound only as a null value.
QVariant bindable(Dialect d, const QVariant& v)
{
    if (v.isNull()) return v;
    switch (v.typeId()) {
    case QMetaType::QString: return v.toString().isNull() ? QVariant(QStringLiteral("")) : v;
    case QMetaType::Bool: return v.toBool() ? 1 : 0;
    case QMetaType::QDate: return dateValue(d, v.toDate());
    case QMetaType::QDateTime: return dateTimeValue(d, v.toDateTime());
    default: return v;
    }
}

bool startsWithInsert(const QString& sql)
{
    return sql.trimmed().startsWith(QLatin1String("INSERT"), Qt::CaseInsensitive);
}

QString asText(const QVariant& v)
{
    if (v.isNull()) return QString();
    switch (v.typeId()) {
    case QMetaType::QDate: return v.toDate().toString(kDateFormat);
    case QMetaType::QDateTime: return v.toDateTime().toString(kDateTimeFormat);
    default: return v.toString();
    }
}

// PostgreSQL prepares a bound statement, runs it and deallocates it: three
// round trips; SQLite compiles it again each time. A statement's prepared
// query is kept per connection after it ran, so the next run of the same
// text costs one. A query is lent to one
// Statement at a time; a connection closed and opened again (a new server
// session, whose prepared statements are gone) starts afresh.
class PreparedQueries {
public:
    static PreparedQueries& instance()
    {
        static PreparedQueries kept;
        return kept;
    }

    // A query already prepared for sql on db, taken out of the keeping.
    std::optional<QSqlQuery> take(const QSqlDatabase& db, const QString& sql)
    {
        if (!keeps(db)) return std::nullopt;
        QMutexLocker lock(&m_mutex);
        Session& s = session(db);
        const auto it = s.queries.find(sql);
        if (it == s.queries.end()) return std::nullopt;
        QSqlQuery q = std::move(it->second.query);
        s.queries.erase(it);
        return q;
    }

    // A query that ran without error goes back for the next run of its text.
    void giveBack(const QSqlDatabase& db, const QString& sql, QSqlQuery query)
    {
        if (!keeps(db) || !db.isOpen()) return;
        query.finish();
        QMutexLocker lock(&m_mutex);
        Session& s = session(db);
        if (s.queries.size() >= kKept) {
            auto oldest = std::min_element(s.queries.begin(), s.queries.end(),
                                           [](const auto& a, const auto& b) { return a.second.used < b.second.used; });
            s.queries.erase(oldest);
        }
        s.queries[sql] = {std::move(query), ++s.clock};
    }

    // Before the session ends: the kept statements are deallocated while it
    // still knows them, never later on a new session (where the failing
    // DEALLOCATE would abort whatever transaction runs there).
    void forget(const QSqlDatabase& db)
    {
        QMutexLocker lock(&m_mutex);
        m_sessions.erase(db.connectionName());
    }

private:
    // SQLite prepares on every run too: a kept, reset statement holds no
    // lock. SQL Server's ODBC driver is left as it is, untried here.
    static bool keeps(const QSqlDatabase& db) { return dialectOf(db) != Dialect::SqlServer; }
    static constexpr size_t kKept = 100;
    struct Kept {
        QSqlQuery query;
        quint64 used = 0;
    };
    struct Session {
        const void* handle = nullptr;
        int opened = 0;
        std::unordered_map<QString, Kept> queries;
        quint64 clock = 0;
    };

    Session& session(const QSqlDatabase& db)
    {
        Session& s = m_sessions[db.connectionName()];
        const QVariant h = db.driver() ? db.driver()->handle() : QVariant();
        const void* handle = h.isValid() ? *static_cast<const void* const*>(h.constData()) : nullptr;
        // A reopened session may get its handle at the old address: the open
        // count tells them apart, and the old session's statements are gone.
        const int opened = OpenCount(db);
        if (handle != s.handle || opened != s.opened) {
            s.queries.clear();
            s.handle = handle;
            s.opened = opened;
        }
        return s;
    }

    QMutex m_mutex;
    std::unordered_map<QString, Session> m_sessions;
};

}  // namespace

DbError dbErrorOf(const QSqlError& error)
{
    DbError e;
    bool numeric = false;
    const qint64 code = error.nativeErrorCode().toLongLong(&numeric);
    e.number = numeric ? code : 0;
    e.description = error.databaseText();
    if (e.description.isEmpty()) e.description = error.driverText();
    if (e.description.isEmpty() && error.type() != QSqlError::NoError) e.description = error.text();
    return e;
}

// ---- Row

Row::Row(const QSqlRecord& record) : m_record(std::make_shared<const QSqlRecord>(record)) {}
QVariant Row::value(const QString& column) const { return m_record ? m_record->value(column) : QVariant(); }
QVariant Row::value(int index) const { return m_record ? m_record->value(index) : QVariant(); }
QString Row::text(const QString& column) const { return asText(value(column)); }
QString Row::text(int index) const { return asText(value(index)); }
bool Row::isNull(const QString& column) const { return !m_record || m_record->isNull(column); }
bool Row::isNull(int index) const { return !m_record || m_record->isNull(index); }
bool Row::flag(const QString& column) const { return !isNull(column) && value(column).toInt() != 0; }
bool Row::flag(int index) const { return !isNull(index) && value(index).toInt() != 0; }
int Row::count() const { return m_record ? m_record->count() : 0; }

// ---- Statement

Statement::Statement(const QString& sql, const QVariantList& values) : Statement(DbConnection(), sql, values) {}

Statement::Statement(const QSqlDatabase& db, const QString& sql, const QVariantList& values)
    : m_db(db), m_sql(sql), m_values(values)
{
}

Statement::~Statement()
{
    if (m_query && m_prepared && m_keep && !m_error.isValid())
        PreparedQueries::instance().giveBack(m_db, m_sql, std::move(*m_query));
}

void forgetPreparedStatements(const QSqlDatabase& db) { PreparedQueries::instance().forget(db); }

bool Statement::prepare()
{
    if (std::optional<QSqlQuery> kept = m_keep ? PreparedQueries::instance().take(m_db, m_sql) : std::nullopt) {
        *m_query = std::move(*kept);
        m_query->setForwardOnly(true);
        m_prepared = true;
        return true;
    }
    m_prepared = m_query->prepare(m_sql);
    return m_prepared;
}

Statement& Statement::bind(const QVariant& value)
{
    m_values << value;
    return *this;
}

Statement& Statement::planEachRun()
{
    m_keep = false;
    return *this;
}

void setStatementFaultHook(StatementFaultHook hook) { statementFaultHook() = std::move(hook); }

bool Statement::exec()
{
    m_error = DbError();
    m_insertId = QVariant();
    if (holdsNul(m_values)) {
        m_error.description = kControlCharacter;
        return false;
    }
    if (!m_db.isValid() || !m_db.isOpen()) {
        m_error = notOpenError(m_db);
        return false;
    }
    if (const StatementFaultHook& hook = statementFaultHook()) {
        if (const std::optional<DriverFault> injected = hook(m_sql)) {
            const QSqlError error(injected->text, injected->text,
                                  injected->connectionError ? QSqlError::ConnectionError : QSqlError::StatementError,
                                  injected->nativeCode);
            m_error = failureOf(m_db, error, nullptr, false);
            if (!m_error.isValid()) m_error.description = QStringLiteral("语句执行失败");
            return false;
        }
    }
    DatabaseWait wait;
    m_query = std::make_unique<QSqlQuery>(m_db);
    m_query->setForwardOnly(true);
    bool ran = false;
    if (m_values.isEmpty()) {
        // Nothing to bind: run it directly (PostgreSQL cannot prepare DDL).
        ran = m_query->exec(m_sql);
    } else if (prepare()) {
        const Dialect d = dialectOf(m_db);
        for (const QVariant& v : std::as_const(m_values)) m_query->addBindValue(bindable(d, v));
        ran = m_query->exec();
    }
    if (!ran) {
        m_error = failureOf(m_db, m_query->lastError(), m_query.get());
        if (!m_error.isValid()) m_error.description = QStringLiteral("语句执行失败");
        return false;
    }
    if (startsWithInsert(m_sql)) {
        if (m_query->isSelect()) {
            // INSERT ... RETURNING / OUTPUT INSERTED hands the identity back as
            // a row. The statement is finished at once: on SQLite a statement
            // still stepping keeps the enclosing transaction from committing.
            if (m_query->next()) m_insertId = m_query->value(0);
            m_query->finish();
        } else if (dialectOf(m_db) == Dialect::SQLite) {
            // Only SQLite answers this without a statement of its own; on
            // PostgreSQL Qt would ask lastval(), whose error aborts the transaction.
            m_insertId = m_query->lastInsertId();
        }
    }
    return true;
}

bool Statement::next()
{
    if (!m_query || !m_query->isActive()) return false;
    if (m_query->next()) return true;
    // The end of the rows, or a fetch that failed half-way through them.
    if (m_query->lastError().isValid() && !m_error.isValid())
        m_error = failureOf(m_db, m_query->lastError(), m_query.get());
    return false;
}

Row Statement::row() const { return m_query ? Row(m_query->record()) : Row(); }

QVariant Statement::value(int index) const { return m_query ? m_query->value(index) : QVariant(); }

int Statement::rowsAffected() const { return m_query ? m_query->numRowsAffected() : -1; }

QVariant Statement::lastInsertId() const { return m_insertId; }

// ---- Helpers over DbConnection

DbResult<Rows> selectRowsQuiet(const QSqlDatabase& db, const QString& sql, const QVariantList& values)
{
    Statement st(db, sql, values);
    if (!st.exec()) return st.error();
    Rows rows;
    while (st.next()) rows.push_back(st.row());
    if (st.error().isValid()) return st.error();
    return rows;
}

DbResult<int> executeQuiet(const QSqlDatabase& db, const QString& sql, const QVariantList& values)
{
    Statement st(db, sql, values);
    if (!st.exec()) return st.error();
    return st.rowsAffected();
}

DbResult<QVariant> selectValueQuiet(const QSqlDatabase& db, const QString& sql, const QVariantList& values)
{
    Statement st(db, sql, values);
    if (!st.exec()) return st.error();
    QVariant value = st.next() ? st.value(0) : QVariant();
    if (st.error().isValid()) return st.error();
    return value;
}

BoundSql insertStatement(Dialect d, const QString& table, const ColumnValues& row, const QString& idColumn)
{
    BoundSql out;
    QStringList columns;
    columns.reserve(qsizetype(row.size()));
    out.values.reserve(qsizetype(row.size()));
    for (const auto& [column, value] : row) {
        columns << column;
        out.values << value;
    }
    if (!idColumn.isEmpty()) {
        out.sql = dialect::insertReturningId(d, table, columns, idColumn);
    } else {
        out.sql = QStringLiteral("INSERT INTO ") + table + QStringLiteral(" (") + columns.join(QStringLiteral(", ")) +
                  QStringLiteral(") VALUES (") + placeholders(int(columns.size())) + QLatin1Char(')');
    }
    return out;
}

DbResult<int> insertQuiet(const QSqlDatabase& db, const QString& table, const ColumnValues& row)
{
    const BoundSql insert = insertStatement(dialectOf(db), table, row);
    return executeQuiet(db, insert.sql, insert.values);
}

DbResult<qint64> insertReturningIdQuiet(const QSqlDatabase& db, const QString& table, const ColumnValues& row,
                                        const QString& idColumn)
{
    const BoundSql insert = insertStatement(dialectOf(db), table, row, idColumn);
    Statement st(db, insert.sql, insert.values);
    if (!st.exec()) return st.error();
    return checkedInsertId(st, table);
}

DbResult<qint64> checkedInsertId(const Statement& insert, const QString& table)
{
    const QVariant id = insert.lastInsertId();
    bool whole = false;
    // Whole numbers only: a driver may hand an identity back as text or as a
    // decimal, and 2.5 or "12abc" must not become a key.
    const qint64 value = id.isNull() ? 0 : id.toString().toLongLong(&whole);
    if (whole && value > 0) return value;
    const QString shown = id.isNull() ? QStringLiteral("无") : id.toString();
    return DbError{0, table + QStringLiteral("：新记录的ID未能读回（") + shown + QStringLiteral("）")};
}

DbResult<Rows> selectRowsQuiet(const QString& sql, const QVariantList& values)
{
    return selectRowsQuiet(DbConnection(), sql, values);
}

DbResult<int> executeQuiet(const QString& sql, const QVariantList& values) { return executeQuiet(DbConnection(), sql, values); }

DbResult<Row> selectFirstQuiet(const QString& sql, const QVariantList& values)
{
    Statement st(sql, values);
    if (!st.exec()) return st.error();
    if (st.next()) return st.row();
    if (st.error().isValid()) return st.error();
    return Row();
}

namespace {
template <class T>
DbResult<T> reported(DbResult<T> result)
{
    if (!result) reportDbError(result.error());
    return result;
}
}  // namespace

DbResult<Rows> selectRows(const QString& sql, const QVariantList& values) { return reported(selectRowsQuiet(sql, values)); }
DbResult<Row> selectFirst(const QString& sql, const QVariantList& values) { return reported(selectFirstQuiet(sql, values)); }
DbResult<int> execute(const QString& sql, const QVariantList& values) { return reported(executeQuiet(sql, values)); }

void reportDbError(const DbError& error) { ShowStandardError(error.number, error.description); }

DbError lastErrorOf(const QSqlDatabase& db) { return dbErrorOf(db.lastError()); }

// ---- Dates

QVariant dateValue(Dialect d, const QDate& date)
{
    if (!date.isValid()) return QVariant(QMetaType::fromType<QDate>());
    if (d == Dialect::SQLite) return date.toString(kDateFormat);
    return date;
}

QVariant dateTimeValue(Dialect d, const QDateTime& dateTime)
{
    if (!dateTime.isValid()) return QVariant(QMetaType::fromType<QDateTime>());
    // Qt would hand PostgreSQL a UTC instant, which a TIMESTAMP column keeps as
    // a shifted wall-clock time; the text form keeps the local time as it is.
    if (d == Dialect::SqlServer) return dateTime;
    return dateTime.toString(kDateTimeFormat);
}

QVariant dateValue(const QDate& date) { return dateValue(DbDialect(), date); }
QVariant dateTimeValue(const QDateTime& dateTime) { return dateTimeValue(DbDialect(), dateTime); }

QDateTime toDateTime(const QVariant& value)
{
    if (value.isNull()) return QDateTime();
    switch (value.typeId()) {
    case QMetaType::QDateTime: return value.toDateTime();
    case QMetaType::QDate: return value.toDate().startOfDay();
    default: break;
    }
    QString text = value.toString().trimmed();
    text.replace(QLatin1Char('/'), QLatin1Char('-'));
    text.replace(QLatin1Char('T'), QLatin1Char(' '));
    const QDate date = QDate::fromString(text.left(10), kDateFormat);
    if (!date.isValid()) return QDateTime();
    QTime time(0, 0);
    if (text.size() > 10) {
        const QString rest = text.mid(11);
        time = QTime::fromString(rest.left(8), QStringLiteral("HH:mm:ss"));
        if (!time.isValid()) time = QTime::fromString(rest.left(5), QStringLiteral("HH:mm"));
        if (!time.isValid()) return QDateTime();
    }
    return QDateTime(date, time);
}

QDate toDate(const QVariant& value) { return toDateTime(value).date(); }

QVariant nullText() { return QVariant(QMetaType::fromType<QString>()); }

QVariant textOrNull(const QString& text) { return text.isEmpty() ? nullText() : QVariant(text); }

QString placeholders(int n)
{
    QStringList marks;
    for (int i = 0; i < n; ++i) marks << QStringLiteral("?");
    return marks.join(QStringLiteral(", "));
}

void appendAsLoaded(QString& sql, QVariantList& values, const QString& column, const QVariant& loaded)
{
    if (loaded.isNull()) {
        sql += QStringLiteral(" AND ") + column + QStringLiteral(" IS NULL");
        return;
    }
    if (loaded.typeId() == QMetaType::QString && loaded.toString().isEmpty()) {
        sql += QStringLiteral(" AND (") + column + QStringLiteral(" IS NULL OR ") + column + QStringLiteral(" = '')");
        return;
    }
    sql += QStringLiteral(" AND ") + column + QStringLiteral(" = ?");
    values << loaded;
}

// ---- Transaction

Transaction::Transaction(Mode mode) : Transaction(DbConnection(), mode) {}

Transaction::Transaction(const QSqlDatabase& db, Mode mode) : m_db(db)
{
    if (!m_db.isValid() || !m_db.isOpen()) {
        m_error = notOpenError(m_db);
        return;
    }
    DatabaseWait wait;
    m_openCount = OpenCount(m_db);
    if (mode == Write && dialectOf(m_db) == Dialect::SQLite) {
        // Takes the database's write lock now, so a number read inside the
        // transaction cannot be read by another writer before we commit.
        QSqlQuery q(m_db);
        m_active = q.exec(QStringLiteral("BEGIN IMMEDIATE"));
        if (!m_active) m_error = failureOf(m_db, q.lastError());
    } else {
        m_active = m_db.transaction();
        if (!m_active) m_error = failureOf(m_db, m_db.lastError());
    }
}

Transaction::~Transaction()
{
    if (m_active) rollback();
}

bool Transaction::commit()
{
    if (!m_active) {
        if (!m_error.isValid()) m_error.description = QStringLiteral("事务未开始");
        return false;
    }
    if (!m_db.isOpen()) {
        m_active = false;
        m_error = notOpenError(m_db);
        return false;
    }
    if (OpenCount(m_db) != m_openCount) {
        // The connection was reopened inside the action: what it wrote went
        // with the old session, and a COMMIT now would report a success.
        m_active = false;
        m_error = DbError{0, kReconnected};
        return false;
    }
    DatabaseWait wait;
    if (!m_db.commit()) {
        // Still open: the destructor rolls it back.
        m_error = failureOf(m_db, m_db.lastError());
        return false;
    }
    m_active = false;
    return true;
}

void Transaction::rollback()
{
    if (!m_active) return;
    m_active = false;
    // After a reopen there is nothing of ours to roll back on the new session.
    if (m_db.isOpen() && OpenCount(m_db) == m_openCount) {
        DatabaseWait wait;
        m_db.rollback();
    }
}

// ---- Numbering lock

bool takeNumberingLock(const QSqlDatabase& db, const QString& key, DbError* error)
{
    const QString sql = dialect::numberingLock(dialectOf(db));
    if (sql.isEmpty()) return true;
    Statement st(db, sql, {key});
    bool ok = st.exec();
    if (ok && dialectOf(db) == Dialect::SqlServer) ok = st.next() && st.row().value(0).toInt() >= 0;
    if (!ok) {
        DbError e = st.error();
        if (!e.isValid()) e.description = QStringLiteral("无法取得编号锁");
        if (error) *error = e;
    }
    return ok;
}

}  // namespace corvane
