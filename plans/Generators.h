#pragma once
// The five instalment generators of the plan window's panel, and the tests
// the panel's "生成计划" runs before them. Each takes what the panel's boxes
// hold and gives the rows to write (date text and amount text; the window
// adds the row number, the contract number and the balance, which starts
// equal to the amount) or the refusal to show. No window is needed, so every
// worked example is a table test.

#include <QDate>
#include <QString>
#include <QStringList>
#include <vector>

#include "app/Decimal.h"

namespace corvane::plans {

struct GeneratedRow {
    QString date;
    QString amount;  // "0.00"
    bool operator==(const GeneratedRow&) const = default;
};

// Which box a refusal sends the clerk back to.
enum class RefusalFocus { None, Text4, Text5, Text6 };

struct Generated {
    std::vector<GeneratedRow> rows;
    QString refusal;  // empty when the plan was made
    // The refusals of the counts and the long-term amount carry the
    // information icon and the executable's name; the others are plain.
    bool informationBox = false;
    RefusalFocus focus = RefusalFocus::None;
    bool ok() const { return refusal.isEmpty(); }
};

// Mode 0, 每次相同金额.
struct EqualInput {
    QString total;      // Text8
    QString count;      // Text4
    int decimals = 0;   // Combo1: 元 0, 角 1, 分 2
    QDate start, end;   // DTPicker2, DTPicker3
    QString dueDay;     // Text10
    bool remainderLast = false;  // Check1 最后一次收/付款补差
    bool workFirst = false;      // Check2 先做后付
};
Generated 每次相同金额(const EqualInput& in);

// Mode 1, 按比例生成计划: "30[20090108]/40[20090408]/30[20091218]".
Generated 按比例生成计划(const QString& total, const QString& ratios);

// Mode 2 by period.
enum class Period { Month, Quarter, Year };
struct PeriodInput {
    QString total;
    QDate start, end;
    Period period = Period::Month;
};
Generated 按周期生成计划(const PeriodInput& in);

// Mode 2 by performance node: the marked nodes' dates in list order (an
// invalid date for a node without one) and the percentages "20/70/10".
Generated 按节点生成计划(const QString& total, const std::vector<QDate>& markedNodes, const QString& percentages);

// Mode 3, 按长期合同.
struct LongTermInput {
    QDate first;      // DTPicker4
    QString amount;   // Text5
    QString count;    // Text6
    Period step = Period::Month;
};
Generated 按长期合同(const LongTermInput& in);

// The date tests the panel runs before modes 0 and 2: both dates from
// 1990-01-01 on, and the start not after the end. Empty when they pass.
QString dateRangeRefusal(const QDate& start, const QDate& end);

// The generator panel's modes, its opening rule and its enabling table.
enum class Mode { Equal = 0, Ratio = 1, Period = 2, LongTerm = 3 };

struct PanelOpening {
    bool modesZeroToTwo = true;  // Option4(0..2) enabled
    bool forceLongTerm = false;  // Option4(3) chosen
    QString total;               // copied into Text8 when not empty
};
// The panel opened on an empty grid: the amount label decides.
PanelOpening openingOnEmptyGrid(const QString& amountLabel);

struct ModeSettings {
    bool countBox = false;   // Label6(0), Text4
    bool dueDay = false;     // Text10
    bool remainder = false;  // Check1
    bool ratios = false;     // frame4
    bool periods = false;    // Frame2
    bool longTerm = false;   // Frame5
    bool operator==(const ModeSettings&) const = default;
};
ModeSettings settingsEnabledFor(Mode mode);

}  // namespace corvane::plans
