#include "db/Provision.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

#include "db/Sql.h"

namespace corvane::provision {

namespace {

QString errorText(const QSqlError& e)
{
    const DbError d = dbErrorOf(e);
    return d.description.isEmpty() ? e.text() : d.description;
}

// Runs `work` on a connection to the server's maintenance database.
template <class Work>
bool onServer(const DbSettings& settings, QString* error, Work work)
{
    DbSettings admin = settings;
    admin.database = QStringLiteral("postgres");
    const QString name = QStringLiteral("corvane-admin-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    bool ok = false;
    {
        QSqlDatabase db = OpenNamedConnection(admin, name);
        if (!db.isOpen()) {
            if (error) *error = errorText(db.lastError());
        } else {
            ok = work(db);
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

}  // namespace

bool isPlainIdentifier(const QString& name)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]{0,62}$"));
    return plain.match(name).hasMatch();
}

bool createDatabase(const DbSettings& settings, bool* created, QString* error)
{
    if (created) *created = false;
    if (settings.driver == QLatin1String("QSQLITE")) {
        if (QFileInfo(settings.database).isFile()) return true;
        QFile file(settings.database);
        // An empty file is a valid SQLite database.
        if (!file.open(QIODevice::WriteOnly)) {
            if (error) *error = file.errorString();
            return false;
        }
        if (created) *created = true;
        return true;
    }
    if (settings.driver != QLatin1String("QPSQL")) {
        if (error) *error = QStringLiteral("只能为 QSQLITE 或 QPSQL 建立数据库");
        return false;
    }
    if (!isPlainIdentifier(settings.database)) {
        if (error) *error = QStringLiteral("数据库名称只能含字母、数字和下划线：") + settings.database;
        return false;
    }
    return onServer(settings, error, [&](QSqlDatabase& db) {
        Statement exists(db, QStringLiteral("SELECT 1 FROM pg_database WHERE datname = ?"), {settings.database});
        if (!exists.exec()) {
            if (error) *error = exists.error().description;
            return false;
        }
        if (exists.next()) return true;
        // The name was checked above: identifiers cannot be bound.
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("CREATE DATABASE \"%1\" ENCODING 'UTF8' TEMPLATE template0").arg(settings.database))) {
            if (error) *error = errorText(q.lastError());
            return false;
        }
        if (created) *created = true;
        return true;
    });
}

bool dropDatabase(const DbSettings& settings, QString* error)
{
    if (settings.driver == QLatin1String("QSQLITE")) {
        if (!QFileInfo::exists(settings.database) || QFile::remove(settings.database)) return true;
        if (error) *error = QStringLiteral("无法删除 ") + settings.database;
        return false;
    }
    if (settings.driver != QLatin1String("QPSQL") || !isPlainIdentifier(settings.database)) {
        if (error) *error = QStringLiteral("无法删除数据库 ") + settings.database;
        return false;
    }
    return onServer(settings, error, [&](QSqlDatabase& db) {
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("DROP DATABASE IF EXISTS \"%1\" WITH (FORCE)").arg(settings.database))) {
            if (error) *error = errorText(q.lastError());
            return false;
        }
        return true;
    });
}

}  // namespace corvane::provision
