#pragma once
// A custom bill layout turned into a bill page: the ruled lines, fixed texts
// and field boxes of the layout as element lists in millimetres, filled with
// one receipt's bill, and drawn on the printer in the same millimetres. The
// rules here need no window and no database.

#include <QDate>
#include <QFont>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "app/Decimal.h"
#include "receipts/BillWindowSeams.h"

namespace corvane {
class PrintSurface;
}

namespace corvane::receipts {

// ---- the layout as the four layout tables hold it

struct BillLayoutHead {
    qint64 id = 0;
    QString department, name;
    double width = 0, height = 0;  // millimetres
    QString code;                  // 编号字
    bool managed = false;          // 票据管理
};
struct BillLayoutLine {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0, w = 0;
};
struct BillLayoutText {
    QString text;
    double left = 0, top = 0;
    QString font;
    double size = 0;
    bool bold = false;
};
struct BillLayoutField {
    QString name;
    double left = 0, top = 0, width = 0;
    int row = 0;
    QString font;
    double size = 0;
    bool bold = false;
};
struct BillLayout {
    BillLayoutHead head;
    std::vector<BillLayoutLine> lines;
    std::vector<BillLayoutText> texts;
    std::vector<BillLayoutField> fields;
};

// ---- the page

enum class FieldList : int { Text1 = 0, TextXM, TextZY, TextDW, TextSL, TextDJ, TextJE, TextSE, TextSLV };
inline constexpr int kFieldLists = 9;
// The row field names in the order a 内容 is compared with them, and their lists.
inline const std::array<std::pair<const char*, FieldList>, 8> kRowFields{{
    {"项目", FieldList::TextXM}, {"摘要", FieldList::TextZY}, {"计量单位", FieldList::TextDW},
    {"数量", FieldList::TextSL}, {"单价", FieldList::TextDJ}, {"金额", FieldList::TextJE},
    {"税额", FieldList::TextSE}, {"税率", FieldList::TextSLV}}};
// The list a field box of this 内容 belongs to (compared character for
// character). Here rather than beside the page's drawing, so the custom bill
// store reads a layout without the printing library.
inline FieldList listOfField(const QString& name)
{
    for (const auto& [field, list] : kRowFields)
        if (name == QString::fromUtf8(field)) return list;
    return FieldList::Text1;
}
inline QString listName(FieldList list)
{
    static const char* const names[] = {"Text1", "TextXM", "TextZY", "TextDW", "TextSL",
                                        "TextDJ", "TextJE", "TextSE", "TextSLV"};
    return QString::fromLatin1(names[static_cast<int>(list)]);
}

struct PageLine {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    int width = 1;  // pixels
};
struct PageText {
    QString caption;
    double left = 0, top = 0;
    QString fontName;
    double fontSize = 9;
    bool bold = false;
};
struct PageField {
    double left = 0, top = 0, width = 0, height = 0;
    QString fontName;
    double fontSize = 9;
    bool bold = false;
    QString tag;
    QString text;
    bool rightAligned = false;
    QFont font() const;
};

// Where the page sits in the viewport, and the scroll ranges, in millimetres.
struct PagePlacement {
    double left = 0, top = 0;
    bool hEnabled = false, vEnabled = false;
    int hMax = 0, vMax = 0;
};
// The viewport's inner size and the scroll bars' thickness, in millimetres.
PagePlacement placePage(double pageWidth, double pageHeight, double viewportWidth, double viewportHeight,
                        double vScrollWidth, double hScrollHeight);

// Round half to even, as the layout's widths and scroll ranges are rounded.
int roundHalfEven(double v);

// The box height of a field: the height of its name in its font, in twips,
// over 48.6 (a box a sixth taller than its line of text).
double fieldBoxHeight(const QFont& font, const QString& name);

struct BillPage {
    double width = 0, height = 0;
    // Element 0 of every list is its template and never holds data; the
    // elements built from the layout are 1 to the upper bound.
    std::vector<PageLine> Line1{PageLine{}};
    std::vector<PageText> Label1{PageText{}};
    std::array<std::vector<PageField>, kFieldLists> fields;
    BillPage();

    std::vector<PageField>& list(FieldList l) { return fields[static_cast<int>(l)]; }
    const std::vector<PageField>& list(FieldList l) const { return fields[static_cast<int>(l)]; }
    static int upperBound(const auto& elements) { return static_cast<int>(elements.size()) - 1; }

    // Element numbers of the single fields tagged `name`, and of the row
    // field boxes of bill line k.
    std::vector<int> singleFields(const QString& name) const;
    std::vector<int> rowFields(FieldList l, int k) const;
    // The text of the first single field `name`; no value when there is none.
    std::optional<QString> firstSingleField(const QString& name) const;
    void setSingleFields(const QString& name, const QString& text);
};

// 初始化's building of the page from a found layout. A line width that
// rounds to less than one pixel stops the build there with a message; the
// elements built so far stay.
struct BuildOutcome {
    bool ok = true;
    QString error;
};
BuildOutcome buildPage(BillPage& page, const BillLayout& layout);

// ---- the bill data

// The bill being issued (待开票据).
struct PendingBill {
    QString 票据编号;
    Decimal 金额;
    QString 收款方式;
    QDate 开票日期;
    QDate 收款日期;
    int 预开 = 0;
    Decimal 税额;
    QString 地址;
    QString 合同编号;
};
// One bill line (票据行).
struct PendingLine {
    QString 项目, 摘要, 单位;
    Decimal 数量, 单价, 金额, 税率, 税额;
    QString 科目代号, 应税科目, 收费项目代号;
    double 不含税单价 = 0, 不含税金额 = 0;
    int 非日常 = 0;
};

// The bill's values that do not depend on the page (获取前台收款数据 step 3).
PendingBill pendingBillOf(const ReceiptBillContext& receipt);

// Steps 5 and 6 of 获取前台收款数据 on a built page: the lines, the total
// and the fields. `blocked` is set when printing must not go on: a layout
// with too few line rows, or a cell that is no number.
struct FillOutcome {
    bool blocked = false;
    QString message;  // shown (OK button) when not empty
};
FillOutcome fillPage(BillPage& page, PendingBill& bill, std::vector<PendingLine>& lines,
                     const ReceiptBillContext& receipt, const QString& userName);

inline const QString kNoLayout = QStringLiteral("没有找到自定义票据格式设置");
inline const QString kTooFewLines =
    QStringLiteral("您所选择的自定义票据格式的行数少于应打票据的行数，请重新选择自定义票据格式");

// ---- summaries

// A text's width on the page, in millimetres.
using WidthMm = std::function<double(const QString&)>;
// 简化处理: item i, or the run of consecutive months starting there
// ("202001-202003"), moving i to the run's last item.
QString 简化处理(int& i, const QStringList& items);
// 规格型号处理: the print lines of a summary no wider than `limit` each
// (the character that makes a line too wide stays on it). A comma list
// without a trailing comma is read as if it had one.
QStringList 规格型号处理(const QString& text, double limit, const WidthMm& width);

// ---- printing

// The page's own font, in which summaries are measured on the page.
QFont pageFont();
// Width and height of a text in a font, in millimetres, through the
// replaceable text measure.
double textWidthMm(const QFont& font, const QString& text);
double textHeightMm(const QFont& font, const QString& text);

// 票据打印: every element on the printer, then EndDoc: one page, a blank one
// when the page has nothing to draw. False when the printer failed (its
// error() tells why).
bool printPage(const BillPage& page, PrintSurface& printer);

}  // namespace corvane::receipts
