#pragma once

#include "data/text_grid.h"

namespace orvane::data {

// The element table (5 rows x n+1 columns; row 0 numbers, 1 symbols, 2 weights,
// 3 counts, 4 mass percentages) and the isotope table (n+1 rows x 21 columns: Width,
// p1..p9, x0..x9, Elem), in their designed start states, with the element count.
struct DataTables {
    static constexpr int designedElementColumns = 113;
    static constexpr int elementRows = 5;
    static constexpr int isotopeColumns = 21;
    static constexpr int designedIsotopeRows = 113;
    static constexpr int initialElementCount = 44;

    TextGrid elements{designedElementColumns, elementRows};
    TextGrid isotopes{isotopeColumns, designedIsotopeRows};
    int elementCount = initialElementCount;
};

// Rows of the element table.
enum ElementRow { HeaderRow = 0, SymbolRow = 1, WeightRow = 2, CountRow = 3, PercentRow = 4 };

// Columns of the isotope table.
enum IsotopeColumn {
    WidthColumn = 0,
    FirstOffsetColumn = 1,
    FirstAbundanceColumn = 10,
    ElemColumn = 20
};

} // namespace orvane::data
