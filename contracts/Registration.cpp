#include "contracts/Registration.h"

#include "app/MainWindowHooks.h"
#include "contracts/ContractRecordWindow.h"
#include "contracts/frmCorvane.h"

namespace corvane::contract {

void registerContractWindows()
{
    mainWindowHooks().frmCorvane = [] { return static_cast<Form*>(Forms::get<frmCorvane>()); };
    registerContractRecordWindow();
}

}  // namespace corvane::contract
