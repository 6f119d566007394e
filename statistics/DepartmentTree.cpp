#include "statistics/DepartmentTree.h"

#include <QHash>
#include <QSet>
#include <algorithm>

namespace corvane::statistics {

std::vector<TreeNode> wholeTree(std::vector<DepartmentEntry> entries, SiblingOrder order)
{
    std::stable_sort(entries.begin(), entries.end(), [order](const DepartmentEntry& a, const DepartmentEntry& b) {
        if (order == SiblingOrder::LengthThenCode && a.code.size() != b.code.size()) return a.code.size() < b.code.size();
        return a.code < b.code;
    });

    // Children of each superior, in sibling order; a code's first entry wins.
    QHash<QString, std::vector<int>> children;
    std::vector<int> tops;
    QSet<QString> seen;
    seen.reserve(int(entries.size()));
    for (int i = 0; i < int(entries.size()); ++i) {
        const DepartmentEntry& e = entries[size_t(i)];
        if (seen.contains(e.code)) continue;
        seen.insert(e.code);
        if (e.superior.isEmpty())
            tops.push_back(i);
        else
            children[e.superior].push_back(i);
    }

    std::vector<TreeNode> out;
    out.reserve(entries.size());
    QSet<QString> placed;
    // Depth first without recursion: a deep hierarchy cannot exhaust the stack.
    std::vector<std::pair<int, QString>> stack;
    for (auto it = tops.rbegin(); it != tops.rend(); ++it) stack.emplace_back(*it, QString());
    while (!stack.empty()) {
        const auto [index, parent] = stack.back();
        stack.pop_back();
        const DepartmentEntry& e = entries[size_t(index)];
        if (placed.contains(e.code)) continue;
        placed.insert(e.code);
        out.push_back({e.code, e.name, parent});
        const auto found = children.constFind(e.code);
        if (found == children.constEnd()) continue;
        for (auto c = found->rbegin(); c != found->rend(); ++c) stack.emplace_back(*c, e.code);
    }
    return out;
}

ScopeKind chooseScope(bool specialRight, const QString& category)
{
    if (specialRight) return ScopeKind::WholeTree;
    const QString c = category.trimmed();
    if (c == QStringLiteral("职能部门")) return ScopeKind::WholeTree;
    if (c == QStringLiteral("分公司区域")) return ScopeKind::ManagedProjects;
    return ScopeKind::OwnDepartment;
}

std::vector<TreeNode> scopedTree(ScopeKind kind, const QString& ownCode, const QString& ownName,
                                 const std::vector<ManagedProject>& projects)
{
    std::vector<TreeNode> out;
    const TreeNode own{ownCode, ownName, QString()};
    if (kind == ScopeKind::OwnDepartment) {
        out.push_back(own);
        return out;
    }
    if (kind != ScopeKind::ManagedProjects) return out;
    QSet<QString> seen{ownCode};
    for (const ManagedProject& p : projects) {
        const QString code = p.code.trimmed();
        if (code.isEmpty() || seen.contains(code)) continue;
        seen.insert(code);
        if (out.empty()) out.push_back(own);
        out.push_back({code, p.name.trimmed(), ownCode});
    }
    return out;
}

}  // namespace corvane::statistics
