// The invoicing item settings window on both engines: the 管理处 list, the
// grid and its editor, saving and applying in one transaction each, the
// subject tree, the numbering panel and the folder panels.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QThread>
#include <atomic>
#include <thread>

#include "VatFixture.h"
#include "db/Schema.h"
#include "platform/Tag.h"
#include "bills/VatStore.h"
#include "bills/frm开票项目设置.h"
#include "testsupport/InputCheck.h"
#include "testsupport/LayoutCheck.h"

namespace corvane::test {
namespace {

using namespace corvane::receipts;

class InvoicingItems : public VatTest {
protected:
    void SetUp() override
    {
        VatTest::SetUp();
        addOffice(QStringLiteral("D01"), QStringLiteral("GL02"), QStringLiteral("二期 管理处"));
        addOffice(QStringLiteral("D02"), QStringLiteral("GL03"), QStringLiteral("总部管理处"));
        exec(QStringLiteral("INSERT INTO 财务科目 (科目代号, 科目名称, 上级科目代号) VALUES "
                            "('222101', '应交增值税', '2221'), ('2221', '应交税费', NULL), "
                            "('22210101', '销项税额', '222101'), ('9901', '孤儿科目', '99')"));
        exec(QStringLiteral("INSERT INTO SETUPSFXM (DH, XM, 显示名称, 应税科目) VALUES "
                            "('WY02', '公共能耗费', NULL, '22210101'), ('WY01', '物业服务费', '物业费', '2221'), "
                            "('JY01', '场地租金', NULL, NULL)"));
        exec(QStringLiteral("INSERT INTO SETUPSFXM (DH, XM, 终止日期) VALUES ('OLD', '停用项目', '2026-01-01')"));
        exec(QStringLiteral("INSERT INTO 税控盘收费项目设置 (管理处, DH, SKDH, SKXM, 税率, 应税科目) VALUES "
                            "('GL01', 'WY01', '304', '物业管理服务', 6, '222101'), "
                            "('GL01', 'OLD', '999', '旧项目', 3, NULL), "
                            "('GL02', 'JY01', '305', '租金', 9, NULL)"));
    }
    void TearDown() override
    {
        FormRegistry::instance().unloadAll();
        VatTest::TearDown();
    }
    frm开票项目设置* open(const QString& office = QStringLiteral("GL01 翠湖管理处"))
    {
        auto* w = Forms::get<frm开票项目设置>();
        if (!office.isEmpty()) w->Combo1->setCurrentIndex(w->Combo1->findText(office));
        return w;
    }
    static QStringList row(const frm开票项目设置* w, int r)
    {
        QStringList out;
        for (int c = 0; c < 8; ++c) out << w->MSFlexGrid1->TextMatrix(r, c);
        return out;
    }
    static void click(frm开票项目设置* w, int r, int c)
    {
        w->MSFlexGrid1->setRow(r);
        w->MSFlexGrid1->setCol(c);
        w->MSFlexGrid1_Click();
    }
    static void type(frm开票项目设置* w, const QString& text)
    {
        w->Text1->setText(text);
        w->Text1_KeyPress(13);
    }
    QStringList settings(const QString& office)
    {
        return column(QStringLiteral("SELECT DH, SKDH, SKXM, CAST(税率 AS INTEGER), 应税科目 FROM 税控盘收费项目设置 WHERE 管理处 = ? ORDER BY DH"),
                      {office});
    }
};

TEST_F(InvoicingItems, EveryColumnTheStoreNamesIsInTheSchema)
{
    for (const auto& [table, column] : columnsNamedByVatStore()) {
        const schema::Table* t = schema::table(table);
        ASSERT_NE(t, nullptr) << qPrintable(table);
        EXPECT_NE(t->column(column), nullptr) << qPrintable(table + QLatin1Char('.') + column);
    }
}

TEST_F(InvoicingItems, LoadShowsTheUsersOfficesAndTheItemsInUse)
{
    auto* w = open(QString());
    QStringList offices;
    for (int i = 0; i < w->Combo1->count(); ++i) offices << w->Combo1->itemText(i);
    EXPECT_EQ(offices, (QStringList{"GL01 翠湖管理处", "GL02 二期 管理处"}));
    EXPECT_EQ(w->Combo1->currentIndex(), -1);
    EXPECT_FALSE(w->Command1->isEnabled());
    EXPECT_FALSE(w->Label2[0]->isEnabled());
    ASSERT_EQ(w->MSFlexGrid1->Rows(), 4);
    EXPECT_EQ(row(w, 1), (QStringList{"1", "JY01 场地租金", "", "", "", "", "", ""}));
    EXPECT_EQ(row(w, 2), (QStringList{"2", "WY01 物业服务费", "物业费", "2221 应交税费", "", "", "", ""}));
    EXPECT_EQ(w->MSFlexGrid1->ColWidth(7), 0);

    // The subject tree nests by superior; an orphan stays at the top.
    ASSERT_EQ(w->TreeView1->topLevelItemCount(), 2);
    EXPECT_EQ(w->TreeView1->topLevelItem(0)->text(0), "2221 应交税费");
    EXPECT_EQ(w->TreeView1->topLevelItem(0)->child(0)->child(0)->text(0), "22210101 销项税额");
    EXPECT_EQ(w->TreeView1->topLevelItem(1)->text(0), "9901 孤儿科目");
    EXPECT_TRUE(layoutProblems(w).isEmpty()) << layoutProblems(w).join(QLatin1Char('\n')).toStdString();
}

// On a 1024x768 screen the window fits; each of its panels lies inside it
// and closes with Esc as with its ×, the folder chooser over the folder
// settings first; Esc then closes the window as 退出 does.
TEST_F(InvoicingItems, OnTheSmallScreenEveryPanelAndTheWindowCloseWithEsc)
{
    auto* w = open();
    EXPECT_EQ(screenProblems(*w), QStringList());
    w->Label2_Click(0);
    EXPECT_EQ(panelProblems(*w, w->Picture1, w->Image1), QStringList());
    EXPECT_TRUE(w->MSFlexGrid1->isEnabled());
    w->Label2_Click(1);
    w->Command6_Click(0);
    ASSERT_FALSE(w->Picture3->isHidden());
    EXPECT_EQ(panelProblems(*w, w->Picture3, w->Command8), QStringList());
    EXPECT_FALSE(w->Picture2->isHidden());
    EXPECT_EQ(panelProblems(*w, w->Picture2, w->Image2), QStringList());
    w->Label2_Click(2);
    EXPECT_EQ(panelProblems(*w, w->Picture4, w->Image4), QStringList());
    EXPECT_EQ(panelProblems(*w, w->Picture5, w->Image5), QStringList());
    EXPECT_EQ(escapeProblems(*w, w->Command2), QStringList());
}

TEST_F(InvoicingItems, AUserWithoutPostsGetsNoOffice)
{
    Login().当前工号 = QStringLiteral("超级用户");
    auto* w = open(QString());
    EXPECT_EQ(w->Combo1->count(), 0);
    EXPECT_FALSE(w->Command1->isEnabled());
}

TEST_F(InvoicingItems, ChoosingAnOfficeShowsItsSettingsAndKeepsTheSubjectColumn)
{
    auto* w = open();
    const QString id = selectFirst(QStringLiteral("SELECT ID FROM 税控盘收费项目设置 WHERE DH = 'WY01'"))->text(0);
    EXPECT_EQ(row(w, 2), (QStringList{"2", "WY01 物业服务费", "物业费", "222101 应交增值税", "304", "物业管理服务", "6", id}));
    EXPECT_TRUE(w->Command1->isEnabled());
    EXPECT_TRUE(w->Label2[2]->isEnabled());
    ASSERT_EQ(w->List1->count(), 1);
    EXPECT_EQ(w->List1->item(0)->text(), "GL02 二期 管理处");

    // GL02 has no row for WY01: its subject stays what GL01 showed.
    w->Combo1->setCurrentIndex(1);
    EXPECT_EQ(row(w, 2).mid(3), (QStringList{"222101 应交增值税", "", "", "", ""}));
    EXPECT_EQ(row(w, 1).mid(4, 3), (QStringList{"305", "租金", "9"}));
}

TEST_F(InvoicingItems, EditorMovesRightAndProposesTheItemName)
{
    auto* w = open();
    click(w, 1, 4);
    EXPECT_TRUE(w->Text1->isVisibleTo(w));
    type(w, QStringLiteral("3040502"));
    EXPECT_EQ(w->MSFlexGrid1->Col(), 5);
    EXPECT_EQ(w->Text1->text(), "场地租金");  // proposed, not yet stored
    EXPECT_EQ(w->MSFlexGrid1->TextMatrix(1, 5), "");
    EXPECT_FALSE(w->Label2[0]->isEnabled());
    w->Text1_KeyPress(13);
    EXPECT_EQ(w->MSFlexGrid1->TextMatrix(1, 5), "场地租金");
    type(w, QStringLiteral("9"));
    EXPECT_FALSE(w->Text1->isVisibleTo(w));

    // A click into an empty column 5 proposes nothing.
    click(w, 3, 5);
    EXPECT_EQ(w->Text1->text(), "");

    // The subject column is locked; "…" offers the tree, 确定 stores and moves on.
    click(w, 3, 3);
    EXPECT_TRUE(w->Text1->isReadOnly());
    EXPECT_TRUE(w->Command3->isVisibleTo(w));
    w->Command3_Click();
    EXPECT_TRUE(w->Picture5->isVisibleTo(w));
    EXPECT_EQ(w->Text6->text(), "22210101 销项税额");
    EXPECT_EQ(w->TreeView1->currentItem()->text(0), "22210101 销项税额");
    w->TreeView1_NodeClick(w->TreeView1->topLevelItem(0));
    w->Command11_Click();
    EXPECT_EQ(w->MSFlexGrid1->TextMatrix(3, 3), "2221 应交税费");
    EXPECT_EQ(w->MSFlexGrid1->Col(), 4);
    EXPECT_FALSE(w->Picture5->isVisibleTo(w));
}

// Settings belong to a 管理处: none chosen, nothing to edit; edits not saved
// are never dropped without the clerk's word.
TEST_F(InvoicingItems, EditsBelongToTheChosenOfficeAndAreNotDroppedSilently)
{
    auto* w = open(QString());
    click(w, 1, 4);
    EXPECT_FALSE(w->Text1->isVisibleTo(w));

    w->Combo1->setCurrentIndex(0);  // GL01
    click(w, 1, 4);
    ASSERT_TRUE(w->Text1->isVisibleTo(w));
    type(w, QStringLiteral("3040502"));

    // No: the grid keeps the edit and the 管理处 it belongs to.
    doubles().boxes->answers = {vbNo};
    w->Combo1->setCurrentIndex(1);
    ASSERT_EQ(boxTexts().size(), 1);
    EXPECT_EQ(boxTexts()[0], "当前管理处的设置已修改但尚未保存，切换后修改将丢失。\r\n是否放弃修改并切换？");
    EXPECT_EQ(w->Combo1->currentText(), "GL01 翠湖管理处");
    EXPECT_EQ(w->MSFlexGrid1->TextMatrix(1, 4), "3040502");

    // Yes: GL02's settings replace it.
    doubles().boxes->answers = {vbYes};
    w->Combo1->setCurrentIndex(1);
    EXPECT_EQ(w->Combo1->currentText(), "GL02 二期 管理处");
    EXPECT_EQ(w->MSFlexGrid1->TextMatrix(1, 4), "305");

    // Once shown afresh, switching back asks nothing.
    doubles().boxes->shown.clear();
    w->Combo1->setCurrentIndex(0);
    EXPECT_TRUE(boxTexts().isEmpty());

    // The receipt's 管理处 is chosen by its code; an unknown one chooses nothing.
    Forms::unload<frm开票项目设置>();
    w = open(QString());
    w->chooseOffice(QStringLiteral("GL09 别处"));
    EXPECT_EQ(w->Combo1->currentIndex(), -1);
    w->chooseOffice(QStringLiteral("GL02 二期 管理处"));
    EXPECT_EQ(w->Combo1->currentText(), "GL02 二期 管理处");
    EXPECT_TRUE(w->Command1->isEnabled());
    EXPECT_EQ(w->MSFlexGrid1->TextMatrix(1, 4), "305");
}

TEST_F(InvoicingItems, SaveChecksEveryRowThenUpdatesOrInsertsInOneGo)
{
    auto* w = open();
    w->MSFlexGrid1->setTextMatrix(1, 6, QStringLiteral("9"));  // only the rate
    w->MSFlexGrid1->setTextMatrix(3, 4, QStringLiteral("306"));
    w->MSFlexGrid1->setTextMatrix(3, 5, QStringLiteral("能耗"));
    w->MSFlexGrid1->setTextMatrix(3, 6, QStringLiteral("13"));
    const QStringList before = settings(QStringLiteral("GL01"));
    w->Command1_Click();
    EXPECT_EQ(boxTexts(), QStringList{"第1行，数据不完整，请核对：缺少税控盘对应项目编号、税控盘对应项目名称"});
    EXPECT_EQ(settings(QStringLiteral("GL01")), before);

    // A rate that does not read as a number is incomplete too.
    w->MSFlexGrid1->setTextMatrix(1, 6, QString());
    w->MSFlexGrid1->setTextMatrix(3, 6, QStringLiteral("."));
    w->Command1_Click();
    EXPECT_EQ(boxTexts().last(), "第3行，数据不完整，请核对：税率（%）不是数字");

    w->MSFlexGrid1->setTextMatrix(3, 6, QStringLiteral("13"));
    w->MSFlexGrid1->setTextMatrix(2, 5, QStringLiteral("物业服务"));
    w->Command1_Click();
    EXPECT_EQ(boxTexts().size(), 2);  // no message confirms the save
    EXPECT_EQ(settings(QStringLiteral("GL01")),
              (QStringList{"OLD/999/旧项目/3/", "WY01/304/物业服务/6/222101", "WY02/306/能耗/13/22210101"}));
    EXPECT_FALSE(w->MSFlexGrid1->TextMatrix(3, 7).isEmpty());  // reloaded with the new ID
    EXPECT_TRUE(w->Label2[0]->isEnabled());

    // Clearing a stored row's cells leaves the stored row as it was.
    for (int c = 4; c <= 6; ++c) w->MSFlexGrid1->setTextMatrix(2, c, QString());
    w->Command1_Click();
    EXPECT_EQ(row(w, 2)[4], "304");
}

// An insert that fails rolls back the update before it.
TEST_F(InvoicingItems, SaveIsAllOrNothing)
{
    auto* w = open();
    w->MSFlexGrid1->setTextMatrix(2, 5, QStringLiteral("改过"));
    w->MSFlexGrid1->setTextMatrix(3, 4, QStringLiteral("306"));
    w->MSFlexGrid1->setTextMatrix(3, 5, QStringLiteral("能耗"));
    w->MSFlexGrid1->setTextMatrix(3, 6, QStringLiteral("13"));
    // Another workstation stored WY02 for GL01 meanwhile: the pair is unique.
    exec(QStringLiteral("INSERT INTO 税控盘收费项目设置 (管理处, DH, SKDH, SKXM, 税率) VALUES ('GL01', 'WY02', '1', 'x', 1)"));
    w->Command1_Click();
    EXPECT_TRUE(boxTexts().last().startsWith("错误号：")) << boxTexts().last().toStdString();
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM 税控盘收费项目设置 WHERE SKXM = '改过'")), 0);
}

TEST_F(InvoicingItems, ApplyReplacesEveryTargetSetting)
{
    auto* w = open();
    w->Label2_Click(0);
    EXPECT_TRUE(w->Picture1->isVisibleTo(w));
    EXPECT_FALSE(w->MSFlexGrid1->isEnabled());
    w->Command4_Click();
    EXPECT_EQ(boxTexts().last(), "您没有选择要应用的项目，请选择项目后再应用");

    w->List1->item(0)->setSelected(true);
    doubles().boxes->answers = {vbNo};
    w->Command4_Click();
    EXPECT_EQ(boxTexts().last(), "一旦应用到所选项目，将会覆盖所选项目原有设置\r\n是否要继续应用？");
    EXPECT_EQ(settings(QStringLiteral("GL02")), QStringList{"JY01/305/租金/9/"});

    doubles().boxes->answers = {vbYes};
    w->Command4_Click();
    EXPECT_EQ(boxTexts().last(), "应用到其他项目完成！");
    // JY01 is gone; the inactive item's setting is not copied.
    EXPECT_EQ(settings(QStringLiteral("GL02")), QStringList{"WY01/304/物业管理服务/6/222101"});
    EXPECT_FALSE(w->Picture1->isVisibleTo(w));
    EXPECT_FALSE(w->MSFlexGrid1->isEnabled());

    // Nothing stored for the chosen office: targets stay, the message still comes.
    w->Combo1->setCurrentIndex(1);
    exec(QStringLiteral("DELETE FROM 税控盘收费项目设置 WHERE 管理处 = 'GL02'"));
    w->Combo1->setCurrentIndex(0);
    exec(QStringLiteral("DELETE FROM 税控盘收费项目设置 WHERE 管理处 = 'GL01'"));
    exec(QStringLiteral("INSERT INTO 税控盘收费项目设置 (管理处, DH, SKDH, SKXM, 税率) VALUES ('GL02', 'JY01', '1', 'y', 1)"));
    w->Combo1->setCurrentIndex(1);
    w->Combo1->setCurrentIndex(0);
    w->Label2_Click(0);
    w->List1->item(0)->setSelected(true);
    doubles().boxes->answers = {vbYes};
    w->Command4_Click();
    EXPECT_EQ(boxTexts().last(), "应用到其他项目完成！");
    EXPECT_EQ(settings(QStringLiteral("GL02")), QStringList{"JY01/1/y/1/"});
}

TEST_F(InvoicingItems, NumberingPanel)
{
    exec(QStringLiteral("UPDATE 设置管理处 SET 编号字 = NULL, 起始编号 = NULL WHERE gyd_dh = 'GL01'"));
    exec(QStringLiteral("UPDATE 设置管理处 SET 编号字 = 777, 起始编号 = 5 WHERE gyd_dh = 'GL02'"));
    auto* w = open();
    w->Label2_Click(2);
    EXPECT_TRUE(w->Picture4->isVisibleTo(w));
    EXPECT_EQ(w->Text5[0]->text(), "888");
    EXPECT_EQ(w->Text5[1]->text(), "1");
    EXPECT_EQ(w->Label1[11]->text(), "【说明】导出文件的编号将从88800000001开始");

    // Typed and pasted text alike: digits only, no leading 0, three at most.
    w->Text5[0]->clear();
    w->Text5[0]->setFocus();
    for (const QChar c : QStringLiteral("0a70")) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(w->Text5[0], &press);
    }
    EXPECT_EQ(w->Text5[0]->text(), "70");
    w->Text5[0]->selectAll();
    w->Text5[0]->insert(QStringLiteral("0777x9"));
    EXPECT_EQ(w->Text5[0]->text(), "777");
    w->Command10_Click();
    EXPECT_EQ(boxTexts().last(), "[777]已经被其他项目使用，请设置另外的编号字");

    w->Text5[0]->setText(QStringLiteral("888"));
    w->Text5[1]->setText(QString());
    w->Command10_Click();
    EXPECT_EQ(boxTexts().last(), "编号字和起始编号不能为空");

    w->Text5[1]->setText(QStringLiteral("20"));
    w->Command10_Click();
    EXPECT_FALSE(w->Picture4->isVisibleTo(w));
    EXPECT_EQ(column(QStringLiteral("SELECT 编号字, 起始编号 FROM 设置管理处 WHERE gyd_dh = 'GL01'")), QStringList{"888/20"});

    // Not lower with the same prefix; any number with a new one.
    w->Label2_Click(2);
    w->Text5[1]->setText(QStringLiteral("19"));
    w->Command10_Click();
    EXPECT_EQ(boxTexts().last(), "起始编号必须大于等于20");
    w->Text5[0]->setText(QStringLiteral("123"));
    w->Command10_Click();
    EXPECT_EQ(column(QStringLiteral("SELECT 编号字, 起始编号 FROM 设置管理处 WHERE gyd_dh = 'GL01'")), QStringList{"123/19"});
    w->Label2_Click(2);
    w->Text5[1]->setText(QStringLiteral("123456789"));
    EXPECT_EQ(w->Label1[11]->text(), "【说明】导出文件的编号将从123123456789开始");
}

// Two workstations storing the same new prefix: only one gets it.
TEST_F(InvoicingItems, APrefixIsTakenByOneOfficeOnly)
{
    exec(QStringLiteral("UPDATE 设置管理处 SET 编号字 = NULL, 起始编号 = NULL"));
    std::atomic<int> done{0};
    NumberingOutcome other;
    std::thread t([&] {
        auto second = openSecondConnection(QStringLiteral("other"));
        Transaction tx(second->db(), Transaction::Write);
        takeNumberingLock(second->db(), QStringLiteral("设置管理处.编号字"));
        executeQuiet(second->db(), QStringLiteral("UPDATE 设置管理处 SET 编号字 = 555, 起始编号 = 1 WHERE gyd_dh = 'GL02'"));
        done = 1;
        QThread::msleep(300);
        tx.commit();
    });
    while (!done) QThread::msleep(5);
    const NumberingOutcome mine = storeExportNumbering(QStringLiteral("GL01"), 555, 1);
    t.join();
    EXPECT_EQ(mine.kind, NumberingOutcome::PrefixUsed) << mine.error.description.toStdString();
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM 设置管理处 WHERE 编号字 = 555")), 1);
}

TEST_F(InvoicingItems, FolderPanelWritesTheConfigFileAndMakesMissingFolders)
{
    const QString cfg = QDir(programFolder()).filePath(QStringLiteral("二期.Cfg"));
    auto* w = open(QStringLiteral("GL02 二期 管理处"));
    w->Label2_Click(1);
    EXPECT_TRUE(w->Picture2->isVisibleTo(w));
    for (QLineEdit* box : w->Text2) EXPECT_EQ(box->text(), "");

    w->Text2[0]->setText(folder("export"));
    w->Text2[1]->setText(folder("新,回写"));
    w->Text2[3]->setText(folder("手动"));
    w->Command5_Click();
    EXPECT_FALSE(w->Picture2->isVisibleTo(w));
    EXPECT_TRUE(QFileInfo(folder("新,回写")).isDir());
    EXPECT_TRUE(QFileInfo(folder("手动")).isDir());
    QFile f(cfg);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(fromGbk(f.readAll()), folder("export") + "\r\n\"" + folder("新,回写") + "\"\r\n\r\n" + folder("手动") + "\r\n");

    w->Label2_Click(1);
    EXPECT_EQ(w->Text2[1]->text(), folder("新,回写"));  // read back whole
}

TEST_F(InvoicingItems, FolderChooser)
{
    auto* w = open();
    w->Label2_Click(1);
    w->Text2[0]->setText(folder("export"));
    w->Text2[1]->setText(folder("writeback"));
    w->Command6_Click(2);
    EXPECT_TRUE(w->Picture3->isVisibleTo(w));
    EXPECT_EQ(w->Label1[7]->text(), "备份文件目录");
    w->setDirPath(folder("export"));
    EXPECT_EQ(w->Text3->text(), QDir::toNativeSeparators(folder("export")));
    w->Command7_Click();
    EXPECT_EQ(boxTexts().last(), "不能与其他两个目录中任何目录相同，请重新选择");
    EXPECT_TRUE(w->Picture3->isVisibleTo(w));

    w->Command6_Click(3);  // hides it
    w->Command6_Click(3);
    w->setDirPath(folder("export"));
    w->Command7_Click();
    EXPECT_EQ(w->Text2[3]->text(), folder("export"));
    EXPECT_FALSE(w->Picture3->isVisibleTo(w));

    // 新建文件夹 twice, then the second renamed by Enter.
    w->Command6_Click(2);
    w->setDirPath(folder("backup"));
    w->Command9_Click();
    w->Command9_Click();
    EXPECT_TRUE(QFileInfo(folder("backup") + "/新建文件夹").isDir());
    EXPECT_TRUE(w->Text4->isVisibleTo(w));
    EXPECT_EQ(w->Text4->text(), "新建文件夹1");
    w->Text4->setText(QStringLiteral("备份二"));
    w->Text4_KeyPress(13);
    EXPECT_TRUE(QFileInfo(folder("backup") + "/备份二").isDir());
    EXPECT_FALSE(QFileInfo(folder("backup") + "/新建文件夹1").exists());
    EXPECT_FALSE(w->Text4->isVisibleTo(w));
    EXPECT_EQ(w->Dir1->currentItem()->data(Qt::UserRole).toString(), folder("backup") + "/备份二");
}

TEST_F(InvoicingItems, EveryBoxTakesNoMoreThanItsColumnHolds)
{
    auto* w = open();
    // Folders and file names, the subject chosen from the tree, and the
    // numbering's figures.
    const QSet<QString> unstored = {"Text6", "Text2_0", "Text2_1", "Text2_2", "Text2_3", "Text3", "Text4", "Text5_0", "Text5_1"};
    // The cell editor takes the limit of the cell it is opened on.
    const struct {
        int column;
        const char* stored;
    } cells[] = {{4, "税控盘收费项目设置.SKDH"}, {5, "税控盘收费项目设置.SKXM"}};
    for (const auto& c : cells) {
        click(w, 1, c.column);
        EXPECT_EQ(inputProblems(w, {{"Text1", c.stored}}, unstored).join(u'\n').toStdString(), "") << c.stored;
    }
    click(w, 1, 6);
    EXPECT_EQ(inputProblems(w, {}, unstored + QSet<QString>{"Text1"}).join(u'\n').toStdString(), "");
    w->Text1->setText(QString());
    w->Text1->insert(QString(kNumberBoxLength + 1, QLatin1Char('9')));
    EXPECT_EQ(w->Text1->text(), QString());
}

}  // namespace
}  // namespace corvane::test
