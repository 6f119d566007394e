#pragma once
// The about box: program name and version, the product family it belongs to,
// and the platform's system information tool.

#include <QLabel>
#include <QPushButton>

#include "platform/Forms.h"

namespace corvane {

class frmAbout : public Form {
    Q_OBJECT
public:
    frmAbout();

    QLabel* Picture1;
    QLabel* Picture2;
    QLabel* Label7;
    QLabel* lblTitle;
    QLabel* lblVersion;
    QPushButton* cmdOK;
    QPushButton* cmdSysInfo;

    void Form_Load() override;
    void Form_Activate() override;

    void cmdOK_Click();
    void cmdSysInfo_Click();
    void StartSysInfo();
    // Reads a text value of the machine's registry (root "HKEY_LOCAL_MACHINE").
    // Only Windows has one; elsewhere there is no value.
    bool GetKeyValue(const QString& root, const QString& keyName, const QString& valueName, QString& value);

private:
    bool m_centred = false;
};

}  // namespace corvane
