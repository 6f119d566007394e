#pragma once
// The main window: the menus the chosen post may use, the banner, the MDI
// client area that holds every modeless window, log-off and exit.

#include <QAction>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

#include "app/Banner.h"
#include "platform/Forms.h"

namespace corvane {

// The vendor's web page, opened by 联系我们.
inline const QString kVendorAddress = QStringLiteral("https://www.corvane.example/");
// The launcher's windows that the main window brings to the front.
inline const QString kLauncherTitle = QStringLiteral("Brindlemoor系统2011版 ");
inline const QString kLauncherLogOffTitle = QStringLiteral("Brindlemoor系统2011 zhuxiao");

class MDIForm1 : public Form {
    Q_OBJECT
public:
    MDIForm1();

    QMenuBar* menuBar;
    QMenu* CorvaneC;
    QAction* 合同信息;
    QMenu* 统计;
    QAction* 合同收付款统计;
    QAction* 合同到期提醒;
    QAction* 合同汇总统计;
    QAction* 其它模块;
    QMenu* 退出系统;
    QAction* 退出;
    QAction* 注销;
    QMenu* 关于;
    QAction* 关于软件;
    QAction* 联系我们;
    BannerStrip* Picture1;
    QMdiArea* mdiArea;
    // Shown only while it has something to say (the start-up synchronisation
    // left to another workstation).
    QStatusBar* StatusBar1;

    // The action that stands for a menu (a top-level menu's own action), by
    // the menu's name; nullptr when no menu has that name.
    QAction* 菜单(const QString& name) const;

    void Form_Load() override;

    // Applies the menu rights of the current post.
    void 权限设置();
    // Runs the approval outcome synchronisation of the approval subsystem once
    // handed in (MainWindowHooks); returns at once until then. Its error is
    // shown in the standard error box, its status line in the status bar.
    void 行政合同审批同步();
    // Opens the expiry reminder window centred in the client area, once the
    // reminder subsystem has handed it in (MainWindowHooks).
    void 打开合同到期提醒();

    void 合同信息_Click();
    void 合同收付款统计_Click();
    void 合同到期提醒_Click();
    void 合同汇总统计_Click();
    void 其它模块_Click();
    void 退出_Click();
    void 注销_Click();
    void 关于软件_Click();
    void 联系我们_Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<QAction*> 菜单顺序() const;
    void 全部菜单可用();
    void 居中子窗口(Form* form);
    void 打开子窗口(const std::function<Form*()>& opener);
    void 刷新背景();
};

}  // namespace corvane
