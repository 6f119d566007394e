#pragma once
// The contract record window opened the way the contract list opens it, on
// the small organisation of ContractFixture.h, with every type shared so the
// type list offers them.

#include <QDir>
#include <QFile>

#include "ContractFixture.h"
#include "contracts/ContractRecordWindow.h"
#include "contracts/Frm合同信息.h"

namespace corvane::test {


class RecordTest : public ContractTest {
protected:
    void SetUp() override
    {
        ContractTest::SetUp();
        contract::registerContractRecordWindow();
        contract::recordWindowSeams() = contract::RecordWindowSeams();
        // A type without prefix, and every type shared.
        addType(QStringLiteral("T4"), QStringLiteral("杂项合同"), QStringLiteral("付款合同"), QString());
        exec(QStringLiteral("UPDATE 合同类型 SET 字 = NULL WHERE 合同类型编号 = 'T4'"));
        exec(QStringLiteral("UPDATE 合同类型 SET 公用 = 1"));
    }

    void TearDown() override
    {
        contract::recordWindowSeams() = contract::RecordWindowSeams();
        ContractTest::TearDown();
    }

    // The window as the list's 新增 / 修改 hand it over (department D01).
    Frm合同信息* openRecord(const QString& mode, const QString& number = QString())
    {
        const QString id = number.isEmpty() ? QString() : QString::number(idOf(number));
        contract::contractHandovers().Frm合同信息({mode, QStringLiteral("D01"), QStringLiteral("D01 财务部"), number, id});
        return Forms::find<Frm合同信息>();
    }

    static qint64 idOf(const QString& number)
    {
        const auto r = selectFirst(QStringLiteral("SELECT id FROM 合同信息 WHERE 合同编号 = ?"), {number});
        return r && r->count() ? r->value(0).toLongLong() : -1;
    }
    static Row contractRow(const QString& number)
    {
        return selectFirst(QStringLiteral("SELECT * FROM 合同信息 WHERE 合同编号 = ?"), {number}).value_or(Row());
    }
    static int count(const QString& sql, const QVariantList& values = {})
    {
        return selectFirst(sql, values)->value(0).toInt();
    }

    // A control's own Enabled and Visible settings, whatever its container's.
    static bool on(const QWidget* w) { return !w->testAttribute(Qt::WA_ForceDisabled); }
    static bool shown(const QWidget* w) { return !w->isHidden(); }

    // A new contract typed into the window, ready for 确定.
    static void fillNew(Frm合同信息& f, const QString& typeEntry = QStringLiteral("T1 工程合同"))
    {
        f.Text1[0]->setText(QStringLiteral("办公楼维修"));
        f.Text1[3]->setText(typeEntry);
        for (int i = 0; i < f.List1->count(); ++i)
            if (f.List1->item(i)->text() == typeEntry) f.List1->setCurrentRow(i);
        f.Text1[4]->setText(QStringLiteral("1234.5"));
        f.Text1[5]->setText(QStringLiteral("2026-01-01"));
        f.Text1[6]->setText(QStringLiteral("2026-12-31"));
    }

    QStringList texts() const { return doubles().boxes->texts(); }
    QString lastText() const { return boxes().isEmpty() ? QString() : boxes().last().text; }
};

}  // namespace corvane::test
