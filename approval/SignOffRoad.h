#pragma once
// The administrative road of a submission: the contract shown in the record
// window goes to the outside approval program as a sign-off document.

#include <QString>

#include "db/Sql.h"

namespace corvane {
class Frm合同信息;
}

namespace corvane::approval {

// The road as the submission takes it: fill the templates, write the
// document and claim the contract, reload the window, "提交完成".
void 提交行政审批(Frm合同信息& window, const QString& signOffTemplate, const QString& planTemplate);

// Fills both templates in place from the window; false when the submission
// must stop (the reason has been shown; nothing was written).
bool OA审批文件生成(Frm合同信息& window, QString& signOffTemplate, QString& planTemplate);
// Writes the document and puts the contract into 审批中; the document number,
// or "" when nothing was written (the reason has been shown).
QString 生成会签文件(Frm合同信息& window, const QString& signOff, const QString& plan);

}  // namespace corvane::approval
