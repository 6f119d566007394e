// The control tree of the expiry and termination window, geometry in twips.

#include "db/Schema.h"
#include "plans/ExpiryRules.h"
#include "plans/frm合同到期处理.h"
#include "platform/InputRules.h"
#include "platform/Widgets.h"

namespace corvane {

namespace {

QGroupBox* groupBox(QWidget* parent, const QString& name, const QString& caption, int left, int top, int width, int height)
{
    auto* g = named(new QGroupBox(caption, parent), name);
    place(g, left, top, width, height);
    return g;
}

void label(QWidget* parent, const QString& name, const QString& caption, int left, int top, int width)
{
    place(named(new QLabel(caption, parent), name), left, top, width, 255);
}

QLineEdit* line(QWidget* parent, const QString& name, int left, int top, int width, int maxLength)
{
    auto* e = named(new QLineEdit(parent), name);
    applyLineRules(e, maxLength);
    place(e, left, top, width, 300);
    return e;
}

QDateEdit* picker(QWidget* parent, const QString& name, int left, int top)
{
    auto* d = named(new QDateEdit(parent), name);
    d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    d->setCalendarPopup(true);
    d->setDateRange(plans::kNoDate, QDate(9999, 12, 31));
    d->setDate(plans::kNoDate);
    place(d, left, top, 1560, 300);
    return d;
}

}  // namespace

void frm合同到期处理::buildLayout()
{
    setObjectName(QStringLiteral("frm合同到期处理"));
    setCaption(QStringLiteral("合同到期/中止处理"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(px(8640), px(6480));
    useLayoutFace(this);

    QGroupBox* info = groupBox(this, QStringLiteral("Frame1"), QStringLiteral("合同信息"), 120, 60, 8400, 1500);
    label(info, QStringLiteral("Label1"), QStringLiteral("合同编号"), 120, 330, 850);
    Text1[0] = line(info, QStringLiteral("Text1_0"), 1000, 300, 2700, 50);
    label(info, QStringLiteral("Label2"), QStringLiteral("合同名称"), 3900, 330, 850);
    Text1[1] = line(info, QStringLiteral("Text1_1"), 4780, 300, 3480, 0);
    label(info, QStringLiteral("Label3"), QStringLiteral("生效日期"), 120, 720, 850);
    Text1[2] = line(info, QStringLiteral("Text1_2"), 1000, 690, 1500, 0);
    label(info, QStringLiteral("Label4"), QStringLiteral("终止日期"), 2700, 720, 850);
    Text1[3] = line(info, QStringLiteral("Text1_3"), 3580, 690, 1500, 0);
    label(info, QStringLiteral("Label5"), QStringLiteral("余款"), 120, 1110, 850);
    Text1[4] = line(info, QStringLiteral("Text1_4"), 1000, 1080, 1500, 0);
    label(info, QStringLiteral("Label6"), QStringLiteral("已付"), 2700, 1110, 850);
    Text1[5] = line(info, QStringLiteral("Text1_5"), 3580, 1080, 1500, 0);
    for (QLineEdit* t : Text1) t->setReadOnly(true);
    Text1[4]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Text1[5]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    QGroupBox* handling = groupBox(this, QStringLiteral("Frame2"), QStringLiteral("合同处理"), 120, 1620, 8400, 4080);
    label(handling, QStringLiteral("Label7"), QStringLiteral("终止类型"), 120, 330, 850);
    Combo1 = named(new QComboBox(handling), QStringLiteral("Combo1"));
    Combo1->addItems(plans::terminationCategories());
    Combo1->setCurrentIndex(-1);
    place(Combo1, 1000, 300, 2700, 300);
    label(handling, QStringLiteral("Label8"), QStringLiteral("中止日期"), 3900, 330, 850);
    DTPicker1 = picker(handling, QStringLiteral("DTPicker1"), 4780, 300);

    label(handling, QStringLiteral("Label9"), QStringLiteral("中止原因"), 120, 720, 850);
    Text2 = named(new TextBox(handling, true), QStringLiteral("Text2"));
    Text2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text2->setMaxLength(schema::textLength(QStringLiteral("合同信息"), QStringLiteral("中止原因")));
    place(Text2, 1000, 690, 7260, 900);

    label(handling, QStringLiteral("Label11"), QStringLiteral("违约金处理"), 120, 1740, 1000);
    Combo2 = named(new QComboBox(handling), QStringLiteral("Combo2"));
    Combo2->addItems(plans::penaltyHandlings());
    Combo2->setCurrentIndex(-1);
    place(Combo2, 1140, 1710, 1600, 300);
    label(handling, QStringLiteral("Label12"), QStringLiteral("违约金"), 2900, 1740, 650);
    Text3 = line(handling, QStringLiteral("Text3"), 3560, 1710, 1300, kNumberBoxLength);
    Text3->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label(handling, QStringLiteral("Label13"), QStringLiteral("违约金收/付日期"), 5000, 1740, 1560);
    DTPicker2 = picker(handling, QStringLiteral("DTPicker2"), 6640, 1710);

    Check1 = named(new QCheckBox(QStringLiteral("余款勾销"), handling), QStringLiteral("Check1"));
    place(Check1, 120, 2160, 1400, 300);
    Label10 = named(new QLabel(QStringLiteral("提醒：如果本合同存在余款未结清，请先进行收或付款处理。如果不再支付或收取余款，"
                                              "则在余款勾销打“√”"),
                               handling),
                    QStringLiteral("Label10"));
    Label10->setWordWrap(true);
    Label10->setStyleSheet(QStringLiteral("color: rgb(192, 0, 0);"));
    place(Label10, 120, 2520, 8160, 560);

    Check2 = named(new QCheckBox(QStringLiteral("合同续签"), handling), QStringLiteral("Check2"));
    place(Check2, 120, 3420, 1400, 300);
    Command3 = button(handling, QStringLiteral("Command3"), QStringLiteral("续签合同"));
    place(Command3, 1560, 3360, 1300, 420);
    Command3->setEnabled(false);

    Command1 = button(this, QStringLiteral("Command1"), QStringLiteral("确定"));
    place(Command1, 5700, 5880, 1300, 420);
    Command2 = button(this, QStringLiteral("Command2"), QStringLiteral("退出"));
    place(Command2, 7200, 5880, 1300, 420);
}

}  // namespace corvane
