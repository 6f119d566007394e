#pragma once
// The accounting voucher of a reimbursement form as drawing steps in
// millimetres on a 190 mm wide page: one layout for the preview and the
// printer, which differ only in the surface they replay the steps on.

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

#include "app/Decimal.h"

namespace corvane {
class PrintSurface;
}

namespace corvane::payments {

struct VoucherLine {
    QString 摘要, 科目代号, 科目名称;
    std::optional<Decimal> 金额;  // empty for NULL
};

struct VoucherData {
    QString 公司名称;
    QString 报销日期, 凭证编号, 附件数量, 职能部门名称;
    std::optional<QString> 付款方式;  // empty for NULL
    QString 报销人, 银行卡号, 对方单位名称, 对方帐号, 对方银行, 制单人;
    std::vector<VoucherLine> lines;
    // Dated approval steps, latest first: department name and person named.
    std::vector<std::pair<QString, QString>> trail;
};

struct VoucherStep {
    enum Kind { Text, Line, NewPage } kind = Text;
    double x = 0, y = 0, x2 = 0, y2 = 0;
    QString text;
    double size = 10.5;
    bool bold = false;
    friend bool operator==(const VoucherStep&, const VoucherStep&) = default;
};

// Width and height of a text in 宋体 at a size and weight, in millimetres.
struct VoucherMeasure {
    std::function<double(double size, bool bold, const QString& text)> width, height;
};
// The surface's own measure (its unit must be millimetres).
VoucherMeasure measureOn(PrintSurface& surface);

constexpr double kVoucherRow = 6.2;
constexpr double kVoucherTrailWidth = 135;

// Where the lines stand: the two data lines, the table's top and bottom and
// the first line below it, for `detailRows` rows (seven at least).
struct VoucherPositions {
    double Y1 = 0, Y2 = 0, T = 0, B = 0, Y3 = 0;
};
VoucherPositions voucherPositions(double L16, double L14, double L14Regular, double L105, double TH合计,
                                  int detailRows = 7);

// One table cell: right-aligned amounts shrink to 8 and 7 points; left-aligned
// texts shrink to 8 points and then wrap in two lines.
std::vector<VoucherStep> voucherCell(const QString& text, double top, double left, double width, bool right,
                                     const VoucherMeasure& measure);

// The trail's lines: entries "department person |  ", a line holding what
// fits in 135 mm (measured with four blanks for the entry being added).
QStringList voucherTrailLines(const std::vector<std::pair<QString, QString>>& trail, const VoucherMeasure& measure);

// The whole voucher. A table of more than seven lines gains a row per line;
// what passes the page height goes on under the header lines of a new page.
std::vector<VoucherStep> layoutVoucher(const VoucherData& data, const VoucherMeasure& measure,
                                       double pageHeight = 1e9);

// Draws the steps on a surface whose unit it sets to millimetres.
void drawVoucher(PrintSurface& surface, const std::vector<VoucherStep>& steps);

}  // namespace corvane::payments
