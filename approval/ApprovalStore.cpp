#include "approval/ApprovalStore.h"

#include "db/Dialect.h"

namespace corvane::approval {

namespace {


QString dateTimeText(const QVariant& v)
{
    if (v.isNull()) return QString();
    const QDateTime dt = toDateTime(v);
    if (!dt.isValid()) return v.toString();
    return dt.time() == QTime(0, 0) ? dt.date().toString(QStringLiteral("yyyy-MM-dd"))
                                    : dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

// The contract still without a submission, by id when known.
QString keyCondition(const ContractKey& c, QVariantList& values)
{
    if (c.id) {
        values << *c.id;
        return QStringLiteral(" WHERE id = ? AND 提交日期 IS NULL");
    }
    values << c.number;
    return QStringLiteral(" WHERE 合同编号 = ? AND 提交日期 IS NULL");
}

}  // namespace

DbResult<std::optional<TypeSettings>> typeSettings(const QString& typeCode)
{
    const auto r = selectFirstQuiet(QStringLiteral("SELECT 单级流转, 部门主管审批 FROM 合同类型 WHERE 合同类型编号 = ?"),
                                    {typeCode});
    if (!r) return r.error();
    if (r->count() == 0) return std::optional<TypeSettings>();
    return std::optional<TypeSettings>(TypeSettings{r->flag(QStringLiteral("单级流转")),
                                                    r->flag(QStringLiteral("部门主管审批"))});
}

DbResult<std::optional<HeadPost>> headPostOf(const QString& departmentCode)
{
    const auto r = selectFirstQuiet(
        QStringLiteral("SELECT 岗位信息new.岗位代号, 岗位信息new.岗位名称, 员工档案.姓名 FROM 岗位信息new"
                       " LEFT JOIN 员工档案 ON 岗位信息new.工号 = 员工档案.工号"
                       " WHERE 岗位信息new.职能部门代号 = ? AND 岗位信息new.部门主管 = 1 AND 岗位信息new.终止日期 IS NULL"
                       " ORDER BY 岗位信息new.岗位代号"),
        {departmentCode});
    if (!r) return r.error();
    if (r->count() == 0) return std::optional<HeadPost>();
    return std::optional<HeadPost>(HeadPost{r->text(0), r->text(1), r->text(2)});
}

DbResult<std::vector<TemplateStep>> templateSteps(const QString& typeCode)
{
    const auto rows = selectRowsQuiet(QStringLiteral("SELECT 部门编号, 岗位编号, 决策权, 环节序号 FROM 合同类型流转路径设置"
                                                     " WHERE 合同类型编号 = ? ORDER BY 环节序号, ID"),
                                      {typeCode});
    if (!rows) return rows.error();
    std::vector<TemplateStep> out;
    for (const Row& r : *rows)
        out.push_back({r.text(0), r.text(1), r.flag(QStringLiteral("决策权")), r.value(3).toInt()});
    return out;
}

DbResult<std::vector<ProposedStep>> proposedSteps(const QString& typeCode)
{
    const auto rows = selectRowsQuiet(
        QStringLiteral("SELECT P.部门编号, D.职能部门名称, P.岗位编号, G.岗位名称, E.姓名, P.决策权"
                       " FROM 合同类型流转路径设置 P"
                       " INNER JOIN 合同类型 T ON P.合同类型编号 = T.合同类型编号"
                       " INNER JOIN 岗位信息new G ON P.岗位编号 = G.岗位代号"
                       " INNER JOIN 职能部门new D ON P.部门编号 = D.职能部门编号"
                       " LEFT JOIN 员工档案 E ON G.工号 = E.工号"
                       " WHERE T.合同类型编号 = ? ORDER BY P.环节序号, P.ID"),
        {typeCode});
    if (!rows) return rows.error();
    std::vector<ProposedStep> out;
    for (const Row& r : *rows)
        out.push_back({r.text(0), r.text(1), r.text(2), r.text(3), r.text(4), r.flag(QStringLiteral("决策权"))});
    return out;
}

DbResult<std::optional<QString>> setupValue(const QString& code)
{
    const auto r = selectFirstQuiet(QStringLiteral("SELECT Value FROM SystemSetup WHERE Code = ?"), {code});
    if (!r) return r.error();
    if (r->count() == 0) return std::optional<QString>();
    return std::optional<QString>(r->text(0));
}

DbResult<std::vector<PostEntry>> postsOf(const QString& departmentCode, bool activeOnly)
{
    const QString sql = activeOnly
                            ? QStringLiteral("SELECT DISTINCT A.岗位代号, A.岗位名称, NULL FROM 岗位信息new A"
                                             " INNER JOIN 职能部门new B ON A.职能部门代号 = B.职能部门编号"
                                             " WHERE B.职能部门编号 = ? AND A.终止日期 IS NULL ORDER BY A.岗位代号")
                            : QStringLiteral("SELECT 岗位信息new.岗位代号, 岗位信息new.岗位名称, 员工档案.姓名 FROM 岗位信息new"
                                             " LEFT JOIN 员工档案 ON 岗位信息new.工号 = 员工档案.工号"
                                             " WHERE 岗位信息new.职能部门代号 = ? ORDER BY 岗位信息new.岗位代号");
    const auto rows = selectRowsQuiet(sql, {departmentCode});
    if (!rows) return rows.error();
    std::vector<PostEntry> out;
    for (const Row& r : *rows) out.push_back({r.text(0), r.text(1), r.text(2)});
    return out;
}

// ---- Submission

WriteOutcome approveDirectly(const QSqlDatabase& db, const ContractKey& contract, const QDate& today)
{
    Transaction tx(db);
    if (!tx.isActive()) return WriteOutcome::failure(tx.error());
    QVariantList values{dateValue(dialectOf(db), today), contract::审批通过, dateValue(dialectOf(db), today)};
    const QString sql = QStringLiteral("UPDATE 合同信息 SET 提交日期 = ?, 合同状态 = ?, 流转结束日期 = ?, 流转通过 = 1") +
                        keyCondition(contract, values);
    Statement claim(db, sql, values);
    if (!claim.exec()) return WriteOutcome::failure(claim.error());
    if (claim.rowsAffected() < 1) return WriteOutcome::of(WriteOutcome::NoRow);
    if (!tx.commit()) return WriteOutcome::failure(tx.error());
    return WriteOutcome::of(WriteOutcome::Done);
}

WriteOutcome approveDirectly(const ContractKey& contract, const QDate& today)
{
    return approveDirectly(DbConnection(), contract, today);
}

WriteOutcome submitCountersign(const QSqlDatabase& db, const CountersignSubmission& s)
{
    const Dialect d = dialectOf(db);
    Transaction tx(db, Transaction::Write);
    if (!tx.isActive()) return WriteOutcome::failure(tx.error());
    // The claim comes first: a second workstation submitting the same
    // contract finds it taken and stores nothing.
    QVariantList values{dateTimeValue(d, s.now), QStringLiteral("审批中")};
    Statement claim(db, QStringLiteral("UPDATE 合同信息 SET 提交日期 = ?, 合同状态 = ?") + keyCondition(s.contract, values),
                    values);
    if (!claim.exec()) return WriteOutcome::failure(claim.error());
    if (claim.rowsAffected() < 1) return WriteOutcome::of(WriteOutcome::NoRow);

    for (const CountersignStep& step : s.steps) {
        Statement route(db,
                        QStringLiteral("INSERT INTO 合同实际流转路径设置 (合同编号, 部门编号, 岗位编号, 决策权, 环节序号, 单级流转)"
                                       " VALUES (?, ?, ?, ?, ?, ?)"),
                        {s.contract.number, step.部门编号, step.岗位编号, step.决策权, s.parallel ? 0 : step.环节序号,
                         s.parallel ? 1 : 0});
        if (!route.exec()) return WriteOutcome::failure(route.error());
    }
    // Every step receives a parallel route at once; a sequential one goes to
    // its first step only.
    const size_t due = s.parallel ? s.steps.size() : std::min<size_t>(1, s.steps.size());
    for (size_t i = 0; i < due; ++i) {
        const CountersignStep& step = s.steps[i];
        Statement circulation(db,
                              QStringLiteral("INSERT INTO 合同流转信息表 (合同编号, 环节序号, 部门编号, 岗位编号, 决策权)"
                                             " VALUES (?, ?, ?, ?, ?)"),
                              {s.contract.number, s.parallel ? 0 : 1, step.部门编号, step.岗位编号, step.决策权});
        if (!circulation.exec()) return WriteOutcome::failure(circulation.error());
    }
    if (!tx.commit()) return WriteOutcome::failure(tx.error());
    return WriteOutcome::of(WriteOutcome::Done);
}

WriteOutcome submitCountersign(const CountersignSubmission& s) { return submitCountersign(DbConnection(), s); }

// ---- Progress lists

DbResult<std::vector<Delivery>> deliveriesOf(const QString& documentNumber)
{
    const auto rows = selectRowsQuiet(
        QStringLiteral("SELECT D.职能部门名称, G.岗位名称, R.姓名, H.姓名, X.回复日期, X.回复内容, X.是否同意, X.附加顺序, X.公开"
                       " FROM XZ文件流转情况 X"
                       " INNER JOIN 职能部门new D ON X.部门 = D.职能部门编号"
                       " LEFT OUTER JOIN 员工档案 R ON X.查阅人 = R.工号"
                       " INNER JOIN 岗位信息new G ON X.岗位 = G.岗位代号"
                       " LEFT OUTER JOIN 员工档案 H ON G.工号 = H.工号"
                       " WHERE X.文件ID IN (SELECT UniqueID FROM XZ文件记录 WHERE 编号 = ?)"
                       " ORDER BY X.顺序, X.附加顺序 DESC, X.UniqueID"),
        {documentNumber});
    if (!rows) return rows.error();
    std::vector<Delivery> out;
    for (const Row& r : *rows) {
        Delivery d;
        d.部门名称 = r.text(0);
        d.岗位名称 = r.text(1);
        d.查阅人姓名 = r.text(2);
        d.持有人姓名 = r.text(3);
        d.回复日期 = dateTimeText(r.value(4));
        d.回复内容 = r.text(5);
        d.同意 = !r.value(6).isNull() && r.value(6).toInt() != 0;
        d.hasAppendedOrder = !r.value(7).isNull();
        d.公开 = !r.value(8).isNull() && r.value(8).toInt() != 0;
        out.push_back(d);
    }
    return out;
}

DbResult<std::vector<CountersignRecord>> countersignRecordsOf(const QString& contractNumber)
{
    const auto rows = selectRowsQuiet(
        QStringLiteral("SELECT D.职能部门名称, G.岗位名称, C.审批人, E.姓名, C.日期, C.意见, C.同意 FROM 合同流转信息表 C"
                       " INNER JOIN 职能部门new D ON C.部门编号 = D.职能部门编号"
                       " INNER JOIN 岗位信息new G ON C.岗位编号 = G.岗位代号"
                       " LEFT JOIN 员工档案 E ON G.工号 = E.工号"
                       " WHERE C.合同编号 = ? ORDER BY C.环节序号, C.ID"),
        {contractNumber});
    if (!rows) return rows.error();
    std::vector<CountersignRecord> out;
    for (const Row& r : *rows) {
        CountersignRecord c{r.text(0), r.text(1), r.text(2), r.text(3), dateTimeText(r.value(4)), r.text(5), {}};
        if (!r.value(6).isNull()) c.同意 = r.value(6).toInt() != 0;
        out.push_back(c);
    }
    return out;
}

// ---- Route editor

namespace {
const QString kLinks = QStringLiteral(
    "SELECT D.职能部门编号, D.职能部门名称, L.上级部门编号, D.发票领用 FROM 职能部门new D"
    " LEFT JOIN 上级部门new L ON D.职能部门编号 = L.职能部门编号"
    " WHERE L.终止日期 IS NULL AND D.终止日期 IS NULL");
const QString kLinksOrder = QStringLiteral(" ORDER BY D.职能部门编号, COALESCE(L.上级部门编号, '')");
}  // namespace

DbError readDepartmentLinks(const std::function<void(const Statement&)>& row)
{
    Statement st(kLinks + kLinksOrder);
    if (!st.exec()) return st.error();
    while (st.next()) row(st);
    return st.error();
}

DbResult<std::vector<DepartmentLink>> departmentLinksOf(const QString& code)
{
    const auto rows = selectRowsQuiet(kLinks + QStringLiteral(" AND D.职能部门编号 = ?") + kLinksOrder, {code});
    if (!rows) return rows.error();
    std::vector<DepartmentLink> out;
    for (const Row& r : *rows) out.push_back({r.text(0), r.text(1), r.text(2), r.flag(QStringLiteral("发票领用"))});
    return out;
}

DbResult<std::vector<RouteRow>> routeOf(const QString& contractNumber)
{
    const auto rows = selectRowsQuiet(
        QStringLiteral("SELECT P.ID, P.部门编号, D.职能部门名称, P.岗位编号, G.岗位名称, P.决策权, P.环节序号, P.单级流转"
                       " FROM 合同实际流转路径设置 P"
                       " INNER JOIN 职能部门new D ON P.部门编号 = D.职能部门编号"
                       " INNER JOIN 岗位信息new G ON P.岗位编号 = G.岗位代号"
                       " WHERE P.合同编号 = ? ORDER BY P.环节序号, P.ID"),
        {contractNumber});
    if (!rows) return rows.error();
    std::vector<RouteRow> out;
    for (const Row& r : *rows)
        out.push_back({r.value(0).toLongLong(), r.text(1), r.text(2), r.text(3), r.text(4),
                       r.flag(QStringLiteral("决策权")), r.value(6).toInt(), r.flag(QStringLiteral("单级流转"))});
    return out;
}

DbResult<std::optional<bool>> routeKind(const QString& contractNumber)
{
    const auto r = selectFirstQuiet(
        QStringLiteral("SELECT 单级流转 FROM 合同实际流转路径设置 WHERE 合同编号 = ? ORDER BY ID"), {contractNumber});
    if (!r) return r.error();
    if (r->count() == 0) return std::optional<bool>();
    return std::optional<bool>(!r->value(0).isNull() && r->value(0).toInt() != 0);
}

AddedStep addRouteStep(const QString& contractNumber, const QString& department, const QString& post, bool decides,
                       bool parallel)
{
    AddedStep out;
    Transaction tx(Transaction::Write);
    if (!tx.isActive()) {
        out.outcome = WriteOutcome::failure(tx.error());
        return out;
    }
    if (!parallel) {
        // After the last stored step, whatever the list shows.
        Statement last(QStringLiteral("SELECT MAX(环节序号) FROM 合同实际流转路径设置 WHERE 合同编号 = ?"), {contractNumber});
        if (!last.exec()) {
            out.outcome = WriteOutcome::failure(last.error());
            return out;
        }
        out.环节序号 = (last.next() && !last.value(0).isNull() ? last.value(0).toInt() : 0) + 1;
        if (last.error().isValid()) {
            out.outcome = WriteOutcome::failure(last.error());
            return out;
        }
    }
    Statement insert(dialect::insertReturningId(QStringLiteral("合同实际流转路径设置"),
                                                {QStringLiteral("合同编号"), QStringLiteral("部门编号"),
                                                 QStringLiteral("岗位编号"), QStringLiteral("决策权"),
                                                 QStringLiteral("环节序号"), QStringLiteral("单级流转")},
                                                QStringLiteral("ID")),
                     {contractNumber, department, post, decides ? 1 : 0, out.环节序号, parallel ? 1 : 0});
    if (!insert.exec()) {
        out.outcome = WriteOutcome::failure(insert.error());
        return out;
    }
    const auto id = checkedInsertId(insert, QStringLiteral("合同实际流转路径设置"));
    if (!id) {
        out.outcome = WriteOutcome::failure(id.error());
        return out;
    }
    out.id = *id;
    if (parallel) {
        Statement circulation(QStringLiteral("INSERT INTO 合同流转信息表 (合同编号, 环节序号, 部门编号, 岗位编号, 决策权)"
                                             " VALUES (?, 0, ?, ?, ?)"),
                              {contractNumber, department, post, decides ? 1 : 0});
        if (!circulation.exec()) {
            out.outcome = WriteOutcome::failure(circulation.error());
            return out;
        }
    }
    if (!tx.commit()) {
        out.outcome = WriteOutcome::failure(tx.error());
        return out;
    }
    out.outcome = WriteOutcome::of(WriteOutcome::Done);
    return out;
}

WriteOutcome deleteParallelStep(qint64 id, const QString& contractNumber, const QString& post)
{
    Transaction tx;
    if (!tx.isActive()) return WriteOutcome::failure(tx.error());
    Statement route(QStringLiteral("DELETE FROM 合同实际流转路径设置 WHERE ID = ? AND 合同编号 = ?"), {id, contractNumber});
    if (!route.exec()) return WriteOutcome::failure(route.error());
    if (route.rowsAffected() < 1) return WriteOutcome::of(WriteOutcome::NoRow);
    // A decision already recorded stays as history.
    Statement records(QStringLiteral("DELETE FROM 合同流转信息表 WHERE 合同编号 = ? AND 岗位编号 = ?"
                                     " AND 日期 IS NULL AND 同意 IS NULL"),
                      {contractNumber, post});
    if (!records.exec()) return WriteOutcome::failure(records.error());
    if (!tx.commit()) return WriteOutcome::failure(tx.error());
    return WriteOutcome::of(WriteOutcome::Done);
}

WriteOutcome deleteSequentialStep(qint64 id, const QString& contractNumber, int order)
{
    Transaction tx;
    if (!tx.isActive()) return WriteOutcome::failure(tx.error());
    Statement route(QStringLiteral("DELETE FROM 合同实际流转路径设置 WHERE ID = ? AND 合同编号 = ? AND 环节序号 = ?"),
                    {id, contractNumber, order});
    if (!route.exec()) return WriteOutcome::failure(route.error());
    if (route.rowsAffected() < 1) return WriteOutcome::of(WriteOutcome::NoRow);
    Statement later(QStringLiteral("UPDATE 合同实际流转路径设置 SET 环节序号 = 环节序号 - 1 WHERE 合同编号 = ? AND 环节序号 > ?"),
                    {contractNumber, order});
    if (!later.exec()) return WriteOutcome::failure(later.error());
    if (!tx.commit()) return WriteOutcome::failure(tx.error());
    return WriteOutcome::of(WriteOutcome::Done);
}

WriteOutcome swapSteps(qint64 id, int order, qint64 otherId, int otherOrder)
{
    Transaction tx;
    if (!tx.isActive()) return WriteOutcome::failure(tx.error());
    const std::pair<qint64, std::pair<int, int>> moves[] = {{id, {order, otherOrder}}, {otherId, {otherOrder, order}}};
    for (const auto& [rowId, numbers] : moves) {
        Statement move(QStringLiteral("UPDATE 合同实际流转路径设置 SET 环节序号 = ? WHERE ID = ? AND 环节序号 = ?"),
                       {numbers.second, rowId, numbers.first});
        if (!move.exec()) return WriteOutcome::failure(move.error());
        if (move.rowsAffected() < 1) return WriteOutcome::of(WriteOutcome::NoRow);
    }
    if (!tx.commit()) return WriteOutcome::failure(tx.error());
    return WriteOutcome::of(WriteOutcome::Done);
}

std::vector<std::pair<QString, QString>> columnsNamedByStore()
{
    std::vector<std::pair<QString, QString>> out;
    auto add = [&](const char* table, std::initializer_list<const char*> columns) {
        for (const char* c : columns) out.emplace_back(QString::fromUtf8(table), QString::fromUtf8(c));
    };
    add("合同类型", {"合同类型编号", "单级流转", "部门主管审批"});
    add("合同类型流转路径设置", {"ID", "合同类型编号", "部门编号", "岗位编号", "决策权", "环节序号", "单级流转"});
    add("岗位信息new", {"岗位代号", "岗位名称", "职能部门代号", "工号", "部门主管", "终止日期"});
    add("员工档案", {"工号", "姓名"});
    add("职能部门new", {"职能部门编号", "职能部门名称", "终止日期", "发票领用"});
    add("上级部门new", {"职能部门编号", "上级部门编号", "终止日期"});
    add("SystemSetup", {"Code", "Value"});
    add("合同信息", {"id", "合同编号", "提交日期", "合同状态", "流转结束日期", "流转通过"});
    add("合同实际流转路径设置", {"ID", "合同编号", "部门编号", "岗位编号", "决策权", "环节序号", "单级流转"});
    add("合同流转信息表", {"ID", "合同编号", "环节序号", "部门编号", "岗位编号", "决策权", "审批人", "意见", "同意", "日期"});
    add("XZ文件记录", {"UniqueID", "编号"});
    add("XZ文件流转情况", {"文件ID", "UniqueID", "部门", "岗位", "顺序", "回复内容", "回复日期", "是否查阅", "附加顺序",
                           "公开", "是否同意", "查阅人"});
    return out;
}

}  // namespace corvane::approval
