#include "testsupport/ServiceDoubles.h"

#include <QDir>
#include <QTemporaryDir>
#include <memory>
#include <vector>

#include "app/CommandLine.h"
#include "app/LoginContext.h"
#include "db/Connection.h"
#include "db/Sql.h"
#include "platform/Http.h"

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

namespace {
Doubles g_doubles{};
std::unique_ptr<QTemporaryDir> g_home;

std::vector<std::function<void()>>& otherResets(bool beforeTheDoubles)
{
    static std::vector<std::function<void()>> before, after;
    return beforeTheDoubles ? before : after;
}
}  // namespace

void alsoResetBetweenTests(std::function<void()> reset, bool beforeTheDoubles)
{
    otherResets(beforeTheDoubles).push_back(std::move(reset));
}

Doubles& doubles() { return g_doubles; }

QString programFolder() { return g_home ? g_home->path() : QString(); }

void resetServices()
{
    for (const auto& reset : otherResets(true)) reset();
    auto boxes = std::make_unique<ScriptedMessageBox>();
    auto dialogs = std::make_unique<ScriptedDialogs>();
    auto shell = std::make_unique<ScriptedShell>();
    auto clock = std::make_unique<FixedClock>();
    auto settings = std::make_unique<MemorySettings>();
    auto cursor = std::make_unique<CountingCursor>();
    g_doubles = {boxes.get(), dialogs.get(), shell.get(), clock.get(), settings.get(), cursor.get(), nullptr};
    Services::setMessageBox(std::move(boxes));
    Services::setDialogs(std::move(dialogs));
    Services::setShell(std::move(shell));
    Services::setClock(std::move(clock));
    Services::setSettings(std::move(settings));
    Services::setCursor(std::move(cursor));

    g_home = std::make_unique<QTemporaryDir>();
    qputenv("CORVANE_HOME", g_home->path().toLocal8Bit());

    Http::setService(nullptr);
    SetCommandTimeoutMs(kCommandTimeoutMs);
    setStatementFaultHook(nullptr);
    Login() = LoginContext();
    启动参数.clear();
    公司名称.clear();
    SetProgramCommandLine(QString());
    for (const auto& reset : otherResets(false)) reset();
}

void installServiceDoubles() { resetServices(); }

}  // namespace corvane::test
