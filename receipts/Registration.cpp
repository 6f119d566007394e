#include "receipts/Registration.h"

#include "contracts/ContractHandovers.h"
#include "receipts/frm合同收款.h"

namespace corvane::receipts {

namespace {

// A fresh window for every contract, gone when its modal run ends.
void openReceiptWindow(const contract::ReceiptHandover& h)
{
    Forms::unload<frm合同收款>();
    auto* w = Forms::get<frm合同收款>();
    w->takeHandover(h);
    w->ShowModal();
    Forms::unload<frm合同收款>();
}

}  // namespace

void registerReceiptWindows() { contract::contractHandovers().frm合同收款 = openReceiptWindow; }

}  // namespace corvane::receipts
