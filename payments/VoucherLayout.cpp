#include "payments/VoucherLayout.h"

#include <algorithm>
#include <cmath>

#include "app/AmountInWords.h"
#include "platform/PrintSurface.h"

namespace corvane::payments {

namespace {

constexpr double kPageWidth = 190;

struct Builder {
    const VoucherMeasure& m;
    std::vector<VoucherStep> steps;

    double TW(double size, bool bold, const QString& s) const { return m.width(size, bold, s); }
    double TH(double size, bool bold, const QString& s) const { return m.height(size, bold, s); }
    void text(double x, double y, const QString& s, double size = 10.5, bool bold = false)
    {
        if (s.isEmpty()) return;
        VoucherStep st;
        st.kind = VoucherStep::Text;
        st.x = x;
        st.y = y;
        st.text = s;
        st.size = size;
        st.bold = bold;
        steps.push_back(st);
    }
    void line(double x1, double y1, double x2, double y2)
    {
        VoucherStep st;
        st.kind = VoucherStep::Line;
        st.x = x1;
        st.y = y1;
        st.x2 = x2;
        st.y2 = y2;
        steps.push_back(st);
    }
    void newPage()
    {
        VoucherStep st;
        st.kind = VoucherStep::NewPage;
        steps.push_back(st);
    }
    // Company name and title; gives the first data line.
    double headerLines(const QString& company)
    {
        text((kPageWidth - TW(16, true, company)) / 2, 0, company, 16, true);
        const double L16 = TH(16, true, QStringLiteral("中"));
        const QString title = QStringLiteral("核  算  凭  证");
        text((kPageWidth - TW(14, true, title)) / 2, 2 * L16, title, 14, true);
        return 2 * L16 + TH(14, true, QStringLiteral("中")) + TH(14, false, QStringLiteral("中"));
    }
    void append(const std::vector<VoucherStep>& more) { steps.insert(steps.end(), more.begin(), more.end()); }
};

QString money(Decimal d) { return d.fixed(2); }

// A third of the text's height below the row's rule, as long as the text then
// ends above the next rule; a face with taller lines is centred in the row.
double rowTextTop(double top, double textHeight)
{
    return top + std::min(textHeight / 3, std::max(0.0, (kVoucherRow - textHeight) / 2));
}

}  // namespace

VoucherMeasure measureOn(PrintSurface& surface)
{
    VoucherMeasure m;
    auto set = [&surface](double size, bool bold) {
        surface.setScaleMode(PrintSurface::vbMillimeters);
        surface.FontName = QStringLiteral("宋体");
        surface.FontSize = size;
        surface.FontBold = bold;
    };
    m.width = [&surface, set](double size, bool bold, const QString& s) {
        set(size, bold);
        return surface.TextWidth(s);
    };
    m.height = [&surface, set](double size, bool bold, const QString& s) {
        set(size, bold);
        return surface.TextHeight(s);
    };
    return m;
}

VoucherPositions voucherPositions(double L16, double L14, double L14Regular, double L105, double TH合计, int detailRows)
{
    VoucherPositions p;
    p.Y1 = 2 * L16 + L14 + L14Regular;
    p.Y2 = p.Y1 + 2 * L105;
    p.T = p.Y2 + 2 * L105;
    p.B = p.T + (qMax(7, detailRows) + 2) * kVoucherRow;
    p.Y3 = p.B + TH合计 / 3;
    return p;
}

std::vector<VoucherStep> voucherCell(const QString& text, double top, double left, double width, bool right,
                                     const VoucherMeasure& m)
{
    std::vector<VoucherStep> out;
    auto put = [&out](double x, double y, const QString& s, double size) {
        if (s.isEmpty()) return;
        VoucherStep st;
        st.x = x;
        st.y = y;
        st.text = s;
        st.size = size;
        out.push_back(st);
    };
    const float w = float(width);
    double size = 10.5;
    auto narrower = [&](double atSize) { return w < float(m.width(atSize, false, text)); };
    if (right) {
        if (narrower(size)) size = 8;
        if (narrower(size)) size = 7;
        put(left + width - m.width(size, false, text) - 1, top + (kVoucherRow - m.height(size, false, text)) / 2, text,
            size);
        return out;
    }
    if (narrower(size)) size = 8;
    if (narrower(size) && !text.isEmpty()) {
        const double perChar = m.width(size, false, text) / text.size();
        const int n = qBound(0, int(std::nearbyint(width / perChar)), int(text.size()));
        put(left, top + 0.5, text.left(n), size);
        put(left, top + 0.5 + m.height(size, false, QStringLiteral("测")), text.mid(n), size);
        return out;
    }
    put(left, top + (kVoucherRow - m.height(size, false, text)) / 2, text, size);
    return out;
}

QStringList voucherTrailLines(const std::vector<std::pair<QString, QString>>& trail, const VoucherMeasure& m)
{
    QStringList lines;
    QString current;
    for (const auto& [department, person] : trail) {
        const QString entry = department + QLatin1Char(' ') + person;
        if (m.width(10.5, false, current + entry + QStringLiteral("    ")) > kVoucherTrailWidth) {
            lines << current;
            current = entry + QStringLiteral(" |  ");
        } else {
            current += entry + QStringLiteral(" |  ");
        }
    }
    lines << current;
    return lines;
}

std::vector<VoucherStep> layoutVoucher(const VoucherData& d, const VoucherMeasure& m, double pageHeight)
{
    Builder b{m, {}};
    const int lineCount = int(d.lines.size());
    const int rows = qMax(7, lineCount);
    const VoucherPositions pos =
        voucherPositions(m.height(16, true, QStringLiteral("中")), m.height(14, true, QStringLiteral("中")),
                         m.height(14, false, QStringLiteral("中")), m.height(10.5, false, QStringLiteral("中")),
                         m.height(10.5, false, QStringLiteral("合计")), rows);
    b.headerLines(d.公司名称);

    // ---- data lines
    const double Y1 = pos.Y1, Y2 = pos.Y2;
    b.text(0, Y1, QStringLiteral("凭证类型：付款凭证"));
    b.text(53, Y1, QStringLiteral("报销日期："));
    b.text(101, Y1, QStringLiteral("凭证编号："));
    b.text(160, Y1, QStringLiteral("附件张数："));
    b.text(0, Y2, QStringLiteral("核算单位："));
    b.text(78, Y2, QStringLiteral("付款方式："));
    b.text(70, Y1, d.报销日期);
    b.text(118, Y1, d.凭证编号);
    b.text(177, Y1, d.附件数量);
    b.text(17, Y2, d.职能部门名称);
    b.text(95, Y2, d.付款方式.value_or(QString()));
    if (d.付款方式 && *d.付款方式 == QStringLiteral("现金")) {
        const double h = m.height(10.5, false, QStringLiteral("的"));
        b.text(121, Y2, QStringLiteral("受款人："));
        b.text(135, Y2 - h / 2, d.报销人);
        b.text(135, Y2 + h / 2, d.银行卡号);
    } else {
        b.text(121, Y2, QStringLiteral("对方单位："));
        const double h = m.height(9, false, QStringLiteral("的"));
        b.text(138, Y2 - h, d.对方单位名称, 9);
        b.text(138, Y2, d.对方帐号, 9);
        b.text(138, Y2 + h, d.对方银行, 9);
    }

    // ---- the table, page by page
    auto headRow = [&](double top) {
        const struct {
            const char16_t* text;
            double left, width;
        } heads[] = {{u"摘   要", 0, 68.2},
                     {u"科目代码", 68.2, 26.3},
                     {u"科目名称", 94.5, 57},
                     {u"借方金额", 151.5, 20},
                     {u"贷方金额", 171.5, 18.5}};
        for (const auto& h : heads) {
            const QString s = QString::fromUtf16(h.text);
            b.text(h.left + (h.width - m.width(10.5, false, s)) / 2, rowTextTop(top, m.height(10.5, false, s)), s);
        }
    };
    auto rules = [&](double top, double bottom, bool withTotal) {
        for (double y = top; y <= bottom + 1e-6; y += kVoucherRow) b.line(0, y, kPageWidth, y);
        const double inner = withTotal ? bottom - kVoucherRow : bottom;
        b.line(0, top, 0, bottom);
        b.line(68.2, top, 68.2, inner);
        b.line(94.5, top, 94.5, inner);
        b.line(151.5, top, 151.5, bottom);
        b.line(171.5, top, 171.5, bottom);
        b.line(kPageWidth, top, kPageWidth, bottom);
        if (withTotal) b.line(10, bottom - kVoucherRow, 10, bottom);
    };
    double segTop = pos.T;
    double continuationTop = pos.Y1;
    headRow(segTop);
    double y = segTop + kVoucherRow;
    Decimal total;
    for (int r = 0; r < rows; ++r) {
        const double need = kVoucherRow + (r == rows - 1 ? kVoucherRow : 0);
        if (y + need > pageHeight && y > segTop + kVoucherRow) {
            rules(segTop, y, false);
            b.newPage();
            continuationTop = b.headerLines(d.公司名称);
            segTop = continuationTop;
            headRow(segTop);
            y = segTop + kVoucherRow;
        }
        if (r < lineCount) {
            const VoucherLine& l = d.lines[size_t(r)];
            b.append(voucherCell(l.摘要, y, 1, 66, false, m));
            b.append(voucherCell(l.科目代号, y, 69, 24, false, m));
            b.append(voucherCell(l.科目名称, y, 95.5, 56, false, m));
            b.append(voucherCell(money(l.金额.value_or(Decimal())), y, 153, 19, true, m));
            total += l.金额.value_or(Decimal());
        }
        y += kVoucherRow;
    }
    const double B = y + kVoucherRow;
    rules(segTop, B, true);
    const double TH合计 = m.height(10.5, false, QStringLiteral("合计"));
    b.text((10 - m.width(10.5, false, QStringLiteral("合计"))) / 2, rowTextTop(B - kVoucherRow, TH合计),
           QStringLiteral("合计"));
    const double Y3 = B + TH合计 / 3;

    // ---- signatures and total
    b.text(160, Y3, QStringLiteral("制单人：") + d.制单人);
    b.text(160, Y3 + TH合计 + 1, QStringLiteral("报销人：") + d.报销人);
    const QString totalText = money(total);
    b.text(11, (B - kVoucherRow) + (kVoucherRow - m.height(10.5, false, QStringLiteral("金"))) / 2,
           QStringLiteral("大写：") + 金额大写(totalText));
    b.append(voucherCell(totalText, B - kVoucherRow, 153, 19, true, m));

    // ---- approval trail
    b.text(0, Y3, QStringLiteral("审批："));
    double ty = Y3;
    const QStringList lines = voucherTrailLines(d.trail, m);
    for (int i = 0; i < lines.size(); ++i) {
        const double lineHeight = m.height(10.5, false, lines[i].isEmpty() ? QStringLiteral("中") : lines[i]);
        if (ty + lineHeight > pageHeight && ty > continuationTop) {
            b.newPage();
            ty = b.headerLines(d.公司名称);
            continuationTop = ty;
        }
        b.text(11, ty, lines[i]);
        if (i + 1 < lines.size()) ty += m.height(10.5, false, lines[i + 1]) + 2.5;
    }
    return b.steps;
}

void drawVoucher(PrintSurface& surface, const std::vector<VoucherStep>& steps)
{
    surface.setScaleMode(PrintSurface::vbMillimeters);
    surface.FontName = QStringLiteral("宋体");
    for (const VoucherStep& s : steps) {
        switch (s.kind) {
        case VoucherStep::Text:
            surface.FontSize = s.size;
            surface.FontBold = s.bold;
            surface.CurrentX = s.x;
            surface.CurrentY = s.y;
            surface.Print(s.text);
            break;
        case VoucherStep::Line:
            surface.Line(s.x, s.y, s.x2, s.y2);
            break;
        case VoucherStep::NewPage:
            surface.NewPage();
            break;
        }
        if (!surface.lastError().isEmpty()) return;
    }
    surface.FontSize = 10.5;
    surface.FontBold = false;
}

}  // namespace corvane::payments
