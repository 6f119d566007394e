#pragma once

namespace corvane::receipts {

// Makes the contract list's 收款 button open the receipt window.
void registerReceiptWindows();

}  // namespace corvane::receipts
