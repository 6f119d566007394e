#include "bills/frm自定义票据打印.h"

#include <QSignalBlocker>

#include "app/LoginContext.h"
#include "db/Sql.h"
#include "platform/PrintSurface.h"
#include "platform/Services.h"
#include "platform/Tag.h"
#include "receipts/BillStore.h"
#include "bills/CustomBillStore.h"
#include "receipts/frm合同收款.h"

namespace corvane {

using namespace receipts;

namespace {

const QString kPrint = QStringLiteral("打印");
const QString kReprint = QStringLiteral("重新打印");
const QString kFrontDesk = QStringLiteral("前台收款");
const QString kTaken = QStringLiteral("该票据已被使用或作废，请重新选择票据");
const QString kVoidTaken = QStringLiteral("该票据已被使用或作废");
const QString kChooseNumber = QStringLiteral("请确定票据编号");

QString firstWord(const QString& text) { return text.section(QLatin1Char(' '), 0, 0); }
QString secondWord(const QString& text) { return text.section(QLatin1Char(' '), 1, 1); }

}  // namespace

frm自定义票据打印::frm自定义票据打印() { buildLayout(); }

void frm自定义票据打印::takeReceipt(const ReceiptBillContext& context, BillHandBackTo handBack)
{
    m_handBack = std::move(handBack);
    m_context = context;
    Tag = context.tag;
    panels[5]->setText(context.statusPanel6);
    if (context.chooseBillFirst) {
        Command4->setVisible(true);
        Command4->setEnabled(true);
        Command1->setEnabled(false);
    }
}

// ---- Loading and activation

void frm自定义票据打印::Form_Load() { showPrinterLine(QStringLiteral("所选打印机：")); }

void frm自定义票据打印::showPrinterLine(const QString& prefix) { Label2->setText(prefix + Printing::currentPrinter()); }

void frm自定义票据打印::Form_Activate()
{
    // The page and the lists are built once per opening.
    if (m_activated) return;
    m_activated = true;
    const bool managedPanel = !panels[5]->text().isEmpty();
    if (managedPanel) 票据簿列表();
    if (Tag == kFrontDesk) 获取前台收款数据();
    if (!managedPanel) Command1->setEnabled(!m_printBlocked);
}

void frm自定义票据打印::blockPrinting()
{
    m_printBlocked = true;
    Command1->setEnabled(false);
}

// ---- The page

bool frm自定义票据打印::初始化(const QString& 格式名称)
{
    auto found = readBillLayout(格式名称, panels[5]->text(), Login().当前部门编号);
    if (!found) {
        reportDbError(found.error());
        blockPrinting();
        return false;
    }
    if (!*found) return false;
    const BillLayout& layout = **found;
    格式票据管理 = layout.head.managed;
    格式编号字 = layout.head.code;
    const BuildOutcome built = buildPage(page, layout);
    placePage();
    Picture2->update();
    if (!built.ok) {
        ShowStandardError(0, built.error);
        blockPrinting();
    }
    return true;
}

void frm自定义票据打印::获取前台收款数据()
{
    待开票据 = pendingBillOf(m_context);
    待开票据.金额 = Decimal();
    待开票据行.clear();
    if (m_context.layoutName.isEmpty()) {
        ShowStandardError(0, QStringLiteral("票据类型中没有格式名称"));
        blockPrinting();
        return;
    }
    if (!初始化(m_context.layoutName)) {
        if (!m_printBlocked) MsgBox(kNoLayout);
        blockPrinting();
        return;
    }
    if (m_printBlocked) return;
    const FillOutcome filled = fillPage(page, 待开票据, 待开票据行, m_context, Login().当前姓名);
    Picture2->update();
    if (filled.blocked) {
        // Printing stays blocked for this opening: a bill missing lines on
        // paper, or one read half-way, must not be recorded.
        MsgBox(filled.message);
        blockPrinting();
    }
}

// ---- Books and free bills

QString frm自定义票据打印::chosenBook() const { return firstWord(Combo1->currentText()); }

void frm自定义票据打印::票据簿列表()
{
    const QString panel = panels[5]->text();
    const QString type = firstWord(panel);
    const QString name = secondWord(panel);
    auto books = lentBooks(Login().当前部门编号, type);
    {
        const QSignalBlocker quiet1(Combo1), quiet2(Combo2);
        Combo1->clear();
        Combo2->clear();
    }
    if (!books) {
        reportDbError(books.error());
        return;
    }
    {
        const QSignalBlocker quiet(Combo1);
        for (const LentBook& b : *books) Combo1->addItem(b.book + QLatin1Char(' ') + name);
        Combo1->setCurrentIndex(-1);
    }
    if (Combo1->count() > 0) {
        Combo1->setCurrentIndex(0);
        Combo1_Click();
    }
}

void frm自定义票据打印::Combo1_Click() { 获取可用票据(); }

void frm自定义票据打印::获取可用票据()
{
    WaitCursor wait;
    auto bills = freeBills(chosenBook());
    {
        const QSignalBlocker quiet(Combo2);
        Combo2->clear();
        if (bills)
            for (const FreeBill& b : *bills) Combo2->addItem(b.number, b.id);
        Combo2->setCurrentIndex(-1);
    }
    if (!bills) {
        MsgBox(bills.error().description);
        return;
    }
    if (Combo2->count() > 0) {
        Combo2->setCurrentIndex(0);
        Combo2_Click();
    } else {
        Command6->setEnabled(false);
    }
}

void frm自定义票据打印::Combo2_Click()
{
    if (Combo2->currentIndex() < 0) return;
    待开票据.票据编号 = Combo2->currentText();
    Command6->setEnabled(true);
}

void frm自定义票据打印::Command4_Click()
{
    const int right = Picture3->x() + Command4->x() + Command4->width();
    Picture4->move(right - Picture4->width(), Picture3->y() - Picture4->height());
    Picture4->show();
    Picture4->raise();
}

void frm自定义票据打印::Command5_Click()
{
    if (Combo2->currentIndex() < 0) {
        MsgBox(kChooseNumber);
        return;
    }
    Picture4->hide();
    Command1->setEnabled(!m_printBlocked);
}

void frm自定义票据打印::Command6_Click()
{
    if (Combo2->currentIndex() < 0) {
        MsgBox(kChooseNumber);
        return;
    }
    if (MsgBox(QStringLiteral("确认要作废") + Combo2->currentText() + QStringLiteral(" 这张单据"), vbYesNo | vbQuestion) !=
        vbYes)
        return;
    票据作废();
    获取可用票据();
}

void frm自定义票据打印::票据作废()
{
    if (Combo2->currentIndex() < 0) {
        MsgBox(kChooseNumber);
        return;
    }
    const qint64 id = Combo2->currentData().toLongLong();
    for (int lost = 0;;) {
        const CustomVoidOutcome v = voidCustomBill(id, Now(), QStringLiteral("打印错误"), Login().当前工号, m_ownIds);
        if (v.status == SaveStatus::Done) return;
        if (v.status == SaveStatus::NotFree) {
            MsgBox(kVoidTaken);
            return;
        }
        if (!v.error.connectionLost) {
            MsgBox(v.error.description);
            return;
        }
        ReOpenConnection();
        if (++lost < 3) continue;
        MsgBox(QStringLiteral("由于无法登录服务器，收款数据将不能保存。\n请记住本票据的编号，等本系统恢复运行后作废该票据，切记！"));
        MsgBox(QStringLiteral("【提醒】本系统将自动退出！等服务器或网络正常后再使用本系统。"));
        Services::shell().endProgram();
        return;
    }
}

// ---- Saving and printing

CustomBillSave frm自定义票据打印::saveRequest() const
{
    CustomBillSave s;
    s.bill = 待开票据;
    s.lines = 待开票据行;
    s.department = Login().当前部门编号;
    s.userName = Login().当前姓名;
    s.payer = page.firstSingleField(QStringLiteral("付款人"));
    s.address = page.firstSingleField(QStringLiteral("地址"));
    s.remark = page.firstSingleField(QStringLiteral("备注"));
    return s;
}

QString frm自定义票据打印::获取编号()
{
    const SaveOutcome saved = saveSelfNumberedBill(格式编号字, saveRequest());
    if (saved.status != SaveStatus::Done) {
        reportDbError(saved.error);
        return QString();
    }
    待开票据.票据编号 = saved.number;
    m_savedId = saved.id;
    m_ownIds.push_back(saved.id);
    return QString::number(saved.id);
}

bool frm自定义票据打印::更新票据信息()
{
    const qint64 id = Combo2->currentData().toLongLong();
    const SaveOutcome saved = saveManagedBill(id, chosenBook(), Combo2->currentText(), saveRequest(), m_ownIds);
    if (saved.status == SaveStatus::NotFree) {
        MsgBox(kTaken);
        获取可用票据();
        Command1->setEnabled(false);
        Command4_Click();
        return false;
    }
    if (saved.status != SaveStatus::Done) {
        reportDbError(saved.error);
        return false;
    }
    待开票据.票据编号 = Combo2->currentText();
    m_savedId = id;
    if (std::find(m_ownIds.begin(), m_ownIds.end(), id) == m_ownIds.end()) m_ownIds.push_back(id);
    return true;
}

bool frm自定义票据打印::票据打印()
{
    const auto job = Printing::startJob(QStringLiteral("票据"));
    if (printPage(page, *job)) return true;
    m_printError = job->lastError();
    return false;
}

void frm自定义票据打印::enterSpoiledState()
{
    if (格式票据管理) {
        Command6->setVisible(true);
        Command6->setEnabled(Combo2->currentIndex() >= 0);
        Command1->setEnabled(false);
        Command4_Click();
    } else {
        Command1->setText(kReprint);
    }
}

void frm自定义票据打印::Command1_Click()
{
    if (m_printBlocked) return;
    if (Printing::currentPrinter().isEmpty()) {
        Printing::reportFault(Printing::kNoPrinter);
        return;
    }
    if (Command1->text() == kPrint) {
        if (格式票据管理) {
            if (Combo2->currentIndex() < 0) {
                MsgBox(kChooseNumber);
                return;
            }
            if (!更新票据信息()) return;
        } else {
            if (获取编号().isEmpty()) return;
            page.setSingleFields(QStringLiteral("票据编号"), 待开票据.票据编号);
            Picture2->update();
        }
    }
    if (!票据打印()) {
        // The bill is saved: another 打印 would number or complete a second one.
        Printing::reportFault(m_printError);
        enterSpoiledState();
        return;
    }
    if (MsgBox(QStringLiteral("是否正常打印票据了？"), vbYesNo | vbQuestion) != vbYes) {
        if (格式票据管理) {
            MsgBox(QStringLiteral("请确认打印机处于正常，并处理作废的票据后，根据打印机上的票据编号选择票据，然后进行打印"));
        } else {
            MsgBox(QStringLiteral("请确认打印机处于正常,然后按[重新打印]按钮"));
        }
        enterSpoiledState();
        return;
    }
    // The receipt window records the receipts next: the server must still answer.
    auto probe = selectFirstQuiet(QStringLiteral("SELECT 1"));
    if (!probe) {
        reportDbError(probe.error());
        enterSpoiledState();
        return;
    }
    if (Tag != kFrontDesk) return;
    const QString book = 格式票据管理 ? chosenBook() : 格式编号字;
    handBack(BillHandBack{book, 待开票据.票据编号, std::nullopt});
    m_leaving = true;
    Unload();
}

void frm自定义票据打印::handBack(const std::optional<BillHandBack>& bill)
{
    if (Tag == kFrontDesk && m_handBack) m_handBack(bill);
}

// ---- Printer and leaving

void frm自定义票据打印::Command3_Click()
{
    Printing::choosePrinter(QStringLiteral("打印设置"));
    showPrinterLine(QStringLiteral("选择打印机："));
}

bool frm自定义票据打印::leaveAfterSpoiledPrint()
{
    if (MsgBox(QStringLiteral("确认不再重新打印票据？\n如果您选择[是]，系统将自动作废该票据"), vbYesNo | vbQuestion) != vbYes)
        return false;
    const CustomVoidOutcome v = voidCustomBill(m_savedId, QDateTime(Today(), QTime(0, 0)), QStringLiteral("打印失败"),
                                         Login().当前姓名, m_ownIds);
    if (v.status == SaveStatus::Failed) {
        reportDbError(v.error);
        return false;
    }
    if (v.status == SaveStatus::NotFree) MsgBox(kVoidTaken);
    return true;
}

void frm自定义票据打印::Command2_Click()
{
    if (Command1->text() == kReprint && !leaveAfterSpoiledPrint()) return;
    handBack(std::nullopt);
    m_leaving = true;
    Unload();
}

void frm自定义票据打印::Form_Unload(int& Cancel)
{
    if (m_leaving) return;
    // Closed by the title bar: a bill printed but not confirmed goes the way
    // 退出 takes it.
    if (Command1->text() == kReprint && !leaveAfterSpoiledPrint()) {
        Cancel = 1;
        return;
    }
    m_leaving = true;
    handBack(std::nullopt);
}

namespace {

// A fresh window for every bill, gone when its modal run ends.
std::optional<BillHandBack> openCustomBillWindow(frm合同收款&, const ReceiptBillContext& context)
{
    Forms::unload<frm自定义票据打印>();
    auto* w = Forms::get<frm自定义票据打印>();
    std::optional<BillHandBack> printed;
    w->takeReceipt(context, [&printed](const std::optional<BillHandBack>& bill) { printed = bill; });
    w->ShowModal();
    Forms::unload<frm自定义票据打印>();
    return printed;
}

}  // namespace

namespace receipts {
void registerCustomBillWindow() { billWindowSeams().frm自定义票据打印 = openCustomBillWindow; }
}  // namespace receipts

}  // namespace corvane
