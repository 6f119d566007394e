#include "bills/frm开票项目设置.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMouseEvent>

#include "app/LoginContext.h"
#include "db/Schema.h"
#include "platform/InputRules.h"
#include "platform/Services.h"
#include "platform/Tag.h"
#include "platform/Widgets.h"
#include "bills/InvoicingItemRules.h"
#include "bills/VatExchange.h"
#include "bills/VatStore.h"

namespace corvane {

using namespace receipts;

namespace {

namespace col {
constexpr int 序 = 0, 收费项目 = 1, 显示名称 = 2, 应税科目 = 3, SKDH = 4, SKXM = 5, 税率 = 6, ID = 7;
}

const QString kCrLf = QStringLiteral("\r\n");

QString firstWord(const QString& text) { return text.section(QLatin1Char(' '), 0, 0); }

bool isDescendant(QTreeWidgetItem* node, QTreeWidgetItem* of)
{
    for (QTreeWidgetItem* p = node; p; p = p->parent())
        if (p == of) return true;
    return false;
}

}  // namespace

frm开票项目设置::frm开票项目设置() { buildLayout(); }

QString frm开票项目设置::officeCode() const { return firstWord(Combo1->currentText()); }
QString frm开票项目设置::officeName() const
{
    return Combo1->currentText().split(QLatin1Char(' '), Qt::SkipEmptyParts).value(1);
}

// ---- Loading

void frm开票项目设置::Form_Load()
{
    科目列表();
    MSFlexGrid1->setRows(1);

    m_filling = true;
    Combo1->clear();
    if (const auto offices = officesOfUser(Login().当前工号))
        for (const OfficeEntry& o : *offices) Combo1->addItem(o.text());
    else
        reportDbError(offices.error());
    Combo1->setCurrentIndex(-1);
    m_filling = false;

    const auto items = activeFeeItems();
    if (!items) return reportDbError(items.error());
    MSFlexGrid1->setRows(int(items->size()) + 1);
    int r = 0;
    for (const FeeItem& item : *items) {
        ++r;
        MSFlexGrid1->setTextMatrix(r, col::序, QString::number(r));
        MSFlexGrid1->setTextMatrix(r, col::收费项目, item.code + QLatin1Char(' ') + item.name);
        MSFlexGrid1->setTextMatrix(r, col::显示名称, item.display);
        MSFlexGrid1->setTextMatrix(r, col::应税科目, item.subject);
    }
}

void frm开票项目设置::科目列表()
{
    TreeView1->clear();
    const auto subjects = subjectsByLevel();
    if (!subjects) return reportDbError(subjects.error());
    QHash<QString, QTreeWidgetItem*> byCode;
    std::vector<std::pair<QTreeWidgetItem*, QString>> nodes;
    for (const Subject& s : *subjects) {
        auto* node = new QTreeWidgetItem(TreeView1, {s.code + QLatin1Char(' ') + s.name});
        node->setData(0, Qt::UserRole, QStringLiteral("$") + s.code);
        byCode.insert(s.code, node);
        nodes.emplace_back(node, s.superior);
    }
    // From the last to the first, so a superior takes its subordinates with it.
    for (auto it = nodes.rbegin(); it != nodes.rend(); ++it) {
        auto [node, superior] = *it;
        if (superior.isEmpty()) continue;
        QTreeWidgetItem* parent = byCode.value(superior);
        // A missing superior leaves the subject at the top instead of stopping the load.
        if (!parent || isDescendant(parent, node)) continue;
        QTreeWidgetItem* holder = node->parent();
        if (holder) holder->removeChild(node);
        else TreeView1->takeTopLevelItem(TreeView1->indexOfTopLevelItem(node));
        parent->addChild(node);
        parent->setExpanded(false);
    }
}

// ---- Choosing a 管理处

void frm开票项目设置::hidePanels()
{
    for (QFrame* p : {Picture2, Picture3, Picture4, Picture5}) p->hide();
}

void frm开票项目设置::chooseOffice(const QString& entry)
{
    const QString code = firstWord(entry);
    if (code.isEmpty()) return;
    for (int i = 0; i < Combo1->count(); ++i)
        if (firstWord(Combo1->itemText(i)) == code) return Combo1->setCurrentIndex(i);  // runs Combo1_Click
}

void frm开票项目设置::Combo1_Click()
{
    if (m_filling || Combo1->currentIndex() < 0) return;
    // Typed settings not saved would be dropped by the reload without a word.
    if (m_unsaved && Combo1->currentIndex() != m_shownOffice &&
        MsgBox(QStringLiteral("当前管理处的设置已修改但尚未保存，切换后修改将丢失。") + kCrLf +
                   QStringLiteral("是否放弃修改并切换？"),
               vbYesNo + vbQuestion) != vbYes) {
        m_filling = true;
        Combo1->setCurrentIndex(m_shownOffice);
        m_filling = false;
        return;
    }
    Text1->hide();
    Command3->hide();
    Picture1->hide();
    hidePanels();
    loadSettings();
}

void frm开票项目设置::loadSettings()
{
    const auto stored = storedSettingsOf(officeCode());
    if (!stored) return reportDbError(stored.error());
    MSFlexGrid1->hide();
    for (int r = 1; r < MSFlexGrid1->Rows(); ++r)
        for (int c = col::SKDH; c <= col::ID; ++c) MSFlexGrid1->setTextMatrix(r, c, QString());
    for (const StoredSetting& s : *stored) {
        int row = -1;
        for (int r = 1; r < MSFlexGrid1->Rows() && row < 0; ++r)
            if (firstWord(MSFlexGrid1->TextMatrix(r, col::收费项目)) == s.item) row = r;
        if (row < 0) continue;  // the item is no longer in use: its row stays stored
        MSFlexGrid1->setTextMatrix(row, col::SKDH, s.skdh);
        MSFlexGrid1->setTextMatrix(row, col::SKXM, s.skxm);
        MSFlexGrid1->setTextMatrix(row, col::税率, s.rate);
        if (!s.subject.isEmpty()) MSFlexGrid1->setTextMatrix(row, col::应税科目, s.subject);
        MSFlexGrid1->setTextMatrix(row, col::ID, QString::number(s.id));
    }
    MSFlexGrid1->show();
    MSFlexGrid1->setEnabled(true);
    m_shownOffice = Combo1->currentIndex();
    m_unsaved = false;
    Command1->setEnabled(true);
    for (QLabel* link : Label2) link->setEnabled(true);
    List1->clear();
    for (int i = 0; i < Combo1->count(); ++i)
        if (i != Combo1->currentIndex()) List1->addItem(Combo1->itemText(i));
}

// ---- Editing

void frm开票项目设置::MSFlexGrid1_Click()
{
    Text1->hide();
    Command3->hide();
    hidePanels();
    const int row = MSFlexGrid1->Row(), column = MSFlexGrid1->Col();
    if (MSFlexGrid1->Rows() < 2 || row < 1) return;
    // The settings belong to a 管理处: until one is chosen there is nothing to edit.
    if (Combo1->currentIndex() < 0) return;
    if (column >= col::应税科目 && column <= col::税率) openEditor(row, column);
}

void frm开票项目设置::openEditor(int row, int column)
{
    MSFlexGrid1->setRow(row);
    MSFlexGrid1->setCol(column);
    Text1->setGeometry(MSFlexGrid1->x() + px(MSFlexGrid1->CellLeft()), MSFlexGrid1->y() + px(MSFlexGrid1->CellTop()),
                       px(MSFlexGrid1->CellWidth()), px(MSFlexGrid1->CellHeight()));
    // A text cell takes what its column of 税控盘收费项目设置 holds, the rate
    // no more than a number box.
    const QString table = QStringLiteral("税控盘收费项目设置");
    applyLineRules(Text1, column == col::SKDH   ? schema::textLength(table, QStringLiteral("SKDH"))
                          : column == col::SKXM ? schema::textLength(table, QStringLiteral("SKXM"))
                                                : kNumberBoxLength);
    Text1->setText(MSFlexGrid1->TextMatrix(row, column));
    Text1->setReadOnly(column == col::应税科目);
    Text1->show();
    Text1->raise();
    Text1->setFocus();
    Text1->selectAll();
    if (column == col::应税科目) {
        Command3->move(Text1->x() + Text1->width() - Command3->width(), Text1->y());
        Command3->resize(Command3->width(), Text1->height());
        Command3->show();
        Command3->raise();
    } else {
        Command3->hide();
    }
    hidePanels();
}

void frm开票项目设置::MSFlexGrid1_Scroll()
{
    Text1->hide();
    Command3->hide();
}

void frm开票项目设置::Text1_KeyPress(int keyAscii)
{
    if (keyAscii != 13 || Text1->isHidden()) return;
    const int row = MSFlexGrid1->Row(), column = MSFlexGrid1->Col();
    if (MSFlexGrid1->TextMatrix(row, column) != Text1->text()) m_unsaved = true;
    MSFlexGrid1->setTextMatrix(row, column, Text1->text());
    Label2[0]->setEnabled(false);
    if (column == col::税率) {
        Text1->hide();
        Command3->hide();
        return;
    }
    openEditor(row, column + 1);
    if (column + 1 == col::SKXM && Text1->text().isEmpty()) {
        const QString item = MSFlexGrid1->TextMatrix(row, col::收费项目);
        const int blank = int(item.indexOf(QLatin1Char(' ')));
        Text1->setText(blank < 0 ? QString() : item.mid(blank + 1));
        Text1->selectAll();
    }
}

// ---- Subjects

void frm开票项目设置::Command3_Click()
{
    Picture5->setVisible(Picture5->isHidden());
    Picture5->raise();
    const QString current = MSFlexGrid1->TextMatrix(MSFlexGrid1->Row(), col::应税科目);
    Text6->setText(current);
    if (current.isEmpty()) return;
    const auto found = TreeView1->findItems(current, Qt::MatchExactly | Qt::MatchRecursive);
    if (found.isEmpty()) return;
    TreeView1->setCurrentItem(found.front());
    TreeView1->scrollToItem(found.front());
}

void frm开票项目设置::TreeView1_NodeClick(QTreeWidgetItem* node)
{
    if (node) Text6->setText(node->text(0));
}

void frm开票项目设置::Command11_Click()
{
    Text1->setText(Text6->text());
    Text1_KeyPress(13);
    Picture5->hide();
}

// ---- Saving and applying

void frm开票项目设置::Command1_Click()
{
    std::vector<SettingCells> cells;
    for (int r = 1; r < MSFlexGrid1->Rows(); ++r)
        cells.push_back({MSFlexGrid1->TextMatrix(r, col::SKDH), MSFlexGrid1->TextMatrix(r, col::SKXM),
                         MSFlexGrid1->TextMatrix(r, col::税率)});
    if (const auto refusal = incompleteRowRefusal(cells)) {
        MsgBox(*refusal);
        return;
    }
    std::vector<SettingRow> rows;
    for (int r = 1; r < MSFlexGrid1->Rows(); ++r) {
        if (MSFlexGrid1->TextMatrix(r, col::SKDH).isEmpty()) continue;
        rows.push_back({MSFlexGrid1->TextMatrix(r, col::ID).toLongLong(), firstWord(MSFlexGrid1->TextMatrix(r, col::收费项目)),
                        firstWord(MSFlexGrid1->TextMatrix(r, col::应税科目)), MSFlexGrid1->TextMatrix(r, col::SKDH),
                        MSFlexGrid1->TextMatrix(r, col::SKXM), MSFlexGrid1->TextMatrix(r, col::税率)});
    }
    if (rows.empty()) return;
    const auto saved = saveSettings(officeCode(), rows);
    if (!saved) return reportDbError(saved.error());
    Text1->hide();
    Command3->hide();
    loadSettings();
}

void frm开票项目设置::Command2_Click() { Unload(); }

void frm开票项目设置::Label2_Click(int index)
{
    if (!Label2[size_t(index)]->isEnabled()) return;
    hidePanels();
    switch (index) {
    case 0:
        MSFlexGrid1->setEnabled(false);
        Picture1->show();
        Picture1->raise();
        Text1->hide();
        Command3->hide();
        return;
    case 1: {
        for (QLineEdit* box : Text2) box->clear();
        if (const auto path = ProgramFilePath(officeName() + QStringLiteral(".Cfg"))) {
            QString error;
            if (const auto values = readSettingFile(*path, &error))
                for (int i = 0; i < 4 && i < values->size(); ++i) Text2[size_t(i)]->setText(values->at(i));
            if (!error.isEmpty()) MsgBox(error);
        }
        Picture2->show();
        Picture2->raise();
        return;
    }
    case 2:
        获取编号();
        Picture4->show();
        Picture4->raise();
        return;
    }
}

void frm开票项目设置::Label2_MouseDown(int index) { Shape1[size_t(index)]->setFrameShape(QFrame::Box); }
void frm开票项目设置::Label2_MouseUp(int index) { Shape1[size_t(index)]->setFrameShape(QFrame::NoFrame); }

void frm开票项目设置::Command4_Click()
{
    QStringList targets;
    for (int i = 0; i < List1->count(); ++i)
        if (List1->item(i)->isSelected()) targets << firstWord(List1->item(i)->text());
    if (targets.isEmpty()) {
        MsgBox(QStringLiteral("您没有选择要应用的项目，请选择项目后再应用"));
        return;
    }
    if (MsgBox(QStringLiteral("一旦应用到所选项目，将会覆盖所选项目原有设置") + kCrLf + QStringLiteral("是否要继续应用？"),
               vbYesNo) != vbYes)
        return;
    std::vector<SettingRow> rows;
    for (int r = 1; r < MSFlexGrid1->Rows(); ++r) {
        if (MSFlexGrid1->TextMatrix(r, col::ID).isEmpty()) continue;
        rows.push_back({0, firstWord(MSFlexGrid1->TextMatrix(r, col::收费项目)),
                        firstWord(MSFlexGrid1->TextMatrix(r, col::应税科目)), MSFlexGrid1->TextMatrix(r, col::SKDH),
                        MSFlexGrid1->TextMatrix(r, col::SKXM), MSFlexGrid1->TextMatrix(r, col::税率)});
    }
    for (const QString& target : targets) {
        const auto applied = applySettings(target, rows);
        if (!applied) return reportDbError(applied.error());
    }
    MsgBox(QStringLiteral("应用到其他项目完成！"));
    Picture1->hide();
}

void frm开票项目设置::Image1_Click()
{
    Picture1->hide();
    MSFlexGrid1->setEnabled(true);
}

// ---- Numbering

void frm开票项目设置::获取编号()
{
    const auto n = exportNumberingOf(officeCode());
    if (!n) return reportDbError(n.error());
    const ExportNumbering numbering = n->value_or(ExportNumbering());
    Text5[0]->setText(numbering.prefix ? QString::number(*numbering.prefix) : QStringLiteral("888"));
    Text5[1]->setText(numbering.start ? QString::number(*numbering.start) : QStringLiteral("1"));
    Text5_Change();
}

void frm开票项目设置::Text5_Change()
{
    Label1[11]->setText(numberingNote(Text5[0]->text(), Text5[1]->text()));
}

void frm开票项目设置::Command10_Click()
{
    if (Text5[0]->text().isEmpty() || Text5[1]->text().isEmpty()) {
        MsgBox(QStringLiteral("编号字和起始编号不能为空"));
        return;
    }
    bool ok1 = false, ok2 = false;
    const qint64 prefix = Text5[0]->text().toLongLong(&ok1);
    const qint64 start = Text5[1]->text().toLongLong(&ok2);
    if (!ok1 || !ok2) {
        MsgBox(QStringLiteral("起始编号太大，请重新输入"));
        return;
    }
    const NumberingOutcome out = storeExportNumbering(officeCode(), prefix, start);
    switch (out.kind) {
    case NumberingOutcome::Done: Picture4->hide(); return;
    case NumberingOutcome::PrefixUsed:
        MsgBox(QStringLiteral("[") + Text5[0]->text() + QStringLiteral("]已经被其他项目使用，请设置另外的编号字"));
        return;
    case NumberingOutcome::TooLow:
        MsgBox(QStringLiteral("起始编号必须大于等于") + QString::number(out.lowest));
        return;
    case NumberingOutcome::NoRow:
        ShowStandardError(0, QStringLiteral("设置管理处中没有") + officeCode() + QStringLiteral("这个管理处"));
        return;
    case NumberingOutcome::Failed: reportDbError(out.error); return;
    }
}

// ---- Folders

void frm开票项目设置::Command6_Click(int index)
{
    static const int labels[] = {4, 5, 6, 13};
    Label1[7]->setText(Label1[size_t(labels[index])]->text());
    Picture3->setVisible(Picture3->isHidden());
    Picture3->raise();
    const QString path = Text2[size_t(index)]->text();
    if (!path.isEmpty() && QFileInfo(path).isDir()) setDirPath(path);
    SetTag(Picture3, QString::number(index));
}

void frm开票项目设置::setDirPath(const QString& path)
{
    m_dirPath = path;
    refreshDir(QString());
    Dir1_Change();
}

void frm开票项目设置::refreshDir(const QString& select)
{
    Dir1->hide();
    Dir1->clear();
    // The folder's ancestors from the root, the folder itself, then its subfolders.
    QStringList chain;
    for (QDir d(m_dirPath);; ) {
        chain.prepend(d.absolutePath());
        if (d.isRoot() || !d.cdUp()) break;
    }
    for (const QString& p : chain) {
        auto* item = new QListWidgetItem(QDir(p).isRoot() ? p : QFileInfo(p).fileName(), Dir1);
        item->setData(Qt::UserRole, p);
        if (p == QDir(m_dirPath).absolutePath()) Dir1->setCurrentItem(item);
    }
    const QDir here(m_dirPath);
    for (const QFileInfo& f : here.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        auto* item = new QListWidgetItem(QStringLiteral("    ") + f.fileName(), Dir1);
        item->setData(Qt::UserRole, f.absoluteFilePath());
        if (!select.isEmpty() && f.fileName() == select) Dir1->setCurrentItem(item);
    }
    Dir1->show();
}

void frm开票项目设置::Drive1_Change()
{
    if (Drive1->currentIndex() < 0) return;
    setDirPath(Drive1->currentText());
}

void frm开票项目设置::Dir1_Change()
{
    Text3->setText(QDir::toNativeSeparators(m_dirPath));
    Text4->hide();
}

void frm开票项目设置::Command7_Click()
{
    const int i = TagOf(Picture3).toInt();
    QStringList folders;
    for (QLineEdit* box : Text2) folders << box->text();
    if (sameAsOtherFolder(i, Text3->text(), folders)) {
        MsgBox(QStringLiteral("不能与其他两个目录中任何目录相同，请重新选择"));
        return;
    }
    Text2[size_t(i)]->setText(Text3->text());
    Picture3->hide();
}

void frm开票项目设置::Command8_Click() { Picture3->hide(); }

void frm开票项目设置::Command9_Click()
{
    const QString parent = Text3->text();
    const QString name = newFolderName(parent);
    const QString path = parent + QDir::separator() + name;
    if (!QDir().mkdir(path)) {
        ShowStandardError(0, QStringLiteral("无法创建文件夹：") + path);
        return;
    }
    refreshDir(name);
    m_newFolder = path;
    // Over the new entry of the folder list.
    QListWidgetItem* item = Dir1->currentItem();
    const QRect cell = item ? Dir1->visualItemRect(item) : QRect();
    Text4->setGeometry(Dir1->x() + cell.x() + 2, Dir1->y() + cell.y() + 2, Dir1->width() - cell.x() - 6,
                       std::max(cell.height() + 4, 22));
    Text4->setText(name);
    Text4->show();
    Text4->raise();
    Text4->setFocus();
    Text4->selectAll();
}

void frm开票项目设置::Text4_KeyPress(int keyAscii)
{
    if (keyAscii != 13 || m_newFolder.isEmpty()) return;
    const QString target = m_dirPath + QDir::separator() + Text4->text();
    if (target != m_newFolder && !QDir().rename(m_newFolder, target)) {
        ShowStandardError(0, QStringLiteral("无法将文件夹改名为：") + target);
        return;
    }
    refreshDir(Text4->text());
    m_newFolder.clear();
    Text4->hide();
}

void frm开票项目设置::Command5_Click()
{
    const auto path = ProgramFilePath(officeName() + QStringLiteral(".Cfg"));
    QStringList values;
    for (QLineEdit* box : Text2) values << box->text();
    QString error;
    if (!path || !writeSettingFile(*path, values, &error)) {
        ShowStandardError(0, error.isEmpty() ? QStringLiteral("接口配置文件无法写入") : error);
        return;
    }
    for (const QString& folder : values) {
        if (folder.isEmpty() || QFileInfo::exists(folder)) continue;
        if (!QDir().mkdir(folder)) {
            ShowStandardError(0, QStringLiteral("无法创建目录：") + folder);
            return;
        }
    }
    Picture2->hide();
}

// ---- Events the controls give

bool frm开票项目设置::eventFilter(QObject* watched, QEvent* event)
{
    for (int i = 0; i < 3; ++i) {
        if (watched != Label2[size_t(i)] || !Label2[size_t(i)]->isEnabled()) continue;
        if (event->type() == QEvent::MouseButtonPress) Label2_MouseDown(i);
        if (event->type() == QEvent::MouseButtonRelease) {
            Label2_MouseUp(i);
            Label2_Click(i);
        }
    }
    return Form::eventFilter(watched, event);
}

}  // namespace corvane
