#include "receipts/ReceiptStore.h"

#include "db/Dialect.h"
#include "platform/Amounts.h"
#include "receipts/BillStore.h"

namespace corvane::receipts {

namespace {

Decimal decimalOf(const QVariant& value)
{
    if (value.isNull()) return Decimal();
    if (const auto cents = centsOf(value)) return Decimal::fromCents(*cents);
    return leadingDecimal(value.toString()).value_or(Decimal());
}

// A picker's date as the date-time it stands for: the day at 00:00:00.
QVariant pickerDate(const QDate& date) { return dateTimeValue(QDateTime(date, QTime(0, 0))); }

// An amount box as written: the number it begins with, in hundredths.
QString amountOf(const QString& box)
{
    return leadingDecimal(box).value_or(Decimal()).fixed(2);
}

}  // namespace

bool insertReceiptRecords(const QSqlDatabase& db, const QString& book, const QString& number,
                    const std::vector<Collected>& collected, const QDateTime& now, int& written, DbError& error)
{
    for (const Collected& c : collected) {
        if (c.amount.isZero()) continue;
        Statement st(db,
                     QStringLiteral("INSERT INTO 合同收款记录 (合同收款计划ID, 收款日期, 收款金额, 票据编号, 入库单编号) "
                                    "VALUES (?, ?, ?, ?, ?)"),
                     {c.planId, dateTimeValue(now), c.amount.fixed(2), number, book});
        if (!st.exec()) {
            error = st.error();
            return false;
        }
        ++written;
    }
    return true;
}

DbResult<std::vector<Office>> officesOf(const QString& department)
{
    auto rows = selectRowsQuiet(QStringLiteral("SELECT gyd_dh, gyd_name FROM 职能部门new"
                                               " INNER JOIN 设置管理处 ON 职能部门编号 = 对应部门代号"
                                               " WHERE 职能部门编号 = ?"),
                                {department});
    if (!rows) return rows.error();
    std::vector<Office> out;
    for (const Row& r : *rows) out.push_back({r.text(0), r.text(1)});
    return out;
}

DbResult<std::vector<PaymentMethod>> paymentMethods()
{
    auto rows = selectRowsQuiet(QStringLiteral("SELECT id, 收款方式 FROM 收款方式列表 ORDER BY id"));
    if (!rows) return rows.error();
    std::vector<PaymentMethod> out;
    for (const Row& r : *rows) out.push_back({r.value(0).toLongLong(), r.text(1)});
    return out;
}

DbResult<QStringList> departmentStaff(const QString& department)
{
    auto rows = selectRowsQuiet(QStringLiteral("SELECT 岗位信息new.职能部门代号, 员工档案.姓名, 岗位信息new.岗位代号"
                                               " FROM 岗位信息new INNER JOIN 员工档案 ON 岗位信息new.工号 = 员工档案.工号"
                                               " WHERE 岗位信息new.职能部门代号 = ? ORDER BY 岗位信息new.岗位代号"),
                                {department});
    if (!rows) return rows.error();
    QStringList out;
    for (const Row& r : *rows) out << r.text(1);
    return out;
}

DbResult<std::vector<BillTypeEntry>> billTypeEntries(const QString& userDepartment)
{
    std::vector<BillTypeEntry> out;
    auto types = selectRowsQuiet(QStringLiteral("SELECT 票据类型代号, 票据类型, 无票据编号 FROM 票据类型"
                                                " WHERE 定额 = 0 ORDER BY 票据类型代号"));
    if (!types) return types.error();
    for (const Row& r : *types)
        out.push_back({r.text(0) + QLatin1Char(' ') + r.text(1),
                       r.value(2).toInt() != 0 ? BillKind::ExportPrint : BillKind::VatInvoice});
    auto lent = selectRowsQuiet(QStringLiteral("SELECT 编号字, 格式名称 FROM 票据自定义格式 WHERE 票据管理 = 1 ORDER BY ID"));
    if (!lent) return lent.error();
    for (const Row& r : *lent) out.push_back({r.text(0) + QLatin1Char(' ') + r.text(1), BillKind::LentLayout});
    auto own = selectRowsQuiet(QStringLiteral("SELECT 编号字, 格式名称 FROM 票据自定义格式"
                                              " WHERE 部门编号 = ? AND 票据管理 = 0 ORDER BY ID"),
                               {userDepartment});
    if (!own) return own.error();
    for (const Row& r : *own) out.push_back({r.text(0) + QLatin1Char(' ') + r.text(1), BillKind::OwnLayout});
    return out;
}

DbResult<std::optional<QString>> systemSetting(const QString& name)
{
    auto rows = selectRowsQuiet(QStringLiteral("SELECT 名称, 值 FROM 系统设置表 WHERE 名称 = ?"), {name});
    if (!rows) return rows.error();
    if (rows->empty()) return std::optional<QString>();
    return std::optional<QString>(rows->front().text(1));
}

DbResult<std::vector<RateEntry>> feeItemsOf(const QString& officeCode)
{
    auto rows = selectRowsQuiet(
        QStringLiteral("SELECT SETUPSFXM.DH, SETUPSFXM.XM, SETUPSFXM.对应科目, SETUPSFXM.收费类别, S.税率, S.应税科目,"
                       " S.SKDH, S.SKXM FROM SETUPSFXM LEFT JOIN (SELECT DH, SKDH, SKXM, 税率, 应税科目"
                       " FROM 税控盘收费项目设置 WHERE 管理处 = ?) S ON SETUPSFXM.DH = S.DH"
                       " WHERE SETUPSFXM.终止日期 IS NULL"
                       // items without a category first on every engine, as SQL Server orders them
                       " ORDER BY CASE WHEN SETUPSFXM.收费类别 IS NULL THEN 0 ELSE 1 END, SETUPSFXM.收费类别, SETUPSFXM.DH"),
        {officeCode});
    if (!rows) return rows.error();
    std::vector<RateEntry> out;
    for (const Row& r : *rows) {
        RateEntry e;
        e.DH = r.text(0);
        e.XM = r.text(1);
        e.对应科目 = r.text(2);
        e.收费类别 = r.text(3);
        e.税率 = r.value(4).isNull() ? Decimal() : leadingDecimal(r.value(4).toString()).value_or(Decimal());
        e.应税科目 = r.text(5);
        e.SKDH = r.text(6);
        e.SKXM = r.text(7);
        out.push_back(e);
    }
    return out;
}

DbResult<std::optional<ContractPayer>> contractPayer(const QString& number)
{
    auto rows = selectRowsQuiet(QStringLiteral("SELECT 对方单位, 对方开户行, 对方帐号 FROM 合同信息"
                                               " INNER JOIN 合同类型 ON 合同信息.合同类型 = 合同类型.合同类型编号"
                                               " WHERE 合同编号 = ?"),
                                {number});
    if (!rows) return rows.error();
    if (rows->empty()) return std::optional<ContractPayer>();
    const Row& r = rows->front();
    return std::optional<ContractPayer>(ContractPayer{r.text(0), r.text(1), r.text(2)});
}

QString receiptPlanSql()
{
    // The received sums of these instalments only, each through the index on
    // 合同收款计划ID, rather than grouping every receipt of the company. The
    // merged supplements' instalments are found through their contract
    // numbers: joined, SQLite walks the whole plan table in date order.
    const QString received = QStringLiteral("(SELECT SUM(r.收款金额) FROM 合同收款记录 r WHERE r.合同收款计划ID = p.ID)");
    return QStringLiteral("SELECT p.ID, p.收款日期, p.收款金额, ") + received +
           QStringLiteral(" AS 已收金额 FROM 合同收款计划表 p WHERE p.合同编号 = ?"
                          " UNION ALL SELECT p.ID, p.收款日期, p.收款金额, ") +
           received +
           QStringLiteral(" AS 已收金额 FROM 合同收款计划表 p WHERE p.合同编号 IN (SELECT c.合同编号 FROM 合同信息 c"
                          " WHERE c.主合同编号 = ? AND c.收付款计划合并 = 1) ORDER BY 收款日期");
}

DbResult<std::vector<PlanRow>> receiptPlanOf(const QString& number)
{
    auto contract = selectRowsQuiet(QStringLiteral("SELECT 补充, 主合同编号, 收付款计划合并 FROM 合同信息 WHERE 合同编号 = ?"),
                                    {number});
    if (!contract) return contract.error();
    if (contract->empty()) return DbError{0, QStringLiteral("合同 %1 不存在").arg(number)};
    const Row& c = contract->front();
    const bool merged = c.value(0).toInt() != 0 && c.value(2).toInt() != 0;
    const QString key = merged ? c.text(1) : number;
    Statement st(receiptPlanSql(), {key, key});
    if (!st.exec()) return st.error();
    std::vector<PlanRow> out;
    while (st.next())
        out.push_back({st.value(0).toLongLong(), toDate(st.value(1)), decimalOf(st.value(2)), decimalOf(st.value(3))});
    if (st.error().isValid()) return st.error();
    return out;
}

DbResult<std::optional<BillRef>> findBillByNumber(const QString& number)
{
    auto rows = selectRowsQuiet(QStringLiteral("SELECT 入库单编号, 票据编号 FROM 票据 WHERE 票据编号 = ? ORDER BY ID"),
                                {number});
    if (!rows) return rows.error();
    if (rows->empty()) return std::optional<BillRef>();
    return std::optional<BillRef>(BillRef{rows->front().text(0), rows->front().text(1)});
}

RecordOutcome recordWithoutPrinting(const NoPrintReceipt& r)
{
    RecordOutcome out;
    const QSqlDatabase db = DbConnection();
    Transaction tx(db, Transaction::Write);
    if (!tx.isActive()) {
        out.error = tx.error();
        return out;
    }
    out.book = r.book;
    out.number = r.number;
    out.billId = r.billId;
    if (r.generateNumber) {
        auto bill = addSelfNumberedBill(db, r.book, r.department);
        if (!bill) {
            out.error = bill.error();
            return out;
        }
        out.number = bill->number;
        out.billId = bill->id;
    }

    for (const StoredLine& l : r.lines) {
        const auto added = insertQuiet(db, QStringLiteral("票据开票数据"),
                                       {{QStringLiteral("票据编号"), out.number},
                                        {QStringLiteral("入库单编号"), out.book},
                                        {QStringLiteral("票据ID"), out.billId},
                                        {QStringLiteral("项目"), l.项目},
                                        {QStringLiteral("摘要"), l.摘要},
                                        {QStringLiteral("单位"), l.单位},
                                        {QStringLiteral("数量"), l.数量.fixed(6)},
                                        {QStringLiteral("单价"), l.单价.fixed(6)},
                                        {QStringLiteral("金额"), l.金额.fixed(2)},
                                        {QStringLiteral("税率"), l.税率.fixed(4)},
                                        {QStringLiteral("税额"), l.税额.fixed(2)},
                                        {QStringLiteral("科目代号"), l.科目代号},
                                        {QStringLiteral("收费项目代号"), l.收费项目代号},
                                        {QStringLiteral("应税科目"), l.应税科目},
                                        {QStringLiteral("不含税单价"), l.不含税单价.fixed(6)},
                                        {QStringLiteral("不含税金额"), l.不含税金额.fixed(2)},
                                        {QStringLiteral("非日常"), 1}});
        if (!added) {
            out.error = added.error();
            return out;
        }
    }

    QString sql = QStringLiteral("UPDATE 票据 SET 开票部门编号 = ?, 开票日期 = ?, 金额 = ?, 付款人 = ?, 开票人 = ?, ");
    QVariantList values{r.department, pickerDate(r.issueDate), amountOf(r.total), r.payer, r.issuer};
    if (r.preIssued) {
        sql += QStringLiteral("预开 = 1, ");
    } else {
        sql += QStringLiteral("收款日期 = ?, 预开 = 0, 收款人 = ?, 收款方式 = ?, ");
        values << pickerDate(r.receiptDate) << r.receiver << r.method;
    }
    sql += QStringLiteral("管理处 = ?, 合同编号 = ?, 税号 = ?, 地址 = ?, 账号 = ?, 备注 = ?, 无需打印票据 = 1, 税额 = ?"
                          " WHERE ID = ? AND 入库单编号 = ? AND 票据编号 = ? AND 开票日期 IS NULL AND 作废日期 IS NULL");
    values << textOrNull(r.office) << r.contract << textOrNull(r.taxNumber) << textOrNull(r.address)
           << textOrNull(r.account) << textOrNull(r.remark) << amountOf(r.taxTotal) << out.billId << out.book
           << out.number;
    Statement update(db, sql, values);
    if (!update.exec()) {
        out.error = update.error();
        return out;
    }
    if (update.rowsAffected() != 1) {
        out.kind = RecordOutcome::BillTaken;
        return out;
    }

    int written = 0;
    if (!insertReceiptRecords(db, out.book, out.number, r.collected, r.now, written, out.error)) return out;
    if (!tx.commit()) {
        out.error = tx.error();
        return out;
    }
    out.kind = RecordOutcome::Done;
    return out;
}

DbResult<int> recordReceipts(const QString& book, const QString& number, const std::vector<Collected>& collected,
                             const QDateTime& now)
{
    const QSqlDatabase db = DbConnection();
    Transaction tx(db);
    if (!tx.isActive()) return tx.error();
    int written = 0;
    DbError error;
    if (!insertReceiptRecords(db, book, number, collected, now, written, error)) return error;
    if (!tx.commit()) return tx.error();
    return written;
}

std::vector<std::pair<QString, QString>> columnsNamedByStore()
{
    std::vector<std::pair<QString, QString>> out;
    auto add = [&](const char* table, std::initializer_list<const char*> columns) {
        for (const char* c : columns) out.emplace_back(QString::fromUtf8(table), QString::fromUtf8(c));
    };
    add("设置管理处", {"对应部门代号", "gyd_dh", "gyd_name"});
    add("收款方式列表", {"id", "收款方式"});
    add("岗位信息new", {"职能部门代号", "岗位代号", "工号"});
    add("员工档案", {"工号", "姓名"});
    add("票据类型", {"票据类型代号", "票据类型", "无票据编号", "定额"});
    add("票据自定义格式", {"ID", "编号字", "格式名称", "部门编号", "票据管理"});
    add("系统设置表", {"名称", "值"});
    add("SETUPSFXM", {"DH", "XM", "对应科目", "收费类别", "终止日期"});
    add("税控盘收费项目设置", {"管理处", "DH", "SKDH", "SKXM", "税率", "应税科目"});
    add("合同信息", {"合同编号", "对方单位", "对方开户行", "对方帐号", "补充", "主合同编号", "收付款计划合并", "合同类型"});
    add("合同收款计划表", {"ID", "合同编号", "收款日期", "收款金额"});
    add("合同收款记录", {"合同收款计划ID", "收款日期", "收款金额", "票据编号", "入库单编号"});
    add("票据", {"ID", "入库单编号", "票据编号", "流水号", "开票部门编号", "开票日期", "金额", "付款人", "开票人", "预开",
                 "收款日期", "收款人", "收款方式", "管理处", "合同编号", "税号", "地址", "账号", "备注", "无需打印票据",
                 "税额", "作废日期"});
    add("票据开票数据", {"票据编号", "入库单编号", "票据ID", "项目", "摘要", "单位", "数量", "单价", "金额", "税率", "税额",
                         "科目代号", "收费项目代号", "应税科目", "不含税单价", "不含税金额", "非日常"});
    add("票据入库单", {"入库单编号", "票据类型编号"});
    add("票据领用记录", {"票据领用记录编号", "领用部门代号"});
    add("票据领用清单", {"领用记录编号", "入库单编号", "核销日期", "归还日期"});
    add("票据共用设置", {"共用部门编号", "领用部门编号"});
    return out;
}

}  // namespace corvane::receipts
