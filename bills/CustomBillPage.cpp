#include "bills/CustomBillPage.h"

#include <QApplication>
#include <cfenv>
#include <cmath>

#include "app/AmountInWords.h"
#include "platform/PrintSurface.h"
#include "platform/TextMeasure.h"

namespace corvane::receipts {

namespace {

constexpr double kTwipsPerMillimetre = 1440.0 / 25.4;

QFont fontOf(const QString& name, double size, bool bold)
{
    QFont f(name);
    f.setPointSizeF(size > 0 ? size : 9);
    f.setBold(bold);
    return f;
}

}  // namespace

QFont PageField::font() const { return fontOf(fontName, fontSize, bold); }

int roundHalfEven(double v)
{
    const int saved = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double r = std::nearbyint(v);
    std::fesetround(saved);
    return static_cast<int>(r);
}

PagePlacement placePage(double pageWidth, double pageHeight, double viewportWidth, double viewportHeight,
                        double vScrollWidth, double hScrollHeight)
{
    PagePlacement p;
    if (viewportWidth - vScrollWidth >= pageWidth) {
        p.left = (viewportWidth - pageWidth) / 2;
    } else {
        p.hEnabled = true;
        p.hMax = roundHalfEven(pageWidth - viewportWidth);
    }
    if (viewportHeight - hScrollHeight >= pageHeight) {
        p.top = (viewportHeight - pageHeight) / 2;
    } else {
        p.vEnabled = true;
        p.vMax = roundHalfEven(pageHeight - viewportHeight);
    }
    return p;
}

double fieldBoxHeight(const QFont& font, const QString& name) { return TextHeightTwips(font, name) / 48.6; }

BillPage::BillPage()
{
    // The templates: blue text on the page's field colour, 金额, 数量 and
    // 单价 to the right.
    for (int l = 0; l < kFieldLists; ++l) {
        PageField t;
        const auto list = static_cast<FieldList>(l);
        t.rightAligned = list == FieldList::TextJE || list == FieldList::TextSL || list == FieldList::TextDJ;
        fields[l].push_back(t);
    }
}

std::vector<int> BillPage::singleFields(const QString& name) const
{
    std::vector<int> out;
    const auto& l = list(FieldList::Text1);
    for (int i = 1; i <= upperBound(l); ++i)
        if (l[i].tag == name) out.push_back(i);
    return out;
}

std::vector<int> BillPage::rowFields(FieldList which, int k) const
{
    std::vector<int> out;
    const QString tag = QString::number(k);
    const auto& l = list(which);
    for (int i = 1; i <= upperBound(l); ++i)
        if (l[i].tag == tag) out.push_back(i);
    return out;
}

std::optional<QString> BillPage::firstSingleField(const QString& name) const
{
    const auto found = singleFields(name);
    if (found.empty()) return std::nullopt;
    return list(FieldList::Text1)[found.front()].text;
}

void BillPage::setSingleFields(const QString& name, const QString& text)
{
    for (int i : singleFields(name)) list(FieldList::Text1)[i].text = text;
}

BuildOutcome buildPage(BillPage& page, const BillLayout& layout)
{
    page.width = layout.head.width;
    page.height = layout.head.height;
    for (const BillLayoutLine& r : layout.lines) {
        const int w = roundHalfEven(r.w);
        if (w < 1)
            return {false, QStringLiteral("线宽无效：") + QString::number(r.w)};
        page.Line1.push_back({r.x1, r.y1, r.x2, r.y2, w});
    }
    for (const BillLayoutText& r : layout.texts) page.Label1.push_back({r.text, r.left, r.top, r.font, r.size, r.bold});
    for (const BillLayoutField& r : layout.fields) {
        const FieldList which = listOfField(r.name);
        auto& elements = page.list(which);
        if (BillPage::upperBound(elements) >= 32767)
            return {false, QStringLiteral("票据格式的元素超过32767个：") + r.name};
        PageField f = elements.front();
        f.left = r.left;
        f.top = r.top;
        f.fontName = r.font;
        f.fontSize = r.size;
        f.bold = r.bold;
        f.height = fieldBoxHeight(f.font(), r.name);
        f.width = r.width;
        f.tag = which == FieldList::Text1 ? r.name : QString::number(r.row);
        elements.push_back(std::move(f));
    }
    return {};
}

PendingBill pendingBillOf(const ReceiptBillContext& receipt)
{
    PendingBill b;
    b.收款方式 = receipt.method;
    b.开票日期 = receipt.issueDate;
    b.预开 = receipt.preIssued ? 1 : 0;
    b.收款日期 = receipt.receiptDate;
    b.地址 = receipt.address;
    b.合同编号 = receipt.contract;
    b.税额 = leadingDecimal(receipt.taxTotal).value_or(Decimal());
    return b;
}

namespace {

// A grid cell read as a number: an empty cell is 0 and shows nothing.
struct CellNumber {
    Decimal value;
    bool empty = false;
};
std::optional<CellNumber> cellNumber(const QString& cell)
{
    const QString text = cell.trimmed();
    if (text.isEmpty()) return CellNumber{Decimal(), true};
    // A plain decimal number (the net columns carry six decimals); held to
    // four decimals as the bill lines keep them.
    bool ok = false;
    text.toDouble(&ok);
    if (!ok || text.contains(QLatin1Char('e'), Qt::CaseInsensitive)) return std::nullopt;
    const auto d = leadingDecimal(text);
    if (!d) return std::nullopt;
    return CellNumber{*d, false};
}

const char* const kColumnNames[16] = {"项目", "摘要", "单位", "数量", "单价", "金额", "税率", "税额",
                                      "",     "对应科目", "收费项目", "应税科目", "", "", "不含税单价", "不含税金额"};

}  // namespace

FillOutcome fillPage(BillPage& page, PendingBill& bill, std::vector<PendingLine>& lines,
                     const ReceiptBillContext& receipt, const QString& userName)
{
    FillOutcome out;
    bill.金额 = Decimal();
    lines.clear();
    const auto put = [&](FieldList l, int k, const QString& text) {
        for (int i : page.rowFields(l, k)) page.list(l)[i].text = text;
    };
    for (int r = 1; r <= static_cast<int>(receipt.lines.size()); ++r) {
        const auto& c = receipt.lines[r - 1].cells;
        std::array<CellNumber, 16> n{};
        for (int col : {3, 4, 5, 6, 7, 14, 15}) {
            const auto v = cellNumber(c[col]);
            if (!v) {
                out.blocked = true;
                out.message = QStringLiteral("票据第%1行的%2不是数字：%3")
                                  .arg(r)
                                  .arg(QString::fromUtf8(kColumnNames[col]), c[col]);
                return out;
            }
            n[col] = *v;
        }
        PendingLine line;
        line.项目 = c[0];
        line.摘要 = c[1];
        line.单位 = c[2];
        line.数量 = n[3].value;
        line.单价 = n[4].value;
        line.金额 = n[5].value;
        line.税率 = n[6].value;
        line.税额 = n[7].value;
        line.科目代号 = c[9];
        line.收费项目代号 = c[10];
        line.应税科目 = c[11];
        line.不含税单价 = c[14].trimmed().toDouble();
        line.不含税金额 = c[15].trimmed().toDouble();
        line.非日常 = receipt.lines[r - 1].mark == 1 ? 0 : 1;
        lines.push_back(line);
        bill.金额 += line.金额;

        if (page.rowFields(FieldList::TextXM, r).empty()) {
            out.blocked = true;
            out.message = kTooFewLines;
            break;
        }
        put(FieldList::TextXM, r, line.项目);
        put(FieldList::TextZY, r, line.摘要);
        put(FieldList::TextDW, r, line.单位);
        const auto plain = [&](int col) { return n[col].empty ? QString() : n[col].value.plain(); };
        put(FieldList::TextSL, r, plain(3));
        put(FieldList::TextDJ, r, plain(4));
        put(FieldList::TextJE, r, plain(5));
        put(FieldList::TextSLV, r,
            n[6].empty ? QString() : (n[6].value * 100).rounded(0, Rounding::HalfAwayFromZero).plain() + QLatin1Char('%'));
        put(FieldList::TextSE, r, n[7].empty ? QString() : n[7].value.fixed(2));
    }

    const QString total = bill.金额.fixed(2);
    auto& singles = page.list(FieldList::Text1);
    for (int i = 1; i <= BillPage::upperBound(singles); ++i) {
        PageField& f = singles[i];
        const QString& tag = f.tag;
        if (tag == QStringLiteral("付款人")) f.text = receipt.payer;
        else if (tag == QStringLiteral("合计金额")) {
            f.text = total;
            f.rightAligned = true;
        } else if (tag == QStringLiteral("大写")) f.text = 金额大写2(total);
        else if (tag == QStringLiteral("备注")) f.text = receipt.remark;
        else if (tag == QStringLiteral("开票日期")) f.text = bill.开票日期.toString(QStringLiteral("yyyy-MM-dd"));
        else if (tag == QStringLiteral("票据编号")) f.text = QStringLiteral("<打印完成后自动生成>");
        else if (tag == QStringLiteral("开票人")) f.text = userName;
        else if (tag == QStringLiteral("地址")) f.text = receipt.address;
        else if (tag == QStringLiteral("收款方式")) f.text = receipt.preIssued ? QString() : receipt.method;
        else if (tag == QStringLiteral("开票方式")) f.text = receipt.preIssued ? QStringLiteral("预开") : QString();
    }
    return out;
}

namespace {

std::optional<QDate> monthOf(const QString& item)
{
    if (item.isEmpty() || item.size() > 9) return std::nullopt;
    for (QChar c : item)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return std::nullopt;
    const qint64 v = item.toLongLong();
    const int month = static_cast<int>(v % 100);
    const qint64 year = v / 100;
    if (month < 1 || month > 12 || year < 100 || year > 9999) return std::nullopt;
    return QDate(static_cast<int>(year), month, 1);
}

}  // namespace

QString 简化处理(int& i, const QStringList& items)
{
    const int m = static_cast<int>(items.size()) - 1;
    auto last = monthOf(items[i]);
    if (!last) return items[i];
    const QString first = items[i];
    QString lastText = first;
    for (int j = i + 1; j <= m; ++j) {
        const auto month = monthOf(items[j]);
        if (!month) return items[i];
        if (*month == last->addMonths(1)) {
            last = month;
            lastText = items[j];
            continue;
        }
        i = j - 1;
        return first + QLatin1Char('-') + lastText;
    }
    i = m;
    return first + QLatin1Char('-') + lastText;
}

QStringList 规格型号处理(const QString& text, double limit, const WidthMm& width)
{
    QStringList items = text.split(QLatin1Char(','));
    QString source;
    if (items.size() > 1) {
        // The scan never takes the last item on its own: a list without a
        // trailing comma would lose it.
        if (!items.last().isEmpty()) items.append(QString());
        const int m = static_cast<int>(items.size()) - 1;
        for (int i = 0; i <= m - 1; ++i) {
            const QString piece = 简化处理(i, items);
            if (!source.isEmpty()) source += QLatin1Char(',');
            source += piece;
        }
    } else {
        source = text;
    }
    QStringList lines{QString()};
    const int len = static_cast<int>(source.size());
    int a = 0, e = 0, n = 0;
    while (e < len) {
        while (e < len && width(source.mid(a, e - a)) <= limit) ++e;
        // A limit below an empty piece's width would never move on.
        if (e == a) ++e;
        const QString line = source.mid(a, e - a);
        if (n < lines.size()) lines[n] = line;
        else lines.append(line);
        ++n;
        a = e;
    }
    return lines;
}

QFont pageFont() { return QApplication::font(); }

double textWidthMm(const QFont& font, const QString& text) { return TextWidthTwips(font, text) / kTwipsPerMillimetre; }
double textHeightMm(const QFont& font, const QString& text) { return TextHeightTwips(font, text) / kTwipsPerMillimetre; }

namespace {

void setFont(PrintSurface& p, const QString& name, double size, bool bold)
{
    p.FontBold = bold;
    p.FontName = name;
    p.FontSize = size;
}

// True when something was printed.
bool printAt(PrintSurface& p, double x, double y, const QString& text)
{
    if (text.isEmpty()) return false;
    p.CurrentY = y;
    p.CurrentX = x;
    p.Print(text);
    return true;
}

double rightAlignedX(PrintSurface& p, const PageField& f)
{
    const float right = static_cast<float>(f.left + f.width);
    return static_cast<float>(right - p.TextWidth(f.text));
}

}  // namespace

bool printPage(const BillPage& page, PrintSurface& p)
{
    p.setScaleMode(PrintSurface::vbMillimeters);
    bool drew = BillPage::upperBound(page.Line1) >= 1;
    for (int i = 1; i <= BillPage::upperBound(page.Line1); ++i) {
        const PageLine& l = page.Line1[i];
        p.DrawWidth = l.width;
        p.Line(l.x1, l.y1, l.x2, l.y2);
    }
    for (int i = 1; i <= BillPage::upperBound(page.Label1); ++i) {
        const PageText& t = page.Label1[i];
        setFont(p, t.fontName, t.fontSize, t.bold);
        drew |= printAt(p, t.left, t.top, t.caption);
    }
    const auto& singles = page.list(FieldList::Text1);
    for (int i = 1; i <= BillPage::upperBound(singles); ++i) {
        const PageField& f = singles[i];
        setFont(p, f.fontName, f.fontSize, f.bold);
        if (f.text.isEmpty()) continue;
        drew |= printAt(p, f.rightAligned ? rightAlignedX(p, f) : f.left, f.top, f.text);
    }
    const auto plainList = [&](FieldList which) {
        const auto& l = page.list(which);
        for (int i = 1; i <= BillPage::upperBound(l); ++i) {
            setFont(p, l[i].fontName, l[i].fontSize, l[i].bold);
            drew |= printAt(p, l[i].left, l[i].top, l[i].text);
        }
    };
    plainList(FieldList::TextXM);
    {
        const QFont own = pageFont();
        const auto& l = page.list(FieldList::TextZY);
        for (int i = 1; i <= BillPage::upperBound(l); ++i) {
            const PageField& f = l[i];
            setFont(p, f.fontName, f.fontSize, f.bold);
            if (f.text.isEmpty()) continue;
            if (textWidthMm(own, f.text) > f.width) {
                const QStringList lines = 规格型号处理(f.text, l[1].width, [&](const QString& s) {
                    return textWidthMm(own, s);
                });
                const double pitch = textHeightMm(own, QStringLiteral("的"));
                for (int j = 0; j < std::min<int>(4, lines.size()); ++j) {
                    setFont(p, f.fontName, f.fontSize, f.bold);
                    drew |= printAt(p, f.left, f.top + j * pitch, lines[j]);
                }
            } else {
                drew |= printAt(p, f.left, f.top, f.text);
            }
        }
    }
    plainList(FieldList::TextDW);
    for (FieldList which : {FieldList::TextSL, FieldList::TextDJ, FieldList::TextJE, FieldList::TextSLV, FieldList::TextSE}) {
        const auto& l = page.list(which);
        for (int i = 1; i <= BillPage::upperBound(l); ++i) {
            setFont(p, l[i].fontName, l[i].fontSize, l[i].bold);
            if (l[i].text.isEmpty()) continue;
            drew |= printAt(p, rightAlignedX(p, l[i]), l[i].top, l[i].text);
        }
    }
    // A print of the bill always gives the clerk one sheet, a blank one when
    // the page holds nothing: the printer starts a job only when something is
    // drawn, and an invisible blank is enough to start it.
    if (!drew) printAt(p, 0, 0, QStringLiteral(" "));
    return p.EndDoc();
}

}  // namespace corvane::receipts
