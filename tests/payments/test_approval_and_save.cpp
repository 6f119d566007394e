// The approval path of a request, the form number, and two workstations
// paying the last of a budget and of one instalment at once.

#include <QThread>
#include <atomic>

#include "tests/payments/PaymentFixture.h"

namespace corvane::test {
namespace {

using namespace payments;

Decimal d(const char* t) { return *plainDecimal(QString::fromUtf8(t)); }

class PathTest : public PaymentTest {
protected:
    void SetUp() override
    {
        PaymentTest::SetUp();
        exec("DELETE FROM 报销审批路径设置");
        exec("DELETE FROM 报销审批路径");
    }
    qint64 addRule(const char* code, const char* low, const char* high, int head, const QVariant& category = "C2")
    {
        exec("INSERT INTO 报销审批路径设置 (审批路径代号, 报销部门类别代号, 报销类别, 金额下限, 金额上限, 本部门主管审批) "
             "VALUES (?, ?, '管理费用', ?, ?, ?)",
             {code, category, low, high, head});
        return maxId("报销审批路径设置");
    }
    void addStep(qint64 rule, int order, const char* post)
    {
        exec("INSERT INTO 报销审批路径 (报销审批ID, 审批环节序号, 部门代号, 岗位代号) VALUES (?, ?, 'D01', ?)", {rule, order, post});
    }
    PathLookup lookup(const char* amount, const QString& category = "C2", const QDate& serverDate = kPayToday)
    {
        const auto p = 获取审批路径(category, "管理费用", d(amount), "D03", serverDate);
        EXPECT_TRUE(p.has_value()) << p.error().description.toStdString();
        return p ? *p : PathLookup();
    }
    static QStringList posts(const PathLookup& p)
    {
        QStringList out;
        for (const PathStep& s : p.steps) out << QString::number(s.序号) + ":" + s.岗位代号;
        return out;
    }
};

TEST_F(PathTest, BoundsAreInclusiveAndTheFirstRuleByKeyWins)
{
    const qint64 small = addRule("S", "0", "100", 0);
    addStep(small, 1, "P01");
    const qint64 large = addRule("L", "100", "500", 0);
    addStep(large, 2, "P02");
    addStep(large, 1, "P01");  // steps in stored order
    EXPECT_EQ(lookup("100").审批路径代号, QStringLiteral("S"));
    EXPECT_EQ(posts(lookup("100.01")), (QStringList{"2:P02", "1:P01"}));
    EXPECT_EQ(lookup("500").kind, PathLookup::Found);
    EXPECT_EQ(lookup("500.01").kind, PathLookup::NoRule);
    EXPECT_EQ(lookup("50", "C1").kind, PathLookup::NoRule);
}

TEST_F(PathTest, HeadPostFirstAndItsDates)
{
    const qint64 rule = addRule("H", "0", "100", 1);
    EXPECT_EQ(posts(lookup("1")), QStringList{"0:P03"});  // head only: one step
    addStep(rule, 1, "P01");
    EXPECT_EQ(posts(lookup("1")), (QStringList{"0:P03", "1:P01"}));
    exec("UPDATE 岗位信息new SET 起始日期 = ? WHERE 岗位代号 = 'P03'", {kPayToday});
    EXPECT_EQ(lookup("1").kind, PathLookup::Found);  // begins on the server date
    exec("UPDATE 岗位信息new SET 起始日期 = '2020-01-01', 终止日期 = ? WHERE 岗位代号 = 'P03'", {kPayToday});
    EXPECT_EQ(lookup("1").kind, PathLookup::NoHead);  // ends on it
    exec("UPDATE 岗位信息new SET 终止日期 = ? WHERE 岗位代号 = 'P03'", {kPayToday.addDays(1)});
    EXPECT_EQ(lookup("1").kind, PathLookup::Found);
}

TEST_F(PathTest, NoStepsNoPath)
{
    addRule("N", "0", "100", 0);
    EXPECT_EQ(lookup("1").kind, PathLookup::NoSteps);
    // An unknown department has the empty category: only such rules match.
    const qint64 blank = addRule("B", "0", "100", 0, QVariant());
    addStep(blank, 1, "P01");
    EXPECT_EQ(lookup("1", "").审批路径代号, QStringLiteral("B"));
}

TEST_F(PathTest, TheWindowNamesTheMissingHead)
{
    addRule("H", "0", "1000", 1);
    exec("UPDATE 岗位信息new SET 部门主管 = 0");
    addInstalment("HT-1", QDate(2026, 1, 1), "100.00");
    openPayment([](frm合同付款处理& w) {
        completeEntry(w);
        w.Command1_Click();
    });
    EXPECT_EQ(boxTexts(), QStringList{"未设置D03 物业部的主管岗位，请核对\r\n\r\n目前你不能生成报销单"});
    EXPECT_EQ(count("报销单表"), 0);
}

// ---------------------------------------------------------------- the save

class SaveTest : public PaymentTest {
protected:
    PaymentRequest request(qint64 instalment, const char* amount)
    {
        PaymentRequest q;
        q.contractNumber = "HT-1";
        q.contractName = "电梯维修";
        q.amount = d(amount);
        q.userDepartment = "D01";
        q.department = "D03";
        q.departmentCategory = "C2";
        q.subject = "5501";
        q.paymentDate = kPayToday;
        q.付款方式 = "银行-网上银行";
        q.报销类型 = "预算";
        q.报销费用类别 = "管理费用";
        q.handlerName = "张三";
        q.operatorCode = "E001";
        q.now = QDateTime(kPayToday, QTime(9, 30));
        q.budgetMonth = "2026-12";
        q.rows = {GridInstalment{instalment, d("0"), true, d(amount)}};
        q.steps = {PathStep{0, "D03", "P03"}};
        return q;
    }
};

TEST_F(SaveTest, TheSerialIsOneAboveTheHighestAndSkipsTakenNumbers)
{
    const qint64 a = addInstalment("HT-1", QDate(2026, 1, 1), "100.00");
    EXPECT_EQ(保存报销单(request(a, "10")).formNumber, QStringLiteral("2026-D01-000001"));
    // Another program's form holds the next number; the serial is taken
    // over every year and department.
    exec("INSERT INTO 报销单表 (报销单编号, 流水号) VALUES ('2026-D01-000002', 1), ('2025-D09-000001', 1)");
    const FormSaveOutcome o = 保存报销单(request(a, "10"));
    EXPECT_EQ(o.formNumber, QStringLiteral("2026-D01-000003"));
    EXPECT_EQ(scalar("SELECT 流水号 FROM 报销单表 WHERE 报销单ID = ?", {o.formId}).toInt(), 3);
}

TEST_F(SaveTest, AmountsAreCheckedAgainstTheStoredRecords)
{
    const qint64 a = addInstalment("HT-1", QDate(2026, 1, 1), "100.00");
    addRecord(a, "60.00");  // paid by another workstation since the grid was filled
    EXPECT_EQ(保存报销单(request(a, "40.01")).kind, FormSaveOutcome::OverBalance);
    const FormSaveOutcome o = 保存报销单(request(a, "40"));
    ASSERT_EQ(o.kind, FormSaveOutcome::Saved) << o.error.description.toStdString();
    EXPECT_EQ(cents(scalar("SELECT 余额 FROM 合同付款计划表 WHERE ID = ?", {a})), QStringLiteral("0.00"));
    EXPECT_EQ(保存报销单(request(a + 100, "1")).kind, FormSaveOutcome::InstalmentGone);
    EXPECT_EQ(count("报销单表"), 1);
}

TEST_F(SaveTest, RowsOutsideThePlanBecomeInstalments)
{
    PaymentRequest q = request(0, "30");
    q.rows = {GridInstalment{std::nullopt, d("30"), true, d("30")}, GridInstalment{std::nullopt, d("70"), false, {}}};
    q.invoice = "   ";
    const FormSaveOutcome o = 保存报销单(q);
    ASSERT_EQ(o.kind, FormSaveOutcome::Saved) << o.error.description.toStdString();
    ASSERT_EQ(o.rowIds.size(), 2u);
    ASSERT_TRUE(o.rowIds[0] && o.rowIds[1]);
    EXPECT_EQ(cents(scalar("SELECT 余额 FROM 合同付款计划表 WHERE ID = ?", {*o.rowIds[0]})), QStringLiteral("0.00"));
    EXPECT_EQ(cents(scalar("SELECT 余额 FROM 合同付款计划表 WHERE ID = ?", {*o.rowIds[1]})), QStringLiteral("70.00"));
    EXPECT_EQ(count("合同付款记录"), 1);
    EXPECT_TRUE(scalar("SELECT 票据编号 FROM 报销附件").isNull());
}

TEST_F(SaveTest, TwoWorkstationsPayingTheLastAtOnce)
{
    // 100.00 of budget left, and one instalment of 100.00: both ask for all of it.
    addForm("F0", QDate(2026, 12, 1), "11900.00");
    const qint64 a = addInstalment("HT-1", QDate(2026, 1, 1), "100.00");
    std::vector<FormSaveOutcome> outcomes(2);
    std::atomic<int> ready{0};
    std::vector<std::unique_ptr<QThread>> threads;
    for (int i = 0; i < 2; ++i) {
        const PaymentRequest q = request(a, "100");
        threads.emplace_back(QThread::create([this, i, q, &outcomes, &ready] {
            auto c = openSecondConnection(QStringLiteral("pay%1").arg(i));
            ++ready;
            while (ready < 2) QThread::yieldCurrentThread();
            outcomes[size_t(i)] = 保存报销单(c->db(), q);
        }));
    }
    for (auto& t : threads) t->start();
    for (auto& t : threads) t->wait();
    int saved = 0, refused = 0;
    for (const FormSaveOutcome& o : outcomes) {
        if (o.kind == FormSaveOutcome::Saved) ++saved;
        if (o.kind == FormSaveOutcome::BudgetRefused || o.kind == FormSaveOutcome::OverBalance) ++refused;
        EXPECT_NE(o.kind, FormSaveOutcome::Failed) << o.error.description.toStdString();
    }
    EXPECT_EQ(saved, 1);
    EXPECT_EQ(refused, 1);
    EXPECT_EQ(count("合同付款记录"), 1);
    EXPECT_EQ(scalar("SELECT COUNT(DISTINCT 报销单编号) FROM 报销单表").toInt(), count("报销单表"));
}

// What the family's other programs read of a new form: empty texts as '',
// NULLs and 0s as such, and the columns the save does not write left NULL;
// boxes never typed into included.
TEST_F(SaveTest, EmptyAndUnwrittenColumnsAreStoredAsTheFamilyReadsThem)
{
    for (const bool cash : {false, true}) {
        SCOPED_TRACE(cash ? "现金" : "银行-网上银行");
        exec("DELETE FROM 报销单审批");
        exec("DELETE FROM 报销单审批路径");
        exec("DELETE FROM 报销附件");
        exec("DELETE FROM 报销单明细");
        exec("DELETE FROM 报销单表");
        const qint64 a = addInstalment("HT-1", QDate(2026, 1, 1), "100.00");
        PaymentRequest q = request(a, "10");
        q.rows.push_back(GridInstalment{std::nullopt, d("5"), false, {}});
        q.cash = cash;
        q.付款方式 = cash ? QStringLiteral("现金") : QStringLiteral("银行-网上银行");
        q.payee = QString();
        q.payeeBank = QString();
        q.payeeAccount = QString();
        q.invoice = QString();
        // A card whose 卡名 is not set gives an empty text.
        q.card = Card{QStringLiteral("工商银行"), QVariant(QString()), QStringLiteral("6222")};
        const FormSaveOutcome o = 保存报销单(q);
        ASSERT_EQ(o.kind, FormSaveOutcome::Saved) << o.error.description.toStdString();
        const QVariantList form{o.formId};
        const struct {
            const char* sql;
            const char* value;
        } columns[] = {
            {"SELECT 备注 FROM 报销单表 WHERE 报销单ID = ?", ""},
            {"SELECT 一事一报 FROM 报销单表 WHERE 报销单ID = ?", "0"},
            {"SELECT 对方单位名称 FROM 报销单表 WHERE 报销单ID = ?", cash ? nullptr : ""},
            {"SELECT 对方帐号 FROM 报销单表 WHERE 报销单ID = ?", cash ? nullptr : ""},
            {"SELECT 对方银行 FROM 报销单表 WHERE 报销单ID = ?", cash ? nullptr : ""},
            {"SELECT 银行卡种类 FROM 报销单表 WHERE 报销单ID = ?", cash ? "" : nullptr},
            {"SELECT 发卡银行 FROM 报销单表 WHERE 报销单ID = ?", cash ? "工商银行" : nullptr},
            {"SELECT a.票据编号 FROM 报销附件 a JOIN 报销单明细 m ON a.报销单明细ID = m.ID WHERE m.报销单ID = ?", nullptr},
            {"SELECT a.出票单位 FROM 报销附件 a JOIN 报销单明细 m ON a.报销单明细ID = m.ID WHERE m.报销单ID = ?", ""},
        };
        for (const auto& c : columns) {
            SCOPED_TRACE(c.sql);
            EXPECT_EQ(storedText(QString::fromUtf8(c.sql), form), stored(c.value));
        }
        const QVariantList plan{a};
        EXPECT_EQ(storedText("SELECT 作废 FROM 合同付款记录 WHERE 合同付款计划ID = ?", plan), stored("0"));
        EXPECT_EQ(storedText("SELECT 备注 FROM 合同付款记录 WHERE 合同付款计划ID = ?", plan), stored(nullptr));
        EXPECT_EQ(storedText("SELECT 支付确认单编号 FROM 合同付款记录 WHERE 合同付款计划ID = ?", plan), stored(nullptr));
        ASSERT_TRUE(o.rowIds[1]);
        EXPECT_EQ(storedText("SELECT 付款条件 FROM 合同付款计划表 WHERE ID = ?", {*o.rowIds[1]}), stored(nullptr));
        exec("DELETE FROM 合同付款记录");
    }
}

}  // namespace
}  // namespace corvane::test
