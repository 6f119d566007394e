#include "platform/TextFile.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <iconv.h>

namespace corvane {

namespace {

QByteArray convert(const char* to, const char* from, const QByteArray& in)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return QByteArray();
    QByteArray out(in.size() * 4 + 16, Qt::Uninitialized);
    char* src = const_cast<char*>(in.constData());
    size_t srcLeft = static_cast<size_t>(in.size());
    char* dst = out.data();
    size_t dstLeft = static_cast<size_t>(out.size());
    while (srcLeft > 0) {
        if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) != static_cast<size_t>(-1)) break;
        if (errno == EILSEQ || errno == EINVAL) {
            // A character the target cannot hold becomes "?", as the ANSI code page did.
            const bool utf8 = qstrcmp(from, "UTF-8") == 0;
            do {
                ++src;
                --srcLeft;
            } while (utf8 && srcLeft > 0 && (static_cast<unsigned char>(*src) & 0xC0) == 0x80);
            if (dstLeft > 0) { *dst++ = '?'; --dstLeft; }
            continue;
        }
        break;
    }
    iconv_close(cd);
    out.truncate(static_cast<int>(dst - out.data()));
    return out;
}

}  // namespace

QByteArray toGbk(const QString& text)
{
    return convert("GBK", "UTF-8", text.toUtf8());
}

QString fromGbk(const QByteArray& bytes)
{
    return QString::fromUtf8(convert("UTF-8", "GBK", bytes));
}

std::optional<QString> readGbkFile(const QString& path, QString* error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error) *error = f.errorString();
        return std::nullopt;
    }
    QString text = fromGbk(f.readAll());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

std::optional<QString> firstCharNotInGbk(const QString& text)
{
    for (const char32_t c : text.toUcs4()) {
        if (c < 0x80) continue;
        const QString one = QString::fromUcs4(&c, 1);
        if (toGbk(one) == "?") return one;
    }
    return std::nullopt;
}

bool writeGbkLines(const QString& path, const QStringList& lines, QString* error)
{
    for (const QString& line : lines) {
        if (const auto bad = firstCharNotInGbk(line)) {
            if (error) *error = QStringLiteral("文本中的字符“%1”无法以GBK编码保存，请删除或替换后再保存").arg(*bad);
            return false;
        }
    }
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += toGbk(line);
        bytes += "\r\n";
    }
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) {
        if (error) *error = f.errorString();
        return false;
    }
    return true;
}

std::optional<QString> readSmallGbkFile(const QString& path, QString* error)
{
    const QFileInfo info(path);
    if (info.isFile() && info.size() > kSmallFileMaxBytes) {
        if (error) *error = QStringLiteral("文件“%1”超过1 MB，不予读取").arg(path);
        return std::nullopt;
    }
    QString why;
    auto text = readGbkFile(path, &why);
    if (!text && error) *error = path + QLatin1Char(' ') + why;
    return text;
}

namespace {

// The lines of a file's text; the last line end leaves no empty line.
QStringList linesOf(const QString& text)
{
    QStringList lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    for (QString& line : lines)
        if (line.endsWith(u'\r')) line.chop(1);
    return lines;
}

// The field that starts at `i` (leading blanks included); `i` ends at its
// comma or the line's end.
QString fieldAt(const QString& line, qsizetype& i)
{
    while (i < line.size() && (line[i] == u' ' || line[i] == u'\t')) ++i;
    QString field;
    if (i < line.size() && line[i] == u'"') {
        ++i;
        while (i < line.size()) {
            if (line[i] == u'"') {
                if (i + 1 < line.size() && line[i + 1] == u'"') {
                    field += u'"';
                    i += 2;
                    continue;
                }
                ++i;
                break;
            }
            field += line[i++];
        }
        // Anything between the closing quote and the comma is dropped.
        while (i < line.size() && line[i] != u',') ++i;
        return field;
    }
    const qsizetype comma = line.indexOf(u',', i);
    const qsizetype end = comma < 0 ? line.size() : comma;
    field = line.mid(i, end - i);
    while (field.endsWith(u' ') || field.endsWith(u'\t')) field.chop(1);
    i = end;
    return field;
}

}  // namespace

QStringList readDelimitedFields(const QString& text)
{
    QStringList fields;
    for (const QString& line : linesOf(text)) {
        qsizetype i = 0;
        for (;;) {
            fields << fieldAt(line, i);
            if (i >= line.size()) break;
            ++i;  // the comma
        }
    }
    return fields;
}

QStringList firstFieldOfEachLine(const QString& text)
{
    QStringList fields;
    for (const QString& line : linesOf(text)) {
        qsizetype i = 0;
        fields << fieldAt(line, i);
    }
    return fields;
}

QString quotedField(const QString& value)
{
    const bool needs = value.contains(u',') || value.contains(u'"') || value.startsWith(u' ') ||
                       value.startsWith(u'\t') || value.endsWith(u' ') || value.endsWith(u'\t');
    if (!needs) return value;
    QString q = value;
    q.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + q + u'"';
}

bool writeGbkValues(const QString& path, const QStringList& values, QString* error)
{
    QStringList lines;
    lines.reserve(values.size());
    for (const QString& v : values) lines << quotedField(v);
    return writeGbkLines(path, lines, error);
}

}  // namespace corvane
