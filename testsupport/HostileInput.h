#pragma once
// Texts a careless paste or a hostile user puts into a box: quotes and SQL
// fragments, LIKE's wildcards, a backslash, a NUL, a very long text, an emoji,
// right-to-left marks, blanks around.

#include <QString>
#include <vector>

namespace corvane::test {

inline std::vector<QString> hostileTexts()
{
    return {
        QStringLiteral("O'Brien \"引号\""),
        QStringLiteral("' or '1'='1"),
        QStringLiteral("x'; DROP TABLE 合同信息;--"),
        QStringLiteral("100%_折扣"),
        QStringLiteral("C:\\路径\\名"),
        QStringLiteral("前") + QChar(0) + QStringLiteral("后"),
        QString(10000, QChar(u'长')),
        QStringLiteral("表情😀符号"),
        QStringLiteral("\u202Eعربي\u202C混合"),
        QStringLiteral("  两端空格  "),
    };
}

}  // namespace corvane::test
