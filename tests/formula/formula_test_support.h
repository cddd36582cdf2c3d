#pragma once

#include <string>
#include <vector>

namespace orvane::formula::support {

// A small element table's symbols by column, with two-letter symbols that share a first
// letter with one-letter ones (Co/C, Sn/S, Na/N).
inline const std::vector<std::string> symbols{"",   "H",  "He", "Li", "B",  "C",  "N",
                                              "O",  "F",  "Na", "Mg", "S",  "Cl", "K",
                                              "Ca", "Fe", "Co", "Cu", "Br", "Sn", "I"};

} // namespace orvane::formula::support
