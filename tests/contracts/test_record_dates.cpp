#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QScrollBar>

#include "RecordFixture.h"
#include "platform/TextFile.h"

using namespace corvane;
using namespace corvane::test;

TEST_F(RecordTest, TermLabelCountsDaysWhileBothDatesAreDates)
{
    auto* f = openRecord("新增");
    const struct {
        const char *start, *end, *label;
    } cases[] = {
        {"2020-01-01", "2020-12-31", "共 366 天"},
        {"2026-03-01", "2026-03-01", "共 1 天"},
        {"2026-03-01", "", "共 1 天"},  // a cleared date leaves the last count
        // An end before the start is no term: no count, not a negative one.
        {"2026-03-02", "2026-03-01", ""},
        {"2026-03-05", "2026-03-01", ""},
        {"2025-03-05", "2026-03-01", "共 362 天"},
        {"2026-03-05", "", ""},
    };
    for (const auto& c : cases) {
        f->Text1[5]->setText(c.start);
        f->Text1[6]->setText(c.end);
        EXPECT_EQ(f->Label1[17]->text(), QString::fromUtf8(c.label)) << c.start << " " << c.end;
    }
}

TEST_F(RecordTest, OneCalendarServesTheBoxThatOpenedItLast)
{
    auto* f = openRecord("新增");
    f->Command13_Click();
    EXPECT_TRUE(shown(f->MonthView1));
    EXPECT_EQ(TagOf(f->MonthView1), "5");
    EXPECT_EQ(f->MonthView1->selectedDate(), kToday);
    f->Command14_Click();  // retargeted and closed
    EXPECT_FALSE(shown(f->MonthView1));
    EXPECT_EQ(TagOf(f->MonthView1), "6");
    f->Command14_Click();
    EXPECT_TRUE(shown(f->MonthView1));
    EXPECT_EQ(f->MonthView1->y(), f->Shape1[6]->y() + f->Shape1[6]->height());
    f->MonthView1_DateClick(QDate(2027, 3, 4));
    EXPECT_EQ(f->Text1[6]->text(), "2027-03-04");
    EXPECT_FALSE(shown(f->MonthView1));
}

TEST_F(RecordTest, TermDateButtonsFollowTheFocusUntilSubmission)
{
    auto* f = openRecord("新增");
    f->Text1_GotFocus(5);
    EXPECT_TRUE(shown(f->Command13));
    EXPECT_FALSE(shown(f->Command14));
    f->Text1_GotFocus(6);
    EXPECT_FALSE(shown(f->Command13));
    EXPECT_TRUE(shown(f->Command14));
    f->Command9->setText("流转情况");
    f->Text1_GotFocus(5);
    EXPECT_FALSE(shown(f->Command13));
    EXPECT_FALSE(shown(f->Command14));
}

TEST_F(RecordTest, MainTermsTemplatesAreGbkFilesPerDepartmentAndType)
{
    auto* f = openRecord("新增");
    f->Text1[7]->setText("第一条 付款\n第二条 工期\n");
    f->Command17_Click();
    EXPECT_EQ(lastText(), "请选择合同类型");  // asked first, then refused

    f->Text1[3]->setText("T1 工程合同");
    f->Command17_Click();
    const QString path = QDir(programFolder()).filePath("D01 财务部T1 工程合同主要条款.TXT");
    EXPECT_EQ(f->templatePath(), path);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), toGbk("第一条 付款\r\n第二条 工期\r\n\r\n"));
    file.close();

    // Into an empty box the same text comes back; a second use appends.
    f->Text1[7]->setText("");
    f->Command29_Click();
    EXPECT_EQ(f->Text1[7]->text(), "第一条 付款\n第二条 工期\n");
    f->Command29_Click();
    EXPECT_EQ(f->Text1[7]->text(), "第一条 付款\n第二条 工期\n\n第一条 付款\n第二条 工期\n");

    // Leading empty lines are dropped only while the box is empty; another
    // department reads another file, and a missing one says nothing.
    ASSERT_TRUE(writeGbkLines(path, {"", "", "甲", "", "乙"}));
    f->Text1[7]->setText("");
    f->Command29_Click();
    EXPECT_EQ(f->Text1[7]->text(), "甲\n\n乙");
    f->Text3->setText("D02 工程部");
    boxes().clear();
    f->Command29_Click();
    EXPECT_TRUE(boxes().isEmpty());
    EXPECT_EQ(f->Text1[7]->text(), "甲\n\n乙");
}

// A template an older program saved as ".txt" is the same file.
TEST_F(RecordTest, MainTermsTemplateIsFoundWhateverItsLetterCase)
{
    const QString lower = QDir(programFolder()).filePath("D01 财务部T1 工程合同主要条款.txt");
    ASSERT_TRUE(writeGbkLines(lower, {"第一条 付款"}));
    auto* f = openRecord("新增");
    f->Text1[3]->setText("T1 工程合同");
    f->Command29_Click();
    EXPECT_EQ(f->Text1[7]->text(), "第一条 付款");
    f->Text1[7]->setText("第二条 工期");
    f->Command17_Click();
    EXPECT_EQ(readGbkFile(lower).value(), "第二条 工期\n");
    EXPECT_EQ(QDir(programFolder()).entryList({"*主要条款*"}), QStringList{"D01 财务部T1 工程合同主要条款.txt"});
}

TEST_F(RecordTest, NameAndMainTermsAreStoredWithTheFamilysLineBreaks)
{
    auto* f = openRecord("新增");
    fillNew(*f);
    f->Text1[1]->setText("HT-1");
    f->Text1[0]->setText("保洁\n服务");
    f->Text1[7]->setText("一\n二");
    f->Command2_Click();
    EXPECT_EQ(contractRow("HT-1").text("合同名称"), "保洁\r\n服务");
    EXPECT_EQ(contractRow("HT-1").text("主要条款"), "一\r\n二");
    f->Form_Activate();
    EXPECT_EQ(f->Text1[0]->text(), "保洁\n服务");
}

TEST_F(RecordTest, ALongNameOpensAtItsBeginning)
{
    const QString name = QStringLiteral("某某物业管理有限公司第一分公司").repeated(4) + QStringLiteral("年度综合维修合同");
    addContract("A", "D01", "T1", "未提交", {{"合同名称", name}, {"对方单位", name}, {"主要条款", name.repeated(8)}});
    auto* f = openRecord("修改", "A");
    f->show();
    QApplication::processEvents();
    for (const int box : {0, 2, 7}) {
        ASSERT_TRUE(f->Text1[size_t(box)]->toPlainText().startsWith(name));
        EXPECT_EQ(f->Text1[size_t(box)]->textCursor().position(), 0) << box;
        EXPECT_EQ(f->Text1[size_t(box)]->horizontalScrollBar()->value(), 0) << box;
        EXPECT_EQ(f->Text1[size_t(box)]->verticalScrollBar()->value(), 0) << box;
    }
}
