#include "bills/BillIssueStore.h"

#include "db/Dialect.h"
#include "platform/Amounts.h"

namespace corvane::receipts {

namespace {

// An amount box as written: the number it begins with, in hundredths.
QString amountOf(const QString& box) { return LineNumber::of(box).fixed(2); }

QVariant pickerDate(const QDate& date) { return dateTimeValue(QDateTime(date, QTime(0, 0))); }

bool insertLine(const QSqlDatabase& db, const QString& book, const QString& number, qint64 billId,
                const FinishedLine& f, DbError& error)
{
    const StoredLine& l = f.values;
    const QVariant nullNumber(QMetaType::fromType<QString>());
    const auto added = insertQuiet(db, QStringLiteral("票据开票数据"),
                                   {{QStringLiteral("票据编号"), number},
                                    {QStringLiteral("入库单编号"), book},
                                    {QStringLiteral("票据ID"), billId},
                                    {QStringLiteral("项目"), l.项目},
                                    {QStringLiteral("摘要"), l.摘要},
                                    {QStringLiteral("单位"), l.单位},
                                    {QStringLiteral("数量"), f.数量空 ? nullNumber : QVariant(l.数量.fixed(6))},
                                    {QStringLiteral("单价"), f.单价空 ? nullNumber : QVariant(l.单价.fixed(6))},
                                    {QStringLiteral("金额"), f.金额空 ? nullNumber : QVariant(l.金额.fixed(2))},
                                    {QStringLiteral("税率"), l.税率.fixed(4)},
                                    {QStringLiteral("税额"), l.税额.fixed(2)},
                                    {QStringLiteral("科目代号"), l.科目代号},
                                    {QStringLiteral("收费项目代号"), l.收费项目代号},
                                    {QStringLiteral("应税科目"), l.应税科目},
                                    {QStringLiteral("不含税单价"), l.不含税单价.fixed(6)},
                                    {QStringLiteral("不含税金额"), l.不含税金额.fixed(2)},
                                    {QStringLiteral("非日常"), 1}});
    if (added) return true;
    error = added.error();
    return false;
}

IssueOutcome failed(const DbError& error)
{
    IssueOutcome out;
    out.error = error;
    return out;
}

QString moneyText(const QVariant& v)
{
    if (v.isNull()) return QString();
    if (const auto cents = centsOf(v)) return centsText(*cents);
    return v.toString();
}

}  // namespace

FinishedLine finishedLine(const InvoiceLine& line)
{
    FinishedLine f;
    f.values = storedLine(line);
    f.数量空 = line.c[col::数量].isEmpty();
    f.单价空 = line.c[col::单价].isEmpty();
    f.金额空 = line.c[col::金额].isEmpty();
    return f;
}

IssueOutcome finishPrintedBill(const PrintedBill& b) { return finishPrintedBill(DbConnection(), b); }

IssueOutcome finishPrintedBill(const QSqlDatabase& db, const PrintedBill& b)
{
    Transaction tx(db, Transaction::Write);
    if (!tx.isActive()) return failed(tx.error());
    DbError error;
    for (const InvoiceLine& l : b.lines)
        if (!insertLine(db, b.book, b.number, b.billId, finishedLine(l), error)) return failed(error);

    QString sql = QStringLiteral("UPDATE 票据 SET 开票部门编号 = ?, ");
    QVariantList values{b.department};
    if (b.office) {
        sql += QStringLiteral("管理处 = ?, ");
        values << *b.office;
    }
    sql += QStringLiteral("合同编号 = ?, 开票日期 = ?, 付款人 = ?, 税号 = ?, 地址 = ?, 账号 = ?, 备注 = ?, 开票人 = ?,"
                          " 金额 = ?, 税额 = ?, ");
    values << b.contract << pickerDate(b.issueDate) << b.payer << textOrNull(b.taxNumber) << textOrNull(b.address)
           << textOrNull(b.account) << textOrNull(b.remark) << b.issuer << amountOf(b.total) << amountOf(b.taxTotal);
    if (b.preIssued) {
        sql += QStringLiteral("预开 = 1");
    } else {
        sql += QStringLiteral("收款日期 = ?, 收款人 = ?, 收款方式 = ?, 预开 = 0");
        values << pickerDate(b.receiptDate) << b.receiver << b.method;
    }
    sql += QStringLiteral(" WHERE ID = ? AND 入库单编号 = ? AND 票据编号 = ? AND 开票日期 IS NULL AND 作废日期 IS NULL");
    values << b.billId << b.book << b.number;
    Statement update(db, sql, values);
    if (!update.exec()) return failed(update.error());
    if (update.rowsAffected() != 1) {
        IssueOutcome out;
        out.kind = IssueOutcome::NoRow;
        return out;  // rolled back: the lines go too
    }

    int written = 0;
    if (!insertReceiptRecords(db, b.book, b.number, b.collected, b.now, written, error)) return failed(error);
    if (!tx.commit()) return failed(tx.error());
    IssueOutcome out;
    out.kind = IssueOutcome::Done;
    out.billId = b.billId;
    return out;
}

IssueOutcome storeElectronicInvoice(const ElectronicBill& b)
{
    const QSqlDatabase db = DbConnection();
    Transaction tx(db, Transaction::Write);
    if (!tx.isActive()) return failed(tx.error());
    // Two invoices of a new code stored at once would both find no book.
    DbError error;
    if (!takeNumberingLock(db, QStringLiteral("票据入库单:") + b.code, &error)) return failed(error);

    auto book = selectRowsQuiet(db, QStringLiteral("SELECT 入库单编号, 票据类型编号 FROM 票据入库单 WHERE 入库单编号 = ?"),
                                {b.code});
    if (!book) return failed(book.error());
    if (book->empty()) {
        auto added = executeQuiet(db,
                                  QStringLiteral("INSERT INTO 票据入库单 (入库单编号, 票据类型编号, 入库时间) VALUES (?, ?, ?)"),
                                  {b.code, b.typeCode, dateTimeValue(b.now)});
        if (!added) return failed(added.error());
    }

    const QVariant noId(QMetaType::fromType<qlonglong>());
    auto bill = insertQuiet(db, QStringLiteral("票据"),
                            {{QStringLiteral("入库单编号"), b.code},
                             {QStringLiteral("票据编号"), b.number},
                             {QStringLiteral("开票部门编号"), b.department},
                             {QStringLiteral("开票日期"), dateTimeValue(b.now)},
                             {QStringLiteral("付款人"), b.payer},
                             {QStringLiteral("金额"), amountOf(b.total)},
                             {QStringLiteral("预开"), 0},
                             {QStringLiteral("收款日期"), dateTimeValue(b.now)},
                             {QStringLiteral("开票人"), b.issuer},
                             {QStringLiteral("收款人"), b.receiver},
                             {QStringLiteral("收款方式"), b.method},
                             {QStringLiteral("管理处"), b.office},
                             {QStringLiteral("地址"), b.address},
                             {QStringLiteral("DJ_ID"), noId},
                             {QStringLiteral("ZH_ID"), noId},
                             {QStringLiteral("合同编号"), b.contract},
                             {QStringLiteral("CW_ID"), noId},
                             {QStringLiteral("无需打印票据"), 0},
                             {QStringLiteral("税额"), amountOf(b.taxTotal)},
                             {QStringLiteral("税号"), b.taxNumber},
                             {QStringLiteral("账号"), b.account},
                             {QStringLiteral("PDFURL"), b.pdfUrl},
                             {QStringLiteral("SPURL"), b.spUrl},
                             {QStringLiteral("手机号码"), textOrNull(b.mobile)},
                             {QStringLiteral("邮箱地址"), textOrNull(b.email)}});
    if (!bill) return failed(bill.error());
    auto id = selectRowsQuiet(db, QStringLiteral("SELECT ID FROM 票据 WHERE 入库单编号 = ? AND 票据编号 = ?"),
                              {b.code, b.number});
    if (!id) return failed(id.error());
    // The lines are written under the bill's id: a bill that cannot be found
    // again under its book and number stores nothing.
    const qint64 billId = id->empty() ? 0 : id->front().value(0).toLongLong();
    if (billId <= 0) return failed({0, QStringLiteral("票据%1/%2保存后未能读回其ID").arg(b.code, b.number)});

    for (const InvoiceLine& l : b.lines) {
        FinishedLine f;
        f.values = storedLine(l);  // every number by its leading digits, 0 for none
        if (!insertLine(db, b.code, b.number, billId, f, error)) return failed(error);
    }
    int written = 0;
    if (!insertReceiptRecords(db, b.code, b.number, b.collected, b.now, written, error)) return failed(error);
    if (!tx.commit()) return failed(tx.error());
    IssueOutcome out;
    out.kind = IssueOutcome::Done;
    out.billId = billId;
    return out;
}

DbResult<std::vector<QueriedBill>> billsOfContract(const QString& contract, const QString& department)
{
    const Dialect d = dialectOf(DbConnection());
    Statement st(
        QStringLiteral("SELECT 票据.ID, 票据.入库单编号, 票据.票据编号, 票据.开票部门编号, ") +
            dialect::dateTimeText(d, QStringLiteral("票据.开票日期")) +
            QStringLiteral(", 票据.付款人, 票据.金额, 票据.预开, ") + dialect::dateTimeText(d, QStringLiteral("票据.收款日期")) +
            QStringLiteral(", 票据.开票人, 票据.收款人, 票据.税额, 票据.税号, 票据.账号, 票据.地址, 票据.PDFURL, 票据.SPURL"
                           " FROM 票据 INNER JOIN (SELECT DISTINCT r.票据编号, r.入库单编号 FROM 合同收款记录 r"
                           " INNER JOIN 合同收款计划表 p ON r.合同收款计划ID = p.ID WHERE p.合同编号 = ?) HP"
                           " ON 票据.入库单编号 = HP.入库单编号 AND 票据.票据编号 = HP.票据编号"
                           " WHERE 票据.开票部门编号 = ? AND 票据.开票日期 IS NOT NULL ORDER BY 票据.票据编号, 票据.ID"),
        {contract, department});
    if (!st.exec()) return st.error();
    std::vector<QueriedBill> out;
    while (st.next()) {
        QueriedBill b;
        b.id = st.value(0).toLongLong();
        b.入库单编号 = st.value(1).toString();
        b.票据编号 = st.value(2).toString();
        b.开票部门编号 = st.value(3).toString();
        b.开票日期 = toDateTime(st.value(4));
        b.付款人 = st.value(5).toString();
        b.金额 = moneyText(st.value(6));
        b.预开 = st.value(7).toInt() != 0;
        b.收款日期 = st.value(8).isNull() ? QDateTime() : toDateTime(st.value(8));
        b.开票人 = st.value(9).toString();
        b.收款人 = st.value(10).toString();
        b.税额 = moneyText(st.value(11));
        b.税号 = st.value(12).toString();
        b.账号 = st.value(13).toString();
        b.地址 = st.value(14).toString();
        b.PDFURL = st.value(15).toString();
        b.SPURL = st.value(16).toString();
        out.push_back(b);
    }
    if (st.error().isValid()) return st.error();
    return out;
}

DbResult<std::vector<QueriedLine>> billLines(const QString& book, const QString& number)
{
    auto rows = selectRowsQuiet(QStringLiteral("SELECT ID, 项目, 摘要, 单位, 数量, 单价, 金额, 税率, 税额, 科目代号"
                                               " FROM 票据开票数据 WHERE 票据编号 = ? AND 入库单编号 = ? ORDER BY ID"),
                                {number, book});
    if (!rows) return rows.error();
    std::vector<QueriedLine> out;
    for (const Row& r : *rows) {
        QueriedLine l;
        l.id = r.value(0).toLongLong();
        l.项目 = r.text(1);
        l.摘要 = r.text(2);
        l.单位 = r.text(3);
        l.数量 = r.value(4);
        l.单价 = r.value(5);
        l.金额 = r.value(6);
        l.税率 = r.value(7);
        l.税额 = r.value(8);
        l.科目代号 = r.text(9);
        out.push_back(l);
    }
    return out;
}

IssueOutcome collectPreIssuedBill(qint64 billId, const QString& book, const QString& number, const QDate& date,
                                  const QString& receiver, const QString& method)
{
    const QSqlDatabase db = DbConnection();
    Transaction tx(db, Transaction::Write);
    if (!tx.isActive()) return failed(tx.error());
    auto bill = executeQuiet(db,
                             QStringLiteral("UPDATE 票据 SET 收款日期 = ?, 收款人 = ?, 收款方式 = ?"
                                            " WHERE ID = ? AND 入库单编号 = ? AND 票据编号 = ? AND 收款日期 IS NULL"),
                             {pickerDate(date), receiver, method, billId, book, number});
    if (!bill) return failed(bill.error());
    if (*bill != 1) {
        IssueOutcome out;
        out.kind = IssueOutcome::NoRow;
        return out;
    }
    auto records = executeQuiet(db,
                                QStringLiteral("UPDATE 合同收款记录 SET 收款日期 = ? WHERE 入库单编号 = ? AND 票据编号 = ?"),
                                {pickerDate(date), book, number});
    if (!records) return failed(records.error());
    if (!tx.commit()) return failed(tx.error());
    IssueOutcome out;
    out.kind = IssueOutcome::Done;
    out.billId = billId;
    return out;
}

std::vector<std::pair<QString, QString>> columnsNamedByIssueStore()
{
    std::vector<std::pair<QString, QString>> out;
    auto add = [&](const char* table, std::initializer_list<const char*> columns) {
        for (const char* c : columns) out.emplace_back(QString::fromUtf8(table), QString::fromUtf8(c));
    };
    add("票据入库单", {"入库单编号", "票据类型编号", "入库时间"});
    add("票据", {"ID", "入库单编号", "票据编号", "开票部门编号", "开票日期", "付款人", "金额", "预开", "收款日期", "开票人",
                 "收款人", "收款方式", "管理处", "地址", "DJ_ID", "ZH_ID", "合同编号", "CW_ID", "无需打印票据", "税额", "税号",
                 "账号", "备注", "PDFURL", "SPURL", "手机号码", "邮箱地址", "作废日期"});
    add("票据开票数据", {"ID", "票据编号", "入库单编号", "票据ID", "项目", "摘要", "单位", "数量", "单价", "金额", "税率",
                         "税额", "科目代号", "收费项目代号", "应税科目", "不含税单价", "不含税金额", "非日常"});
    add("合同收款记录", {"合同收款计划ID", "收款日期", "票据编号", "入库单编号"});
    add("合同收款计划表", {"ID", "合同编号"});
    return out;
}

}  // namespace corvane::receipts
