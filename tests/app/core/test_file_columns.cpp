#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QRandomGenerator>

#include "app/FileColumns.h"
#include "db/Sql.h"
#include "testsupport/TestDatabase.h"
#include "testsupport/ServiceDoubles.h"

using namespace corvane;

namespace {

class FileColumnsTest : public test::DbTest {
protected:
    QString path(const QString& name) const { return QDir(test::programFolder()).filePath(name); }

    QString writeFile(const QString& name, const QByteArray& bytes) const
    {
        QFile f(path(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    }

    // Stores a file as an attachment row and reads the column back.
    QVariant storeAndLoad(const QString& file)
    {
        QVariant field;
        QString error;
        EXPECT_TRUE(文件存入字段(field, file, &error)) << error.toStdString();
        EXPECT_TRUE(execute(QStringLiteral("INSERT INTO 合同信息附件 (合同ID, 名称, 附件) VALUES (?, ?, ?)"),
                            {1, QStringLiteral("附件"), field}).has_value());
        auto row = selectFirst(QStringLiteral("SELECT 附件 FROM 合同信息附件 WHERE 合同ID = ?"), {1});
        EXPECT_TRUE(row.has_value());
        return row->value(QStringLiteral("附件"));
    }
};

QByteArray randomBytes(int n)
{
    QByteArray bytes(n, Qt::Uninitialized);
    for (int i = 0; i < n; ++i) bytes[i] = static_cast<char>(QRandomGenerator::global()->bounded(256));
    return bytes;
}

}  // namespace

TEST_F(FileColumnsTest, FilesRoundTripByteForByte)
{
    // Sizes around the old 2048-byte chunks, and one of several megabytes.
    for (int size : {100, 4096, 5000, 3 * 1024 * 1024 + 17}) {
        exec(QStringLiteral("DELETE FROM 合同信息附件"));
        const QByteArray original = randomBytes(size);
        const QVariant stored = storeAndLoad(writeFile(QStringLiteral("in.bin"), original));
        const QString out = path(QStringLiteral("out.bin"));
        ASSERT_TRUE(字段存为文件(stored, out, nullptr)) << size;
        QFile f(out);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), original) << size;
    }
}

TEST_F(FileColumnsTest, EmptyFileStoresNullAndShortValuesAreNoFile)
{
    const QVariant empty = storeAndLoad(writeFile(QStringLiteral("empty.bin"), QByteArray()));
    EXPECT_TRUE(empty.isNull());
    QString error;
    EXPECT_FALSE(字段存为文件(empty, path(QStringLiteral("empty.out")), &error));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("empty.out"))));

    exec(QStringLiteral("DELETE FROM 合同信息附件"));
    const QVariant tiny = storeAndLoad(writeFile(QStringLiteral("tiny.bin"), QByteArray("12345")));
    EXPECT_EQ(tiny.toByteArray(), QByteArray("12345"));
    EXPECT_FALSE(字段存为文件(tiny, path(QStringLiteral("tiny.out")), &error));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("tiny.out"))));
    // No file is no failure: nothing for the window to report.
    EXPECT_TRUE(error.isEmpty());
    EXPECT_TRUE(test::doubles().boxes->shown.isEmpty());
}

TEST_F(FileColumnsTest, MissingSourceAndMissingFolderAreReported)
{
    QVariant field;
    QString error;
    EXPECT_FALSE(文件存入字段(field, path(QStringLiteral("nope.doc")), &error));
    EXPECT_FALSE(error.isEmpty());

    error.clear();
    EXPECT_FALSE(字段存为文件(QVariant(QByteArray(64, 'x')), path(QStringLiteral("no/such/folder/a.doc")), &error));
    EXPECT_FALSE(error.isEmpty());
    // The store shows nothing itself; the record window shows the text.
    EXPECT_TRUE(test::doubles().boxes->shown.isEmpty());
}

TEST(SaveAsJpg, WritesTheRequestedQualityAndFailsQuietly)
{
    test::resetServices();
    QImage picture(64, 48, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) picture.setPixel(x, y, qRgb(x * 4, y * 5, (x * y) % 256));
    const QString dir = test::programFolder();
    const QString at64 = QDir(dir).filePath(QStringLiteral("p64.jpg"));
    ASSERT_TRUE(SaveAsJpg(picture, at64, 64));

    // The same picture encoded directly at quality 64 gives the same bytes.
    QByteArray expected;
    {
        QBuffer buffer(&expected);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "jpeg");
        writer.setQuality(64);
        ASSERT_TRUE(writer.write(picture));
    }
    QFile f(at64);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), expected);

    EXPECT_FALSE(SaveAsJpg(picture, QDir(dir).filePath(QStringLiteral("missing/p.jpg")), 64));
    EXPECT_FALSE(SaveAsJpg(QImage(), QDir(dir).filePath(QStringLiteral("null.jpg")), 64));
    EXPECT_TRUE(test::doubles().boxes->shown.isEmpty());
}
