#pragma once
// The simpler export window: every column and row of a grid into a named
// sheet, under a main title and a subtitle, with each cell's italic state
// and background colour, the columns fitted to their contents.

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QStatusBar>

#include "platform/FlexGrid.h"
#include "platform/Forms.h"

namespace corvane {

// Appended to the second column's texts of the maintenance-item settings
// list: what the old program's character 255 of the Windows Chinese code
// page (936) is in Unicode.
inline constexpr char16_t kAnsiCharacter255 = u'\uF8F5';

// moc cannot read a class name outside ASCII, so this window has no
// Q_OBJECT of its own; it needs no signals or slots.
class frm输出到Excel文件 : public Form {
public:
    frm输出到Excel文件();

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLineEdit* Text1[4];  // (0) Excel文件路径/文件名, (1) 主标题, (2) Excel表名, (3) 标题2
    QPushButton* Command1;  // the folder button beside Text1(0)
    QCheckBox* Check1;  // 启动Excel
    FlexGrid* Grid1;
    QPushButton* Command2;  // 输出
    QPushButton* Command3;  // 取消
    QStatusBar* StatusBar1;
    QLabel* Panel1;  // date
    QLabel* Panel2;  // time

    FlexGrid* Grid() const { return m_grid; }
    void setGrid(FlexGrid* grid) { m_grid = grid; }

    // Writes the texts of Text1(1) and Text1(2), which callers pass as
    // Caption and ExName.
    bool To_Execl(FlexGrid* Grid, const QString& Caption, const QString& ExName);

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Grid1_Click();
    void Grid1_DblClick();

    // The status bar's date and time, from the clock service.
    void showNow();

private:
    QPointer<FlexGrid> m_grid;
};

}  // namespace corvane
