#include "payments/PaymentStore.h"

#include <QStringBuilder>

#include "db/Dialect.h"
#include "platform/Amounts.h"

namespace corvane::payments {

namespace {

const QString kNotVoid = QStringLiteral("(r.作废 IS NULL OR r.作废 = 0)");

// A stored amount; NULL (or no number) counts as 0.
Decimal amountOf(const QVariant& v)
{
    const auto c = centsOf(v);
    return c ? Decimal::fromCents(*c) : Decimal();
}

// An amount as every engine stores it exactly.
QVariant money(Decimal d) { return d.fixed(2); }

std::optional<QDate> dateOf(const QVariant& v)
{
    if (v.isNull()) return std::nullopt;
    const QDate d = toDate(v);
    return d.isValid() ? std::optional<QDate>(d) : std::nullopt;
}

}  // namespace

// ---------------------------------------------------------------- lookups

DbResult<std::vector<Category>> expenseCategories()
{
    const auto r = selectRowsQuiet(QStringLiteral("SELECT id, 类别 FROM 科目类别 ORDER BY 类别, id"));
    if (!r) return r.error();
    std::vector<Category> out;
    for (const Row& row : *r) out.push_back({row.value(0).toLongLong(), row.text(1)});
    return out;
}

DbResult<std::optional<SubjectDefaults>> subjectDefaults(const QString& code)
{
    const auto r =
        selectRowsQuiet(QStringLiteral("SELECT 科目名称, 费用类别 FROM 财务科目 WHERE 科目代号 = ?"), {code});
    if (!r) return r.error();
    if (r->empty()) return std::optional<SubjectDefaults>();
    return std::optional<SubjectDefaults>(SubjectDefaults{r->front().text(0), r->front().text(1)});
}

DbResult<std::optional<BudgetLine>> budgetLine(const QSqlDatabase& db, const QString& department, int year,
                                               const QString& subject)
{
    const auto r = selectRowsQuiet(
        db,
        QStringLiteral("SELECT p.计划编号, d.公式, d.数据代号 FROM 预算计划 p INNER JOIN 预算详细 d "
                       "ON p.计划编号 = d.计划编号 WHERE p.部门代号 = ? AND p.年度 = ? AND d.科目代码 = ? "
                       "AND p.审核通过 = 1 AND p.审核完成日期 IS NOT NULL ORDER BY p.计划编号, d.ID"),
        {department, QString::number(year), subject});
    if (!r) return r.error();
    if (r->empty()) return std::optional<BudgetLine>();
    const Row& f = r->front();
    return std::optional<BudgetLine>(BudgetLine{f.text(0), !f.isNull(QStringLiteral("公式")),
                                                !f.isNull(QStringLiteral("数据代号"))});
}

DbResult<std::optional<BudgetLine>> budgetLine(const QString& department, int year, const QString& subject)
{
    return budgetLine(DbConnection(), department, year, subject);
}

DbResult<std::optional<PayeeAccount>> payeeAccount(const QString& payee)
{
    const auto r = selectRowsQuiet(
        QStringLiteral("SELECT 开户银行, 银行帐号 FROM 银行帐号 WHERE 对方单位 = ? ORDER BY ID"), {payee});
    if (!r) return r.error();
    if (r->empty()) return std::optional<PayeeAccount>();
    return std::optional<PayeeAccount>(PayeeAccount{r->front().text(0), r->front().text(1)});
}

DbResult<std::vector<Handler>> handlersOf(const QString& department)
{
    const auto r = selectRowsQuiet(
        QStringLiteral("SELECT e.工号, e.姓名 FROM 岗位信息new p INNER JOIN 员工档案 e ON p.工号 = e.工号 "
                       "WHERE p.职能部门代号 = ? ORDER BY p.岗位代号"),
        {department});
    if (!r) return r.error();
    std::vector<Handler> out;
    for (const Row& row : *r) out.push_back({row.text(0), row.text(1)});
    return out;
}

DbResult<std::optional<Card>> cardOf(const QString& 工号)
{
    const auto r = selectRowsQuiet(
        QStringLiteral("SELECT 银行, 卡名, 卡号 FROM 银行卡设置 WHERE 员工编号 = ? ORDER BY ID"), {工号});
    if (!r) return r.error();
    if (r->empty()) return std::optional<Card>();
    const Row& f = r->front();
    return std::optional<Card>(Card{f.value(0), f.value(1), f.value(2)});
}

// ---------------------------------------------------------------- instalments

DbResult<QString> planContractOf(const QString& number)
{
    const auto r = selectRowsQuiet(
        QStringLiteral("SELECT 补充, 主合同编号, 收付款计划合并 FROM 合同信息 WHERE 合同编号 = ? ORDER BY id"),
        {number});
    if (!r) return r.error();
    if (r->empty()) return QString();
    const Row& f = r->front();
    if (f.flag(QStringLiteral("补充")) && f.flag(QStringLiteral("收付款计划合并"))) return f.text(1);
    return number;
}

QString payableInstalmentsSql(Dialect d)
{
    // The paid sum of each listed instalment only: grouping every payment
    // record of the company would cost the whole table on every refresh. The
    // merged supplements' instalments by their contract numbers: joined,
    // SQLite walks the whole plan table in date order.
    const QString paid = QStringLiteral("(SELECT SUM(r.付款金额) FROM 合同付款记录 r WHERE r.合同付款计划ID = p.ID AND ") +
                         kNotVoid + QStringLiteral(") AS 已付金额");
    const QString columns = QStringLiteral("SELECT p.ID AS 计划ID, ") + dialect::dateTimeText(d, QStringLiteral("p.付款日期")) +
                            QStringLiteral(" AS 付款日期, p.付款金额 AS 付款金额, ") + paid;
    return columns + QStringLiteral(" FROM 合同付款计划表 p WHERE p.合同编号 = ? UNION ALL ") + columns +
           QStringLiteral(" FROM 合同付款计划表 p WHERE p.合同编号 IN (SELECT c.合同编号 FROM 合同信息 c "
                          "WHERE c.主合同编号 = ? AND c.收付款计划合并 = 1) ORDER BY 付款日期, 计划ID");
}

DbResult<std::vector<PayableInstalment>> payableInstalments(const QString& planContract)
{
    Statement st(DbConnection(), payableInstalmentsSql(DbDialect()), {planContract, planContract});
    if (!st.exec()) return st.error();
    std::vector<PayableInstalment> out;
    while (st.next()) {
        PayableInstalment i;
        i.id = st.value(0).toLongLong();
        const QString text = st.value(1).toString();
        i.dateText = text.left(10);
        i.date = dateOf(st.value(1));
        i.amount = amountOf(st.value(2));
        i.paid = amountOf(st.value(3));
        out.push_back(i);
    }
    if (st.error().isValid()) return st.error();
    return out;
}

// ---------------------------------------------------------------- budget

namespace {

// The adjustments, spending and income parts of the balance statement with
// their bound values, in the order they appear.
struct Sources {
    QString sql;
    QVariantList values;
};

Sources adjustmentsPart(const QString& plan, const QString& subject, int month)
{
    const QStringList months = monthList(month);
    Sources s;
    s.sql = QStringLiteral("SELECT a.预算计划编号 AS 计划编号, SUM(ad.拟调整预算额 - ad.原预算金额) AS 调整数 "
                           "FROM 预算调整审批单 a INNER JOIN 预算调整详细 ad ON a.ID = ad.预算调整ID "
                           "WHERE ad.科目代码 = ? AND a.是否通过 = 1 AND a.预算计划编号 = ? AND ad.月份 IN (") +
            placeholders(int(months.size())) + QStringLiteral(") GROUP BY a.预算计划编号");
    s.values << subject << plan;
    for (const QString& m : months) s.values << m;
    return s;
}

Sources spendingPart(const QString& subject, const QString& department, const BudgetPeriod& period)
{
    Sources s;
    s.sql = QStringLiteral("SELECT SUM(m.金额) AS 支出额 FROM 报销单明细 m INNER JOIN 报销单表 f ON m.报销单ID = f.报销单ID "
                           "WHERE f.部门代号 = ? AND m.科目代号 = ? AND f.报批日期 >= ? AND f.报批日期 < ? "
                           "AND ((f.审批通过 = 1 AND f.审批日期 IS NOT NULL) OR (f.审批通过 = 0 AND f.审批日期 IS NULL)) "
                           "AND f.作废日期 IS NULL AND f.报销类型 <> '其他' AND f.报销类型 <> '非预算' "
                           "AND f.报销单类型 <> '分摊' AND f.出纳退回 = 0");
    s.values << department << subject << period.start << period.endExclusive;
    return s;
}

Sources incomePart(const QString& subject, const QString& department, const BudgetPeriod& period,
                   const QString& selectList)
{
    Sources s;
    s.sql = QStringLiteral("SELECT ") + selectList +
            QStringLiteral(" FROM 收入凭证 v INNER JOIN 收入凭证明细 vm ON v.ID = vm.凭证ID "
                           "INNER JOIN 财务科目 k ON vm.科目代号 = k.科目代号 "
                           "WHERE v.收款部门编号 = ? AND v.凭证日期 >= ? AND v.凭证日期 < ? "
                           "AND v.交审日期 IS NOT NULL AND v.作废日期 IS NULL "
                           "AND (v.审批日期 IS NULL OR v.审批同意 = 1) AND vm.科目代号 = ?");
    s.values << department << period.start << period.endExclusive << subject;
    return s;
}

}  // namespace

std::pair<QString, QVariantList> budgetBalanceStatement(const QString& plan, const QString& subject, int year, int month,
                                                       const QString& department)
{
    const BudgetPeriod period = budgetPeriod(year, month);
    const Sources tz = adjustmentsPart(plan, subject, month);
    const Sources bx = spendingPart(subject, department, period);
    const Sources sr = incomePart(subject, department, period,
                                  QStringLiteral("SUM(vm.贷方金额) AS 收入数, SUM(vm.借方金额) AS 支出数"));
    // The plan line first (its first line by ID), the three sums beside it:
    // each subquery gives one row at most, so none can multiply another.
    const QString sql = QStringLiteral("SELECT ") + planSumExpression(month) +
                        QStringLiteral(" AS 计划数, TZ.调整数, BX.支出额, SR.收入数, JH.数据来源, SR.支出数 FROM 预算详细 JH "
                                       "LEFT JOIN (") +
                        tz.sql + QStringLiteral(") TZ ON JH.计划编号 = TZ.计划编号 CROSS JOIN (") + bx.sql +
                        QStringLiteral(") BX CROSS JOIN (") + sr.sql +
                        QStringLiteral(") SR WHERE JH.计划编号 = ? AND JH.科目代码 = ? ORDER BY JH.ID");
    QVariantList values = tz.values + bx.values + sr.values;
    values << plan << subject;
    return {sql, values};
}

DbResult<Decimal> 计算预算余额(const QSqlDatabase& db, const QString& plan, const QString& subject, int year, int month,
                               const QString& department)
{
    const auto [sql, values] = budgetBalanceStatement(plan, subject, year, month, department);
    const auto r = selectRowsQuiet(db, sql, values);
    if (!r) return r.error();
    if (r->empty()) return Decimal();
    const Row& f = r->front();
    BudgetSources s{amountOf(f.value(0)), amountOf(f.value(1)), amountOf(f.value(2)), amountOf(f.value(3)),
                    amountOf(f.value(5))};
    return budgetBalance(f.text(4), s);
}

DbResult<Decimal> 计算预算余额(const QString& plan, const QString& subject, int year, int month,
                               const QString& department)
{
    return 计算预算余额(DbConnection(), plan, subject, year, month, department);
}

DbResult<BudgetCheck> 检查预算余额(const QSqlDatabase& db, const QString& subject, Decimal amount,
                                   const QString& yearMonth, const QString& department)
{
    const int year = yearMonth.left(4).toInt();
    const int month = yearMonth.mid(5, 2).toInt();
    if (month < 1 || month > 12) return BudgetCheck{Decimal() >= amount, QStringLiteral("0")};
    const auto line = budgetLine(db, department, year, subject);
    if (!line) return line.error();
    if (!*line) return BudgetCheck{amount <= Decimal(), QStringLiteral("0")};
    const auto balance = 计算预算余额(db, (*line)->计划编号, subject, year, month, department);
    if (!balance) return balance.error();
    return BudgetCheck{amount <= *balance, balance->fixed(2)};
}

DbResult<BudgetCheck> 检查预算余额(const QString& subject, Decimal amount, const QString& yearMonth,
                                   const QString& department)
{
    return 检查预算余额(DbConnection(), subject, amount, yearMonth, department);
}

DbResult<bool> 附件金额合计(qint64 detailId, Decimal amount)
{
    const auto r = selectRowsQuiet(QStringLiteral("SELECT SUM(金额) FROM 报销附件 WHERE 报销单明细ID = ?"), {detailId});
    if (!r) return r.error();
    if (r->empty() || r->front().value(0).isNull()) return false;
    return amountOf(r->front().value(0)) == amount;
}

DbResult<Decimal> 预算金额(const QString& plan, int month, const QString& subject, const QString& department, int year)
{
    const BudgetPeriod period = budgetPeriod(year, month);
    const Sources tz = adjustmentsPart(plan, subject, month);
    const Sources sr = incomePart(subject, department, period,
                                  QStringLiteral("SUM(CASE WHEN k.支出项 = 1 THEN -vm.贷方金额 ELSE vm.贷方金额 END) AS SR1"));
    const QString sql = QStringLiteral("SELECT ") + planSumExpression(month) +
                        QStringLiteral(" AS 计划数, TZ.调整数, SR.SR1 FROM 预算详细 JH LEFT JOIN (") + tz.sql +
                        QStringLiteral(") TZ ON JH.计划编号 = TZ.计划编号 CROSS JOIN (") + sr.sql +
                        QStringLiteral(") SR WHERE JH.计划编号 = ? AND JH.科目代码 = ? ORDER BY JH.ID");
    QVariantList values = tz.values + sr.values;
    values << plan << subject;
    const auto r = selectRowsQuiet(sql, values);
    if (!r) return r.error();
    if (r->empty()) return Decimal();
    const Row& f = r->front();
    return (amountOf(f.value(0)) + amountOf(f.value(1)) + amountOf(f.value(2))).rounded(2, Rounding::HalfAwayFromZero);
}

DbResult<Decimal> 已用预算金额(const QString& subject, const QString& department)
{
    const auto r = selectRowsQuiet(
        QStringLiteral("SELECT SUM(m.金额) FROM 报销单明细 m INNER JOIN 报销单表 f ON m.报销单ID = f.报销单ID "
                       "WHERE f.报批日期 IS NOT NULL "
                       "AND ((f.审批通过 = 1 AND f.审批日期 IS NOT NULL) OR (f.审批通过 = 0 AND f.审批日期 IS NULL)) "
                       "AND f.作废日期 IS NULL AND f.报销类型 <> '其他' AND f.报销类型 <> '非预算' "
                       "AND f.报销单类型 <> '分摊' AND f.出纳退回 = 0 AND m.科目代号 = ? AND f.部门代号 = ?"),
        {subject, department});
    if (!r) return r.error();
    if (r->empty()) return Decimal();
    return amountOf(r->front().value(0));
}

DbResult<BudgetRowFigures> 填写预算情况数据(const QString& subject, Decimal amount, const QString& department,
                                            const QDate& today)
{
    const auto line = budgetLine(department, today.year(), subject);
    if (!line) return line.error();
    const QString plan = *line ? (*line)->计划编号 : QString();
    const auto budget = 预算金额(plan, today.month(), subject, department, today.year());
    if (!budget) return budget.error();
    const auto spent = 已用预算金额(subject, department);
    if (!spent) return spent.error();
    BudgetRowFigures f;
    f.budget = *budget;
    f.spent = *spent;
    f.withThis = amount + *spent;
    f.left = *budget - f.withThis;
    return f;
}

// ---------------------------------------------------------------- approval path

DbResult<std::optional<QString>> 获取部门类别(const QString& department)
{
    const auto r = selectRowsQuiet(QStringLiteral("SELECT 职能部门类别代号 FROM 职能部门new WHERE 职能部门编号 = ?"),
                                   {department});
    if (!r) return r.error();
    if (r->empty()) return std::optional<QString>();
    return std::optional<QString>(r->front().text(0));
}

DbResult<PathLookup> 获取审批路径(const QString& category, const QString& expenseCategory, Decimal amount,
                                  const QString& department, const QDate& serverDate)
{
    PathLookup out;
    // An empty category matches a rule whose category is empty or not set.
    const QString categoryCondition = category.isEmpty()
                                          ? QStringLiteral("(报销部门类别代号 IS NULL OR 报销部门类别代号 = ?)")
                                          : QStringLiteral("报销部门类别代号 = ?");
    const auto rule = selectRowsQuiet(
        QStringLiteral("SELECT 审批路径代号, 本部门主管审批, ID FROM 报销审批路径设置 WHERE ") + categoryCondition +
            QStringLiteral(" AND 报销类别 = ? AND 金额下限 <= ? AND 金额上限 >= ? ORDER BY ID"),
        {category, expenseCategory, money(amount), money(amount)});
    if (!rule) return rule.error();
    if (rule->empty()) return out;
    const Row& r = rule->front();
    out.审批路径代号 = r.text(0);
    if (r.flag(QStringLiteral("本部门主管审批"))) {
        const auto head = selectRowsQuiet(
            QStringLiteral("SELECT 岗位代号 FROM 岗位信息new WHERE 职能部门代号 = ? AND 部门主管 = 1 "
                           "AND 起始日期 <= ? AND (终止日期 IS NULL OR 终止日期 > ?) ORDER BY 岗位代号"),
            {department, serverDate, serverDate});
        if (!head) return head.error();
        if (head->empty()) {
            out.kind = PathLookup::NoHead;
            return out;
        }
        out.steps.push_back({0, department, head->front().text(0)});
    }
    const auto steps = selectRowsQuiet(
        QStringLiteral("SELECT 审批环节序号, 部门代号, 岗位代号 FROM 报销审批路径 WHERE 报销审批ID = ? ORDER BY ID"),
        {r.value(2)});
    if (!steps) return steps.error();
    for (const Row& s : *steps) out.steps.push_back({s.value(0).toInt(), s.text(1), s.text(2)});
    out.kind = out.steps.empty() ? PathLookup::NoSteps : PathLookup::Found;
    return out;
}

// ---------------------------------------------------------------- the form

namespace {

FormSaveOutcome failedWith(const DbError& e)
{
    FormSaveOutcome o;
    o.kind = FormSaveOutcome::Failed;
    o.error = e;
    return o;
}

// Runs one statement of the save; its error ends the save.
bool run(Statement& st, FormSaveOutcome& out)
{
    if (st.exec()) return true;
    out = failedWith(st.error());
    return false;
}

// Inserts one row of the save; its error ends the save.
std::optional<qint64> insertId(const QSqlDatabase& db, const QString& table, const ColumnValues& row,
                               const QString& idColumn, FormSaveOutcome& out)
{
    const auto id = insertReturningIdQuiet(db, table, row, idColumn);
    if (id) return *id;
    out = failedWith(id.error());
    return std::nullopt;
}

}  // namespace

FormSaveOutcome 保存报销单(const QSqlDatabase& db, const PaymentRequest& q)
{
    FormSaveOutcome out;
    const QVariant updated = q.now;

    Transaction tx(db, Transaction::Write);
    if (!tx.isActive()) return failedWith(tx.error());
    // Every workstation's save waits here for the one before it, so the
    // budget and the balances read below are those the save then lowers.
    DbError lockError;
    if (!takeNumberingLock(db, QStringLiteral("报销单编号"), &lockError)) return failedWith(lockError);

    if (q.budgetMonth) {
        const auto check = 检查预算余额(db, q.subject, q.amount, *q.budgetMonth, q.department);
        if (!check) return failedWith(check.error());
        if (!check->fits) {
            out.kind = FormSaveOutcome::BudgetRefused;
            out.balanceText = check->balanceText;
            return out;
        }
    }

    // The outstanding amount of each chosen instalment, from its valid records.
    std::vector<std::optional<Decimal>> outstanding(q.rows.size());
    for (size_t i = 0; i < q.rows.size(); ++i) {
        const GridInstalment& r = q.rows[i];
        if (!r.chosen || !r.share) continue;
        if (!r.id) {
            outstanding[i] = r.planAmount;
        } else {
            const auto found =
                selectRowsQuiet(db,
                                QStringLiteral("SELECT p.付款金额, (SELECT SUM(r.付款金额) FROM 合同付款记录 r "
                                               "WHERE r.合同付款计划ID = p.ID AND ") +
                                    kNotVoid + QStringLiteral(") FROM 合同付款计划表 p WHERE p.ID = ?"),
                                {*r.id});
            if (!found) return failedWith(found.error());
            if (found->empty()) {
                out.kind = FormSaveOutcome::InstalmentGone;
                return out;
            }
            outstanding[i] = amountOf(found->front().value(0)) - amountOf(found->front().value(1));
        }
        if (*r.share > *outstanding[i]) {
            out.kind = FormSaveOutcome::OverBalance;
            return out;
        }
    }

    // Rows of the grid that are no instalment yet become instalments.
    out.rowIds.resize(q.rows.size());
    for (size_t i = 0; i < q.rows.size(); ++i) {
        out.rowIds[i] = q.rows[i].id;
        if (q.rows[i].id) continue;
        const auto id = insertId(db, QStringLiteral("合同付款计划表"),
                                 {{QStringLiteral("合同编号"), q.contractNumber},
                                  {QStringLiteral("付款日期"), q.paymentDate},
                                  {QStringLiteral("付款金额"), money(q.rows[i].planAmount)},
                                  {QStringLiteral("余额"), money(q.rows[i].planAmount)}},
                                 QStringLiteral("ID"), out);
        if (!id) return out;
        out.rowIds[i] = *id;
    }

    // The form number: one above the highest serial, stepped on while taken.
    const auto top = selectRowsQuiet(db, QStringLiteral("SELECT MAX(流水号) FROM 报销单表"));
    if (!top) return failedWith(top.error());
    qint64 serial = (top->empty() || top->front().value(0).isNull()) ? 1 : top->front().value(0).toLongLong() + 1;
    QString number;
    for (;;) {
        number = formNumber(q.paymentDate.year(), q.userDepartment, serial);
        const auto taken =
            selectRowsQuiet(db, QStringLiteral("SELECT COUNT(*) FROM 报销单表 WHERE 报销单编号 = ?"), {number});
        if (!taken) return failedWith(taken.error());
        if (taken->front().value(0).toLongLong() == 0) break;
        ++serial;
    }

    ColumnValues form{{QStringLiteral("报销单编号"), number},
                      {QStringLiteral("部门类别编号"), q.departmentCategory},
                      {QStringLiteral("部门代号"), q.department},
                      {QStringLiteral("流水号"), serial},
                      {QStringLiteral("报销费用类别"), q.报销费用类别},
                      {QStringLiteral("报销类型"), q.报销类型},
                      {QStringLiteral("报销日期"), q.paymentDate},
                      {QStringLiteral("付款方式"), q.付款方式}};
    if (q.cash) {
        form.insert(form.end(), {{QStringLiteral("发卡银行"), q.card.银行},
                                 {QStringLiteral("银行卡种类"), q.card.卡名},
                                 {QStringLiteral("银行卡号"), q.card.卡号}});
    } else {
        form.insert(form.end(), {{QStringLiteral("对方单位名称"), q.payee},
                                 {QStringLiteral("对方帐号"), q.payeeAccount},
                                 {QStringLiteral("对方银行"), q.payeeBank}});
    }
    form.insert(form.end(), {{QStringLiteral("报销单类型"), QStringLiteral("合同付款")},
                             {QStringLiteral("制单人"), q.handlerName},
                             {QStringLiteral("报销人"), q.handlerName},
                             {QStringLiteral("备注"), QString()},
                             {QStringLiteral("一事一报"), 0},
                             {QStringLiteral("出纳退回"), 0},
                             {QStringLiteral("CzyDH"), q.operatorCode},
                             {QStringLiteral("updatedate"), updated}});
    const auto formId = insertId(db, QStringLiteral("报销单表"), form, QStringLiteral("报销单ID"), out);
    if (!formId) return out;

    const auto detailId = insertId(
        db, QStringLiteral("报销单明细"),
        {{QStringLiteral("报销单ID"), *formId},
         {QStringLiteral("摘要"), QStringLiteral("支付") + q.contractName.trimmed() + QStringLiteral("的合同款")},
         {QStringLiteral("科目代号"), q.subject},
         {QStringLiteral("金额"), money(q.amount)},
         {QStringLiteral("CzyDH"), q.operatorCode},
         {QStringLiteral("updatedate"), updated}},
        QStringLiteral("ID"), out);
    if (!detailId) return out;

    const auto attachmentId = insertId(db, QStringLiteral("报销附件"),
                                       {{QStringLiteral("报销单明细ID"), *detailId},
                                        {QStringLiteral("附件类型"), QStringLiteral("合同")},
                                        {QStringLiteral("项目"), q.contractNumber + QLatin1Char(' ') + q.contractName},
                                        {QStringLiteral("金额"), money(q.amount)},
                                        {QStringLiteral("附件数量"), 1},
                                        {QStringLiteral("票据编号"), textOrNull(q.invoice.trimmed())},
                                        {QStringLiteral("合同编号"), q.contractNumber},
                                        {QStringLiteral("出票单位"), q.payee},
                                        {QStringLiteral("CzyDH"), q.operatorCode},
                                        {QStringLiteral("updatedate"), updated}},
                                       QStringLiteral("ID"), out);
    if (!attachmentId) return out;

    // 保存图片: each listed file whole, under the contract's attachment row.
    for (const StoredFile& f : q.files) {
        Statement st(db,
                     QStringLiteral("INSERT INTO 报销附件图片 (附件ID, 后缀, J图片, J图标) VALUES (?, ?, ?, ?)"),
                     {*attachmentId, f.后缀, f.content,
                      f.picture ? QVariant(f.icon) : QVariant(QMetaType::fromType<QByteArray>())});
        if (!run(st, out)) return out;
    }

    // The payment records, each lowering its instalment's balance from the
    // outstanding amount just read.
    for (size_t i = 0; i < q.rows.size(); ++i) {
        const GridInstalment& r = q.rows[i];
        if (!r.chosen || !r.share) continue;
        Statement rec(db,
                      QStringLiteral("INSERT INTO 合同付款记录 (合同付款计划ID, 付款日期, 付款金额, 凭证编号, 科目代号, 作废) "
                                     "VALUES (?, ?, ?, ?, ?, 0)"),
                      {*out.rowIds[i], q.paymentDate, money(*r.share), number, q.subject});
        if (!run(rec, out)) return out;
        Statement lower(db, QStringLiteral("UPDATE 合同付款计划表 SET 余额 = ? WHERE ID = ?"),
                        {money(*outstanding[i] - *r.share), *out.rowIds[i]});
        if (!run(lower, out)) return out;
        if (lower.rowsAffected() != 1) {
            out = FormSaveOutcome();
            out.kind = FormSaveOutcome::InstalmentGone;
            return out;
        }
    }

    // 保存审批信息: the planned steps, the first of them opened, the form submitted.
    const auto today = selectRowsQuiet(db, QStringLiteral("SELECT ") + dialect::serverToday(dialectOf(db)));
    if (!today) return failedWith(today.error());
    const QDate serverDate = today->empty() ? QDate() : toDate(today->front().value(0));
    if (!serverDate.isValid()) return failedWith(DbError{0, QStringLiteral("服务器日期无法读取")});
    if (q.steps.empty()) return failedWith(DbError{0, QStringLiteral("审批路径未找到，目前你不能生成报销单")});
    const PathStep* first = &q.steps.front();
    for (const PathStep& s : q.steps) {
        if (s.序号 < first->序号) first = &s;
        Statement st(db, QStringLiteral("INSERT INTO 报销单审批路径 (报销单ID, 序号, 部门代号, 岗位代号) VALUES (?, ?, ?, ?)"),
                     {*formId, s.序号, s.部门代号, s.岗位代号});
        if (!run(st, out)) return out;
    }
    Statement open(db,
                   QStringLiteral("INSERT INTO 报销单审批 (报销单ID, 部门代号, 岗位代号, 审批环节序号, 同意) VALUES (?, ?, ?, ?, 0)"),
                   {*formId, first->部门代号, first->岗位代号, first->序号});
    if (!run(open, out)) return out;
    Statement submit(db,
                     QStringLiteral("UPDATE 报销单表 SET 审批路径编号 = ?, 报批日期 = ?, 审批环节序号 = ?, 审批通过 = 0, "
                                    "updatedate = ? WHERE 报销单ID = ? AND 报批日期 IS NULL"),
                     {q.pathCode, serverDate, first->序号, updated, *formId});
    if (!run(submit, out)) return out;
    if (submit.rowsAffected() != 1) return failedWith(DbError{0, QStringLiteral("报销单已提交")});

    if (!tx.commit()) return failedWith(tx.error());
    out.kind = FormSaveOutcome::Saved;
    out.formId = *formId;
    out.formNumber = number;
    return out;
}

FormSaveOutcome 保存报销单(const PaymentRequest& request) { return 保存报销单(DbConnection(), request); }

// ---------------------------------------------------------------- subjects

DbResult<std::vector<SubjectRow>> allowedSubjects(const QString& department, const QString& 报销类型,
                                                  const QString& 类别, const QString& mode, const QDate& today)
{
    const QString select = QStringLiteral("SELECT DISTINCT k.科目代号, k.科目名称, k.上级科目代号 FROM 财务科目 k "
                                          "INNER JOIN 科目类别对应科目 c ON k.科目代号 = c.科目代号 ");
    QString sql;
    QVariantList values;
    if (报销类型 == QStringLiteral("预算") && mode != QStringLiteral("分摊单")) {
        sql = select + QStringLiteral("INNER JOIN 预算体系明细表 s ON k.科目代号 = s.明细科目代号 "
                                      "INNER JOIN 预算体系索引 x ON s.体系ID = x.ID "
                                      "INNER JOIN 职能部门new d ON d.职能部门类别代号 = x.部门类别代号 "
                                      "WHERE d.职能部门编号 = ? AND x.起始日期 <= ? AND (x.终止日期 IS NULL OR x.终止日期 > ?) "
                                      "AND k.预算 = 1");
        values << department << today << today;
    } else if (报销类型 == QStringLiteral("预算")) {
        sql = select + QStringLiteral("WHERE k.预算 = 1");
    } else if (报销类型 == QStringLiteral("非预算")) {
        sql = select + QStringLiteral("WHERE k.非预算 = 1");
    } else if (报销类型 == QStringLiteral("其他")) {
        sql = select + QStringLiteral("WHERE k.其他 = 1");
    } else {
        return std::vector<SubjectRow>();
    }
    sql += QStringLiteral(" AND c.类别 = ? ORDER BY k.科目代号");
    values << 类别;
    const auto r = selectRowsQuiet(sql, values);
    if (!r) return r.error();
    std::vector<SubjectRow> out;
    for (const Row& row : *r)
        out.push_back({row.text(0), row.text(1), row.value(2).isNull() ? std::nullopt : std::optional<QString>(row.text(2))});
    return out;
}

DbResult<std::optional<SubjectRow>> subjectByCode(const QString& code)
{
    const auto r = selectRowsQuiet(
        QStringLiteral("SELECT 科目代号, 科目名称, 上级科目代号 FROM 财务科目 WHERE 科目代号 = ?"), {code});
    if (!r) return r.error();
    if (r->empty()) return std::optional<SubjectRow>();
    const Row& f = r->front();
    return std::optional<SubjectRow>(
        SubjectRow{f.text(0), f.text(1), f.value(2).isNull() ? std::nullopt : std::optional<QString>(f.text(2))});
}

}  // namespace corvane::payments
