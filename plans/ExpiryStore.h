#pragma once
// Ending a contract (its state, termination and penalty columns, the
// write-off of its unpaid payment instalments) and renewing it at expiry.
// Windows call these; only these call db/.

#include <QDate>
#include <QString>
#include <optional>

#include "db/Sql.h"

namespace corvane::plans {

// What the expiry window shows of a contract.
struct ExpiryContract {
    qint64 id = 0;
    QString number;
    std::optional<qint64> amount;  // hundredths
    std::optional<QDate> 生效日期, 终止日期, 中止日期, 违约金收付日期;
    QString 中止类别, 中止原因, 违约金处理方式;
    std::optional<qint64> 违约金;  // hundredths
    bool 余款勾销 = false, 合同续签 = false;  // true only when stored as 1
};
// The contract of that id; no value inside when there is none.
DbResult<std::optional<ExpiryContract>> expiryContract(qint64 id);
// The same by number (the first of that number by id).
DbResult<std::optional<ExpiryContract>> expiryContractByNumber(const QString& number);

// The sum of 余额 over the contract's payment instalments; none when it has
// none (or none with a balance).
DbResult<std::optional<qint64>> paymentPlanBalance(const QString& number);

// How many contracts name this one as the contract they renew.
DbResult<int> renewalsOf(const QString& number);

struct Termination {
    QString state, category, reason, penaltyHandling;
    QDate terminationDate;
    std::optional<qint64> penalty;          // hundredths; NULL when none
    std::optional<QDate> penaltyDate;       // NULL when none
    bool writeOff = false, renewal = false;
    // The contract as the window loaded it: its termination columns must
    // still be so, or another workstation has ended it meanwhile (Changed).
    std::optional<ExpiryContract> loaded;
};
struct TerminationOutcome {
    enum Kind { Done, NoRow, Changed, Failed };
    Kind kind = Failed;
    int writtenOff = 0;  // payment instalments deleted
    DbError error;
};
// In one transaction: when writeOff, the contract's payment instalments
// still wholly unpaid and held by no payment are deleted; then the
// contract's row is updated. Nothing stays written unless all of it is.
TerminationOutcome endContract(qint64 id, const Termination& t);

struct RenewalOutcome {
    enum Kind { Done, AlreadyRenewed, Exhausted, NoRow, Failed };
    Kind kind = Failed;
    QString number;
    qint64 id = 0;
    DbError error;
};
// The renewal of contract `oldId` starting on `start`: numbered year of
// `start`, "-", seven digits under the contract numbering lock, refused when
// another contract already renews it.
RenewalOutcome renewContract(const QSqlDatabase& db, qint64 oldId, const QDate& start, const QDate& today,
                             const QString& operatorCode);
RenewalOutcome renewContract(qint64 oldId, const QDate& start, const QDate& today, const QString& operatorCode);

}  // namespace corvane::plans
