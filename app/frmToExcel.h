#pragma once
// The export window: the marked columns of a grid, every row, into a named
// sheet of a workbook, under a title, a subtitle (the window's tag) and the
// print date.

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QStatusBar>

#include "app/GridToSheet.h"
#include "platform/FlexGrid.h"
#include "platform/Forms.h"

namespace corvane {

// Sheet columns A to EZ: the most columns one export can hold.
inline constexpr int kMaxExportColumns = 156;

// A fixed dialog frame without minimise and maximise buttons, for the window
// on its own and for the frame the main window gives it as its child.
void keepFixedDialogFrame(Form& form);

class frmToExcel : public Form {
    Q_OBJECT
public:
    frmToExcel();

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLineEdit* Text1[3];  // (0) Excel文件路径和名称, (1) 文档标题, (2) 工作表名称
    QPushButton* Command1;  // the folder button beside Text1(0)
    QCheckBox* Check1;  // 输出时启动Microsoft Excel程序
    FlexGrid* Grid1;
    QPushButton* Command2;  // 确定
    QPushButton* Command3;  // 退出
    QStatusBar* StatusBar1;

    // The source grid; the window never changes it.
    FlexGrid* Grid() const { return m_grid; }
    void setGrid(FlexGrid* grid) { m_grid = grid; }

    void Config(FlexGrid* MGrid, const QString& TableName, const QString& Title);
    // Writes the texts of Text1(1) and Text1(2), which callers pass as Caption
    // and ExName. The reason of a failure goes to *error ("" when a message
    // box already told it).
    bool To_Execl(FlexGrid* Grid, const QString& Caption, const QString& ExName, QString* error = nullptr);
    static QString RangeNom(int C, int J);

    void Form_Load() override;
    void Form_Activate() override;

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Grid1_Click();
    void Grid1_DblClick();

private:
    QPointer<FlexGrid> m_grid;
    bool m_placed = false;
};

}  // namespace corvane
