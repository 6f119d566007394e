#pragma once
// Rules of the plan windows that need no window: which texts read as a date,
// how a stored amount is shown, and the check of the plan grid before it is
// saved.

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "plans/PlanStore.h"

namespace corvane::plans {

// yyyy-MM-dd or yyyy/MM/dd, month and day of one or two digits, blanks
// around it allowed, a real calendar date; no value otherwise.
std::optional<QDate> readDate(const QString& text);

// A stored amount as the plan grid shows it: 1000 as "1000", 1000.5 as
// "1000.5"; "" for NULL.
QString storedAmountText(const std::optional<qint64>& cents);

// The cells of one plan grid row, columns 2 to 6.
struct PlanGridRow {
    QString date, amount, balance, condition, id;
};
// The captions naming the date, amount and balance columns in a refusal.
struct PlanCaptions {
    QString date, amount, balance;
};
struct CheckedPlan {
    std::vector<InstalmentToSave> rows;
    QString refusal;  // "第n行的<caption>不正确！" for the first bad cell
};
// Every row, before anything is written: a date that reads as a date, an
// amount and a balance that are empty or an amount the database keeps as
// typed.
CheckedPlan checkPlan(const std::vector<PlanGridRow>& rows, const PlanCaptions& captions);
// The amount and balance typed into the edit frame, held to the save's rule
// before they go into the grid: the caption of the first the save would
// refuse, or nothing when both read.
std::optional<QString> unreadableTypedAmount(const QString& amount, const QString& balance,
                                             const PlanCaptions& captions);

}  // namespace corvane::plans
