#pragma once

#include <string>

#include "data/data_tables.h"

namespace orvane::data {

/// Why `masses` (the mass table read from masses.txt) does not fit the element and isotope
/// tables, or "" when it does. Line r must name the element of column r in its Elem field,
/// and every slot of an abundance other than 0 must hold a finite mass above 0 within
/// 0.5 u of its mass number (the weight rounded, plus the slot's offset). A swapped line or slot,
/// or a mass typed wrong, would otherwise give wrong accurate masses without a word. Cells of
/// elem.txt and abundances.txt that are not numbers are left for the accurate masses to name.
std::string massTableProblem(const TextGrid& masses, const DataTables& tables);

} // namespace orvane::data
