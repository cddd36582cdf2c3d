#pragma once

#include <string>

#include "data/data_tables.h"

namespace orvane::data {

inline constexpr const char* isotopeFileName = "isotopes.txt";

/// Loads isotopes.txt of the data directory into the known isotopes: one isotope a line,
/// "symbol TAB mass number TAB exact mass", fields trimmed of codes 0 to 32. The file is
/// optional, as masses.txt is: when it is missing or a line cannot be read, the list is
/// emptied and the problem text names the file, line and field, for an isotope label to
/// report when one is typed. Nothing is shown and nothing is raised.
void loadIsotopeFile(const std::string& dataDirectory, DataTables& tables);

} // namespace orvane::data
