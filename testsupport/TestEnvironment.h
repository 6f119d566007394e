#pragma once
// Scripted stand-ins for every platform service and for modal windows, so a
// window test is a few lines: queue the answers, act, read what was shown.

#include <deque>
#include <functional>
#include <map>
#include <typeindex>

#include "platform/Forms.h"
#include "testsupport/ServiceDoubles.h"

namespace corvane::test {

// Runs a scripted action for each modal window; a window with no script is
// closed at once (as if the user closed it). Windows that remain shown after
// their script are unloaded.
class ScriptedFormRunner : public FormRunner {
public:
    void runModal(Form& form) override;
    // By window class; keyed by type rather than by the meta-object's name,
    // which moc cannot give for classes with Chinese names.
    std::map<std::type_index, std::deque<std::function<void(Form&)>>> scripts;
    QStringList ran;  // class names ("corvane::frmLogin") of the modal windows shown, in order
};

// The window's class name, demangled.
QString formClassName(const Form& form);

// Installs fresh doubles for every service and for modal windows, a
// temporary program folder, and the windows' state (every window unloaded,
// the seams between them, the printers) in resetServices.
void installTestEnvironment();

// Script the next modal showing of window class T.
template <class T>
void onModal(std::function<void(T&)> script)
{
    doubles().runner->scripts[std::type_index(typeid(T))].push_back(
        [script](Form& f) { script(static_cast<T&>(f)); });
}

}  // namespace corvane::test
