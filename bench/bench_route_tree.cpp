// The route editor's department tree over 20,000 departments in chains six
// deep, filled as the window fills it at load (into an empty tree), against
// the bare forward-only read of the same links, in alternating rounds
// (case route-tree); on SQLite or, when CORVANE_TEST_PG names a
// server ("host:port"), on PostgreSQL. Codes sort
// from the bottom of each chain up, so every chain is placed from its lowest
// department and climbs to its root first.

#include <benchmark/benchmark.h>

#include "BenchDatabase.h"

#include <QApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include "approval/ApprovalStore.h"
#include "approval/frm合同流转路径修改.h"
#include "db/Provision.h"
#include "db/Schema.h"
#include "db/Sql.h"
#include "testsupport/TestEnvironment.h"

using namespace corvane;

namespace {

constexpr int kDepartments = 20000;
constexpr int kDepth = 6;

using bench::fail;

QString codeOf(int chain, int level) { return QStringLiteral("D%1-%2").arg(kDepth - 1 - level).arg(chain, 5, 10, QLatin1Char('0')); }

class Database : public bench::EmptyDatabase {
public:
    Database() : bench::EmptyDatabase(QStringLiteral("route"))
    {
        Transaction tx;
        QSqlQuery dept(DbConnection()), link(DbConnection());
        dept.prepare(QStringLiteral("INSERT INTO 职能部门new (职能部门编号, 职能部门名称, 发票领用) VALUES (?, ?, 1)"));
        link.prepare(QStringLiteral("INSERT INTO 上级部门new (职能部门编号, 上级部门编号, 起始日期) VALUES (?, ?, '2020-01-01')"));
        for (int i = 0; i < kDepartments; ++i) {
            const int chain = i / kDepth, level = i % kDepth;
            dept.addBindValue(codeOf(chain, level));
            dept.addBindValue(QStringLiteral("第%1片区第%2级").arg(chain).arg(level));
            if (!dept.exec()) fail(dept.lastError().text());
            if (level == 0) continue;
            link.addBindValue(codeOf(chain, level));
            link.addBindValue(codeOf(chain, level - 1));
            if (!link.exec()) fail(link.lastError().text());
        }
        if (!tx.commit()) fail(tx.error().description);
    }
};

Database* g_db = nullptr;

void prepare()
{
    if (!g_db) g_db = new Database;
}

qint64 rawLinks()
{
    qint64 rows = 0;
    const DbError e = approval::readDepartmentLinks([&](const Statement& st) {
        for (int c = 0; c < 4; ++c) benchmark::DoNotOptimize(st.value(c));
        ++rows;
    });
    if (e.isValid()) fail(e.description);
    return rows;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("Noto Sans CJK SC")));
    test::installTestEnvironment();
    prepare();
    auto* f = Forms::get<frm合同流转路径修改>();
    // The window fills its tree once, at load, when it is empty: the tree of
    // the round before is cleared untimed.
    const bench::Medians m =
        bench::alternate(9, [] { rawLinks(); }, [f] { f->DataToTreeView(); }, [f] { f->TreeView1->clear(); });
    int nodes = 0;
    for (QTreeWidgetItemIterator it(f->TreeView1); *it; ++it) ++nodes;
    if (nodes != kDepartments) fail(QStringLiteral("the tree holds %1 nodes").arg(nodes));
    printf("route tree: %.1f ms, raw %.1f ms, ratio %.2f\n", m.ms, m.rawMs, m.ms / m.rawMs);
    bench::reportCase("route-tree", nodes, m);
    FormRegistry::instance().unloadAll();
    CloseConnection();
    delete g_db;
    return 0;
}
