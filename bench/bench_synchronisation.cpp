// The start-up synchronisation over 200,000 sign-off documents, of which 100
// are finished documents of waiting contracts (each with one attachment the
// approval program added; the decided contracts carry their document's end
// time, and 50,000 of them a file of their own), against the bare forward-only read of its own statement that finds
// them, in alternating rounds (case synchronisation). On SQLite,
// or on PostgreSQL when CORVANE_TEST_PG names a server. Each run of the
// synchronisation starts from the same waiting state.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include "BenchDatabase.h"
#include "approval/SignOffStore.h"
#include "approval/Synchronisation.h"
#include "db/Sql.h"
#include "testsupport/TestEnvironment.h"

using namespace corvane;
using namespace corvane::bench;

namespace {

constexpr int kDocuments = 200000;
constexpr int kWaitingEvery = 200;    // 1,000 waiting contracts
constexpr int kFinishedEvery = 2000;  // 100 of them with a finished document

using bench::fail;

void run(const QString& sql)
{
    QSqlQuery q(DbConnection());
    if (!q.exec(sql)) fail(sql + QLatin1Char('\n') + q.lastError().text());
}

class Database {
public:
    Database()
    {
        openFreshDatabase(QStringLiteral("sync"), m_dir);
        fill();
    }

private:
    QTemporaryDir m_dir;

    void fill()
    {
        const QString waiting = QStringLiteral("i % %1 = 0").arg(kWaitingEvery);
        const QString finished = QStringLiteral("i % %1 = 0").arg(kFinishedEvery);
        const QString contracts = QStringLiteral(
            "INSERT INTO 合同信息 (合同编号, 流水号, 合同名称, 合同类型, 对应部门, 合同状态, 行政审批编号, 提交日期, "
            "流转结束日期, 流转通过) ");
        const QString documents = QStringLiteral(
            "INSERT INTO XZ文件记录 (文头, 编号, 流水号, 文件类型, 文件标题, 对应合同编号, 是否发送, 是否结束, 结束日期, 是否同意) ");
        // Every contract has its document; the decided ones and the 100
        // waiting with a finished document have an end date.
        // A quarter of the contracts, none of them waiting, have a scanned
        // file already: the synchronisation's check for a file the contract
        // has must not read them all.
        const QString contractFiles = QStringLiteral(
            "INSERT INTO 合同信息附件 (合同ID, 名称, 附件, 类别) SELECT ID, '合同扫描件.pdf', %1, '合同' FROM 合同信息 "
            "WHERE 流水号 % 4 = 1");
        const QString ended = QStringLiteral("CASE WHEN %1 AND NOT (%2) THEN NULL ELSE %3 END");
        if (onPostgres()) {
            const QString series = QStringLiteral(" FROM generate_series(1, %1) AS i").arg(kDocuments);
            run(contracts + QStringLiteral("SELECT 'HT-' || lpad(i::text, 8, '0'), i, '第' || i || '号合同', 'T1', 'D01', "
                                           "CASE WHEN %1 THEN '审批中' ELSE '审批通过' END, 'HTHQ-' || lpad(i::text, 8, '0'), "
                                           "TIMESTAMP '2026-01-01 09:00:00', "
                                           "CASE WHEN %1 THEN NULL ELSE TIMESTAMP '2026-02-01 10:00:00' + (i % 5000) * INTERVAL '1 minute' END, "
                                           "CASE WHEN %1 THEN NULL ELSE 1 END")
                                .arg(waiting) +
                series);
            run(documents + QStringLiteral("SELECT 'HTHQ-', 'HTHQ-' || lpad(i::text, 8, '0'), i, '合同会签', '第' || i || '号合同', "
                                           "'HT-' || lpad(i::text, 8, '0'), 1, 1, ") +
                ended.arg(waiting, finished, QStringLiteral("TIMESTAMP '2026-02-01 10:00:00' + (i % 5000) * INTERVAL '1 minute'")) +
                QStringLiteral(", CASE WHEN i % 3 = 0 THEN 0 ELSE 1 END") + series);
            run(QStringLiteral("INSERT INTO XZ文件附件 (行政文件ID, 附件标题, 扩展名, 附件内容, 模板附件) "
                               "SELECT UniqueID, '批示', 'pdf', decode(repeat('25', 4096), 'hex'), 0 FROM XZ文件记录 "
                               "WHERE 流水号 % %1 = 0").arg(kFinishedEvery));
            run(contractFiles.arg(QStringLiteral("decode(repeat('25', 512), 'hex')")));
            run(QStringLiteral("ANALYZE"));
        } else {
            const QString series =
                QStringLiteral(" FROM n");
            const QString with = QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) ")
                                     .arg(kDocuments);
            run(contracts + with + QStringLiteral("SELECT printf('HT-%08d', i), i, '第' || i || '号合同', 'T1', 'D01', "
                                                  "CASE WHEN %1 THEN '审批中' ELSE '审批通过' END, printf('HTHQ-%08d', i), "
                                                  "'2026-01-01 09:00:00', CASE WHEN %1 THEN NULL ELSE "
                                                  "datetime('2026-02-01 10:00:00', '+' || (i % 5000) || ' minutes') END, "
                                                  "CASE WHEN %1 THEN NULL ELSE 1 END")
                                       .arg(waiting) +
                series);
            run(documents + with + QStringLiteral("SELECT 'HTHQ-', printf('HTHQ-%08d', i), i, '合同会签', '第' || i || '号合同', "
                                                  "printf('HT-%08d', i), 1, 1, ") +
                ended.arg(waiting, finished, QStringLiteral("datetime('2026-02-01 10:00:00', '+' || (i % 5000) || ' minutes')")) +
                QStringLiteral(", CASE WHEN i % 3 = 0 THEN 0 ELSE 1 END") + series);
            run(QStringLiteral("INSERT INTO XZ文件附件 (行政文件ID, 附件标题, 扩展名, 附件内容, 模板附件) "
                               "SELECT UniqueID, '批示', 'pdf', randomblob(4096), 0 FROM XZ文件记录 WHERE 流水号 % %1 = 0")
                    .arg(kFinishedEvery));
            run(contractFiles.arg(QStringLiteral("randomblob(512)")));
            run(QStringLiteral("ANALYZE"));
        }
        run(QStringLiteral("INSERT INTO SystemSetup (Code, Value) VALUES ('合同同步', '0')"));
    }
};

Database* g_db = nullptr;

void prepare()
{
    if (!g_db) g_db = new Database;
}

const QString kOfWaiting = QStringLiteral(" IN (SELECT ID FROM 合同信息 WHERE 流水号 % %1 = 0)").arg(kWaitingEvery);

// The 100 contracts waiting again, without the attachments they received.
void rewind()
{
    run(QStringLiteral("UPDATE 合同信息 SET 流转结束日期 = NULL, 流转通过 = NULL, 合同状态 = '审批中' WHERE 流水号 % %1 = 0")
            .arg(kWaitingEvery));
    run(QStringLiteral("DELETE FROM 合同信息附件 WHERE 合同ID") + kOfWaiting);
}

// The synchronisation's own read, read bare.
qint64 rawJoin() { return bench::readBare(approval::finishedDocumentsSql(DbDialect()), {}, 5); }

void synchronisation()
{
    prepare();
    rewind();
    if (rawJoin() != kDocuments / kFinishedEvery) fail(QStringLiteral("the join lost rows"));
    const Medians m = alternate(
        9, [] { rawJoin(); },
        [] {
            const DbError e = approval::行政合同审批同步().error;
            if (e.isValid()) fail(e.description);
        },
        [] { rewind(); });
    const auto decided = selectFirstQuiet(QStringLiteral("SELECT COUNT(*) FROM 合同信息 WHERE 流水号 % %1 = 0 AND 流转结束日期 IS NOT NULL")
                                              .arg(kWaitingEvery));
    const auto attached = selectFirstQuiet(QStringLiteral("SELECT COUNT(*) FROM 合同信息附件 WHERE 合同ID") + kOfWaiting);
    if (!decided || !attached || decided->value(0).toInt() != 100 || attached->value(0).toInt() != 100)
        fail(QStringLiteral("the synchronisation did not carry the 100 documents back"));
    printf("synchronisation: %.1f ms, raw join %.1f ms, ratio %.2f\n", m.ms, m.rawMs, m.ms / m.rawMs);
    reportCase("synchronisation", kDocuments / kFinishedEvery, m);
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    test::installTestEnvironment();
    printf("engine: %s\n", onPostgres() ? "PostgreSQL" : "SQLite");
    synchronisation();
    CloseConnection();
    delete g_db;
    return 0;
}
