#pragma once

namespace corvane::receipts {

// Fills the receipt window's bill seams (billWindowSeams()): the VAT invoice
// and custom bill windows, the final processing of a printed bill, the
// electronic invoice, the invoicing item settings and the bill query.
void registerBillWindows();

}  // namespace corvane::receipts
