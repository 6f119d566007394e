// The bill-subject conversion window and the subject tree browser.

#include <gtest/gtest.h>

#include <QCoreApplication>

#include "app/LoginStatusBar.h"
#include "payments/SubjectConversion.h"
#include "payments/frm会计科目浏览.h"
#include "payments/frm会计科目转换.h"
#include "payments/frm财务凭证打印.h"
#include "testsupport/InputCheck.h"
#include "testsupport/LayoutCheck.h"
#include "tests/payments/PaymentFixture.h"

namespace corvane::test {
namespace {

using namespace payments;

class ConversionTest : public PaymentTest {
protected:
    void SetUp() override
    {
        PaymentTest::SetUp();
        Login().当前岗位名称 = QStringLiteral("会计");
    }
    void addMapping(const QString& code, const QString& name)
    {
        exec(QStringLiteral("INSERT INTO 票据科目转换 (发票科目代号, 发票科目名称, 会计科目代号, 会计科目名称, 备注)"
                            " VALUES (?, ?, '5501', '维修费', NULL)"),
             {code, name});
    }
    frm会计科目转换* open() { return Forms::get<frm会计科目转换>(); }
    // A click on the subject's node, then 选择.
    static void choose(frm会计科目浏览& b, const QString& key)
    {
        QTreeWidgetItem* node = b.nodeOf(key);
        ASSERT_TRUE(node) << key.toStdString();
        b.TreeView1->setCurrentItem(node);
        b.TreeView1_NodeClick(node);
        b.Command1_Click();
    }
    static QStringList entries(const frm会计科目转换& w)
    {
        QStringList out;
        for (int i = 0; i < w.List1->count(); ++i) out << w.List1->item(i)->text();
        return out;
    }
};

TEST_F(ConversionTest, ListsByCodeLengthAndShowsTheFirst)
{
    addMapping("10", "十");
    addMapping("9", "九");
    auto* w = open();
    EXPECT_EQ(entries(*w), (QStringList{"9 九", "10 十"}));
    EXPECT_EQ(w->Text1->text(), QStringLiteral("9"));
    EXPECT_EQ(w->Text3->text(), QStringLiteral("5501 维修费"));
    EXPECT_EQ(w->Text4->toPlainText(), QString());  // a NULL column shows empty
    EXPECT_TRUE(w->Text1->isReadOnly());
    EXPECT_EQ(w->StatusBar1->panels[1]->text(), QStringLiteral(" 财务部"));
    EXPECT_EQ(w->StatusBar1->panels[3]->text(), QStringLiteral(" 会计"));
}

TEST_F(ConversionTest, NewMappingThroughTheBrowser)
{
    addSubject("5502", "清洁费", "55", 1);
    auto* w = open();
    w->Command1_Click();
    EXPECT_EQ(w->Command1->text(), QStringLiteral("取消"));
    EXPECT_FALSE(w->Text1->isReadOnly());
    // Checks on trimmed texts.
    w->Text1->setText(QStringLiteral("   "));
    w->Command2_Click();
    EXPECT_EQ(boxTexts().back(), QStringLiteral("发票科目代号不能为空!"));
    w->Text1->setText(QStringLiteral(" FP1 "));
    w->Text2->setText(QStringLiteral(" 维修发票 "));
    w->Command2_Click();
    EXPECT_EQ(boxTexts().back(), QStringLiteral("会计科目不能为空!"));
    // The browser hands its choice to Text3.
    w->Command5_Click();
    auto* b = Forms::find<frm会计科目浏览>();
    ASSERT_TRUE(b);
    EXPECT_EQ(b->Tag, QStringLiteral("会计科目转换"));
    choose(*b, QStringLiteral("$5502"));
    EXPECT_FALSE(Forms::find<frm会计科目浏览>());
    EXPECT_EQ(w->Text3->text(), QStringLiteral("5502 清洁费"));
    w->Text4->setPlainText(QStringLiteral(" 备注 "));
    w->Command2_Click();
    const auto saved = mappingOf(QStringLiteral("FP1"));
    ASSERT_TRUE(saved && *saved);
    EXPECT_EQ((*saved)->发票科目名称, QStringLiteral("维修发票"));
    EXPECT_EQ((*saved)->会计科目代号, QStringLiteral("5502"));
    EXPECT_EQ((*saved)->会计科目名称, QStringLiteral("清洁费"));
    EXPECT_EQ((*saved)->备注, QStringLiteral("备注"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT CzyDH FROM 票据科目转换")).toString(), QStringLiteral("E001"));
    // After the insert: empty boxes, still in the new mode, code box locked.
    EXPECT_EQ(entries(*w), QStringList{"FP1 维修发票"});
    EXPECT_EQ(w->Command1->text(), QStringLiteral("取消"));
    EXPECT_TRUE(w->Text1->text().isEmpty());
    EXPECT_TRUE(w->Text1->isReadOnly());
    // The same code again is refused.
    w->Text1->setText(QStringLiteral("FP1"));
    w->Text2->setText(QStringLiteral("重复"));
    w->Text3->setText(QStringLiteral("5501 维修费"));
    w->Command2_Click();
    EXPECT_EQ(boxTexts().back(), QStringLiteral("发票科目代号已存在!"));
    EXPECT_EQ(count(QStringLiteral("票据科目转换")), 1);
}

TEST_F(ConversionTest, ChangeAndDelete)
{
    addMapping("9", "九");
    addMapping("10", "十");
    auto* w = open();
    w->Text2->setText(QStringLiteral("玖"));
    w->Command2_Click();
    EXPECT_EQ(entries(*w), (QStringList{"9 玖", "10 十"}));
    // Nothing chosen: no change, no delete.
    w->List1->clearSelection();
    w->Command2_Click();
    EXPECT_EQ(boxTexts().back(), QStringLiteral("没有可以修改的科目!"));
    w->Command3_Click();
    EXPECT_EQ(boxTexts().back(), QStringLiteral("没有可以删除的信息!"));
    // A mapping gone meanwhile is neither changed nor reported deleted.
    w->List1->item(0)->setSelected(true);
    exec(QStringLiteral("UPDATE 票据科目转换 SET 发票科目代号 = '99' WHERE 发票科目代号 = '9'"));
    w->Command2_Click();
    EXPECT_EQ(boxTexts().back(), QStringLiteral("没有可以修改的科目!"));
    EXPECT_EQ(entries(*w), (QStringList{"10 十", "99 玖"}));
    exec(QStringLiteral("UPDATE 票据科目转换 SET 发票科目代号 = '9' WHERE 发票科目代号 = '99'"));
    w->转换列表();
    w->List1->clearSelection();
    w->List1->item(1)->setSelected(true);
    exec(QStringLiteral("DELETE FROM 票据科目转换 WHERE 发票科目代号 = '10'"));
    doubles().boxes->answers = {vbYes};
    w->Command3_Click();
    EXPECT_EQ(boxes()[boxes().size() - 2].text, QStringLiteral("是否要删除  发票科目为= 10 十的信息？"));
    EXPECT_EQ(boxTexts().back(), QStringLiteral("没有可以删除的信息!"));
    w->List1->item(0)->setSelected(true);
    doubles().boxes->answers = {vbYes};
    w->Command3_Click();
    EXPECT_EQ(boxTexts().back(), QStringLiteral("删除成功!"));
    EXPECT_EQ(count(QStringLiteral("票据科目转换")), 0);
    w->Command3_Click();
    EXPECT_EQ(boxTexts().back(), QStringLiteral("没有可以删除的信息!"));
}

// The browser stays open beside its opener; closed first, the opener is
// handed nothing and nothing breaks.
TEST_F(ConversionTest, TheBrowserOutlivingItsOpenerHandsBackNothing)
{
    auto* w = open();
    w->Command5_Click();
    auto* b = Forms::find<frm会计科目浏览>();
    ASSERT_TRUE(b);
    w->Command4_Click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(Forms::find<frm会计科目转换>());
    choose(*b, QStringLiteral("$5501"));
    EXPECT_FALSE(Forms::find<frm会计科目浏览>());
}

TEST_F(ConversionTest, BrowserShowsTheWholeTreeCollapsed)
{
    addSubject("9", "九", QVariant(), 0);
    addSubject("77", "孤儿", "76", 0);
    auto* b = Forms::get<frm会计科目浏览>();
    ASSERT_GE(b->TreeView1->topLevelItemCount(), 3);
    EXPECT_EQ(b->TreeView1->topLevelItem(0)->text(0), QStringLiteral("9 九"));
    EXPECT_EQ(b->Text1[0]->text(), QStringLiteral("9"));
    EXPECT_EQ(b->Text1[1]->text(), QStringLiteral("九"));
    QTreeWidgetItem* group = b->nodeOf(QStringLiteral("$55"));
    ASSERT_TRUE(group);
    EXPECT_FALSE(group->isExpanded());
    EXPECT_EQ(group->child(0)->text(0), QStringLiteral("5501 维修费"));
    EXPECT_FALSE(b->nodeOf(QStringLiteral("$77"))->parent());
    group->setExpanded(true);  // expanding shows the node being expanded
    EXPECT_EQ(b->Text1[0]->text(), QStringLiteral("55"));
    b->Command2_Click();
    EXPECT_FALSE(Forms::find<frm会计科目浏览>());
}

}  // namespace
}  // namespace corvane::test

namespace corvane::test {
namespace {

// Every new window and panel as a clerk sees it: nothing cut off, nothing out of reach.
TEST_F(ConversionTest, LayoutsOfTheNewWindowsAndPanels)
{
    addMapping("01", "维修服务");
    auto* conversion = open();
    conversion->show();
    EXPECT_EQ(layoutProblems(conversion), QStringList());
    auto* browser = Forms::get<frm会计科目浏览>();
    browser->show();
    EXPECT_EQ(layoutProblems(browser), QStringList());
    exec(QStringLiteral("INSERT INTO 报销单表 (报销单编号, 部门代号, 审批日期, 审批通过) VALUES ('F-1', 'D03', '2026-01-02', 1)"));
    auto* voucher = Forms::get<frm财务凭证打印>();
    voucher->Tag = QStringLiteral("报销单");
    voucher->Command4_1_Tag = QString::number(maxId(QStringLiteral("报销单表"), QStringLiteral("报销单ID")));
    voucher->show();
    voucher->Form_Activate();
    EXPECT_EQ(layoutProblems(voucher), QStringList());
    openPayment([&](frm合同付款处理& w) {
        w.show();
        w.Command3_Click();
        EXPECT_EQ(layoutProblems(w.Picture1), QStringList());
        w.报销单显示(QStringLiteral("F-1"));
        w.Label3_Click(1);
        EXPECT_EQ(layoutProblems(w.Picture2), QStringList());
        w.Label3_Click(0);
        EXPECT_EQ(layoutProblems(w.Picture7), QStringList());
    });
}

// On a 1024x768 screen every window fits and closes with Esc as with its own
// 退出 or 取消; every panel of the payment window lies inside it and closes
// with Esc as with its 关闭 or 返回, the panel on top first.
TEST_F(ConversionTest, OnTheSmallScreenEveryWindowAndPanelClosesWithEsc)
{
    addMapping("01", "维修服务");
    auto* conversion = open();
    EXPECT_EQ(screenProblems(*conversion), QStringList());
    EXPECT_EQ(escapeProblems(*conversion, conversion->Command4), QStringList());
    auto* browser = Forms::get<frm会计科目浏览>();
    EXPECT_EQ(screenProblems(*browser), QStringList());
    EXPECT_EQ(escapeProblems(*browser, browser->Command2), QStringList());
    exec(QStringLiteral("INSERT INTO 报销单表 (报销单编号, 部门代号, 审批日期, 审批通过) VALUES ('F-1', 'D03', '2026-01-02', 1)"));
    auto* voucher = Forms::get<frm财务凭证打印>();
    voucher->Tag = QStringLiteral("报销单");
    voucher->Command4_1_Tag = QString::number(maxId(QStringLiteral("报销单表"), QStringLiteral("报销单ID")));
    EXPECT_EQ(screenProblems(*voucher), QStringList());
    EXPECT_EQ(escapeProblems(*voucher, voucher->Command3), QStringList());

    bool ran = false;
    openPayment([&](frm合同付款处理& w) {
        ran = true;
        EXPECT_EQ(screenProblems(w), QStringList());
        w.Command8_Click();
        EXPECT_EQ(panelProblems(w, w.Picture6, w.Command12), QStringList());
        w.Command3_Click();
        w.报销单显示(QStringLiteral("F-1"));
        w.Label3_Click(0);
        EXPECT_EQ(panelProblems(w, w.Picture7, w.Label3[5]), QStringList());
        w.Label3_Click(1);
        EXPECT_EQ(panelProblems(w, w.Picture5, w.Label3[4]), QStringList());
        EXPECT_EQ(panelProblems(w, w.Picture2, w.Label3[3]), QStringList());
        EXPECT_EQ(panelProblems(w, w.Picture1, w.Command6), QStringList());
        EXPECT_EQ(escapeProblems(w, w.Command2), QStringList());
    });
    EXPECT_TRUE(ran);
}

// The window writes its trimmed boxes; an empty one (never typed into, or
// blanks only) is an empty text, not NULL, on insert and on change.
TEST_F(ConversionTest, EmptyBoxesAreStoredAsEmptyTexts)
{
    const QString blanks = QStringLiteral("  ");
    DbError error;
    Mapping m{QStringLiteral("WY01"), QString(), QStringLiteral("5501"), blanks.trimmed(), QString()};
    ASSERT_EQ(insertMapping(m, QStringLiteral("E001"), QDateTime(kPayToday, QTime(9, 0)), &error), MappingOutcome::Done);
    for (int pass = 0; pass < 2; ++pass) {
        SCOPED_TRACE(pass ? "change" : "new");
        for (const char* column : {"发票科目名称", "会计科目名称", "备注"}) {
            SCOPED_TRACE(column);
            EXPECT_EQ(storedText(QStringLiteral("SELECT %1 FROM 票据科目转换 WHERE 发票科目代号 = 'WY01'")
                                     .arg(QString::fromUtf8(column))),
                      stored(""));
        }
        exec(QStringLiteral("UPDATE 票据科目转换 SET 发票科目名称 = 'x', 会计科目名称 = 'x', 备注 = 'x'"));
        ASSERT_EQ(updateMapping(QStringLiteral("WY01"), m, QStringLiteral("E001"), QDateTime(kPayToday, QTime(9, 0)), &error),
                  MappingOutcome::Done);
    }
}

TEST_F(ConversionTest, EveryBoxTakesNoMoreThanItsColumnHolds)
{
    auto* w = open();
    w->Command1_Click();  // a new mapping: every box open for typing
    EXPECT_EQ(inputProblems(w, {{"Text1", "票据科目转换.发票科目代号"},
                                {"Text2", "票据科目转换.发票科目名称"},
                                {"Text4", "票据科目转换.备注"}}).join(u'\n').toStdString(), "");
}

}  // namespace
}  // namespace corvane::test
