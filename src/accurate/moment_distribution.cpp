#include "accurate/moment_distribution.h"

#include <algorithm>
#include <cassert>

namespace orvane::accurate {

MomentDistribution::MomentDistribution() : m_size(1), m_values{1.0, 0.0, 0.0} {}

MomentDistribution::MomentDistribution(long long first, std::size_t size)
    : m_first(first), m_size(size), m_values(3 * size, 0.0) {}

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
        atom.p()[i] = static_cast<double>(atom.p()[i] + p);
        atom.s1()[i] = static_cast<double>(atom.s1()[i] + p * defect);
        atom.s2()[i] = static_cast<double>(atom.s2()[i] + p * defect * defect);
    }
    atom.dropTails();
    return atom;
}

MomentDistribution MomentDistribution::convolve(const MomentDistribution& a,
                                                const MomentDistribution& b) {
    const std::size_t na = a.size();
    const std::size_t nb = b.size();
    MomentDistribution sum(a.m_first + b.m_first, na + nb - 1);
    const double* __restrict bp = b.p();
    const double* __restrict bs1 = b.s1();
    const double* __restrict bs2 = b.s2();
    for (std::size_t i = 0; i < na; ++i) {
        const double p = a.p()[i];
        if (p == 0.0) {
            continue; // the gaps between isotopes (Cl: 35, 37) stay empty
        }
        const double s1 = a.s1()[i];
        const double s2 = a.s2()[i];
        const double twiceS1 = 2.0 * s1;
        // the three arrays of the sum do not overlap
        double* __restrict cp = sum.p() + i;
        double* __restrict cs1 = sum.s1() + i;
        double* __restrict cs2 = sum.s2() + i;
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

std::pair<std::size_t, std::size_t> MomentDistribution::keptSpan(const double* probabilities,
                                                                 std::size_t size) {
    const double cut = *std::max_element(probabilities, probabilities + size) * tailCut;
    std::size_t begin = 0;
    std::size_t end = size;
    while (end > begin + 1 && probabilities[end - 1] < cut) {
        --end;
    }
    while (begin + 1 < end && probabilities[begin] < cut) {
        ++begin;
    }
    return {begin, end};
}

void MomentDistribution::dropTails() {
    const auto [begin, end] = keptSpan(p(), m_size);
    if (begin == 0 && end == m_size) {
        return;
    }
    // each array moves down to its new place, which never lies above its old one
    const std::size_t kept = end - begin;
    for (std::size_t array = 0; array < 3; ++array) {
        const double* from = m_values.data() + array * m_size + begin;
        std::copy(from, from + kept, m_values.data() + array * kept);
    }
    m_values.resize(3 * kept);
    m_size = kept;
    m_first += static_cast<long long>(begin);
}

} // namespace orvane::accurate
