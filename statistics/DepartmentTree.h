#pragma once
// The department trees of the statistics windows, as plain data: which
// departments a user sees and where each one hangs. The windows only turn
// the nodes into tree items ("$" + code keys, "code name" texts).

#include <QString>
#include <vector>

namespace corvane::statistics {

// A department as the whole-tree statement reads it: its superior by the
// link of the latest 起始日期, "" for none.
struct DepartmentEntry {
    QString code;
    QString name;
    QString superior;
};

// Siblings by code length, then code (the summary window), or by code
// alone (the instalment window): siblings "2" and "10" come "2", "10" in the
// first and "10", "2" in the second.
enum class SiblingOrder { LengthThenCode, Code };

struct TreeNode {
    QString code;
    QString name;
    QString parentCode;  // "" for a top-level node
    QString key() const { return QStringLiteral("$") + code; }
    QString text() const { return code + QLatin1Char(' ') + name; }
};

// The whole tree, depth first (every parent before its children, siblings
// in `order`). A department whose superior is missing from the list, and
// everything below it, is left out; so are departments whose superiors form
// a cycle. A code that comes twice is shown once, by its first entry.
// Linear in the number of entries (after sorting).
std::vector<TreeNode> wholeTree(std::vector<DepartmentEntry> entries, SiblingOrder order);

enum class ScopeKind {
    WholeTree,        // the special right, or a functional department
    ManagedProjects,  // a branch or region: its managed projects below it
    OwnDepartment,    // anything else, or a department without a row
};
// `category` is the department's 职能部门new.app部门类别 with blanks trimmed,
// "" when it has no row or the category is NULL.
ScopeKind chooseScope(bool specialRight, const QString& category);

// A managed project found for a branch or region.
struct ManagedProject {
    QString code;
    QString name;
};

// The tree of a user without the whole tree: the own department alone, or
// (for a branch or region) the own department with its managed projects one
// level below it, empty when there are none. A project listed twice, or the
// own department among them, is shown once or not at all.
std::vector<TreeNode> scopedTree(ScopeKind kind, const QString& ownCode, const QString& ownName,
                                 const std::vector<ManagedProject>& projects);

}  // namespace corvane::statistics
