#pragma once
// Rules of ending and renewing a contract, and of the expiry reminder, that
// need no window: which dates count as entered, the state a category ends
// in, the renewal's number and end date, the reminder's days and cut-off.

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace corvane::plans {

// The categories of 终止类型, in the list's order; the first ends a contract
// at expiry.
QStringList terminationCategories();
// "无", "收取违约金", "支付违约金".
QStringList penaltyHandlings();
// "履行完成" for "合同到期", "中止" for every other category.
QString stateAfterEnding(const QString& category);

// The earliest date a picker shows; it stands for a date not entered.
inline const QDate kNoDate(1001, 1, 1);
// A date written as YYYYMMDD of 19780101 or more was entered by the user.
bool isEnteredDate(const QDate& date);
// The penalty date as stored: none up to 1978-01-01, the date after it.
std::optional<QDate> storedPenaltyDate(const QDate& date);

// ---- Renewal

// year, "-", the serial as seven digits.
QString renewalNumber(int year, qint64 serial);
inline constexpr qint64 kLastRenewalSerial = 9999999;
struct RenewalNumber {
    enum Kind { Free, Exhausted, Unknown };
    Kind kind = Unknown;
    QString number;
    qint64 serial = 0;
};
// The first free number above `highestSerial` (0 when the year has none),
// stepped on while `taken` says it is used. Exhausted past seven digits;
// Unknown when `taken` could not tell.
RenewalNumber firstFreeRenewalNumber(int year, qint64 highestSerial,
                                     const std::function<std::optional<bool>(const QString&)>& taken);
// `start` plus `period` units of `unit` ("年", "月", "日"); a day the month
// lacks becomes its last day. None for no period or another unit.
std::optional<QDate> renewalEndDate(const QDate& start, std::optional<qint64> period, const QString& unit);

// ---- Reminder

inline const QString kReminderKind = QStringLiteral("普通合同");
inline constexpr int kDefaultReminderDays = 60;
inline constexpr int kMostReminderDays = 36500;
// The days box as the save takes it: a whole number from 0 to 36500 (blanks
// around it allowed), nothing otherwise.
std::optional<int> savedReminderDays(const QString& text);
// The cut-off: today plus the number the days box begins with.
QDate reminderCutOff(const QDate& today, const QString& daysText);

}  // namespace corvane::plans
