#pragma once
// What the voucher reads of a reimbursement form, the approvers it names,
// and the print date it stamps on the forms of a finished print job.

#include <QDate>
#include <QSqlDatabase>
#include <QString>
#include <vector>

#include "db/Connection.h"
#include "db/Sql.h"
#include "payments/VoucherLayout.h"

namespace corvane::payments {

// The voucher of form `formId` (company name left empty): the header with
// its department name (empty when the department has no row), the detail
// lines by ID (a line whose subject is missing shows an empty name and
// counts), and the dated approval steps, latest first, with their names.
// A form that does not exist is an error. A name that cannot be read is left
// empty and its error added to `unreadNames`; the voucher goes on.
DbResult<VoucherData> voucherData(qint64 formId, std::vector<DbError>& unreadNames);

// The department's name (kind 1), or the holder of a post on a "yyyy-MM-dd"
// date (kind 2; the one who entered it first; any current holder when the
// date is empty). Empty when nothing is found or for any other kind.
DbResult<QString> GetApproverName(const QString& code, int kind, const QString& date);

// 凭证打印日期 of every form, in one transaction; NoRow when a form is gone.
enum class StampOutcome { Done, NoRow, Failed };
StampOutcome stampPrinted(const std::vector<qint64>& formIds, const QDate& day, DbError* error = nullptr);

}  // namespace corvane::payments
