#pragma once
// What the statistics windows read: the department trees and the user's
// scope, the criteria lists, the summary, its drill-down and the
// instalments. Read-only. Each result comes from one statement, whatever
// the number of rows; statementsIssued() counts them, so a run can be held
// to its statements.

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "contracts/ContractLookups.h"
#include "db/Sql.h"
#include "statistics/DepartmentTree.h"
#include "statistics/StatisticsQuery.h"
#include "statistics/StatisticsRules.h"

namespace corvane::statistics {

// Statements run by this store since the program started.
int statementsIssued();

// True when the department and post hold the special right (专项审核权限表,
// 类型 "Corvane"): the whole tree.
DbResult<bool> hasSpecialRight(const QString& department, const QString& post);

// Every active department with the superior named by its link of the latest
// 起始日期 (ended or not), arranged as the whole tree.
DbResult<std::vector<TreeNode>> wholeDepartmentTree(SiblingOrder order);

// The tree of a user without the special right, by the category of the own
// department: the whole tree for a functional department (`*whole` set),
// the managed projects for a branch or region, else the own department.
DbResult<std::vector<TreeNode>> scopedDepartmentTree(const QString& ownCode, const QString& ownName, SiblingOrder order,
                                                     bool* whole = nullptr);

// The types the type tree offers, by code, leases left out: all of them
// with company-wide scope; otherwise the shared ones (公用) and those set up
// for the department (合同使用部门设置). One statement either way.
DbResult<std::vector<contract::ContractType>> typesForTree(bool companyScope, const QString& department);

// Every contract state in use, in order.
DbResult<QStringList> contractStates();
// The counterparties of contracts other than leases, each once, in order;
// only those holding `search` (whatever the letter case) when it is not empty.
DbResult<QStringList> counterparties(const QString& search);

// One category block of a summary run.
DbResult<std::vector<SummaryGroup>> readSummary(const SummaryCriteria& criteria, const QString& category);

// A contract of a drill-down.
struct DetailValues {
    qint64 id = 0;
    QString category, number, name, counterparty, ending, typeName, departmentName, signing, start, state;
    std::optional<qint64> amountCents;
    QString departmentCode;
};
DbError readDetail(const SummaryCriteria& criteria, const DetailGroup& group, const QString& category,
                   const std::function<void(const DetailValues&)>& each);

// The instalments of a tab (see instalmentQuery).
DbError readInstalments(bool receipt, const QStringList& departments, const QDate& from, const QDate& to,
                        const std::function<void(const InstalmentValues&)>& each);

}  // namespace corvane::statistics
