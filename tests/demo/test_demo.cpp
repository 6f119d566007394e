// The demo database as a newcomer meets it: what each demo login reaches
// (the README's table of demo logins says the same) and contracts in every
// state for the contract list to show on the day the database is made.

#include <gtest/gtest.h>

#include <QSet>
#include <algorithm>
#include <functional>

#include "app/CommandLine.h"
#include "app/LoginContext.h"
#include "app/MDIForm1.h"
#include "app/MainWindowHooks.h"
#include "app/frmLogin.h"
#include "contracts/ContractFormats.h"
#include "contracts/ContractListQuery.h"
#include "contracts/ContractNumbering.h"
#include "contracts/ContractStates.h"
#include "contracts/ContractHandovers.h"
#include "contracts/ContractRecordWindow.h"
#include "plans/Frm合同到期提醒.h"
#include "plans/Registration.h"
#include "contracts/Registration.h"
#include "contracts/frmCorvane.h"
#include "db/Provision.h"
#include "db/Sql.h"
#include "receipts/BillStore.h"
#include "receipts/ReceiptStore.h"
#include "testsupport/TestDatabase.h"
#include "testsupport/TestEnvironment.h"

using namespace corvane;
using namespace corvane::test;

namespace {

// The fixed clock's day; the demo is made on it.
const QDate kToday(2026, 12, 10);

using Numbers = QSet<QString>;

const QStringList kEveryMenu{"CorvaneC", "合同信息", "统计", "合同收付款统计", "合同到期提醒", "合同汇总统计",
                             "其它模块", "退出系统", "退出", "注销", "关于", "关于软件", "联系我们"};
const QStringList kNoContractMenus{"其它模块", "退出系统", "退出", "注销", "关于", "关于软件", "联系我们"};

// The demo's contracts that the first list of a department shows (全部履行中合同).
const Numbers kManagementOfficeOpen{"WF-00000001", "CG-00000002", "CG-00000004", "WF-00000005", "WF-00000006",
                                    "WF-00000007", "CG-00000008", "CG-00000013", "WF-00000014"};
const Numbers kHeadOfficeOpen{"CG-00000011"};
const Numbers kCompanyOpen = kManagementOfficeOpen + kHeadOfficeOpen + Numbers{"CG-00000012", "WF-00000016"};

class DemoTest : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        doubles().clock->current = QDateTime(kToday, QTime(9, 30));
        SetProgramCommandLine(QString());
        启动参数.clear();
        Login() = LoginContext();
        mainWindowHooks() = MainWindowHooks();
        contract::registerContractWindows();
        DbError e;
        ASSERT_TRUE(provision::fillDemo(DbConnection(), kToday, &e)) << e.description.toStdString();
    }

    void TearDown() override
    {
        FormRegistry::instance().unloadAll();
        mainWindowHooks() = MainWindowHooks();
        Login() = LoginContext();
        DbTest::TearDown();
    }

    static Rows contracts()
    {
        const auto rows = selectRowsQuiet(QStringLiteral(
            "SELECT 合同信息.*, 合同类型.字 AS 类型字, 合同类型.合同类型 AS 类型名称 FROM 合同信息"
            " INNER JOIN 合同类型 ON 合同信息.合同类型 = 合同类型.合同类型编号 ORDER BY 合同信息.id"));
        EXPECT_TRUE(rows) << rows.error().description.toStdString();
        return rows ? *rows : Rows();
    }

    static Numbers listed(const frmCorvane& f)
    {
        Numbers out;
        for (int r = 1; r < f.MSFlexGrid1->Rows(); ++r) out << f.MSFlexGrid1->TextMatrix(r, frmCorvane::Col::合同编号);
        return out;
    }
};

// A set as sorted text, so a failure reads as names rather than bytes.
std::string names(const QSet<QString>& set)
{
    QStringList list(set.begin(), set.end());
    list.sort();
    return list.join(QStringLiteral(", ")).toStdString();
}
QSet<QString> asSet(const QStringList& list) { return QSet<QString>(list.begin(), list.end()); }
::testing::AssertionResult sameNames(const QSet<QString>& got, const QSet<QString>& want)
{
    if (got == want) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got:  " << names(got) << "\nwant: " << names(want);
}

QDate dateOf(const Row& r, const char* column) { return toDate(r.value(QString::fromUtf8(column))); }
bool isSet(const Row& r, const char* column) { return !r.isNull(QString::fromUtf8(column)); }

}  // namespace

TEST_F(DemoTest, EveryStateAndFollowUpHasAContract)
{
    const Rows rows = contracts();
    auto state = [](const QString& s) { return [s](const Row& r) { return r.text("合同状态") == s; }; };
    struct Case {
        const char* what;
        std::function<bool(const Row&)> matches;
    } cases[] = {
        {"未提交", state(contract::未提交)},
        {"签约中", state(contract::签约中)},
        {"签约完成", state(contract::签约完成)},
        {"履行中", [](const Row& r) { return r.text("合同状态") == contract::履行中 && dateOf(r, "合同终止日期") > kToday; }},
        {"履行中, past its end",
         [](const Row& r) { return r.text("合同状态") == contract::履行中 && dateOf(r, "合同终止日期") < kToday; }},
        {"已中止", state(contract::已中止)},
        {"已作废", state(contract::已作废)},
        {"a renewal", [](const Row& r) { return !r.text("对应续约合同编号").isEmpty(); }},
        {"a supplement", [](const Row& r) { return r.value("补充").toInt() == 1 && !r.text("主合同编号").isEmpty(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(std::any_of(rows.begin(), rows.end(), c.matches));
    }
}

TEST_F(DemoTest, ContractsAreNumberedAndRoutedAsTheProgramWouldHaveDoneIt)
{
    const Rows rows = contracts();
    ASSERT_FALSE(rows.empty());
    Numbers numbers;
    for (const Row& r : rows) numbers << r.text("合同编号");
    const Numbers departments{"001", "002", "003", "005"};
    for (const Row& r : rows) {
        const QString number = r.text("合同编号");
        SCOPED_TRACE(number.toStdString());
        EXPECT_EQ(number, contract::contractNumber(r.text("类型字"), r.value("流水号").toLongLong(),
                                                  contract::PrefixForm::DashAlways));
        EXPECT_TRUE(departments.contains(r.text("对应部门")));
        EXPECT_FALSE(r.text("合同名称").isEmpty());
        EXPECT_FALSE(r.text("对方单位").isEmpty());
        EXPECT_GT(centsOf(r.value("合同金额")).value_or(0), 0);
        EXPECT_LT(dateOf(r, "合同起始日期"), dateOf(r, "合同终止日期"));

        // Each step of the route only after the one before, and as far as the state says.
        const QString s = r.text("合同状态");
        const bool submitted = s != contract::未提交 && s != contract::已作废;
        const bool approved = submitted && !(s == contract::签约中 && !isSet(r, "流转结束日期"));
        const bool signedOn = s == contract::签约完成 || s == contract::履行中 || s == contract::已中止;
        const bool effective = s == contract::履行中 || s == contract::已中止;
        EXPECT_EQ(isSet(r, "提交日期"), submitted);
        EXPECT_EQ(isSet(r, "流转结束日期"), approved);
        EXPECT_EQ(r.value("流转通过").toInt() == 1, approved);
        EXPECT_EQ(isSet(r, "合同签订日期"), signedOn);
        EXPECT_EQ(isSet(r, "合同生效日期"), effective);
        EXPECT_EQ(isSet(r, "合同中止日期"), s == contract::已中止);
        EXPECT_EQ(isSet(r, "作废日期"), s == contract::已作废);
        if (approved) {
            EXPECT_LE(toDateTime(r.value("提交日期")), toDateTime(r.value("流转结束日期")));
        }
        if (signedOn) {
            EXPECT_LE(toDateTime(r.value("流转结束日期")).date(), dateOf(r, "合同签订日期"));
        }
        if (effective) {
            EXPECT_LE(dateOf(r, "合同签订日期"), dateOf(r, "合同生效日期"));
            EXPECT_LE(dateOf(r, "合同生效日期"), kToday);
        }

        const QString renewal = r.text("对应续约合同编号");
        if (!renewal.isEmpty()) {
            EXPECT_TRUE(numbers.contains(renewal) && renewal != number);
        }
        if (r.value("补充").toInt() == 1) {
            EXPECT_TRUE(numbers.contains(r.text("主合同编号")));
        }
    }
}

TEST_F(DemoTest, EveryFilterOfTheContractListShowsSomethingOnTheFirstDay)
{
    using contract::ListFilter;
    struct Case {
        const char* what;
        ListFilter filter;
        contract::DateBasis basis;
        Numbers expected;
    } cases[] = {
        {"全部履行中合同", ListFilter::全部履行中合同, contract::DateBasis::按生效日期, kManagementOfficeOpen},
        {"应付到期合同", ListFilter::应付到期合同, contract::DateBasis::按生效日期, {"CG-00000004"}},
        {"应收到期合同", ListFilter::应收到期合同, contract::DateBasis::按生效日期, {"WF-00000005", "WF-00000006"}},
        {"到期合同", ListFilter::到期合同, contract::DateBasis::按生效日期,
         {"WF-00000005", "WF-00000006", "CG-00000013", "WF-00000014"}},
        {"已终止履行合同, suspended today", ListFilter::已终止履行合同, contract::DateBasis::按中止日期, {"WF-00000009"}},
        {"已到期未终止履行合同", ListFilter::已到期未终止履行合同, contract::DateBasis::按生效日期,
         {"WF-00000005", "WF-00000014"}},
        {"签约中", ListFilter::签约中, contract::DateBasis::按生效日期,
         {"WF-00000001", "CG-00000002", "WF-00000003", "WF-00000007"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        contract::ListSelection s;
        s.department = QStringLiteral("003");
        s.filter = c.filter;
        s.days = 60;  // the list window's default
        s.basis = c.basis;
        s.from = s.to = s.today = kToday;
        const contract::BoundStatement b = contract::contractListStatement(s);
        const auto rows = selectRowsQuiet(b.sql, b.values);
        ASSERT_TRUE(rows) << rows.error().description.toStdString();
        Numbers got;
        for (const Row& r : *rows) got << r.text(contract::lc合同编号);
        EXPECT_TRUE(sameNames(got, c.expected));
    }
}

TEST_F(DemoTest, EachDemoLoginReachesWhatTheReadmeSays)
{
    struct Case {
        const char* user;
        int postRow;  // row of the post list, -1 when there is one post only
        const char* post;
        QStringList menus;   // enabled
        Numbers firstList;   // what 合同信息 lists first
        bool companyScope;   // 按全公司显示 available
    } cases[] = {
        {"1001", -1, "总经理", kEveryMenu, kHeadOfficeOpen, true},
        {"1002", 1, "合同管理员", kEveryMenu, kManagementOfficeOpen, false},
        {"1002", 0, "财务经理", kNoContractMenus + QStringList{"统计", "合同收付款统计", "合同到期提醒", "合同汇总统计"},
         {}, false},
        {"1003", -1, "会计", kNoContractMenus, {}, false},
        {"1004", -1, "管理处主任", kNoContractMenus + QStringList{"CorvaneC", "合同信息"}, kManagementOfficeOpen, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.user) + " " + c.post);
        FormRegistry::instance().unloadAll();
        auto* login = Forms::get<frmLogin>();
        login->Show();
        login->TxtUser->setText(QString::fromUtf8(c.user));
        login->txtPassword->setText(QStringLiteral("123"));
        login->cmdOK_Click();
        if (c.postRow >= 0) {
            ASSERT_TRUE(login->List1->isVisible());
            login->List1->setCurrentRow(c.postRow);
            login->List1_DblClick();
        }
        ASSERT_TRUE(doubles().boxes->shown.isEmpty());
        auto* main = Forms::find<MDIForm1>();
        ASSERT_TRUE(main);
        EXPECT_EQ(Login().当前岗位名称, QString::fromUtf8(c.post));

        QStringList enabled;
        for (const QString& name : kEveryMenu)
            if (main->菜单(name)->isEnabled()) enabled << name;
        EXPECT_TRUE(sameNames(asSet(enabled), asSet(c.menus)));

        if (!main->合同信息->isEnabled()) continue;
        main->合同信息->trigger();
        auto* list = Forms::find<frmCorvane>();
        ASSERT_TRUE(list);
        EXPECT_TRUE(sameNames(listed(*list), c.firstList));
        EXPECT_EQ(list->Check1->isEnabled(), c.companyScope);
        if (!c.companyScope) continue;
        list->Check1->setChecked(true);
        list->Command1_Click();
        EXPECT_TRUE(sameNames(listed(*list), kCompanyOpen));
    }
}

TEST_F(DemoTest, TheLoginOfStaffWhoHaveLeftIsRefused)
{
    auto* login = Forms::get<frmLogin>();
    login->Show();
    login->TxtUser->setText(QStringLiteral("1005"));
    login->txtPassword->setText(QStringLiteral("123"));
    login->cmdOK_Click();
    ASSERT_EQ(doubles().boxes->shown.size(), 1);
    EXPECT_EQ(doubles().boxes->shown[0].text, QStringLiteral("对不起，您没有岗位，请选择系统管理员"));
    EXPECT_FALSE(Forms::isLoaded<MDIForm1>());
}

// At the first login the expiry reminder opens by itself and lists both
// kinds of contract (the lease never), each login in its own scope.
TEST_F(DemoTest, TheExpiryReminderShowsSomethingAtTheFirstLogin)
{
    plans::registerPlanWindows();
    const auto column2 = [](const FlexGrid& g) {
        Numbers out;
        for (int r = 1; r < g.Rows(); ++r) out << g.TextMatrix(r, 2);
        return out;
    };
    struct Case {
        const char* user;
        int postRow;
        Numbers receipts, payments;
    } cases[] = {
        // A functional department: every department, 60 days ahead.
        {"1001", -1, {"WF-00000005", "WF-00000006", "WF-00000014", "WF-00000016"}, {"CG-00000013"}},
        // 第一管理处, whose setting looks 30 days ahead.
        {"1002", 1, {"WF-00000005", "WF-00000006", "WF-00000014"}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.user);
        FormRegistry::instance().unloadAll();
        auto* login = Forms::get<frmLogin>();
        login->Show();
        login->TxtUser->setText(QString::fromUtf8(c.user));
        login->txtPassword->setText(QStringLiteral("123"));
        login->cmdOK_Click();
        if (c.postRow >= 0) {
            login->List1->setCurrentRow(c.postRow);
            login->List1_DblClick();
        }
        auto* reminder = Forms::find<Frm合同到期提醒>();
        ASSERT_TRUE(reminder);
        EXPECT_TRUE(sameNames(column2(*reminder->MSFlexGrid2), c.receipts));
        reminder->SSTab1->setCurrentIndex(1);
        EXPECT_TRUE(sameNames(column2(*reminder->MSFlexGrid3), c.payments));
    }
    FormRegistry::instance().unloadAll();
    contract::contractHandovers() = contract::ContractHandovers();
    contract::recordWindowSeams() = contract::RecordWindowSeams();
}

// Every instalment's balance is its amount less what was received or paid
// against it (a void payment settles nothing): the statistics sum the records,
// the receipt and payment windows read the balance.
TEST_F(DemoTest, EveryInstalmentsBalanceIsWhatItsRecordsLeave)
{
    const QString unsettled = QStringLiteral(
        "SELECT p.合同编号, p.%1 FROM %2 p LEFT JOIN %3 r ON r.%4 = p.ID%5"
        " GROUP BY p.ID, p.合同编号, p.%1, p.%6, p.余额"
        " HAVING ABS(p.%6 - COALESCE(SUM(r.%6), 0) - p.余额) > 0.001");
    const QStringList queries{
        unsettled.arg("收款日期", "合同收款计划表", "合同收款记录", "合同收款计划ID", "", "收款金额"),
        unsettled.arg("付款日期", "合同付款计划表", "合同付款记录", "合同付款计划ID", " AND (r.作废 IS NULL OR r.作废 = 0)",
                      "付款金额")};
    for (const QString& sql : queries) {
        const auto rows = selectRowsQuiet(sql);
        ASSERT_TRUE(rows) << rows.error().description.toStdString();
        QStringList wrong;
        for (const Row& r : *rows) wrong << r.text(0) + QLatin1Char(' ') + r.text(1);
        EXPECT_TRUE(wrong.isEmpty()) << wrong.join(QStringLiteral("; ")).toStdString();
    }
}

namespace {

class DemoReceipts : public DemoTest {};

// What the README promises the receipt window of 第一管理处.
TEST_F(DemoReceipts, TheReceiptWindowFindsOfficeFeeItemsMethodsTypesAndBooks)
{
    const auto offices = receipts::officesOf(QStringLiteral("003"));
    ASSERT_TRUE(offices && offices->size() == 1);
    EXPECT_EQ(offices->front().code + QLatin1Char(' ') + offices->front().name, "GL01 翠湖管理处");
    const auto items = receipts::feeItemsOf(QStringLiteral("GL01"));
    ASSERT_TRUE(items);
    QStringList rates;
    for (const receipts::RateEntry& e : *items) rates << e.收费类别 + QLatin1Char(':') + e.DH + QLatin1Char(':') + e.税率.fixed(0);
    EXPECT_EQ(rates, (QStringList{"物业服务:WY01:6", "物业服务:WY02:6", "经营收入:JY01:0", "经营收入:JY02:0"}));
    QStringList methods;
    const auto methodRows = receipts::paymentMethods();
    for (const receipts::PaymentMethod& m : *methodRows) methods << m.name;
    EXPECT_TRUE(methods.contains("微信"));
    QStringList types;
    const auto typeRows = receipts::billTypeEntries(QStringLiteral("003"));
    for (const receipts::BillTypeEntry& t : *typeRows)
        types << t.text + QLatin1Char(':') + QString::number(int(t.kind));
    EXPECT_EQ(types, (QStringList{"01 增值税普通发票:1", "02 收款收据:4", "03 电子发票:1", "ZG 管理处收据:3", "001 物业收费单:2"}));
    QStringList books;
    const auto bookRows = receipts::lentBooks(QStringLiteral("003"), QStringLiteral("01"));
    for (const receipts::LentBook& b : *bookRows) books << b.book;
    EXPECT_EQ(books, (QStringList{"FP2026001", "FP2026002"}));
    EXPECT_EQ(receipts::freeBills(QStringLiteral("FP2026001"))->size(), 20u);
    const auto plan = receipts::receiptPlanOf(QStringLiteral("WF-00000003"));
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->size(), 4u);
}

}  // namespace
