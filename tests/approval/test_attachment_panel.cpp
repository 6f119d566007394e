// Edge cases of the record window's attachment panel: an empty list, a copy
// already in Temp, the only attachment deleted, files too short to open, and
// a returned name that tries to leave Temp.
#include "SignOffFixture.h"

namespace corvane::test {
namespace {

class AttachmentPanel : public SignOffTest {
protected:
    void clickBrowse(Frm合同信息& w, int row)
    {
        w.MSFlexGrid2->setRow(row);
        w.MSFlexGrid2->setCol(2);
        w.MSFlexGrid2_Click();
    }
    QString temp(const QString& name) const { return QDir(programFolder()).filePath(QStringLiteral("Temp/") + name); }
    static QByteArray contents(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

TEST_F(AttachmentPanel, ClickingAnEmptyListOnlyDisablesDeletion)
{
    auto* w = shown();
    ASSERT_EQ(w->MSFlexGrid2->Rows(), 1);
    w->Command8->setEnabled(true);
    clickBrowse(*w, 0);
    EXPECT_FALSE(on(w->Command8));
    EXPECT_TRUE(doubles().shell->opened.isEmpty());
    EXPECT_TRUE(boxes().isEmpty());
}

TEST_F(AttachmentPanel, OpeningReplacesAnOlderLongerCopyInTemp)
{
    addAttachment(QStringLiteral("HT-1"), QStringLiteral("scan.pdf"), "%PDF new");
    QDir(programFolder()).mkpath(QStringLiteral("Temp"));
    QFile old(temp(QStringLiteral("scan.pdf")));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("an older and much longer copy");
    old.close();
    clickBrowse(*shown(), 1);
    EXPECT_EQ(contents(temp(QStringLiteral("scan.pdf"))), QByteArray("%PDF new"));
    EXPECT_EQ(doubles().shell->opened, QStringList{temp(QStringLiteral("scan.pdf"))});
}

TEST_F(AttachmentPanel, AnAttachmentUnderEightBytesOpensNothing)
{
    addAttachment(QStringLiteral("HT-1"), QStringLiteral("short.txt"), "1234567");
    addAttachment(QStringLiteral("HT-1"), QStringLiteral("enough.txt"), "12345678");
    auto* w = shown();
    clickBrowse(*w, 1);
    EXPECT_TRUE(doubles().shell->opened.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(temp(QStringLiteral("short.txt"))));
    EXPECT_TRUE(on(w->Command8));
    clickBrowse(*w, 2);
    EXPECT_EQ(doubles().shell->opened, QStringList{temp(QStringLiteral("enough.txt"))});
}

TEST_F(AttachmentPanel, DeletingTheOnlyAttachmentLeavesTheHeadingRow)
{
    addAttachment(QStringLiteral("HT-1"), QStringLiteral("scan.pdf"), "%PDF new");
    auto* w = shown();
    w->MSFlexGrid2->setRow(1);
    w->MSFlexGrid2->setCol(0);
    w->MSFlexGrid2_Click();
    doubles().boxes->answers = {vbYes};
    w->Command8_Click();
    EXPECT_EQ(w->MSFlexGrid2->Rows(), 1);
    EXPECT_FALSE(on(w->Command8));
    EXPECT_EQ(rows(QStringLiteral("合同信息附件")), 0);
}

TEST_F(AttachmentPanel, AReturnedNameIsWrittenInsideTempByItsBareName)
{
    addAttachment(QStringLiteral("HT-1"), QStringLiteral("..\\..\\x."), "climbing out");
    addAttachment(QStringLiteral("HT-1"), QStringLiteral("../../y.pdf"), "climbing out");
    auto* w = shown();
    clickBrowse(*w, 1);
    clickBrowse(*w, 2);
    EXPECT_EQ(doubles().shell->opened, (QStringList{temp(QStringLiteral("x.")), temp(QStringLiteral("y.pdf"))}));
    EXPECT_FALSE(QFileInfo::exists(QDir(programFolder()).filePath(QStringLiteral("../x."))));
}

}  // namespace
}  // namespace corvane::test
