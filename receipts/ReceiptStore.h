#pragma once
// What the receipt window reads and writes: its lists, the contract's
// receipt instalments with what has been received on them, the fee items of
// a 管理处, and the recording of a receipt with its bill. Windows call these;
// only these call db/.

#include <QDate>
#include <QDateTime>
#include <QString>
#include <optional>
#include <vector>

#include "app/Decimal.h"
#include "db/Sql.h"
#include "receipts/ReceiptRules.h"

namespace corvane::receipts {

// ---- Lists of the bill panel

struct Office {
    QString code, name;  // gyd_dh, gyd_name
};
// The 管理处 of a department, in the order the database gives them.
DbResult<std::vector<Office>> officesOf(const QString& department);

struct PaymentMethod {
    qint64 id = 0;
    QString name;
};
DbResult<std::vector<PaymentMethod>> paymentMethods();

// The names on every post of the department (ended ones too), by post code:
// a person with two posts is listed twice.
DbResult<QStringList> departmentStaff(const QString& department);

struct BillTypeEntry {
    QString text;  // code, blank, name
    BillKind kind = BillKind::VatInvoice;
};
// Bill types (定额 = 0) by code, then the custom layouts with bill
// management of every department, then the user's department's own
// self-numbering layouts.
DbResult<std::vector<BillTypeEntry>> billTypeEntries(const QString& userDepartment);

// The 值 of a 系统设置表 row: no value without the row, "" for a NULL 值.
DbResult<std::optional<QString>> systemSetting(const QString& name);

// Every fee item in use, with the tax settings the 管理处 has for it, by
// category and code (rate table entries in load order).
DbResult<std::vector<RateEntry>> feeItemsOf(const QString& officeCode);

struct ContractPayer {
    QString counterparty, bank, account;
};
// No value (and no error) when the contract is missing.
DbResult<std::optional<ContractPayer>> contractPayer(const QString& number);

// ---- Instalments

struct PlanRow {
    qint64 id = 0;
    QDate date;
    Decimal planned;
    Decimal received;
};
// The receipt instalments the window lists for a contract: those of its main
// contract and every merged supplement when it is itself a merged
// supplement, otherwise its own and those of its merged supplements; by date.
// The received sums are read for these instalments only. No value, with an
// error, when the contract is missing.
DbResult<std::vector<PlanRow>> receiptPlanOf(const QString& number);
// The statement receiptPlanOf runs, binding the key contract (the main
// contract of a merged supplement, otherwise the contract) twice.
QString receiptPlanSql();

// ---- Locating a bill

struct BillRef {
    QString book, number;
};
// The first bill of that number, in whatever book; no value when none.
DbResult<std::optional<BillRef>> findBillByNumber(const QString& number);

// ---- Recording

// One ticked instalment with the amount collected now.
struct Collected {
    qint64 planId = 0;
    Decimal amount;
};

// Everything the no-print road records.
struct NoPrintReceipt {
    bool generateNumber = false;  // the department's own layout: take the next number of `book`
    QString book, number;         // the chosen book and number (book = 编号字 when generated)
    qint64 billId = 0;            // the chosen number's 票据.ID
    QString department;           // 当前部门编号
    QDate issueDate, receiptDate;
    QString total, taxTotal;      // Text1(1), Text1(3) as shown
    QString payer, issuer, receiver, method;
    bool preIssued = false;
    QString office;               // 管理处 code; "" writes NULL
    QString contract;
    QString taxNumber, address, account, remark;  // "" writes NULL
    std::vector<StoredLine> lines;
    std::vector<Collected> collected;
    QDateTime now;
};
struct RecordOutcome {
    enum Kind { Done, BillTaken, Failed };
    Kind kind = Failed;
    QString book, number;  // the bill recorded (the generated one for a layout)
    qint64 billId = 0;
    DbError error;
};
// Lines, bill and receipt records in one transaction. The bill is updated
// only while it is still neither issued nor voided: another workstation that
// took it first leaves BillTaken and nothing written.
RecordOutcome recordWithoutPrinting(const NoPrintReceipt& r);

// The receipt records of the collected instalments (none for an amount of
// 0), on `db` inside the caller's transaction; false with `error` set when
// one is refused.
bool insertReceiptRecords(const QSqlDatabase& db, const QString& book, const QString& number,
                          const std::vector<Collected>& collected, const QDateTime& now, int& written, DbError& error);

// The receipt records of a printed bill, in one transaction.
DbResult<int> recordReceipts(const QString& book, const QString& number, const std::vector<Collected>& collected,
                             const QDateTime& now);

// Every (table, column) the stores name, for the schema test.
std::vector<std::pair<QString, QString>> columnsNamedByStore();

}  // namespace corvane::receipts
