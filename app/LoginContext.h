#pragma once
// Who is working and in which post: filled only by the login window (or the
// launcher's command line it reads), read by every window.

#include <QString>
#include <QStringList>

namespace corvane {

struct LoginContext {
    QString 当前工号;  // employee number, or "超级用户"
    QString 当前姓名;
    QString 当前部门编号;
    QString 当前部门名称;
    QString 当前岗位代号;
    QString 当前岗位名称;
    QString 当前部门类别代号;
    QString 当前部门类别名称;
    QString 当前岗位类别编号;
    QString 当前岗位类别名称;

    // The ten values in the launcher's order.
    QStringList values() const;
    // Fills the ten values in that order; missing values become empty.
    void setValues(const QStringList& values);
};

// The login context of this run.
LoginContext& Login();

// The built-in super user's employee number in the login context.
inline const QString kSuperUser = QStringLiteral("超级用户");
inline bool IsSuperUser() { return Login().当前工号 == kSuperUser; }

// The command line from the product family's launcher; not empty means the launcher started us.
extern QString 启动参数;
// The installation's company name, printed on listings and vouchers.
extern QString 公司名称;

}  // namespace corvane
