#include "bills/VatStore.h"

#include <algorithm>

#include "app/Decimal.h"
#include "db/Dialect.h"

namespace corvane::receipts {

namespace {

// A stored rate as typed: 6 rather than 6.0000.
QString rateText(const QVariant& value)
{
    if (value.isNull()) return QString();
    const auto d = plainDecimal(value.toString());
    return d ? d->plain() : value.toString();
}

QString subjectText(const Row& r, int codeColumn, int nameColumn)
{
    if (r.isNull(codeColumn)) return QString();
    return r.text(codeColumn) + QLatin1Char(' ') + r.text(nameColumn);
}

// Rows go in by statements of up to this many rows each, so a save or an
// apply of thousands of items costs tens of statements, not thousands.
constexpr size_t kRowsPerInsert = 100;

bool insertSettings(const QSqlDatabase& db, const QString& office, const std::vector<const SettingRow*>& rows,
                    DbError& error)
{
    for (size_t first = 0; first < rows.size(); first += kRowsPerInsert) {
        const size_t last = std::min(rows.size(), first + kRowsPerInsert);
        QString sql = QStringLiteral("INSERT INTO 税控盘收费项目设置 (管理处, DH, 应税科目, SKDH, SKXM, 税率) VALUES ");
        QVariantList values;
        for (size_t i = first; i < last; ++i) {
            const SettingRow& r = *rows[i];
            if (i > first) sql += QStringLiteral(", ");
            sql += QStringLiteral("(?, ?, ?, ?, ?, ?)");
            values << office << r.item << textOrNull(r.subjectCode) << r.skdh << r.skxm << r.rate.trimmed();
        }
        Statement st(db, sql, values);
        if (!st.exec()) {
            error = st.error();
            return false;
        }
    }
    return true;
}

const QString kExportNumberingKey = QStringLiteral("设置管理处.编号字");

}  // namespace

// ---- VAT invoice window

DbResult<QStringList> vatBillTypes()
{
    auto rows = selectRowsQuiet(QStringLiteral("SELECT 票据类型代号, 票据类型 FROM 票据类型 WHERE 定额 = 0 ORDER BY 票据类型代号"));
    if (!rows) return rows.error();
    QStringList out;
    for (const Row& r : *rows) out << r.text(0) + QLatin1Char(' ') + r.text(1);
    return out;
}

DbResult<std::optional<ExportNumbering>> exportNumberingOf(const QString& officeCode)
{
    auto rows = selectRowsQuiet(QStringLiteral("SELECT 编号字, 起始编号 FROM 设置管理处 WHERE gyd_dh = ?"), {officeCode});
    if (!rows) return rows.error();
    if (rows->empty()) return std::optional<ExportNumbering>();
    const Row& r = rows->front();
    ExportNumbering n;
    if (!r.value(0).isNull()) n.prefix = r.value(0).toLongLong();
    if (!r.value(1).isNull()) n.start = r.value(1).toLongLong();
    return std::optional<ExportNumbering>(n);
}

DbResult<QStringList> booksHoldingFreeBill(const QString& number, const QStringList& books)
{
    if (books.isEmpty()) return QStringList();
    QVariantList values{number};
    for (const QString& b : books) values << b;
    auto rows = selectRowsQuiet(QStringLiteral("SELECT 入库单编号 FROM 票据 WHERE 票据编号 = ? AND 入库单编号 IN (") +
                                    placeholders(int(books.size())) +
                                    QStringLiteral(") AND 开票日期 IS NULL AND 作废日期 IS NULL AND 核销日期 IS NULL"
                                                   " ORDER BY 入库单编号"),
                                values);
    if (!rows) return rows.error();
    QStringList out;
    for (const Row& r : *rows) out << r.text(0);
    return out;
}

DbResult<std::vector<FreeBill>> freeBillsUpTo(const QString& book, const QString& number)
{
    auto rows = selectRowsQuiet(QStringLiteral("SELECT 票据编号, ID FROM 票据 WHERE 开票日期 IS NULL AND 作废日期 IS NULL"
                                               " AND 入库单编号 = ? AND 票据编号 <= ? ORDER BY 票据编号"),
                                {book, number});
    if (!rows) return rows.error();
    std::vector<FreeBill> out;
    for (const Row& r : *rows) out.push_back({r.text(0), r.value(1).toLongLong()});
    return out;
}

VoidOutcome voidPrintedWrong(const std::vector<FreeBill>& bills, const QString& user, const QDateTime& now)
{
    VoidOutcome out;
    const QSqlDatabase db = DbConnection();
    Transaction tx(db);
    if (!tx.isActive()) {
        out.error = tx.error();
        return out;
    }
    for (const FreeBill& b : bills) {
        Statement st(db,
                     QStringLiteral("UPDATE 票据 SET 作废日期 = ?, 作废原因 = '打印错误', 作废人 = ?"
                                    " WHERE ID = ? AND 开票日期 IS NULL AND 作废日期 IS NULL"),
                     {dateTimeValue(now), user, b.id});
        if (!st.exec()) {
            out.error = st.error();
            return out;
        }
        if (st.rowsAffected() != 1) {
            out.kind = VoidOutcome::Taken;
            out.taken = b.number;
            return out;
        }
    }
    if (!tx.commit()) {
        out.error = tx.error();
        return out;
    }
    out.kind = VoidOutcome::Done;
    return out;
}

ExportReservation reserveExportNumber(const QString& officeCode)
{
    return reserveExportNumber(DbConnection(), officeCode);
}

ExportReservation reserveExportNumber(const QSqlDatabase& db, const QString& officeCode)
{
    ExportReservation out;
    Transaction tx(db, Transaction::Write);
    if (!tx.isActive()) {
        out.error = tx.error();
        return out;
    }
    // The settings window stores the numbering under the same key.
    if (!takeNumberingLock(db, kExportNumberingKey, &out.error)) return out;
    auto rows = selectRowsQuiet(db, QStringLiteral("SELECT 编号字, 起始编号 FROM 设置管理处 WHERE gyd_dh = ?"), {officeCode});
    if (!rows) {
        out.error = rows.error();
        return out;
    }
    if (rows->empty() || rows->front().value(0).isNull() || rows->front().value(1).isNull()) {
        out.kind = ExportReservation::NotSet;
        return out;
    }
    const qint64 prefix = rows->front().value(0).toLongLong();
    const qint64 start = rows->front().value(1).toLongLong();
    auto n = executeQuiet(db, QStringLiteral("UPDATE 设置管理处 SET 起始编号 = ? WHERE gyd_dh = ? AND 起始编号 = ?"),
                          {start + 1, officeCode, start});
    if (!n) {
        out.error = n.error();
        return out;
    }
    if (*n != 1) {
        out.error.description = QStringLiteral("导出文件编号已被他人修改，请重试");
        return out;
    }
    if (!tx.commit()) {
        out.error = tx.error();
        return out;
    }
    out.kind = ExportReservation::Done;
    out.prefix = prefix;
    out.start = start;
    return out;
}

AdvanceOutcome advanceExportNumber(const QString& officeCode, qint64 readStart, DbError* error)
{
    const qint64 next = readStart + 1;
    Statement st(QStringLiteral("UPDATE 设置管理处 SET 起始编号 = CASE WHEN 起始编号 IS NULL OR 起始编号 < ? THEN ? "
                                "ELSE 起始编号 END WHERE gyd_dh = ?"),
                 {next, next, officeCode});
    if (!st.exec()) {
        if (error) *error = st.error();
        return AdvanceOutcome::Failed;
    }
    return st.rowsAffected() > 0 ? AdvanceOutcome::Done : AdvanceOutcome::NoRow;
}

// ---- Invoicing item settings window

DbResult<std::vector<OfficeEntry>> officesOfUser(const QString& employeeNumber)
{
    auto rows = selectRowsQuiet(
        QStringLiteral("SELECT gyd_dh, gyd_name FROM 设置管理处 WHERE 对应部门代号 IN ("
                       "SELECT 职能部门new.职能部门编号 FROM 岗位信息new INNER JOIN 职能部门new"
                       " ON 岗位信息new.职能部门代号 = 职能部门new.职能部门编号 WHERE 岗位信息new.工号 = ?)"
                       " ORDER BY gyd_dh"),
        {employeeNumber});
    if (!rows) return rows.error();
    std::vector<OfficeEntry> out;
    for (const Row& r : *rows) out.push_back({r.text(0), r.text(1)});
    return out;
}

DbResult<std::vector<FeeItem>> activeFeeItems()
{
    auto rows = selectRowsQuiet(QStringLiteral(
        "SELECT SETUPSFXM.DH, SETUPSFXM.XM, SETUPSFXM.显示名称, 财务科目.科目代号, 财务科目.科目名称"
        " FROM SETUPSFXM LEFT JOIN 财务科目 ON SETUPSFXM.应税科目 = 财务科目.科目代号"
        " WHERE SETUPSFXM.终止日期 IS NULL ORDER BY SETUPSFXM.DH"));
    if (!rows) return rows.error();
    std::vector<FeeItem> out;
    for (const Row& r : *rows) out.push_back({r.text(0), r.text(1), r.text(2), subjectText(r, 3, 4)});
    return out;
}

DbResult<std::vector<Subject>> subjectsByLevel()
{
    auto rows = selectRowsQuiet(QStringLiteral("SELECT 科目代号, 科目名称, 上级科目代号 FROM 财务科目"));
    if (!rows) return rows.error();
    std::vector<Subject> out;
    for (const Row& r : *rows) out.push_back({r.text(0), r.text(1), r.text(2)});
    std::stable_sort(out.begin(), out.end(), [](const Subject& a, const Subject& b) {
        if (a.code.size() != b.code.size()) return a.code.size() < b.code.size();
        return a.code < b.code;
    });
    return out;
}

DbResult<std::vector<StoredSetting>> storedSettingsOf(const QString& officeCode)
{
    auto rows = selectRowsQuiet(
        QStringLiteral("SELECT S.ID, S.DH, S.SKDH, S.SKXM, S.税率, 财务科目.科目代号, 财务科目.科目名称"
                       " FROM 税控盘收费项目设置 S LEFT JOIN 财务科目 ON S.应税科目 = 财务科目.科目代号"
                       " WHERE S.管理处 = ? ORDER BY S.ID"),
        {officeCode});
    if (!rows) return rows.error();
    std::vector<StoredSetting> out;
    for (const Row& r : *rows)
        out.push_back({r.value(0).toLongLong(), r.text(1), r.text(2), r.text(3), rateText(r.value(4)),
                       subjectText(r, 5, 6)});
    return out;
}

DbResult<int> saveSettings(const QString& officeCode, const std::vector<SettingRow>& rows)
{
    const QSqlDatabase db = DbConnection();
    Transaction tx(db);
    if (!tx.isActive()) return tx.error();
    DbError error;
    int written = 0;
    std::vector<const SettingRow*> inserts;
    for (const SettingRow& r : rows) {
        if (r.id != 0) {
            Statement st(db,
                         QStringLiteral("UPDATE 税控盘收费项目设置 SET 应税科目 = ?, SKDH = ?, SKXM = ?, 税率 = ?"
                                        " WHERE ID = ? AND 管理处 = ?"),
                         {textOrNull(r.subjectCode), r.skdh, r.skxm, r.rate.trimmed(), r.id, officeCode});
            if (!st.exec()) return st.error();
            if (st.rowsAffected() == 1) {
                ++written;
                continue;
            }
        }
        inserts.push_back(&r);
        ++written;
    }
    if (!insertSettings(db, officeCode, inserts, error)) return error;
    if (!tx.commit()) return tx.error();
    return written;
}

DbResult<int> applySettings(const QString& target, const std::vector<SettingRow>& rows)
{
    if (rows.empty()) return 0;
    const QSqlDatabase db = DbConnection();
    Transaction tx(db);
    if (!tx.isActive()) return tx.error();
    Statement del(db, QStringLiteral("DELETE FROM 税控盘收费项目设置 WHERE 管理处 = ?"), {target});
    if (!del.exec()) return del.error();
    DbError error;
    std::vector<const SettingRow*> inserts;
    for (const SettingRow& r : rows) inserts.push_back(&r);
    if (!insertSettings(db, target, inserts, error)) return error;
    if (!tx.commit()) return tx.error();
    return int(rows.size());
}

// ---- Export numbering panel

NumberingOutcome storeExportNumbering(const QString& officeCode, qint64 prefix, qint64 start)
{
    NumberingOutcome out;
    const QSqlDatabase db = DbConnection();
    Transaction tx(db, Transaction::Write);
    if (!tx.isActive()) {
        out.error = tx.error();
        return out;
    }
    if (!takeNumberingLock(db, kExportNumberingKey, &out.error)) return out;
    auto used = selectRowsQuiet(db, QStringLiteral("SELECT gyd_dh FROM 设置管理处 WHERE gyd_dh <> ? AND 编号字 = ?"),
                                {officeCode, prefix});
    if (!used) {
        out.error = used.error();
        return out;
    }
    if (!used->empty()) {
        out.kind = NumberingOutcome::PrefixUsed;
        return out;
    }
    auto own = selectRowsQuiet(db, QStringLiteral("SELECT 编号字, 起始编号 FROM 设置管理处 WHERE gyd_dh = ?"),
                               {officeCode});
    if (!own) {
        out.error = own.error();
        return out;
    }
    if (own->empty()) {
        out.kind = NumberingOutcome::NoRow;
        return out;
    }
    const Row& r = own->front();
    if (!r.value(0).isNull() && r.value(0).toLongLong() == prefix) {
        const qint64 lowest = r.value(1).isNull() ? 1 : r.value(1).toLongLong();
        if (start < lowest) {
            out.kind = NumberingOutcome::TooLow;
            out.lowest = lowest;
            return out;
        }
    }
    auto n = executeQuiet(db, QStringLiteral("UPDATE 设置管理处 SET 编号字 = ?, 起始编号 = ? WHERE gyd_dh = ?"),
                          {prefix, start, officeCode});
    if (!n) {
        out.error = n.error();
        return out;
    }
    if (*n == 0) {
        out.kind = NumberingOutcome::NoRow;
        return out;
    }
    if (!tx.commit()) {
        out.error = tx.error();
        return out;
    }
    out.kind = NumberingOutcome::Done;
    return out;
}

std::vector<std::pair<QString, QString>> columnsNamedByVatStore()
{
    std::vector<std::pair<QString, QString>> out;
    auto add = [&](const char* table, std::initializer_list<const char*> columns) {
        for (const char* c : columns) out.emplace_back(QString::fromUtf8(table), QString::fromUtf8(c));
    };
    add("设置管理处", {"gyd_dh", "gyd_name", "对应部门代号", "编号字", "起始编号"});
    add("票据类型", {"票据类型代号", "票据类型", "定额"});
    add("票据", {"ID", "入库单编号", "票据编号", "开票日期", "作废日期", "核销日期", "作废原因", "作废人"});
    add("岗位信息new", {"职能部门代号", "工号"});
    add("职能部门new", {"职能部门编号"});
    add("SETUPSFXM", {"DH", "XM", "显示名称", "应税科目", "终止日期"});
    add("财务科目", {"科目代号", "科目名称", "上级科目代号"});
    add("税控盘收费项目设置", {"ID", "管理处", "DH", "应税科目", "SKDH", "SKXM", "税率"});
    return out;
}

}  // namespace corvane::receipts
