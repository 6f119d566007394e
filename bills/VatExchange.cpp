#include "bills/VatExchange.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QThread>

#include "platform/Services.h"
#include "platform/TextFile.h"

namespace corvane::receipts {

// ---- Small settings files

std::optional<QStringList> readSettingFile(const QString& path, QString* error)
{
    if (!QFileInfo(path).isFile()) return std::nullopt;
    const auto text = readSmallGbkFile(path, error);
    if (!text) return std::nullopt;
    return firstFieldOfEachLine(*text);
}

bool writeSettingFile(const QString& path, const QStringList& values, QString* error)
{
    return writeGbkValues(path, values, error);
}

// ---- Interface file

QString exportBaseName(qint64 prefix, qint64 start)
{
    return QString::number(prefix) + QStringLiteral("%1").arg(start, 8, 10, QLatin1Char('0'));
}

namespace {

QString xmlText(const QString& value)
{
    QString out;
    out.reserve(value.size());
    for (const QChar c : value) {
        if (c == QLatin1Char('&')) out += QStringLiteral("&amp;");
        else if (c == QLatin1Char('<')) out += QStringLiteral("&lt;");
        else if (c == QLatin1Char('>')) out += QStringLiteral("&gt;");
        else out += c;
    }
    return out;
}

// A number as the format gives it ("0.000000", "0.00", halves away from
// zero), worked on the digits so no place is lost; text that is no plain
// number is written as it stands.
QString formatted(const QString& value, int places)
{
    QString t = value.trimmed();
    bool negative = false;
    if (t.startsWith(QLatin1Char('-')) || t.startsWith(QLatin1Char('+'))) {
        negative = t[0] == QLatin1Char('-');
        t.remove(0, 1);
    }
    const int point = int(t.indexOf(QLatin1Char('.')));
    QString whole = point < 0 ? t : t.left(point);
    QString fraction = point < 0 ? QString() : t.mid(point + 1);
    if (whole.isEmpty() && fraction.isEmpty()) return value;
    for (const QString& part : {whole, fraction})
        for (QChar c : part)
            if (c < QLatin1Char('0') || c > QLatin1Char('9')) return value;
    if (whole.isEmpty()) whole = QStringLiteral("0");
    fraction = fraction.leftJustified(places + 1, QLatin1Char('0'));
    const bool up = fraction[places] >= QLatin1Char('5');
    QString digits = whole + fraction.left(places);
    if (up) {
        int i = int(digits.size()) - 1;
        for (; i >= 0; --i) {
            if (digits[i] == QLatin1Char('9')) {
                digits[i] = QLatin1Char('0');
            } else {
                digits[i] = QChar(digits[i].unicode() + 1);
                break;
            }
        }
        if (i < 0) digits.prepend(QLatin1Char('1'));
    }
    QString intPart = digits.left(digits.size() - places);
    while (intPart.size() > 1 && intPart.startsWith(QLatin1Char('0'))) intPart.remove(0, 1);
    QString out = places > 0 ? intPart + QLatin1Char('.') + digits.right(places) : intPart;
    bool zero = true;
    for (QChar c : out)
        if (c != QLatin1Char('0') && c != QLatin1Char('.')) zero = false;
    return negative && !zero ? QLatin1Char('-') + out : out;
}

class Writer {
public:
    void fixed(const QString& line) { lines << line; }
    // An element with a value; false when GBK cannot hold the value.
    bool element(const char* name, const QString& value, int lineNo = 0)
    {
        if (firstCharNotInGbk(value)) {
            const QString element = QString::fromLatin1(name);
            error = lineNo > 0 ? QStringLiteral("第%1行%2 含有无法写入接口文件的字符").arg(lineNo).arg(element)
                               : element + QStringLiteral(" 含有无法写入接口文件的字符");
            return false;
        }
        const QString tag = QString::fromLatin1(name);
        lines << QLatin1Char('<') + tag + QLatin1Char('>') + xmlText(value) + QStringLiteral("</") + tag + QLatin1Char('>');
        return true;
    }
    QStringList lines;
    QString error;
};

}  // namespace

InterfaceFile buildInterfaceFile(const VatInvoice& inv)
{
    Writer w;
    InterfaceFile out;
    auto fail = [&] {
        out.error = w.error;
        return out;
    };
    w.fixed(QStringLiteral("<?xml version=\"1.0\" encoding=\"GBK\" ?>"));
    w.fixed(QStringLiteral("<Kp>"));
    w.fixed(QStringLiteral("<Version>2.0</Version>"));
    w.fixed(QStringLiteral("<Fpxx>"));
    w.fixed(QStringLiteral("<Zsl>1</Zsl>"));
    w.fixed(QStringLiteral("<Fpsj>"));
    w.fixed(QStringLiteral("<Fp>"));
    if (!w.element("Djh", inv.number)) return fail();
    if (!w.element("Gfmc", inv.buyer[0])) return fail();
    if (!w.element("Gfsh", inv.buyer[1])) return fail();
    if (!w.element("Gfyhzh", inv.buyer[3])) return fail();
    if (!w.element("Gfdzdh", inv.buyer[2])) return fail();
    if (!w.element("Bz", inv.buyer[4])) return fail();
    if (!w.element("Fhr", inv.issuer)) return fail();
    if (!w.element("Skr", inv.issuer)) return fail();
    if (!w.element("Spbmbbh", inv.version)) return fail();
    w.fixed(QStringLiteral("<Hsbz>0</Hsbz>"));
    w.fixed(QStringLiteral("<Sgbz>0</Sgbz>"));
    w.fixed(QStringLiteral("<Spxx>"));
    int i = 0;
    for (const VatLine& l : inv.lines) {
        ++i;
        w.fixed(QStringLiteral("<Sph>"));
        w.fixed(QStringLiteral("<Xh>%1</Xh>").arg(i));
        if (!w.element("Spmc", l.name, i)) return fail();
        if (!w.element("Ggxh", l.spec, i)) return fail();
        if (!w.element("Jldw", l.unit, i)) return fail();
        if (!w.element("Spbm", l.code, i)) return fail();
        w.fixed(QStringLiteral("<Qyspbm>01</Qyspbm>"));
        w.fixed(QStringLiteral("<Syyhzcbz>0</Syyhzcbz>"));
        w.fixed(QStringLiteral("<Lslbz></Lslbz>"));
        w.fixed(QStringLiteral("<Yhzcsm></Yhzcsm>"));
        if (!w.element("Dj", formatted(l.price, 6), i)) return fail();
        if (!w.element("Sl", l.quantity, i)) return fail();
        if (!w.element("Je", formatted(l.amount, 2), i)) return fail();
        if (!w.element("Slv", l.rate, i)) return fail();
        w.fixed(QStringLiteral("<Kce></Kce>"));
        w.fixed(QStringLiteral("</Sph>"));
    }
    for (const char* closing : {"</Spxx>", "</Fp>", "</Fpsj>", "</Fpxx>", "</Kp>"}) w.fixed(QString::fromLatin1(closing));
    out.lines = w.lines;
    return out;
}

// ---- Result file

QString resultFileName(const QString& baseName) { return baseName + QStringLiteral("_开票结果.txt"); }

ExportResult parseResultLine(const QString& firstLine)
{
    QString line = firstLine;
    line.remove(QLatin1Char('\r'));
    line.remove(QLatin1Char('\n'));
    const QStringList parts = line.split(QChar(0xFF1A));  // "："
    if (parts.size() < 3) return {};
    const QStringList items = parts[2].split(QChar(0xFF0C));  // "，"
    if (items.size() < 3) return {};
    // Whole numbers only: a floating-point read would take "nan" or "inf" as issued.
    static const QRegularExpression nonZeroWhole(QStringLiteral("^[+-]?0*[1-9][0-9]*$"));
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    if (!nonZeroWhole.match(items[0].trimmed()).hasMatch()) return {};
    const QString number = items[2].trimmed();
    if (!digits.match(number).hasMatch()) return {};
    return {true, number};
}

// ---- Folders

QString folderNotClearable(const QString& folder)
{
    const QString why = QStringLiteral("目录设置不正确，不能清空：") + folder;
    if (folder.trimmed().isEmpty()) return why;
    const QFileInfo info(folder);
    if (!info.isDir()) return why;
    const QString path = QDir(info.absoluteFilePath()).canonicalPath();
    if (path.isEmpty() || QDir(path).isRoot()) return why;
    const auto same = [&](const QString& other) {
        const QString c = QDir(other).canonicalPath();
        return !c.isEmpty() && c == path;
    };
    if (same(ProgramFolder()) || same(QDir::homePath())) return why;
    return QString();
}

bool deleteFilesIn(const QString& folder, QString* error)
{
    const QDir dir(folder);
    for (const QFileInfo& f : dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System)) {
        QFile file(f.absoluteFilePath());
        if (!file.remove()) {
            if (error) *error = f.absoluteFilePath() + QLatin1Char(' ') + file.errorString();
            return false;
        }
    }
    return true;
}

QString firstTxtFile(const QString& folder)
{
    const QDir dir(folder);
    for (const QFileInfo& f : dir.entryInfoList(QDir::Files, QDir::Name))
        if (f.suffix().compare(QLatin1String("txt"), Qt::CaseInsensitive) == 0) return f.absoluteFilePath();
    return QString();
}

bool ResultFileWatch::ready(const QString& path, qint64 ms)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return false;
    const QByteArray head = f.read(1 << 16);
    if (head.contains("\r\n")) return true;
    const qint64 size = f.size();
    if (size != m_size) {
        m_size = size;
        m_since = ms;
        return false;
    }
    return ms - m_since >= 2000;
}

// ---- The poll's clock

namespace {

class RealPollClock : public PollClock {
public:
    RealPollClock() { m_timer.start(); }
    qint64 elapsedMs() override { return m_timer.elapsed(); }
    void pause(int ms) override
    {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < ms) {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
            QThread::msleep(10);
        }
    }

private:
    QElapsedTimer m_timer;
};

std::unique_ptr<PollClock>& clockSlot()
{
    static std::unique_ptr<PollClock> clock = std::make_unique<RealPollClock>();
    return clock;
}

}  // namespace

PollClock& pollClock() { return *clockSlot(); }

void setPollClock(std::unique_ptr<PollClock> clock)
{
    clockSlot() = clock ? std::move(clock) : std::make_unique<RealPollClock>();
}

}  // namespace corvane::receipts
