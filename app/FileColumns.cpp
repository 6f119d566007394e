#include "app/FileColumns.h"

#include <QFile>
#include <QImageWriter>
#include <QSaveFile>

#include "platform/Services.h"

namespace corvane {

namespace {
// Values this short are what an empty or broken upload left behind, never a
// document the user stored.
constexpr qint64 kSmallestFile = 8;
}  // namespace

bool 文件存入字段(QVariant& field, const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) *error = file.errorString();
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error) *error = file.errorString();
        return false;
    }
    field = bytes.isEmpty() ? QVariant(QMetaType::fromType<QByteArray>()) : QVariant(bytes);
    return true;
}

bool 字段存为文件(const QVariant& field, const QString& path, QString* error)
{
    if (field.isNull()) return false;
    const QByteArray bytes = field.toByteArray();
    if (bytes.size() < kSmallestFile) return false;
    // Written beside the target and renamed over it, so a failure never
    // leaves half a document under the attachment's name.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error) *error = file.errorString();
        return false;
    }
    return true;
}

bool SaveAsJpg(const QImage& picture, const QString& path, int quality)
{
    if (picture.isNull()) return false;
    QImageWriter writer(path, "jpeg");
    writer.setQuality(quality);
    return writer.write(picture);
}

}  // namespace corvane
