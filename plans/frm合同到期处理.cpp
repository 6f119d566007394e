#include "plans/frm合同到期处理.h"

#include "app/Changes.h"
#include "app/LoginContext.h"
#include "platform/Amounts.h"
#include "platform/Services.h"
#include "plans/ExpiryRules.h"
#include "plans/ExpiryStore.h"

namespace corvane {

using namespace plans;

namespace {

QString dateText(const QDate& d) { return d.toString(QStringLiteral("yyyy-MM-dd")); }

void choose(QComboBox* box, const QString& text)
{
    const int i = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (i >= 0) box->setCurrentIndex(i);
}

// A row gone or changed meanwhile is no database fault: no error number to show.
void tellToReopen(const QString& text) { MsgBox(text, vbInformation, QStringLiteral("提示")); }

}  // namespace

frm合同到期处理::frm合同到期处理()
{
    buildLayout();
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(Check2, &QCheckBox::toggled, this, [this] { Check2_Click(); });
}

void frm合同到期处理::takeHandover(const QString& number, const QString& name, const QString& id)
{
    Text1[0]->setText(number);
    Text1[1]->setText(name);
    m_id = id.toLongLong();
}

void frm合同到期处理::Form_Activate()
{
    const auto found = m_id > 0 ? expiryContract(m_id) : expiryContractByNumber(Text1[0]->text());
    if (!found) return reportDbError(found.error());
    if (!*found) {
        Command1->setEnabled(false);
        return;
    }
    Command1->setEnabled(true);
    const ExpiryContract& c = **found;
    m_id = c.id;
    m_loaded = c;

    Text1[2]->setText(c.生效日期 ? dateText(*c.生效日期) : QString());
    Text1[3]->setText(c.终止日期 ? dateText(*c.终止日期) : QStringLiteral("长期"));
    if (!c.中止类别.isEmpty()) choose(Combo1, c.中止类别);
    DTPicker1->setDate(c.中止日期.value_or(kNoDate));
    Text2->setText(c.中止原因);
    if (c.违约金处理方式.isEmpty()) choose(Combo2, penaltyHandlings().first());
    else choose(Combo2, c.违约金处理方式);
    Text3->setText(c.违约金 ? centsText(*c.违约金) : QString());
    DTPicker2->setDate(c.违约金收付日期.value_or(kNoDate));
    Check1->setChecked(c.余款勾销);
    {
        const QSignalBlocker quiet(Check2);
        Check2->setChecked(c.合同续签);
    }
    applyRenewalRule();

    const auto balance = paymentPlanBalance(c.number);
    if (!balance) return reportDbError(balance.error());
    Text1[4]->setText(*balance ? centsText(**balance) : QString());
    if (balance->value_or(0) != 0) {
        Text1[5]->setText(centsText(c.amount.value_or(0) - **balance));
        Check1->setEnabled(true);
    } else {
        Text1[5]->setText(QStringLiteral("0"));
        Check1->setEnabled(false);
    }
}

void frm合同到期处理::Command1_Click()
{
    if (MsgBox(QStringLiteral("是否确认要中止合同"), vbYesNo) != vbYes) return;
    if (Combo1->currentIndex() < 0) {
        MsgBox(QStringLiteral("请确定合同中止类型"));
        return;
    }
    if (!isEnteredDate(DTPicker1->date())) {
        MsgBox(QStringLiteral("请输入合法的中止日期"));
        return;
    }
    // Checked before anything is written, so a refused amount never leaves
    // the write-off done and the contract unchanged.
    std::optional<qint64> penalty;
    if (!Text3->text().trimmed().isEmpty()) {
        penalty = parseTypedCents(Text3->text());
        if (!penalty) {
            MsgBox(QStringLiteral("请输入正确的违约金金额！"));
            Text3->setFocus();
            return;
        }
    }

    Termination t;
    t.category = Combo1->currentText();
    t.state = stateAfterEnding(t.category);
    t.reason = Text2->text();
    t.terminationDate = DTPicker1->date();
    t.penaltyHandling = Combo2->currentIndex() >= 0 ? Combo2->currentText() : QString();
    t.penalty = penalty;
    t.penaltyDate = storedPenaltyDate(DTPicker2->date());
    t.writeOff = Check1->isChecked();
    t.renewal = Check2->isChecked();
    t.loaded = m_loaded;

    WaitCursor wait;
    const TerminationOutcome done = endContract(m_id, t);
    if (done.kind == TerminationOutcome::Failed) return reportDbError(done.error);
    if (done.kind == TerminationOutcome::NoRow) return tellToReopen(QStringLiteral("该合同已被删除，请重新打开本窗口！"));
    if (done.kind == TerminationOutcome::Changed)
        return tellToReopen(QStringLiteral("该合同已被他人修改，请重新打开本窗口！"));
    // What is stored now is what a second 确定 holds the row to.
    if (m_loaded) {
        m_loaded->中止类别 = t.category;
        m_loaded->中止原因 = t.reason;
        m_loaded->中止日期 = t.terminationDate;
        m_loaded->违约金处理方式 = t.penaltyHandling;
        m_loaded->违约金 = t.penalty;
        m_loaded->违约金收付日期 = t.penaltyDate;
        m_loaded->余款勾销 = t.writeOff;
        m_loaded->合同续签 = t.renewal;
    }

    emit changes().contractProgressed(m_id);
}

void frm合同到期处理::Command2_Click() { Unload(); }

void frm合同到期处理::Check2_Click() { applyRenewalRule(); }

void frm合同到期处理::applyRenewalRule()
{
    if (!Check2->isChecked()) {
        Command3->setEnabled(false);
        return;
    }
    const auto renewals = renewalsOf(Text1[0]->text());
    if (!renewals) {
        Command3->setEnabled(false);
        return reportDbError(renewals.error());
    }
    Command3->setEnabled(*renewals == 0);
}

void frm合同到期处理::Command3_Click()
{
    if (MsgBox(QStringLiteral("请确认：\n续签") + Text1[0]->text() + QStringLiteral(" ") + Text1[1]->text() +
                   QStringLiteral("合同"),
               vbYesNo) != vbYes)
        return;
    if (!isEnteredDate(DTPicker1->date())) {
        MsgBox(QStringLiteral("请输入原合同的中止日期"));
        return;
    }
    RenewalOutcome renewed;
    {
        WaitCursor wait;
        renewed = renewContract(m_id, DTPicker1->date(), Today(), Login().当前工号);
    }
    switch (renewed.kind) {
    case RenewalOutcome::Done:
        break;
    case RenewalOutcome::AlreadyRenewed:
        MsgBox(QStringLiteral("该合同已经续签，不能重复续签！"));
        applyRenewalRule();
        return;
    case RenewalOutcome::Exhausted:
        MsgBox(QStringLiteral("续签合同编号已用完，请与系统管理员联系"));
        return;
    case RenewalOutcome::NoRow:
        return tellToReopen(QStringLiteral("该合同已被删除，请重新打开本窗口！"));
    case RenewalOutcome::Failed:
        return reportDbError(renewed.error);
    }
    // A second press would renew the contract again.
    applyRenewalRule();
    MsgBox(QStringLiteral("续签合同已经生成，处于签订中状态，你可以从签订中合同中搜索出来"));
}

}  // namespace corvane
