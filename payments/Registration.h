#pragma once

namespace corvane::payments {

// Fills the contract list's payment hand-over with the payment window.
void registerPaymentWindows();

}  // namespace corvane::payments
