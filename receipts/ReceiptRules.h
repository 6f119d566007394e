#pragma once
// The receipt window's rules that need no window: the VAT arithmetic of an
// invoice line, the rate look-up, the spreading of a total over
// instalments, the model text (规格型号) of a VAT line and what counts as a
// print window's printed bill.

#include <QString>
#include <QStringList>
#include <QVariant>
#include <array>
#include <optional>
#include <vector>

#include "app/Decimal.h"
#include "receipts/BillWindowSeams.h"

namespace corvane::receipts {

// What printing does with a bill type (the item data of the bill type list).
enum class BillKind {
    VatInvoice = 1,    // the VAT invoice window
    OwnLayout = 2,     // the department's self-numbering layout
    LentLayout = 3,    // a layout on lent books
    ExportPrint = 4,   // printed through the print-file export; nothing here
};

// A number read from a cell: the number its text begins with, held to twelve
// decimals so that a unit price shown with six reads back as shown.
class LineNumber {
public:
    static constexpr int kPlaces = 12;
    LineNumber() = default;
    static LineNumber of(const QString& text);
    static LineNumber of(Decimal d);
    bool isZero() const { return m_raw == 0; }
    LineNumber operator+(LineNumber b) const { return fromRaw(m_raw + b.m_raw); }
    LineNumber operator-(LineNumber b) const { return fromRaw(m_raw - b.m_raw); }
    LineNumber operator*(LineNumber b) const;
    // No value for a zero divisor.
    std::optional<LineNumber> operator/(LineNumber b) const;
    // Rounded half away from zero to `places` decimals.
    LineNumber rounded(int places) const;
    QString fixed(int places) const;
    // As a Decimal, rounded to four places.
    Decimal decimal() const;
    __int128 raw() const { return m_raw; }

private:
    static LineNumber fromRaw(__int128 raw)
    {
        LineNumber n;
        n.m_raw = raw;
        return n;
    }
    __int128 m_raw = 0;
};

// One entry of the rate table: a fee item and its settings for the 管理处.
struct RateEntry {
    QString DH, XM, 对应科目, 收费类别;
    Decimal 税率;  // percentage; 0 without a setting
    QString 应税科目, SKDH, SKXM;
};

// The current-item values: the rate as a fraction and the codes of the last
// item found.
struct CurrentItem {
    Decimal 当前税率;
    QString 当前应税科目, 当前税控项目编号, 当前税控项目名称, 当前对应科目;
};

// The first entry whose DH equals the code exactly: its rate ÷ 100 to four
// decimals, and the codes copied into `current`. Not found: 0, and `current`
// keeps its codes.
Decimal 查找当前税率(const std::vector<RateEntry>& table, const QString& code, CurrentItem& current);

// An invoice line: its sixteen cells and its row mark (1 once its item was
// picked in the tree).
struct InvoiceLine {
    std::array<QString, 16> c;
    int mark = 0;
    bool hasItem() const { return !c[0].isEmpty(); }
};
namespace col {
enum : int { 项目 = 0, 摘要, 单位, 数量, 单价, 金额, 税率, 税额, 标记, 对应科目, 收费项目, 应税科目, 税控编号, 税控名称, 不含税单价, 不含税金额 };
}

struct Totals {
    QString 合计, 合计收入, 合计税额;
};
// 合计 = Σ 金额 and 合计税额 = Σ 税额 ("0.00", summed line by line), 合计收入 =
// 合计 − 合计税额.
Totals totalsOf(const std::vector<InvoiceLine>& lines);
// Σ 税额 alone, "0.00".
QString taxTotalOf(const std::vector<InvoiceLine>& lines);

// Picking item `entry` (with tree text `name` and code `code`) for a line.
// The net amount and the tax are those of the line's quantity (one unit when
// the quantity is empty or 0).
void pickItem(InvoiceLine& line, const QString& name, const QString& code, const std::vector<RateEntry>& table,
              CurrentItem& current);
// Computation A: from 数量 and 单价.
void computeFromQuantityAndPrice(InvoiceLine& line, const std::vector<RateEntry>& table, CurrentItem& current);
// Computation B: from 金额.
void computeFromAmount(InvoiceLine& line, const std::vector<RateEntry>& table, CurrentItem& current);
// 增值税计算: the rate, tax and net columns from current.当前税率.
void 增值税计算(InvoiceLine& line, const CurrentItem& current);

// The width of a text when a character above code 126 counts two.
int displayWidth(const QString& text);
// 规格型号处理: a text of at most 40 width units unchanged; a longer list of
// numbers with runs of consecutive ones joined ("101-10,112"), cut to 40.
QString 规格型号处理(const QString& text);

// 分摊: the remainder spread over the instalments in order. For each
// balance: the amount given ("" for a row that is neither marked nor given
// one).
struct Spread {
    bool marked = false;
    QString amount;
};
std::vector<Spread> spreadTotal(Decimal total, const std::vector<Decimal>& balances);

// Whether a print window's hand-back is a printed bill: the VAT road needs
// book and number not empty and a bill id, the custom road book and number
// not empty. Anything else, no hand-back included, is nothing printed.
enum class PrintRoad { Vat, Custom };
bool isPrinted(const std::optional<BillHandBack>& back, PrintRoad road);

// The first field of a settings file's first line (platform/TextFile's
// comma-delimited reader).
QString firstField(const QString& fileText);

// A line as 票据开票数据 stores it: texts NULL when empty, numbers by the
// number their text begins with.
struct StoredLine {
    QVariant 项目, 摘要, 单位, 科目代号, 收费项目代号, 应税科目;  // NULL when empty
    LineNumber 数量, 单价, 金额, 税率, 税额, 不含税单价, 不含税金额;
};
StoredLine storedLine(const InvoiceLine& line);

}  // namespace corvane::receipts
