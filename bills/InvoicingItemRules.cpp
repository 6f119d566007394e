#include "bills/InvoicingItemRules.h"

#include <QDir>
#include <QFileInfo>

#include "app/Decimal.h"

namespace corvane::receipts {

namespace {
bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }
}  // namespace

QString digitsOnly(const QString& text)
{
    QString out;
    for (QChar c : text)
        if (isDigit(c)) out += c;
    return out;
}

QString rateInput(const QString& text)
{
    QString out;
    bool point = false;
    for (QChar c : text) {
        if (isDigit(c)) out += c;
        else if (c == QLatin1Char('.') && !point) {
            out += c;
            point = true;
        }
    }
    return out;
}

QString numberingInput(const QString& text, int maxLength)
{
    QString out = digitsOnly(text);
    while (out.startsWith(QLatin1Char('0'))) out.remove(0, 1);
    if (maxLength > 0 && out.size() > maxLength) out.truncate(maxLength);
    return out;
}

QString numberingNote(const QString& prefix, const QString& start)
{
    QString startText;
    if (!start.isEmpty()) startText = start.size() < 8 ? QString(8 - start.size(), QLatin1Char('0')) + start : start;
    return QStringLiteral("【说明】导出文件的编号将从") + prefix + startText + QStringLiteral("开始");
}

std::optional<int> firstIncompleteRow(const std::vector<SettingCells>& rows)
{
    for (size_t i = 0; i < rows.size(); ++i) {
        const SettingCells& r = rows[i];
        const int filled = int(!r.skdh.isEmpty()) + int(!r.skxm.isEmpty()) + int(!r.rate.isEmpty());
        if (filled == 0) continue;
        if (filled < 3 || !plainDecimal(r.rate)) return int(i) + 1;
    }
    return std::nullopt;
}

std::optional<QString> incompleteRowRefusal(const std::vector<SettingCells>& rows)
{
    const auto bad = firstIncompleteRow(rows);
    if (!bad) return std::nullopt;
    const SettingCells& r = rows[size_t(*bad - 1)];
    const QString rate = QStringLiteral("税率（%）");
    QStringList missing;
    if (r.skdh.isEmpty()) missing << QStringLiteral("税控盘对应项目编号");
    if (r.skxm.isEmpty()) missing << QStringLiteral("税控盘对应项目名称");
    if (r.rate.isEmpty()) missing << rate;
    const QString what = missing.isEmpty() ? rate + QStringLiteral("不是数字")
                                           : QStringLiteral("缺少") + missing.join(QStringLiteral("、"));
    return QStringLiteral("第%1行，数据不完整，请核对：").arg(*bad) + what;
}

bool sameAsOtherFolder(int index, const QString& chosen, const QStringList& folders)
{
    if (index < 0 || index > 2) return false;
    for (int j = 0; j < 3; ++j)
        if (j != index && folders.value(j) == chosen) return true;
    return false;
}

QString newFolderName(const QString& parent)
{
    const QString base = QStringLiteral("新建文件夹");
    QString name = base;
    for (int n = 1; QFileInfo::exists(parent + QDir::separator() + name); ++n) name = base + QString::number(n);
    return name;
}

}  // namespace corvane::receipts
