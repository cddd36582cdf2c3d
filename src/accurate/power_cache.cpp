#include "accurate/power_cache.h"

#include <algorithm>

namespace orvane::accurate {

namespace {

bool sameIsotopes(const std::vector<Isotope>& a, const std::vector<Isotope>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const Isotope& x, const Isotope& y) {
                          return x.massNumber == y.massNumber && x.mass == y.mass &&
                                 x.probability == y.probability;
                      });
}

} // namespace

std::shared_ptr<const MomentDistribution>
PowerCache::power(const ElementIsotopes& element, long double reference, long long atoms) {
    // the symbol narrows the search; the isotopes decide (a label's purity, a changed table)
    const auto key = std::pair{element.symbol, atoms};
    if (const auto found = m_entries.find(key); found != m_entries.end()) {
        for (const Entry& entry : found->second) {
            if (entry.reference == reference && sameIsotopes(entry.isotopes, element.isotopes)) {
                return entry.distribution;
            }
        }
    }
    if (m_size >= capacity) {
        m_entries.clear();
        m_size = 0;
    }
    std::vector<Entry>& entries = m_entries[key];
    entries.push_back({element.isotopes, reference,
                       std::make_shared<const MomentDistribution>(
                           MomentDistribution::ofAtom(element, reference).power(atoms))});
    ++m_size;
    return entries.back().distribution;
}

} // namespace orvane::accurate
