#include "statistics/StatisticsRules.h"

#include <algorithm>

#include "app/Decimal.h"
#include "platform/Amounts.h"
#include "platform/CellText.h"

namespace corvane::statistics {

std::vector<SummaryLine> summaryBlock(const QString& category, bool receipt, const std::vector<SummaryGroup>& groups)
{
    std::vector<SummaryLine> out;
    out.reserve(groups.size() + 1);
    qint64 count = 0, amount = 0;
    int number = 0;
    for (const SummaryGroup& g : groups) {
        SummaryLine line;
        line.cells[0] = QString::number(++number);
        line.cells[1] = category;
        line.cells[2] = g.name;
        line.cells[3] = QString::number(g.count);
        line.cells[4] = amountText(g.amountCents);
        line.value = g.value;
        line.valueNull = g.valueNull;
        count += g.count;
        amount += g.amountCents.value_or(0);
        out.push_back(std::move(line));
    }
    if (receipt ? amount != 0 : !groups.empty()) {
        SummaryLine total;
        total.total = true;
        total.cells[1] = category;
        total.cells[2] = kTotalText;
        total.cells[3] = QString::number(count);
        total.cells[4] = amountText(amount);
        out.push_back(std::move(total));
    }
    return out;
}

QString amountText(std::optional<qint64> cents) { return cents ? centsText(*cents) : QString(); }

QString plainAmountText(std::optional<qint64> cents)
{
    if (!cents) return {};
    // Decimal::plain()'s text without its arithmetic (a list shows two
    // amounts a row): "0.00" less the zeros that end it, then a lone point.
    CellTextBuffer buffer;
    QStringView t = writeCents(*cents, buffer);
    while (t.endsWith(u'0')) t.chop(1);
    if (t.endsWith(u'.')) t.chop(1);
    return t.toString();
}

QString dayText(const QString& stored) { return stored.trimmed().left(10); }

QString dateDefaultText(const QString& stored)
{
    const QString t = stored.trimmed();
    if (t.size() <= 10) return t;
    const QString time = t.mid(11);
    if (time == QStringLiteral("00:00:00") || time == QStringLiteral("00:00:00.000")) return t.left(10);
    return t.left(10) + QLatin1Char(' ') + time.left(8);
}

ChosenList chosenList(const QStringList& selected)
{
    ChosenList out;
    out.values = selected;
    out.boxText = selected.join(QLatin1Char(',')).trimmed() + QStringLiteral("   ");
    return out;
}

std::array<QString, 11> instalmentTexts(bool receipt, const InstalmentValues& v)
{
    const auto contract = instalmentContractTexts(v);
    const auto own = instalmentOwnTexts(receipt, v);
    std::array<QString, 11> out;
    std::copy(contract.begin(), contract.end(), out.begin());
    std::copy(own.begin(), own.end(), out.begin() + contract.size());
    return out;
}

std::array<QString, 8> instalmentContractTexts(const InstalmentValues& v)
{
    return {v.number,
            v.name,
            v.typeName,
            v.state,
            dayText(v.effective),
            dayText(v.ending),
            plainAmountText(v.contractAmount),
            plainAmountText(v.contractSettled)};
}

std::array<QString, 3> instalmentOwnTexts(bool receipt, const InstalmentValues& v)
{
    std::optional<qint64> balance = v.storedBalance;
    if (receipt) balance = v.plannedAmount ? std::optional<qint64>(*v.plannedAmount - v.instalmentSettled.value_or(0))
                                           : std::nullopt;
    return {dayText(v.planned), plainAmountText(v.plannedAmount), plainAmountText(balance)};
}

}  // namespace corvane::statistics
