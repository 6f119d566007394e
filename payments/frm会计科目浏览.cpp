#include "payments/frm会计科目浏览.h"

#include <QHash>
#include <QLabel>

#include "app/Helpers.h"
#include "payments/SubjectBrowserLayout.h"
#include "payments/SubjectConversion.h"
#include "platform/Services.h"
#include "platform/Widgets.h"

namespace corvane {

using namespace payments;

namespace {
constexpr int kKeyRole = Qt::UserRole + 1;
}

frm会计科目浏览::frm会计科目浏览()
{
    buildLayout();
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(TreeView1, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* n) { TreeView1_NodeClick(n); });
    connect(TreeView1, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* n) { TreeView1_Expand(n); });
}

void frm会计科目浏览::buildLayout()
{
    const SubjectBrowserControls c = layOutSubjectBrowser(*this, QStringLiteral("frm会计科目浏览"), QStringLiteral("会计科目浏览"), QStringLiteral("取消"));
    setOwnWindow(true);
    TreeView1 = c.tree;
    Text1 = c.text;
    Command1 = c.choose;
    Command2 = c.close;
}

void frm会计科目浏览::Form_Load()
{
    CenterForm(*this);
    科目树加载();
    if (TreeView1->topLevelItemCount() > 0) {
        QTreeWidgetItem* first = TreeView1->topLevelItem(0);
        TreeView1->setCurrentItem(first);
        TreeView1_NodeClick(first);
    }
}

QTreeWidgetItem* frm会计科目浏览::nodeOf(const QString& key) const
{
    for (QTreeWidgetItemIterator it(TreeView1); *it; ++it)
        if ((*it)->data(0, kKeyRole).toString() == key) return *it;
    return nullptr;
}

void frm会计科目浏览::科目树加载()
{
    TreeView1->clear();
    const auto subjects = allSubjects();
    if (!subjects) {
        reportDbError(subjects.error());
        return;
    }
    const std::vector<BrowserNode> nodes = browserTree(*subjects);
    QHash<QString, QTreeWidgetItem*> items;
    items.reserve(qsizetype(nodes.size()));
    QList<QTreeWidgetItem*> top;
    for (const BrowserNode& n : nodes) {
        auto* item = new QTreeWidgetItem(QStringList{n.text});
        item->setData(0, kKeyRole, n.key);
        items.insert(n.key, item);
    }
    for (const BrowserNode& n : nodes) {
        QTreeWidgetItem* item = items.value(n.key);
        if (QTreeWidgetItem* parent = n.parentKey.isEmpty() ? nullptr : items.value(n.parentKey))
            parent->addChild(item);
        else
            top.push_back(item);
    }
    TreeView1->addTopLevelItems(top);
    TreeView1->collapseAll();
}

void frm会计科目浏览::TreeView1_NodeClick(QTreeWidgetItem* node)
{
    if (!node) return;
    const QStringList words = node->text(0).split(QLatin1Char(' '));
    Text1[0]->setText(words.value(0));
    Text1[1]->setText(words.value(1));
}

void frm会计科目浏览::TreeView1_Expand(QTreeWidgetItem* node)
{
    if (!TreeView1->currentItem()) return;
    TreeView1_NodeClick(node);
}

void frm会计科目浏览::Command1_Click()
{
    if (!TreeView1->currentItem()) return;
    if (m_handBack) m_handBack({Text1[0]->text(), Text1[1]->text()});
    Unload();
}

void frm会计科目浏览::Command2_Click() { Unload(); }

}  // namespace corvane
