#include "testsupport/TestEnvironment.h"

#include <QPointer>
#include <cstdlib>
#include <cxxabi.h>
#include <memory>

#include "app/MainWindowHooks.h"
#include "approval/ContractSubmission.h"
#include "contracts/ContractHandovers.h"
#include "contracts/ContractRecordWindow.h"
#include "platform/PrintSurface.h"

namespace corvane::test {

QString formClassName(const Form& form)
{
    const char* mangled = typeid(form).name();
    int status = 0;
    char* demangled = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    const QString name = QString::fromUtf8(status == 0 && demangled ? demangled : mangled);
    std::free(demangled);
    return name;
}

void ScriptedFormRunner::runModal(Form& form)
{
    ran << formClassName(form);
    QPointer<Form> guard(&form);
    form.presentModal();
    auto it = scripts.find(std::type_index(typeid(form)));
    if (guard && it != scripts.end() && !it->second.empty()) {
        auto script = std::move(it->second.front());
        it->second.pop_front();
        script(form);
    }
    // Form::ShowModal unloads a window that is still shown.
}

namespace {

// Every window unloaded while the last test's doubles still answer it, then
// a fresh runner of modal windows, the printers and the seams between windows.
const bool g_windowResets = [] {
    alsoResetBetweenTests([] { FormRegistry::instance().unloadAll(); }, true);
    alsoResetBetweenTests([] {
        auto runner = std::make_unique<ScriptedFormRunner>();
        doubles().runner = runner.get();
        FormRegistry::instance().setRunner(std::move(runner));
        Printing::setDevices(nullptr);
        mainWindowHooks() = MainWindowHooks();
        contract::contractHandovers() = contract::ContractHandovers();
        contract::recordWindowSeams() = contract::RecordWindowSeams();
        approval::administrativeRoad() = approval::AdministrativeRoad();
    });
    return true;
}();

}  // namespace

void installTestEnvironment()
{
    (void)g_windowResets;
    resetServices();
}

}  // namespace corvane::test
