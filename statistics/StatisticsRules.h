#pragma once
// The texts the statistics grids show, from the values their statements
// read: summary blocks with their "合计 " rows, the chosen-list texts of the
// criteria panels and the instalment rows.

#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

namespace corvane::statistics {

// One group of a summary block as its statement reads it.
struct SummaryGroup {
    QString name;          // shown in column 2 ("code name" for a department)
    QString value;         // what the drill-down compares: the code, the counterparty or the type name
    bool valueNull = false;
    qint64 count = 0;
    std::optional<qint64> amountCents;
};

// A row of the summary grid: columns 0 to 5.
struct SummaryLine {
    std::array<QString, 6> cells;
    bool total = false;  // a "合计 " row
    QString value;       // the group's value, for the drill-down
    bool valueNull = false;
};

inline const QString kTotalText = QStringLiteral("合计 ");

// A category block: the groups numbered from 1, then the "合计 " row with the
// sums of the texts shown. A receipt block gets it only when its amounts do
// not add up to 0; a payment block whenever it has a row.
std::vector<SummaryLine> summaryBlock(const QString& category, bool receipt, const std::vector<SummaryGroup>& groups);

// "#0.00" of an amount in cents; "" for none.
QString amountText(std::optional<qint64> cents);
// An amount as a plain number, without trailing zeros ("1500", "1500.5");
// "" for none.
QString plainAmountText(std::optional<qint64> cents);
// A stored date ("yyyy-MM-dd" or with a time of day) as its day; "" for none.
QString dayText(const QString& stored);
// A stored date as its default text: the day, with the time of day only
// when it is not midnight.
QString dateDefaultText(const QString& stored);

// What a state or counterparty panel's 确定 leaves: the chosen values, in
// list order, and the text box's text (the values joined by commas, trimmed,
// followed by three blanks).
struct ChosenList {
    QStringList values;
    QString boxText;
};
ChosenList chosenList(const QStringList& selected);

// An instalment as its statement reads it (see instalmentQuery).
struct InstalmentValues {
    QString number, name, typeName, state, effective, ending;
    std::optional<qint64> contractAmount, contractSettled;
    QString planned;
    std::optional<qint64> plannedAmount, storedBalance, instalmentSettled;
    // False when the row before was the same contract's (its contract
    // columns are then that row's).
    bool newContract = true;
};
// Columns 1 to 11 of an instalment row. The receipt tab's 应收余额 is the
// planned amount less what this instalment has received (the stored 余额 is
// never lowered by receipts); the payment tab shows the stored 余额.
std::array<QString, 11> instalmentTexts(bool receipt, const InstalmentValues& v);
// The same in two parts: columns 1 to 8, the contract's, which its
// instalments share; and columns 9 to 11, the instalment's own.
std::array<QString, 8> instalmentContractTexts(const InstalmentValues& v);
std::array<QString, 3> instalmentOwnTexts(bool receipt, const InstalmentValues& v);

}  // namespace corvane::statistics
