#pragma once
// Reading back what a test wrote into a workbook; a failure to read fails the test.

#include <QString>
#include <QStringList>

#include "platform/Xlsx.h"

namespace corvane::test {

xlsx::ReadSheet readSheet(const QString& path, const QString& name);
QStringList sheetNames(const QString& path);

// The spreadsheet program of the machine (LibreOffice, headless); "" when
// none is installed.
QString spreadsheetProgram();
// `file` opened by the spreadsheet program and its sheet `sheetName`
// converted to comma-separated text, UTF-8, as the program shows the cells;
// "" with *error when it could not. Each call has a profile of its own, so
// tests running at once do not wait for each other's.
QString sheetAsSpreadsheetProgramShowsIt(const QString& file, const QString& sheetName, QString* error);

}  // namespace corvane::test
