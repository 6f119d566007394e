#pragma once
// What the VAT invoice window and the invoicing item settings window read
// and write: VAT bill types, the export numbering of a 管理处, locating and
// voiding free bills, and the tax-control settings of the fee items.
// Windows call these; only these call db/.

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "db/Sql.h"
#include "receipts/BillStore.h"

namespace corvane::receipts {

// ---- VAT invoice window

// The bill types without a fixed amount, "code name", by code.
DbResult<QStringList> vatBillTypes();

// 编号字 and 起始编号 of a 管理处 row; each may be NULL.
struct ExportNumbering {
    std::optional<qint64> prefix, start;
    bool complete() const { return prefix && start; }
};
// No value (and no error) when the 管理处 has no row.
DbResult<std::optional<ExportNumbering>> exportNumberingOf(const QString& officeCode);

// The books among `books` that hold a free bill (not issued, voided or
// written off) of that number, by book.
DbResult<QStringList> booksHoldingFreeBill(const QString& number, const QStringList& books);

// The bills of a book neither issued nor voided whose number is not above
// `number` (compared as text), by number.
DbResult<std::vector<FreeBill>> freeBillsUpTo(const QString& book, const QString& number);

struct VoidOutcome {
    enum Kind { Done, Taken, Failed };
    Kind kind = Failed;
    QString taken;  // the number of the bill another workstation issued or voided first
    DbError error;
};
// Marks the bills void ("打印错误", by `user`) in one transaction; each must
// still be free, else nothing is written.
VoidOutcome voidPrintedWrong(const std::vector<FreeBill>& bills, const QString& user, const QDateTime& now);

// The interface file number an export takes: 编号字 and 起始编号 read
// under the numbering lock, 起始编号 moved on by one in the same
// transaction, so two workstations of one 管理处 never export files of the
// same name. NotSet: no row, or 编号字 or 起始编号 NULL; nothing written.
struct ExportReservation {
    enum Kind { Done, NotSet, Failed };
    Kind kind = Failed;
    qint64 prefix = 0, start = 0;
    DbError error;
};
ExportReservation reserveExportNumber(const QString& officeCode);
ExportReservation reserveExportNumber(const QSqlDatabase& db, const QString& officeCode);

enum class AdvanceOutcome { Done, NoRow, Failed };
// 起始编号 becomes readStart + 1 unless it is that far or further already
// (the export's reservation moved it; another workstation did): the number
// never goes down.
AdvanceOutcome advanceExportNumber(const QString& officeCode, qint64 readStart, DbError* error = nullptr);

// ---- Invoicing item settings window

struct OfficeEntry {
    QString code, name;
    QString text() const { return code + QLatin1Char(' ') + name; }
};
// The 管理处 of the departments in which the user holds a post, by code.
DbResult<std::vector<OfficeEntry>> officesOfUser(const QString& employeeNumber);

struct FeeItem {
    QString code, name, display;
    QString subject;  // "code name" when the item's default subject exists, else ""
};
// The fee items in use, by code.
DbResult<std::vector<FeeItem>> activeFeeItems();

struct Subject {
    QString code, name, superior;
};
// Every subject, by the length of its code, then by code.
DbResult<std::vector<Subject>> subjectsByLevel();

struct StoredSetting {
    qint64 id = 0;
    QString item, skdh, skxm, rate;
    QString subject;  // "code name" when the stored subject exists, else ""
};
// The stored settings of a 管理处, by ID.
DbResult<std::vector<StoredSetting>> storedSettingsOf(const QString& officeCode);

// One grid row to store: an id of 0 is inserted.
struct SettingRow {
    qint64 id = 0;
    QString item, subjectCode, skdh, skxm, rate;
};
// Updates or inserts every row in one transaction; a row whose stored row
// has gone meanwhile is inserted again.
DbResult<int> saveSettings(const QString& officeCode, const std::vector<SettingRow>& rows);
// Replaces all settings of `target` by `rows` in one transaction; nothing
// happens when rows is empty.
DbResult<int> applySettings(const QString& target, const std::vector<SettingRow>& rows);

// ---- Export numbering panel

struct NumberingOutcome {
    enum Kind { Done, PrefixUsed, TooLow, NoRow, Failed };
    Kind kind = Failed;
    qint64 lowest = 1;  // TooLow: the smallest 起始编号 allowed
    DbError error;
};
// Checks and stores 编号字 and 起始编号 in one transaction under the
// numbering lock, so two offices never take the same 编号字.
NumberingOutcome storeExportNumbering(const QString& officeCode, qint64 prefix, qint64 start);

// Every (table, column) these name, for the schema test.
std::vector<std::pair<QString, QString>> columnsNamedByVatStore();

}  // namespace corvane::receipts
