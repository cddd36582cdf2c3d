#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <vector>

namespace orvane::formula {

// The columns of the element symbols by their first byte: reading a symbol then looks at
// the few that can match rather than at the whole table.
class SymbolIndex {
public:
    SymbolIndex() = default;
    explicit SymbolIndex(const std::vector<std::string>& symbols);

    /// The columns whose symbol starts with `first`, ascending.
    std::span<const int> startingWith(char first) const {
        return m_columns[static_cast<unsigned char>(first)];
    }
    /// Whether the index was made from symbols of this many columns (an index left empty
    /// or made from another table is not used).
    bool covers(const std::vector<std::string>& symbols) const {
        return m_built && m_count == symbols.size();
    }

private:
    std::array<std::vector<int>, 256> m_columns;
    std::size_t m_count = 0;
    bool m_built = false;
};

} // namespace orvane::formula
