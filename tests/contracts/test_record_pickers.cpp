#include <gtest/gtest.h>

#include "RecordFixture.h"

using namespace corvane;
using namespace corvane::test;

namespace {

QStringList entries(const QListWidget& list)
{
    QStringList out;
    for (int i = 0; i < list.count(); ++i) out << list.item(i)->text();
    return out;
}

}  // namespace

TEST_F(RecordTest, TypeListFollowsTheUsersRightsAndDepartment)
{
    exec("UPDATE 合同类型 SET 公用 = 0");
    exec("UPDATE 合同类型 SET 公用 = NULL WHERE 合同类型编号 = ?", {"T4"});
    exec("UPDATE 合同类型 SET 公用 = 1 WHERE 合同类型编号 = ?", {"T2"});
    addType("T5", "空类别合同", QString(), "KL");
    exec("UPDATE 合同类型 SET 合同类别 = NULL, 公用 = 0 WHERE 合同类型编号 = ?", {"T5"});
    for (const char* type : {"T1", "T2", "T4", "T5"})
        exec("INSERT INTO 合同使用部门设置 (合同类型编号, 部门) VALUES (?, ?)", {type, "D01"});
    exec("INSERT INTO 合同使用部门设置 (合同类型编号, 部门) VALUES (?, ?)", {"T3", "D02"});

    // Shared first, then the department's own; a shared type assigned to the
    // department once; an empty 公用 is not shared and not own; an empty
    // category does not end the list.
    auto* f = openRecord("新增");
    EXPECT_EQ(entries(*f->List1), (QStringList{"T2 物业服务合同", "T1 工程合同", "T5 空类别合同"}));
    EXPECT_EQ(entries(*f->List2), entries(*f->List1));
    EXPECT_EQ(f->类型类别, (QStringList{"收款合同", "付款合同", ""}));

    FormRegistry::instance().unloadAll();
    grantCompanyScope("D01", "P01");
    f = openRecord("新增");
    EXPECT_EQ(f->List1->count(), 5);
}

TEST_F(RecordTest, ChoosingATypeCaptionsThePlanButton)
{
    auto* f = openRecord("新增");
    f->Command7->setEnabled(false);
    const struct {
        const char* entry;
        const char* caption;
    } cases[] = {{"T1 工程合同", "付款计划"}, {"T2 物业服务合同", "收款计划"}};
    for (const auto& c : cases) {
        f->Command5_Click();
        EXPECT_TRUE(shown(f->List1));
        f->List1->setCurrentRow(int(entries(*f->List1).indexOf(QString::fromUtf8(c.entry))));
        f->List1_Click();
        EXPECT_EQ(f->Text1[3]->text(), QString::fromUtf8(c.entry));
        EXPECT_EQ(f->Command7->text(), QString::fromUtf8(c.caption));
        EXPECT_FALSE(shown(f->List1));
    }
    EXPECT_FALSE(on(f->Command7));  // not enabled while the contract is new
}

class SupplierPickerTest : public RecordTest {
protected:
    void SetUp() override
    {
        RecordTest::SetUp();
        exec("INSERT INTO 供方信息 (供应商编号, 供应商名称, 合格供方) VALUES (?, ?, ?)", {"S01", "ABC", 1});
        exec("INSERT INTO 供方信息 (供应商编号, 供应商名称, 合格供方) VALUES (?, ?, ?)", {"S02", "AB", 0});
        exec("INSERT INTO 供方信息 (供应商编号, 供应商名称, 合格供方) VALUES (?, ?, ?)", {"S03", "BCD", QVariant()});
        exec("INSERT INTO 供方信息 (供应商编号, 供应商名称, 合格供方, 结束日期) VALUES (?, ?, ?, ?)",
             {"S04", "ZZ已停用", 1, QDate(2020, 1, 1)});
        exec("INSERT INTO 供方单位基本信息 (供应商编号, 开户行, 帐号, 税号) VALUES (?, ?, ?, ?)", {"S01", "工行", "6222", "91X"});
        f = openRecord("新增");
        f->Command1_Click();
    }
    int rowNamed(const QString& name) const
    {
        for (int r = 1; r < f->MSFlexGrid3->Rows(); ++r)
            if (f->MSFlexGrid3->TextMatrix(r, 2) == name) return r;
        return -1;
    }
    Frm合同信息* f = nullptr;
};

TEST_F(SupplierPickerTest, GridListsActiveSuppliersInEitherOrder)
{
    const FlexGrid& g = *f->MSFlexGrid3;
    ASSERT_EQ(g.Rows(), 4);
    EXPECT_EQ(g.TextMatrix(1, 1) + g.TextMatrix(2, 1) + g.TextMatrix(3, 1), "S01S02S03");
    EXPECT_EQ(g.TextMatrix(3, 0) + g.TextMatrix(1, 3) + g.TextMatrix(2, 3) + g.TextMatrix(3, 3), "3100");
    f->Option1[1]->setChecked(true);
    f->Option1_Click(1);
    EXPECT_EQ(g.TextMatrix(1, 2) + "|" + g.TextMatrix(2, 2) + "|" + g.TextMatrix(3, 2), "AB|ABC|BCD");
}

TEST_F(SupplierPickerTest, TypingCompletesTheFirstMatchingName)
{
    f->Text2->setText("A");
    EXPECT_EQ(f->Text2->text(), "ABC");
    EXPECT_EQ(f->Text2->selectionStart(), 1);
    EXPECT_EQ(f->Text2->selectedText(), "BC");
    EXPECT_EQ(TagOf(f->Text2), "S01");
    EXPECT_EQ(f->MSFlexGrid3->Row(), rowNamed("ABC"));

    f->Text2->setText("X");  // nothing begins so: the last match stays
    EXPECT_EQ(TagOf(f->Text2), "S01");
    EXPECT_EQ(f->MSFlexGrid3->Row(), rowNamed("ABC"));
    f->Command24_Click();
    EXPECT_EQ(lastText(), "未找到您所选择的供方单位，请核对输入或选择的供方单位名称是否正确");
    EXPECT_TRUE(shown(f->Picture9));
}

TEST_F(SupplierPickerTest, AClickTakesTheClickedRowEvenBelowALongerName)
{
    f->MSFlexGrid3->setRow(rowNamed("AB"));
    f->MSFlexGrid3_Click();
    EXPECT_EQ(f->Text2->text(), "AB");
    EXPECT_EQ(TagOf(f->Text2), "S02");
    f->Command24_Click();
    EXPECT_EQ(f->Text1[2]->text(), "AB");
    EXPECT_EQ(TagOf(f->Text1[2]), "S02");
    EXPECT_FALSE(shown(f->Label1[16]));  // not qualified
    EXPECT_FALSE(shown(f->Picture9));
    EXPECT_EQ(f->供方开户行 + f->供方帐号 + f->供方税号, "");  // no bank row
}

TEST_F(SupplierPickerTest, QualifiedSupplierBringsItsBankDataIntoTheSave)
{
    f->Text2->setText("ABC");
    f->Command24_Click();
    EXPECT_TRUE(shown(f->Label1[16]));
    EXPECT_EQ(TagOf(f->Label1[16]), "1");
    f->Command1_Click();
    f->Text2->setText("X");  // names no supplier: refused, the pick stays
    f->Command24_Click();
    EXPECT_EQ(lastText(), "未找到您所选择的供方单位，请核对输入或选择的供方单位名称是否正确");
    f->Command25_Click();
    fillNew(*f);
    f->Text1[1]->setText("HT-1");
    f->Text4[1]->setText("面板里的行");
    f->Command2_Click();
    const Row r = contractRow("HT-1");
    EXPECT_EQ(r.text("对方单位"), "ABC");
    EXPECT_EQ(r.text("对方开户行") + r.text("对方帐号") + r.text("对方税号"), "工行622291X");
    EXPECT_EQ(r.value("是否是合格供方").toInt(), 1);
    EXPECT_EQ(r.text("合格供方代码"), "S01");
}

TEST_F(RecordTest, CounterpartyPanelWritesASavedContractAtOnce)
{
    addContract("A", "D01", "T1", "未提交",
                {{"对方单位", "甲"}, {"是否是合格供方", 1}, {"合格供方代码", "S01"}, {"对方帐号", "1"}});
    auto* f = openRecord("修改", "A");
    f->Command4_Click();
    EXPECT_TRUE(shown(f->Picture8));
    f->Text4[0]->setText("乙公司");
    f->Text4[1]->setText("建行");
    f->Text4[2]->setText("");
    f->Text4[3]->setText("");
    f->Command21_Click();
    const Row r = contractRow("A");
    EXPECT_EQ(r.text("对方单位"), "乙公司");
    EXPECT_EQ(r.text("对方开户行"), "建行");
    EXPECT_TRUE(r.isNull("对方帐号"));
    EXPECT_TRUE(r.isNull("对方税号"));
    EXPECT_EQ(r.value("是否是合格供方").toInt(), 1);  // until the next save
    EXPECT_FALSE(shown(f->Label1[16]));
    EXPECT_FALSE(shown(f->Picture8));

    // Gone meanwhile: said so, and the panel stays open.
    exec("DELETE FROM 合同信息 WHERE 合同编号 = ?", {"A"});
    f->Command4_Click();
    f->Command21_Click();
    EXPECT_EQ(lastText(), "该合同已被删除，或其状态已被他人改变，本次操作没有执行。请重新打开该合同。");
    EXPECT_TRUE(shown(f->Picture8));
}
