#pragma once
// What the main window reaches in subsystems built on top of this library
// (contract list, statistics, reminders, approval synchronisation). Those
// libraries depend on this one, so they hand their entry points in at start-up
// instead of the main window naming their classes. A menu whose window is not
// handed in yet keeps its place and its rights and opens nothing.

#include <functional>

#include "db/Sql.h"

namespace corvane {

class Form;

// What the start-up synchronisation came to.
struct SyncOutcome {
    DbError error;   // the database error that stopped it, or an empty one
    QString status;  // a line for the main window's status bar, or ""
};

struct MainWindowHooks {
    // Each gives the window's single instance, loaded (Forms::get<T>()).
    std::function<Form*()> frmCorvane;
    std::function<Form*()> frm合同收付款统计;
    std::function<Form*()> frm合同汇总统计;
    std::function<Form*()> Frm合同到期提醒;
    // The approval outcome synchronisation run once at start-up.
    std::function<SyncOutcome()> 行政合同审批同步;
};

MainWindowHooks& mainWindowHooks();

}  // namespace corvane
