#include "bills/frm增值税发票打印.h"

#include <QDir>
#include <QFileInfo>

#include "app/LoginContext.h"
#include "platform/Services.h"
#include "platform/Tag.h"
#include "platform/TextFile.h"
#include "bills/VatExchange.h"
#include "bills/VatStore.h"
#include "receipts/frm合同收款.h"

namespace corvane {

using namespace receipts;

namespace {

const QString kCrLf = QStringLiteral("\r\n");
constexpr int kGoodsCodeCol = 8;
constexpr qint64 kPollLimitMs = 90 * 1000;
constexpr int kPollStepMs = 200;

QString joinPath(const QString& folder, const QString& name) { return folder + QDir::separator() + name; }

}  // namespace

frm增值税发票打印::frm增值税发票打印() { buildLayout(); }

void frm增值税发票打印::takeHandover(const VatInvoiceHandover& h, BillHandBackTo handBack)
{
    m_handBack = std::move(handBack);
    Label1[0]->setText(h.Label1_0);
    SetTag(MSFlexGrid2, h.MSFlexGrid2Tag);
    MSFlexGrid1->setRows(std::max(1, h.MSFlexGrid1Rows));
    for (int r = 1; r < MSFlexGrid1->Rows() && r - 1 < int(h.lines.size()); ++r)
        for (int c = 0; c < 9; ++c) MSFlexGrid1->setTextMatrix(r, c, h.lines[size_t(r - 1)][size_t(c)]);
    for (int r = 1; r <= 5; ++r) MSFlexGrid2->setTextMatrix(r, 1, h.buyer[size_t(r - 1)]);
    Label1[2]->setText(h.Label1_2);
    Tag = h.tag;
    showReceiptsType(h.Label1_0);
}

// With no remembered type the box shows the type the receipt was made out
// on, the one the heading names, so that the export buttons work at once.
// Nothing is asked: remembering stays the clerk's own choice.
void frm增值税发票打印::showReceiptsType(const QString& heading)
{
    if (Combo1->currentIndex() >= 0) return;
    const QString type = heading.section(QStringLiteral("："), 1);
    const int i = Combo1->findText(type, Qt::MatchExactly);
    if (type.isEmpty() || i < 0) return;
    m_filling = true;
    Combo1->setCurrentIndex(i);
    m_filling = false;
    获取票据簿();
}

QString frm增值税发票打印::officeCode() const { return TagOf(MSFlexGrid2).section(QLatin1Char(' '), 0, 0); }
QString frm增值税发票打印::officeName() const
{
    return TagOf(MSFlexGrid2).split(QLatin1Char(' '), Qt::SkipEmptyParts).value(1);
}

// ---- Loading

void frm增值税发票打印::Form_Load()
{
    票据类型列表();
    if (const auto bbh = ProgramFilePath(QStringLiteral("商品编码版本号.BBH"))) {
        QString error;
        if (const auto values = readSettingFile(*bbh, &error)) Text2->setText(values->value(0));
        if (!error.isEmpty()) MsgBox(error);
    }
}

void frm增值税发票打印::票据类型列表()
{
    m_filling = true;
    Combo1->clear();
    const auto types = vatBillTypes();
    if (!types) {
        m_filling = false;
        return reportDbError(types.error());
    }
    Combo1->addItems(*types);
    Combo1->setCurrentIndex(-1);
    m_filling = false;
    const auto ini = ProgramFilePath(QStringLiteral("ZPDYPJLX.INI"));
    QString error;
    const auto remembered = ini ? readSettingFile(*ini, &error) : std::nullopt;
    if (!error.isEmpty()) MsgBox(error);
    if (!remembered) return;
    SetTag(Label1[0], remembered->value(0));
    const int i = Combo1->findText(remembered->value(0), Qt::MatchExactly);
    if (i >= 0) Combo1->setCurrentIndex(i);  // runs Combo1_Click, which asks nothing
}

void frm增值税发票打印::Combo1_Click()
{
    if (m_filling || Combo1->currentIndex() < 0) return;
    const QString entry = Combo1->currentText();
    if (entry != TagOf(Label1[0])) {
        const QString question = QStringLiteral("您选择了") + entry +
                                 QStringLiteral("这个票据类型，为增票的票据类型，是否要保存这个选择？") + kCrLf +
                                 QStringLiteral("(保存这个选择后，以后每次进入这个窗体时就不必选择了)") + kCrLf + kCrLf +
                                 QStringLiteral("[是] 保存     [否] 不保存");
        if (MsgBox(question, vbYesNo) == vbYes) {
            QString error;
            const auto ini = ProgramFilePath(QStringLiteral("ZPDYPJLX.INI"));
            if (ini && writeSettingFile(*ini, {entry}, &error))
                SetTag(Label1[0], entry);
            else
                ShowStandardError(0, error);
        }
    }
    获取票据簿();
}

void frm增值税发票打印::获取票据簿()
{
    m_filling = true;
    Combo2->clear();
    List1->clear();
    const QString type = Combo1->currentText().section(QLatin1Char(' '), 0, 0);
    const auto books = lentBooks(Login().当前部门编号, type);
    if (books)
        for (const LentBook& b : *books) Combo2->addItem(b.book);
    Combo2->setCurrentIndex(-1);
    m_filling = false;
    if (!books) ShowNumberedError(books.error().number, books.error().description);
}

// ---- Export

std::optional<QString> frm增值税发票打印::configFile() const
{
    return ProgramFilePath(officeName() + QStringLiteral(".Cfg"));
}

bool frm增值税发票打印::readFolders(int count)
{
    if (Combo1->currentIndex() < 0) {
        MsgBox(QStringLiteral("请选择票据类型"));
        return false;
    }
    const auto path = configFile();
    const QString shown = path.value_or(ProgramPath(officeName() + QStringLiteral(".Cfg")));
    QString error;
    const auto values = path ? readSettingFile(*path, &error) : std::nullopt;
    if (!error.isEmpty()) {
        MsgBox(error);
        return false;
    }
    if (!values) {
        MsgBox(QStringLiteral("未找到“") + shown + QStringLiteral("”这个接口配置文件，暂时无法打印") + kCrLf +
               QStringLiteral("按取消打印后，按[开票项目设置]按钮，点击[接口文件目录设置]进行设置"));
        return false;
    }
    // The tax-control program's folders may differ in letter case from the file's lines.
    for (int i = 0; i < 4; ++i) m_folders[size_t(i)] = i < count ? pathInAnyCase(values->value(i)) : QString();
    return true;
}

bool frm增值税发票打印::readNumbering()
{
    // The number reserved by this window's first export stays its own.
    if (m_reserved) return true;
    const auto n = exportNumberingOf(officeCode());
    if (!n) {
        reportDbError(n.error());
        return false;
    }
    // Without a row or without a start number the file would be misnamed and
    // completion could not advance the number: the numbering is not set.
    if (!*n || !(*n)->complete()) {
        MsgBox(QStringLiteral("未设置导出文件编号规则，请先设置规则。暂时无法导出文件"));
        return false;
    }
    m_prefix = *(*n)->prefix;
    m_start = *(*n)->start;
    return true;
}

bool frm增值税发票打印::goodsCodesSet()
{
    for (int r = 1; r < MSFlexGrid1->Rows(); ++r) {
        if (!MSFlexGrid1->TextMatrix(r, kGoodsCodeCol).isEmpty()) continue;
        MsgBox(QStringLiteral("未设置") + MSFlexGrid1->TextMatrix(r, 0) + QStringLiteral("项目的商品编号，暂时无法打印") +
               kCrLf + QStringLiteral("按取消打印后，按[开票项目设置]按钮在开票项目设置中进行设置"));
        return false;
    }
    return true;
}

bool frm增值税发票打印::emptyFolder(const QString& folder)
{
    const QString refused = folderNotClearable(folder);
    if (!refused.isEmpty()) {
        MsgBox(refused);
        return false;
    }
    QString error;
    if (!deleteFilesIn(folder, &error)) {
        ShowStandardError(0, error);
        return false;
    }
    return true;
}

void frm增值税发票打印::setExportButtons(bool on)
{
    Command1->setEnabled(on);
    Command5->setEnabled(on);
    Command3->setEnabled(on);
}

void frm增值税发票打印::showPanel()
{
    Picture1->show();
    Picture1->raise();
}

void frm增值税发票打印::Command1_Click()
{
    if (!readFolders(3)) return;
    if (!readNumbering()) return;
    if (!goodsCodesSet()) return;
    setExportButtons(false);
    if (!emptyFolder(m_folders[1])) return setExportButtons(true);
    if (!建立接口文件(false)) return setExportButtons(true);
    Label1[7]->show();
    pollForResult();
}

void frm增值税发票打印::pollForResult()
{
    PollClock& clock = pollClock();
    const qint64 started = clock.elapsedMs();
    ResultFileWatch watch;
    setEnabled(false);  // painted, but taking no input while the poll runs
    for (;;) {
        const QString txt = firstTxtFile(m_folders[1]);
        if (!txt.isEmpty() && watch.ready(txt, clock.elapsedMs())) {
            setEnabled(true);
            return 解析回写文件();
        }
        if (clock.elapsedMs() - started > kPollLimitMs) break;
        clock.pause(kPollStepMs);
    }
    setEnabled(true);
    if (MsgBox(QStringLiteral("税控盘软件无反应，请确定开票软件是否正常") + kCrLf + kCrLf +
                   QStringLiteral("是否要继续打印？"),
               vbYesNo) == vbNo)
        return closeWindow();
    if (MsgBox(QStringLiteral("是否要转成手动导出模式？"), vbYesNo) == vbYes) {
        Command5_Click();
        // A manual export stopped by one of its checks leaves the window usable.
        if (Picture1->isHidden()) setExportButtons(true);
        return;
    }
    setExportButtons(true);
}

void frm增值税发票打印::Command5_Click()
{
    if (!readFolders(4)) return;
    if (m_folders[3].isEmpty()) {
        MsgBox(QStringLiteral("您未设置手动导入目录，暂时无法进行手动导入票据信息"));
        return;
    }
    if (!QFileInfo::exists(m_folders[3]) && !QDir().mkdir(m_folders[3])) {
        ShowStandardError(0, QStringLiteral("无法创建目录：") + m_folders[3]);
        return;
    }
    if (!emptyFolder(m_folders[3])) return;
    if (!readNumbering()) return;
    if (!goodsCodesSet()) return;
    setExportButtons(false);
    Command2->setEnabled(false);
    if (!建立接口文件(true)) return setExportButtons(true);
    Label1[7]->hide();
    Label1[5]->setText(QStringLiteral("请定位票据"));
    Command6->show();
    Command7->show();
    Command2->setEnabled(false);
    showPanel();
}

bool frm增值税发票打印::建立接口文件(bool manual)
{
    if (!m_reserved) {
        // Taken under the numbering lock before the file exists, so another
        // workstation of this 管理处 never writes a file of the same name.
        const ExportReservation r = reserveExportNumber(officeCode());
        if (r.kind == ExportReservation::Failed) {
            reportDbError(r.error);
            return false;
        }
        if (r.kind == ExportReservation::NotSet) {
            MsgBox(QStringLiteral("未设置导出文件编号规则，请先设置规则。暂时无法导出文件"));
            return false;
        }
        m_prefix = r.prefix;
        m_start = r.start;
        m_reserved = true;
    }
    m_baseName = exportBaseName(m_prefix, m_start);
    VatInvoice inv;
    inv.number = m_baseName;
    for (int i = 0; i < 5; ++i) inv.buyer[size_t(i)] = MSFlexGrid2->TextMatrix(i + 1, 1);
    inv.issuer = Login().当前姓名;
    inv.version = Text2->text();
    for (int r = 1; r < MSFlexGrid1->Rows(); ++r) {
        const auto t = [&](int c) { return MSFlexGrid1->TextMatrix(r, c); };
        inv.lines.push_back({t(0), t(1), t(2), t(3), t(4), t(5), t(6), t(kGoodsCodeCol)});
    }
    const InterfaceFile file = buildInterfaceFile(inv);
    if (!file.error.isEmpty()) {
        MsgBox(file.error);
        return false;
    }
    // A file of the same name is replaced, whatever the letter case it was left in.
    const QString path =
        pathInAnyCase(joinPath(manual ? m_folders[3] : m_folders[0], m_baseName + QStringLiteral(".XML")));
    QString error;
    if (!writeGbkLines(path, file.lines, &error)) {
        MsgBox(QStringLiteral("接口文件写入失败：") + path + QLatin1Char(' ') + error);
        return false;
    }
    Label1[3]->setText((manual ? QStringLiteral("手动导入，导入文件：") : QStringLiteral("自动导入，导入文件：")) + path);
    return true;
}

void frm增值税发票打印::解析回写文件()
{
    const QString named = joinPath(m_folders[1], resultFileName(m_baseName));
    const QString path = pathInAnyCase(named);
    const auto locateByHand = [this] {
        Text1->clear();
        Label1[5]->setText(QStringLiteral("请手动定位票据编号"));
        showPanel();
    };
    if (!QFileInfo(path).isFile()) {
        MsgBox(QStringLiteral("未找到") + named + QStringLiteral("文件"));
        return locateByHand();
    }
    QString error;
    const auto read = readSmallGbkFile(path, &error);
    if (!read) {
        // The invoice may have been issued all the same: the clerk types its number.
        MsgBox(error);
        return locateByHand();
    }
    const QString text = *read;
    const ExportResult result = parseResultLine(text.section(QLatin1Char('\n'), 0, 0));
    if (!result.issued) {
        MsgBox(QStringLiteral("批量导出失败"));
        Command1->setEnabled(true);
        Command5->setEnabled(true);
        return;
    }
    Text1->setText(result.invoiceNumber);
    票据定位();
    showPanel();
}

void frm增值税发票打印::Command8_Click()
{
    if (Text2->text().trimmed().isEmpty()) {
        MsgBox(QStringLiteral("请输入商品编码版本号"));
        return;
    }
    QString error;
    const auto path = ProgramFilePath(QStringLiteral("商品编码版本号.BBH"));
    if (!path || !writeSettingFile(*path, {Text2->text()}, &error)) ShowStandardError(0, error);
}

void frm增值税发票打印::Command3_Click() { closeWindow(); }

void frm增值税发票打印::closeWindow() { Unload(); }

// ---- Locating, voiding, completion

void frm增值税发票打印::票据定位()
{
    if (Combo2->count() == 0) {
        MsgBox(QStringLiteral("没有领用过 ") + Combo1->currentText() + QStringLiteral(" 票据"));
        return;
    }
    QStringList books;
    for (int i = 0; i < Combo2->count(); ++i) books << Combo2->itemText(i);
    const auto found = booksHoldingFreeBill(Text1->text(), books);
    if (!found) return reportDbError(found.error());
    m_filling = true;
    Combo2->clear();
    Combo2->addItems(*found);
    Combo2->setCurrentIndex(-1);
    m_filling = false;
    if (!found->isEmpty()) {
        Combo2->setCurrentIndex(0);  // runs 可能废票列表
        MsgBox(QStringLiteral("请核对票据入库单编号"));
        Command2->setEnabled(true);
    } else {
        MsgBox(QStringLiteral("票据定位失败，请核对票据的编号是否正确"));
        获取票据簿();
    }
}

void frm增值税发票打印::Combo2_Click()
{
    if (m_filling || Combo2->currentIndex() < 0) return;
    可能废票列表();
}

void frm增值税发票打印::可能废票列表()
{
    WaitCursor wait;
    const auto bills = freeBillsUpTo(Combo2->currentText(), Text1->text());
    if (!bills) return ShowDescriptionError(bills.error().description);
    List1->clear();
    for (const FreeBill& b : *bills) {
        auto* item = new QListWidgetItem(b.number, List1);
        item->setData(Qt::UserRole, b.id);
    }
    if (List1->count() > 0) {
        QListWidgetItem* last = List1->item(List1->count() - 1);
        SetTag(Text1, last->data(Qt::UserRole).toString());
        delete last;
    }
    Command4->setEnabled(List1->count() > 0);
}

void frm增值税发票打印::Command4_Click()
{
    std::vector<FreeBill> chosen;
    for (int i = 0; i < List1->count(); ++i)
        if (List1->item(i)->isSelected())
            chosen.push_back({List1->item(i)->text(), List1->item(i)->data(Qt::UserRole).toLongLong()});
    if (chosen.empty()) {
        MsgBox(QStringLiteral("您没有选择任何要标志为作废的票据"));
        return;
    }
    const VoidOutcome out = voidPrintedWrong(chosen, Login().当前工号, Now());
    switch (out.kind) {
    case VoidOutcome::Done:
        可能废票列表();
        MsgBox(QStringLiteral("作废处理完成"));
        return;
    case VoidOutcome::Taken:
        MsgBox(QStringLiteral("票据") + out.taken + QStringLiteral("已被开具或作废，未作任何作废处理，请重新选择"));
        可能废票列表();
        return;
    case VoidOutcome::Failed: reportDbError(out.error); return;
    }
}

void frm增值税发票打印::Command6_Click()
{
    Command2->setEnabled(true);
    MsgBox(QStringLiteral("请输入票据编号"));
}

void frm增值税发票打印::Command7_Click()
{
    if (MsgBox(QStringLiteral("是否继续尝试打印？"), vbYesNo) == vbNo) return closeWindow();
    Picture1->hide();
    setExportButtons(true);
}

void frm增值税发票打印::Text1_KeyPress(int keyAscii)
{
    if (keyAscii == 13) 票据定位();
}

void frm增值税发票打印::Command2_Click()
{
    if (Combo2->currentIndex() < 0 || Combo2->currentText().isEmpty()) {
        MsgBox(QStringLiteral("请定位票据"));
        return;
    }
    bool numeric = false;
    const qint64 billId = TagOf(Text1).trimmed().toLongLong(&numeric);
    // Only the receipt window opens this one; the other modes have no opener.
    if (Tag == QStringLiteral("前台收款") && m_handBack)
        m_handBack(BillHandBack{Combo2->currentText(), Text1->text(), numeric ? std::optional(billId) : std::nullopt});
    DbError error;
    if (advanceExportNumber(officeCode(), m_start, &error) == AdvanceOutcome::Failed) return reportDbError(error);
    closeWindow();
}

}  // namespace corvane
