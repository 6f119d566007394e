#include "ApprovalFixture.h"
#include "approval/frm合同流转路径修改.h"
#include "testsupport/InputCheck.h"
#include "testsupport/LayoutCheck.h"

namespace corvane::test {
namespace {

class RouteEditor : public ApprovalTest {
protected:
    void SetUp() override
    {
        ApprovalTest::SetUp();
        addPost(QStringLiteral("P04"), QStringLiteral("出纳"), QStringLiteral("D01"), QStringLiteral("G1"));
        addPost(QStringLiteral("P05"), QStringLiteral("主管"), QStringLiteral("D03"), QStringLiteral("G1"));
        exec(QStringLiteral("UPDATE 职能部门new SET 发票领用 = 1"));
    }

    // The route of HT-1: P01..P05 in that order, sequential or parallel.
    void seedRoute(bool parallel = false, int steps = 5)
    {
        exec(QStringLiteral("DELETE FROM 合同实际流转路径设置"));
        const char* posts[][2] = {{"D01", "P01"}, {"D01", "P02"}, {"D02", "P03"}, {"D01", "P04"}, {"D03", "P05"}};
        for (int i = 0; i < steps; ++i)
            exec(QStringLiteral("INSERT INTO 合同实际流转路径设置 (合同编号, 部门编号, 岗位编号, 决策权, 环节序号, 单级流转)"
                                " VALUES ('HT-1', ?, ?, ?, ?, ?)"),
                 {posts[i][0], posts[i][1], i == 0 ? 1 : 0, parallel ? 0 : i + 1, parallel ? 1 : 0});
    }
    frm合同流转路径修改* open(int circulated = 2)
    {
        auto* f = Forms::get<frm合同流转路径修改>();
        f->Tag = QStringLiteral("HT-1");
        SetTag(f->Text13, QString::number(circulated));
        f->activate();
        return f;
    }
    // Stored posts in step order.
    static QStringList order()
    {
        QStringList out;
        const Rows rows = *selectRows(
            QStringLiteral("SELECT 岗位编号, 环节序号 FROM 合同实际流转路径设置 WHERE 合同编号 = 'HT-1' ORDER BY 环节序号, ID"));
        for (const Row& r : rows) out << r.text(0) + QLatin1Char('/') + r.text(1);
        return out;
    }
    static QStringList column(const FlexGrid& g, int c)
    {
        QStringList out;
        for (int r = 1; r < g.Rows(); ++r) out << g.TextMatrix(r, c);
        return out;
    }
    static void select(frm合同流转路径修改& f, int row)
    {
        f.MSFlexGrid1->setRow(row);
        f.MSFlexGrid1->setCol(3);
        f.MSFlexGrid1_Click();
    }
};

TEST_F(RouteEditor, ListsTheRouteAndMarksCirculatedSteps)
{
    seedRoute();
    auto* f = open(2);
    const FlexGrid& g = *f->MSFlexGrid1;
    EXPECT_EQ(gridRow(g, 1), (QStringList{"1", "HT-1", "D01 财务部", "P01 财务经理", "有", "1", "多级流转",
                                          selectFirst("SELECT MIN(ID) FROM 合同实际流转路径设置")->text(0)}));
    for (int r = 1; r <= 5; ++r)
        for (int c = 0; c <= 6; ++c)
            EXPECT_EQ(g.CellBackColor(r, c) == frm合同流转路径修改::kCirculated, r <= 2) << r << "," << c;
    EXPECT_NE(g.CellBackColor(1, 7), frm合同流转路径修改::kCirculated);
    EXPECT_FALSE(f->Check1->isChecked());
    EXPECT_TRUE(f->Command32[0]->isEnabled());
    EXPECT_EQ(problemsOf(f), QStringList());
}

// On a 1024x768 screen the window fits; it has no button of its own to
// close it, and Esc closes it as its title bar's close box does.
TEST_F(RouteEditor, OnTheSmallScreenEveryControlIsInReachAndEscCloses)
{
    seedRoute();
    auto* f = open();
    EXPECT_EQ(screenProblems(*f), QStringList());
    EXPECT_EQ(escapeProblems(*f, nullptr), QStringList());
}

TEST_F(RouteEditor, MovesSwapTwoStepsWithinTheUncirculatedOnes)
{
    struct Case {
        int button, row;
        QStringList stored;
        int selected;
        QString message;
    };
    const QStringList same{"P01/1", "P02/2", "P03/3", "P04/4", "P05/5"};
    const QStringList swapped{"P01/1", "P02/2", "P04/3", "P03/4", "P05/5"};
    const Case cases[] = {
        {0, 3, same, 3, ""},        // the first uncirculated step
        {0, 4, swapped, 3, ""},
        {1, 5, same, 5, ""},        // the last step
        {1, 3, swapped, 4, ""},
        {0, 2, same, 2, "已经流转不能改变环节序号！"},
    };
    for (const Case& c : cases) {
        seedRoute();
        doubles().boxes->shown.clear();
        auto* f = open(2);
        select(*f, c.row);
        f->Command32_Click(c.button);
        EXPECT_EQ(order(), c.stored) << c.button << " on " << c.row;
        EXPECT_EQ(f->MSFlexGrid1->Row(), c.selected) << c.button << " on " << c.row;
        EXPECT_EQ(texts(), c.message.isEmpty() ? QStringList() : QStringList{c.message});
        if (!c.message.isEmpty()) { EXPECT_EQ(boxes()[0].title, ExeName()); }
        Forms::unload<frm合同流转路径修改>();
    }
}

TEST_F(RouteEditor, AMoveOnAChangedRouteChangesNothing)
{
    seedRoute();
    auto* f = open(2);
    select(*f, 4);
    // Someone renumbered step 3 meanwhile: the second update would miss.
    exec(QStringLiteral("UPDATE 合同实际流转路径设置 SET 环节序号 = 9 WHERE 岗位编号 = 'P03'"));
    f->Command32_Click(0);
    EXPECT_EQ(lastText(), "流转路径已被修改，请重新操作！");
    EXPECT_EQ(order(), (QStringList{"P01/1", "P02/2", "P04/4", "P05/5", "P03/9"}));
    EXPECT_EQ(column(*f->MSFlexGrid1, 3).size(), 5);
}

TEST_F(RouteEditor, SequentialDeleteClosesTheGap)
{
    seedRoute();
    exec(QStringLiteral("INSERT INTO 合同流转信息表 (合同编号, 环节序号, 部门编号, 岗位编号) VALUES ('HT-1', 1, 'D01', 'P01')"));
    auto* f = open(2);
    select(*f, 2);
    f->Command8_Click();
    EXPECT_EQ(texts(), QStringList{"已经流转不能删除！"});
    select(*f, 3);
    f->Command8_Click();
    EXPECT_EQ(order(), (QStringList{"P01/1", "P02/2", "P04/3", "P05/4"}));
    EXPECT_EQ(column(*f->MSFlexGrid1, 0), (QStringList{"1", "2", "3", "4"}));
    EXPECT_EQ(column(*f->MSFlexGrid1, 5), (QStringList{"1", "2", "3", "4"}));
    EXPECT_EQ(f->MSFlexGrid1->CellBackColor(2, 0), frm合同流转路径修改::kCirculated);
    EXPECT_EQ(storedCirculation().size(), 1);

    seedRoute(false, 1);
    f = open(0);
    select(*f, 1);
    f->Command8_Click();
    EXPECT_EQ(f->MSFlexGrid1->Rows(), 1);
}

TEST_F(RouteEditor, ParallelDeleteKeepsDecidedRecords)
{
    seedRoute(true, 3);
    exec(QStringLiteral("INSERT INTO 合同流转信息表 (合同编号, 环节序号, 部门编号, 岗位编号, 日期, 同意) VALUES "
                        "('HT-1', 0, 'D01', 'P02', NULL, NULL), ('HT-1', 0, 'D02', 'P02', NULL, NULL),"
                        "('HT-1', 0, 'D01', 'P02', ?, 1), ('HT-1', 0, 'D01', 'P01', NULL, NULL)"),
         {QDateTime(kToday, QTime(8, 0))});
    auto* f = open(0);
    EXPECT_TRUE(f->Check1->isChecked());
    EXPECT_FALSE(f->Command32[0]->isEnabled());
    select(*f, 2);
    f->Command8_Click();
    EXPECT_EQ(order(), (QStringList{"P01/0", "P03/0"}));
    EXPECT_EQ(storedCirculation(), (QStringList{"D01/P02//0", "D01/P01//0"}));
    EXPECT_EQ(column(*f->MSFlexGrid1, 0), (QStringList{"1", "2"}));
    EXPECT_EQ(column(*f->MSFlexGrid1, 5), (QStringList{"0", "0"}));
}

TEST_F(RouteEditor, AddingAStep)
{
    seedRoute(false, 4);
    // A step whose post is unknown is not listed, yet keeps its number.
    exec(QStringLiteral("INSERT INTO 合同实际流转路径设置 (合同编号, 部门编号, 岗位编号, 决策权, 环节序号, 单级流转)"
                        " VALUES ('HT-1', 'D01', 'PX', 0, 5, 0)"));
    auto* f = open(0);
    f->Command6_Click();
    f->Text13->setText(QStringLiteral("D03 物业部"));
    EXPECT_EQ(f->Combo5->count(), 1);
    f->Command6_Click();
    f->Combo5->setCurrentText(QStringLiteral("P02 会计"));  // listed under another department
    f->Command6_Click();
    EXPECT_EQ(texts(), (QStringList{"请选择部门！", "请选择岗位！", "此岗位信息已存在！"}));

    f->Combo5->setCurrentIndex(0);
    f->Check2->setChecked(true);
    f->Command6_Click();
    EXPECT_EQ(gridRow(*f->MSFlexGrid1, 5).mid(0, 7),
              (QStringList{"5", "HT-1", "D03 物业部", "P05 主管", "有", "6", "多级流转"}));
    EXPECT_EQ(order().last(), "P05/6");
    EXPECT_EQ(storedCirculation(), QStringList());

    // Parallel: 环节序号 0 and the step's circulation record.
    seedRoute(true, 1);
    f = open(0);
    f->Check2->setChecked(false);
    f->Text13->setText(QStringLiteral("D02"));  // a code alone is its own code
    f->Combo5->setCurrentIndex(0);
    f->Command6_Click();
    EXPECT_EQ(gridRow(*f->MSFlexGrid1, 2).mid(4, 3), (QStringList{"无", "0", "单级流转"}));
    EXPECT_EQ(storedCirculation(), QStringList{"D02/P03/0/0"});

    // No route yet: sequential, and the kind comes from the box.
    exec(QStringLiteral("DELETE FROM 合同实际流转路径设置"));
    f = open(0);
    EXPECT_FALSE(f->Check1->isChecked());
    EXPECT_TRUE(f->Command32[1]->isEnabled());
    f->Text13->setText(QStringLiteral("D02 工程部"));
    f->Combo5->setCurrentIndex(0);
    f->Command6_Click();
    EXPECT_EQ(gridRow(*f->MSFlexGrid1, 1).mid(5, 2), (QStringList{"1", "多级流转"}));
}

TEST_F(RouteEditor, TheDepartmentTree)
{
    // Z1 holds invoices under Y0, which does not; A0 sorts before its
    // superior Z1; E1's link has ended; L1 and L2 point at each other;
    // M1 has two open links.
    addDepartment(QStringLiteral("Y0"), QStringLiteral("总部"), QStringLiteral("C1"));
    addDepartment(QStringLiteral("Z1"), QStringLiteral("分部"), QStringLiteral("C1"), QStringLiteral("Y0"));
    addDepartment(QStringLiteral("A0"), QStringLiteral("下属"), QStringLiteral("C1"), QStringLiteral("Z1"));
    addDepartment(QStringLiteral("E1"), QStringLiteral("旧部"), QStringLiteral("C1"), QStringLiteral("D01"));
    exec(QStringLiteral("UPDATE 上级部门new SET 终止日期 = ? WHERE 职能部门编号 = 'E1'"), {QDate(2020, 1, 1)});
    addDepartment(QStringLiteral("L1"), QStringLiteral("环一"), QStringLiteral("C1"), QStringLiteral("L2"));
    addDepartment(QStringLiteral("L2"), QStringLiteral("环二"), QStringLiteral("C1"), QStringLiteral("L1"));
    addDepartment(QStringLiteral("M1"), QStringLiteral("双管"), QStringLiteral("C1"), QStringLiteral("D03"));
    exec(QStringLiteral("INSERT INTO 上级部门new (职能部门编号, 上级部门编号, 起始日期) VALUES ('M1', 'D02', ?)"),
         {QDate(2001, 1, 1)});
    exec(QStringLiteral("UPDATE 职能部门new SET 发票领用 = 1 WHERE 职能部门编号 <> 'Y0'"));

    auto* f = open(0);
    auto parentOf = [&](const QString& code) {
        const QTreeWidgetItem* node = f->nodeByKey("B" + code);
        if (!node) return QStringLiteral("absent");
        return node->parent() ? node->parent()->text(0) : QStringLiteral("root");
    };
    const std::pair<QString, QString> cases[] = {
        {"D01", "root"},         {"D02", "D01 财务部"}, {"Y0", "root"},  {"Z1", "Y0 总部"},
        {"A0", "Z1 分部"},       {"E1", "absent"},      {"M1", "D02 工程部"},
    };
    for (const auto& [code, parent] : cases) EXPECT_EQ(parentOf(code), parent) << code.toStdString();
    // The loop ends in one root, the other department under it.
    EXPECT_EQ(int(parentOf("L1") == "root") + int(parentOf("L2") == "root"), 1);
    int nodes = 0;
    for (QTreeWidgetItemIterator it(f->TreeView1); *it; ++it) ++nodes;
    EXPECT_EQ(nodes, 9);

    f->Command3_Click();
    EXPECT_FALSE(f->TreeView1->isHidden());
    f->TreeView1->setCurrentItem(f->nodeByKey("BD01"));
    f->TreeView1_DblClick();
    EXPECT_TRUE(f->TreeView1->isHidden());
    EXPECT_EQ(f->Text13->text(), "D01 财务部");
    QStringList posts;
    for (int i = 0; i < f->Combo5->count(); ++i) posts << f->Combo5->itemText(i);
    EXPECT_EQ(posts, (QStringList{"P01 财务经理", "P02 会计", "P04 出纳"}));
}

// The department and post boxes hold "code name"; a typed code longer than
// the route's columns names nothing and is refused before anything is sent.
TEST_F(RouteEditor, TypedTextNeverOutgrowsTheRoutesColumns)
{
    seedRoute(false, 1);
    auto* f = open(0);
    // Stored by their first word only: checked below. The step number is a number.
    EXPECT_EQ(inputProblems(f, {}, {"Text13", "Combo5", "Text14"}).join(u'\n').toStdString(), "");
    const QString longCode(21, QLatin1Char('D'));
    const struct {
        QString department, post, message;
    } cases[] = {
        {longCode + QStringLiteral(" 部门"), QStringLiteral("P05 主管"), QStringLiteral("请选择部门！")},
        {QStringLiteral("D03 物业部"), QString(21, QLatin1Char('P')), QStringLiteral("请选择岗位！")},
    };
    for (const auto& c : cases) {
        boxes().clear();
        f->Text13->setText(c.department);
        f->Combo5->setCurrentText(c.post);
        f->Command6_Click();
        EXPECT_EQ(texts(), QStringList{c.message});
        EXPECT_EQ(order(), QStringList{"P01/1"});
    }
}

}  // namespace
}  // namespace corvane::test
