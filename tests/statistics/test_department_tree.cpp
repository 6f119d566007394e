#include <gtest/gtest.h>

#include "statistics/DepartmentTree.h"
#include "statistics/StatisticsStore.h"
#include "tests/statistics/StatisticsFixture.h"

namespace corvane::test {

using namespace statistics;

namespace {

// "code<parent" per node, in tree order.
QStringList shape(const std::vector<TreeNode>& nodes)
{
    QStringList out;
    for (const TreeNode& n : nodes) out << (n.parentCode.isEmpty() ? n.code : n.code + u'<' + n.parentCode);
    return out;
}

}  // namespace

TEST(WholeTree, SiblingOrderDecidesBetween2And10)
{
    const std::vector<DepartmentEntry> list{{"10", "十", ""}, {"2", "二", ""}, {"21", "二一", "2"}, {"100", "百", "10"}};
    EXPECT_EQ(shape(wholeTree(list, SiblingOrder::LengthThenCode)), QStringList({"2", "21<2", "10", "100<10"}));
    EXPECT_EQ(shape(wholeTree(list, SiblingOrder::Code)), QStringList({"10", "100<10", "2", "21<2"}));
}

TEST(WholeTree, LeavesOutMissingSuperiorsCyclesAndSecondEntries)
{
    const std::vector<DepartmentEntry> list{
        {"A", "甲", ""},    {"A1", "甲一", "A"}, {"A1", "甲一又", "B"},  // a second latest link: the first wins
        {"X", "无主", "Z"}, {"X1", "无主下", "X"},                        // Z is no department
        {"C1", "环一", "C2"}, {"C2", "环二", "C1"},                      // a cycle
        {"A11", "甲一一", "A1"}};
    const auto nodes = wholeTree(list, SiblingOrder::Code);
    EXPECT_EQ(shape(nodes), QStringList({"A", "A1<A", "A11<A1"}));
    EXPECT_EQ(nodes[1].name, QStringLiteral("甲一"));
    EXPECT_EQ(nodes[1].text(), QStringLiteral("A1 甲一"));
    EXPECT_EQ(nodes[1].key(), QStringLiteral("$A1"));
}

TEST(WholeTree, DeepChainNeedsNoRecursion)
{
    std::vector<DepartmentEntry> list{{"0", "根", ""}};
    for (int i = 1; i < 50000; ++i) list.push_back({QString::number(i), "部门", QString::number(i - 1)});
    const auto nodes = wholeTree(list, SiblingOrder::Code);
    ASSERT_EQ(nodes.size(), 50000u);
    EXPECT_EQ(nodes.back().parentCode, QStringLiteral("49998"));
}

TEST(Scope, ChoiceByRightAndCategory)
{
    struct Case {
        bool right;
        QString category;
        ScopeKind kind;
    } cases[] = {
        {true, "管理项目", ScopeKind::WholeTree},        {false, "职能部门", ScopeKind::WholeTree},
        {false, " 职能部门 ", ScopeKind::WholeTree},     {false, "分公司区域", ScopeKind::ManagedProjects},
        {false, "管理项目", ScopeKind::OwnDepartment},   {false, "", ScopeKind::OwnDepartment},
        {false, "其他", ScopeKind::OwnDepartment},
    };
    for (const Case& c : cases) EXPECT_EQ(chooseScope(c.right, c.category), c.kind) << c.category.toStdString();
}

TEST(Scope, ScopedTrees)
{
    EXPECT_EQ(shape(scopedTree(ScopeKind::OwnDepartment, "B1", "分公司", {{"P1", "项目"}})), QStringList({"B1"}));
    EXPECT_TRUE(scopedTree(ScopeKind::ManagedProjects, "B1", "分公司", {}).empty());
    EXPECT_TRUE(scopedTree(ScopeKind::ManagedProjects, "B1", "分公司", {{"B1", "自己"}}).empty());
    const auto nodes =
        scopedTree(ScopeKind::ManagedProjects, "B1", "分公司", {{" P1 ", " 项目一 "}, {"P2", "项目二"}, {"P1", "又一"}});
    EXPECT_EQ(shape(nodes), QStringList({"B1", "P1<B1", "P2<B1"}));
    EXPECT_EQ(nodes[0].text(), QStringLiteral("B1 分公司"));
    EXPECT_EQ(nodes[1].text(), QStringLiteral("P1 项目一"));
}

class DepartmentTreeDb : public StatisticsTest {
protected:
    void SetUp() override
    {
        StatisticsTest::SetUp();
        dept("D01", "总部", "职能部门");
        dept("D02", "工程部", "职能部门", "D01");
        dept("B1", "华东分公司", "分公司区域", "D01");
        dept("B2", "华南分公司", "分公司区域", "D01");
        dept("P1", "一号项目", "管理项目", "B1");
        dept("P2", "二号项目", "管理项目");
        link("P2", QString(), QDate(2001, 1, 1));  // current link, no superior
        dept("P3", "三号项目", "管理项目", "B2");
        dept("P4", "四号项目", "管理项目", "B1");  // no managed office
        dept("P5", "五号项目", "管理项目", "B1");
        office("P1", "G1");
        office("P1", "G1b");  // a second office: still one node
        office("P2", "G2");
        office("P3", "G3");
        office("P4", QVariant(QMetaType::fromType<QString>()));
        office("P5", "G5");
        exec("UPDATE 上级部门new SET 终止日期 = ? WHERE 职能部门编号 = 'P5'", {dateValue(QDate(2020, 1, 1))});
    }
    static QStringList scoped(const QString& code, const QString& name, bool* whole = nullptr)
    {
        const auto nodes = scopedDepartmentTree(code, name, SiblingOrder::Code, whole);
        EXPECT_TRUE(nodes.has_value()) << nodes.error().description.toStdString();
        return nodes ? shape(*nodes) : QStringList();
    }
};

TEST_F(DepartmentTreeDb, WholeTreeFollowsTheLatestLinkEndedOrNot)
{
    // D02 moved under B1 later; that link has ended but is still the latest.
    link("D02", "B1", QDate(2010, 1, 1), QDate(2015, 1, 1));
    dept("X1", "撤销部门", "职能部门", "D01");
    dept("X2", "撤销部门下级", "职能部门", "X1");
    endDept("X1");
    const auto nodes = wholeDepartmentTree(SiblingOrder::LengthThenCode);
    ASSERT_TRUE(nodes.has_value());
    EXPECT_EQ(shape(*nodes), QStringList({"P2", "D01", "B1<D01", "P1<B1", "P4<B1", "P5<B1", "D02<B1", "B2<D01", "P3<B2"}));
}

TEST_F(DepartmentTreeDb, ScopeOfEachKindOfUser)
{
    bool whole = false;
    EXPECT_EQ(scoped("D02", "工程部", &whole).size(), 9);
    EXPECT_TRUE(whole);
    // Its own project, and the project without a superior; not P4 (no office)
    // nor P5 (link ended), nor B2's.
    EXPECT_EQ(scoped("B1", "华东分公司", &whole), QStringList({"B1", "P1<B1", "P2<B1"}));
    EXPECT_FALSE(whole);
    EXPECT_EQ(scoped("B2", "华南分公司"), QStringList({"B2", "P2<B2", "P3<B2"}));
    EXPECT_EQ(scoped("P1", "一号项目"), QStringList({"P1"}));
    EXPECT_EQ(scoped("ZZ", "不存在"), QStringList({"ZZ"}));
    dept("N1", "无类别", QVariant(QMetaType::fromType<QString>()));
    EXPECT_EQ(scoped("N1", "无类别"), QStringList({"N1"}));
}

TEST_F(DepartmentTreeDb, BranchWithoutProjectsGetsAnEmptyTree)
{
    dept("B3", "西北分公司", "分公司区域", "D01");
    exec("DELETE FROM 设置管理处 WHERE 对应部门代号 = 'P2'");
    EXPECT_TRUE(scoped("B3", "西北分公司").isEmpty());
}

TEST_F(DepartmentTreeDb, SpecialRightIsReadForTheDepartmentAndPost)
{
    grantSpecialRight("P1", "POST1");
    EXPECT_EQ(hasSpecialRight("P1", "POST1"), true);
    EXPECT_EQ(hasSpecialRight("P1", "POST2"), false);
}

}  // namespace corvane::test
