#pragma once
// A department with a 管理处, fee items, payment methods, bill types and a
// lent book of free bills, and a receipt contract with instalments.

#include <QDateTime>

#include "app/LoginContext.h"
#include "contracts/ContractHandovers.h"
#include "db/Sql.h"
#include "testsupport/TestDatabase.h"
#include "testsupport/ServiceDoubles.h"

namespace corvane::test {

inline const QDate kReceiptToday(2026, 12, 10);

class ReceiptTest : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        doubles().clock->current = QDateTime(kReceiptToday, QTime(9, 30, 15));
        addDepartment(QStringLiteral("D01"), QStringLiteral("第一管理处"), QStringLiteral("01"));
        addDepartment(QStringLiteral("D02"), QStringLiteral("总经理办公室"), QStringLiteral("01"));
        addPost(QStringLiteral("P01"), QStringLiteral("收费员"), QStringLiteral("D01"), QStringLiteral("02"));
        addPost(QStringLiteral("P02"), QStringLiteral("主任"), QStringLiteral("D01"), QStringLiteral("01"), true);
        addStaff(QStringLiteral("1001"), QStringLiteral("王芳"), QStringLiteral("1"));
        addStaff(QStringLiteral("1002"), QStringLiteral("刘洋"), QStringLiteral("1"));
        exec(QStringLiteral("UPDATE 岗位信息new SET 工号 = '1001' WHERE 岗位代号 = 'P01'"));
        exec(QStringLiteral("UPDATE 岗位信息new SET 工号 = '1002' WHERE 岗位代号 = 'P02'"));
        Login().当前部门编号 = QStringLiteral("D01");
        Login().当前部门名称 = QStringLiteral("第一管理处");
        Login().当前岗位代号 = QStringLiteral("P01");
        Login().当前岗位名称 = QStringLiteral("收费员");
        Login().当前姓名 = QStringLiteral("王芳 ");
        Login().当前工号 = QStringLiteral("1001");
    }

    void addOffice(const QString& dept = QStringLiteral("D01"), const QString& code = QStringLiteral("GL01"),
                   const QString& name = QStringLiteral("翠湖管理处"))
    {
        exec(QStringLiteral("INSERT INTO 设置管理处 (对应部门代号, gyd_dh, gyd_name) VALUES (?, ?, ?)"), {dept, code, name});
    }
    void addFeeItem(const QString& code, const QString& name, const QString& category, const QVariant& rate = QVariant(),
                    const QString& office = QStringLiteral("GL01"))
    {
        exec(QStringLiteral("INSERT INTO SETUPSFXM (DH, XM, 对应科目, 收费类别) VALUES (?, ?, ?, ?)"),
             {code, name, QStringLiteral("51") + code, category});
        if (!rate.isNull())
            exec(QStringLiteral("INSERT INTO 税控盘收费项目设置 (管理处, DH, SKDH, SKXM, 税率, 应税科目) VALUES (?, ?, ?, ?, ?, ?)"),
                 {office, code, QStringLiteral("SK") + code, QStringLiteral("税控") + name, rate, QStringLiteral("2221")});
    }
    // A book of type `type` lent to `dept`, with bills numbered first.. first+count-1.
    void addLentBook(const QString& book, const QString& type, const QString& dept, int first = 1, int count = 0,
                     const QVariant& writtenOff = QVariant(), const QVariant& returned = QVariant())
    {
        exec(QStringLiteral("INSERT INTO 票据入库单 (入库单编号, 票据类型编号) VALUES (?, ?)"), {book, type});
        const QString lending = QStringLiteral("LY-") + book + QLatin1Char('-') + dept;
        exec(QStringLiteral("INSERT INTO 票据领用记录 (票据领用记录编号, 领用部门代号) VALUES (?, ?)"), {lending, dept});
        exec(QStringLiteral("INSERT INTO 票据领用清单 (领用记录编号, 入库单编号, 核销日期, 归还日期) VALUES (?, ?, ?, ?)"),
             {lending, book, writtenOff, returned});
        addBills(book, first, count);
    }
    void addBills(const QString& book, int first, int count)
    {
        for (int n = first; n < first + count; ++n)
            exec(QStringLiteral("INSERT INTO 票据 (入库单编号, 票据编号) VALUES (?, ?)"),
                 {book, QStringLiteral("%1").arg(n, 8, 10, QLatin1Char('0'))});
    }
    void addContract(const QString& number, const QString& counterparty = QStringLiteral("翠湖业委会"),
                     const QVariant& supplementOf = QVariant(), bool merged = false)
    {
        exec(QStringLiteral("INSERT INTO 合同类型 (合同类型编号, 合同类型, 合同类别) SELECT 'T1', '物业服务合同', '收款合同' "
                            "WHERE NOT EXISTS (SELECT 1 FROM 合同类型 WHERE 合同类型编号 = 'T1')"));
        addContractRow({{QStringLiteral("合同编号"), number},
                        {QStringLiteral("合同名称"), number + QStringLiteral("合同")},
                        {QStringLiteral("合同类型"), QStringLiteral("T1")},
                        {QStringLiteral("对应部门"), QStringLiteral("D01")},
                        {QStringLiteral("对方单位"), counterparty},
                        {QStringLiteral("对方开户行"), QStringLiteral("建设银行")},
                        {QStringLiteral("对方帐号"), QStringLiteral("6217")},
                        {QStringLiteral("补充"), supplementOf.isNull() ? 0 : 1},
                        {QStringLiteral("主合同编号"), supplementOf},
                        {QStringLiteral("收付款计划合并"), merged ? 1 : 0}});
    }
    qint64 addInstalment(const QString& number, const QDate& date, const QString& amount)
    {
        exec(QStringLiteral("INSERT INTO 合同收款计划表 (合同编号, 收款日期, 收款金额, 余额) VALUES (?, ?, ?, ?)"),
             {number, date, amount, amount});
        return selectFirst(QStringLiteral("SELECT MAX(ID) FROM 合同收款计划表"))->value(0).toLongLong();
    }
    void addReceipt(qint64 planId, const QString& amount)
    {
        exec(QStringLiteral("INSERT INTO 合同收款记录 (合同收款计划ID, 收款金额) VALUES (?, ?)"), {planId, amount});
    }
    static int count(const QString& sql, const QVariantList& values = {})
    {
        return selectFirst(sql, values)->value(0).toInt();
    }
    static QStringList column(const QString& sql, const QVariantList& values = {})
    {
        QStringList out;
        const auto rows = selectRows(sql, values);
        for (const Row& r : *rows) {
            QStringList cells;
            for (int i = 0; i < r.count(); ++i) cells << r.text(i);
            out << cells.join(QLatin1Char('/'));
        }
        return out;
    }
};

}  // namespace corvane::test
