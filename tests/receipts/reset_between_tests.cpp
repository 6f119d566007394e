// The receipt window's seams to the bill windows, put back before every test
// with the rest (see resetServices).
#include "receipts/BillWindowSeams.h"
#include "testsupport/TestEnvironment.h"

namespace corvane::test {
namespace {

const bool registered = [] {
    alsoResetBetweenTests([] { receipts::billWindowSeams() = receipts::BillWindowSeams(); });
    return true;
}();

}  // namespace
}  // namespace corvane::test
