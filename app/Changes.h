#pragma once
// Notices of committed changes to the data that windows show. The window that
// wrote announces what it changed, after the commit; a window that shows those
// data subscribes and reads them again. No window writes another window's
// controls, so a window's layout (a list column, a button) is its own.
//
// Notices go out on the GUI thread and are delivered at once, before the
// announcing call returns: a subscriber shows the change at the same moment
// the old direct writes did.

#include <QObject>
#include <vector>

namespace corvane {

class Changes : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

signals:
    // Contracts created, edited or deleted in the record window: a list
    // selects them again, so a contract may enter or leave it.
    void contractsEdited(const std::vector<qint64>& ids);
    // A contract moved on in its course (submitted for countersign, ended or
    // suspended): whoever shows it shows its stored values again where it
    // stands, and leaves it where it is.
    void contractProgressed(qint64 id);
};

// The program's one notice board.
Changes& changes();

}  // namespace corvane
