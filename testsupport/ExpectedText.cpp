#include "testsupport/ExpectedText.h"

#include <QFile>
#include <QStringList>

namespace corvane::test {

::testing::AssertionResult matchesExpectedText(const QString& actual, const QString& relativePath)
{
    const QString path = QStringLiteral(CORVANE_TEST_SOURCE_DIR "/") + relativePath;
    QFile file(path);
    const QString expected = file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    if (expected == actual) return ::testing::AssertionSuccess();
    QFile out(path + QStringLiteral(".actual"));
    if (out.open(QIODevice::WriteOnly | QIODevice::Truncate)) out.write(actual.toUtf8());
    const QStringList want = expected.split(QLatin1Char('\n')), got = actual.split(QLatin1Char('\n'));
    qsizetype line = 0;
    while (line < want.size() && line < got.size() && want[line] == got[line]) ++line;
    return ::testing::AssertionFailure()
           << relativePath.toStdString() << " differs from line " << line + 1 << ":\n  expected: "
           << want.value(line).toStdString() << "\n  now:      " << got.value(line).toStdString()
           << "\nthe text as it is now: " << out.fileName().toStdString();
}

void appendStatements(QString& out, const QString& what, const QStringList& statements)
{
    out += QStringLiteral("-- ") + what + QLatin1Char('\n');
    for (const QString& s : statements) out += s.isEmpty() ? QStringLiteral("-- (nothing is sent)\n") : s + QStringLiteral(";\n");
    out += QLatin1Char('\n');
}

}  // namespace corvane::test
