// The budget balance from its five sources, and what each leaves out.

#include "tests/payments/PaymentFixture.h"

namespace corvane::test {
namespace {

using namespace payments;

Decimal d(const char* t) { return *plainDecimal(QString::fromUtf8(t)); }

class BudgetTest : public PaymentTest {
protected:
    QString balance(int month = 12)
    {
        const auto b = 计算预算余额("P-D03", "5501", 2026, month, "D03");
        EXPECT_TRUE(b.has_value()) << b.error().description.toStdString();
        return b ? b->fixed(2) : QString();
    }
    void addVoucher(const QDate& date, const char* credit, const char* debit, const std::map<QString, QVariant>& more = {})
    {
        QStringList names{"收款部门编号", "凭证日期", "交审日期"};
        QVariantList values{"D03", date, date};
        for (const auto& [k, v] : more) {
            const qsizetype at = names.indexOf(k);
            if (at >= 0) values[at] = v;
            else {
                names << k;
                values << v;
            }
        }
        exec("INSERT INTO 收入凭证 (" + names.join(", ") + ") VALUES (" + placeholders(int(names.size())) + ")", values);
        exec("INSERT INTO 收入凭证明细 (凭证ID, 科目代号, 科目名称, 贷方金额, 借方金额) VALUES (?, '5501', '维修费', ?, ?)",
             {maxId("收入凭证"), credit, debit});
    }
};

TEST_F(BudgetTest, PlanToTheMonthWithApprovedAdjustments)
{
    EXPECT_EQ(balance(12), QStringLiteral("12000.00"));
    EXPECT_EQ(balance(3), QStringLiteral("3000.00"));
    exec("INSERT INTO 预算调整审批单 (预算计划编号, 是否通过) VALUES ('P-D03', 1)");
    const qint64 ok = maxId("预算调整审批单");
    exec("INSERT INTO 预算调整审批单 (预算计划编号, 是否通过) VALUES ('P-D03', 0)");
    const qint64 refused = maxId("预算调整审批单");
    exec("INSERT INTO 预算调整详细 (预算调整ID, 科目代码, 月份, 拟调整预算额, 原预算金额) VALUES "
         "(?, '5501', '二月', 1500, 1000), (?, '5501', '五月', 1200, 1000), (?, '5501', '二月', 9000, 1000)",
         {ok, ok, refused});
    EXPECT_EQ(balance(3), QStringLiteral("3500.00"));
    EXPECT_EQ(balance(5), QStringLiteral("5700.00"));
}

TEST_F(BudgetTest, AnEmptyMonthCountsAsNothing)
{
    exec("UPDATE 预算详细 SET 二月 = NULL");
    EXPECT_EQ(balance(3), QStringLiteral("2000.00"));
}

TEST_F(BudgetTest, TheLinesSourceDecides)
{
    addForm("F1", QDate(2026, 2, 1), "100.00");
    addVoucher(QDate(2026, 2, 1), "40.00", "10.00");
    EXPECT_EQ(balance(3), QStringLiteral("2930.00"));  // 3000 + 40 - 100 - 10
    exec("UPDATE 预算详细 SET 数据来源 = '收入预算'");
    EXPECT_EQ(balance(3), QStringLiteral("3060.00"));  // 3000 + 100 - 40
    exec("UPDATE 预算详细 SET 数据来源 = '其他来源'");
    EXPECT_EQ(balance(3), QStringLiteral("0.00"));
}

TEST_F(BudgetTest, FormsCountByTheirSubmissionWithinTheYear)
{
    addForm("counts-pending", QDate(2026, 1, 1), "1.00");
    addForm("counts-approved", QDate(2026, 3, 31), "2.00", {{"审批通过", 1}, {"审批日期", QDate(2026, 4, 2)}});
    addForm("counts-other-type", QDate(2026, 2, 1), "4.00", {{"报销类型", "冲成本"}});
    addForm("later-month", QDate(2026, 4, 1), "1000.00");
    addForm("last-year", QDate(2025, 12, 31), "1000.00");
    addForm("not-submitted", QVariant(), "1000.00");
    addForm("rejected", QDate(2026, 2, 1), "1000.00", {{"审批日期", QDate(2026, 2, 3)}});
    addForm("void", QDate(2026, 2, 1), "1000.00", {{"作废日期", QDate(2026, 2, 3)}});
    addForm("returned", QDate(2026, 2, 1), "1000.00", {{"出纳退回", 1}});
    addForm("other", QDate(2026, 2, 1), "1000.00", {{"报销类型", "其他"}});
    addForm("non-budget", QDate(2026, 2, 1), "1000.00", {{"报销类型", "非预算"}});
    addForm("split", QDate(2026, 2, 1), "1000.00", {{"报销单类型", "分摊"}});
    addForm("other-department", QDate(2026, 2, 1), "1000.00", {{"部门代号", "D01"}});
    EXPECT_EQ(balance(3), QStringLiteral("2993.00"));
}

TEST_F(BudgetTest, IncomeVouchersCountWhenHandedInValidAndNotRejected)
{
    addVoucher(QDate(2026, 1, 10), "1.00", "0");
    addVoucher(QDate(2026, 1, 10), "2.00", "0", {{"审批日期", QDate(2026, 1, 11)}, {"审批同意", 1}});
    addVoucher(QDate(2026, 1, 10), "1000", "0", {{"交审日期", QVariant()}});
    addVoucher(QDate(2026, 1, 10), "1000", "0", {{"作废日期", QDate(2026, 1, 12)}});
    addVoucher(QDate(2026, 1, 10), "1000", "0", {{"审批日期", QDate(2026, 1, 11)}, {"审批同意", 0}});
    addVoucher(QDate(2026, 4, 1), "1000", "0");
    addVoucher(QDate(2025, 3, 1), "1000", "0");
    EXPECT_EQ(balance(3), QStringLiteral("3003.00"));
}

TEST_F(BudgetTest, CheckComparesWithTheBalance)
{
    addForm("F1", QDate(2026, 12, 1), "11000.00");  // 1000.00 left
    const auto fits = 检查预算余额("5501", d("1000.00"), "2026-12", "D03");
    ASSERT_TRUE(fits.has_value());
    EXPECT_TRUE(fits->fits);
    EXPECT_EQ(fits->balanceText, QStringLiteral("1000.00"));
    EXPECT_FALSE(检查预算余额("5501", d("1000.01"), "2026-12", "D03")->fits);
    // Without a plan the balance is "0".
    const auto none = 检查预算余额("5501", d("0.01"), "2026-12", "D01");
    EXPECT_FALSE(none->fits);
    EXPECT_EQ(none->balanceText, QStringLiteral("0"));
    // A negative balance shows its sign.
    addForm("F2", QDate(2026, 12, 2), "1500.00");
    EXPECT_EQ(检查预算余额("5501", d("0"), "2026-12", "D03")->balanceText, QStringLiteral("-500.00"));
}

TEST_F(BudgetTest, TheOperationsNoControlUses)
{
    addForm("F1", QDate(2025, 12, 31), "100.00");  // every year counts here
    addForm("F2", QDate(2026, 2, 1), "50.00");
    EXPECT_EQ(*已用预算金额("5501", "D03"), d("150"));
    // An expense subject's credit counts negative in the budget amount.
    addVoucher(QDate(2026, 1, 10), "30.00", "0");
    EXPECT_EQ(*预算金额("P-D03", 2, "5501", "D03", 2026), d("1970"));
    const auto row = 填写预算情况数据("5501", d("20"), "D03", kPayToday);
    ASSERT_TRUE(row.has_value());
    EXPECT_EQ(row->budget, d("11970"));
    EXPECT_EQ(row->spent, d("150"));
    EXPECT_EQ(row->withThis, d("170"));
    EXPECT_EQ(row->left, d("11800"));

    exec("INSERT INTO 报销附件 (报销单明细ID, 金额) VALUES (77, 10.50), (77, 4.50)");
    EXPECT_TRUE(*附件金额合计(77, d("15")));
    EXPECT_FALSE(*附件金额合计(77, d("15.01")));
    EXPECT_FALSE(*附件金额合计(78, d("0")));  // no attachment rows
}

}  // namespace
}  // namespace corvane::test
