#pragma once
// What a text box lets in. A one-line box takes one line: a pasted line
// break becomes a blank. A multi-line box keeps its line breaks. Neither keeps
// other control characters (a NUL or an escape pasted from another program
// would reach the database and the other programs' files). A box never holds
// more than its column does: a longer paste is refused with a message, never
// cut short without a word.

#include <QLineEdit>
#include <QString>

namespace corvane {

// The most a box for a number (an amount, a quantity, a rate) takes.
inline constexpr int kNumberBoxLength = 20;

// The text as a one-line box keeps it.
QString singleLineText(const QString& text);
// The text as a multi-line box keeps it, line breaks as "\n".
QString multiLineText(const QString& text);
// The message for a paste longer than the box takes.
QString tooLongMessage(int maxLength);

// The one-line rules on a QLineEdit; `maxLength` 0 means no limit of ours.
// Applied again, only the limit changes (an editor laid over a grid takes
// the limit of the column of the cell it edits).
void applyLineRules(QLineEdit* box, int maxLength);

}  // namespace corvane
