#pragma once
// A department that pays under a contract, the user's department with its
// staff, a budget subject with an approved plan, an approval rule, and the
// payment window opened through the contract list's hand-over.

#include <QDateTime>

#include "app/LoginContext.h"
#include "contracts/ContractHandovers.h"
#include "db/Sql.h"
#include "payments/PaymentStore.h"
#include "platform/Amounts.h"
#include "payments/Registration.h"
#include "payments/frm合同付款处理.h"
#include "payments/frm财务科目浏览.h"
#include "testsupport/TestDatabase.h"
#include "testsupport/TestEnvironment.h"

namespace corvane::test {

inline const QDate kPayToday(2026, 12, 10);

class PaymentTest : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        doubles().clock->current = QDateTime(kPayToday, QTime(9, 30));
        contract::contractHandovers() = contract::ContractHandovers();
        payments::registerPaymentWindows();
        Login() = LoginContext();
        Login().当前工号 = QStringLiteral("E001");
        Login().当前部门编号 = QStringLiteral("D01");
        Login().当前部门名称 = QStringLiteral("财务部");

        addDepartment(QStringLiteral("D01"), QStringLiteral("财务部"), QStringLiteral("C1"));
        addDepartment(QStringLiteral("D03"), QStringLiteral("物业部"), QStringLiteral("C2"));
        addStaff(QStringLiteral("E001"), QStringLiteral("张三"), QStringLiteral("1"));
        addStaff(QStringLiteral("E002"), QStringLiteral("李四"), QStringLiteral("1"));
        exec(QStringLiteral("INSERT INTO 岗位信息new (岗位代号, 岗位名称, 职能部门代号, 工号, 部门主管, 起始日期) VALUES "
                            "('P01', '会计', 'D01', 'E001', 0, '2020-01-01'), ('P02', '出纳', 'D01', 'E002', 0, '2020-01-01'), "
                            "('P03', '物业部经理', 'D03', 'E002', 1, '2020-01-01')"));
        exec(QStringLiteral("INSERT INTO 合同类型 (合同类型编号, 合同类型, 合同类别, 字, 对应科目) VALUES ('T1', '工程合同', '付款合同', 'GC', '5501')"));

        exec(QStringLiteral("INSERT INTO 科目类别 (类别) VALUES ('物资费用'), ('管理费用')"));
        addSubject("55", "管理费用", QVariant(), 0);
        addSubject("5501", "维修费", "55", 1);
        exec(QStringLiteral("INSERT INTO 科目类别对应科目 (类别, 科目代号) VALUES ('管理费用', '5501')"));
        exec(QStringLiteral("INSERT INTO 预算体系索引 (部门类别代号, 起始日期, 终止日期) VALUES ('C2', '2020-01-01', NULL)"));
        exec(QStringLiteral("INSERT INTO 预算体系明细表 (体系ID, 明细科目代号) VALUES (?, '5501')"),
             {maxId(QStringLiteral("预算体系索引"))});
        addPlan("P-D03", "D03", "2026");
        addPlanLine("P-D03", "5501", "1000.00", QStringLiteral("支出预算"));

        exec(QStringLiteral("INSERT INTO 报销审批路径设置 (审批路径代号, 审批路径名称, 报销部门类别代号, 报销类别, 金额下限, 金额上限, 本部门主管审批) "
                            "VALUES ('R1', '管理费用', 'C2', '管理费用', 0, 1000000, 1)"));
        exec(QStringLiteral("INSERT INTO 报销审批路径 (报销审批ID, 审批环节序号, 部门代号, 岗位代号) VALUES (?, 1, 'D01', 'P01')"),
             {maxId(QStringLiteral("报销审批路径设置"))});
        exec(QStringLiteral("INSERT INTO 银行卡设置 (员工编号, 银行, 卡名, 卡号) VALUES ('E001', '工商银行', '牡丹卡', '6222001')"));
        exec(QStringLiteral("INSERT INTO 银行帐号 (对方单位, 开户银行, 银行帐号) VALUES ('恒达公司', '建设银行', '6217001')"));

        addContract("HT-1", "1000.00");
    }
    void TearDown() override
    {
        FormRegistry::instance().unloadAll();
        contract::contractHandovers() = contract::ContractHandovers();
        Login() = LoginContext();
        DbTest::TearDown();
    }

    void addSubject(const QString& code, const QString& name, const QVariant& parent, int budget,
                    const QString& category = QStringLiteral("管理费用"))
    {
        exec(QStringLiteral("INSERT INTO 财务科目 (科目代号, 科目名称, 上级科目代号, 预算, 非预算, 其他, 支出项, 费用类别) "
                            "VALUES (?, ?, ?, ?, 0, 0, 1, ?)"),
             {code, name, parent, budget, category});
    }
    void addPlan(const QString& plan, const QString& dept, const QString& year, int approved = 1)
    {
        exec(QStringLiteral("INSERT INTO 预算计划 (计划编号, 部门代号, 年度, 审核通过, 审核完成日期) VALUES (?, ?, ?, ?, ?)"),
             {plan, dept, year, approved, QDate(2026, 1, 5)});
    }
    // Every month of the line at `monthly`.
    void addPlanLine(const QString& plan, const QString& subject, const QString& monthly, const QString& source,
                     const QVariant& formula = QVariant(), const QVariant& dataCode = QVariant())
    {
        exec(QStringLiteral("INSERT INTO 预算详细 (计划编号, 科目代码, 一月, 二月, 三月, 四月, 五月, 六月, 七月, 八月, 九月, 十月, "
                            "十一月, 十二月, 数据来源, 公式, 数据代号) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
             {plan, subject, monthly, monthly, monthly, monthly, monthly, monthly, monthly, monthly, monthly, monthly,
              monthly, monthly, source, formula, dataCode});
    }
    void addContract(const QString& number, const QString& amount, const std::map<QString, QVariant>& more = {})
    {
        addContractRow({{"合同编号", number},
                        {"合同名称", QStringLiteral(" 电梯维修 ")},
                        {"合同类型", "T1"},
                        {"对应部门", "D03"},
                        {"合同金额", amount},
                        {"对方单位", "恒达公司"},
                        {"对方开户行", "旧银行"},
                        {"对方帐号", "旧帐号"}},
                       more);
    }
    qint64 addInstalment(const QString& number, const QDate& date, const QString& amount)
    {
        exec(QStringLiteral("INSERT INTO 合同付款计划表 (合同编号, 付款日期, 付款金额, 余额) VALUES (?, ?, ?, ?)"),
             {number, date, amount, amount});
        return maxId(QStringLiteral("合同付款计划表"));
    }
    void addRecord(qint64 instalment, const QString& amount, int voided = 0)
    {
        exec(QStringLiteral("INSERT INTO 合同付款记录 (合同付款计划ID, 付款金额, 作废) VALUES (?, ?, ?)"),
             {instalment, amount, voided});
    }
    // A submitted form of D03 on subject 5501 with one line.
    void addForm(const QString& number, const QVariant& submitted, const QString& amount,
                 const std::map<QString, QVariant>& more = {})
    {
        QStringList names{"报销单编号", "部门代号", "报批日期", "审批通过", "报销类型", "报销单类型", "出纳退回"};
        QVariantList values{number, "D03", submitted, 0, "预算", "合同付款", 0};
        for (const auto& [k, v] : more) {
            const qsizetype at = names.indexOf(k);
            if (at >= 0) values[at] = v;
            else {
                names << k;
                values << v;
            }
        }
        exec(QStringLiteral("INSERT INTO 报销单表 (") + names.join(", ") + ") VALUES (" + placeholders(int(names.size())) + ")",
             values);
        exec(QStringLiteral("INSERT INTO 报销单明细 (报销单ID, 科目代号, 金额) VALUES (?, '5501', ?)"),
             {maxId(QStringLiteral("报销单表"), QStringLiteral("报销单ID")), amount});
    }

    static qint64 maxId(const QString& table, const QString& column = QStringLiteral("ID"))
    {
        return selectFirst(QStringLiteral("SELECT MAX(") + column + QStringLiteral(") FROM ") + table)->value(0).toLongLong();
    }
    static QVariant scalar(const QString& sql, const QVariantList& values = {})
    {
        return selectFirst(sql, values)->value(0);
    }
    static int count(const QString& table) { return scalar(QStringLiteral("SELECT COUNT(*) FROM ") + table).toInt(); }
    static QString cents(const QVariant& v) { return centsText(centsOf(v).value_or(-1)); }

    contract::PaymentHandover handover(const QString& number = QStringLiteral("HT-1"),
                                       const QString& amount = QStringLiteral("1000.00"))
    {
        contract::PaymentHandover h;
        h.number = number;
        h.id = QStringLiteral("1");
        h.name = QStringLiteral(" 电梯维修 ");
        h.amount = amount;
        h.ownerDepartment = QStringLiteral("D03 物业部");
        h.budgetSubject = QStringLiteral("5501");
        h.userDepartmentText = QStringLiteral("D01 财务部");
        h.userDepartmentCode = QStringLiteral("D01");
        h.counterparty = QStringLiteral("恒达公司");
        h.bank = QStringLiteral("旧银行");
        h.account = QStringLiteral("旧帐号");
        return h;
    }
    // The payment window as the contract list opens it; `script` runs while it is shown.
    void openPayment(const std::function<void(frm合同付款处理&)>& script, const contract::PaymentHandover& h)
    {
        onModal<frm合同付款处理>(script);
        contract::contractHandovers().frm合同付款处理(h);
    }
    void openPayment(const std::function<void(frm合同付款处理&)>& script) { openPayment(script, handover()); }

    // Fills what 确定 asks for beyond the grid: invoice number.
    static void completeEntry(frm合同付款处理& w) { w.Text4->setText(QStringLiteral(" FP-001 ")); }

    static QList<ShownBox>& boxes() { return doubles().boxes->shown; }
    static QStringList boxTexts() { return doubles().boxes->texts(); }
};

}  // namespace corvane::test
