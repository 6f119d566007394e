#pragma once
// What both statistics windows do with their department tree view: fill it
// for the logged-in user's scope, read the ticked departments, and hand a
// grid to the Excel export window.

#include <QHash>
#include <QStringList>
#include <QTreeWidget>
#include <vector>

#include "platform/FlexGrid.h"
#include "statistics/DepartmentTree.h"

namespace corvane::statistics {

// Where the two windows differ in loading their trees.
struct TreeLoadRules {
    SiblingOrder order;
    bool clearBeforeWholeTree;        // the instalment window empties the tree first
    bool standardBoxForScopeAndTree;  // errors of the scope test and the whole tree in the standard box
};

// Adds checkable nodes (key "$" + code in the item's data, text "code name"),
// each under its parent's node; `nodes` gets every key.
void addDepartmentNodes(QTreeWidget* tree, const std::vector<TreeNode>& list, QHash<QString, QTreeWidgetItem*>& nodes);

// Fills the tree for the logged-in user: the whole tree with the special
// right, otherwise the scoped tree. Reports what fails as `rules` say and
// keeps the nodes added so far. *companyScope tells whether the special
// right was found. False when something failed.
bool loadDepartmentScope(QTreeWidget* tree, QHash<QString, QTreeWidgetItem*>& nodes, const TreeLoadRules& rules,
                         bool* companyScope = nullptr);

// The department codes of the ticked nodes, in node order.
QStringList tickedDepartments(QTreeWidget* tree);

// Every item of the tree, depth first (the old tree's node order).
std::vector<QTreeWidgetItem*> allItems(QTreeWidget* tree);

// The export window filled with the grid, every column marked, under the
// title (also the sheet's name) and the subtitle `tag`; shown modally.
void handGridToExcel(FlexGrid* grid, const QString& title, const QString& tag = QString());

}  // namespace corvane::statistics
