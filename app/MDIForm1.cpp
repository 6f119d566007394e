#include "app/MDIForm1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QImage>
#include <QLayout>
#include <QMdiSubWindow>
#include <QScreen>
#include <QVBoxLayout>

#include "app/Helpers.h"
#include "app/LoginContext.h"
#include "app/MainWindowHooks.h"
#include "app/frmAbout.h"
#include "app/frmLogin.h"
#include "db/Sql.h"
#include "platform/Services.h"
#include "platform/Widgets.h"
#include "platform/TextFile.h"

namespace corvane {

namespace {

// An empty login value binds as empty text, never as NULL: the super user's
// empty post must match rows whose post is empty.
QVariant textValue(const QString& s) { return s.isNull() ? QVariant(QStringLiteral("")) : QVariant(s); }

// Menus that stay usable whatever the post's rights.
const QStringList kAlwaysEnabled{QStringLiteral("注销"), QStringLiteral("关于"), QStringLiteral("退出"),
                                 QStringLiteral("其它模块")};

// Rows ordered so that a denial comes before a grant of the same menu: a menu
// named by several groups of the post ends enabled when any of them grants it.
const QString kRightsQuery = QStringLiteral(
    "SELECT DISTINCT 岗位权限设置.ID, 岗位权限设置.组代号, 岗位权限设置.岗位代号, 岗位权限设置.授权,"
    " GroupPrivilege.FormName, GroupPrivilege.Popedom"
    " FROM 岗位权限设置 INNER JOIN GroupPrivilege ON 岗位权限设置.组代号 = GroupPrivilege.GroupID"
    " WHERE 岗位权限设置.授权 = 1 AND 岗位权限设置.岗位代号 = ?"
    " ORDER BY GroupPrivilege.Popedom, 岗位权限设置.ID, GroupPrivilege.FormName");

const QString kReminderQuery = QStringLiteral(
    "SELECT 启用提醒 FROM 合同提醒设置 WHERE 类型 = ? AND 部门代号 = ? AND 岗位代号 = ? ORDER BY ID");


QMenu* addMenu(QMenuBar* bar, const QString& name, const QString& caption)
{
    QMenu* menu = named(bar->addMenu(caption), name);
    menu->menuAction()->setObjectName(name);
    return menu;
}

}  // namespace

MDIForm1::MDIForm1()
{
    setObjectName(QStringLiteral("MDIForm1"));
    setCaption(QStringLiteral("Corvane"));
    setWindowIcon(ProgramIcon());
    // Staff work in the frame filling the screen. Without a window manager to
    // honour the maximised state the screen's size stands in for it.
    if (QScreen* screen = QApplication::primaryScreen()) setGeometry(screen->availableGeometry());
    setWindowState(windowState() | Qt::WindowMaximized);

    menuBar = new QMenuBar(this);
    menuBar->setNativeMenuBar(false);
    CorvaneC = addMenu(menuBar, QStringLiteral("CorvaneC"), QStringLiteral("Corvane"));
    合同信息 = named(CorvaneC->addAction(QStringLiteral("合同信息")), QStringLiteral("合同信息"));
    统计 = addMenu(menuBar, QStringLiteral("统计"), QStringLiteral("统计"));
    合同收付款统计 = named(统计->addAction(QStringLiteral("合同收付款统计")), QStringLiteral("合同收付款统计"));
    合同到期提醒 = named(统计->addAction(QStringLiteral("合同到期提醒")), QStringLiteral("合同到期提醒"));
    合同汇总统计 = named(统计->addAction(QStringLiteral("合同汇总统计")), QStringLiteral("合同汇总统计"));
    其它模块 = named(menuBar->addAction(QStringLiteral("其它模块")), QStringLiteral("其它模块"));
    退出系统 = addMenu(menuBar, QStringLiteral("退出系统"), QStringLiteral("退出系统"));
    退出 = named(退出系统->addAction(QStringLiteral("退出")), QStringLiteral("退出"));
    注销 = named(退出系统->addAction(QStringLiteral("注销")), QStringLiteral("注销"));
    关于 = addMenu(menuBar, QStringLiteral("关于"), QStringLiteral("关于"));
    关于软件 = named(关于->addAction(QStringLiteral("关于软件")), QStringLiteral("关于软件"));
    联系我们 = named(关于->addAction(QStringLiteral("联系我们")), QStringLiteral("联系我们"));

    connect(合同信息, &QAction::triggered, this, [this] { 合同信息_Click(); });
    connect(合同收付款统计, &QAction::triggered, this, [this] { 合同收付款统计_Click(); });
    connect(合同到期提醒, &QAction::triggered, this, [this] { 合同到期提醒_Click(); });
    connect(合同汇总统计, &QAction::triggered, this, [this] { 合同汇总统计_Click(); });
    connect(其它模块, &QAction::triggered, this, [this] { 其它模块_Click(); });
    connect(退出, &QAction::triggered, this, [this] { 退出_Click(); });
    connect(注销, &QAction::triggered, this, [this] { 注销_Click(); });
    connect(关于软件, &QAction::triggered, this, [this] { 关于软件_Click(); });
    connect(联系我们, &QAction::triggered, this, [this] { 联系我们_Click(); });

    Picture1 = named(new BannerStrip(this), QStringLiteral("Picture1"));
    mdiArea = named(new QMdiArea(this), QStringLiteral("mdiArea"));
    mdiArea->viewport()->installEventFilter(this);
    // A child that fills the area maximises itself; a small one (the about
    // box, the reminder) opens at its own size over it, and the child behind
    // stays maximised.
    mdiArea->setOption(QMdiArea::DontMaximizeSubWindowOnActivation);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(menuBar);
    layout->addWidget(Picture1);
    layout->addWidget(mdiArea, 1);
    StatusBar1 = named(new QStatusBar(this), QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->hide();
    connect(StatusBar1, &QStatusBar::messageChanged, StatusBar1,
            [this](const QString& message) { StatusBar1->setVisible(!message.isEmpty()); });
    layout->addWidget(StatusBar1);

    FormRegistry::instance().setMdiArea(mdiArea);
    刷新背景();
}

QList<QAction*> MDIForm1::菜单顺序() const
{
    return {CorvaneC->menuAction(), 合同信息, 统计->menuAction(), 合同收付款统计, 合同到期提醒, 合同汇总统计,
            其它模块, 退出系统->menuAction(), 退出, 注销, 关于->menuAction(), 关于软件, 联系我们};
}

QAction* MDIForm1::菜单(const QString& name) const
{
    for (QAction* menu : 菜单顺序())
        if (menu->objectName() == name) return menu;
    return nullptr;
}

void MDIForm1::Form_Load()
{
    if (!IsSuperUser()) 权限设置();
    行政合同审批同步();
    Forms::unload<frmLogin>();

    const LoginContext& login = Login();
    const auto setting = selectFirst(kReminderQuery, {QStringLiteral("普通合同"), textValue(login.当前部门编号),
                                                      textValue(login.当前岗位代号)});
    if (!setting) return;
    if (setting->count() == 0 || setting->value(0).toBool()) 打开合同到期提醒();
}

void MDIForm1::权限设置()
{
    for (QAction* menu : 菜单顺序())
        if (!kAlwaysEnabled.contains(menu->objectName()) && menu->text() != QLatin1String("-")) menu->setEnabled(false);

    const auto rows = selectRows(kRightsQuery, {textValue(Login().当前岗位代号)});
    if (!rows) return;
    std::vector<std::pair<QString, bool>> entries;
    for (const Row& row : *rows) {
        const QVariant popedom = row.value(5);
        if (popedom.isNull() || popedom.toString().isEmpty()) {
            // A right that is neither granted nor denied is a damaged row.
            ShowStandardError(94, QStringLiteral("无效使用 Null"));
            return;
        }
        entries.emplace_back(row.text(4), popedom.toBool());
    }
    for (const auto& [formName, popedom] : entries) {
        if (QAction* menu = 菜单(formName)) {
            menu->setEnabled(false);
            menu->setEnabled(popedom);
        }
    }
}

void MDIForm1::全部菜单可用()
{
    for (QAction* menu : 菜单顺序()) menu->setEnabled(true);
}

void MDIForm1::行政合同审批同步()
{
    const auto& synchronise = mainWindowHooks().行政合同审批同步;
    if (!synchronise) return;
    const SyncOutcome outcome = synchronise();
    if (!outcome.status.isEmpty()) StatusBar1->showMessage(outcome.status);
    if (outcome.error.isValid()) reportDbError(outcome.error);
}

void MDIForm1::居中子窗口(Form* form)
{
    // At start-up the reminder opens before this window is first shown: lay
    // the window out so the client area has its size already.
    if (layout()) layout()->activate();
    CenterForm(*form);
}

void MDIForm1::打开合同到期提醒()
{
    const auto& opener = mainWindowHooks().Frm合同到期提醒;
    if (!opener) return;
    Form* form = opener();
    if (!form) return;
    form->Show();
    居中子窗口(form);
    form->ZOrder();
}

void MDIForm1::打开子窗口(const std::function<Form*()>& opener)
{
    if (!opener) return;
    WaitCursor wait;
    if (Form* form = opener()) {
        form->Show();
        form->ZOrder();
    }
}

void MDIForm1::合同信息_Click() { 打开子窗口(mainWindowHooks().frmCorvane); }
void MDIForm1::合同收付款统计_Click() { 打开子窗口(mainWindowHooks().frm合同收付款统计); }
void MDIForm1::合同汇总统计_Click() { 打开子窗口(mainWindowHooks().frm合同汇总统计); }

void MDIForm1::合同到期提醒_Click()
{
    WaitCursor wait;
    打开合同到期提醒();
}

void MDIForm1::其它模块_Click()
{
    if (启动参数.isEmpty()) {
        MsgBox(QStringLiteral("对不起，您不属于多模块系统。"));
        return;
    }
    QString error;
    if (!Services::shell().activateWindow(kLauncherTitle, &error)) ShowStandardError(0, error);
}

void MDIForm1::退出_Click() { Services::shell().endProgram(); }

void MDIForm1::注销_Click()
{
    for (QMdiSubWindow* sub : mdiArea->subWindowList()) {
        auto* child = qobject_cast<Form*>(sub->widget());
        // A child that refuses to close keeps the user logged in.
        if (child ? !child->Unload() : !sub->close()) return;
    }

    if (!启动参数.isEmpty()) {
        QString error;
        if (!writeGbkLines(ProgramPath(QStringLiteral("Command.Dll")), {QStringLiteral("注销")}, &error)) {
            ShowStandardError(0, error);
            return;
        }
        if (!Services::shell().activateWindow(kLauncherLogOffTitle, &error)) ShowStandardError(0, error);
        return;
    }

    auto* login = Forms::get<frmLogin>();
    login->Label2->hide();
    login->List1->hide();
    login->Tag = QStringLiteral("切换");
    login->txtPassword->clear();
    login->ShowModal();
    // The super user has no post to take rights from: it keeps every menu, as at start.
    if (IsSuperUser())
        全部菜单可用();
    else
        权限设置();
}

void MDIForm1::关于软件_Click()
{
    auto* about = Forms::get<frmAbout>();
    about->Show();
    about->ZOrder();
}

void MDIForm1::联系我们_Click()
{
    QString error;
    if (!Services::shell().open(kVendorAddress, &error)) ShowStandardError(0, error);
}

void MDIForm1::刷新背景()
{
    const QSize size = mdiArea->viewport()->size();
    const QImage picture(ProgramPath(QStringLiteral("MDI.BMP")));
    if (picture.isNull() || size.isEmpty()) {
        mdiArea->setBackground(palette().window());
        return;
    }
    mdiArea->setBackground(QPixmap::fromImage(picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
}

bool MDIForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == mdiArea->viewport() && event->type() == QEvent::Resize) 刷新背景();
    return Form::eventFilter(watched, event);
}

void MDIForm1::closeEvent(QCloseEvent* event)
{
    Services::shell().endProgram();
    Form::closeEvent(event);
}

}  // namespace corvane
