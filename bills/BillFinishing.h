#pragma once
// The receipt window's procedures for a bill after the receipt: the final
// processing of a printed VAT invoice, the electronic invoice requested from
// the service and stored, and the plan grid's removal of ticked rows. They
// fill the receipt window's bill seams (registerBillFinishing).

#include <QPixmap>
#include <QString>

namespace corvane {
class frm合同收款;
class FlexGrid;
}  // namespace corvane

namespace corvane::receipts {

// Completes the bill of the window's last hand-back (book, number, id): its
// lines, its data and the receipt records at once, then resets the bill
// panel. A bill another workstation issued or voided meanwhile is refused
// and nothing is written.
void 票据最终处理(frm合同收款& w);

// Removes the ticked rows of a plan grid (keeping its heading row) and
// numbers the rest from 1. Nothing calls it.
void 自定义票据最终处理(FlexGrid& grid, const QPixmap& tick);

// Asks the service for an electronic invoice of the bill panel and stores
// it; true when the invoice was issued and stored. The window is disabled
// while the request waits.
bool 电子发票处理(frm合同收款& w);
// The reply of an issue: its invoice stored; true when it was.
bool 电子发票开具成功处理(frm合同收款& w, const QString& reply);
// Stores an issued invoice with its book, lines and receipt records and
// resets the bill panel; false (after saying what to note down) when it
// could not be stored.
bool 保存电子发票信息(frm合同收款& w, const QString& code, const QString& number, const QString& pdfUrl,
                      const QString& spUrl);

// How long the service may take to answer, in milliseconds.
int& eInvoiceTimeoutMs();
inline const QString kEInvoiceTimeoutText =
    QStringLiteral("电子发票接口60秒内没有应答，发票可能已经开具，请核实后再处理");

// Fills 票据最终处理, 电子发票处理 and frm票据查询 of billWindowSeams().
void registerBillFinishing();

}  // namespace corvane::receipts
