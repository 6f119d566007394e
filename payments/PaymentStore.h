#pragma once
// Everything the payment window reads and writes: the instalments it pays,
// the lookups of its fields, the budget balance, the approval path and the
// reimbursement form with its payment records. Windows call these; only
// these call db/. Each takes the connection to work on (the login
// connection unless told otherwise), so two workstations can be tried at once.

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <optional>
#include <utility>
#include <vector>

#include "app/Decimal.h"
#include "db/Connection.h"
#include "db/Sql.h"
#include "payments/PaymentRules.h"

namespace corvane::payments {

// ---- Lookups of the payment fields

struct Category {
    qint64 id = 0;
    QString 类别;
};
// 科目类别 by 类别.
DbResult<std::vector<Category>> expenseCategories();

struct SubjectDefaults {
    QString 科目名称, 费用类别;
};
DbResult<std::optional<SubjectDefaults>> subjectDefaults(const QString& code);

// The line of an approved plan of the department and year for the subject
// (the first plan by number when several are approved).
struct BudgetLine {
    QString 计划编号;
    bool 有公式 = false;
    bool 有数据代号 = false;
};
DbResult<std::optional<BudgetLine>> budgetLine(const QSqlDatabase& db, const QString& department, int year,
                                               const QString& subject);
DbResult<std::optional<BudgetLine>> budgetLine(const QString& department, int year, const QString& subject);

struct PayeeAccount {
    QString 开户银行, 银行帐号;
};
DbResult<std::optional<PayeeAccount>> payeeAccount(const QString& payee);

struct Handler {
    QString 工号, 姓名;
};
// Every post of the department joined to its holder, whatever its dates.
DbResult<std::vector<Handler>> handlersOf(const QString& department);

// The handler's first bank card (by ID); NULL columns stay NULL.
struct Card {
    QVariant 银行, 卡名, 卡号;
};
DbResult<std::optional<Card>> cardOf(const QString& 工号);

// ---- Instalments

// The contract whose plan a contract pays: its main contract when it is a
// supplement merged into it, otherwise itself; empty when there is no such contract.
DbResult<QString> planContractOf(const QString& number);

struct PayableInstalment {
    qint64 id = 0;
    std::optional<QDate> date;
    QString dateText;  // "yyyy-MM-dd", "" without a date
    Decimal amount;
    Decimal paid;  // valid payment records
};
// The instalments of the contract and of every supplement merged into it, by
// due date; the paid sums are taken for these instalments only.
DbResult<std::vector<PayableInstalment>> payableInstalments(const QString& planContract);
// The statement payableInstalments runs, binding the plan contract twice.
QString payableInstalmentsSql(Dialect d);

// ---- Budget balance

// 计算预算余额: the balance of the plan's line for the subject up to the month
// (1 to 12) of the year, from its five sources, in one statement.
DbResult<Decimal> 计算预算余额(const QSqlDatabase& db, const QString& plan, const QString& subject, int year, int month,
                               const QString& department);
DbResult<Decimal> 计算预算余额(const QString& plan, const QString& subject, int year, int month,
                               const QString& department);
// That one statement and its bound values.
std::pair<QString, QVariantList> budgetBalanceStatement(const QString& plan, const QString& subject, int year, int month,
                                                       const QString& department);

// 检查预算余额: the balance text for 当前余额 and whether the amount fits.
struct BudgetCheck {
    bool fits = false;
    QString balanceText;  // "0" without a plan, otherwise "#0.00"
};
DbResult<BudgetCheck> 检查预算余额(const QSqlDatabase& db, const QString& subject, Decimal amount,
                                   const QString& yearMonth, const QString& department);
DbResult<BudgetCheck> 检查预算余额(const QString& subject, Decimal amount, const QString& yearMonth,
                                   const QString& department);

// The budget operations of the reimbursement programs that no control here
// uses: whether a detail line's attachments add up to an amount; the budget
// of a subject up to a month (plan, adjustments, income with expense credits
// negative); the spending on a subject over all years; and the four figures
// of a budget row (budget, spent, spent with this amount, left).
DbResult<bool> 附件金额合计(qint64 detailId, Decimal amount);
DbResult<Decimal> 预算金额(const QString& plan, int month, const QString& subject, const QString& department, int year);
DbResult<Decimal> 已用预算金额(const QString& subject, const QString& department);
struct BudgetRowFigures {
    Decimal budget, spent, withThis, left;
};
DbResult<BudgetRowFigures> 填写预算情况数据(const QString& subject, Decimal amount, const QString& department,
                                            const QDate& today);

// ---- Approval path

// 获取部门类别: the department's category code; no value when there is no such department.
DbResult<std::optional<QString>> 获取部门类别(const QString& department);

struct PathStep {
    int 序号 = 0;
    QString 部门代号, 岗位代号;
};
struct PathLookup {
    enum Kind { Found, NoRule, NoHead, NoSteps };
    Kind kind = NoRule;
    QString 审批路径代号;
    std::vector<PathStep> steps;
};
// 获取审批路径: the first rule (by ID) of the category, expense category and
// amount (bounds inclusive); its head post first when it asks for one (the
// first post by code in force on the server date); then its steps by ID.
DbResult<PathLookup> 获取审批路径(const QString& category, const QString& expenseCategory, Decimal amount,
                                  const QString& department, const QDate& serverDate);

// ---- The reimbursement form

// A row of the instalment grid as the save needs it.
struct GridInstalment {
    std::optional<qint64> id;      // empty: not an instalment yet
    Decimal planAmount;            // column 3
    bool chosen = false;           // check mark in column 1
    std::optional<Decimal> share;  // column 6, when not empty
};
// A listed file, already read whole.
struct StoredFile {
    bool picture = false;
    QString 后缀;
    QByteArray content;
    QByteArray icon;  // pictures only
};
struct PaymentRequest {
    QString contractNumber, contractName;
    Decimal amount;
    QString invoice;  // trimmed by the save; NULL when empty
    QString payee, payeeBank, payeeAccount;
    QString userDepartment;      // the form number's department (Text8's tag)
    QString department;          // the contract's department (部门代号)
    QString departmentCategory;  // 部门类别编号
    QString subject;
    QDate paymentDate;
    QString 付款方式;
    bool cash = false;
    Card card;
    QString 报销类型, 报销费用类别;
    QString handlerName;
    QString operatorCode;
    QDateTime now;
    // Re-checked under the lock: the month "YYYY-MM" of the budget, when 报销类型 is "预算".
    std::optional<QString> budgetMonth;
    std::vector<GridInstalment> rows;
    std::vector<StoredFile> files;
    QString pathCode;
    std::vector<PathStep> steps;
};
struct FormSaveOutcome {
    enum Kind { Saved, BudgetRefused, OverBalance, InstalmentGone, Failed };
    Kind kind = Failed;
    qint64 formId = 0;
    QString formNumber;
    std::vector<std::optional<qint64>> rowIds;  // by grid row, new instalments included
    QString balanceText;                        // BudgetRefused: 当前余额
    DbError error;
};
// 保存报销单 and 保存审批信息 as one transaction under the form-number lock:
// the budget and each chosen instalment's outstanding amount are checked
// again from the stored rows first; then new instalments, the form with its
// line, attachment row and files, the payment records with the lowered
// balances, and the submitted approval path. Nothing stays unless all of it does.
FormSaveOutcome 保存报销单(const QSqlDatabase& db, const PaymentRequest& request);
FormSaveOutcome 保存报销单(const PaymentRequest& request);

// ---- Subjects of the picker

// The statement of the picker by 报销类型 and the mode of its 退出 tag
// ("分摊单" or another text); an unknown 报销类型 lists nothing.
DbResult<std::vector<SubjectRow>> allowedSubjects(const QString& department, const QString& 报销类型,
                                                  const QString& 类别, const QString& mode, const QDate& today);
DbResult<std::optional<SubjectRow>> subjectByCode(const QString& code);

}  // namespace corvane::payments
