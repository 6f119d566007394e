// What a clerk types or pastes reaches the database as the box's rule says,
// or is refused with a message before anything is written.
#include <gtest/gtest.h>

#include "RecordFixture.h"
#include "contracts/ContractStore.h"
#include "contracts/RecordSheet.h"
#include "platform/InputRules.h"
#include "testsupport/HostileInput.h"

using namespace corvane;
using namespace corvane::test;

TEST_F(RecordTest, HostileTextsAreStoredAsTheBoxesKeepThemOrRefused)
{
    struct Box {
        const char* column;
        int index;
        bool multiLine;
    };
    const Box boxes_[] = {{"合同名称", 0, true}, {"主要条款", 7, true}, {"对方签约人", 8, false}, {"签约人", 9, false}};
    int n = 0;
    for (const QString& hostile : hostileTexts()) {
        SCOPED_TRACE(hostile.left(20).toStdString());
        FormRegistry::instance().unloadAll();
        auto* f = openRecord("新增");
        fillNew(*f);
        const QString number = QStringLiteral("H-%1").arg(++n);
        f->Text1[1]->setText(number);
        std::map<QString, QString> expected;
        for (const Box& b : boxes_) {
            TextBox* box = f->Text1[size_t(b.index)];
            box->setText(QString());
            boxes().clear();
            box->insertTyped(hostile);
            const QString kept = b.multiLine ? multiLineText(hostile) : singleLineText(hostile);
            if (box->maxLength() > 0 && kept.size() > box->maxLength()) {
                EXPECT_EQ(box->text(), QString()) << b.column;
                EXPECT_EQ(lastText(), tooLongMessage(box->maxLength())) << b.column;
                if (b.index == 0) box->setText(QStringLiteral("名称"));
            } else {
                EXPECT_EQ(box->text(), kept) << b.column;
            }
            expected[QString::fromUtf8(b.column)] = contract::toStoredText(box->text());
        }
        boxes().clear();
        f->Command2_Click();
        EXPECT_TRUE(boxes().isEmpty()) << lastText().toStdString();
        const Row r = contractRow(number);
        for (const auto& [column, text] : expected) EXPECT_EQ(r.text(column), text) << column.toStdString();

        // The counterparty panel's one-line boxes.
        f->Text4[1]->clear();
        f->Text4[1]->insert(hostile);
        const QString bank = singleLineText(hostile).size() > 100 ? QString() : singleLineText(hostile);
        EXPECT_EQ(f->Text4[1]->text(), bank);
        f->Command21_Click();
        EXPECT_EQ(contractRow(number).text("对方开户行"), bank);
    }
}

TEST_F(RecordTest, TemplateNamesThatLeaveTheProgramFolderOrTextGbkCannotHoldWriteNothing)
{
    auto* f = openRecord("新增");
    f->Text1[3]->setText("T1 工程合同");
    f->Text1[7]->setText("第一条 付款");
    f->Text3->setText("../../x 部门");
    doubles().boxes->answers = {vbYes};
    f->Command17_Click();
    EXPECT_EQ(lastText(), "错误号：0\n错误描述：无法用“../../x 部门T1 工程合同主要条款.TXT”作为模板文件名");
    EXPECT_TRUE(QDir(programFolder()).entryList(QDir::Files).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(QDir(programFolder()).filePath("../../x 部门T1 工程合同主要条款.TXT")));

    f->Text3->setText("D01 财务部");
    f->Text1[7]->setText("第一条 付款😀");
    doubles().boxes->answers = {vbYes};
    f->Command17_Click();
    EXPECT_TRUE(lastText().contains("😀")) << lastText().toStdString();
    EXPECT_TRUE(QDir(programFolder()).entryList(QDir::Files).isEmpty());
}
