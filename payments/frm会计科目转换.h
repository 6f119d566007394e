#pragma once
// The bill-subject conversion window: the mappings of bill subjects to
// accounting subjects, one shown at a time, added, changed and deleted.
// (No Q_OBJECT: moc cannot read this class's name.)

#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include "platform/Forms.h"
#include "platform/TextBox.h"

namespace corvane {

class LoginStatusBar;

class frm会计科目转换 : public Form {
public:
    frm会计科目转换();

    QLineEdit* Text1;  // 发票科目代号
    QLineEdit* Text2;  // 发票科目名称
    QLineEdit* Text3;  // 会计科目: code, blank, name
    QPushButton* Command5;  // opens the subject tree browser
    TextBox* Text4;  // 备注
    QListWidget* List1;     // 发票科目明细
    QPushButton* Command1;  // 新增 / 取消
    QPushButton* Command2;  // 确定
    QPushButton* Command3;  // 删除
    QPushButton* Command4;  // 退出
    LoginStatusBar* StatusBar1;

    void Form_Load() override;
    void 转换列表();
    void List1_Click();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();

private:
    void buildLayout();
    void clearBoxes();
    QString selectedCode() const;
};

}  // namespace corvane
