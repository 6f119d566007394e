#include "app/LoginStatusBar.h"

#include <QTimer>

#include "app/LoginContext.h"
#include "platform/Services.h"

namespace corvane {

LoginStatusBar::LoginStatusBar(QWidget* parent) : QStatusBar(parent)
{
    setObjectName(QStringLiteral("StatusBar1"));
    const QString texts[6] = {QStringLiteral("部门"), QString(), QStringLiteral("岗位"), QString(), QString(), QString()};
    for (int i = 0; i < 6; ++i) {
        panels[size_t(i)] = new QLabel(texts[i], this);
        panels[size_t(i)]->setObjectName(QStringLiteral("StatusBar1_Panel%1").arg(i + 1));
        addWidget(panels[size_t(i)]);
    }
    auto* clock = new QTimer(this);
    connect(clock, &QTimer::timeout, this, [this] { showClock(); });
    clock->start(1000);
}

void LoginStatusBar::showLogin()
{
    panels[1]->setText(Login().当前部门名称 + QLatin1Char(' '));
    panels[3]->setText(Login().当前岗位名称 + QLatin1Char(' '));
    showClock();
}

void LoginStatusBar::showClock()
{
    const QDateTime now = Now();
    panels[4]->setText(now.date().toString(QStringLiteral("yyyy-MM-dd")));
    panels[5]->setText(now.time().toString(QStringLiteral("HH:mm:ss")));
}

}  // namespace corvane
