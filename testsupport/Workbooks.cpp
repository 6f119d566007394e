#include "testsupport/Workbooks.h"

#include <gtest/gtest.h>

namespace corvane::test {

xlsx::ReadSheet readSheet(const QString& path, const QString& name)
{
    xlsx::WorkbookReader r;
    QString error;
    EXPECT_TRUE(r.open(path, &error)) << error.toStdString();
    auto s = r.sheet(name, &error);
    EXPECT_TRUE(s.has_value()) << error.toStdString();
    return s.value_or(xlsx::ReadSheet{});
}

QStringList sheetNames(const QString& path)
{
    xlsx::WorkbookReader r;
    r.open(path);
    return r.sheetNames();
}

}  // namespace corvane::test
