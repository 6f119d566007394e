#include "approval/frm合同流转路径修改.h"

#include <QStyle>

#include "approval/ApprovalRules.h"
#include "approval/ApprovalStore.h"
#include "db/Schema.h"
#include "platform/Services.h"
#include "platform/Tag.h"
#include "platform/TextMeasure.h"

namespace corvane {

using namespace approval;

namespace {
const QString kChanged = QStringLiteral("流转路径已被修改，请重新操作！");
constexpr int kIdColumn = 7;
}  // namespace

void frm合同流转路径修改::connectEvents()
{
    connect(Command3, &QToolButton::clicked, this, [this] { Command3_Click(); });
    connect(TreeView1, &QTreeWidget::itemDoubleClicked, this, [this] { TreeView1_DblClick(); });
    connect(Text13, &QLineEdit::textChanged, this, [this] { Text13_Change(); });
    connect(MSFlexGrid1, &FlexGrid::Click, this, [this] { MSFlexGrid1_Click(); });
    connect(Command6, &QPushButton::clicked, this, [this] { Command6_Click(); });
    connect(Command8, &QPushButton::clicked, this, [this] { Command8_Click(); });
    for (int i = 0; i < 2; ++i) connect(Command32[i], &QPushButton::clicked, this, [this, i] { Command32_Click(i); });
}

void frm合同流转路径修改::message(const QString& text) { MsgBox(text, vbInformation, ExeName()); }

void frm合同流转路径修改::Form_Activate()
{
    DataToTreeView();
    显示流转路径();
    const auto kind = routeKind(Tag);
    if (!kind) return reportDbError(kind.error());
    // A contract without route rows is treated as a sequential route.
    const bool parallel = kind->value_or(false);
    Check1->setChecked(parallel);
    Command32[0]->setEnabled(!parallel);
    Command32[1]->setEnabled(!parallel);
}

// ---- department tree

QTreeWidgetItem* frm合同流转路径修改::nodeByKey(const QString& key) const
{
    if (!key.startsWith(QLatin1Char('B'))) return nullptr;
    const auto found = m_departments.constFind(key.mid(1));
    return found != m_departments.constEnd() && *found ? (*found)->node : nullptr;
}

QTreeWidgetItem* frm合同流转路径修改::addNode(QTreeWidgetItem* parent, const QString& code, const QString& name)
{
    if (m_picture.isNull()) m_picture = style()->standardIcon(QStyle::SP_DirIcon);
    auto* node = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem();
    if (!parent) m_pendingRoots.append(node);
    node->setIcon(0, m_picture);
    node->setText(0, code + QLatin1Char(' ') + name);
    return node;
}

frm合同流转路径修改::Department* frm合同流转路径修改::departmentOf(const QString& code)
{
    auto found = m_departments.find(code);
    if (found == m_departments.end()) {
        if (m_linksRead) return nullptr;  // every open link is known already
        const auto links = departmentLinksOf(code);
        if (!links) {
            reportDbError(links.error());
            return nullptr;
        }
        std::optional<Department> d;
        if (!links->empty()) d = Department{links->front().name, links->front().superior, nullptr};
        found = m_departments.insert(code, d);
    }
    return *found ? &**found : nullptr;
}

// The department under its superior, the superior's chain placed first. A
// chain that loops or reaches a department without an open link ends here:
// the department becomes a root.
QTreeWidgetItem* frm合同流转路径修改::hang(const QString& code)
{
    Department* d = departmentOf(code);
    if (!d) return nullptr;
    if (d->node) return d->node;
    QTreeWidgetItem* parent = nullptr;
    const QString superior = d->superior;
    Department* up = superior.isEmpty() ? nullptr : departmentOf(superior);
    if (up && up->node) {
        parent = up->node;
    } else if (up && !up->placing) {
        d->placing = true;
        parent = hang(superior);
        d = departmentOf(code);  // looked up again: the recursion may have read more departments
        d->placing = false;
        // The superior's chain may have come back to this department.
        if (d->node) return d->node;
    }
    d->node = addNode(parent, code, d->name);
    return d->node;
}

void frm合同流转路径修改::addPendingRoots()
{
    TreeView1->addTopLevelItems(m_pendingRoots);
    m_pendingRoots.clear();
}

void frm合同流转路径修改::DataToTreeView()
{
    TreeView1->setUpdatesEnabled(false);
    TreeView1->clear();
    const qsizetype before = m_departments.size();
    m_departments.clear();
    m_departments.reserve(before);
    m_linksRead = false;
    // Every open link is read once; superiors are then found by code.
    std::vector<QString> listed;
    QString previous;
    const DbError error = readDepartmentLinks([&](const Statement& row) {
        QString code = row.value(0).toString();
        // The links of one department come together, its first link first.
        if (code == previous) return;
        previous = code;
        m_departments.insert(code, Department{row.value(1).toString(), row.value(2).toString(), nullptr});
        if (row.value(3).toInt() == 1) listed.push_back(std::move(code));
    });
    if (error.isValid()) {
        TreeView1->setUpdatesEnabled(true);
        return reportDbError(error);
    }
    m_linksRead = true;
    for (const QString& code : listed) hang(code);
    addPendingRoots();
    TreeView1->setUpdatesEnabled(true);
}

void frm合同流转路径修改::寻找上级(const QString& departmentCode)
{
    hang(departmentCode);
    addPendingRoots();
}

void frm合同流转路径修改::Command3_Click() { TreeView1->setVisible(TreeView1->isHidden()); }

void frm合同流转路径修改::TreeView1_DblClick()
{
    const QTreeWidgetItem* node = TreeView1->currentItem();
    if (!node) return;
    Text13->setText(node->text(0));
    TreeView1->hide();
}

void frm合同流转路径修改::Text13_Change()
{
    Combo5->clear();
    const QString text = Text13->text();
    if (text.trimmed().isEmpty()) return;
    const auto posts = postsOf(codeOf(text), true);
    if (!posts) return reportDbError(posts.error());
    for (const PostEntry& p : *posts) Combo5->addItem(p.岗位代号 + QLatin1Char(' ') + p.岗位名称);
    Combo5->setCurrentIndex(-1);
}

// ---- route list

int frm合同流转路径修改::circulatedCount() const { return TagOf(Text13).toInt(); }

void frm合同流转路径修改::widenFor(int row)
{
    for (int c = 0; c <= 6; ++c) {
        const double wanted = TextWidthTwips(font(), MSFlexGrid1->TextMatrix(row, c)) + 90;
        if (wanted > MSFlexGrid1->ColWidth(c)) MSFlexGrid1->setColWidth(c, int(wanted));
    }
}

void frm合同流转路径修改::paintRow(int row)
{
    MSFlexGrid1->setRow(row);
    for (int c = 0; c <= 6; ++c) {
        MSFlexGrid1->setCol(c);
        MSFlexGrid1->setCellBackColor(kCirculated);
    }
}

bool frm合同流转路径修改::currentCellCirculated() const { return MSFlexGrid1->CellBackColor() == kCirculated; }

void frm合同流转路径修改::显示流转路径()
{
    MSFlexGrid1->setRows(1);
    const auto route = routeOf(Tag);
    if (!route) return reportDbError(route.error());
    const int circulated = circulatedCount();
    for (const RouteRow& step : *route) {
        const int r = MSFlexGrid1->Rows();
        MSFlexGrid1->appendRow({QString::number(r), Tag, step.部门编号 + QLatin1Char(' ') + step.职能部门名称,
                                step.岗位编号 + QLatin1Char(' ') + step.岗位名称,
                                step.决策权 ? QStringLiteral("有") : QStringLiteral("无"), QString::number(step.环节序号),
                                step.单级流转 ? QStringLiteral("单级流转") : QStringLiteral("多级流转"),
                                QString::number(step.id)});
        widenFor(r);
        if (circulated >= r) paintRow(r);
    }
    MSFlexGrid1->setRow(MSFlexGrid1->Rows() - 1);
    MSFlexGrid1->setCol(0);
}

void frm合同流转路径修改::selectWholeRow(int row)
{
    MSFlexGrid1->setRow(row);
    MSFlexGrid1->setCol(0);
    MSFlexGrid1->setRowSel(row);
    MSFlexGrid1->setColSel(MSFlexGrid1->Cols() - 1);
}

void frm合同流转路径修改::MSFlexGrid1_Click()
{
    if (MSFlexGrid1->Row() >= 1) selectWholeRow(MSFlexGrid1->Row());
}

// The row leaves the list; the marks of the others stay with their rows.
void frm合同流转路径修改::removeRow(int row)
{
    std::vector<std::vector<QString>> kept;
    std::vector<bool> painted;
    for (int r = 1; r < MSFlexGrid1->Rows(); ++r) {
        if (r == row) continue;
        std::vector<QString> cells;
        for (int c = 0; c < MSFlexGrid1->Cols(); ++c) cells.push_back(MSFlexGrid1->TextMatrix(r, c));
        kept.push_back(std::move(cells));
        painted.push_back(MSFlexGrid1->CellBackColor(r, 0) == kCirculated);
    }
    MSFlexGrid1->setRowsData(std::move(kept));
    for (int r = 1; r < MSFlexGrid1->Rows(); ++r)
        if (painted[size_t(r - 1)]) paintRow(r);
    if (MSFlexGrid1->Rows() > 1) MSFlexGrid1->setRow(std::min(row, MSFlexGrid1->Rows() - 1));
    MSFlexGrid1->setCol(0);
}

void frm合同流转路径修改::Command6_Click()
{
    const QString department = Text13->text().trimmed();
    const QString post = Combo5->currentText().trimmed();
    // A code typed longer than its column can name no department or post.
    const QString table = QStringLiteral("合同实际流转路径设置");
    if (department.isEmpty() || codeOf(department).size() > schema::textLength(table, QStringLiteral("部门编号")))
        return message(QStringLiteral("请选择部门！"));
    if (post.isEmpty() || codeOf(post).size() > schema::textLength(table, QStringLiteral("岗位编号")))
        return message(QStringLiteral("请选择岗位！"));
    for (int r = 1; r < MSFlexGrid1->Rows(); ++r)
        if (MSFlexGrid1->TextMatrix(r, 3) == Combo5->currentText()) return message(QStringLiteral("此岗位信息已存在！"));

    const bool parallel = Check1->isChecked();
    const AddedStep added = addRouteStep(Tag, codeOf(department), codeOf(post), Check2->isChecked(), parallel);
    if (added.outcome.kind != WriteOutcome::Done) return reportDbError(added.outcome.error);

    const int r = MSFlexGrid1->Rows();
    const QString kind = r == 1 ? (parallel ? QStringLiteral("单级流转") : QStringLiteral("多级流转"))
                                : MSFlexGrid1->TextMatrix(1, 6);
    MSFlexGrid1->appendRow({QString::number(r), Tag, department, post,
                            Check2->isChecked() ? QStringLiteral("有") : QStringLiteral("无"),
                            kind == QStringLiteral("单级流转") ? QStringLiteral("0") : QString::number(added.环节序号), kind,
                            QString::number(added.id)});
    widenFor(r);
    MSFlexGrid1->setRow(r);
    MSFlexGrid1->setCol(0);
}

void frm合同流转路径修改::Command8_Click()
{
    const int row = MSFlexGrid1->Row();
    bool numeric = false;
    const qint64 id = row >= 1 ? MSFlexGrid1->TextMatrix(row, kIdColumn).toLongLong(&numeric) : 0;
    if (!numeric) return;

    if (Check1->isChecked()) {
        const WriteOutcome out = deleteParallelStep(id, Tag, codeOf(MSFlexGrid1->TextMatrix(row, 3)));
        if (out.kind == WriteOutcome::Failed) return reportDbError(out.error);
        if (out.kind == WriteOutcome::NoRow) {
            message(kChanged);
            return 显示流转路径();
        }
        removeRow(row);
        for (int r = 1; r < MSFlexGrid1->Rows(); ++r) MSFlexGrid1->setTextMatrix(r, 0, QString::number(r));
        return;
    }
    if (currentCellCirculated()) return message(QStringLiteral("已经流转不能删除！"));
    const WriteOutcome out = deleteSequentialStep(id, Tag, MSFlexGrid1->TextMatrix(row, 5).toInt());
    if (out.kind == WriteOutcome::Failed) return reportDbError(out.error);
    if (out.kind == WriteOutcome::NoRow) {
        message(kChanged);
        return 显示流转路径();
    }
    removeRow(row);
    for (int r = 1; r < MSFlexGrid1->Rows(); ++r) {
        MSFlexGrid1->setTextMatrix(r, 0, QString::number(r));
        MSFlexGrid1->setTextMatrix(r, 5, QString::number(r));
    }
}

void frm合同流转路径修改::Command32_Click(int index)
{
    const int r = MSFlexGrid1->Row();
    if (r < 1 || !Command32[index]->isEnabled()) return;
    if (currentCellCirculated()) return message(QStringLiteral("已经流转不能改变环节序号！"));
    const int s = MSFlexGrid1->TextMatrix(r, 5).toInt();
    const int dataRows = MSFlexGrid1->Rows() - 1;
    const bool up = index == 0;
    int target = 0;
    int other = 0;
    if (up) {
        if (circulatedCount() + 1 >= s) target = circulatedCount() + 1;
        else other = target = r - 1;
    } else {
        if (s >= dataRows) target = s;
        else other = target = r + 1;
    }
    if (other > 0) {
        const WriteOutcome out = swapSteps(MSFlexGrid1->TextMatrix(r, kIdColumn).toLongLong(), s,
                                           MSFlexGrid1->TextMatrix(other, kIdColumn).toLongLong(), up ? s - 1 : s + 1);
        if (out.kind == WriteOutcome::Failed) return reportDbError(out.error);
        if (out.kind == WriteOutcome::NoRow) {
            message(kChanged);
            return 显示流转路径();
        }
    }
    显示流转路径();
    if (MSFlexGrid1->Rows() > 1) selectWholeRow(std::clamp(target, 1, MSFlexGrid1->Rows() - 1));
}

}  // namespace corvane
