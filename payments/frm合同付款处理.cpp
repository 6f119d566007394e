#include "payments/frm合同付款处理.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QKeyEvent>
#include <QScrollBar>

#include "app/FileColumns.h"
#include "app/GridRowFit.h"
#include "app/Helpers.h"
#include "app/LoginContext.h"
#include "payments/frm财务科目浏览.h"
#include "platform/Amounts.h"
#include "platform/Services.h"
#include "platform/Widgets.h"

namespace corvane {

using namespace payments;

namespace {

const QString kPlanFormat = QStringLiteral(
    "序  |^选|<计划付款日期   |>计划付款金额|>已付金额     |>余额        |>本次付款金额|<科目代号           |");
const QString kFilesFormat = QStringLiteral("序  |^类型   |<路径及文件名") + QString(88, QLatin1Char(' ')) + QStringLiteral("|");
constexpr int kChoiceCol = 1, kOutstandingCol = 5, kShareCol = 6, kSubjectCol = 7, kIdCol = 8;
const QString kOverBalance = QStringLiteral("输入的付款金额大于余额，请核对！");
const QString kNoPath = QStringLiteral("审批路径未找到，目前你不能生成报销单");

// The numeric value of a text, as the window reads amounts: its leading number, 0 when none.
Decimal valueOf(const QString& text) { return leadingDecimal(text).value_or(Decimal()); }

}  // namespace

frm合同付款处理::frm合同付款处理()
{
    buildLayout();
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
    connect(Command5, &QPushButton::clicked, this, [this] { Command5_Click(); });
    connect(Command8, &QPushButton::clicked, this, [this] { Command8_Click(); });
    connect(Command9, &QPushButton::clicked, this, [this] { Command9_Click(); });
    connect(Command10, &QPushButton::clicked, this, [this] { Command10_Click(); });
    connect(Command11, &QPushButton::clicked, this, [this] { Command11_Click(); });
    connect(Command12, &QPushButton::clicked, this, [this] { Command12_Click(); });
    connect(MSFlexGrid1, &FlexGrid::Click, this, [this] { MSFlexGrid1_Click(); });
    connect(MSFlexGrid4, &FlexGrid::Click, this, [this] { MSFlexGrid4_Click(); });
    connect(MSFlexGrid4, &FlexGrid::DblClick, this, [this] { MSFlexGrid4_DblClick(); });
    connect(MSFlexGrid1->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { MSFlexGrid1_Scroll(); });
    connect(MSFlexGrid1->horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { MSFlexGrid1_Scroll(); });
    Text1->installEventFilter(this);
    Text2->installEventFilter(this);
    Image2->installEventFilter(this);
    connectHistory();
}

void frm合同付款处理::takeHandover(const contract::PaymentHandover& h)
{
    Text3[0]->setText(h.number);
    Text3_0_Tag = h.id;
    Text3[1]->setText(h.name);
    Text3[2]->setText(h.amount);
    Text3[5]->setText(h.ownerDepartment);
    Text10->setText(h.budgetSubject);
    Text8->setText(h.userDepartmentText);
    Text8_Tag = h.userDepartmentCode;
    Text5->setText(h.counterparty);
    Text6->setText(h.bank);
    Text7->setText(h.account);
}

QString frm合同付款处理::contractDepartment() const { return Text3[5]->text().section(QLatin1Char(' '), 0, 0); }

// ---------------------------------------------------------------- load

void frm合同付款处理::Form_Load()
{
    CenterForm(*this);
    Combo3->clear();
    const auto categories = expenseCategories();
    if (!categories) {
        reportDbError(categories.error());
    } else {
        for (const Category& c : *categories) Combo3->addItem(c.类别, c.id);
        Combo3->setCurrentIndex(-1);
    }
    MSFlexGrid1->setFormatString(kPlanFormat);
    MSFlexGrid4->setFormatString(kFilesFormat);
    MSFlexGrid4->setCols(4);
    for (FlexGrid* g : {MSFlexGrid1, MSFlexGrid4})
        for (int c = 0; c < g->Cols(); ++c) g->setFixedAlignment(c, flexAlignCenterCenter);
    MSFlexGrid1->setColWidth(kIdCol, 0);
    MSFlexGrid4->setColWidth(3, 0);
    MSFlexGrid4->setRows(1);
    DTPicker1->setDate(Today());
    m_activated = false;
}

void frm合同付款处理::Form_Activate()
{
    if (m_activated) return;
    // The connection is made afresh for this window's work, in place, so
    // every later statement runs on the reopened one.
    if (ReopenInPlace().isValid()) return;
    m_activated = true;

    if (!Text10->text().isEmpty()) {
        const auto subject = subjectDefaults(Text10->text());
        if (!subject) {
            reportDbError(subject.error());
            return;
        }
        if (*subject) {
            Combo1->setCurrentIndex(0);
            Combo2->setCurrentIndex(Combo2->findText(QStringLiteral("预算")));
            const int category = Combo3->findText((*subject)->费用类别);
            if (category >= 0) Combo3->setCurrentIndex(category);
            Text9->setText((*subject)->科目名称);
        }
        const auto line = budgetLine(Text8_Tag, Today().year(), Text10->text());
        if (!line) {
            reportDbError(line.error());
            return;
        }
        if (*line) {
            if ((*line)->有公式) MsgBox(QStringLiteral("科目是有公式项，不可使用，请更改。"), vbOKOnly, QStringLiteral("提示!"));
            if ((*line)->有数据代号) MsgBox(QStringLiteral("科目是提取项目，不可使用，请更改。"), vbOKOnly, QStringLiteral("提示!"));
        }
    }

    const auto account = payeeAccount(Text5->text());
    if (!account) {
        reportDbError(account.error());
        return;
    }
    if (*account) {
        Text6->setText((*account)->开户银行);
        Text7->setText((*account)->银行帐号);
    }

    const auto handlers = handlersOf(Text8_Tag);
    if (!handlers) {
        reportDbError(handlers.error());
        return;
    }
    Combo4->clear();
    int mine = -1;
    for (const Handler& h : *handlers) {
        if (mine < 0 && h.工号 == Login().当前工号) mine = Combo4->count();
        Combo4->addItem(h.工号 + QLatin1Char(' ') + h.姓名);
    }
    Combo4->setCurrentIndex(mine);

    刷新();
}

void frm合同付款处理::Form_Unload(int& Cancel)
{
    // A request being written keeps the window open until it has ended.
    if (m_busy) Cancel = 1;
}

void frm合同付款处理::closeEvent(QCloseEvent* event)
{
    if (m_busy) {
        event->ignore();
        return;
    }
    Form::closeEvent(event);
}

// ---------------------------------------------------------------- instalments

void frm合同付款处理::刷新()
{
    Frame1->hide();
    Frame2->hide();
    Frame3->hide();
    const auto showFrames = [this] {
        MSFlexGrid1->show();
        Frame1->show();
        Frame2->show();
        Frame3->show();
    };
    const auto plan = planContractOf(Text3[0]->text());
    if (!plan) {
        reportDbError(plan.error());
        showFrames();
        return;
    }
    const auto instalments = payableInstalments(*plan);
    if (!instalments) {
        reportDbError(instalments.error());
        showFrames();
        return;
    }
    Text1->setText(QStringLiteral("0"));
    Text2->hide();
    MSFlexGrid1->setRows(1);
    MSFlexGrid1->setColWidth(kIdCol, 0);
    MSFlexGrid1->hide();
    const QDate today = Today();
    Decimal total, paid;
    int r = 0;
    for (const PayableInstalment& i : *instalments) {
        ++r;
        const Decimal outstanding = i.amount - i.paid;
        const bool due = chosenByRefresh(i.date, today, outstanding);
        MSFlexGrid1->appendRow({QString::number(r), QString(), i.dateText, i.amount.fixed(2), i.paid.fixed(2),
                                outstanding.fixed(2), due ? outstanding.fixed(2) : QString(), Text10->text(),
                                QString::number(i.id)});
        if (due) {
            setChosen(r, true);
            total += outstanding;
        }
        paid += i.paid;
        widenToRow(*MSFlexGrid1, font(), r, 2, kSubjectCol);
    }
    Text1->setText(total.fixed(2));
    Text3[3]->setText(paid.fixed(2));
    const Decimal left = valueOf(Text3[2]->text()) - paid;
    Text3[4]->setText(left.fixed(2));
    showFrames();
    repaint();
    if (left.isZero()) {
        MsgBox(QStringLiteral("本合同已经付清合同款"));
        Command1->setEnabled(false);
    }
}

bool frm合同付款处理::isChosen(int row)
{
    MSFlexGrid1->setRow(row);
    MSFlexGrid1->setCol(kChoiceCol);
    return !MSFlexGrid1->CellPicture().isNull();
}

void frm合同付款处理::setChosen(int row, bool chosen)
{
    const int keepRow = MSFlexGrid1->Row(), keepCol = MSFlexGrid1->Col();
    MSFlexGrid1->setRow(row);
    MSFlexGrid1->setCol(kChoiceCol);
    MSFlexGrid1->setCellPicture(chosen ? checkMark() : QPixmap());
    MSFlexGrid1->setRow(keepRow);
    MSFlexGrid1->setCol(keepCol);
}

Decimal frm合同付款处理::合计()
{
    Decimal sum;
    for (int r = 1; r < MSFlexGrid1->Rows(); ++r)
        if (isChosen(r)) sum += valueOf(MSFlexGrid1->TextMatrix(r, kShareCol));
    return sum;
}

void frm合同付款处理::sumIntoText1()
{
    Decimal sum;
    for (int r = 1; r < MSFlexGrid1->Rows(); ++r) sum += valueOf(MSFlexGrid1->TextMatrix(r, kShareCol));
    Text1->setText(sum.fixed(2));
}

void frm合同付款处理::MSFlexGrid1_Click()
{
    Text2->hide();
    const int row = MSFlexGrid1->Row(), col = MSFlexGrid1->Col();
    if (row < 1 || valueOf(MSFlexGrid1->TextMatrix(row, kOutstandingCol)).isZero()) return;
    if (col == kChoiceCol) {
        const bool chosen = isChosen(row);
        MSFlexGrid1->setRow(row);
        MSFlexGrid1->setCol(col);
        setChosen(row, !chosen);
        MSFlexGrid1->setTextMatrix(row, kShareCol, chosen ? QString() : MSFlexGrid1->TextMatrix(row, kOutstandingCol));
        sumIntoText1();
        return;
    }
    if (!isChosen(row)) return;
    MSFlexGrid1->setRow(row);
    MSFlexGrid1->setCol(kShareCol);
    Text2->setText(MSFlexGrid1->TextMatrix(row, kShareCol));
    const QRect g = MSFlexGrid1->geometry();
    Text2->setGeometry(g.x() + px(MSFlexGrid1->CellLeft()), g.y() + px(MSFlexGrid1->CellTop()),
                       px(MSFlexGrid1->CellWidth()), px(MSFlexGrid1->CellHeight()));
    Text2->show();
    Text2->raise();
    MSFlexGrid1->setCol(1);
    MSFlexGrid1->setColSel(MSFlexGrid1->Cols() - 1);
    MSFlexGrid1->setRowSel(row);
    Text2->setFocus();
    Text2->selectAll();
}

void frm合同付款处理::MSFlexGrid1_Scroll() { Text2->hide(); }

void frm合同付款处理::Text2_KeyPress(int& KeyAscii)
{
    if (KeyAscii != 13) {
        KeyAscii = CheckNumberKey(KeyAscii, *Text2);
        return;
    }
    KeyAscii = 0;
    const int row = MSFlexGrid1->Row();
    if (row < 1) return;
    if (valueOf(Text2->text()) > valueOf(MSFlexGrid1->TextMatrix(row, kOutstandingCol))) {
        MsgBox(kOverBalance);
        return;
    }
    MSFlexGrid1->setTextMatrix(row, kShareCol, Text2->text());
    Text2->hide();
    Command3->hide();
    setChosen(row, valueOf(Text2->text()) > Decimal());
    sumIntoText1();
}

void frm合同付款处理::Text1_KeyPress(int& KeyAscii)
{
    if (KeyAscii == 13) {
        KeyAscii = 0;
        focusNextChild();
        return;
    }
    KeyAscii = CheckNumberKey(KeyAscii, *Text1);
}

void frm合同付款处理::Command4_Click()
{
    const Decimal total = valueOf(Text1->text());
    if (valueOf(Text3[4]->text()) < total) {
        MsgBox(QStringLiteral("超出合同应付总额，请核对"));
        return;
    }
    if (total > Decimal()) {
        for (int r = MSFlexGrid1->Rows() - 1; r >= 1; --r)
            if (MSFlexGrid1->TextMatrix(r, kIdCol).isEmpty()) {
                if (MSFlexGrid1->Rows() == 2) MSFlexGrid1->setRows(1);
                else MSFlexGrid1->RemoveItem(r);
            }
        if (MSFlexGrid1->Rows() < 2) return;
        std::vector<Decimal> outstanding;
        for (int r = 1; r < MSFlexGrid1->Rows(); ++r) {
            outstanding.push_back(valueOf(MSFlexGrid1->TextMatrix(r, kOutstandingCol)));
            setChosen(r, false);
            MSFlexGrid1->setTextMatrix(r, kShareCol, QStringLiteral("0.00"));
        }
        const std::vector<Share> shares = apportion(outstanding, total);
        for (size_t i = 0; i < shares.size(); ++i) {
            if (!shares[i].chosen) continue;
            const int r = int(i) + 1;
            MSFlexGrid1->setTextMatrix(r, kShareCol, shares[i].amount.fixed(2));
            setChosen(r, true);
        }
    }
    Command1->setEnabled(true);
}

void frm合同付款处理::Command5_Click()
{
    if (Combo3->currentIndex() < 0) {
        MsgBox(QStringLiteral("请选择预算项目"));
        return;
    }
    Forms::unload<frm财务科目浏览>();
    auto* picker = Forms::get<frm财务科目浏览>();
    picker->Tag = contractDepartment();
    picker->Command2_Tag = QStringLiteral("yusuan");
    picker->Command1_Tag = QStringLiteral("合同付款");
    picker->Text1_0_Tag = Combo2->currentText();
    picker->Text1_1_Tag = Combo3->currentText();
    picker->TreeView1_Tag = QString();
    picker->Text1[0]->setText(Text10->text());
    picker->Text1[1]->setText(Text9->text());
    picker->currentSubject = Text10->text();
    picker->handBackTo([this](const payments::ChosenSubject& s) {
        Text10->setText(s.code);
        Text9->setText(s.name);
    });
    picker->ShowModal();
    Forms::unload<frm财务科目浏览>();
    // The rows show the subject the payment will be booked to.
    for (int r = 1; r < MSFlexGrid1->Rows(); ++r) MSFlexGrid1->setTextMatrix(r, 7, Text10->text());
}

void frm合同付款处理::Command2_Click() { Unload(); }


// ---------------------------------------------------------------- 确定

void frm合同付款处理::Command1_Click()
{
    // A press that arrives while a request is checked or written is dropped:
    // one request is never started twice.
    if (m_busy) return;
    m_busy = true;
    runRequest();
    m_busy = false;
}

bool frm合同付款处理::runRequest()
{
    const Decimal amount = valueOf(Text1->text());
    if (amount.isZero()) {
        MsgBox(QStringLiteral("付款金额为0"));
        return false;
    }
    if (amount != 合计()) {
        MsgBox(QStringLiteral("付款金额与所选中的金额不符。请按分摊按钮"));
        return false;
    }
    showProgress(QStringLiteral("正在审核信息完整性 … …"));
    if (Combo4->currentIndex() < 0) {
        MsgBox(QStringLiteral("请确定经办人"));
        return false;
    }
    if (ReopenInPlace().isValid()) return false;
    if (Combo1->currentIndex() == 1) {
        const QString handler = Combo4->currentText();
        const auto card = cardOf(handler.section(QLatin1Char(' '), 0, 0));
        if (!card) {
            reportDbError(card.error());
            return false;
        }
        if (!*card) {
            MsgBox(QStringLiteral("你选择现金付款，但经办人 ") + handler + QStringLiteral(" 的银行卡信息未设置，请核对!"),
                   vbInformation);
            return false;
        }
        if ((*card)->银行.isNull()) {
            MsgBox(handler + QStringLiteral("发卡银行未设置，请核对!"), vbInformation);
            return false;
        }
        if ((*card)->卡号.isNull()) {
            MsgBox(handler + QStringLiteral("银行卡号未设置，请核对!"), vbInformation);
            return false;
        }
        m_card = Card{(*card)->银行.toString(), (*card)->卡名.isNull() ? QString() : (*card)->卡名.toString(),
                      (*card)->卡号.toString()};
    } else {
        if (Text5->text().isEmpty()) {
            MsgBox(QStringLiteral("对方单位不能为空!"), vbInformation);
            return false;
        }
        if (Text6->text().isEmpty()) {
            MsgBox(QStringLiteral("开户银行不能为空!"), vbInformation);
            return false;
        }
        if (Text7->text().isEmpty()) {
            MsgBox(QStringLiteral("银行帐号不能为空!"), vbInformation);
            return false;
        }
    }
    if (Text4->text().isEmpty()) {
        MsgBox(QStringLiteral("你未输入发票编号，请核对"));
        Text4->setFocus();
        return false;
    }
    if (Combo3->currentIndex() < 0) {
        MsgBox(QStringLiteral("请选择报销费用类别"), vbInformation);
        Combo3->setFocus();
        return false;
    }
    if (!提交付款申请()) return false;
    刷新();
    return true;
}

void frm合同付款处理::showProgress(const QString& caption)
{
    // Only the caption is drawn: no other event of the window runs mid-request.
    Label2->setText(caption);
    Label2->repaint();
}

bool frm合同付款处理::提交付款申请()
{
    const QString department = contractDepartment();
    const QDate today = Today();
    const QString month = today.toString(QStringLiteral("yyyy-MM"));
    const Decimal amount = valueOf(Text1->text());
    const bool budget = Combo2->currentText() == QStringLiteral("预算");
    if (budget) {
        const auto line = budgetLine(department, today.year(), Text10->text());
        if (!line) {
            reportDbError(line.error());
            return false;
        }
        if (!*line) {
            MsgBox(Text3[5]->text() + QStringLiteral("部门没有预算计划，暂时无法处理支付"));
            return false;
        }
        if ((*line)->有公式) {
            MsgBox(QStringLiteral("科目是有公式项，不可使用，请更改。暂时无法处理支付"));
            return false;
        }
        if ((*line)->有数据代号) {
            MsgBox(QStringLiteral("科目是提取项目，不可使用，请更改。暂时无法处理支付"));
            return false;
        }
        const auto check = 检查预算余额(Text10->text(), amount, month, department);
        if (!check) {
            reportDbError(check.error());
            return false;
        }
        txtMoney->setText(check->balanceText);
        if (!check->fits) {
            MsgBox(QStringLiteral("支付金额超过预算余额,当前余额为") + txtMoney->text() +
                   QStringLiteral("，请提醒相关部门做预算调整。\r\n您暂时无法做支付处理"));
            return false;
        }
    }
    if (!获取审批路径(Combo3->currentText(), amount, department)) return false;

    // 保存报销单 with 保存图片 and 保存审批信息, as one transaction. Every
    // listed file is read first: one that cannot be read stops the request
    // before anything is written.
    PaymentRequest q;
    for (int r = 1; r < MSFlexGrid4->Rows(); ++r) {
        StoredFile f;
        f.picture = MSFlexGrid4->TextMatrix(r, 1) == QStringLiteral("图片");
        const QString path = MSFlexGrid4->TextMatrix(r, 2);
        const auto readWhole = [](const QString& p, QByteArray& into) {
            QFile file(p);
            if (!file.open(QIODevice::ReadOnly)) return false;
            into = file.readAll();
            return !into.isEmpty();
        };
        if (!readWhole(path, f.content)) {
            MsgBox(QStringLiteral("资料文件无法读取，请核对：") + path);
            return false;
        }
        if (f.picture) {
            f.后缀 = QStringLiteral("Jpg");
            const QString icon = MSFlexGrid4->TextMatrix(r, 3);
            if (!readWhole(icon, f.icon)) {
                MsgBox(QStringLiteral("资料文件无法读取，请核对：") + icon);
                return false;
            }
        } else {
            f.后缀 = documentSuffix(path);
        }
        q.files.push_back(std::move(f));
    }

    Command1->setEnabled(false);
    WaitCursor wait;
    showProgress(QStringLiteral("正在处理报销凭证 … …"));
    q.contractNumber = Text3[0]->text();
    q.contractName = Text3[1]->text();
    q.amount = amount;
    q.invoice = Text4->text();
    q.payee = Text5->text();
    q.payeeBank = Text6->text();
    q.payeeAccount = Text7->text();
    q.userDepartment = Text8_Tag;
    q.department = department;
    q.departmentCategory = DTPicker1_Tag;
    q.subject = Text10->text();
    q.paymentDate = DTPicker1->date();
    q.付款方式 = Combo1->currentText();
    q.cash = Combo1->currentIndex() == 1;
    q.card = m_card;
    q.报销类型 = Combo2->currentText();
    q.报销费用类别 = Combo3->currentText();
    const QString handler = Combo4->currentText();
    const qsizetype blank = handler.indexOf(QLatin1Char(' '));
    q.handlerName = blank < 0 ? handler : handler.mid(blank + 1);
    q.operatorCode = Login().当前工号;
    q.now = Now();
    if (budget) q.budgetMonth = month;
    q.rows = gridInstalments();
    q.pathCode = m_pathCode;
    q.steps = m_path;
    showProgress(QStringLiteral("正在处理付款记录........."));
    const FormSaveOutcome saved = 保存报销单(q);
    switch (saved.kind) {
    case FormSaveOutcome::Saved: break;
    case FormSaveOutcome::BudgetRefused:
        txtMoney->setText(saved.balanceText);
        MsgBox(QStringLiteral("支付金额超过预算余额,当前余额为") + txtMoney->text() +
               QStringLiteral("，请提醒相关部门做预算调整。\r\n您暂时无法做支付处理"));
        Command1->setEnabled(true);
        return false;
    case FormSaveOutcome::OverBalance:
        MsgBox(kOverBalance);
        Command1->setEnabled(true);
        return false;
    case FormSaveOutcome::InstalmentGone:
        MsgBox(QStringLiteral("所选的付款计划已不存在，请重新打开本窗口后再付款"));
        Command1->setEnabled(true);
        return false;
    case FormSaveOutcome::Failed:
        reportDbError(saved.error);
        Command1->setEnabled(true);
        return false;
    }
    for (size_t i = 0; i < saved.rowIds.size(); ++i)
        if (saved.rowIds[i]) MSFlexGrid1->setTextMatrix(int(i) + 1, kIdCol, QString::number(*saved.rowIds[i]));
    showProgress(QStringLiteral("报销单保存完成！"));
    return true;
}

std::vector<GridInstalment> frm合同付款处理::gridInstalments()
{
    std::vector<GridInstalment> out;
    for (int r = 1; r < MSFlexGrid1->Rows(); ++r) {
        GridInstalment g;
        const QString id = MSFlexGrid1->TextMatrix(r, kIdCol);
        if (!id.isEmpty()) g.id = id.toLongLong();
        g.planAmount = valueOf(MSFlexGrid1->TextMatrix(r, 3));
        g.chosen = isChosen(r);
        const QString share = MSFlexGrid1->TextMatrix(r, kShareCol);
        if (!share.isEmpty()) g.share = valueOf(share);
        out.push_back(g);
    }
    return out;
}

bool frm合同付款处理::获取审批路径(const QString& expenseCategory, Decimal amount, const QString& department)
{
    m_path.clear();
    m_pathCode.clear();
    const auto category = 获取部门类别(department);
    if (!category) {
        reportDbError(category.error());
        return false;
    }
    if (*category) DTPicker1_Tag = **category;
    const std::optional<QDate> serverDate = GetServerDate();
    if (!serverDate) return false;
    const auto path = payments::获取审批路径(category->value_or(QString()), expenseCategory, amount, department, *serverDate);
    if (!path) {
        reportDbError(path.error());
        return false;
    }
    switch (path->kind) {
    case PathLookup::NoHead:
        MsgBox(QStringLiteral("未设置") + Text3[5]->text() + QStringLiteral("的主管岗位，请核对\r\n\r\n目前你不能生成报销单"));
        return false;
    case PathLookup::NoRule:
    case PathLookup::NoSteps: MsgBox(kNoPath); return false;
    case PathLookup::Found: break;
    }
    m_path = path->steps;
    m_pathCode = path->审批路径代号;
    return true;
}

// ---------------------------------------------------------------- attachments

void frm合同付款处理::Command8_Click()
{
    Picture6->move(Frame3->pos());
    Picture6->show();
    Picture6->raise();
}

void frm合同付款处理::Command12_Click() { Picture6->hide(); }

void frm合同付款处理::Command9_Click() { 原图处理(); }

void frm合同付款处理::Command10_Click() { 文件附件处理(); }

bool frm合同付款处理::原图处理()
{
    const QString folder = ProgramPath(QStringLiteral("MyPictureFile"));
    if (!QDir().mkpath(folder)) return false;
    const QString chosen =
        Services::dialogs().openFileName(QStringLiteral("添加图片"), QStringLiteral("图片文件 (*.Bmp *.Jpg *.bmp *.jpg *.jpeg)"), QString());
    if (chosen.isEmpty()) return false;
    WaitCursor wait;
    QImageReader reader(chosen);
    const QImage source = reader.read();
    if (source.isNull()) return false;
    QStringList listed;
    for (int r = 1; r < MSFlexGrid4->Rows(); ++r)
        if (MSFlexGrid4->TextMatrix(r, 1) == QStringLiteral("图片")) listed << QFileInfo(MSFlexGrid4->TextMatrix(r, 2)).completeBaseName();
    const QString base = uniquePictureBase(pictureBaseName(chosen), listed);

    const Reduction work = workReduction(source.size());
    const QImage workCopy = work.step == 0 ? source.convertToFormat(QImage::Format_RGB32)
                                           : reducePicture(source, work.canvas, work.step);
    const Reduction iconSize = iconReduction(workCopy.size());
    QImage icon;
    if (iconSize.step == 0) {
        icon = QImage(iconSize.canvas, QImage::Format_RGB32);
        icon.fill(palette().color(QPalette::Button));
        for (int y = 0; y < std::min(icon.height(), workCopy.height()); ++y)
            for (int x = 0; x < std::min(icon.width(), workCopy.width()); ++x) icon.setPixel(x, y, workCopy.pixel(x, y));
    } else {
        icon = reducePicture(workCopy, iconSize.canvas, iconSize.step);
    }
    const QString workPath = QDir(folder).filePath(base + QStringLiteral(".Jpg"));
    const QString iconPath = QDir(folder).filePath(base + QStringLiteral("图标.Jpg"));
    if (!SaveAsJpg(workCopy, workPath, 64) || !SaveAsJpg(icon, iconPath, 64)) {
        MsgBox(QStringLiteral("图片文件无法写入：") + QDir::toNativeSeparators(folder));
        return false;
    }
    const int r = MSFlexGrid4->Rows();
    MSFlexGrid4->appendRow({QString::number(r), QStringLiteral("图片"), workPath, iconPath});
    Label1[21]->setText(QStringLiteral("资料 ") + QString::number(r) + QStringLiteral(" 份"));
    return true;
}

bool frm合同付款处理::文件附件处理()
{
    const QString chosen = Services::dialogs().openFileName(
        QStringLiteral("添加文件"), QStringLiteral("文档文件 (*.Doc *.Docx *.Xls *.Xlsx *.pdf *.doc *.docx *.xls *.xlsx)"),
        QString());
    if (chosen.isEmpty()) return false;
    const int r = MSFlexGrid4->Rows();
    MSFlexGrid4->appendRow({QString::number(r), QStringLiteral("文件"), chosen, QString()});
    Label1[21]->setText(QStringLiteral("资料 ") + QString::number(r) + QStringLiteral(" 份"));
    return true;
}

void frm合同付款处理::Command11_Click()
{
    const int row = MSFlexGrid4->Row();
    if (MSFlexGrid4->Rows() < 2 || row < 1) return;
    if (MsgBox(QStringLiteral("确认要删除 ") + MSFlexGrid4->TextMatrix(row, 2) + QStringLiteral(" 这份资料"), vbYesNo) == vbNo)
        return;
    if (MSFlexGrid4->Rows() <= 2) {
        MSFlexGrid4->setRows(1);
        return;
    }
    MSFlexGrid4->RemoveItem(row);
    for (int r = row; r < MSFlexGrid4->Rows(); ++r) MSFlexGrid4->setTextMatrix(r, 0, QString::number(r));
}

void frm合同付款处理::MSFlexGrid4_Click()
{
    if (MSFlexGrid4->Rows() > 1) Command11->setEnabled(true);
}

void frm合同付款处理::MSFlexGrid4_DblClick()
{
    if (MSFlexGrid4->Rows() < 2 || MSFlexGrid4->Row() < 1) return;
    QString error;
    Services::shell().open(MSFlexGrid4->TextMatrix(MSFlexGrid4->Row(), 2), &error);
}

// ---------------------------------------------------------------- keys

bool frm合同付款处理::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease)
        for (int i = 0; i < int(Label3.size()); ++i)
            if (watched == Label3[size_t(i)] && Label3[size_t(i)]->isEnabled()) {
                Label3_Click(i);
                return true;
            }
    if (watched == Image2) {
        if (event->type() == QEvent::MouseButtonPress) Image2->setFrameShape(QFrame::Box);
        if (event->type() == QEvent::MouseButtonRelease) {
            Image2->setFrameShape(QFrame::NoFrame);
            Command12_Click();
        }
        return Form::eventFilter(watched, event);
    }
    if (event->type() != QEvent::KeyPress || (watched != Text1 && watched != Text2))
        return Form::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    int ascii = 0;
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) ascii = 13;
    else if (key->key() == Qt::Key_Backspace) ascii = 8;
    else if (!key->text().isEmpty()) ascii = key->text().at(0).unicode();
    if (!ascii || ascii == 8) return Form::eventFilter(watched, event);
    if (watched == Text1) Text1_KeyPress(ascii);
    else Text2_KeyPress(ascii);
    return ascii == 0;
}

}  // namespace corvane
