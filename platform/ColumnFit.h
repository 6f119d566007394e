#pragma once
// The widest texts of grid columns, as TextWidthTwips measures them, without
// measuring every text of a long list. Each character's advance is measured
// once (on a run of 64 of it, so fractions of a pixel count); the sum of a
// text's advances estimates its width within a small margin (pixel rounding,
// kerning). Texts whose characters have one by one the same advances (one
// pattern of contract numbers, amounts of one length) form one shape, and a
// shape is measured at most once; at the end only the shapes whose estimate
// could beat the widest text measured are measured.

#include <QFont>
#include <QHash>
#include <QSet>
#include <QString>
#include <array>
#include <vector>

namespace corvane {

class WidestText {
public:
    WidestText(const QFont& font, int columns);
    // A text of column `col`.
    void add(int col, QStringView text);
    // The largest TextWidthTwips over the texts added to `col` (0 when none).
    double widest(int col);
    // How many texts widest() measured whole, over all columns (for tests).
    int measuredCount() const { return m_measuredCount; }

private:
    struct Shape {
        double upper;
        QString text;
    };
    struct Column {
        double atLeast = 0;  // the widest text is at least this wide
        double measuredWidest = 0;
        QHash<QPair<qsizetype, quint64>, Shape> shapes;
        std::array<QPair<qsizetype, quint64>, 4> recent{{{-1, 0}, {-1, 0}, {-1, 0}, {-1, 0}}};
        unsigned nextRecent = 0;
        QSet<QString> whole;  // texts measured as they are (line breaks, single characters)
    };
    double advance(char16_t c);
    QFont m_font;
    std::vector<Column> m_cols;
    std::vector<float> m_advance;  // by UTF-16 code unit, twips; negative: not measured yet
    std::vector<quint16> m_class;  // by UTF-16 code unit: equal for equal advances
    std::vector<float> m_classAdvance;
    int m_measuredCount = 0;
};

}  // namespace corvane
