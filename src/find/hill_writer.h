#pragma once

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace orvane::find {

// Writes formulas of a fixed list of elements in Hill order (as formula::hillFormula
// orders them), the two orders, with and without carbon, worked out once for all formulas
// of a search.
class HillWriter {
public:
    explicit HillWriter(std::vector<std::string> symbols) {
        std::vector<std::size_t> slots(symbols.size());
        std::optional<std::size_t> carbon;
        for (std::size_t i = 0; i < slots.size(); ++i) {
            slots[i] = i;
            if (symbols[i] == "C") {
                carbon = i;
            }
        }
        m_carbon = carbon;
        std::vector<std::size_t> withoutCarbon = slots;
        std::stable_sort(withoutCarbon.begin(), withoutCarbon.end(),
                         [&](std::size_t a, std::size_t b) { return symbols[a] < symbols[b]; });
        const auto rank = [&](std::size_t slot) {
            return symbols[slot] == "C" ? 0 : symbols[slot] == "H" ? 1 : 2;
        };
        std::vector<std::size_t> withCarbon = slots;
        std::stable_sort(withCarbon.begin(), withCarbon.end(), [&](std::size_t a, std::size_t b) {
            return rank(a) != rank(b) ? rank(a) < rank(b) : symbols[a] < symbols[b];
        });
        std::vector<std::size_t> offsets;
        for (const std::string& symbol : symbols) {
            offsets.push_back(m_letters.size());
            m_letters += symbol;
        }
        const auto piecesOf = [&](const std::vector<std::size_t>& order) {
            std::vector<Piece> pieces;
            for (const std::size_t slot : order) {
                pieces.push_back({slot, offsets[slot], symbols[slot].size()});
            }
            return pieces;
        };
        m_withCarbon = piecesOf(withCarbon);
        m_withoutCarbon = piecesOf(withoutCarbon);
    }

    /// The formula of the counts, indexed like the symbols; counts of 0 are left out, and a
    /// negative one (an ion that takes atoms its molecule lacks) keeps its sign: "H-1".
    std::string write(const std::vector<long long>& counts) const {
        const bool carbon = m_carbon && counts[*m_carbon] > 0;
        // written into a buffer first: one string made per formula, hundreds of thousands
        // of them in a batch
        char buffer[256];
        char* at = buffer;
        char* const end = buffer + sizeof buffer;
        std::string text;
        for (const Piece& piece : carbon ? m_withCarbon : m_withoutCarbon) {
            const long long count = counts[piece.slot];
            if (count == 0) {
                continue;
            }
            if (end - at < static_cast<std::ptrdiff_t>(piece.length) + 24) {
                text.append(buffer, static_cast<std::size_t>(at - buffer));
                at = buffer;
            }
            if (piece.length > sizeof buffer - 24) {
                text.append(m_letters, piece.offset, piece.length); // a symbol of an edited table
            } else {
                at = std::copy_n(m_letters.data() + piece.offset, piece.length, at);
            }
            if (count < 0) {
                *at++ = '-';
                at = std::to_chars(at, end, -count).ptr;
            } else if (count < 10) {
                // most counts of a search are one or two digits
                if (count != 1) {
                    *at++ = static_cast<char>('0' + count);
                }
            } else if (count < 100) {
                *at++ = static_cast<char>('0' + count / 10);
                *at++ = static_cast<char>('0' + count % 10);
            } else {
                at = std::to_chars(at, end, count).ptr;
            }
        }
        text.append(buffer, static_cast<std::size_t>(at - buffer));
        return text;
    }

private:
    // An element in the order the formula writes it: its slot in the counts and where its
    // symbol lies in the letters of all symbols, which stay together in one block.
    struct Piece {
        std::size_t slot;
        std::size_t offset;
        std::size_t length;
    };
    std::string m_letters;
    std::optional<std::size_t> m_carbon;
    std::vector<Piece> m_withCarbon;
    std::vector<Piece> m_withoutCarbon;
};

} // namespace orvane::find
