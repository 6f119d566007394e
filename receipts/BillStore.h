#pragma once
// The bill tables every bill-issuing window works on: which books a
// department may use, which numbers of a book are free, and the numbers a
// self-numbering custom layout gives its bills. Windows call these; only
// these call db/.

#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <utility>
#include <vector>

#include "db/Sql.h"

namespace corvane::receipts {

// A bill book that a department may use, with its free bills counted when
// the caller asked for books that still have some.
struct LentBook {
    QString book;  // 入库单编号
    int freeBills = 0;
};

// The books of bill type `type` lent to `department` and not written off or
// returned, by book number; then, for every department whose books it shares
// (票据共用设置, in the order the database gives them, codes trimmed), that
// department's books. A book reached both ways is listed twice. With
// `onlyWithFreeBills` only books that still hold a free bill are listed and
// each carries its count (the print-file export's list).
DbResult<std::vector<LentBook>> lentBooks(const QString& department, const QString& type,
                                          bool onlyWithFreeBills = false);

// A bill number that is neither issued nor voided.
struct FreeBill {
    QString number;  // 票据编号
    qint64 id = 0;   // 票据.ID
};
// The free bills of a book, by number as the database orders the text.
DbResult<std::vector<FreeBill>> freeBills(const QString& book);

// A self-numbered bill's number: eight digits with leading zeros, a number
// of nine or more digits in full.
QString selfNumberText(qint64 serial);

// The number a self-numbering layout `code` gives its next bill: one above
// the highest 流水号 of the book (1 when there is none), stepped on while a
// bill of that number exists. Read on `db` without a lock: call it inside
// the allocating transaction (addSelfNumberedBill does).
DbResult<qint64> nextSelfNumber(const QSqlDatabase& db, const QString& code);

struct NewBill {
    qint64 id = 0;
    QString number;
    qint64 serial = 0;
};
// What else the new row receives. The receipt window writes neither serial
// nor data, so MAX(流水号) does not move and the stepping skips its numbers;
// the custom bill window writes both.
struct SelfNumberedExtras {
    bool writeSerial = false;
    std::vector<std::pair<QString, QVariant>> columns;
};
// Adds the next bill of layout `code` (入库单编号 = code, the number, 开票部门编号
// = department). Must run inside the caller's Write transaction on `db`: it
// takes the numbering lock of the book there, so two workstations never get
// the same number, and a caller that fails later rolls the row back with the
// rest of its action. The UNIQUE key on (入库单编号, 票据编号) is the backstop.
DbResult<NewBill> addSelfNumberedBill(const QSqlDatabase& db, const QString& code, const QString& department,
                                      const SelfNumberedExtras& extras = {});

// The same in a transaction of its own on the login connection: the bill is
// taken at once.
DbResult<NewBill> takeSelfNumberedBill(const QString& code, const QString& department);

// The numbering lock's key of a self-numbered book.
QString selfNumberingKey(const QString& code);

}  // namespace corvane::receipts
