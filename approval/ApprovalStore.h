#pragma once
// Everything contract approval reads or writes: the type's route template,
// the posts offered for a step, the contract's own route (合同实际流转路径设置)
// and circulation records (合同流转信息表), the claim of a submission, the
// progress lists and the department tree of the route editor.

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "approval/ApprovalRules.h"
#include "contracts/ContractStore.h"
#include "db/Sql.h"

namespace corvane::approval {

using contract::WriteOutcome;

// ---- The type and its template

struct TypeSettings {
    bool 单级流转 = false;
    bool 部门主管审批 = false;
};
// No value inside when the type does not exist.
DbResult<std::optional<TypeSettings>> typeSettings(const QString& typeCode);

struct HeadPost {
    QString 岗位代号, 岗位名称, 姓名;
};
// The department's valid head post (the lowest code when several).
DbResult<std::optional<HeadPost>> headPostOf(const QString& departmentCode);

// The type's template in step order.
DbResult<std::vector<TemplateStep>> templateSteps(const QString& typeCode);

// A template step with the names the countersign window shows; steps whose
// department or post is unknown are left out.
struct ProposedStep {
    QString 部门编号, 职能部门名称, 岗位编号, 岗位名称, 姓名;
    bool 决策权 = false;
};
DbResult<std::vector<ProposedStep>> proposedSteps(const QString& typeCode);

// A SystemSetup value: no value inside when the row is missing, "" for NULL.
DbResult<std::optional<QString>> setupValue(const QString& code);

// The posts of a department (ended ones too when `activeOnly` is false) by code.
struct PostEntry {
    QString 岗位代号, 岗位名称, 姓名;
};
DbResult<std::vector<PostEntry>> postsOf(const QString& departmentCode, bool activeOnly);

// ---- Submission

// Which contract: by id when known, otherwise by number.
struct ContractKey {
    std::optional<qint64> id;
    QString number;
};

// Direct approval of a contract not yet submitted: submitted and approved on
// `today`. NoRow when someone submitted it meanwhile.
WriteOutcome approveDirectly(const QSqlDatabase& db, const ContractKey& contract, const QDate& today);
WriteOutcome approveDirectly(const ContractKey& contract, const QDate& today);

struct CountersignStep {
    QString 部门编号, 岗位编号;
    int 决策权 = 0;
    int 环节序号 = 0;
};
struct CountersignSubmission {
    ContractKey contract;
    std::vector<CountersignStep> steps;
    bool parallel = false;
    QDateTime now;
};
// Claims the contract (NoRow when already submitted), appends the route and
// the circulation records due at once, and puts it into 审批中: all or nothing.
WriteOutcome submitCountersign(const QSqlDatabase& db, const CountersignSubmission& s);
WriteOutcome submitCountersign(const CountersignSubmission& s);

// ---- Progress lists

DbResult<std::vector<Delivery>> deliveriesOf(const QString& documentNumber);
DbResult<std::vector<CountersignRecord>> countersignRecordsOf(const QString& contractNumber);

// ---- Route editor

// A department with its open superior link ("" when none); a department with
// several open links comes once per link, the lowest superior code first.
struct DepartmentLink {
    QString code, name, superior;
    bool 发票领用 = false;
};
// Every active department whose links have not all ended, by code; `row`
// reads the columns 0 code, 1 name, 2 superior, 3 发票领用. The error that
// stopped it, or an empty one.
DbError readDepartmentLinks(const std::function<void(const Statement&)>& row);
DbResult<std::vector<DepartmentLink>> departmentLinksOf(const QString& code);

struct RouteRow {
    qint64 id = 0;
    QString 部门编号, 职能部门名称, 岗位编号, 岗位名称;
    bool 决策权 = false;
    int 环节序号 = 0;
    bool 单级流转 = false;
};
DbResult<std::vector<RouteRow>> routeOf(const QString& contractNumber);
// The 单级流转 of the contract's first route row; no value inside when it has none.
DbResult<std::optional<bool>> routeKind(const QString& contractNumber);

struct AddedStep {
    WriteOutcome outcome;
    qint64 id = 0;
    int 环节序号 = 0;
};
// A parallel step (环节序号 0, with its circulation record) or a sequential
// one after the last stored step.
AddedStep addRouteStep(const QString& contractNumber, const QString& department, const QString& post, bool decides,
                       bool parallel);
// The parallel step and the undecided circulation records of its post.
WriteOutcome deleteParallelStep(qint64 id, const QString& contractNumber, const QString& post);
// The sequential step still numbered `order`, and the later steps moved up.
WriteOutcome deleteSequentialStep(qint64 id, const QString& contractNumber, int order);
// Two steps exchange their numbers, each only while it still has the number
// the list showed.
WriteOutcome swapSteps(qint64 id, int order, qint64 otherId, int otherOrder);

// Every (table, column) the store names, for the schema test.
std::vector<std::pair<QString, QString>> columnsNamedByStore();

}  // namespace corvane::approval
