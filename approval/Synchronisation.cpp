#include "approval/Synchronisation.h"

#include "approval/SignOffStore.h"
#include "platform/Services.h"

namespace corvane::approval {

SyncOutcome 行政合同审批同步(const QSqlDatabase& db)
{
    DbError error;
    switch (claimSyncFlag(db, Now(), &error)) {
    case FlagClaim::Held: return {{}, kSyncElsewhere};
    case FlagClaim::Failed: return {error, {}};
    case FlagClaim::Claimed: break;
    }
    WaitCursor wait;
    // Whatever ends the run, the next start of any client may synchronise.
    auto finish = [&](DbError result) {
        const DbError released = releaseSyncFlag(db);
        return SyncOutcome{result.isValid() ? result : released, {}};
    };
    const auto documents = finishedDocuments(db);
    if (!documents) return finish(documents.error());
    return finish(carryBack(db, *documents));
}

SyncOutcome 行政合同审批同步() { return 行政合同审批同步(DbConnection()); }

}  // namespace corvane::approval
