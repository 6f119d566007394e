#pragma once
// What the custom bill window reads and writes: the layout of a bill page,
// the saving of a printed bill with its lines, and the voiding of a spoiled
// one. Every write is keyed by the bill's ID and conditional on the bill
// still being free, or being the one this window saved.

#include <QDateTime>
#include <QString>
#include <optional>
#include <vector>

#include "db/Sql.h"
#include "bills/CustomBillPage.h"

namespace corvane::receipts {

// The layout `name`: by name alone when the receipt window said it is on
// lent books (`panelText` not empty), else within `department`; the first
// row by ID when several match. No value when none does. A NULL where the
// page needs a value is an error.
DbResult<std::optional<BillLayout>> readBillLayout(const QString& name, const QString& panelText,
                                                   const QString& department);

// A bill to record before its first print.
struct CustomBillSave {
    PendingBill bill;
    std::vector<PendingLine> lines;
    QString department;  // 开票部门编号
    QString userName;    // 开票人, 收款人
    // The texts of the page's first 付款人, 地址 and 备注 fields; no value
    // when the page has no such field.
    std::optional<QString> payer, address, remark;
};

enum class SaveStatus { Done, NotFree, Failed };
struct SaveOutcome {
    SaveStatus status = SaveStatus::Failed;
    qint64 id = 0;
    QString number;  // 票据编号
    DbError error;
};

// Self-numbered: the next number of book `code`, its row and its lines, in
// one transaction under the book's numbering lock (on `db`: another
// workstation's connection).
SaveOutcome saveSelfNumberedBill(const QString& code, const CustomBillSave& save);
SaveOutcome saveSelfNumberedBill(const QSqlDatabase& db, const QString& code, const CustomBillSave& save);

// Managed: completes the paper bill `id` of `book` with `number` and
// replaces its lines, in one transaction. The bill must still be free, or
// be one `ownIds` names (saved by this window before); NotFree otherwise.
SaveOutcome saveManagedBill(qint64 id, const QString& book, const QString& number, const CustomBillSave& save,
                            const std::vector<qint64>& ownIds);

// Voids bill `id` with `reason` by `who` at `when`, when it is not voided
// and is free or one of `ownIds`. NotFree when it is not.
struct CustomVoidOutcome {
    SaveStatus status = SaveStatus::Failed;
    DbError error;
};
CustomVoidOutcome voidCustomBill(qint64 id, const QDateTime& when, const QString& reason, const QString& who,
                           const std::vector<qint64>& ownIds);

}  // namespace corvane::receipts
