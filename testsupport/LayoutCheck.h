#pragma once
// What a clerk would see wrong in a window as it is laid out now: a caption
// or a shown value cut off, a control lying outside the control that holds it.

#include <QSet>
#include <QString>
#include <QStringList>
#include <QWidget>

namespace corvane::test {

// One line per problem ("Label1_3: caption cut (52 > 48 px)"). Hidden
// controls, and controls whose objectName is in `skip` (with everything
// inside them), are passed over.
QStringList layoutProblems(const QWidget* window, const QSet<QString>& skip = {});

}  // namespace corvane::test
