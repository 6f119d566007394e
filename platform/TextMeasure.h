#pragma once
// Width and height of a text in a font, in twips: the one place where text
// is measured for grids and windows, so tests can put a fixed measure in.

#include <QFont>
#include <QString>
#include <functional>

namespace corvane {

using TextMeasure = std::function<double(const QFont&, const QString&)>;

// Width of the widest line; height of all lines together.
double TextWidthTwips(const QFont& font, const QString& text);
double TextHeightTwips(const QFont& font, const QString& text);

// An empty function restores the font-metrics measure.
void setTextWidthMeasure(TextMeasure measure);
void setTextHeightMeasure(TextMeasure measure);

}  // namespace corvane
