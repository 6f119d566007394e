#include "payments/frm财务科目浏览.h"

#include <QLabel>

#include "app/Helpers.h"
#include "payments/PaymentStore.h"
#include "payments/SubjectBrowserLayout.h"
#include "platform/Services.h"
#include "platform/Widgets.h"

namespace corvane {

using namespace payments;

namespace {
constexpr int kKeyRole = Qt::UserRole + 1;
}

frm财务科目浏览::frm财务科目浏览()
{
    buildLayout();
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(TreeView1, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* n) { TreeView1_NodeClick(n); });
}

void frm财务科目浏览::buildLayout()
{
    const SubjectBrowserControls c = layOutSubjectBrowser(*this, QStringLiteral("frm财务科目浏览"), QStringLiteral("财务科目浏览"), QStringLiteral("退出"));
    TreeView1 = c.tree;
    Text1 = c.text;
    Command1 = c.choose;
    Command2 = c.close;
}

void frm财务科目浏览::Form_Load() { CenterForm(*this); }

void frm财务科目浏览::Form_Activate()
{
    预算科目列表();
    if (Command1_Tag != QStringLiteral("合同付款") || !TreeView1_Tag.isEmpty() || currentSubject.isEmpty()) return;
    if (QTreeWidgetItem* node = nodeOf(subjectKey(currentSubject))) {
        TreeView1->setCurrentItem(node);
        TreeView1->scrollToItem(node);
    }
}

QTreeWidgetItem* frm财务科目浏览::nodeOf(const QString& key) const
{
    for (QTreeWidgetItemIterator it(TreeView1); *it; ++it)
        if ((*it)->data(0, kKeyRole).toString() == key) return *it;
    return nullptr;
}

void frm财务科目浏览::预算科目列表()
{
    const auto allowed = allowedSubjects(Tag, Text1_0_Tag, Text1_1_Tag, Command2_Tag, Today());
    if (!allowed) {
        reportDbError(allowed.error());
        return;
    }
    DbError lookupError;
    const auto lookup = [&lookupError](const QString& code) -> std::optional<SubjectRow> {
        if (lookupError.isValid()) return std::nullopt;
        const auto s = subjectByCode(code);
        if (!s) {
            lookupError = s.error();
            return std::nullopt;
        }
        return *s;
    };
    const std::vector<SubjectNode> nodes = buildSubjectTree(*allowed, lookup);
    if (lookupError.isValid()) reportDbError(lookupError);
    // The tree keeps what earlier activations put in it: a node is added once.
    for (const SubjectNode& n : nodes) {
        if (nodeOf(n.key)) continue;
        QTreeWidgetItem* parent = n.parentKey.isEmpty() ? nullptr : nodeOf(n.parentKey);
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(TreeView1);
        item->setText(0, n.text);
        item->setData(0, kKeyRole, n.key);
    }
}

void frm财务科目浏览::TreeView1_NodeClick(QTreeWidgetItem* node)
{
    if (!node) return;
    if (node->childCount() > 0) {
        Text1[0]->clear();
        Text1[1]->clear();
        return;
    }
    Text1[0]->setText(subjectCodeOf(node->text(0)));
    Text1[1]->setText(subjectNameOf(node->text(0)));
}

void frm财务科目浏览::Command1_Click()
{
    QTreeWidgetItem* node = TreeView1->currentItem();
    // A group subject is no subject to book on: nothing is handed back for it.
    if (!node || node->childCount() > 0 || Text1[0]->text().isEmpty()) return;
    if (m_handBack) m_handBack({Text1[0]->text(), Text1[1]->text()});
    Unload();
}

void frm财务科目浏览::Command2_Click() { Unload(); }

}  // namespace corvane
