#pragma once
// The sign-off document handed to the administrative-document program: its
// two HTML templates filled with the contract, its number, its bytes, and
// how attachment names travel there and back. No window, no database.

#include <QByteArray>
#include <QDate>
#include <QString>
#include <optional>
#include <utility>
#include <vector>

namespace corvane::approval {

// The document numbers of contract sign-offs: "HTHQ-" and eight digits.
inline const QString kSignOffPrefix = QStringLiteral("HTHQ-");
QString signOffNumber(qint64 serial);

// What a value put into the form cannot break: & < > " as entities.
QString htmlEscaped(const QString& value);

// The record window's texts for the ten placeholders, as shown.
struct SignOffValues {
    QString 合同名称, 编号, 合同部门, 合同类型, 起始日期, 终止日期, 合同金额, 对方单位, 供, 合同主要条款或要点;
};
// 《合同名称》 … 《合同主要条款或要点》 replaced, in that order, at every
// occurrence, each value escaped.
QString fillSignOff(QString form, const SignOffValues& values);
// 《会签单编号》 replaced by the document number.
QString fillDocumentNumber(QString form, const QString& number);

// The plan template cut around its row block: from the first "<TR id=计划"
// up to the first "</TBODY></TABLE>" after it. No value when either marker
// is missing.
struct PlanCut {
    QString head, block, tail;
};
std::optional<PlanCut> cutPlanTemplate(const QString& plan);

// One instalment as the plan table shows it: no value for a date or an
// amount the row lacks.
struct PlanInstalment {
    std::optional<QDate> 日期;
    std::optional<qint64> 金额;  // hundredths
    QString 条件;
};

struct FilledPlan {
    enum Outcome { Filled, BadTemplate, MissingValue };
    Outcome outcome = Filled;
    QString text;  // "" when there is no instalment: the document carries no plan
};
// 《收付款计划》 by "收款计划" or "付款计划", then one row block per
// instalment with 《日期》 (yyyy-MM-dd), 《金额》 (plain decimal) and 《条件》.
// A template without its markers, or an instalment without date or amount,
// is refused whole.
FilledPlan fillPlan(QString plan, bool receipts, const std::vector<PlanInstalment>& instalments);

// The text as the program reads 文件内容: UTF-16 little-endian, no byte-order mark.
QByteArray documentBytes(const QString& text);

// An attachment name as 附件标题 and 扩展名: cut at its last point, so that
// 附件标题 + "." + 扩展名 gives it back whole; a name without a point has the
// empty extension.
std::pair<QString, QString> splitAttachmentName(const QString& name);

}  // namespace corvane::approval
