#pragma once

#include <string>
#include <vector>

#include "data/text_grid.h"

namespace orvane::data {

// One isotope of isotopes.txt (natural or not, as isotope labels such as "[14C]" name them).
struct KnownIsotope {
    std::string symbol;
    long long massNumber = 0;
    double mass = 0; // exact, in u
};

// The element table (5 rows x n+1 columns; row 0 numbers, 1 symbols, 2 weights,
// 3 counts, 4 mass percentages) and the isotope table (n+1 rows x 21 columns: Width,
// p1..p9, x0..x9, Elem), in their designed start states, with the element count; and the
// exact masses of the isotopes (n+1 rows x 11 columns: M0..M9, Elem) for the accurate
// masses, with what kept masses.txt from loading.
struct DataTables {
    static constexpr int designedElementColumns = 113;
    static constexpr int elementRows = 5;
    static constexpr int isotopeColumns = 21;
    static constexpr int designedIsotopeRows = 113;
    static constexpr int initialElementCount = 44;
    static constexpr int massColumns = 11;

    TextGrid elements{designedElementColumns, elementRows};
    TextGrid isotopes{isotopeColumns, designedIsotopeRows};
    int elementCount = initialElementCount;
    // Empty until masses.txt loads; every load that fails empties it again.
    TextGrid masses{massColumns, 0};
    // Why masses is empty, as a sentence for the user; "" once masses.txt has loaded.
    std::string massFileProblem = "masses.txt has not been loaded";
    // Every isotope isotopes.txt lists, for labels; empty with the problem when it did not load.
    std::vector<KnownIsotope> knownIsotopes;
    std::string isotopeFileProblem = "isotopes.txt has not been loaded";
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

// Columns of the mass table: M0..M9 are 0..9, like the slots of the isotope table.
enum MassColumn { FirstMassColumn = 0, MassElemColumn = 10 };

} // namespace orvane::data
