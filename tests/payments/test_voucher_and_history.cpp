// The payment history and form view of the payment window, the voucher's
// data and approvers, and the voucher window's preview and printing.

#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>
#include <QCoreApplication>
#include <QImage>
#include <QTemporaryDir>

#include "payments/PaymentHistory.h"
#include "payments/PrintGrid.h"
#include "payments/VoucherStore.h"
#include "payments/frm财务凭证打印.h"
#include "platform/Widgets.h"
#include "tests/payments/PaymentFixture.h"
#include "tests/payments/PrintDoubles.h"
#include "testsupport/PdfPrinter.h"
#include "testsupport/PrintQueue.h"

namespace corvane::test {
namespace {

using namespace payments;

class HistoryTest : public PaymentTest {
protected:
    void SetUp() override
    {
        PaymentTest::SetUp();
        printers = &installTestPrinters(printDir.path(), TestPrinters::Recording);
        jobs = &printers->jobs;
        公司名称 = QStringLiteral("恒远物业");
        i1 = addInstalment("HT-1", QDate(2026, 3, 1), "600.00");
        i2 = addInstalment("HT-1", QDate(2026, 6, 1), "400.00");
    }
    void TearDown() override
    {
        Printing::setDevices(nullptr);
        公司名称.clear();
        PaymentTest::TearDown();
    }
    void pay(qint64 instalment, const QString& amount, const QDate& date, const QString& form,
             const QVariant& confirmation = QVariant(), int voided = 0, const QString& subject = QStringLiteral("5501"))
    {
        exec(QStringLiteral("INSERT INTO 合同付款记录 (合同付款计划ID, 付款金额, 付款日期, 凭证编号, 支付确认单编号, 科目代号, 作废)"
                            " VALUES (?, ?, ?, ?, ?, ?, ?)"),
             {instalment, amount, date, form, confirmation, subject, voided});
    }
    // The voucher window prints one form's voucher and closes.
    static void printVoucher(qint64 form)
    {
        auto* w = Forms::get<frm财务凭证打印>();
        w->Tag = QStringLiteral("报销单");
        w->Command4_1_Tag = QString::number(form);
        w->Form_Activate();
        w->Command1_Click();
        Forms::unload<frm财务凭证打印>();
    }
    qint64 formId(const QString& number)
    {
        return scalar(QStringLiteral("SELECT 报销单ID FROM 报销单表 WHERE 报销单编号 = ?"), {number}).toLongLong();
    }
    QTemporaryDir printDir;
    TestPrinters* printers = nullptr;
    std::vector<TestPrinters::Job>* jobs = nullptr;
    qint64 i1 = 0, i2 = 0;
};

TEST_F(HistoryTest, LinesGroupByDateFormConfirmationAndSubject)
{
    addForm("2026-D03-000001", QDate(2026, 3, 1), "500.00", {{"审批日期", QDate(2026, 3, 2)}, {"审批通过", 1}});
    addForm("2026-D03-000002", QDate(2026, 4, 1), "50.00");
    exec(QStringLiteral("INSERT INTO 报销支付确认单 (报销支付单编号, 支付日期) VALUES ('ZF-1', ?)"), {QDate(2026, 3, 5)});
    // Two instalments paid by one form on one day and subject: one line.
    pay(i1, "300.00", QDate(2026, 3, 1), "2026-D03-000001", "ZF-1");
    pay(i2, "200.00", QDate(2026, 3, 1), "2026-D03-000001", "ZF-1");
    // Another subject of the same form: a line of its own; a confirmation nobody keeps.
    pay(i2, "10.00", QDate(2026, 3, 1), "2026-D03-000001", "ZF-9\r\n", 0, QStringLiteral("5502"));
    pay(i1, "50.00", QDate(2026, 4, 1), "2026-D03-000002");
    pay(i1, "7.00", QDate(2026, 4, 2), "2026-D03-000002", QVariant(), 1);  // void
    pay(i1, "9.00", QDate(2026, 4, 3), "NO-SUCH-FORM");                   // no form: not listed

    openPayment([&](frm合同付款处理& w) {
        w.Command3_Click();
        EXPECT_FALSE(w.Picture1->isHidden());
        EXPECT_EQ(w.Label1[26]->text(), QStringLiteral("HT-1  电梯维修 "));
        FlexGrid& g = *w.MSFlexGrid2;
        ASSERT_EQ(g.Rows(), 4);
        EXPECT_EQ(g.TextMatrix(0, 5).trimmed(), QStringLiteral("支付确认单编号"));
        const QStringList first{"1", "2026-03-01", "500.00", "2026-D03-000001", "支付完成", "ZF-1", "2026-03-05", "点击查看"};
        for (int c = 0; c < 8; ++c) EXPECT_EQ(g.TextMatrix(1, c), first[c]) << c;
        EXPECT_EQ(g.TextMatrix(2, 2), QStringLiteral("10.00"));
        EXPECT_EQ(g.TextMatrix(2, 5), QStringLiteral("ZF-9"));
        EXPECT_EQ(g.TextMatrix(2, 6), QString());
        EXPECT_EQ(g.TextMatrix(3, 4), QStringLiteral("审批中"));
        EXPECT_EQ(g.TextMatrix(3, 5), QString());
        EXPECT_EQ(g.CellForeColor(1, 7), QColor(0, 0, 255));
        EXPECT_EQ(w.Label1[15]->text(), QStringLiteral("合计支付： 560.00  确认支付： 510.00"));
        // Voided records only when the box is ticked, and only at the next press.
        w.Check1->setChecked(true);
        EXPECT_EQ(g.Rows(), 4);
        w.Command3_Click();
        EXPECT_EQ(g.Rows(), 5);
        EXPECT_EQ(w.Label1[15]->text(), QStringLiteral("合计支付： 567.00  确认支付： 510.00"));
        w.Command6_Click();
        EXPECT_TRUE(w.Picture1->isHidden());
    });
}

TEST_F(HistoryTest, AContractWithoutPaymentsListsNothing)
{
    openPayment([&](frm合同付款处理& w) {
        w.Command3_Click();
        EXPECT_EQ(w.MSFlexGrid2->Rows(), 1);
        EXPECT_EQ(w.Label1[15]->text(), QStringLiteral("合计支付： 0.00  确认支付： 0.00"));
        w.MSFlexGrid2_DblClick();  // nothing to open
        EXPECT_TRUE(w.Picture2->isHidden());
    });
}

TEST_F(HistoryTest, FormViewTrailAndReturnNote)
{
    // Approved, then returned with a date but the flag still 0.
    addForm("2026-D03-000001", QDate(2026, 3, 1), "500.00",
            {{"审批日期", QDate(2026, 3, 2)}, {"审批通过", 1}, {"出纳退回日期", QDate(2026, 3, 3)},
             {"出纳退回原因", "帐号有误"}, {"报销费用类别", "管理费用"}, {"付款方式", "现金"}, {"报销日期", QDate(2026, 3, 1)},
             {"制单人", "张三"}});
    const qint64 id = formId("2026-D03-000001");
    exec(QStringLiteral("INSERT INTO 报销单明细 (报销单ID, 科目代号, 摘要, 金额) VALUES (?, '9999', '无此科目', '20.00')"), {id});
    exec(QStringLiteral("INSERT INTO 报销单审批 (报销单ID, 部门代号, 岗位代号, 审批环节序号, 同意, 审批意见, 审批日期, 审批人) VALUES "
                        "(?, 'D01', 'P01', 1, 1, ?, ?, '王五'), (?, 'D03', 'P03', 2, 0, NULL, NULL, NULL),"
                        "(?, 'D01', 'NOPOST', 3, 1, NULL, NULL, NULL), (?, 'D01', 'P02', 4, 0, '不同意', ?, '赵六')"),
         {id, QStringLiteral("同意\r\n第二行"), QDate(2026, 3, 2), id, id, id, QDate(2026, 3, 2)});
    pay(i1, "500.00", QDate(2026, 3, 1), "2026-D03-000001");

    openPayment([&](frm合同付款处理& w) {
        w.Command3_Click();
        EXPECT_EQ(w.MSFlexGrid2->TextMatrix(1, 4), QStringLiteral("审批完成"));
        w.MSFlexGrid2->setRow(1);
        w.MSFlexGrid2->setCol(7);
        w.MSFlexGrid2_Click();
        ASSERT_FALSE(w.Picture2->isHidden());
        EXPECT_EQ(w.Picture2_Tag, QString::number(id));
        EXPECT_EQ(w.Text11[0]->text(), QStringLiteral("2026-D03-000001"));
        EXPECT_EQ(w.Text11[3]->text(), QStringLiteral("现金"));
        EXPECT_EQ(w.Text11[4]->text(), QStringLiteral("2026-03-01"));
        // Lines by ID; a subject missing from 财务科目 shows and counts.
        ASSERT_EQ(w.MSFlexGrid5->Rows(), 3);
        EXPECT_EQ(w.MSFlexGrid5->TextMatrix(1, 3), QStringLiteral("维修费"));
        EXPECT_EQ(w.MSFlexGrid5->TextMatrix(2, 3), QString());
        // Each line's paper clip sits in the middle of its 附件 cell.
        for (int r = 1; r <= 2; ++r) {
            w.MSFlexGrid5->setRow(r);
            w.MSFlexGrid5->setCol(5);
            const QImage clip = w.MSFlexGrid5->CellPicture().toImage();
            ASSERT_FALSE(clip.isNull());
            EXPECT_NEAR(clip.width(), px(w.MSFlexGrid5->ColWidth(5)), 2);
            int left = clip.width(), right = -1;
            for (int y = 0; y < clip.height(); ++y)
                for (int x = 0; x < clip.width(); ++x)
                    if (qAlpha(clip.pixel(x, y)) > 0) {
                        left = std::min(left, x);
                        right = std::max(right, x);
                    }
            ASSERT_GE(right, left);
            EXPECT_NEAR((left + right) / 2.0, clip.width() / 2.0, 2.0);
        }
        EXPECT_EQ(w.Label1[54]->text(), QStringLiteral("￥520.00"));
        EXPECT_EQ(w.Label1[53]->text(), QStringLiteral("总计：人民币（伍佰贰拾圆整）"));
        // The trail leaves out the step without a post row.
        FlexGrid& t = *w.MSFlexGrid3;
        ASSERT_EQ(t.Rows(), 4);
        EXPECT_EQ(t.TextMatrix(1, 1), QStringLiteral("财务部 会计"));
        EXPECT_EQ(t.TextMatrix(1, 2), QStringLiteral("王五"));
        EXPECT_EQ(t.TextMatrix(1, 5), QStringLiteral("√"));
        EXPECT_GT(t.RowHeight(1), t.RowHeight(3));  // two lines of opinion
        EXPECT_EQ(t.TextMatrix(2, 2), QStringLiteral("李四"));  // the holder while pending
        EXPECT_EQ(t.TextMatrix(2, 4), QStringLiteral("在审批中"));
        EXPECT_EQ(t.TextMatrix(2, 5), QString());
        EXPECT_EQ(t.TextMatrix(3, 5), QStringLiteral("×"));
        // The return note opens for a form returned after approval.
        EXPECT_TRUE(w.Label3[1]->isEnabled());
        EXPECT_EQ(w.Text14->toPlainText(), QStringLiteral("帐号有误"));
        w.Label3_Click(1);
        EXPECT_FALSE(w.Picture5->isHidden());
        w.Label3_Click(4);
        EXPECT_TRUE(w.Picture5->isHidden());
        w.Label3_Click(0);
        EXPECT_FALSE(w.Picture7->isHidden());
        w.Label3_Click(5);
        EXPECT_TRUE(w.Picture7->isHidden());
        // 凭证打印 hands the form on show to the voucher window.
        bool opened = false;
        onModal<frm财务凭证打印>([&](frm财务凭证打印& v) {
            opened = true;
            EXPECT_EQ(v.Tag, QStringLiteral("报销单"));
            EXPECT_EQ(v.Command4_1_Tag, QString::number(id));
            EXPECT_TRUE(v.Command1_Tag.isEmpty());
        });
        w.Label3_Click(2);
        EXPECT_TRUE(opened);
        // A number nobody keeps: the view stays, without its form and voucher button.
        w.报销单显示(QStringLiteral("NONE"));
        EXPECT_TRUE(w.Picture2_Tag.isEmpty());
        EXPECT_TRUE(w.Label3[2]->isHidden());
        w.Label3_Click(3);
        EXPECT_TRUE(w.Picture2->isHidden());
    });
}

TEST_F(HistoryTest, ApproverNamesByKind)
{
    exec(QStringLiteral("INSERT INTO 岗位员工new (员工代号, 岗位代号, 入岗日期, 离岗日期) VALUES "
                        "('E002', 'P01', '2020-05-01', NULL), ('E001', 'P01', '2019-01-01', '2026-03-01')"));
    const struct {
        QString code;
        int kind;
        QString date, name;
    } cases[] = {{"D01", 1, "", "财务部"},          {"D99", 1, "", ""},
                 {"P01", 2, "2026-03-01", "张三"},  // both held it: the earlier entry
                 {"P01", 2, "2026-03-02", "李四"},  {"P01", 2, "2018-01-01", ""},
                 {"P01", 2, "", "李四"},            {"P01", 3, "2026-03-01", ""}};
    for (const auto& c : cases) EXPECT_EQ(GetApproverName(c.code, c.kind, c.date), c.name) << c.code.toStdString() << c.kind;
}

TEST_F(HistoryTest, VoucherDataOfAFormWithoutItsDepartment)
{
    addForm("2026-D09-000001", QDate(2026, 3, 1), "100.00",
            {{"部门代号", "D09"}, {"付款方式", QVariant()}, {"对方单位名称", "恒达公司"}, {"报销日期", QDate(2026, 3, 1)}});
    const qint64 id = formId("2026-D09-000001");
    const qint64 line = maxId(QStringLiteral("报销单明细"));
    exec(QStringLiteral("INSERT INTO 报销单明细 (报销单ID, 科目代号, 摘要, 金额) VALUES (?, '9999', '无科目', NULL)"), {id});
    exec(QStringLiteral("INSERT INTO 报销附件 (报销单明细ID, 附件数量) VALUES (?, 2), (?, 3)"), {line, line});
    exec(QStringLiteral("INSERT INTO 岗位员工new (员工代号, 岗位代号, 入岗日期) VALUES ('E001', 'P01', '2020-01-01')"));
    exec(QStringLiteral("INSERT INTO 报销单审批 (报销单ID, 部门代号, 岗位代号, 审批环节序号, 同意, 审批日期) VALUES "
                        "(?, 'D01', 'P01', 1, 1, ?), (?, 'D03', 'P03', 2, 0, ?), (?, 'D01', 'P01', 3, 0, NULL)"),
         {id, QDate(2026, 3, 2), id, QDate(2026, 3, 3), id});
    std::vector<DbError> unreadNames;
    const auto v = voucherData(id, unreadNames);
    ASSERT_TRUE(v) << v.error().description.toStdString();
    EXPECT_TRUE(unreadNames.empty());
    EXPECT_EQ(v->职能部门名称, QString());
    EXPECT_FALSE(v->付款方式.has_value());
    EXPECT_EQ(v->附件数量, QStringLiteral("5"));
    EXPECT_EQ(v->报销日期, QStringLiteral("2026-03-01"));
    ASSERT_EQ(v->lines.size(), 2u);
    EXPECT_EQ(v->lines[1].科目名称, QString());
    EXPECT_FALSE(v->lines[1].金额.has_value());
    ASSERT_EQ(v->trail.size(), 2u);  // dated steps, the latest first
    EXPECT_EQ(v->trail[0], std::make_pair(QStringLiteral("物业部"), QString()));
    EXPECT_EQ(v->trail[1], std::make_pair(QStringLiteral("财务部"), QStringLiteral("张三")));
    EXPECT_FALSE(voucherData(999999, unreadNames));

    // A post holder that cannot be read is left empty and handed back to the
    // window to report; the voucher goes on.
    setStatementFaultHook([](const QString& sql) -> std::optional<DriverFault> {
        if (!sql.startsWith(QStringLiteral("SELECT 员工档案.姓名"))) return std::nullopt;
        return DriverFault{QStringLiteral("断开"), {}, false};
    });
    const auto partly = voucherData(id, unreadNames);
    setStatementFaultHook(nullptr);
    ASSERT_TRUE(partly) << partly.error().description.toStdString();
    EXPECT_EQ(unreadNames.size(), 2u);
    ASSERT_EQ(partly->trail.size(), 2u);
    EXPECT_EQ(partly->trail[1], std::make_pair(QStringLiteral("财务部"), QString()));
    EXPECT_TRUE(doubles().boxes->shown.isEmpty());
}

TEST_F(HistoryTest, VoucherWindowPreviewsAndPrintsOneForm)
{
    addForm("2026-D03-000001", QDate(2026, 3, 1), "100.00", {{"付款方式", "现金"}, {"报销人", "张三"}});
    const qint64 id = formId("2026-D03-000001");
    auto* w = Forms::get<frm财务凭证打印>();
    w->Tag = QStringLiteral("报销单");
    w->Command4_1_Tag = QString::number(id);
    w->Form_Activate();
    EXPECT_TRUE(w->Label1->isHidden());
    for (QPushButton* b : w->Command4) EXPECT_FALSE(b->isEnabled());
    EXPECT_EQ(w->forms, std::vector<qint64>{id});
    const QImage& preview = w->preview().image();
    bool inked = false;
    for (int y = 0; y < preview.height() && !inked; y += 2)
        for (int x = 0; x < preview.width() && !inked; x += 2) inked = preview.pixelColor(x, y) != Qt::white;
    EXPECT_TRUE(inked);
    // The page sits in the middle of the box: as much room left as right.
    const QImage box = w->Picture1->grab().toImage();
    const int y = box.height() - 12;  // blank paper under the signatures
    int first = -1, last = -1;
    for (int x = 0; x < box.width(); ++x)
        if (qGray(box.pixel(x, y)) >= 250) last = x, first = first < 0 ? x : first;  // paper, not the box
    ASSERT_GE(first, 0);
    EXPECT_GT(first, 10);
    EXPECT_LE(std::abs(first - (box.width() - 1 - last)), 2);

    w->Command1_Click();
    ASSERT_EQ(jobs->size(), 1u);
    EXPECT_EQ(jobs->at(0).pages, 1);
    EXPECT_TRUE(jobs->at(0).ended);
    QStringList texts;
    for (const auto& s : jobs->at(0).texts()) texts << s.text;
    EXPECT_TRUE(texts.contains(QStringLiteral("恒远物业")));
    EXPECT_TRUE(texts.contains(QStringLiteral("受款人：")));
    EXPECT_TRUE(texts.contains(QStringLiteral("大写：壹佰圆整")));
    EXPECT_EQ(toDate(scalar(QStringLiteral("SELECT 凭证打印日期 FROM 报销单表 WHERE 报销单ID = ?"), {id})), kPayToday);
    // Printed again on a later day: the later date.
    doubles().clock->current = QDateTime(kPayToday.addDays(3), QTime(8, 0));
    w->Command1_Click();
    EXPECT_EQ(toDate(scalar(QStringLiteral("SELECT 凭证打印日期 FROM 报销单表 WHERE 报销单ID = ?"), {id})), kPayToday.addDays(3));
    w->Command2_Click();
    EXPECT_EQ(printers->setups, 1);
    w->Command3_Click();
    EXPECT_FALSE(Forms::find<frm财务凭证打印>());
}

// One current printer: the one chosen (选择打印机, or the print setup) is
// where the voucher and the listing print; with none installed both say so
// in the same words, and neither stamps or shows an error number.
TEST_F(HistoryTest, TheVoucherAndTheListingPrintOnTheOneCurrentPrinter)
{
    addForm("2026-D03-000001", QDate(2026, 3, 1), "100.00");
    const qint64 id = formId("2026-D03-000001");
    FlexGrid list;
    list.setFormatString(QStringLiteral("序|<名称"));
    list.setRows(2);
    list.setTextMatrix(1, 1, QStringLiteral("付款"));
    auto printBoth = [&] {
        printVoucher(id);
        PrintGrid(list, PrintSurface::vbTwips, QStringLiteral("合同付款清单"), QString(), true, 0);
    };

    doubles().dialogs->answers.push_back(QStringLiteral("PDF-2"));
    ASSERT_TRUE(Printing::choosePrinter(QStringLiteral("打印设置")));
    printBoth();
    printers->setupChoice = QStringLiteral("PDF-1");
    Forms::get<frm财务凭证打印>()->Command2_Click();
    Forms::unload<frm财务凭证打印>();
    printBoth();
    ASSERT_EQ(jobs->size(), 4u);
    const char* devices[] = {"PDF-2", "PDF-2", "PDF-1", "PDF-1"};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(jobs->at(i).device, QLatin1String(devices[i])) << i;
        EXPECT_TRUE(jobs->at(i).ended) << i;
    }
    EXPECT_EQ(jobs->at(0).document, QStringLiteral("财务凭证"));
    EXPECT_EQ(jobs->at(1).document, QStringLiteral("合同付款清单"));
    EXPECT_TRUE(boxes().isEmpty());

    exec(QStringLiteral("UPDATE 报销单表 SET 凭证打印日期 = NULL"));
    printers->installed.clear();
    printBoth();
    EXPECT_EQ(jobs->size(), 4u);
    QStringList texts;
    for (const auto& b : boxes()) texts << b.text;
    EXPECT_EQ(texts, (QStringList{Printing::kNoPrinter, Printing::kNoPrinter}));
    EXPECT_TRUE(scalar(QStringLiteral("SELECT 凭证打印日期 FROM 报销单表 WHERE 报销单ID = ?"), {id}).isNull());
}

TEST_F(HistoryTest, AFailedJobStampsNothing)
{
    addForm("2026-D03-000001", QDate(2026, 3, 1), "100.00");
    const qint64 id = formId("2026-D03-000001");
    auto* w = Forms::get<frm财务凭证打印>();
    w->Tag = QStringLiteral("报销单");
    w->Command4_1_Tag = QString::number(id);
    w->Form_Activate();
    printers->refuse = true;
    printers->refusal = QStringLiteral("打印机未就绪");
    w->Command1_Click();
    EXPECT_TRUE(scalar(QStringLiteral("SELECT 凭证打印日期 FROM 报销单表 WHERE 报销单ID = ?"), {id}).isNull());
    ASSERT_FALSE(boxes().isEmpty());
    EXPECT_EQ(boxes().back().text, QStringLiteral("打印机未就绪"));
}

TEST_F(HistoryTest, ConfirmationModePagesThroughTheTickedForms)
{
    QList<qint64> ids;
    for (int i = 1; i <= 3; ++i) {
        addForm(QStringLiteral("2026-D03-00000%1").arg(i), QDate(2026, 3, 1), "10.00");
        ids << maxId(QStringLiteral("报销单表"), QStringLiteral("报销单ID"));
    }
    FlexGrid cash;
    cash.setCols(4);
    cash.setRows(4);
    for (int r = 1; r <= 3; ++r) {
        cash.setTextMatrix(r, 3, QString::number(ids[r - 1]));
        cash.setRow(r);
        cash.setCol(2);
        if (r != 2) cash.setCellPicture(frm合同付款处理::checkMark());
    }
    auto* w = Forms::get<frm财务凭证打印>();
    w->Tag = QStringLiteral("报销支付确认");
    w->Command1_Tag = QStringLiteral("现金");
    w->confirmCashGrid = &cash;
    w->Form_Activate();
    EXPECT_EQ(w->forms, (std::vector<qint64>{ids[0], ids[2]}));
    EXPECT_EQ(w->Label1->text(), QStringLiteral("第 1 张 共 2 张"));
    w->Command4_Click(0);
    EXPECT_EQ(w->Command4_0_Tag, QStringLiteral("1"));
    w->Command4_Click(3);
    EXPECT_EQ(w->Label1->text(), QStringLiteral("第 2 张 共 2 张"));
    w->Command4_Click(1);
    EXPECT_EQ(w->Command4_0_Tag, QStringLiteral("2"));
    w->Command1_Click();
    ASSERT_EQ(jobs->size(), 1u);
    EXPECT_EQ(jobs->at(0).pages, 2);  // one job, a page a voucher
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM 报销单表 WHERE 凭证打印日期 IS NOT NULL")).toInt(), 2);
    Forms::unload<frm财务凭证打印>();
    // No ticked row: nothing loaded, the caption keeps its design text.
    FlexGrid none;
    none.setCols(4);
    none.setRows(2);
    w = Forms::get<frm财务凭证打印>();
    w->Tag = QStringLiteral("报销支付确认");
    w->Command1_Tag = QStringLiteral("网上银行");
    w->confirmBankGrid = &none;
    w->Form_Activate();
    EXPECT_TRUE(w->forms.empty());
    EXPECT_EQ(w->Label1->text(), QStringLiteral("Label1"));
}

// Through Qt's native printer on a real print queue: the PDF the queue's
// device wrote has the pages, and every text where the layer drew it.
TEST_F(HistoryTest, OnARealPrintQueueTheVoucherAndTheListingLandWhereTheyWereDrawn)
{
    if (const QString why = printQueueMissing(); !why.isEmpty()) GTEST_SKIP() << why.toStdString();
    // This run's own name finds its jobs among those of the tests running at once.
    公司名称 = QStringLiteral("恒远物业%1").arg(QCoreApplication::applicationPid());
    addForm("2026-D03-000001", QDate(2026, 3, 1), "100.00", {{"报销日期", QDate(2026, 3, 1)}});
    const qint64 id = formId("2026-D03-000001");
    FlexGrid list;
    list.setFormatString(QStringLiteral("序|<名称|>金额"));
    list.setRows(61);
    for (int r = 1; r <= 60; ++r) {
        list.setTextMatrix(r, 0, QString::number(r));
        list.setTextMatrix(r, 1, QStringLiteral("清单行%1").arg(r));
        list.setTextMatrix(r, 2, QStringLiteral("%1.00").arg(r * 100));
    }
    auto printBoth = [&] {
        printVoucher(id);
        EXPECT_EQ(PrintGrid(list, PrintSurface::vbTwips, QStringLiteral("合同付款清单"), QStringLiteral("合同编号HT-1"), true, 0),
                  GridPrintOutcome::Printed);
    };
    QTemporaryDir dir;
    TestPrinters& recording = installQueueRecording(dir.path());
    printBoth();
    ASSERT_EQ(recording.jobs.size(), 2u);
    const TestPrinters::Job voucher = recording.jobs[0], listing = recording.jobs[1];
    ASSERT_GT(listing.pages, 1);

    printOnQueue();
    printBoth();
    EXPECT_TRUE(boxes().isEmpty());
    const QString voucherPdf = waitForQueuedJob({公司名称, QStringLiteral("凭证类型：")});
    const QString listingPdf = waitForQueuedJob({公司名称, QStringLiteral("清单行60")});
    ASSERT_FALSE(voucherPdf.isEmpty()) << "the queue wrote no voucher";
    ASSERT_FALSE(listingPdf.isEmpty()) << "the queue wrote no listing";
    EXPECT_EQ(pdfPageCount(voucherPdf), voucher.pages);
    EXPECT_EQ(pdfPageCount(listingPdf), listing.pages);
    EXPECT_EQ(textsNotInPlace(voucher.steps, voucherPdf).join(QLatin1Char('\n')).toStdString(), "");
    EXPECT_EQ(textsNotInPlace(listing.steps, listingPdf).join(QLatin1Char('\n')).toStdString(), "");
}

TEST_F(HistoryTest, VoucherPdfCarriesTheTextsInPlace)
{
    addForm("2026-D03-000001", QDate(2026, 3, 1), "100.00", {{"报销日期", QDate(2026, 3, 1)}});
    QTemporaryDir dir;
    TestPrinters& pdf = installTestPrinters(dir.path());
    auto* w = Forms::get<frm财务凭证打印>();
    w->Tag = QStringLiteral("报销单");
    w->Command4_1_Tag = QString::number(formId("2026-D03-000001"));
    w->Form_Activate();
    w->Command1_Click();
    ASSERT_EQ(pdf.jobs.size(), 1u);
    const QString path = pdf.jobs[0].file;
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, QStringLiteral("-")});
    if (!p.waitForStarted()) GTEST_SKIP() << "pdftotext is missing";
    p.waitForFinished();
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    EXPECT_EQ(html.count(QStringLiteral("<page ")), 1);
    // The left edge of a word, in points.
    auto left = [&](const QString& word) {
        const QRegularExpression re(QStringLiteral("xMin=\"([0-9.]+)\"[^>]*>") + QRegularExpression::escape(word) +
                                    QStringLiteral("</word>"));
        const auto m = re.match(html);
        return m.hasMatch() ? m.captured(1).toDouble() : -1000.0;
    };
    const double date = left(QStringLiteral("2026-03-01")), amount = left(QStringLiteral("100.00"));
    ASSERT_GT(date, 0) << html.toStdString();
    ASSERT_GT(amount, 0);
    // 报销日期 at 70 mm, the amount right-aligned in its cell ending 1 mm before 172 mm.
    const double pt = 72 / 25.4;
    const double x0 = date - 70 * pt;
    EXPECT_GT(amount - x0, 153 * pt);
    EXPECT_LT(amount - x0, 172 * pt);
    EXPECT_NEAR(left(QStringLiteral("审批：")) - x0, 0, 1.5);
}

}  // namespace
}  // namespace corvane::test
