#include "statistics/DepartmentTreeView.h"

#include <QApplication>
#include <QStyle>

#include "app/LoginContext.h"
#include "app/frmToExcel.h"
#include "platform/Services.h"
#include "statistics/StatisticsStore.h"

namespace corvane::statistics {

void addDepartmentNodes(QTreeWidget* tree, const std::vector<TreeNode>& list, QHash<QString, QTreeWidgetItem*>& nodes)
{
    const QIcon icon = tree->style()->standardIcon(QStyle::SP_DirIcon);
    for (const TreeNode& n : list) {
        if (nodes.contains(n.key())) continue;
        QTreeWidgetItem* parent = n.parentCode.isEmpty() ? nullptr : nodes.value(QStringLiteral("$") + n.parentCode);
        if (!n.parentCode.isEmpty() && !parent) continue;
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree);
        item->setText(0, n.text());
        item->setData(0, Qt::UserRole, n.key());
        item->setIcon(0, icon);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(0, Qt::Unchecked);
        nodes.insert(n.key(), item);
    }
}

bool loadDepartmentScope(QTreeWidget* tree, QHash<QString, QTreeWidgetItem*>& nodes, const TreeLoadRules& rules,
                         bool* companyScope)
{
    auto report = [&](const DbError& e, bool standard) {
        if (standard)
            ShowStandardError(e.number, e.description);
        else
            ShowDescriptionError(e.description);
        return false;
    };
    if (companyScope) *companyScope = false;
    const auto right = hasSpecialRight(Login().当前部门编号, Login().当前岗位代号);
    if (!right) return report(right.error(), rules.standardBoxForScopeAndTree);
    if (companyScope) *companyScope = *right;

    auto whole = [&](const DbResult<std::vector<TreeNode>>& list) {
        if (!list) return report(list.error(), rules.standardBoxForScopeAndTree);
        if (rules.clearBeforeWholeTree) {
            tree->clear();
            nodes.clear();
        }
        addDepartmentNodes(tree, *list, nodes);
        return true;
    };
    if (*right) return whole(wholeDepartmentTree(rules.order));

    bool wholeTree = false;
    const auto scoped =
        scopedDepartmentTree(Login().当前部门编号, Login().当前部门名称, rules.order, &wholeTree);
    if (wholeTree) return whole(scoped);
    if (!scoped) return report(scoped.error(), false);
    addDepartmentNodes(tree, *scoped, nodes);
    return true;
}

std::vector<QTreeWidgetItem*> allItems(QTreeWidget* tree)
{
    std::vector<QTreeWidgetItem*> out;
    std::vector<QTreeWidgetItem*> stack;
    for (int i = tree->topLevelItemCount() - 1; i >= 0; --i) stack.push_back(tree->topLevelItem(i));
    while (!stack.empty()) {
        QTreeWidgetItem* item = stack.back();
        stack.pop_back();
        out.push_back(item);
        for (int i = item->childCount() - 1; i >= 0; --i) stack.push_back(item->child(i));
    }
    return out;
}

QStringList tickedDepartments(QTreeWidget* tree)
{
    QStringList codes;
    for (QTreeWidgetItem* item : allItems(tree))
        if (item->checkState(0) == Qt::Checked) codes << item->data(0, Qt::UserRole).toString().mid(1);
    return codes;
}

void handGridToExcel(FlexGrid* grid, const QString& title, const QString& tag)
{
    auto* excel = Forms::get<frmToExcel>();
    FlexGrid* list = excel->Grid1;
    // Columns an earlier export left beyond this grid's go.
    list->setCols(2);
    list->setCols(grid->Cols());
    for (int c = 0; c < grid->Cols(); ++c) {
        list->setTextMatrix(0, c, grid->TextMatrix(0, c));
        list->setFixedAlignment(c, grid->FixedAlignment(c));
        list->setTextMatrix(1, c, QStringLiteral("√"));
        list->setColWidth(c, grid->ColWidth(c));
    }
    excel->setGrid(grid);
    excel->Text1[1]->setText(title);
    excel->Text1[2]->setText(title);
    excel->Tag = tag;
    excel->ShowModal();
}

}  // namespace corvane::statistics
