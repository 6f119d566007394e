#include "contracts/ContractRecordStore.h"

#include <QStringList>

#include "db/Dialect.h"

namespace corvane::contract {

namespace {

QVariant textOrNull(const QString& text) { return text.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(text); }

WriteOutcome run(const QString& sql, const QVariantList& values)
{
    WriteOutcome out;
    Statement st(sql, values);
    if (!st.exec()) {
        out.error = st.error();
        return out;
    }
    out.kind = st.rowsAffected() > 0 ? WriteOutcome::Done : WriteOutcome::NoRow;
    return out;
}

// Offered by the window only before anyone signed the contract and while its
// state is none of the final ones; binds the three states.
const QString kNotYetSigned =
    QStringLiteral(" AND 合同签订日期 IS NULL AND (合同状态 IS NULL OR 合同状态 NOT IN (?, ?, ?))");
QVariantList finalStates() { return {履行中, 已中止, 已作废}; }
const QString kApproved = QStringLiteral(" AND 流转结束日期 IS NOT NULL AND 流转通过 = 1");
// Never submitted, or approved: not while approval runs, not when refused.
const QString kNeverSubmittedOrApproved =
    QStringLiteral(" AND (提交日期 IS NULL OR (流转结束日期 IS NOT NULL AND 流转通过 = 1))");

}  // namespace

WriteOutcome updateUnsubmittedContract(qint64 id, const ColumnValues& columns)
{
    QStringList sets;
    QVariantList values;
    for (const auto& [name, value] : columns) {
        sets << name + QStringLiteral(" = ?");
        values << value;
    }
    values << id;
    return run(QStringLiteral("UPDATE 合同信息 SET ") + sets.join(QStringLiteral(", ")) +
                   QStringLiteral(" WHERE id = ? AND 提交日期 IS NULL"),
               values);
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

WriteOutcome deleteContract(qint64 id)
{
    WriteOutcome out;
    Transaction tx;
    if (!tx.isActive()) {
        out.error = tx.error();
        return out;
    }
    Statement contract(QStringLiteral("DELETE FROM 合同信息 WHERE id = ?") + kNotYetSigned + kNeverSubmittedOrApproved,
                       QVariantList{id} + finalStates());
    if (!contract.exec()) {
        out.error = contract.error();
        return out;
    }
    if (contract.rowsAffected() < 1) {
        out.kind = WriteOutcome::NoRow;
        return out;
    }
    Statement units(QStringLiteral("DELETE FROM 合同单元信息 WHERE 合同ID = ?"), {id});
    if (!units.exec()) {
        out.error = units.error();
        return out;
    }
    if (!tx.commit()) {
        out.error = tx.error();
        return out;
    }
    out.kind = WriteOutcome::Done;
    return out;
}

WriteOutcome saveCounterparty(qint64 id, const QString& name, const QString& bank, const QString& account,
                              const QString& taxNumber)
{
    return run(QStringLiteral("UPDATE 合同信息 SET 对方开户行 = ?, 对方单位 = ?, 对方帐号 = ?, 对方税号 = ? WHERE id = ?"),
               {textOrNull(bank), textOrNull(name), textOrNull(account), textOrNull(taxNumber), id});
}

FollowUpOutcome insertFollowUp(const QSqlDatabase& db, const FollowUp& followUp)
{
    FollowUpOutcome out;
    const NewContract& c = followUp.contract;
    Transaction tx(db, Transaction::Write);
    if (!tx.isActive()) {
        out.error = tx.error();
        return out;
    }
    const InsertedContract inserted = insertContractRow(db, c);
    out.number = inserted.number;
    out.id = inserted.id;
    out.error = inserted.error;
    if (inserted.outcome == InsertedContract::NumberTaken) out.kind = FollowUpOutcome::NumberTaken;
    if (inserted.outcome != InsertedContract::Inserted) return out;

    if (followUp.renewal) {
        // The old contract may have been renewed by someone else meanwhile:
        // then nothing of this renewal stays.
        Statement link(db,
                       QStringLiteral("UPDATE 合同信息 SET 对应续约合同编号 = ? WHERE 合同编号 = ? "
                                      "AND (对应续约合同编号 IS NULL OR 对应续约合同编号 = ?)"),
                       {out.number, followUp.fromNumber, QString()});
        if (!link.exec()) {
            out.error = link.error();
            return out;
        }
        if (link.rowsAffected() < 1) {
            const auto exists = contractNumberTaken(db, followUp.fromNumber, &out.error);
            if (!exists) return out;
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

}  // namespace corvane::contract
