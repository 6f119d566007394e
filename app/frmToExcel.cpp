#include "app/frmToExcel.h"

#include <QEvent>
#include <QFileInfo>
#include <QMdiSubWindow>
#include <QStyle>

#include "app/Helpers.h"
#include "platform/Services.h"
#include "platform/Widgets.h"
#include "platform/Xlsx.h"

namespace corvane {

namespace {

bool failWith(QString* error, const QString& text)
{
    if (error) *error = text;
    return false;
}

// The main window wraps a child in a frame of its own, with every button,
// when it takes the child in; the frame is set right before it is shown.
class FixedDialogFrame : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::ParentChange)
            if (auto* frame = qobject_cast<QMdiSubWindow*>(static_cast<QWidget*>(watched)->parentWidget()))
                frame->setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                      Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
        return false;
    }
};

}  // namespace

namespace {
constexpr int kListRoom = 480;  // twips
}  // namespace

void keepFixedDialogFrame(Form& form)
{
    form.setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                        Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    form.installEventFilter(new FixedDialogFrame(&form));
    form.setOwnWindow(true);
}

frmToExcel::frmToExcel()
{
    setObjectName(QStringLiteral("frmToExcel"));
    setCaption(QString());
    keepFixedDialogFrame(*this);
    useLayoutFace(this);
    // The column list has room for its heading row, its row of marks and
    // the scroll bar under them, so the window is that much taller.
    setFixedSize(twipsToPixels(5070), twipsToPixels(3795 + kListRoom));

    Label1 = new QLabel(QStringLiteral("Excel文件路径和名称"), this);
    place(named(Label1, QStringLiteral("Label1")), 120, 120, 3000, 255);
    Text1[0] = new QLineEdit(this);
    place(named(Text1[0], QStringLiteral("Text1_0")), 120, 405, 4500, 315);
    Command1 = new QPushButton(this);
    place(named(Command1, QStringLiteral("Command1")), 4620, 405, 330, 315);
    Command1->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));

    // The labels are as wide as their texts in CJK fonts, which run wider
    // than the old system font; the boxes begin after a gap.
    Label2 = new QLabel(QStringLiteral("文档标题"), this);
    place(named(Label2, QStringLiteral("Label2")), 120, 870, 1125, 255);
    Text1[1] = new QLineEdit(this);
    place(named(Text1[1], QStringLiteral("Text1_1")), 1290, 840, 3660, 315);
    Label3 = new QLabel(QStringLiteral("工作表名称"), this);
    place(named(Label3, QStringLiteral("Label3")), 120, 1260, 1125, 255);
    Text1[2] = new QLineEdit(this);
    place(named(Text1[2], QStringLiteral("Text1_2")), 1290, 1230, 3660, 315);

    Check1 = new QCheckBox(QStringLiteral("输出时启动Microsoft Excel程序"), this);
    place(named(Check1, QStringLiteral("Check1")), 120, 1620, 4000, 300);
    Check1->setChecked(true);

    Grid1 = new FlexGrid(this);
    place(named(Grid1, QStringLiteral("Grid1")), 120, 1980, 4830, 840 + kListRoom);
    Grid1->setRows(2);
    Grid1->setFixedRows(1);
    Grid1->setFixedCols(0);

    Command2 = new QPushButton(QStringLiteral("确定"), this);
    place(named(Command2, QStringLiteral("Command2")), 2520, 2925 + kListRoom, 1140, 375);
    Command3 = new QPushButton(QStringLiteral("退出"), this);
    place(named(Command3, QStringLiteral("Command3")), 3810, 2925 + kListRoom, 1140, 375);

    StatusBar1 = new QStatusBar(this);
    place(named(StatusBar1, QStringLiteral("StatusBar1")), 0, 3420 + kListRoom, 5070, 375);
    StatusBar1->setSizeGripEnabled(false);
    auto* panel = new QLabel(QStringLiteral("提示: 打“√”表示要输出的列，双击可取消选择。"), StatusBar1);
    panel->setObjectName(QStringLiteral("Panel1"));
    StatusBar1->addWidget(panel, 1);

    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(Grid1, &FlexGrid::Click, this, [this] { Grid1_Click(); });
    connect(Grid1, &FlexGrid::DblClick, this, [this] { Grid1_DblClick(); });
}

void frmToExcel::Form_Load() { CenterForm(*this); }

void frmToExcel::Form_Activate()
{
    // A child of the main window gets its frame only when first shown, so
    // it is centred again then; later activations leave it where it is.
    if (m_placed) return;
    m_placed = true;
    if (subWindow()) CenterForm(*this);
}

void frmToExcel::Config(FlexGrid* MGrid, const QString& TableName, const QString& Title)
{
    setGrid(MGrid);
    const int cols = MGrid->Cols();
    Grid1->setCols(cols);
    for (int c = 0; c < cols; ++c) {
        Grid1->setTextMatrix(0, c, MGrid->TextMatrix(0, c));
        Grid1->setFixedAlignment(c, MGrid->FixedAlignment(c));
        Grid1->setTextMatrix(1, c, QStringLiteral("√"));
        Grid1->setColWidth(c, MGrid->ColWidth(c));
    }
    if (MGrid->FixedRows() == 2) {
        for (int c = 0; c < cols; ++c) {
            const QString lower = MGrid->TextMatrix(1, c);
            if (lower.trimmed() != Grid1->TextMatrix(0, c).trimmed())
                Grid1->setTextMatrix(0, c, Grid1->TextMatrix(0, c) + u'(' + lower + u')');
        }
    }
    FitGridColWidth(*Grid1, *this);
    for (int c = 0; c < cols; ++c) {
        if (Grid1->TextMatrix(0, c).isEmpty()) {
            Grid1->setColWidth(c, 0);
            Grid1->setTextMatrix(1, c, QString());
        }
    }
    Text1[1]->setText(Title);
    Text1[2]->setText(TableName);
}

QString frmToExcel::RangeNom(int C, int J)
{
    if (C < 0 || C >= kMaxExportColumns) return QString();
    QString letters;
    if (C >= 26) letters += QChar(u'A' + C / 26 - 1);
    letters += QChar(u'A' + C % 26);
    return letters + QString::number(J);
}

bool frmToExcel::To_Execl(FlexGrid* Grid, const QString& Caption, const QString& ExName, QString* error)
{
    // The texts come from the boxes; callers pass the same texts.
    Q_UNUSED(Caption);
    Q_UNUSED(ExName);
    if (error) error->clear();
    if (Text1[0]->text().isEmpty()) {
        MsgBox(QStringLiteral("请确定输出的文件名"), vbOKOnly, ExeName());
        return false;
    }
    const QString path = workbookFileName(Text1[0]->text());
    Text1[0]->setText(path);
    if (!Grid) return failWith(error, QStringLiteral("没有要输出的表格"));

    // Checked before anything is written, so a refused export leaves no file.
    std::vector<int> marked;
    const int sourceCols = Grid->Cols();
    for (int j = 0; j < sourceCols && j < Grid1->Cols(); ++j)
        if (!Grid1->TextMatrix(1, j).isEmpty()) marked.push_back(j);
    const int k = int(marked.size());
    if (k == 0) return failWith(error, QStringLiteral("没有选择要输出的列（单击列表中的列打上“√”）"));
    if (k > kMaxExportColumns)
        return failWith(error, QStringLiteral("选择了 %1 列，一次最多只能输出 %2 列（A 至 EZ 列）").arg(k).arg(kMaxExportColumns));

    const auto title = [](const QString& text, double size, xlsx::HAlign h) {
        return SheetTitle{text, {.fontSize = size, .horizontal = h, .vertical = xlsx::VAlign::Distributed}};
    };
    const GridSheetLayout layout{
        .columns = std::move(marked),
        .titles = {title(Text1[1]->text(), 18, xlsx::HAlign::Center), title(Tag, 12, xlsx::HAlign::Center),
                   title(QStringLiteral("打印日期：") + Today().toString(QStringLiteral("yyyy年MM月dd日")), 10,
                         xlsx::HAlign::Right)},
        .amountColumns = true,
        .widthsFromGrid = true,
        .headingRows = true,
    };

    WaitCursor wait;
    QString failure;
    if (!writeGridToSheet(*Grid, path, Text1[2]->text(), layout, &failure)) return failWith(error, failure);

    announceWrittenWorkbook(path, Check1->isChecked());
    return true;
}

void frmToExcel::Command1_Click()
{
    // The old filter's texts; the workbooks written here end in ".xlsx", so
    // the Excel entry lists those too.
    const QString chosen = Services::dialogs().openFileName(
        QStringLiteral("打开"), QStringLiteral("Excel Flie *.xls (*.xls *.xlsx);;All flie *.* (*)"), ProgramFolder(),
        DialogService::NewNameAllowed);
    if (!chosen.isEmpty()) Text1[0]->setText(chosen);
}

void frmToExcel::Command2_Click()
{
    if (Text1[2]->text().isEmpty() || Text1[1]->text().isEmpty()) {
        MsgBox(QStringLiteral("请输入标题内容"), vbOKOnly);
        return;
    }
    QString error;
    if (To_Execl(Grid(), Text1[1]->text(), Text1[2]->text(), &error))
        Unload();
    else
        MsgBox(QStringLiteral("输出到Execl失败: ") + error, vbInformation);
}

void frmToExcel::Command3_Click() { Unload(); }

void frmToExcel::Grid1_Click()
{
    if (Grid1->Cols() == 0) return;
    const int c = Grid1->Col();
    Grid1->setTextMatrix(1, c, QStringLiteral("√"));
    Grid1->setColAlignment(c, flexAlignCenterCenter);
}

void frmToExcel::Grid1_DblClick()
{
    if (Grid1->Cols() == 0) return;
    Grid1->setTextMatrix(1, Grid1->Col(), QString());
}

}  // namespace corvane
