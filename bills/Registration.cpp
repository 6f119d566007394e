#include "bills/Registration.h"

#include "bills/BillFinishing.h"
#include "bills/frm自定义票据打印.h"
#include "bills/frm增值税发票打印.h"
#include "bills/frm开票项目设置.h"
#include "receipts/BillWindowSeams.h"
#include "receipts/frm合同收款.h"

namespace corvane::receipts {

namespace {

// A fresh VAT invoice window for every invoice: each opening starts from its load.
void openVatInvoiceWindow(frm合同收款& receipt, const VatInvoiceHandover& h)
{
    Forms::unload<frm增值税发票打印>();
    auto* w = Forms::get<frm增值税发票打印>();
    w->takeHandover(&receipt, h);
    w->ShowModal();
    Forms::unload<frm增值税发票打印>();
}

// Opened from a receipt, the settings of that receipt's 管理处 are shown first.
void openInvoicingItemSettings()
{
    auto* w = Forms::get<frm开票项目设置>();
    if (const auto* receipt = Forms::find<frm合同收款>()) w->chooseOffice(receipt->Combo3->currentText());
    w->ShowModal();
    Forms::unload<frm开票项目设置>();
}

}  // namespace

void registerBillWindows()
{
    registerBillFinishing();
    registerCustomBillWindow();
    billWindowSeams().frm增值税发票打印 = openVatInvoiceWindow;
    billWindowSeams().frm开票项目设置 = openInvoicingItemSettings;
}

}  // namespace corvane::receipts
