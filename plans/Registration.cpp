#include "plans/Registration.h"

#include "app/MainWindowHooks.h"
#include "contracts/ContractHandovers.h"
#include "contracts/ContractRecordWindow.h"
#include "plans/Frm合同到期提醒.h"
#include "plans/frm合同到期处理.h"
#include "plans/frm合同履行计划.h"
#include "plans/frm合同收付款计划设置.h"

namespace corvane::plans {

namespace {

// Each window lives while it is shown: a fresh one for every opening, gone
// when its modal run ends.
template <class T>
T* freshWindow()
{
    Forms::unload<T>();
    return Forms::get<T>();
}

template <class T>
void runAndUnload(T* w)
{
    w->ShowModal();
    Forms::unload<T>();
}

void openInstalmentPlan(const contract::InstalmentPlanHandover& h)
{
    auto* w = freshWindow<frm合同收付款计划设置>();
    w->takeHandover(h);
    runAndUnload(w);
}

void openPerformancePlanEditing(const contract::PerformancePlanEditHandover& h)
{
    auto* w = freshWindow<frm合同履行计划>();
    w->Text4[0]->setText(h.Text4_0);
    w->Text4[1]->setText(h.Text4_1);
    w->Tag = h.mode;
    runAndUnload(w);
}

void openPerformancePlanChecks(const contract::PerformancePlanHandover& h)
{
    auto* w = freshWindow<frm合同履行计划>();
    w->setCaption(h.caption);
    w->Text4[0]->setText(h.number);
    w->Text4[1]->setText(h.name);
    w->Tag = h.mode;
    runAndUnload(w);
}

void openExpiry(const contract::ExpiryHandover& h)
{
    auto* w = freshWindow<frm合同到期处理>();
    w->takeHandover(h.number, h.name, h.id);
    runAndUnload(w);
}

}  // namespace

void registerPlanWindows()
{
    contract::recordWindowSeams().frm合同收付款计划设置 = openInstalmentPlan;
    contract::recordWindowSeams().frm合同履行计划 = openPerformancePlanEditing;
    contract::contractHandovers().frm合同履行计划 = openPerformancePlanChecks;
    contract::contractHandovers().frm合同到期处理 = openExpiry;
    mainWindowHooks().Frm合同到期提醒 = [] { return static_cast<Form*>(Forms::get<Frm合同到期提醒>()); };
}

}  // namespace corvane::plans
