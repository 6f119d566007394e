#include "contracts/ContractFormats.h"

#include <QDateTime>
#include <cmath>

#include "db/Sql.h"

namespace corvane::contract {

namespace {

// Hundredths of a plain decimal text, halves away from zero.
std::optional<qint64> centsOfText(QStringView t)
{
    t = t.trimmed();
    bool negative = false;
    if (!t.isEmpty() && (t.front() == QLatin1Char('-') || t.front() == QLatin1Char('+'))) {
        negative = t.front() == QLatin1Char('-');
        t = t.mid(1);
    }
    qint64 whole = 0;
    int fracDigits = 0, digits = 0;
    int frac[3] = {0, 0, 0};
    bool point = false;
    for (const QChar c : t) {
        if (c == QLatin1Char('.') && !point) {
            point = true;
            continue;
        }
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return std::nullopt;
        const int d = c.unicode() - '0';
        ++digits;
        if (!point) {
            whole = whole * 10 + d;
        } else if (fracDigits < 3) {
            frac[fracDigits++] = d;
        }
    }
    if (digits == 0) return std::nullopt;
    qint64 cents = whole * 100 + frac[0] * 10 + frac[1] + (frac[2] >= 5 ? 1 : 0);
    return negative ? -cents : cents;
}

}  // namespace

std::optional<qint64> centsOf(const QVariant& amount)
{
    if (amount.isNull()) return std::nullopt;
    switch (amount.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong: return amount.toLongLong() * 100;
    case QMetaType::Double: {
        // The shortest text of the stored value: a double 0.285 reads "0.285"
        // and is rounded as written, not as its binary neighbour.
        const QString t = QString::number(amount.toDouble(), 'g', 15);
        if (t.contains(QLatin1Char('e'), Qt::CaseInsensitive))
            return centsOfText(QString::number(amount.toDouble(), 'f', 6));
        return centsOfText(t);
    }
    default: return centsOfText(amount.toString());
    }
}

QString centsText(qint64 cents)
{
    char16_t buf[32];
    int i = 32;
    const bool negative = cents < 0;
    quint64 a = negative ? quint64(-cents) : quint64(cents);
    buf[--i] = char16_t(u'0' + a % 10);
    a /= 10;
    buf[--i] = char16_t(u'0' + a % 10);
    a /= 10;
    buf[--i] = u'.';
    do {
        buf[--i] = char16_t(u'0' + a % 10);
        a /= 10;
    } while (a);
    if (negative) buf[--i] = u'-';
    return QString(reinterpret_cast<const QChar*>(buf + i), 32 - i);
}

QString amountText(const QVariant& amount)
{
    const auto c = centsOf(amount);
    return c ? centsText(*c) : QString();
}

QString amountTextNoLeadingZero(qint64 cents)
{
    QString t = centsText(cents);
    if (t.startsWith(QLatin1String("0."))) t.remove(0, 1);
    else if (t.startsWith(QLatin1String("-0."))) t.remove(1, 1);
    return t;
}

namespace {

bool digitsAt(const QString& t, int from, int count)
{
    for (int i = from; i < from + count; ++i)
        if (t[i] < QLatin1Char('0') || t[i] > QLatin1Char('9')) return false;
    return true;
}

// The stored text forms "yyyy-MM-dd" and "yyyy-MM-dd HH:mm:ss" are shown as
// they stand, without a round trip through the time zone rules.
std::optional<QString> storedDateText(const QString& t)
{
    if (t.size() < 10 || !digitsAt(t, 0, 4) || t[4] != QLatin1Char('-') || !digitsAt(t, 5, 2) ||
        t[7] != QLatin1Char('-') || !digitsAt(t, 8, 2))
        return std::nullopt;
    if (t.size() == 10) return t;
    if (t.size() == 19 && (t[10] == QLatin1Char(' ') || t[10] == QLatin1Char('T')) && digitsAt(t, 11, 2) &&
        t[13] == QLatin1Char(':') && digitsAt(t, 14, 2) && t[16] == QLatin1Char(':') && digitsAt(t, 17, 2)) {
        if (QStringView(t).mid(11) == QLatin1String("00:00:00")) return t.left(10);
        if (t[10] == QLatin1Char(' ')) return t;
        QString out = t;
        out[10] = QLatin1Char(' ');
        return out;
    }
    return std::nullopt;
}

}  // namespace

QString dateText(const QVariant& value)
{
    if (value.isNull()) return QString();
    switch (value.typeId()) {
    case QMetaType::QDate: return value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    case QMetaType::QDateTime: {
        const QDateTime dt = value.toDateTime();
        if (dt.time() == QTime(0, 0)) return dt.date().toString(QStringLiteral("yyyy-MM-dd"));
        return dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    }
    default: break;
    }
    const QString text = value.toString();
    if (const auto stored = storedDateText(text)) return *stored;
    const QDateTime dt = toDateTime(value);
    if (!dt.isValid()) return text;
    if (dt.time() == QTime(0, 0)) return dt.date().toString(QStringLiteral("yyyy-MM-dd"));
    return dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString flagText(const QVariant& value)
{
    if (value.isNull()) return QString();
    return value.toInt() != 0 ? QStringLiteral("True") : QStringLiteral("False");
}

QString TagOf(const QObject* control) { return control ? control->property("Tag").toString() : QString(); }

void SetTag(QObject* control, const QString& tag)
{
    if (control) control->setProperty("Tag", tag);
}

double leadingNumber(const QString& text)
{
    int i = 0;
    const int n = int(text.size());
    while (i < n && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t'))) ++i;
    const int start = i;
    if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) ++i;
    bool digits = false;
    while (i < n && text[i].isDigit() && text[i].unicode() < 128) ++i, digits = true;
    if (i < n && text[i] == QLatin1Char('.')) {
        ++i;
        while (i < n && text[i].isDigit() && text[i].unicode() < 128) ++i, digits = true;
    }
    if (!digits) return 0;
    return text.mid(start, i - start).toDouble();
}

}  // namespace corvane::contract
