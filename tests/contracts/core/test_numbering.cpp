#include <gtest/gtest.h>

#include <QThread>
#include <atomic>
#include <mutex>

#include "ContractData.h"
#include "contracts/ContractNumbering.h"
#include "contracts/ContractStore.h"

using namespace corvane;
using namespace corvane::contract;
using namespace corvane::test;


TEST(ContractNumber, PrefixDashAndEightDigits)
{
    EXPECT_EQ(contractNumber("GC", 1, PrefixForm::DashAlways), QStringLiteral("GC-00000001"));
    EXPECT_EQ(contractNumber("", 12, PrefixForm::DashAlways), QStringLiteral("-00000012"));
    EXPECT_EQ(contractNumber("", 12, PrefixForm::DigitsAloneWhenNoPrefix), QStringLiteral("00000012"));
    EXPECT_EQ(contractNumber("WY", 123456789, PrefixForm::DigitsAloneWhenNoPrefix), QStringLiteral("WY-123456789"));
}

TEST_F(ContractDataTest, SerialsAreSharedStepPastTakenNumbersAndIgnoreTypedOnes)
{
    InsertedContract a = insertContract(numberedContract("GC"));
    ASSERT_EQ(a.outcome, InsertedContract::Inserted) << a.error.description.toStdString();
    EXPECT_EQ(a.number, QStringLiteral("GC-00000001"));
    EXPECT_GT(a.id, 0);
    EXPECT_EQ(insertContract(numberedContract("WY")).number, QStringLiteral("WY-00000002"));

    // Typed by hand earlier: the serial steps past it, and typed rows keep no serial.
    InsertedContract t = insertContract(typedContract("GC-00000003"));
    ASSERT_EQ(t.outcome, InsertedContract::Inserted);
    EXPECT_TRUE(selectFirst("SELECT 流水号 FROM 合同信息 WHERE 合同编号 = 'GC-00000003'")->isNull("流水号"));
    InsertedContract b = insertContract(numberedContract("GC"));
    EXPECT_EQ(b.number, QStringLiteral("GC-00000004"));
    EXPECT_EQ(b.serial.toLongLong(), 4);
    EXPECT_EQ(selectFirst("SELECT 合同状态 FROM 合同信息 WHERE 合同编号 = 'GC-00000004'")->text(0), QStringLiteral("未提交"));

    EXPECT_EQ(insertContract(typedContract("GC-00000003")).outcome, InsertedContract::NumberTaken);
    EXPECT_EQ(selectFirst("SELECT COUNT(*) FROM 合同信息")->value(0).toInt(), 4);
}

TEST_F(ContractDataTest, SupplementsAndRenewalLinks)
{
    NewContract s = numberedContract("", PrefixForm::DigitsAloneWhenNoPrefix);
    addSupplementColumns(s.columns, "GC-1", true);
    addContract("GC-1", "D01", "T1", "履行中");
    InsertedContract in = insertContract(s);
    ASSERT_EQ(in.outcome, InsertedContract::Inserted) << in.error.description.toStdString();
    EXPECT_EQ(in.number, QStringLiteral("00000001"));
    const auto row = selectFirst("SELECT 补充, 主合同编号, 收付款计划合并 FROM 合同信息 WHERE 合同编号 = ?", {in.number});
    EXPECT_EQ(row->value(0).toInt(), 1);
    EXPECT_EQ(row->text(1), QStringLiteral("GC-1"));

    const qint64 old = selectFirst("SELECT id FROM 合同信息 WHERE 合同编号 = 'GC-1'")->value(0).toLongLong();
    FollowUp renewal{typedContract("GC-2"), true, old};
    EXPECT_EQ(insertFollowUp(renewal).kind, FollowUpOutcome::Inserted);
    renewal.contract = typedContract("GC-3");
    EXPECT_EQ(insertFollowUp(renewal).kind, FollowUpOutcome::AlreadyRenewed) << "a second renewal is refused";
    EXPECT_EQ(selectFirst("SELECT 对应续约合同编号 FROM 合同信息 WHERE 合同编号 = 'GC-1'")->text(0), QStringLiteral("GC-2"));
    EXPECT_EQ(selectFirst("SELECT COUNT(*) FROM 合同信息 WHERE 合同编号 = 'GC-3'")->value(0).toInt(), 0);
}

TEST_F(ContractDataTest, ADeleteTakesTheUnitsInTheSameTransaction)
{
    addContract("K", "D01", "T1", "未提交");
    addContract("Q", "D01", "T1", "审批中", {{"提交日期", QDateTime(kToday, QTime(8, 0))}});
    for (const char* n : {"K", "Q"})
        exec("INSERT INTO 合同单元信息 (合同ID) SELECT id FROM 合同信息 WHERE 合同编号 = ?", {n});
    auto idOf = [](const char* n) {
        return selectFirst("SELECT id FROM 合同信息 WHERE 合同编号 = ?", {n})->value(0).toLongLong();
    };
    const qint64 k = idOf("K");
    EXPECT_EQ(deleteContract(idOf("Q"), DeletableWhile::NeverSubmitted).kind, WriteOutcome::NoRow);
    EXPECT_EQ(deleteContract(k, DeletableWhile::NeverSubmitted).kind, WriteOutcome::Done);
    EXPECT_EQ(deleteContract(k, DeletableWhile::NeverSubmitted).kind, WriteOutcome::NoRow);
    EXPECT_EQ(selectFirst("SELECT COUNT(*) FROM 合同单元信息")->value(0).toInt(), 1);
}
