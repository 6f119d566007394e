#include "bills/frm打印文件导出.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>

#include "app/LoginContext.h"
#include "db/Connection.h"
#include "platform/Services.h"
#include "platform/Tag.h"
#include "platform/Widgets.h"
#include "receipts/BillStore.h"
#include "bills/PrintFileExportStore.h"

namespace corvane {

using namespace receipts;

namespace {

const QString kPayerTypeUnit = QStringLiteral("1 单位");
const QString kPayerTypePerson = QStringLiteral("0 个人");
const QString kAssigned = QStringLiteral("pclok");

// Header texts of the batch grid, as wide as the old grid's padded headings.
QString padded(const QString& text, int characters) { return text + QString(std::max(0, characters - int(text.size())), u' '); }

void toggle(QWidget* w)
{
    w->setVisible(w->isHidden());
    w->raise();
}

}  // namespace

frm打印文件导出::frm打印文件导出() { buildLayout(); }

void frm打印文件导出::beginExport(const QString& mode, receipts::发票打印数据* batch, const QString& typeCode,
                              const QString& typeName)
{
    Tag = mode;
    this->发票打印数据 = batch;
    SetTag(Picture7, batch ? QStringLiteral("批处理") : QString());
    导出票据类型编号 = typeCode;
    导出票据类型 = typeName;
}

bool frm打印文件导出::batchMode() const { return !TagOf(Picture7).isEmpty(); }

int frm打印文件导出::records() const
{
    return 发票打印数据 && !发票打印数据->empty() ? int(发票打印数据->size()) - 1 : 0;
}

void frm打印文件导出::Form_Load()
{
    Label1[3]->setText(Today().toString(QStringLiteral("yyyy-MM-dd")));
    读取设置();
    MSFlexGrid1->setRows(1);
}

void frm打印文件导出::Form_Activate()
{
    if (batchMode()) 建立批处理表格();
}

// ------------------------------------------------------------------ settings file

void frm打印文件导出::读取设置()
{
    const auto path = ProgramFilePath(kExportSettingsFile);
    if (path && QFileInfo::exists(*path)) {
        QString error;
        const auto values = readExportSettings(*path, &error);
        if (!values) {
            ShowStandardError(0, error);
        } else {
            QLineEdit* boxes[] = {Text1[0], Text1[1], Text3, Text4, Text9, Text10, Text11, Text7};
            for (int i = 0; i < kExportSettingsValues && i < values->size(); ++i) boxes[i]->setText(values->at(i));
        }
    }
    if (!Text1[0]->text().isEmpty() && !Text1[1]->text().isEmpty()) {
        Command4->setEnabled(true);
    } else {
        Picture2->show();
        Picture2->raise();
    }
}

void frm打印文件导出::Command7_Click()
{
    const auto path = ProgramFilePath(kExportSettingsFile);
    QString error = QStringLiteral("程序文件夹无法写入");
    if (!path || !writeExportSettings(*path, {Text1[0]->text(), Text1[1]->text(), Text3->text(), Text4->text(),
                                              Text9->text(), Text10->text(), Text11->text(), Text7->text()},
                                      &error)) {
        ShowStandardError(0, error);
        return;
    }
    if (!Text1[0]->text().isEmpty() && !Text1[1]->text().isEmpty()) Command4->setEnabled(true);
}

void frm打印文件导出::Command6_Click()
{
    Text1[0]->setText(Services::dialogs().openFileName(QString(), excelFileFilter(), QString()));
}

void frm打印文件导出::Command3_Click()
{
    const QString file = Services::dialogs().openFileName(QString(), excelFileFilter(), QString());
    if (!file.isEmpty()) Text1[1]->setText(folderOfPickedFile(file));
}

void frm打印文件导出::Command2_Click() { Picture2->setVisible(Picture2->isHidden()); }

void frm打印文件导出::Command8_Click()
{
    Picture2->show();
    Picture2->raise();
    List1->hide();
    List2->hide();
    List3->hide();
}

// ------------------------------------------------------------------ drop-down lists

void frm打印文件导出::Form_Click()
{
    List1->hide();
    List2->hide();
    List3->hide();
}

void frm打印文件导出::Picture3_Click() { toggle(List1); }
void frm打印文件导出::Picture4_Click() { toggle(List2); }

void frm打印文件导出::Picture5_Click()
{
    List3->move(Text7->x(), Text7->y() + Text7->height() + px(30));
    SetTag(List3, QString());
    toggle(List3);
}

void frm打印文件导出::List1_Click()
{
    if (auto* item = List1->currentItem()) Text4->setText(item->text());
    List1->hide();
}

void frm打印文件导出::List2_Click()
{
    if (auto* item = List2->currentItem()) Text3->setText(item->text());
    List2->hide();
}

void frm打印文件导出::List3_Click()
{
    if (auto* item = List3->currentItem()) (TagOf(List3).isEmpty() ? Text7 : Text15[3])->setText(item->text());
    List3->hide();
}

void frm打印文件导出::Command11_Click()
{
    List4->move(Picture6->x() + Text16->x(), Picture6->y() + Text16->y() + Text16->height() + px(15));
    toggle(List4);
}

void frm打印文件导出::List4_Click()
{
    if (auto* item = List4->currentItem()) Text16->setText(item->text());
    List4->hide();
    Command12->setEnabled(true);
}

// ------------------------------------------------------------------ checks and panels

SingleInvoice frm打印文件导出::singleInvoice() const
{
    SingleInvoice f;
    f.开票项目 = Text3->text();
    f.发票种类 = Text4->text();
    f.付款方类型 = Option1[0]->isChecked() ? kPayerTypeUnit : kPayerTypePerson;
    f.手机 = Text5->text();
    f.名称 = Text6->text();
    f.证件类型 = Text7->text();
    f.证件号码 = Text8->text();
    f.合计金额 = Text14->text();
    f.附注 = Text13->text();
    for (size_t i = 0; i < f.明细.size(); ++i) f.明细[i] = Text12[i]->text();
    return f;
}

std::vector<BatchGridRow> frm打印文件导出::gridRows() const
{
    std::vector<BatchGridRow> rows;
    rows.reserve(size_t(std::max(0, MSFlexGrid1->Rows() - 1)));
    for (int j = 1; j < MSFlexGrid1->Rows(); ++j)
        rows.push_back({MSFlexGrid1->TextMatrix(j, 0), MSFlexGrid1->TextMatrix(j, 2), MSFlexGrid1->TextMatrix(j, 3),
                        MSFlexGrid1->TextMatrix(j, 4)});
    return rows;
}

bool frm打印文件导出::数据合法性检查()
{
    if (const auto message = checkSingleInvoice(singleInvoice())) {
        MsgBox(*message);
        return false;
    }
    return true;
}

bool frm打印文件导出::P数据合法性检查()
{
    static const receipts::发票打印数据 none;
    if (const auto message = checkBatch(Text3->text(), Text4->text(), 发票打印数据 ? *发票打印数据 : none, gridRows())) {
        MsgBox(*message);
        return false;
    }
    return true;
}

void frm打印文件导出::DataToPicture8(int n)
{
    const 发票打印记录& r = (*发票打印数据)[size_t(n)];
    Text15[0]->setText(r.付款方类型);
    Text15[1]->setText(r.付款方手机号码);
    Text15[2]->setText(r.付款方名称);
    Text15[3]->setText(r.付款方证件类型);
    Text15[4]->setText(r.付款方证件号码);
}

void frm打印文件导出::DataToPicture11(int n)
{
    const 发票打印记录& r = (*发票打印数据)[size_t(n)];
    Text17[0]->setText(r.票据编号);
    Text17[1]->setText(r.实际票据编号);
    SetTag(Text17[0], r.票据ID);
}

namespace {

void drawAt(QPainter& p, int x, int y, const QString& text)
{
    p.drawText(QRect(x, y, 4000, 200), int(Qt::AlignLeft | Qt::AlignTop), text);
}

}  // namespace

void frm打印文件导出::PrintTopicture10()
{
    Picture10.fill(palette().color(QPalette::Window));
    QPainter p(&Picture10);
    p.setFont(font());
    p.setPen(palette().color(QPalette::WindowText));
    for (QLabel* l : Label2) drawAt(p, l->x(), l->y() + px(225), l->text());
    p.setPen(QColor(0, 128, 128));
    for (int k = 0; k < 5; ++k) {
        QLabel* row = Label2[size_t(std::min(k, 3))];
        drawAt(p, Text15[size_t(k)]->x(), row->y() + px(225), Text15[size_t(k)]->text());
    }
}

void frm打印文件导出::PrintTopicture12()
{
    Picture12.fill(palette().color(QPalette::Window));
    QPainter p(&Picture12);
    p.setFont(font());
    p.setPen(palette().color(QPalette::WindowText));
    for (QLabel* l : Label3) drawAt(p, l->x(), l->y() + px(225), l->text());
    p.setPen(QColor(0, 128, 128));
    for (QLineEdit* t : Text17) drawAt(p, t->x(), t->y() + px(225), t->text());
}

// ------------------------------------------------------------------ export

QString frm打印文件导出::templateSuffix() const
{
    const QString suffix = QFileInfo(Text1[0]->text()).suffix();
    return suffix.isEmpty() ? QStringLiteral("xlsx") : suffix;
}

bool frm打印文件导出::导出文件()
{
    if (batchMode() ? !P数据合法性检查() : !数据合法性检查()) return false;
    const QString templatePath = pathInAnyCase(Text1[0]->text());
    if (!xlsx::isOpenXmlPackage(templatePath)) {
        MsgBox(QStringLiteral("模板文件不是Excel 2007及以上格式，无法导出：") + templatePath);
        return false;
    }
    const QString name = batchMode() ? batchExportFileName(Now(), templateSuffix())
                                     : singleExportFileName(Text6->text(), templateSuffix());
    // Named as found on disk: the outside programs ignore letter case.
    const QString target = pathInAnyCase(Text1[1]->text() + name);
    // The path is kept only for a file this window may replace and later delete.
    if (const QString refused = exportTargetRefusal(target, templatePath); !refused.isEmpty()) {
        MsgBox(refused);
        return false;
    }
    导出文件路径 = target;
    if (QFileInfo::exists(导出文件路径) && !QFile::remove(导出文件路径)) {
        ShowStandardError(0, QStringLiteral("文件无法删除：") + 导出文件路径);
        return false;
    }
    if (!QFile::copy(templatePath, 导出文件路径)) {
        ShowStandardError(0, QStringLiteral("模板文件无法复制到：") + 导出文件路径);
        return false;
    }
    rememberExportFile(导出文件路径);
    // The copy takes the template's permissions; the fill must be able to write it.
    QFile::setPermissions(导出文件路径, QFile::permissions(导出文件路径) | QFileDevice::WriteOwner);
    return batchMode() ? ToExcel() : To_Excel();
}

namespace {

bool fillExport(const QString& path, std::vector<std::vector<xlsx::Cell>> rows)
{
    QString error;
    switch (fillPrintFile(path, std::move(rows), &error)) {
    case PrintFileOutcome::Done: return true;
    case PrintFileOutcome::NotTemplate:
        MsgBox(QStringLiteral("模板文件不是票据打印模板文件，请核对"));
        return false;
    case PrintFileOutcome::Failed: break;
    }
    // An unfilled copy would be printed as an empty invoice.
    QFile::remove(path);
    MsgBox(QStringLiteral("打印文件生成失败：") + error);
    return false;
}

}  // namespace

bool frm打印文件导出::To_Excel() { return fillExport(导出文件路径, singleSheetRows(singleInvoice())); }

bool frm打印文件导出::ToExcel()
{
    static const receipts::发票打印数据 none;
    return fillExport(导出文件路径, batchSheetRows(Text4->text(), 发票打印数据 ? *发票打印数据 : none, gridRows()));
}

void frm打印文件导出::Command4_Click()
{
    List1->hide();
    List2->hide();
    List3->hide();
    Picture2->hide();
    const QString templatePath = pathInAnyCase(Text1[0]->text());
    if (!QFileInfo(templatePath).isFile()) {
        MsgBox(QStringLiteral("未找到 ") + templatePath + QStringLiteral(" 模板文件，请核对"));
        return;
    }
    const QString folder = pathInAnyCase(Text1[1]->text());
    if (!QFileInfo(folder).isDir() && !QDir().mkdir(folder)) {
        ShowStandardError(0, QStringLiteral("无法创建文件夹：") + folder);
        return;
    }
    if (!导出文件()) return;
    MsgBox(QStringLiteral("打印文件已保存为：") + 导出文件路径 + QStringLiteral("\r\n\r\n") +
           QStringLiteral("您可以在票据打印软件中用该文件打印票据了"));
    Command5->setEnabled(true);
    Command1->setEnabled(true);
    Label1[2]->show();
    Text2->show();
}

void frm打印文件导出::Command5_Click()
{
    QString error;
    Services::shell().open(导出文件路径, &error);
}

void frm打印文件导出::Command9_Click() { Unload(); }

// ------------------------------------------------------------------ books and bills

QString frm打印文件导出::chosenBook() const
{
    const QString text = Combo1->currentText();
    const qsizetype blank = text.indexOf(u' ');
    return blank < 0 ? text : text.left(blank);
}

void frm打印文件导出::获取票据簿()
{
    Combo1->clear();
    const auto books = lentBooks(Login().当前部门编号, 导出票据类型编号, true);
    if (!books) {
        ShowNumberedError(books.error().number, books.error().description);
    } else {
        for (const LentBook& b : *books) Combo1->addItem(b.book + u' ' + 导出票据类型, b.freeBills);
    }
    Combo1->setCurrentIndex(-1);
}

void frm打印文件导出::获取可用票据()
{
    WaitCursor wait;
    const auto bills = freeBills(chosenBook());
    List4->clear();
    if (!bills) {
        MsgBox(bills.error().description);
        return;
    }
    for (const FreeBill& b : *bills) {
        auto* item = new QListWidgetItem(b.number, List4);
        item->setData(Qt::UserRole, b.id);
    }
    if (List4->count() > 0) {
        List4->setCurrentRow(0);
        List4_Click();
    }
}

void frm打印文件导出::获取批处理可用票据()
{
    WaitCursor wait;
    const auto bills = freeBills(chosenBook());
    List6->clear();
    if (!bills) {
        MsgBox(bills.error().description);
        return;
    }
    for (const FreeBill& b : *bills) {
        auto* item = new QListWidgetItem(b.number, List6);
        item->setData(Qt::UserRole, b.id);
    }
    if (List6->count() == 0) {
        SetTag(List6, QStringLiteral("-1"));
    } else {
        List6->setCurrentRow(0);
        SetTag(List6, QStringLiteral("0"));
    }
}

void frm打印文件导出::Command1_Click()
{
    获取票据簿();
    Label1[7]->setText(QStringLiteral("票据张数："));
    Picture6->show();
    Picture6->raise();
}

void frm打印文件导出::Combo1_Click()
{
    if (Combo1->currentIndex() < 0) return;
    Label1[7]->setText(QStringLiteral("票据剩余张数：") + QString::number(Combo1->currentData().toInt()));
    获取可用票据();
}

void frm打印文件导出::handBack(const QString& book, const QString& number, qint64 billId)
{
    if (Tag == QStringLiteral("前台收款")) {
        if (frontDeskHandBack) frontDeskHandBack(BillHandBack{book, number, billId});
    } else if (Tag == QStringLiteral("装修登记")) {
        装修登记结果 = book + u',' + number + u',' + QString::number(billId);
    }
}

void frm打印文件导出::Command10_Click()
{
    if (Combo1->currentIndex() < 0) {
        MsgBox(QStringLiteral("请选择票据簿"));
        return;
    }
    if (batchMode()) {
        获取批处理可用票据();
        SetTag(Picture7, kAssigned);
        Picture6->hide();
        const QString book = chosenBook();
        int j = 0;
        for (int r = 批处理起始行; r < MSFlexGrid1->Rows(); r += kDetailRows) {
            const int n = MSFlexGrid1->TextMatrix(r, 0).toInt();
            if (j > List6->count() - 1) {
                批处理起始行 = r;
                MsgBox(Combo1->currentText() + QStringLiteral(" 的票据已经用完，请选择另外的票据簿"));
                Picture6->show();
                Picture6->raise();
                if (Combo1->currentIndex() < Combo1->count() - 1) {
                    Combo1->setCurrentIndex(Combo1->currentIndex() + 1);
                    Combo1_Click();
                }
                return;
            }
            QListWidgetItem* bill = List6->item(j);
            Text17[0]->setText(bill->text());
            Text17[1]->setText(QString());
            PrintTopicture12();
            setBlockPicture(r, 5, Picture12);
            if (n >= 1 && n <= records()) {
                发票打印记录& rec = (*发票打印数据)[size_t(n)];
                rec.票据编号 = Text17[0]->text();
                rec.实际票据编号 = Text17[1]->text();
                rec.票据ID = bill->data(Qt::UserRole).toString();
                rec.入库单编号 = book;
            }
            ++j;
        }
        return;
    }
    if (!List4->currentItem()) {
        MsgBox(QStringLiteral("请选择票据"));
        return;
    }
    if (!QFileInfo::exists(导出文件路径)) {
        ShowDescriptionError(QStringLiteral("未找到导出的打印文件：") + 导出文件路径);
        return;
    }
    if (!QFile::remove(导出文件路径)) {
        ShowDescriptionError(QStringLiteral("导出的打印文件打开之中，无法删除，请先关闭") + 导出文件路径);
        return;
    }
    if (ReopenInPlace().isValid()) {
        ShowDescriptionError(QStringLiteral("无法重新连接数据库"));
        return;
    }
    const QString book = chosenBook();
    const qint64 id = List4->currentItem()->data(Qt::UserRole).toLongLong();
    const BillWriteOutcome out = recordPrintedNumber(id, Text2->text());
    if (out.kind == BillWriteOutcome::NoRow) {
        ShowDescriptionError(QStringLiteral("该票据已被使用或作废"));
        return;
    }
    if (!out.done()) {
        ShowDescriptionError(out.error.description);
        return;
    }
    handBack(book, out.number, id);
    MsgBox(QStringLiteral("打印处理完成！"));
    Unload();
}

void frm打印文件导出::Command12_Click()
{
    if (!List4->currentItem()) return;
    if (MsgBox(QStringLiteral("确定要作废 ") + Text16->text() + QStringLiteral(" 这张票据？"), vbYesNo) != vbYes) return;
    const qint64 id = List4->currentItem()->data(Qt::UserRole).toLongLong();
    const BillWriteOutcome out = voidSpoiledBill(id, Now(), Login().当前工号);
    if (out.kind == BillWriteOutcome::Failed) {
        ShowStandardError(out.error.number, out.error.description);
        return;
    }
    if (out.kind == BillWriteOutcome::NoRow) MsgBox(QStringLiteral("该票据已被使用或作废"));
    获取可用票据();
    Combo1->setItemData(Combo1->currentIndex(), List4->count());
    Label1[7]->setText(QStringLiteral("票据剩余张数：") + QString::number(List4->count()));
    Text16->clear();
    Command12->setEnabled(false);
}

// ------------------------------------------------------------------ batch

void frm打印文件导出::setBlockPicture(int row, int col, const QPixmap& picture)
{
    // Centred in its column: the grid draws a cell's picture at the left.
    const int width = std::max(picture.width(), px(MSFlexGrid1->ColWidth(col)) - FlexGrid::kTextMargins);
    QPixmap centred(width, picture.height());
    centred.fill(Qt::transparent);
    {
        QPainter p(&centred);
        p.drawPixmap((width - picture.width()) / 2, 0, picture);
    }
    MSFlexGrid1->setRow(row);
    MSFlexGrid1->setCol(col);
    MSFlexGrid1->setCellPicture(centred);
}

void frm打印文件导出::建立批处理表格()
{
    Picture7->show();
    Picture7->raise();
    批处理起始行 = 1;
    FlexGrid& g = *MSFlexGrid1;
    g.setRedraw(false);
    g.setRows(1);
    g.setCols(6);
    g.setFixedRows(1);
    g.setFixedCols(1);
    g.setFormatString(QStringLiteral("^%1|^%2|<%3|>%4|<%5|^%6")
                          .arg(padded(QStringLiteral("序"), 3), padded(QStringLiteral("开票信息"), 51),
                               padded(QStringLiteral("项目"), 31), padded(QStringLiteral("金额"), 23),
                               padded(QStringLiteral("备注"), 36), padded(QStringLiteral("票据信息"), 19)));
    // The cells' pictures show whole, whatever the face makes of the blanks.
    g.setColWidth(1, std::max(g.ColWidth(1), kPayerPictureWidth + 150));
    g.setColWidth(5, std::max(g.ColWidth(5), kBillPictureWidth + 150));
    const int n = records();
    {
        // The fill keeps one copy of a text repeated down a block, so the
        // runs of blanks cost one string per invoice, not five.
        FlexGridFill fill(g);
        for (int i = 1; i <= n; ++i) {
            const 发票打印记录& r = (*发票打印数据)[size_t(i)];
            const int first = kDetailRows * i - 4;
            const QStringList lines = detailLines(r.明细);
            const QString blanks(first, u' ');
            const QString number = QString::number(i);
            for (int k = 0; k < kDetailRows; ++k) {
                std::array<QString, 3> parts;
                if (k < lines.size()) parts = detailParts(lines[k]);
                fill.row();
                fill.text(0, number);
                fill.text(1, blanks);
                for (int c = 0; c < 3; ++c) fill.text(2 + c, parts[size_t(c)]);
                fill.text(5, blanks);
            }
        }
    }
    const int rowHeight = kPictureHeight / kDetailRows;
    for (int r = 1; r < g.Rows(); ++r) g.setRowHeight(r, rowHeight);
    g.setMergeCells(flexMergeRestrictColumns);
    g.setMergeCol(0, true);
    g.setMergeCol(1, true);
    g.setMergeCol(5, true);
    for (int i = 1; i <= n; ++i) {
        DataToPicture8(i);
        PrintTopicture10();
        setBlockPicture(kDetailRows * i - 4, 1, Picture10);
    }
    g.setRedraw(true);
    if (g.Rows() > 1) {
        g.setRow(1);
        g.setCol(1);
    }
}

void frm打印文件导出::clickGridCell(int row, int col)
{
    MSFlexGrid1->setRow(row);
    MSFlexGrid1->setCol(col);
    MSFlexGrid1_Click();
}

void frm打印文件导出::MSFlexGrid1_Click()
{
    List3->hide();
    List5->hide();
    List6->hide();
    const int row = MSFlexGrid1->Row(), col = MSFlexGrid1->Col();
    if (row < 1) return;
    const int n = MSFlexGrid1->TextMatrix(row, 0).toInt();
    if (n < 1 || n > records()) return;
    const bool assigned = TagOf(Picture7) == kAssigned;
    QFrame* editor = nullptr;
    if (col == 1 && !assigned) {
        MSFlexGrid1->setRow(kDetailRows * n - 4);
        DataToPicture8(n);
        editor = Picture8;
    } else if (col == 5 && assigned) {
        MSFlexGrid1->setRow(kDetailRows * n - 4);
        MSFlexGrid1->setCol(5);
        DataToPicture11(n);
        editor = Picture11;
    } else {
        return;
    }
    editor->move(Picture7->x() + MSFlexGrid1->x() + px(MSFlexGrid1->CellLeft()),
                 Picture7->y() + MSFlexGrid1->y() + px(MSFlexGrid1->CellTop()));
    SetTag(editor, QString::number(n));
    editor->show();
    editor->raise();
}

void frm打印文件导出::MSFlexGrid1_Scroll()
{
    Picture8->hide();
    Picture11->hide();
    List3->hide();
    List5->hide();
    List6->hide();
}

bool frm打印文件导出::票据冲突(const QString& number) const
{
    if (!发票打印数据) return false;
    const int editing = TagOf(Picture11).toInt();
    const QString book = chosenBook();
    for (int n = 1; n <= records(); ++n) {
        if (n == editing) continue;
        const 发票打印记录& r = (*发票打印数据)[size_t(n)];
        if (r.票据编号 == number && r.入库单编号 == book && !number.isEmpty()) return true;
    }
    return false;
}

void frm打印文件导出::Picture9_Click(int index)
{
    const int n = index <= 3 ? TagOf(Picture8).toInt() : TagOf(Picture11).toInt();
    const bool valid = 发票打印数据 && n >= 1 && n <= records();
    switch (index) {
    case 0:
        if (valid) {
            发票打印记录& r = (*发票打印数据)[size_t(n)];
            r.付款方类型 = Text15[0]->text();
            r.付款方手机号码 = Text15[1]->text();
            r.付款方名称 = Text15[2]->text();
            r.付款方证件类型 = Text15[3]->text();
            r.付款方证件号码 = Text15[4]->text();
            PrintTopicture10();
            setBlockPicture(kDetailRows * n - 4, 1, Picture10);
        }
        Picture8->hide();
        break;
    case 1: Picture8->hide(); break;
    case 2:
        List3->hide();
        toggle(List5);
        break;
    case 3:
        List5->hide();
        List3->move(Picture8->x() + Text15[3]->x(), Picture8->y() + Text15[3]->y() + px(255));
        toggle(List3);
        SetTag(List3, QStringLiteral("pcl"));
        break;
    case 4: {
        const int left = Picture11->x() + Text17[0]->x();
        int top = Picture11->y() + Text17[0]->y() + px(255);
        if (top + List6->height() > Picture7->y() + Picture7->contentsRect().bottom())
            top = Picture11->y() + Text17[0]->y() - List6->height();
        List6->move(left, top);
        toggle(List6);
        break;
    }
    case 5:
        if (valid) {
            发票打印记录& r = (*发票打印数据)[size_t(n)];
            r.票据编号 = Text17[0]->text();
            r.实际票据编号 = Text17[1]->text();
            r.票据ID = TagOf(Text17[0]);
            r.入库单编号 = chosenBook();
            PrintTopicture12();
            setBlockPicture(kDetailRows * n - 4, 5, Picture12);
        }
        Picture11->hide();
        break;
    case 6:
        Picture11->hide();
        List6->hide();
        break;
    default: break;
    }
}

void frm打印文件导出::List5_Click()
{
    if (auto* item = List5->currentItem()) Text15[0]->setText(item->text());
    List5->hide();
}

void frm打印文件导出::List6_Click()
{
    auto* item = List6->currentItem();
    if (!item) return;
    if (票据冲突(item->text())) {
        MsgBox(item->text() + QStringLiteral("号票据已经被选择，请选择其他编号票据"));
        return;
    }
    Text17[0]->setText(item->text());
    SetTag(Text17[0], item->data(Qt::UserRole).toString());
    List6->hide();
}

void frm打印文件导出::Command13_Click()
{
    if (!batchMode() || records() == 0) {
        MsgBox(QStringLiteral("没有需要处理的批打印票据"));
        return;
    }
    std::vector<BatchPrintedBill> bills;
    for (int n = 1; n <= records(); ++n) {
        const 发票打印记录& r = (*发票打印数据)[size_t(n)];
        if (r.票据ID.isEmpty()) {
            MsgBox(QStringLiteral("第%1份票据没有确认票据编号").arg(n));
            return;
        }
        bills.push_back({n, r.票据ID.toLongLong(), r.实际票据编号});
    }
    if (ReopenInPlace().isValid()) {
        ShowNumberedError(0, QStringLiteral("无法重新连接数据库"));
        return;
    }
    const BillWriteOutcome out = recordPrintedNumbers(bills);
    if (out.kind == BillWriteOutcome::NoRow) {
        MsgBox(QStringLiteral("第%1份发票的票据已被使用或作废，请重新选择票据").arg(out.invoice));
        return;
    }
    if (!out.done()) {
        ShowNumberedError(out.error.number, out.error.description);
        return;
    }
    if (QFileInfo::exists(导出文件路径) && !QFile::remove(导出文件路径)) {
        MsgBox(QStringLiteral("导出的打印文件打开之中，无法删除，请先关闭") + 导出文件路径);
        return;
    }
    if (Tag == QStringLiteral("前台收款") && frontDeskBatchFinished) frontDeskBatchFinished();
    MsgBox(QStringLiteral("打印处理完成！"));
    Unload();
}

}  // namespace corvane
