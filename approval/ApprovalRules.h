#pragma once
// Rules of contract approval that need no window: the submission route, the
// rows of the progress lists and their heights.

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

namespace corvane::approval {

// One step of a contract's approval route.
struct RouteStep {
    int 环节序号 = 0;
    QString 部门编号;
    QString 岗位编号;
    int 决策权 = 0;
    friend bool operator==(const RouteStep&, const RouteStep&) = default;
};

// A step of a type's route template as stored.
struct TemplateStep {
    QString 部门编号;
    QString 岗位编号;
    bool 决策权 = false;
    int 环节序号 = 0;
};

// 会签路径: the head's step first when one was found, then the template in
// its order. The template's numbers move up by one whenever the type asks
// for the head, found or not, so the numbering never depends on who holds
// the head's post today.
std::vector<RouteStep> 会签路径(bool headFlag, const QString& headDepartment, const std::optional<QString>& headPost,
                               const std::vector<TemplateStep>& steps);

// The text before the first blank (the whole text when it has none), and the
// text after it (the whole text when it has none): how codes and names share
// one box.
QString codeOf(const QString& text);
QString nameAfterCode(const QString& text);

// ---- Progress lists

// A delivery of a sign-off document as the list reads it.
struct Delivery {
    QString 部门名称, 岗位名称, 查阅人姓名, 持有人姓名;
    QString 回复日期, 回复内容;  // empty when not answered
    bool 同意 = false;
    bool hasAppendedOrder = false;  // 附加顺序 set
    bool 公开 = false;
};
// Whether the administrative list shows the delivery: a step added in the
// outside program only when it is made public.
bool listed(const Delivery& d);
// Columns 1 to 5 of a listed delivery.
QStringList deliveryCells(const Delivery& d);

// A countersign record as the list reads it.
struct CountersignRecord {
    QString 部门名称, 岗位名称, 审批人, 持有人姓名;
    QString 日期, 意见;   // empty when NULL
    std::optional<bool> 同意;  // no value when NULL
};
QStringList countersignCells(const CountersignRecord& r);

// The height (twips) a reply needs in a column `columnWidth` twips wide, or
// no value when `minimum` already suffices: one line per CR LF line, more
// for a line wider than the column, each line `lineHeight` high, plus 300.
using WidthOf = std::function<double(const QString&)>;
std::optional<int> replyRowHeight(const QString& reply, int columnWidth, const WidthOf& width, double lineHeight,
                                  int minimum);

}  // namespace corvane::approval
