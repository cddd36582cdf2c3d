#include "find/valence.h"

#include <array>
#include <utility>

namespace orvane::find {

int lowestValence(std::string_view symbol) {
    static constexpr std::array<std::pair<std::string_view, int>, 29> valences{{
        {"H", 1},  {"Li", 1}, {"Na", 1}, {"K", 1},  {"Rb", 1}, {"Cs", 1}, {"F", 1},  {"Cl", 1},
        {"Br", 1}, {"I", 1},  {"Ag", 1}, {"O", 2},  {"S", 2},  {"Se", 2}, {"Te", 2}, {"Be", 2},
        {"Mg", 2}, {"Ca", 2}, {"B", 3},  {"Al", 3}, {"N", 3},  {"P", 3},  {"As", 3}, {"Sb", 3},
        {"C", 4},  {"Si", 4}, {"Ge", 4}, {"Sn", 4}, {"Zn", 2},
    }};
    for (const auto& [known, valence] : valences) {
        if (known == symbol) {
            return valence;
        }
    }
    return 2;
}

} // namespace orvane::find
