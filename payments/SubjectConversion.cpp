#include "payments/SubjectConversion.h"

#include <QHash>
#include <algorithm>

namespace corvane::payments {

namespace {

Mapping mappingFrom(const Row& r)
{
    return {r.text(0), r.text(1), r.text(2), r.text(3), r.text(4)};
}

const QString kColumns = QStringLiteral("发票科目代号, 发票科目名称, 会计科目代号, 会计科目名称, 备注");

MappingOutcome failed(DbError* out, const DbError& e)
{
    if (out) *out = e;
    return MappingOutcome::Failed;
}

}  // namespace

bool codeOrderLess(const QString& a, const QString& b)
{
    if (a.size() != b.size()) return a.size() < b.size();
    return a < b;
}

std::vector<BrowserNode> browserTree(std::vector<BrowserSubject> subjects)
{
    std::stable_sort(subjects.begin(), subjects.end(),
                     [](const BrowserSubject& a, const BrowserSubject& b) { return codeOrderLess(a.code, b.code); });
    QHash<QString, QString> parentOf;
    for (const BrowserSubject& s : subjects) parentOf.insert(s.code, s.parent);
    std::vector<BrowserNode> out;
    out.reserve(subjects.size());
    QHash<QString, bool> seen;
    for (const BrowserSubject& s : subjects) {
        if (seen.contains(s.code)) continue;  // a code twice: its first row
        seen.insert(s.code, true);
        QString parent = s.parent;
        if (!parent.isEmpty()) {
            // Walk up: a parent that is missing, or a chain that comes back, puts the subject at the top.
            QHash<QString, bool> chain{{s.code, true}};
            QString up = parent;
            while (!up.isEmpty()) {
                if (!parentOf.contains(up) || chain.contains(up)) {
                    parent.clear();
                    break;
                }
                chain.insert(up, true);
                up = parentOf.value(up);
            }
        }
        out.push_back({QStringLiteral("$") + s.code, s.code + QLatin1Char(' ') + s.name,
                       parent.isEmpty() ? QString() : QStringLiteral("$") + parent});
    }
    return out;
}

DbResult<std::vector<Mapping>> conversionList()
{
    const auto rows = selectRowsQuiet(QStringLiteral("SELECT ") + kColumns + QStringLiteral(" FROM 票据科目转换"));
    if (!rows) return rows.error();
    std::vector<Mapping> out;
    for (const Row& r : *rows) out.push_back(mappingFrom(r));
    std::stable_sort(out.begin(), out.end(),
                     [](const Mapping& a, const Mapping& b) { return codeOrderLess(a.发票科目代号, b.发票科目代号); });
    return out;
}

DbResult<std::optional<Mapping>> mappingOf(const QString& code)
{
    const auto rows = selectRowsQuiet(
        QStringLiteral("SELECT ") + kColumns + QStringLiteral(" FROM 票据科目转换 WHERE 发票科目代号 = ?"), {code});
    if (!rows) return rows.error();
    if (rows->empty()) return std::optional<Mapping>();
    return std::optional<Mapping>(mappingFrom(rows->front()));
}

MappingOutcome insertMapping(const Mapping& m, const QString& operatorId, const QDateTime& now, DbError* error)
{
    Transaction tx(Transaction::Write);
    if (!tx.isActive()) return failed(error, tx.error());
    const auto taken =
        selectRowsQuiet(QStringLiteral("SELECT 1 FROM 票据科目转换 WHERE 发票科目代号 = ?"), {m.发票科目代号});
    if (!taken) return failed(error, taken.error());
    if (!taken->empty()) return MappingOutcome::Duplicate;
    const auto n = executeQuiet(QStringLiteral("INSERT INTO 票据科目转换 (") + kColumns +
                                    QStringLiteral(", CzyDH, updatedate) VALUES (?, ?, ?, ?, ?, ?, ?)"),
                                {m.发票科目代号, m.发票科目名称, m.会计科目代号, m.会计科目名称, m.备注, operatorId,
                                 dateTimeValue(now)});
    if (!n) return failed(error, n.error());
    if (!tx.commit()) return failed(error, tx.error());
    return MappingOutcome::Done;
}

MappingOutcome updateMapping(const QString& code, const Mapping& m, const QString& operatorId, const QDateTime& now,
                             DbError* error)
{
    Transaction tx(Transaction::Write);
    if (!tx.isActive()) return failed(error, tx.error());
    if (m.发票科目代号 != code) {
        const auto taken =
            selectRowsQuiet(QStringLiteral("SELECT 1 FROM 票据科目转换 WHERE 发票科目代号 = ?"), {m.发票科目代号});
        if (!taken) return failed(error, taken.error());
        if (!taken->empty()) return MappingOutcome::Duplicate;
    }
    const auto n = executeQuiet(
        QStringLiteral("UPDATE 票据科目转换 SET 发票科目代号 = ?, 发票科目名称 = ?, 会计科目代号 = ?, 会计科目名称 = ?,"
                       " 备注 = ?, CzyDH = ?, updatedate = ? WHERE 发票科目代号 = ?"),
        {m.发票科目代号, m.发票科目名称, m.会计科目代号, m.会计科目名称, m.备注, operatorId, dateTimeValue(now), code});
    if (!n) return failed(error, n.error());
    if (*n == 0) return MappingOutcome::NoRow;
    if (!tx.commit()) return failed(error, tx.error());
    return MappingOutcome::Done;
}

MappingOutcome deleteMapping(const QString& code, DbError* error)
{
    const auto n = executeQuiet(QStringLiteral("DELETE FROM 票据科目转换 WHERE 发票科目代号 = ?"), {code});
    if (!n) return failed(error, n.error());
    return *n == 0 ? MappingOutcome::NoRow : MappingOutcome::Done;
}

DbResult<std::vector<BrowserSubject>> allSubjects()
{
    const auto rows = selectRowsQuiet(QStringLiteral("SELECT 科目代号, 科目名称, 上级科目代号 FROM 财务科目"));
    if (!rows) return rows.error();
    std::vector<BrowserSubject> out;
    out.reserve(rows->size());
    for (const Row& r : *rows) out.push_back({r.text(0), r.text(1), r.text(2)});
    return out;
}

}  // namespace corvane::payments
