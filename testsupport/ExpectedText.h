#pragma once
// A text compared with a reviewed expected text kept beside its test, so a
// change is a visible diff in review. When they differ, the text as it is
// now is written next to the expected file (same name, ".actual" added) for
// `diff`, and the first differing line is named.

#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

namespace corvane::test {

// `relativePath` counts from the tests/ folder of the source tree.
::testing::AssertionResult matchesExpectedText(const QString& actual, const QString& relativePath);

// Appends "-- what", then each statement ended by ";" (an empty one as
// "-- (nothing is sent)"), then a blank line.
void appendStatements(QString& out, const QString& what, const QStringList& statements);

}  // namespace corvane::test
