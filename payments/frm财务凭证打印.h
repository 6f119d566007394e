#pragma once
// The voucher window: previews the accounting vouchers of a list of
// reimbursement forms one at a time, pages through them, and prints them all
// as one job; each printed form is stamped with the day once the job ended well.
// (No Q_OBJECT: moc cannot read this class's name.)

#include <QLabel>
#include <QPushButton>
#include <array>
#include <memory>
#include <vector>

#include "platform/FlexGrid.h"
#include "platform/Forms.h"
#include "platform/PrintSurface.h"

namespace corvane {

class frm财务凭证打印 : public Form {
public:
    frm财务凭证打印();
    ~frm财务凭证打印() override;

    QLabel* Picture1;  // the preview, an off-screen canvas in millimetres
    std::array<QPushButton*, 4> Command4{};  // <  >  |<  >|
    QLabel* Label1;  // 第 n 张 共 m 张
    QPushButton* Command2;  // 打印设置
    QPushButton* Command1;  // 打印
    QPushButton* Command3;  // 取消

    // Tags of the old controls.
    QString Command4_0_Tag;  // current voucher number, from "1"
    QString Command4_1_Tag;  // the form id from the opener
    QString Label1_Tag;      // number of vouchers
    QString Command1_Tag;    // payment method of the confirmation list ("现金", "网上银行")

    // Mode "报销支付确认": the opener's confirmation grids, a tick picture in
    // column 2 of a ticked row and the form id in the last column.
    FlexGrid* confirmCashGrid = nullptr;  // MSFlexGrid1
    FlexGrid* confirmBankGrid = nullptr;  // MSFlexGrid3
    std::vector<qint64> forms;            // the form list, entry n − 1 is voucher n

    void Form_Activate() override;
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click(int index);

    void ShowCertificate();
    // Draws voucher p on the job; false (with the error) when it could not.
    bool PrintCertificate(PrintSurface& printer, int p, QString* error);

    // The preview canvas as drawn last.
    PainterSurface& preview() { return *m_canvas; }

private:
    void buildLayout();
    void showPreview();
    bool m_loaded = false;
    std::unique_ptr<PainterSurface> m_canvas;
};

}  // namespace corvane
