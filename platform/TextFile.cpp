#include "platform/TextFile.h"

#include <QFile>
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

}  // namespace corvane
