#include "receipts/ReceiptRules.h"
#include "platform/TextFile.h"

namespace corvane::receipts {

namespace {

constexpr __int128 pow10(int n)
{
    __int128 v = 1;
    for (int i = 0; i < n; ++i) v *= 10;
    return v;
}
constexpr __int128 kScale = pow10(LineNumber::kPlaces);
// Digits kept before the point; a longer number is read as far as this.
constexpr int kMaxWholeDigits = 24;

__int128 divideRounded(__int128 numerator, __int128 denominator)
{
    const bool negative = (numerator < 0) != (denominator < 0);
    const __int128 n = numerator < 0 ? -numerator : numerator;
    const __int128 d = denominator < 0 ? -denominator : denominator;
    __int128 q = n / d;
    if ((n % d) * 2 >= d) ++q;
    return negative ? -q : q;
}

QString int128Text(__int128 v)
{
    if (v == 0) return QStringLiteral("0");
    QString digits;
    while (v > 0) {
        digits.prepend(QChar(char16_t(u'0' + int(v % 10))));
        v /= 10;
    }
    return digits;
}

QVariant textOrNull(const QString& text)
{
    return text.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(text);
}

}  // namespace

// ---- LineNumber

LineNumber LineNumber::of(const QString& text)
{
    int i = 0;
    const int n = int(text.size());
    while (i < n && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t'))) ++i;
    bool negative = false;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    __int128 whole = 0, fraction = 0;
    int wholeDigits = 0, places = 0;
    bool point = false, roundUp = false, seenRoundDigit = false;
    for (; i < n; ++i) {
        const QChar ch = text[i];
        if (ch == QLatin1Char('.') && !point) {
            point = true;
            continue;
        }
        if (ch < QLatin1Char('0') || ch > QLatin1Char('9')) break;
        const int digit = ch.unicode() - u'0';
        if (!point) {
            if (wholeDigits < kMaxWholeDigits) whole = whole * 10 + digit;
            if (whole != 0) ++wholeDigits;
        } else if (places < kPlaces) {
            fraction = fraction * 10 + digit;
            ++places;
        } else if (!seenRoundDigit) {
            roundUp = digit >= 5;
            seenRoundDigit = true;
        }
    }
    __int128 raw = whole * kScale + fraction * pow10(kPlaces - places) + (roundUp ? 1 : 0);
    return fromRaw(negative ? -raw : raw);
}

LineNumber LineNumber::of(Decimal d) { return fromRaw(__int128(d.raw()) * pow10(kPlaces - Decimal::kPlaces)); }

LineNumber LineNumber::operator*(LineNumber b) const
{
    __int128 product = 0;
    if (__builtin_mul_overflow(m_raw, b.m_raw, &product)) return LineNumber();
    return fromRaw(divideRounded(product, kScale));
}

std::optional<LineNumber> LineNumber::operator/(LineNumber b) const
{
    if (b.m_raw == 0) return std::nullopt;
    __int128 scaled = 0;
    if (__builtin_mul_overflow(m_raw, kScale, &scaled)) return LineNumber();
    return fromRaw(divideRounded(scaled, b.m_raw));
}

LineNumber LineNumber::rounded(int places) const
{
    const __int128 unit = pow10(kPlaces - places);
    return fromRaw(divideRounded(m_raw, unit) * unit);
}

QString LineNumber::fixed(int places) const
{
    const __int128 r = divideRounded(m_raw, pow10(kPlaces - places));
    const bool negative = r < 0;
    const __int128 a = negative ? -r : r;
    const __int128 unit = pow10(places);
    QString out = int128Text(a / unit);
    if (places > 0) {
        QString frac = int128Text(a % unit);
        out += QLatin1Char('.') + QString(places - frac.size(), QLatin1Char('0')) + frac;
    }
    return negative ? QLatin1Char('-') + out : out;
}

Decimal LineNumber::decimal() const
{
    return Decimal::fromRaw(qint64(divideRounded(m_raw, pow10(kPlaces - Decimal::kPlaces))));
}

// ---- Rates and lines

Decimal 查找当前税率(const std::vector<RateEntry>& table, const QString& code, CurrentItem& current)
{
    for (const RateEntry& e : table) {
        if (e.DH != code) continue;
        current.当前应税科目 = e.应税科目;
        current.当前税控项目编号 = e.SKDH;
        current.当前税控项目名称 = e.SKXM;
        current.当前对应科目 = e.对应科目;
        return Decimal::quotient(e.税率, 100, 4, Rounding::HalfAwayFromZero).value_or(Decimal());
    }
    return Decimal();
}

namespace {

LineNumber v(const QString& text) { return LineNumber::of(text); }
LineNumber quotientOr0(LineNumber a, LineNumber b) { return (a / b).value_or(LineNumber()); }
LineNumber onePlus(Decimal rate) { return LineNumber::of(Decimal::whole(1) + rate); }

void writeCodes(InvoiceLine& line, const CurrentItem& current)
{
    line.c[col::应税科目] = current.当前应税科目;
    line.c[col::税控编号] = current.当前税控项目编号;
    line.c[col::税控名称] = current.当前税控项目名称;
}

// Net unit price, net amount and tax of `quantity` units from the tax-included price.
void writeNet(InvoiceLine& line, LineNumber price, LineNumber quantity, Decimal rate)
{
    line.c[col::不含税单价] = quotientOr0(price, onePlus(rate)).fixed(6);
    const LineNumber net = quantity * v(line.c[col::不含税单价]);
    line.c[col::不含税金额] = net.fixed(2);
    line.c[col::税额] = (LineNumber::of(rate) * net).fixed(2);
}

}  // namespace

Totals totalsOf(const std::vector<InvoiceLine>& lines)
{
    LineNumber amount, tax;
    for (const InvoiceLine& l : lines) {
        amount = (amount + v(l.c[col::金额])).rounded(2);
        tax = (tax + v(l.c[col::税额])).rounded(2);
    }
    return {amount.fixed(2), (amount - tax).fixed(2), tax.fixed(2)};
}

QString taxTotalOf(const std::vector<InvoiceLine>& lines) { return totalsOf(lines).合计税额; }

void pickItem(InvoiceLine& line, const QString& name, const QString& code, const std::vector<RateEntry>& table,
              CurrentItem& current)
{
    line.c[col::项目] = name;
    line.c[col::收费项目] = code;
    current.当前税率 = 查找当前税率(table, code, current);
    line.c[col::税率] = current.当前税率.fixed(2);
    line.c[col::对应科目] = current.当前对应科目;
    writeCodes(line, current);
    LineNumber quantity = v(line.c[col::数量]);
    if (quantity.isZero()) quantity = LineNumber::of(Decimal::whole(1));
    writeNet(line, v(line.c[col::单价]), quantity, current.当前税率);
    line.mark = 1;
}

void computeFromQuantityAndPrice(InvoiceLine& line, const std::vector<RateEntry>& table, CurrentItem& current)
{
    const LineNumber q = v(line.c[col::数量]), p = v(line.c[col::单价]);
    line.c[col::金额] = (q * p).fixed(2);
    current.当前税率 = 查找当前税率(table, line.c[col::收费项目], current);
    line.c[col::税率] = current.当前税率.fixed(2);
    writeNet(line, p, q, current.当前税率);
    writeCodes(line, current);
}

void computeFromAmount(InvoiceLine& line, const std::vector<RateEntry>& table, CurrentItem& current)
{
    current.当前税率 = 查找当前税率(table, line.c[col::收费项目], current);
    writeCodes(line, current);
    line.c[col::税率] = current.当前税率.fixed(2);
    if (v(line.c[col::数量]).isZero()) line.c[col::数量] = QStringLiteral("1");
    line.c[col::单价] = quotientOr0(v(line.c[col::金额]), v(line.c[col::数量])).fixed(6);
    writeNet(line, v(line.c[col::单价]), v(line.c[col::数量]), current.当前税率);
}

void 增值税计算(InvoiceLine& line, const CurrentItem& current)
{
    const Decimal rate = current.当前税率;
    line.c[col::税率] = rate.fixed(2);
    const LineNumber taxIncluded = (v(line.c[col::金额]) * LineNumber::of(rate)).rounded(4);
    line.c[col::税额] = quotientOr0(taxIncluded, onePlus(rate)).fixed(2);
    line.c[col::税控编号] = current.当前税控项目编号;
    line.c[col::税控名称] = current.当前税控项目名称;
    line.c[col::不含税单价] = quotientOr0(v(line.c[col::单价]), onePlus(rate)).fixed(6);
    line.c[col::不含税金额] = (v(line.c[col::数量]) * v(line.c[col::不含税单价])).fixed(2);
}

// ---- Model text (规格型号) of a VAT line

int displayWidth(const QString& text)
{
    int w = 0;
    for (QChar ch : text) w += ch.unicode() > 126 ? 2 : 1;
    return w;
}

QString 规格型号处理(const QString& text)
{
    constexpr int kWidth = 40;
    if (displayWidth(text) <= kWidth) return text;
    const QStringList e = text.split(QLatin1Char(','));
    const int U = int(e.size()) - 1;
    if (U == 0) {
        QString out;
        int w = 0;
        for (QChar ch : text) {
            const int cw = ch.unicode() > 126 ? 2 : 1;
            if (w + cw > kWidth) break;
            w += cw;
            out += ch;
        }
        return out;
    }
    const auto value = [](const QString& s) { return v(s).decimal(); };
    QString r = e[0];
    int start = 0;
    for (int j = 1; j <= U; ++j) {
        const Decimal d = value(e[j]) - value(e[j - 1]);
        const bool brk = d > Decimal::whole(1) && d != Decimal::whole(13);
        if (brk) {
            if (j - 1 == start)
                r += QLatin1Char(',') + e[j];
            else
                r += QLatin1Char('-') + e[j - 1].right(2) + QLatin1Char(',') + e[j];
            start = j;
        } else if (j == U) {
            r += QLatin1Char('-') + e[U].right(2);
        }
    }
    return r.left(kWidth);
}

// ---- Spreading a total

std::vector<Spread> spreadTotal(Decimal total, const std::vector<Decimal>& balances)
{
    std::vector<Spread> out(balances.size());
    Decimal rest = total;
    for (size_t i = 0; i < balances.size(); ++i) {
        const Decimal b = balances[i];
        if (b.isZero()) continue;
        out[i].marked = true;
        if (rest > b) {
            out[i].amount = b.fixed(2);
            rest -= b;
        } else {
            out[i].amount = rest.fixed(2);
            break;
        }
    }
    return out;
}

// ---- Hand-back and settings file

bool isPrinted(const std::optional<BillHandBack>& back, PrintRoad road)
{
    if (!back || back->book.isEmpty() || back->number.isEmpty()) return false;
    return road == PrintRoad::Custom || back->billId.has_value();
}

QString firstField(const QString& fileText)
{
    return firstFieldOfEachLine(fileText).value(0);
}

StoredLine storedLine(const InvoiceLine& line)
{
    StoredLine s;
    s.项目 = textOrNull(line.c[col::项目]);
    s.摘要 = textOrNull(line.c[col::摘要]);
    s.单位 = textOrNull(line.c[col::单位]);
    s.数量 = v(line.c[col::数量]);
    s.单价 = v(line.c[col::单价]);
    s.金额 = v(line.c[col::金额]);
    s.税率 = v(line.c[col::税率]);
    s.税额 = v(line.c[col::税额]);
    s.科目代号 = textOrNull(line.c[col::对应科目]);
    s.收费项目代号 = textOrNull(line.c[col::收费项目]);
    s.应税科目 = textOrNull(line.c[col::应税科目]);
    s.不含税单价 = v(line.c[col::不含税单价]);
    s.不含税金额 = v(line.c[col::不含税金额]);
    return s;
}

}  // namespace corvane::receipts
