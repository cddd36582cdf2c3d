#pragma once

#include <vector>

#include "accurate/element_isotopes.h"
#include "data/data_tables.h"

namespace orvane::accurate {

/// The isotopes one labelled position of the element in `column` holds: first the label's
/// isotope (mass number `massNumber`) with probability `purity`, then the element's other
/// natural isotopes sharing 1 - purity in their natural ratio. A natural isotope takes its
/// mass from masses.txt, any other from isotopes.txt. Raises text::Error as
/// readElementIsotopes does, and naming isotopes.txt when it did not load or lacks the
/// isotope.
ElementIsotopes readLabelIsotopes(const data::DataTables& tables, int column, long long massNumber,
                                  double purity, char separator);

/// The mass numbers an isotope label may name in each column (index 0 unused): the
/// natural ones of massNumbersByColumn and every one isotopes.txt lists for the column's
/// symbol, ascending.
std::vector<std::vector<long long>> labelMassNumbersByColumn(const data::DataTables& tables,
                                                             char separator);

} // namespace orvane::accurate
