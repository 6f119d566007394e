#include "contracts/ContractRecord.h"

#include "db/Dialect.h"

namespace corvane::contract {

QStringList allStates()
{
    return {未提交, 签约中, 审批中, 审批通过, 审批未通过, 签约完成, 履行中, 已中止, 履行完成, 中止, 已作废};
}

void addSupplementColumns(ColumnValues& columns, const QString& mainNumber, bool mergedPlans)
{
    columns.emplace_back(QStringLiteral("补充"), 1);
    columns.emplace_back(QStringLiteral("主合同编号"), mainNumber);
    columns.emplace_back(QStringLiteral("收付款计划合并"), mergedPlans ? 1 : 0);
}

InsertedContract insertContractRow(const QSqlDatabase& db, const NewContract& contract)
{
    InsertedContract out;
    if (!takeNumberingLock(db, kContractNumberingKey, &out.error)) return out;

    if (contract.automatic) {
        const auto n = nextSchemeANumber(db, contract.prefix, contract.form, &out.error);
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

    QStringList names{QStringLiteral("合同编号"), QStringLiteral("流水号"), QStringLiteral("合同状态")};
    QVariantList values{out.number, out.serial, contract.state};
    for (const auto& [name, value] : contract.columns) {
        names << name;
        values << value;
    }
    Statement insert(db, dialect::insertReturningId(dialectOf(db), QStringLiteral("合同信息"), names, QStringLiteral("id")),
                     values);
    if (!insert.exec()) {
        out.error = insert.error();
        return out;
    }
    out.id = insert.lastInsertId().toLongLong();
    out.outcome = InsertedContract::Inserted;
    return out;
}

InsertedContract insertContract(const QSqlDatabase& db, const NewContract& contract)
{
    Transaction tx(db, Transaction::Write);
    if (!tx.isActive()) {
        InsertedContract out;
        out.error = tx.error();
        return out;
    }
    InsertedContract out = insertContractRow(db, contract);
    if (out.outcome != InsertedContract::Inserted) return out;
    if (!tx.commit()) {
        out.outcome = InsertedContract::Failed;
        out.error = tx.error();
    }
    return out;
}

InsertedContract insertContract(const NewContract& contract) { return insertContract(DbConnection(), contract); }

bool linkRenewalOnOld(const QString& oldNumber, const QString& newNumber, DbError* error)
{
    Statement st(QStringLiteral("UPDATE 合同信息 SET 对应续约合同编号 = ? WHERE 合同编号 = ? "
                                "AND (对应续约合同编号 IS NULL OR 对应续约合同编号 = ?)"),
                 {newNumber, oldNumber, QString()});
    if (!st.exec()) {
        if (error) *error = st.error();
        return false;
    }
    return st.rowsAffected() == 1;
}

namespace {
// Never submitted and no approval outcome: what the list's delete requires.
const QString kStillUnsubmitted = QStringLiteral(
    "合同编号 = ? AND 提交日期 IS NULL AND 流转结束日期 IS NULL AND (流转通过 IS NULL OR 流转通过 = 0)");
}  // namespace

DeleteOutcome deleteUnsubmittedContract(const QString& number, bool withUnits)
{
    DeleteOutcome out;
    Transaction tx;
    if (!tx.isActive()) {
        out.error = tx.error();
        return out;
    }
    if (withUnits) {
        Statement units(QStringLiteral("DELETE FROM 合同单元信息 WHERE 合同ID IN (SELECT id FROM 合同信息 WHERE ") +
                            kStillUnsubmitted + QLatin1Char(')'),
                        {number});
        if (!units.exec()) {
            out.error = units.error();
            return out;
        }
    }
    Statement contract(QStringLiteral("DELETE FROM 合同信息 WHERE ") + kStillUnsubmitted, {number});
    if (!contract.exec()) {
        out.error = contract.error();
        return out;
    }
    if (contract.rowsAffected() < 1) {
        out.kind = DeleteOutcome::Refused;
        return out;
    }
    if (!tx.commit()) {
        out.error = tx.error();
        return out;
    }
    out.kind = DeleteOutcome::Deleted;
    return out;
}

}  // namespace corvane::contract
