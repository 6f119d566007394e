#include <gtest/gtest.h>

#include <QSet>
#include <QStyle>

#include "RecordFixture.h"
#include "app/Changes.h"

using namespace corvane;
using namespace corvane::test;

namespace {

const QDateTime kSubmitted(QDate(2026, 1, 5), QTime(10, 0));
const QDateTime kEnded(QDate(2026, 1, 9), QTime(16, 0));

}  // namespace

TEST_F(RecordTest, LoadingFillsTheBoxesFromTheRow)
{
    addContract("GC-00000001", "D01", "T1", "未提交",
                {{"合同名称", "办公楼维修"}, {"对方单位", "甲公司"}, {"对方开户行", "工行"}, {"对方帐号", "6222"},
                 {"对方税号", "91X"}, {"合同金额", "1234.565"}, {"合同起始日期", QDate(2026, 1, 1)},
                 {"合同终止日期", QDate(2026, 12, 31)}, {"主要条款", "第一条\r\n第二条"}, {"对方签约人", "李四"},
                 {"签约人", "张三"}, {"合格供方代码", "S01"}, {"是否是合格供方", 1}});
    addContract("WY-00000002", "D01", "T2", "未提交");
    auto* f = openRecord("修改", "GC-00000001");

    const QStringList expected = {"办公楼维修", "GC-00000001", "甲公司", "T1 工程合同", "1234.57", "2026-01-01",
                                  "2026-12-31", "第一条\n第二条", "李四", "张三"};
    for (int i = 0; i < expected.size(); ++i) EXPECT_EQ(f->Text1[size_t(i)]->text(), expected[i]) << "Text1 " << i;
    EXPECT_EQ(TagOf(f->Text1[1]).toLongLong(), idOf("GC-00000001"));
    EXPECT_EQ(TagOf(f->Text1[2]), "S01");
    EXPECT_TRUE(shown(f->Label1[16]));
    EXPECT_EQ(f->Text2->text(), "甲公司");
    EXPECT_EQ(f->Text4[1]->text() + f->Text4[2]->text() + f->Text4[3]->text(), "工行622291X");
    EXPECT_EQ(f->Command7->text(), "付款计划");
    EXPECT_EQ(f->Label1[17]->text(), "共 365 天");

    // Another contract in the same window: an empty amount shows 0.00, and the
    // qualified-supplier mark does not stay from the contract before.
    f->showContract("WY-00000002", QString::number(idOf("WY-00000002")));
    f->显示合同信息();
    EXPECT_EQ(f->Text1[4]->text(), "0.00");
    EXPECT_FALSE(shown(f->Label1[16]));
    EXPECT_EQ(f->Command7->text(), "收款计划");
}

// The state rule itself is tested on recordButtonsFor; this checks the
// window reads the row into it and applies what it says.
TEST_F(RecordTest, ButtonsFollowStateAndApprovalProgress)
{
    struct Case {
        const char* name;
        std::map<QString, QVariant> columns;
        const char* state;
        // 确定 删除 作废 Command9 Command18 合同中止 续签 补充 Frame1 editing
        QString on;
        QString command9, command18;
    };
    const std::vector<Case> cases = {
        {"never submitted", {}, "未提交", "确定 删除 作废 9 编辑", "提交", ""},
        {"approved", {{"提交日期", kSubmitted}, {"流转结束日期", kEnded}, {"流转通过", 1}}, "审批通过",
         "删除 作废 9 18 Frame1", "流转情况", "合同签订"},
        {"signed", {{"提交日期", kSubmitted}, {"流转结束日期", kEnded}, {"流转通过", 1}, {"合同签订日期", QDate(2026, 2, 1)}},
         "签约完成", "9 18 Frame1", "流转情况", "合同生效"},
        {"in force", {{"合同终止日期", QDate(2027, 1, 1)}}, "履行中", "中止 续签 补充 Frame1", "", ""},
    };
    int n = 0;
    for (const Case& c : cases) {
        const QString number = QStringLiteral("N-%1").arg(++n);
        addContract(number, "D01", "T1", c.state, c.columns);
        FormRegistry::instance().unloadAll();
        auto* f = openRecord("修改", number);
        QStringList enabled;
        if (on(f->Command2)) enabled << "确定";
        if (on(f->Command3)) enabled << "删除";
        if (on(f->Command10)) enabled << "作废";
        if (on(f->Command9)) enabled << "9";
        if (on(f->Command18)) enabled << "18";
        if (on(f->Command19)) enabled << "中止";
        if (on(f->Command20)) enabled << "续签";
        if (on(f->Command31)) enabled << "补充";
        if (on(f->Frame1)) enabled << "Frame1";
        const bool editing = on(f->Command1) && on(f->Command5) && on(f->Command11) && on(f->Command16) &&
                             on(f->Command17) && on(f->Command29);
        const bool noEditing = !on(f->Command1) && !on(f->Command5) && !on(f->Command11) && !on(f->Command16) &&
                               !on(f->Command17) && !on(f->Command29);
        EXPECT_TRUE(editing || noEditing) << c.name;
        if (editing) enabled << "编辑";
        EXPECT_EQ(enabled.join(' '), c.on) << c.name;
        if (!c.command9.isEmpty()) { EXPECT_EQ(f->Command9->text(), c.command9) << c.name; }
        if (!c.command18.isEmpty()) { EXPECT_EQ(f->Command18->text(), c.command18) << c.name; }
        EXPECT_TRUE(on(f->Command7)) << c.name;
        EXPECT_EQ(f->Label1[18]->text(), QString::fromUtf8(c.state)) << c.name;
    }
}

TEST_F(RecordTest, ContractInForceEndingTodayIsMarkedExpired)
{
    addContract("A", "D01", "T1", "履行中", {{"合同终止日期", kToday}});
    addContract("B", "D01", "T1", "履行中", {{"合同终止日期", kToday.addDays(1)}});
    EXPECT_EQ(openRecord("修改", "A")->Label1[18]->text(), "履行中(已到期)");
    EXPECT_EQ(openRecord("修改", "B")->Label1[18]->text(), "履行中");
}

TEST_F(RecordTest, ViewModeDisablesSubmitSaveAndDeleteOnly)
{
    addContract("A", "D01", "T1", "未提交");
    auto* f = openRecord("查看", "A");
    EXPECT_FALSE(on(f->Command9));
    EXPECT_FALSE(on(f->Command2));
    EXPECT_FALSE(on(f->Command3));
    EXPECT_TRUE(on(f->Command10));
    EXPECT_TRUE(on(f->Command16));
}

// An activation shows other workstations' changes, but never at the price
// of the clerk's own typing.
TEST_F(RecordTest, ActivationReloadsOnlyAWindowWithoutUnsavedTyping)
{
    addContract("A", "D01", "T1", "未提交",
                {{"合同名称", "旧名"}, {"主要条款", "第一条"}, {"合同起始日期", QDate(2026, 1, 1)},
                 {"合同终止日期", QDate(2026, 12, 31)}});
    auto* f = openRecord("修改", "A");
    exec("UPDATE 合同信息 SET 合同名称 = '别处改的' WHERE 合同编号 = 'A'");
    f->Form_Activate();
    EXPECT_EQ(f->Text1[0]->text(), "别处改的");
    EXPECT_FALSE(f->hasUnsavedEdits());

    f->Text1[7]->moveCursor(QTextCursor::End);  // the clerk goes on writing after the last clause
    f->Text1[7]->insertTyped("\n第二条");
    EXPECT_TRUE(f->hasUnsavedEdits());
    f->Form_Activate();  // back from another child window
    EXPECT_EQ(f->Text1[7]->text(), "第一条\n第二条");
    openRecord("修改", "A");  // the list's 修改 on the same contract
    EXPECT_EQ(f->Text1[7]->text(), "第一条\n第二条");
    EXPECT_TRUE(boxes().isEmpty());

    // Saving clears the mark; the next activation reloads again.
    f->Command2_Click();
    EXPECT_TRUE(boxes().isEmpty()) << lastText().toStdString();
    EXPECT_FALSE(f->hasUnsavedEdits());
    EXPECT_EQ(contractRow("A").text("主要条款"), "第一条\r\n第二条");
}

TEST_F(RecordTest, LeavingWithUnsavedTypingAsksFirst)
{
    addContract("A", "D01", "T1", "未提交", {{"合同名称", "旧名"}});
    addContract("B", "D01", "T1", "未提交", {{"合同名称", "另一份"}});
    auto* f = openRecord("修改", "A");
    f->Text1[0]->insertTyped("改");
    const QString typed = f->Text1[0]->text();

    // 退出, answered No: the window and the typing stay.
    doubles().boxes->answers = {vbNo};
    f->Command6_Click();
    EXPECT_EQ(lastText(), "合同信息已修改，是否放弃修改？");
    ASSERT_TRUE(Forms::isLoaded<Frm合同信息>());
    EXPECT_EQ(f->Text1[0]->text(), typed);

    // Closing by the frame asks the same.
    doubles().boxes->answers = {vbNo};
    EXPECT_FALSE(f->Unload());
    EXPECT_EQ(f->Text1[0]->text(), typed);

    // Another contract from the list, answered No: still the typing of A.
    doubles().boxes->answers = {vbNo};
    openRecord("修改", "B");
    EXPECT_EQ(f->Text1[0]->text(), typed);
    EXPECT_EQ(TagOf(f->Text1[1]).toLongLong(), idOf("A"));

    // Yes gives it up and the window goes.
    doubles().boxes->answers = {vbYes};
    f->Command6_Click();
    EXPECT_FALSE(Forms::isLoaded<Frm合同信息>());
    EXPECT_EQ(contractRow("A").text("合同名称"), "旧名");
}

TEST_F(RecordTest, LeavingRefreshesTheListUnlessViewing)
{
    auto* list = openList();
    list->Option2->setChecked(true);
    list->Command1_Click();
    addContract("A", "D01", "T1", "未提交");
    openRecord("查看", "A")->Command6_Click();
    EXPECT_FALSE(listed(*list).contains("A"));
    // Leaving without having written anything reads nothing again.
    openRecord("修改", "A")->Command6_Click();
    EXPECT_FALSE(listed(*list).contains("A"));
    EXPECT_EQ(Forms::find<Frm合同信息>(), nullptr);
    // A written contract the list does not show: the whole list is read again.
    auto* f = openRecord("修改", "A");
    fillNew(*f);
    f->Command2_Click();
    f->Command6_Click();
    EXPECT_TRUE(listed(*list).contains("A"));
    EXPECT_EQ(Forms::find<Frm合同信息>(), nullptr);

    // One it shows: only that row is read again, as a whole refresh would show it.
    addContract("B", "D01", "T1", "未提交");
    f = openRecord("修改", "A");
    fillNew(*f);
    f->Text1[0]->setText("改过的名称");
    f->Command2_Click();
    f->Command6_Click();
    EXPECT_FALSE(listed(*list).contains("B"));
    const FlexGrid& g = *list->MSFlexGrid1;
    auto rowOf = [&](const QString& number) {
        QStringList cells;
        const int r = g.FindRow(frmCorvane::Col::合同编号, number, 1);
        for (int c = 0; r > 0 && c < g.Cols(); ++c) cells << g.TextMatrix(r, c);
        return cells;
    };
    const QStringList updated = rowOf("A");
    ASSERT_FALSE(updated.isEmpty());
    EXPECT_EQ(updated[frmCorvane::Col::合同名称], QStringLiteral("改过的名称"));
    list->Command1_Click();
    EXPECT_EQ(rowOf("A"), updated);

    // A deleted contract leaves the list.
    f = openRecord("修改", "A");
    doubles().boxes->answers = {vbYes};
    f->Command3_Click();
    f->Command6_Click();
    EXPECT_FALSE(listed(*list).contains("A"));
    EXPECT_TRUE(listed(*list).contains("B"));
}

// Submitted from elsewhere (the countersign window): on its own contract's
// notice the window shows the state as stored, with the buttons that state
// offers; another contract's notice leaves it as it is.
TEST_F(RecordTest, AProgressNoticeOfItsOwnContractShowsTheNewState)
{
    addContract("A", "D01", "T1", "未提交");
    addContract("B", "D01", "T1", "未提交");
    auto* f = openRecord("修改", "A");
    ASSERT_EQ(f->Command9->text(), "提交");
    ASSERT_TRUE(on(f->Command2));
    exec("UPDATE 合同信息 SET 提交日期 = ?, 合同状态 = '审批中'", {QDateTime(kToday, QTime(9, 30))});
    emit changes().contractProgressed(idOf("B"));
    EXPECT_EQ(f->Command9->text(), "提交");
    EXPECT_TRUE(on(f->Command2));
    EXPECT_EQ(f->Label1[18]->text(), "未提交");

    emit changes().contractProgressed(idOf("A"));
    EXPECT_EQ(f->Command9->text(), "流转情况");
    EXPECT_TRUE(on(f->Command9));
    for (const QPushButton* b : {f->Command2, f->Command3, f->Command10, f->Command1, f->Command11})
        EXPECT_FALSE(on(b)) << b->objectName().toStdString();
    EXPECT_EQ(f->Label1[18]->text(), "审批中");
}

TEST_F(RecordTest, NewModeForgetsTheContractShownBefore)
{
    addContract("A", "D01", "T1", "未提交", {{"对方单位", "甲公司"}, {"对方开户行", "工行"}});
    auto* f = openRecord("修改", "A");
    f->Check1->setChecked(false);
    openRecord("新增");
    EXPECT_EQ(TagOf(f->Text1[1]), "");
    EXPECT_FALSE(f->Text1[1]->Locked());
    // An empty sheet: none of A's texts or state, the department of the hand-over.
    EXPECT_EQ(f->Text1[1]->text(), "<请输入合同编号>");
    for (int i : {0, 2, 3, 4, 5, 6, 7, 8, 9}) EXPECT_EQ(f->Text1[size_t(i)]->text(), "") << i;
    EXPECT_EQ(f->Label1[18]->text(), "");
    EXPECT_EQ(f->Text3->text(), "D01 财务部");
    EXPECT_EQ(f->MSFlexGrid2->Rows(), 1);
    EXPECT_FALSE(on(f->Frame1));
    EXPECT_FALSE(on(f->Frame3));
    EXPECT_FALSE(on(f->Command3));
    EXPECT_FALSE(on(f->Command10));
    EXPECT_FALSE(on(f->Command16));

    // The counterparty panel of the new contract writes nothing into A.
    f->Text4[0]->setText("乙公司");
    f->Text4[1]->setText("");
    f->Command21_Click();
    EXPECT_EQ(f->Text1[2]->text(), "乙公司");
    const Row a = contractRow("A");
    EXPECT_EQ(a.text("对方单位"), "甲公司");
    EXPECT_EQ(a.text("对方开户行"), "工行");

    f->Command3_Click();  // delete without a contract: nothing
    EXPECT_EQ(count("SELECT COUNT(*) FROM 合同信息"), 1);

    // After an approved contract the new one is edited and submitted as in a
    // fresh window.
    addContract("B", "D01", "T1", "审批通过", {{"提交日期", kSubmitted}, {"流转结束日期", kEnded}, {"流转通过", 1}});
    openRecord("修改", "B");
    ASSERT_EQ(f->Command9->text(), "流转情况");
    ASSERT_FALSE(on(f->Command1));
    openRecord("新增");
    EXPECT_EQ(f->Command9->text(), "提交");
    for (QWidget* w : {f->Command1, f->Command4, f->Command17, f->Command29}) EXPECT_TRUE(on(w)) << w->objectName().toStdString();
}

// Captions are not cut off, controls of one container do not overlap, and
// every pop-up opens inside the area that holds it.
TEST_F(RecordTest, LayoutKeepsCaptionsWholeAndPanelsInside)
{
    addContract("A", "D01", "T1", "履行中", {{"合同起始日期", QDate(2026, 1, 1)}, {"合同终止日期", QDate(2026, 12, 31)}});
    auto* f = openRecord("修改", "A");
    f->resize(1000, 640);

    for (const QLabel* l : f->findChildren<QLabel*>()) {
        if (l->wordWrap()) { EXPECT_LE(l->heightForWidth(l->width()), l->height()) << l->objectName().toStdString(); }
        else EXPECT_LE(l->fontMetrics().horizontalAdvance(l->text()), l->width()) << l->objectName().toStdString();
    }
    for (const QAbstractButton* b : f->findChildren<QAbstractButton*>()) {
        if (b->objectName().startsWith("Option2_")) continue;  // never shown
        int room = b->width() - 6;
        if (qobject_cast<const QCheckBox*>(b) || qobject_cast<const QRadioButton*>(b))
            room = b->width() - b->style()->pixelMetric(QStyle::PM_IndicatorWidth) -
                   b->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
        EXPECT_LE(b->fontMetrics().horizontalAdvance(b->text()), room) << b->objectName().toStdString();
    }

    // Frames drawn around boxes, the buttons inside the panel's boxes and the
    // pop-ups lie over other controls by design.
    const QSet<QWidget*> popups = {f->Picture6, f->Picture8, f->Picture9, f->Picture10,
                                   f->List1,    f->List2,    f->MonthView1, f->MonthView2};
    for (QWidget* container : {static_cast<QWidget*>(f->Picture1), static_cast<QWidget*>(f->Picture3),
                               static_cast<QWidget*>(f->Picture4), static_cast<QWidget*>(f->Picture5),
                               static_cast<QWidget*>(f->Picture6), static_cast<QWidget*>(f->Picture8),
                               static_cast<QWidget*>(f->Picture9), static_cast<QWidget*>(f->Frame1),
                               static_cast<QWidget*>(f->Frame3)}) {
        QList<QWidget*> controls;
        for (QWidget* w : container->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            const QString name = w->objectName();
            if (popups.contains(w) || name.startsWith("Shape1_") || name.startsWith("Command23_") ||
                name.startsWith("Option2_") || name.isEmpty())
                continue;
            EXPECT_TRUE(container->rect().contains(w->geometry())) << name.toStdString();
            for (QWidget* other : controls)
                EXPECT_FALSE(w->geometry().intersects(other->geometry())) << name.toStdString() << " " << other->objectName().toStdString();
            controls << w;
        }
    }

    auto inside = [](const QWidget* w) { return w->parentWidget()->rect().contains(w->geometry()); };
    f->Command1_Click();
    EXPECT_TRUE(inside(f->Picture9));
    f->Command4_Click();
    EXPECT_TRUE(inside(f->Picture8));
    f->Command5_Click();
    EXPECT_TRUE(inside(f->List1));
    for (QPushButton* b : {f->Command13, f->Command14, f->Command12}) {
        b->click();
        EXPECT_TRUE(inside(f->MonthView1)) << b->objectName().toStdString();
        b->click();
    }
    f->Command31_Click();
    EXPECT_TRUE(inside(f->Picture6));
    f->Command23_Click(0);
    EXPECT_TRUE(inside(f->List2));
    f->Text5_GotFocus(2);
    EXPECT_TRUE(inside(f->MonthView2));
}

TEST_F(RecordTest, PlanButtonsHandOverTheContract)
{
    addContract("A", "D01", "T2", "未提交",
                {{"合同名称", " 保洁 "}, {"合同金额", "100"}, {"合同起始日期", QDate(2026, 1, 1)}});
    auto* f = openRecord("新增");
    f->Command7_Click();  // no type chosen yet
    EXPECT_EQ(lastText(), "请选择合同类型");
    f = openRecord("修改", "A");

    f->Command7_Click();
    EXPECT_TRUE(lastText().contains("收付款计划"));  // not available yet
    contract::InstalmentPlanHandover plan;
    contract::recordWindowSeams().frm合同收付款计划设置 = [&](const contract::InstalmentPlanHandover& h) { plan = h; };
    f->Command7_Click();
    EXPECT_EQ(plan.Label1, "A 保洁");
    EXPECT_EQ(plan.Label13_1, "100.00");
    EXPECT_EQ(plan.DTPicker2, QDate(2026, 1, 1));
    EXPECT_FALSE(plan.DTPicker3.isValid());
    EXPECT_EQ(plan.caption, "合同收款计划设置");

    contract::PerformancePlanEditHandover node;
    contract::recordWindowSeams().frm合同履行计划 = [&](const contract::PerformancePlanEditHandover& h) { node = h; };
    f->Command16_Click();
    EXPECT_EQ(node.Text4_0, "A");
    EXPECT_EQ(node.Text4_1, " 保洁 ");
    EXPECT_EQ(node.mode, "编辑");

    const int before = int(boxes().size());
    f->Command9_Click();
    ASSERT_EQ(int(boxes().size()), before + 1);
    EXPECT_TRUE(lastText().contains("合同会签提交"));
}

TEST_F(RecordTest, TempFolderIsCreatedOnFirstOpening)
{
    QDir(programFolder()).rmdir("Temp");
    openRecord("新增");
    EXPECT_TRUE(QFileInfo(QDir(programFolder()).filePath("Temp")).isDir());
}

TEST_F(RecordTest, TheStatusBarShowsWhoIsWorkingAndWhen)
{
    auto* f = openRecord("新增");
    EXPECT_FALSE(f->StatusBar1->isHidden());
    EXPECT_GT(f->StatusBar1->height(), 0);
    EXPECT_EQ(f->StatusBar1->panels[1]->text(), "部门D01 ");
    EXPECT_EQ(f->StatusBar1->panels[3]->text(), "岗位P01 ");
    EXPECT_EQ(f->StatusBar1->panels[4]->text(), "2026-12-10");
}
