#include "app/AmountInWords.h"

#include <array>
#include <optional>
#include <string>

namespace corvane {
namespace {

// Ten-thousandths: the rightmost digit is the 毫 place.
constexpr int kDecimals = 4;
// Digits the unit table can name: up to 佰万亿 with four decimals.
constexpr int kMaxDigits = 19;

bool ignorable(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

// The magnitude rounded to ten-thousandths (halves away from zero), as decimal
// digits without leading zeros ("" for zero). Reads like the old Val(): the
// longest number at the start of the text, blanks anywhere skipped. No value
// when the amount is too large for the unit table.
std::optional<std::string> tenThousandths(const QString& text)
{
    int i = 0;
    const int n = int(text.size());
    auto skip = [&] { while (i < n && ignorable(text[i])) ++i; };

    skip();
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        ++i;
        skip();
    }
    std::string mantissa;  // significant digits, leading zeros dropped
    long long pointShift = 0;  // value = mantissa * 10^pointShift
    bool inFraction = false;
    bool anyDigit = false;
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (ignorable(c))
            continue;
        if (c >= u'0' && c <= u'9') {
            anyDigit = true;
            if (!(mantissa.empty() && c == u'0'))
                mantissa.push_back(char(c.unicode()));
            if (inFraction)
                --pointShift;
            continue;
        }
        if (c == u'.' && !inFraction) {
            inFraction = true;
            continue;
        }
        break;
    }
    if (anyDigit && i < n && (text[i] == u'e' || text[i] == u'E')) {
        int j = i + 1;
        auto skipAt = [&] { while (j < n && ignorable(text[j])) ++j; };
        skipAt();
        bool negative = false;
        if (j < n && (text[j] == u'+' || text[j] == u'-')) {
            negative = text[j] == u'-';
            ++j;
        }
        long long exponent = 0;
        for (; j < n; ++j) {
            const QChar c = text[j];
            if (ignorable(c))
                continue;
            if (c < u'0' || c > u'9')
                break;
            // Beyond this every non-zero amount is out of range or rounds to zero.
            if (exponent < 1'000'000)
                exponent = exponent * 10 + (c.unicode() - u'0');
        }
        pointShift += negative ? -exponent : exponent;
    }
    if (mantissa.empty())
        return std::string();

    const long long shift = pointShift + kDecimals;
    if (shift >= 0) {
        if (static_cast<long long>(mantissa.size()) + shift > kMaxDigits)
            return std::nullopt;
        return mantissa + std::string(size_t(shift), '0');
    }
    const long long drop = -shift;
    if (drop > static_cast<long long>(mantissa.size()))
        return std::string();  // below half a 毫
    std::string kept = mantissa.substr(0, mantissa.size() - size_t(drop));
    const bool roundUp = mantissa[mantissa.size() - size_t(drop)] >= '5';
    if (roundUp) {
        int k = int(kept.size()) - 1;
        while (k >= 0 && kept[size_t(k)] == '9')
            kept[size_t(k--)] = '0';
        if (k < 0)
            kept.insert(kept.begin(), '1');
        else
            ++kept[size_t(k)];
    }
    const size_t firstNonZero = kept.find_first_not_of('0');
    if (firstNonZero == std::string::npos)
        return std::string();
    kept.erase(0, firstNonZero);
    if (kept.size() > size_t(kMaxDigits))
        return std::nullopt;
    return kept;
}

}  // namespace

QString 金额大写(const QString& amount)
{
    static const std::array<QChar, 10> capitals = {u'零', u'壹', u'贰', u'叁', u'肆',
                                                   u'伍', u'陆', u'柒', u'捌', u'玖'};
    // Index p - 1 for position p counted from the 毫 place.
    static const std::array<QChar, kMaxDigits> units = {u'毫', u'厘', u'分', u'角', u'圆', u'拾', u'佰',
                                                        u'仟', u'万', u'拾', u'佰', u'仟', u'亿', u'拾',
                                                        u'佰', u'仟', u'万', u'拾', u'佰'};
    auto isGroup = [](int p) { return p == 5 || p == 9 || p == 13 || p == 17; };

    const std::optional<std::string> value = tenThousandths(amount);
    if (!value)
        return QString();
    std::string digits = *value;
    if (digits.size() < size_t(kDecimals))
        digits.insert(0, size_t(kDecimals) - digits.size(), '0');

    // Built right to left, then reversed: each item is one character.
    QString reversed;
    QChar last;
    const int count = int(digits.size());
    for (int p = 1; p <= count; ++p) {
        const int d = digits[size_t(count - p)] - '0';
        if (d != 0 || isGroup(p)) {
            reversed.append(units[size_t(p - 1)]);
            last = units[size_t(p - 1)];
        }
        if (d != 0) {
            reversed.append(capitals[size_t(d)]);
            last = capitals[size_t(d)];
        } else if (!last.isNull() && last != u'零' && last != u'圆' && last != u'万' && last != u'亿') {
            reversed.append(u'零');
            last = u'零';
        }
    }
    QString text;
    text.reserve(reversed.size() + 1);
    for (auto it = reversed.crbegin(); it != reversed.crend(); ++it)
        text.append(*it);

    text.replace(QStringLiteral("亿万"), QStringLiteral("亿"));
    if (text.startsWith(u'零'))
        text.remove(0, 1);
    if (text.endsWith(u'圆'))
        text.append(u'整');
    return text;
}

QString 金额大写2(const QString& amount)
{
    return 金额大写(amount);
}

}  // namespace corvane
