#pragma once
// The invoicing item settings window: for each 管理处 of the user's
// departments, the tax-control code, name, rate and taxable subject of every
// fee item in use, which the receipt window reads when it computes VAT; and
// the panels that set the numbering of the VAT interface files and the
// exchange folders of the 管理处.
// (No Q_OBJECT: moc cannot read this class's name.)

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
#include <QToolButton>
#include <QTreeWidget>
#include <array>

#include "platform/FlexGrid.h"
#include "platform/Forms.h"

namespace corvane {

class frm开票项目设置 : public Form {
public:
    frm开票项目设置();

    static inline const QString kCaption = QStringLiteral("开票项目设置");

    std::array<QLabel*, 14> Label1{};
    QComboBox* Combo1;        // the user's 管理处
    FlexGrid* MSFlexGrid1;
    QLineEdit* Text1;         // cell editor
    QPushButton* Command3;    // "…" subject button
    QPushButton* Command1;    // 保存
    QPushButton* Command2;    // 退出
    std::array<QLabel*, 3> Label2{};   // 应用到其他项目, 接口文件目录设置, 接口文件编号设置
    std::array<QFrame*, 3> Shape1{};   // the links' frames
    QStatusBar* StatusBar1;

    // apply panel
    QFrame* Picture1;
    QListWidget* List1;  // 请选择应用到的项目
    QPushButton* Command4;    // 应用
    QToolButton* Image1;
    // subject panel
    QFrame* Picture5;
    QTreeWidget* TreeView1;
    QLineEdit* Text6;  // the 应税科目 chosen in TreeView1
    QPushButton* Command11;   // 确定
    QToolButton* Image5;
    // folder panel
    QFrame* Picture2;
    std::array<QLineEdit*, 4> Text2{};  // 导出文件目录, 回写文件目录, 备份文件目录, 手动导出目录
    std::array<QPushButton*, 4> Command6{};  // "…" beside each Text2
    QPushButton* Command5;    // 保存
    QToolButton* Image2;
    // folder chooser
    QFrame* Picture3;
    QComboBox* Drive1;
    QListWidget* Dir1;        // item data: the folder's path
    QLineEdit* Text3;  // the folder chosen in Dir1
    QPushButton* Command9;    // 新建文件夹
    QPushButton* Command7;    // 确定
    QPushButton* Command8;    // 取消
    QLineEdit* Text4;         // naming box of a new folder
    QToolButton* Image3;
    // numbering panel
    QFrame* Picture4;
    std::array<QLineEdit*, 2> Text5{};  // 编号字, 起始编号
    QPushButton* Command10;   // 确定
    QToolButton* Image4;

    void Form_Load() override;
    // Chooses the 管理处 whose code begins `entry` (the receipt's), as a
    // click in Combo1 would; nothing when the user has no such 管理处.
    void chooseOffice(const QString& entry);

    // ---- procedures
    void 科目列表();
    void 获取编号();

    // ---- handlers
    void Combo1_Click();
    void MSFlexGrid1_Click();
    void MSFlexGrid1_Scroll();
    void Text1_KeyPress(int keyAscii);
    void Command3_Click();
    void TreeView1_NodeClick(QTreeWidgetItem* node);
    void Command11_Click();
    void Command1_Click();
    void Command2_Click();
    void Label2_Click(int index);
    void Label2_MouseDown(int index);
    void Label2_MouseUp(int index);
    void Command4_Click();
    void Image1_Click();
    void Command10_Click();
    void Text5_Change();
    void Command6_Click(int index);
    void Drive1_Change();
    void Dir1_Change();
    void Command7_Click();
    void Command8_Click();
    void Command9_Click();
    void Text4_KeyPress(int keyAscii);
    void Command5_Click();

    // The folder shown by the folder list.
    const QString& dirPath() const { return m_dirPath; }
    void setDirPath(const QString& path);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    QString officeCode() const;
    QString officeName() const;
    void hidePanels();
    void openEditor(int row, int col);
    void loadSettings();
    void refreshDir(const QString& select);

    QString m_dirPath;
    QString m_newFolder;   // the folder the naming box renames
    bool m_filling = false;
    bool m_unsaved = false;  // a cell changed through the editor since the last load
    int m_shownOffice = -1;  // the Combo1 entry whose settings the grid shows
};

}  // namespace corvane
