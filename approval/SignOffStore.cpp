#include "approval/SignOffStore.h"

#include "contracts/ContractStates.h"
#include "db/Dialect.h"
#include "platform/Amounts.h"

namespace corvane::approval {

namespace {

SignOffResult failedResult(const DbError& e)
{
    SignOffResult out;
    out.outcome = WriteOutcome::failure(e);
    return out;
}

const QString kSetupFlag = QStringLiteral("合同同步");

// The sign-off document of the submission, sent to nobody yet.
ColumnValues signOffDocumentRow(Dialect d, const SignOffSubmission& s, const QDate& day, const QString& number,
                                qint64 serial, const QString& urgency)
{
    const QString content = fillDocumentNumber(s.signOff, number) + s.plan;
    return {
        {QStringLiteral("文头"), kSignOffPrefix},
        {QStringLiteral("年"), day.year()},
        {QStringLiteral("月"), day.month()},
        {QStringLiteral("日"), day.day()},
        {QStringLiteral("编号"), number},
        {QStringLiteral("流水号"), serial},
        {QStringLiteral("文件类型"), QStringLiteral("合同会签")},
        {QStringLiteral("审批文件"), 1},
        {QStringLiteral("是否通知"), 0},
        {QStringLiteral("是否公告"), 0},
        {QStringLiteral("文件标题"), s.文件标题},
        {QStringLiteral("模板类型"), QStringLiteral("HTML")},
        {QStringLiteral("文件内容"), documentBytes(content)},
        {QStringLiteral("部门"), s.部门},
        {QStringLiteral("岗位"), s.岗位},
        {QStringLiteral("是否回复"), 0},
        {QStringLiteral("是否发送"), 0},
        {QStringLiteral("是否作废"), 0},
        {QStringLiteral("是否结束"), 0},
        {QStringLiteral("拟稿人"), s.工号},
        {QStringLiteral("拟稿日期"), dateValue(d, s.now.date())},
        {QStringLiteral("紧急程度"), urgency},
        {QStringLiteral("流转类型"), s.多级流转 ? QStringLiteral("多级") : QStringLiteral("单级")},
        {QStringLiteral("允许修改"), 0},
        {QStringLiteral("对应合同编号"), s.contract.number},
        {QStringLiteral("CzyDH"), s.工号},
        {QStringLiteral("updatedate"), dateTimeValue(d, s.now)},
    };
}

}  // namespace

DbResult<std::vector<PlanInstalment>> planInstalmentsOf(const QString& contractNumber, bool receipts)
{
    const QString sql = receipts ? QStringLiteral("SELECT 收款日期, 收款金额, 收款条件 FROM 合同收款计划表"
                                                  " WHERE 合同编号 = ? ORDER BY 收款日期, ID")
                                 : QStringLiteral("SELECT 付款日期, 付款金额, 付款条件 FROM 合同付款计划表"
                                                  " WHERE 合同编号 = ? ORDER BY 付款日期, ID");
    const auto rows = selectRowsQuiet(sql, {contractNumber});
    if (!rows) return rows.error();
    std::vector<PlanInstalment> out;
    for (const Row& r : *rows) {
        PlanInstalment i;
        if (!r.value(0).isNull()) {
            const QDate d = toDate(r.value(0));
            if (d.isValid()) i.日期 = d;
        }
        i.金额 = centsOf(r.value(1));
        i.条件 = r.text(2);
        out.push_back(i);
    }
    return out;
}

DbResult<QString> defaultUrgency(const QSqlDatabase& db)
{
    const auto v = selectValueQuiet(
        db, dialect::selectTop(dialectOf(db), 1,
                               QStringLiteral("紧急程度 FROM XZ紧急程度"
                                              " WHERE 序 IN (SELECT MIN(序) FROM XZ紧急程度) ORDER BY 紧急程度")));
    if (!v) return v.error();
    return v->isNull() ? QString() : v->toString();
}

SignOffResult writeSignOff(const QSqlDatabase& db, const SignOffSubmission& s)
{
    const Dialect d = dialectOf(db);
    DbError error;
    if (s.steps.empty()) return failedResult({0, QStringLiteral("合同审批路径为空")});
    Transaction tx(db, Transaction::Write);
    if (!tx.isActive()) return failedResult(tx.error());
    if (!takeNumberingLock(db, kSignOffNumberingKey, &error)) return failedResult(error);

    // 年, 月 and 日 carry the server's date, whatever the workstation's clock says.
    const auto serverDay =
        selectValueQuiet(db, QStringLiteral("SELECT ") + dialect::serverToday(d) + QStringLiteral(" AS 系统时间"));
    if (!serverDay) return failedResult(serverDay.error());
    const QDate day = toDate(*serverDay);
    if (!day.isValid()) return failedResult({0, QStringLiteral("无法读取服务器日期")});

    const auto highest =
        selectValueQuiet(db, QStringLiteral("SELECT MAX(流水号) FROM XZ文件记录 WHERE 文头 = ?"), {kSignOffPrefix});
    if (!highest) return failedResult(highest.error());
    qint64 serial = highest->isNull() ? 1 : highest->toLongLong() + 1;
    QString number;
    for (;;) {
        number = signOffNumber(serial);
        const auto taken =
            selectValueQuiet(db, QStringLiteral("SELECT COUNT(*) FROM XZ文件记录 WHERE 编号 = ?"), {number});
        if (!taken) return failedResult(taken.error());
        if (taken->toLongLong() == 0) break;
        ++serial;
    }

    const auto urgency = defaultUrgency(db);
    if (!urgency) return failedResult(urgency.error());

    const QVariant now = dateTimeValue(d, s.now);
    const QVariant today = dateValue(d, s.now.date());
    const auto inserted =
        insertReturningIdQuiet(db, QStringLiteral("XZ文件记录"),
                               signOffDocumentRow(d, s, day, number, serial, *urgency), QStringLiteral("UniqueID"));
    if (!inserted) return failedResult(inserted.error());
    const qint64 documentId = *inserted;

    // 行政文件附件: the bytes go from table to table without passing through here.
    const auto attachments = selectRowsQuiet(
        db, QStringLiteral("SELECT ID, 名称 FROM 合同信息附件 WHERE 合同ID = ? ORDER BY ID"), {s.contract.id.value_or(-1)});
    if (!attachments) return failedResult(attachments.error());
    for (const Row& a : *attachments) {
        const auto [title, extension] = splitAttachmentName(a.text(1));
        const auto copied = executeQuiet(
            db,
            QStringLiteral(
                "INSERT INTO XZ文件附件 (行政文件ID, 附件标题, 扩展名, 附件内容, 模板附件, 编辑人, CzyDH, updatedate)"
                " VALUES (?, ?, ?, (SELECT 附件 FROM 合同信息附件 WHERE ID = ?), 0, ?, ?, ?)"),
            {documentId, title, extension, a.value(0), s.工号, s.工号, now});
        if (!copied) return failedResult(copied.error());
    }

    for (const RouteStep& step : s.steps) {
        const auto routed = executeQuiet(
            db,
            QStringLiteral("INSERT INTO XZ文件流转路径 (文件ID, 部门, 岗位, 顺序, 是否主送) VALUES (?, ?, ?, ?, ?)"),
            {documentId, step.部门编号, step.岗位编号, s.多级流转 ? step.环节序号 : 0, step.决策权});
        if (!routed) return failedResult(routed.error());
    }
    // A sequential route reaches its first step now, a parallel one every step.
    const size_t due = s.多级流转 ? 1 : s.steps.size();
    for (size_t i = 0; i < due; ++i) {
        const RouteStep& step = s.steps[i];
        const auto delivered = executeQuiet(
            db,
            QStringLiteral(
                "INSERT INTO XZ文件流转情况 (文件ID, 部门, 岗位, 顺序, 是否主送, 是否查阅, 送达时间, CZYDH, updatedate)"
                " VALUES (?, ?, ?, ?, ?, 0, ?, ?, ?)"),
            {documentId, step.部门编号, step.岗位编号, s.多级流转 ? step.环节序号 : 0, step.决策权, today, s.工号,
             today});
        if (!delivered) return failedResult(delivered.error());
    }
    const auto sent = executeQuiet(
        db, QStringLiteral("UPDATE XZ文件记录 SET 是否发送 = 1, 发送日期 = ? WHERE UniqueID = ?"), {now, documentId});
    if (!sent) return failedResult(sent.error());
    if (*sent < 1) return failedResult({0, QStringLiteral("会签单已不存在")});

    // The claim: a contract submitted meanwhile keeps its own road.
    QVariantList values{number, now, contract::审批中};
    QString claim = QStringLiteral("UPDATE 合同信息 SET 行政审批编号 = ?, 提交日期 = ?, 合同状态 = ?");
    if (s.contract.id) {
        claim += QStringLiteral(" WHERE id = ? AND 提交日期 IS NULL");
        values << *s.contract.id;
    } else {
        claim += QStringLiteral(" WHERE 合同编号 = ? AND 提交日期 IS NULL");
        values << s.contract.number;
    }
    const auto claimed = executeQuiet(db, claim, values);
    if (!claimed) return failedResult(claimed.error());
    if (*claimed < 1) {
        SignOffResult out;
        out.outcome = WriteOutcome::of(WriteOutcome::NoRow);
        return out;
    }
    if (!tx.commit()) return failedResult(tx.error());
    SignOffResult out;
    out.outcome = WriteOutcome::of(WriteOutcome::Done);
    out.number = number;
    out.documentId = documentId;
    return out;
}

SignOffResult writeSignOff(const SignOffSubmission& s) { return writeSignOff(DbConnection(), s); }

// ---- Synchronisation

namespace {

const QString kClaimTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

// The claim's time row set to `value`, added when missing.
bool writeClaimTime(const QSqlDatabase& db, const QString& value, DbError* error)
{
    auto written = executeQuiet(db, QStringLiteral("UPDATE SystemSetup SET Value = ? WHERE Code = ?"),
                                {value, kSyncClaimedAtCode});
    if (written && *written == 0)
        written = executeQuiet(db, QStringLiteral("INSERT INTO SystemSetup (Code, Value) VALUES (?, ?)"),
                               {kSyncClaimedAtCode, value});
    if (!written) *error = written.error();
    return written.has_value();
}

}  // namespace

FlagClaim claimSyncFlag(const QSqlDatabase& db, const QDateTime& now, DbError* error)
{
    const QString stamp = now.toString(kClaimTimeFormat);
    // The flag and its time change together or not at all; on SQLite the
    // write transaction also keeps two starts from reading the same old state.
    Transaction tx(db, Transaction::Write);
    if (!tx.isActive()) {
        *error = tx.error();
        return FlagClaim::Failed;
    }
    auto failed = [&](const DbError& e) {
        *error = e;
        return FlagClaim::Failed;
    };
    auto committed = [&](FlagClaim result) { return tx.commit() ? result : failed(tx.error()); };
    const auto set = executeQuiet(
        db, QStringLiteral("UPDATE SystemSetup SET Value = '1' WHERE Code = ? AND (Value IS NULL OR Value <> '1')"),
        {kSetupFlag});
    if (!set) return failed(set.error());
    if (*set > 0) return writeClaimTime(db, stamp, error) ? committed(FlagClaim::Claimed) : FlagClaim::Failed;
    const auto exists =
        selectValueQuiet(db, QStringLiteral("SELECT COUNT(*) FROM SystemSetup WHERE Code = ?"), {kSetupFlag});
    if (!exists) return failed(exists.error());
    if (exists->toLongLong() == 0) {
        const auto added =
            executeQuiet(db, QStringLiteral("INSERT INTO SystemSetup (Code, Value) VALUES (?, '1')"), {kSetupFlag});
        if (added) return writeClaimTime(db, stamp, error) ? committed(FlagClaim::Claimed) : FlagClaim::Failed;
        // Another client added the row first: it holds the flag.
        tx.rollback();
        const auto now =
            selectValueQuiet(db, QStringLiteral("SELECT COUNT(*) FROM SystemSetup WHERE Code = ?"), {kSetupFlag});
        if (!now) return failed(now.error());
        if (now->toLongLong() > 0) return FlagClaim::Held;
        return failed(added.error());
    }
    // Held: by a run still going, or by one that died.
    const auto claimed =
        selectValueQuiet(db, QStringLiteral("SELECT Value FROM SystemSetup WHERE Code = ?"), {kSyncClaimedAtCode});
    if (!claimed) return failed(claimed.error());
    const QDateTime since = QDateTime::fromString(claimed->toString(), kClaimTimeFormat);
    if (!since.isValid()) {
        // Two starts timing the same flag at once: the one that lost keeps
        // the other's time.
        DbError lost;
        if (!writeClaimTime(db, stamp, &lost)) return FlagClaim::Held;
        return committed(FlagClaim::Held);
    }
    if (since.secsTo(now) < kSyncStaleSeconds) return committed(FlagClaim::Held);
    // Taken over only from the claim that was read: of two starts that find
    // the same stale claim, one runs.
    const auto taken = executeQuiet(db, QStringLiteral("UPDATE SystemSetup SET Value = ? WHERE Code = ? AND Value = ?"),
                                    {stamp, kSyncClaimedAtCode, claimed->toString()});
    if (!taken) return failed(taken.error());
    return committed(*taken > 0 ? FlagClaim::Claimed : FlagClaim::Held);
}

DbError releaseSyncFlag(const QSqlDatabase& db)
{
    // Cheap when the flag went back with the run's outcomes already.
    auto released = executeQuiet(
        db, QStringLiteral("UPDATE SystemSetup SET Value = '0' WHERE Code = ? AND (Value IS NULL OR Value <> '0')"),
        {kSetupFlag});
    if (released)
        released = executeQuiet(db, QStringLiteral("UPDATE SystemSetup SET Value = '' WHERE Code = ? AND Value <> ''"),
                                {kSyncClaimedAtCode});
    return released.error();
}

QString finishedDocumentsSql(Dialect d)
{
    const QString waiting = QStringLiteral(" FROM 合同信息 WHERE 流转结束日期 IS NULL AND 行政审批编号 IS NOT NULL");
    QString sql = QStringLiteral("SELECT X.UniqueID, X.编号, ") + dialect::dateTimeText(d, QStringLiteral("X.结束日期")) +
                  QStringLiteral(", X.是否同意, H.ID FROM XZ文件记录 X INNER JOIN (SELECT 合同编号, ID") + waiting +
                  QStringLiteral(") H ON X.对应合同编号 = H.合同编号 WHERE X.结束日期 IS NOT NULL");
    // PostgreSQL takes the two conditions on a contract as independent and
    // expects some two thousand waiting contracts where a company has a
    // hundred; it then hashes every document of the company at each login.
    // Handed the waiting contracts' numbers first, it reads their documents
    // by index whatever it expects.
    if (d == Dialect::PostgreSQL)
        sql += QStringLiteral(" AND X.对应合同编号 = ANY(ARRAY(SELECT 合同编号") + waiting + QStringLiteral("))");
    return sql + QStringLiteral(" ORDER BY X.结束日期, X.UniqueID");
}

DbResult<std::vector<FinishedDocument>> finishedDocuments(const QSqlDatabase& db)
{
    Statement st(db, finishedDocumentsSql(dialectOf(db)));
    if (!st.exec()) return st.error();
    std::vector<FinishedDocument> out;
    while (st.next()) {
        FinishedDocument doc;
        doc.documentId = st.value(0).toLongLong();
        doc.编号 = st.value(1).toString();
        doc.结束日期 = toDateTime(st.value(2));
        doc.同意 = !st.value(3).isNull() && st.value(3).toInt() != 0;
        doc.contractId = st.value(4).toLongLong();
        out.push_back(doc);
    }
    if (st.error().isValid()) return st.error();
    return out;
}

DbError 处理附件(const QSqlDatabase& db, qint64 documentId, qint64 contractId)
{
    const Dialect d = dialectOf(db);
    // 附件标题 + "." + 扩展名 of an attachment row, and its parts, in SQL.
    auto title = [](const QString& row) { return QStringLiteral("COALESCE(") + row + QStringLiteral(".附件标题, '')"); };
    auto extension = [](const QString& row) { return QStringLiteral("COALESCE(") + row + QStringLiteral(".扩展名, '')"); };
    auto name = [&](const QString& row) { return dialect::concat(d, dialect::concat(d, title(row), QStringLiteral("'.'")), extension(row)); };
    // The same file as `other`: the same name, or, for a name without a
    // point, its title alone (it went out that way).
    auto sameFile = [&](const QString& other) {
        return QStringLiteral("(") + other + QStringLiteral(" = ") + name(QStringLiteral("X")) + QStringLiteral(" OR (") +
               extension(QStringLiteral("X")) + QStringLiteral(" = '' AND ") + other + QStringLiteral(" = ") +
               title(QStringLiteral("X")) + QStringLiteral("))");
    };
    // One statement for the document, in the attachments' order; an
    // attachment is left out when the contract has it already or an earlier
    // attachment of the document brings it.
    const QString sql =
        QStringLiteral("INSERT INTO 合同信息附件 (合同ID, 名称, 附件, 类别) SELECT ?, ") + name(QStringLiteral("X")) +
        QStringLiteral(", X.附件内容, ? FROM XZ文件附件 X WHERE X.行政文件ID = ?"
                       " AND NOT EXISTS (SELECT 1 FROM 合同信息附件 A WHERE A.合同ID = ? AND ") +
        sameFile(QStringLiteral("A.名称")) +
        QStringLiteral(") AND NOT EXISTS (SELECT 1 FROM XZ文件附件 Y WHERE Y.行政文件ID = X.行政文件ID"
                       " AND Y.UniqueID < X.UniqueID AND ") +
        sameFile(name(QStringLiteral("Y"))) + QStringLiteral(") ORDER BY X.UniqueID");
    return executeQuiet(db, sql, {contractId, QStringLiteral("文件"), documentId, contractId}).error();
}

namespace {

// One document's attachments and its contract's outcome, inside the caller's transaction.
WriteOutcome applyOutcome(const QSqlDatabase& db, const FinishedDocument& doc)
{
    const DbError copied = 处理附件(db, doc.documentId, doc.contractId);
    if (copied.isValid()) return WriteOutcome::failure(copied);
    const auto decided = executeQuiet(db,
                                      QStringLiteral("UPDATE 合同信息 SET 流转结束日期 = ?, 流转通过 = ?, 合同状态 = ?"
                                                     " WHERE ID = ? AND 流转结束日期 IS NULL"),
                                      {dateTimeValue(dialectOf(db), doc.结束日期), doc.同意 ? 1 : 0,
                                       doc.同意 ? contract::审批通过 : contract::审批未通过, doc.contractId});
    if (!decided) return WriteOutcome::failure(decided.error());
    if (*decided < 1) return WriteOutcome::of(WriteOutcome::NoRow);
    return WriteOutcome::of(WriteOutcome::Done);
}

}  // namespace

DbError carryBack(const QSqlDatabase& db, const std::vector<FinishedDocument>& documents)
{
    const Dialect d = dialectOf(db);
    const QString savepoint = QStringLiteral("document");
    Transaction tx(db);
    if (!tx.isActive()) return tx.error();
    DbError error;
    auto run = [&](const QString& sql, const QVariantList& values) {
        const auto done = executeQuiet(db, sql, values);
        if (!done) error = done.error();
        return done.has_value();
    };
    // The flag goes back with the outcomes, in the one commit of the run.
    auto commit = [&] {
        if (!run(QStringLiteral("UPDATE SystemSetup SET Value = '0' WHERE Code = ?"), {kSetupFlag})) return false;
        if (!run(QStringLiteral("UPDATE SystemSetup SET Value = '' WHERE Code = ?"), {kSyncClaimedAtCode}))
            return false;
        if (tx.commit()) return true;
        error = tx.error();
        return false;
    };
    for (const FinishedDocument& doc : documents) {
        if (!run(dialect::setSavepoint(d, savepoint), {})) return error;
        const WriteOutcome out = applyOutcome(db, doc);
        if (out.kind != WriteOutcome::Done) {
            // Decided already (an earlier document of this run), or failed:
            // nothing of this document stays.
            if (!run(dialect::rollbackToSavepoint(d, savepoint), {})) return error;
            if (out.kind == WriteOutcome::Failed) {
                // The documents before it keep their outcome.
                if (!commit()) return error;
                return out.error;
            }
        }
        const QString release = dialect::releaseSavepoint(d, savepoint);
        if (!release.isEmpty() && !run(release, {})) return error;
    }
    if (!commit()) return error;
    return {};
}

std::vector<std::pair<QString, QString>> columnsNamedBySignOffStore()
{
    std::vector<std::pair<QString, QString>> out;
    auto add = [&](const char* table, std::initializer_list<const char*> columns) {
        for (const char* c : columns) out.emplace_back(QString::fromUtf8(table), QString::fromUtf8(c));
    };
    add("合同收款计划表", {"ID", "合同编号", "收款日期", "收款金额", "收款条件"});
    add("合同付款计划表", {"ID", "合同编号", "付款日期", "付款金额", "付款条件"});
    add("XZ紧急程度", {"紧急程度", "序"});
    add("XZ文件记录", {"UniqueID", "文头", "年", "月", "日", "编号", "流水号", "文件类型", "审批文件", "是否通知", "是否公告",
                       "文件标题", "模板类型", "文件内容", "部门", "岗位", "是否回复", "是否发送", "是否作废", "是否结束",
                       "拟稿人", "拟稿日期", "紧急程度", "流转类型", "允许修改", "对应合同编号", "CzyDH", "updatedate",
                       "发送日期", "结束日期", "是否同意"});
    add("XZ文件附件", {"UniqueID", "行政文件ID", "附件标题", "扩展名", "附件内容", "模板附件", "编辑人", "CzyDH", "updatedate"});
    add("XZ文件流转路径", {"文件ID", "部门", "岗位", "顺序", "是否主送"});
    add("XZ文件流转情况", {"文件ID", "部门", "岗位", "顺序", "是否主送", "是否查阅", "送达时间", "CZYDH", "updatedate"});
    add("合同信息附件", {"ID", "合同ID", "名称", "附件", "类别"});
    add("合同信息", {"id", "合同编号", "行政审批编号", "提交日期", "合同状态", "流转结束日期", "流转通过"});
    add("SystemSetup", {"Code", "Value"});
    return out;
}

}  // namespace corvane::approval
