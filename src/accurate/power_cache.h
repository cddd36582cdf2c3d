#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "accurate/element_isotopes.h"
#include "accurate/moment_distribution.h"

namespace orvane::accurate {

// The distributions of n atoms of one element, kept for the next formula: a batch of
// similar formulas meets the same element counts again and again, and raising an atom to
// its count is most of the work of a small formula's clusters. A kept power is the one
// that would be computed, so what comes out is the same to the last bit.
class PowerCache {
public:
    /// The distribution of `atoms` atoms of `element`, each defect less `reference`; it
    /// stays valid when the cache starts again.
    std::shared_ptr<const MomentDistribution> power(const ElementIsotopes& element,
                                                    long double reference, long long atoms);

    std::size_t size() const { return m_size; }

    /// Beyond this many kept powers the cache starts again, so that it stays small.
    static constexpr std::size_t capacity = 2048;

private:
    struct Entry {
        std::vector<Isotope> isotopes;
        long double reference = 0;
        std::shared_ptr<const MomentDistribution> distribution;
    };
    using Key = std::pair<std::string, long long>;
    struct KeyHash {
        std::size_t operator()(const Key& key) const {
            return std::hash<std::string>{}(key.first) ^
                   (std::hash<long long>{}(key.second) * 0x9e3779b97f4a7c15ULL);
        }
    };
    // looked up for every element of every formula of a batch: hashed, not ordered
    std::unordered_map<Key, std::vector<Entry>, KeyHash> m_entries;
    std::size_t m_size = 0;
};

} // namespace orvane::accurate
