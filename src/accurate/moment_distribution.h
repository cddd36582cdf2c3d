#pragma once

#include <cstddef>
#include <utility>
#include <vector>

#include "accurate/element_isotopes.h"

namespace orvane::accurate {

// A distribution of masses gathered on whole (nominal) masses: for each nominal mass, the
// probability P, and S1 and S2, the sums of probability times the mass defect and times its
// square. The defect is the mass minus the nominal mass, less a reference that the caller
// takes out of every atom (see ofAtom), so that it stays a small number for molecules of
// millions of u and its square keeps its digits.
//
// Convolution adds nominal masses and defects at once; probabilities below tailCut times
// the largest are dropped from both ends after each one. Such tails are 1e20 times below
// what the reported clusters can feel (they are cut at 1e-40), far below double precision.
class MomentDistribution {
public:
    static constexpr double tailCut = 1e-60;

    /// The distribution of nothing: nominal mass 0 with probability 1.
    MomentDistribution();
    /// One atom: its isotopes binned by mass number, each defect taken less `reference`.
    static MomentDistribution ofAtom(const ElementIsotopes& element, long double reference);

    /// The distribution of the sum of a mass from a and an independent one from b.
    static MomentDistribution convolve(const MomentDistribution& a, const MomentDistribution& b);
    /// The distribution of the sum of `count` independent masses of this distribution, by
    /// binary powers (count >= 0).
    MomentDistribution power(long long count) const;

    /// Of `size` probabilities, the entries [first, second) that are kept when the tails
    /// below tailCut of the largest are dropped (at least one).
    static std::pair<std::size_t, std::size_t> keptSpan(const double* probabilities,
                                                        std::size_t size);

    /// The nominal mass of entry 0.
    long long firstNominal() const { return m_first; }
    std::size_t size() const { return m_size; }
    double probability(std::size_t i) const { return m_values[i]; }
    double defectSum(std::size_t i) const { return m_values[m_size + i]; }
    double defectSquareSum(std::size_t i) const { return m_values[2 * m_size + i]; }

private:
    MomentDistribution(long long first, std::size_t size);
    void dropTails();
    double* p() { return m_values.data(); }
    double* s1() { return m_values.data() + m_size; }
    double* s2() { return m_values.data() + 2 * m_size; }
    const double* p() const { return m_values.data(); }
    const double* s1() const { return m_values.data() + m_size; }
    const double* s2() const { return m_values.data() + 2 * m_size; }

    long long m_first = 0;
    std::size_t m_size = 0;
    // P, S1 and S2 one after the other in one allocation, each a plain array for the
    // convolution to run over
    std::vector<double> m_values;
};

} // namespace orvane::accurate
