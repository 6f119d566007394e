#include <gtest/gtest.h>

#include <QDateTime>
#include <QStringList>

#include "platform/ColumnFit.h"
#include "platform/Amounts.h"
#include "platform/TextMeasure.h"

using namespace corvane;

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
