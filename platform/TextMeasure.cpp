#include "platform/TextMeasure.h"

#include <QFontMetrics>
#include <QStringList>
#include <algorithm>

#include "platform/Forms.h"

namespace corvane {

namespace {

QStringList linesOf(const QString& text)
{
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return t.split(QLatin1Char('\n'));
}

double metricsWidth(const QFont& font, const QString& text)
{
    const QFontMetrics fm(font);
    int widest = 0;
    for (const QString& line : linesOf(text)) widest = std::max(widest, fm.horizontalAdvance(line));
    return pixelsToTwips(widest);
}

double metricsHeight(const QFont& font, const QString& text)
{
    return pixelsToTwips(QFontMetrics(font).height() * int(linesOf(text).size()));
}

TextMeasure& widthMeasure()
{
    static TextMeasure m;
    return m;
}

TextMeasure& heightMeasure()
{
    static TextMeasure m;
    return m;
}

}  // namespace

double TextWidthTwips(const QFont& font, const QString& text)
{
    return widthMeasure() ? widthMeasure()(font, text) : metricsWidth(font, text);
}

double TextHeightTwips(const QFont& font, const QString& text)
{
    return heightMeasure() ? heightMeasure()(font, text) : metricsHeight(font, text);
}

void setTextWidthMeasure(TextMeasure measure) { widthMeasure() = std::move(measure); }
void setTextHeightMeasure(TextMeasure measure) { heightMeasure() = std::move(measure); }

}  // namespace corvane
