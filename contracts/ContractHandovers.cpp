#include "contracts/ContractHandovers.h"

namespace corvane::contract {

ContractHandovers& contractHandovers()
{
    static ContractHandovers h;
    return h;
}

QString windowNotAvailableText(const QString& windowCaption)
{
    return QStringLiteral("“") + windowCaption + QStringLiteral("”窗口尚未提供，暂时无法使用。");
}

}  // namespace corvane::contract
