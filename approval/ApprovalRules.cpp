#include "approval/ApprovalRules.h"

#include <cmath>

namespace corvane::approval {

std::vector<RouteStep> 会签路径(bool headFlag, const QString& headDepartment, const std::optional<QString>& headPost,
                               const std::vector<TemplateStep>& steps)
{
    std::vector<RouteStep> route;
    if (headFlag && headPost) route.push_back({1, headDepartment, *headPost, 1});
    const int shift = headFlag ? 1 : 0;
    for (const TemplateStep& s : steps)
        route.push_back({s.环节序号 + shift, s.部门编号, s.岗位编号, s.决策权 ? 1 : 0});
    return route;
}

QString codeOf(const QString& text)
{
    const qsizetype blank = text.indexOf(QLatin1Char(' '));
    return blank < 0 ? text : text.left(blank);
}

QString nameAfterCode(const QString& text)
{
    const qsizetype blank = text.indexOf(QLatin1Char(' '));
    return blank < 0 ? text : text.mid(blank + 1);
}

bool listed(const Delivery& d) { return !d.hasAppendedOrder || d.公开; }

QStringList deliveryCells(const Delivery& d)
{
    QString who = d.查阅人姓名;
    if (who.isEmpty()) who = d.持有人姓名;
    if (who.isEmpty()) who = QStringLiteral("空");
    // A delivery not answered yet has no verdict to show.
    const QString verdict =
        d.回复日期.isEmpty() ? QString() : (d.同意 ? QStringLiteral("同意") : QStringLiteral("不同意"));
    return {d.部门名称 + QLatin1Char(' ') + d.岗位名称, who, d.回复日期, d.回复内容, verdict};
}

QStringList countersignCells(const CountersignRecord& r)
{
    const QString who = r.审批人.isEmpty() ? r.持有人姓名 : r.审批人;
    const QString verdict = (!r.日期.isEmpty() && r.同意) ? (*r.同意 ? QStringLiteral("同意") : QStringLiteral("不同意"))
                                                          : QString();
    return {r.部门名称 + QLatin1Char(' ') + r.岗位名称, who, r.日期, r.意见, verdict};
}

std::optional<int> replyRowHeight(const QString& reply, int columnWidth, const WidthOf& width, double lineHeight,
                                  int minimum)
{
    const QStringList lines = reply.split(QStringLiteral("\r\n"));
    qint64 n = lines.size();
    for (const QString& line : lines) {
        const double wide = width(line) + 90;
        if (wide > columnWidth && columnWidth > 0) n += qint64(std::llround(wide)) / columnWidth;
    }
    const double wanted = lineHeight * double(n) + 300;
    if (wanted <= minimum) return std::nullopt;
    return int(std::llround(wanted));
}

}  // namespace corvane::approval
