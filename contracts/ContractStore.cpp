#include "contracts/ContractStore.h"

#include "db/Dialect.h"

namespace corvane::contract {

QStringList allStates()
{
    return {未提交, 签约中, 审批中, 审批通过, 审批未通过, 签约完成, 履行中, 已中止, 履行完成, 中止, 已作废};
}

namespace {

const QString kContracts = QStringLiteral("合同信息");
const QString kUnits = QStringLiteral("合同单元信息");
const QString kAttachments = QStringLiteral("合同信息附件");

// The columns each statement below names, listed once so a test can hold
// them against the schema description.
const QStringList kNumberColumns = {QStringLiteral("合同编号"), QStringLiteral("流水号"), QStringLiteral("合同状态")};
const QStringList kSupplementColumns = {QStringLiteral("补充"), QStringLiteral("主合同编号"),
                                        QStringLiteral("收付款计划合并")};
const QStringList kStateColumns = {QStringLiteral("id"),       QStringLiteral("提交日期"),     QStringLiteral("流转结束日期"),
                                   QStringLiteral("流转通过"), QStringLiteral("合同签订日期"), QStringLiteral("合同生效日期"),
                                   QStringLiteral("合同中止日期"), QStringLiteral("作废日期"), QStringLiteral("中止原因"),
                                   QStringLiteral("对方签约人"), QStringLiteral("签约人"), QStringLiteral("对应续约合同编号")};
const QStringList kCounterpartyColumns = {QStringLiteral("对方开户行"), QStringLiteral("对方单位"),
                                          QStringLiteral("对方帐号"), QStringLiteral("对方税号")};
const QStringList kAttachmentColumns = {QStringLiteral("ID"), QStringLiteral("合同ID"), QStringLiteral("名称"),
                                        QStringLiteral("附件"), QStringLiteral("类别")};


WriteOutcome outcomeOf(Statement& st)
{
    WriteOutcome out;
    if (!st.exec()) {
        out.error = st.error();
        return out;
    }
    out.kind = st.rowsAffected() > 0 ? WriteOutcome::Done : WriteOutcome::NoRow;
    return out;
}

WriteOutcome run(const QString& sql, const QVariantList& values)
{
    Statement st(sql, values);
    return outcomeOf(st);
}

// ---- The states from which the record window offers an action

// Before anyone signed the contract and while its state is none of the final
// ones; binds the three states.
const QString kNotYetSigned =
    QStringLiteral(" AND 合同签订日期 IS NULL AND (合同状态 IS NULL OR 合同状态 NOT IN (?, ?, ?))");
QVariantList finalStates() { return {履行中, 已中止, 已作废}; }
const QString kApproved = QStringLiteral(" AND 流转结束日期 IS NOT NULL AND 流转通过 = 1");
// Never submitted, or approved: not while approval runs, not when refused.
const QString kNeverSubmittedOrApproved =
    QStringLiteral(" AND (提交日期 IS NULL OR (流转结束日期 IS NOT NULL AND 流转通过 = 1))");
// What editing requires: never submitted, and a state other than the final
// ones; binds the three states.
const QString kEditable =
    QStringLiteral(" AND 提交日期 IS NULL AND 合同状态 IS NOT NULL AND 合同状态 NOT IN (?, ?, ?)");
// What the list's delete requires: never submitted and no approval outcome.
const QString kNeverSubmitted =
    QStringLiteral(" AND 提交日期 IS NULL AND 流转结束日期 IS NULL AND (流转通过 IS NULL OR 流转通过 = 0)");

// ---- Numbering, inside the caller's write transaction

std::optional<NumberAndSerial> allocateNumber(const QSqlDatabase& db, const QString& prefix, PrefixForm form,
                                              DbError* error)
{
    Statement highest(db, QStringLiteral("SELECT MAX(流水号) FROM 合同信息"));
    if (!highest.exec()) {
        *error = highest.error();
        return std::nullopt;
    }
    const qint64 top = highest.next() && !highest.value(0).isNull() ? highest.value(0).toLongLong() : 0;
    return firstFreeNumber(prefix, form, top,
                           [&](const QString& number) { return contractNumberTaken(db, number, error); });
}

// The number, the probe of a typed number and the insert; the caller holds
// a write transaction on `db`, which this leaves open.
InsertedContract insertNumberedRow(const QSqlDatabase& db, const NewContract& contract)
{
    InsertedContract out;
    if (!takeNumberingLock(db, kContractNumberingKey, &out.error)) return out;

    if (contract.automatic) {
        const auto n = allocateNumber(db, contract.prefix, contract.form, &out.error);
        if (!n) return out;
        out.number = n->number;
        out.serial = n->serial;
    } else {
        const auto taken = contractNumberTaken(db, contract.typedNumber, &out.error);
        if (!taken) return out;
        out.number = contract.typedNumber;
        out.serial = QVariant(QMetaType::fromType<qint64>());
        if (*taken) {
            out.outcome = InsertedContract::NumberTaken;
            return out;
        }
    }

    ColumnValues row{
        {kNumberColumns[0], out.number}, {kNumberColumns[1], out.serial}, {kNumberColumns[2], contract.state}};
    row.insert(row.end(), contract.columns.begin(), contract.columns.end());
    const auto id = insertReturningIdQuiet(db, kContracts, row, QStringLiteral("id"));
    if (!id) {
        out.error = id.error();
        return out;
    }
    out.id = *id;
    out.outcome = InsertedContract::Inserted;
    return out;
}

}  // namespace

std::optional<bool> contractNumberTaken(const QSqlDatabase& db, const QString& number, DbError* error)
{
    Statement probe(db, QStringLiteral("SELECT 1 FROM 合同信息 WHERE 合同编号 = ?"), {number});
    if (!probe.exec()) {
        *error = probe.error();
        return std::nullopt;
    }
    if (probe.next()) return true;
    if (probe.error().isValid()) {
        *error = probe.error();
        return std::nullopt;
    }
    return false;
}

// ---- New contracts

void addSupplementColumns(ColumnValues& columns, const QString& mainNumber, bool mergedPlans)
{
    columns.emplace_back(kSupplementColumns[0], 1);
    columns.emplace_back(kSupplementColumns[1], mainNumber);
    columns.emplace_back(kSupplementColumns[2], mergedPlans ? 1 : 0);
}

InsertedContract insertContract(const QSqlDatabase& db, const NewContract& contract)
{
    Transaction tx(db, Transaction::Write);
    if (!tx.isActive()) {
        InsertedContract out;
        out.error = tx.error();
        return out;
    }
    InsertedContract out = insertNumberedRow(db, contract);
    if (out.outcome != InsertedContract::Inserted) return out;
    if (!tx.commit()) {
        out.outcome = InsertedContract::Failed;
        out.error = tx.error();
    }
    return out;
}

InsertedContract insertContract(const NewContract& contract) { return insertContract(DbConnection(), contract); }

FollowUpOutcome insertFollowUp(const QSqlDatabase& db, const FollowUp& followUp)
{
    FollowUpOutcome out;
    Transaction tx(db, Transaction::Write);
    if (!tx.isActive()) {
        out.error = tx.error();
        return out;
    }
    const InsertedContract inserted = insertNumberedRow(db, followUp.contract);
    out.number = inserted.number;
    out.id = inserted.id;
    out.error = inserted.error;
    if (inserted.outcome == InsertedContract::NumberTaken) out.kind = FollowUpOutcome::NumberTaken;
    if (inserted.outcome != InsertedContract::Inserted) return out;

    if (followUp.renewal) {
        // The old contract may have been renewed by someone else meanwhile:
        // then nothing of this renewal stays.
        Statement link(db,
                       QStringLiteral("UPDATE 合同信息 SET 对应续约合同编号 = ? WHERE id = ? "
                                      "AND (对应续约合同编号 IS NULL OR 对应续约合同编号 = ?)"),
                       {out.number, followUp.fromId, QString()});
        if (!link.exec()) {
            out.error = link.error();
            return out;
        }
        if (link.rowsAffected() < 1) {
            Statement probe(db, QStringLiteral("SELECT 1 FROM 合同信息 WHERE id = ?"), {followUp.fromId});
            if (!probe.exec()) {
                out.error = probe.error();
                return out;
            }
            const std::optional<bool> exists = probe.next();
            if (probe.error().isValid()) {
                out.error = probe.error();
                return out;
            }
            out.kind = *exists ? FollowUpOutcome::AlreadyRenewed : FollowUpOutcome::OldGone;
            return out;
        }
    }
    if (!tx.commit()) {
        out.error = tx.error();
        return out;
    }
    out.kind = FollowUpOutcome::Inserted;
    return out;
}

FollowUpOutcome insertFollowUp(const FollowUp& followUp) { return insertFollowUp(DbConnection(), followUp); }

// ---- Writes on a chosen contract

WriteOutcome updateEditableContract(qint64 id, const ColumnValues& columns)
{
    QStringList sets;
    QVariantList values;
    for (const auto& [name, value] : columns) {
        sets << name + QStringLiteral(" = ?");
        values << value;
    }
    values << id;
    return run(QStringLiteral("UPDATE 合同信息 SET ") + sets.join(QStringLiteral(", ")) + QStringLiteral(" WHERE id = ?") +
                   kEditable,
               values + finalStates());
}

WriteOutcome signContract(qint64 id, const QDate& signedOn, bool immediate, const QString& counterpartySignatory,
                          const QString& ownSignatory)
{
    const QString where = QStringLiteral(" WHERE id = ?") + kApproved + kNotYetSigned;
    if (immediate)
        return run(QStringLiteral("UPDATE 合同信息 SET 合同签订日期 = ?, 合同生效日期 = ?, 合同状态 = ?, 对方签约人 = ?, "
                                  "签约人 = ?") + where,
                   QVariantList{signedOn, signedOn, 履行中, counterpartySignatory, ownSignatory, id} + finalStates());
    return run(QStringLiteral("UPDATE 合同信息 SET 合同签订日期 = ?, 合同状态 = ?, 对方签约人 = ?, 签约人 = ?") + where,
               QVariantList{signedOn, 签约完成, counterpartySignatory, ownSignatory, id} + finalStates());
}

WriteOutcome takeEffect(qint64 id, const QDate& effectiveOn)
{
    return run(QStringLiteral("UPDATE 合同信息 SET 合同生效日期 = ?, 合同状态 = ? WHERE id = ? AND 合同签订日期 IS NOT NULL "
                              "AND 合同生效日期 IS NULL AND (合同状态 IS NULL OR 合同状态 NOT IN (?, ?, ?))"),
               QVariantList{effectiveOn, 履行中, id} + finalStates());
}

WriteOutcome suspendContract(qint64 id, const QDate& suspendedOn, const QString& reason)
{
    return run(QStringLiteral("UPDATE 合同信息 SET 合同中止日期 = ?, 合同状态 = ?, 中止原因 = ? WHERE id = ? "
                              "AND 合同中止日期 IS NULL AND (合同状态 IS NULL OR 合同状态 NOT IN (?, ?))"),
               {suspendedOn, 已中止, textOrNull(reason), id, 已中止, 已作废});
}

WriteOutcome voidContract(qint64 id, const QDate& today)
{
    return run(QStringLiteral("UPDATE 合同信息 SET 作废日期 = ?, 合同状态 = ? WHERE id = ?") + kNotYetSigned +
                   kNeverSubmittedOrApproved,
               QVariantList{today, 已作废, id} + finalStates());
}

WriteOutcome saveCounterparty(qint64 id, const QString& name, const QString& bank, const QString& account,
                              const QString& taxNumber)
{
    return run(QStringLiteral("UPDATE 合同信息 SET 对方开户行 = ?, 对方单位 = ?, 对方帐号 = ?, 对方税号 = ? WHERE id = ?") +
                   kEditable,
               QVariantList{textOrNull(bank), textOrNull(name), textOrNull(account), textOrNull(taxNumber), id} +
                   finalStates());
}

WriteOutcome deleteContract(qint64 id, DeletableWhile rule)
{
    WriteOutcome out;
    Transaction tx;
    if (!tx.isActive()) {
        out.error = tx.error();
        return out;
    }
    QString sql = QStringLiteral("DELETE FROM 合同信息 WHERE id = ?");
    QVariantList values{id};
    if (rule == DeletableWhile::NeverSubmitted) {
        sql += kNeverSubmitted;
    } else {
        sql += kNotYetSigned + kNeverSubmittedOrApproved;
        values += finalStates();
    }
    Statement contract(sql, values);
    out = outcomeOf(contract);
    if (!out.done()) return out;
    Statement units(QStringLiteral("DELETE FROM 合同单元信息 WHERE 合同ID = ?"), {id});
    if (!units.exec()) {
        out.kind = WriteOutcome::Failed;
        out.error = units.error();
        return out;
    }
    if (!tx.commit()) {
        out.kind = WriteOutcome::Failed;
        out.error = tx.error();
    }
    return out;
}

// ---- Reads

DbResult<Row> contractById(qint64 id)
{
    return selectFirstQuiet(QStringLiteral("SELECT * FROM 合同信息 WHERE id = ?"), {id});
}

DbResult<Row> contractByNumber(const QString& number)
{
    return selectFirstQuiet(QStringLiteral("SELECT * FROM 合同信息 WHERE 合同编号 = ?"), {number});
}

DbResult<Row> contractWithCategoryByNumber(const QString& number)
{
    return selectFirstQuiet(QStringLiteral("SELECT 合同信息.*, 合同类型.合同类别 FROM 合同信息 INNER JOIN 合同类型 "
                                           "ON 合同信息.合同类型 = 合同类型.合同类型编号 WHERE 合同信息.合同编号 = ?"),
                            {number});
}

DbError readContractList(const ListSelection& selection, const std::function<void(const Statement& row)>& row)
{
    const BoundStatement b = contractListStatement(selection);
    Statement st(b.sql, b.values);
    if (!st.exec()) return st.error();
    while (st.next()) row(st);
    return st.error();
}

DbResult<QStringList> counterpartiesHolding(const QString& typed)
{
    const dialect::LikeCondition holds = dialect::containsText(QStringLiteral("合同信息.对方单位"), typed);
    const auto rows = selectRowsQuiet(
        QStringLiteral("SELECT 合同信息.对方单位 FROM 合同信息 INNER JOIN 合同类型 ON 合同类型.合同类型编号 = 合同信息.合同类型 "
                       "WHERE 合同类型.合同类型 <> ? AND ") +
            holds.sql + QStringLiteral(" GROUP BY 合同信息.对方单位 ORDER BY 合同信息.对方单位"),
        {租赁合同, holds.value});
    if (!rows) return rows.error();
    QStringList names;
    for (const Row& r : *rows) names << r.text(0);
    return names;
}

DbResult<Rows> instalmentsWithRecords(bool payment, const QString& number)
{
    const QString plan = payment ? QStringLiteral("合同付款计划表") : QStringLiteral("合同收款计划表");
    const QString record = payment ? QStringLiteral("合同付款记录") : QStringLiteral("合同收款记录");
    const QString date = payment ? QStringLiteral("付款日期") : QStringLiteral("收款日期");
    const QString amount = payment ? QStringLiteral("付款金额") : QStringLiteral("收款金额");
    const QString link = payment ? QStringLiteral("合同付款计划ID") : QStringLiteral("合同收款计划ID");
    return selectRowsQuiet(QStringLiteral("SELECT %1.ID, %1.%3, %1.%4, %1.余额, %2.科目代号 FROM %1 "
                                          "LEFT JOIN %2 ON %1.ID = %2.%5 WHERE %1.合同编号 = ? "
                                          "ORDER BY %1.%3, %1.ID, %2.ID")
                               .arg(plan, record, date, amount, link),
                           {number});
}

DbResult<Rows> performanceNodes(const QString& number)
{
    return selectRowsQuiet(QStringLiteral("SELECT ID, 阶段, 要求, 时间节点, 完成情况, 检查人, 检查日期 "
                                          "FROM 合同履行计划表 WHERE 合同编号 = ? ORDER BY ID"),
                           {number});
}

// ---- Attachments

DbResult<std::vector<Attachment>> attachmentsOf(qint64 contractId)
{
    const auto rows =
        selectRowsQuiet(QStringLiteral("SELECT ID, 名称 FROM 合同信息附件 WHERE 合同ID = ? ORDER BY ID"), {contractId});
    if (!rows) return rows.error();
    std::vector<Attachment> out;
    out.reserve(rows->size());
    for (const Row& r : *rows) out.push_back({r.value(0).toLongLong(), r.text(1)});
    return out;
}

WriteOutcome addAttachment(qint64 contractId, const QString& name, const QVariant& bytes, qint64* newId)
{
    // Inserted only while the contract is still there and editable: a row
    // for a contract deleted meanwhile would be an orphan.
    const QStringList columns = kAttachmentColumns.mid(1);
    Statement insert(dialect::insertSelectReturningId(kAttachments, columns, kAttachmentColumns[0],
                                                      QStringLiteral("EXISTS (SELECT 1 FROM 合同信息 WHERE id = ?") +
                                                          kEditable + QLatin1Char(')')),
                     QVariantList{contractId, name, bytes, QStringLiteral("文件"), contractId} + finalStates());
    WriteOutcome out;
    if (!insert.exec()) {
        out.error = insert.error();
        return out;
    }
    if (insert.lastInsertId().isNull()) {
        out.kind = WriteOutcome::NoRow;
        return out;
    }
    const auto id = checkedInsertId(insert, kAttachments);
    if (!id) {
        out.error = id.error();
        return out;
    }
    if (newId) *newId = *id;
    out.kind = WriteOutcome::Done;
    return out;
}

DbResult<AttachmentFile> attachmentFile(qint64 attachmentId)
{
    const auto row = selectFirstQuiet(QStringLiteral("SELECT 名称, 附件 FROM 合同信息附件 WHERE ID = ?"), {attachmentId});
    if (!row) return row.error();
    AttachmentFile file;
    if (row->count() == 0) return file;
    file.found = true;
    file.name = row->text(0);
    file.bytes = row->value(1);
    return file;
}

AttachmentDeletion deleteAttachment(qint64 attachmentId)
{
    // The same rule as adding: once the contract is submitted its papers are
    // what the approvers read, and a file taken away could not be put back.
    AttachmentDeletion out;
    out.write = run(QStringLiteral("DELETE FROM 合同信息附件 WHERE ID = ? AND EXISTS (SELECT 1 FROM 合同信息 WHERE "
                                   "合同信息.id = 合同信息附件.合同ID") +
                        kEditable + QLatin1Char(')'),
                    QVariantList{attachmentId} + finalStates());
    if (out.write.kind != WriteOutcome::NoRow) return out;
    const auto still = selectFirstQuiet(QStringLiteral("SELECT ID FROM 合同信息附件 WHERE ID = ?"), {attachmentId});
    if (!still) {
        out.write.kind = WriteOutcome::Failed;
        out.write.error = still.error();
        return out;
    }
    out.locked = still->count() > 0;
    return out;
}

std::vector<std::pair<QString, QString>> columnsNamedByStore()
{
    std::vector<std::pair<QString, QString>> out;
    for (const QStringList* list : {&kNumberColumns, &kSupplementColumns, &kStateColumns, &kCounterpartyColumns})
        for (const QString& c : *list) out.emplace_back(kContracts, c);
    for (const QString& c : kAttachmentColumns) out.emplace_back(kAttachments, c);
    out.emplace_back(kUnits, QStringLiteral("合同ID"));
    return out;
}

}  // namespace corvane::contract
