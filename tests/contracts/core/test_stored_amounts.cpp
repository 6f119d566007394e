#include <gtest/gtest.h>

#include "ContractData.h"
#include "contracts/ContractStore.h"
#include "platform/Amounts.h"

using namespace corvane;
using namespace corvane::contract;
using namespace corvane::test;

// Whatever the record window accepts as typed comes back from the database
// as typed: SQLite keeps DECIMAL as a binary float, so the typed rule stops
// where a float stops being exact.
TEST_F(ContractDataTest, EveryAcceptedAmountIsStoredAsTyped)
{
    const struct {
        const char* text;
        bool accepted;
    } cases[] = {
        {"0.01", true},
        {"0.1", true},
        {"1234.5", true},
        {"-300.50", true},
        {"100", true},
        {"4503599627370.49", true},
        {"1234567890123.45", true},
        {"9999999999999.99", true},
        {"-9999999999999.99", true},
        {"12345678901234.56", false},
        {"9999999999999999.99", false},
        {"123456.789", false},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto typed = parseTypedCents(QString::fromUtf8(c.text));
        EXPECT_EQ(typed.has_value(), c.accepted);
        if (!typed) continue;
        NewContract contract;
        contract.typedNumber = QStringLiteral("AMT-%1").arg(++n);
        contract.columns = {{QStringLiteral("合同金额"), centsText(*typed)}};
        const InsertedContract in = insertContract(contract);
        ASSERT_EQ(in.outcome, InsertedContract::Inserted) << in.error.description.toStdString();
        const auto row = selectFirst(QStringLiteral("SELECT 合同金额 FROM 合同信息 WHERE id = ?"), {in.id});
        ASSERT_TRUE(row);
        EXPECT_EQ(centsOf(row->value(0)), *typed) << row->text(0).toStdString();
    }
}
