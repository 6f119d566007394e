#pragma once
// Attachments and scanned pictures are stored whole in binary columns, and
// pictures are saved as JPEG copies.

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QVariant>

namespace corvane {

// Reads the whole file at `path` into `field` (a value to bind to a binary
// column). An empty file leaves the field Null. False, with `error` set, when
// the file cannot be read: the caller reports it and writes no row.
bool 文件存入字段(QVariant& field, const QString& path, QString* error);

// Writes a binary column's value to `path`, replacing a file of that name.
// A Null value, or one of fewer than 8 bytes, counts as no file: false and
// nothing written, `error` left empty. Any other failure gives false with
// its description in `error` (the window shows it titled "下载文件出错!").
bool 字段存为文件(const QVariant& field, const QString& path, QString* error);

// Saves the picture as a JPEG file of the given quality (0 to 100).
// False, without a message, when it cannot be written.
bool SaveAsJpg(const QImage& picture, const QString& path, int quality);

}  // namespace corvane
