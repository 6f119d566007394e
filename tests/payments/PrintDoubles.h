#pragma once
// A voucher measure with fixed figures: every character is as wide as it is
// high, size × 20 twips.

#include "payments/VoucherLayout.h"

namespace corvane::test {

// size × 20 twips a character, in millimetres.
inline payments::VoucherMeasure fixedVoucherMeasure()
{
    payments::VoucherMeasure m;
    m.width = [](double size, bool, const QString& s) { return s.size() * size * 20 * 25.4 / 1440; };
    m.height = [](double size, bool, const QString&) { return size * 20 * 25.4 / 1440; };
    return m;
}

}  // namespace corvane::test
