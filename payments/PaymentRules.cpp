#include "payments/PaymentRules.h"

#include <QFileInfo>
#include <QSet>
#include <QStringBuilder>
#include <algorithm>
#include <cmath>

namespace corvane::payments {

bool fallsDue(const std::optional<QDate>& due, const QDate& today)
{
    if (!due || !due->isValid()) return true;
    return due->year() * 100 + due->month() <= today.year() * 100 + today.month();
}

bool chosenByRefresh(const std::optional<QDate>& due, const QDate& today, Decimal outstanding)
{
    return fallsDue(due, today) && !outstanding.isZero();
}

std::vector<Share> apportion(const std::vector<Decimal>& outstanding, Decimal total)
{
    std::vector<Share> out(outstanding.size());
    Decimal remaining = total;
    for (size_t i = 0; i < outstanding.size(); ++i) {
        const Decimal o = outstanding[i];
        if (!o.isZero()) {
            if (o < remaining) {
                out[i].amount = o;
                remaining -= o;
            } else {
                out[i].amount = remaining;
                remaining = Decimal();
            }
            out[i].chosen = true;
        }
        if (remaining.isZero()) break;
    }
    return out;
}

QString formNumber(int year, const QString& department, qint64 serial)
{
    return QString::number(year).rightJustified(4, QLatin1Char('0')) % QLatin1Char('-') % department %
           QLatin1Char('-') % QString::number(serial).rightJustified(6, QLatin1Char('0'));
}

const QStringList& monthNames()
{
    static const QStringList names = {
        QStringLiteral("一月"), QStringLiteral("二月"), QStringLiteral("三月"),   QStringLiteral("四月"),
        QStringLiteral("五月"), QStringLiteral("六月"), QStringLiteral("七月"),   QStringLiteral("八月"),
        QStringLiteral("九月"), QStringLiteral("十月"), QStringLiteral("十一月"), QStringLiteral("十二月")};
    return names;
}

int monthIndex(const QString& name) { return int(monthNames().indexOf(name)) + 1; }

QString planExpression(int k) { return monthNames().mid(0, k).join(QLatin1Char('+')); }

QString planSumExpression(int k)
{
    QStringList parts;
    for (const QString& m : monthNames().mid(0, k)) parts << QStringLiteral("COALESCE(") + m + QStringLiteral(", 0)");
    return parts.join(QLatin1Char('+'));
}

QStringList monthList(int k) { return monthNames().mid(0, k); }

BudgetPeriod budgetPeriod(int year, int k)
{
    const QDate first(year, k, 1);
    return {QDate(year, 1, 1), first.addMonths(1).addDays(-1), first.addMonths(1)};
}

Decimal budgetBalance(const QString& 数据来源, const BudgetSources& s)
{
    if (数据来源 == QStringLiteral("收入预算")) return s.计划数 + s.调整数 + s.支出额 - s.收入数;
    if (数据来源 == QStringLiteral("支出预算") || 数据来源 == QStringLiteral("代收代付"))
        return s.计划数 + s.调整数 + s.收入数 - s.支出额 - s.支出数;
    return Decimal();
}

// ---------------------------------------------------------------- pictures

void huoRGB(int& red, int& green, int& blue, qint64 colour)
{
    red = int(colour % 256);
    green = int((colour / 256) % 256);
    blue = int(colour / 65536);
}

qint64 rgbColour(int red, int green, int blue) { return qint64(red) + qint64(green) * 256 + qint64(blue) * 65536; }

namespace {

int whole(double v) { return std::max(1, int(std::lround(v))); }

}  // namespace

Reduction workReduction(QSize picture)
{
    const int w = picture.width(), h = picture.height();
    if (w <= 0 || h <= 0) return {picture, 0};
    if (double(w) / h > 1) {
        if (w > kWorkWidth) {
            const double f = double(w) / kWorkWidth;
            return {QSize(kWorkWidth, whole(h / f)), int(f)};
        }
    } else if (h > kWorkHeight) {
        const double f = double(h) / kWorkHeight;
        return {QSize(whole(w / f), kWorkHeight), int(f)};
    }
    return {picture, 0};
}

Reduction iconReduction(QSize work)
{
    const int w = work.width(), h = work.height();
    if (w > 0 && h > 0) {
        if (double(w) / h > 1) {
            const double f = double(w) / kIconWidth;
            if (f > 1) return {QSize(kIconWidth, whole(h / f)), int(f)};
        } else {
            const double f = double(h) / kIconHeight;
            if (f > 1) return {QSize(whole(w / f), kIconHeight), int(f)};
        }
    }
    return {QSize(kIconWidth, kIconHeight), 0};
}

QImage reducePicture(const QImage& source, QSize canvas, int step)
{
    QImage out(canvas, QImage::Format_RGB32);
    out.fill(Qt::white);
    const int sw = source.width(), sh = source.height();
    if (sw <= 0 || sh <= 0 || canvas.isEmpty()) return out;
    const int n = std::max(1, step);
    // One ratio for both directions: the canvas's other side was rounded to
    // whole pixels, which must not shift the blocks.
    const double f = std::max(double(sw) / canvas.width(), double(sh) / canvas.height());
    // Each output pixel samples the last n pixels of its span of the source,
    // which for a whole ratio n is the block (n·i, n·j) itself and for any
    // other ratio still reaches the source's last row and column.
    const auto start = [f, n](int k, int size) { return std::clamp(int(std::floor((k + 1) * f)) - n, 0, size - 1); };
    for (int j = 0; j < canvas.height(); ++j) {
        const int y = start(j, sh);
        for (int i = 0; i < canvas.width(); ++i) {
            const int x = start(i, sw);
            qint64 r = 0, g = 0, b = 0;
            int taken = 0;
            for (int k = 0; k < n; ++k) {
                if (x + k >= sw || y + k >= sh) break;
                const QRgb p = source.pixel(x + k, y + k);
                int pr, pg, pb;
                huoRGB(pr, pg, pb, rgbColour(qRed(p), qGreen(p), qBlue(p)));
                r += pr;
                g += pg;
                b += pb;
                ++taken;
            }
            const auto avg = [taken](qint64 sum) { return int(std::nearbyint(double(sum) / taken)); };
            out.setPixel(i, j, qRgb(avg(r), avg(g), avg(b)));
        }
    }
    return out;
}

QString pictureBaseName(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    return dot < 0 ? name : name.left(dot);
}

QString uniquePictureBase(const QString& base, const QStringList& listedBases)
{
    if (!listedBases.contains(base, Qt::CaseInsensitive)) return base;
    for (int n = 2;; ++n) {
        const QString candidate = base + QLatin1Char('_') + QString::number(n);
        if (!listedBases.contains(candidate, Qt::CaseInsensitive)) return candidate;
    }
}

QString documentSuffix(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot + 1);
}

// ---------------------------------------------------------------- subjects

QString subjectKey(const QString& code) { return code + QStringLiteral(" K"); }

std::vector<SubjectNode> buildSubjectTree(const std::vector<SubjectRow>& allowed,
                                          const std::function<std::optional<SubjectRow>(const QString&)>& lookup)
{
    std::vector<SubjectNode> nodes;
    QSet<QString> shown;
    const auto add = [&](const SubjectRow& s, const QString& parentKey) {
        const QString key = subjectKey(s.code);
        if (shown.contains(key)) return;
        shown.insert(key);
        nodes.push_back({key, s.code + QLatin1Char(' ') + s.name, parentKey});
    };
    // AddShangJi: the subject's node under its parent's, ancestors first; the
    // code of the node added, or nothing when the subject is unknown. `path`
    // holds the codes on the way up, so a loop ends instead of recursing.
    std::function<std::optional<QString>(const QString&, QSet<QString>&)> addShangJi =
        [&](const QString& code, QSet<QString>& path) -> std::optional<QString> {
        if (shown.contains(subjectKey(code))) return code;
        if (path.contains(code)) return std::nullopt;
        path.insert(code);
        const std::optional<SubjectRow> s = lookup(code);
        if (!s) return std::nullopt;
        QString parentKey;
        if (s->parent && !s->parent->isEmpty()) {
            if (const auto p = addShangJi(*s->parent, path)) parentKey = subjectKey(*p);
        }
        add(*s, parentKey);
        return s->code;
    };
    for (const SubjectRow& s : allowed) {
        if (shown.contains(subjectKey(s.code))) continue;
        QString parentKey;
        if (s.parent && !s.parent->isEmpty() && *s.parent != s.code) {
            QSet<QString> path{s.code};
            if (const auto p = addShangJi(*s.parent, path)) parentKey = subjectKey(*p);
        }
        add(s, parentKey);
    }
    return nodes;
}

QString subjectCodeOf(const QString& nodeText) { return nodeText.section(QLatin1Char(' '), 0, 0); }

QString subjectNameOf(const QString& nodeText)
{
    const qsizetype blank = nodeText.indexOf(QLatin1Char(' '));
    return blank < 0 ? QString() : nodeText.mid(blank + 1);
}

}  // namespace corvane::payments
