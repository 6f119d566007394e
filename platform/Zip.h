#pragma once
// The zip container of Office Open XML packages: enough to read every part
// of a workbook and to write a package back with untouched parts copied as
// their original compressed bytes. Stored and deflated entries; no zip64,
// no encryption, no spanning.

#include <QByteArray>
#include <QFile>
#include <QIODevice>
#include <QList>
#include <QString>
#include <cstdint>

namespace corvane::zip {

struct Entry {
    QByteArray name;  // as stored (UTF-8 for packages)
    uint16_t flags = 0;
    uint16_t method = 0;  // 0 stored, 8 deflated
    uint16_t dosTime = 0;
    uint16_t dosDate = 0;
    uint32_t crc = 0;
    uint32_t compressedSize = 0;
    uint32_t size = 0;
    uint32_t localHeaderOffset = 0;
};

class Reader {
public:
    bool open(const QString& path, QString* error);
    const QList<Entry>& entries() const { return entries_; }
    // Index of the entry with that name, or -1.
    int indexOf(const QByteArray& name) const;
    // The uncompressed bytes, checked against the stored CRC.
    bool read(int index, QByteArray* data, QString* error);
    // Copies the stored (compressed) bytes of the entry to out, in chunks.
    bool copyRaw(int index, QIODevice& out, QString* error);

private:
    bool dataOffset(int index, qint64* offset, QString* error);
    QFile file_;
    QList<Entry> entries_;
};

class Writer {
public:
    // Writes to an open, empty, seekable device.
    explicit Writer(QIODevice& out) : out_(out) {}
    // Copies an entry of another package as it is stored there.
    bool addRaw(Reader& from, int index, QString* error);
    bool add(const QByteArray& name, const QByteArray& data, QString* error);
    // Deflates everything the source yields, in chunks.
    bool add(const QByteArray& name, QIODevice& source, QString* error);
    // Central directory and end record; the package is complete after this.
    bool finish(QString* error);

private:
    bool beginEntry(Entry& e, QString* error);
    bool patchLocalHeader(const Entry& e, QString* error);
    QIODevice& out_;
    QList<Entry> written_;
};

}  // namespace corvane::zip
