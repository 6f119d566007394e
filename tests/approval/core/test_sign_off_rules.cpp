// Filling the sign-off form and the plan table, the document's bytes, and
// attachment names on their way to the approval program and back.
#include <gtest/gtest.h>

#include "approval/SignOffDocument.h"
#include "approval/SignOffStore.h"
#include "db/Schema.h"

namespace corvane::approval {
namespace {

TEST(SignOffForm, EveryPlaceholderAtEveryOccurrenceWithItsValueEscaped)
{
    SignOffValues v{"A<B & \"C\"", "GC-00000001", "D01 财务部", "T1 工程合同", "2026-01-01", "2026-12-31",
                    "1234.50",   "恒达>公司",  "是",         "第一条\n第二条"};
    const QString form = QStringLiteral("《合同名称》|《编号》|《合同部门》|《合同类型》|《起始日期》|《终止日期》|"
                                        "《合同金额》|《对方单位》|《供》|《合同主要条款或要点》|《编号》|《会签单编号》|《日期》");
    EXPECT_EQ(fillSignOff(form, v),
              "A&lt;B &amp; &quot;C&quot;|GC-00000001|D01 财务部|T1 工程合同|2026-01-01|2026-12-31|1234.50|恒达&gt;公司|是|"
              "第一条\n第二条|GC-00000001|《会签单编号》|《日期》");
    EXPECT_EQ(fillDocumentNumber(QStringLiteral("《会签单编号》 and 《会签单编号》"), signOffNumber(7)),
              "HTHQ-00000007 and HTHQ-00000007");
    // Near misses are text, not placeholders.
    EXPECT_EQ(fillSignOff(QStringLiteral("<编号> 《编号 》 编号"), v), "<编号> 《编号 》 编号");
}

TEST(SignOffForm, NumbersHaveEightDigits)
{
    EXPECT_EQ(signOffNumber(1), "HTHQ-00000001");
    EXPECT_EQ(signOffNumber(43), "HTHQ-00000043");
    EXPECT_EQ(signOffNumber(123456789), "HTHQ-123456789");
}

TEST(PlanTable, TheRowBlockRunsFromItsMarkerToTheFirstTableEndAfterIt)
{
    struct Case {
        const char* plan;
        bool cut;
        const char* head;
        const char* block;
        const char* tail;
    };
    const Case cases[] = {
        {"h<TR id=计划>r</TBODY></TABLE>t", true, "h", "<TR id=计划>r", "</TBODY></TABLE>t"},
        {"</TBODY></TABLE>h<TR id=计划1>r</TBODY></TABLE>x</TBODY></TABLE>", true, "</TBODY></TABLE>h", "<TR id=计划1>r",
         "</TBODY></TABLE>x</TBODY></TABLE>"},
        {"h<TR id=计划>r", false, "", "", ""},
        {"h</TBODY></TABLE>", false, "", "", ""},
        {"h<tr id=计划>r</tbody></table>", false, "", "", ""},
        {"", false, "", "", ""},
    };
    for (const Case& c : cases) {
        const auto cut = cutPlanTemplate(QString::fromUtf8(c.plan));
        ASSERT_EQ(cut.has_value(), c.cut) << c.plan;
        if (!cut) continue;
        EXPECT_EQ(cut->head, QString::fromUtf8(c.head));
        EXPECT_EQ(cut->block, QString::fromUtf8(c.block));
        EXPECT_EQ(cut->tail, QString::fromUtf8(c.tail));
    }
}

TEST(PlanTable, OneBlockPerInstalmentWithDatePlainAmountAndCondition)
{
    const QString plan = QStringLiteral("《收付款计划》<TR id=计划>[《日期》 《金额》 《条件》]</TBODY></TABLE>end");
    const std::vector<PlanInstalment> two{{QDate(2026, 3, 1), 100000, QStringLiteral("验收<合格>")},
                                          {QDate(2026, 9, 1), 100050, QString()}};
    const FilledPlan payments = fillPlan(plan, false, two);
    EXPECT_EQ(payments.outcome, FilledPlan::Filled);
    EXPECT_EQ(payments.text, "付款计划<TR id=计划>[2026-03-01 1000 验收&lt;合格&gt;]<TR id=计划>[2026-09-01 1000.5 ]</TBODY></TABLE>end");
    EXPECT_TRUE(fillPlan(plan, true, two).text.startsWith("收款计划<TR id=计划>["));

    // A block without placeholders repeats unchanged.
    EXPECT_EQ(fillPlan(QStringLiteral("h<TR id=计划>x</TBODY></TABLE>"), true, two).text,
              "h<TR id=计划>x<TR id=计划>x</TBODY></TABLE>");
    // No instalment: no plan table at all.
    const FilledPlan none = fillPlan(plan, true, {});
    EXPECT_EQ(none.outcome, FilledPlan::Filled);
    EXPECT_EQ(none.text, "");
}

TEST(PlanTable, AMalformedTemplateOrAnIncompleteInstalmentIsRefusedWhole)
{
    const QString plan = QStringLiteral("<TR id=计划>《日期》</TBODY></TABLE>");
    EXPECT_EQ(fillPlan(QStringLiteral("<TR id=计划>《日期》"), true, {{QDate(2026, 1, 1), 1, {}}}).outcome,
              FilledPlan::BadTemplate);
    EXPECT_EQ(fillPlan(QStringLiteral("no table"), true, {}).outcome, FilledPlan::BadTemplate);
    EXPECT_EQ(fillPlan(plan, true, {{QDate(2026, 1, 1), 1, {}}, {std::nullopt, 1, {}}}).outcome, FilledPlan::MissingValue);
    EXPECT_EQ(fillPlan(plan, true, {{QDate(2026, 1, 1), std::nullopt, {}}}).outcome, FilledPlan::MissingValue);
    EXPECT_EQ(fillPlan(plan, true, {{QDate(2026, 1, 1), std::nullopt, {}}}).text, "");
}

TEST(PlanTable, NoLengthLimitOnWhereTheMarkersSit)
{
    const QString padding(40000, QLatin1Char('x'));
    const QString plan = padding + QStringLiteral("<TR id=计划>《金额》") + padding + QStringLiteral("</TBODY></TABLE>");
    const FilledPlan filled = fillPlan(plan, true, {{QDate(2026, 1, 1), 250, {}}});
    EXPECT_EQ(filled.outcome, FilledPlan::Filled);
    EXPECT_EQ(filled.text.size(), plan.size() - QStringLiteral("《金额》").size() + 3);
}

TEST(SignOffDocument, TheTextIsLittleEndianUtf16WithoutMark)
{
    EXPECT_EQ(documentBytes(QStringLiteral("abc")), QByteArray::fromHex("610062006300"));
    EXPECT_EQ(documentBytes(QStringLiteral("合")), QByteArray::fromHex("0854"));
    EXPECT_EQ(documentBytes(QString()), QByteArray());
}

TEST(SignOffDocument, AttachmentNamesAreCutAtTheirLastPointAndComeBackWhole)
{
    struct Case {
        const char* name;
        const char* title;
        const char* extension;
    };
    const Case cases[] = {
        {"合同扫描件.pdf", "合同扫描件", "pdf"}, {"报价.v2.final.xlsx", "报价.v2.final", "xlsx"},
        {"说明", "说明", ""},                    {"结尾.", "结尾", ""},
        {".profile", "", "profile"},             {"", "", ""},
    };
    for (const Case& c : cases) {
        const auto [title, extension] = splitAttachmentName(QString::fromUtf8(c.name));
        EXPECT_EQ(title, QString::fromUtf8(c.title)) << c.name;
        EXPECT_EQ(extension, QString::fromUtf8(c.extension)) << c.name;
        if (QString::fromUtf8(c.name).contains(QLatin1Char('.'))) {
            EXPECT_EQ(title + QLatin1Char('.') + extension, QString::fromUtf8(c.name));
        }
    }
}

// A misspelt column fails here, not at a customer's.
TEST(SignOffStore, EveryColumnItNamesIsInTheSchema)
{
    for (const auto& [table, column] : columnsNamedBySignOffStore()) {
        const schema::Table* t = schema::table(table);
        ASSERT_NE(t, nullptr) << table.toStdString();
        EXPECT_NE(t->column(column), nullptr) << table.toStdString() << "." << column.toStdString();
    }
}

}  // namespace
}  // namespace corvane::approval
