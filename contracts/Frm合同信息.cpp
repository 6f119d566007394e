#include "contracts/Frm合同信息.h"

#include <QDir>
#include <QFileInfo>
#include <QMdiSubWindow>

#include "app/Changes.h"
#include "app/FileColumns.h"
#include "app/LoginContext.h"
#include "contracts/ContractFormats.h"
#include "contracts/ContractHandovers.h"
#include "contracts/ContractLookups.h"
#include "contracts/ContractRecordRules.h"
#include "contracts/ContractRecordWindow.h"
#include "contracts/ContractStore.h"
#include "contracts/RecordSheet.h"
#include "db/Schema.h"
#include "platform/InputRules.h"
#include "platform/Services.h"
#include "platform/TextFile.h"
#include "platform/Widgets.h"

namespace corvane {

using namespace contract;

namespace {

const QString kAutoNumber = QStringLiteral("<保存时自动生成编号>");
const QString kAskName = QStringLiteral("<请输入合同名称>");
const QString kNumberTaken = QStringLiteral("编号的合同已经存在，请输入其他的合同编号");
const QString kBadTerm = QStringLiteral("请输入正确合同的起止日期");
const QString kBadAmount = QStringLiteral("请输入正确的合同金额（数字，最多两位小数）");
const QString kChooseType = QStringLiteral("请选择合同类型");
const QString kBadSigningDate = QStringLiteral("请输入正确的签订日期");
const QString kNoRow = QStringLiteral("该合同已被删除，或其状态已被他人改变，本次操作没有执行。请重新打开该合同。");
const QString kNoDepartment = QStringLiteral("请选择合同所属部门");
const QString kEndBeforeStart = QStringLiteral("合同终止日期不能早于开始日期");
const QString kContinue = QStringLiteral("请继续补充收付款计划等续签合同的相关信息，并按[确定]保存补充的信息");
const QString kContinueSupplement = QStringLiteral("请继续补充收付款计划等补充合同的相关信息，并按[确定]保存补充的信息");
const QString kDiscard = QStringLiteral("合同信息已修改，是否放弃修改？");

// The type code: the text before the first blank of "code name".
QString codeOf(const QString& codeAndName) { return codeAndName.section(QLatin1Char(' '), 0, 0); }
// The type name: the text after the first blank, the whole text without one.
QString nameOf(const QString& codeAndName)
{
    const int blank = codeAndName.indexOf(QLatin1Char(' '));
    return blank < 0 ? codeAndName : codeAndName.mid(blank + 1);
}

void showMissing(const QString& caption) { MsgBox(windowNotAvailableText(caption), vbInformation); }

}  // namespace

void Frm合同信息::connectEvents()
{
    // A contract that moved on elsewhere (submitted for countersign) is
    // shown as stored, with the buttons its new state offers.
    connect(&changes(), &Changes::contractProgressed, this, [this](qint64 id) {
        if (contractId() == id) 显示合同信息();
    });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(Command6, &QPushButton::clicked, this, [this] { Command6_Click(); });
    connect(Command9, &QPushButton::clicked, this, [this] { Command9_Click(); });
    connect(Command10, &QPushButton::clicked, this, [this] { Command10_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
    connect(Command5, &QPushButton::clicked, this, [this] { Command5_Click(); });
    connect(Command7, &QPushButton::clicked, this, [this] { Command7_Click(); });
    connect(Command8, &QPushButton::clicked, this, [this] { Command8_Click(); });
    connect(Command11, &QPushButton::clicked, this, [this] { Command11_Click(); });
    connect(Command12, &QPushButton::clicked, this, [this] { Command12_Click(); });
    connect(Command13, &QPushButton::clicked, this, [this] { Command13_Click(); });
    connect(Command14, &QPushButton::clicked, this, [this] { Command14_Click(); });
    connect(Command15, &QPushButton::clicked, this, [this] { Command15_Click(); });
    connect(Command16, &QPushButton::clicked, this, [this] { Command16_Click(); });
    connect(Command17, &QPushButton::clicked, this, [this] { Command17_Click(); });
    connect(Command18, &QPushButton::clicked, this, [this] { Command18_Click(); });
    connect(Command19, &QPushButton::clicked, this, [this] { Command19_Click(); });
    connect(Command20, &QPushButton::clicked, this, [this] { Command20_Click(); });
    connect(Command21, &QPushButton::clicked, this, [this] { Command21_Click(); });
    connect(Command22, &QPushButton::clicked, this, [this] { Command22_Click(); });
    connect(Command24, &QPushButton::clicked, this, [this] { Command24_Click(); });
    connect(Command25, &QPushButton::clicked, this, [this] { Command25_Click(); });
    connect(Command26, &QPushButton::clicked, this, [this] { Command26_Click(); });
    connect(Command27, &QPushButton::clicked, this, [this] { Command27_Click(); });
    connect(Command28, &QPushButton::clicked, this, [this] { Command28_Click(); });
    connect(Command29, &QPushButton::clicked, this, [this] { Command29_Click(); });
    connect(Command30, &QPushButton::clicked, this, [this] { Command30_Click(); });
    connect(Command31, &QPushButton::clicked, this, [this] { Command31_Click(); });
    for (int i = 0; i < 3; ++i)
        connect(Command23[size_t(i)], &QPushButton::clicked, this, [this, i] { Command23_Click(i); });
    connect(Image1, &QToolButton::clicked, this, [this] { Image1_Click(); });
    connect(Check1, &QCheckBox::toggled, this, [this] { Check1_Click(); });
    for (int i = 0; i < 2; ++i) {
        connect(Option1[size_t(i)], &QRadioButton::clicked, this, [this, i] { Option1_Click(i); });
        connect(Option2[size_t(i)], &QRadioButton::toggled, this, [this, i](bool on) { if (on) Option2_Click(i); });
    }
    connect(List1, &QListWidget::itemClicked, this, [this] {
        m_edited = true;
        List1_Click();
    });
    connect(List2, &QListWidget::itemClicked, this, [this] { List2_Click(); });
    connect(Text2, &QLineEdit::textChanged, this, [this] { Text2_Change(); });
    connect(MSFlexGrid3, &FlexGrid::Click, this, [this] { MSFlexGrid3_Click(); });
    connect(MSFlexGrid2, &FlexGrid::Click, this, [this] { MSFlexGrid2_Click(); });
    connect(MonthView1, &QCalendarWidget::clicked, this, [this](const QDate& d) {
        m_edited = true;
        MonthView1_DateClick(d);
    });
    connect(MonthView2, &QCalendarWidget::clicked, this, [this](const QDate& d) { MonthView2_DateClick(d); });
    for (int i = 0; i < int(Text1.size()); ++i) {
        connect(Text1[size_t(i)], &TextBox::Change, this, [this, i] { Text1_Change(i); });
        connect(Text1[size_t(i)], &TextBox::GotFocus, this, [this, i] { Text1_GotFocus(i); });
        connect(Text1[size_t(i)], &TextBox::Edited, this, [this] { m_edited = true; });
    }
    for (QWidget* w : {Picture1, Picture2, Picture3}) w->installEventFilter(this);
}

void Frm合同信息::applyInputRules()
{
    // Each box takes no more than its column holds.
    const schema::Table* contracts = schema::table(QStringLiteral("合同信息"));
    auto lengthOf = [contracts](const char* column) {
        const schema::Column* c = contracts ? contracts->column(QString::fromUtf8(column)) : nullptr;
        return c ? c->length : 0;
    };
    const std::pair<int, const char*> sheet[] = {{0, "合同名称"},   {1, "合同编号"}, {2, "对方单位"},
                                                 {8, "对方签约人"}, {9, "签约人"},   {13, "中止原因"}};
    for (const auto& [box, column] : sheet) Text1[size_t(box)]->setMaxLength(lengthOf(column));
    const char* counterparty[] = {"对方单位", "对方开户行", "对方帐号", "对方税号"};
    for (int i = 0; i < 4; ++i) applyLineRules(Text4[size_t(i)], lengthOf(counterparty[i]));
    applyLineRules(Text5[0], lengthOf("合同名称"));
    applyLineRules(Text5[1], lengthOf("合同编号"));
    for (int i : {2, 3, 4, 5}) applyLineRules(Text5[size_t(i)], 0);
}

bool Frm合同信息::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize) {
        if (watched == Picture1) Picture1_Resize();
        else if (watched == Picture2) Picture2_Resize();
        else if (watched == Picture3) Picture3_Resize();
    } else if (event->type() == QEvent::FocusIn) {
        for (int i = 0; i < int(Text5.size()); ++i)
            if (watched == Text5[size_t(i)]) Text5_GotFocus(i);
    }
    return Form::eventFilter(watched, event);
}

void Frm合同信息::resizeEvent(QResizeEvent* event)
{
    Form::resizeEvent(event);
    Form_Resize();
}

// ---------------------------------------------------------------- load, activate, layout

void Frm合同信息::Form_Load()
{
    StatusBar1->showLogin();
    // Without the types or the suppliers the window cannot work: one error
    // box, and the opener closes it again.
    m_loadFailed = !合同类型列表();
    // Attachments are copied here before they are opened.
    TempFolder();

    for (int c = 0; c < MSFlexGrid3->Cols(); ++c) MSFlexGrid3->setColAlignment(c, flexAlignCenterCenter);
    MSFlexGrid3->setColWidth(MSFlexGrid3->Cols() - 1, 0);
    MSFlexGrid3->setRows(1);
    MSFlexGrid2->setRows(1);
    for (int c = 0; c < MSFlexGrid2->Cols(); ++c) MSFlexGrid2->setColAlignment(c, flexAlignCenterCenter);

    if (!m_loadFailed) m_loadFailed = !供方列表(false);
    MonthView1->setSelectedDate(Today());
}

void Frm合同信息::Form_Activate()
{
    if (subWindow()) subWindow()->showMaximized();
    if (Tag != QStringLiteral("新增")) {
        // Another workstation's changes show on every activation, but never
        // at the price of the clerk's own unsaved typing.
        if (!m_edited) 显示合同信息();
        return;
    }
    Check1->setChecked(false);
    Text1[1]->setLocked(false);
    Frame1->setEnabled(false);
    Frame3->setEnabled(false);
    Command2->setEnabled(true);
    Command5->setEnabled(true);
}

void Frm合同信息::Form_Resize()
{
    const int status = StatusBar1->sizeHint().height();
    StatusBar1->setGeometry(0, height() - status, width(), status);
    Picture1->setGeometry(0, height() - status - Picture1->height(), width(), Picture1->height());
    const int w = width() - Picture2->x() - px(30);
    const int h = height() - Picture1->height() - status - Picture2->y();
    if (w > 0 && h > 0) Picture2->resize(w, h);
}

void Frm合同信息::Picture1_Resize() { Picture5->move((Picture1->width() - Picture5->width()) / 2, Picture5->y()); }

void Frm合同信息::Picture2_Resize()
{
    const int h = Picture2->height() - px(60);
    Picture3->move((Picture2->width() - Picture3->width()) / 2, px(30));
    if (h > 0) Picture3->resize(Picture3->width(), h);
    Picture6->move(Picture3->x(), Picture2->height() - Picture6->height());
}

void Frm合同信息::Picture3_Resize()
{
    const int gap = px(45);
    Frame1->move(Frame1->x(), Picture3->height() - Frame1->height() - gap);
    Frame3->move(Frame3->x(), Frame1->y() - Frame3->height() - gap);
    Picture4->move(Picture4->x(), Frame3->y() - Picture4->height());
    const int termsHeight = Picture4->y() - Text1[7]->y();
    if (termsHeight > 0) Text1[7]->resize(Text1[7]->width(), termsHeight);
}

// ---------------------------------------------------------------- loading a contract

std::optional<qint64> Frm合同信息::contractId() const
{
    bool ok = false;
    const qint64 id = TagOf(Text1[1]).toLongLong(&ok);
    if (!ok) return std::nullopt;
    return id;
}

void Frm合同信息::beginNewContract()
{
    // A new contract starts from an empty sheet, as in a fresh window: none
    // of the previous contract's texts, state or attachments stay.
    清空界面();
    m_edited = false;
    m_supplierPicked = false;
    Text1[1]->setText(kAskNumber);
    SetTag(Text1[2], QString());
    Label1[16]->hide();
    SetTag(Label1[16], QString());
    Label1[17]->clear();
    List1->setCurrentRow(-1);
    MSFlexGrid2->setRows(1);
    Check2->setChecked(true);
    // A window still holding another contract must not act on it any more,
    // and the new contract is edited and submitted as in a fresh window.
    SetTag(Text1[1], QString());
    for (QPushButton* b : {Command3, Command9, Command10, Command16}) b->setEnabled(false);
    for (QPushButton* b : {Command1, Command4, Command17, Command29}) b->setEnabled(true);
    Command9->setText(QStringLiteral("提交"));
}

void Frm合同信息::showContract(const QString& number, const QString& id)
{
    Text1[1]->setText(number);
    SetTag(Text1[1], id);
    Text1[1]->setLocked(true);
}

void Frm合同信息::显示合同信息()
{
    // The contract is the one whose id the window holds: a number may match
    // two rows that differ only by blanks.
    const auto id = contractId();
    const auto found = id ? contractById(*id) : DbResult<Row>(Row());
    if (!found) {
        ShowNumberedError(found.error().number, found.error().description);
        return;
    }
    const bool viewing = Tag == QStringLiteral("查看");
    const Row& r = *found;
    if (r.count() == 0) {
        if (viewing) {
            if (Command9->text() == QStringLiteral("提交")) Command9->setEnabled(false);
            Command2->setEnabled(false);
            Command3->setEnabled(false);
        }
        return;
    }
    Text1[0]->setText(fromStoredText(r.text(QStringLiteral("合同名称"))));
    SetTag(Text1[1], r.text(QStringLiteral("id")));
    Text1[1]->setLocked(true);
    Text1[2]->setText(r.text(QStringLiteral("对方单位")));
    SetTag(Text1[2], r.text(QStringLiteral("合格供方代码")));
    const QString amount = amountText(r.value(QStringLiteral("合同金额")));
    Text1[4]->setText(amount.isEmpty() ? QStringLiteral("0.00") : amount);
    Text1[5]->setText(dateText(r.value(QStringLiteral("合同起始日期"))));
    Text1[6]->setText(dateText(r.value(QStringLiteral("合同终止日期"))));
    Text1[7]->setText(fromStoredText(r.text(QStringLiteral("主要条款"))));
    Text1[8]->setText(r.text(QStringLiteral("对方签约人")));
    Text1[9]->setText(r.text(QStringLiteral("签约人")));
    Text1[10]->setText(dateText(r.value(QStringLiteral("合同签订日期"))));
    Text1[11]->setText(dateText(r.value(QStringLiteral("合同生效日期"))));
    Text1[12]->setText(dateText(r.value(QStringLiteral("合同中止日期"))));
    Text1[13]->setText(fromStoredText(r.text(QStringLiteral("中止原因"))));
    Text1[14]->setText(r.text(QStringLiteral("对应续约合同编号")));
    // A long name or main terms are read from their beginning.
    for (TextBox* t : Text1) t->moveCursor(QTextCursor::Start);

    // The mark follows the row shown, not a contract shown earlier.
    const bool qualified = !r.isNull(QStringLiteral("是否是合格供方")) && r.value(QStringLiteral("是否是合格供方")).toInt() != 0;
    Label1[16]->setVisible(qualified);
    SetTag(Label1[16], qualified ? QStringLiteral("1") : QString());
    if (qualified) Text2->setText(Text1[2]->text());
    // The picker's bank data belong to the contract it was used for.
    m_supplierPicked = false;

    const QString type = r.text(QStringLiteral("合同类型"));
    if (!r.isNull(QStringLiteral("合同类型"))) {
        for (int i = 0; i < List1->count(); ++i) {
            if (codeOf(List1->item(i)->text()) != type) continue;
            List1->setCurrentRow(i);
            List1_Click();
            break;
        }
    }
    Text4[0]->setText(Text1[2]->text());
    Text4[1]->setText(r.text(QStringLiteral("对方开户行")));
    Text4[2]->setText(r.text(QStringLiteral("对方帐号")));
    Text4[3]->setText(r.text(QStringLiteral("对方税号")));

    ContractProgress progress;
    progress.hasState = !r.isNull(QStringLiteral("合同状态"));
    progress.state = r.text(QStringLiteral("合同状态"));
    progress.submitted = !r.isNull(QStringLiteral("提交日期"));
    progress.circulationEnded = !r.isNull(QStringLiteral("流转结束日期"));
    progress.approved = !r.isNull(QStringLiteral("流转通过")) && r.value(QStringLiteral("流转通过")).toInt() != 0;
    progress.signed_ = !Text1[10]->text().isEmpty();
    progress.effective = !Text1[11]->text().isEmpty();
    progress.suspended = !Text1[12]->text().isEmpty();
    const auto end = parseDateText(Text1[6]->text());
    progress.pastEnd = end && *end <= Today();
    if (progress.submitted) SetTag(Command9, r.text(QStringLiteral("行政审批编号")));
    applyButtons(recordButtonsFor(progress, viewing));
    m_edited = false;

    附件列表(TagOf(Text1[1]).toLongLong());
}

void Frm合同信息::applyButtons(const RecordButtons& b)
{
    const std::pair<QWidget*, bool> enabled[] = {
        {Command1, b.Command1},   {Command2, b.Command2},   {Command3, b.Command3},   {Command5, b.Command5},
        {Command9, b.Command9},   {Command10, b.Command10}, {Command11, b.Command11}, {Command16, b.Command16},
        {Command17, b.Command17}, {Command18, b.Command18}, {Command19, b.Command19}, {Command20, b.Command20},
        {Command29, b.Command29}, {Command31, b.Command31}, {Frame1, b.Frame1},
    };
    for (const auto& [control, on] : enabled) control->setEnabled(on);
    // Turned on only: a state that does not offer them leaves them as they were.
    for (const auto& [control, on] : {std::pair<QWidget*, bool>{Command4, b.Command4}, {Command7, b.Command7},
                                      {Command12, b.Command12}})
        if (on) control->setEnabled(true);
    for (const auto& [control, on] : {std::pair<QWidget*, bool>{Command3, b.showCommand3}, {Command10, b.showCommand10},
                                      {Command12, b.showCommand12}, {Command15, b.showCommand15},
                                      {Command26, b.showCommand26}})
        if (on) control->show();
    if (!b.command9Caption.isEmpty()) Command9->setText(b.command9Caption);
    if (!b.command18Caption.isEmpty()) Command18->setText(b.command18Caption);
    Label1[18]->setText(b.stateText);
}

void Frm合同信息::清空界面()
{
    for (TextBox* t : Text1) t->setText(QString());
    for (QLineEdit* t : Text4) t->clear();
    for (QLineEdit* t : Text5) t->clear();
    Text2->clear();
    Text3->clear();
    Label1[18]->clear();
    Picture8->hide();
    Picture9->hide();
    MonthView1->hide();
    for (QPushButton* b : {Command3, Command5, Command8, Command9, Command10, Command11, Command16, Command18, Command19,
                           Command20})
        b->setEnabled(false);
    for (QPushButton* b : {Command12, Command15, Command26}) b->hide();
    Command21->show();
    Command9->setText(QStringLiteral("提交"));
}

// ---------------------------------------------------------------- exit and plan windows

bool Frm合同信息::discardEditsAllowed()
{
    if (!m_edited) return true;
    if (MsgBox(kDiscard, vbYesNo + vbQuestion) != vbYes) return false;
    m_edited = false;
    return true;
}

void Frm合同信息::Form_Unload(int& Cancel)
{
    if (!discardEditsAllowed()) Cancel = 1;
}

void Frm合同信息::Command6_Click()
{
    if (!discardEditsAllowed()) return;
    if (Tag != QStringLiteral("查看") && !m_changed.empty()) emit changes().contractsEdited(m_changed);
    Unload();
}

void Frm合同信息::markChanged(qint64 contractId)
{
    if (std::find(m_changed.begin(), m_changed.end(), contractId) == m_changed.end()) m_changed.push_back(contractId);
}

void Frm合同信息::Command16_Click()
{
    const auto& open = recordWindowSeams().frm合同履行计划;
    if (!open) return showMissing(QStringLiteral("设置履行计划"));
    open({Text1[1]->text(), Text1[0]->text(), QStringLiteral("编辑")});
}

void Frm合同信息::Command7_Click()
{
    const int index = List1->currentRow();
    if (index < 0 || index >= 类型类别.size()) {
        MsgBox(kChooseType, vbOKOnly);
        return;
    }
    const auto& open = recordWindowSeams().frm合同收付款计划设置;
    if (!open) return showMissing(QStringLiteral("收付款计划"));
    InstalmentPlanHandover h;
    h.Label1 = Text1[1]->text().trimmed() + QLatin1Char(' ') + Text1[0]->text().trimmed();
    h.Label13_1 = Text1[4]->text();
    if (!Text1[5]->text().isEmpty()) h.DTPicker2 = parseDateText(Text1[5]->text()).value_or(QDate());
    if (!Text1[6]->text().isEmpty()) h.DTPicker3 = parseDateText(Text1[6]->text()).value_or(QDate());
    h.caption = 类型类别[index] == 收款合同 ? QStringLiteral("合同收款计划设置") : QStringLiteral("合同付款计划设置");
    open(h);
}

// ---------------------------------------------------------------- saving

QString Frm合同信息::获取字(const QString& typeName)
{
    const auto prefix = typePrefix(typeName);
    if (!prefix) reportDbError(prefix.error());
    return prefix.value_or(QString());
}

std::optional<QString> Frm合同信息::numberingPrefix()
{
    const auto prefix = typePrefix(nameOf(Text1[3]->text()));
    if (!prefix) {
        reportDbError(prefix.error());
        return std::nullopt;
    }
    return *prefix;
}

RecordSheet Frm合同信息::sheet(const QString& name, const QString& typeEntry, std::optional<qint64> amount,
                                const QDate& start, const QDate& end) const
{
    const Counterparty cp = counterparty();
    RecordSheet s;
    s.name = name;
    s.counterparty = Text1[2]->text();
    s.bank = cp.bank;
    s.account = cp.account;
    s.taxNumber = cp.taxNumber;
    s.qualified = cp.qualified;
    s.supplierCode = TagOf(Text1[2]);
    s.typeCode = codeOf(typeEntry);
    s.amount = amount;
    s.start = start;
    s.end = end;
    s.mainTerms = Text1[7]->text();
    s.counterpartySignatory = Text1[8]->text();
    s.ownSignatory = Text1[9]->text();
    return s;
}

Frm合同信息::Counterparty Frm合同信息::counterparty() const
{
    Counterparty c;
    c.qualified = !Label1[16]->isHidden();
    if (c.qualified && m_supplierPicked) {
        c.bank = 供方开户行;
        c.account = 供方帐号;
        c.taxNumber = 供方税号;
    } else {
        // Without a pick since the load, the panel holds the stored bank data.
        c.bank = Text4[1]->text();
        c.account = Text4[2]->text();
        c.taxNumber = Text4[3]->text();
    }
    return c;
}

void Frm合同信息::reportNoRow() { MsgBox(kNoRow, vbExclamation); }

void Frm合同信息::Command2_Click()
{
    const bool adding = Tag == QStringLiteral("新增");
    const QString name = Text1[0]->text();
    if (name.isEmpty() || name == kAskName) {
        MsgBox(QStringLiteral("合同名称不能为空，请填写合同名称!"));
        return;
    }
    // A blank typed after the number would make a second contract that
    // looks like the first.
    const QString number = Text1[1]->text().trimmed();
    if (number.isEmpty() || number == kAskNumber) {
        MsgBox(QStringLiteral("请输入合同编号"));
        return;
    }
    if (adding && !Check1->isChecked()) {
        if (const auto problem = typedNumberProblem(number)) {
            MsgBox(*problem);
            return;
        }
    }
    if (Text1[3]->text().isEmpty()) {
        MsgBox(kChooseType);
        return;
    }
    if (adding && TagOf(Text3).isEmpty()) {
        MsgBox(kNoDepartment);
        return;
    }
    const auto start = parseDateText(Text1[5]->text());
    const auto end = parseDateText(Text1[6]->text());
    if (!start || !end) {
        MsgBox(kBadTerm);
        return;
    }
    if (*end < *start) {
        MsgBox(kEndBeforeStart);
        return;
    }
    std::optional<qint64> amount;
    if (!Text1[4]->text().trimmed().isEmpty()) {
        amount = parseTypedCents(Text1[4]->text());
        if (!amount) {
            MsgBox(kBadAmount);
            return;
        }
    }

    ColumnValues columns = sheetColumns(sheet(name, Text1[3]->text(), amount, *start, *end));
    columns.emplace_back(QStringLiteral("CzyDH"), textOrNull(Login().当前工号));

    if (adding) {
        NewContract c;
        c.automatic = Check1->isChecked();
        if (c.automatic) {
            const auto prefix = numberingPrefix();
            if (!prefix) return;
            c.prefix = *prefix;
        }
        c.form = PrefixForm::DashAlways;
        c.typedNumber = number;
        c.columns = columns;
        c.columns.emplace_back(QStringLiteral("对应部门"), TagOf(Text3));
        const InsertedContract saved = insertContract(c);
        if (saved.outcome == InsertedContract::NumberTaken) {
            MsgBox(saved.number + kNumberTaken);
            return;
        }
        if (saved.outcome != InsertedContract::Inserted) {
            ShowNumberedError(saved.error.number, saved.error.description);
            return;
        }
        markChanged(saved.id);
        Label1[18]->setText(未提交);
        Text1[1]->setText(saved.number);
        SetTag(Text1[1], QString::number(saved.id));
    } else {
        const auto id = contractId();
        if (!id) {
            reportNoRow();
            return;
        }
        const WriteOutcome out = updateEditableContract(*id, columns);
        if (out.kind == WriteOutcome::Failed) {
            ShowNumberedError(out.error.number, out.error.description);
            return;
        }
        if (out.kind == WriteOutcome::NoRow) {
            reportNoRow();
            return;
        }
        markChanged(*id);
    }

    // The contract exists now: later saves address it by id, never by a
    // number typed into the box.
    Text1[1]->setLocked(true);
    Frame3->setEnabled(true);
    for (QPushButton* b : {Command11, Command7, Command16, Command5, Command3, Command10, Command9}) b->setEnabled(true);
    if (adding) Tag = QStringLiteral("修改");
    m_edited = false;
}

void Frm合同信息::Check1_Click()
{
    if (Tag != QStringLiteral("新增")) return;
    if (Check1->isChecked()) {
        Text1[1]->setText(kAutoNumber);
        Text1[1]->setLocked(true);
    } else {
        Text1[1]->setText(kAskNumber);
        Text1[1]->setLocked(false);
    }
}

// ---------------------------------------------------------------- state actions

void Frm合同信息::Command18_Click()
{
    const auto id = contractId();
    if (!id) return;
    if (Command18->text() == QStringLiteral("合同生效")) {
        // Taking effect needs a date just as signing does.
        const auto effective = parseDateText(Text1[11]->text());
        if (!effective) {
            MsgBox(QStringLiteral("请输入正确的生效日期"));
            return;
        }
        const WriteOutcome out = takeEffect(*id, *effective);
        if (out.kind == WriteOutcome::Failed) return ShowStandardError(out.error.number, out.error.description);
        if (out.kind == WriteOutcome::NoRow) return reportNoRow();
        markChanged(*id);
        Command15->hide();
        Command26->hide();
        Command12->show();
        // The state rule decides the buttons and the label again.
        显示合同信息();
        return;
    }

    const auto signedOn = parseDateText(Text1[10]->text());
    if (!signedOn) {
        MsgBox(kBadSigningDate);
        return;
    }
    const QString question = QStringLiteral("请核对：\n\n对方签字人（代表）为 ") + Text1[8]->text() +
                             QStringLiteral("\n本方签字人（代表）为 ") + Text1[9]->text() + QStringLiteral("\n\n 是否继续？");
    if (MsgBox(question, vbYesNo + vbQuestion) != vbYes) return;
    const bool immediate = Check2->isChecked();
    const WriteOutcome out = signContract(*id, *signedOn, immediate, Text1[8]->text(), Text1[9]->text());
    if (out.kind == WriteOutcome::Failed) return ShowStandardError(out.error.number, out.error.description);
    if (out.kind == WriteOutcome::NoRow) return reportNoRow();
    markChanged(*id);
    Command15->hide();
    Command26->setVisible(!immediate);
    Command12->setVisible(immediate);
    显示合同信息();
}

void Frm合同信息::Command19_Click()
{
    const auto id = contractId();
    if (!id) return;
    if (MsgBox(QStringLiteral("确定要中止本合同履行吗？"), vbYesNo + vbQuestion) != vbYes) return;
    const auto suspendedOn = parseDateText(Text1[12]->text());
    if (!suspendedOn) {
        MsgBox(QStringLiteral("您输入了非法的中止日期"));
        return;
    }
    const WriteOutcome out = suspendContract(*id, *suspendedOn, toStoredText(Text1[13]->text()));
    if (out.kind == WriteOutcome::Failed) return ShowStandardError(out.error.number, out.error.description);
    if (out.kind == WriteOutcome::NoRow) return reportNoRow();
    markChanged(*id);
    显示合同信息();
}

void Frm合同信息::Command10_Click()
{
    const auto id = contractId();
    if (!id) return;
    if (MsgBox(QStringLiteral("确认要作废本合同？"), vbYesNo + vbQuestion) != vbYes) return;
    const WriteOutcome out = voidContract(*id, Today());
    if (out.kind == WriteOutcome::Failed) return ShowStandardError(out.error.number, out.error.description);
    if (out.kind == WriteOutcome::NoRow) return reportNoRow();
    markChanged(*id);
    显示合同信息();
}

void Frm合同信息::Command3_Click()
{
    const auto id = contractId();
    if (!id) return;
    if (MsgBox(QStringLiteral("确定要删除合同编号为 ") + Text1[1]->text() + QStringLiteral(" 的合同信息吗？"),
               vbYesNo + vbQuestion) != vbYes)
        return;
    const WriteOutcome out = deleteContract(*id, DeletableWhile::NotSignedNorInApproval);
    if (out.kind == WriteOutcome::Failed) return ShowStandardError(out.error.number, out.error.description);
    if (out.kind == WriteOutcome::NoRow) return reportNoRow();
    markChanged(*id);
    // Nothing is open to a contract that is gone.
    SetTag(Text1[1], QString());
    RecordButtons none;
    none.stateText = Label1[18]->text();
    applyButtons(none);
    m_edited = false;
    MsgBox(QStringLiteral("删除操作完成！"));
}

void Frm合同信息::Command9_Click()
{
    auto& seams = recordWindowSeams();
    if (Command9->text() == QStringLiteral("提交")) {
        if (!seams.提交) return showMissing(QStringLiteral("合同会签提交"));
        seams.提交(*this);
    } else {
        if (!seams.流转情况) return showMissing(QStringLiteral("流转情况"));
        seams.流转情况(*this);
    }
}

void Frm合同信息::Command27_Click() { Picture10->hide(); }

// ---------------------------------------------------------------- contract types

bool Frm合同信息::合同类型列表()
{
    const auto company = hasCompanyScope(Login().当前部门编号, Login().当前岗位代号);
    if (!company) {
        ShowDescriptionError(company.error().description);
        return false;
    }
    const auto types = contractTypesFor(*company, Login().当前部门编号);
    List1->clear();
    List2->clear();
    类型类别.clear();
    if (!types) {
        ShowDescriptionError(types.error().description);
        return false;
    }
    for (const ContractType& t : *types) {
        const QString entry = t.code + QLatin1Char(' ') + t.name;
        List1->addItem(entry);
        List2->addItem(entry);
        // A type without a category still belongs in the list.
        类型类别.append(t.category);
    }
    return true;
}

void Frm合同信息::Command5_Click()
{
    const QFrame* frame = Shape1[3];
    List1->move(frame->x(), frame->y() + frame->height() + px(30));
    List1->setVisible(List1->isHidden());
    bringInside(List1);
}

void Frm合同信息::List1_Click()
{
    const int index = List1->currentRow();
    if (index < 0) return;
    Text1[3]->setText(List1->item(index)->text());
    List1->hide();
    const QString category = index < 类型类别.size() ? 类型类别[index] : QString();
    Command7->setText(category == 付款合同 ? QStringLiteral("付款计划") : QStringLiteral("收款计划"));
    if (Tag != QStringLiteral("新增")) Command7->setEnabled(true);
}

// ---------------------------------------------------------------- supplier picker

bool Frm合同信息::供方列表(bool byName)
{
    const auto suppliers = activeSuppliers(byName);
    MSFlexGrid3->setRows(1);
    if (!suppliers) {
        ShowDescriptionError(suppliers.error().description);
        return false;
    }
    std::vector<std::vector<QString>> cells;
    cells.reserve(suppliers->size());
    for (const Supplier& sp : *suppliers)
        cells.push_back({QString::number(cells.size() + 1), sp.code, sp.name,
                         sp.qualified ? QStringLiteral("1") : QStringLiteral("0")});
    MSFlexGrid3->setRowsData(std::move(cells));
    return true;
}

void Frm合同信息::Command1_Click()
{
    Picture9->move(Text1[2]->x(), px(1560));
    Picture9->show();
    bringInside(Picture9);
}

void Frm合同信息::Option1_Click(int index) { 供方列表(index == 1); }

void Frm合同信息::Text2_Change()
{
    if (m_searching) return;
    const QString typed = Text2->text();
    const int n = int(typed.size());
    FlexGrid& g = *MSFlexGrid3;
    int match = -1;
    for (int r = 1; r < g.Rows(); ++r) {
        if (g.TextMatrix(r, 2).left(n) == typed) {
            match = r;
            break;
        }
    }
    if (match < 0) return;
    g.setRow(match);
    g.setCol(0);
    g.setColSel(g.Cols() - 1);
    const int rowHeight = std::max(1, g.RowHeight(1));
    const int visible = std::max(1, pixelsToTwips(g.viewport()->height()) / rowHeight - 1);
    if (match < g.TopRow() || match >= g.TopRow() + visible) g.setTopRow(std::max(1, match - 10));

    m_searching = true;
    Text2->setText(g.TextMatrix(match, 2));
    m_searching = false;
    SetTag(Text2, g.TextMatrix(match, 1));
    Text2->setSelection(n, int(Text2->text().size()) - n);
}

void Frm合同信息::MSFlexGrid3_Click()
{
    FlexGrid& g = *MSFlexGrid3;
    if (g.Rows() <= 1) return;
    // The row clicked is the row taken, even when a name above it begins the same way.
    const int r = std::max(1, g.Row());
    m_searching = true;
    Text2->setText(g.TextMatrix(r, 2));
    m_searching = false;
    SetTag(Text2, g.TextMatrix(r, 1));
    g.setRow(r);
    g.setCol(0);
    g.setColSel(g.Cols() - 1);
}

void Frm合同信息::Command24_Click()
{
    FlexGrid& g = *MSFlexGrid3;
    const QString name = Text2->text();
    int found = -1;
    if (g.Row() >= 1 && g.Row() < g.Rows() && g.TextMatrix(g.Row(), 2) == name) found = g.Row();
    for (int r = 1; found < 0 && r < g.Rows(); ++r)
        if (g.TextMatrix(r, 2) == name) found = r;
    if (found < 0) {
        MsgBox(QStringLiteral("未找到您所选择的供方单位，请核对输入或选择的供方单位名称是否正确"), vbOKOnly);
        return;
    }
    // A name that matches no row leaves the bank data of the last pick in place.
    供方开户行.clear();
    供方帐号.clear();
    供方税号.clear();
    const QString supplier = g.TextMatrix(found, 1);
    SetTag(Text2, supplier);
    Text1[2]->setText(name);
    SetTag(Text1[2], supplier);
    const auto bank = supplierBank(supplier);
    if (!bank) return ShowStandardError(bank.error().number, bank.error().description);
    供方开户行 = bank->bank;
    供方帐号 = bank->account;
    供方税号 = bank->taxNumber;
    m_supplierPicked = true;
    Picture9->hide();
    const bool qualified = g.TextMatrix(found, g.Cols() - 1).toInt() == 1;
    Label1[16]->setVisible(qualified);
    SetTag(Label1[16], qualified ? QStringLiteral("1") : QString());
}

void Frm合同信息::Command25_Click() { Picture9->hide(); }

// ---------------------------------------------------------------- counterparty panel

void Frm合同信息::Command4_Click()
{
    Picture8->move(Command4->x() + Command4->width() - Picture8->width(), Command4->y() + px(345));
    Picture8->show();
    bringInside(Picture8);
    Text4[0]->setFocus();
}

void Frm合同信息::Command21_Click()
{
    Text1[2]->setText(Text4[0]->text());
    if (contractId() && !保存对方资料()) return;
    Picture8->hide();
    Label1[16]->hide();
}

bool Frm合同信息::保存对方资料()
{
    const auto id = contractId();
    if (!id) return false;
    const WriteOutcome out = saveCounterparty(*id, Text4[0]->text(), Text4[1]->text(), Text4[2]->text(), Text4[3]->text());
    if (out.kind == WriteOutcome::Failed) {
        ShowStandardError(out.error.number, out.error.description);
        return false;
    }
    if (out.kind == WriteOutcome::NoRow) {
        reportNoRow();
        return false;
    }
    markChanged(*id);
    return true;
}

void Frm合同信息::Command22_Click() { Picture8->hide(); }

// ---------------------------------------------------------------- dates and term

void Frm合同信息::openCalendar(int index)
{
    if (index == 5 || index == 6) {
        const QFrame* frame = Shape1[size_t(index)];
        MonthView1->move(frame->x(), frame->y() + frame->height());
    } else {
        const TextBox* box = Text1[size_t(index)];
        MonthView1->move(Frame1->x() + box->x(), Frame1->y() + box->y() - MonthView1->height());
    }
    MonthView1->setVisible(MonthView1->isHidden());
    SetTag(MonthView1, QString::number(index));
    // Every calendar opens whole and in front, even where the old window
    // left the 生效日期 one behind the frame and cut off at the sheet's edge.
    bringInside(MonthView1);
}

void Frm合同信息::Command13_Click() { openCalendar(5); }
void Frm合同信息::Command14_Click() { openCalendar(6); }
void Frm合同信息::Command15_Click() { openCalendar(10); }
void Frm合同信息::Command26_Click() { openCalendar(11); }
void Frm合同信息::Command12_Click() { openCalendar(12); }

void Frm合同信息::MonthView1_DateClick(const QDate& date)
{
    bool ok = false;
    const int index = TagOf(MonthView1).toInt(&ok);
    if (ok && index >= 0 && index < int(Text1.size())) Text1[size_t(index)]->setText(shortDateText(date));
    MonthView1->hide();
}

void Frm合同信息::Text1_Change(int index)
{
    if (index != 5 && index != 6) return;
    const auto start = parseDateText(Text1[5]->text());
    const auto end = parseDateText(Text1[6]->text());
    if (!start || !end) return;
    // A term that ends before it starts has no length; the save says what is wrong.
    if (*end < *start) return Label1[17]->clear();
    Label1[17]->setText(QStringLiteral("共 ") + QString::number(termDays(*start, *end)) + QStringLiteral(" 天"));
}

void Frm合同信息::Text1_GotFocus(int index)
{
    if (Command9->text() != QStringLiteral("提交")) {
        Command13->hide();
        Command14->hide();
        return;
    }
    Command13->setVisible(index == 5);
    Command14->setVisible(index == 6);
    // The placeholder of automatic numbering stays: the save needs it.
    if (Tag == QStringLiteral("新增") && index == 1 && !Check1->isChecked()) Text1[1]->setText(QString());
}

// ---------------------------------------------------------------- main-terms templates

std::optional<QString> Frm合同信息::templatePath() const
{
    // Department and type texts come from the database: a text that makes no
    // plain file name in the program folder writes and reads nothing.
    const QString name = Text3->text() + Text1[3]->text() + QStringLiteral("主要条款.TXT");
    const auto path = ProgramFilePath(name);
    if (!path) ShowStandardError(0, QStringLiteral("无法用“") + name + QStringLiteral("”作为模板文件名"));
    return path;
}

void Frm合同信息::Command17_Click()
{
    if (MsgBox(QStringLiteral("确认要把当前的主要条款内容保存为模块？"), vbYesNo + vbQuestion) != vbYes) return;
    if (Text1[3]->text().isEmpty()) {
        MsgBox(kChooseType);
        return;
    }
    const auto path = templatePath();
    if (!path) return;
    QString text = Text1[7]->text();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QString error;
    if (!writeGbkLines(*path, text.split(QLatin1Char('\n')), &error)) ShowStandardError(0, error);
}

void Frm合同信息::Command29_Click()
{
    if (Text1[3]->text().isEmpty()) {
        MsgBox(kChooseType);
        return;
    }
    const auto path = templatePath();
    if (!path || !QFileInfo::exists(*path)) return;
    QString error;
    const auto content = readGbkFile(*path, &error);
    if (!content) return ShowStandardError(0, error);
    QStringList lines = content->split(QLatin1Char('\n'));
    // A file ends with a line break; it opens no further line.
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    QString box = Text1[7]->text();
    for (const QString& line : lines) box = box.isEmpty() ? line : box + QLatin1Char('\n') + line;
    Text1[7]->setText(box);
}

// ---------------------------------------------------------------- attachments

QString Frm合同信息::文件名(const QString& path)
{
    const int cut = std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
    return cut < 0 ? path : path.mid(cut + 1);
}

void Frm合同信息::addAttachmentRow(qint64 id, const QString& name)
{
    FlexGrid& g = *MSFlexGrid2;
    g.appendRow({QString::number(g.Rows()), name, QStringLiteral("浏览")});
    g.setRowData(g.Rows() - 1, int(id));
    g.setRow(g.Rows() - 1);
}

void Frm合同信息::附件列表(qint64 contractId)
{
    WaitCursor wait;
    MSFlexGrid2->hide();
    MSFlexGrid2->setRows(1);
    const auto attachments = attachmentsOf(contractId);
    if (!attachments) reportDbError(attachments.error());
    else
        for (const Attachment& a : *attachments) addAttachmentRow(a.id, a.name);
    MSFlexGrid2->show();
}

void Frm合同信息::Command11_Click()
{
    const QString path = Services::dialogs().openFileName(
        QStringLiteral("添加资料"),
        QStringLiteral("所有文件 (*.pdf *.doc *.docx *.xls *.xlsx *.jpg *.jpeg *.bmp);;PDF文件 (*.pdf);;Word文件 (*.doc *.docx);;"
                       "Excel文件 (*.xls *.xlsx);;图片文件 (*.jpg *.jpeg *.bmp)"),
        QString());
    if (path.isEmpty()) return;
    const auto id = contractId();
    if (!id) return;
    QVariant bytes;
    QString unreadable;
    if (!文件存入字段(bytes, path, &unreadable))
        return ShowStandardError(0, QStringLiteral("无法读取文件 ") + QDir::toNativeSeparators(path) + QStringLiteral("：") +
                                        unreadable);
    const QString name = 文件名(path);
    qint64 added = 0;
    const WriteOutcome out = addAttachment(*id, name, bytes, &added);
    if (out.kind == WriteOutcome::Failed) return reportDbError(out.error);
    if (out.kind == WriteOutcome::NoRow) return reportNoRow();
    addAttachmentRow(added, name);
    Command8->setEnabled(true);
}

void Frm合同信息::MSFlexGrid2_Click()
{
    Command8->setEnabled(false);
    FlexGrid& g = *MSFlexGrid2;
    if (g.Rows() <= 1) return;
    // A file can be taken away only while one can be added: a contract in
    // approval keeps its papers.
    Command8->setEnabled(Command11->isEnabled());
    const int r = std::max(1, g.Row());
    if (g.Col() == 2) {
        const auto file = attachmentFile(g.RowData(r));
        if (!file) return reportDbError(file.error());
        if (!file->found) {
            ShowStandardError(0, QStringLiteral("附件已不存在"));
            return;
        }
        const QString target = QDir(TempFolder()).filePath(文件名(file->name));
        QFile::remove(target);
        QString saveError, openError;
        if (!字段存为文件(file->bytes, target, &saveError)) {
            if (!saveError.isEmpty()) MsgBox(saveError, vbCritical | vbOKOnly, QStringLiteral("下载文件出错!"));
        } else if (!Services::shell().open(target, &openError))
            MsgBox(QStringLiteral("附件已保存到 ") + QDir::toNativeSeparators(target) +
                       QStringLiteral("，但没有能打开它的程序") +
                       (openError.isEmpty() ? QString() : QStringLiteral("：") + openError),
                   vbInformation);
    }
    g.setRow(r);
    g.setCol(0);
    g.setColSel(g.Cols() - 1);
}

void Frm合同信息::Command8_Click()
{
    Command8->setEnabled(false);
    FlexGrid& g = *MSFlexGrid2;
    if (g.Rows() <= 1) return;
    const int r = std::max(1, g.Row());
    if (MsgBox(QStringLiteral("确认要删除 ") + g.TextMatrix(r, 1) + QStringLiteral(" 这个文件？"), vbYesNo + vbQuestion) != vbYes) {
        Command8->setEnabled(true);
        return;
    }
    const AttachmentDeletion deletion = deleteAttachment(g.RowData(r));
    const WriteOutcome& out = deletion.write;
    if (out.kind == WriteOutcome::Failed) return ShowStandardError(out.error.number, out.error.description);
    if (deletion.locked) {
        MsgBox(QStringLiteral("合同已提交审批，附件不能删除！"));
        return;
    }
    // Gone already: the row leaves the grid all the same, and the clerk is told.
    if (out.kind == WriteOutcome::NoRow) ShowStandardError(0, QStringLiteral("附件已不存在"));
    if (g.Rows() == 2) {
        g.setRows(1);
        return;
    }
    g.RemoveItem(r);
    for (int i = std::min(r, g.Rows() - 1); i < g.Rows(); ++i) g.setTextMatrix(i, 0, QString::number(i));
}

// ---------------------------------------------------------------- renewal and supplement

QString Frm合同信息::月底日期(const QString& dateText) const
{
    const auto d = parseDateText(dateText);
    if (!d) return QString();
    return lastDayOfMonthText(d->year(), d->month());
}

void Frm合同信息::Command20_Click()
{
    Label1[34]->clear();
    if (!Text1[14]->text().isEmpty()) {
        MsgBox(QStringLiteral("已经有续签合同，不能生成多份续签合同"), vbOKOnly);
        return;
    }
    Option2[0]->setChecked(true);
    QString name = Text1[0]->text();
    name.remove(QStringLiteral("\r\n"));
    name.remove(QLatin1Char('\n'));
    Label1[24]->setText(QStringLiteral("续签合同处理"));
    Label1[33]->setText(QStringLiteral("您正在处理 ") + name + QStringLiteral(" 的续签信息"));
    Picture6->show();
    bringInside(Picture6);
    Command28->setEnabled(true);
    Text5[0]->setText(name);
    Text5[4]->setText(Text1[4]->text());
    const auto oldEnd = parseDateText(Text1[6]->text());
    if (oldEnd) Text5[2]->setText(shortDateText(oldEnd->addDays(1)));
    if (!oldEnd || !parseDateText(Text1[5]->text())) {
        MsgBox(QStringLiteral("原合同的起止日期不正确，无法推算续签合同期，请直接输入新合同期"), vbOKOnly);
        return;
    }
    Text5[3]->setText(renewalEndText(Text1[5]->text(), Text1[6]->text(), Text5[2]->text()).value_or(QString()));
}

void Frm合同信息::Command31_Click()
{
    Option2[1]->setChecked(true);
    // The category shows once a type is chosen.
    Label1[34]->clear();
    Picture6->show();
    bringInside(Picture6);
    Label1[24]->setText(QStringLiteral("补充合同处理"));
    Label1[33]->setText(QStringLiteral("您正在处理 ") + Text1[0]->text() + QStringLiteral(" 合同的补充合同"));
    Command28->setEnabled(true);
    Text5[0]->clear();
    Text5[2]->clear();
    Text5[3]->clear();
    Text5[4]->setText(QStringLiteral("0"));
}

void Frm合同信息::Option2_Click(int index)
{
    const bool supplement = index != 0;
    for (QWidget* w : {static_cast<QWidget*>(Check4), static_cast<QWidget*>(Label1[25]), static_cast<QWidget*>(Text5[5]),
                       static_cast<QWidget*>(Command23[0])})
        w->setVisible(supplement);
}

void Frm合同信息::placePanelCalendar(int index)
{
    const QLineEdit* box = Text5[size_t(index)];
    MonthView2->move(Picture6->x() + box->x() + box->width() - MonthView2->width(),
                     Picture6->y() + box->y() - MonthView2->height() - px(15));
    if (const auto d = parseDateText(box->text())) MonthView2->setSelectedDate(*d);
}

void Frm合同信息::Command23_Click(int index)
{
    if (index == 0) {
        List2->move(Picture6->x() + Text5[5]->x(), Picture6->y() + Text5[5]->y() - List2->height() - px(15));
        List2->setVisible(List2->isHidden());
        bringInside(List2);
        return;
    }
    const int box = index == 1 ? 2 : 3;
    placePanelCalendar(box);
    SetTag(MonthView2, QString::number(box));
    MonthView2->setVisible(MonthView2->isHidden());
    bringInside(MonthView2);
}

void Frm合同信息::List2_Click()
{
    const int index = List2->currentRow();
    if (index < 0) return;
    Text5[5]->setText(List2->item(index)->text());
    Label1[34]->setText(index < 类型类别.size() ? 类型类别[index] : QString());
    List2->hide();
}

void Frm合同信息::Text5_GotFocus(int index)
{
    Command23[1]->hide();
    Command23[2]->hide();
    MonthView2->hide();
    if (index != 2 && index != 3) return;
    QPushButton* b = Command23[index == 2 ? 1 : 2];
    b->show();
    b->raise();
    SetTag(MonthView2, QString::number(index));
    placePanelCalendar(index);
    MonthView2->show();
    bringInside(MonthView2);
}

void Frm合同信息::MonthView2_DateClick(const QDate& date)
{
    const QString tag = TagOf(MonthView2);
    if (tag == QStringLiteral("2")) Text5[2]->setText(shortDateText(date));
    else if (tag == QStringLiteral("3")) Text5[3]->setText(shortDateText(date));
    MonthView2->hide();
}

void Frm合同信息::Command28_Click()
{
    const bool renewal = Option2[0]->isChecked();
    if (!(renewal ? 续签合同确定() : 补充合同确定())) return;
    显示合同信息();
    if (renewal) {
        Picture6->hide();
        MsgBox(kContinue, vbOKOnly);
    } else {
        MsgBox(kContinueSupplement, vbOKOnly);
        Picture6->hide();
    }
}

void Frm合同信息::Command30_Click() { Picture6->hide(); }
void Frm合同信息::Image1_Click() { Picture6->hide(); }

bool Frm合同信息::续签合同确定() { return 保存后续合同(true); }
bool Frm合同信息::补充合同确定() { return 保存后续合同(false); }

bool Frm合同信息::保存后续合同(bool renewal)
{
    if (Text5[0]->text().isEmpty()) {
        MsgBox(QStringLiteral("合同名称不能为空，请填写合同名称!"), vbOKOnly);
        return false;
    }
    const QString typedNumber = Text5[1]->text().trimmed();
    if (!Check3->isChecked()) {
        if (typedNumber.isEmpty()) {
            MsgBox(QStringLiteral("请输入合同编号"), vbOKOnly);
            return false;
        }
        if (const auto problem = typedNumberProblem(typedNumber)) {
            MsgBox(*problem, vbOKOnly);
            return false;
        }
    }
    if (TagOf(Text3).isEmpty()) {
        MsgBox(kNoDepartment, vbOKOnly);
        return false;
    }
    const auto start = parseDateText(Text5[2]->text());
    const auto end = parseDateText(Text5[3]->text());
    if (!start || !end) {
        MsgBox(kBadTerm, vbOKOnly);
        return false;
    }
    if (*end < *start) {
        MsgBox(kEndBeforeStart, vbOKOnly);
        return false;
    }
    if (!renewal) {
        // A type typed by hand must still read "code name".
        if (Text5[5]->text().isEmpty() || !Text5[5]->text().contains(QLatin1Char(' '))) {
            MsgBox(QStringLiteral("请确定补充合同的合同类型"), vbOKOnly);
            return false;
        }
        if (leadingNumber(Text5[4]->text()) == 0 &&
            MsgBox(QStringLiteral("确认补充合同的金额为0"), vbYesNo + vbQuestion) != vbYes)
            return false;
    }
    std::optional<qint64> amount;
    if (!Text5[4]->text().trimmed().isEmpty()) {
        amount = parseTypedCents(Text5[4]->text());
        if (!amount) {
            MsgBox(kBadAmount, vbOKOnly);
            return false;
        }
    }

    Command28->setEnabled(false);
    FollowUp f;
    f.renewal = renewal;
    f.fromId = contractId().value_or(0);
    NewContract& c = f.contract;
    c.automatic = Check3->isChecked();
    c.form = PrefixForm::DigitsAloneWhenNoPrefix;
    c.typedNumber = typedNumber;
    if (c.automatic) {
        // A supplement is numbered with its main contract's prefix.
        const auto prefix = numberingPrefix();
        if (!prefix) {
            Command28->setEnabled(true);
            return false;
        }
        c.prefix = *prefix;
    }
    c.columns = sheetColumns(sheet(Text5[0]->text(), renewal ? Text1[3]->text() : Text5[5]->text(), amount, *start, *end));
    c.columns.emplace_back(QStringLiteral("对应部门"), TagOf(Text3));
    if (!renewal) addSupplementColumns(c.columns, Text1[1]->text(), Check4->isChecked());

    const FollowUpOutcome out = insertFollowUp(f);
    switch (out.kind) {
    case FollowUpOutcome::Inserted: break;
    case FollowUpOutcome::NumberTaken:
        MsgBox(out.number + kNumberTaken, vbOKOnly);
        Command28->setEnabled(true);
        return false;
    case FollowUpOutcome::AlreadyRenewed:
        MsgBox(QStringLiteral("已经有续签合同，不能生成多份续签合同"), vbOKOnly);
        Command28->setEnabled(true);
        return false;
    case FollowUpOutcome::OldGone:
        reportNoRow();
        Command28->setEnabled(true);
        return false;
    case FollowUpOutcome::Failed:
        ShowStandardError(out.error.number, out.error.description);
        Command28->setEnabled(true);
        return false;
    }
    // The old contract's row shows its renewal; the new one is not listed yet.
    if (const auto old = contractId()) markChanged(*old);
    markChanged(out.id);
    if (c.automatic) Text5[1]->setText(out.number);
    SetTag(Text1[1], QString::number(out.id));
    Text1[1]->setText(out.number);
    Tag = QStringLiteral("修改");
    return true;
}

}  // namespace corvane
