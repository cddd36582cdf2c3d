#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "data/data_tables.h"

namespace orvane::data {

inline constexpr const char* isotopeFileName = "isotopes.txt";
inline constexpr const char* ame2016FileName = "ame2016.txt";

/// Loads isotopes.txt of the data directory into the known isotopes: one isotope a line,
/// "symbol TAB mass number TAB exact mass", fields trimmed of codes 0 to 32. The file is
/// optional, as masses.txt is: when it is missing or a line cannot be read, the list is
/// emptied and the problem text names the file, line and field, for an isotope label to
/// report when one is typed. Nothing is shown and nothing is raised.
void loadIsotopeFile(const std::string& dataDirectory, DataTables& tables);

/// Loads ame2016.txt, in the form of isotopes.txt: the natural isotopes' masses of the 2016
/// Atomic Mass Evaluation, which the formula search takes its element masses from. Optional
/// in the same way: a missing or unreadable file leaves the list empty with the problem.
void loadAme2016File(const std::string& dataDirectory, DataTables& tables);

/// The isotope of `symbol` and `massNumber` in `isotopes`, or nullptr.
const KnownIsotope* findIsotope(const std::vector<KnownIsotope>& isotopes, std::string_view symbol,
                                long long massNumber);

} // namespace orvane::data
