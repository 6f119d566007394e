#include "contracts/ContractRecordWindow.h"

#include <QMdiArea>

#include "contracts/ContractFormats.h"
#include "contracts/ContractHandovers.h"
#include "contracts/Frm合同信息.h"

namespace corvane::contract {

RecordWindowSeams& recordWindowSeams()
{
    static RecordWindowSeams seams;
    return seams;
}

namespace {

void openRecordWindow(const RecordWindowHandover& h)
{
    auto* w = Forms::get<Frm合同信息>();
    w->Tag = h.mode;
    SetTag(w->Text3, h.departmentCode);
    w->Text3->setText(h.departmentText);
    if (h.mode == QStringLiteral("新增")) {
        // A window still holding another contract must not act on it any more,
        // and the new contract is edited and submitted as in a fresh window.
        SetTag(w->Text1[1], QString());
        for (QPushButton* b : {w->Command3, w->Command9, w->Command10, w->Command16}) b->setEnabled(false);
        for (QPushButton* b : {w->Command1, w->Command4, w->Command17, w->Command29}) b->setEnabled(true);
        w->Command9->setText(QStringLiteral("提交"));
    } else {
        w->Text1[1]->setText(h.number);
        SetTag(w->Text1[1], h.id);
        w->Text1[1]->setLocked(true);
    }

    // Showing a window that is already the active one activates nothing, yet
    // the hand-over must reach Form_Activate.
    QMdiArea* area = FormRegistry::instance().mdiArea();
    const bool shown = w->frame()->isVisible();
    const bool active = area && w->subWindow() && area->activeSubWindow() == w->subWindow();
    w->Show();
    if (shown && (!area || active)) w->activate();
}

}  // namespace

void registerContractRecordWindow() { contractHandovers().Frm合同信息 = openRecordWindow; }

}  // namespace corvane::contract
