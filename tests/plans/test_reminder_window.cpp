#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QKeyEvent>

#include "ExpiryFixture.h"
#include "app/frmToExcel.h"
#include "plans/ReminderStore.h"
#include "testsupport/InputCheck.h"
#include "platform/Xlsx.h"
#include "testsupport/LayoutCheck.h"

using namespace corvane;
using namespace corvane::test;

using Reminder = Frm合同到期提醒;

namespace {

QStringList column(const FlexGrid& g, int col)
{
    QStringList out;
    for (int r = 1; r < g.Rows(); ++r) out << g.TextMatrix(r, col);
    return out;
}

}  // namespace

class ReminderTest : public ExpiryTest {
protected:
    // A contract in performance of D01 ending on `end`.
    qint64 due(const QString& number, const QString& type, const QVariant& end, const QString& dept = QStringLiteral("D01"),
               const QString& state = QStringLiteral("履行中"))
    {
        return addContract(number, dept, type, state,
                           {{"合同终止日期", end}, {"合同起始日期", QDate(2024, 1, 1)}, {"合同名称", number + "名"},
                            {"对方单位", "恒达"}});
    }
    void setting(const QVariant& days, const QVariant& enabled, const QString& dept = QStringLiteral("D01"),
                 const QString& post = QStringLiteral("P01"))
    {
        exec(QStringLiteral("INSERT INTO 合同提醒设置 (类型, 部门代号, 岗位代号, 提前天数, 启用提醒) VALUES (?, ?, ?, ?, ?)"),
             {QStringLiteral("普通合同"), dept, post, days, enabled});
    }
};

TEST_F(ReminderTest, ListsContractsInPerformanceEndingByTheCutOff)
{
    // No setting row: 60 days ahead, so the cut-off is 2027-02-08.
    due(QStringLiteral("R-ON"), QStringLiteral("T2"), QDate(2027, 2, 8));
    due(QStringLiteral("R-AFTER"), QStringLiteral("T2"), QDate(2027, 2, 9));
    due(QStringLiteral("R-PAST"), QStringLiteral("T4"), QDate(2019, 5, 1));
    due(QStringLiteral("R-NOEND"), QStringLiteral("T2"), QVariant());
    due(QStringLiteral("R-LEASE"), QStringLiteral("T3"), QDate(2026, 12, 1));
    due(QStringLiteral("R-DONE"), QStringLiteral("T2"), QDate(2026, 12, 1), QStringLiteral("D01"), QStringLiteral("履行完成"));
    due(QStringLiteral("R-STOP"), QStringLiteral("T2"), QDate(2026, 12, 1), QStringLiteral("D01"), QStringLiteral("中止"));
    due(QStringLiteral("R-SIGN"), QStringLiteral("T2"), QDate(2026, 12, 1), QStringLiteral("D01"), QStringLiteral("签约中"));
    due(QStringLiteral("R-NODEPT"), QStringLiteral("T2"), QDate(2026, 12, 1), QStringLiteral("D99"));
    due(QStringLiteral("R-NOTYPE"), QStringLiteral("T9"), QDate(2026, 12, 1));
    due(QStringLiteral("R-OTHER"), QStringLiteral("T2"), QDate(2026, 12, 1), QStringLiteral("D02"));
    const qint64 payment = due(QStringLiteral("P-1"), QStringLiteral("T1"), QDate(2026, 12, 20));
    if (!testingOnPostgres())  // a date column keeps no time of day there
        exec(QStringLiteral("UPDATE 合同信息 SET 合同终止日期 = '2027-02-08 15:30:00' WHERE 合同编号 = 'R-ON'"));

    Reminder* f = openReminder();
    EXPECT_EQ(f->Text1->text(), QStringLiteral("60"));
    EXPECT_TRUE(f->Check1->isChecked());
    EXPECT_EQ(f->到期截止日期, QDate(2027, 2, 8));
    EXPECT_EQ(f->Caption(), QStringLiteral("合同到期提醒"));
    EXPECT_EQ(f->SSTab1->tabText(0), QStringLiteral("  收款合同提醒"));
    EXPECT_EQ(f->SSTab1->tabText(1), QStringLiteral("  付款合同提醒"));

    // Receipts by department name, then type name.
    const FlexGrid& list = *f->MSFlexGrid2;
    EXPECT_EQ(column(list, 2), (QStringList{"R-PAST", "R-ON"}));
    EXPECT_EQ(column(list, 0), (QStringList{"1", "2"}));
    EXPECT_EQ(list.TextMatrix(1, 1), QStringLiteral("D01 物业一部"));
    EXPECT_EQ(list.TextMatrix(1, 3), QStringLiteral("R-PAST名"));
    EXPECT_EQ(list.TextMatrix(1, 4), QStringLiteral("恒达"));
    EXPECT_EQ(list.TextMatrix(1, 5), QStringLiteral("保洁合同"));
    EXPECT_EQ(list.TextMatrix(1, 6), QStringLiteral("2024-01-01"));
    EXPECT_EQ(list.TextMatrix(2, 7), QStringLiteral("2027-02-08"));
    EXPECT_EQ(list.RowData(1), int(idOf(QStringLiteral("R-PAST"))));
    EXPECT_EQ(column(*f->MSFlexGrid1, 1), (QStringList{"保洁合同", "物业服务合同"}));
    EXPECT_EQ(column(*f->MSFlexGrid1, 2), (QStringList{"1", "1"}));

    // The payment tab is read when the clerk first turns to it.
    EXPECT_FALSE(column(*f->MSFlexGrid3, 2).contains(QStringLiteral("P-1")));
    f->SSTab1->setCurrentIndex(1);
    EXPECT_EQ(column(*f->MSFlexGrid3, 2), (QStringList{"P-1"}));
    EXPECT_EQ(f->MSFlexGrid3->RowData(1), int(payment));
    EXPECT_EQ(column(*f->MSFlexGrid4, 1), (QStringList{"工程合同"}));

    // Headings with their blanks; only the receipt list merges, column 1 alone.
    EXPECT_EQ(list.TextMatrix(0, 3), QStringLiteral("合同名称") + QString(42, u' '));
    EXPECT_EQ(f->MSFlexGrid1->TextMatrix(0, 1), QStringLiteral("合同类型名称") + QString(179, u' '));
    EXPECT_EQ(list.ColAlignment(6), flexAlignRightCenter);
    EXPECT_TRUE(list.MergeCol(1));
    EXPECT_FALSE(list.MergeCol(2));
    EXPECT_EQ(f->MSFlexGrid3->MergeCells(), flexMergeNever);
}

TEST_F(ReminderTest, TheSettingRowGivesDaysAndSwitch)
{
    const struct {
        const char* name;
        QVariant days, enabled;
        const char* shown;
        bool ticked;
        int listed;  // of a contract ending today and one ending in ten days
    } cases[] = {
        {"days NULL", QVariant(), 1, "0", true, 1},
        {"switch NULL", 10, QVariant(), "10", false, 2},
        {"switch off", 9, 0, "9", false, 1},
    };
    due(QStringLiteral("R-TODAY"), QStringLiteral("T2"), kExpiryToday);
    due(QStringLiteral("R-TEN"), QStringLiteral("T2"), kExpiryToday.addDays(10));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        exec(QStringLiteral("DELETE FROM 合同提醒设置"));
        setting(c.days, c.enabled);
        // Another post's row is not read.
        setting(99, 1, QStringLiteral("D01"), QStringLiteral("P02"));
        Reminder* f = openReminder();
        EXPECT_EQ(f->Text1->text(), QString::fromUtf8(c.shown));
        EXPECT_EQ(f->Check1->isChecked(), c.ticked);
        EXPECT_EQ(f->MSFlexGrid2->Rows() - 1, c.listed);
        f->Unload();
    }
}

TEST_F(ReminderTest, TheDepartmentScope)
{
    // D10 a branch with two managed projects (one without an office set up,
    // one whose link has ended), D20 a functional department.
    addDepartment(QStringLiteral("D10"), QStringLiteral("华东分公司"), QStringLiteral("C1"));
    addDepartment(QStringLiteral("D11"), QStringLiteral("项目甲"), QStringLiteral("C1"), QStringLiteral("D10"));
    addDepartment(QStringLiteral("D12"), QStringLiteral("项目乙"), QStringLiteral("C1"), QStringLiteral("D10"));
    addDepartment(QStringLiteral("D13"), QStringLiteral("项目丙"), QStringLiteral("C1"), QStringLiteral("D10"));
    addDepartment(QStringLiteral("D14"), QStringLiteral("项目丁"), QStringLiteral("C1"));
    exec(QStringLiteral("INSERT INTO 上级部门new (职能部门编号, 上级部门编号, 起始日期) VALUES ('D14', NULL, ?)"),
         {QDate(2000, 1, 1)});
    addDepartment(QStringLiteral("D15"), QStringLiteral("项目戊"), QStringLiteral("C1"), QStringLiteral("D01"));
    addDepartment(QStringLiteral("D20"), QStringLiteral("职能处"), QStringLiteral("C1"));
    exec(QStringLiteral("UPDATE 上级部门new SET 终止日期 = ? WHERE 职能部门编号 = 'D13'"), {QDate(2020, 1, 1)});
    exec(QStringLiteral("UPDATE 职能部门new SET app部门类别 = '管理项目' WHERE 职能部门编号 IN ('D11','D12','D13','D14','D15')"));
    exec(QStringLiteral("UPDATE 职能部门new SET app部门类别 = ' 分公司区域 ' WHERE 职能部门编号 = 'D10'"));
    exec(QStringLiteral("UPDATE 职能部门new SET app部门类别 = '职能部门' WHERE 职能部门编号 = 'D20'"));
    for (const char* office : {"D11", "D13", "D14", "D15"})
        exec(QStringLiteral("INSERT INTO 设置管理处 (对应部门代号, gyd_dh, gyd_name) VALUES (?, ?, ?)"),
             {QString::fromUtf8(office), QStringLiteral("G") + QString::fromUtf8(office), QStringLiteral("管理处")});
    exec(QStringLiteral("INSERT INTO 设置管理处 (对应部门代号, gyd_dh) VALUES ('D12', NULL)"));
    exec(QStringLiteral("INSERT INTO 专项审核权限表 (类型, 部门代号, 岗位代号) VALUES ('Corvane', 'D02', 'P09')"));
    exec(QStringLiteral("INSERT INTO 专项审核权限表 (类型, 部门代号, 岗位代号) VALUES ('Other', 'D02', 'P01')"));

    using plans::ReminderScope;
    const struct {
        const char* dept;
        const char* post;
        ReminderScope scope;
    } cases[] = {
        {"D02", "P09", {true, {}}},
        {"D02", "P01", {false, {"D02"}}},
        {"D20", "P01", {true, {}}},
        {"D10", "P01", {false, {"D11", "D14", "D10"}}},
        {"D01", "P01", {false, {"D01"}}},
        {"", "", {false, {""}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dept);
        const auto scope = plans::reminderScope(QString::fromUtf8(c.dept), QString::fromUtf8(c.post));
        ASSERT_TRUE(scope);
        EXPECT_EQ(scope->everyDepartment, c.scope.everyDepartment);
        EXPECT_EQ(scope->departments, c.scope.departments);
    }
    // A branch without managed projects: its own department.
    exec(QStringLiteral("DELETE FROM 设置管理处"));
    EXPECT_EQ(plans::reminderScope(QStringLiteral("D10"), QStringLiteral("P01"))->departments, (QStringList{"D10"}));

    // The window lists by scope; a login without a department lists nothing.
    due(QStringLiteral("R-D02"), QStringLiteral("T2"), QDate(2026, 12, 1), QStringLiteral("D02"));
    due(QStringLiteral("R-D01"), QStringLiteral("T2"), QDate(2026, 12, 1), QStringLiteral("D01"));
    loginAs(QStringLiteral("D20"), QStringLiteral("P01"));
    EXPECT_EQ(openReminder()->MSFlexGrid2->Rows(), 3);
    FormRegistry::instance().unloadAll();
    loginAs(QString(), QString());
    EXPECT_EQ(openReminder()->MSFlexGrid2->Rows(), 1);
}

TEST_F(ReminderTest, SavingTheSetting)
{
    due(QStringLiteral("R-TODAY"), QStringLiteral("T2"), kExpiryToday);
    due(QStringLiteral("R-SOON"), QStringLiteral("T2"), kExpiryToday.addDays(3));
    Reminder* f = openReminder();
    ASSERT_EQ(f->MSFlexGrid2->Rows(), 3);

    // Refused days write nothing and keep the lists.
    for (const char* bad : {"abc", "36501", "-1", "", "1.5"}) {
        doubles().boxes->shown.clear();
        f->Text1->setText(QString::fromUtf8(bad));
        f->Command3_Click();
        EXPECT_EQ(shownTexts(), (QStringList{"请输入正确的提前天数！"})) << bad;
    }
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM 合同提醒设置")), 0);
    EXPECT_EQ(f->MSFlexGrid2->Rows(), 3);

    // The first save adds the row, the next edits it; the lists follow.
    f->Text1->setText(QStringLiteral("0"));
    f->Check1->setChecked(false);
    f->Command3_Click();
    EXPECT_EQ(f->MSFlexGrid2->Rows(), 2);
    EXPECT_EQ(f->Text1->text(), QStringLiteral("0"));
    EXPECT_FALSE(f->Check1->isChecked());
    f->Text1->setText(QStringLiteral("5"));
    f->Check1->setChecked(true);
    f->Command3_Click();
    EXPECT_EQ(f->MSFlexGrid2->Rows(), 3);
    const Row saved = *selectFirst(QStringLiteral("SELECT 类型, 部门代号, 岗位代号, 提前天数, 启用提醒, COUNT(*) OVER () "
                                                  "FROM 合同提醒设置"));
    EXPECT_EQ(saved.text(0), QStringLiteral("普通合同"));
    EXPECT_EQ(saved.text(1), QStringLiteral("D01"));
    EXPECT_EQ(saved.text(2), QStringLiteral("P01"));
    EXPECT_EQ(saved.value(3).toInt(), 5);
    EXPECT_EQ(saved.value(4).toInt(), 1);
    EXPECT_EQ(saved.value(5).toInt(), 1);

    // Two rows of the key: the first by ID is read and edited.
    setting(77, 0);
    f->Text1->setText(QStringLiteral("6"));
    f->Command3_Click();
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM 合同提醒设置 WHERE 提前天数 = 6")), 1);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM 合同提醒设置 WHERE 提前天数 = 77")), 1);
    EXPECT_EQ(f->Text1->text(), QStringLiteral("6"));
}

TEST_F(ReminderTest, EachTabIsReadWhenFirstShownAfterALoad)
{
    due(QStringLiteral("R-1"), QStringLiteral("T2"), QDate(2026, 12, 1));
    due(QStringLiteral("P-1"), QStringLiteral("T1"), QDate(2026, 12, 1));
    Reminder* f = openReminder();
    ASSERT_EQ(column(*f->MSFlexGrid2, 2), (QStringList{"R-1"}));
    ASSERT_FALSE(column(*f->MSFlexGrid3, 2).contains(QStringLiteral("P-1")));
    f->SSTab1->setCurrentIndex(1);
    ASSERT_EQ(column(*f->MSFlexGrid3, 2), (QStringList{"P-1"}));

    // Turning between the tabs reads nothing again, as reopening the window does not.
    due(QStringLiteral("P-2"), QStringLiteral("T1"), QDate(2026, 12, 2));
    due(QStringLiteral("R-2"), QStringLiteral("T2"), QDate(2026, 12, 2));
    f->SSTab1->setCurrentIndex(0);
    f->SSTab1->setCurrentIndex(1);
    EXPECT_EQ(column(*f->MSFlexGrid3, 2), (QStringList{"P-1"}));
    EXPECT_EQ(column(*f->MSFlexGrid1, 2), (QStringList{"1"}));

    // 设置 on the payment tab reads it at once, and the receipt tab once shown.
    f->Command3_Click();
    EXPECT_EQ(column(*f->MSFlexGrid3, 2), (QStringList{"P-1", "P-2"}));
    EXPECT_EQ(column(*f->MSFlexGrid4, 2), (QStringList{"2"}));
    f->SSTab1->setCurrentIndex(0);
    EXPECT_EQ(column(*f->MSFlexGrid2, 2), (QStringList{"R-1", "R-2"}));
    EXPECT_EQ(column(*f->MSFlexGrid1, 2), (QStringList{"2"}));
    EXPECT_EQ(f->到期截止日期, QDate(2027, 2, 8));
}

TEST_F(ReminderTest, AFailedLoadShowsTheReminderBox)
{
    exec(QStringLiteral("DROP TABLE 合同提醒设置"));
    Reminder* f = openReminder();
    ASSERT_FALSE(doubles().boxes->shown.isEmpty());
    const ShownBox& box = doubles().boxes->shown.last();
    EXPECT_EQ(box.title, QStringLiteral("系统提示"));
    EXPECT_EQ(box.icon(), vbInformation);
    EXPECT_TRUE(box.text.startsWith(QStringLiteral("错误号：")));
    EXPECT_TRUE(box.text.contains(QStringLiteral("错误描述：")));
    EXPECT_FALSE(box.text.contains(u'\n'));
    EXPECT_TRUE(f->isLoaded());
}

TEST_F(ReminderTest, SortingThenOpeningAContract)
{
    due(QStringLiteral("B-2"), QStringLiteral("T2"), QDate(2026, 12, 1));
    due(QStringLiteral("A-1"), QStringLiteral("T2"), QDate(2026, 12, 2));
    due(QStringLiteral("C-3"), QStringLiteral("T2"), QDate(2026, 12, 3));
    std::vector<contract::RecordWindowHandover> opened;
    contract::contractHandovers().Frm合同信息 = [&](const auto& h) { opened.push_back(h); };
    Reminder* f = openReminder();
    FlexGrid& g = *f->MSFlexGrid2;
    const float header = 10, body = float(g.RowHeight(0) + 100);
    const auto doubleClick = [&](float y, int col) {
        f->MSFlexGrid2_MouseDown(vbLeftButton, 0, float(g.ColWidth(0) + 10), y);
        g.setCol(col);
        f->MSFlexGrid2_DblClick();
    };

    doubleClick(header, 2);
    EXPECT_EQ(column(g, 2), (QStringList{"A-1", "B-2", "C-3"}));
    doubleClick(header, 2);
    EXPECT_EQ(column(g, 2), (QStringList{"C-3", "B-2", "A-1"}));
    // 终止日期 and 序 sort nothing; a heading opens nothing.
    doubleClick(header, 7);
    EXPECT_EQ(column(g, 2), (QStringList{"C-3", "B-2", "A-1"}));
    f->MSFlexGrid2_MouseDown(vbLeftButton, 0, 10, header);
    g.setCol(2);
    f->MSFlexGrid2_DblClick();
    EXPECT_EQ(column(g, 2), (QStringList{"C-3", "B-2", "A-1"}));
    EXPECT_TRUE(opened.empty());

    // The row's contract moved with it.
    g.setRow(3);
    doubleClick(body, 3);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].mode, QStringLiteral("查看"));
    EXPECT_EQ(opened[0].number, QStringLiteral("A-1"));
    EXPECT_EQ(opened[0].id, QString::number(idOf(QStringLiteral("A-1"))));
    EXPECT_EQ(opened[0].departmentCode, QStringLiteral("D01"));
    EXPECT_EQ(opened[0].departmentText, QStringLiteral("D01 物业一部"));
}

TEST_F(ReminderTest, APaymentContractOpensOnAClick)
{
    std::vector<contract::RecordWindowHandover> opened;
    contract::contractHandovers().Frm合同信息 = [&](const auto& h) { opened.push_back(h); };
    Reminder* f = openReminder();
    f->SSTab1->setCurrentIndex(1);
    // An empty list opens nothing.
    f->MSFlexGrid3_Click();
    EXPECT_TRUE(opened.empty());
    FormRegistry::instance().unloadAll();

    due(QStringLiteral("P-1"), QStringLiteral("T1"), QDate(2026, 12, 1), QStringLiteral("D01"));
    f = openReminder();
    f->SSTab1->setCurrentIndex(1);
    f->MSFlexGrid3->setRow(1);
    f->MSFlexGrid3_Click();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].number, QStringLiteral("P-1"));
    EXPECT_EQ(opened[0].id, QString::number(idOf(QStringLiteral("P-1"))));
    // A receipt row opens only on a double click, not on a click.
}

TEST_F(ReminderTest, ClickingACountColoursItsType)
{
    due(QStringLiteral("R-1"), QStringLiteral("T2"), QDate(2026, 12, 1));
    due(QStringLiteral("R-2"), QStringLiteral("T4"), QDate(2026, 12, 2));
    due(QStringLiteral("R-3"), QStringLiteral("T2"), QDate(2026, 12, 3));
    Reminder* f = openReminder();
    FlexGrid& list = *f->MSFlexGrid2;
    FlexGrid& counts = *f->MSFlexGrid1;
    const QColor blue(0, 0, 255), cyan(100, 255, 255);
    ASSERT_EQ(column(counts, 1), (QStringList{"保洁合同", "物业服务合同"}));

    for (int countRow : {2, 1}) {
        counts.setRow(countRow);
        f->MSFlexGrid1_Click();
        const QString type = counts.TextMatrix(countRow, 1);
        for (int r = 1; r < list.Rows(); ++r) {
            const bool marked = list.TextMatrix(r, 5) == type;
            for (int c = 0; c < list.Cols(); ++c) {
                SCOPED_TRACE(QStringLiteral("%1 %2,%3").arg(type).arg(r).arg(c).toStdString());
                if (c < 2) {
                    EXPECT_FALSE(list.CellBackColor(r, c).isValid());
                    continue;
                }
                EXPECT_EQ(list.CellForeColor(r, c), marked ? blue : QColor(Qt::black));
                EXPECT_EQ(list.CellBackColor(r, c), marked ? cyan : QColor(Qt::white));
            }
        }
        EXPECT_EQ(list.Row(), 1);
        EXPECT_EQ(list.Col(), 1);
        EXPECT_EQ(counts.Col(), 0);
        EXPECT_EQ(counts.ColSel(), 2);
    }
    // The payment list is empty: its counts colour nothing.
    f->SSTab1->setCurrentIndex(1);
    f->MSFlexGrid4_Click();
    EXPECT_EQ(f->MSFlexGrid3->Rows(), 1);
}

TEST_F(ReminderTest, OutputHandsTheListOnShowToTheExportWindow)
{
    due(QStringLiteral("P-1"), QStringLiteral("T1"), QDate(2026, 12, 1));
    Reminder* f = openReminder();
    for (int tab : {0, 1}) {
        f->SSTab1->setCurrentIndex(tab);
        FlexGrid* list = tab == 0 ? f->MSFlexGrid2 : f->MSFlexGrid3;
        bool shown = false;
        onModal<frmToExcel>([&](frmToExcel& x) {
            shown = true;
            EXPECT_EQ(x.Grid(), list);
            EXPECT_EQ(x.Text1[1]->text(), QStringLiteral("2027-02-08到期合同"));
            EXPECT_EQ(x.Text1[2]->text(), tab == 0 ? QStringLiteral("收款到期合同") : QStringLiteral("付款到期合同"));
            ASSERT_EQ(x.Grid1->Cols(), 8);
            for (int c = 0; c < 8; ++c) {
                EXPECT_EQ(x.Grid1->TextMatrix(0, c), list->TextMatrix(0, c));
                EXPECT_EQ(x.Grid1->TextMatrix(1, c), QStringLiteral("√"));
                EXPECT_EQ(x.Grid1->ColWidth(c), list->ColWidth(c));
                EXPECT_EQ(x.Grid1->FixedAlignment(c), list->FixedAlignment(c));
            }
        });
        f->Command1_Click();
        EXPECT_TRUE(shown);
    }
}

TEST_F(ReminderTest, TheDaysBoxTakesDigitsOnly)
{
    Reminder* f = openReminder();
    f->Text1->clear();
    for (const QString& key : {QStringLiteral("1"), QStringLiteral("a"), QStringLiteral("-"), QStringLiteral("."),
                               QStringLiteral("5")}) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, key);
        QApplication::sendEvent(f->Text1, &press);
    }
    EXPECT_EQ(f->Text1->text(), QStringLiteral("15"));
    QKeyEvent back(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier, QStringLiteral("\b"));
    QApplication::sendEvent(f->Text1, &back);
    EXPECT_EQ(f->Text1->text(), QStringLiteral("1"));
}

TEST_F(ReminderTest, ANewNumberReplacesTheDays)
{
    Reminder* f = openReminder();
    f->Show();
    f->Text1->setText(QStringLiteral("60"));
    auto type = [&](Qt::Key key, Qt::KeyboardModifiers modifiers, const QString& text) {
        QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
        QApplication::sendEvent(f->Text1, &press);
    };
    // Select all is a shortcut, not a character the digit filter drops.
    f->Text1->deselect();
    f->Text1->setCursorPosition(2);
    type(Qt::Key_A, Qt::ControlModifier, QStringLiteral("\x01"));
    EXPECT_EQ(f->Text1->selectedText(), QStringLiteral("60"));
    type(Qt::Key_3, Qt::NoModifier, QStringLiteral("3"));
    EXPECT_EQ(f->Text1->text(), QStringLiteral("3"));

    // Arriving in the box, by the keyboard or by a click, selects what it holds.
    for (const Qt::FocusReason reason : {Qt::TabFocusReason, Qt::MouseFocusReason}) {
        SCOPED_TRACE(int(reason));
        f->Text1->setText(QStringLiteral("60"));
        f->Text1->deselect();
        f->Text1->setCursorPosition(2);
        QFocusEvent in(QEvent::FocusIn, reason);
        QApplication::sendEvent(f->Text1, &in);
        QApplication::processEvents();
        EXPECT_EQ(f->Text1->selectedText(), QStringLiteral("60"));
        type(Qt::Key_3, Qt::NoModifier, QStringLiteral("3"));
        type(Qt::Key_0, Qt::NoModifier, QStringLiteral("0"));
        EXPECT_EQ(f->Text1->text(), QStringLiteral("30"));
    }
}

TEST_F(ReminderTest, LayoutFollowsTheWindow)
{
    Reminder* f = openReminder();
    f->Show();
    for (const QSize size : {QSize(1024, 700), QSize(1400, 900), QSize(800, 560)}) {
        f->resize(size);
        QApplication::processEvents();
        EXPECT_TRUE(layoutProblems(f).isEmpty()) << layoutProblems(f).join(u'\n').toStdString();
        const int bar = pixelsToTwips(f->Picture1->width());
        EXPECT_NEAR(pixelsToTwips(f->Command2->x()), bar - pixelsToTwips(f->Command2->width()) - 200, 15);
        EXPECT_LT(f->Command3->geometry().right(), f->Command1->x());
        EXPECT_LT(f->Command1->geometry().right(), f->Command2->x());
        EXPECT_EQ(f->MSFlexGrid3->size(), f->MSFlexGrid2->size());
        EXPECT_GT(f->Picture1->y(), f->SSTab1->geometry().bottom());
    }
}

TEST_F(ReminderTest, AdjustColWidthFitsTheVisibleColumns)
{
    due(QStringLiteral("R-1"), QStringLiteral("T2"), QDate(2026, 12, 1));
    Reminder* f = openReminder();
    FlexGrid& g = *f->MSFlexGrid2;
    g.setColWidth(4, 0);
    f->AdjustColWidth(*f, g, QVariant(), 100.0);
    EXPECT_EQ(g.ColWidth(4), 0);
    EXPECT_GE(g.ColWidth(2), 350);
    EXPECT_LT(g.ColWidth(3), pixelsToTwips(2000));
}

TEST_F(ReminderTest, EveryBoxTakesNoMoreThanItsColumnHolds)
{
    // The days ahead are a number.
    EXPECT_EQ(inputProblems(openReminder(), {}, {"Text1"}).join(u'\n').toStdString(), "");
}

// The reminder's list as a workbook: headings as the clerk reads them, data
// rows plain, dates shown as dates.
TEST_F(ReminderTest, ExportedListReadsAsTheGridShowsIt)
{
    due(QStringLiteral("R-1"), QStringLiteral("T2"), QDate(2026, 12, 1));
    Reminder* f = openReminder();
    const QString file = QDir(programFolder()).filePath(QStringLiteral("到期.xlsx"));
    onModal<frmToExcel>([&](frmToExcel& x) {
        x.Text1[0]->setText(file);
        x.Check1->setChecked(false);
        QString error;
        EXPECT_TRUE(x.To_Execl(x.Grid(), x.Text1[1]->text(), x.Text1[2]->text(), &error)) << error.toStdString();
    });
    f->Command1_Click();
    xlsx::WorkbookReader book;
    ASSERT_TRUE(book.open(file));
    const auto sheet = book.sheet(QStringLiteral("收款到期合同"));
    ASSERT_TRUE(sheet);
    for (int c = 0; c < 8; ++c) {
        SCOPED_TRACE(c);
        EXPECT_EQ(sheet->text(3, c), sheet->text(3, c).trimmed());
        ASSERT_TRUE(sheet->cell(4, c));
        EXPECT_FALSE(sheet->cell(4, c)->format.bold);
        EXPECT_FALSE(sheet->cell(3, c)->format.bold);
    }
    EXPECT_EQ(sheet->text(3, 3), QStringLiteral("合同名称"));
    EXPECT_EQ(sheet->text(4, 2), QStringLiteral("R-1"));
    // 起始日期 and 终止日期: right-aligned in the grid, dates in the sheet.
    for (int c : {6, 7}) {
        SCOPED_TRACE(c);
        const xlsx::ReadCell* cell = sheet->cell(4, c);
        ASSERT_TRUE(cell);
        EXPECT_TRUE(cell->isNumber);
        EXPECT_EQ(cell->format.numberFormat, QStringLiteral("yyyy-mm-dd"));
        EXPECT_EQ(QDate(1899, 12, 30).addDays(cell->value.toLongLong()).toString(Qt::ISODate),
                  f->MSFlexGrid2->TextMatrix(1, c));
    }
}
