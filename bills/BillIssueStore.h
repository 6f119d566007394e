#pragma once
// What happens to a bill after the receipt: a printed VAT invoice is
// completed with its lines and receipt records, an issued electronic invoice
// is stored with its book, lines and receipt records, and the bills of a
// contract are listed and a pre-issued one collected. Windows call these;
// only these call db/.

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>
#include <optional>
#include <vector>

#include "db/Sql.h"
#include "receipts/ReceiptRules.h"
#include "receipts/ReceiptStore.h"

namespace corvane::receipts {

struct IssueOutcome {
    // NoRow: the bill was no longer in the state the action needs (another
    // workstation issued, voided or collected it); nothing was written.
    enum Kind { Done, NoRow, Failed };
    Kind kind = Failed;
    qint64 billId = 0;
    DbError error;
};

// ---- A printed VAT invoice

// A line as the final processing of a printed bill stores it: the numbers
// their text begins with, except that an empty 数量, 单价 or 金额 stays NULL
// (an empty 税率 or 税额 is 0).
struct FinishedLine {
    StoredLine values;
    bool 数量空 = false, 单价空 = false, 金额空 = false;
};
FinishedLine finishedLine(const InvoiceLine& line);

struct PrintedBill {
    QString book, number;  // the hand-back's 入库单编号 and 票据编号
    qint64 billId = 0;     // and its 票据.ID
    QString department;    // 当前部门编号
    std::optional<QString> office;  // the chosen 管理处's code; unchanged without one
    QString contract;
    QDate issueDate, receiptDate;
    QString payer, issuer, receiver, method;
    QString taxNumber, address, account, remark;  // "" writes NULL
    QString total, taxTotal;                     // Text1(1), Text1(3) as shown
    bool preIssued = false;
    std::vector<InvoiceLine> lines;  // rows with an item only
    std::vector<Collected> collected;
    QDateTime now;
};
// The lines, the bill's data and the receipt records in one transaction.
// The bill is completed only while it is still neither issued nor voided;
// otherwise NoRow and nothing written. On the login connection, or on `db`
// (another workstation's).
IssueOutcome finishPrintedBill(const PrintedBill& bill);
IssueOutcome finishPrintedBill(const QSqlDatabase& db, const PrintedBill& bill);

// ---- An issued electronic invoice

struct ElectronicBill {
    QString code, number, pdfUrl, spUrl;  // FP_DM, FP_HM, PDF_URL, SP_URL
    QString typeCode;                     // the book's 票据类型编号 when it is new
    QString department;
    QString payer, taxNumber, address, account;  // "" stays ""
    QString mobile, email;                       // "" writes NULL
    QString total, taxTotal;
    QString issuer, receiver, method, office, contract;
    std::vector<InvoiceLine> lines;  // rows with an item only
    std::vector<Collected> collected;
    QDateTime now;
};
// The book (only when the code is new), the bill, its lines and the receipt
// records in one transaction: all of them or none.
IssueOutcome storeElectronicInvoice(const ElectronicBill& bill);

// ---- The bills of a contract

struct QueriedBill {
    qint64 id = 0;
    QString 入库单编号, 票据编号, 开票部门编号;
    QDateTime 开票日期;
    QString 付款人, 金额, 税额;  // amounts "0.00", "" for NULL
    bool 预开 = false;
    QDateTime 收款日期;  // null while a pre-issued bill is not collected
    QString 开票人, 收款人, 税号, 账号, 地址, PDFURL, SPURL;
};
// The issued bills of `department` that cover a receipt record of the
// contract's instalments, each once, by number and id.
DbResult<std::vector<QueriedBill>> billsOfContract(const QString& contract, const QString& department);

struct QueriedLine {
    qint64 id = 0;
    QString 项目, 摘要, 单位, 科目代号;     // "" for NULL
    QVariant 数量, 单价, 金额, 税率, 税额;  // as read; null for NULL
};
// The lines of a bill by id.
DbResult<std::vector<QueriedLine>> billLines(const QString& book, const QString& number);

// Collects a pre-issued bill: its receipt records and the bill get the
// receipt date, the bill its collector and method, in one transaction. NoRow
// when the bill has been collected meanwhile (or is gone): nothing written.
IssueOutcome collectPreIssuedBill(qint64 billId, const QString& book, const QString& number, const QDate& date,
                                  const QString& receiver, const QString& method);

// Every (table, column) these name, for the schema test.
std::vector<std::pair<QString, QString>> columnsNamedByIssueStore();

}  // namespace corvane::receipts
