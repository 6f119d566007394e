#include <gtest/gtest.h>

#include <tuple>

#include "PlanFixture.h"
#include "platform/Amounts.h"
#include "testsupport/InputCheck.h"
#include "testsupport/LayoutCheck.h"

using namespace corvane;
using namespace corvane::test;

using Window = frm合同收付款计划设置;

// A control's own setting, whatever its frame's.
static bool ownEnabled(const QWidget* w) { return !w->testAttribute(Qt::WA_ForceDisabled); }

TEST_F(PlanTest, EachKindNamesItsTableHeadingsAndMessages)
{
    const struct {
        QString caption;
        const char* table;
        const char* heading;
        const char* frame;
        const char* refusal;
    } kinds[] = {
        {kReceipt, "合同收款计划表", "收款日期", "收款信息", "请输入收款金额！"},
        {kPayment, "合同付款计划表", "付款日期", "付款信息", "请输入付款金额！"},
    };
    for (const auto& k : kinds) {
        SCOPED_TRACE(k.table);
        doubles().boxes->shown.clear();
        openPlan(k.caption, [&](Window& f) {
            // No instalments: the add mode is on and the edit boxes empty.
            EXPECT_EQ(f.Command2->text(), QStringLiteral("取消新增"));
            EXPECT_TRUE(f.Text1->text().isEmpty());
            EXPECT_EQ(f.MSFlexGrid1->TextMatrix(0, 2).trimmed(), QString::fromUtf8(k.heading));
            EXPECT_EQ(f.MSFlexGrid1->TextMatrix(0, 5).trimmed(), QString::fromUtf8(k.heading).left(2) + QStringLiteral("条件"));
            EXPECT_EQ(f.Frame1->title(), QString::fromUtf8(k.frame));
            EXPECT_EQ(f.MSFlexGrid1->ColWidth(6), 0);
            EXPECT_EQ(f.Label13[1]->text(), QStringLiteral("10000"));
            f.Command1_Click();
            ASSERT_EQ(doubles().boxes->shown.size(), 1);
            EXPECT_EQ(doubles().boxes->shown[0].text, QString::fromUtf8(k.refusal));
            EXPECT_EQ(doubles().boxes->shown[0].title, ExeName());
            EXPECT_EQ(f.MSFlexGrid1->Rows(), 1);

            // 1200 typed into the amount shows in the balance, which may change.
            f.DTPicker1->setDate(QDate(2009, 3, 5));
            f.Text1->setText(QStringLiteral("1200"));
            EXPECT_EQ(f.Text2->text(), QStringLiteral("1200"));
            f.Text2->setText(QStringLiteral("1000"));
            f.Text3->setText(QStringLiteral("验收合格后"));
            for (int i = 0; i < 3; ++i) f.Command1_Click();
            ASSERT_EQ(f.MSFlexGrid1->Rows(), 4);
            EXPECT_EQ(row(*f.MSFlexGrid1, 3, 6), (QStringList{"3", "HT-1", "2009-03-05", "1200", "1000", "验收合格后", ""}));
            EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM ") + k.table), 0);
            // Saving twice adds the rows once: the first save writes their IDs.
            f.Command8_Click();
            f.Command8_Click();
            EXPECT_FALSE(f.MSFlexGrid1->TextMatrix(1, 6).isEmpty());
        });
        EXPECT_EQ(shownTexts().count(QStringLiteral("计划保存完成")), 2);
        EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM ") + k.table + QStringLiteral(" WHERE 合同编号 = 'HT-1'")), 3);
    }
}

TEST_F(PlanTest, StoredValuesLoadAsPlainTextByDateAndSaveBackUnchanged)
{
    addInstalment(true, "HT-1", QDate(2009, 5, 1), "1000.50", QVariant(), QVariant());
    const qint64 b = addInstalment(true, "HT-1", QDate(2009, 1, 1), "1000", "1000", "首付");
    const qint64 c = addInstalment(true, "HT-1", QDate(2009, 1, 1), "0.50", "0.50", QVariant());
    addInstalment(true, "HT-2", QDate(2009, 1, 1), "7", "7");
    openPlan(kReceipt, [&](Window& f) {
        ASSERT_EQ(f.MSFlexGrid1->Rows(), 4);
        EXPECT_EQ(row(*f.MSFlexGrid1, 1, 6), (QStringList{"1", "HT-1", "2009-01-01", "1000", "1000", "首付", QString::number(b)}));
        EXPECT_EQ(row(*f.MSFlexGrid1, 2, 6), (QStringList{"2", "HT-1", "2009-01-01", "0.5", "0.5", "", QString::number(c)}));
        EXPECT_EQ(row(*f.MSFlexGrid1, 3, 5), (QStringList{"3", "HT-1", "2009-05-01", "1000.5", "", ""}));
        // The last row is current and the frame shows it, the amount "#.00".
        EXPECT_EQ(f.Command2->text(), QStringLiteral("新增计划"));
        EXPECT_EQ(f.Text1->text(), QStringLiteral("1000.50"));
        EXPECT_EQ(f.Text2->text(), QString());
        EXPECT_EQ(f.DTPicker1->date(), kPlanToday);  // activation ends with today
        f.MSFlexGrid1->setRow(2);
        f.MSFlexGrid1_Click();
        EXPECT_EQ(f.Text1->text(), QStringLiteral("0.5"));
        f.Command8_Click();
    });
    const Row r = *selectFirst(QStringLiteral("SELECT 余额, 收款条件 FROM 合同收款计划表 WHERE 收款日期 = ?"), {QDate(2009, 5, 1)});
    EXPECT_TRUE(r.value(0).isNull());
    EXPECT_TRUE(r.value(1).isNull());
    EXPECT_EQ(count("SELECT COUNT(*) FROM 合同收款计划表"), 4);
}

TEST_F(PlanTest, AddModeFollowsEveryTransition)
{
    addInstalment(false, "HT-1", QDate(2009, 1, 1), "10", "10");
    openPlan(kPayment, [&](Window& f) {
        EXPECT_FALSE(f.addModeOn());
        f.Command2_Click();  // 新增计划
        EXPECT_TRUE(f.addModeOn());
        EXPECT_TRUE(f.Text1->text().isEmpty());
        f.Command2_Click();  // 取消新增: the current row comes back
        EXPECT_FALSE(f.addModeOn());
        EXPECT_EQ(f.Text1->text(), QStringLiteral("10"));
        f.Command2_Click();
        f.MSFlexGrid1_Click();  // a click ends the add mode
        EXPECT_FALSE(f.addModeOn());
        // Deleting the only row while off switches it on, while on switches it off.
        answer({vbYes});
        f.Command3_Click();
        EXPECT_EQ(f.MSFlexGrid1->Rows(), 1);
        EXPECT_TRUE(f.addModeOn());
        f.Text1->setText(QStringLiteral("5"));
        f.Command1_Click();
        answer({vbYes});
        f.Command3_Click();
        EXPECT_FALSE(f.addModeOn());
        // Add mode off and no row: a confirm appends one, the heading untouched.
        f.Text1->setText(QStringLiteral("6"));
        f.Command1_Click();
        EXPECT_EQ(f.MSFlexGrid1->Rows(), 2);
        EXPECT_EQ(f.MSFlexGrid1->TextMatrix(0, 3).trimmed(), QStringLiteral("付款金额"));
        EXPECT_EQ(f.MSFlexGrid1->TextMatrix(1, 3), QStringLiteral("6"));
    });
    EXPECT_EQ(count("SELECT COUNT(*) FROM 合同付款计划表"), 0);
    EXPECT_TRUE(shownTexts().contains(QStringLiteral("确定要删除2009-01-01的收/付款计划吗？")));
}

TEST_F(PlanTest, DeletingKeepsInstalmentsThatMoneyRefersTo)
{
    const struct {
        bool receipt;
        const char* records;  // records table
        QVariant voided;      // 作废 of the payment record
        bool kept;
    } cases[] = {
        {true, "合同收款记录", QVariant(), true},
        {false, "合同付款记录", QVariant(), true},
        {false, "合同付款记录", 0, true},
        {false, "合同付款记录", 1, false},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(n);
        const QString number = QStringLiteral("HT-%1").arg(++n);
        const qint64 held = addInstalment(c.receipt, number, QDate(2009, 1, 1), "10", "10");
        addInstalment(c.receipt, number, QDate(2009, 2, 1), "20", "20");
        addInstalment(c.receipt, number, QDate(2009, 3, 1), "30", "30");
        if (c.receipt)
            exec(QStringLiteral("INSERT INTO 合同收款记录 (合同收款计划ID, 收款金额) VALUES (?, 5)"), {held});
        else
            exec(QStringLiteral("INSERT INTO 合同付款记录 (合同付款计划ID, 付款金额, 作废) VALUES (?, 5, ?)"), {held, c.voided});
        const QString table = c.receipt ? QStringLiteral("合同收款计划表") : QStringLiteral("合同付款计划表");
        doubles().boxes->shown.clear();
        openPlan(c.receipt ? kReceipt : kPayment, [&](Window& f) {
            f.MSFlexGrid1->setRow(1);
            answer({vbYes});
            f.Command3_Click();
            EXPECT_EQ(f.MSFlexGrid1->Rows(), c.kept ? 4 : 3);
            // 清空计划 deletes the others and shows what stays.
            answer({vbYes});
            f.Command9_Click();
            EXPECT_EQ(f.MSFlexGrid1->Rows(), c.kept ? 2 : 1);
            EXPECT_FALSE(f.addModeOn());
        }, QStringLiteral("10000"), number);
        const QStringList shown = shownTexts();
        EXPECT_EQ(shown.contains(QStringLiteral("该计划已有收/付款记录，不能删除！")), c.kept);
        EXPECT_EQ(shown.contains(QStringLiteral("有1条计划已有收/付款记录，未删除。")), c.kept);
        EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM ") + table + QStringLiteral(" WHERE 合同编号 = ?"), {number}),
                  c.kept ? 1 : 0);
    }
}

TEST_F(PlanTest, ASaveIsCheckedWholeAndWrittenWhole)
{
    const struct {
        int badRow;
        int badCol;
        const char* text;
        const char* refusal;
    } cases[] = {
        {2, 3, "1,000", "第2行的付款金额不正确！"},
        {3, 3, "12abc", "第3行的付款金额不正确！"},
        {2, 4, "x", "第2行的余额不正确！"},
        {1, 2, "2009-02-30", "第1行的付款日期不正确！"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.refusal);
        doubles().boxes->shown.clear();
        openPlan(kPayment, [&](Window& f) {
            f.Text1->setText(QStringLiteral("100"));
            for (int i = 0; i < 3; ++i) f.Command1_Click();
            f.MSFlexGrid1->setTextMatrix(c.badRow, c.badCol, QString::fromUtf8(c.text));
            f.Command8_Click();
            EXPECT_TRUE(f.MSFlexGrid1->TextMatrix(1, 6).isEmpty());
        });
        EXPECT_EQ(shownTexts(), QStringList{QString::fromUtf8(c.refusal)});
        EXPECT_EQ(count("SELECT COUNT(*) FROM 合同付款计划表"), 0);
    }

    // A saved row deleted meanwhile rolls the whole save back.
    const qint64 gone = addInstalment(false, "HT-1", QDate(2009, 6, 1), "10", "10");
    doubles().boxes->shown.clear();
    openPlan(kPayment, [&](Window& f) {
        f.Command2_Click();
        f.DTPicker1->setDate(QDate(2009, 1, 1));
        f.Text1->setText(QStringLiteral("1"));
        f.Command1_Click();  // a new row after the one that goes
        exec(QStringLiteral("DELETE FROM 合同付款计划表 WHERE ID = ?"), {gone});
        f.Command8_Click();
        EXPECT_TRUE(f.MSFlexGrid1->TextMatrix(2, 6).isEmpty());
    });
    EXPECT_EQ(shownTexts(), QStringList{QStringLiteral("第1行的计划已被删除，请重新打开本窗口！")});
    EXPECT_EQ(count("SELECT COUNT(*) FROM 合同付款计划表"), 0);
}

// A bad amount is refused where it is typed, not rows later at the save.
TEST_F(PlanTest, ConfirmRefusesAnAmountTheSaveWouldRefuse)
{
    openPlan(kPayment, [&](Window& f) {
        f.Text1->setText(QStringLiteral("100"));
        f.Command1_Click();
        ASSERT_EQ(f.MSFlexGrid1->Rows(), 2);
        for (const auto& [amount, balance, refusal] :
             {std::tuple{"abc", "abc", "付款金额不正确！"}, std::tuple{"1,000", "1000", "付款金额不正确！"},
              std::tuple{"100", "x", "余额不正确！"}}) {
            doubles().boxes->shown.clear();
            f.Text1->setText(QString::fromUtf8(amount));
            f.Text2->setText(QString::fromUtf8(balance));
            f.Command1_Click();
            EXPECT_EQ(shownTexts(), QStringList{QString::fromUtf8(refusal)});
            EXPECT_EQ(f.MSFlexGrid1->Rows(), 2) << amount;
            EXPECT_EQ(f.MSFlexGrid1->TextMatrix(1, 3), QStringLiteral("100"));
        }
        // Changing a row is held to the same rule.
        f.MSFlexGrid1->setRow(1);
        f.MSFlexGrid1_Click();
        doubles().boxes->shown.clear();
        f.Text1->setText(QStringLiteral("abc"));
        f.Command1_Click();
        EXPECT_EQ(shownTexts(), QStringList{QStringLiteral("付款金额不正确！")});
        EXPECT_EQ(f.MSFlexGrid1->TextMatrix(1, 3), QStringLiteral("100"));
    });
}

TEST_F(PlanTest, GeneratorPanelOpensDispatchesAndRefuses)
{
    addNodeRow("HT-1", QStringLiteral("进场"), QDate(2024, 1, 10));
    addNodeRow("HT-1", QStringLiteral("验收"), QDate(2024, 9, 30));
    addNodeRow("HT-1", QStringLiteral("中期"), QDate(2024, 5, 1));
    openPlan(kReceipt, [&](Window& f) {
        EXPECT_TRUE(f.Picture1->isHidden());
        ASSERT_EQ(f.List1->count(), 3);
        EXPECT_EQ(f.List1->item(1)->text(), QStringLiteral("中期"));
        EXPECT_EQ(f.nodeDates()[1], QDate(2024, 5, 1));
        EXPECT_TRUE(ownEnabled(f.Option1[3]));
        f.Command5_Click();
        EXPECT_FALSE(f.Picture1->isHidden());
        EXPECT_EQ(f.Text8->text(), QStringLiteral("10000"));
        EXPECT_TRUE(f.Option4[0]->isEnabled());
        EXPECT_TRUE(f.Option4[1]->isChecked());

        // A refusal empties the grid and keeps the panel open.
        f.Text7->setText(QStringLiteral("30[20090108]]"));
        f.Command6_Click();
        EXPECT_EQ(f.MSFlexGrid1->Rows(), 1);
        EXPECT_FALSE(f.Picture1->isHidden());

        f.Text7->setText(QStringLiteral("30[20090108]/40[20090408]/20[20091218]"));
        f.Command6_Click();
        EXPECT_TRUE(f.Picture1->isHidden());
        ASSERT_EQ(f.MSFlexGrid1->Rows(), 4);
        EXPECT_EQ(row(*f.MSFlexGrid1, 3, 6), (QStringList{"3", "HT-1", "2009-12-18", "3000.00", "3000.00", "", ""}));

        // Rows in the grid: a long-term plan only after "本合同是否是长期合同" Yes.
        answer({vbNo});
        f.Command5_Click();
        EXPECT_TRUE(f.Picture1->isHidden());
        answer({vbYes});
        f.Command5_Click();
        EXPECT_FALSE(f.Picture1->isHidden());
        EXPECT_TRUE(f.Option4[3]->isChecked());
        EXPECT_FALSE(f.Option4[0]->isEnabled());
        EXPECT_TRUE(f.Frame5->isEnabled());
        EXPECT_FALSE(f.frame4->isEnabled());
        f.Text5->setText(QStringLiteral("-5"));
        f.Command6_Click();
        EXPECT_EQ(f.MSFlexGrid1->Rows(), 1);
        EXPECT_EQ(doubles().boxes->shown.last().title, ExeName());

        // Nodes: the marked ones in list order.
        f.Option4[2]->setEnabled(true);
        f.Option4[2]->setChecked(true);
        f.Option1[3]->setChecked(true);
        EXPECT_TRUE(f.List1->isEnabled());
        f.List1->item(0)->setSelected(true);
        f.List1->item(2)->setSelected(true);
        f.Text9->setText(QStringLiteral("20/80"));
        f.Command6_Click();
        ASSERT_EQ(f.MSFlexGrid1->Rows(), 3);
        EXPECT_EQ(row(*f.MSFlexGrid1, 2, 4), (QStringList{"2", "HT-1", "2024-09-30", "8000.00", "8000.00"}));
        f.Command8_Click();
    });
    EXPECT_EQ(count("SELECT COUNT(*) FROM 合同收款计划表 WHERE 余额 = 收款金额"), 2);
    EXPECT_TRUE(shownTexts().contains(QStringLiteral("你已经设置了至少一条计划，如采用自动生成计划的功能可能会出现数据冲突。\n"
                                                     "你可以先清除计划再生成新的计划")));
}

TEST_F(PlanTest, PanelOpeningRuleAndDateTest)
{
    const struct {
        const char* amount;
        bool allModes;
    } cases[] = {{"", false}, {"abc", false}, {"5000", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.amount);
        openPlan(kPayment, [&](Window& f) {
            EXPECT_FALSE(ownEnabled(f.Option1[3]));  // no nodes
            f.Command5_Click();
            EXPECT_EQ(f.Option4[0]->isEnabled(), c.allModes);
            EXPECT_EQ(f.Option4[3]->isChecked(), !c.allModes);
            if (!c.allModes) return;
            // No contract dates: 1900-01-01 fails the date test of modes 0 and 2.
            f.DTPicker2->setDate(Window::noDate());
            f.Option4[2]->setChecked(true);
            f.Command6_Click();
            EXPECT_EQ(doubles().boxes->shown.last().text, QStringLiteral("起始日期或终止日期非法，请输入正确的日期值"));
            EXPECT_FALSE(f.Picture1->isHidden());
        }, QString::fromUtf8(c.amount));
    }
}

// On a 1024x768 screen both windows fit, the generator panel lies inside its
// window and closes with Esc as with its 取消, and Esc closes each window as
// the button that closes its face does.
TEST_F(PlanTest, OnTheSmallScreenEveryControlIsInReachAndEscCloses)
{
    openPlan(kPayment, [&](Window& f) {
        EXPECT_EQ(screenProblems(f), QStringList());
        f.Command5_Click();
        EXPECT_EQ(panelProblems(f, f.Picture1, f.Command7), QStringList());
        EXPECT_EQ(escapeProblems(f, f.Command4), QStringList());
    });
    openNodes(QStringLiteral("浏览"), [&](frm合同履行计划& f) {
        EXPECT_EQ(screenProblems(f), QStringList());
        EXPECT_EQ(escapeProblems(f, f.Command6), QStringList());
    });
    openNodes(frm合同履行计划::kEditMode, [&](frm合同履行计划& f) {
        EXPECT_EQ(screenProblems(f), QStringList());
        EXPECT_EQ(escapeProblems(f, f.Command2), QStringList());
    });
}

TEST_F(PlanTest, WindowsAsLaidOut)
{
    openPlan(kPayment, [&](Window& f) {
        f.Command5_Click();
        EXPECT_EQ(layoutProblems(&f), QStringList());
    });
    openNodes(QStringLiteral("浏览"), [&](frm合同履行计划& f) { EXPECT_EQ(layoutProblems(&f), QStringList()); });
    openNodes(frm合同履行计划::kEditMode, [&](frm合同履行计划& f) { EXPECT_EQ(layoutProblems(&f), QStringList()); });
}

// Another workstation pays instalment 1 (its balance goes to 0.00) while the
// window is open. The window writes only the rows the user changed, each
// only while it is stored as it was loaded; a changed one rolls it all back.
TEST_F(PlanTest, ASaveKeepsWhatAnotherWorkstationWroteMeanwhile)
{
    const struct {
        int edited;        // the row the user changes (0: none)
        bool addsRow;
        const char* shown;
        const char* balance1;   // of the paid instalment afterwards
        const char* condition2;
        int rows;
    } cases[] = {
        {0, false, "计划保存完成", "0.00", "", 2},
        {2, true, "计划保存完成", "0.00", "验收后", 3},
        {1, true, "第1行的计划已被他人修改，请重新打开本窗口！", "0.00", "", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown);
        exec(QStringLiteral("DELETE FROM 合同付款记录"));
        exec(QStringLiteral("DELETE FROM 合同付款计划表"));
        const qint64 paid = addInstalment(false, "HT-1", QDate(2009, 3, 1), "100", "100");
        const qint64 other = addInstalment(false, "HT-1", QDate(2009, 6, 1), "200", "200");
        doubles().boxes->shown.clear();
        openPlan(kPayment, [&](Window& f) {
            ASSERT_EQ(f.MSFlexGrid1->Rows(), 3);
            {
                const auto workstation = openSecondConnection(QStringLiteral("paying"));
                ASSERT_TRUE(executeQuiet(workstation->db(),
                                         QStringLiteral("INSERT INTO 合同付款记录 (合同付款计划ID, 付款日期, 付款金额, 作废) "
                                                        "VALUES (?, ?, ?, 0)"),
                                         {paid, QDate(2009, 3, 2), QStringLiteral("100.00")}));
                ASSERT_TRUE(executeQuiet(workstation->db(), QStringLiteral("UPDATE 合同付款计划表 SET 余额 = ? WHERE ID = ?"),
                                         {QStringLiteral("0.00"), paid}));
            }
            if (c.edited) {
                f.MSFlexGrid1->setRow(c.edited);
                f.MSFlexGrid1_Click();
                f.Text1->setText(QStringLiteral("150"));
                f.Text2->setText(f.MSFlexGrid1->TextMatrix(c.edited, 4));
                f.Text3->setText(QStringLiteral("验收后"));
                f.Command1_Click();
            }
            if (c.addsRow) {
                f.Command2_Click();
                f.Text1->setText(QStringLiteral("5"));
                f.Command1_Click();
            }
            f.Command8_Click();
        });
        EXPECT_EQ(shownTexts(), QStringList{QString::fromUtf8(c.shown)});
        const auto plan = selectRows(QStringLiteral("SELECT ID, 付款金额, 余额, 付款条件 FROM 合同付款计划表 ORDER BY ID"));
        ASSERT_TRUE(plan);
        ASSERT_EQ(int(plan->size()), c.rows);
        EXPECT_EQ((*plan)[0].value(0).toLongLong(), paid);
        EXPECT_EQ(centsText(centsOf((*plan)[0].value(2)).value_or(-1)), QString::fromUtf8(c.balance1));
        EXPECT_EQ((*plan)[1].value(0).toLongLong(), other);
        EXPECT_EQ((*plan)[1].text(3), QString::fromUtf8(c.condition2));
        EXPECT_EQ(centsText(centsOf((*plan)[1].value(1)).value_or(-1)),
                  c.edited == 2 ? QStringLiteral("150.00") : QStringLiteral("200.00"));
    }
}

TEST_F(PlanTest, EveryBoxTakesNoMoreThanItsColumnHolds)
{
    // Amounts, counts, days and ratios are read as numbers; the conditions are
    // text without a bound.
    const QSet<QString> numbers = {"Text1", "Text2", "Text8", "Text4", "Text10", "Text7", "Text9", "Text5", "Text6"};
    for (const QString& kind : {kReceipt, kPayment}) {
        const QString condition = kind == kReceipt ? QStringLiteral("合同收款计划表.收款条件") : QStringLiteral("合同付款计划表.付款条件");
        openPlan(kind, [&](Window& f) {
            EXPECT_EQ(inputProblems(&f, {{"Text3", condition}}, numbers).join(u'\n').toStdString(), "") << kind.toStdString();
        });
    }
    openNodes(frm合同履行计划::kEditMode, [&](frm合同履行计划& f) {
        EXPECT_EQ(inputProblems(&f,
                                {{"Text1", "合同履行计划表.阶段"},
                                 {"Text2", "合同履行计划表.要求"},
                                 {"Text5", "合同履行计划表.完成情况"},
                                 {"Text6", "合同履行计划表.检查人"}},
                                {"Text3"}).join(u'\n').toStdString(), "");
    });
}
