// The payment window: what the refresh lists, how instalments and amounts
// are chosen, the checks of 确定 and the road from the contract list to the
// written form.

#include "tests/payments/PaymentFixture.h"

namespace corvane::test {
namespace {

using W = frm合同付款处理;

QStringList gridColumn(W& w, int col)
{
    QStringList out;
    for (int r = 1; r < w.MSFlexGrid1->Rows(); ++r) out << w.MSFlexGrid1->TextMatrix(r, col);
    return out;
}
QList<bool> chosen(W& w)
{
    QList<bool> out;
    for (int r = 1; r < w.MSFlexGrid1->Rows(); ++r) out << w.isChosen(r);
    return out;
}

TEST_F(PaymentTest, FirstActivationFillsTheFieldsAndRefreshes)
{
    const qint64 a = addInstalment("HT-1", QDate(2026, 6, 1), "300.00");
    addInstalment("HT-1", QDate(2026, 12, 31), "300.00");  // due this month, later day
    addInstalment("HT-1", QDate(2027, 1, 5), "400.00");    // next month: not chosen
    addRecord(a, "100.00");
    addRecord(a, "50.00", 1);  // void: does not count
    bool ran = false;
    openPayment([&](W& w) {
        ran = true;
        EXPECT_EQ(w.Combo1->currentText(), QStringLiteral("银行-网上银行"));
        EXPECT_EQ(w.Combo2->currentText(), QStringLiteral("预算"));
        EXPECT_EQ(w.Combo3->currentText(), QStringLiteral("管理费用"));
        EXPECT_EQ(w.Text9->text(), QStringLiteral("维修费"));
        EXPECT_EQ(w.Text6->text(), QStringLiteral("建设银行"));  // the payee's account replaces the list's
        EXPECT_EQ(w.Text7->text(), QStringLiteral("6217001"));
        EXPECT_EQ(w.Combo4->currentText(), QStringLiteral("E001 张三"));
        EXPECT_EQ(w.Combo4->count(), 2);
        EXPECT_EQ(gridColumn(w, 4), (QStringList{"100.00", "0.00", "0.00"}));
        EXPECT_EQ(gridColumn(w, 5), (QStringList{"200.00", "300.00", "400.00"}));
        EXPECT_EQ(gridColumn(w, 6), (QStringList{"200.00", "300.00", ""}));
        EXPECT_EQ(chosen(w), (QList<bool>{true, true, false}));
        EXPECT_EQ(w.Text1->text(), QStringLiteral("500.00"));
        EXPECT_EQ(w.Text3[3]->text(), QStringLiteral("100.00"));
        EXPECT_EQ(w.Text3[4]->text(), QStringLiteral("900.00"));
        EXPECT_EQ(w.MSFlexGrid1->ColWidth(8), 0);
        EXPECT_TRUE(w.Command1->isEnabled());
    });
    EXPECT_TRUE(ran);
    EXPECT_TRUE(boxes().isEmpty()) << boxTexts().join("|").toStdString();
}

TEST_F(PaymentTest, BudgetLineWarningsAreTitled)
{
    exec("UPDATE 预算详细 SET 公式 = 'x', 数据代号 = 'y'");
    addPlan("P-D01", "D01", "2026");
    addPlanLine("P-D01", "5501", "10", "支出预算", "a+b", "K1");
    openPayment([](W&) {});
    ASSERT_EQ(boxes().size(), 2);
    EXPECT_EQ(boxes()[0].text, QStringLiteral("科目是有公式项，不可使用，请更改。"));
    EXPECT_EQ(boxes()[0].title, QStringLiteral("提示!"));
    EXPECT_EQ(boxes()[1].text, QStringLiteral("科目是提取项目，不可使用，请更改。"));
    EXPECT_EQ(boxes()[1].title, QStringLiteral("提示!"));
}

TEST_F(PaymentTest, MergedSupplementsAreListedAndCounted)
{
    addContract("HT-1-B1", "200.00", {{"补充", 1}, {"主合同编号", "HT-1"}, {"收付款计划合并", 1}});
    addContract("HT-1-B2", "50.00", {{"补充", 1}, {"主合同编号", "HT-1"}, {"收付款计划合并", 0}});
    addInstalment("HT-1", QDate(2026, 3, 1), "100.00");
    const qint64 b = addInstalment("HT-1-B1", QDate(2026, 2, 1), "80.00");
    addInstalment("HT-1-B2", QDate(2026, 1, 1), "50.00");
    addRecord(b, "30.00");
    openPayment(
        [](W& w) {
            EXPECT_EQ(gridColumn(w, 3), (QStringList{"80.00", "100.00"}));  // by due date, B2 not merged
            EXPECT_EQ(w.Text3[3]->text(), QStringLiteral("30.00"));
            EXPECT_EQ(w.Text3[4]->text(), QStringLiteral("170.00"));  // its own amount less all paid
        },
        handover("HT-1-B1", "200.00"));
}

TEST_F(PaymentTest, AFullyPaidContractSaysSoAndDisablesTheButton)
{
    const qint64 a = addInstalment("HT-1", QDate(2026, 1, 1), "1000.00");
    addRecord(a, "1000.00");
    openPayment([](W& w) {
        EXPECT_FALSE(w.Command1->isEnabled());
        w.Text1->setText("0");
        w.Command4_Click();  // 分摊 with nothing to spread enables it again
        EXPECT_TRUE(w.Command1->isEnabled());
    });
    EXPECT_EQ(boxTexts(), QStringList{"本合同已经付清合同款"});
}

TEST_F(PaymentTest, GridClicksAndTheAmountEditor)
{
    addInstalment("HT-1", QDate(2026, 1, 1), "100.00");
    addInstalment("HT-1", QDate(2027, 1, 1), "100.00");
    openPayment([](W& w) {
        auto& g = *w.MSFlexGrid1;
        // Another column of an unchosen row does nothing.
        g.setRow(2);
        g.setCol(3);
        w.MSFlexGrid1_Click();
        EXPECT_FALSE(w.Text2->isVisible());
        // Column 1 toggles the choice.
        g.setRow(2);
        g.setCol(1);
        w.MSFlexGrid1_Click();
        EXPECT_TRUE(w.isChosen(2));
        EXPECT_EQ(w.Text1->text(), QStringLiteral("200.00"));
        // The editor: one cent more is refused, the whole amount accepted, 0 unchooses.
        g.setRow(1);
        g.setCol(4);
        w.MSFlexGrid1_Click();
        ASSERT_TRUE(w.Text2->isVisible());
        w.Text2->setText("100.01");
        int enter = 13;
        w.Text2_KeyPress(enter);
        EXPECT_EQ(boxTexts(), QStringList{"输入的付款金额大于余额，请核对！"});
        EXPECT_TRUE(w.Text2->isVisible());
        w.Text2->setText("100");
        enter = 13;
        w.Text2_KeyPress(enter);
        EXPECT_FALSE(w.Text2->isVisible());
        EXPECT_FALSE(w.Command3->isVisible());
        EXPECT_EQ(g.TextMatrix(1, 6), QStringLiteral("100"));
        g.setRow(1);
        g.setCol(4);
        w.MSFlexGrid1_Click();
        w.Text2->setText("0");
        enter = 13;
        w.Text2_KeyPress(enter);
        EXPECT_FALSE(w.isChosen(1));
        EXPECT_EQ(w.Text1->text(), QStringLiteral("100.00"));
    });
}

TEST_F(PaymentTest, ApportionSpreadsTheTotalByDueDate)
{
    addInstalment("HT-1", QDate(2027, 1, 1), "100.00");
    addInstalment("HT-1", QDate(2027, 2, 1), "100.00");
    addInstalment("HT-1", QDate(2027, 3, 1), "100.00");
    openPayment([](W& w) {
        w.Text1->setText("150");
        w.Command4_Click();
        EXPECT_EQ(gridColumn(w, 6), (QStringList{"100.00", "50.00", "0.00"}));
        EXPECT_EQ(chosen(w), (QList<bool>{true, true, false}));
        w.Text1->setText("1000.01");
        w.Command4_Click();
        EXPECT_EQ(boxTexts(), QStringList{"超出合同应付总额，请核对"});
    });
}

TEST_F(PaymentTest, ConfirmChecksInOrder)
{
    addInstalment("HT-1", QDate(2026, 1, 1), "100.00");
    const auto cash = [](const char* handler) {
        return [handler](W& w) {
            w.Combo1->setCurrentIndex(1);
            w.Combo4->setCurrentIndex(w.Combo4->findText(QString::fromUtf8(handler)));
        };
    };
    struct Case {
        const char* card;  // the E002 card row, or none
        std::function<void(W&)> set;
        QString message;
        int icon;
    };
    const std::vector<Case> cases = {
        {nullptr, [](W& w) { w.Text1->setText("0.00"); }, "付款金额为0", 0},
        {nullptr, [](W& w) { w.Text1->setText("100.01"); }, "付款金额与所选中的金额不符。请按分摊按钮", 0},
        {nullptr, [](W& w) { w.Combo4->setCurrentIndex(-1); }, "请确定经办人", 0},
        {nullptr, cash("E002 李四"), "你选择现金付款，但经办人 E002 李四 的银行卡信息未设置，请核对!", vbInformation},
        {"NULL, '6222'", cash("E002 李四"), "E002 李四发卡银行未设置，请核对!", vbInformation},
        {"'农行', NULL", cash("E002 李四"), "E002 李四银行卡号未设置，请核对!", vbInformation},
        // No method chosen counts as a bank payment.
        {nullptr, [](W& w) { w.Combo1->setCurrentIndex(-1); w.Text5->clear(); }, "对方单位不能为空!", vbInformation},
        {nullptr, [](W& w) { w.Text6->clear(); }, "开户银行不能为空!", vbInformation},
        {nullptr, [](W& w) { w.Text7->clear(); }, "银行帐号不能为空!", vbInformation},
        {nullptr, [](W& w) { w.Text4->clear(); }, "你未输入发票编号，请核对", 0},
        {nullptr, [](W& w) { w.Combo3->setCurrentIndex(-1); }, "请选择报销费用类别", vbInformation},
    };
    for (const Case& c : cases) {
        exec("DELETE FROM 银行卡设置 WHERE 员工编号 = 'E002'");
        if (c.card)
            exec(QStringLiteral("INSERT INTO 银行卡设置 (员工编号, 银行, 卡号) VALUES ('E002', %1)").arg(QString::fromUtf8(c.card)));
        boxes().clear();
        openPayment([&](W& w) {
            completeEntry(w);
            c.set(w);
            w.Command1_Click();
            EXPECT_TRUE(w.Command1->isEnabled());
        });
        ASSERT_EQ(boxes().size(), 1) << c.message.toStdString();
        EXPECT_EQ(boxes()[0].text, c.message);
        EXPECT_EQ(boxes()[0].icon(), c.icon) << c.message.toStdString();
    }
    EXPECT_EQ(count("报销单表"), 0);
    EXPECT_EQ(count("合同付款记录"), 0);
}

TEST_F(PaymentTest, CashWithAnEmptyCardNumberPassesAndReachesTheForm)
{
    exec("INSERT INTO 银行卡设置 (员工编号, 银行, 卡名, 卡号) VALUES ('E002', '农业银行', NULL, '')");
    addInstalment("HT-1", QDate(2026, 1, 1), "100.00");
    openPayment([](W& w) {
        completeEntry(w);
        w.Combo1->setCurrentIndex(1);
        w.Combo4->setCurrentIndex(w.Combo4->findText("E002 李四"));
        w.Text5->clear();  // the payee is not asked for
        w.Command1_Click();
    });
    EXPECT_TRUE(boxes().isEmpty()) << boxTexts().join("|").toStdString();
    const Row f = *selectFirst("SELECT 发卡银行, 银行卡种类, 银行卡号, 对方单位名称, 对方帐号, 付款方式, 制单人 FROM 报销单表");
    EXPECT_EQ(f.text(0), QStringLiteral("农业银行"));
    EXPECT_EQ(f.text(1), QString());
    EXPECT_FALSE(f.isNull("银行卡号"));
    EXPECT_TRUE(f.isNull("对方单位名称"));
    EXPECT_TRUE(f.isNull("对方帐号"));
    EXPECT_EQ(f.text(5), QStringLiteral("现金"));
    EXPECT_EQ(f.text(6), QStringLiteral("李四"));
}

TEST_F(PaymentTest, TheWholeRoadWritesTheFormRecordsAndApproval)
{
    const qint64 a = addInstalment("HT-1", QDate(2026, 11, 1), "600.00");
    const qint64 b = addInstalment("HT-1", QDate(2026, 12, 1), "400.00");
    addRecord(a, "100.00");
    exec("UPDATE 合同付款计划表 SET 余额 = 999 WHERE ID = ?", {a});  // the stored balance is not what counts
    exec("INSERT INTO 报销单表 (报销单编号, 流水号) VALUES ('2027-D01-000008', 7)");  // the next number is taken
    openPayment([&](W& w) {
        completeEntry(w);
        EXPECT_EQ(w.Text1->text(), QStringLiteral("900.00"));
        w.DTPicker1->setDate(QDate(2027, 1, 3));
        w.Command1_Click();
        EXPECT_EQ(w.Label2->text(), QStringLiteral("报销单保存完成！"));
        EXPECT_FALSE(w.Command1->isEnabled());
        // The refresh after the save: the instalments are paid now.
        EXPECT_EQ(w.Text3[3]->text(), QStringLiteral("1000.00"));
        EXPECT_EQ(w.txtMoney->text(), QStringLiteral("12000.00"));
        w.Command4_Click();  // only 分摊 makes it usable again
        EXPECT_TRUE(w.Command1->isEnabled());
    });
    EXPECT_EQ(boxTexts(), QStringList{"本合同已经付清合同款"});

    const Row f = *selectFirst("SELECT 报销单ID, 报销单编号, 流水号, 部门类别编号, 部门代号, 报销费用类别, 报销类型, 报销日期, 付款方式, "
                               "对方单位名称, 对方帐号, 对方银行, 报销单类型, 制单人, 报销人, 一事一报, 审批路径编号, 报批日期, "
                               "审批环节序号, 审批通过, 出纳退回, CzyDH, 发卡银行 FROM 报销单表 WHERE 流水号 = 9");
    ASSERT_GT(f.count(), 0);
    EXPECT_EQ(f.text("报销单编号"), QStringLiteral("2027-D01-000009"));  // the year of the payment date, the user's department
    EXPECT_EQ(f.text("部门代号"), QStringLiteral("D03"));
    EXPECT_EQ(f.text("部门类别编号"), QStringLiteral("C2"));
    EXPECT_EQ(f.text("报销费用类别"), QStringLiteral("管理费用"));
    EXPECT_EQ(f.text("报销类型"), QStringLiteral("预算"));
    EXPECT_EQ(toDate(f.value("报销日期")), QDate(2027, 1, 3));
    EXPECT_EQ(f.text("付款方式"), QStringLiteral("银行-网上银行"));
    EXPECT_EQ(f.text("对方单位名称"), QStringLiteral("恒达公司"));
    EXPECT_EQ(f.text("对方帐号"), QStringLiteral("6217001"));
    EXPECT_EQ(f.text("对方银行"), QStringLiteral("建设银行"));
    EXPECT_TRUE(f.isNull("发卡银行"));
    EXPECT_EQ(f.text("报销单类型"), QStringLiteral("合同付款"));
    EXPECT_EQ(f.text("制单人"), QStringLiteral("张三"));
    EXPECT_EQ(f.text("报销人"), QStringLiteral("张三"));
    EXPECT_EQ(f.value("一事一报").toInt(), 0);
    EXPECT_EQ(f.text("审批路径编号"), QStringLiteral("R1"));
    EXPECT_EQ(toDate(f.value("报批日期")), QDate::currentDate());  // the server's date
    EXPECT_EQ(f.value("审批环节序号").toInt(), 0);
    EXPECT_EQ(f.value("审批通过").toInt(), 0);
    EXPECT_EQ(f.value("出纳退回").toInt(), 0);
    EXPECT_EQ(f.text("CzyDH"), QStringLiteral("E001"));
    const qint64 form = f.value("报销单ID").toLongLong();

    const Row line = *selectFirst("SELECT ID, 摘要, 科目代号, 金额 FROM 报销单明细 WHERE 报销单ID = ?", {form});
    EXPECT_EQ(line.text(1), QStringLiteral("支付电梯维修的合同款"));
    EXPECT_EQ(line.text(2), QStringLiteral("5501"));
    EXPECT_EQ(cents(line.value(3)), QStringLiteral("900.00"));
    const Row att = *selectFirst("SELECT 附件类型, 项目, 金额, 附件数量, 票据编号, 合同编号, 出票单位 FROM 报销附件 WHERE 报销单明细ID = ?",
                                 {line.value(0)});
    EXPECT_EQ(att.text(0), QStringLiteral("合同"));
    EXPECT_EQ(att.text(1), QStringLiteral("HT-1  电梯维修 "));
    EXPECT_EQ(cents(att.value(2)), QStringLiteral("900.00"));
    EXPECT_EQ(att.value(3).toInt(), 1);
    EXPECT_EQ(att.text(4), QStringLiteral("FP-001"));
    EXPECT_EQ(att.text(5), QStringLiteral("HT-1"));
    EXPECT_EQ(att.text(6), QStringLiteral("恒达公司"));

    const auto records = *selectRows("SELECT 合同付款计划ID, 付款金额, 凭证编号, 科目代号, 作废, 付款日期 FROM 合同付款记录 "
                                     "WHERE 凭证编号 IS NOT NULL ORDER BY 合同付款计划ID");
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].value(0).toLongLong(), a);
    EXPECT_EQ(cents(records[0].value(1)), QStringLiteral("500.00"));
    EXPECT_EQ(records[0].text(2), QStringLiteral("2027-D01-000009"));
    EXPECT_EQ(records[0].text(3), QStringLiteral("5501"));
    EXPECT_EQ(records[0].value(4).toInt(), 0);
    EXPECT_EQ(toDate(records[0].value(5)), QDate(2027, 1, 3));
    EXPECT_EQ(cents(records[1].value(1)), QStringLiteral("400.00"));
    EXPECT_EQ(cents(scalar("SELECT 余额 FROM 合同付款计划表 WHERE ID = ?", {a})), QStringLiteral("0.00"));
    EXPECT_EQ(cents(scalar("SELECT 余额 FROM 合同付款计划表 WHERE ID = ?", {b})), QStringLiteral("0.00"));

    const auto steps = *selectRows("SELECT 序号, 部门代号, 岗位代号 FROM 报销单审批路径 WHERE 报销单ID = ? ORDER BY 序号", {form});
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[0].text(2), QStringLiteral("P03"));  // the head of the paying department first
    EXPECT_EQ(steps[1].text(2), QStringLiteral("P01"));
    const auto opened = *selectRows("SELECT 岗位代号, 审批环节序号, 同意 FROM 报销单审批 WHERE 报销单ID = ?", {form});
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].text(0), QStringLiteral("P03"));
    EXPECT_EQ(opened[0].value(2).toInt(), 0);
}

TEST_F(PaymentTest, TheContractListOpensTheWindow)
{
    addInstalment("HT-1", QDate(2026, 1, 1), "100.00");
    QString shownNumber;
    openPayment([&](W& w) { shownNumber = w.Text3[0]->text(); });
    EXPECT_EQ(shownNumber, QStringLiteral("HT-1"));
    EXPECT_FALSE(Forms::isLoaded<W>());
}

TEST_F(PaymentTest, BudgetRefusalsAtSubmission)
{
    addInstalment("HT-1", QDate(2026, 1, 1), "12000.01");
    openPayment([](W& w) {
        completeEntry(w);
        w.Command1_Click();
        EXPECT_EQ(w.txtMoney->text(), QStringLiteral("12000.00"));
        EXPECT_TRUE(w.Command1->isEnabled());
    });
    ASSERT_EQ(boxes().size(), 1);
    EXPECT_EQ(boxes()[0].text, QStringLiteral("支付金额超过预算余额,当前余额为12000.00，请提醒相关部门做预算调整。\r\n您暂时无法做支付处理"));
    EXPECT_EQ(count("报销单表"), 0);

    // No line for the subject in the contract department's approved plan.
    exec("UPDATE 预算详细 SET 科目代码 = '9999'");
    boxes().clear();
    openPayment([](W& w) {
        completeEntry(w);
        w.Command1_Click();
    });
    EXPECT_EQ(boxTexts(), QStringList{"D03 物业部部门没有预算计划，暂时无法处理支付"});

    // 非预算 asks for no budget, but still for an approval path.
    boxes().clear();
    openPayment([](W& w) {
        completeEntry(w);
        w.Combo2->setCurrentIndex(1);
        w.Combo3->setCurrentIndex(w.Combo3->findText("物资费用"));
        w.Command1_Click();
    });
    EXPECT_EQ(boxTexts(), QStringList{"审批路径未找到，目前你不能生成报销单"});
    EXPECT_EQ(count("报销单表"), 0);
}

TEST_F(PaymentTest, AFailingWriteLeavesNothing)
{
    addInstalment("HT-1", QDate(2026, 1, 1), "100.00");
    // The last statement of the save, the submission, fails.
    exec("DROP TABLE 报销单审批");
    openPayment([](W& w) {
        completeEntry(w);
        w.Command1_Click();
        EXPECT_TRUE(w.Command1->isEnabled());
        EXPECT_EQ(w.MSFlexGrid1->TextMatrix(1, 5), QStringLiteral("100.00"));
    });
    ASSERT_EQ(boxes().size(), 1);
    EXPECT_EQ(boxes()[0].title, QStringLiteral("提示"));
    EXPECT_EQ(count("报销单表"), 0);
    EXPECT_EQ(count("报销单明细"), 0);
    EXPECT_EQ(count("合同付款记录"), 0);
    EXPECT_EQ(cents(scalar("SELECT 余额 FROM 合同付款计划表")), QStringLiteral("100.00"));
}

}  // namespace
}  // namespace corvane::test

#include "contracts/frmCorvane.h"

namespace corvane::test {
namespace {

TEST_F(PaymentTest, FromTheContractListToTheWrittenRows)
{
    Login().当前岗位代号 = QStringLiteral("P01");
    addContract("HT-9", "300.00", {{"对应部门", "D01"}, {"合同状态", "履行中"}});
    const qint64 a = addInstalment("HT-9", QDate(2026, 12, 1), "300.00");
    addPlan("P-D01", "D01", "2026");
    addPlanLine("P-D01", "5501", "100.00", QStringLiteral("支出预算"));
    exec("INSERT INTO 报销审批路径设置 (审批路径代号, 报销部门类别代号, 报销类别, 金额下限, 金额上限, 本部门主管审批) "
         "VALUES ('R9', 'C1', '管理费用', 0, 1000, 0)");
    exec("INSERT INTO 报销审批路径 (报销审批ID, 审批环节序号, 部门代号, 岗位代号) VALUES (?, 3, 'D01', 'P02')",
         {maxId("报销审批路径设置")});

    auto* list = Forms::get<frmCorvane>();
    list->Show();
    int row = -1;
    for (int r = 1; r < list->MSFlexGrid1->Rows(); ++r)
        if (list->MSFlexGrid1->TextMatrix(r, 1) == QStringLiteral("HT-9")) row = r;
    ASSERT_GT(row, 0);
    list->MSFlexGrid1->setRow(row);
    list->MSFlexGrid1_Click();
    onModal<frm合同付款处理>([](frm合同付款处理& w) {
        EXPECT_EQ(w.Text3[5]->text(), QStringLiteral("D01 财务部"));
        completeEntry(w);
        w.Command1_Click();
        EXPECT_EQ(w.Label2->text(), QStringLiteral("报销单保存完成！"));
    });
    list->Command7_Click();
    EXPECT_EQ(boxTexts(), QStringList{"本合同已经付清合同款"});
    EXPECT_EQ(cents(scalar("SELECT SUM(付款金额) FROM 合同付款记录 WHERE 合同付款计划ID = ?", {a})), QStringLiteral("300.00"));
    EXPECT_EQ(scalar("SELECT 报销单编号 FROM 报销单表").toString(), QStringLiteral("2026-D01-000001"));
    EXPECT_EQ(scalar("SELECT 岗位代号 FROM 报销单审批").toString(), QStringLiteral("P02"));
    EXPECT_EQ(scalar("SELECT 审批环节序号 FROM 报销单表").toInt(), 3);
}

}  // namespace
}  // namespace corvane::test
