#include "bills/CustomBillStore.h"

#include <algorithm>

#include "receipts/BillStore.h"

namespace corvane::receipts {

namespace {

QVariant dayValue(const QDate& date) { return dateTimeValue(QDateTime(date, QTime(0, 0))); }

// The columns of one table that must hold a value; the first NULL names itself.
bool holdsAll(const Row& r, std::initializer_list<const char*> columns, const char* table, DbError& error)
{
    for (const char* c : columns)
        if (r.isNull(QString::fromUtf8(c))) {
            error = {0, QStringLiteral("票据格式的%1中%2为空").arg(QString::fromUtf8(table), QString::fromUtf8(c))};
            return false;
        }
    return true;
}

double num(const Row& r, const char* column) { return r.value(QString::fromUtf8(column)).toDouble(); }
QString txt(const Row& r, const char* column) { return r.text(QString::fromUtf8(column)); }

bool replaceLines(const QSqlDatabase& db, qint64 id, const QString& book, const QString& number,
                  const std::vector<PendingLine>& lines, DbError& error)
{
    Statement del(db, QStringLiteral("DELETE FROM 票据开票数据 WHERE 票据ID = ?"), {id});
    if (!del.exec()) {
        error = del.error();
        return false;
    }
    for (const PendingLine& l : lines) {
        const auto added = insertQuiet(db, QStringLiteral("票据开票数据"),
                                       {{QStringLiteral("票据编号"), number},
                                        {QStringLiteral("入库单编号"), book},
                                        {QStringLiteral("票据ID"), id},
                                        {QStringLiteral("项目"), l.项目},
                                        {QStringLiteral("摘要"), l.摘要},
                                        {QStringLiteral("单位"), l.单位},
                                        {QStringLiteral("数量"), l.数量.fixed(4)},
                                        {QStringLiteral("单价"), l.单价.fixed(4)},
                                        {QStringLiteral("金额"), l.金额.fixed(2)},
                                        {QStringLiteral("税率"), l.税率.fixed(4)},
                                        {QStringLiteral("税额"), l.税额.fixed(2)},
                                        {QStringLiteral("科目代号"), l.科目代号},
                                        {QStringLiteral("应税科目"), l.应税科目},
                                        {QStringLiteral("收费项目代号"), l.收费项目代号},
                                        {QStringLiteral("不含税单价"), QString::number(l.不含税单价, 'f', 6)},
                                        {QStringLiteral("不含税金额"), QString::number(l.不含税金额, 'f', 2)},
                                        {QStringLiteral("非日常"), l.非日常}});
        if (!added) {
            error = added.error();
            return false;
        }
    }
    return true;
}

QString ownCondition(const std::vector<qint64>& ownIds, qint64 id)
{
    const bool own = std::find(ownIds.begin(), ownIds.end(), id) != ownIds.end();
    return own ? QString() : QStringLiteral(" AND 开票日期 IS NULL");
}

}  // namespace

DbResult<std::optional<BillLayout>> readBillLayout(const QString& name, const QString& panelText,
                                                   const QString& department)
{
    QString sql = QStringLiteral("SELECT ID, 部门编号, 格式名称, 高, 宽, 编号字, 票据管理 FROM 票据自定义格式 WHERE 格式名称 = ?");
    QVariantList values{name};
    if (panelText.isEmpty()) {
        sql += QStringLiteral(" AND 部门编号 = ?");
        values << department;
    }
    auto heads = selectRowsQuiet(sql + QStringLiteral(" ORDER BY ID"), values);
    if (!heads) return heads.error();
    if (heads->empty()) return std::optional<BillLayout>();
    DbError error;
    const Row& h = heads->front();
    if (!holdsAll(h, {"ID", "高", "宽", "编号字"}, "票据自定义格式", error)) return error;
    BillLayout layout;
    layout.head = {h.value(0).toLongLong(), txt(h, "部门编号"), txt(h, "格式名称"), num(h, "宽"), num(h, "高"),
                   txt(h, "编号字"), h.value(QStringLiteral("票据管理")).toInt() != 0};
    const qint64 id = layout.head.id;

    auto lines = selectRowsQuiet(QStringLiteral("SELECT X1, Y1, X2, Y2, W FROM 票据自定义格式线 WHERE 格式ID = ? ORDER BY ID"),
                                 {id});
    if (!lines) return lines.error();
    for (const Row& r : *lines) {
        if (!holdsAll(r, {"X1", "Y1", "X2", "Y2", "W"}, "票据自定义格式线", error)) return error;
        layout.lines.push_back({num(r, "X1"), num(r, "Y1"), num(r, "X2"), num(r, "Y2"), num(r, "W")});
    }
    auto texts = selectRowsQuiet(
        QStringLiteral("SELECT 内容, L, T, 字体, 字号, 粗体 FROM 票据自定义格式文字 WHERE 格式ID = ? ORDER BY ID"), {id});
    if (!texts) return texts.error();
    for (const Row& r : *texts) {
        if (!holdsAll(r, {"内容", "L", "T", "字体", "字号"}, "票据自定义格式文字", error)) return error;
        layout.texts.push_back({txt(r, "内容"), num(r, "L"), num(r, "T"), txt(r, "字体"), num(r, "字号"),
                                r.value(QStringLiteral("粗体")).toInt() != 0});
    }
    auto fields = selectRowsQuiet(
        QStringLiteral("SELECT 内容, L, T, W, 行, 字体, 字号, 粗体 FROM 票据自定义格式内容 WHERE 格式ID = ? ORDER BY ID"), {id});
    if (!fields) return fields.error();
    for (const Row& r : *fields) {
        if (!holdsAll(r, {"内容", "L", "T", "W", "字体", "字号"}, "票据自定义格式内容", error)) return error;
        const QString name = txt(r, "内容");
        if (listOfField(name) != FieldList::Text1 && !holdsAll(r, {"行"}, "票据自定义格式内容", error)) return error;
        layout.fields.push_back({name, num(r, "L"), num(r, "T"), num(r, "W"), r.value(QStringLiteral("行")).toInt(),
                                 txt(r, "字体"), num(r, "字号"), r.value(QStringLiteral("粗体")).toInt() != 0});
    }
    return std::optional<BillLayout>(std::move(layout));
}

SaveOutcome saveSelfNumberedBill(const QString& code, const CustomBillSave& s)
{
    return saveSelfNumberedBill(DbConnection(), code, s);
}

SaveOutcome saveSelfNumberedBill(const QSqlDatabase& db, const QString& code, const CustomBillSave& s)
{
    SaveOutcome out;
    Transaction tx(db, Transaction::Write);
    if (!tx.isActive()) {
        out.error = tx.error();
        return out;
    }
    const PendingBill& b = s.bill;
    SelfNumberedExtras extras;
    extras.writeSerial = true;
    auto& c = extras.columns;
    c.emplace_back(QStringLiteral("开票日期"), dayValue(b.开票日期));
    c.emplace_back(QStringLiteral("收款日期"), b.预开 == 1 ? QVariant(QMetaType::fromType<QString>()) : dayValue(b.开票日期));
    if (b.预开 == 1) c.emplace_back(QStringLiteral("预开"), 1);
    if (s.payer) c.emplace_back(QStringLiteral("付款人"), textOrNull(*s.payer));
    c.emplace_back(QStringLiteral("金额"), b.金额.fixed(2));
    c.emplace_back(QStringLiteral("开票人"), s.userName);
    c.emplace_back(QStringLiteral("收款人"), s.userName);
    c.emplace_back(QStringLiteral("收款方式"), b.收款方式);
    c.emplace_back(QStringLiteral("税额"), b.税额.fixed(2));
    c.emplace_back(QStringLiteral("地址"), textOrNull(b.地址));
    c.emplace_back(QStringLiteral("合同编号"), textOrNull(b.合同编号));
    auto bill = addSelfNumberedBill(db, code, s.department, extras);
    if (!bill) {
        out.error = bill.error();
        return out;
    }
    if (!replaceLines(db, bill->id, code, bill->number, s.lines, out.error)) return out;
    if (!tx.commit()) {
        out.error = tx.error();
        return out;
    }
    return {SaveStatus::Done, bill->id, bill->number, {}};
}

SaveOutcome saveManagedBill(qint64 id, const QString& book, const QString& number, const CustomBillSave& s,
                            const std::vector<qint64>& ownIds)
{
    SaveOutcome out;
    const QSqlDatabase db = DbConnection();
    Transaction tx(db, Transaction::Write);
    if (!tx.isActive()) {
        out.error = tx.error();
        return out;
    }
    const PendingBill& b = s.bill;
    QString sql = QStringLiteral("UPDATE 票据 SET 开票部门编号 = ?, 开票日期 = ?, 收款日期 = ?");
    QVariantList values{s.department, dayValue(b.开票日期),
                        b.预开 != 0 ? QVariant(QMetaType::fromType<QString>()) : dayValue(b.收款日期)};
    if (b.预开 != 0) sql += QStringLiteral(", 预开 = 1");
    const auto optional = [&](const char* column, const std::optional<QString>& text) {
        if (!text) return;
        sql += QStringLiteral(", %1 = ?").arg(QString::fromUtf8(column));
        values << *text;  // an empty field stays an empty text
    };
    optional("付款人", s.payer);
    optional("地址", s.address);
    optional("备注", s.remark);
    sql += QStringLiteral(", 金额 = ?, 开票人 = ?, 收款人 = ?, 收款方式 = ?, 合同编号 = ?, 税额 = ?"
                          " WHERE ID = ? AND 作废日期 IS NULL");
    values << b.金额.fixed(2) << s.userName << s.userName << b.收款方式 << textOrNull(b.合同编号) << b.税额.fixed(2)
           << id;
    Statement update(db, sql + ownCondition(ownIds, id), values);
    if (!update.exec()) {
        out.error = update.error();
        return out;
    }
    if (update.rowsAffected() != 1) {
        out.status = SaveStatus::NotFree;
        return out;
    }
    if (!replaceLines(db, id, book, number, s.lines, out.error)) return out;
    if (!tx.commit()) {
        out.error = tx.error();
        return out;
    }
    return {SaveStatus::Done, id, number, {}};
}

CustomVoidOutcome voidCustomBill(qint64 id, const QDateTime& when, const QString& reason, const QString& who,
                           const std::vector<qint64>& ownIds)
{
    Statement st(QStringLiteral("UPDATE 票据 SET 作废日期 = ?, 作废原因 = ?, 作废人 = ? WHERE ID = ? AND 作废日期 IS NULL") +
                     ownCondition(ownIds, id),
                 {dateTimeValue(when), reason, who, id});
    if (!st.exec()) return {SaveStatus::Failed, st.error()};
    if (st.rowsAffected() != 1) return {SaveStatus::NotFree, {}};
    return {SaveStatus::Done, {}};
}

}  // namespace corvane::receipts
