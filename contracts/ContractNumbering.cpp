#include "contracts/ContractNumbering.h"

namespace corvane::contract {

QString schemeANumber(const QString& prefix, qint64 serial, PrefixForm form)
{
    const QString digits = QStringLiteral("%1").arg(serial, 8, 10, QLatin1Char('0'));
    if (prefix.isEmpty() && form == PrefixForm::DigitsAloneWhenNoPrefix) return digits;
    return prefix + QLatin1Char('-') + digits;
}

std::optional<bool> contractNumberTaken(const QSqlDatabase& db, const QString& number, DbError* error)
{
    Statement probe(db, QStringLiteral("SELECT 1 FROM 合同信息 WHERE 合同编号 = ?"), {number});
    if (!probe.exec()) {
        if (error) *error = probe.error();
        return std::nullopt;
    }
    return probe.next();
}

std::optional<AllocatedNumber> nextSchemeANumber(const QSqlDatabase& db, const QString& prefix, PrefixForm form,
                                                 DbError* error)
{
    Statement highest(db, QStringLiteral("SELECT MAX(流水号) FROM 合同信息"));
    if (!highest.exec()) {
        if (error) *error = highest.error();
        return std::nullopt;
    }
    AllocatedNumber n;
    n.serial = (highest.next() && !highest.row().value(0).isNull()) ? highest.row().value(0).toLongLong() + 1 : 1;
    for (;;) {
        n.number = schemeANumber(prefix, n.serial, form);
        const auto taken = contractNumberTaken(db, n.number, error);
        if (!taken) return std::nullopt;
        if (!*taken) return n;
        ++n.serial;
    }
}

std::optional<QString> typePrefixByName(const QString& typeName)
{
    const auto row = selectFirst(QStringLiteral("SELECT 字 FROM 合同类型 WHERE 合同类型 = ?"), {typeName});
    if (!row) return std::nullopt;
    return row->count() ? row->text(0) : QString();
}

}  // namespace corvane::contract
