#pragma once
// Scripted stand-ins for the platform services, for every test: queue the
// answers, act, read what was shown. Needs no widgets; the windows' own
// stand-ins (modal windows run by script) are testsupport/TestEnvironment.h.

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <map>

#include "platform/Services.h"

namespace corvane::test {

class ScriptedFormRunner;

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

// Installs fresh doubles for every service and a temporary program folder
// (a test program without windows; one with windows calls
// installTestEnvironment of testsupport/TestEnvironment.h).
void installServiceDoubles();
// Fresh doubles, every window unloaded, an empty program folder, and every
// other state a test may leave behind put back as the program starts: the
// seams between windows, the login, the printer and HTTP services, the
// database waits. Each test starts from it, whatever ran before.
void resetServices();
// Adds to resetServices the state of a library this one does not link (a
// test program registers it once, before its tests run). A reset
// `beforeTheDoubles` runs first, while the last test's doubles are still
// installed (windows unloaded there show their closing boxes to those).
void alsoResetBetweenTests(std::function<void()> reset, bool beforeTheDoubles = false);
// The temporary program folder (CORVANE_HOME) of this test run.
QString programFolder();

}  // namespace corvane::test
