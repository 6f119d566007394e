#pragma once
// The bill windows and procedures the receipt window hands a bill to, built
// with bill and invoice printing. Each registers itself here; until it does,
// the receipt window says the window is not available and writes nothing.
// A print window hands its bill back as a value (BillHandBack), never by
// writing the receipt window's controls.

#include <QDate>
#include <QString>
#include <array>
#include <functional>
#include <optional>
#include <vector>

namespace corvane {
class frm合同收款;
}

namespace corvane::receipts {

// The bill a print window printed, handed back to the receipt window: its
// book (入库单编号), its number (票据编号) and, on the VAT road, its 票据ID
// (none when the window's id was no number).
struct BillHandBack {
    QString book, number;
    std::optional<qint64> billId;
    bool operator==(const BillHandBack&) const = default;
};
// How a print window delivers it: the bill, or none when it closes without one.
using BillHandBackTo = std::function<void(const std::optional<BillHandBack>&)>;

// What the VAT invoice window is filled with before it is shown modally. It
// hands back 入库单编号, 票据编号 and 票据ID when it has printed.
struct VatInvoiceHandover {
    QString Label1_0;          // "发票类型：" + the chosen bill type
    QString MSFlexGrid2Tag;    // the 管理处, code blank name
    int MSFlexGrid1Rows = 1;   // heading row included
    // Per line: item name (SKXM), 规格型号, unit, quantity, net unit price,
    // net amount, rate, tax, tax-control item code.
    std::vector<std::array<QString, 9>> lines;
    std::array<QString, 5> buyer;  // 名称, 纳税人税别号, 地址、电话, 开户行及账号, 备注
    QString Label1_2;          // "价税合计：…元     税额：…元"
    QString tag;               // "前台收款"
};

// What the custom bill window reads from the receipt window while it is
// open, gathered when it is shown. It prints and saves the bill itself and
// hands back 入库单编号 and 票据编号 when it has.
struct ReceiptBillContext {
    QString tag;            // "前台收款"
    QString statusPanel6;   // a layout on lent books: the bill type text, else ""
    bool chooseBillFirst = false;  // a layout on lent books: 票据选择 shown, 打印 disabled
    QString layoutName;     // second word of Combo2
    QString method;         // Combo1
    QDate issueDate;        // DTPicker2
    QDate receiptDate;      // DTPicker1
    bool preIssued = false; // Check2
    QString payer, address, remark;  // Text5(0), Text5(2), Text5(4)
    QString contract;       // Text3(0)'s tag
    QString taxTotal;       // Text1(3)
    struct Line {
        std::array<QString, 16> cells;  // columns 0-7, 9, 10, 11, 14, 15 are read
        int mark = 0;                   // 1 when its item was picked in the tree
    };
    std::vector<Line> lines;
};

struct BillWindowSeams {
    // Shown modally; both return the bill printed, none when nothing was.
    std::function<std::optional<BillHandBack>(frm合同收款&, const VatInvoiceHandover&)> frm增值税发票打印;
    std::function<std::optional<BillHandBack>(frm合同收款&, const ReceiptBillContext&)> frm自定义票据打印;
    // Finishes a printed VAT invoice from the window's last hand-back: its
    // lines and bill data, the receipt records (处理收款计划) and the reset.
    std::function<void(frm合同收款&)> 票据最终处理;
    // Requests, stores and records an electronic invoice; true when issued.
    std::function<bool(frm合同收款&)> 电子发票处理;
    // The invoicing item settings window, shown modally on the receipt's 管理处
    // (its list entry, code blank name).
    std::function<void(const QString& office)> frm开票项目设置;
    // The bill query window, shown modally with its tag set to the contract number.
    std::function<void(const QString& contractNumber)> frm票据查询;
};

BillWindowSeams& billWindowSeams();

}  // namespace corvane::receipts
