#include "statistics/Registration.h"

#include "app/MainWindowHooks.h"
#include "statistics/frm合同收付款统计.h"
#include "statistics/frm合同汇总统计.h"

namespace corvane::statistics {

void registerStatisticsWindows()
{
    mainWindowHooks().frm合同汇总统计 = [] { return static_cast<Form*>(Forms::get<frm合同汇总统计>()); };
    mainWindowHooks().frm合同收付款统计 = [] { return static_cast<Form*>(Forms::get<frm合同收付款统计>()); };
}

}  // namespace corvane::statistics
