#include <gtest/gtest.h>

#include <QDateTime>
#include <QStringList>

#include "contracts/ColumnFit.h"
#include "contracts/ContractFormats.h"
#include "platform/TextMeasure.h"

using namespace corvane;
using namespace corvane::contract;

namespace {

// Characters of different widths; lines measured apart, as the real measure does.
double uneven(const QFont&, const QString& s)
{
    double widest = 0;
    for (const QString& line : s.split(QLatin1Char('\n'))) {
        double w = 0;
        for (const QChar c : line) w += 15.0 * (c.unicode() % 7 + 4);
        widest = std::max(widest, w);
    }
    return widest;
}

struct UnevenMeasure {
    UnevenMeasure() { setTextWidthMeasure(uneven); }
    ~UnevenMeasure() { setTextWidthMeasure({}); }
};

}  // namespace

TEST(WidestText, AgreesWithMeasuringEveryTextAndMeasuresEachShapeOnce)
{
    UnevenMeasure m;
    QStringList texts;
    for (int i = 0; i < 2000; ++i) texts << QStringLiteral("WX-%1").arg(i, 8, 10, QLatin1Char('0'));
    texts << QStringLiteral("短") << QString() << QStringLiteral("甲\n乙丙丁戊己庚辛壬癸子丑寅卯") << QStringLiteral("第123号楼");
    WidestText w(QFont(), 1);
    double brute = 0;
    for (const QString& t : texts) {
        w.add(0, t);
        brute = std::max(brute, uneven(QFont(), t));
    }
    EXPECT_DOUBLE_EQ(w.widest(0), brute);
    EXPECT_LT(w.measuredCount(), 40);
}

TEST(WidestText, EachColumnKeepsItsOwnWidest)
{
    UnevenMeasure m;
    WidestText w(QFont(), 2);
    w.add(0, QStringLiteral("abc"));
    w.add(1, QStringLiteral("abcdefgh"));
    EXPECT_DOUBLE_EQ(w.widest(0), uneven(QFont(), QStringLiteral("abc")));
    EXPECT_DOUBLE_EQ(w.widest(1), uneven(QFont(), QStringLiteral("abcdefgh")));
    EXPECT_DOUBLE_EQ(WidestText(QFont(), 1).widest(0), 0);
}

TEST(Formats, AmountsDatesAndFlags)
{
    struct Case {
        QVariant in;
        const char* out;
    } amounts[] = {{QVariant(), ""},         {"1234.5", "1234.50"}, {0.285, "0.29"},   {"-0.005", "-0.01"},
                   {"0.004", "0.00"},        {12, "12.00"},         {"abc", ""},       {" 7 ", "7.00"}};
    for (const Case& c : amounts) EXPECT_EQ(amountText(c.in), QString::fromUtf8(c.out)) << c.in.toString().toStdString();
    EXPECT_EQ(amountTextNoLeadingZero(0), QStringLiteral(".00"));
    EXPECT_EQ(amountTextNoLeadingZero(-50), QStringLiteral("-.50"));
    EXPECT_EQ(dateText("2026-01-02"), QStringLiteral("2026-01-02"));
    EXPECT_EQ(dateText("2026-01-02 00:00:00"), QStringLiteral("2026-01-02"));
    EXPECT_EQ(dateText("2026-01-02T08:05:06"), QStringLiteral("2026-01-02 08:05:06"));
    EXPECT_EQ(dateText(QDateTime(QDate(2026, 1, 2), QTime(0, 0))), QStringLiteral("2026-01-02"));
    EXPECT_EQ(dateText(QVariant()), QString());
    EXPECT_EQ(flagText(QVariant()), QString());
    EXPECT_EQ(flagText(0), QStringLiteral("False"));
    EXPECT_EQ(leadingNumber(" -12abc"), -12);
    EXPECT_EQ(leadingNumber("1.5"), 1.5);
    EXPECT_EQ(leadingNumber("abc"), 0);
}
