#pragma once

#include <string>
#include <vector>

namespace orvane::formula::support {

// A small element table's symbols by column, with two-letter symbols that share a first
// letter with one-letter ones (Co/C, Sn/S, Na/N).
inline const std::vector<std::string> symbols{"",   "H",  "He", "Li", "B",  "C", "N",  "O",
                                              "F",  "Na", "Mg", "S",  "Cl", "K", "Ca", "Fe",
                                              "Co", "Cu", "Br", "Sn", "I",  "Al"};

// The mass numbers of their stable isotopes, by column.
inline const std::vector<std::vector<long long>> massNumbers{
    {},
    {1, 2},
    {3, 4},
    {6, 7},
    {10, 11},
    {12, 13},
    {14, 15},
    {16, 17, 18},
    {19},
    {23},
    {24, 25, 26},
    {32, 33, 34, 36},
    {35, 37},
    {39, 40, 41},
    {40, 42, 43, 44, 46, 48},
    {54, 56, 57, 58},
    {59},
    {63, 65},
    {79, 81},
    {112, 114, 115, 116, 117, 118, 119, 120, 122, 124},
    {127},
    {27}};

} // namespace orvane::formula::support
