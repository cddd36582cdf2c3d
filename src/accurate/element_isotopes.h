#pragma once

#include <string>
#include <vector>

#include "data/data_tables.h"
#include "data/isotope.h"

namespace orvane::accurate {

// One isotope of an element, as the isotope table and masses.txt give it: the mass number
// is the rounded weight plus the slot's offset, the probability the slot's abundance over
// the sum of the row's abundances.
using Isotope = data::Isotope;

// The isotopes of one element: the slots of its isotope row whose abundance is not 0, in
// slot order. The probabilities add to 1 even when the abundances add to 99.99.
struct ElementIsotopes {
    std::string symbol;
    std::vector<Isotope> isotopes;

    /// The isotope an atom most often is; of equally abundant ones the lighter.
    const Isotope& mostAbundant() const;
    /// The mean mass of one atom, sum of probability times mass.
    long double averageMass() const;
    /// The mean of mass minus mass number of one atom.
    long double averageDefect() const;
};

/// The isotopes of the element in column `column` (1 to the element count) of the tables:
/// mass numbers from the weight in the element table and the offsets p1..p9, abundances
/// x0..x9 from the isotope table, exact masses M0..M9 from the mass table. Numbers are read
/// with `separator` or "." as the decimal point. Raises text::Error naming the file, line
/// and field of a cell that is not a number, of a negative abundance, of abundances that add
/// to 0, or what kept masses.txt from loading.
ElementIsotopes readElementIsotopes(const data::DataTables& tables, int column, char separator);

/// The mass numbers of each column's isotopes (index 0 unused), from the weights in the
/// element table and the offsets of the isotope table's slots whose abundance is above 0;
/// masses.txt is not needed. A column whose cells cannot be read has none.
std::vector<std::vector<long long>> massNumbersByColumn(const data::DataTables& tables,
                                                        char separator);

} // namespace orvane::accurate
