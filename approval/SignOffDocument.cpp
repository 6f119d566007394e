#include "approval/SignOffDocument.h"

#include "app/Decimal.h"

namespace corvane::approval {

QString signOffNumber(qint64 serial)
{
    return kSignOffPrefix + QStringLiteral("%1").arg(serial, 8, 10, QLatin1Char('0'));
}

QString htmlEscaped(const QString& value)
{
    QString out;
    out.reserve(value.size());
    for (const QChar c : value) {
        switch (c.unicode()) {
        case '&': out += QStringLiteral("&amp;"); break;
        case '<': out += QStringLiteral("&lt;"); break;
        case '>': out += QStringLiteral("&gt;"); break;
        case '"': out += QStringLiteral("&quot;"); break;
        default: out += c;
        }
    }
    return out;
}

namespace {

void put(QString& text, const QString& placeholder, const QString& value)
{
    text.replace(placeholder, htmlEscaped(value), Qt::CaseSensitive);
}

}  // namespace

QString fillSignOff(QString form, const SignOffValues& v)
{
    const std::pair<const char*, const QString*> order[] = {
        {"《合同名称》", &v.合同名称}, {"《编号》", &v.编号},         {"《合同部门》", &v.合同部门},
        {"《合同类型》", &v.合同类型}, {"《起始日期》", &v.起始日期}, {"《终止日期》", &v.终止日期},
        {"《合同金额》", &v.合同金额}, {"《对方单位》", &v.对方单位}, {"《供》", &v.供},
        {"《合同主要条款或要点》", &v.合同主要条款或要点},
    };
    for (const auto& [placeholder, value] : order) put(form, QString::fromUtf8(placeholder), *value);
    return form;
}

QString fillDocumentNumber(QString form, const QString& number)
{
    put(form, QStringLiteral("《会签单编号》"), number);
    return form;
}

std::optional<PlanCut> cutPlanTemplate(const QString& plan)
{
    const qsizetype start = plan.indexOf(QStringLiteral("<TR id=计划"), 0, Qt::CaseSensitive);
    if (start < 0) return std::nullopt;
    const qsizetype end = plan.indexOf(QStringLiteral("</TBODY></TABLE>"), start, Qt::CaseSensitive);
    if (end < 0) return std::nullopt;
    return PlanCut{plan.left(start), plan.mid(start, end - start), plan.mid(end)};
}

FilledPlan fillPlan(QString plan, bool receipts, const std::vector<PlanInstalment>& instalments)
{
    FilledPlan out;
    put(plan, QStringLiteral("《收付款计划》"), receipts ? QStringLiteral("收款计划") : QStringLiteral("付款计划"));
    const auto cut = cutPlanTemplate(plan);
    if (!cut) {
        out.outcome = FilledPlan::BadTemplate;
        return out;
    }
    if (instalments.empty()) return out;
    QString rows;
    for (const PlanInstalment& i : instalments) {
        if (!i.日期 || !i.日期->isValid() || !i.金额) {
            out.outcome = FilledPlan::MissingValue;
            return out;
        }
        QString block = cut->block;
        put(block, QStringLiteral("《日期》"), i.日期->toString(QStringLiteral("yyyy-MM-dd")));
        put(block, QStringLiteral("《金额》"), Decimal::fromCents(*i.金额).plain());
        put(block, QStringLiteral("《条件》"), i.条件);
        rows += block;
    }
    out.text = cut->head + rows + cut->tail;
    return out;
}

QByteArray documentBytes(const QString& text)
{
    QByteArray out;
    out.reserve(text.size() * 2);
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        out.append(char(u & 0xff));
        out.append(char(u >> 8));
    }
    return out;
}

std::pair<QString, QString> splitAttachmentName(const QString& name)
{
    const qsizetype point = name.lastIndexOf(QLatin1Char('.'));
    if (point < 0) return {name, QString()};
    return {name.left(point), name.mid(point + 1)};
}

}  // namespace corvane::approval
