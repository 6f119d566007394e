#include "contracts/frm合同信息浏览.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QSet>
#include <algorithm>
#include <cmath>

#include "app/Helpers.h"
#include "contracts/ContractFormats.h"
#include "contracts/ContractLookups.h"
#include "contracts/ContractStore.h"
#include "platform/Services.h"
#include "platform/TextMeasure.h"
#include "platform/Widgets.h"

namespace corvane {

using namespace contract;

namespace {

const QString kPaymentHeader = QStringLiteral("序|计划付款日期|计划付款金额|已付金额     |余额        |科目代号|");
const QString kReceiptHeader = QStringLiteral("序|计划收款日期|计划收款金额|已收金额     |余额        |科目代号|");
const QString kNodeHeader = QStringLiteral(
    "<序|<阶段      |<要求                     |<时间节点   |完成情况             |检查人     |检查日期|");

// Tops on a tab are given from the top of the tab control, whose strip of
// tab captions takes about this much.
constexpr int kTabStrip = 390;
constexpr int onPage(int twips) { return std::max(0, px(twips - kTabStrip)); }

QLabel* label(QWidget* parent, const QString& text, int left, int top)
{
    auto* l = new QLabel(text, parent);
    l->setGeometry(px(left), onPage(top), std::max(px(1100), l->sizeHint().width()), px(300));
    return l;
}

// Nine-point 宋体, or where that face is missing a CJK face, so that a
// measured text has the widths and heights the grid draws it with.
QFont gridFace()
{
    QFont f;
    f.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("Noto Serif CJK SC"),
                   QStringLiteral("Noto Sans CJK SC")});
    f.setPointSize(9);
    return f;
}

void fail(const QString& description) { ShowStandardError(0, description); }

}  // namespace

frm合同信息浏览::frm合同信息浏览()
{
    setObjectName(QStringLiteral("frm合同信息浏览"));
    setCaption(QStringLiteral("合同信息浏览"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(px(8715), px(6405));
    useLayoutFace(this);

    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab1->setGeometry(px(60), px(30), px(8595), px(5745));
    auto* basic = new QWidget;
    auto* plan = new QWidget;
    auto* nodes = new QWidget;
    SSTab1->addTab(basic, QStringLiteral("基本信息"));
    SSTab1->addTab(plan, QStringLiteral("付款计划及支付情况"));
    SSTab1->addTab(nodes, QStringLiteral("节点控制计划"));

    Command4 = new QPushButton(QStringLiteral("关闭"), this);
    Command4->setObjectName(QStringLiteral("Command4"));
    Command4->setGeometry(px(6840), px(5910), px(1365), px(345));

    // Tab "基本信息": rows at fixed tops, three field columns.
    auto text = [&](int i, int left, int top, int width) {
        auto* t = new QLineEdit(basic);
        t->setObjectName(QStringLiteral("Text%1").arg(i));
        t->setGeometry(px(left), onPage(top), px(width), px(300));
        t->installEventFilter(this);
        Text[size_t(i)] = t;
    };
    auto combo = [&](int i, int left, int top, int width, bool editable) {
        auto* c = new QComboBox(basic);
        c->setObjectName(QStringLiteral("Combo%1").arg(i));
        c->setEditable(editable);
        c->setGeometry(px(left), onPage(top), px(width), px(300));
        Combo[size_t(i)] = c;
    };
    auto picker = [&](int i, int left, int top, int width = 1500) {
        auto* d = new QDateEdit(basic);
        d->setObjectName(QStringLiteral("DTPicker%1").arg(i));
        d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        d->setDateRange(minimumDate(), QDate(9999, 12, 31));
        d->setDate(minimumDate());
        // The minimum stands for "no date": the box shows nothing then.
        d->setSpecialValueText(QStringLiteral(" "));
        d->setGeometry(px(left), onPage(top), px(width), px(300));
        d->installEventFilter(this);
        for (QObject* child : d->children()) child->installEventFilter(this);
        DTPicker[size_t(i)] = d;
    };
    label(basic, QStringLiteral("合同编号"), 120, 540);
    text(1, 1200, 540, 2400);
    label(basic, QStringLiteral("合同名称"), 3720, 540);
    text(2, 4800, 540, 3600);
    label(basic, QStringLiteral("合同类别"), 120, 870);
    // Wide enough for a type's code and name ("01 物业服务合同").
    combo(1, 1200, 870, 1740, false);
    label(basic, QStringLiteral("合同签订日期"), 3000, 870);
    picker(1, 4080, 870, 1320);
    label(basic, QStringLiteral("合同生效日期"), 5460, 870);
    picker(2, 6540, 870);
    label(basic, QStringLiteral("合同期限"), 120, 1200);
    text(3, 1200, 1200, 800);
    combo(2, 2040, 1200, 660, true);
    Combo[2]->addItems({QStringLiteral("年"), QStringLiteral("月"), QStringLiteral("日")});
    Combo[2]->setCurrentIndex(-1);
    label(basic, QStringLiteral("合同终止日期"), 3000, 1200);
    picker(3, 4080, 1200, 1320);
    label(basic, QStringLiteral("合同中止日期"), 5460, 1200);
    picker(4, 6540, 1200);
    label(basic, QStringLiteral("合同状态"), 120, 1530);
    combo(3, 1200, 1530, 1500, false);
    Combo[3]->addItems({QStringLiteral("签约中"), QStringLiteral("履行中"), QStringLiteral("中止"), QStringLiteral("履行完成")});
    Combo[3]->setCurrentIndex(-1);
    Check1 = new QCheckBox(QStringLiteral("合格供方"), basic);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->setGeometry(px(2760), onPage(1530), px(1100), px(300));
    label(basic, QStringLiteral("合格供方名称"), 3900, 1530);
    combo(4, 5100, 1530, 3300, true);
    label(basic, QStringLiteral("对方单位"), 120, 1860);
    text(4, 1200, 1860, 3000);
    label(basic, QStringLiteral("对方开户行"), 4320, 1860);
    text(5, 5400, 1860, 3000);
    label(basic, QStringLiteral("对方帐号"), 120, 2190);
    text(6, 1200, 2190, 3000);
    label(basic, QStringLiteral("对应部门"), 4320, 2190);
    text(7, 5400, 2190, 3000);
    Text[7]->setReadOnly(true);
    label(basic, QStringLiteral("本方签约人"), 120, 2520);
    text(8, 1200, 2520, 1500);
    label(basic, QStringLiteral("对方签约人"), 2760, 2520);
    text(9, 3840, 2520, 1500);
    label(basic, QStringLiteral("合同金额"), 5460, 2520);
    text(10, 6540, 2520, 1860);
    label(basic, QStringLiteral("主要条款"), 120, 2910);
    Text11 = new QPlainTextEdit(basic);
    Text11->setObjectName(QStringLiteral("Text11"));
    Text11->setGeometry(px(900), onPage(2910), px(7485), px(2325));
    Text11->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text11->installEventFilter(this);
    label(basic, QStringLiteral("对应续约合同编号"), 120, 5340);
    text(12, 1800, 5340, 2400);

    MSFlexGrid1 = new FlexGrid(plan);
    MSFlexGrid1->setObjectName(QStringLiteral("MSFlexGrid1"));
    MSFlexGrid1->setGeometry(px(60), onPage(360), px(8445), px(4935));
    MSFlexGrid1->setFont(gridFace());
    // Until a contract of a known category is loaded the grid shows the
    // headings of the tab's own kind.
    MSFlexGrid1->setFormatString(kPaymentHeader);
    MSFlexGrid1->setRows(1);
    MSFlexGrid1->setColWidth(6, 0);
    MSFlexGrid1->clipLongTexts();
    Label20 = new QLabel(QStringLiteral("合计"), plan);
    Label20->setObjectName(QStringLiteral("Label20"));
    Label20->setGeometry(px(60), onPage(5340), px(8445), px(300));

    MSFlexGrid2 = new FlexGrid(nodes);
    MSFlexGrid2->setObjectName(QStringLiteral("MSFlexGrid2"));
    MSFlexGrid2->setGeometry(px(60), onPage(360), px(8460), px(5295));
    MSFlexGrid2->setFont(gridFace());
    MSFlexGrid2->setFormatString(kNodeHeader);
    MSFlexGrid2->setRows(1);
    MSFlexGrid2->clipLongTexts();

    QObject::connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
    QObject::connect(Check1, &QCheckBox::toggled, this, [this] { Check1_Click(); });
    QObject::connect(Combo[2], &QComboBox::activated, this, [this] { Combo2_Click(); });

    // The focus order of the old window.
    QList<QWidget*> order = {Command4, SSTab1, Text[10], Text11, Text[9], Text[6], Text[5], Text[4], Combo[4],
                             Combo[3], Combo[2], Text[3], Text[2], Combo[1], Text[1], Check1, Text[7], Text[8],
                             Text[12], DTPicker[1], DTPicker[2], DTPicker[3], DTPicker[4], MSFlexGrid1, MSFlexGrid2};
    for (int i = 0; i + 1 < order.size(); ++i) setTabOrder(order[i], order[i + 1]);
}

void frm合同信息浏览::Form_Activate()
{
    if (!m_centred && isWindow()) {
        m_centred = true;
        if (const QScreen* s = QGuiApplication::primaryScreen()) {
            const QRect a = s->availableGeometry();
            move(a.x() + (a.width() - width()) / 2, a.y() + (a.height() - height()) / 2);
        }
    }
    if (加载选择列表()) 读取合同资料();
}

bool frm合同信息浏览::加载选择列表()
{
    const auto types = allContractTypes();
    if (!types) {
        reportDbError(types.error());
        return false;
    }
    Combo[1]->clear();
    for (const ContractType& t : *types) Combo[1]->addItem(t.code + QLatin1Char(' ') + t.name);
    // A refilled list has no choice until the contract's type makes one.
    Combo[1]->setCurrentIndex(-1);

    const auto suppliers = suppliersOfDepartment(TagOf(Text[10]));
    if (!suppliers) {
        reportDbError(suppliers.error());
        return false;
    }
    Combo[4]->clear();
    Combo[4]->addItem(QStringLiteral("无"));
    for (const Supplier& sp : *suppliers) Combo[4]->addItem(sp.code + QLatin1Char(' ') + sp.name);
    return true;
}

void frm合同信息浏览::读取合同资料()
{
    const QString number = Text[1]->text();
    const auto found = contractWithCategoryByNumber(number);
    if (!found) return reportDbError(found.error());
    if (found->count() == 0) return fail(QStringLiteral("没有合同编号为“") + number + QStringLiteral("”的合同"));
    const Row& c = *found;
    auto dateOr = [&](const char* column) {
        const QDate d = toDate(c.value(QString::fromUtf8(column)));
        return d.isValid() ? d : minimumDate();
    };

    Text[2]->setText(c.text(QStringLiteral("合同名称")));
    if (!c.isNull(QStringLiteral("合同类型"))) {
        const QString type = c.text(QStringLiteral("合同类型"));
        for (int i = 0; i < Combo[1]->count(); ++i)
            if (Combo[1]->itemText(i).section(QLatin1Char(' '), 0, 0) == type) {
                Combo[1]->setCurrentIndex(i);
                break;
            }
    }
    DTPicker[1]->setDate(dateOr("合同签订日期"));
    DTPicker[2]->setDate(dateOr("合同生效日期"));
    Text[3]->setText(c.text(QStringLiteral("合同期限")));
    Combo[2]->setEditText(c.text(QStringLiteral("字")));
    DTPicker[3]->setDate(dateOr("合同终止日期"));
    DTPicker[4]->setDate(dateOr("合同中止日期"));
    if (!c.isNull(QStringLiteral("合同状态"))) {
        const int i = Combo[3]->findText(c.text(QStringLiteral("合同状态")), Qt::MatchExactly);
        if (i >= 0) Combo[3]->setCurrentIndex(i);
    }
    Check1->setChecked(c.value(QStringLiteral("是否是合格供方")).toInt() != 0);
    Combo[4]->setCurrentIndex(0);
    if (Check1->isChecked() && !c.isNull(QStringLiteral("合格供方代码"))) {
        const QString code = c.text(QStringLiteral("合格供方代码"));
        for (int i = 1; i < Combo[4]->count(); ++i)
            if (Combo[4]->itemText(i).section(QLatin1Char(' '), 0, 0) == code) {
                Combo[4]->setCurrentIndex(i);
                break;
            }
    }
    Text[4]->setText(c.text(QStringLiteral("对方单位")));
    Text[5]->setText(c.text(QStringLiteral("对方开户行")));
    Text[6]->setText(c.text(QStringLiteral("对方帐号")));
    Text[8]->setText(c.text(QStringLiteral("签约人")));
    Text[9]->setText(c.text(QStringLiteral("对方签约人")));
    const auto amount = centsOf(c.value(QStringLiteral("合同金额")));
    Text[10]->setText(amount ? amountTextNoLeadingZero(*amount) : QStringLiteral("0.00"));
    Text11->setPlainText(c.text(QStringLiteral("主要条款")));

    const QString category = c.text(QStringLiteral("合同类别"));
    const QString trimmed = number.trimmed();
    if (category == 付款合同 || category == 收款合同) {
        if (!读取收付款计划(category == 付款合同, trimmed)) return;
    }
    读取节点计划(trimmed);
}

bool frm合同信息浏览::读取收付款计划(bool payment, const QString& number)
{
    FlexGrid& g = *MSFlexGrid1;
    g.setFormatString(payment ? kPaymentHeader : kReceiptHeader);
    const auto rows = instalmentsWithRecords(payment, number);
    if (!rows) {
        reportDbError(rows.error());
        return false;
    }
    g.setRows(1);

    // An instalment settled by several records shows once per record but
    // counts once in the totals.
    qint64 total = 0, balance = 0;
    QSet<qint64> counted;
    const QDate today = Today();
    const QColor buttonFace = QApplication::palette().color(QPalette::Button);
    for (const Row& r : *rows) {
        const QDate on = toDate(r.value(1));
        const auto cents = centsOf(r.value(2));
        if (!on.isValid() || !cents) {
            fail(QStringLiteral("收付款计划的日期或金额为空"));
            return false;
        }
        const auto rest = centsOf(r.value(3));
        const qint64 open = rest.value_or(0);
        const qint64 id = r.value(0).toLongLong();
        if (!counted.contains(id)) {
            counted.insert(id);
            total += *cents;
            balance += open;
        }
        const int row = g.Rows();
        g.appendRow({QString::number(row), dateText(r.value(1)), centsText(*cents), centsText(*cents - open),
                     centsText(open), r.text(4), QString::number(id)});
        if (on <= today && rest && *rest != 0) {
            g.setRow(row);
            g.setCol(1);
            g.setCellBackColor(buttonFace);
        }
        // Measured in the face the grid draws with (the old window and its
        // grids shared one face; here they do not).
        for (int c = 1; c <= 6; ++c) {
            const double w = TextWidthTwips(g.font(), g.TextMatrix(row, c)) + 90;
            if (g.ColWidth(c) < w) g.setColWidth(c, int(std::lround(w)));
        }
    }
    g.setColAlignment(1, flexAlignLeftCenter);
    g.setColWidth(6, 0);
    Label20->setText(QStringLiteral("合同总金额：") + centsText(total) +
                     (payment ? QStringLiteral("   应付余额：") : QStringLiteral("   应收余额：")) + centsText(balance));
    return true;
}

bool frm合同信息浏览::读取节点计划(const QString& number)
{
    const auto rows = performanceNodes(number);
    if (!rows) {
        reportDbError(rows.error());
        return false;
    }
    FlexGrid& g = *MSFlexGrid2;
    g.setRows(1);
    g.setColWidth(g.Cols() - 1, 0);
    for (const Row& r : *rows) {
        const int row = g.Rows();
        g.appendRow({QString::number(row), r.text(1), r.text(2), dateText(r.value(3)), r.text(4), r.text(5),
                     dateText(r.value(6)), r.text(0)});
        for (int c = 0; c <= 6; ++c) {
            const QString t = g.TextMatrix(row, c);
            const double w = TextWidthTwips(g.font(), t) + 90;
            if (g.ColWidth(c) < w) g.setColWidth(c, int(std::lround(w)));
            const double h = TextHeightTwips(g.font(), t) + 40;
            if (g.RowHeight(row) < h) g.setRowHeight(row, int(std::lround(h)));
        }
    }
    for (int c = 1; c <= 6; ++c) g.setColAlignment(c, flexAlignLeftCenter);
    return true;
}

void frm合同信息浏览::Check1_Click() { Combo[4]->setEnabled(Check1->isChecked()); }

void frm合同信息浏览::Combo2_Click()
{
    const QString unit = Combo[2]->currentText();
    if (Text[3]->text().isEmpty()) return;
    // A part unit is dropped: a term of 1.5 months adds one month.
    const int n = int(std::trunc(leadingNumber(Text[3]->text())));
    const QDate from = DTPicker[2]->date();
    if (unit == QStringLiteral("年")) DTPicker[3]->setDate(from.addYears(n));
    else if (unit == QStringLiteral("月")) DTPicker[3]->setDate(from.addMonths(n));
    else if (unit == QStringLiteral("日")) DTPicker[3]->setDate(from.addDays(n));
}

void frm合同信息浏览::DTPicker_DblClick(int index) { DTPicker[size_t(index)]->setDate(minimumDate()); }

void frm合同信息浏览::Command4_Click() { Unload(); }

void frm合同信息浏览::Text_KeyPress(int index, int& KeyAscii)
{
    if (KeyAscii == 13) {
        focusNextChild();
        return;
    }
    if (index == 3 || index == 10) KeyAscii = CheckNumberKey(KeyAscii, Text[size_t(index)]->text());
}

bool frm合同信息浏览::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        for (int i = 1; i <= 4; ++i)
            if (watched == DTPicker[size_t(i)] || watched->parent() == DTPicker[size_t(i)]) {
                DTPicker_DblClick(i);
                return true;
            }
    }
    if (event->type() != QEvent::KeyPress) return Form::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    int index = 0;
    if (watched == Text11) index = 11;
    for (int i = 1; i <= 12 && !index; ++i)
        if (Text[size_t(i)] && watched == Text[size_t(i)]) index = i;
    if (!index) return Form::eventFilter(watched, event);
    int ascii = 0;
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) ascii = 13;
    else if (key->key() == Qt::Key_Backspace) ascii = 8;
    else if (!key->text().isEmpty()) ascii = key->text().at(0).unicode();
    if (!ascii) return Form::eventFilter(watched, event);
    if (ascii == 13 && index == 11) {
        // The new line goes in before the focus moves on.
        Text11->insertPlainText(QStringLiteral("\n"));
        focusNextChild();
        return true;
    }
    Text_KeyPress(index, ascii);
    if (ascii == 13 || ascii == 0) return true;
    return false;
}

}  // namespace corvane
