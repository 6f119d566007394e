#pragma once
// Contracts with instalments, payments and performance nodes, and the plan
// windows opened through the seams the record window and the list use.

#include <QDateTime>

#include "contracts/ContractHandovers.h"
#include "contracts/ContractRecordWindow.h"
#include "db/Sql.h"
#include "plans/Registration.h"
#include "plans/frm合同履行计划.h"
#include "plans/frm合同收付款计划设置.h"
#include "testsupport/TestDatabase.h"
#include "testsupport/TestEnvironment.h"

namespace corvane::test {

inline const QDate kPlanToday(2026, 12, 10);
inline const QString kReceipt = QStringLiteral("合同收款计划设置");
inline const QString kPayment = QStringLiteral("合同付款计划设置");

class PlanTest : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        doubles().clock->current = QDateTime(kPlanToday, QTime(9, 0));
        contract::recordWindowSeams() = contract::RecordWindowSeams();
        contract::contractHandovers() = contract::ContractHandovers();
        plans::registerPlanWindows();
    }
    void TearDown() override
    {
        FormRegistry::instance().unloadAll();
        contract::recordWindowSeams() = contract::RecordWindowSeams();
        contract::contractHandovers() = contract::ContractHandovers();
        DbTest::TearDown();
    }

    // An instalment of contract `number`; NULL where a value is invalid.
    qint64 addInstalment(bool receipt, const QString& number, const QVariant& date, const QVariant& amount,
                         const QVariant& balance = QVariant(), const QVariant& condition = QVariant())
    {
        const QString sql = receipt ? QStringLiteral("INSERT INTO 合同收款计划表 (合同编号, 收款日期, 收款金额, 余额, 收款条件) "
                                                     "VALUES (?, ?, ?, ?, ?)")
                                    : QStringLiteral("INSERT INTO 合同付款计划表 (合同编号, 付款日期, 付款金额, 余额, 付款条件) "
                                                     "VALUES (?, ?, ?, ?, ?)");
        exec(sql, {number, date, amount, balance, condition});
        return maxId(receipt ? QStringLiteral("合同收款计划表") : QStringLiteral("合同付款计划表"));
    }
    qint64 addNodeRow(const QString& number, const QString& stage, const QDate& date)
    {
        exec(QStringLiteral("INSERT INTO 合同履行计划表 (合同编号, 阶段, 时间节点) VALUES (?, ?, ?)"), {number, stage, date});
        return maxId(QStringLiteral("合同履行计划表"));
    }
    static qint64 maxId(const QString& table)
    {
        return selectFirst(QStringLiteral("SELECT MAX(ID) FROM ") + table)->value(0).toLongLong();
    }
    static int count(const QString& sql, const QVariantList& values = {})
    {
        return selectFirst(sql, values)->value(0).toInt();
    }

    // The instalment plan window as the record window opens it; `script`
    // runs while it is shown.
    void openPlan(const QString& caption, const std::function<void(frm合同收付款计划设置&)>& script,
                  const QString& amount = QStringLiteral("10000"), const QString& number = QStringLiteral("HT-1"))
    {
        onModal<frm合同收付款计划设置>(script);
        contract::recordWindowSeams().frm合同收付款计划设置(
            {number + QStringLiteral(" 办公楼维修"), amount, QDate(2009, 1, 8), QDate(2009, 12, 18), caption});
    }
    void openNodes(const QString& mode, const std::function<void(frm合同履行计划&)>& script,
                   const QString& number = QStringLiteral("HT-1"))
    {
        onModal<frm合同履行计划>(script);
        if (mode == frm合同履行计划::kEditMode)
            contract::recordWindowSeams().frm合同履行计划({number, QStringLiteral("办公楼维修"), mode});
        else
            contract::contractHandovers().frm合同履行计划(
                {QStringLiteral("合同履行情况及检查记录"), number, QStringLiteral("办公楼维修"), mode, QStringLiteral("1")});
    }

    static QStringList row(const FlexGrid& g, int r, int lastCol)
    {
        QStringList out;
        for (int c = 0; c <= lastCol; ++c) out << g.TextMatrix(r, c);
        return out;
    }
    static QStringList shownTexts() { return doubles().boxes->texts(); }
    static void answer(std::initializer_list<int> answers)
    {
        for (int a : answers) doubles().boxes->answers.push_back(a);
    }
};

}  // namespace corvane::test
