#pragma once
// The start-up synchronisation: finished sign-off documents carried back into
// their waiting contracts, one client at a time.

#include <QSqlDatabase>

#include "db/Sql.h"

namespace corvane::approval {

// 行政合同审批同步: the error that stopped the run (the busy flag is put back
// to '0' all the same), or an empty one. Another client holding the flag is
// no error: nothing is read or written.
DbError 行政合同审批同步(const QSqlDatabase& db);
DbError 行政合同审批同步();

}  // namespace corvane::approval
