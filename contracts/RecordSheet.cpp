#include "contracts/RecordSheet.h"

#include "contracts/ContractFormats.h"

namespace corvane::contract {

QString toStoredText(const QString& boxText)
{
    QString t = boxText;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return t;
}

QString fromStoredText(const QString& stored)
{
    QString t = stored;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return t;
}

ColumnValues sheetColumns(const RecordSheet& s)
{
    ColumnValues columns{
        {QStringLiteral("合同名称"), textOrNull(toStoredText(s.name))},
        {QStringLiteral("对方单位"), textOrNull(s.counterparty)},
        {QStringLiteral("对方开户行"), textOrNull(s.bank)},
        {QStringLiteral("对方帐号"), textOrNull(s.account)},
        {QStringLiteral("对方税号"), textOrNull(s.taxNumber)},
        {QStringLiteral("是否是合格供方"), s.qualified ? 1 : 0},
    };
    if (s.qualified) columns.emplace_back(QStringLiteral("合格供方代码"), s.supplierCode);
    columns.emplace_back(QStringLiteral("合同类型"), textOrNull(s.typeCode));
    columns.emplace_back(QStringLiteral("合同金额"),
                         s.amount ? QVariant(centsText(*s.amount)) : nullText());
    columns.emplace_back(QStringLiteral("合同起始日期"), s.start);
    columns.emplace_back(QStringLiteral("合同终止日期"), s.end);
    columns.emplace_back(QStringLiteral("主要条款"), textOrNull(toStoredText(s.mainTerms)));
    columns.emplace_back(QStringLiteral("对方签约人"), textOrNull(s.counterpartySignatory));
    columns.emplace_back(QStringLiteral("签约人"), textOrNull(s.ownSignatory));
    return columns;
}

RecordButtons recordButtonsFor(const ContractProgress& p, bool viewing)
{
    RecordButtons b;
    b.stateText = p.state;
    const bool inForce = p.hasState && p.state == 履行中;
    if (inForce) {
        b.Command20 = b.Command31 = b.Command19 = true;
        b.showCommand12 = b.Command12 = true;
        b.Frame1 = true;
        if (p.pastEnd) b.stateText = p.state + QStringLiteral("(已到期)");
    } else if (p.hasState && p.state == 已中止) {
        b.Command20 = true;
        b.Frame1 = true;
    }
    if (p.hasState && !inForce && p.state != 已中止 && p.state != 已作废) {
        if (!p.submitted) {
            b.command9Caption = QStringLiteral("提交");
            b.Command9 = b.Command1 = b.Command4 = b.Command5 = b.Command29 = b.Command17 = b.Command11 = b.Command2 =
                b.Command16 = b.Command7 = true;
            b.showCommand3 = b.Command3 = true;
            b.showCommand10 = b.Command10 = true;
        } else {
            b.Command9 = true;
            b.command9Caption = QStringLiteral("流转情况");
            if (p.circulationEnded && p.approved) {
                b.Frame1 = true;
                b.command18Caption = QStringLiteral("合同生效");
                if (!p.signed_) {
                    b.command18Caption = QStringLiteral("合同签订");
                    b.showCommand15 = true;
                    b.Command18 = b.Command3 = b.Command10 = true;
                } else if (!p.effective) {
                    b.showCommand26 = true;
                    b.Command18 = true;
                } else if (!p.suspended) {
                    b.showCommand12 = true;
                    b.Command19 = true;
                }
            }
        }
    }
    if (viewing) {
        // Looking only: nothing is saved, submitted or deleted from here.
        if (b.command9Caption == QStringLiteral("提交")) b.Command9 = false;
        b.Command2 = false;
        b.Command3 = false;
    }
    return b;
}

}  // namespace corvane::contract
