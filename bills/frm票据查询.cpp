#include "bills/frm票据查询.h"

#include <QSignalBlocker>

#include "app/Helpers.h"
#include "app/LoginContext.h"
#include "platform/Services.h"
#include "platform/TextMeasure.h"
#include "receipts/ReceiptRules.h"
#include "receipts/ReceiptStore.h"

namespace corvane {

using namespace receipts;

namespace {

constexpr int kNarrowCol = 8;
constexpr int kSubjectCol = 9;
constexpr int kIdCol = 10;
const QColor kRed(255, 0, 0);
const QColor kLilac(230, 210, 240);

// A date-time as the window shows it: the time only when it is not midnight.
QString dateText(const QDateTime& t)
{
    if (!t.isValid()) return QString();
    if (t.time() == QTime(0, 0)) return t.date().toString(QStringLiteral("yyyy-MM-dd"));
    return t.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

// "#0.00"; NULL shows "0.00".
QString twoPlaces(const QVariant& v) { return LineNumber::of(v.isNull() ? QString() : v.toString()).fixed(2); }

// A quantity as a plain number, without trailing zeros; NULL shows "0".
QString plainNumber(const QVariant& v)
{
    if (v.isNull()) return QStringLiteral("0");
    QString t = LineNumber::of(v.toString()).fixed(6);
    while (t.endsWith(QLatin1Char('0'))) t.chop(1);
    if (t.endsWith(QLatin1Char('.'))) t.chop(1);
    return t == QLatin1String("-0") ? QStringLiteral("0") : t;
}

}  // namespace

frm票据查询::frm票据查询() { buildLayout(); }

void frm票据查询::Form_Load()
{
    CenterForm(*this);
    panels[1]->setText(Login().当前部门名称 + QLatin1Char(' '));
    panels[3]->setText(Login().当前岗位名称 + QLatin1Char(' '));

    for (int c = 0; c < MSFlexGrid1->Cols(); ++c) MSFlexGrid1->setFixedAlignment(c, flexAlignCenterCenter);
    MSFlexGrid1->setColWidth(kNarrowCol, 45);
    MSFlexGrid1->setRow(0);
    MSFlexGrid1->setCol(kNarrowCol);
    MSFlexGrid1->setCellBackColor(kRed);
    MSFlexGrid1->setColWidth(kIdCol, 0);

    DTPicker1->setDate(Today());

    const auto methods = paymentMethods();
    if (!methods) return ShowDescriptionError(methods.error().description);
    for (const PaymentMethod& m : *methods) Combo2->addItem(m.name, m.id);
    Combo2->setCurrentIndex(Combo2->count() > 0 ? 0 : -1);

    const auto staff = departmentStaff(Login().当前部门编号);
    if (!staff) return ShowDescriptionError(staff.error().description);
    for (const QString& name : *staff) Combo3->addItem(name);
    Combo3->setCurrentIndex(-1);
    const QString me = Login().当前姓名.trimmed();
    for (int i = 0; i < Combo3->count(); ++i)
        if (Combo3->itemText(i).trimmed() == me) {
            Combo3->setCurrentIndex(i);
            break;
        }
}

void frm票据查询::Form_Activate() { 加载合同票据(); }

void frm票据查询::clearValues()
{
    for (QLabel* l : Label2) l->clear();
}

void frm票据查询::setCollectable(bool on)
{
    Command2->setEnabled(on);
    Picture2->setEnabled(on);
}

void frm票据查询::加载合同票据()
{
    {
        const QSignalBlocker quiet(List1);
        List1->clear();
    }
    m_bills.clear();
    MSFlexGrid1->setRows(1);
    clearValues();
    setCollectable(false);

    auto bills = billsOfContract(Tag, Login().当前部门编号);
    if (!bills) return reportDbError(bills.error());
    m_bills = std::move(*bills);
    {
        const QSignalBlocker quiet(List1);
        for (const QueriedBill& b : m_bills)
            List1->addItem(b.收款日期.isValid() ? b.票据编号 : b.票据编号 + QStringLiteral(" [预开]"));
    }
    if (!m_bills.empty()) {
        {
            const QSignalBlocker quiet(List1);
            List1->setCurrentRow(0);
        }
        List1_Click();
    }
}

void frm票据查询::List1_Click()
{
    const int index = List1->currentRow();
    if (index < 0 || index >= int(m_bills.size())) return;
    MSFlexGrid1->setRows(1);
    setCollectable(false);

    const QueriedBill& b = m_bills[size_t(index)];
    const QString values[10] = {b.付款人, b.税号,   b.地址,   b.账号,   dateText(b.开票日期),
                                b.金额,   b.税额,   b.开票人, b.收款人, dateText(b.收款日期)};
    for (int i = 0; i < 10; ++i) Label2[size_t(i)]->setText(values[i]);

    if (!b.收款人.isEmpty()) {
        Combo3->setEnabled(false);
        Combo3->setCurrentIndex(-1);
        for (int i = 0; i < Combo3->count(); ++i)
            if (Combo3->itemText(i).trimmed() == b.收款人.trimmed()) {
                Combo3->setCurrentIndex(i);
                break;
            }
    } else {
        Combo3->setCurrentIndex(-1);
        Combo3->setEnabled(true);
    }
    if (!b.收款日期.isValid()) setCollectable(true);

    const auto lines = billLines(b.入库单编号, b.票据编号);
    if (!lines) return reportDbError(lines.error());
    MSFlexGrid1->hide();
    for (const QueriedLine& l : *lines) {
        const int r = MSFlexGrid1->Rows();
        MSFlexGrid1->setRows(r + 1);
        const QString cells[11] = {l.项目,          l.摘要,          l.单位,          plainNumber(l.数量),
                                   twoPlaces(l.单价), twoPlaces(l.金额), twoPlaces(l.税率), twoPlaces(l.税额),
                                   QString(),       l.科目代号,      QString::number(l.id)};
        for (int c = 0; c < 11; ++c) MSFlexGrid1->setTextMatrix(r, c, cells[c]);
        MSFlexGrid1->setRow(r);
        MSFlexGrid1->setCol(kNarrowCol);
        MSFlexGrid1->setCellBackColor(kRed);
        MSFlexGrid1->setCol(kSubjectCol);
        MSFlexGrid1->setCellBackColor(kLilac);
        widenColumns(r);
    }
    MSFlexGrid1->show();
}

void frm票据查询::widenColumns(int row)
{
    for (int c = 0; c < MSFlexGrid1->Cols(); ++c) {
        if (c == kNarrowCol || c == kIdCol) continue;
        const int wanted = int(TextWidthTwips(font(), MSFlexGrid1->TextMatrix(row, c))) + 90;
        if (wanted > MSFlexGrid1->ColWidth(c)) MSFlexGrid1->setColWidth(c, wanted);
    }
}

void frm票据查询::Command2_Click()
{
    const int index = List1->currentRow();
    if (index < 0 || index >= int(m_bills.size())) return;
    const QDate date = DTPicker1->date();
    if (MsgBox(QStringLiteral("确认预开票据收款？\r\n收款日期为：") + date.toString(QStringLiteral("yyyy-MM-dd")),
               vbYesNo | vbInformation) != vbYes)
        return;
    if (Combo3->currentIndex() < 0) {
        MsgBox(QStringLiteral("请确定收款人"));
        return;
    }
    QueriedBill& b = m_bills[size_t(index)];
    if (date.toString(QStringLiteral("yyyyMMdd")) < b.开票日期.date().toString(QStringLiteral("yyyyMMdd"))) {
        MsgBox(QStringLiteral("收款日期不能小于开票日期！"), vbInformation, ExeName());
        return;
    }
    const QString receiver = Combo3->currentText();
    const IssueOutcome done = collectPreIssuedBill(b.id, b.入库单编号, b.票据编号, date, receiver, Combo2->currentText());
    if (done.kind == IssueOutcome::Failed) return reportDbError(done.error);
    if (done.kind == IssueOutcome::NoRow) {
        MsgBox(QStringLiteral("该票据已经收款"));
        return 加载合同票据();
    }
    b.收款日期 = QDateTime(date, QTime(0, 0));
    b.收款人 = receiver;
    List1->item(index)->setText(b.票据编号);
    setCollectable(false);
}

void frm票据查询::Command4_Click() { Unload(); }

}  // namespace corvane
