#include "plans/PlanStore.h"

#include "db/Dialect.h"
#include "platform/Amounts.h"

namespace corvane::plans {

namespace {

const QString kNodes = QStringLiteral("合同履行计划表");

QVariant amountOrNull(const std::optional<qint64>& cents)
{
    return cents ? QVariant(centsText(*cents)) : nullText();
}
QVariant dateOrNull(const std::optional<QDate>& date) { return dateValue(date.value_or(QDate())); }
std::optional<QDate> optionalDate(const QVariant& v)
{
    const QDate d = toDate(v);
    return d.isValid() ? std::optional<QDate>(d) : std::nullopt;
}

// The instalments that money refers to: every receipt, and every payment
// not void.
QString heldByMoney(PlanKind kind, const QString& table)
{
    if (kind == PlanKind::Receipt)
        return QStringLiteral("EXISTS (SELECT 1 FROM 合同收款记录 r WHERE r.合同收款计划ID = ") + table +
               QStringLiteral(".ID)");
    return QStringLiteral("EXISTS (SELECT 1 FROM 合同付款记录 r WHERE r.合同付款计划ID = ") + table +
           QStringLiteral(".ID AND (r.作废 IS NULL OR r.作废 = 0))");
}

// Whether the row of that ID is still there; no value when the read failed.
std::optional<bool> rowExists(const QSqlDatabase& db, const QString& table, qint64 id, DbError& error)
{
    Statement probe(db, QStringLiteral("SELECT 1 FROM ") + table + QStringLiteral(" WHERE ID = ?"), {id});
    if (!probe.exec()) {
        error = probe.error();
        return std::nullopt;
    }
    const bool exists = probe.next();
    if (probe.error().isValid()) {
        error = probe.error();
        return std::nullopt;
    }
    return exists;
}

bool unchanged(const InstalmentToSave& r, const StoredInstalment& loaded)
{
    return r.date == loaded.date && r.amount == loaded.amount && r.balance == loaded.balance &&
           r.condition == loaded.condition;
}

}  // namespace

PlanTable planTable(PlanKind kind)
{
    if (kind == PlanKind::Receipt)
        return {QStringLiteral("合同收款计划表"), QStringLiteral("收款日期"), QStringLiteral("收款金额"),
                QStringLiteral("余额"), QStringLiteral("收款条件")};
    return {QStringLiteral("合同付款计划表"), QStringLiteral("付款日期"), QStringLiteral("付款金额"),
            QStringLiteral("余额"), QStringLiteral("付款条件")};
}

DbResult<std::vector<StoredInstalment>> instalmentsOf(PlanKind kind, const QString& number)
{
    const PlanTable t = planTable(kind);
    Statement st(QStringLiteral("SELECT ID, 合同编号, ") + t.date + QStringLiteral(", ") + t.amount +
                     QStringLiteral(", ") + t.balance + QStringLiteral(", ") + t.condition + QStringLiteral(" FROM ") +
                     t.table + QStringLiteral(" WHERE 合同编号 = ? ORDER BY CASE WHEN ") + t.date +
                     QStringLiteral(" IS NULL THEN 0 ELSE 1 END, ") + t.date + QStringLiteral(", ID"),
                 {number});
    if (!st.exec()) return st.error();
    std::vector<StoredInstalment> out;
    while (st.next()) {
        StoredInstalment s;
        s.id = st.value(0).toLongLong();
        s.number = st.value(1).toString();
        s.date = optionalDate(st.value(2));
        s.amount = centsOf(st.value(3));
        s.balance = centsOf(st.value(4));
        s.condition = st.value(5).toString();
        out.push_back(std::move(s));
    }
    if (st.error().isValid()) return st.error();
    return out;
}

PlanSaveOutcome savePlan(PlanKind kind, const QString& number, const std::vector<InstalmentToSave>& rows)
{
    PlanSaveOutcome out;
    const PlanTable t = planTable(kind);
    const QSqlDatabase db = DbConnection();
    Transaction tx(db);
    if (!tx.isActive()) {
        out.error = tx.error();
        return out;
    }
    const QString update = QStringLiteral("UPDATE ") + t.table + QStringLiteral(" SET ") + t.date +
                           QStringLiteral(" = ?, ") + t.amount + QStringLiteral(" = ?, ") + t.balance +
                           QStringLiteral(" = ?, ") + t.condition + QStringLiteral(" = ? WHERE ID = ?");
    const QString insert = dialect::insertReturningId(
        dialectOf(db), t.table, {QStringLiteral("合同编号"), t.date, t.amount, t.balance, t.condition}, QStringLiteral("ID"));
    out.ids.reserve(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        const InstalmentToSave& r = rows[i];
        const QVariantList values{dateOrNull(r.date), amountOrNull(r.amount), amountOrNull(r.balance),
                                  textOrNull(r.condition)};
        if (r.id) {
            out.ids.push_back(*r.id);
            if (r.loaded && unchanged(r, *r.loaded)) {
                // Not written, whatever another workstation wrote into it
                // since; but a row deleted meanwhile stops the save.
                const auto exists = rowExists(db, t.table, *r.id, out.error);
                if (!exists) return out;
                if (*exists) continue;
                out.kind = PlanSaveOutcome::RowGone;
                out.goneRow = int(i);
                out.ids.clear();
                return out;
            }
            QString sql = update;
            QVariantList bound = values + QVariantList{*r.id};
            if (r.loaded) {
                appendAsLoaded(sql, bound, t.date, dateOrNull(r.loaded->date));
                appendAsLoaded(sql, bound, t.amount, amountOrNull(r.loaded->amount));
                appendAsLoaded(sql, bound, t.balance, amountOrNull(r.loaded->balance));
            }
            Statement st(db, sql, bound);
            if (!st.exec()) {
                out.error = st.error();
                return out;
            }
            if (st.rowsAffected() < 1) {
                const auto exists = rowExists(db, t.table, *r.id, out.error);
                if (!exists) return out;
                out.kind = *exists ? PlanSaveOutcome::RowChanged : PlanSaveOutcome::RowGone;
                out.goneRow = int(i);
                out.ids.clear();
                return out;
            }
        } else {
            Statement st(db, insert, QVariantList{number} + values);
            const auto id = st.exec() ? checkedInsertId(st, t.table) : DbResult<qint64>(st.error());
            if (!id) {
                out.error = id.error();
                return out;
            }
            out.ids.push_back(*id);
        }
    }
    if (!tx.commit()) {
        out.error = tx.error();
        out.ids.clear();
        return out;
    }
    out.kind = PlanSaveOutcome::Saved;
    return out;
}

DeleteOutcome deleteInstalment(PlanKind kind, qint64 id)
{
    DeleteOutcome out;
    const PlanTable t = planTable(kind);
    Transaction tx(Transaction::Write);
    if (!tx.isActive()) {
        out.error = tx.error();
        return out;
    }
    Statement del(QStringLiteral("DELETE FROM ") + t.table + QStringLiteral(" WHERE ID = ? AND NOT ") +
                      heldByMoney(kind, t.table),
                  {id});
    if (!del.exec()) {
        out.error = del.error();
        return out;
    }
    if (del.rowsAffected() > 0) {
        out.kind = DeleteOutcome::Deleted;
    } else {
        const auto exists = rowExists(DbConnection(), t.table, id, out.error);
        if (!exists) return out;
        out.kind = *exists ? DeleteOutcome::HasRecords : DeleteOutcome::Gone;
    }
    if (!tx.commit()) {
        out.kind = DeleteOutcome::Failed;
        out.error = tx.error();
    }
    return out;
}

ClearOutcome clearPlan(PlanKind kind, const QString& number)
{
    ClearOutcome out;
    const PlanTable t = planTable(kind);
    Transaction tx(Transaction::Write);
    if (!tx.isActive()) {
        out.error = tx.error();
        return out;
    }
    Statement del(QStringLiteral("DELETE FROM ") + t.table + QStringLiteral(" WHERE 合同编号 = ? AND NOT ") +
                      heldByMoney(kind, t.table),
                  {number});
    if (!del.exec()) {
        out.error = del.error();
        return out;
    }
    Statement left(QStringLiteral("SELECT COUNT(*) FROM ") + t.table + QStringLiteral(" WHERE 合同编号 = ?"), {number});
    if (!left.exec() || !left.next()) {
        out.error = left.error();
        if (!out.error.isValid()) out.error.description = QStringLiteral("语句执行失败");
        return out;
    }
    out.kept = left.value(0).toInt();
    if (!tx.commit()) {
        out.error = tx.error();
        return out;
    }
    out.ok = true;
    return out;
}

// ---- Performance nodes

DbResult<std::vector<Node>> nodesOf(const QString& number)
{
    Statement st(QStringLiteral("SELECT ID, 阶段, 要求, 时间节点, 完成情况, 检查人, 检查日期 FROM ") + kNodes +
                     QStringLiteral(" WHERE 合同编号 = ? ORDER BY CASE WHEN 时间节点 IS NULL THEN 0 ELSE 1 END, "
                                    "时间节点, ID"),
                 {number});
    if (!st.exec()) return st.error();
    std::vector<Node> out;
    while (st.next()) {
        Node n;
        n.id = st.value(0).toLongLong();
        n.阶段 = st.value(1).toString();
        n.要求 = st.value(2).toString();
        n.时间节点 = optionalDate(st.value(3));
        n.完成情况 = st.value(4).toString();
        n.检查人 = st.value(5).toString();
        n.检查日期 = optionalDate(st.value(6));
        out.push_back(std::move(n));
    }
    if (st.error().isValid()) return st.error();
    return out;
}

NodeWrite addNode(const QString& number, const QString& 阶段, const QString& 要求, const QDate& 时间节点)
{
    NodeWrite out;
    const QSqlDatabase db = DbConnection();
    Statement st(db,
                 dialect::insertReturningId(dialectOf(db), kNodes,
                                            {QStringLiteral("合同编号"), QStringLiteral("阶段"), QStringLiteral("要求"),
                                             QStringLiteral("时间节点")},
                                            QStringLiteral("ID")),
                 {number, 阶段, textOrNull(要求), dateValue(时间节点)});
    const auto id = st.exec() ? checkedInsertId(st, kNodes) : DbResult<qint64>(st.error());
    if (!id) {
        out.error = id.error();
        return out;
    }
    out.kind = NodeWrite::Done;
    out.stored.id = *id;
    out.stored.阶段 = 阶段;
    out.stored.要求 = 要求;
    out.stored.时间节点 = 时间节点;
    return out;
}

namespace {

// Runs a node update conditional on what was loaded; Gone or Changed when it
// wrote nothing.
NodeWrite::Kind runNodeUpdate(Statement& st, qint64 id, DbError& error)
{
    if (!st.exec()) {
        error = st.error();
        return NodeWrite::Failed;
    }
    if (st.rowsAffected() > 0) return NodeWrite::Done;
    const auto exists = rowExists(DbConnection(), kNodes, id, error);
    if (!exists) return NodeWrite::Failed;
    return *exists ? NodeWrite::Changed : NodeWrite::Gone;
}

}  // namespace

NodeWrite changeNode(const Node& loaded, const QString& 阶段, const QString& 要求, const QDate& 时间节点)
{
    NodeWrite out;
    const qint64 id = loaded.id;
    QString sql = QStringLiteral("UPDATE ") + kNodes + QStringLiteral(" SET 阶段 = ?, 要求 = ?, 时间节点 = ? WHERE ID = ?");
    QVariantList values{阶段, textOrNull(要求), dateValue(时间节点), id};
    appendAsLoaded(sql, values, QStringLiteral("阶段"), loaded.阶段);
    appendAsLoaded(sql, values, QStringLiteral("要求"), loaded.要求);
    appendAsLoaded(sql, values, QStringLiteral("时间节点"), dateOrNull(loaded.时间节点));
    Statement st(sql, values);
    out.kind = runNodeUpdate(st, id, out.error);
    out.stored.id = id;
    out.stored.阶段 = 阶段;
    out.stored.要求 = 要求;
    out.stored.时间节点 = 时间节点;
    return out;
}

NodeWrite recordCheck(const Node& loaded, const QString& 完成情况, const QString& 检查人, const QDate& 检查日期)
{
    NodeWrite out;
    const qint64 id = loaded.id;
    QString sql =
        QStringLiteral("UPDATE ") + kNodes + QStringLiteral(" SET 完成情况 = ?, 检查人 = ?, 检查日期 = ? WHERE ID = ?");
    QVariantList values{完成情况, 检查人, dateValue(检查日期), id};
    appendAsLoaded(sql, values, QStringLiteral("完成情况"), loaded.完成情况);
    appendAsLoaded(sql, values, QStringLiteral("检查人"), loaded.检查人);
    appendAsLoaded(sql, values, QStringLiteral("检查日期"), dateOrNull(loaded.检查日期));
    Statement st(sql, values);
    out.kind = runNodeUpdate(st, id, out.error);
    out.stored.id = id;
    out.stored.完成情况 = 完成情况;
    out.stored.检查人 = 检查人;
    out.stored.检查日期 = 检查日期;
    return out;
}

DeleteOutcome deleteNode(qint64 id)
{
    DeleteOutcome out;
    Statement st(QStringLiteral("DELETE FROM ") + kNodes + QStringLiteral(" WHERE ID = ?"), {id});
    if (!st.exec()) {
        out.error = st.error();
        return out;
    }
    out.kind = st.rowsAffected() > 0 ? DeleteOutcome::Deleted : DeleteOutcome::Gone;
    return out;
}

std::vector<std::pair<QString, QString>> columnsNamedByStore()
{
    std::vector<std::pair<QString, QString>> out;
    for (const PlanKind k : {PlanKind::Receipt, PlanKind::Payment}) {
        const PlanTable t = planTable(k);
        for (const QString& c : {QStringLiteral("ID"), QStringLiteral("合同编号"), t.date, t.amount, t.balance, t.condition})
            out.emplace_back(t.table, c);
    }
    out.emplace_back(QStringLiteral("合同收款记录"), QStringLiteral("合同收款计划ID"));
    out.emplace_back(QStringLiteral("合同付款记录"), QStringLiteral("合同付款计划ID"));
    out.emplace_back(QStringLiteral("合同付款记录"), QStringLiteral("作废"));
    for (const char* c : {"ID", "合同编号", "阶段", "要求", "时间节点", "完成情况", "检查人", "检查日期"})
        out.emplace_back(kNodes, QString::fromUtf8(c));
    return out;
}

}  // namespace corvane::plans
