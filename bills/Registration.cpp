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
std::optional<BillHandBack> openVatInvoiceWindow(frm合同收款&, const VatInvoiceHandover& h)
{
    Forms::unload<frm增值税发票打印>();
    auto* w = Forms::get<frm增值税发票打印>();
    std::optional<BillHandBack> printed;
    w->takeHandover(h, [&printed](const std::optional<BillHandBack>& bill) { printed = bill; });
    w->ShowModal();
    Forms::unload<frm增值税发票打印>();
    return printed;
}

// Opened from a receipt, the settings of that receipt's 管理处 are shown first.
void openInvoicingItemSettings(const QString& office)
{
    auto* w = Forms::get<frm开票项目设置>();
    w->chooseOffice(office);
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
