#pragma once
// Money amounts in Chinese capital numerals for vouchers, bills and the
// payment window. Exact decimal arithmetic: an amount never passes through a
// binary floating-point value, so 0.00005 and 1234567.89 read as written.

#include <QString>

namespace corvane {

// The amount at the start of the text (sign, digits, point, exponent; blanks,
// tabs and line feeds ignored) in capitals, without its sign: "1.05" gives
// "壹圆零伍分", "60.00" gives "陆拾圆整". Zero, a text that is not a number and
// an amount of 10^15 or more (beyond the units 万亿 can name) give "".
QString 金额大写(const QString& amount);
// The same conversion under the name other windows call.
QString 金额大写2(const QString& amount);

}  // namespace corvane
