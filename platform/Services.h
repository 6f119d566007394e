#pragma once
// The platform services a window may use instead of talking to Qt dialogs,
// the desktop or the clock directly. Each one is an interface with a real
// implementation and can be replaced as a whole (tests install scripted
// doubles, see testsupport/).

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>

namespace corvane {

// Message box styles and answers, with the values the old program used so
// that window code reads like its behaviour (vbYesNo + vbQuestion, ...).
enum MsgBoxStyle : int {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbAbortRetryIgnore = 2,
    vbYesNoCancel = 3,
    vbYesNo = 4,
    vbRetryCancel = 5,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
    vbDefaultButton2 = 256,
};
enum MsgBoxResult : int { vbOK = 1, vbCancel = 2, vbAbort = 3, vbRetry = 4, vbIgnore = 5, vbYes = 6, vbNo = 7 };

inline constexpr int buttonsOf(int style) { return style & 0x0F; }
inline constexpr int iconOf(int style) { return style & 0x70; }
// The answer of a box closed with Esc: Cancel or No where there is one.
inline constexpr int escapeAnswerOf(int style)
{
    switch (buttonsOf(style)) {
    case vbOKCancel: case vbYesNoCancel: case vbRetryCancel: return vbCancel;
    case vbAbortRetryIgnore: return vbIgnore;
    case vbYesNo: return vbNo;
    default: return vbOK;
    }
}

// The application title: the caption of every box that has none of its own.
QString AppTitle();
// The name of the executable file, used as the title of some error boxes.
QString ExeName();

class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;
    // title is already resolved (never empty).
    virtual int show(const QString& text, int style, const QString& title) = 0;
};

class DialogService {
public:
    virtual ~DialogService() = default;
    enum OpenMode { ExistingFile, NewNameAllowed };
    // Each returns the chosen path, or an empty text when the user cancelled.
    // An Open dialog normally takes only files that exist; NewNameAllowed also
    // takes a name typed for a file that is still to be written.
    virtual QString openFileName(const QString& title, const QString& filter, const QString& initialDir,
                                 OpenMode mode) = 0;
    QString openFileName(const QString& title, const QString& filter, const QString& initialDir)
    {
        return openFileName(title, filter, initialDir, ExistingFile);
    }
    virtual QString saveFileName(const QString& title, const QString& filter, const QString& initialName) = 0;
    virtual QString folder(const QString& title, const QString& initialDir) = 0;
    // The chosen printer's name, or empty when cancelled.
    virtual QString printer(const QString& title) = 0;
};

class ShellService {
public:
    virtual ~ShellService() = default;
    // "open" of a file or address with its associated program.
    virtual bool open(const QString& pathOrUrl, QString* error) = 0;
    // Start a program with arguments; it runs on its own.
    virtual bool startProgram(const QString& program, const QStringList& arguments, QString* error) = 0;
    // Bring another program's top-level window to the front: a window whose
    // title equals `title`, otherwise one whose title begins with it.
    virtual bool activateWindow(const QString& title, QString* error) = 0;
    // End the program at once.
    virtual void endProgram() = 0;
};

class ClockService {
public:
    virtual ~ClockService() = default;
    virtual QDateTime now() = 0;
    QDate today() { return now().date(); }
};

class SettingsService {
public:
    virtual ~SettingsService() = default;
    // The per-user program settings of the product family
    // (GetSetting(app, section, key, default) of the old program).
    virtual QString get(const QString& app, const QString& section, const QString& key,
                        const QString& defaultValue) = 0;
    virtual bool contains(const QString& app, const QString& section, const QString& key) = 0;
    virtual void set(const QString& app, const QString& section, const QString& key, const QString& value) = 0;
};

class CursorService {
public:
    virtual ~CursorService() = default;
    virtual void setWait(bool wait) = 0;
};

// The service registry. Each setter takes ownership; nullptr restores the
// real implementation. The real message boxes, dialogs and wait cursor need
// Qt Widgets, which the libraries of stores and rules do not link: the
// program installs them at start-up (useWidgetServices() in
// platform/WidgetServices.h); before that a box is written to the error
// output and answered as Esc would answer it, and a dialog is cancelled.
namespace Services {
MessageBoxService& messageBox();
DialogService& dialogs();
ShellService& shell();
ClockService& clock();
SettingsService& settings();
CursorService& cursor();

void setMessageBox(std::unique_ptr<MessageBoxService>);
void setDialogs(std::unique_ptr<DialogService>);
void setShell(std::unique_ptr<ShellService>);
void setClock(std::unique_ptr<ClockService>);
void setSettings(std::unique_ptr<SettingsService>);
void setCursor(std::unique_ptr<CursorService>);

// What nullptr restores from now on for the services that show something.
struct ScreenServices {
    std::function<std::unique_ptr<MessageBoxService>()> messageBox;
    std::function<std::unique_ptr<DialogService>()> dialogs;
    std::function<std::unique_ptr<CursorService>()> cursor;
};
void setScreenServices(ScreenServices real);
}  // namespace Services

// MsgBox(text, style, title) as the old program called it.
int MsgBox(const QString& text, int style = vbOKOnly, const QString& title = QString());

// The standard error box: "提示", "错误号：" n line break "错误描述：" text, information icon.
void ShowStandardError(qint64 number, const QString& description);
// The variant some handlers use: number, one blank, description; titled with the executable name.
void ShowNumberedError(qint64 number, const QString& description);
// The variant that shows the description alone, titled with the executable name.
void ShowDescriptionError(const QString& description);

// Today and now, through the clock service.
QDate Today();
QDateTime Now();

// The program folder: CORVANE_HOME when set, otherwise the executable's folder.
QString ProgramFolder();
// A path inside the program folder ("Temp", "MDI.BMP", "Command.Dll"), as
// pathInAnyCase finds it.
QString ProgramPath(const QString& name);
// The path of a plain file of this name in the program folder, as
// pathInAnyCase finds it; no value when the name would reach elsewhere or is
// no plain name (a separator, "..", a drive, a control character, or nothing
// at all).
std::optional<QString> ProgramFilePath(const QString& fileName);
// The files of the product family come from programs written for a file
// system that ignores letter case (ZPDYPJLX.INI may lie as zpdypjlx.ini, a
// result file end in .TXT or .txt): the path of the file or folder as it lies
// on disk when one matches `path` whatever the letter case of its parts (the
// exact name first, else the first match by name); `path` itself when none
// does, so a new file takes the name given.
QString pathInAnyCase(const QString& path);
// The program folder's Temp folder, where stored files are written before
// they are opened; made when missing.
QString TempFolder();

// The per-user program settings.
QString GetSetting(const QString& app, const QString& section, const QString& key,
                   const QString& defaultValue = QString());

// Shows the hourglass for its lifetime, whatever way the scope is left.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace corvane
