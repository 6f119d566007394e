#include "contracts/ContractFormats.h"

#include <QDateTime>
#include <cmath>

#include "db/Sql.h"

namespace corvane::contract {

QString amountText(const QVariant& amount)
{
    const auto c = centsOf(amount);
    return c ? centsText(*c) : QString();
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

}  // namespace corvane::contract
