#pragma once
// The start-up synchronisation: finished sign-off documents carried back into
// their waiting contracts, one client at a time.

#include <QSqlDatabase>

#include "app/MainWindowHooks.h"
#include "db/Sql.h"

namespace corvane::approval {

// What the status bar says when another workstation is synchronising.
inline const QString kSyncElsewhere = QStringLiteral("审批结果同步正由其他工作站进行");

// 行政合同审批同步: the error that stopped the run (the busy flag is put back
// to '0' all the same), or an empty one. Another client holding the flag is
// no error: nothing is read or written and the status line says so. A flag
// held for longer than any run takes (its client died mid-run) is taken over.
SyncOutcome 行政合同审批同步(const QSqlDatabase& db);
SyncOutcome 行政合同审批同步();

}  // namespace corvane::approval
