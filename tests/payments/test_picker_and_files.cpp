// The budget subject picker and the files listed with a payment.

#include <QDir>
#include <QFile>
#include <QImage>

#include "db/Schema.h"
#include "testsupport/InputCheck.h"
#include "testsupport/LayoutCheck.h"
#include "tests/payments/PaymentFixture.h"

namespace corvane::test {
namespace {

using W = frm合同付款处理;
using P = frm财务科目浏览;

QStringList treeTexts(const P& p)
{
    QStringList out;
    for (QTreeWidgetItemIterator it(p.TreeView1); *it; ++it) {
        QString prefix;
        for (QTreeWidgetItem* up = (*it)->parent(); up; up = up->parent()) prefix += "  ";
        out << prefix + (*it)->text(0);
    }
    return out;
}

class PickerTest : public PaymentTest {
protected:
    void SetUp() override
    {
        PaymentTest::SetUp();
        addSubject("550102", "办公 用品", "5501", 1);
        addSubject("5502", "水电费", "55", 1);
        addSubject("6601", "差旅费", QVariant(), 0);
        exec("UPDATE 财务科目 SET 非预算 = 1 WHERE 科目代号 = '6601'");
        exec("INSERT INTO 科目类别对应科目 (类别, 科目代号) VALUES ('管理费用', '550102'), ('管理费用', '550102'), "
             "('管理费用', '5502'), ('管理费用', '6601')");
        const qint64 scheme = maxId("预算体系索引");
        exec("INSERT INTO 预算体系明细表 (体系ID, 明细科目代号) VALUES (?, '550102')", {scheme});
        // A second scheme in force lists 550102 again; one that ends today no longer applies.
        exec("INSERT INTO 预算体系索引 (部门类别代号, 起始日期, 终止日期) VALUES ('C2', ?, NULL), ('C2', '2020-01-01', ?)",
             {kPayToday, kPayToday});
        exec("INSERT INTO 预算体系明细表 (体系ID, 明细科目代号) VALUES (?, '550102'), (?, '5502')",
             {maxId("预算体系索引") - 1, maxId("预算体系索引")});
    }
    QStringList pick(const QString& type, const std::function<void(P&)>& then = {})
    {
        QStringList tree;
        openPayment([&](W& w) {
            w.Combo2->setCurrentIndex(w.Combo2->findText(type));
            onModal<P>([&](P& p) {
                tree = treeTexts(p);
                if (then) then(p);
            });
            w.Command5_Click();
            m_code = w.Text10->text();
            m_name = w.Text9->text();
            m_rowSubjects.clear();
            for (int r = 1; r < w.MSFlexGrid1->Rows(); ++r) m_rowSubjects << w.MSFlexGrid1->TextMatrix(r, 7);
        });
        return tree;
    }
    QString m_code, m_name;
    QStringList m_rowSubjects;  // column 7 of every instalment row after the pick
};

TEST_F(PickerTest, BudgetSubjectsOfTheDepartmentsSchemeUnderTheirParents)
{
    EXPECT_EQ(pick("预算"), (QStringList{"55 管理费用", "  5501 维修费", "    550102 办公 用品"}));
    EXPECT_EQ(pick("非预算"), QStringList{"6601 差旅费"});
    EXPECT_EQ(pick("分摊"), QStringList());  // a type the picker does not know lists nothing
    EXPECT_TRUE(boxes().isEmpty());
}

TEST_F(PickerTest, PreselectsAndHandsTheChoiceBack)
{
    addInstalment("HT-1", QDate(2026, 6, 1), "300.00");
    addInstalment("HT-1", QDate(2027, 1, 5), "400.00");
    pick("预算", [](P& p) {
        ASSERT_NE(p.TreeView1->currentItem(), nullptr);
        EXPECT_EQ(p.TreeView1->currentItem()->text(0), QStringLiteral("5501 维修费"));
        EXPECT_EQ(p.Text1[0]->text(), QStringLiteral("5501"));  // the opener's values until a click
        // A node with children empties the boxes and hands nothing back.
        p.TreeView1_NodeClick(p.TreeView1->currentItem());
        EXPECT_EQ(p.Text1[0]->text(), QString());
        p.Command1_Click();
        EXPECT_TRUE(p.isLoaded());
        QTreeWidgetItem* leaf = p.nodeOf("550102 K");
        p.TreeView1->setCurrentItem(leaf);
        p.TreeView1_NodeClick(leaf);
        EXPECT_EQ(p.Text1[1]->text(), QStringLiteral("办公 用品"));
        p.Command1_Click();
    });
    EXPECT_EQ(m_code, QStringLiteral("550102"));
    EXPECT_EQ(m_name, QStringLiteral("办公 用品"));
    // Every instalment row names the subject the payment is now booked to.
    ASSERT_FALSE(m_rowSubjects.isEmpty());
    EXPECT_EQ(m_rowSubjects, QStringList(m_rowSubjects.size(), QStringLiteral("550102")));
}

TEST_F(PickerTest, NoCategoryOpensNothing)
{
    openPayment([](W& w) {
        w.Combo3->setCurrentIndex(-1);
        w.Command5_Click();
    });
    EXPECT_EQ(boxTexts(), QStringList{"请选择预算项目"});
    EXPECT_TRUE(doubles().runner->ran.filter("财务科目浏览").isEmpty());
}

// ---------------------------------------------------------------- files

class FilesTest : public PaymentTest {
protected:
    QString writeFile(const QString& name, const QByteArray& content)
    {
        const QString path = QDir(programFolder()).filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(content);
        return path;
    }
    QString writePicture(const QString& name, QSize size)
    {
        QImage img(size, QImage::Format_RGB32);
        img.fill(qRgb(10, 120, 200));
        const QString path = QDir(programFolder()).filePath(name);
        img.save(path, "BMP");
        return path;
    }
};

TEST_F(FilesTest, PicturesAndDocumentsAreListedAndStoredWhole)
{
    addInstalment("HT-1", QDate(2026, 1, 1), "100.00");
    const QString bmp = writePicture("扫描.1.bmp", {2048, 1000});
    const QString doc = writeFile("合同.Docx", "document bytes");
    openPayment([&](W& w) {
        w.Command8_Click();
        EXPECT_TRUE(w.Picture6->isVisible());
        doubles().dialogs->answers = {bmp, bmp, doc};
        w.Command9_Click();
        w.Command9_Click();  // the same name again gets a copy of its own
        w.Command10_Click();
        EXPECT_EQ(w.Label1[21]->text(), QStringLiteral("资料 3 份"));
        const QString work = w.MSFlexGrid4->TextMatrix(1, 2);
        EXPECT_TRUE(work.endsWith("MyPictureFile/扫描.Jpg")) << work.toStdString();
        EXPECT_TRUE(w.MSFlexGrid4->TextMatrix(2, 2).endsWith("扫描_2.Jpg"));
        EXPECT_TRUE(w.MSFlexGrid4->TextMatrix(1, 3).endsWith("扫描图标.Jpg"));
        EXPECT_EQ(QImage(work).size(), QSize(1024, 500));
        EXPECT_EQ(QImage(w.MSFlexGrid4->TextMatrix(1, 3)).size(), QSize(75, 37));
        EXPECT_EQ(w.MSFlexGrid4->TextMatrix(3, 1), QStringLiteral("文件"));
        // Double click opens the listed file through the shell.
        w.MSFlexGrid4->setRow(3);
        w.MSFlexGrid4_DblClick();
        completeEntry(w);
        w.Command1_Click();
    });
    EXPECT_TRUE(boxes().isEmpty()) << boxTexts().join("|").toStdString();
    const auto rows = *selectRows("SELECT 附件ID, 后缀, J图片, J图标 FROM 报销附件图片 ORDER BY ID");
    ASSERT_EQ(rows.size(), 3u);
    const qint64 attachment = scalar("SELECT ID FROM 报销附件").toLongLong();
    EXPECT_EQ(rows[0].value(0).toLongLong(), attachment);
    EXPECT_EQ(rows[0].text(1), QStringLiteral("Jpg"));
    EXPECT_TRUE(rows[0].value(2).toByteArray().startsWith("\xFF\xD8"));
    EXPECT_FALSE(rows[0].value(3).isNull());
    EXPECT_EQ(rows[2].text(1), QStringLiteral("Docx"));
    EXPECT_EQ(rows[2].value(2).toByteArray(), QByteArray("document bytes"));
    EXPECT_TRUE(rows[2].value(3).isNull());
}

TEST_F(FilesTest, AFileThatCannotBeReadStopsTheRequestBeforeAnyWrite)
{
    addInstalment("HT-1", QDate(2026, 1, 1), "100.00");
    const QString doc = writeFile("说明.pdf", "x");
    openPayment([&](W& w) {
        doubles().dialogs->answers = {doc};
        w.Command10_Click();
        QFile::remove(doc);
        completeEntry(w);
        w.Command1_Click();
        EXPECT_TRUE(w.Command1->isEnabled());
    });
    ASSERT_EQ(boxes().size(), 1);
    EXPECT_TRUE(boxes()[0].text.contains(doc)) << boxes()[0].text.toStdString();
    EXPECT_EQ(count("报销单表"), 0);
    EXPECT_EQ(count("合同付款计划表"), 1);
}

TEST_F(FilesTest, RemovingRowsAsksAndRenumbers)
{
    openPayment([&](W& w) {
        doubles().dialogs->answers = {writeFile("a.pdf", "a"), writeFile("b.pdf", "b"), writeFile("c.pdf", "c")};
        w.Command10_Click();
        w.Command10_Click();
        w.Command10_Click();
        w.MSFlexGrid4->setRow(1);
        w.MSFlexGrid4_Click();
        EXPECT_TRUE(w.Command11->isEnabled());
        doubles().boxes->answers = {vbNo, vbYes};
        w.Command11_Click();
        EXPECT_EQ(w.MSFlexGrid4->Rows(), 4);
        w.Command11_Click();
        ASSERT_EQ(w.MSFlexGrid4->Rows(), 3);
        EXPECT_EQ(w.MSFlexGrid4->TextMatrix(1, 0), QStringLiteral("1"));
        EXPECT_TRUE(w.MSFlexGrid4->TextMatrix(1, 2).endsWith("b.pdf"));
        EXPECT_EQ(w.Label1[21]->text(), QStringLiteral("资料 3 份"));  // kept until the next addition
    });
    EXPECT_TRUE(boxes()[0].text.startsWith("确认要删除 "));
}

}  // namespace
}  // namespace corvane::test

namespace corvane::test {
namespace {

TEST_F(PaymentTest, WindowsAreLaidOutWithoutCutCaptions)
{
    addInstalment("HT-1", QDate(2026, 1, 1), "123456789.00");
    openPayment([](frm合同付款处理& w) {
        EXPECT_EQ(layoutProblems(&w), QStringList());
        w.Command8_Click();
        EXPECT_EQ(layoutProblems(&w, {QStringLiteral("Frame3")}), QStringList());
        onModal<frm财务科目浏览>([](frm财务科目浏览& p) { EXPECT_EQ(layoutProblems(&p), QStringList()); });
        w.Command5_Click();
    });
}

// The subject picker opens over the middle of the payment window: its edge
// cuts none of the buttons beneath (确定 among them), and Esc closes it as
// its 退出 does.
TEST_F(PaymentTest, ThePickerOpensClearOfThePaymentWindowsButtonsAndClosesWithEsc)
{
    addInstalment("HT-1", QDate(2026, 1, 1), "1000.00");
    bool ran = false;
    openPayment([&](frm合同付款处理& w) {
        onModal<frm财务科目浏览>([&](frm财务科目浏览& p) {
            ran = true;
            EXPECT_EQ(screenProblems(p), QStringList());
            EXPECT_EQ(coverProblems(p, w), QStringList());
            EXPECT_EQ(escapeProblems(p, p.Command2), QStringList());
        });
        w.Command5_Click();
    });
    EXPECT_TRUE(ran);
}

// The payee and the invoice number go to the reimbursement form and its
// attachment row: no paste makes them longer than those columns.
TEST_F(PaymentTest, EveryBoxTakesNoMoreThanItsColumnHolds)
{
    addInstalment("HT-1", QDate(2026, 1, 1), "1000.00");
    openPayment([](frm合同付款处理& w) {
        const std::map<QString, QString> stored = {{"Text4", "报销附件.票据编号"},
                                                   {"Text5", "报销单表.对方单位名称"},
                                                   {"Text6", "报销单表.对方银行"},
                                                   {"Text7", "报销单表.对方帐号"}};
        EXPECT_EQ(inputProblems(&w, stored, {"Text1", "Text2"}).join(u'\n').toStdString(), "");
        // The payee also names the attachment row's issuer.
        EXPECT_LE(w.Text5->maxLength() - 1, schema::textLength(QStringLiteral("报销附件"), QStringLiteral("出票单位")));
    });
}

}  // namespace
}  // namespace corvane::test
