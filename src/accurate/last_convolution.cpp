#include "accurate/last_convolution.h"

namespace orvane::accurate {

LastConvolution::LastConvolution(const MomentDistribution& a, const MomentDistribution& b)
    : m_a(a), m_b(b) {
    const std::size_t na = a.size();
    const std::size_t nb = b.size();
    std::vector<double> p(na + nb - 1, 0.0);
    for (std::size_t i = 0; i < na; ++i) {
        const double pa = a.probability(i);
        if (pa == 0.0) {
            continue;
        }
        for (std::size_t j = 0; j < nb; ++j) {
            p[i + j] += pa * b.probability(j);
        }
    }
    // the tails dropped as MomentDistribution drops them
    const auto [begin, end] = MomentDistribution::keptSpan(p.data(), p.size());
    m_first = a.firstNominal() + b.firstNominal() + static_cast<long long>(begin);
    m_begin = begin;
    m_p.assign(p.begin() + static_cast<std::ptrdiff_t>(begin),
               p.begin() + static_cast<std::ptrdiff_t>(end));
}

// The sum at entry i of the undropped convolution of the terms term(k, j) over a's entries
// k with probability other than 0 (j = t - k in b), in convolve's order.
template <typename Term> double LastConvolution::sumAt(std::size_t i, Term term) const {
    const std::size_t t = i + m_begin;
    const std::size_t nb = m_b.size();
    double sum = 0.0;
    for (std::size_t k = t + 1 > nb ? t + 1 - nb : 0; k < m_a.size() && k <= t; ++k) {
        if (m_a.probability(k) != 0.0) {
            sum += term(k, t - k);
        }
    }
    return sum;
}

double LastConvolution::defectSum(std::size_t i) const {
    return sumAt(i, [this](std::size_t k, std::size_t j) {
        return m_a.probability(k) * m_b.defectSum(j) + m_a.defectSum(k) * m_b.probability(j);
    });
}

double LastConvolution::defectSquareSum(std::size_t i) const {
    return sumAt(i, [this](std::size_t k, std::size_t j) {
        const double twiceS1 = 2.0 * m_a.defectSum(k);
        return m_a.probability(k) * m_b.defectSquareSum(j) + twiceS1 * m_b.defectSum(j) +
               m_a.defectSquareSum(k) * m_b.probability(j);
    });
}

} // namespace orvane::accurate
