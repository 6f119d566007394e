#pragma once
// Reading back what a test wrote into a workbook; a failure to read fails the test.

#include <QString>
#include <QStringList>

#include "platform/Xlsx.h"

namespace corvane::test {

xlsx::ReadSheet readSheet(const QString& path, const QString& name);
QStringList sheetNames(const QString& path);

}  // namespace corvane::test
