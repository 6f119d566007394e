// A printed VAT invoice finished by the receipt window: its lines, its data
// and the receipt records together or not at all, and a bill another
// workstation issued or voided meanwhile refused.
#include <gtest/gtest.h>

#include "BillAfterReceiptFixture.h"
#include "db/Schema.h"
#include "platform/Tag.h"
#include "bills/BillFinishing.h"
#include "bills/BillIssueStore.h"

namespace corvane::test {
namespace {

using namespace corvane::receipts;

class BillFinishing : public BillAfterReceipt {
protected:
    void SetUp() override
    {
        BillAfterReceipt::SetUp();
        id11 = billId(QStringLiteral("B1"), QStringLiteral("00000011"));
        billWindowSeams().frm增值税发票打印 = [this](frm合同收款&, const VatInvoiceHandover&) {
            return std::optional(BillHandBack{QStringLiteral("B1"), QStringLiteral("00000011"), id11});
        };
    }
    QStringList bill() const
    {
        const auto r = selectFirst(QStringLiteral(
            "SELECT 开票部门编号, 管理处, 合同编号, 开票日期, 付款人, 税号, 地址, 账号, 备注, 开票人, 金额, 税额, 收款日期,"
            " 收款人, 收款方式, 预开 FROM 票据 WHERE ID = ?"),
                                   {id11});
        QStringList out;
        for (int i = 0; i < r->count(); ++i) {
            const QVariant v = r->value(i);
            if (i == 3 || i == 12) out << dateTimeOf(v);
            else if (i == 10 || i == 11) out << (v.isNull() ? QStringLiteral("NULL") : centsText(*centsOf(v)));
            else out << (v.isNull() ? QStringLiteral("NULL") : v.toString());
        }
        return out;
    }
    // 项目 … 不含税金额 of every line of the bill, with its bill id
    QStringList lines() const
    {
        QStringList out;
        const auto rows = selectRows(QStringLiteral(
            "SELECT 票据ID, 项目, 摘要, 单位, 数量, 单价, 金额, 税率, 税额, 科目代号, 收费项目代号, 应税科目, 不含税单价,"
            " 不含税金额, 非日常 FROM 票据开票数据 WHERE 入库单编号 = 'B1' AND 票据编号 = '00000011' ORDER BY ID"));
        for (const Row& r : *rows) {
            QStringList cells;
            for (int i = 0; i < r.count(); ++i)
                cells << ((i >= 4 && i <= 8) || i == 12 || i == 13 ? numberOf(r.value(i))
                                                                  : (r.value(i).isNull() ? QStringLiteral("NULL") : r.text(i)));
            out << cells.join(QLatin1Char('/'));
        }
        return out;
    }
    qint64 id11 = 0;
};

TEST_F(BillFinishing, ThePrintedBillGetsItsLinesDataAndReceiptsAndThePanelIsReset)
{
    auto* w = preparedBill();
    w->Text5[1]->setText(QStringLiteral("91440300"));
    w->Command16_Click();
    EXPECT_EQ(boxTexts(), QStringList());
    EXPECT_EQ(bill(), (QStringList{"D01", "GL01", "HT-1", "2026-12-10 00:00:00", "O'Brien 物业", "91440300", "NULL",
                                   "建设银行 6217", "NULL", "王芳", "800.00", "45.28", "2026-12-10 00:00:00", "王芳", "现金", "0"}));
    EXPECT_EQ(lines(), QStringList{QStringLiteral("%1/物业服务费/NULL/NULL/1.000000/800.000000/800.000000/0.060000/45.280000/"
                                                  "51WY01/WY01/2221/754.716981/754.720000/1")
                                       .arg(id11)});
    EXPECT_EQ(receipts(), (QStringList{receipt(a, "30000", "00000011", "B1"), receipt(b, "50000", "00000011", "B1")}));
    EXPECT_EQ(w->MSFlexGrid2->Rows(), 1);
    EXPECT_EQ(w->Text1[1]->text(), "0");
    EXPECT_EQ(w->Text1[3]->text(), "0");
    EXPECT_FALSE(w->Picture4->isVisibleTo(w));
    EXPECT_EQ(w->MSFlexGrid1->TextMatrix(1, 4), "300.00");
}

TEST_F(BillFinishing, APreIssuedBillLeavesTheReceiptColumnsButRecordsTheReceipts)
{
    auto* w = preparedBill();
    w->Check2->setChecked(true);
    w->Command16_Click();
    const QStringList row = bill();
    EXPECT_EQ(row.mid(12), (QStringList{"NULL", "NULL", "NULL", "1"}));
    EXPECT_EQ(row[3], "2026-12-10 00:00:00");
    EXPECT_EQ(receipts().size(), 2);
}

TEST_F(BillFinishing, CellsAreReadByTheirLeadingNumberAndEmptyAmountsStayNull)
{
    auto* w = preparedBill();
    w->MSFlexGrid2->setRows(4);
    const QString second[16] = {"车位费", "", "", "2.5个", "", "", "", "", "", "", "", "", "", "", "abc", "1e3"};
    for (int c = 0; c < 16; ++c)
        if (c != 8) w->MSFlexGrid2->setTextMatrix(2, c, second[c]);
    w->MSFlexGrid2->setTextMatrix(3, 1, QStringLiteral("no item, no line"));
    w->Command16_Click();
    ASSERT_EQ(boxTexts(), QStringList());
    const QStringList l = lines();
    ASSERT_EQ(l.size(), 2);
    EXPECT_EQ(l[1], QStringLiteral("%1/车位费/NULL/NULL/2.500000/NULL/NULL/0.000000/0.000000/NULL/NULL/NULL/0.000000/"
                                   "1.000000/1")
                        .arg(id11));
}

TEST_F(BillFinishing, AGridWithoutLinesStillCompletesTheBill)
{
    auto* w = preparedBill();
    w->MSFlexGrid2->setTextMatrix(1, 0, QString());
    w->Command16_Click();
    EXPECT_TRUE(lines().isEmpty());
    EXPECT_EQ(bill()[0], "D01");
    EXPECT_EQ(receipts().size(), 2);
}

TEST_F(BillFinishing, ABillIssuedElsewhereOrVoidedIsRefusedWithNothingWritten)
{
    for (const bool voided : {false, true}) {
        auto* w = preparedBill();
        if (voided) {
            exec(QStringLiteral("UPDATE 票据 SET 作废日期 = ? WHERE ID = ?"),
                 {dateTimeValue(QDateTime(kReceiptToday, QTime(8, 0))), id11});
        } else {
            // Another workstation finishes the same bill first, on its own connection.
            const auto other = openSecondConnection(QStringLiteral("other"));
            PrintedBill theirs;
            theirs.book = QStringLiteral("B1");
            theirs.number = QStringLiteral("00000011");
            theirs.billId = id11;
            theirs.department = QStringLiteral("D01");
            theirs.issueDate = theirs.receiptDate = kReceiptToday;
            theirs.payer = QStringLiteral("先到的付款人");
            theirs.total = theirs.taxTotal = QStringLiteral("1.00");
            ASSERT_EQ(finishPrintedBill(other->db(), theirs).kind, IssueOutcome::Done);
        }
        w->Command16_Click();
        EXPECT_EQ(boxTexts(), QStringList{"票据B1 00000011已被使用或作废，收款未记录"});
        EXPECT_TRUE(lines().isEmpty());
        EXPECT_TRUE(receipts().isEmpty());
        EXPECT_EQ(bill()[4], voided ? "NULL" : "先到的付款人");
        EXPECT_TRUE(w->Picture4->isVisibleTo(w));
        EXPECT_EQ(w->MSFlexGrid2->Rows(), 2);
        FormRegistry::instance().unloadAll();
        doubles().boxes->shown.clear();
        exec(QStringLiteral("UPDATE 票据 SET 开票日期 = NULL, 作废日期 = NULL, 付款人 = NULL WHERE ID = ?"), {id11});
    }
}

TEST_F(BillFinishing, AFailingReceiptRecordLeavesTheBillFreeAndWithoutLines)
{
    auto* w = preparedBill();
    failInsertsInto(QStringLiteral("合同收款记录"));
    w->Command16_Click();
    ASSERT_EQ(doubles().boxes->shown.size(), 1);
    EXPECT_EQ(doubles().boxes->shown[0].title, "提示");
    EXPECT_TRUE(lines().isEmpty());
    EXPECT_EQ(bill()[3], "NULL");
    EXPECT_TRUE(w->Picture4->isVisibleTo(w));
}

TEST_F(BillFinishing, EveryColumnTheIssueStoreNamesIsInTheSchema)
{
    for (const auto& [table, column] : columnsNamedByIssueStore()) {
        const schema::Table* t = schema::table(table);
        ASSERT_NE(t, nullptr) << qPrintable(table);
        EXPECT_NE(t->column(column), nullptr) << qPrintable(table + QLatin1Char('.') + column);
    }
}

TEST(CustomBillFinishing, TickedPlanRowsGoAndTheRestAreNumberedFromOne)
{
    const QPixmap tick = [] {
        QPixmap p(8, 8);
        p.fill(Qt::green);
        return p;
    }();
    struct Case {
        std::vector<bool> ticked;
        QStringList left;  // column 2 of the rows that remain
    } cases[] = {
        {{false, true, true, false}, {"r1", "r4"}},
        {{true, true, true}, {}},
        {{true}, {}},
        {{false, false}, {"r1", "r2"}},
        {{}, {}},
    };
    for (const Case& c : cases) {
        FlexGrid grid;
        grid.setCols(3);
        grid.setRows(int(c.ticked.size()) + 1);
        for (int r = 1; r < grid.Rows(); ++r) {
            grid.setTextMatrix(r, 0, QStringLiteral("9"));
            grid.setTextMatrix(r, 2, QStringLiteral("r%1").arg(r));
            grid.setRow(r);
            grid.setCol(1);
            if (c.ticked[size_t(r - 1)]) grid.setCellPicture(tick);
            else grid.setCellPicture(QPixmap(8, 8));  // a picture, but not the tick
        }
        自定义票据最终处理(grid, tick);
        QStringList left;
        for (int r = 1; r < grid.Rows(); ++r) {
            EXPECT_EQ(grid.TextMatrix(r, 0), QString::number(r));
            left << grid.TextMatrix(r, 2);
        }
        EXPECT_EQ(left, c.left);
    }
}

}  // namespace
}  // namespace corvane::test
