#include "accurate/moment_distribution.h"

#include <algorithm>
#include <cassert>

namespace orvane::accurate {

MomentDistribution::MomentDistribution() : m_p{1.0}, m_s1{0.0}, m_s2{0.0} {}

MomentDistribution::MomentDistribution(long long first, std::size_t size)
    : m_first(first), m_p(size, 0.0), m_s1(size, 0.0), m_s2(size, 0.0) {}

MomentDistribution MomentDistribution::ofAtom(const ElementIsotopes& element,
                                              long double reference) {
    assert(!element.isotopes.empty());
    const auto [lightest, heaviest] = std::minmax_element(
        element.isotopes.begin(), element.isotopes.end(),
        [](const Isotope& a, const Isotope& b) { return a.massNumber < b.massNumber; });
    MomentDistribution atom(lightest->massNumber,
                            static_cast<std::size_t>(heaviest->massNumber - lightest->massNumber) +
                                1);
    for (const Isotope& isotope : element.isotopes) {
        const auto i = static_cast<std::size_t>(isotope.massNumber - atom.m_first);
        const long double p = isotope.probability;
        const long double defect = static_cast<long double>(isotope.mass) -
                                   static_cast<long double>(isotope.massNumber) - reference;
        // two slots may share a mass number
        atom.m_p[i] = static_cast<double>(atom.m_p[i] + p);
        atom.m_s1[i] = static_cast<double>(atom.m_s1[i] + p * defect);
        atom.m_s2[i] = static_cast<double>(atom.m_s2[i] + p * defect * defect);
    }
    atom.dropTails();
    return atom;
}

MomentDistribution MomentDistribution::convolve(const MomentDistribution& a,
                                                const MomentDistribution& b) {
    const std::size_t na = a.size();
    const std::size_t nb = b.size();
    MomentDistribution sum(a.m_first + b.m_first, na + nb - 1);
    const double* __restrict bp = b.m_p.data();
    const double* __restrict bs1 = b.m_s1.data();
    const double* __restrict bs2 = b.m_s2.data();
    for (std::size_t i = 0; i < na; ++i) {
        const double p = a.m_p[i];
        if (p == 0.0) {
            continue; // the gaps between isotopes (Cl: 35, 37) stay empty
        }
        const double s1 = a.m_s1[i];
        const double s2 = a.m_s2[i];
        const double twiceS1 = 2.0 * s1;
        double* __restrict cp = sum.m_p.data() + i;
        double* __restrict cs1 = sum.m_s1.data() + i;
        double* __restrict cs2 = sum.m_s2.data() + i;
        // (P, S1, S2) of a sum: P = Pa Pb, S1 = Pa S1b + S1a Pb,
        // S2 = Pa S2b + 2 S1a S1b + S2a Pb
        for (std::size_t j = 0; j < nb; ++j) {
            cp[j] += p * bp[j];
            cs1[j] += p * bs1[j] + s1 * bp[j];
            cs2[j] += p * bs2[j] + twiceS1 * bs1[j] + s2 * bp[j];
        }
    }
    sum.dropTails();
    return sum;
}

MomentDistribution MomentDistribution::power(long long count) const {
    assert(count >= 0);
    MomentDistribution result;
    bool started = false;
    MomentDistribution base = *this;
    while (count > 0) {
        if ((count & 1) != 0) {
            result = started ? convolve(result, base) : base;
            started = true;
        }
        count >>= 1;
        if (count > 0) {
            base = convolve(base, base);
        }
    }
    return result;
}

void MomentDistribution::dropTails() {
    const double largest = *std::max_element(m_p.begin(), m_p.end());
    const double cut = largest * tailCut;
    std::size_t begin = 0;
    std::size_t end = m_p.size();
    while (end > begin + 1 && m_p[end - 1] < cut) {
        --end;
    }
    while (begin + 1 < end && m_p[begin] < cut) {
        ++begin;
    }
    if (begin == 0 && end == m_p.size()) {
        return;
    }
    for (std::vector<double>* values : {&m_p, &m_s1, &m_s2}) {
        values->erase(values->begin() + static_cast<std::ptrdiff_t>(end), values->end());
        values->erase(values->begin(), values->begin() + static_cast<std::ptrdiff_t>(begin));
    }
    m_first += static_cast<long long>(begin);
}

} // namespace orvane::accurate
