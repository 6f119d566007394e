#include "plans/PlanRules.h"

#include <QRegularExpression>

#include "app/Decimal.h"
#include "platform/Amounts.h"

namespace corvane::plans {

std::optional<QDate> readDate(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("^(\\d{4})([-/])(\\d{1,2})\\2(\\d{1,2})$"));
    const auto m = form.match(text.trimmed());
    if (!m.hasMatch()) return std::nullopt;
    const QDate d(m.captured(1).toInt(), m.captured(3).toInt(), m.captured(4).toInt());
    if (!d.isValid()) return std::nullopt;
    return d;
}

QString storedAmountText(const std::optional<qint64>& cents)
{
    return cents ? Decimal::fromCents(*cents).plain() : QString();
}

std::optional<QString> unreadableTypedAmount(const QString& amount, const QString& balance,
                                             const PlanCaptions& captions)
{
    const auto reads = [](const QString& text) { return text.trimmed().isEmpty() || parseTypedCents(text); };
    if (!reads(amount)) return captions.amount;
    if (!reads(balance)) return captions.balance;
    return std::nullopt;
}

CheckedPlan checkPlan(const std::vector<PlanGridRow>& rows, const PlanCaptions& captions)
{
    CheckedPlan out;
    out.rows.reserve(rows.size());
    const auto bad = [&](size_t i, const QString& caption) {
        out.rows.clear();
        out.refusal = QStringLiteral("第%1行的%2不正确！").arg(i + 1).arg(caption);
        return out;
    };
    for (size_t i = 0; i < rows.size(); ++i) {
        const PlanGridRow& r = rows[i];
        InstalmentToSave s;
        if (!r.date.trimmed().isEmpty()) {
            s.date = readDate(r.date);
            if (!s.date) return bad(i, captions.date);
        }
        if (!r.amount.trimmed().isEmpty()) {
            s.amount = parseTypedCents(r.amount);
            if (!s.amount) return bad(i, captions.amount);
        }
        if (!r.balance.trimmed().isEmpty()) {
            s.balance = parseTypedCents(r.balance);
            if (!s.balance) return bad(i, captions.balance);
        }
        s.condition = r.condition;
        if (!r.id.isEmpty()) {
            bool ok = false;
            const qint64 id = r.id.toLongLong(&ok);
            if (ok) s.id = id;
        }
        out.rows.push_back(std::move(s));
    }
    return out;
}

}  // namespace corvane::plans
