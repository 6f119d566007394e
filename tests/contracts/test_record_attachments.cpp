#include <gtest/gtest.h>

#include "RecordFixture.h"

using namespace corvane;
using namespace corvane::test;

TEST_F(RecordTest, AttachmentsAreAddedOpenedAndDeleted)
{
    addContract("A", "D01", "T1", "未提交");
    auto* f = openRecord("修改", "A");
    const FlexGrid& g = *f->MSFlexGrid2;
    EXPECT_EQ(g.Rows(), 1);

    const QString source = QDir(programFolder()).filePath("in/扫描件.pdf");
    QDir(programFolder()).mkpath("in");
    QFile file(source);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("%PDF-1.4 contract scan");
    file.close();
    for (int i = 0; i < 3; ++i) {
        doubles().dialogs->answers = {source};
        f->Command11_Click();
    }
    ASSERT_EQ(g.Rows(), 4);
    EXPECT_EQ(g.TextMatrix(3, 0) + g.TextMatrix(3, 1) + g.TextMatrix(3, 2), "3扫描件.pdf浏览");
    EXPECT_TRUE(on(f->Command8));
    EXPECT_EQ(count("SELECT COUNT(*) FROM 合同信息附件 WHERE 合同ID = ? AND 名称 = ? AND 类别 = ?",
                    {idOf("A"), "扫描件.pdf", "文件"}),
              3);

    // Opening copies the file into Temp and hands it to the shell.
    f->MSFlexGrid2->setRow(2);
    f->MSFlexGrid2->setCol(2);
    f->MSFlexGrid2_Click();
    const QString copy = QDir(programFolder()).filePath("Temp/扫描件.pdf");
    EXPECT_EQ(doubles().shell->opened, QStringList{copy});
    QFile copied(copy);
    ASSERT_TRUE(copied.open(QIODevice::ReadOnly));
    EXPECT_EQ(copied.readAll(), QByteArray("%PDF-1.4 contract scan"));

    // Deleting row 2 of 3 renumbers; No changes nothing.
    f->MSFlexGrid2->setRow(2);
    doubles().boxes->answers = {vbNo};
    f->Command8_Click();
    EXPECT_EQ(lastText(), "确认要删除 扫描件.pdf 这个文件？");
    EXPECT_TRUE(on(f->Command8));
    EXPECT_EQ(g.Rows(), 4);
    f->Command8_Click();
    EXPECT_EQ(g.Rows(), 3);
    EXPECT_EQ(g.TextMatrix(1, 0) + g.TextMatrix(2, 0), "12");
    EXPECT_FALSE(on(f->Command8));
    EXPECT_EQ(count("SELECT COUNT(*) FROM 合同信息附件"), 2);

    // The next load lists what is stored.
    f->Form_Activate();
    EXPECT_EQ(g.Rows(), 3);
}

TEST_F(RecordTest, AnAttachmentThatCannotBeReadOrIsGoneIsReported)
{
    addContract("A", "D01", "T1", "未提交");
    auto* f = openRecord("修改", "A");
    doubles().dialogs->answers = {QDir(programFolder()).filePath("no such file.pdf")};
    f->Command11_Click();
    ASSERT_FALSE(boxes().isEmpty());
    EXPECT_TRUE(lastText().startsWith("错误号：0\n错误描述：")) << lastText().toStdString();
    EXPECT_TRUE(lastText().contains("no such file.pdf")) << lastText().toStdString();
    EXPECT_EQ(count("SELECT COUNT(*) FROM 合同信息附件"), 0);

    // Deleted by someone else while shown: the clerk is told, the row goes.
    exec("INSERT INTO 合同信息附件 (合同ID, 名称, 类别) VALUES (?, 'x.pdf', '文件')", {idOf("A")});
    f->Form_Activate();
    ASSERT_EQ(f->MSFlexGrid2->Rows(), 2);
    exec("DELETE FROM 合同信息附件");
    f->MSFlexGrid2->setRow(1);
    doubles().boxes->answers = {vbYes};
    f->Command8_Click();
    EXPECT_EQ(lastText(), "错误号：0\n错误描述：附件已不存在");
    EXPECT_EQ(f->MSFlexGrid2->Rows(), 1);
}

TEST_F(RecordTest, AnAttachmentNoProgramCanOpenIsSaidSo)
{
    addContract("A", "D01", "T1", "未提交");
    exec("INSERT INTO 合同信息附件 (合同ID, 名称, 附件, 类别) VALUES (?, 'scan.xyz', ?, '文件')",
         {idOf("A"), QByteArray("0123456789")});
    auto* f = openRecord("修改", "A");
    doubles().shell->noProgramToOpen = true;
    f->MSFlexGrid2->setRow(1);
    f->MSFlexGrid2->setCol(2);
    f->MSFlexGrid2_Click();
    const QString copy = QDir::toNativeSeparators(QDir(programFolder()).filePath("Temp/scan.xyz"));
    EXPECT_EQ(lastText(), "附件已保存到 " + copy + "，但没有能打开它的程序：没有与之关联的程序");
    EXPECT_TRUE(QFileInfo::exists(QDir(programFolder()).filePath("Temp/scan.xyz")));
}

TEST_F(RecordTest, AnAttachmentThatCannotBeWrittenIsReportedAndNotOpened)
{
    addContract("A", "D01", "T1", "未提交");
    exec("INSERT INTO 合同信息附件 (合同ID, 名称, 附件, 类别) VALUES (?, 'scan.pdf', ?, '文件')",
         {idOf("A"), QByteArray("0123456789")});
    auto* f = openRecord("修改", "A");
    // A folder where the copy should go: the copy cannot be written.
    ASSERT_TRUE(QDir(programFolder()).mkpath("Temp/scan.pdf/inside"));
    f->MSFlexGrid2->setRow(1);
    f->MSFlexGrid2->setCol(2);
    f->MSFlexGrid2_Click();
    ASSERT_EQ(boxes().size(), 1);
    const ShownBox& box = doubles().boxes->shown.first();
    EXPECT_EQ(box.title, "下载文件出错!");
    EXPECT_EQ(box.icon(), vbCritical);
    EXPECT_FALSE(box.text.isEmpty());
    EXPECT_TRUE(doubles().shell->opened.isEmpty());
}

// Once submitted, the papers the approvers read stay as they are: neither
// added to nor taken away, in the window or behind its back.
TEST_F(RecordTest, AContractInApprovalKeepsItsAttachments)
{
    addContract("A", "D01", "T1", "审批中", {{"提交日期", QDateTime(QDate(2026, 3, 2), QTime(9, 0))}});
    exec("INSERT INTO 合同信息附件 (合同ID, 名称, 类别) VALUES (?, 'x.pdf', '文件')", {idOf("A")});
    auto* f = openRecord("修改", "A");
    ASSERT_EQ(f->MSFlexGrid2->Rows(), 2);
    EXPECT_FALSE(on(f->Command11));
    f->MSFlexGrid2->setRow(1);
    f->MSFlexGrid2->setCol(0);
    f->MSFlexGrid2_Click();
    EXPECT_FALSE(on(f->Command8));

    // A window still showing the contract as editable when someone submitted it.
    exec("UPDATE 合同信息 SET 合同状态 = '未提交', 提交日期 = NULL");
    f->Form_Activate();
    f->MSFlexGrid2->setRow(1);
    f->MSFlexGrid2_Click();
    ASSERT_TRUE(on(f->Command8));
    exec("UPDATE 合同信息 SET 合同状态 = '审批中', 提交日期 = ?", {QDateTime(QDate(2026, 3, 2), QTime(9, 0))});
    doubles().boxes->answers = {vbYes};
    f->Command8_Click();
    EXPECT_EQ(lastText(), "合同已提交审批，附件不能删除！");
    EXPECT_EQ(f->MSFlexGrid2->Rows(), 2);
    EXPECT_EQ(count("SELECT COUNT(*) FROM 合同信息附件"), 1);
}
