#pragma once

#include <cstddef>
#include <vector>

#include "accurate/moment_distribution.h"

namespace orvane::accurate {

// The last convolution of a molecule when only a few of its clusters are read: the
// probabilities of every nominal mass (which the tallest and the tails need), the defect
// sums only where they are asked for. Each is summed over a's entries in the order
// MomentDistribution::convolve adds them, so every value is the same bits.
class LastConvolution {
public:
    LastConvolution(const MomentDistribution& a, const MomentDistribution& b);

    long long firstNominal() const { return m_first; }
    std::size_t size() const { return m_p.size(); }
    double probability(std::size_t i) const { return m_p[i]; }
    double defectSum(std::size_t i) const;
    double defectSquareSum(std::size_t i) const;

private:
    template <typename Term> double sumAt(std::size_t i, Term term) const;

    const MomentDistribution& m_a;
    const MomentDistribution& m_b;
    long long m_first = 0;
    // where entry 0 lies in the undropped convolution
    std::size_t m_begin = 0;
    std::vector<double> m_p;
};

} // namespace orvane::accurate
