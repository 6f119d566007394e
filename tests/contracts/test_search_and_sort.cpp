#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include "ContractFixture.h"
#include "platform/InputRules.h"
#include "platform/TextMeasure.h"
#include "testsupport/HostileInput.h"

using namespace corvane;
using namespace corvane::test;

namespace {

// The x of a press on the heading of `col` with the grid scrolled to its start.
float headingX(const FlexGrid& g, int col)
{
    int x = g.ColWidth(0);
    for (int c = g.LeftCol(); c < col; ++c) x += g.ColWidth(c);
    return float(x + 10);
}

}  // namespace

TEST_F(ContractTest, AHeaderPressSortsByValueAndAlternates)
{
    addContract("A", "D01", "T1", "未提交", {{"合同金额", "100"}, {"对方单位", "乙"}});
    addContract("B", "D01", "T1", "未提交", {{"合同金额", "20"}, {"对方单位", "甲"}});
    addContract("C", "D01", "T1", "未提交", {{"合同金额", "3"}, {"对方单位", "丙"}});
    using Col = frmCorvane::Col;
    auto* f = openList();
    FlexGrid& g = *f->MSFlexGrid1;
    const float y = float(g.RowHeight(0) / 2);

    f->MSFlexGrid1_MouseDown(vbLeftButton, 0, headingX(g, Col::合同金额), y);
    EXPECT_EQ(column(*f, Col::合同金额), QStringList({"3.00", "20.00", "100.00"}));
    EXPECT_EQ(g.TextMatrix(0, Col::合同金额), QStringLiteral("▼合同金额"));
    EXPECT_EQ(column(*f, Col::序), QStringList({"1", "2", "3"}));
    EXPECT_GE(g.ColWidth(Col::合同金额), TextWidthTwips(f->font(), g.TextMatrix(0, Col::合同金额)) + 90)
        << "the marked heading shows whole";

    f->MSFlexGrid1_MouseDown(vbLeftButton, 0, headingX(g, Col::合同金额), y);
    EXPECT_EQ(column(*f, Col::合同金额), QStringList({"100.00", "20.00", "3.00"}));
    EXPECT_EQ(g.TextMatrix(0, Col::合同金额), QStringLiteral("▲合同金额"));
    EXPECT_EQ(column(*f, Col::序), QStringList({"1", "2", "3"}));

    f->MSFlexGrid1_MouseDown(vbLeftButton, 0, headingX(g, Col::合同编号), y);
    EXPECT_EQ(g.TextMatrix(0, Col::合同金额), QStringLiteral("合同金额"));
    EXPECT_EQ(g.TextMatrix(0, Col::合同编号), QStringLiteral("▼合同编号"));
    EXPECT_EQ(column(*f, Col::合同编号), QStringList({"A", "B", "C"}));

    // Below the heading nothing happens; beyond the last column nothing is
    // sorted or marked, but the row numbers are written again.
    g.setTextMatrix(1, Col::序, "x");
    f->MSFlexGrid1_MouseDown(vbLeftButton, 0, headingX(g, Col::合同金额), float(g.RowHeight(0) + 30));
    EXPECT_EQ(g.TextMatrix(1, Col::序), QStringLiteral("x"));
    f->MSFlexGrid1_MouseDown(vbLeftButton, 0, 1e7f, y);
    EXPECT_EQ(g.TextMatrix(0, Col::合同编号), QStringLiteral("▼合同编号"));
    EXPECT_EQ(column(*f, Col::合同编号), QStringList({"A", "B", "C"}));
    EXPECT_EQ(g.TextMatrix(1, Col::序), QStringLiteral("1"));

    // The marker survives a refresh.
    f->MSFlexGrid1_MouseDown(vbLeftButton, 0, headingX(g, Col::对方单位), y);
    f->Command1_Click();
    EXPECT_EQ(g.TextMatrix(0, Col::对方单位), QStringLiteral("▼对方单位"));
    EXPECT_EQ(column(*f, Col::合同编号), QStringList({"A", "B", "C"}));
}

TEST_F(ContractTest, QuickSearchListsCounterpartiesAndFindsTheirRows)
{
    addContract("A", "D01", "T1", "未提交", {{"对方单位", "乙公司"}});
    addContract("B", "D01", "T1", "未提交", {{"对方单位", "甲公司"}});
    addContract("C", "D01", "T2", "未提交", {{"对方单位", "乙公司"}});
    addContract("D", "D03", "T1", "未提交", {{"对方单位", "丁100%公司"}});
    addContract("E", "D01", "T3", "未提交", {{"对方单位", "租户公司"}});
    addContract("F", "D01", "T1", "未提交", {{"对方单位", "戊\r\n公司"}});
    auto* f = openList();
    f->Command13_Click();
    EXPECT_FALSE(f->Picture1->isEnabled());
    EXPECT_FALSE(f->MSFlexGrid1->isEnabled());
    EXPECT_TRUE(f->Picture3->isVisibleTo(f));
    EXPECT_FALSE(f->Command16->isEnabled());

    auto items = [&] {
        QStringList l;
        for (int i = 0; i < f->List1->count(); ++i) l << f->List1->item(i)->text();
        return l;
    };
    // Typing waits for a pause before it searches; the pause comes by itself.
    f->Text3->setText("乙");
    f->Text3->setText("乙公");
    EXPECT_TRUE(items().isEmpty()) << "no search while typing";
    QElapsedTimer waited;
    waited.start();
    while (items().isEmpty() && waited.elapsed() < 5000) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(items(), QStringList({"乙公司"}));
    auto type = [&](const char* text) {
        f->Text3->setText(QString::fromUtf8(text));
        f->flushQuickSearch();
    };
    type(" ");  // trimmed to nothing: every non-lease counterparty
    EXPECT_EQ(items().size(), 4);
    EXPECT_FALSE(items().contains("租户公司"));
    EXPECT_TRUE(items().contains("戊公司"));
    type("100%");
    EXPECT_EQ(items(), QStringList({"丁100%公司"}));
    type("0%公");
    EXPECT_EQ(items(), QStringList({"丁100%公司"}));
    type("1_0");
    EXPECT_TRUE(items().isEmpty()) << "a wildcard character is matched literally";
    type("'");
    EXPECT_TRUE(items().isEmpty());
    EXPECT_TRUE(boxes().isEmpty());

    f->Command14_Click();
    ASSERT_EQ(boxes().size(), 1);
    EXPECT_EQ(boxes()[0].text, QStringLiteral("请选择对方单位！"));
    EXPECT_EQ(boxes()[0].title, QStringLiteral("系统提示"));
    EXPECT_EQ(boxes()[0].icon(), vbInformation);

    type("乙");
    f->List1->setCurrentRow(0);
    f->Command14_Click();
    EXPECT_EQ(f->MSFlexGrid1->TextMatrix(f->MSFlexGrid1->Row(), frmCorvane::Col::合同编号), QStringLiteral("A"));
    EXPECT_TRUE(f->Command16->isEnabled());
    f->Command16_Click();
    EXPECT_EQ(f->MSFlexGrid1->TextMatrix(f->MSFlexGrid1->Row(), frmCorvane::Col::合同编号), QStringLiteral("C"));
    EXPECT_TRUE(f->Command16->isEnabled());
    f->Command16_Click();
    EXPECT_FALSE(f->Command16->isEnabled());

    // Another department's counterparty is offered but not in the list.
    type("丁");
    f->List1->setCurrentRow(0);
    f->Command14_Click();
    EXPECT_FALSE(f->Command16->isEnabled());
    EXPECT_EQ(boxes().size(), 1);

    f->Image1_Click(0);
    EXPECT_FALSE(f->Picture3->isVisibleTo(f));
    EXPECT_TRUE(f->Picture1->isEnabled());
    EXPECT_TRUE(f->MSFlexGrid1->isEnabled());
}

TEST_F(ContractTest, TheSearchPanelFollowsTheDrag)
{
    auto* f = openList();
    f->Command13_Click();
    const QPoint start = f->Picture3->pos();
    f->Picture3_MouseDown(vbLeftButton, 0, 150, 150);
    f->Picture3_MouseMove(vbLeftButton, 0, 300, 450);
    EXPECT_EQ(f->Picture3->pos(), start + QPoint(10, 20));
    f->Picture3_MouseUp(vbLeftButton, 0, 300, 450);
    f->Picture3_MouseMove(0, 0, 600, 600);
    EXPECT_EQ(f->Picture3->pos(), start + QPoint(10, 20));
}

// Quick search with what a clerk might type: found literally, nothing else,
// and no statement broken by it.
TEST_F(ContractTest, QuickSearchFindsHostileTextsLiterally)
{
    int n = 0;
    QStringList stored;
    for (const QString& hostile : hostileTexts()) {
        const QString kept = singleLineText(hostile).trimmed();  // as the search box keeps it
        if (kept.size() > 200) continue;  // no counterparty column holds it
        addContract(QStringLiteral("Q-%1").arg(++n), "D01", "T1", contract::履行中, {{"对方单位", kept}});
        stored << kept;
    }
    for (const QString& hostile : hostileTexts()) {
        const QString typed = singleLineText(hostile).trimmed();
        SCOPED_TRACE(typed.left(20).toStdString());
        const auto found = contract::counterpartiesHolding(typed);
        ASSERT_TRUE(found) << found.error().description.toStdString();
        for (const QString& name : *found) EXPECT_TRUE(name.contains(typed, Qt::CaseInsensitive)) << name.toStdString();
        if (stored.contains(typed)) { EXPECT_TRUE(found->contains(typed)); }
    }
}
