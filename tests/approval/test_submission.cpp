#include <QThread>

#include "platform/Widgets.h"

#include "ApprovalFixture.h"
#include "approval/ApprovalStore.h"

namespace corvane::test {
namespace {

class Submission : public ApprovalTest {};

// What the countersign window was opened with, and its first proposal.
struct Opened {
    bool opened = false;
    QString mode, number, id, typeName, typeCode;
    QList<QStringList> rows;
    int treeNodes = 0;
};
Opened* watchCountersign()
{
    static Opened seen;
    seen = Opened();
    onModal<frm合同会签提交处理>([](frm合同会签提交处理& f) {
        seen.opened = true;
        seen.mode = f.Tag;
        seen.number = f.Text1[0]->text();
        seen.id = TagOf(f.Text1[0]);
        seen.typeName = f.Text1[2]->text();
        seen.typeCode = TagOf(f.Text1[2]);
        for (int r = 1; r < f.MSFlexGrid1->Rows(); ++r) {
            QStringList cells;
            for (int c = 0; c < 5; ++c) cells << f.MSFlexGrid1->TextMatrix(r, c);
            seen.rows << cells;
        }
        for (QTreeWidgetItemIterator it(f.TreeView1); *it; ++it) ++seen.treeNodes;
    });
    return &seen;
}

TEST_F(Submission, HeadAloneGoesToTheCountersignWindowWithTheHandOver)
{
    setType(QStringLiteral("T1"), false, true);
    auto* w = record();
    const Opened* seen = watchCountersign();
    w->Command9_Click();
    ASSERT_TRUE(seen->opened);
    EXPECT_EQ(texts(), QStringList());  // no 未设置处理 question
    EXPECT_EQ(seen->mode, "合同信息");
    EXPECT_EQ(seen->number, "HT-1");
    EXPECT_EQ(seen->id, QString::number(idOf("HT-1")));
    EXPECT_EQ(seen->typeName, "工程合同");
    EXPECT_EQ(seen->typeCode, "T1");
    EXPECT_EQ(seen->treeNodes, 3);
    ASSERT_EQ(seen->rows.size(), 1);
    EXPECT_EQ(seen->rows[0], (QStringList{"1", "D01 部门D01", "P01 财务经理", "张伟[主管]", "有"}));
    EXPECT_EQ(approval::submissionStateOf(*w).会签路径,
              (std::vector<approval::RouteStep>{{1, "D01", "P01", 1}}));
}

TEST_F(Submission, TemplateStepsFollowTheHeadStep)
{
    setType(QStringLiteral("T1"), false, true);
    threeSteps();
    auto* w = record();
    watchCountersign();
    w->Command9_Click();
    std::vector<int> numbers;
    for (const auto& s : approval::submissionStateOf(*w).会签路径) numbers.push_back(s.环节序号);
    EXPECT_EQ(numbers, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_TRUE(approval::submissionStateOf(*w).多级流转);
}

TEST_F(Submission, MissingHeadAsksAndAnEmptyRouteAsksWhetherApproved)
{
    setType(QStringLiteral("T1"), false, true);
    exec(QStringLiteral("UPDATE 岗位信息new SET 部门主管 = 0"));
    auto* w = record();
    // Go on without a head; not approved; no route by hand.
    doubles().boxes->answers = {vbYes, vbNo, vbNo};
    w->Command9_Click();
    EXPECT_EQ(texts(), (QStringList{"该合同类别设置了部门主管审批，但是[部门D01]部门主管不存在，是否继续提交？",
                                    "相应的合同流转路径未设置，是否为审批通过？", "是否采用自定义审批路径？"}));
    EXPECT_EQ(boxes()[0].icon(), vbInformation);
    EXPECT_EQ(boxes()[1].icon(), 0);
    EXPECT_TRUE(contractRow("HT-1").isNull("提交日期"));
    EXPECT_TRUE(doubles().runner->ran.isEmpty());

    // No: nothing is read further, nothing written.
    doubles().boxes->shown.clear();
    doubles().boxes->answers = {vbNo};
    w->Command9_Click();
    EXPECT_EQ(texts().size(), 1);
}

TEST_F(Submission, DirectApprovalWritesTheDayWithoutTimeAndReloads)
{
    auto* w = record();
    doubles().boxes->answers = {vbYes};
    w->Command9_Click();
    const Row r = contractRow("HT-1");
    EXPECT_EQ(r.text("合同状态"), "审批通过");
    EXPECT_EQ(r.value("流转通过").toInt(), 1);
    EXPECT_EQ(toDateTime(r.value("提交日期")), QDateTime(kToday, QTime(0, 0)));
    EXPECT_EQ(toDateTime(r.value("流转结束日期")), QDateTime(kToday, QTime(0, 0)));
    EXPECT_EQ(w->Command9->text(), "流转情况");
}

TEST_F(Submission, DirectApprovalOfAContractSubmittedMeanwhileIsRefused)
{
    auto* w = record();
    exec(QStringLiteral("UPDATE 合同信息 SET 提交日期 = ?, 合同状态 = '审批中'"), {QDateTime(kToday, QTime(8, 0))});
    doubles().boxes->answers = {vbYes};
    w->Command9_Click();
    EXPECT_EQ(lastText(), "该合同已经提交，不能重复提交！");
    EXPECT_EQ(contractRow("HT-1").text("合同状态"), "审批中");
    EXPECT_EQ(w->Command9->text(), "流转情况");
}

TEST_F(Submission, TheSignOffSettingChoosesTheRoad)
{
    setType(QStringLiteral("T1"), false, true);
    struct Case {
        bool row;
        QVariant value;
        bool countersign;
    };
    const Case cases[] = {{false, QVariant(), true},
                          {true, QVariant(QMetaType::fromType<QString>()), true},
                          {true, QStringLiteral(""), true},
                          {true, QStringLiteral("<html>《合同名称》</html>"), false}};
    for (const Case& c : cases) {
        exec(QStringLiteral("DELETE FROM SystemSetup WHERE Code = '合同会签单模板'"));
        if (c.row) exec(QStringLiteral("INSERT INTO SystemSetup (Code, Value) VALUES ('合同会签单模板', ?)"), {c.value});
        doubles().runner->ran.clear();
        doubles().boxes->shown.clear();
        auto* w = record();
        w->Command9_Click();
        EXPECT_EQ(!doubles().runner->ran.isEmpty(), c.countersign) << c.value.toString().toStdString();
        if (!c.countersign) { EXPECT_EQ(lastText(), contract::windowNotAvailableText("行政办公审批")); }
        EXPECT_TRUE(contractRow("HT-1").isNull("提交日期"));
    }
}

TEST_F(Submission, ATypeTextWithoutBlankStopsBeforeAnything)
{
    auto* w = record(QStringLiteral("T1"));
    w->Command9_Click();
    EXPECT_EQ(lastText(), "5|无效的过程调用或参数");
    EXPECT_EQ(boxes().last().icon(), 0);
}

TEST_F(Submission, TwoWorkstationsClaimTheContractOnce)
{
    const auto second = openSecondConnection(QStringLiteral("second"));
    approval::CountersignSubmission s;
    s.contract.number = QStringLiteral("HT-1");
    s.contract.id = idOf("HT-1");
    s.now = QDateTime(kToday, QTime(10, 0));
    s.steps = {{"D01", "P02", 1, 1}, {"D02", "P03", 0, 2}};
    EXPECT_EQ(approval::submitCountersign(second->db(), s).kind, approval::WriteOutcome::Done);
    EXPECT_EQ(approval::submitCountersign(DbConnection(), s).kind, approval::WriteOutcome::NoRow);
    EXPECT_EQ(approval::approveDirectly(DbConnection(), s.contract, kToday).kind, approval::WriteOutcome::NoRow);
    EXPECT_EQ(storedRoute(), (QStringList{"D01/P02/1/1/0", "D02/P03/0/2/0"}));
    EXPECT_EQ(storedCirculation(), QStringList{"D01/P02/1/1"});
}

TEST_F(Submission, ProgressButtonShowsTheListOfItsRoadAndPlacesThePanel)
{
    exec(QStringLiteral("UPDATE 合同信息 SET 提交日期 = ?, 合同状态 = '审批中'"), {QDateTime(kToday, QTime(8, 0))});
    exec(QStringLiteral("INSERT INTO 合同流转信息表 (合同编号, 环节序号, 部门编号, 岗位编号, 决策权, 同意) VALUES "
                        "('HT-1', 1, 'D01', 'P02', 1, 1), ('HT-1', 2, 'D02', 'P03', 0, NULL)"));
    exec(QStringLiteral("INSERT INTO XZ文件记录 (编号, 对应合同编号) VALUES ('HTHQ-00000001', 'HT-1')"));
    const qint64 doc = selectFirst(QStringLiteral("SELECT UniqueID FROM XZ文件记录"))->value(0).toLongLong();
    exec(QStringLiteral("INSERT INTO XZ文件流转情况 (文件ID, 部门, 岗位, 顺序, 附加顺序, 公开, 回复内容, 回复日期, 是否同意) VALUES "
                        "(?, 'D01', 'P02', 1, NULL, NULL, NULL, NULL, NULL),"
                        "(?, 'D02', 'P03', 2, 1, 0, NULL, NULL, NULL),"
                        "(?, 'D02', 'P03', 3, NULL, NULL, ?, ?, 1)"),
         {doc, doc, doc, QStringLiteral("同意\r\n请办理"), QDateTime(kToday, QTime(11, 0))});

    auto* w = record();
    ASSERT_EQ(w->Command9->text(), "流转情况");
    w->Command9_Click();
    EXPECT_EQ(gridRows(*w->MSFlexGrid1), (QList<QStringList>{{"1", "财务部 会计", "王芳", "", "", ""},
                                                              {"2", "工程部 工程师", "", "", "", ""}}));
    EXPECT_EQ(w->MSFlexGrid1->ColAlignment(3), flexAlignLeftCenter);
    EXPECT_FALSE(w->Picture10->isHidden());
    EXPECT_EQ(w->Picture10->x(), px(30));
    EXPECT_EQ(pixelsToTwips(w->Picture10->y()),
              pixelsToTwips(px(pixelsToTwips(w->Picture3->contentsRect().height()) -
                               pixelsToTwips(w->Picture10->height()) - 45)));

    SetTag(w->Command9, QStringLiteral("HTHQ-00000001"));
    w->Command9_Click();
    EXPECT_EQ(gridRows(*w->MSFlexGrid1),
              (QList<QStringList>{{"1", "财务部 会计", "王芳", "", "", ""},
                                  {"2", "工程部 工程师", "空", "2026-12-10 11:00:00", "同意\r\n请办理", "同意"}}));
    EXPECT_GT(w->MSFlexGrid1->RowHeight(2), w->MSFlexGrid1->RowHeight(1));
}

}  // namespace
}  // namespace corvane::test
