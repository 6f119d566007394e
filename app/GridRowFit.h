#pragma once
// Grids filled row by row widen as rows are written: a column narrower than
// the new row's text plus a margin is widened to that, a row lower than its
// text plus a margin is raised; nothing ever shrinks, so a column keeps the
// width of the widest row written so far.

#include <QFont>

#include "platform/FlexGrid.h"

namespace corvane {

struct RowFitMargins {
    int width = 90;   // twips added to a text's width
    int height = 0;   // twips added to a text's height; 0 leaves the row's height alone
};

// Fits columns firstCol..lastCol to the texts of `row`, measured in `font`.
void widenToRow(FlexGrid& grid, const QFont& font, int row, int firstCol, int lastCol, RowFitMargins margins = {});

}  // namespace corvane
