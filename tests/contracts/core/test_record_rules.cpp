#include <gtest/gtest.h>

#include <map>

#include "contracts/ContractRecordRules.h"
#include "contracts/RecordSheet.h"

using namespace corvane::contract;

TEST(RecordRules, DatesAreYearMonthDay)
{
    EXPECT_EQ(parseDateText("2026-01-02"), QDate(2026, 1, 2));
    EXPECT_EQ(parseDateText("2026/1/2"), QDate(2026, 1, 2));
    EXPECT_EQ(parseDateText("2024-02-29"), QDate(2024, 2, 29));
    for (const char* bad : {"", "2023-02-29", "2020-02-30", "02-01-2026", "2026-01", "2026-01/02", "明天"})
        EXPECT_EQ(parseDateText(QString::fromUtf8(bad)), std::nullopt) << bad;
}

TEST(RecordRules, LastDayOfMonthFollowsTheGregorianCalendar)
{
    EXPECT_EQ(lastDayOfMonthText(2024, 2), "29");
    EXPECT_EQ(lastDayOfMonthText(2023, 2), "28");
    EXPECT_EQ(lastDayOfMonthText(2000, 2), "29");
    EXPECT_EQ(lastDayOfMonthText(1900, 2), "28");  // divisible by four, not a leap year
    EXPECT_EQ(lastDayOfMonthText(2100, 2), "28");
    EXPECT_EQ(lastDayOfMonthText(2021, 4), "30");
    EXPECT_EQ(lastDayOfMonthText(2021, 12), "31");
    EXPECT_EQ(lastDayOfMonthText(2021, 13), "");
}

TEST(RecordRules, RenewalTermKeepsTheNumberOfMonths)
{
    const struct {
        const char *start, *end, *expectedEnd;
    } cases[] = {
        {"2020-01-01", "2020-12-31", "2021-12-31"},
        {"2020-03-15", "2021-03-14", "2022-03-14"},
        {"2021-01-01", "2021-02-28", "2021-04-30"},
        {"2021-03-01", "2021-03-31", "2021-04-30"},
        {"2019-12-31", "2020-01-30", "2020-02-30"},  // not a date: the save refuses it
        {"2099-11-01", "2099-12-31", "2100-02-28"},  // 2100 is no leap year
    };
    for (const auto& c : cases) {
        const QDate newStart = *parseDateText(c.end);
        EXPECT_EQ(renewalEndText(c.start, c.end, shortDateText(newStart.addDays(1))), QString::fromUtf8(c.expectedEnd))
            << c.start << " " << c.end;
    }
    EXPECT_EQ(renewalEndText("", "2020-12-31", "2021-01-01"), std::nullopt);
}

TEST(RecordRules, TermCountsBothEnds)
{
    EXPECT_EQ(termDays(QDate(2020, 1, 1), QDate(2020, 12, 31)), 366);
    EXPECT_EQ(termDays(QDate(2020, 1, 1), QDate(2020, 1, 1)), 1);
    EXPECT_EQ(termDays(QDate(2020, 1, 2), QDate(2020, 1, 1)), 0);
    EXPECT_EQ(termDays(QDate(2020, 1, 5), QDate(2020, 1, 1)), -3);
}

TEST(RecordRules, ButtonsFollowStateAndApprovalProgress)
{
    // progress: s submitted, e circulation ended, a approved, g signed, f effective, u suspended, x past its end
    struct Case {
        const char* name;
        const char* state;  // nullptr: Null
        const char* progress;
        bool viewing;
        // 确定 删除 作废 Command9 Command18 合同中止 续签 补充 Frame1 编辑 (Command1 5 11 16 17 29 4 7 together)
        QString on;
        QString command9, command18, label, shown;
    };
    const std::vector<Case> cases = {
        {"never submitted", "未提交", "", false, "确定 删除 作废 9 编辑", "提交", "", "未提交", "3 10"},
        {"never submitted, viewing", "未提交", "", true, "作废 编辑", "提交", "", "未提交", "3 10"},
        {"approval running", "审批中", "s", false, "9", "流转情况", "", "审批中", ""},
        {"approved", "审批通过", "sea", false, "删除 作废 9 18 Frame1", "流转情况", "合同签订", "审批通过", "15"},
        {"approved, viewing", "审批通过", "sea", true, "作废 9 18 Frame1", "流转情况", "合同签订", "审批通过", "15"},
        {"signed", "签约完成", "seag", false, "9 18 Frame1", "流转情况", "合同生效", "签约完成", "26"},
        {"effective, other state", "签约完成", "seagf", false, "9 中止 Frame1", "流转情况", "合同生效", "签约完成", "12"},
        {"ended at expiry", "履行完成", "seagfu", false, "9 Frame1", "流转情况", "合同生效", "履行完成", ""},
        {"refused", "审批未通过", "se", false, "9", "流转情况", "", "审批未通过", ""},
        {"in force", "履行中", "", false, "中止 续签 补充 Frame1", "", "", "履行中", "12"},
        {"in force, past its end", "履行中", "x", false, "中止 续签 补充 Frame1", "", "", "履行中(已到期)", "12"},
        {"suspended", "已中止", "", false, "续签 Frame1", "", "", "已中止", ""},
        {"voided", "已作废", "", false, "", "", "", "已作废", ""},
        {"no state", nullptr, "", false, "", "", "", "", ""},
    };
    for (const Case& c : cases) {
        ContractProgress p;
        p.hasState = c.state != nullptr;
        p.state = c.state ? QString::fromUtf8(c.state) : QString();
        const QString has = QString::fromLatin1(c.progress);
        p.submitted = has.contains('s');
        p.circulationEnded = has.contains('e');
        p.approved = has.contains('a');
        p.signed_ = has.contains('g');
        p.effective = has.contains('f');
        p.suspended = has.contains('u');
        p.pastEnd = has.contains('x');
        const RecordButtons b = recordButtonsFor(p, c.viewing);

        QStringList on;
        if (b.Command2) on << "确定";
        if (b.Command3) on << "删除";
        if (b.Command10) on << "作废";
        if (b.Command9) on << "9";
        if (b.Command18) on << "18";
        if (b.Command19) on << "中止";
        if (b.Command20) on << "续签";
        if (b.Command31) on << "补充";
        if (b.Frame1) on << "Frame1";
        const bool editing = b.Command1 && b.Command5 && b.Command11 && b.Command16 && b.Command17 && b.Command29 &&
                             b.Command4 && b.Command7;
        const bool noEditing = !b.Command1 && !b.Command5 && !b.Command11 && !b.Command16 && !b.Command17 &&
                               !b.Command29 && !b.Command4 && !b.Command7;
        EXPECT_TRUE(editing || noEditing) << c.name;
        if (editing) on << "编辑";
        EXPECT_EQ(on.join(' '), c.on) << c.name;
        EXPECT_EQ(b.command9Caption, c.command9) << c.name;
        EXPECT_EQ(b.command18Caption, c.command18) << c.name;
        EXPECT_EQ(b.stateText, c.label) << c.name;
        QStringList shown;
        if (b.showCommand3) shown << "3";
        if (b.showCommand10) shown << "10";
        if (b.showCommand12) shown << "12";
        if (b.showCommand15) shown << "15";
        if (b.showCommand26) shown << "26";
        EXPECT_EQ(shown.join(' '), c.shown) << c.name;
    }
}

TEST(RecordRules, TheSheetIsStoredWithNullsAndCrLfLineBreaks)
{
    RecordSheet s;
    s.name = QStringLiteral("一\n二");
    s.mainTerms = QStringLiteral("甲\r\n乙\n丙");
    s.typeCode = QStringLiteral("T1");
    s.amount = 123450;
    s.start = QDate(2026, 1, 1);
    s.end = QDate(2026, 12, 31);
    std::map<QString, QVariant> columns;
    for (const auto& [name, value] : sheetColumns(s)) columns[name] = value;
    EXPECT_EQ(columns["合同名称"].toString(), QStringLiteral("一\r\n二"));
    EXPECT_EQ(columns["主要条款"].toString(), QStringLiteral("甲\r\n乙\r\n丙"));
    EXPECT_EQ(columns["合同金额"].toString(), QStringLiteral("1234.50"));
    EXPECT_TRUE(columns["对方单位"].isNull()) << "an empty text is Null";
    EXPECT_EQ(columns.count("合格供方代码"), 0u) << "only a qualified supplier's code is stored";
    EXPECT_EQ(columns["是否是合格供方"].toInt(), 0);
    s.qualified = true;
    s.supplierCode = QStringLiteral("S01");
    s.amount.reset();
    columns.clear();
    for (const auto& [name, value] : sheetColumns(s)) columns[name] = value;
    EXPECT_EQ(columns["合格供方代码"].toString(), QStringLiteral("S01"));
    EXPECT_TRUE(columns["合同金额"].isNull());
    EXPECT_EQ(fromStoredText(QStringLiteral("甲\r\n乙")), QStringLiteral("甲\n乙"));
}
