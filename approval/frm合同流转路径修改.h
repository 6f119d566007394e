#pragma once
// Editing the actual approval route of one submitted contract: steps added,
// deleted and, in a sequential route, moved. The window's Tag is the
// contract number and the tag of Text13 the number of leading steps that
// have already circulated.

#include <QCheckBox>
#include <QComboBox>
#include <QHash>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QToolButton>
#include <QTreeWidget>
#include <array>
#include <optional>

#include "platform/FlexGrid.h"
#include "platform/Forms.h"

namespace corvane {

class frm合同流转路径修改 : public Form {
public:
    frm合同流转路径修改();

    // The mark of a step that has already circulated.
    static inline const QColor kCirculated = QColor(200, 190, 250);

    QLabel* Label21;
    QLineEdit* Text13;      // department "code name"
    QToolButton* Command3;  // shows or hides the tree
    QTreeWidget* TreeView1;
    QLabel* Label22;
    QComboBox* Combo5;      // posts of the department
    QCheckBox* Check2;      // 决策权
    QCheckBox* Check1;      // 单级流转, set from the stored route
    QLabel* Label23;
    QLineEdit* Text14;  // 环节序号
    QPushButton* Command6;  // 添加
    QPushButton* Command8;  // 删除
    std::array<QPushButton*, 2> Command32{};  // ↑ ↓
    FlexGrid* MSFlexGrid1;

    void Form_Activate() override;

    void DataToTreeView();
    void 寻找上级(const QString& departmentCode);
    // The tree node of a department ("B" + code), nullptr when not in the tree.
    QTreeWidgetItem* nodeByKey(const QString& key) const;

    void Command3_Click();
    void TreeView1_DblClick();
    void Text13_Change();
    void MSFlexGrid1_Click();
    void Command6_Click();
    void Command8_Click();
    void Command32_Click(int index);

private:
    // A department with its first open link, and its node once in the tree.
    struct Department {
        QString name, superior;
        QTreeWidgetItem* node = nullptr;
        bool placing = false;  // its chain of superiors is being placed
    };
    void connectEvents();
    void 显示流转路径();
    int circulatedCount() const;
    void widenFor(int row);
    void paintRow(int row);
    bool currentCellCirculated() const;
    void removeRow(int row);
    void selectWholeRow(int row);
    void message(const QString& text);
    // The department; nullptr when it has no open link.
    Department* departmentOf(const QString& code);
    QTreeWidgetItem* addNode(QTreeWidgetItem* parent, const QString& code, const QString& name);
    QTreeWidgetItem* hang(const QString& code);

    void addPendingRoots();

    // By code; a code read without an open link maps to no value.
    QHash<QString, std::optional<Department>> m_departments;
    // Roots built but not yet in the tree: a whole tree goes in at once.
    QList<QTreeWidgetItem*> m_pendingRoots;
    QIcon m_picture;
    bool m_linksRead = false;
};

}  // namespace corvane
