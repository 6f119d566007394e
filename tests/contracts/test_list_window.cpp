#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiArea>

#include "ContractFixture.h"
#include "app/Changes.h"
#include "app/MainWindowHooks.h"
#include "app/frmToExcel.h"
#include "contracts/Registration.h"
#include "db/Dialect.h"
#include "platform/TextMeasure.h"

using namespace corvane;
using namespace corvane::test;

namespace {

struct FixedMeasure {
    FixedMeasure() { setTextWidthMeasure([](const QFont&, const QString& s) { return 100.0 * double(s.size()); }); }
    ~FixedMeasure() { setTextWidthMeasure({}); }
};

}  // namespace

TEST_F(ContractTest, TheGridShowsTheColumnsByPosition)
{
    FixedMeasure measure;
    addContract("GC-00000001", "D01", "T1", "审批通过",
                {{"合同名称", "  办公楼维修  "},
                 {"合同金额", "1234.5"},
                 {"对方单位", "甲公司"},
                 {"对方开户行", "工商银行"},
                 {"对方帐号", "6222"},
                 {"合同签订日期", QDate(2026, 1, 2)},
                 {"合同生效日期", QDate(2026, 1, 3)},
                 {"合同期限", 12},
                 {"合同终止日期", QDate(2027, 1, 2)},
                 {"签约人", "张三"},
                 {"对方签约人", "李四"},
                 {"对应续约合同编号", "GC-00000009"},
                 {"提交日期", QDateTime(QDate(2026, 1, 1), QTime(8, 5, 6))},
                 {"流转结束日期", QDateTime(QDate(2026, 1, 2), QTime(0, 0))},
                 {"流转通过", 1}});
    addContract("GC-00000002", "D01", "T2", "未提交");
    auto* f = openList();
    f->Option2->setChecked(true);
    f->Command1_Click();

    const FlexGrid& g = *f->MSFlexGrid1;
    ASSERT_EQ(g.Cols(), 25);
    ASSERT_EQ(g.Rows(), 3);
    const QStringList expected = {"1", "GC-00000001", "办公楼维修", "财务部", "工程合同", "付款合同", "1234.50", "甲公司",
                                  "工商银行", "6222", "2026-01-02", "2026-01-03", "12", "2027-01-02", "", "审批通过", "张三",
                                  "李四", "GC-00000009", "2026-01-01 08:05:06", "2026-01-02", "True", "D01", "5001"};
    for (int c = 0; c < 24; ++c) EXPECT_EQ(g.TextMatrix(1, c), expected[c]) << "column " << c;
    EXPECT_EQ(g.TextMatrix(1, 24).toInt(), selectFirst("SELECT id FROM 合同信息 WHERE 合同编号 = 'GC-00000001'")->value(0).toInt());
    // Empty amount and approval flag stay empty.
    EXPECT_EQ(g.TextMatrix(2, 6), QString());
    EXPECT_EQ(g.TextMatrix(2, 21), QString());
    EXPECT_EQ(g.TextMatrix(0, 6), QStringLiteral("合同金额"));
    EXPECT_EQ(g.TextMatrix(0, 18), QStringLiteral("对应续约合同编号"));
    for (int c = 19; c < 25; ++c) EXPECT_EQ(g.ColWidth(c), 0) << "hidden column " << c;
    for (int c = 0; c < 25; ++c) EXPECT_EQ(g.FixedAlignment(c), flexAlignCenterCenter);
    EXPECT_EQ(g.ColAlignment(6), flexAlignRightCenter);
    // Fitted columns take the widest text plus 90 twips and never narrow again.
    EXPECT_EQ(g.ColWidth(1), 11 * 100 + 90);
    exec("DELETE FROM 合同信息");
    addContract("A", "D01", "T1", "未提交", {{"对方单位", "乙"}});
    f->Command1_Click();
    EXPECT_EQ(g.ColWidth(1), 11 * 100 + 90);
    EXPECT_GT(g.ColWidth(8), 0) << "unfitted column keeps its heading width";
}

// The list hears of changed contracts through the notice board and reads only
// their rows again: a contract that moved on stays where it is listed, one
// edited in the record window is selected again and may leave the list.
TEST_F(ContractTest, NoticesReadOnlyTheAnnouncedRowsAgain)
{
    using Col = frmCorvane::Col;
    addContract("HT-A", "D01", "T1", "履行中");
    addContract("HT-B", "D01", "T1", "履行中");
    addContract("HT-C", "D03", "T1", "履行中");  // another department's: not listed
    auto* f = openList();
    f->Command1_Click();
    const FlexGrid& g = *f->MSFlexGrid1;
    ASSERT_EQ(g.Rows(), 3);
    const auto id = [](const char* number) {
        return selectFirst("SELECT id FROM 合同信息 WHERE 合同编号 = ?", {QString::fromUtf8(number)})->value(0).toLongLong();
    };
    exec("UPDATE 合同信息 SET 合同状态 = '中止', 合同中止日期 = ?", {QDate(2026, 12, 5)});

    emit changes().contractProgressed(id("HT-A"));
    const int a = rowOf(*f, "HT-A"), b = rowOf(*f, "HT-B");
    // No longer of the kind listed, yet it stays where it was listed.
    EXPECT_EQ(g.TextMatrix(a, Col::合同状态), "中止");
    EXPECT_EQ(g.TextMatrix(a, Col::合同中止日期), "2026-12-05");
    EXPECT_EQ(g.TextMatrix(b, Col::合同状态), "履行中");
    EXPECT_EQ(g.TextMatrix(b, Col::合同中止日期), "");

    // A contract the list does not show reads nothing and lists nothing anew.
    emit changes().contractProgressed(id("HT-C"));
    EXPECT_EQ(g.Rows(), 3);
    EXPECT_EQ(g.TextMatrix(b, Col::合同状态), "履行中");

    emit changes().contractsEdited({id("HT-A")});
    EXPECT_EQ(rowOf(*f, "HT-A"), -1);
    EXPECT_EQ(g.TextMatrix(rowOf(*f, "HT-B"), Col::合同状态), "履行中");
    EXPECT_EQ(f->Label1[2]->text(), "共有 1 份合同");
}

TEST_F(ContractTest, AnEmptyListShowsTheHeaderRowAndZero)
{
    auto* f = openList();
    EXPECT_EQ(f->MSFlexGrid1->Rows(), 1);
    EXPECT_EQ(f->MSFlexGrid1->Row(), 0);
    EXPECT_EQ(f->Label1[2]->text(), QStringLiteral("共有 0 份合同"));
    EXPECT_EQ(f->StatusBar1_Panels[1]->text(), QStringLiteral("部门D01 "));
    EXPECT_EQ(f->StatusBar1_Panels[3]->text(), QStringLiteral("岗位P01 "));
}

TEST_F(ContractTest, TheTreeFollowsTheCurrentSuperiorAndSurvivesBadLinks)
{
    // Links that our own schema would refuse but the shared database may hold:
    // two superiors on one date, and a loop.
    exec("DROP TABLE 上级部门new");
    const Dialect d = DbDialect();
    exec(QStringLiteral("CREATE TABLE 上级部门new (ID %1, 职能部门编号 %2, 上级部门编号 %2, 起始日期 %3)")
             .arg(dialect::ddlType(d, ColumnType::Identity), dialect::ddlType(d, ColumnType::Text, 20),
                  dialect::ddlType(d, ColumnType::Date)));
    auto link = [&](const char* dept, const char* superior, QDate from) {
        exec("INSERT INTO 上级部门new (职能部门编号, 上级部门编号, 起始日期) VALUES (?, ?, ?)", {dept, superior, from});
    };
    link("D02", "D03", QDate(2000, 1, 1));
    link("D02", "D01", QDate(2020, 1, 1));  // latest: under D01
    addDepartment("D04", "安保部", "C1");
    link("D04", "D03", QDate(2021, 1, 1));  // same date: the first entered wins
    link("D04", "D01", QDate(2021, 1, 1));
    addDepartment("D05", "甲", "C1");
    addDepartment("D06", "乙", "C1");
    link("D05", "D06", QDate(2021, 1, 1));
    link("D06", "D05", QDate(2021, 1, 1));
    addDepartment("D07", "撤销部", "C1");
    exec("UPDATE 职能部门new SET 终止日期 = ? WHERE 职能部门编号 = 'D07'", {QDate(2020, 1, 1)});
    addDepartment("D08", "下属", "C1");
    link("D08", "D07", QDate(2021, 1, 1));  // superior inactive: not shown

    auto* f = openList();
    QStringList shape;
    for (QTreeWidgetItem* n : f->nodes())
        shape << f->nodeKey(n) + QStringLiteral("<") + (n->parent() ? f->nodeKey(n->parent()) : QString());
    EXPECT_EQ(shape, QStringList({"$D01<", "$D02<$D01", "$D03<", "$D04<$D03"}));
    EXPECT_EQ(f->TreeView1->topLevelItem(0)->text(0), QStringLiteral("D01 财务部"));
    EXPECT_EQ(f->Text1->text(), QStringLiteral("D01 财务部"));
    EXPECT_EQ(f->显示部门("D04"), QStringLiteral("D04 安保部"));
    EXPECT_EQ(f->显示部门("D07"), QString());
}

TEST_F(ContractTest, DepartmentScopeRefusesOtherDepartments)
{
    addContract("A", "D01", "T1", "未提交");
    addContract("B", "D02", "T1", "未提交");
    auto* f = openList();
    EXPECT_EQ(f->Tag, QStringLiteral("0"));
    EXPECT_FALSE(f->Check1->isEnabled());
    ASSERT_EQ(listed(*f), QSet<QString>({"A"}));

    f->TreeView1_NodeClick(f->nodeByKey("$D03"));
    ASSERT_EQ(boxes().size(), 1);
    EXPECT_EQ(boxes()[0].text, QStringLiteral("不属于您的部门，无法显示相关合同信息"));
    EXPECT_EQ(f->MSFlexGrid1->Rows(), 1);
    EXPECT_EQ(TagOf(f->Text1), QStringLiteral("D01"));

    f->TreeView1_NodeClick(f->nodeByKey("$D02"));  // below the own department
    EXPECT_EQ(f->Text1->text(), QStringLiteral("D02 工程部"));
    f->TreeView1_DblClick();
    EXPECT_EQ(listed(*f), QSet<QString>({"B"}));
    EXPECT_EQ(boxes().size(), 1);
}

TEST_F(ContractTest, CompanyScopeMayChooseAnyDepartmentAndListAll)
{
    grantCompanyScope("D01", "P01");
    addContract("A", "D01", "T1", "未提交");
    addContract("C", "D03", "T1", "未提交");
    auto* f = openList();
    EXPECT_EQ(f->Tag, QStringLiteral("1"));
    ASSERT_TRUE(f->Check1->isEnabled());
    f->TreeView1_NodeClick(f->nodeByKey("$D03"));
    EXPECT_TRUE(boxes().isEmpty());
    EXPECT_EQ(TagOf(f->Text1), QStringLiteral("D03"));

    f->Check1->setChecked(true);
    EXPECT_EQ(f->MSFlexGrid1->Rows(), 1);
    EXPECT_FALSE(f->Command3->isEnabled());
    EXPECT_FALSE(f->Command5->isEnabled());
    f->Command1_Click();
    EXPECT_EQ(listed(*f), QSet<QString>({"A", "C"}));
    f->Check1->setChecked(false);
    EXPECT_TRUE(f->Command3->isEnabled());
}

TEST_F(ContractTest, ASuperUserWithoutDepartmentSeesNothing)
{
    loginAs(QString(), QString());
    addContract("A", "D01", "T1", "未提交");
    auto* f = openList();
    EXPECT_TRUE(f->Text1->text().isEmpty());
    EXPECT_EQ(f->MSFlexGrid1->Rows(), 1);
}

TEST_F(ContractTest, DeleteOnlyWhatIsStillUnsubmitted)
{
    struct Case {
        const char* name;
        int answer;
        std::map<QString, QVariant> stored;   // columns in the database
        std::map<int, QString> staleCells;    // grid cells overwritten after the refresh
        bool refused;
        bool remains;
    } cases[] = {
        {"never submitted", vbYes, {}, {}, false, false},
        {"answered no", vbNo, {}, {}, false, true},
        {"submitted per grid", vbYes, {}, {{19, "2026-12-01 10:00:00"}}, true, true},
        {"approval ended per grid", vbYes, {}, {{20, "2026-12-01"}}, true, true},
        {"submitted meanwhile", vbYes, {{"提交日期", QDateTime(kToday, QTime(9, 0))}}, {{19, ""}}, true, true},
        {"approved meanwhile", vbYes, {{"流转通过", 1}}, {}, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        exec("DELETE FROM 合同信息");
        exec("DELETE FROM 合同付款计划表");
        addContract("K1", "D01", "T1", "未提交");
        addPayment("K1", kToday, "10", "10");
        auto* f = openList();
        f->Command1_Click();
        for (const auto& [k, v] : c.stored)
            exec(QStringLiteral("UPDATE 合同信息 SET %1 = ? WHERE 合同编号 = 'K1'").arg(k), {v});
        const int r = rowOf(*f, "K1");
        ASSERT_GT(r, 0);
        f->MSFlexGrid1->setRow(r);
        for (const auto& [col, text] : c.staleCells) f->MSFlexGrid1->setTextMatrix(r, col, text);
        boxes().clear();
        doubles().boxes->answers = {c.answer};

        f->Command5_Click();

        ASSERT_GE(boxes().size(), 1);
        EXPECT_EQ(boxes()[0].text, QStringLiteral("您确定要删除合同 K1 吗？"));
        EXPECT_EQ(boxes()[0].title, QStringLiteral("删除合同"));
        EXPECT_EQ(boxes()[0].buttons(), vbYesNo);
        const bool refusedShown = boxes().size() == 2 && boxes()[1].text == QStringLiteral("已经提交、流转结束或流转通过的合同不能删除！");
        EXPECT_EQ(refusedShown, c.refused);
        const int stored = selectFirst("SELECT COUNT(*) FROM 合同信息 WHERE 合同编号 = 'K1'")->value(0).toInt();
        EXPECT_EQ(stored, c.remains ? 1 : 0);
        EXPECT_EQ(listed(*f).contains("K1"), c.remains);
        // The list's delete leaves the contract's plans alone.
        EXPECT_EQ(selectFirst("SELECT COUNT(*) FROM 合同付款计划表")->value(0).toInt(), 1);
    }
}

TEST_F(ContractTest, TheGridClickNamesTheCategoryAndTellsTheSigningProgress)
{
    struct Case {
        const char* name;
        std::map<QString, QVariant> columns;
        QString message;
    } cases[] = {
        {"approval running", {}, "S 名会签之中，请等待会签结果"},
        {"refused", {{"流转结束日期", QDateTime(kToday, QTime(0, 0))}, {"流转通过", 0}}, "S 名会签没有通过"},
        {"ended without outcome", {{"流转结束日期", QDateTime(kToday, QTime(0, 0))}}, "S 名会签通过，你可以修改合同状态。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        exec("DELETE FROM 合同信息");
        auto columns = c.columns;
        columns[QStringLiteral("合同名称")] = QStringLiteral("名");
        addContract("S", "D01", "T2", "签约中", columns);
        auto* f = openList();
        f->Command1_Click();
        boxes().clear();
        f->MSFlexGrid1_Click();
        ASSERT_EQ(boxes().size(), 1);
        EXPECT_EQ(boxes()[0].text, c.message);
        EXPECT_EQ(boxes()[0].title, AppTitle());
        EXPECT_EQ(f->Command7->text(), QStringLiteral("合同收款处理"));
        EXPECT_EQ(f->MSFlexGrid1->ColSel(), 24);
    }
    exec("DELETE FROM 合同信息");
    addContract("P", "D01", "T1", "履行中");
    auto* f = openList();
    f->Command1_Click();
    boxes().clear();
    f->MSFlexGrid1_Click();
    EXPECT_TRUE(boxes().isEmpty());
    EXPECT_EQ(f->Command7->text(), QStringLiteral("合同付款处理"));
}

TEST_F(ContractTest, ButtonsHandTheCurrentRowOver)
{
    addContract("GC-1", "D01", "T1", "履行中",
                {{"合同名称", "维修"}, {"合同金额", "10"}, {"对方单位", "甲"}, {"对方开户行", "行"}, {"对方帐号", "号"}});
    addContract("WY-1", "D01", "T2", "履行中", {{"合同名称", "服务"}});
    auto* f = openList();
    // Nothing registered yet: each says so.
    f->Command3_Click();
    f->Command7_Click();
    f->Command8_Click();
    f->Command9_Click();
    ASSERT_EQ(boxes().size(), 4);
    EXPECT_EQ(boxes()[0].text, contract::windowNotAvailableText("合同信息"));
    // Before any click the button already names the current row's window.
    const bool paymentFirst = f->MSFlexGrid1->TextMatrix(f->MSFlexGrid1->Row(), 5) == QStringLiteral("付款合同");
    EXPECT_EQ(boxes()[1].text, contract::windowNotAvailableText(paymentFirst ? "合同付款处理" : "合同收款处理"));

    contract::RecordWindowHandover record;
    contract::PaymentHandover payment;
    contract::ReceiptHandover receipt;
    contract::PerformancePlanHandover plan;
    contract::ExpiryHandover expiry;
    auto& h = contract::contractHandovers();
    h.Frm合同信息 = [&](const auto& v) { record = v; };
    h.frm合同付款处理 = [&](const auto& v) { payment = v; };
    h.frm合同收款 = [&](const auto& v) { receipt = v; };
    h.frm合同履行计划 = [&](const auto& v) { plan = v; };
    h.frm合同到期处理 = [&](const auto& v) { expiry = v; };

    const int r = rowOf(*f, "GC-1");
    f->MSFlexGrid1->setRow(r);
    f->MSFlexGrid1_Click();
    f->Command2_Click();
    EXPECT_EQ(record.mode, QStringLiteral("修改"));
    EXPECT_EQ(record.departmentCode, QStringLiteral("D01"));
    EXPECT_EQ(record.departmentText, QStringLiteral("D01 财务部"));
    EXPECT_EQ(record.number, QStringLiteral("GC-1"));
    EXPECT_EQ(record.id, f->MSFlexGrid1->TextMatrix(r, frmCorvane::Col::id));
    f->Command7_Click();
    EXPECT_EQ(payment.number, QStringLiteral("GC-1"));
    EXPECT_EQ(payment.amount, QStringLiteral("10.00"));
    EXPECT_EQ(payment.ownerDepartment, QStringLiteral("D01 财务部"));
    EXPECT_EQ(payment.budgetSubject, QStringLiteral("5001"));
    EXPECT_EQ(payment.userDepartmentText, QStringLiteral("D01 部门D01"));
    EXPECT_EQ(payment.userDepartmentCode, QStringLiteral("D01"));
    EXPECT_EQ(payment.counterparty + payment.bank + payment.account, QStringLiteral("甲行号"));
    f->Command8_Click();
    EXPECT_EQ(plan.caption, QStringLiteral("合同履行情况及检查记录"));
    EXPECT_EQ(plan.mode, QStringLiteral("浏览"));
    EXPECT_EQ(plan.name, QStringLiteral("维修"));
    f->Command9_Click();
    EXPECT_EQ(expiry.number, QStringLiteral("GC-1"));

    f->MSFlexGrid1->setRow(rowOf(*f, "WY-1"));
    f->MSFlexGrid1_Click();
    f->Command7_Click();
    EXPECT_EQ(receipt.number, QStringLiteral("WY-1"));
    EXPECT_EQ(receipt.name, QStringLiteral("服务"));
    f->Command3_Click();
    EXPECT_EQ(record.mode, QStringLiteral("新增"));
    EXPECT_TRUE(record.number.isEmpty());

    f->Command10_Click();
    auto* excel = Forms::find<frmToExcel>();
    ASSERT_TRUE(excel);
    EXPECT_EQ(excel->Grid(), f->MSFlexGrid1);
    EXPECT_EQ(excel->Text1[1]->text(), QStringLiteral("D01 财务部合同信息"));
    EXPECT_EQ(excel->Text1[2]->text(), QStringLiteral("合同列表"));
    EXPECT_FALSE(excel->isShownModal());
}

TEST_F(ContractTest, ARowReachedByKeyboardOpensItsOwnCategorysWindow)
{
    addContract("GC-1", "D01", "T1", "履行中", {{"合同名称", "维修"}});
    addContract("WY-1", "D01", "T2", "履行中", {{"合同名称", "服务"}});
    auto* f = openList();
    contract::PaymentHandover payment;
    contract::ReceiptHandover receipt;
    auto& h = contract::contractHandovers();
    h.frm合同付款处理 = [&](const auto& v) { payment = v; };
    h.frm合同收款 = [&](const auto& v) { receipt = v; };

    FlexGrid& g = *f->MSFlexGrid1;
    const int pay = rowOf(*f, "GC-1"), take = rowOf(*f, "WY-1");
    ASSERT_EQ(std::abs(pay - take), 1);
    auto arrowTo = [&](int row) {
        QKeyEvent press(QEvent::KeyPress, row > g.Row() ? Qt::Key_Down : Qt::Key_Up, Qt::NoModifier);
        QApplication::sendEvent(&g, &press);
        ASSERT_EQ(g.Row(), row);
    };
    g.setRow(pay);
    f->MSFlexGrid1_Click();
    ASSERT_EQ(f->Command7->text(), QStringLiteral("合同付款处理"));
    arrowTo(take);
    EXPECT_EQ(f->Command7->text(), QStringLiteral("合同收款处理"));
    f->Command7_Click();
    EXPECT_EQ(receipt.number, QStringLiteral("WY-1"));
    EXPECT_TRUE(payment.number.isEmpty());
    arrowTo(pay);
    EXPECT_EQ(f->Command7->text(), QStringLiteral("合同付款处理"));
    f->Command7_Click();
    EXPECT_EQ(payment.number, QStringLiteral("GC-1"));
    // Only the mouse click tells a contract's signing progress; arrowing past rows stays quiet.
    EXPECT_TRUE(boxes().isEmpty());
}

TEST_F(ContractTest, RowButtonsDoNothingOnAnEmptyList)
{
    contract::contractHandovers().Frm合同信息 = [](const auto&) { FAIL(); };
    auto* f = openList();
    f->Command2_Click();
    f->Command5_Click();
    f->Command7_Click();
    f->MSFlexGrid1_Click();
    EXPECT_TRUE(boxes().isEmpty());
}

TEST_F(ContractTest, TheMainMenuOpensTheList)
{
    mainWindowHooks() = MainWindowHooks();
    contract::registerContractWindows();
    ASSERT_TRUE(mainWindowHooks().frmCorvane);
    Form* f = mainWindowHooks().frmCorvane();
    EXPECT_EQ(f, Forms::find<frmCorvane>());
    EXPECT_TRUE(contract::contractHandovers().Frm合同信息) << "新增 and 修改/查看 reach the record window";
    mainWindowHooks() = MainWindowHooks();
}

TEST_F(ContractTest, TheFilterPanelFollowsTheOption)
{
    auto* f = openList();
    EXPECT_FALSE(f->Text2->isEnabled());
    EXPECT_FALSE(f->Frame2->isEnabled());
    f->Option3[2]->setChecked(true);
    EXPECT_TRUE(f->Text2->isEnabled());
    EXPECT_EQ(f->Text2->y(), f->Option3[2]->y() + 2);
    f->Option1[0]->setChecked(true);
    EXPECT_TRUE(f->Frame2->isEnabled());
    f->Option4->setChecked(true);
    EXPECT_FALSE(f->Frame2->isEnabled());
    f->Command6_Click();
    EXPECT_TRUE(f->Picture2->isVisibleTo(f));
    f->Command1_Click();
    EXPECT_FALSE(f->Picture2->isVisibleTo(f));
}

TEST_F(ContractTest, ThePanelsShowEveryCaptionWhole)
{
    // The program's own face, which is wider than the test default.
    const QFont before = QApplication::font();
    QApplication::setFont(QFont(QStringLiteral("Noto Sans CJK SC")));
    auto* f = openList();
    for (QWidget* panel : {static_cast<QWidget*>(f->Picture2), static_cast<QWidget*>(f->Picture3)}) {
        for (QLabel* l : panel->findChildren<QLabel*>())
            EXPECT_LE(l->sizeHint().width(), l->width()) << l->text().toStdString();
        for (QAbstractButton* b : panel->findChildren<QAbstractButton*>())
            EXPECT_LE(b->sizeHint().width(), b->width()) << b->text().toStdString();
    }
    // The days box sits beside each option that uses it, clear of its caption.
    for (int i = 1; i < 4; ++i) {
        f->Option3[size_t(i)]->setChecked(true);
        EXPECT_LT(f->Option3[size_t(i)]->x() + f->Option3[size_t(i)]->sizeHint().width(), f->Label1[3]->x());
        EXPECT_LT(f->Label1[3]->geometry().right(), f->Text2->x());
        EXPECT_LE(f->Text2->geometry().right(), f->Frame1->width());
    }
    QApplication::setFont(before);
}

namespace {
// Another child window of the main window, as the expiry reminder is.
class OtherChild : public Form {
public:
    OtherChild()
    {
        auto* box = new QLineEdit(this);
        box->setObjectName(QStringLiteral("box"));
        resize(300, 200);
    }
};
}  // namespace

// Closing a panel of the list or opening another keeps the list in front:
// the focus leaving a hidden panel must not wander into the next child
// window and bring that one forward.
TEST_F(ContractTest, TheListsPanelsKeepTheListInFront)
{
    addContract("S", "D01", "T2", "签约中", {{"合同名称", "名"}, {"对方单位", "乙公司"},
                                          {"流转结束日期", QDateTime(kToday, QTime(0, 0))}});
    QMdiArea area;
    area.resize(1000, 700);
    FormRegistry::instance().setMdiArea(&area);
    area.show();
    QApplication::setActiveWindow(&area);
    Forms::get<OtherChild>()->Show();
    auto* f = openList();
    f->Command1_Click();
    const auto listInFront = [&] { return area.activeSubWindow() == f->subWindow(); };
    ASSERT_TRUE(listInFront());

    // A quick search whose found row tells the approval outcome.
    f->Command13_Click();
    EXPECT_TRUE(listInFront());
    f->Text3->setText(QStringLiteral("乙"));
    f->flushQuickSearch();
    ASSERT_EQ(f->List1->count(), 1);
    f->List1->setCurrentRow(0);
    f->Command14_Click();
    ASSERT_FALSE(boxes().isEmpty());
    EXPECT_EQ(boxes().last().text, QStringLiteral("S 名会签通过，你可以修改合同状态。"));
    f->Command15->setFocus();
    f->Command15_Click();
    EXPECT_TRUE(listInFront());
    EXPECT_TRUE(f->isAncestorOf(QApplication::focusWidget()));

    f->Command6_Click();
    EXPECT_TRUE(listInFront());
    EXPECT_TRUE(f->Picture2->isVisible());
    f->Command11->setFocus();
    f->Command11_Click();
    EXPECT_TRUE(listInFront());

    // Even when the other window was brought forward meanwhile.
    Forms::get<OtherChild>()->ZOrder();
    ASSERT_FALSE(listInFront());
    f->Command6_Click();
    EXPECT_TRUE(listInFront());
    EXPECT_TRUE(f->Picture2->isVisible());

    FormRegistry::instance().unloadAll();
    FormRegistry::instance().setMdiArea(nullptr);
}
