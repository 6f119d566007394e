#pragma once
// What the print-file export writes on the bill tables: the number actually
// printed on a bill it used, and the void of a bill the printer spoiled. A
// bill is written only while it is still free (neither issued nor voided),
// so a bill taken by another workstation meanwhile is never written twice.

#include <QDateTime>
#include <QString>
#include <vector>

#include "db/Sql.h"

namespace corvane::receipts {

struct BillWriteOutcome {
    enum Kind { Done, NoRow, Failed };
    Kind kind = Failed;
    DbError error;
    QString number;       // 票据编号 of the written bill
    int invoice = 0;      // the batch invoice whose bill was no longer free
    bool done() const { return kind == Done; }
};

// Sets 实际票据编号 (Null for an empty text) on the free bill `id`.
BillWriteOutcome recordPrintedNumber(qint64 id, const QString& actual);

struct BatchPrintedBill {
    int invoice = 0;     // number of the invoice in the batch
    qint64 id = 0;
    QString actual;      // "" is Null
};
// All of a batch's printed numbers in one transaction: every bill must still
// be free, otherwise nothing is written and NoRow names the first invoice
// whose bill is not.
BillWriteOutcome recordPrintedNumbers(const std::vector<BatchPrintedBill>& bills);

// Voids the free bill `id` as spoiled in print ("打印错误").
BillWriteOutcome voidSpoiledBill(qint64 id, const QDateTime& at, const QString& operatorCode);

}  // namespace corvane::receipts
