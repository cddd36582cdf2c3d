#pragma once

#include <string>

#include "data/data_tables.h"

namespace orvane::data {

inline constexpr const char* massFileName = "masses.txt";

/// Loads masses.txt of the data directory into the mass table (row r the element of
/// column r, M0..M9 and Elem, every field trimmed of codes 0 to 32, row 0 the headers) and
/// clears the problem text. The file is optional: when it is missing, has a line count
/// other than the element count, a line of more than 199 TABs, starts with a byte-order
/// mark, does not fit the element and isotope tables (massTableProblem) or cannot be
/// read, nothing is shown and nothing is raised; the mass table is emptied and the
/// problem text says what was wrong, for the accurate masses to report when they are
/// asked for.
void loadMassFile(const std::string& dataDirectory, DataTables& tables);

} // namespace orvane::data
