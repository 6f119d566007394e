#include "platform/Zip.h"

#include <QBuffer>
#include <QDateTime>
#include <zlib.h>

namespace corvane::zip {
namespace {

constexpr uint32_t kLocalSig = 0x04034b50;
constexpr uint32_t kCentralSig = 0x02014b50;
constexpr uint32_t kEndSig = 0x06054b50;
constexpr uint16_t kUtf8Flag = 0x0800;
constexpr uint16_t kDescriptorFlag = 0x0008;
constexpr qint64 kChunk = 256 * 1024;

uint16_t le16(const char* p)
{
    return uint16_t(uint8_t(p[0]) | uint8_t(p[1]) << 8);
}
uint32_t le32(const char* p)
{
    return uint32_t(le16(p)) | uint32_t(le16(p + 2)) << 16;
}
void put16(QByteArray& b, uint16_t v)
{
    b.append(char(v & 0xff));
    b.append(char(v >> 8));
}
void put32(QByteArray& b, uint32_t v)
{
    put16(b, uint16_t(v & 0xffff));
    put16(b, uint16_t(v >> 16));
}

bool fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}

// The fields a local header and its central-directory record share, from
// "version needed" to the name's length.
void putEntryFields(QByteArray& out, const Entry& e)
{
    put16(out, 20);
    put16(out, e.flags);
    put16(out, e.method);
    put16(out, e.dosTime);
    put16(out, e.dosDate);
    put32(out, e.crc);
    put32(out, e.compressedSize);
    put32(out, e.size);
    put16(out, uint16_t(e.name.size()));
}

QByteArray localHeader(const Entry& e)
{
    QByteArray h;
    put32(h, kLocalSig);
    putEntryFields(h, e);
    put16(h, 0);
    h.append(e.name);
    return h;
}

void stampNow(Entry& e)
{
    const QDateTime now = QDateTime::currentDateTime();
    const QDate d = now.date();
    const QTime t = now.time();
    e.dosDate = uint16_t(((std::max(d.year(), 1980) - 1980) << 9) | (d.month() << 5) | d.day());
    e.dosTime = uint16_t((t.hour() << 11) | (t.minute() << 5) | (t.second() / 2));
}

bool isAscii(const QByteArray& s)
{
    for (char c : s)
        if (uint8_t(c) >= 0x80)
            return false;
    return true;
}

}  // namespace

// ---------------------------------------------------------------- Reader

bool Reader::open(const QString& path, QString* error)
{
    entries_.clear();
    file_.close();
    file_.setFileName(path);
    if (!file_.open(QIODevice::ReadOnly))
        return fail(error, QStringLiteral("无法打开文件 %1：%2").arg(path, file_.errorString()));
    const qint64 size = file_.size();
    // The end record sits in the last 22 bytes plus at most a 64 KiB comment.
    const qint64 tail = std::min<qint64>(size, 22 + 0xffff);
    if (!file_.seek(size - tail))
        return fail(error, QStringLiteral("无法读取文件 %1").arg(path));
    const QByteArray t = file_.read(tail);
    qsizetype end = -1;
    for (qsizetype i = t.size() - 22; i >= 0; --i) {
        if (le32(t.constData() + i) == kEndSig) {
            end = i;
            break;
        }
    }
    const QString notZip = QStringLiteral("文件 %1 不是 xlsx 工作簿（不是 zip 包）").arg(path);
    if (end < 0)
        return fail(error, notZip);
    const char* e = t.constData() + end;
    const uint16_t count = le16(e + 10);
    const uint32_t cdSize = le32(e + 12);
    const uint32_t cdOffset = le32(e + 16);
    if (count == 0xffff || cdOffset == 0xffffffff || cdSize == 0xffffffff)
        return fail(error, QStringLiteral("文件 %1 使用 zip64 格式，无法处理").arg(path));
    if (qint64(cdOffset) + cdSize > size || !file_.seek(cdOffset))
        return fail(error, notZip);
    const QByteArray cd = file_.read(cdSize);
    if (cd.size() != qsizetype(cdSize))
        return fail(error, notZip);
    qsizetype p = 0;
    for (int i = 0; i < count; ++i) {
        if (p + 46 > cd.size() || le32(cd.constData() + p) != kCentralSig)
            return fail(error, notZip);
        const char* c = cd.constData() + p;
        Entry en;
        en.flags = le16(c + 8);
        en.method = le16(c + 10);
        en.dosTime = le16(c + 12);
        en.dosDate = le16(c + 14);
        en.crc = le32(c + 16);
        en.compressedSize = le32(c + 20);
        en.size = le32(c + 24);
        const uint16_t nameLen = le16(c + 28);
        const uint16_t extraLen = le16(c + 30);
        const uint16_t commentLen = le16(c + 32);
        en.localHeaderOffset = le32(c + 42);
        if (p + 46 + nameLen > cd.size())
            return fail(error, notZip);
        en.name = QByteArray(c + 46, nameLen);
        if (en.compressedSize == 0xffffffff || en.size == 0xffffffff || en.localHeaderOffset == 0xffffffff)
            return fail(error, QStringLiteral("文件 %1 使用 zip64 格式，无法处理").arg(path));
        if (en.flags & 0x0001)
            return fail(error, QStringLiteral("文件 %1 已加密，无法处理").arg(path));
        entries_.append(en);
        p += 46 + nameLen + extraLen + commentLen;
    }
    return true;
}

int Reader::indexOf(const QByteArray& name) const
{
    for (int i = 0; i < entries_.size(); ++i)
        if (entries_[i].name == name)
            return i;
    return -1;
}

bool Reader::dataOffset(int index, qint64* offset, QString* error)
{
    const Entry& e = entries_[index];
    char h[30];
    if (!file_.seek(e.localHeaderOffset) || file_.read(h, 30) != 30 || le32(h) != kLocalSig)
        return fail(error, QStringLiteral("zip 包已损坏：%1").arg(QString::fromUtf8(e.name)));
    *offset = qint64(e.localHeaderOffset) + 30 + le16(h + 26) + le16(h + 28);
    if (*offset + e.compressedSize > file_.size())
        return fail(error, QStringLiteral("zip 包已损坏：%1").arg(QString::fromUtf8(e.name)));
    return true;
}

bool Reader::read(int index, QByteArray* data, QString* error)
{
    const Entry& e = entries_[index];
    const QString broken = QStringLiteral("zip 包已损坏：%1").arg(QString::fromUtf8(e.name));
    qint64 offset = 0;
    if (!dataOffset(index, &offset, error) || !file_.seek(offset))
        return false;
    const QByteArray raw = file_.read(e.compressedSize);
    if (raw.size() != qsizetype(e.compressedSize))
        return fail(error, broken);
    if (e.method == 0) {
        *data = raw;
    } else if (e.method == 8) {
        data->resize(qsizetype(e.size));
        z_stream z{};
        if (inflateInit2(&z, -MAX_WBITS) != Z_OK)
            return fail(error, broken);
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(raw.constData()));
        z.avail_in = uInt(raw.size());
        z.next_out = reinterpret_cast<Bytef*>(data->data());
        z.avail_out = uInt(data->size());
        const int rc = inflate(&z, Z_FINISH);
        const uLong produced = z.total_out;
        inflateEnd(&z);
        if (rc != Z_STREAM_END || produced != e.size)
            return fail(error, broken);
    } else {
        return fail(error, QStringLiteral("zip 包使用了不支持的压缩方式 %1：%2").arg(e.method).arg(QString::fromUtf8(e.name)));
    }
    if (crc32(0, reinterpret_cast<const Bytef*>(data->constData()), uInt(data->size())) != e.crc)
        return fail(error, broken);
    return true;
}

bool Reader::copyRaw(int index, QIODevice& out, QString* error)
{
    const Entry& e = entries_[index];
    qint64 offset = 0;
    if (!dataOffset(index, &offset, error) || !file_.seek(offset))
        return false;
    qint64 left = e.compressedSize;
    while (left > 0) {
        const QByteArray chunk = file_.read(std::min(left, kChunk));
        if (chunk.isEmpty())
            return fail(error, QStringLiteral("zip 包已损坏：%1").arg(QString::fromUtf8(e.name)));
        if (out.write(chunk) != chunk.size())
            return fail(error, out.errorString());
        left -= chunk.size();
    }
    return true;
}

// ---------------------------------------------------------------- Writer

bool Writer::beginEntry(Entry& e, QString* error)
{
    const qint64 pos = out_.pos();
    if (pos > 0xfffffffeLL)
        return fail(error, QStringLiteral("工作簿超过 4 GB，无法写入"));
    e.localHeaderOffset = uint32_t(pos);
    const QByteArray h = localHeader(e);
    if (out_.write(h) != h.size())
        return fail(error, out_.errorString());
    return true;
}

bool Writer::patchLocalHeader(const Entry& e, QString* error)
{
    const qint64 end = out_.pos();
    if (!out_.seek(e.localHeaderOffset))
        return fail(error, out_.errorString());
    const QByteArray h = localHeader(e);
    if (out_.write(h) != h.size() || !out_.seek(end))
        return fail(error, out_.errorString());
    return true;
}

bool Writer::addRaw(Reader& from, int index, QString* error)
{
    Entry e = from.entries()[index];
    // Sizes and CRC are known now, so the header carries them and no descriptor follows.
    e.flags &= uint16_t(~kDescriptorFlag);
    if (!beginEntry(e, error) || !from.copyRaw(index, out_, error))
        return false;
    written_.append(e);
    return true;
}

bool Writer::add(const QByteArray& name, const QByteArray& data, QString* error)
{
    QBuffer source;
    source.setData(data);
    source.open(QIODevice::ReadOnly);
    return add(name, source, error);
}

bool Writer::add(const QByteArray& name, QIODevice& source, QString* error)
{
    Entry e;
    e.name = name;
    e.method = 8;
    e.flags = isAscii(name) ? 0 : kUtf8Flag;
    stampNow(e);
    if (!beginEntry(e, error))
        return false;

    z_stream z{};
    if (deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return fail(error, QStringLiteral("压缩失败"));
    QByteArray in;
    QByteArray out(int(kChunk), Qt::Uninitialized);
    uLong crc = crc32(0, nullptr, 0);
    qint64 total = 0;
    qint64 compressed = 0;
    bool ok = true;
    bool atEnd = false;
    while (ok && !atEnd) {
        in = source.read(kChunk);
        atEnd = in.isEmpty();
        crc = crc32(crc, reinterpret_cast<const Bytef*>(in.constData()), uInt(in.size()));
        total += in.size();
        z.next_in = reinterpret_cast<Bytef*>(in.data());
        z.avail_in = uInt(in.size());
        do {
            z.next_out = reinterpret_cast<Bytef*>(out.data());
            z.avail_out = uInt(out.size());
            deflate(&z, atEnd ? Z_FINISH : Z_NO_FLUSH);
            const qint64 n = out.size() - z.avail_out;
            compressed += n;
            if (n > 0 && out_.write(out.constData(), n) != n) {
                ok = fail(error, out_.errorString());
                break;
            }
        } while (z.avail_out == 0);
    }
    deflateEnd(&z);
    if (!ok)
        return false;
    if (total > 0xfffffffeLL || compressed > 0xfffffffeLL)
        return fail(error, QStringLiteral("工作簿的一个部件超过 4 GB，无法写入"));
    e.crc = uint32_t(crc);
    e.size = uint32_t(total);
    e.compressedSize = uint32_t(compressed);
    if (!patchLocalHeader(e, error))
        return false;
    written_.append(e);
    return true;
}

bool Writer::finish(QString* error)
{
    if (written_.size() > 0xfffe)
        return fail(error, QStringLiteral("工作簿部件过多，无法写入"));
    const qint64 cdOffset = out_.pos();
    QByteArray cd;
    for (const Entry& e : std::as_const(written_)) {
        put32(cd, kCentralSig);
        put16(cd, 20);  // made by: MS-DOS attributes, version 2.0
        putEntryFields(cd, e);
        put16(cd, 0);
        put16(cd, 0);
        put16(cd, 0);
        put16(cd, 0);
        put32(cd, 0);
        put32(cd, e.localHeaderOffset);
        cd.append(e.name);
    }
    if (cdOffset + cd.size() > 0xfffffffeLL)
        return fail(error, QStringLiteral("工作簿超过 4 GB，无法写入"));
    const uint32_t cdSize = uint32_t(cd.size());
    put32(cd, kEndSig);
    put16(cd, 0);
    put16(cd, 0);
    put16(cd, uint16_t(written_.size()));
    put16(cd, uint16_t(written_.size()));
    put32(cd, cdSize);
    put32(cd, uint32_t(cdOffset));
    put16(cd, 0);
    if (out_.write(cd) != cd.size())
        return fail(error, out_.errorString());
    return true;
}

}  // namespace corvane::zip
