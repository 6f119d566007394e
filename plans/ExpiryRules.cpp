#include "plans/ExpiryRules.h"

#include <cmath>

#include "platform/Amounts.h"

namespace corvane::plans {

QStringList terminationCategories()
{
    return {QStringLiteral("合同到期"), QStringLiteral("合同无法履行"), QStringLiteral("合同履行基础变化"),
            QStringLiteral("存在争议"), QStringLiteral("对方违约"),     QStringLiteral("本方违约"),
            QStringLiteral("双方违约"), QStringLiteral("其他原因")};
}

QStringList penaltyHandlings()
{
    return {QStringLiteral("无"), QStringLiteral("收取违约金"), QStringLiteral("支付违约金")};
}

QString stateAfterEnding(const QString& category)
{
    return category == terminationCategories().first() ? QStringLiteral("履行完成") : QStringLiteral("中止");
}

bool isEnteredDate(const QDate& date) { return date.isValid() && date >= QDate(1978, 1, 1); }

std::optional<QDate> storedPenaltyDate(const QDate& date)
{
    if (!date.isValid() || date <= QDate(1978, 1, 1)) return std::nullopt;
    return date;
}

QString renewalNumber(int year, qint64 serial)
{
    return QStringLiteral("%1-%2").arg(year, 4, 10, QLatin1Char('0')).arg(serial, 7, 10, QLatin1Char('0'));
}

RenewalNumber firstFreeRenewalNumber(int year, qint64 highestSerial,
                                     const std::function<std::optional<bool>(const QString&)>& taken)
{
    RenewalNumber n;
    for (qint64 serial = std::max<qint64>(highestSerial, 0) + 1;; ++serial) {
        if (serial > kLastRenewalSerial) {
            n.kind = RenewalNumber::Exhausted;
            return n;
        }
        const QString number = renewalNumber(year, serial);
        const auto inUse = taken(number);
        if (!inUse) return n;
        if (!*inUse) {
            n.kind = RenewalNumber::Free;
            n.number = number;
            n.serial = serial;
            return n;
        }
    }
}

std::optional<QDate> renewalEndDate(const QDate& start, std::optional<qint64> period, const QString& unit)
{
    if (!period || !start.isValid()) return std::nullopt;
    // Beyond what a date can hold the end is left unset rather than wrapped.
    if (*period > 100000 || *period < -100000) return std::nullopt;
    const int n = int(*period);
    QDate end;
    if (unit == QStringLiteral("年")) end = start.addYears(n);       // Qt clamps a missing day
    else if (unit == QStringLiteral("月")) end = start.addMonths(n);
    else if (unit == QStringLiteral("日")) end = start.addDays(n);
    else return std::nullopt;
    if (!end.isValid() || end.year() > 9999 || end.year() < 1) return std::nullopt;
    return end;
}

std::optional<int> savedReminderDays(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > 5) return std::nullopt;
    for (QChar c : t)
        if (c < u'0' || c > u'9') return std::nullopt;
    const int days = t.toInt();
    if (days > kMostReminderDays) return std::nullopt;
    return days;
}

QDate reminderCutOff(const QDate& today, const QString& daysText)
{
    double days = std::trunc(leadingNumber(daysText));
    // A date past what the calendar holds lists everything up to its end.
    days = std::clamp(days, -3.0e6, 3.0e6);
    const QDate cut = today.addDays(qint64(days));
    return cut.isValid() ? cut : today;
}

}  // namespace corvane::plans
