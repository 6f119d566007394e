// The invoicing item settings of a large company, on SQLite or, when
// CORVANE_TEST_PG names a server ("host:port"), on PostgreSQL: saving the
// settings of 2,000 fee items for one 管理处 and applying them to 20 other
// 管理处, each action in its transaction, against the same 42,000 rows
// inserted 100 to a statement (as the program batches them) by prepared
// statements in one transaction, in alternating rounds (case
// invoicing-items-save).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <memory>

#include "BenchDatabase.h"
#include "db/Provision.h"
#include "db/Schema.h"
#include "db/Sql.h"
#include "bills/VatStore.h"
#include "testsupport/TestEnvironment.h"

using namespace corvane;
using namespace corvane::bench;
using namespace corvane::receipts;

namespace {

constexpr int kItems = 2000;
constexpr int kTargets = 20;

QString office(int i) { return QStringLiteral("GL%1").arg(i, 3, 10, QLatin1Char('0')); }

std::vector<SettingRow> rows()
{
    std::vector<SettingRow> out;
    for (int i = 0; i < kItems; ++i)
        out.push_back({0, QStringLiteral("SF%1").arg(i, 5, 10, QLatin1Char('0')), QStringLiteral("22210101"),
                       QStringLiteral("3040801010000000000"), QStringLiteral("物业管理服务%1").arg(i), QStringLiteral("6")});
    return out;
}

class Database {
public:
    Database()
    {
        openFreshDatabase(QStringLiteral("vat"), m_dir);
    }

private:
    QTemporaryDir m_dir;
};

Database& database()
{
    static Database db;
    return db;
}

// What the window does: the settings of 2,000 items saved for one 管理处,
// then applied to 20 others, each action in its transaction.
void saveAndApply(const std::vector<SettingRow>& settings)
{
    const auto saved = saveSettings(office(0), settings);
    if (!saved || *saved != kItems) fail(QStringLiteral("save ") + saved.error().description);
    for (int t = 1; t <= kTargets; ++t) {
        const auto applied = applySettings(office(t), settings);
        if (!applied || *applied != kItems) fail(QStringLiteral("apply ") + applied.error().description);
    }
}

// The same rows as the program batches them: 100 to a statement, by one
// prepared statement (and one for the last, shorter batch), one transaction
// per 管理处 as each action of the window has its own.
void preparedBatches(const std::vector<SettingRow>& settings)
{
    constexpr int kBatch = 100;
    QSqlDatabase db = DbConnection();
    const auto statement = [&](int rows) {
        QString sql = QStringLiteral("INSERT INTO 税控盘收费项目设置 (管理处, DH, 应税科目, SKDH, SKXM, 税率) VALUES ");
        for (int i = 0; i < rows; ++i) sql += i ? QStringLiteral(", (?, ?, ?, ?, ?, ?)") : QStringLiteral("(?, ?, ?, ?, ?, ?)");
        auto q = std::make_unique<QSqlQuery>(db);
        if (!q->prepare(sql)) fail(q->lastError().text());
        return q;
    };
    const auto full = statement(kBatch);
    const int rest = kItems % kBatch;
    const auto last = rest ? statement(rest) : nullptr;
    for (int t = 0; t <= kTargets; ++t) {
        if (!db.transaction()) fail(QStringLiteral("begin"));
        for (int first = 0; first < kItems; first += kBatch) {
            QSqlQuery& q = first + kBatch <= kItems ? *full : *last;
            for (int i = first; i < std::min(kItems, first + kBatch); ++i) {
                const SettingRow& r = settings[size_t(i)];
                q.addBindValue(office(t));
                q.addBindValue(r.item);
                q.addBindValue(r.subjectCode);
                q.addBindValue(r.skdh);
                q.addBindValue(r.skxm);
                q.addBindValue(r.rate);
            }
            if (!q.exec()) fail(q.lastError().text());
        }
        if (!db.commit()) fail(QStringLiteral("commit"));
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    test::installTestEnvironment();
    database();
    const std::vector<SettingRow> settings = rows();
    const Medians m = alternate(
        7, [&] { preparedBatches(settings); }, [&] { saveAndApply(settings); },
        [] { runSql(QStringLiteral("DELETE FROM 税控盘收费项目设置")); });
    printf("%s: save and apply %.1f ms, prepared batches %.1f ms, ratio %.2f\n", onPostgres() ? "PostgreSQL" : "SQLite", m.ms,
           m.rawMs, m.ms / m.rawMs);
    reportCase("invoicing-items-save", qint64(kItems) * (kTargets + 1), m);
    std::_Exit(0);
}
