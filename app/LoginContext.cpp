#include "app/LoginContext.h"

namespace corvane {

QString 启动参数;
QString 公司名称;

LoginContext& Login()
{
    static LoginContext context;
    return context;
}

QStringList LoginContext::values() const
{
    return {当前工号,      当前姓名,         当前部门编号,     当前部门名称,     当前岗位代号,
            当前岗位名称,  当前部门类别代号, 当前部门类别名称, 当前岗位类别编号, 当前岗位类别名称};
}

void LoginContext::setValues(const QStringList& v)
{
    QString* fields[] = {&当前工号,     &当前姓名,         &当前部门编号,     &当前部门名称,     &当前岗位代号,
                         &当前岗位名称, &当前部门类别代号, &当前部门类别名称, &当前岗位类别编号, &当前岗位类别名称};
    for (int i = 0; i < 10; ++i) *fields[i] = i < v.size() ? v.at(i) : QString();
}

}  // namespace corvane
