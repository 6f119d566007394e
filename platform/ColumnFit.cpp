#include "platform/ColumnFit.h"

#include <QSet>
#include <algorithm>

#include "platform/TextMeasure.h"

namespace corvane {

namespace {

constexpr int kRun = 64;

// How far a measured width may lie from the sum of its characters' advances:
// two pixels, and a quarter pixel per character for kerning.
double margin(qsizetype length) { return 30.0 + 3.75 * double(length); }

}  // namespace

WidestText::WidestText(const QFont& font, int columns)
    : m_font(font), m_cols(size_t(columns)), m_advance(0x10000, -1.0f), m_class(0x10000, 0)
{
}

double WidestText::advance(char16_t c)
{
    float& a = m_advance[c];
    if (a < 0) {
        a = float(TextWidthTwips(m_font, QString(kRun, QChar(c))) / kRun);
        auto it = std::find(m_classAdvance.begin(), m_classAdvance.end(), a);
        if (it == m_classAdvance.end()) it = m_classAdvance.insert(m_classAdvance.end(), a);
        m_class[c] = quint16(it - m_classAdvance.begin() + 1);
    }
    return a;
}

void WidestText::add(int col, QStringView text)
{
    Column& c = m_cols[size_t(col)];
    quint64 h = 1469598103934665603ull;
    bool plain = text.size() > 1;
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        // Line breaks (measured line by line) and surrogate halves are measured whole.
        if (u == u'\n' || u == u'\r' || ch.isSurrogate()) plain = false;
        if (!m_class[u]) advance(u);
        h = (h ^ m_class[u]) * 1099511628211ull;
    }
    if (!plain) {
        c.whole.insert(text.toString());
        return;
    }
    // Texts of one shape have one sum of advances, so a shape is summed and
    // looked up once; a list repeats a few shapes in turn (numbers of one
    // pattern, names of a few lengths), which the recent ones catch.
    const QPair<qsizetype, quint64> key(text.size(), h);
    for (const auto& k : c.recent)
        if (k == key) return;
    c.recent[c.nextRecent++ % c.recent.size()] = key;
    if (c.shapes.contains(key)) return;
    double sum = 0;
    for (const QChar ch : text) sum += m_advance[ch.unicode()];
    const double m = margin(text.size());
    c.atLeast = std::max(c.atLeast, sum - m);
    if (sum + m < c.atLeast) return;
    c.shapes.insert(key, Shape{sum + m, text.toString()});
}

double WidestText::widest(int col)
{
    Column& c = m_cols[size_t(col)];
    double widest = c.measuredWidest;
    for (const QString& t : std::as_const(c.whole)) {
        ++m_measuredCount;
        widest = std::max(widest, TextWidthTwips(m_font, t));
    }
    c.whole.clear();
    std::vector<const Shape*> order;
    for (const Shape& s : std::as_const(c.shapes))
        if (s.upper >= c.atLeast) order.push_back(&s);
    std::sort(order.begin(), order.end(), [](const Shape* a, const Shape* b) { return a->upper > b->upper; });
    for (const Shape* s : order) {
        if (s->upper <= widest) break;
        ++m_measuredCount;
        widest = std::max(widest, TextWidthTwips(m_font, s->text));
    }
    c.shapes.clear();
    c.recent.fill({-1, 0});
    c.measuredWidest = widest;
    return widest;
}

}  // namespace corvane
