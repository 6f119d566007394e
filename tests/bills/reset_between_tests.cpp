// The bill windows' own state, put back before every test with
// the rest (see resetServices).
#include "bills/BillFinishing.h"
#include "receipts/BillWindowSeams.h"
#include "bills/VatExchange.h"
#include "testsupport/TestEnvironment.h"

namespace corvane::test {
namespace {

const int kProgramEInvoiceTimeoutMs = receipts::eInvoiceTimeoutMs();

const bool registered = [] {
    alsoResetBetweenTests([] {
        receipts::billWindowSeams() = receipts::BillWindowSeams();
        receipts::eInvoiceTimeoutMs() = kProgramEInvoiceTimeoutMs;
        receipts::setPollClock(nullptr);
    });
    return true;
}();

}  // namespace
}  // namespace corvane::test
