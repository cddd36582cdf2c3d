#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "accurate/accurate_masses.h"
#include "data/data_tables.h"

namespace orvane::accurate {

/// The atomic number of a chemical element's symbol ("C" 6, "Og" 118); nullopt for any
/// other text, such as a symbol made up in an edited element table.
std::optional<int> atomicNumberOf(std::string_view symbol);

/// The electrons of the neutral atoms (atomic number times count, summed), the symbols
/// taken from the element table; nullopt when a symbol has no atomic number, and so the
/// count is unknown.
std::optional<long long> electronCount(const std::vector<AtomCount>& atoms,
                                       const data::DataTables& tables);

} // namespace orvane::accurate
