#include <gtest/gtest.h>

#include <atomic>

#include "ExpiryFixture.h"
#include "contracts/frmCorvane.h"
#include "plans/ExpiryRules.h"
#include "plans/ExpiryStore.h"
#include "testsupport/InputCheck.h"
#include "testsupport/LayoutCheck.h"

using namespace corvane;
using namespace corvane::test;

using Expiry = frm合同到期处理;

namespace {

const QString kNumber = QStringLiteral("HT-1");


}  // namespace

// On a 1024x768 screen the window fits and Esc closes it as its 退出 does.
TEST_F(ExpiryTest, OnTheSmallScreenEveryControlIsInReachAndEscCloses)
{
    addContract(kNumber, QStringLiteral("D01"), QStringLiteral("T1"), QStringLiteral("履行中"));
    bool ran = false;
    openExpiry(kNumber, [&](Expiry& f) {
        ran = true;
        EXPECT_EQ(screenProblems(f), QStringList());
        EXPECT_EQ(escapeProblems(f, f.Command2), QStringList());
    });
    EXPECT_TRUE(ran);
}

TEST_F(ExpiryTest, LoadingShowsWhatIsStored)
{
    addContract(kNumber, QStringLiteral("D01"), QStringLiteral("T1"), QStringLiteral("履行中"),
                {{"合同金额", "10000"}, {"合同生效日期", QDate(2024, 1, 1)}, {"中止类别", "对方违约"},
                 {"合同中止日期", QDate(2026, 11, 30)}, {"中止原因", "拖欠"}, {"违约金处理方式", "收取违约金"},
                 {"违约金", "1200"}, {"违约金收付日期", QDate(2026, 12, 1)}, {"余款勾销", 1}, {"合同续签", 1}});
    addPaymentInstalment(kNumber, QStringLiteral("5000"), QStringLiteral("1000"));
    addPaymentInstalment(kNumber, QStringLiteral("2000"), QStringLiteral("2000"));
    openExpiry(kNumber, [&](Expiry& f) {
        EXPECT_EQ(f.Caption(), QStringLiteral("合同到期/中止处理"));
        EXPECT_EQ(f.Text1[0]->text(), kNumber);
        EXPECT_EQ(f.Text1[2]->text(), QStringLiteral("2024-01-01"));
        EXPECT_EQ(f.Text1[3]->text(), QStringLiteral("长期"));
        EXPECT_EQ(f.Combo1->currentText(), QStringLiteral("对方违约"));
        EXPECT_EQ(f.DTPicker1->date(), QDate(2026, 11, 30));
        EXPECT_EQ(f.Text2->text(), QStringLiteral("拖欠"));
        EXPECT_EQ(f.Combo2->currentText(), QStringLiteral("收取违约金"));
        EXPECT_EQ(f.Text3->text(), QStringLiteral("1200.00"));
        EXPECT_EQ(f.DTPicker2->date(), QDate(2026, 12, 1));
        EXPECT_TRUE(f.Check1->isChecked());
        EXPECT_TRUE(f.Check2->isChecked());
        // Ticked and renewed by nobody: the renewal may be made.
        EXPECT_TRUE(f.Command3->isEnabled());
        EXPECT_EQ(f.Text1[4]->text(), QStringLiteral("3000.00"));
        EXPECT_EQ(f.Text1[5]->text(), QStringLiteral("7000.00"));
        EXPECT_TRUE(f.Check1->isEnabled());
        EXPECT_TRUE(f.Command1->isEnabled());
        EXPECT_TRUE(layoutProblems(&f).isEmpty()) << layoutProblems(&f).join(u'\n').toStdString();
        // No control of a frame lies over another.
        for (const char* frame : {"Frame1", "Frame2"}) {
            const auto* box = f.findChild<QWidget*>(QString::fromUtf8(frame));
            ASSERT_TRUE(box);
            QList<QWidget*> controls;
            for (QObject* o : box->children())
                if (auto* w = qobject_cast<QWidget*>(o); w && !w->objectName().isEmpty()) controls << w;
            for (int i = 0; i < controls.size(); ++i)
                for (int j = i + 1; j < controls.size(); ++j)
                    EXPECT_FALSE(controls[i]->geometry().intersects(controls[j]->geometry()))
                        << controls[i]->objectName().toStdString() << " " << controls[j]->objectName().toStdString();
        }
    });
}

TEST_F(ExpiryTest, LoadingEmptyValues)
{
    const struct {
        const char* name;
        std::map<QString, QVariant> stored;
        const char* category;  // the choice after loading ("" none)
        const char* penalty;
        bool writeOffTicked;
    } cases[] = {
        {"nothing stored", {}, "", "无", false},
        {"flags 0, 无", {{"余款勾销", 0}, {"合同续签", 0}, {"违约金处理方式", "无"}}, "", "无", false},
        {"a category not in the list", {{"中止类别", "别的"}, {"违约金处理方式", "别的"}}, "", "", false},
        {"flag 2 is not true", {{"余款勾销", 2}, {"中止类别", "其他原因"}}, "其他原因", "无", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        exec(QStringLiteral("DELETE FROM 合同信息"));
        addContract(kNumber, QStringLiteral("D01"), QStringLiteral("T2"), QStringLiteral("履行中"), c.stored);
        openExpiry(kNumber, [&](Expiry& f) {
            EXPECT_EQ(f.Text1[2]->text(), QString());
            EXPECT_EQ(f.Text1[3]->text(), QStringLiteral("长期"));
            EXPECT_EQ(f.Combo1->currentText(), QString::fromUtf8(c.category));
            EXPECT_EQ(f.Combo2->currentText(), QString::fromUtf8(c.penalty));
            EXPECT_EQ(f.DTPicker1->date(), QDate(1001, 1, 1));
            EXPECT_EQ(f.DTPicker2->date(), QDate(1001, 1, 1));
            EXPECT_EQ(f.Text3->text(), QString());
            EXPECT_EQ(f.Check1->isChecked(), c.writeOffTicked);
            EXPECT_FALSE(f.Check2->isChecked());
            EXPECT_FALSE(f.Command3->isEnabled());
            // No payment instalments: no balance, nothing to write off.
            EXPECT_EQ(f.Text1[4]->text(), QString());
            EXPECT_EQ(f.Text1[5]->text(), QStringLiteral("0"));
            EXPECT_FALSE(f.Check1->isEnabled());
        });
    }
}

TEST_F(ExpiryTest, AContractNotFoundLoadsNothing)
{
    onModal<Expiry>([](Expiry& f) {
        EXPECT_FALSE(f.Command1->isEnabled());
        EXPECT_EQ(f.Text1[3]->text(), QString());
    });
    contract::contractHandovers().frm合同到期处理({QStringLiteral("HT-404"), QStringLiteral("无"), QStringLiteral("999")});
}

TEST_F(ExpiryTest, RefusalsWriteNothing)
{
    addContract(kNumber, QStringLiteral("D01"), QStringLiteral("T1"), QStringLiteral("履行中"), {{"合同金额", "10000"}});
    addPaymentInstalment(kNumber, QStringLiteral("5000"), QStringLiteral("5000"));
    const struct {
        const char* name;
        int answer;
        int category;
        QDate date;
        const char* penalty;
        const char* message;  // "" no message after the question
    } cases[] = {
        {"No", vbNo, 0, QDate(2026, 12, 1), "", ""},
        {"no category", vbYes, -1, QDate(2026, 12, 1), "", "请确定合同中止类型"},
        {"1977-12-31", vbYes, 0, QDate(1977, 12, 31), "", "请输入合法的中止日期"},
        {"date left at 1001-01-01", vbYes, 0, QDate(1001, 1, 1), "", "请输入合法的中止日期"},
        {"a penalty that is no amount", vbYes, 0, QDate(2026, 12, 1), "12a", "请输入正确的违约金金额！"},
        {"a penalty too large to keep", vbYes, 0, QDate(2026, 12, 1), "12345678901234", "请输入正确的违约金金额！"},
    };
    openExpiry(kNumber, [&](Expiry& f) {
        f.Check1->setChecked(true);
        for (const auto& c : cases) {
            SCOPED_TRACE(c.name);
            doubles().boxes->shown.clear();
            answer({c.answer});
            f.Combo1->setCurrentIndex(c.category);
            f.DTPicker1->setDate(c.date);
            f.Text3->setText(QString::fromUtf8(c.penalty));
            f.Command1_Click();
            EXPECT_EQ(doubles().boxes->shown.first().text, QStringLiteral("是否确认要中止合同"));
            const QString message = QString::fromUtf8(c.message);
            EXPECT_EQ(shownTexts().size(), message.isEmpty() ? 1 : 2);
            if (!message.isEmpty()) { EXPECT_EQ(shownTexts().last(), message); }
        }
    });
    EXPECT_EQ(contractRow(kNumber).text("合同状态"), QStringLiteral("履行中"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM 合同付款计划表")), 1);
}

TEST_F(ExpiryTest, ConfirmWritesTheRowAndTheListRow)
{
    const struct {
        int category;
        const char* state;
        QDate penaltyDate;
        bool penaltyDateStored;
        const char* reason;
        const char* penalty;
    } cases[] = {
        {0, "履行完成", QDate(1001, 1, 1), false, "", ""},
        {7, "中止", QDate(1978, 1, 1), false, "双方同意", "1200"},
        {4, "中止", QDate(1978, 1, 2), true, "", "0.5"},
        {1, "中止", QDate(2026, 12, 1), true, "", ""},
    };
    addContract(kNumber, QStringLiteral("D01"), QStringLiteral("T1"), QStringLiteral("履行中"), {{"合同金额", "10000"}});
    const qint64 id = idOf(kNumber);
    // The list shows the contract in its current row.
    auto* list = Forms::get<frmCorvane>();
    list->MSFlexGrid1->setRows(2);
    list->MSFlexGrid1->setTextMatrix(1, frmCorvane::Col::id, QString::number(id));
    list->MSFlexGrid1->setRow(1);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.state);
        openExpiry(kNumber, [&](Expiry& f) {
            answer({vbYes});
            f.Combo1->setCurrentIndex(c.category);
            f.DTPicker1->setDate(QDate(2026, 12, 5));
            f.Text2->setText(QString::fromUtf8(c.reason));
            f.Combo2->setCurrentIndex(1);
            f.Text3->setText(QString::fromUtf8(c.penalty));
            f.DTPicker2->setDate(c.penaltyDate);
            f.Check2->setChecked(true);
            f.Command1_Click();
            // The window stays open with its inputs.
            EXPECT_TRUE(f.isLoaded());
            EXPECT_EQ(f.Combo1->currentIndex(), c.category);
        });
        const Row r = contractRow(kNumber);
        EXPECT_EQ(r.text("合同状态"), QString::fromUtf8(c.state));
        EXPECT_EQ(r.text("中止类别"), plans::terminationCategories()[c.category]);
        EXPECT_EQ(toDate(r.value("合同中止日期")), QDate(2026, 12, 5));
        EXPECT_EQ(r.isNull("中止原因"), QString::fromUtf8(c.reason).isEmpty());
        EXPECT_EQ(r.isNull("违约金"), QString::fromUtf8(c.penalty).isEmpty());
        EXPECT_EQ(r.isNull("违约金收付日期"), !c.penaltyDateStored);
        EXPECT_EQ(r.text("违约金处理方式"), QStringLiteral("收取违约金"));
        EXPECT_EQ(r.value("余款勾销").toInt(), 0);
        EXPECT_EQ(r.value("合同续签").toInt(), 1);
        EXPECT_EQ(list->MSFlexGrid1->TextMatrix(1, frmCorvane::Col::合同中止日期), QStringLiteral("2026-12-05"));
        EXPECT_EQ(list->MSFlexGrid1->TextMatrix(1, frmCorvane::Col::合同状态), QString::fromUtf8(c.state));
    }
    // 1200 typed comes back as 1200.00.
    exec(QStringLiteral("UPDATE 合同信息 SET 违约金 = ? WHERE id = ?"), {QStringLiteral("1200"), id});
    openExpiry(kNumber, [](Expiry& f) { EXPECT_EQ(f.Text3->text(), QStringLiteral("1200.00")); });
}

TEST_F(ExpiryTest, WriteOffDeletesOnlyWhollyUnpaidInstalmentsAndOnlyWithTheUpdate)
{
    addContract(kNumber, QStringLiteral("D01"), QStringLiteral("T1"), QStringLiteral("履行中"), {{"合同金额", "10000"}});
    const qint64 unpaid = addPaymentInstalment(kNumber, QStringLiteral("5000"), QStringLiteral("5000"));
    const qint64 partly = addPaymentInstalment(kNumber, QStringLiteral("5000"), QStringLiteral("2000"));
    const auto confirm = [&](Expiry& f) {
        EXPECT_TRUE(f.Check1->isEnabled());
        f.Check1->setChecked(true);
        f.Combo1->setCurrentIndex(0);
        f.DTPicker1->setDate(QDate(2026, 12, 5));
        answer({vbYes});
        f.Command1_Click();
    };

    // The update fails after the deletion: the deletion goes back with it.
    failEvery(QStringLiteral("UPDATE"), QStringLiteral("合同信息"));
    openExpiry(kNumber, confirm);
    EXPECT_EQ(doubles().boxes->shown.last().title, QStringLiteral("提示"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM 合同付款计划表")), 2);
    EXPECT_EQ(contractRow(kNumber).text("合同状态"), QStringLiteral("履行中"));
    exec(QStringLiteral("DROP TRIGGER injected") + (testingOnPostgres() ? QStringLiteral(" ON 合同信息") : QString()));

    openExpiry(kNumber, confirm);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM 合同付款计划表 WHERE ID = ?"), {unpaid}), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM 合同付款计划表 WHERE ID = ?"), {partly}), 1);
    EXPECT_EQ(contractRow(kNumber).value("余款勾销").toInt(), 1);
}

TEST_F(ExpiryTest, AContractDeletedMeanwhileIsReportedNotConfirmed)
{
    addContract(kNumber, QStringLiteral("D01"), QStringLiteral("T1"), QStringLiteral("履行中"));
    openExpiry(kNumber, [&](Expiry& f) {
        exec(QStringLiteral("DELETE FROM 合同信息"));
        f.Combo1->setCurrentIndex(0);
        f.DTPicker1->setDate(QDate(2026, 12, 5));
        answer({vbYes});
        f.Command1_Click();
        EXPECT_EQ(doubles().boxes->shown.last().title, QStringLiteral("提示"));
        EXPECT_TRUE(doubles().boxes->shown.last().text.contains(QStringLiteral("该合同已被删除")));
    });
}

// Another workstation ends the contract after the window loaded it: this
// 确定 writes nothing (its write-off neither) and says so; a second 确定 of
// the window's own is held to what it wrote itself.
TEST_F(ExpiryTest, AContractEndedMeanwhileIsNotOverwritten)
{
    addContract(kNumber, QStringLiteral("D01"), QStringLiteral("T1"), QStringLiteral("履行中"), {{"合同金额", "10000"}});
    const qint64 unpaid = addPaymentInstalment(kNumber, QStringLiteral("5000"), QStringLiteral("5000"));
    openExpiry(kNumber, [&](Expiry& f) {
        {
            const auto workstation = openSecondConnection(QStringLiteral("other"));
            ASSERT_TRUE(executeQuiet(workstation->db(),
                                     QStringLiteral("UPDATE 合同信息 SET 合同状态 = '中止', 中止类别 = '其他原因', "
                                                    "中止原因 = '双方同意', 合同中止日期 = '2026-11-30' WHERE 合同编号 = ?"),
                                     {kNumber}));
        }
        f.Check1->setChecked(true);
        f.Combo1->setCurrentIndex(0);
        f.DTPicker1->setDate(QDate(2026, 12, 5));
        answer({vbYes});
        f.Command1_Click();
        EXPECT_TRUE(doubles().boxes->shown.last().text.contains(QStringLiteral("该合同已被他人修改，请重新打开本窗口！")));
    });
    const Row r = contractRow(kNumber);
    EXPECT_EQ(r.text("中止原因"), QStringLiteral("双方同意"));
    EXPECT_EQ(toDate(r.value("合同中止日期")), QDate(2026, 11, 30));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM 合同付款计划表 WHERE ID = ?"), {unpaid}), 1);

    doubles().boxes->shown.clear();
    openExpiry(kNumber, [&](Expiry& f) {
        f.Text2->setText(QStringLiteral("提前结束"));
        for (int i = 0; i < 2; ++i) {
            answer({vbYes});
            f.Command1_Click();
        }
    });
    EXPECT_EQ(contractRow(kNumber).text("中止原因"), QStringLiteral("提前结束"));
    EXPECT_FALSE(shownTexts().join(QString()).contains(QStringLiteral("该合同已被他人修改")));
}

// ---------------------------------------------------------------- renewal

TEST_F(ExpiryTest, RenewalButtonFollowsTheBoxAndTheLink)
{
    addContract(kNumber, QStringLiteral("D01"), QStringLiteral("T1"), QStringLiteral("履行中"));
    openExpiry(kNumber, [&](Expiry& f) {
        EXPECT_FALSE(f.Command3->isEnabled());
        f.Check2->setChecked(true);
        EXPECT_TRUE(f.Command3->isEnabled());
        f.Check2->setChecked(false);
        EXPECT_FALSE(f.Command3->isEnabled());
        addContract(QStringLiteral("2026-0000001"), QStringLiteral("D01"), QStringLiteral("T1"), QStringLiteral("签约中"),
                    {{"对应续约合同编号", kNumber}});
        f.Check2->setChecked(true);
        EXPECT_FALSE(f.Command3->isEnabled());
    });
}

TEST_F(ExpiryTest, RenewalMakesTheNewContract)
{
    addContract(QStringLiteral("2023-0000007"), QStringLiteral("D02"), QStringLiteral("T1"), QStringLiteral("履行中"),
                {{"合同名称", "A"}, {"对方单位", "恒达"}, {"对方开户行", "工行"}, {"对方帐号", "6222"},
                 {"是否是合格供方", 1}, {"合格供方代码", "S001"}, {"合同期限", 6}, {"字", "月"},
                 {"主要条款", "条款"}, {"合同金额", "12345.67"}, {"签约人", "张伟"}, {"对方签约人", "李四"},
                 {"合同终止日期", QDate(2024, 3, 1)}});
    // Highest serial of 2024 is 41; 42 is taken by a number typed by hand.
    addContract(QStringLiteral("GC-00000041"), QStringLiteral("D01"), QStringLiteral("T1"), QStringLiteral("履行中"),
                {{"年份", 2024}, {"流水号", 41}});
    addContract(QStringLiteral("2024-0000042"), QStringLiteral("D01"), QStringLiteral("T1"), QStringLiteral("履行中"));
    // A later year's serials do not count.
    addContract(QStringLiteral("2025-0000100"), QStringLiteral("D01"), QStringLiteral("T1"), QStringLiteral("履行中"),
                {{"年份", 2025}, {"流水号", 100}});

    openExpiry(
        QStringLiteral("2023-0000007"),
        [&](Expiry& f) {
            f.Check2->setChecked(true);
            // No, then a date not entered.
            answer({vbNo});
            f.Command3_Click();
            EXPECT_EQ(shownTexts(), (QStringList{"请确认：\n续签2023-0000007 A合同"}));
            answer({vbYes});
            f.DTPicker1->setDate(QDate(1001, 1, 1));
            f.Command3_Click();
            EXPECT_EQ(shownTexts().last(), QStringLiteral("请输入原合同的中止日期"));
            EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM 合同信息")), 4);

            answer({vbYes});
            f.DTPicker1->setDate(QDate(2024, 3, 31));
            f.Command3_Click();
            EXPECT_EQ(shownTexts().last(),
                      QStringLiteral("续签合同已经生成，处于签订中状态，你可以从签订中合同中搜索出来"));
            EXPECT_EQ(doubles().cursor->depth, 0);
            // Renewed now: the button does not offer it again.
            EXPECT_FALSE(f.Command3->isEnabled());
        },
        QStringLiteral("A"));

    const Row r = contractRow(QStringLiteral("2024-0000043"));
    ASSERT_EQ(r.text("合同编号"), QStringLiteral("2024-0000043"));
    EXPECT_EQ(r.text("合同名称"), QStringLiteral("A(续)"));
    EXPECT_EQ(r.value("年份").toInt(), 2024);
    EXPECT_EQ(r.value("流水号").toInt(), 43);
    EXPECT_EQ(r.text("合同状态"), QStringLiteral("签约中"));
    EXPECT_EQ(r.text("对应续约合同编号"), QStringLiteral("2023-0000007"));
    EXPECT_EQ(toDate(r.value("合同签订日期")), QDate(2024, 3, 31));
    EXPECT_EQ(toDate(r.value("合同生效日期")), QDate(2024, 3, 31));
    EXPECT_EQ(toDate(r.value("合同终止日期")), QDate(2024, 9, 30));
    for (const char* copied : {"对方单位", "对方开户行", "对方帐号", "合格供方代码", "合同类型", "字", "主要条款", "对应部门",
                               "签约人", "对方签约人"})
        EXPECT_EQ(r.text(QString::fromUtf8(copied)), contractRow(QStringLiteral("2023-0000007")).text(QString::fromUtf8(copied)))
            << copied;
    EXPECT_EQ(r.value("是否是合格供方").toInt(), 1);
    EXPECT_EQ(r.value("合同期限").toInt(), 6);
    EXPECT_EQ(r.text("合同金额").toDouble(), 12345.67);
    EXPECT_EQ(r.text("CzyDH"), QStringLiteral("E001"));
    EXPECT_EQ(toDate(r.value("updatedate")), kExpiryToday);
    EXPECT_TRUE(r.isNull("提交日期"));
    // The old contract is unchanged.
    EXPECT_EQ(contractRow(QStringLiteral("2023-0000007")).text("合同状态"), QStringLiteral("履行中"));
}

TEST_F(ExpiryTest, RenewalIsRefusedOnceRenewedAndPastTheLastSerial)
{
    addContract(kNumber, QStringLiteral("D01"), QStringLiteral("T1"), QStringLiteral("履行中"));
    addContract(QStringLiteral("X-1"), QStringLiteral("D01"), QStringLiteral("T1"), QStringLiteral("履行中"),
                {{"年份", 2026}, {"流水号", 9999999}});
    openExpiry(kNumber, [&](Expiry& f) {
        f.Check2->setChecked(true);
        f.DTPicker1->setDate(QDate(2026, 12, 1));
        answer({vbYes});
        f.Command3_Click();
        EXPECT_EQ(shownTexts().last(), QStringLiteral("续签合同编号已用完，请与系统管理员联系"));
        EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM 合同信息")), 2);

        // Another clerk renews it while the button is on offer.
        f.DTPicker1->setDate(QDate(2025, 12, 1));
        addContract(QStringLiteral("2025-0000001"), QStringLiteral("D01"), QStringLiteral("T1"), QStringLiteral("签约中"),
                    {{"对应续约合同编号", kNumber}});
        EXPECT_TRUE(f.Command3->isEnabled());
        answer({vbYes});
        f.Command3_Click();
        EXPECT_EQ(shownTexts().last(), QStringLiteral("该合同已经续签，不能重复续签！"));
        EXPECT_FALSE(f.Command3->isEnabled());
    });
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM 合同信息")), 3);
}

// Clerks renewing contracts of one year at the same moment on several
// workstations get distinct numbers.
TEST_F(ExpiryTest, RenewalsAtOnceGetDistinctNumbers)
{
    constexpr int kThreads = 4, kEach = 4;
    std::vector<qint64> ids;
    for (int i = 0; i < kThreads * kEach; ++i)
        ids.push_back(addContract(QStringLiteral("OLD-%1").arg(i), QStringLiteral("D01"), QStringLiteral("T1"),
                                  QStringLiteral("履行中")));
    std::atomic<int> failures{0};
    atOnce(kThreads, [&](const QSqlDatabase& db, int t) {
        for (int i = 0; i < kEach; ++i)
            if (plans::renewContract(db, ids[size_t(t * kEach + i)], QDate(2026, 6, 30), kExpiryToday, QStringLiteral("E"))
                    .kind != plans::RenewalOutcome::Done)
                ++failures;
    });
    EXPECT_EQ(failures.load(), 0);
    const auto rows = selectRows(
        QStringLiteral("SELECT 合同编号, 流水号 FROM 合同信息 WHERE 年份 = ? ORDER BY 流水号"), {2026});
    ASSERT_TRUE(rows);
    ASSERT_EQ(int(rows->size()), kThreads * kEach);
    for (int i = 0; i < int(rows->size()); ++i) {
        EXPECT_EQ((*rows)[size_t(i)].value(1).toInt(), i + 1);
        EXPECT_EQ((*rows)[size_t(i)].text(0), plans::renewalNumber(2026, i + 1));
    }
}

// Left empty, 中止原因, 违约金 and an early penalty date are stored as NULL,
// while an unchosen penalty handling is an empty text; boxes never typed
// into included.
TEST_F(ExpiryTest, EmptyTerminationValuesAreStoredColumnByColumn)
{
    exec(QStringLiteral("INSERT INTO 合同信息 (合同编号, 合同状态, 中止原因, 违约金处理方式, 违约金, 违约金收付日期) "
                        "VALUES ('HT-Z', '履行中', 'x', 'x', 1, '2020-01-01')"));
    const qint64 id = selectFirst(QStringLiteral("SELECT id FROM 合同信息 WHERE 合同编号 = 'HT-Z'"))->value(0).toLongLong();
    plans::Termination t;
    t.state = QStringLiteral("履行完成");
    t.category = QStringLiteral("合同到期");
    t.terminationDate = QDate(2026, 12, 10);
    ASSERT_EQ(plans::endContract(id, t).kind, plans::TerminationOutcome::Done);
    const struct {
        const char* column;
        const char* value;
    } columns[] = {
        {"中止原因", nullptr}, {"违约金处理方式", ""}, {"违约金", nullptr}, {"违约金收付日期", nullptr},
        {"余款勾销", "0"},     {"合同续签", "0"},
    };
    for (const auto& c : columns) {
        SCOPED_TRACE(c.column);
        EXPECT_EQ(storedText(QStringLiteral("SELECT %1 FROM 合同信息 WHERE id = ?").arg(QString::fromUtf8(c.column)), {id}),
                  stored(c.value));
    }
}

TEST_F(ExpiryTest, EveryBoxTakesNoMoreThanItsColumnHolds)
{
    addContract(kNumber, QStringLiteral("D01"), QStringLiteral("T1"), QStringLiteral("履行中"));
    openExpiry(kNumber, [&](Expiry& f) {
        EXPECT_EQ(inputProblems(&f, {{"Text2", "合同信息.中止原因"}}, {"Text3"}).join(u'\n').toStdString(), "");
    });
}
