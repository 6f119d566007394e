#include "contracts/ContractRecordWindow.h"

#include <QMdiArea>

#include "contracts/ContractFormats.h"
#include "contracts/ContractHandovers.h"
#include "contracts/Frm合同信息.h"
#include "platform/Tag.h"

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
    if (w->loadFailed()) {
        w->Unload();
        return;
    }
    const bool adding = h.mode == QStringLiteral("新增");
    const bool sameContract = !adding && w->Tag != QStringLiteral("新增") && TagOf(w->Text1[1]) == h.id;
    // Typing not saved yet is kept for its own contract, and given up for
    // another one only when the clerk agrees.
    if (w->hasUnsavedEdits() && (sameContract || !w->discardEditsAllowed())) {
        w->Show();
        return;
    }
    if (adding) w->beginNewContract();
    w->Tag = h.mode;
    SetTag(w->Text3, h.departmentCode);
    w->Text3->setText(h.departmentText);
    if (!adding) w->showContract(h.number, h.id);

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
