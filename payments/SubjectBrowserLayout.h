#pragma once
// The two subject browsers (budget subjects for a payment, accounting subjects
// for the bill-subject conversion) share one face: the tree, the chosen
// subject's code and name, 选择 and a closing button. Each hands the chosen
// subject to its opener as a value; the opener fills its own boxes.

#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <array>
#include <functional>

#include "platform/Forms.h"

namespace corvane::payments {

struct SubjectBrowserControls {
    QTreeWidget* tree = nullptr;
    std::array<QLineEdit*, 2> text{};  // 代码, 名称
    QPushButton* choose = nullptr;     // 选择
    QPushButton* close = nullptr;
};

// The subject 选择 hands back.
struct ChosenSubject {
    QString code, name;
};
using SubjectHandBack = std::function<void(const ChosenSubject&)>;

SubjectBrowserControls layOutSubjectBrowser(Form& form, const QString& name, const QString& caption,
                                            const QString& closeCaption);

}  // namespace corvane::payments
