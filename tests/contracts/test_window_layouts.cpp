// Every window built so far, at its default size and on a 1024×768 screen:
// no caption or shown value cut off, no control outside the one holding it.
#include <gtest/gtest.h>

#include <QApplication>

#include "RecordFixture.h"
#include "app/frmAbout.h"
#include "app/frmLogin.h"
#include "app/frmToExcel.h"
#include "app/frm输出到Excel文件.h"
#include "contracts/frm合同信息浏览.h"
#include "contracts/Frm合同信息.h"
#include "contracts/frmCorvane.h"
#include "testsupport/LayoutCheck.h"

using namespace corvane;
using namespace corvane::test;

namespace {

class WindowLayoutTest : public RecordTest {
protected:
    void SetUp() override
    {
        RecordTest::SetUp();
        // The program's own face, which is wider than the test default.
        m_font = QApplication::font();
        QApplication::setFont(QFont(QStringLiteral("Noto Sans CJK SC")));
    }
    void TearDown() override
    {
        QApplication::setFont(m_font);
        RecordTest::TearDown();
    }

    // The window at its default size and, when it can be resized, at the
    // room a maximised child has on a 1024×768 screen.
    static void expectWhole(QWidget* w, const QSet<QString>& skip = {})
    {
        const bool resizable = w->minimumSize() != w->maximumSize();
        for (const QSize size : {w->size(), QSize(1024, 600)}) {
            if (!resizable && size != w->size()) continue;
            w->resize(size);
            const QStringList problems = layoutProblems(w, skip);
            EXPECT_TRUE(problems.isEmpty()) << w->objectName().toStdString() << " at " << size.width() << "×"
                                            << size.height() << ":\n"
                                            << problems.join('\n').toStdString();
        }
    }

private:
    QFont m_font;
};

}  // namespace

TEST_F(WindowLayoutTest, DialogsShowEveryCaptionWhole)
{
    auto* login = Forms::get<frmLogin>();
    expectWhole(login);
    auto* about = Forms::get<frmAbout>();
    expectWhole(about);
    auto* excel = Forms::get<frmToExcel>();
    expectWhole(excel);
    // Its column list sits mostly outside the window by design: the export ignores it.
    expectWhole(Forms::get<frm输出到Excel文件>(), {QStringLiteral("Grid1")});
}

TEST_F(WindowLayoutTest, TheContractListShowsEveryCaptionWhole)
{
    addContract("A", "D01", "T2", "履行中");
    auto* f = openList();
    f->Command6_Click();  // the filter panel
    expectWhole(f, {QStringLiteral("MSFlexGrid1")});
    f->Command13_Click();  // the quick search panel
    expectWhole(f, {QStringLiteral("MSFlexGrid1")});
}

TEST_F(WindowLayoutTest, TheRecordWindowAndItsPopUpsShowEveryCaptionWhole)
{
    addContract("A", "D01", "T2", "履行中", {{"合同起始日期", QDate(2026, 1, 1)}, {"合同终止日期", QDate(2026, 12, 31)}});
    addContract("B", "D01", "T2", "审批通过",
                {{"提交日期", QDateTime(kToday, QTime(9, 0))}, {"流转结束日期", QDateTime(kToday, QTime(10, 0))},
                 {"流转通过", 1}, {"合同签订日期", kToday}});
    auto* f = openRecord("修改", "A");
    // Option2 never shows; the attachment grid is a grid.
    const QSet<QString> skip = {QStringLiteral("Option2_0"), QStringLiteral("Option2_1")};
    expectWhole(f, skip);
    for (const auto& open : std::vector<std::function<void()>>{
             [f] { f->Command1_Click(); }, [f] { f->Command4_Click(); }, [f] { f->Command5_Click(); },
             [f] { f->Command13_Click(); }, [f] { f->Command14_Click(); }, [f] { f->Command12_Click(); },
             [f] { f->Command31_Click(); }, [f] { f->Command23_Click(0); }, [f] { f->Text5_GotFocus(2); }}) {
        open();
        expectWhole(f, skip);
    }
    // The calendars of the state frame (签订日期, 生效日期) too.
    auto* g = openRecord("修改", "B");
    g->MonthView1->hide();
    g->Command26_Click();
    expectWhole(g, skip);
    EXPECT_FALSE(g->MonthView1->isHidden());
}

// In the room a maximised child has on a 1024x768 screen, every panel the
// list and the record window open over their controls lies inside the
// window, its own close button in reach, and Esc closes it as that button does.
TEST_F(WindowLayoutTest, OnTheSmallScreenEveryPanelClosesWithEscAndItsOwnButton)
{
    addContract("A", "D01", "T2", "履行中");
    auto* list = openList();
    list->resize(1024, 600);
    list->Command6_Click();
    EXPECT_EQ(panelProblems(*list, list->Picture2, list->Command11), QStringList());
    list->Command13_Click();
    EXPECT_EQ(panelProblems(*list, list->Picture3, list->Command15), QStringList());

    auto* f = openRecord("修改", "A");
    f->resize(1024, 600);
    const std::vector<std::tuple<std::function<void()>, QWidget*, QAbstractButton*>> panels = {
        {[f] { f->Command1_Click(); }, f->Picture9, f->Command25},   // 合格供方
        {[f] { f->Command4_Click(); }, f->Picture8, f->Command22},   // 对方单位
        {[f] { f->Command31_Click(); }, f->Picture6, f->Command30},  // 续签 / 补充
        {[] {}, f->Picture10, f->Command27},
    };
    for (const auto& [open, panel, close] : panels) {
        open();
        EXPECT_EQ(panelProblems(*f, panel, close), QStringList()) << panel->objectName().toStdString();
    }
}

TEST_F(WindowLayoutTest, TheReadOnlyViewShowsEveryValueWhole)
{
    addContract("A", "D01", "T2", "履行中", {{"合同名称", "保洁服务"}});
    auto* f = Forms::get<frm合同信息浏览>();
    f->Text1()->setText("A");
    SetTag(f->Text10(), "D01");
    f->Show();
    expectWhole(f, {QStringLiteral("MSFlexGrid1"), QStringLiteral("MSFlexGrid2")});
}
