#include "testsupport/Workbooks.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

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

QString spreadsheetProgram()
{
    for (const char* name : {"soffice", "libreoffice"})
        if (const QString found = QStandardPaths::findExecutable(QString::fromLatin1(name)); !found.isEmpty()) return found;
    return {};
}

QString sheetAsSpreadsheetProgramShowsIt(const QString& file, const QString& sheetName, QString* error)
{
    const int sheet = int(sheetNames(file).indexOf(sheetName)) + 1;
    if (sheet < 1) {
        *error = QStringLiteral("no sheet ") + sheetName;
        return {};
    }
    const QString program = spreadsheetProgram();
    QTemporaryDir work;
    if (program.isEmpty() || !work.isValid()) {
        *error = QStringLiteral("no spreadsheet program");
        return {};
    }
    const QString out = work.filePath(QStringLiteral("out"));
    QProcess p;
    p.setWorkingDirectory(work.path());
    // Comma, double quote, UTF-8, from row 1, cells as shown, the sheet's number.
    const QString filter = QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,true,false,false,%1")
                               .arg(sheet);
    p.start(program, {QStringLiteral("--headless"), QStringLiteral("--norestore"),
                      QStringLiteral("-env:UserInstallation=") +
                          QUrl::fromLocalFile(work.filePath(QStringLiteral("profile"))).toString(),
                      QStringLiteral("--convert-to"), filter, QStringLiteral("--outdir"), out, file});
    if (!p.waitForFinished(180000)) {
        p.kill();
        p.waitForFinished();
        *error = QStringLiteral("the spreadsheet program did not finish");
        return {};
    }
    const QFileInfoList made = QDir(out).entryInfoList({QStringLiteral("*.csv")}, QDir::Files);
    if (made.isEmpty()) {
        *error = QStringLiteral("the spreadsheet program wrote nothing: ") +
                 QString::fromLocal8Bit(p.readAllStandardOutput() + p.readAllStandardError());
        return {};
    }
    QFile csv(made.front().filePath());
    if (!csv.open(QIODevice::ReadOnly)) {
        *error = csv.errorString();
        return {};
    }
    return QString::fromUtf8(csv.readAll());
}

QStringList sheetNames(const QString& path)
{
    xlsx::WorkbookReader r;
    r.open(path);
    return r.sheetNames();
}

}  // namespace corvane::test
