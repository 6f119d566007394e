#include "payments/frm会计科目转换.h"

#include <QLabel>
#include <QPointer>

#include "app/Helpers.h"
#include "app/LoginContext.h"
#include "app/LoginStatusBar.h"
#include "payments/SubjectConversion.h"
#include "payments/frm会计科目浏览.h"
#include "db/Schema.h"
#include "platform/InputRules.h"
#include "platform/Services.h"
#include "platform/Widgets.h"

namespace corvane {

using namespace payments;

namespace {
const QString kNew = QStringLiteral("新增");
const QString kCancel = QStringLiteral("取消");
const QString kNothingToChange = QStringLiteral("没有可以修改的科目!");
const QString kNothingToDelete = QStringLiteral("没有可以删除的信息!");
// A mapping's boxes take what its row of 票据科目转换 holds.
int mappingColumn(const char* column) { return schema::textLength(QStringLiteral("票据科目转换"), QString::fromUtf8(column)); }
}  // namespace

frm会计科目转换::frm会计科目转换()
{
    buildLayout();
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
    connect(Command5, &QPushButton::clicked, this, [this] { Command5_Click(); });
    connect(List1, &QListWidget::itemSelectionChanged, this, [this] {
        if (!List1->selectedItems().isEmpty()) List1_Click();
    });
}

void frm会计科目转换::buildLayout()
{
    setObjectName(QStringLiteral("frm会计科目转换"));
    setCaption(QStringLiteral("会计科目转换"));
    setFixedSize(px(8400), px(5400));
    useLayoutFace(this);
    auto label = [this](const QString& name, const QString& caption, int left, int top) {
        auto* l = named(new QLabel(caption, this), name);
        place(l, left, top + 30, 1200, 255);
    };
    label(QStringLiteral("Label1"), QStringLiteral("发票科目代号"), 240, 240);
    Text1 = named(new QLineEdit(this), QStringLiteral("Text1"));
    applyLineRules(Text1, mappingColumn("发票科目代号"));
    place(Text1, 1500, 240, 3000, 300);
    label(QStringLiteral("Label2"), QStringLiteral("发票科目名称"), 240, 720);
    Text2 = named(new QLineEdit(this), QStringLiteral("Text2"));
    applyLineRules(Text2, mappingColumn("发票科目名称"));
    place(Text2, 1500, 720, 3000, 300);
    label(QStringLiteral("Label3"), QStringLiteral("会计科目"), 240, 1200);
    Text3 = named(new QLineEdit(this), QStringLiteral("Text3"));
    Text3->setReadOnly(true);
    place(Text3, 1500, 1200, 2610, 300);
    Command5 = button(this, QStringLiteral("Command5"), QStringLiteral("…"));
    place(Command5, 4140, 1200, 360, 300);
    label(QStringLiteral("Label4"), QStringLiteral("备    注"), 240, 1680);
    Text4 = named(new TextBox(this, true), QStringLiteral("Text4"));
    Text4->setMaxLength(mappingColumn("备注"));
    place(Text4, 1500, 1680, 3000, 1800);
    label(QStringLiteral("Label5"), QStringLiteral("发票科目明细"), 4800, 60);
    List1 = named(new QListWidget(this), QStringLiteral("List1"));
    place(List1, 4800, 420, 3360, 3780);
    Command1 = button(this, QStringLiteral("Command1"), kNew);
    place(Command1, 240, 4380, 1200, 420);
    Command2 = button(this, QStringLiteral("Command2"), QStringLiteral("确定"));
    place(Command2, 1560, 4380, 1200, 420);
    Command3 = button(this, QStringLiteral("Command3"), QStringLiteral("删除"));
    place(Command3, 2880, 4380, 1200, 420);
    Command4 = button(this, QStringLiteral("Command4"), QStringLiteral("退出"));
    place(Command4, 6960, 4380, 1200, 420);
    StatusBar1 = new LoginStatusBar(this);
    place(StatusBar1, 0, 5040, 8400, 360);
}

void frm会计科目转换::Form_Load()
{
    CenterForm(*this);
    StatusBar1->showClock();
    StatusBar1->panels[1]->setText(QLatin1Char(' ') + Login().当前部门名称);
    StatusBar1->panels[3]->setText(QLatin1Char(' ') + Login().当前岗位名称);
    转换列表();
}

QString frm会计科目转换::selectedCode() const
{
    const QList<QListWidgetItem*> chosen = List1->selectedItems();
    if (chosen.isEmpty()) return QString();
    return chosen.front()->text().section(QLatin1Char(' '), 0, 0);
}

void frm会计科目转换::clearBoxes()
{
    Text1->clear();
    Text2->clear();
    Text3->clear();
    Text4->clear();
    List1->clearSelection();
}

void frm会计科目转换::转换列表()
{
    const auto list = conversionList();
    List1->clear();
    if (!list) {
        reportDbError(list.error());
        return;
    }
    for (const Mapping& m : *list) List1->addItem(m.发票科目代号 + QLatin1Char(' ') + m.发票科目名称);
    if (List1->count() > 0) {
        List1->setCurrentRow(0);
        List1->item(0)->setSelected(true);
    }
}

void frm会计科目转换::List1_Click()
{
    const auto found = mappingOf(selectedCode());
    if (!found) {
        reportDbError(found.error());
        return;
    }
    if (*found) {
        const Mapping& m = **found;
        Text1->setText(m.发票科目代号);
        Text2->setText(m.发票科目名称);
        Text3->setText(m.会计科目代号 + QLatin1Char(' ') + m.会计科目名称);
        Text4->setPlainText(m.备注);
    }
    Text1->setReadOnly(true);
    Command1->setText(kNew);
}

void frm会计科目转换::Command1_Click()
{
    if (Command1->text() == kNew) {
        Command1->setText(kCancel);
        clearBoxes();
        Text1->setReadOnly(false);
        Text1->setFocus();
        return;
    }
    Command1->setText(kNew);
}

void frm会计科目转换::Command2_Click()
{
    // A box of blanks only is as empty as an empty one.
    if (Text1->text().trimmed().isEmpty()) {
        MsgBox(QStringLiteral("发票科目代号不能为空!"), vbInformation);
        return;
    }
    if (Text2->text().trimmed().isEmpty()) {
        MsgBox(QStringLiteral("发票科目名称不能为空!"), vbInformation);
        return;
    }
    if (Text3->text().trimmed().isEmpty()) {
        MsgBox(QStringLiteral("会计科目不能为空!"), vbInformation);
        return;
    }
    const QString subject = Text3->text();
    const int blank = subject.indexOf(QLatin1Char(' '));
    Mapping m{Text1->text().trimmed(), Text2->text().trimmed(), blank < 0 ? subject : subject.left(blank),
              blank < 0 ? QString() : subject.mid(blank + 1), Text4->toPlainText().trimmed()};
    DbError error;
    if (Command1->text() == kCancel) {
        switch (insertMapping(m, Login().当前工号, Now(), &error)) {
        case MappingOutcome::Done:
            break;
        case MappingOutcome::Duplicate:
            MsgBox(QStringLiteral("发票科目代号已存在!"), vbInformation);
            return;
        default:
            ShowStandardError(error.number, error.description);
            return;
        }
        转换列表();
        Command1->setText(kCancel);
        clearBoxes();
        return;
    }
    const QString code = selectedCode();
    if (List1->selectedItems().isEmpty()) {
        MsgBox(kNothingToChange, vbInformation);
        return;
    }
    const MappingOutcome outcome = updateMapping(code, m, Login().当前工号, Now(), &error);
    if (outcome == MappingOutcome::Failed) {
        ShowStandardError(error.number, error.description);
        return;
    }
    if (outcome == MappingOutcome::Duplicate) {
        MsgBox(QStringLiteral("发票科目代号已存在!"), vbInformation);
        return;
    }
    转换列表();
    Command1->setText(kNew);
    if (outcome == MappingOutcome::NoRow) MsgBox(kNothingToChange, vbInformation);
}

void frm会计科目转换::Command3_Click()
{
    if (List1->count() == 0 || List1->selectedItems().isEmpty()) {
        MsgBox(kNothingToDelete, vbInformation);
        return;
    }
    const QString entry = List1->selectedItems().front()->text();
    if (MsgBox(QStringLiteral("是否要删除  发票科目为= ") + entry + QStringLiteral("的信息？"), vbYesNo + vbInformation) !=
        vbYes)
        return;
    DbError error;
    const MappingOutcome outcome = deleteMapping(entry.section(QLatin1Char(' '), 0, 0), &error);
    if (outcome == MappingOutcome::Failed) {
        ShowStandardError(error.number, error.description);
        return;
    }
    转换列表();
    Command1->setText(kNew);
    clearBoxes();
    MsgBox(outcome == MappingOutcome::Done ? QStringLiteral("删除成功!") : kNothingToDelete, vbInformation);
}

void frm会计科目转换::Command4_Click() { Unload(); }

void frm会计科目转换::Command5_Click()
{
    auto* browser = Forms::get<frm会计科目浏览>();
    browser->Tag = QStringLiteral("会计科目转换");
    // The browser may outlive this window; its choice is the accounting
    // subject, as code, blank, name.
    browser->handBackTo([self = QPointer<frm会计科目转换>(this)](const payments::ChosenSubject& s) {
        if (self) self->Text3->setText(s.code + QLatin1Char(' ') + s.name);
    });
    browser->Show();
    browser->ZOrder();
}

}  // namespace corvane
