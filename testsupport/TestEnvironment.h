#pragma once
// Scripted stand-ins for every platform service, so a window test is a few
// lines: queue the answers, act, read what was shown.

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <map>
#include <typeindex>

#include "platform/Forms.h"
#include "platform/Services.h"

namespace corvane::test {

struct ShownBox {
    QString text;
    int style = 0;
    QString title;
    int icon() const { return iconOf(style); }
    int buttons() const { return buttonsOf(style); }
};

class ScriptedMessageBox : public MessageBoxService {
public:
    int show(const QString& text, int style, const QString& title) override;
    std::deque<int> answers;   // answers to give, in order; OK/first button when empty
    QList<ShownBox> shown;
    // The texts of the boxes shown, in order.
    QStringList texts() const;
};

class ScriptedDialogs : public DialogService {
public:
    using DialogService::openFileName;
    QString openFileName(const QString& title, const QString& filter, const QString& initialDir,
                         OpenMode mode) override;
    QString saveFileName(const QString& title, const QString& filter, const QString& initialName) override;
    QString folder(const QString& title, const QString& initialDir) override;
    QString printer(const QString& title) override;
    std::deque<QString> answers;  // paths to give, in order; "" (cancel) when empty
    QStringList asked;            // titles of the dialogs shown
    // What the file and folder dialogs were asked with, each list in the
    // order its dialogs were shown.
    QList<OpenMode> openModes;  // Open dialogs
    QStringList filters;        // Open and Save dialogs
    QStringList initialDirs;    // Open and folder dialogs
    QStringList initialNames;   // Save dialogs
};

class ScriptedShell : public ShellService {
public:
    bool open(const QString& pathOrUrl, QString* error) override;
    bool startProgram(const QString& program, const QStringList& arguments, QString* error) override;
    bool activateWindow(const QString& title, QString* error) override;
    void endProgram() override;
    QStringList opened;
    bool noProgramToOpen = false;  // open() fails: no program is associated with the file
    QStringList started;          // program + " " + arguments joined by blanks
    QStringList activated;        // titles asked for
    QStringList existingWindows;  // titles of other programs' windows that exist
    bool startSucceeds = true;
    int endCalls = 0;
};

class FixedClock : public ClockService {
public:
    QDateTime now() override { return current; }
    QDateTime current = QDateTime(QDate(2026, 12, 10), QTime(9, 30, 0));
};

class MemorySettings : public SettingsService {
public:
    QString get(const QString& app, const QString& section, const QString& key, const QString& def) override;
    bool contains(const QString& app, const QString& section, const QString& key) override;
    void set(const QString& app, const QString& section, const QString& key, const QString& value) override;
    std::map<QString, QString> values;  // "app/section/key" -> value
};

class CountingCursor : public CursorService {
public:
    void setWait(bool wait) override { depth += wait ? 1 : -1; if (wait) ++waits; }
    int depth = 0;
    int waits = 0;
};

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

// The doubles currently installed (reset by installTestEnvironment / resetServices).
struct Doubles {
    ScriptedMessageBox* boxes;
    ScriptedDialogs* dialogs;
    ScriptedShell* shell;
    FixedClock* clock;
    MemorySettings* settings;
    CountingCursor* cursor;
    ScriptedFormRunner* runner;
};
Doubles& doubles();

// Installs fresh doubles for every service and a temporary program folder.
void installTestEnvironment();
// Fresh doubles, every window unloaded, an empty program folder, and every
// other state a test may leave behind put back as the program starts: the
// seams between windows, the login, the printer and HTTP services, the
// database waits. Each test starts from it, whatever ran before.
void resetServices();
// Adds to resetServices the state of a library this one does not link (a
// test program registers it once, before its tests run).
void alsoResetBetweenTests(std::function<void()> reset);
// The temporary program folder (CORVANE_HOME) of this test run.
QString programFolder();

// Script the next modal showing of window class T.
template <class T>
void onModal(std::function<void(T&)> script)
{
    doubles().runner->scripts[std::type_index(typeid(T))].push_back(
        [script](Form& f) { script(static_cast<T&>(f)); });
}

}  // namespace corvane::test
