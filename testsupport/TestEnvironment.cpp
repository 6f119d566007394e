#include "testsupport/TestEnvironment.h"

#include <QCoreApplication>
#include <vector>

#include "app/CommandLine.h"
#include "app/LoginContext.h"
#include "app/MainWindowHooks.h"
#include "approval/ContractSubmission.h"
#include "contracts/ContractHandovers.h"
#include "contracts/ContractRecordWindow.h"
#include "db/Connection.h"
#include "db/Sql.h"
#include "platform/Http.h"
#include "platform/PrintSurface.h"
#include <QDir>
#include <QPointer>
#include <QTemporaryDir>
#include <cstdlib>
#include <cxxabi.h>
#include <memory>

namespace corvane::test {

int ScriptedMessageBox::show(const QString& text, int style, const QString& title)
{
    shown.append({text, style, title});
    if (!answers.empty()) {
        const int a = answers.front();
        answers.pop_front();
        return a;
    }
    switch (buttonsOf(style)) {
    case vbYesNo:
    case vbYesNoCancel: return vbYes;
    case vbRetryCancel: return vbRetry;
    case vbAbortRetryIgnore: return vbAbort;
    default: return vbOK;
    }
}

QStringList ScriptedMessageBox::texts() const
{
    QStringList out;
    for (const ShownBox& b : shown) out << b.text;
    return out;
}

static QString nextAnswer(std::deque<QString>& answers)
{
    if (answers.empty()) return QString();
    QString a = answers.front();
    answers.pop_front();
    return a;
}

QString ScriptedDialogs::openFileName(const QString& title, const QString& filter, const QString& initialDir,
                                      OpenMode mode)
{
    asked << title;
    openModes << mode;
    filters << filter;
    initialDirs << initialDir;
    return nextAnswer(answers);
}
QString ScriptedDialogs::saveFileName(const QString& title, const QString& filter, const QString& initialName)
{
    asked << title;
    filters << filter;
    initialNames << initialName;
    return nextAnswer(answers);
}
QString ScriptedDialogs::folder(const QString& title, const QString& initialDir)
{
    asked << title;
    initialDirs << initialDir;
    return nextAnswer(answers);
}
QString ScriptedDialogs::printer(const QString& title)
{
    asked << title;
    return nextAnswer(answers);
}

bool ScriptedShell::open(const QString& pathOrUrl, QString* error)
{
    opened << pathOrUrl;
    if (noProgramToOpen && error) *error = QStringLiteral("没有与之关联的程序");
    return !noProgramToOpen;
}

bool ScriptedShell::startProgram(const QString& program, const QStringList& arguments, QString* error)
{
    started << (QStringList{program} + arguments).join(QLatin1Char(' '));
    if (!startSucceeds && error) *error = QStringLiteral("系统找不到指定的文件。");
    return startSucceeds;
}

bool ScriptedShell::activateWindow(const QString& title, QString* error)
{
    activated << title;
    for (const QString& w : existingWindows)
        if (w == title || w.startsWith(title)) return true;
    if (error) *error = QStringLiteral("找不到窗口“%1”").arg(title);
    return false;
}

void ScriptedShell::endProgram() { ++endCalls; }

static QString settingsKey(const QString& app, const QString& section, const QString& key)
{
    return app + '/' + section + '/' + key;
}

QString MemorySettings::get(const QString& app, const QString& section, const QString& key, const QString& def)
{
    auto it = values.find(settingsKey(app, section, key));
    return it == values.end() ? def : it->second;
}

bool MemorySettings::contains(const QString& app, const QString& section, const QString& key)
{
    return values.count(settingsKey(app, section, key)) > 0;
}

void MemorySettings::set(const QString& app, const QString& section, const QString& key, const QString& value)
{
    values[settingsKey(app, section, key)] = value;
}

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
Doubles g_doubles{};
std::unique_ptr<QTemporaryDir> g_home;

std::vector<std::function<void()>>& otherResets()
{
    static std::vector<std::function<void()>> resets;
    return resets;
}
}  // namespace

void alsoResetBetweenTests(std::function<void()> reset) { otherResets().push_back(std::move(reset)); }

Doubles& doubles() { return g_doubles; }

QString programFolder() { return g_home ? g_home->path() : QString(); }

void resetServices()
{
    FormRegistry::instance().unloadAll();
    auto boxes = std::make_unique<ScriptedMessageBox>();
    auto dialogs = std::make_unique<ScriptedDialogs>();
    auto shell = std::make_unique<ScriptedShell>();
    auto clock = std::make_unique<FixedClock>();
    auto settings = std::make_unique<MemorySettings>();
    auto cursor = std::make_unique<CountingCursor>();
    auto runner = std::make_unique<ScriptedFormRunner>();
    g_doubles = {boxes.get(), dialogs.get(), shell.get(), clock.get(), settings.get(), cursor.get(), runner.get()};
    Services::setMessageBox(std::move(boxes));
    Services::setDialogs(std::move(dialogs));
    Services::setShell(std::move(shell));
    Services::setClock(std::move(clock));
    Services::setSettings(std::move(settings));
    Services::setCursor(std::move(cursor));
    FormRegistry::instance().setRunner(std::move(runner));

    g_home = std::make_unique<QTemporaryDir>();
    qputenv("CORVANE_HOME", g_home->path().toLocal8Bit());

    Printing::setDevices(nullptr);
    Http::setService(nullptr);
    SetCommandTimeoutMs(kCommandTimeoutMs);
    setStatementFaultHook(nullptr);
    Login() = LoginContext();
    启动参数.clear();
    公司名称.clear();
    SetProgramCommandLine(QString());
    mainWindowHooks() = MainWindowHooks();
    contract::contractHandovers() = contract::ContractHandovers();
    contract::recordWindowSeams() = contract::RecordWindowSeams();
    approval::administrativeRoad() = approval::AdministrativeRoad();
    for (const auto& reset : otherResets()) reset();
}

void installTestEnvironment() { resetServices(); }

}  // namespace corvane::test
