#include "receipts/BillStore.h"

#include "db/Dialect.h"

namespace corvane::receipts {

namespace {

// The books lent to one department for one type.
QString lentBooksOf(bool onlyWithFreeBills)
{
    QString sql = QStringLiteral("SELECT 票据领用清单.入库单编号");
    if (onlyWithFreeBills) sql += QStringLiteral(", B.SL");
    sql += QStringLiteral(
        " FROM 票据领用记录 INNER JOIN 票据领用清单 ON 票据领用记录.票据领用记录编号 = 票据领用清单.领用记录编号"
        " INNER JOIN 票据入库单 ON 票据领用清单.入库单编号 = 票据入库单.入库单编号");
    if (onlyWithFreeBills)
        sql += QStringLiteral(
            " INNER JOIN (SELECT COUNT(ID) AS SL, 入库单编号 FROM 票据"
            " WHERE 开票日期 IS NULL AND 作废日期 IS NULL GROUP BY 入库单编号) B"
            " ON 票据领用清单.入库单编号 = B.入库单编号");
    sql += QStringLiteral(
        " WHERE 票据领用清单.核销日期 IS NULL AND 票据领用清单.归还日期 IS NULL"
        " AND 票据领用记录.领用部门代号 = ? AND 票据入库单.票据类型编号 = ?");
    if (onlyWithFreeBills) sql += QStringLiteral(" AND B.SL > 0");
    return sql + QStringLiteral(" ORDER BY 票据领用清单.入库单编号");
}

bool appendBooks(std::vector<LentBook>& out, const QString& department, const QString& type, bool onlyWithFreeBills,
                 DbError& error)
{
    Statement st(lentBooksOf(onlyWithFreeBills), {department, type});
    if (!st.exec()) {
        error = st.error();
        return false;
    }
    while (st.next()) out.push_back({st.value(0).toString(), onlyWithFreeBills ? st.value(1).toInt() : 0});
    if (st.error().isValid()) {
        error = st.error();
        return false;
    }
    return true;
}

bool allDigits(const QString& text)
{
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return !text.isEmpty();
}

}  // namespace

DbResult<std::vector<LentBook>> lentBooks(const QString& department, const QString& type, bool onlyWithFreeBills)
{
    std::vector<LentBook> out;
    DbError error;
    if (!appendBooks(out, department, type, onlyWithFreeBills, error)) return error;
    auto sharing = selectRowsQuiet(QStringLiteral("SELECT 领用部门编号 FROM 票据共用设置 WHERE 共用部门编号 = ?"),
                                   {department});
    if (!sharing) return sharing.error();
    for (const Row& r : *sharing)
        if (!appendBooks(out, r.text(0).trimmed(), type, onlyWithFreeBills, error)) return error;
    return out;
}

DbResult<std::vector<FreeBill>> freeBills(const QString& book)
{
    Statement st(QStringLiteral("SELECT 票据编号, ID FROM 票据 WHERE 开票日期 IS NULL AND 作废日期 IS NULL"
                                " AND 入库单编号 = ? ORDER BY 票据编号"),
                 {book});
    if (!st.exec()) return st.error();
    std::vector<FreeBill> out;
    while (st.next()) out.push_back({st.value(0).toString(), st.value(1).toLongLong()});
    if (st.error().isValid()) return st.error();
    return out;
}

QString selfNumberText(qint64 serial) { return QStringLiteral("%1").arg(serial, 8, 10, QLatin1Char('0')); }

QString selfNumberingKey(const QString& code) { return QStringLiteral("票据:") + code; }

DbResult<qint64> nextSelfNumber(const QSqlDatabase& db, const QString& code)
{
    Statement top(db, QStringLiteral("SELECT MAX(流水号) FROM 票据 WHERE 入库单编号 = ?"), {code});
    if (!top.exec()) return top.error();
    qint64 n = 1;
    if (top.next() && !top.value(0).isNull()) n = top.value(0).toLongLong() + 1;
    if (top.error().isValid()) return top.error();

    // The taken numbers from n upward, in one pass instead of one probe per
    // taken number: numbers of one width order as their digits do, so the
    // walk stops at the first gap.
    Statement taken(db, QStringLiteral("SELECT 票据编号 FROM 票据 WHERE 入库单编号 = ? AND 票据编号 >= ? ORDER BY 票据编号"),
                    {code, selfNumberText(n)});
    if (!taken.exec()) return taken.error();
    QString want = selfNumberText(n);
    while (taken.next()) {
        const QString t = taken.value(0).toString();
        if (t.size() != want.size() || !allDigits(t)) continue;
        if (t == want) {
            want = selfNumberText(++n);
        } else if (t > want) {
            break;
        }
    }
    if (taken.error().isValid()) return taken.error();
    // Past 99999999 the width changes and the walk above no longer orders
    // them; the few numbers there are probed one by one.
    for (;;) {
        Statement probe(db, QStringLiteral("SELECT 1 FROM 票据 WHERE 入库单编号 = ? AND 票据编号 = ?"),
                        {code, selfNumberText(n)});
        if (!probe.exec()) return probe.error();
        const bool exists = probe.next();
        if (probe.error().isValid()) return probe.error();
        if (!exists) return n;
        ++n;
    }
}

DbResult<NewBill> addSelfNumberedBill(const QSqlDatabase& db, const QString& code, const QString& department,
                                      const SelfNumberedExtras& extras)
{
    DbError error;
    if (!takeNumberingLock(db, selfNumberingKey(code), &error)) return error;
    auto n = nextSelfNumber(db, code);
    if (!n) return n.error();
    QStringList columns{QStringLiteral("入库单编号"), QStringLiteral("票据编号"), QStringLiteral("开票部门编号")};
    QVariantList values{code, selfNumberText(*n), department};
    if (extras.writeSerial) {
        columns << QStringLiteral("流水号");
        values << *n;
    }
    for (const auto& [column, value] : extras.columns) {
        columns << column;
        values << value;
    }
    Statement ins(db, dialect::insertReturningId(dialectOf(db), QStringLiteral("票据"), columns, QStringLiteral("ID")),
                  values);
    if (!ins.exec()) return ins.error();
    const auto id = checkedInsertId(ins, QStringLiteral("票据"));
    if (!id) return id.error();
    return NewBill{*id, selfNumberText(*n), *n};
}

DbResult<NewBill> takeSelfNumberedBill(const QString& code, const QString& department)
{
    const QSqlDatabase db = DbConnection();
    Transaction tx(db, Transaction::Write);
    if (!tx.isActive()) return tx.error();
    auto bill = addSelfNumberedBill(db, code, department);
    if (!bill) return bill.error();
    if (!tx.commit()) return tx.error();
    return bill;
}

}  // namespace corvane::receipts
