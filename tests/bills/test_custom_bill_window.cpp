// The custom bill window with the real receipt window: the layout look-up,
// saving a self-numbered or a paper bill with its lines, voiding with a
// lost connection, and the whole print, reprint and hand-back flows.
#include <gtest/gtest.h>

#include <QSet>
#include <QTemporaryDir>
#include <QTreeWidgetItemIterator>
#include <mutex>
#include <thread>

#include "db/Sql.h"
#include "platform/Tag.h"
#include "bills/CustomBillStore.h"
#include "bills/Registration.h"
#include "receipts/Registration.h"
#include "receipts/frm合同收款.h"
#include "bills/frm自定义票据打印.h"
#include "testsupport/InputCheck.h"
#include "testsupport/LayoutCheck.h"
#include "testsupport/PdfPrinter.h"
#include "testsupport/TestEnvironment.h"
#include "../receipts/ReceiptFixture.h"

namespace corvane::test {
namespace {

using namespace receipts;

class CustomBill : public ReceiptTest {
protected:
    void SetUp() override
    {
        ReceiptTest::SetUp();
        contract::contractHandovers() = contract::ContractHandovers();
        billWindowSeams() = BillWindowSeams();
        registerReceiptWindows();
        registerBillWindows();
        // What the window hands back, as the receipt window receives it.
        billWindowSeams().frm自定义票据打印 = [this, open = billWindowSeams().frm自定义票据打印](
                                                 frm合同收款& receipt, const ReceiptBillContext& context) {
            handedBack = open(receipt, context);
            return handedBack;
        };
        printers = &installTestPrinters(dir.path());
        addOffice();
        addFeeItem(QStringLiteral("WY01"), QStringLiteral("物业服务费"), QStringLiteral("物业服务"), 6);
        exec(QStringLiteral("INSERT INTO 收款方式列表 (收款方式) VALUES ('现金'), ('银行转账')"));
        own = addLayout(QStringLiteral("D01"), QStringLiteral("物业收费单"), QStringLiteral("ZD"), 0, 5);
        managed = addLayout(QStringLiteral("D02"), QStringLiteral("管理处收据"), QStringLiteral("ZG"), 1, 5);
        addLentBook(QStringLiteral("ZG1"), QStringLiteral("ZG"), QStringLiteral("D01"), 1, 5);
        addContract(QStringLiteral("HT-1"), QStringLiteral("O'Brien 物业"));
        a = addInstalment(QStringLiteral("HT-1"), QDate(2026, 1, 10), QStringLiteral("300.00"));
        b = addInstalment(QStringLiteral("HT-1"), QDate(2026, 2, 10), QStringLiteral("500.00"));
    }
    void TearDown() override
    {
        setStatementFaultHook({});
        FormRegistry::instance().unloadAll();
        contract::contractHandovers() = contract::ContractHandovers();
        billWindowSeams() = BillWindowSeams();
        Printing::setDevices(nullptr);
        ReceiptTest::TearDown();
    }

    qint64 addLayout(const QString& dept, const QString& name, const QString& code, int managedFlag, int rows)
    {
        exec(QStringLiteral("INSERT INTO 票据自定义格式 (部门编号, 格式名称, 宽, 高, 编号字, 票据管理) VALUES (?, ?, 210, 99, ?, ?)"),
             {dept, name, code, managedFlag});
        const qint64 id = count(QStringLiteral("SELECT MAX(ID) FROM 票据自定义格式"));
        exec(QStringLiteral("INSERT INTO 票据自定义格式线 (格式ID, X1, Y1, X2, Y2, W) VALUES (?, 10, 20, 200, 20, 1)"), {id});
        exec(QStringLiteral("INSERT INTO 票据自定义格式文字 (格式ID, 内容, L, T, 字体, 字号, 粗体) VALUES (?, ?, 80, 5, '宋体', 14, 1)"),
             {id, name});
        const auto field = [&](const char* content, double l, double t, double w, const QVariant& row) {
            exec(QStringLiteral("INSERT INTO 票据自定义格式内容 (格式ID, 内容, L, T, W, 行, 字体, 字号, 粗体) "
                                "VALUES (?, ?, ?, ?, ?, ?, '宋体', 9, 0)"),
                 {id, QString::fromUtf8(content), l, t, w, row});
        };
        for (int r = 1; r <= rows; ++r) {
            field("项目", 12, 22 + 7 * r, 30, r);
            field("摘要", 44, 22 + 7 * r, 50, r);
            field("金额", 150, 22 + 7 * r, 30, r);
        }
        field("票据编号", 150, 12, 40, QVariant());
        field("付款人", 20, 12, 60, QVariant());
        field("合计金额", 150, 70, 30, QVariant());
        return id;
    }
    qint64 count(const QString& sql, const QVariantList& values = {}) const
    {
        const auto r = selectFirstQuiet(sql, values);
        return r ? r->value(0).toLongLong() : -1;
    }
    QStringList column(const QString& sql, const QVariantList& values = {}) const
    {
        QStringList out;
        const auto rows = selectRowsQuiet(sql, values);
        for (const Row& r : *rows) {
            QStringList cells;
            for (int i = 0; i < r.count(); ++i) cells << r.text(i);
            out << cells.join(QLatin1Char('/'));
        }
        return out;
    }
    QStringList boxTexts() const { return doubles().boxes->texts(); }
    void answer(std::initializer_list<int> answers)
    {
        for (int x : answers) doubles().boxes->answers.push_back(x);
    }

    // The receipt window with instalments a and b ticked, WY01 on line 1 and
    // the bill type chosen.
    frm合同收款* preparedReceipt(const QString& kind)
    {
        auto* w = Forms::get<frm合同收款>();
        w->takeHandover({QStringLiteral("HT-1"), QStringLiteral("HT-1合同"), QStringLiteral("D01 第一管理处"), QString()});
        w->Form_Activate();
        for (int row : {1, 2}) {
            w->MSFlexGrid1->setRow(row);
            w->MSFlexGrid1->setCol(1);
            w->MSFlexGrid1_Click();
        }
        w->Command5_Click();
        w->MSFlexGrid2->setRow(1);
        for (QTreeWidgetItemIterator it(w->TreeView3); *it; ++it)
            if ((*it)->data(0, Qt::UserRole).toString() == QLatin1String("XWY01")) w->TreeView3_NodeClick(*it);
        w->Combo1->setCurrentIndex(0);
        w->Combo1_Click();
        w->Text5[0]->setText(QStringLiteral("O'Brien"));
        w->Combo2->setCurrentIndex(w->Combo2->findText(kind));
        w->Combo2_Click();
        return w;
    }
    QStringList receipts() const
    {
        return column(QStringLiteral("SELECT 合同收款计划ID, 票据编号, 入库单编号 FROM 合同收款记录 ORDER BY ID"));
    }

    CustomBillSave saveOf(bool preIssued = false, const QString& address = QString())
    {
        CustomBillSave s;
        s.bill.开票日期 = QDate(2026, 12, 10);
        s.bill.收款日期 = QDate(2026, 12, 8);
        s.bill.预开 = preIssued ? 1 : 0;
        s.bill.金额 = *plainDecimal(u"120.50");
        s.bill.税额 = *plainDecimal(u"6.82");
        s.bill.收款方式 = QStringLiteral("现金");
        s.bill.地址 = address;
        PendingLine l;
        l.项目 = QStringLiteral("物业费");
        l.金额 = s.bill.金额;
        s.lines = {l, l};
        s.department = QStringLiteral("D01");
        s.userName = QStringLiteral("王芳");
        s.payer = QString();
        return s;
    }

    QTemporaryDir dir;
    TestPrinters* printers = nullptr;
    qint64 own = 0, managed = 0, a = 0, b = 0;
    std::optional<BillHandBack> handedBack;
};

TEST_F(CustomBill, TheLayoutIsFoundByNameAloneOnlyForLentBooks)
{
    const auto mine = readBillLayout(QStringLiteral("管理处收据"), QString(), QStringLiteral("D01"));
    ASSERT_TRUE(mine);
    EXPECT_FALSE(mine->has_value());
    const auto lent = readBillLayout(QStringLiteral("管理处收据"), QStringLiteral("ZG 管理处收据"), QStringLiteral("D01"));
    ASSERT_TRUE(lent && lent->has_value());
    EXPECT_EQ((*lent)->head.id, managed);
    EXPECT_TRUE((*lent)->head.managed);
    EXPECT_EQ((*lent)->fields.size(), 18u);
    // Two of one name: the first row.
    addLayout(QStringLiteral("D01"), QStringLiteral("物业收费单"), QStringLiteral("ZX"), 0, 1);
    const auto first = readBillLayout(QStringLiteral("物业收费单"), QString(), QStringLiteral("D01"));
    ASSERT_TRUE(first && first->has_value());
    EXPECT_EQ((*first)->head.code, "ZD");
    // A NULL where the page needs a value is reported.
    exec(QStringLiteral("UPDATE 票据自定义格式内容 SET W = NULL WHERE 格式ID = ?"), {own});
    EXPECT_FALSE(readBillLayout(QStringLiteral("物业收费单"), QString(), QStringLiteral("D01")));
}

TEST_F(CustomBill, SelfNumberedBillsTakeTheNextNumberWithTheirLines)
{
    auto first = saveSelfNumberedBill(QStringLiteral("ZD"), saveOf());
    ASSERT_EQ(first.status, SaveStatus::Done) << first.error.description.toStdString();
    EXPECT_EQ(first.number, "00000001");
    EXPECT_EQ(column(QStringLiteral("SELECT 票据编号, 流水号, 预开, 税额, 地址, 合同编号, 开票人, 收款人 FROM 票据 WHERE ID = ?"),
                     {first.id}),
              QStringList{"00000001/1//6.82///王芳/王芳"});
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM 票据 WHERE ID = ? AND 金额 = 120.5"), {first.id}), 1);
    EXPECT_FALSE(selectFirstQuiet(QStringLiteral("SELECT 收款日期 FROM 票据 WHERE ID = ?"), {first.id})->value(0).isNull());
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM 票据开票数据 WHERE 票据ID = ? AND 入库单编号 = 'ZD' AND 票据编号 = '00000001'"),
                    {first.id}),
              2);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM 票据 WHERE ID = ? AND 地址 IS NULL AND 合同编号 IS NULL AND 付款人 IS NULL"),
                    {first.id}),
              1);

    // Numbers taken without serials are stepped over.
    addBills(QStringLiteral("ZE"), 1, 3);
    const auto fourth = saveSelfNumberedBill(QStringLiteral("ZE"), saveOf(true, QStringLiteral("翠湖路")));
    EXPECT_EQ(fourth.number, "00000004");
    EXPECT_EQ(column(QStringLiteral("SELECT 流水号, 预开, 地址 FROM 票据 WHERE ID = ?"), {fourth.id}), QStringList{"4/1/翠湖路"});
    EXPECT_TRUE(selectFirstQuiet(QStringLiteral("SELECT 收款日期 FROM 票据 WHERE ID = ?"), {fourth.id})->value(0).isNull());
}

TEST_F(CustomBill, WorkstationsPrintingAtOnceGetDistinctNumbers)
{
    constexpr int kThreads = 3, kEach = 4;
    std::mutex m;
    QStringList numbers, failures;
    std::vector<std::thread> running;
    const CustomBillSave s = saveOf();
    for (int t = 0; t < kThreads; ++t)
        running.emplace_back([&, t] {
            auto conn = openSecondConnection(QStringLiteral("cb-%1").arg(t));
            for (int i = 0; i < kEach; ++i) {
                const SaveOutcome out = saveSelfNumberedBill(conn->db(), QStringLiteral("ZD"), s);
                std::lock_guard lock(m);
                if (out.status == SaveStatus::Done) numbers << out.number;
                else failures << out.error.description;
            }
        });
    for (auto& th : running) th.join();
    EXPECT_EQ(failures, QStringList());
    EXPECT_EQ(QSet<QString>(numbers.begin(), numbers.end()).size(), kThreads * kEach);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM 票据开票数据")), 2 * kThreads * kEach);
}

TEST_F(CustomBill, APaperBillIsCompletedOnlyWhileFreeOrOwn)
{
    const qint64 id = count(QStringLiteral("SELECT ID FROM 票据 WHERE 入库单编号 = 'ZG1' AND 票据编号 = '00000001'"));
    CustomBillSave s = saveOf();
    s.address = QString();
    auto out = saveManagedBill(id, QStringLiteral("ZG1"), QStringLiteral("00000001"), s, {});
    ASSERT_EQ(out.status, SaveStatus::Done);
    EXPECT_EQ(column(QStringLiteral("SELECT 税额, 地址, 开票部门编号 FROM 票据 WHERE ID = ?"), {id}), QStringList{"6.82//D01"});
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM 票据 WHERE ID = ? AND 地址 = ''"), {id}), 1);
    EXPECT_EQ(toDate(selectFirstQuiet(QStringLiteral("SELECT 收款日期 FROM 票据 WHERE ID = ?"), {id})->value(0)),
              QDate(2026, 12, 8));
    // Completed now: another window may not complete it; this one may again,
    // and its lines are replaced.
    EXPECT_EQ(saveManagedBill(id, QStringLiteral("ZG1"), QStringLiteral("00000001"), s, {}).status, SaveStatus::NotFree);
    s.lines.resize(1);
    EXPECT_EQ(saveManagedBill(id, QStringLiteral("ZG1"), QStringLiteral("00000001"), s, {id}).status, SaveStatus::Done);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM 票据开票数据 WHERE 票据ID = ?"), {id}), 1);
    // A voided bill is never completed, nor voided twice.
    const qint64 other = id + 1;
    EXPECT_EQ(voidCustomBill(other, QDateTime(QDate(2020, 8, 21), QTime(14, 3, 9)), QStringLiteral("打印错误"),
                             QStringLiteral("E001"), {})
                  .status,
              SaveStatus::Done);
    EXPECT_EQ(column(QStringLiteral("SELECT 作废原因, 作废人 FROM 票据 WHERE ID = ?"), {other}), QStringList{"打印错误/E001"});
    EXPECT_EQ(toDateTime(selectFirstQuiet(QStringLiteral("SELECT 作废日期 FROM 票据 WHERE ID = ?"), {other})->value(0)),
              QDateTime(QDate(2020, 8, 21), QTime(14, 3, 9)));
    EXPECT_EQ(saveManagedBill(other, QStringLiteral("ZG1"), QStringLiteral("00000002"), s, {other}).status, SaveStatus::NotFree);
    EXPECT_EQ(voidCustomBill(other, QDateTime::currentDateTime(), QStringLiteral("x"), QStringLiteral("y"), {other}).status,
              SaveStatus::NotFree);
    // An issued bill of someone else is not voided over.
    EXPECT_EQ(voidCustomBill(id, QDateTime::currentDateTime(), QStringLiteral("x"), QStringLiteral("y"), {}).status,
              SaveStatus::NotFree);
}

// The number panel of a window opened for the layout on lent books, without
// a receipt behind it.
frm自定义票据打印* panelWindow()
{
    auto* f = Forms::get<frm自定义票据打印>();
    f->panels[5]->setText(QStringLiteral("ZG 管理处收据"));
    f->Form_Activate();
    return f;
}

TEST_F(CustomBill, TheBookListPreselectsTheFirstBookAndItsLowestFreeBill)
{
    addLentBook(QStringLiteral("ZG0"), QStringLiteral("ZG"), QStringLiteral("D01"), 7, 1);
    addLentBook(QStringLiteral("ZG9"), QStringLiteral("ZG"), QStringLiteral("D03"), 1, 1);
    exec(QStringLiteral("INSERT INTO 票据共用设置 (共用部门编号, 领用部门编号) VALUES ('D01', ' D03 ')"));
    auto* f = panelWindow();
    QStringList books;
    for (int i = 0; i < f->Combo1->count(); ++i) books << f->Combo1->itemText(i);
    EXPECT_EQ(books, (QStringList{"ZG0 管理处收据", "ZG1 管理处收据", "ZG9 管理处收据"}));
    EXPECT_EQ(f->Combo2->currentText(), "00000007");
    EXPECT_TRUE(f->Command6->isEnabled());
    // A book with nothing free: no bill, no void.
    exec(QStringLiteral("UPDATE 票据 SET 作废日期 = '2026-01-01' WHERE 入库单编号 = 'ZG9'"));
    f->Combo1->setCurrentIndex(2);
    f->Combo1_Click();
    EXPECT_EQ(f->Combo2->count(), 0);
    EXPECT_FALSE(f->Command6->isEnabled());
    // 确定 and 作废票据 with nothing chosen write nothing.
    f->Command5_Click();
    f->票据作废();
    EXPECT_EQ(boxTexts(), (QStringList{"请确定票据编号", "请确定票据编号"}));
}

DriverFault lostConnection() { return DriverFault{QStringLiteral("server gone"), {}, true}; }

TEST_F(CustomBill, AVoidRunsAgainAfterALostConnectionAtMostThreeTimes)
{
    struct Case {
        int lost;        // lost-connection failures before the statement gets through
        bool otherError; // then a failure of another kind
        bool voided;
        int endCalls;
        int boxes;
    };
    for (const Case& c : {Case{1, false, true, 0, 0}, Case{2, false, true, 0, 0}, Case{3, false, false, 1, 2},
                          Case{1, true, false, 0, 1}}) {
        auto* f = panelWindow();
        const qint64 id = f->Combo2->currentData().toLongLong();
        int runs = 0;
        setStatementFaultHook([&](const QString& sql) -> std::optional<DriverFault> {
            if (!sql.startsWith(QStringLiteral("UPDATE 票据 SET 作废日期"))) return std::nullopt;
            ++runs;
            if (runs <= c.lost) return lostConnection();
            if (c.otherError && runs == c.lost + 1) return DriverFault{QStringLiteral("约束"), {}, false};
            return std::nullopt;
        });
        doubles().boxes->shown.clear();
        const int ends = doubles().shell->endCalls;
        f->票据作废();
        setStatementFaultHook({});
        EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM 票据 WHERE ID = ? AND 作废日期 IS NOT NULL"), {id}), c.voided ? 1 : 0)
            << c.lost;
        EXPECT_EQ(runs, std::min(c.lost + 1, 3)) << c.lost;
        EXPECT_EQ(doubles().shell->endCalls - ends, c.endCalls) << c.lost;
        EXPECT_EQ(doubles().boxes->shown.size(), c.boxes) << c.lost;
        if (c.endCalls) {
            EXPECT_EQ(boxTexts().value(1), "【提醒】本系统将自动退出！等服务器或网络正常后再使用本系统。");
        }
        FormRegistry::instance().unloadAll();
    }
}

TEST_F(CustomBill, SelfNumberedPrintReprintAndHandBack)
{
    auto* w = preparedReceipt(QStringLiteral("ZD 物业收费单"));
    bool ran = false;
    onModal<frm自定义票据打印>([&](frm自定义票据打印& f) {
        EXPECT_EQ(f.Caption(), "自定义票据打印");
        EXPECT_EQ(f.Label2->text(), "所选打印机：PDF-1");
        EXPECT_FALSE(f.Command4->isVisibleTo(&f));
        EXPECT_TRUE(f.Command1->isEnabled());
        EXPECT_EQ(f.page.firstSingleField(QStringLiteral("付款人")), "O'Brien");
        EXPECT_EQ(f.page.firstSingleField(QStringLiteral("票据编号")), "<打印完成后自动生成>");
        answer({vbNo, vbOK});
        f.Command1_Click();
        EXPECT_EQ(f.Command1->text(), "重新打印");
        EXPECT_EQ(f.page.firstSingleField(QStringLiteral("票据编号")), "00000001");
        // Closing by the title bar asks first; No keeps the window.
        answer({vbNo});
        f.close();
        EXPECT_TRUE(f.isLoaded());
        answer({vbYes});
        f.Command1_Click();
        ran = true;
    });
    w->Command16_Click();
    ASSERT_TRUE(ran);
    EXPECT_EQ(boxTexts(), (QStringList{"是否正常打印票据了？", "请确认打印机处于正常,然后按[重新打印]按钮",
                                       "确认不再重新打印票据？\n如果您选择[是]，系统将自动作废该票据", "是否正常打印票据了？"}));
    EXPECT_EQ(printers->jobs.size(), 2u);
    EXPECT_EQ(column(QStringLiteral("SELECT 入库单编号, 票据编号, 付款人 FROM 票据 WHERE 入库单编号 = 'ZD'")),
              QStringList{"ZD/00000001/O'Brien"});
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM 票据开票数据 WHERE 入库单编号 = 'ZD'")), 1);
    EXPECT_EQ(receipts(), (QStringList{QStringLiteral("%1/00000001/ZD").arg(a), QStringLiteral("%1/00000001/ZD").arg(b)}));
}

TEST_F(CustomBill, LeavingASpoiledSelfNumberedBillVoidsIt)
{
    auto* w = preparedReceipt(QStringLiteral("ZD 物业收费单"));
    onModal<frm自定义票据打印>([&](frm自定义票据打印& f) {
        answer({vbNo, vbOK, vbYes});
        f.Command1_Click();
        f.Command2_Click();
    });
    w->Command16_Click();
    EXPECT_EQ(handedBack, std::nullopt);
    EXPECT_EQ(column(QStringLiteral("SELECT 票据编号, 作废原因, 作废人 FROM 票据 WHERE 入库单编号 = 'ZD'")),
              QStringList{"00000001/打印失败/王芳 "});
    EXPECT_TRUE(receipts().isEmpty());
}

TEST_F(CustomBill, LeavingBeforeAnyPrintHandsBackNothing)
{
    auto* w = preparedReceipt(QStringLiteral("ZD 物业收费单"));
    onModal<frm自定义票据打印>([&](frm自定义票据打印& f) { f.Command2_Click(); });
    w->Command16_Click();
    EXPECT_EQ(handedBack, std::nullopt);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM 票据 WHERE 入库单编号 = 'ZD'")), 0);
}

TEST_F(CustomBill, APaperBillSpoiledIsVoidedAndTheNextOneHandedBack)
{
    auto* w = preparedReceipt(QStringLiteral("ZG 管理处收据"));
    onModal<frm自定义票据打印>([&](frm自定义票据打印& f) {
        EXPECT_TRUE(f.Command4->isVisibleTo(&f));
        EXPECT_FALSE(f.Command1->isEnabled());
        f.Command4_Click();
        EXPECT_TRUE(f.Picture4->isVisibleTo(&f));
        EXPECT_EQ(f.Combo1->currentText(), "ZG1 管理处收据");
        EXPECT_EQ(f.Combo2->currentText(), "00000001");
        f.Combo2->setCurrentIndex(-1);
        f.Command5_Click();
        EXPECT_FALSE(f.Command1->isEnabled());
        f.Combo2->setCurrentIndex(0);
        f.Combo2_Click();
        f.Command5_Click();
        EXPECT_TRUE(f.Command1->isEnabled());
        answer({vbNo, vbOK});
        f.Command1_Click();
        EXPECT_TRUE(f.Picture4->isVisibleTo(&f));
        EXPECT_TRUE(f.Command6->isVisibleTo(&f));
        EXPECT_FALSE(f.Command1->isEnabled());
        EXPECT_EQ(f.Command1->text(), "打印");
        answer({vbYes});
        f.Command6_Click();
        EXPECT_EQ(f.Combo2->currentText(), "00000002");
        f.Command5_Click();
        answer({vbYes});
        f.Command1_Click();
    });
    w->Command16_Click();
    EXPECT_EQ(boxTexts().value(3), "确认要作废00000001 这张单据");
    EXPECT_EQ(column(QStringLiteral("SELECT 票据编号, 作废原因, 作废人 FROM 票据 WHERE 入库单编号 = 'ZG1' AND 作废日期 IS NOT NULL")),
              QStringList{"00000001/打印错误/1001"});
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM 票据 WHERE 入库单编号 = 'ZG1' AND 票据编号 = '00000002' AND 开票日期 IS NOT NULL "
                                   "AND 税额 IS NOT NULL")),
              1);
    EXPECT_EQ(receipts(), (QStringList{QStringLiteral("%1/00000002/ZG1").arg(a), QStringLiteral("%1/00000002/ZG1").arg(b)}));
}

TEST_F(CustomBill, APaperBillTakenMeanwhileIsNotCompleted)
{
    auto* w = preparedReceipt(QStringLiteral("ZG 管理处收据"));
    onModal<frm自定义票据打印>([&](frm自定义票据打印& f) {
        f.Command5_Click();
        exec(QStringLiteral("UPDATE 票据 SET 开票日期 = '2026-12-01' WHERE 入库单编号 = 'ZG1' AND 票据编号 = '00000001'"));
        f.Command1_Click();
        EXPECT_EQ(f.Combo2->currentText(), "00000002");
        EXPECT_FALSE(f.Command1->isEnabled());
        f.Command2_Click();
    });
    w->Command16_Click();
    EXPECT_EQ(boxTexts(), QStringList{"该票据已被使用或作废，请重新选择票据"});
    EXPECT_TRUE(printers->jobs.empty());
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM 票据开票数据")), 0);
}

TEST_F(CustomBill, PrintingStaysBlockedWhenTheBillCannotBeShownWhole)
{
    // Layout of one line row for a bill of two lines.
    exec(QStringLiteral("DELETE FROM 票据自定义格式内容 WHERE 格式ID = ? AND 内容 = '项目' AND 行 > 1"), {own});
    auto* w = preparedReceipt(QStringLiteral("ZD 物业收费单"));
    w->MSFlexGrid2->setRows(3);
    w->MSFlexGrid2->setTextMatrix(2, 0, QStringLiteral("第二行"));
    onModal<frm自定义票据打印>([&](frm自定义票据打印& f) {
        EXPECT_TRUE(f.printBlocked());
        EXPECT_FALSE(f.Command1->isEnabled());
        f.Command2_Click();
    });
    w->Command16_Click();
    EXPECT_EQ(boxTexts(), QStringList{kTooFewLines});
}

TEST_F(CustomBill, NoPrinterSavesNothing)
{
    printers->installed.clear();
    auto* w = preparedReceipt(QStringLiteral("ZD 物业收费单"));
    onModal<frm自定义票据打印>([&](frm自定义票据打印& f) {
        EXPECT_EQ(f.Label2->text(), "所选打印机：");
        f.Command1_Click();
        f.Command2_Click();
    });
    w->Command16_Click();
    EXPECT_EQ(boxTexts(), QStringList{"没有可用的打印机"});
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM 票据 WHERE 入库单编号 = 'ZD'")), 0);
}

TEST_F(CustomBill, APrinterFailureAfterSavingGoesToTheReprint)
{
    printers->refuse = true;
    auto* w = preparedReceipt(QStringLiteral("ZD 物业收费单"));
    onModal<frm自定义票据打印>([&](frm自定义票据打印& f) {
        doubles().dialogs->answers.push_back(QStringLiteral("PDF-2"));
        f.Command3_Click();
        EXPECT_EQ(f.Label2->text(), "选择打印机：PDF-2");
        f.Command1_Click();
        EXPECT_EQ(f.Command1->text(), "重新打印");
        printers->refuse = false;
        answer({vbYes});
        f.Command1_Click();
    });
    w->Command16_Click();
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM 票据 WHERE 入库单编号 = 'ZD'")), 1);
    ASSERT_EQ(printers->jobs.size(), 1u);
    EXPECT_EQ(printers->jobs[0].device, "PDF-2");
    EXPECT_EQ(handedBack, (BillHandBack{QStringLiteral("ZD"), QStringLiteral("00000001"), std::nullopt}));
}

// CORVANE_SHOTS names a folder for pictures of the window.
void picture(QWidget& w, const char* name)
{
    const QString folder = qEnvironmentVariable("CORVANE_SHOTS");
    if (!folder.isEmpty()) w.grab().save(folder + QLatin1Char('/') + QString::fromUtf8(name) + QStringLiteral(".png"));
}

// On a 1024x768 screen the window fits and Esc closes it as 退出 does. The
// number panel asks for the bill to print on and has no 取消 of its own.
TEST_F(CustomBill, OnTheSmallScreenEveryControlIsInReachAndEscCloses)
{
    for (const char* kind : {"ZD 物业收费单", "ZG 管理处收据"}) {
        auto* w = preparedReceipt(QString::fromUtf8(kind));
        bool ran = false;
        onModal<frm自定义票据打印>([&](frm自定义票据打印& f) {
            ran = true;
            EXPECT_EQ(screenProblems(f), QStringList()) << kind;
            EXPECT_EQ(escapeProblems(f, f.Command2), QStringList()) << kind;
        });
        w->Command16_Click();
        EXPECT_TRUE(ran) << kind;
        FormRegistry::instance().unloadAll();
    }
}

TEST_F(CustomBill, EveryControlIsWholeAtAnySize)
{
    for (const char* kind : {"ZD 物业收费单", "ZG 管理处收据"}) {
        auto* w = preparedReceipt(QString::fromUtf8(kind));
        onModal<frm自定义票据打印>([&](frm自定义票据打印& f) {
            if (f.Command4->isVisibleTo(&f)) {
                f.Command4_Click();
                f.Command6->setVisible(true);
            }
            // The page may be larger than its viewport: the scroll bars move it.
            EXPECT_EQ(layoutProblems(&f, {QStringLiteral("Picture2")}), QStringList()) << kind;
            // Nothing on it is typed: what it stores comes from the receipt window's boxes.
            EXPECT_EQ(inputProblems(&f, {}).join(u'\n').toStdString(), "") << kind;
            picture(f, f.Command4->isVisibleTo(&f) ? "custom_bill_managed" : "custom_bill_numbered");
            f.resize(f.minimumSize());
            EXPECT_EQ(layoutProblems(&f, {QStringLiteral("Picture2")}), QStringList()) << kind;
            EXPECT_TRUE(f.HScroll1->isEnabled());
            picture(f, f.Command4->isVisibleTo(&f) ? "custom_bill_managed_small" : "custom_bill_numbered_small");
            f.Command2_Click();
        });
        w->Command16_Click();
        FormRegistry::instance().unloadAll();
    }
}

}  // namespace
}  // namespace corvane::test
