#include "app/GridRowFit.h"

#include <cmath>

#include "platform/TextMeasure.h"

namespace corvane {

void widenToRow(FlexGrid& grid, const QFont& font, int row, int firstCol, int lastCol, RowFitMargins margins)
{
    for (int c = firstCol; c <= lastCol && c < grid.Cols(); ++c) {
        const QString text = grid.TextMatrix(row, c);
        const int wide = int(std::ceil(TextWidthTwips(font, text))) + margins.width;
        if (grid.ColWidth(c) < wide) grid.setColWidth(c, wide);
        if (margins.height > 0) {
            const int high = int(std::ceil(TextHeightTwips(font, text))) + margins.height;
            if (grid.RowHeight(row) < high) grid.setRowHeight(row, high);
        }
    }
}

}  // namespace corvane
