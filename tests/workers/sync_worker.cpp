// A workstation that starts the approval synchronisation and dies in the
// middle of it: the approval tests start this program, wait until it says it
// has stopped, and kill it.
//
//   sync_worker DRIVER SERVER LOGIN DATABASE NOW STOP_AT [ODBC_DRIVER]
//
// NOW (yyyy-MM-ddTHH:mm:ss) is the workstation's clock. Before the STOP_AT-th
// contract outcome is sent the program prints "stopped" and waits to be
// killed, with the run's transaction open and the outcomes before it written
// into it. Exit code 2: the arguments or the connection were wrong; 3: the run
// ended without reaching the stop.

#include <QApplication>
#include <cstdio>
#include <thread>

#include "approval/Synchronisation.h"
#include "db/Connection.h"
#include "db/Sql.h"
#include "testsupport/TestEnvironment.h"

using namespace corvane;

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 7 && args.size() != 8) return 2;
    test::installTestEnvironment();
    test::doubles().clock->current = QDateTime::fromString(args[5], Qt::ISODate);
    DbSettings s;
    s.driver = args[1];
    s.server = args[2];
    s.login = args[3];
    s.database = args[4];
    if (args.size() == 8) s.odbcDriver = args[7];
    s.company = QStringLiteral("测试物业");
    s.edition = QStringLiteral("2000");
    if (!OpenConnection(s)) return 2;

    const int stopAt = args[6].toInt();
    int outcomes = 0;
    setStatementFaultHook([&](const QString& sql) -> std::optional<DriverFault> {
        if (sql.startsWith(QStringLiteral("UPDATE 合同信息 SET 流转结束日期")) && ++outcomes == stopAt) {
            std::fputs("stopped\n", stdout);
            std::fflush(stdout);
            for (;;) std::this_thread::sleep_for(std::chrono::seconds(1));
        }
        return std::nullopt;
    });
    approval::行政合同审批同步();
    return 3;
}
