#pragma once
// A small organisation with contract types and a contract builder, shared by
// the contract register's tests; without windows, so the store tests build
// without widgets.

#include <QDate>
#include <map>

#include "app/LoginContext.h"
#include "contracts/ContractFormats.h"
#include "contracts/ContractHandovers.h"
#include "contracts/ContractStore.h"
#include "db/Sql.h"
#include "testsupport/ServiceDoubles.h"
#include "testsupport/TestDatabase.h"

namespace corvane::test {

// The fixed clock's today.
inline const QDate kToday(2026, 12, 10);

class ContractDataTest : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        contract::contractHandovers() = contract::ContractHandovers();
        doubles().clock->current = QDateTime(kToday, QTime(9, 30));
        addDepartment(QStringLiteral("D01"), QStringLiteral("财务部"), QStringLiteral("C1"));
        addDepartment(QStringLiteral("D02"), QStringLiteral("工程部"), QStringLiteral("C1"), QStringLiteral("D01"));
        addDepartment(QStringLiteral("D03"), QStringLiteral("物业部"), QStringLiteral("C1"));
        addType(QStringLiteral("T1"), QStringLiteral("工程合同"), QStringLiteral("付款合同"), QStringLiteral("GC"),
                QStringLiteral("5001"));
        addType(QStringLiteral("T2"), QStringLiteral("物业服务合同"), QStringLiteral("收款合同"), QStringLiteral("WY"));
        addType(QStringLiteral("T3"), QStringLiteral("租赁合同"), QStringLiteral("收款合同"), QStringLiteral("ZL"));
        loginAs(QStringLiteral("D01"), QStringLiteral("P01"));
    }

    void TearDown() override
    {
        contract::contractHandovers() = contract::ContractHandovers();
        Login() = LoginContext();
        DbTest::TearDown();
    }

    static void loginAs(const QString& dept, const QString& post)
    {
        Login() = LoginContext();
        Login().当前工号 = QStringLiteral("E001");
        Login().当前部门编号 = dept;
        Login().当前部门名称 = QStringLiteral("部门") + dept;
        Login().当前岗位代号 = post;
        Login().当前岗位名称 = QStringLiteral("岗位") + post;
    }

    void grantCompanyScope(const QString& dept, const QString& post)
    {
        exec(QStringLiteral("INSERT INTO 专项审核权限表 (类型, 部门代号, 岗位代号) VALUES (?, ?, ?)"),
             {QStringLiteral("Corvane"), dept, post});
    }

    void addType(const QString& code, const QString& name, const QString& category, const QString& prefix,
                 const QString& subject = QString())
    {
        exec(QStringLiteral("INSERT INTO 合同类型 (合同类型编号, 合同类型, 合同类别, 字, 对应科目) VALUES (?, ?, ?, ?, ?)"),
             {code, name, category, prefix, subject.isEmpty() ? QVariant() : QVariant(subject)});
    }

    // A contract of `dept` with `type` in `state`; further columns by name.
    void addContract(const QString& number, const QString& dept, const QString& type, const QString& state,
                     const std::map<QString, QVariant>& more = {})
    {
        addContractRow({{QStringLiteral("合同编号"), number},
                        {QStringLiteral("对应部门"), dept},
                        {QStringLiteral("合同类型"), type},
                        {QStringLiteral("合同状态"), state}},
                       more);
    }

    void addPayment(const QString& number, const QDate& date, const QString& amount, const QVariant& balance)
    {
        exec(QStringLiteral("INSERT INTO 合同付款计划表 (合同编号, 付款日期, 付款金额, 余额) VALUES (?, ?, ?, ?)"),
             {number, date, amount, balance});
    }
    void addReceipt(const QString& number, const QDate& date, const QString& amount, const QVariant& balance)
    {
        exec(QStringLiteral("INSERT INTO 合同收款计划表 (合同编号, 收款日期, 收款金额, 余额) VALUES (?, ?, ?, ?)"),
             {number, date, amount, balance});
    }

    static QList<ShownBox>& boxes() { return doubles().boxes->shown; }
};

// A new contract of department D01 and type T1 for the store, numbered
// automatically with `prefix`, or with a typed number.
inline contract::NewContract numberedContract(const QString& prefix,
                                              contract::PrefixForm form = contract::PrefixForm::DashAlways)
{
    contract::NewContract c;
    c.automatic = true;
    c.prefix = prefix;
    c.form = form;
    c.columns = {{QStringLiteral("对应部门"), QStringLiteral("D01")}, {QStringLiteral("合同类型"), QStringLiteral("T1")}};
    return c;
}

inline contract::NewContract typedContract(const QString& number)
{
    contract::NewContract c = numberedContract(QString());
    c.automatic = false;
    c.typedNumber = number;
    return c;
}

}  // namespace corvane::test
