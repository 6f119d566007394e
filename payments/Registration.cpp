#include "payments/Registration.h"

#include "contracts/ContractHandovers.h"
#include "payments/frm合同付款处理.h"

namespace corvane::payments {

namespace {

void openPaymentWindow(const contract::PaymentHandover& h)
{
    // A fresh window for every opening, gone when its modal run ends.
    Forms::unload<frm合同付款处理>();
    auto* w = Forms::get<frm合同付款处理>();
    w->takeHandover(h);
    w->ShowModal();
    Forms::unload<frm合同付款处理>();
}

}  // namespace

void registerPaymentWindows() { contract::contractHandovers().frm合同付款处理 = openPaymentWindow; }

}  // namespace corvane::payments
