// The bill query window: the department's issued bills of a contract, each
// once and pre-issued ones marked; a chosen bill's data and lines; and the
// collection of a pre-issued bill, refused before its issue day, written
// whole, and refused when another workstation collected it first.
#include <gtest/gtest.h>

#include "BillAfterReceiptFixture.h"
#include "platform/TextMeasure.h"
#include "bills/frm票据查询.h"
#include "testsupport/InputCheck.h"
#include "testsupport/LayoutCheck.h"

namespace corvane::test {
namespace {

class BillQuery : public BillAfterReceipt {
protected:
    void SetUp() override
    {
        BillAfterReceipt::SetUp();
        addContract(QStringLiteral("HT-2"));
        const qint64 other = addInstalment(QStringLiteral("HT-2"), QDate(2026, 1, 10), QStringLiteral("100.00"));
        // Collected, covering two instalments.
        issue(QStringLiteral("00000011"), QStringLiteral("D01"), QDateTime(QDate(2026, 12, 1), QTime(10, 0)),
              QDateTime(QDate(2026, 12, 2), QTime(0, 0)), QStringLiteral("刘洋"), {a, b});
        // Pre-issued, not collected yet.
        issue(QStringLiteral("00000012"), QStringLiteral("D01"), QDateTime(QDate(2026, 12, 5), QTime(0, 0)), QDateTime(),
              QString(), {c});
        issue(QStringLiteral("00000013"), QStringLiteral("D02"), QDateTime(QDate(2026, 12, 5), QTime(0, 0)), QDateTime(),
              QString(), {c});  // another department's
        issue(QStringLiteral("00000014"), QStringLiteral("D01"), QDateTime(), QDateTime(), QString(), {c});  // not issued
        issue(QStringLiteral("00000015"), QStringLiteral("D01"), QDateTime(QDate(2026, 12, 5), QTime(0, 0)), QDateTime(),
              QString(), {other});  // another contract's
        exec(QStringLiteral("INSERT INTO 票据开票数据 (票据编号, 入库单编号, 项目, 摘要, 单位, 数量, 单价, 金额, 税率, 税额, 科目代号)"
                            " VALUES ('00000011', 'B1', '物业服务费', '2026年1月至2026年2月物业服务费', '月', NULL, 12.5, 800,"
                            " 0.06, 45.28, NULL), ('00000011', 'B1', NULL, NULL, NULL, 2, NULL, NULL, NULL, NULL, '5101')"));
    }
    void issue(const QString& number, const QString& dept, const QDateTime& issued, const QDateTime& collected,
               const QString& receiver, const std::vector<qint64>& plans)
    {
        exec(QStringLiteral("UPDATE 票据 SET 开票部门编号 = ?, 开票日期 = ?, 收款日期 = ?, 收款人 = ?, 付款人 = ?, 金额 = 800,"
                            " 税额 = 45.28, 预开 = ?, 开票人 = '王芳', 税号 = '9144' WHERE 入库单编号 = 'B1' AND 票据编号 = ?"),
             {dept, dateTimeValue(issued), dateTimeValue(collected),
              receiver.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(receiver),
              QStringLiteral("付款人") + number.right(2), collected.isValid() ? 0 : 1, number});
        for (qint64 plan : plans)
            exec(QStringLiteral("INSERT INTO 合同收款记录 (合同收款计划ID, 收款金额, 票据编号, 入库单编号) VALUES (?, 1, ?, 'B1')"),
                 {plan, number});
    }
    // The window as the receipt window's button opens it, held open for `script`.
    void query(const std::function<void(frm票据查询&)>& script)
    {
        bool ran = false;
        onModal<frm票据查询>([&](frm票据查询& q) {
            script(q);
            ran = true;
        });
        open()->Command3_Click();
        ASSERT_TRUE(ran);
    }
    static QStringList items(const QListWidget* list)
    {
        QStringList out;
        for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
        return out;
    }
    static QStringList values(const frm票据查询& q)
    {
        QStringList out;
        for (const QLabel* l : q.Label2) out << l->text();
        return out;
    }
    static void choose(frm票据查询& q, int row) { q.List1->setCurrentRow(row); }
};

TEST_F(BillQuery, ListsTheDepartmentsIssuedBillsOfTheContractOnceAndShowsTheFirst)
{
    Login().当前部门名称 = QStringLiteral("第一管理处");
    query([](frm票据查询& q) {
        EXPECT_EQ(q.Caption(), "票据查询");
        EXPECT_EQ(q.Tag, "HT-1");
        EXPECT_EQ(q.panels[1]->text(), "第一管理处 ");
        EXPECT_EQ(q.panels[3]->text(), "收费员 ");
        EXPECT_EQ(items(q.List1), (QStringList{"00000011", "00000012 [预开]"}));
        EXPECT_EQ(q.List1->currentRow(), 0);
        EXPECT_EQ(values(q), (QStringList{"付款人11", "9144", "", "", "2026-12-01 10:00:00", "800.00", "45.28", "王芳",
                                          "刘洋", "2026-12-02"}));
        // Collected by 刘洋: shown, locked, not collectable again.
        EXPECT_EQ(q.Combo3->currentText(), "刘洋");
        EXPECT_FALSE(q.Combo3->isEnabled());
        EXPECT_FALSE(q.Command2->isEnabled());
        EXPECT_FALSE(q.Picture2->isEnabled());
        EXPECT_EQ(layoutProblems(&q), QStringList());
        EXPECT_EQ(inputProblems(&q, {}).join(u'\n').toStdString(), "");  // nothing is typed, only chosen
    });
}

// Opened from the receipt window, the query sits over its middle: its edge
// and status line cut none of the receipt window's buttons and figures
// (合计收款 among them). It fits a 1024x768 screen and Esc closes it as 退出 does.
TEST_F(BillQuery, OpensClearOfTheReceiptWindowsButtonsAndClosesWithEsc)
{
    bool ran = false;
    onModal<frm合同收款>([&](frm合同收款& w) {
        onModal<frm票据查询>([&](frm票据查询& q) {
            ran = true;
            EXPECT_EQ(coverProblems(q, w), QStringList());
            EXPECT_EQ(screenProblems(q), QStringList());
            EXPECT_EQ(escapeProblems(q, q.Command4), QStringList());
        });
        w.Command3_Click();
    });
    contract::contractHandovers().frm合同收款({QStringLiteral("HT-1"), QStringLiteral("HT-1合同"),
                                             QStringLiteral("D01 第一管理处"), QString()});
    EXPECT_TRUE(ran);
}

TEST_F(BillQuery, LinesAreFormattedColouredAndWidenedToTheirText)
{
    query([](frm票据查询& q) {
        const FlexGrid* g = q.MSFlexGrid1;
        ASSERT_EQ(g->Rows(), 3);
        QStringList headings, first, second;
        for (int c = 0; c < 10; ++c) {
            headings << g->TextMatrix(0, c);
            first << g->TextMatrix(1, c);
            second << g->TextMatrix(2, c);
        }
        EXPECT_EQ(headings, (QStringList{"项  目", "摘  要", "单位", "数量", "单价", "金额", "税率", "税额", "", "对应科目"}));
        EXPECT_EQ(first, (QStringList{"物业服务费", "2026年1月至2026年2月物业服务费", "月", "0", "12.50", "800.00", "0.06",
                                      "45.28", "", ""}));
        EXPECT_EQ(second, (QStringList{"", "", "", "2", "0.00", "0.00", "0.00", "0.00", "", "5101"}));
        EXPECT_FALSE(g->TextMatrix(1, 10).isEmpty());
        for (int c = 0; c < 11; ++c) EXPECT_EQ(g->FixedAlignment(c), flexAlignCenterCenter) << c;
        EXPECT_EQ(g->ColWidth(8), 45);
        EXPECT_EQ(g->ColWidth(10), 0);
        EXPECT_EQ(g->CellBackColor(0, 8), QColor(255, 0, 0));
        EXPECT_EQ(g->CellBackColor(1, 8), QColor(255, 0, 0));
        EXPECT_EQ(g->CellBackColor(2, 9), QColor(230, 210, 240));
        EXPECT_GE(g->ColWidth(1), int(TextWidthTwips(q.font(), g->TextMatrix(1, 1))) + 90);
    });
}

TEST_F(BillQuery, CollectingAPreIssuedBillOnOrAfterItsIssueDay)
{
    query([this](frm票据查询& q) {
        choose(q, 1);
        EXPECT_TRUE(q.Command2->isEnabled());
        EXPECT_TRUE(q.Picture2->isEnabled());
        EXPECT_TRUE(q.Combo3->isEnabled());
        EXPECT_EQ(q.Combo3->currentIndex(), -1);
        EXPECT_TRUE(q.MSFlexGrid1->Rows() == 1);

        auto& boxes = doubles().boxes->shown;
        q.DTPicker1->setDate(QDate(2026, 12, 5));
        doubles().boxes->answers = {vbYes};
        q.Command2_Click();
        ASSERT_EQ(boxes.size(), 2);
        EXPECT_EQ(boxes[0].text, "确认预开票据收款？\r\n收款日期为：2026-12-05");
        EXPECT_EQ(boxes[0].buttons(), vbYesNo);
        EXPECT_EQ(boxes[1].text, "请确定收款人");

        q.Combo3->setCurrentIndex(q.Combo3->findText(QStringLiteral("王芳")));
        q.Combo2->setCurrentIndex(q.Combo2->findText(QStringLiteral("银行转账")));
        q.DTPicker1->setDate(QDate(2026, 12, 4));
        doubles().boxes->answers = {vbYes};
        q.Command2_Click();
        ASSERT_EQ(boxes.size(), 4);
        EXPECT_EQ(boxes[3].text, "收款日期不能小于开票日期！");
        EXPECT_EQ(boxes[3].title, ExeName());

        q.DTPicker1->setDate(QDate(2026, 12, 4));
        doubles().boxes->answers = {vbNo};
        q.Command2_Click();
        EXPECT_EQ(boxes.size(), 5);
        EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM 票据 WHERE 票据编号 = '00000012' AND 收款日期 IS NULL")), 1);

        q.DTPicker1->setDate(QDate(2026, 12, 5));  // the issue day itself
        doubles().boxes->answers = {vbYes};
        q.Command2_Click();
        EXPECT_EQ(boxes.size(), 6);
        EXPECT_EQ(column(QStringLiteral("SELECT 收款人, 收款方式 FROM 票据 WHERE 票据编号 = '00000012'")),
                  QStringList{"王芳/银行转账"});
        EXPECT_EQ(dateTimeOf(selectFirst(QStringLiteral("SELECT 收款日期 FROM 票据 WHERE 票据编号 = '00000012'"))->value(0)),
                  "2026-12-05 00:00:00");
        const auto rows = selectRows(QStringLiteral("SELECT 收款日期 FROM 合同收款记录 WHERE 票据编号 = '00000012'"));
        ASSERT_EQ(rows->size(), 1u);
        EXPECT_EQ(dateTimeOf(rows->front().value(0)), "2026-12-05 00:00:00");
        EXPECT_EQ(items(q.List1), (QStringList{"00000011", "00000012"}));
        EXPECT_FALSE(q.Command2->isEnabled());

        choose(q, 0);
        choose(q, 1);
        EXPECT_EQ(q.Label2[8]->text(), "王芳");
        EXPECT_EQ(q.Label2[9]->text(), "2026-12-05");
        EXPECT_FALSE(q.Command2->isEnabled());
        EXPECT_FALSE(q.Combo3->isEnabled());
    });
}

TEST_F(BillQuery, ABillCollectedElsewhereMeanwhileIsRefusedAndTheListReloaded)
{
    query([this](frm票据查询& q) {
        choose(q, 1);
        {
            const auto other = openSecondConnection(QStringLiteral("other"));
            ASSERT_TRUE(executeQuiet(other->db(),
                                     QStringLiteral("UPDATE 票据 SET 收款日期 = ?, 收款人 = '刘洋' WHERE 票据编号 = '00000012'"),
                                     {dateTimeValue(QDateTime(QDate(2026, 12, 6), QTime(0, 0)))}));
        }
        q.Combo3->setCurrentIndex(0);
        doubles().boxes->answers = {vbYes};
        q.Command2_Click();
        EXPECT_EQ(boxTexts().last(), "该票据已经收款");
        EXPECT_EQ(items(q.List1), (QStringList{"00000011", "00000012"}));
        EXPECT_EQ(column(QStringLiteral("SELECT 收款人 FROM 票据 WHERE 票据编号 = '00000012'")), QStringList{"刘洋"});
        EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM 合同收款记录 WHERE 收款日期 IS NOT NULL")), 0);
    });
}

TEST_F(BillQuery, AnEmptyTagListsNothingAndTheCollectorsAreTheDepartmentsStaff)
{
    auto* q = Forms::get<frm票据查询>();
    q->Form_Activate();
    EXPECT_EQ(q->List1->count(), 0);
    QStringList staff;
    for (int i = 0; i < q->Combo3->count(); ++i) staff << q->Combo3->itemText(i);
    EXPECT_EQ(staff, (QStringList{"王芳", "刘洋"}));
    EXPECT_EQ(q->Combo3->currentText(), "王芳");
    EXPECT_EQ(q->Combo2->currentText(), "现金");
    EXPECT_EQ(q->DTPicker1->date(), kReceiptToday);
}

}  // namespace
}  // namespace corvane::test
