#pragma once
// The first window: who is working and in which post. Fills the login context
// from a typed employee number and password (with a choice of post), or takes
// it whole from the launcher's command line. Also the re-login after 注销,
// in mode "切换" (its Tag).

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStringList>
#include <vector>

#include "platform/Forms.h"

namespace corvane {

// The built-in super user, recognised without any table row.
inline const QString kSuperUserName = QStringLiteral("tebOx");
inline const QString kSuperUserPassword = QStringLiteral("vulpex");

class frmLogin : public Form {
    Q_OBJECT
public:
    frmLogin();

    QLineEdit* TxtUser;
    QLineEdit* txtPassword;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
    QLabel* Label1;
    QLabel* Label2;
    QListWidget* List1;  // 请您选择要登录的岗位

    // One listed post: the ten login values, parallel to the items of List1.
    using 登录岗位 = QStringList;
    const std::vector<登录岗位>& 岗位记录() const { return m_posts; }

    void Form_Load() override;

    void cmdOK_Click();
    void cmdCancel_Click();
    void List1_DblClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // Closing the window by its frame ends the program, as cmdCancel does:
    // there is nobody to continue as.
    void closeEvent(QCloseEvent* event) override;

private:
    bool ConnectDatabase();
    void 选择岗位(int index);
    void 进入主窗口();

    std::vector<登录岗位> m_posts;
};

}  // namespace corvane
