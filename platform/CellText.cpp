#include "platform/CellText.h"

namespace corvane {

namespace {

constexpr qint64 kDay = 86400;

void put(CellTextBuffer& out, char16_t c) { out.chars[--out.at] = c; }

void putDigits(CellTextBuffer& out, qint64 v, int digits)
{
    for (int i = 0; i < digits; ++i, v /= 10) put(out, char16_t(u'0' + v % 10));
}

int digits(QStringView t, int from, int count)
{
    int v = 0;
    for (int i = from; i < from + count; ++i) {
        const char16_t c = t[i].unicode();
        if (c < u'0' || c > u'9') return -1;
        v = v * 10 + (c - u'0');
    }
    return v;
}

}  // namespace

QStringView writeCents(qint64 cents, CellTextBuffer& out)
{
    out.at = 32;
    const bool negative = cents < 0;
    quint64 a = negative ? quint64(0) - quint64(cents) : quint64(cents);
    put(out, char16_t(u'0' + a % 10));
    a /= 10;
    put(out, char16_t(u'0' + a % 10));
    a /= 10;
    put(out, u'.');
    do {
        put(out, char16_t(u'0' + a % 10));
        a /= 10;
    } while (a);
    if (negative) put(out, u'-');
    return out.view();
}

qint64 packDateTime(const QDate& date, const QTime& time)
{
    return date.toJulianDay() * kDay + (time.isValid() ? time.msecsSinceStartOfDay() / 1000 : 0);
}

std::optional<qint64> packStoredDate(QStringView t)
{
    if (t.size() != 10 && t.size() != 19) return std::nullopt;
    const int y = digits(t, 0, 4), m = digits(t, 5, 2), d = digits(t, 8, 2);
    if (y < 0 || m < 0 || d < 0 || t[4] != u'-' || t[7] != u'-') return std::nullopt;
    const QDate date(y, m, d);
    if (!date.isValid()) return std::nullopt;
    if (t.size() == 10) return packDateTime(date);
    const int hh = digits(t, 11, 2), mm = digits(t, 14, 2), ss = digits(t, 17, 2);
    if ((t[10] != u' ' && t[10] != u'T') || t[13] != u':' || t[16] != u':' || hh < 0 || hh > 23 || mm < 0 || mm > 59 ||
        ss < 0 || ss > 59)
        return std::nullopt;
    return packDateTime(date, QTime(hh, mm, ss));
}

QDate packedDate(qint64 packed) { return QDate::fromJulianDay(packed / kDay); }

QStringView writeDateTime(qint64 packed, CellTextBuffer& out)
{
    out.at = 32;
    const qint64 second = packed % kDay;
    if (second != 0) {
        putDigits(out, second % 60, 2);
        put(out, u':');
        putDigits(out, second / 60 % 60, 2);
        put(out, u':');
        putDigits(out, second / 3600, 2);
        put(out, u' ');
    }
    int y = 0, m = 0, d = 0;
    packedDate(packed).getDate(&y, &m, &d);
    putDigits(out, d, 2);
    put(out, u'-');
    putDigits(out, m, 2);
    put(out, u'-');
    putDigits(out, y, 4);
    return out.view();
}

}  // namespace corvane
