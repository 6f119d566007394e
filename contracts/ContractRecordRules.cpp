#include "contracts/ContractRecordRules.h"

#include <QRegularExpression>

namespace corvane::contract {

QString shortDateText(const QDate& date) { return date.toString(QStringLiteral("yyyy-MM-dd")); }

std::optional<QDate> parseDateText(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("^(\\d{4})([-/.])(\\d{1,2})\\2(\\d{1,2})$"));
    const auto m = form.match(text.trimmed());
    if (!m.hasMatch()) return std::nullopt;
    const QDate d(m.captured(1).toInt(), m.captured(3).toInt(), m.captured(4).toInt());
    if (!d.isValid()) return std::nullopt;
    return d;
}

std::optional<QString> typedNumberProblem(const QString& number)
{
    for (const QChar c : number)
        if (c.isSpace() || c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
            return QStringLiteral("合同编号中不能含有空格或控制字符");
    return std::nullopt;
}

qint64 termDays(const QDate& start, const QDate& end) { return start.daysTo(end) + 1; }

QString lastDayOfMonthText(int year, int month)
{
    switch (month) {
    case 1: case 3: case 5: case 7: case 8: case 10: case 12: return QStringLiteral("31");
    case 4: case 6: case 9: case 11: return QStringLiteral("30");
    case 2: {
        const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
        return leap ? QStringLiteral("29") : QStringLiteral("28");
    }
    default: return QString();
    }
}

std::optional<QString> renewalEndText(const QString& oldStart, const QString& oldEnd, const QString& newStart)
{
    const auto s = parseDateText(oldStart);
    const auto e = parseDateText(oldEnd);
    const auto n = parseDateText(newStart);
    if (!s || !e || !n) return std::nullopt;
    const int months = (e->year() * 12 + e->month()) - (s->year() * 12 + s->month());
    const QDate end = n->addMonths(months);
    const QString sep = newStart.trimmed().mid(4, 1);
    const QString yearMonth = QStringLiteral("%1").arg(end.year(), 4, 10, QLatin1Char('0')) + sep +
                              QStringLiteral("%1").arg(end.month(), 2, 10, QLatin1Char('0')) + sep;
    if (n->month() != e->month()) return yearMonth + lastDayOfMonthText(end.year(), end.month());
    return yearMonth + QStringLiteral("%1").arg(e->day(), 2, 10, QLatin1Char('0'));
}

}  // namespace corvane::contract
