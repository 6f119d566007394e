#pragma once
// The contract record window's sheet as plain values, and the one mapping
// between it and the columns of 合同信息, shared by the save and the
// renewal and supplement panel; and which of the window's buttons each
// state of a contract offers.

#include <QDate>
#include <QString>
#include <optional>

#include "contracts/ContractStore.h"

namespace corvane::contract {

struct RecordSheet {
    QString name;  // 合同名称; line breaks are stored CR LF
    QString counterparty;
    QString bank, account, taxNumber;
    bool qualified = false;
    QString supplierCode;  // 合格供方代码, stored only for a qualified supplier
    QString typeCode;
    std::optional<qint64> amount;  // hundredths; none is Null
    QDate start, end;
    QString mainTerms;  // line breaks are stored CR LF
    QString counterpartySignatory, ownSignatory;
};

// The columns the sheet fills; empty texts are Null.
ColumnValues sheetColumns(const RecordSheet& sheet);

// Other programs of the family keep line breaks of long texts as CR LF; the
// boxes show them as one line break.
QString toStoredText(const QString& boxText);
QString fromStoredText(const QString& stored);

// What the buttons of a loaded contract depend on.
struct ContractProgress {
    bool hasState = false;  // 合同状态 is not Null
    QString state;
    bool submitted = false;         // 提交日期
    bool circulationEnded = false;  // 流转结束日期
    bool approved = false;          // 流转通过, with the circulation ended
    bool signed_ = false;           // a 签订日期 is shown
    bool effective = false;         // a 生效日期 is shown
    bool suspended = false;         // a 中止日期 is shown
    bool pastEnd = false;           // the 终止日期 is today or earlier
};

// The window's buttons a contract's progress turns on or shows. Every
// button named here that the rule does not turn on is off; Command4 and
// Command7 are only ever turned on.
struct RecordButtons {
    bool Command1 = false;   // 选择合格供方
    bool Command2 = false;   // 确定
    bool Command3 = false;   // 删除
    bool Command4 = false;   // 输入对方资料
    bool Command5 = false;   // type list
    bool Command7 = false;   // 收付款计划
    bool Command9 = false;   // 提交 / 流转情况
    bool Command10 = false;  // 作废
    bool Command11 = false;  // 添加资料
    bool Command12 = false;  // calendar of 中止日期
    bool Command16 = false;  // 设置履行计划
    bool Command17 = false;  // 主要条款保存为模板
    bool Command18 = false;  // 合同签订 / 合同生效
    bool Command19 = false;  // 合同中止
    bool Command20 = false;  // 续签
    bool Command29 = false;  // 使用模板
    bool Command31 = false;  // 补充
    bool Frame1 = false;     // the state frame
    // Shown (the rule never hides them).
    bool showCommand3 = false, showCommand10 = false, showCommand12 = false, showCommand15 = false,
         showCommand26 = false;
    // Captions; empty leaves the caption as it is.
    QString command9Caption, command18Caption;
    // The state label.
    QString stateText;
};

// `viewing`: the window was opened to look only (查看).
RecordButtons recordButtonsFor(const ContractProgress& progress, bool viewing);

}  // namespace corvane::contract
