#pragma once
// An organisation with contract types and contracts to end, renew and be
// reminded of, with the expiry windows opened through their seams.

#include <QDateTime>
#include <map>
#include <thread>

#include "app/LoginContext.h"
#include "app/MainWindowHooks.h"
#include "contracts/ContractHandovers.h"
#include "contracts/ContractRecordWindow.h"
#include "db/Sql.h"
#include "plans/Frm合同到期提醒.h"
#include "plans/Registration.h"
#include "plans/frm合同到期处理.h"
#include "testsupport/TestDatabase.h"
#include "testsupport/TestEnvironment.h"

namespace corvane::test {

inline const QDate kExpiryToday(2026, 12, 10);

class ExpiryTest : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        doubles().clock->current = QDateTime(kExpiryToday, QTime(9, 0));
        contract::recordWindowSeams() = contract::RecordWindowSeams();
        contract::contractHandovers() = contract::ContractHandovers();
        mainWindowHooks() = MainWindowHooks();
        plans::registerPlanWindows();
        addDepartment(QStringLiteral("D01"), QStringLiteral("物业一部"), QStringLiteral("C1"));
        addDepartment(QStringLiteral("D02"), QStringLiteral("物业二部"), QStringLiteral("C1"));
        addType(QStringLiteral("T1"), QStringLiteral("工程合同"), QStringLiteral("付款合同"));
        addType(QStringLiteral("T2"), QStringLiteral("物业服务合同"), QStringLiteral("收款合同"));
        addType(QStringLiteral("T3"), QStringLiteral("租赁合同"), QStringLiteral("收款合同"));
        addType(QStringLiteral("T4"), QStringLiteral("保洁合同"), QStringLiteral("收款合同"));
        loginAs(QStringLiteral("D01"), QStringLiteral("P01"));
    }
    void TearDown() override
    {
        FormRegistry::instance().unloadAll();
        contract::recordWindowSeams() = contract::RecordWindowSeams();
        contract::contractHandovers() = contract::ContractHandovers();
        mainWindowHooks() = MainWindowHooks();
        Login() = LoginContext();
        DbTest::TearDown();
    }

    static void loginAs(const QString& dept, const QString& post)
    {
        Login() = LoginContext();
        Login().当前工号 = QStringLiteral("E001");
        Login().当前部门编号 = dept;
        Login().当前岗位代号 = post;
    }
    void addType(const QString& code, const QString& name, const QString& category)
    {
        exec(QStringLiteral("INSERT INTO 合同类型 (合同类型编号, 合同类型, 合同类别) VALUES (?, ?, ?)"), {code, name, category});
    }
    // A contract of `dept` with `type` in `state`; further columns by name. Its id.
    qint64 addContract(const QString& number, const QString& dept, const QString& type, const QString& state,
                       const std::map<QString, QVariant>& more = {})
    {
        return addContractRow({{QStringLiteral("合同编号"), number},
                               {QStringLiteral("对应部门"), dept},
                               {QStringLiteral("合同类型"), type},
                               {QStringLiteral("合同状态"), state}},
                              more);
    }
    static qint64 idOf(const QString& number)
    {
        return selectFirst(QStringLiteral("SELECT id FROM 合同信息 WHERE 合同编号 = ?"), {number})->value(0).toLongLong();
    }
    static Row contractRow(const QString& number)
    {
        return *selectFirst(QStringLiteral("SELECT * FROM 合同信息 WHERE 合同编号 = ?"), {number});
    }
    qint64 addPaymentInstalment(const QString& number, const QString& amount, const QString& balance)
    {
        exec(QStringLiteral("INSERT INTO 合同付款计划表 (合同编号, 付款日期, 付款金额, 余额) VALUES (?, ?, ?, ?)"),
             {number, QDate(2026, 1, 1), amount, balance});
        return selectFirst(QStringLiteral("SELECT MAX(ID) FROM 合同付款计划表"))->value(0).toLongLong();
    }
    static int count(const QString& sql, const QVariantList& values = {})
    {
        return selectFirst(sql, values)->value(0).toInt();
    }
    static QStringList shownTexts() { return doubles().boxes->texts(); }
    static void answer(std::initializer_list<int> answers)
    {
        for (int a : answers) doubles().boxes->answers.push_back(a);
    }
    void atOnce(int threads, const std::function<void(const QSqlDatabase&, int thread)>& work) const
    {
        std::vector<std::thread> running;
        for (int t = 0; t < threads; ++t)
            running.emplace_back([&, t] {
                auto conn = openSecondConnection(QStringLiteral("worker-%1").arg(t));
                work(conn->db(), t);
            });
        for (auto& th : running) th.join();
    }

    // The expiry window as the contract list opens it; `script` runs while it is shown.
    void openExpiry(const QString& number, const std::function<void(frm合同到期处理&)>& script,
                    const QString& name = QStringLiteral("办公楼保洁"))
    {
        onModal<frm合同到期处理>(script);
        const qint64 id = idOf(number);
        contract::contractHandovers().frm合同到期处理({number, name, id ? QString::number(id) : QString()});
    }
    // The reminder window as the main window opens it.
    static Frm合同到期提醒* openReminder()
    {
        return static_cast<Frm合同到期提醒*>(mainWindowHooks().Frm合同到期提醒());
    }
};

}  // namespace corvane::test
