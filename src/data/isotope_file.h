#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "data/data_tables.h"

namespace orvane::data {

inline constexpr const char* isotopeFileName = "isotopes.txt";

/// Loads isotopes.txt of the data directory into the known isotopes: one isotope a line,
/// "symbol TAB mass number TAB exact mass", fields trimmed of codes 0 to 32. The file is
/// optional, as masses.txt is: when it is missing or a line cannot be read, the list is
/// emptied and the problem text names the file, line and field, for an isotope label to
/// report when one is typed. A last line without its line end (unless 0x1A ends the data)
/// is refused: the file was cut short, maybe inside a mass. Nothing is shown and nothing is
/// raised.
void loadIsotopeFile(const std::string& dataDirectory, DataTables& tables);

/// The isotope of `symbol` and `massNumber` in `isotopes`, or nullptr.
const KnownIsotope* findIsotope(const std::vector<KnownIsotope>& isotopes, std::string_view symbol,
                                long long massNumber);

} // namespace orvane::data
