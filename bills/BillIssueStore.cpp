#include "bills/BillIssueStore.h"

#include "db/Dialect.h"
#include "platform/Amounts.h"

namespace corvane::receipts {

namespace {

// An amount box as written: the number it begins with, in hundredths.
QString amountOf(const QString& box) { return LineNumber::of(box).fixed(2); }

QVariant pickerDate(const QDate& date) { return dateTimeValue(QDateTime(date, QTime(0, 0))); }

const QString kInsertLine = QStringLiteral(
    "INSERT INTO 票据开票数据 (票据编号, 入库单编号, 票据ID, 项目, 摘要, 单位, 数量, 单价, 金额, 税率, 税额,"
    " 科目代号, 收费项目代号, 应税科目, 不含税单价, 不含税金额, 非日常)"
    " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 1)");

bool insertLine(const QSqlDatabase& db, const QString& book, const QString& number, qint64 billId,
                const FinishedLine& f, DbError& error)
{
    const StoredLine& l = f.values;
    const QVariant nullNumber(QMetaType::fromType<QString>());
    Statement st(db, kInsertLine,
                 {number, book, billId, l.项目, l.摘要, l.单位, f.数量空 ? nullNumber : QVariant(l.数量.fixed(6)),
                  f.单价空 ? nullNumber : QVariant(l.单价.fixed(6)), f.金额空 ? nullNumber : QVariant(l.金额.fixed(2)),
                  l.税率.fixed(4), l.税额.fixed(2), l.科目代号, l.收费项目代号, l.应税科目, l.不含税单价.fixed(6),
                  l.不含税金额.fixed(2)});
    if (st.exec()) return true;
    error = st.error();
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

    auto bill = executeQuiet(
        db,
        QStringLiteral("INSERT INTO 票据 (入库单编号, 票据编号, 开票部门编号, 开票日期, 付款人, 金额, 预开, 收款日期, 开票人,"
                       " 收款人, 收款方式, 管理处, 地址, DJ_ID, ZH_ID, 合同编号, CW_ID, 无需打印票据, 税额, 税号, 账号,"
                       " PDFURL, SPURL, 手机号码, 邮箱地址)"
                       " VALUES (?, ?, ?, ?, ?, ?, 0, ?, ?, ?, ?, ?, ?, NULL, NULL, ?, NULL, 0, ?, ?, ?, ?, ?, ?, ?)"),
        {b.code, b.number, b.department, dateTimeValue(b.now), b.payer, amountOf(b.total), dateTimeValue(b.now),
         b.issuer, b.receiver, b.method, b.office, b.address, b.contract, amountOf(b.taxTotal), b.taxNumber, b.account,
         b.pdfUrl, b.spUrl, textOrNull(b.mobile), textOrNull(b.email)});
    if (!bill) return failed(bill.error());
    auto id = selectRowsQuiet(db, QStringLiteral("SELECT ID FROM 票据 WHERE 入库单编号 = ? AND 票据编号 = ?"),
                              {b.code, b.number});
    if (!id) return failed(id.error());
    const qint64 billId = id->empty() ? 0 : id->front().value(0).toLongLong();

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
