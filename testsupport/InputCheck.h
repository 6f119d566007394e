#pragma once
// What the text boxes of a window do with the hostile texts of HostileInput.h
// pasted as a clerk pastes them: a box whose text is stored in a column keeps
// no more than the column holds (the schema description), takes a paste of
// exactly that length and refuses a longer one with the input rules'
// message; no box keeps a control character. A box may keep less of a
// paste than the column holds (one that takes digits only, say).

#include <QSet>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <map>

#include "platform/InputRules.h"

namespace corvane::test {

// One line per problem ("Text5_0: keeps 10000 characters, 票据.付款人 holds 200").
// `stored` maps a box's objectName to the column its text goes to
// ("票据.付款人"; a column of unbounded text is checked for control
// characters only); `unstored` names the boxes whose text goes to no text
// column (filters, file names, numbers). An editable box named in neither is
// a problem of its own, so that a box added later is not passed over.
// Read-only boxes are passed over. Each box gets its text back afterwards.
QStringList inputProblems(QWidget* window, const std::map<QString, QString>& stored,
                          const QSet<QString>& unstored = {});

}  // namespace corvane::test
