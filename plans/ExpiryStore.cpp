#include "plans/ExpiryStore.h"

#include "contracts/ContractNumbering.h"
#include "contracts/ContractStore.h"
#include "db/Dialect.h"
#include "platform/Amounts.h"
#include "plans/ExpiryRules.h"

namespace corvane::plans {

namespace {

QVariant amountOrNull(const std::optional<qint64>& cents) { return cents ? QVariant(centsText(*cents)) : nullText(); }
std::optional<QDate> optionalDate(const QVariant& v)
{
    const QDate d = toDate(v);
    return d.isValid() ? std::optional<QDate>(d) : std::nullopt;
}
bool storedTrue(const QVariant& v) { return !v.isNull() && v.toLongLong() == 1; }

QString expirySelect(const QString& where)
{
    return QStringLiteral("SELECT id, 合同编号, 合同金额, 合同生效日期, 合同终止日期, 中止类别, 合同中止日期, 中止原因, "
                          "违约金处理方式, 违约金, 违约金收付日期, 余款勾销, 合同续签 FROM 合同信息 WHERE ") +
           where;
}

DbResult<std::optional<ExpiryContract>> readExpiry(Statement& st)
{
    if (!st.exec()) return st.error();
    if (!st.next()) {
        if (st.error().isValid()) return st.error();
        return std::optional<ExpiryContract>();
    }
    ExpiryContract c;
    c.id = st.value(0).toLongLong();
    c.number = st.value(1).toString();
    c.amount = centsOf(st.value(2));
    c.生效日期 = optionalDate(st.value(3));
    c.终止日期 = optionalDate(st.value(4));
    c.中止类别 = st.value(5).toString();
    c.中止日期 = optionalDate(st.value(6));
    c.中止原因 = st.value(7).toString();
    c.违约金处理方式 = st.value(8).toString();
    c.违约金 = centsOf(st.value(9));
    c.违约金收付日期 = optionalDate(st.value(10));
    c.余款勾销 = storedTrue(st.value(11));
    c.合同续签 = storedTrue(st.value(12));
    return std::optional<ExpiryContract>(std::move(c));
}

// Payment instalments against which nothing has been paid, and which no
// payment record still refers to.
const QString kUnpaid = QStringLiteral(
    "合同编号 = ? AND 付款金额 = 余额 AND NOT EXISTS (SELECT 1 FROM 合同付款记录 r WHERE r.合同付款计划ID = "
    "合同付款计划表.ID AND (r.作废 IS NULL OR r.作废 = 0))");

}  // namespace

DbResult<std::optional<ExpiryContract>> expiryContract(qint64 id)
{
    Statement st(expirySelect(QStringLiteral("id = ?")), {id});
    return readExpiry(st);
}

DbResult<std::optional<ExpiryContract>> expiryContractByNumber(const QString& number)
{
    Statement st(expirySelect(QStringLiteral("合同编号 = ? ORDER BY id")), {number});
    return readExpiry(st);
}

DbResult<std::optional<qint64>> paymentPlanBalance(const QString& number)
{
    // Summed here, not by the server: SQLite would add binary fractions.
    Statement st(QStringLiteral("SELECT 余额 FROM 合同付款计划表 WHERE 合同编号 = ?"), {number});
    if (!st.exec()) return st.error();
    std::optional<qint64> sum;
    while (st.next())
        if (const auto cents = centsOf(st.value(0))) sum = sum.value_or(0) + *cents;
    if (st.error().isValid()) return st.error();
    return sum;
}

DbResult<int> renewalsOf(const QString& number)
{
    Statement st(QStringLiteral("SELECT COUNT(*) FROM 合同信息 WHERE 对应续约合同编号 = ?"), {number});
    if (!st.exec()) return st.error();
    const int n = st.next() ? st.value(0).toInt() : 0;
    if (st.error().isValid()) return st.error();
    return n;
}

TerminationOutcome endContract(qint64 id, const Termination& t)
{
    TerminationOutcome out;
    const QSqlDatabase db = DbConnection();
    Transaction tx(db);
    if (!tx.isActive()) {
        out.error = tx.error();
        return out;
    }
    if (t.writeOff) {
        // The number is the contract's own, read under the same transaction.
        QString contractNumber;
        {
            Statement number(db, QStringLiteral("SELECT 合同编号 FROM 合同信息 WHERE id = ?"), {id});
            if (!number.exec()) {
                out.error = number.error();
                return out;
            }
            if (!number.next()) {
                if (number.error().isValid()) {
                    out.error = number.error();
                    return out;
                }
                out.kind = TerminationOutcome::NoRow;
                return out;
            }
            contractNumber = number.value(0).toString();
        }
        Statement purge(db, QStringLiteral("DELETE FROM 合同付款计划表 WHERE ") + kUnpaid, {contractNumber});
        if (!purge.exec()) {
            out.error = purge.error();
            return out;
        }
        out.writtenOff = purge.rowsAffected();
    }
    QString sql = QStringLiteral("UPDATE 合同信息 SET 合同状态 = ?, 中止类别 = ?, 中止原因 = ?, 合同中止日期 = ?, "
                                 "违约金处理方式 = ?, 违约金 = ?, 违约金收付日期 = ?, 余款勾销 = ?, 合同续签 = ? "
                                 "WHERE id = ?");
    QVariantList values{t.state, t.category, textOrNull(t.reason), t.terminationDate, t.penaltyHandling,
                        amountOrNull(t.penalty), dateValue(t.penaltyDate.value_or(QDate())), t.writeOff ? 1 : 0,
                        t.renewal ? 1 : 0, id};
    if (const auto& l = t.loaded) {
        appendAsLoaded(sql, values, QStringLiteral("中止类别"), l->中止类别);
        appendAsLoaded(sql, values, QStringLiteral("中止原因"), l->中止原因);
        appendAsLoaded(sql, values, QStringLiteral("合同中止日期"), dateValue(l->中止日期.value_or(QDate())));
        appendAsLoaded(sql, values, QStringLiteral("违约金处理方式"), l->违约金处理方式);
        appendAsLoaded(sql, values, QStringLiteral("违约金"), amountOrNull(l->违约金));
        appendAsLoaded(sql, values, QStringLiteral("违约金收付日期"), dateValue(l->违约金收付日期.value_or(QDate())));
        // A box was ticked only for a stored 1.
        for (const auto& [column, ticked] : {std::pair{QStringLiteral("余款勾销"), l->余款勾销},
                                             std::pair{QStringLiteral("合同续签"), l->合同续签}})
            sql += ticked ? QStringLiteral(" AND %1 = 1").arg(column)
                          : QStringLiteral(" AND (%1 IS NULL OR %1 <> 1)").arg(column);
    }
    Statement update(db, sql, values);
    if (!update.exec()) {
        out.error = update.error();
        return out;
    }
    if (update.rowsAffected() < 1) {
        Statement probe(db, QStringLiteral("SELECT 1 FROM 合同信息 WHERE id = ?"), {id});
        if (!probe.exec()) {
            out.error = probe.error();
            return out;
        }
        const bool exists = probe.next();
        if (probe.error().isValid()) {
            out.error = probe.error();
            return out;
        }
        out.kind = exists ? TerminationOutcome::Changed : TerminationOutcome::NoRow;
        return out;
    }
    if (!tx.commit()) {
        out.error = tx.error();
        return out;
    }
    out.kind = TerminationOutcome::Done;
    return out;
}

RenewalOutcome renewContract(const QSqlDatabase& db, qint64 oldId, const QDate& start, const QDate& today,
                             const QString& operatorCode)
{
    RenewalOutcome out;
    Transaction tx(db, Transaction::Write);
    if (!tx.isActive()) {
        out.error = tx.error();
        return out;
    }
    if (!takeNumberingLock(db, contract::kContractNumberingKey, &out.error)) return out;

    Row o;
    {
    Statement old(db,
                  QStringLiteral("SELECT 合同编号, 对方单位, 对方开户行, 对方帐号, 是否是合格供方, 合格供方代码, 合同类型, "
                                 "合同名称, 合同期限, 字, 主要条款, 合同金额, 对应部门, 签约人, 对方签约人 "
                                 "FROM 合同信息 WHERE id = ?"),
                  {oldId});
    if (!old.exec()) {
        out.error = old.error();
        return out;
    }
    if (!old.next()) {
        if (old.error().isValid()) out.error = old.error();
        else out.kind = RenewalOutcome::NoRow;
        return out;
    }
    o = old.row();
    }
    const QString oldNumber = o.text(0);

    // Someone may have renewed it since the button was enabled.
    Statement renewed(db, QStringLiteral("SELECT COUNT(*) FROM 合同信息 WHERE 对应续约合同编号 = ?"), {oldNumber});
    if (!renewed.exec() || !renewed.next()) {
        out.error = renewed.error();
        return out;
    }
    if (renewed.value(0).toInt() > 0) {
        out.kind = RenewalOutcome::AlreadyRenewed;
        return out;
    }

    const int year = start.year();
    Statement highest(db, QStringLiteral("SELECT MAX(流水号) FROM 合同信息 WHERE 年份 = ?"), {year});
    if (!highest.exec()) {
        out.error = highest.error();
        return out;
    }
    const bool got = highest.next();
    if (!got && highest.error().isValid()) {
        out.error = highest.error();
        return out;
    }
    const qint64 top = got && !highest.value(0).isNull() ? highest.value(0).toLongLong() : 0;
    const RenewalNumber n =
        firstFreeRenewalNumber(year, top, [&](const QString& number) { return contract::contractNumberTaken(db, number, &out.error); });
    if (n.kind == RenewalNumber::Exhausted) {
        out.kind = RenewalOutcome::Exhausted;
        return out;
    }
    if (n.kind != RenewalNumber::Free) return out;

    const QVariant periodValue = o.value(8);
    std::optional<qint64> period;
    if (!periodValue.isNull()) period = periodValue.toLongLong();
    const auto end = renewalEndDate(start, period, o.text(9));

    const auto amount = centsOf(o.value(11));
    // A column the renewal takes over from the old contract as it stands.
    auto kept = [&](const QString& column) { return std::pair{column, o.value(column)}; };
    const ColumnValues row{
        {QStringLiteral("合同编号"), n.number},
        {QStringLiteral("合同名称"), o.text(7) + QStringLiteral("(续)")},
        kept(QStringLiteral("对方单位")),
        kept(QStringLiteral("对方开户行")),
        kept(QStringLiteral("对方帐号")),
        kept(QStringLiteral("是否是合格供方")),
        kept(QStringLiteral("合格供方代码")),
        kept(QStringLiteral("合同类型")),
        {QStringLiteral("合同签订日期"), start},
        {QStringLiteral("合同生效日期"), start},
        kept(QStringLiteral("合同期限")),
        kept(QStringLiteral("字")),
        {QStringLiteral("合同终止日期"), dateValue(end.value_or(QDate()))},
        kept(QStringLiteral("主要条款")),
        {QStringLiteral("合同金额"), amount ? QVariant(centsText(*amount)) : nullText()},
        kept(QStringLiteral("对应部门")),
        kept(QStringLiteral("签约人")),
        kept(QStringLiteral("对方签约人")),
        {QStringLiteral("合同状态"), QStringLiteral("签约中")},
        {QStringLiteral("年份"), year},
        {QStringLiteral("流水号"), n.serial},
        {QStringLiteral("对应续约合同编号"), oldNumber},
        {QStringLiteral("updatedate"), dateTimeValue(dialectOf(db), QDateTime(today, QTime(0, 0)))},
        {QStringLiteral("CzyDH"), operatorCode},
    };
    const auto id = insertReturningIdQuiet(db, QStringLiteral("合同信息"), row, QStringLiteral("id"));
    if (!id) {
        out.error = id.error();
        return out;
    }
    out.id = *id;
    if (!tx.commit()) {
        out.error = tx.error();
        return out;
    }
    out.number = n.number;
    out.kind = RenewalOutcome::Done;
    return out;
}

RenewalOutcome renewContract(qint64 oldId, const QDate& start, const QDate& today, const QString& operatorCode)
{
    return renewContract(DbConnection(), oldId, start, today, operatorCode);
}

}  // namespace corvane::plans
