#include "bills/PrintFileExportStore.h"

#include "db/Connection.h"

namespace corvane::receipts {

namespace {

const QString kStillFree = QStringLiteral(" AND 开票日期 IS NULL AND 作废日期 IS NULL");

QVariant actualValue(const QString& actual) { return actual.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(actual); }

BillWriteOutcome failedWith(const DbError& error)
{
    BillWriteOutcome out;
    out.error = error;
    return out;
}

// The number of a free bill, or an empty text when it is no longer free.
DbResult<QString> freeBillNumber(const QSqlDatabase& db, qint64 id)
{
    Statement st(db, QStringLiteral("SELECT 票据编号 FROM 票据 WHERE ID = ?") + kStillFree, {id});
    if (!st.exec()) return st.error();
    QString number;
    if (st.next()) number = st.value(0).toString();
    if (st.error().isValid()) return st.error();
    return number;
}

BillWriteOutcome setActual(const QSqlDatabase& db, qint64 id, const QString& actual)
{
    BillWriteOutcome out;
    auto number = freeBillNumber(db, id);
    if (!number) {
        out.error = number.error();
        return out;
    }
    Statement st(db, QStringLiteral("UPDATE 票据 SET 实际票据编号 = ? WHERE ID = ?") + kStillFree, {actualValue(actual), id});
    if (!st.exec()) {
        out.error = st.error();
        return out;
    }
    out.kind = st.rowsAffected() == 1 ? BillWriteOutcome::Done : BillWriteOutcome::NoRow;
    out.number = *number;
    return out;
}

}  // namespace

BillWriteOutcome recordPrintedNumber(qint64 id, const QString& actual)
{
    const QSqlDatabase db = DbConnection();
    Transaction tx(db, Transaction::Write);
    if (!tx.isActive()) return failedWith(tx.error());
    BillWriteOutcome out = setActual(db, id, actual);
    if (!out.done()) return out;
    if (!tx.commit()) return failedWith(tx.error());
    return out;
}

BillWriteOutcome recordPrintedNumbers(const std::vector<BatchPrintedBill>& bills)
{
    const QSqlDatabase db = DbConnection();
    Transaction tx(db, Transaction::Write);
    if (!tx.isActive()) return failedWith(tx.error());
    for (const BatchPrintedBill& b : bills) {
        BillWriteOutcome out = setActual(db, b.id, b.actual);
        if (!out.done()) {
            out.invoice = b.invoice;
            return out;
        }
    }
    if (!tx.commit()) return failedWith(tx.error());
    BillWriteOutcome done;
    done.kind = BillWriteOutcome::Done;
    return done;
}

BillWriteOutcome voidSpoiledBill(qint64 id, const QDateTime& at, const QString& operatorCode)
{
    const auto done = executeQuiet(QStringLiteral("UPDATE 票据 SET 作废日期 = ?, 作废原因 = '打印错误', 作废人 = ? WHERE ID = ?") + kStillFree,
                              {dateTimeValue(at), operatorCode, id});
    BillWriteOutcome out;
    if (!done) {
        out.error = done.error();
        return out;
    }
    out.kind = *done == 1 ? BillWriteOutcome::Done : BillWriteOutcome::NoRow;
    return out;
}

}  // namespace corvane::receipts
