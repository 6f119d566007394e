#include "receipts/frm合同收款.h"

#include <QFile>
#include <QEvent>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <QTimer>

#include "app/LoginContext.h"
#include "db/Schema.h"
#include "platform/InputRules.h"
#include "platform/Services.h"
#include "platform/Tag.h"
#include "platform/TextFile.h"
#include "platform/Widgets.h"
#include "receipts/BillStore.h"

namespace corvane {

using namespace receipts;

namespace {

constexpr int kEnter = 13;
const QString kTitle = QStringLiteral("系统提示");

// The first blank-separated word of a list item, and the second.
QString firstWord(const QString& text) { return text.section(QLatin1Char(' '), 0, 0); }
QString secondWord(const QString& text) { return text.section(QLatin1Char(' '), 1, 1); }

Decimal valueOf(const QString& text) { return leadingDecimal(text).value_or(Decimal()); }

void showMissing(const QString& caption) { MsgBox(contract::windowNotAvailableText(caption), vbInformation); }

// Clears a list without its handler running and leaves nothing chosen.
void clearList(QComboBox* list)
{
    const QSignalBlocker quiet(list);
    list->clear();
    list->setCurrentIndex(-1);
}

void addItem(QComboBox* list, const QString& text, const QVariant& data = QVariant())
{
    const QSignalBlocker quiet(list);
    const int before = list->currentIndex();
    list->addItem(text, data);
    list->setCurrentIndex(before);  // adding to an empty list would choose the item
}

// Places `editor` exactly over the current cell of `grid`.
void placeOverCell(QWidget* editor, FlexGrid* grid)
{
    editor->setGeometry(grid->x() + px(grid->CellLeft()), grid->y() + px(grid->CellTop()), px(grid->CellWidth()),
                        px(grid->CellHeight()));
}

}  // namespace

frm合同收款::frm合同收款() { buildLayout(); }

void frm合同收款::takeHandover(const contract::ReceiptHandover& h)
{
    Text3[0]->setText(h.name);
    SetTag(Text3[0], h.number);
    Text3[1]->setText(h.ownerDepartment);
}

QString frm合同收款::contractNumber() const { return TagOf(Text3[0]); }

// ---- Loading and activation

void frm合同收款::Form_Load()
{
    DTPicker1->setDate(Today());
    DTPicker2->setDate(Today());
    panels[1]->setText(Login().当前部门名称 + QLatin1Char(' '));
    panels[3]->setText(Login().当前岗位名称 + QLatin1Char(' '));
    初始化收款窗口();
    MSFlexGrid1->setColWidth(7, 0);
    获取电子发票接口设置();
    获取扫码支付接口设置();
}

void frm合同收款::初始化收款窗口()
{
    clearList(Combo1);
    if (auto methods = paymentMethods())
        for (const PaymentMethod& m : *methods) addItem(Combo1, m.name, m.id);
    else
        reportDbError(methods.error());

    clearList(Combo6);
    clearList(Combo7);
    if (auto staff = departmentStaff(Login().当前部门编号)) {
        for (const QString& name : *staff) {
            addItem(Combo6, name);
            addItem(Combo7, name);
        }
        const QString me = Login().当前姓名.trimmed();
        for (int i = 0; i < Combo6->count(); ++i)
            if (Combo6->itemText(i).trimmed() == me) {
                Combo6->setCurrentIndex(i);
                Combo7->setCurrentIndex(i);
                break;
            }
    } else {
        reportDbError(staff.error());
    }

    clearList(Combo2);
    if (auto types = billTypeEntries(Login().当前部门编号))
        for (const BillTypeEntry& t : *types) addItem(Combo2, t.text, int(t.kind));
    else
        reportDbError(types.error());

    int chosen = Combo2->count() > 0 ? 0 : -1;
    const auto ini = ProgramFilePath(QStringLiteral("ZPDYPJLX.INI"));
    if (ini && QFile::exists(*ini)) {
        QString error;
        if (const auto text = readSmallGbkFile(*ini, &error))
            chosen = Combo2->findText(firstField(*text), Qt::MatchExactly);
        else
            MsgBox(error);
    }
    if (chosen >= 0) {
        Combo2->setCurrentIndex(chosen);
        Combo2_Click();
    }
}

void frm合同收款::获取扫码支付接口设置()
{
    const auto value = systemSetting(QStringLiteral("扫码支付接口URL"));
    if (!value) return reportDbError(value.error());
    if (*value) m_scanUrl = **value;
}

void frm合同收款::获取电子发票接口设置()
{
    const auto value = systemSetting(QStringLiteral("电子发票接口URL"));
    if (!value) return reportDbError(value.error());
    if (*value) {
        m_eInvoiceUrl = **value;
        Option2[0]->setEnabled(true);
        Option2[1]->setEnabled(true);
    }
}

void frm合同收款::Form_Activate()
{
    获取管理处();
    收费项目设置刷新();
    const auto payer = contractPayer(contractNumber());
    if (!payer) {
        reportDbError(payer.error());
    } else if (*payer) {
        Text5[0]->setText((*payer)->counterparty);
        Text5[3]->setText((*payer)->bank + QLatin1Char(' ') + (*payer)->account);
    }
    Text3[2]->clear();
    刷新收款计划();
}

// ---- 管理处, books and numbers

QString frm合同收款::officeCode() const { return Combo3->currentIndex() < 0 ? QString() : firstWord(Combo3->currentText()); }

void frm合同收款::获取管理处()
{
    clearList(Combo3);
    const auto offices = officesOf(firstWord(Text3[1]->text()));
    if (!offices) {
        MsgBox(QStringLiteral("错误号: ") + QString::number(offices.error().number) + QStringLiteral(" 错误描述: ") +
                   offices.error().description,
               vbInformation, kTitle);
        return;
    }
    for (const Office& o : *offices) addItem(Combo3, o.code + QLatin1Char(' ') + o.name);
    if (Combo3->count() > 0) {
        Combo3->setCurrentIndex(0);
        Combo3_Click();
    }
}

void frm合同收款::获取票据簿()
{
    clearList(Combo5);
    clearList(Combo8);
    const QString type = firstWord(Combo2->currentText()), name = secondWord(Combo2->currentText());
    const auto books = lentBooks(Login().当前部门编号, type);
    if (!books) return reportDbError(books.error());
    for (const LentBook& b : *books) addItem(Combo5, b.book + QLatin1Char(' ') + name);
}

void frm合同收款::获取可用票据()
{
    WaitCursor wait;
    const auto bills = freeBills(firstWord(Combo5->currentText()));
    clearList(Combo8);
    if (!bills) return reportDbError(bills.error());
    for (const FreeBill& b : *bills) addItem(Combo8, b.number, b.id);
    if (Combo8->count() > 0) Combo8->setCurrentIndex(0);
}

QString frm合同收款::获取自定义编号()
{
    const QString code = firstWord(Combo2->currentText());
    addItem(Combo5, code + QStringLiteral(" 自定义票据"));
    Combo5->setCurrentIndex(Combo5->count() - 1);
    获取可用票据();
    const auto bill = takeSelfNumberedBill(code, Login().当前部门编号);
    if (!bill) {
        reportDbError(bill.error());
        return QString();
    }
    addItem(Combo8, bill->number, bill->id);
    Combo8->setCurrentIndex(Combo8->count() - 1);
    return QString::number(bill->id);
}

// ---- Fee items

namespace {
QTreeWidgetItem* findNode(QTreeWidget* tree, const QString& key)
{
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        if ((*it)->data(0, Qt::UserRole).toString() == key) return *it;
    return nullptr;
}
}  // namespace

void frm合同收款::收费项目设置刷新()
{
    m_rates.assign(1, RateEntry());
    if (Combo3->currentIndex() < 0) return;
    const auto items = feeItemsOf(officeCode());
    TreeView3->clear();
    if (!items) {
        m_rates.clear();
        return;
    }
    m_rates = *items;
    QString lastCategory;
    for (int index = 0; index < int(m_rates.size()); ++index) {
        const RateEntry& e = m_rates[size_t(index)];
        if (e.收费类别 != lastCategory && !e.收费类别.isEmpty()) {
            auto* category = new QTreeWidgetItem(TreeView3, QStringList{e.收费类别});
            category->setData(0, Qt::UserRole, QStringLiteral("L") + e.收费类别);
            category->setExpanded(true);
            lastCategory = e.收费类别;
        }
        QTreeWidgetItem* parent = e.收费类别.isEmpty() ? nullptr : findNode(TreeView3, QStringLiteral("L") + e.收费类别);
        if (!parent || findNode(TreeView3, QStringLiteral("X") + e.DH)) continue;
        auto* item = new QTreeWidgetItem(parent, QStringList{e.XM});
        item->setData(0, Qt::UserRole, QStringLiteral("X") + e.DH);
        item->setData(0, Qt::UserRole + 1, index);
    }
}

Decimal frm合同收款::查找当前税率(const QString& code) { return receipts::查找当前税率(m_rates, code, m_current); }

void frm合同收款::增值税计算(int row)
{
    InvoiceLine l = line(row);
    receipts::增值税计算(l, m_current);
    writeLine(row, l);
}

// ---- Instalment grid

bool frm合同收款::ticked(int row) const
{
    auto* grid = MSFlexGrid1;
    const int r = grid->Row(), c = grid->Col();
    grid->setRow(row);
    grid->setCol(1);
    const bool on = !grid->CellPicture().isNull();
    grid->setRow(r);
    grid->setCol(c);
    return on;
}

void frm合同收款::setTicked(int row, bool on)
{
    const int r = MSFlexGrid1->Row(), c = MSFlexGrid1->Col();
    MSFlexGrid1->setRow(row);
    MSFlexGrid1->setCol(1);
    MSFlexGrid1->setCellPicture(on ? Image1[0] : Image1[1]);
    MSFlexGrid1->setRow(r);
    MSFlexGrid1->setCol(c);
}

void frm合同收款::刷新收款计划()
{
    Picture4->hide();
    // The instalments come back unticked: nothing is being collected.
    Text3[2]->clear();
    WaitCursor wait;
    MSFlexGrid1->setRows(1);
    MSFlexGrid1->hide();
    const auto rows = receiptPlanOf(contractNumber());
    if (!rows) {
        MSFlexGrid1->show();
        return reportDbError(rows.error());
    }
    int r = 0;
    for (const PlanRow& p : *rows) {
        ++r;
        MSFlexGrid1->setRows(r + 1);
        MSFlexGrid1->setTextMatrix(r, 0, QString::number(r));
        MSFlexGrid1->setTextMatrix(r, 2, p.date.isValid() ? p.date.toString(QStringLiteral("yyyy-MM-dd")) : QString());
        MSFlexGrid1->setTextMatrix(r, 3, p.planned.fixed(2));
        MSFlexGrid1->setTextMatrix(r, 4, p.received.fixed(2));
        MSFlexGrid1->setTextMatrix(r, 5, (valueOf(p.planned.fixed(2)) - valueOf(p.received.fixed(2))).fixed(2));
        MSFlexGrid1->setTextMatrix(r, 6, QString());
        MSFlexGrid1->setRowData(r, int(p.id));
        setTicked(r, false);
    }
    MSFlexGrid1->show();
}

void frm合同收款::showPlanTotals()
{
    Decimal sum;
    for (int r = 1; r <= planRows(); ++r) sum += valueOf(MSFlexGrid1->TextMatrix(r, 6));
    Text3[2]->setText(sum.fixed(2));
    Text1[1]->setText(sum.fixed(2));
}

void frm合同收款::openPlanEditor(int row)
{
    const QString cell = MSFlexGrid1->TextMatrix(row, 6);
    Text2->setText(valueOf(cell).isZero() ? MSFlexGrid1->TextMatrix(row, 5) : cell);
    MSFlexGrid1->setTextMatrix(row, 6, Text2->text());
    MSFlexGrid1->setRow(row);
    MSFlexGrid1->setCol(6);
    placeOverCell(Text2, MSFlexGrid1);
    Text2->show();
    Text2->raise();
    Text2->setFocus();
}

void frm合同收款::MSFlexGrid1_Click()
{
    Text2->hide();
    if (planRows() < 1) return;
    const int row = MSFlexGrid1->Row();
    if (row < 1) return;
    const bool open = !valueOf(MSFlexGrid1->TextMatrix(row, 5)).isZero();
    switch (MSFlexGrid1->Col()) {
    case 1:
        if (ticked(row)) {
            setTicked(row, false);
            MSFlexGrid1->setTextMatrix(row, 6, QString());
        } else if (open) {
            setTicked(row, true);
            MSFlexGrid1->setCol(6);
            openPlanEditor(row);
        }
        break;
    case 6:
        if (ticked(row) && open)
            openPlanEditor(row);
        else if (!ticked(row))
            MSFlexGrid1->setCol(1);
        break;
    default: break;
    }
    showPlanTotals();
}

void frm合同收款::MSFlexGrid1_Scroll() { Text2->hide(); }

void frm合同收款::Text2_KeyPress(int keyAscii)
{
    if (keyAscii != kEnter) return;
    MSFlexGrid1->setTextMatrix(MSFlexGrid1->Row(), MSFlexGrid1->Col(), Text2->text());
    Text2->hide();
    showPlanTotals();
}

void frm合同收款::Command2_Click()
{
    std::vector<Decimal> balances;
    for (int r = 1; r <= planRows(); ++r) {
        setTicked(r, false);
        MSFlexGrid1->setTextMatrix(r, 6, QString());
        balances.push_back(valueOf(MSFlexGrid1->TextMatrix(r, 5)));
    }
    const std::vector<Spread> spread = spreadTotal(valueOf(Text3[2]->text()), balances);
    for (int r = 1; r <= planRows(); ++r) {
        const Spread& s = spread[size_t(r - 1)];
        if (!s.marked) continue;
        setTicked(r, true);
        MSFlexGrid1->setTextMatrix(r, 6, s.amount);
    }
    // The totals follow what was given out, so the bill never claims more
    // than the receipts record.
    showPlanTotals();
}

std::vector<Collected> frm合同收款::collected() const
{
    std::vector<Collected> out;
    for (int r = 1; r <= planRows(); ++r) {
        const Decimal amount = valueOf(MSFlexGrid1->TextMatrix(r, 6));
        if (ticked(r) && !amount.isZero()) out.push_back({MSFlexGrid1->RowData(r), amount});
    }
    return out;
}

bool frm合同收款::处理收款计划(const QString& book, const QString& number)
{
    const auto written = recordReceipts(book, number, collected(), Now());
    if (!written) {
        reportDbError(written.error());
        return false;
    }
    return true;
}

// ---- Bill panel

void frm合同收款::Command5_Click()
{
    if (valueOf(Text3[2]->text()).isZero()) {
        MsgBox(QStringLiteral("请选择收款金额!"), vbInformation, kTitle);
        return;
    }
    Text2->hide();
    Picture4->move(px(45), MSFlexGrid1->y());
    Picture4->show();
    Picture4->raise();
    MSFlexGrid2->setRows(1);
    MSFlexGrid2->setRows(2);
    InvoiceLine first;
    first.c[col::数量] = QStringLiteral("1");
    first.c[col::单价] = Text3[2]->text();
    first.c[col::金额] = Text3[2]->text();
    writeLine(1, first);
    // The totals are those of the fresh line, not of an earlier receipt's.
    showLineTotals();
    MSFlexGrid2->setRow(1);
    MSFlexGrid2->setCol(col::标记);
    MSFlexGrid2->setCellBackColor(QColor());
    MSFlexGrid2->setCol(0);
    placeItemButton();
}

void frm合同收款::placeItemButton()
{
    MSFlexGrid2->setRow(1);
    MSFlexGrid2->setCol(0);
    const int left = MSFlexGrid2->x() + px(MSFlexGrid2->CellLeft() + MSFlexGrid2->CellWidth()) - Command8->width();
    Command8->setGeometry(left, MSFlexGrid2->y() + px(MSFlexGrid2->CellTop()), Command8->width(),
                          px(MSFlexGrid2->CellHeight()));
    Command8->show();
    Command8->raise();
}

BillKind frm合同收款::chosenKind() const
{
    return Combo2->currentIndex() < 0 ? BillKind(0) : BillKind(Combo2->currentData().toInt());
}

void frm合同收款::Combo2_Click()
{
    Check6->setEnabled(true);
    const BillKind kind = chosenKind();
    if (kind != BillKind::VatInvoice && Check6->isChecked()) {
        Check6->setChecked(false);
        Check6_Click();
    }
    showPrintMode();
    if (Check6->isChecked()) {
        Command16->setEnabled(false);
        Combo5->setCurrentIndex(-1);
        Combo8->setCurrentIndex(-1);
        Combo5->setEnabled(true);
        Combo8->setEnabled(true);
        获取票据簿();
    } else {
        Combo5->setEnabled(false);
        Combo8->setEnabled(false);
    }
}

// The status line names how the bill will be printed; a receipt recorded
// without printing prints nothing.
void frm合同收款::showPrintMode()
{
    if (Check6->isChecked()) return panels[4]->clear();
    switch (chosenKind()) {
    case BillKind::OwnLayout: panels[4]->setText(QStringLiteral("部门自定义票据格式，将采用打印票据模式处理。")); break;
    case BillKind::LentLayout: panels[4]->setText(QStringLiteral("自定义票据格式，将采用打印票据模式处理。")); break;
    case BillKind::ExportPrint: panels[4]->setText(QStringLiteral("【注】采用打印文件导出方式打印票据。")); break;
    default: panels[4]->clear(); break;
    }
}

void frm合同收款::Check6_Click()
{
    const bool on = Check6->isChecked();
    showPrintMode();
    Command16->setEnabled(!on);
    for (QWidget* w : std::initializer_list<QWidget*>{Combo5, Combo8, DTPicker1, DTPicker2}) w->setEnabled(on);
    if (!on || Combo2->currentIndex() < 0) return;
    if (chosenKind() == BillKind::OwnLayout) {
        clearList(Combo5);
        clearList(Combo8);
    } else {
        获取票据簿();
    }
}

void frm合同收款::Option2_Click(int index)
{
    if (index == 0) {
        for (QCheckBox* box : {Check2, Check6}) {
            if (box->isChecked()) {
                box->setChecked(false);
                if (box == Check6) Check6_Click();
            }
            box->setEnabled(false);
        }
    } else {
        Check2->setEnabled(true);
        Check6->setEnabled(true);
    }
}

void frm合同收款::Combo1_Click()
{
    const QString method = Combo1->currentText();
    const bool scan = (method.contains(QStringLiteral("微信")) || method.contains(QStringLiteral("支付宝"))) &&
                      !m_scanUrl.isEmpty();
    Command26->setEnabled(scan);
    Command1->setEnabled(!scan);
    if (!scan) Picture7->hide();
}

void frm合同收款::Command26_Click()
{
    Picture7->setGeometry(rect());
    Picture7->show();
    Picture7->raise();
    Text12[1]->setText(Text1[1]->text());
    Text12[0]->clear();
    Text12[0]->setFocus();
}

void frm合同收款::Command19_Click() { Picture7->hide(); }

void frm合同收款::Combo3_Click()
{
    if (Combo3->currentIndex() >= 0) 收费项目设置刷新();
}

void frm合同收款::Combo5_Click() { 获取可用票据(); }

void frm合同收款::Text10_GotFocus() { Text10->selectAll(); }

bool frm合同收款::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == TreeView3 && event->type() == QEvent::KeyPress) {
        // Enter and Space on the highlighted item choose it, as a click does; on a
        // category they open or close it.
        const int key = static_cast<QKeyEvent*>(event)->key();
        QTreeWidgetItem* node = TreeView3->currentItem();
        if (node && (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space)) {
            if (node->data(0, Qt::UserRole).toString().startsWith(QLatin1Char('L')))
                node->setExpanded(!node->isExpanded());
            else
                TreeView3_NodeClick(node);
            return true;
        }
    }
    if (event->type() == QEvent::FocusIn && (watched == Text10 || watched == Text4)) {
        // After the click that gave the focus has placed the cursor.
        QTimer::singleShot(0, this, [this, watched] {
            if (watched == Text10) Text10_GotFocus();
            else Text4_GotFocus();
        });
    }
    return Form::eventFilter(watched, event);
}

void frm合同收款::Text10_KeyPress(int keyAscii)
{
    if (keyAscii != kEnter) return;
    const auto found = findBillByNumber(Text10->text().trimmed());
    if (!found) return reportDbError(found.error());
    bool located = false;
    if (*found) {
        for (int i = 0; i < Combo5->count() && !located; ++i) {
            if (firstWord(Combo5->itemText(i)) != (*found)->book) continue;
            Combo5->setCurrentIndex(i);
            Combo5_Click();
            const int n = Combo8->findText((*found)->number, Qt::MatchExactly);
            if (n >= 0) Combo8->setCurrentIndex(n);
            located = n >= 0;
            break;
        }
    }
    if (!located) MsgBox(QStringLiteral("未找到匹配的票据本和票据，请核对！"), vbInformation, QStringLiteral("提醒"));
}

void frm合同收款::Command22_Click()
{
    HandlerScope handler(this);
    auto& seam = billWindowSeams().frm开票项目设置;
    if (!seam) return showMissing(QStringLiteral("开票项目设置"));
    seam(Combo3->currentText());
    收费项目设置刷新();
    if (MSFlexGrid2->Rows() < 2 || MSFlexGrid2->TextMatrix(1, 0).isEmpty()) return;
    for (int r = 1; r < MSFlexGrid2->Rows(); ++r) {
        m_current.当前税率 = 查找当前税率(MSFlexGrid2->TextMatrix(r, col::收费项目));
        MSFlexGrid2->setTextMatrix(r, col::应税科目, m_current.当前应税科目);
        增值税计算(r);
    }
    const QString tax = taxTotalOf(lines());
    Text1[3]->setText(tax);
    Text1[2]->setText((LineNumber::of(Text1[1]->text()) - LineNumber::of(tax)).fixed(2));
}

void frm合同收款::Command3_Click()
{
    HandlerScope handler(this);
    auto& seam = billWindowSeams().frm票据查询;
    if (!seam) return showMissing(QStringLiteral("票据查询"));
    seam(contractNumber());
}

void frm合同收款::Command4_Click() { Unload(); }

// ---- Invoice lines

InvoiceLine frm合同收款::line(int row) const
{
    InvoiceLine l;
    for (int c = 0; c < 16; ++c) l.c[size_t(c)] = MSFlexGrid2->TextMatrix(row, c);
    l.mark = MSFlexGrid2->RowData(row);
    return l;
}

std::vector<InvoiceLine> frm合同收款::lines() const
{
    std::vector<InvoiceLine> out;
    for (int r = 1; r < MSFlexGrid2->Rows(); ++r) out.push_back(line(r));
    return out;
}

void frm合同收款::writeLine(int row, const InvoiceLine& l)
{
    for (int c = 0; c < 16; ++c)
        if (c != col::标记) MSFlexGrid2->setTextMatrix(row, c, l.c[size_t(c)]);
    MSFlexGrid2->setRowData(row, l.mark);
}

void frm合同收款::showLineTotals()
{
    const Totals t = totalsOf(lines());
    Text1[1]->setText(t.合计);
    Text1[2]->setText(t.合计收入);
    Text1[3]->setText(t.合计税额);
}

void frm合同收款::Command8_Click()
{
    if (TreeView3->isVisible()) {
        TreeView3->hide();
        return;
    }
    MSFlexGrid2->setCol(0);
    TreeView3->move(MSFlexGrid2->x() + px(MSFlexGrid2->CellLeft()), Command8->geometry().bottom() + 1);
    TreeView3->show();
    bringInside(TreeView3);
    TreeView3->setFocus();
}

void frm合同收款::TreeView3_NodeClick(QTreeWidgetItem* node)
{
    if (!node) return;
    const QString key = node->data(0, Qt::UserRole).toString();
    if (key.startsWith(QLatin1Char('L'))) return;
    const int row = MSFlexGrid2->Row();
    if (row < 1) return;
    InvoiceLine l = line(row);
    pickItem(l, node->text(0), key.mid(1), m_rates, m_current);
    writeLine(row, l);
    const int keepCol = MSFlexGrid2->Col();
    MSFlexGrid2->setCol(col::标记);
    MSFlexGrid2->setCellBackColor(QColor(255, 0, 0));
    MSFlexGrid2->setCol(keepCol);
    TreeView3->hide();
    MSFlexGrid2->setCol(col::单位);
    // The totals of every line, as an edit gives them: a re-pick on a line of
    // several units changes the tax of them all.
    showLineTotals();
}

void frm合同收款::openLineEditor(int row, int column)
{
    MSFlexGrid2->setRow(row);
    MSFlexGrid2->setCol(column);
    // A text cell takes what its column of 票据开票数据 holds; a number no more
    // than any amount box.
    const QString table = QStringLiteral("票据开票数据");
    applyLineRules(Text4, column == col::摘要   ? schema::textLength(table, QStringLiteral("摘要"))
                          : column == col::单位 ? schema::textLength(table, QStringLiteral("单位"))
                                                : kNumberBoxLength);
    placeOverCell(Text4, MSFlexGrid2);
    Text4->setText(MSFlexGrid2->TextMatrix(row, column));
    Text4->show();
    Text4->raise();
    Text4->setFocus();
    Text4_GotFocus();
}

void frm合同收款::MSFlexGrid2_Click()
{
    Text4->hide();
    TreeView3->hide();
    const int row = MSFlexGrid2->Row(), column = MSFlexGrid2->Col();
    if (row < 1 || MSFlexGrid2->TextMatrix(row, col::项目).isEmpty()) return;
    if (column >= col::摘要 && column <= col::金额) openLineEditor(row, column);
}

void frm合同收款::Text4_GotFocus() { Text4->selectAll(); }

void frm合同收款::Text4_KeyPress(int keyAscii)
{
    if (keyAscii != kEnter) return;
    const int row = MSFlexGrid2->Row(), column = MSFlexGrid2->Col();
    MSFlexGrid2->setTextMatrix(row, column, Text4->text());
    InvoiceLine l = line(row);
    switch (column) {
    case col::摘要: openLineEditor(row, col::单位); break;
    case col::单位: openLineEditor(row, col::数量); break;
    case col::数量:
        if (!LineNumber::of(l.c[col::数量]).isZero() && !LineNumber::of(l.c[col::单价]).isZero()) {
            computeFromQuantityAndPrice(l, m_rates, m_current);
            writeLine(row, l);
            showLineTotals();
        }
        openLineEditor(row, col::单价);
        break;
    case col::单价:
        computeFromQuantityAndPrice(l, m_rates, m_current);
        writeLine(row, l);
        showLineTotals();
        openLineEditor(row, col::金额);
        break;
    case col::金额:
        computeFromAmount(l, m_rates, m_current);
        writeLine(row, l);
        showLineTotals();
        if (row < MSFlexGrid2->Rows() - 1)
            openLineEditor(row + 1, col::摘要);
        else
            Text4->hide();
        break;
    default: break;
    }
}

void frm合同收款::Image4_Click() { Picture4->hide(); }

void frm合同收款::resetBillPanel()
{
    MSFlexGrid2->setRows(1);
    Text4->hide();
    TreeView3->hide();
    for (int i = 1; i <= 3; ++i) Text1[size_t(i)]->setText(QStringLiteral("0"));
    刷新收款计划();
    Picture4->hide();
}

// ---- Confirmation

void frm合同收款::Command1_Click()
{
    HandlerScope handler(this);
    if (valueOf(Text1[3]->text()).isZero()) {
        MsgBox(QStringLiteral("请确定收费项目!"), vbInformation, kTitle);
        return;
    }
    if (Combo1->currentIndex() < 0 && !Check2->isChecked()) {
        MsgBox(QStringLiteral("请选择收款方式!"), vbInformation | vbOKOnly, ExeName());
        return;
    }
    if (Option2[0]->isChecked()) {
        WaitCursor wait;
        auto& seam = billWindowSeams().电子发票处理;
        if (!seam) return showMissing(QStringLiteral("电子发票"));
        if (seam(*this)) MsgBox(QStringLiteral("收款处理完成,电子发票已开具!"), vbInformation, kTitle);
        return;
    }
    if (Check6->isChecked()) return 无需打印票据收款();
    if (MsgBox(QStringLiteral("是否要开始打印票据？"), vbInformation | vbYesNo, ExeName()) == vbYes) Command16_Click();
}

void frm合同收款::无需打印票据收款()
{
    const bool own = chosenKind() == BillKind::OwnLayout;
    if (!own && (Combo5->currentIndex() < 0 || Combo8->currentIndex() < 0)) {
        MsgBox(QStringLiteral("请选择票据簿和票据号码！"), vbInformation, kTitle);
        return;
    }
    WaitCursor wait;
    NoPrintReceipt r;
    r.generateNumber = own;
    if (own) {
        clearList(Combo5);
        clearList(Combo8);
        r.book = firstWord(Combo2->currentText());
        addItem(Combo5, r.book + QStringLiteral(" 自定义票据"));
        Combo5->setCurrentIndex(0);
    } else {
        r.book = firstWord(Combo5->currentText()).trimmed();
        r.number = Combo8->currentText();
        r.billId = Combo8->currentData().toLongLong();
    }
    r.department = Login().当前部门编号;
    r.issueDate = DTPicker2->date();
    r.receiptDate = DTPicker1->date();
    r.total = Text1[1]->text();
    r.taxTotal = Text1[3]->text();
    r.payer = Text5[0]->text();
    r.issuer = Combo6->currentText();
    r.receiver = Combo7->currentText();
    r.method = Combo1->currentText();
    r.preIssued = Check2->isChecked();
    r.office = officeCode();
    r.contract = contractNumber();
    r.taxNumber = Text5[1]->text();
    r.address = Text5[2]->text();
    r.account = Text5[3]->text();
    r.remark = Text5[4]->text();
    for (const InvoiceLine& l : lines())
        if (l.hasItem()) r.lines.push_back(storedLine(l));
    r.collected = collected();
    r.now = Now();

    const RecordOutcome done = recordWithoutPrinting(r);
    if (done.kind == RecordOutcome::Failed) return reportDbError(done.error);
    if (done.kind == RecordOutcome::BillTaken) {
        MsgBox(QStringLiteral("该票据已被使用，请重新选择票据！"), vbInformation, kTitle);
        获取可用票据();
        return;
    }
    if (own) {
        addItem(Combo8, done.number, done.billId);
        Combo8->setCurrentIndex(0);
    }
    {
        const QSignalBlocker quiet(Combo8);
        Combo8->removeItem(Combo8->findText(done.number, Qt::MatchExactly));
        Combo8->setCurrentIndex(Combo8->count() > 0 ? 0 : -1);
    }
    MsgBox(QStringLiteral("收款记录处理完成！"), vbInformation, ExeName());
    resetBillPanel();
}

// ---- Printing

VatInvoiceHandover frm合同收款::vatHandover() const
{
    VatInvoiceHandover h;
    h.Label1_0 = QStringLiteral("发票类型：") + Combo2->currentText();
    h.MSFlexGrid2Tag = Combo3->currentText();
    h.MSFlexGrid1Rows = MSFlexGrid2->Rows();
    LineNumber amount, tax;
    for (const InvoiceLine& l : lines()) {
        h.lines.push_back({l.c[col::税控名称], 规格型号处理(l.c[col::摘要]), l.c[col::单位], l.c[col::数量],
                           l.c[col::不含税单价], l.c[col::不含税金额], l.c[col::税率], l.c[col::税额], l.c[col::税控编号]});
        amount = amount + LineNumber::of(l.c[col::金额]);
        tax = tax + LineNumber::of(l.c[col::税额]);
    }
    for (int i = 0; i < 5; ++i) h.buyer[size_t(i)] = Text5[size_t(i)]->text();
    h.Label1_2 = QStringLiteral("价税合计：") + amount.fixed(2) + QStringLiteral("元     税额：") + tax.fixed(2) +
                 QStringLiteral("元");
    h.tag = QStringLiteral("前台收款");
    return h;
}

ReceiptBillContext frm合同收款::billContext() const
{
    ReceiptBillContext c;
    c.tag = QStringLiteral("前台收款");
    if (chosenKind() == BillKind::LentLayout) {
        c.statusPanel6 = Combo2->currentText();
        c.chooseBillFirst = true;
    }
    c.layoutName = secondWord(Combo2->currentText());
    c.method = Combo1->currentText();
    c.issueDate = DTPicker2->date();
    c.receiptDate = DTPicker1->date();
    c.preIssued = Check2->isChecked();
    c.payer = Text5[0]->text();
    c.address = Text5[2]->text();
    c.remark = Text5[4]->text();
    c.contract = contractNumber();
    c.taxTotal = Text1[3]->text();
    for (const InvoiceLine& l : lines()) c.lines.push_back({l.c, l.mark});
    return c;
}

void frm合同收款::Command16_Click()
{
    HandlerScope handler(this);
    if (Combo2->currentIndex() < 0) {
        MsgBox(QStringLiteral("请选择票据类型"), vbOKOnly, ExeName());
        return;
    }
    switch (chosenKind()) {
    case BillKind::VatInvoice: {
        const VatInvoiceHandover h = vatHandover();
        m_handBack = BillHandBack();
        auto& seam = billWindowSeams().frm增值税发票打印;
        if (!seam) return showMissing(QStringLiteral("增值税发票打印"));
        const std::optional<BillHandBack> back = seam(*this, h);
        if (!back) return;
        m_handBack = *back;
        if (!isPrinted(back, PrintRoad::Vat)) return;
        auto& finish = billWindowSeams().票据最终处理;
        if (!finish) return showMissing(QStringLiteral("票据最终处理"));
        finish(*this);
        return;
    }
    case BillKind::OwnLayout:
    case BillKind::LentLayout: {
        auto& seam = billWindowSeams().frm自定义票据打印;
        if (!seam) return showMissing(QStringLiteral("自定义票据打印"));
        const std::optional<BillHandBack> back = seam(*this, billContext());
        if (!isPrinted(back, PrintRoad::Custom)) return;
        if (处理收款计划(back->book, back->number)) resetBillPanel();
        return;
    }
    default: return;  // printed through the print-file export
    }
}

}  // namespace corvane
