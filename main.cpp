#include <QApplication>
#include <QFont>

#include "app/CommandLine.h"
#include "app/QtTranslation.h"
#include "app/frmLogin.h"
#include "approval/Registration.h"
#include "bills/Registration.h"
#include "contracts/Registration.h"
#include "payments/Registration.h"
#include "plans/Registration.h"
#include "receipts/Registration.h"
#include "statistics/Registration.h"
#include "platform/Forms.h"
#include "platform/WidgetServices.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    corvane::useWidgetServices();
    QApplication::setApplicationName(QStringLiteral("Corvane"));
    QApplication::setFont(QFont(QStringLiteral("Noto Sans CJK SC")));
    corvane::useChineseLocale();
    const std::unique_ptr<QTranslator> qtTexts = corvane::loadQtTranslation();
    if (qtTexts) QApplication::installTranslator(qtTexts.get());
    // The program ends through its own exits (cmdCancel, 退出, closing the
    // main or login window), never because the login window went away
    // before the main window appeared.
    QApplication::setQuitOnLastWindowClosed(false);

    corvane::contract::registerContractWindows();
    corvane::plans::registerPlanWindows();
    corvane::approval::registerApprovalWindows();
    corvane::payments::registerPaymentWindows();
    corvane::statistics::registerStatisticsWindows();
    corvane::receipts::registerReceiptWindows();
    corvane::receipts::registerBillWindows();
    corvane::SetProgramCommandLine(corvane::CommandLineOf(QApplication::arguments()));
    auto* login = corvane::Forms::get<corvane::frmLogin>();
    if (login->isLoaded()) login->Show();
    return QApplication::exec();
}
