#include "plans/Generators.h"

namespace corvane::plans {

namespace {

const QString kDateForm = QStringLiteral("yyyy-MM-dd");
const QString kWholeCount = QStringLiteral("请输入整数！");
const QString kBadDates = QStringLiteral("起始日期或终止日期非法，请输入正确的日期值");
const QString kRatioNotNumber = QStringLiteral("比例必须是数字，请核对");
const QString kBadRatioDate = QStringLiteral("比例中的日期必须是8位有效日期，如20090108");
const QString kBadDueDay = QStringLiteral("请输入正确的付款日期！");

Generated refused(const QString& text, bool information = false, RefusalFocus focus = RefusalFocus::None)
{
    Generated g;
    g.refusal = text;
    g.informationBox = information;
    g.focus = focus;
    return g;
}

// A total or amount box: the number it begins with; a number too large to
// hold counts as no number.
std::optional<Decimal> leading(const QString& text) { return leadingDecimal(text); }

QDate addPeriod(const QDate& d, Period p)
{
    switch (p) {
    case Period::Month: return d.addMonths(1);
    case Period::Quarter: return d.addMonths(3);
    case Period::Year: return d.addYears(1);
    }
    return d;
}

// The last row takes what the others leave of the total, so the plan adds
// up to it whatever the shares were.
void lastTakesRest(std::vector<GeneratedRow>& rows, Decimal total, Decimal othersShown)
{
    if (rows.empty()) return;
    rows.back().amount = (total - othersShown).fixed(2);
}

// A percentage of the ratio texts: a plain number, or no value.
std::optional<Decimal> percentage(QStringView text) { return plainDecimal(text); }

}  // namespace

QString dateRangeRefusal(const QDate& start, const QDate& end)
{
    const QDate earliest(1990, 1, 1);
    if (!start.isValid() || !end.isValid() || start < earliest || end < earliest || start > end) return kBadDates;
    return QString();
}

Generated 每次相同金额(const EqualInput& in)
{
    const auto count = leadingDecimal(in.count);
    const auto n = count ? count->wholeNumber() : std::nullopt;
    if (in.count.trimmed().isEmpty() || !n || *n < 1) return refused(kWholeCount, true, RefusalFocus::Text4);
    if (const QString bad = dateRangeRefusal(in.start, in.end); !bad.isEmpty()) return refused(bad);
    // The box is read by its leading number: an empty one is day 0. The
    // month rule writes the text as typed into the date, so any other text
    // than digits ("5abc", " 5", "-3") would make a date text that is no date.
    const QString day = in.dueDay;
    const bool noDay = day.trimmed().isEmpty();
    bool plainDay = true;
    for (const QChar c : day) plainDay = plainDay && c >= u'0' && c <= u'9';
    if (!noDay && !plainDay) return refused(kBadDueDay);
    qsizetype firstDigit = 0;
    while (firstDigit + 1 < day.size() && day[firstDigit] == u'0') ++firstDigit;
    const QStringView dayDigits = QStringView(day).mid(firstDigit);
    // Past the month's common days, or none at all: the dates step by days.
    const bool byDays = noDay || dayDigits.size() > 2 || dayDigits.toInt() == 0 || dayDigits.toInt() > 28;

    const auto total = leading(in.total);
    if (!total) return refused(kWholeCount, true, RefusalFocus::Text4);
    const auto each = Decimal::quotient(*total, *n, in.decimals, Rounding::HalfToEven);
    if (!each) return refused(kWholeCount, true, RefusalFocus::Text4);
    const Decimal remainder = *total - *each * *n;

    qint64 step = 0;
    if (byDays) {
        const qint64 span = in.start.daysTo(in.end) + 1;
        step = Decimal::quotient(Decimal::whole(span), *n, 0, Rounding::HalfToEven)->wholeNumber().value_or(0);
    } else {
        const qint64 span = 12 * (in.end.year() - in.start.year()) + in.end.month() - in.start.month();
        step = Decimal::quotient(Decimal::whole(span), *n, 0, Rounding::HalfToEven)->wholeNumber().value_or(0);
    }

    Generated g;
    g.rows.reserve(size_t(*n));
    const QDate firstOfMonth(in.start.year(), in.start.month(), 1);
    for (qint64 i = 1; i <= *n; ++i) {
        const qint64 k = in.workFirst ? i : i - 1;
        QString date;
        if (byDays) date = in.start.addDays(k * step).toString(kDateForm);
        else date = firstOfMonth.addMonths(int(k * step)).toString(QStringLiteral("yyyy-MM-")) + day;
        g.rows.push_back({date, each->fixed(2)});
    }
    GeneratedRow& takesRemainder = in.remainderLast ? g.rows.back() : g.rows.front();
    takesRemainder.amount = (*each + remainder).fixed(2);
    return g;
}

Generated 按比例生成计划(const QString& totalText, const QString& ratios)
{
    if (ratios.isEmpty()) return refused(QStringLiteral("请输入比例和日期"));
    std::vector<qsizetype> open, close, slash;
    for (qsizetype i = 0; i < ratios.size(); ++i) {
        if (ratios[i] == u'[') open.push_back(i);
        else if (ratios[i] == u']') close.push_back(i);
        else if (ratios[i] == u'/') slash.push_back(i);
    }
    if (open.size() != close.size()) return refused(QStringLiteral("“[”和“]”不匹配"));
    if (slash.size() + 1 != open.size()) return refused(QStringLiteral("分割符“/”数量不匹配"));

    const auto total = leading(totalText);
    if (!total) return refused(kRatioNotNumber);
    struct Item {
        Decimal share;
        QDate date;
    };
    std::vector<Item> items;
    for (size_t k = 0; k < open.size(); ++k) {
        const qsizetype from = k == 0 ? 0 : slash[k - 1] + 1;
        if (open[k] < from) return refused(kRatioNotNumber);
        const auto share = percentage(QStringView(ratios).mid(from, open[k] - from));
        if (!share) return refused(kRatioNotNumber);
        if (close[k] < open[k]) return refused(kBadRatioDate);
        const QString dateText = ratios.mid(open[k] + 1, close[k] - open[k] - 1);
        bool eightDigits = dateText.size() == 8;
        for (const QChar c : dateText) eightDigits = eightDigits && c >= u'0' && c <= u'9';
        const QDate date = eightDigits ? QDate::fromString(dateText, QStringLiteral("yyyyMMdd")) : QDate();
        if (!date.isValid()) return refused(kBadRatioDate);
        items.push_back({*share, date});
    }

    Generated g;
    Decimal othersShown;
    for (size_t k = 0; k < items.size(); ++k) {
        const auto amount = Decimal::scaled(*total, items[k].share, 100, 2, Rounding::HalfAwayFromZero);
        if (!amount) return refused(kRatioNotNumber);
        g.rows.push_back({items[k].date.toString(kDateForm), amount->fixed(2)});
        if (k + 1 < items.size()) othersShown += *amount;
    }
    lastTakesRest(g.rows, *total, othersShown);
    return g;
}

Generated 按周期生成计划(const PeriodInput& in)
{
    if (const QString bad = dateRangeRefusal(in.start, in.end); !bad.isEmpty()) return refused(bad);
    std::vector<QDate> dates;
    for (QDate d = in.start; d.isValid() && d <= in.end; d = addPeriod(d, in.period)) dates.push_back(d);
    const auto total = leading(in.total);
    if (!total || dates.empty()) return refused(kBadDates);
    // Each share is the exact quotient, rounded once where it is shown.
    const Decimal eachShown = *Decimal::quotient(*total, qint64(dates.size()), 2, Rounding::HalfAwayFromZero);
    Generated g;
    g.rows.reserve(dates.size());
    for (const QDate& d : dates) g.rows.push_back({d.toString(kDateForm), eachShown.fixed(2)});
    lastTakesRest(g.rows, *total, eachShown * qint64(dates.size() - 1));
    return g;
}

Generated 按节点生成计划(const QString& totalText, const std::vector<QDate>& markedNodes, const QString& percentages)
{
    if (markedNodes.empty()) return refused(QStringLiteral("请选择控制节点（至少选一个）"));
    if (percentages.isEmpty()) return refused(QStringLiteral("请输入收/付款比例"));
    const QStringList parts = percentages.split(u'/');
    if (qsizetype(markedNodes.size()) != parts.size())
        return refused(QStringLiteral("输入的支付比例与选择的节点数量不匹配，请核对"));
    const auto total = leading(totalText);
    if (!total) return refused(kRatioNotNumber);

    // The last node takes the rest, so the text after the last "/" is never read.
    std::vector<Decimal> shares;
    for (qsizetype k = 0; k + 1 < parts.size(); ++k) {
        const auto share = percentage(parts[k]);
        if (!share) return refused(kRatioNotNumber);
        shares.push_back(*share);
    }
    Generated g;
    Decimal othersShown;
    for (size_t k = 0; k < markedNodes.size(); ++k) {
        const QString date = markedNodes[k].isValid() ? markedNodes[k].toString(kDateForm) : QString();
        Decimal amount;
        if (k < shares.size()) {
            const auto a = Decimal::scaled(*total, shares[k], 100, 2, Rounding::HalfAwayFromZero);
            if (!a) return refused(kRatioNotNumber);
            amount = *a;
            othersShown += amount;
        }
        g.rows.push_back({date, amount.fixed(2)});
    }
    lastTakesRest(g.rows, *total, othersShown);
    return g;
}

Generated 按长期合同(const LongTermInput& in)
{
    const auto amount = leading(in.amount);
    if (!amount || amount->isZero() || amount->isNegative())
        return refused(QStringLiteral("请输入计划每次金额"), true, RefusalFocus::Text5);
    const auto count = leading(in.count);
    const auto n = count ? count->rounded(0, Rounding::HalfToEven).wholeNumber() : std::nullopt;
    if (!count || count->isZero() || !n || *n < 1)
        return refused(QStringLiteral("请输入计划次数"), true, RefusalFocus::Text6);
    Generated g;
    g.rows.reserve(size_t(*n));
    const QString shown = amount->fixed(2);
    QDate d = in.first;
    for (qint64 i = 0; i < *n && d.isValid(); ++i) {
        g.rows.push_back({d.toString(kDateForm), shown});
        d = addPeriod(d, in.step);
    }
    return g;
}

PanelOpening openingOnEmptyGrid(const QString& amountLabel)
{
    PanelOpening o;
    if (const auto amount = plainDecimal(amountLabel)) {
        o.total = amountLabel.trimmed();
    } else {
        o.modesZeroToTwo = false;
        o.forceLongTerm = true;
    }
    return o;
}

ModeSettings settingsEnabledFor(Mode mode)
{
    ModeSettings s;
    switch (mode) {
    case Mode::Equal: s.countBox = s.dueDay = s.remainder = true; break;
    case Mode::Ratio: s.ratios = true; break;
    case Mode::Period: s.periods = true; break;
    case Mode::LongTerm: s.longTerm = true; break;
    }
    return s;
}

}  // namespace corvane::plans
