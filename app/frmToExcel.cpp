#include "app/frmToExcel.h"

#include <QEvent>
#include <QFileInfo>
#include <QMdiSubWindow>
#include <QStyle>
#include <algorithm>
#include <charconv>
#include <string>

#include "app/Helpers.h"
#include "platform/Services.h"
#include "platform/Xlsx.h"

namespace corvane {

namespace {

void place(QWidget* w, const QString& name, int left, int top, int width, int height)
{
    w->setObjectName(name);
    w->setGeometry(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height));
}

bool failWith(QString* error, const QString& text)
{
    if (error) *error = text;
    return false;
}

// Whether two sheet values are equal the way the old comparison of cell
// values saw them: a number never equals a text, and two empty cells do.
bool sameValue(const xlsx::Cell& a, const xlsx::Cell& b)
{
    if (a.kind != b.kind) return false;
    switch (a.kind) {
    case xlsx::Cell::Kind::Blank: return true;
    case xlsx::Cell::Kind::Number: return a.number == b.number;
    case xlsx::Cell::Kind::Text: return a.text == b.text;
    }
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

void keepFixedDialogFrame(Form& form)
{
    form.setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                        Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    form.installEventFilter(new FixedDialogFrame(&form));
}

QString workbookFileName(const QString& chosen)
{
    const QString suffix = QFileInfo(chosen).suffix();
    if (chosen.endsWith(QLatin1Char('.'))) return chosen + QStringLiteral("xlsx");
    if (suffix.isEmpty()) return chosen + QStringLiteral(".xlsx");
    if (suffix.compare(QStringLiteral("xls"), Qt::CaseInsensitive) == 0)
        return chosen.left(chosen.size() - suffix.size()) + QStringLiteral("xlsx");
    return chosen;
}

bool parsePlainNumber(const QString& text, double* value)
{
    // Only what our grids show for amounts counts: thousands separators,
    // exponents, blanks or percent signs leave the text as it stands, since
    // guessing at them could turn a code or a note into a different number.
    const qsizetype n = text.size();
    qsizetype i = 0;
    bool negative = false;
    if (n > 0 && (text[0] == u'+' || text[0] == u'-')) {
        negative = text[0] == u'-';
        i = 1;
    }
    std::string digits;
    digits.reserve(size_t(n - i) + 1);
    if (negative) digits.push_back('-');
    bool point = false;
    int count = 0;
    for (; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c >= u'0' && c <= u'9') {
            ++count;
        } else if (c == u'.' && !point) {
            point = true;
        } else {
            return false;
        }
        digits.push_back(char(c));
    }
    if (count == 0) return false;
    double v = 0;
    const auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), v, std::chars_format::fixed);
    if (ec != std::errc() || ptr != digits.data() + digits.size()) return false;
    *value = v == 0 ? 0.0 : v;  // no "-0" in the sheet
    return true;
}

frmToExcel::frmToExcel()
{
    setObjectName(QStringLiteral("frmToExcel"));
    setCaption(QString());
    keepFixedDialogFrame(*this);
    setFixedSize(twipsToPixels(5070), twipsToPixels(3795));

    Label1 = new QLabel(QStringLiteral("Excel文件路径和名称"), this);
    place(Label1, QStringLiteral("Label1"), 120, 120, 3000, 255);
    Text1[0] = new QLineEdit(this);
    place(Text1[0], QStringLiteral("Text1_0"), 120, 405, 4500, 315);
    Command1 = new QPushButton(this);
    place(Command1, QStringLiteral("Command1"), 4620, 405, 330, 315);
    Command1->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));

    // The labels are as wide as their texts in CJK fonts, which run wider
    // than the old system font; the boxes begin after a gap.
    Label2 = new QLabel(QStringLiteral("文档标题"), this);
    place(Label2, QStringLiteral("Label2"), 120, 870, 1125, 255);
    Text1[1] = new QLineEdit(this);
    place(Text1[1], QStringLiteral("Text1_1"), 1290, 840, 3660, 315);
    Label3 = new QLabel(QStringLiteral("工作表名称"), this);
    place(Label3, QStringLiteral("Label3"), 120, 1260, 1125, 255);
    Text1[2] = new QLineEdit(this);
    place(Text1[2], QStringLiteral("Text1_2"), 1290, 1230, 3660, 315);

    Check1 = new QCheckBox(QStringLiteral("输出时启动Microsoft Excel程序"), this);
    place(Check1, QStringLiteral("Check1"), 120, 1620, 4000, 300);
    Check1->setChecked(true);

    Grid1 = new FlexGrid(this);
    place(Grid1, QStringLiteral("Grid1"), 120, 1980, 4830, 840);
    Grid1->setRows(2);
    Grid1->setFixedRows(1);
    Grid1->setFixedCols(0);

    Command2 = new QPushButton(QStringLiteral("确定"), this);
    place(Command2, QStringLiteral("Command2"), 2520, 2925, 1140, 375);
    Command3 = new QPushButton(QStringLiteral("退出"), this);
    place(Command3, QStringLiteral("Command3"), 3810, 2925, 1140, 375);

    StatusBar1 = new QStatusBar(this);
    place(StatusBar1, QStringLiteral("StatusBar1"), 0, 3420, 5070, 375);
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

    const QString title = Text1[1]->text();
    const QString subtitle = Tag;
    const QString printDate = QStringLiteral("打印日期：") + Today().toString(QStringLiteral("yyyy年MM月dd日"));
    const int rows = Grid->Rows();
    const bool twoHeadings = Grid->FixedRows() == 2 && rows >= 2;

    WaitCursor wait;
    const auto fill = [&](xlsx::SheetWriter& w) {
        using xlsx::CellFormat;
        using xlsx::Cell;
        const auto headRow = [&](double size, xlsx::HAlign h) {
            return w.addFormat(CellFormat{.fontSize = size, .horizontal = h, .vertical = xlsx::VAlign::Distributed});
        };
        const xlsx::FormatId rowFormat[3] = {headRow(18, xlsx::HAlign::Center), headRow(12, xlsx::HAlign::Center),
                                             headRow(10, xlsx::HAlign::Right)};
        const xlsx::FormatId firstRowFormat = headRow(11, xlsx::HAlign::Center);
        // One format per kind of column and row, chosen once: the loop over
        // the rows does no format look-ups.
        xlsx::FormatId dataFormat[2], firstFormat[2];
        for (int numeric = 0; numeric < 2; ++numeric) {
            CellFormat f{.numberFormat = numeric ? QStringLiteral("0.00_ ") : QStringLiteral("@"), .fontSize = 10.5,
                         .thinBorders = true};
            dataFormat[numeric] = w.addFormat(f);
            f.horizontal = xlsx::HAlign::Center;
            f.vertical = xlsx::VAlign::Distributed;
            firstFormat[numeric] = w.addFormat(f);
        }
        std::vector<char> numeric(static_cast<size_t>(k));
        for (int n = 0; n < k; ++n) {
            const int j = marked[size_t(n)];
            numeric[size_t(n)] = Grid->ColAlignment(j) >= 6;
            // A workbook column is at most 255 characters wide; a wider grid
            // column is not a reason to lose the export.
            w.setColumn(n, std::min(255.0, xlsx::columnWidthFromTwips(Grid->ColWidth(j))));
        }

        std::vector<Cell> cells(static_cast<size_t>(k));
        const auto heading = [&](int r, const QString& text) {
            cells[0] = text.isEmpty() ? Cell::blank(rowFormat[r]) : Cell::fromText(text, rowFormat[r]);
            for (int n = 1; n < k; ++n) cells[size_t(n)] = Cell::blank(rowFormat[r]);
            w.writeRow(r, cells, 0, rowFormat[r]);
            w.merge({r, 0, r, k - 1});
        };
        heading(0, title);
        heading(1, subtitle);
        heading(2, printDate);

        const auto sourceRow = [&](int i, std::vector<Cell>& out) {
            const xlsx::FormatId* formats = i == 0 ? firstFormat : dataFormat;
            for (int n = 0; n < k; ++n) {
                const bool isNumeric = numeric[size_t(n)];
                const xlsx::FormatId f = formats[isNumeric];
                QString text = Grid->TextMatrix(i, marked[size_t(n)]);
                double value;
                if (text.isEmpty())
                    out[size_t(n)] = Cell::blank(f);
                else if (isNumeric && parsePlainNumber(text, &value))
                    out[size_t(n)] = Cell::fromNumber(value, f);
                else
                    out[size_t(n)] = Cell::fromText(std::move(text), f);
            }
        };

        int first = 0;
        if (twoHeadings) {
            // Runs of equal texts in the upper heading become one cell; a
            // column whose two headings are equal becomes one cell over both
            // rows. A run's columns are not merged downwards as well: the two
            // merges would overlap, which no workbook may hold.
            std::vector<Cell> lower(static_cast<size_t>(k));
            sourceRow(0, cells);
            sourceRow(1, lower);
            for (int n = 0; n < k;) {
                int e = n;
                while (e + 1 < k && sameValue(cells[size_t(e + 1)], cells[size_t(n)])) ++e;
                if (e > n) {
                    for (int m = n + 1; m <= e; ++m) cells[size_t(m)] = Cell::blank(cells[size_t(m)].format);
                    w.merge({3, n, 3, e});
                } else if (sameValue(cells[size_t(n)], lower[size_t(n)])) {
                    lower[size_t(n)] = Cell::blank(lower[size_t(n)].format);
                    w.merge({3, n, 4, n});
                }
                n = e + 1;
            }
            w.writeRow(3, cells, 0, firstRowFormat);
            w.writeRow(4, lower);
            first = 2;
        } else if (rows == 0) {
            w.writeRow(3, {}, 0, firstRowFormat);
        }
        for (int i = first; i < rows && w.ok(); ++i) {
            sourceRow(i, cells);
            w.writeRow(i + 3, cells, 0, i == 0 ? firstRowFormat : xlsx::kDefaultFormat);
        }
    };

    QString failure;
    if (!xlsx::writeSheet(path, Text1[2]->text(), fill, &failure)) return failWith(error, failure);

    if (Check1->isChecked()) {
        QString openError;
        if (!Services::shell().open(QFileInfo(path).absoluteFilePath(), &openError)) ShowDescriptionError(openError);
    }
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
