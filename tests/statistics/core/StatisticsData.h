#pragma once
// An organisation, contract types, contracts, instalments and settlements
// for the statistics store and windows, and the login of the user who looks
// at them; without windows, so the store tests build without widgets.

#include <QDate>
#include <QDateTime>

#include "app/LoginContext.h"
#include "contracts/ContractHandovers.h"
#include "db/Sql.h"
#include "testsupport/TestDatabase.h"
#include "testsupport/ServiceDoubles.h"

namespace corvane::test {

inline const QDate kStatsToday(2026, 12, 10);

class StatisticsDataTest : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        doubles().clock->current = QDateTime(kStatsToday, QTime(9, 30));
        contract::contractHandovers() = contract::ContractHandovers();
        loginAs(QStringLiteral("D01"), QStringLiteral("P01"), QStringLiteral("总部"));
    }
    void TearDown() override
    {
        contract::contractHandovers() = contract::ContractHandovers();
        Login() = LoginContext();
        DbTest::TearDown();
    }

    static void loginAs(const QString& dept, const QString& post, const QString& deptName)
    {
        Login() = LoginContext();
        Login().当前工号 = QStringLiteral("E001");
        Login().当前姓名 = QStringLiteral("张三");
        Login().当前部门编号 = dept;
        Login().当前部门名称 = deptName;
        Login().当前岗位代号 = post;
    }

    // A department with its category (app部门类别) and, when given, a link
    // to its superior from `since`.
    void dept(const QString& code, const QString& name, const QVariant& category = QStringLiteral("职能部门"),
              const QString& superior = QString(), const QDate& since = QDate(2000, 1, 1))
    {
        exec(QStringLiteral("INSERT INTO 职能部门new (职能部门编号, 职能部门名称, app部门类别) VALUES (?, ?, ?)"),
             {code, name, category});
        if (!superior.isNull()) link(code, superior, since);
    }
    void link(const QString& code, const QVariant& superior, const QDate& since, const QDate& ended = QDate())
    {
        exec(QStringLiteral("INSERT INTO 上级部门new (职能部门编号, 上级部门编号, 起始日期, 终止日期) VALUES (?, ?, ?, ?)"),
             {code, superior.toString().isEmpty() ? QVariant(QMetaType::fromType<QString>()) : superior,
              dateValue(since), dateValue(ended)});
    }
    void endDept(const QString& code)
    {
        exec(QStringLiteral("UPDATE 职能部门new SET 终止日期 = ? WHERE 职能部门编号 = ?"),
             {dateValue(QDate(2020, 1, 1)), code});
    }
    void office(const QString& dept, const QVariant& gyd)
    {
        exec(QStringLiteral("INSERT INTO 设置管理处 (对应部门代号, gyd_dh, gyd_name) VALUES (?, ?, ?)"),
             {dept, gyd, QStringLiteral("管理处")});
    }
    void grantSpecialRight(const QString& dept, const QString& post)
    {
        exec(QStringLiteral("INSERT INTO 专项审核权限表 (类型, 部门代号, 岗位代号) VALUES (?, ?, ?)"),
             {QStringLiteral("Corvane"), dept, post});
    }
    void type(const QString& code, const QString& name, const QString& category, bool shared = true)
    {
        exec(QStringLiteral("INSERT INTO 合同类型 (合同类型编号, 合同类型, 合同类别, 公用) VALUES (?, ?, ?, ?)"),
             {code, name, category, shared ? 1 : 0});
    }
    void assignType(const QString& type, const QString& dept)
    {
        exec(QStringLiteral("INSERT INTO 合同使用部门设置 (合同类型编号, 部门) VALUES (?, ?)"), {type, dept});
    }
    struct C {
        QString number, type, dept;
        QVariant counterparty = QStringLiteral("甲公司");
        QString state = QStringLiteral("履行中");
        QVariant amount = QStringLiteral("100.00");
        QVariant start = QDate(2026, 1, 1);
        QVariant end = QDate(2026, 12, 31);
    };
    qint64 contract(const C& c)
    {
        auto date = [](const QVariant& v) {
            if (v.typeId() == QMetaType::QDate) return dateValue(v.toDate());
            return v;  // a stored text (a date with a time of day) or NULL
        };
        exec(QStringLiteral("INSERT INTO 合同信息 (合同编号, 合同名称, 合同类型, 对应部门, 对方单位, 合同状态, 合同金额, "
                            "合同起始日期, 合同终止日期, 合同签订日期, 合同生效日期) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
             {c.number, QStringLiteral("合同") + c.number, c.type, c.dept, c.counterparty, c.state, c.amount,
              date(c.start), date(c.end), date(c.start), date(c.start)});
        return selectFirst(QStringLiteral("SELECT id FROM 合同信息 WHERE 合同编号 = ?"), {c.number})->value(0).toLongLong();
    }
    qint64 instalment(bool receipt, const QString& number, const QDate& date, const QString& amount,
                      const QVariant& balance = QVariant())
    {
        exec(receipt ? QStringLiteral("INSERT INTO 合同收款计划表 (合同编号, 收款日期, 收款金额, 余额) VALUES (?, ?, ?, ?)")
                     : QStringLiteral("INSERT INTO 合同付款计划表 (合同编号, 付款日期, 付款金额, 余额) VALUES (?, ?, ?, ?)"),
             {number, dateValue(date), amount, balance.isValid() ? balance : QVariant(amount)});
        return selectFirst(receipt ? QStringLiteral("SELECT MAX(ID) FROM 合同收款计划表")
                                   : QStringLiteral("SELECT MAX(ID) FROM 合同付款计划表"))
            ->value(0)
            .toLongLong();
    }
    void settle(bool receipt, qint64 plan, const QString& amount, bool voided = false)
    {
        if (receipt)
            exec(QStringLiteral("INSERT INTO 合同收款记录 (合同收款计划ID, 收款金额) VALUES (?, ?)"), {plan, amount});
        else
            exec(QStringLiteral("INSERT INTO 合同付款记录 (合同付款计划ID, 付款金额, 作废) VALUES (?, ?, ?)"),
                 {plan, amount, voided ? 1 : 0});
    }
};

}  // namespace corvane::test
