#include "app/frm输出到Excel文件.h"

#include <QFileInfo>
#include <QStyle>
#include <QTimer>

#include "app/GridToSheet.h"
#include "app/frmToExcel.h"
#include "platform/Services.h"
#include "platform/Widgets.h"
#include "platform/Xlsx.h"

namespace corvane {

namespace {

}  // namespace

frm输出到Excel文件::frm输出到Excel文件()
{
    setObjectName(QStringLiteral("frm输出到Excel文件"));
    setCaption(QStringLiteral("输出到Excel文件"));
    setFont(QFont(QStringLiteral("微软雅黑"), 9));
    keepFixedDialogFrame(*this);
    setFixedSize(twipsToPixels(3900), twipsToPixels(2970));

    Label1 = new QLabel(QStringLiteral("Excel文件路径/文件名"), this);
    place(named(Label1, QStringLiteral("Label1")), 120, 90, 3000, 270);
    Text1[0] = new QLineEdit(this);
    place(named(Text1[0], QStringLiteral("Text1_0")), 120, 375, 3300, 315);
    Command1 = new QPushButton(this);
    place(named(Command1, QStringLiteral("Command1")), 3450, 375, 330, 315);
    Command1->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));

    Label2 = new QLabel(QStringLiteral("主标题"), this);
    place(named(Label2, QStringLiteral("Label2")), 120, 825, 900, 270);
    Text1[1] = new QLineEdit(QStringLiteral("Text1"), this);
    place(named(Text1[1], QStringLiteral("Text1_1")), 1050, 795, 2730, 315);
    Label3 = new QLabel(QStringLiteral("标题2"), this);
    place(named(Label3, QStringLiteral("Label3")), 120, 1215, 900, 270);
    Text1[3] = new QLineEdit(QStringLiteral("Text1"), this);
    place(named(Text1[3], QStringLiteral("Text1_3")), 1050, 1185, 2730, 315);
    Label4 = new QLabel(QStringLiteral("Excel表名"), this);
    place(named(Label4, QStringLiteral("Label4")), 120, 1605, 900, 270);
    Text1[2] = new QLineEdit(QStringLiteral("Text1"), this);
    place(named(Text1[2], QStringLiteral("Text1_2")), 1050, 1575, 2730, 315);

    Check1 = new QCheckBox(QStringLiteral("启动Excel"), this);
    place(named(Check1, QStringLiteral("Check1")), 120, 2085, 1320, 300);
    Check1->setChecked(true);
    Command2 = new QPushButton(QStringLiteral("输出"), this);
    place(named(Command2, QStringLiteral("Command2")), 1530, 2040, 1080, 375);
    Command3 = new QPushButton(QStringLiteral("取消"), this);
    place(named(Command3, QStringLiteral("Command3")), 2700, 2040, 1080, 375);

    // The column list sits at the right edge, mostly beyond the client area.
    Grid1 = new FlexGrid(this);
    place(named(Grid1, QStringLiteral("Grid1")), 3840, 90, 2400, 840);
    Grid1->setRows(2);
    Grid1->setFixedRows(1);
    Grid1->setFixedCols(0);

    StatusBar1 = new QStatusBar(this);
    place(named(StatusBar1, QStringLiteral("StatusBar1")), 0, 2595, 3900, 375);
    StatusBar1->setSizeGripEnabled(false);
    Panel1 = new QLabel(StatusBar1);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel2 = new QLabel(StatusBar1);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    StatusBar1->addWidget(Panel1, 1);
    StatusBar1->addWidget(Panel2, 1);
    showNow();
    auto* clock = new QTimer(this);
    connect(clock, &QTimer::timeout, this, [this] { showNow(); });
    clock->start(1000);

    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(Grid1, &FlexGrid::Click, this, [this] { Grid1_Click(); });
    connect(Grid1, &FlexGrid::DblClick, this, [this] { Grid1_DblClick(); });
}

void frm输出到Excel文件::showNow()
{
    const QDateTime now = Now();
    Panel1->setText(now.date().toString(QStringLiteral("yyyy-MM-dd")));
    Panel2->setText(now.time().toString(QStringLiteral("HH:mm")));
}

bool frm输出到Excel文件::To_Execl(FlexGrid* Grid, const QString& Caption, const QString& ExName)
{
    // The texts come from the boxes; callers pass the same texts.
    Q_UNUSED(Caption);
    Q_UNUSED(ExName);
    if (Text1[0]->text().isEmpty()) {
        MsgBox(QStringLiteral("请确定输出的文件名"), vbOKOnly, ExeName());
        return false;
    }
    const QString path = workbookFileName(Text1[0]->text());
    Text1[0]->setText(path);
    if (!Grid || Grid->Cols() == 0) return false;

    const auto title = [](const QString& text, double size) {
        return SheetTitle{text, {.fontSize = size, .horizontal = xlsx::HAlign::Center,
                                 .vertical = xlsx::VAlign::Distributed}};
    };
    GridSheetLayout layout{.titles = {title(Text1[1]->text(), 18), title(Text1[3]->text(), 12)},
                           .cellAttributes = true};
    if (Tag == QStringLiteral("维修养护项目设置")) layout.appended = {QString(), QString(QChar(kAnsiCharacter255))};

    WaitCursor wait;
    if (!writeGridToSheet(*Grid, path, Text1[2]->text(), layout)) return false;
    // Callers find their grid on its last cell after an export, as the old
    // window's walk over the cells left it; it is put there once.
    if (Grid->Rows() > 0) {
        Grid->setRow(Grid->Rows() - 1);
        Grid->setCol(Grid->Cols() - 1);
    }
    announceWrittenWorkbook(path, Check1->isChecked());
    return true;
}

void frm输出到Excel文件::Command1_Click()
{
    const QString chosen = Services::dialogs().openFileName(
        QStringLiteral("打开"), QStringLiteral("Excel Flie *.xls;*.xlsx (*.xls *.xlsx);;All flie *.* (*)"),
        ProgramFolder(), DialogService::NewNameAllowed);
    if (!chosen.isEmpty()) Text1[0]->setText(chosen);
}

void frm输出到Excel文件::Command2_Click()
{
    if (To_Execl(Grid(), Text1[1]->text(), Text1[2]->text()))
        Unload();
    else
        MsgBox(QStringLiteral("输出到Execl失败"), vbOKOnly, ExeName());
}

void frm输出到Excel文件::Command3_Click() { Unload(); }

void frm输出到Excel文件::Grid1_Click()
{
    if (Grid1->Cols() == 0) return;
    const int c = Grid1->Col();
    Grid1->setTextMatrix(1, c, QStringLiteral("√"));
    Grid1->setColAlignment(c, flexAlignCenterCenter);
}

void frm输出到Excel文件::Grid1_DblClick()
{
    if (Grid1->Cols() == 0) return;
    Grid1->setTextMatrix(1, Grid1->Col(), QString());
}

}  // namespace corvane
