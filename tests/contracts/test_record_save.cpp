#include <gtest/gtest.h>

#include <QThread>
#include <algorithm>
#include <atomic>
#include <thread>

#include "RecordFixture.h"
#include "contracts/ContractStore.h"
#include "contracts/RecordSheet.h"

using namespace corvane;
using namespace corvane::test;

TEST_F(RecordTest, SaveRefusesIncompleteInputWithItsMessages)
{
    auto* f = openRecord("新增");
    const struct {
        const char* box;
        int index;
        const char* text;
        const char* message;
    } cases[] = {
        {"name empty", 0, "", "合同名称不能为空，请填写合同名称!"},
        {"name placeholder", 0, "<请输入合同名称>", "合同名称不能为空，请填写合同名称!"},
        {"number empty", 1, "", "请输入合同编号"},
        {"number placeholder", 1, "<请输入合同编号>", "请输入合同编号"},
        {"type empty", 3, "", "请选择合同类型"},
        {"start not a date", 5, "2026-02-30", "请输入正确合同的起止日期"},
        {"end empty", 6, "", "请输入正确合同的起止日期"},
        {"amount not a number", 4, "12万", "请输入正确的合同金额（数字，最多两位小数）"},
        {"amount with two points", 4, "1.2.3", "请输入正确的合同金额（数字，最多两位小数）"},
        {"number with a blank inside", 1, "HT 1", "合同编号中不能含有空格或控制字符"},
        {"number with a tab inside", 1, "HT\t1", "合同编号中不能含有空格或控制字符"},
        {"end before start", 6, "2025-12-31", "合同终止日期不能早于开始日期"},
        {"amount with a third decimal", 4, "123456.789", "请输入正确的合同金额（数字，最多两位小数）"},
        {"amount past thirteen digits", 4, "12345678901234.56", "请输入正确的合同金额（数字，最多两位小数）"},
    };
    for (const auto& c : cases) {
        fillNew(*f);
        f->Text1[1]->setText("HT-1");
        f->Text1[size_t(c.index)]->setText(QString::fromUtf8(c.text));
        boxes().clear();
        f->Command2_Click();
        ASSERT_EQ(boxes().size(), 1) << c.box;
        EXPECT_EQ(boxes()[0].text, QString::fromUtf8(c.message)) << c.box;
        EXPECT_EQ(f->Tag, "新增") << c.box;
    }
    EXPECT_EQ(count("SELECT COUNT(*) FROM 合同信息"), 0);
}

TEST_F(RecordTest, AutomaticNumbersShareOneSerialAndStepPastTakenNumbers)
{
    addContract("TYPED", "D01", "T1", "未提交");  // a typed number has no serial
    addContract("GC-00000002", "D01", "T1", "未提交");  // typed by hand, in the way of a later serial
    auto* f = openRecord("新增");

    const struct {
        const char* type;
        const char* number;
        int serial;
    } saves[] = {
        {"T1 工程合同", "GC-00000001", 1},
        {"T2 物业服务合同", "WY-00000002", 2},  // the serial counts over all types
        {"T1 工程合同", "GC-00000003", 3},      // GC-00000002 is taken: stepped on
        {"T4 杂项合同", "-00000004", 4},        // no prefix: the dash stays
    };
    for (const auto& s : saves) {
        openRecord("新增");
        fillNew(*f, QString::fromUtf8(s.type));
        f->Check1->setChecked(true);
        EXPECT_EQ(f->Text1[1]->text(), "<保存时自动生成编号>");
        f->Command2_Click();
        EXPECT_TRUE(boxes().isEmpty()) << lastText().toStdString();
        EXPECT_EQ(f->Text1[1]->text(), QString::fromUtf8(s.number));
        const Row r = contractRow(s.number);
        EXPECT_EQ(r.value("流水号").toInt(), s.serial) << s.number;
        EXPECT_EQ(TagOf(f->Text1[1]).toLongLong(), idOf(s.number));
        EXPECT_EQ(f->Tag, "修改");
        EXPECT_EQ(f->Label1[18]->text(), "未提交");  // the state of the row just made
    }
    const Row r = contractRow("GC-00000001");
    EXPECT_EQ(r.text("合同状态"), "未提交");
    EXPECT_EQ(r.text("对应部门"), "D01");
    EXPECT_EQ(r.text("合同类型"), "T1");
    EXPECT_EQ(r.text("CzyDH"), "E001");
    EXPECT_EQ(contract::amountText(r.value("合同金额")), "1234.50");
    EXPECT_EQ(toDate(r.value("合同起始日期")), QDate(2026, 1, 1));
    EXPECT_EQ(r.value("是否是合格供方").toInt(), 0);
}

TEST_F(RecordTest, TypedNumberMustBeFreeAndHasNoSerial)
{
    addContract("HT-1", "D01", "T1", "未提交");
    auto* f = openRecord("新增");
    fillNew(*f);
    f->Text1[1]->setText("HT-1");
    f->Command2_Click();
    EXPECT_EQ(lastText(), "HT-1编号的合同已经存在，请输入其他的合同编号");
    EXPECT_EQ(count("SELECT COUNT(*) FROM 合同信息"), 1);

    f->Text1[1]->setText("HT-2");
    f->Text1[4]->setText("");
    f->Command2_Click();
    const Row r = contractRow("HT-2");
    EXPECT_TRUE(r.isNull("流水号"));
    EXPECT_TRUE(r.isNull("合同金额"));
    f->Form_Activate();
    EXPECT_EQ(f->Text1[4]->text(), "0.00");
}

TEST_F(RecordTest, LaterSavesUpdateTheSavedRowByIdWhateverTheNumberBoxSays)
{
    addContract("OTHER", "D01", "T1", "未提交", {{"合同名称", "别的合同"}});
    auto* f = openRecord("新增");
    fillNew(*f);
    f->Text1[1]->setText("HT-1");
    f->Command2_Click();
    EXPECT_TRUE(f->Text1[1]->Locked());
    EXPECT_TRUE(on(f->Frame3));
    EXPECT_TRUE(on(f->Command3));
    EXPECT_TRUE(on(f->Command9));

    // The box is locked; even text put into it by code does not redirect the save.
    f->Text1[1]->setText("OTHER");
    f->Text1[0]->setText("改名");
    f->Command2_Click();
    EXPECT_EQ(count("SELECT COUNT(*) FROM 合同信息"), 2);
    EXPECT_EQ(contractRow("HT-1").text("合同名称"), "改名");
    EXPECT_EQ(contractRow("OTHER").text("合同名称"), "别的合同");
}

TEST_F(RecordTest, SaveOfAContractDeletedOrSubmittedMeanwhileIsReported)
{
    addContract("A", "D01", "T1", "未提交", {{"合同起始日期", QDate(2026, 1, 1)}, {"合同终止日期", QDate(2026, 2, 1)}});
    addContract("B", "D01", "T1", "未提交", {{"合同起始日期", QDate(2026, 1, 1)}, {"合同终止日期", QDate(2026, 2, 1)}});
    auto* f = openRecord("修改", "A");
    f->Text1[0]->setText("新名");
    exec("DELETE FROM 合同信息 WHERE 合同编号 = 'A'");
    f->Command2_Click();
    EXPECT_EQ(lastText(), "该合同已被删除，或其状态已被他人改变，本次操作没有执行。请重新打开该合同。");

    openRecord("修改", "B");
    exec("UPDATE 合同信息 SET 提交日期 = ?, 合同状态 = '审批中' WHERE 合同编号 = 'B'", {QDateTime(kToday, QTime(8, 0))});
    f->Text1[0]->setText("新名");
    boxes().clear();
    f->Command2_Click();
    ASSERT_EQ(boxes().size(), 1);
    EXPECT_NE(contractRow("B").text("合同名称"), "新名");
}

TEST_F(RecordTest, AutomaticNumberingKeepsItsPlaceholderWhenTheBoxGetsFocus)
{
    auto* f = openRecord("新增");
    fillNew(*f);
    f->Check1->setChecked(true);
    f->Text1_GotFocus(1);
    EXPECT_EQ(f->Text1[1]->text(), "<保存时自动生成编号>");
    f->Command2_Click();
    EXPECT_EQ(f->Text1[1]->text(), "GC-00000001");

    openRecord("新增");
    EXPECT_FALSE(f->Check1->isChecked());
    EXPECT_EQ(f->Text1[1]->text(), "<请输入合同编号>");
    f->Text1[1]->setText("typed");
    f->Text1_GotFocus(1);
    EXPECT_EQ(f->Text1[1]->text(), "");
}

TEST_F(RecordTest, QualifiedSupplierKeepsStoredBankDataUnlessThePickerWasUsed)
{
    exec("INSERT INTO 供方信息 (供应商编号, 供应商名称, 合格供方) VALUES ('S01', '甲公司', 1)");
    exec("INSERT INTO 供方单位基本信息 (供应商编号, 开户行, 帐号, 税号) VALUES ('S01', '新行', '新号', '新税')");
    addContract("A", "D01", "T1", "未提交",
                {{"对方单位", "甲公司"}, {"是否是合格供方", 1}, {"合格供方代码", "S01"}, {"对方开户行", "旧行"},
                 {"对方帐号", "旧号"}, {"对方税号", "旧税"}, {"合同起始日期", QDate(2026, 1, 1)},
                 {"合同终止日期", QDate(2026, 2, 1)}});
    auto* f = openRecord("修改", "A");
    f->Text1[0]->setText("改名");
    f->Command2_Click();
    Row r = contractRow("A");
    EXPECT_EQ(r.text("对方开户行") + r.text("对方帐号") + r.text("对方税号"), "旧行旧号旧税");
    EXPECT_EQ(r.value("是否是合格供方").toInt(), 1);
    EXPECT_EQ(r.text("合格供方代码"), "S01");

    f->Command1_Click();
    f->Command24_Click();  // the search box already names the supplier
    f->Command2_Click();
    r = contractRow("A");
    EXPECT_EQ(r.text("对方开户行") + r.text("对方帐号") + r.text("对方税号"), "新行新号新税");
}

// A blank typed after a number made a second contract that the list showed
// as the first, and opening or deleting it reached the first.
TEST_F(RecordTest, ATypedNumberIsTrimmedAndAnOpenedContractIsTheOneChosen)
{
    addContract("WF-00000003", "D01", "T1", "未提交", {{"合同名称", "原合同"}});
    auto* f = openRecord("新增");
    fillNew(*f);
    f->Text1[1]->setText("WF-00000003 ");
    f->Command2_Click();
    EXPECT_EQ(lastText(), "WF-00000003编号的合同已经存在，请输入其他的合同编号");
    EXPECT_EQ(count("SELECT COUNT(*) FROM 合同信息"), 1);

    f->Text1[1]->setText(" WF-00000004\n");
    f->Command2_Click();
    EXPECT_EQ(count("SELECT COUNT(*) FROM 合同信息 WHERE 合同编号 = 'WF-00000004'"), 1);

    // Two rows that differ only by a blank (left by older programs): the
    // window shows and acts on the row whose id it was handed.
    addContract("WF-00000005 ", "D01", "T1", "未提交", {{"合同名称", "带空格"}});
    addContract("WF-00000005", "D01", "T1", "未提交", {{"合同名称", "不带空格"}});
    FormRegistry::instance().unloadAll();
    auto* g = openRecord("修改", "WF-00000005 ");
    EXPECT_EQ(g->Text1[0]->text(), "带空格");
    doubles().boxes->answers = {vbYes};
    g->Command3_Click();
    EXPECT_EQ(count("SELECT COUNT(*) FROM 合同信息 WHERE 合同名称 = '不带空格'"), 1);
    EXPECT_EQ(count("SELECT COUNT(*) FROM 合同信息 WHERE 合同名称 = '带空格'"), 0);
}

TEST_F(RecordTest, AContractNeedsADepartment)
{
    auto* f = openRecord("新增");
    SetTag(f->Text3, QString());  // the built-in super user has none
    fillNew(*f);
    f->Text1[1]->setText("HT-1");
    f->Command2_Click();
    EXPECT_EQ(lastText(), "请选择合同所属部门");
    EXPECT_EQ(count("SELECT COUNT(*) FROM 合同信息"), 0);
}

// Every write the window makes requires the contract to be still in a state
// that offers it; the same rule decides which buttons are on.
TEST_F(RecordTest, EditsReachOnlyAContractStillEditable)
{
    const struct {
        const char* state;
        std::map<QString, QVariant> columns;
    } cases[] = {
        {"未提交", {}},
        {"审批中", {{"提交日期", QDateTime(kToday, QTime(9, 0))}}},
        {"已作废", {}},
        {"履行中", {}},
        {"已中止", {}},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.state);
        const QString number = QStringLiteral("E-%1").arg(++n);
        addContract(number, "D01", "T1", c.state, c.columns);
        const qint64 id = idOf(number);
        contract::ContractProgress p;
        p.hasState = true;
        p.state = QString::fromUtf8(c.state);
        p.submitted = c.columns.count("提交日期") > 0;
        const contract::RecordButtons offered = contract::recordButtonsFor(p, false);

        const auto saved = contract::updateEditableContract(id, {{QStringLiteral("合同名称"), QStringLiteral("改")}});
        EXPECT_EQ(saved.done(), offered.Command2);
        EXPECT_EQ(saved.kind == contract::WriteOutcome::NoRow, !offered.Command2);
        EXPECT_EQ(contract::saveCounterparty(id, "乙", "", "", "").done(), offered.Command4);
        qint64 attachment = 0;
        EXPECT_EQ(contract::addAttachment(id, "a.pdf", QByteArray("%PDF-1.4"), &attachment).done(), offered.Command11);
    }
    // Nothing is stored for a contract deleted meanwhile.
    qint64 attachment = 0;
    EXPECT_EQ(contract::addAttachment(999999, "a.pdf", QByteArray("%PDF-1.4"), &attachment).kind,
              contract::WriteOutcome::NoRow);
    EXPECT_EQ(count("SELECT COUNT(*) FROM 合同信息附件 WHERE 合同ID = 999999"), 0);
}

TEST_F(RecordTest, TheCounterpartyOfAContractSubmittedMeanwhileStaysAsItWas)
{
    addContract("A", "D01", "T1", "未提交", {{"对方单位", "甲公司"}});
    auto* f = openRecord("修改", "A");
    exec("UPDATE 合同信息 SET 提交日期 = ?, 合同状态 = '审批中' WHERE 合同编号 = 'A'", {QDateTime(kToday, QTime(9, 0))});
    f->Text4[0]->setText("乙公司");
    f->Command21_Click();
    EXPECT_EQ(lastText(), "该合同已被删除，或其状态已被他人改变，本次操作没有执行。请重新打开该合同。");
    EXPECT_EQ(contractRow("A").text("对方单位"), "甲公司");
}

// A window that cannot read its lists says so once and does not open.
TEST_F(RecordTest, AFailedReadWhileLoadingShowsOneBoxAndTheWindowStaysClosed)
{
    addContract("A", "D01", "T1", "未提交");
    exec("DROP TABLE 供方信息");
    boxes().clear();
    openRecord("修改", "A");
    EXPECT_EQ(boxes().size(), 1);
    EXPECT_FALSE(Forms::isLoaded<Frm合同信息>());
}
