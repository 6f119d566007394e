#include "platform/Services.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>
#include <cstdlib>

#ifdef Q_OS_WIN
#include <algorithm>
#include <string>
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

namespace corvane {

QString AppTitle() { return QStringLiteral("Corvane"); }

QString ExeName() { return QStringLiteral("corvane"); }

namespace {

#ifdef Q_OS_WIN
// A window whose title equals the text is taken, otherwise the first whose
// title begins with it.
struct WindowSearch {
    std::wstring title;
    HWND exact = nullptr;
    HWND prefix = nullptr;
};

BOOL CALLBACK findWindowByTitle(HWND hwnd, LPARAM param)
{
    auto* search = reinterpret_cast<WindowSearch*>(param);
    const int length = GetWindowTextLengthW(hwnd);
    if (length <= 0) return TRUE;
    std::wstring text(size_t(length) + 1, L'\0');
    text.resize(size_t(std::max(0, GetWindowTextW(hwnd, text.data(), length + 1))));
    if (text == search->title) {
        search->exact = hwnd;
        return FALSE;
    }
    if (!search->prefix && text.compare(0, search->title.size(), search->title) == 0) search->prefix = hwnd;
    return TRUE;
}
#endif

class DesktopShell final : public ShellService {
public:
    bool open(const QString& pathOrUrl, QString* error) override
    {
        const QUrl url = QFileInfo::exists(pathOrUrl) ? QUrl::fromLocalFile(pathOrUrl) : QUrl(pathOrUrl);
        if (QDesktopServices::openUrl(url)) return true;
        if (error) *error = QStringLiteral("无法打开“%1”").arg(pathOrUrl);
        return false;
    }
    bool startProgram(const QString& program, const QStringList& arguments, QString* error) override
    {
        if (QProcess::startDetached(program, arguments)) return true;
        if (error) *error = QStringLiteral("无法启动程序“%1”").arg(program);
        return false;
    }
    bool activateWindow(const QString& title, QString* error) override
    {
#ifdef Q_OS_WIN
        WindowSearch search{title.toStdWString()};
        EnumWindows(findWindowByTitle, reinterpret_cast<LPARAM>(&search));
        if (HWND hwnd = search.exact ? search.exact : search.prefix) {
            if (IsIconic(hwnd)) ShowWindow(hwnd, SW_RESTORE);
            SetForegroundWindow(hwnd);
            return true;
        }
#endif
        // Elsewhere other programs' windows cannot be reached: none exists.
        if (error) *error = QStringLiteral("找不到窗口“%1”").arg(title);
        return false;
    }
    void endProgram() override { std::exit(0); }
};

class SystemClock final : public ClockService {
public:
    QDateTime now() override { return QDateTime::currentDateTime(); }
};

// Outside Windows the per-user program settings are one INI file per
// application in the user's configuration folder.
class IniSettings final : public SettingsService {
public:
    QString get(const QString& app, const QString& section, const QString& key, const QString& defaultValue) override
    {
        QSettings s = store(app);
        return s.value(section + '/' + key, defaultValue).toString();
    }
    bool contains(const QString& app, const QString& section, const QString& key) override
    {
        return store(app).contains(section + '/' + key);
    }
    void set(const QString& app, const QString& section, const QString& key, const QString& value) override
    {
        QSettings s = store(app);
        s.setValue(section + '/' + key, value);
    }

private:
    static QSettings store(const QString& app)
    {
#ifdef Q_OS_WIN
        return QSettings(QStringLiteral("HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\") + app,
                         QSettings::NativeFormat);
#else
        return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Corvane"), app);
#endif
    }
};

// Until the program installs the real ones (useWidgetServices), a box is
// written to the error output and answered as Esc would answer it, a dialog
// is cancelled and the cursor stays as it is: a program without windows
// (corvane-db) never waits for a click.
class LoggedMessageBox final : public MessageBoxService {
public:
    int show(const QString& text, int style, const QString& title) override
    {
        qWarning().noquote() << title << text;
        return escapeAnswerOf(style);
    }
};

class CancelledDialogs final : public DialogService {
public:
    QString openFileName(const QString&, const QString&, const QString&, OpenMode) override { return QString(); }
    QString saveFileName(const QString&, const QString&, const QString&) override { return QString(); }
    QString folder(const QString&, const QString&) override { return QString(); }
    QString printer(const QString&) override { return QString(); }
};

class StillCursor final : public CursorService {
public:
    void setWait(bool) override {}
};

template <class Interface>
struct Slot {
    std::unique_ptr<Interface> current;
    std::function<std::unique_ptr<Interface>()> real;
    Interface& get()
    {
        if (!current) current = real();
        return *current;
    }
    void set(std::unique_ptr<Interface> p) { current = std::move(p); }
};

template <class Interface, class Real>
Slot<Interface> slotOf()
{
    return Slot<Interface>{nullptr, [] { return std::unique_ptr<Interface>(std::make_unique<Real>()); }};
}

Slot<MessageBoxService> g_messageBox = slotOf<MessageBoxService, LoggedMessageBox>();
Slot<DialogService> g_dialogs = slotOf<DialogService, CancelledDialogs>();
Slot<ShellService> g_shell = slotOf<ShellService, DesktopShell>();
Slot<ClockService> g_clock = slotOf<ClockService, SystemClock>();
Slot<SettingsService> g_settings = slotOf<SettingsService, IniSettings>();
Slot<CursorService> g_cursor = slotOf<CursorService, StillCursor>();

}  // namespace

namespace Services {
MessageBoxService& messageBox() { return g_messageBox.get(); }
DialogService& dialogs() { return g_dialogs.get(); }
ShellService& shell() { return g_shell.get(); }
ClockService& clock() { return g_clock.get(); }
SettingsService& settings() { return g_settings.get(); }
CursorService& cursor() { return g_cursor.get(); }

void setMessageBox(std::unique_ptr<MessageBoxService> p) { g_messageBox.set(std::move(p)); }
void setDialogs(std::unique_ptr<DialogService> p) { g_dialogs.set(std::move(p)); }
void setShell(std::unique_ptr<ShellService> p) { g_shell.set(std::move(p)); }
void setClock(std::unique_ptr<ClockService> p) { g_clock.set(std::move(p)); }
void setSettings(std::unique_ptr<SettingsService> p) { g_settings.set(std::move(p)); }
void setCursor(std::unique_ptr<CursorService> p) { g_cursor.set(std::move(p)); }

void setScreenServices(ScreenServices real)
{
    if (real.messageBox) g_messageBox = {nullptr, std::move(real.messageBox)};
    if (real.dialogs) g_dialogs = {nullptr, std::move(real.dialogs)};
    if (real.cursor) g_cursor = {nullptr, std::move(real.cursor)};
}
}  // namespace Services

int MsgBox(const QString& text, int style, const QString& title)
{
    return Services::messageBox().show(text, style, title.isEmpty() ? AppTitle() : title);
}

void ShowStandardError(qint64 number, const QString& description)
{
    MsgBox(QStringLiteral("错误号：") + QString::number(number) + QLatin1Char('\n') + QStringLiteral("错误描述：") +
               description,
           vbInformation, QStringLiteral("提示"));
}

void ShowNumberedError(qint64 number, const QString& description)
{
    MsgBox(QString::number(number) + QLatin1Char(' ') + description, vbInformation, ExeName());
}

void ShowDescriptionError(const QString& description) { MsgBox(description, vbInformation, ExeName()); }

QDate Today() { return Services::clock().today(); }
QDateTime Now() { return Services::clock().now(); }

QString ProgramFolder()
{
    const QByteArray home = qgetenv("CORVANE_HOME");
    if (!home.isEmpty()) return QDir::cleanPath(QString::fromLocal8Bit(home));
    return QCoreApplication::applicationDirPath();
}

QString ProgramPath(const QString& name) { return pathInAnyCase(QDir(ProgramFolder()).filePath(name)); }

QString pathInAnyCase(const QString& path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || info.exists()) return path;
    // A folder typed with its separator keeps it.
    if (path.size() > 1 && path.endsWith(u'/')) return pathInAnyCase(path.chopped(1)) + u'/';
    const QString parentPath = info.path();
    if (parentPath == path || info.fileName().isEmpty()) return path;
    const QString parent = pathInAnyCase(parentPath);
    const QDir dir(parent);
    if (!dir.exists()) return path;
    const QStringList names =
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& name : names)
        if (name.compare(info.fileName(), Qt::CaseInsensitive) == 0) return dir.filePath(name);
    return parent == parentPath ? path : dir.filePath(info.fileName());
}

std::optional<QString> ProgramFilePath(const QString& fileName)
{
    if (fileName.isEmpty() || fileName == QLatin1String(".") || fileName == QLatin1String("..")) return std::nullopt;
    for (const QChar c : fileName)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':') ||
            c.category() == QChar::Other_Control)
            return std::nullopt;
    return pathInAnyCase(QDir(ProgramFolder()).filePath(fileName));
}

QString TempFolder()
{
    QDir program(ProgramFolder());
    if (!QFileInfo(program.filePath(QStringLiteral("Temp"))).isDir()) program.mkdir(QStringLiteral("Temp"));
    return program.filePath(QStringLiteral("Temp"));
}

QString GetSetting(const QString& app, const QString& section, const QString& key, const QString& defaultValue)
{
    return Services::settings().get(app, section, key, defaultValue);
}

WaitCursor::WaitCursor() { Services::cursor().setWait(true); }
WaitCursor::~WaitCursor() { Services::cursor().setWait(false); }

}  // namespace corvane
