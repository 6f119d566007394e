#include "bills/BillFinishing.h"

#include "app/LoginContext.h"
#include "db/Connection.h"
#include "db/Sql.h"
#include "platform/FlexGrid.h"
#include "platform/Http.h"
#include "platform/Services.h"
#include "bills/BillIssueStore.h"
#include "receipts/BillWindowSeams.h"
#include "bills/ElectronicInvoice.h"
#include "receipts/frm合同收款.h"
#include "bills/frm票据查询.h"

namespace corvane::receipts {

namespace {

const QString kTitle = QStringLiteral("系统提示");

QString firstWord(const QString& text) { return text.section(QLatin1Char(' '), 0, 0); }

std::vector<InvoiceLine> linesWithItem(const frm合同收款& w)
{
    std::vector<InvoiceLine> out;
    for (const InvoiceLine& l : w.lines())
        if (l.hasItem()) out.push_back(l);
    return out;
}

// The window takes no input while the request waits; enabled again on every
// way out.
class DisabledWhile {
public:
    explicit DisabledWhile(QWidget* w) : m_w(w), m_was(w->isEnabled()) { m_w->setEnabled(false); }
    ~DisabledWhile() { m_w->setEnabled(m_was); }
    DisabledWhile(const DisabledWhile&) = delete;
    DisabledWhile& operator=(const DisabledWhile&) = delete;

private:
    QWidget* m_w;
    bool m_was;
};

void openBillQuery(const QString& contractNumber)
{
    Forms::unload<frm票据查询>();
    auto* w = Forms::get<frm票据查询>();
    w->Tag = contractNumber;
    w->ShowModal();
    Forms::unload<frm票据查询>();
}

}  // namespace

int& eInvoiceTimeoutMs()
{
    static int ms = 60000;
    return ms;
}

void 票据最终处理(frm合同收款& w)
{
    const BillHandBack& bill = w.handBack();
    PrintedBill b;
    b.book = bill.book;
    b.number = bill.number;
    b.billId = bill.billId.value_or(0);
    b.department = Login().当前部门编号;
    if (w.Combo3->currentIndex() >= 0) b.office = firstWord(w.Combo3->currentText());
    b.contract = w.contractNumber();
    b.issueDate = w.DTPicker2->date();
    b.receiptDate = w.DTPicker1->date();
    b.payer = w.Text5[0]->text();
    b.taxNumber = w.Text5[1]->text();
    b.address = w.Text5[2]->text();
    b.account = w.Text5[3]->text();
    b.remark = w.Text5[4]->text();
    b.issuer = w.Combo6->currentText();
    b.receiver = w.Combo7->currentText();
    b.method = w.Combo1->currentText();
    b.total = w.Text1[1]->text();
    b.taxTotal = w.Text1[3]->text();
    b.preIssued = w.Check2->isChecked();
    b.lines = linesWithItem(w);
    b.collected = w.collected();
    b.now = Now();

    IssueOutcome done;
    {
        WaitCursor wait;
        // The write runs on a fresh connection, as the printing may have
        // taken long enough for the old one to be dropped.
        if (const DbError closed = ReopenInPlace(); closed.isValid()) return reportDbError(closed);
        done = finishPrintedBill(b);
    }
    switch (done.kind) {
    case IssueOutcome::Failed: return reportDbError(done.error);
    case IssueOutcome::NoRow:
        MsgBox(QStringLiteral("票据") + b.book + QLatin1Char(' ') + b.number + QStringLiteral("已被使用或作废，收款未记录"),
               vbInformation, kTitle);
        return;
    case IssueOutcome::Done: w.resetBillPanel(); return;
    }
}

void 自定义票据最终处理(FlexGrid& grid, const QPixmap& tick)
{
    grid.hide();
    const int keepRow = grid.Row(), keepCol = grid.Col();
    auto isTicked = [&](int r) {
        grid.setRow(r);
        grid.setCol(1);
        const QPixmap p = grid.CellPicture();
        return !p.isNull() && p.cacheKey() == tick.cacheKey();
    };
    int r = 1;
    while (r <= grid.Rows() - 1) {
        if (!isTicked(r)) {
            ++r;
            continue;
        }
        if (grid.Rows() < 3) {
            grid.setRows(1);
            break;
        }
        grid.RemoveItem(r);
    }
    for (int i = 1; i < grid.Rows(); ++i) grid.setTextMatrix(i, 0, QString::number(i));
    if (keepRow < grid.Rows()) grid.setRow(keepRow);
    grid.setCol(keepCol);
    grid.show();
}

bool 电子发票处理(frm合同收款& w)
{
    if (w.Combo3->currentText().isEmpty()) {
        MsgBox(QStringLiteral("请选择对应管理处"), vbInformation, kTitle);
        return false;
    }
    EInvoiceRequest r;
    r.税号 = w.Text5[1]->text();
    r.付款人 = w.Text5[0]->text();
    r.地址 = w.Text5[2]->text();
    r.账号 = w.Text5[3]->text();
    r.开票人 = w.Combo6->currentText();
    r.收款人 = w.Combo7->currentText();
    r.合计 = w.Text1[1]->text();
    r.合计收入 = w.Text1[2]->text();
    r.合计税额 = w.Text1[3]->text();
    r.备注 = w.Text5[4]->text();
    r.手机 = w.Text1[4]->text();
    r.邮箱 = w.Text1[5]->text();
    r.lines = w.lines();

    QString reply;
    {
        DisabledWhile waiting(&w);
        reply = HttpPost(w.eInvoiceAddress(), eInvoiceRequestBody(r), 1, eInvoiceTimeoutMs(), kEInvoiceTimeoutText)
                    .toString();
    }
    if (reply.isEmpty()) {
        MsgBox(QStringLiteral("电子发票开具失败，可能是服务器没有工作，请改用纸质发票开具"));
        return false;
    }
    if (!isIssued(reply, parseIssuedInvoice(reply))) {
        MsgBox(QStringLiteral("电子发票开具失败，可能是设置参数不正确，请改用纸质发票开具"));
        return false;
    }
    return 电子发票开具成功处理(w, reply);
}

bool 电子发票开具成功处理(frm合同收款& w, const QString& reply)
{
    const IssuedInvoice invoice = parseIssuedInvoice(reply);
    return 保存电子发票信息(w, invoice.code, invoice.number, invoice.pdfUrl, invoice.spUrl);
}

bool 保存电子发票信息(frm合同收款& w, const QString& code, const QString& number, const QString& pdfUrl,
                      const QString& spUrl)
{
    ElectronicBill b;
    b.code = code;
    b.number = number;
    b.pdfUrl = pdfUrl;
    b.spUrl = spUrl;
    for (int i = 0; i < w.Combo2->count(); ++i)
        if (w.Combo2->itemText(i).contains(QStringLiteral("电子发票"))) {
            b.typeCode = firstWord(w.Combo2->itemText(i));
            break;
        }
    b.department = Login().当前部门编号;
    b.payer = w.Text5[0]->text();
    b.taxNumber = w.Text5[1]->text();
    b.address = w.Text5[2]->text();
    b.account = w.Text5[3]->text();
    b.mobile = w.Text1[4]->text();
    b.email = w.Text1[5]->text();
    b.total = w.Text1[1]->text();
    b.taxTotal = w.Text1[3]->text();
    b.issuer = w.Combo6->currentText();
    b.receiver = w.Combo7->currentText();
    b.method = w.Combo1->currentText();
    b.office = firstWord(w.Combo3->currentText());
    b.contract = w.contractNumber();
    b.lines = linesWithItem(w);
    b.collected = w.collected();
    b.now = Now();

    const IssueOutcome done = storeElectronicInvoice(b);
    if (done.kind != IssueOutcome::Done) {
        reportDbError(done.error);
        // The service has issued it: the clerk must be able to find it again.
        MsgBox(QStringLiteral("电子发票已开具但未能保存，请记录：发票代码") + code + QStringLiteral("，发票号码") + number +
                   QStringLiteral("，") + pdfUrl,
               vbExclamation, kTitle);
        return false;
    }
    w.setHandBack({code, number});
    w.resetBillPanel();
    return true;
}

void registerBillFinishing()
{
    auto& seams = billWindowSeams();
    seams.票据最终处理 = [](frm合同收款& w) { 票据最终处理(w); };
    seams.电子发票处理 = [](frm合同收款& w) { return 电子发票处理(w); };
    seams.frm票据查询 = openBillQuery;
}

}  // namespace corvane::receipts
