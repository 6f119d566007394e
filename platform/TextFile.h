#pragma once
// Text files shared with the product family's other programs (log-off file,
// templates, interface and settings files) are GBK with CR LF line ends.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace corvane {

QByteArray toGbk(const QString& text);
QString fromGbk(const QByteArray& bytes);

// Reads a whole GBK file; line ends are returned as "\n". No value when it cannot be read.
std::optional<QString> readGbkFile(const QString& path, QString* error = nullptr);
// The first character of the text GBK cannot hold (an emoji, Korean, ẞ), or
// no value when it holds them all.
std::optional<QString> firstCharNotInGbk(const QString& text);
// Writes lines, each followed by CR LF, replacing the file. False (with error)
// on failure, and when a character cannot be written in GBK (the error names
// it): nothing is written then, rather than a "?" in its place.
bool writeGbkLines(const QString& path, const QStringList& lines, QString* error = nullptr);

// Small settings and result files: one refused above this size is no such
// file, and reading it would hold the window for minutes.
inline constexpr qint64 kSmallFileMaxBytes = 1024 * 1024;
// Reads a small GBK file as readGbkFile does; no value, with an error that
// names the file, when it is larger than kSmallFileMaxBytes or cannot be read.
std::optional<QString> readSmallGbkFile(const QString& path, QString* error = nullptr);

// Small settings files of the product family hold one value per line and are
// read back as comma-delimited input fields: leading blanks are skipped, a
// field ends at a comma or the line end (losing its trailing blanks), a field
// in double quotes is taken without them (a doubled quote inside stands for
// one). The one reader and writer of these files: what quotedField writes,
// either reader gives back whole.
// Every field of the text in order, a line's later fields after its first.
QStringList readDelimitedFields(const QString& text);
// The first field of each line, in order (a line's later fields dropped).
QStringList firstFieldOfEachLine(const QString& text);
// A value as such a file must hold it to come back whole: in double quotes
// when it has a comma, a quote or blanks at its start or end; as it is
// otherwise, so plain values stay readable by the older programs.
QString quotedField(const QString& value);
// Writes the values one per line, each quoted as needed (writeGbkLines).
bool writeGbkValues(const QString& path, const QStringList& values, QString* error = nullptr);

}  // namespace corvane
