#pragma once
// What a clerk would see wrong in a window as it is laid out now: a caption
// or a shown value cut off, a control lying outside the control that holds it.

#include <QSet>
#include <QString>
#include <QStringList>
#include <QAbstractButton>
#include <QSize>
#include <QWidget>

#include "platform/Forms.h"

namespace corvane::test {

// One line per problem ("Label1_3: caption cut (52 > 48 px)"). Hidden
// controls, and controls whose objectName is in `skip` (with everything
// inside them), are passed over. A status line drawn over another control
// beside it is a problem too.
QStringList layoutProblems(const QWidget* window, const QSet<QString>& skip = {});

// The smallest screen the clerks work on.
inline const QSize kSmallScreen(1024, 768);

// A window of its own (modal, or shown as its own window) opened on a screen
// of that size: it fits whole, or scrolls so every control can be reached.
// Shows the window (presentModal) when it is not shown yet.
QStringList screenProblems(Form& window, QSize screen = kSmallScreen);

// Esc closes the window as its own close button does, and the button is in
// reach: one line per problem. The window is gone afterwards. A window
// without a button of its own to close it (nullptr) has its title bar's
// close box.
QStringList escapeProblems(Form& window, QAbstractButton* closeButton);

// A panel shown over the window's controls: Esc hides it, its own close
// button lies inside the panel and the window, and the panel inside the
// window. Shows the panel first.
QStringList panelProblems(Form& window, QWidget* panel, QWidget* closeButton);

// A window shown over another where the program places it (a modal window
// over the window that opened it): its top and bottom edges, the window
// manager's frame included, run across none of the other's buttons,
// captions, boxes or status line. Each lies wholly above, below or under it.
QStringList coverProblems(const Form& over, const Form& under);

}  // namespace corvane::test
