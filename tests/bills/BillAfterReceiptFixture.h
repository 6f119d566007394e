#pragma once
// The receipt window with a bill ready to issue: two instalments ticked
// (300 and 500), one line of 物业服务费 at 6 %, payment method 现金; the
// bill types include 03 电子发票 and 01 (VAT) with book B1 of free bills
// 00000011 to 00000015.

#include <QTreeWidgetItemIterator>

#include "../receipts/ReceiptFixture.h"
#include "contracts/ContractHandovers.h"
#include "platform/Amounts.h"
#include "platform/Forms.h"
#include "receipts/BillWindowSeams.h"
#include "bills/Registration.h"
#include "receipts/Registration.h"
#include "receipts/frm合同收款.h"
#include "testsupport/TestEnvironment.h"

namespace corvane::test {

class BillAfterReceipt : public ReceiptTest {
protected:
    void SetUp() override
    {
        ReceiptTest::SetUp();
        contract::contractHandovers() = contract::ContractHandovers();
        receipts::billWindowSeams() = receipts::BillWindowSeams();
        receipts::registerReceiptWindows();
        receipts::registerBillWindows();
        addOffice();
        addFeeItem(QStringLiteral("WY01"), QStringLiteral("物业服务费"), QStringLiteral("物业服务"), 6);
        exec(QStringLiteral("INSERT INTO 收款方式列表 (收款方式) VALUES ('现金'), ('微信支付'), ('银行转账')"));
        exec(QStringLiteral("INSERT INTO 票据类型 (票据类型代号, 票据类型, 无票据编号, 定额) VALUES "
                            "('01', '增值税普通发票', 0, 0), ('03', '电子发票', NULL, 0)"));
        addLentBook(QStringLiteral("B1"), QStringLiteral("01"), QStringLiteral("D01"), 11, 5);
        addContract(QStringLiteral("HT-1"), QStringLiteral("O'Brien 物业"));
        a = addInstalment(QStringLiteral("HT-1"), QDate(2026, 1, 10), QStringLiteral("300.00"));
        b = addInstalment(QStringLiteral("HT-1"), QDate(2026, 2, 10), QStringLiteral("500.00"));
        c = addInstalment(QStringLiteral("HT-1"), QDate(2026, 3, 10), QStringLiteral("400.00"));
    }
    void TearDown() override
    {
        FormRegistry::instance().unloadAll();
        contract::contractHandovers() = contract::ContractHandovers();
        receipts::billWindowSeams() = receipts::BillWindowSeams();
        ReceiptTest::TearDown();
    }

    frm合同收款* open()
    {
        auto* w = Forms::get<frm合同收款>();
        w->takeHandover({QStringLiteral("HT-1"), QStringLiteral("HT-1合同"), QStringLiteral("D01 第一管理处"), QString()});
        w->Form_Activate();
        return w;
    }
    static void clickPlan(frm合同收款* w, int row, int column)
    {
        w->MSFlexGrid1->setRow(row);
        w->MSFlexGrid1->setCol(column);
        w->MSFlexGrid1_Click();
    }
    frm合同收款* preparedBill()
    {
        auto* w = open();
        clickPlan(w, 1, 1);
        clickPlan(w, 2, 1);
        w->Command5_Click();
        w->MSFlexGrid2->setRow(1);
        for (QTreeWidgetItemIterator it(w->TreeView3); *it; ++it)
            if ((*it)->data(0, Qt::UserRole).toString() == QLatin1String("XWY01")) w->TreeView3_NodeClick(*it);
        w->Combo1->setCurrentIndex(0);
        w->Combo1_Click();
        return w;
    }
    QStringList boxTexts() const { return doubles().boxes->texts(); }
    // plan id / cents / number / book of every receipt record
    QStringList receipts() const
    {
        QStringList out;
        const auto rows = selectRows(QStringLiteral(
            "SELECT 合同收款计划ID, 收款金额, 票据编号, 入库单编号 FROM 合同收款记录 ORDER BY ID"));
        for (const Row& r : *rows)
            out << QStringList{r.text(0), QString::number(centsOf(r.value(1)).value_or(-1)), r.text(2), r.text(3)}
                       .join(QLatin1Char('/'));
        return out;
    }
    QString receipt(qint64 plan, const char* cents, const QString& number, const QString& book) const
    {
        return QStringLiteral("%1/%2/%3/%4").arg(plan).arg(QString::fromUtf8(cents), number, book);
    }
    static qint64 billId(const QString& book, const QString& number)
    {
        return selectFirst(QStringLiteral("SELECT ID FROM 票据 WHERE 入库单编号 = ? AND 票据编号 = ?"), {book, number})
            ->value(0)
            .toLongLong();
    }
    static QString dateTimeOf(const QVariant& v)
    {
        return v.isNull() ? QStringLiteral("NULL") : toDateTime(v).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    }
    // A number column as its value to six places, "NULL" for NULL.
    static QString numberOf(const QVariant& v)
    {
        return v.isNull() ? QStringLiteral("NULL") : receipts::LineNumber::of(v.toString()).fixed(6);
    }
    // Every insert into `table` is refused from now on.
    void failInsertsInto(const QString& table)
    {
        if (testingOnPostgres()) {
            exec(QStringLiteral("CREATE OR REPLACE FUNCTION injected_failure() RETURNS trigger AS $$ "
                                "BEGIN RAISE EXCEPTION 'injected failure'; END $$ LANGUAGE plpgsql"));
            exec(QStringLiteral("CREATE TRIGGER injected BEFORE INSERT ON %1 FOR EACH ROW EXECUTE FUNCTION injected_failure()")
                     .arg(table));
        } else {
            exec(QStringLiteral("CREATE TRIGGER injected BEFORE INSERT ON %1 BEGIN SELECT RAISE(ABORT, 'injected failure'); END")
                     .arg(table));
        }
    }
    qint64 a = 0, b = 0, c = 0;
};

}  // namespace corvane::test
