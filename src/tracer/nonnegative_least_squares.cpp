#include "tracer/nonnegative_least_squares.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <limits>

namespace orvane::tracer {
namespace {

// The least-squares solution over the columns in `passive` (Householder QR), the other
// entries 0.
std::vector<double> passiveSolution(const Matrix& a, const std::vector<double>& b,
                                    const std::vector<int>& passive) {
    const int m = a.rows;
    const int k = static_cast<int>(passive.size());
    std::vector<double> q(static_cast<std::size_t>(m) * k); // column after column
    for (int c = 0; c < k; ++c) {
        for (int r = 0; r < m; ++r) {
            q[static_cast<std::size_t>(c) * m + r] = a.at(r, passive[c]);
        }
    }
    std::vector<double> rhs = b;
    std::vector<double> diagonal(k, 0.0);
    for (int c = 0; c < k && c < m; ++c) {
        double* column = &q[static_cast<std::size_t>(c) * m];
        double norm = 0;
        for (int r = c; r < m; ++r) {
            norm = std::hypot(norm, column[r]);
        }
        if (norm == 0) {
            continue;
        }
        const double alpha = column[c] > 0 ? -norm : norm;
        column[c] -= alpha; // the reflector v = x - alpha e, kept in place
        const double vv = -alpha * column[c];
        diagonal[c] = alpha;
        const auto reflect = [&](double* target) {
            double dot = 0;
            for (int r = c; r < m; ++r) {
                dot += column[r] * target[r];
            }
            const double scale = dot / vv;
            for (int r = c; r < m; ++r) {
                target[r] -= scale * column[r];
            }
        };
        for (int other = c + 1; other < k; ++other) {
            reflect(&q[static_cast<std::size_t>(other) * m]);
        }
        reflect(rhs.data());
    }
    std::vector<double> solution(a.columns, 0.0);
    std::vector<double> z(k, 0.0);
    for (int c = std::min(k, m) - 1; c >= 0; --c) {
        double sum = rhs[c];
        for (int other = c + 1; other < k; ++other) {
            sum -= q[static_cast<std::size_t>(other) * m + c] * z[other];
        }
        // a dependent column takes nothing rather than a division by 0
        z[c] = diagonal[c] == 0 ? 0 : sum / diagonal[c];
    }
    for (int c = 0; c < k; ++c) {
        solution[passive[c]] = z[c];
    }
    return solution;
}

std::vector<double> gradient(const Matrix& a, const std::vector<double>& b,
                             const std::vector<double>& x) {
    std::vector<double> residual = b;
    for (int r = 0; r < a.rows; ++r) {
        for (int c = 0; c < a.columns; ++c) {
            residual[r] -= a.at(r, c) * x[c];
        }
    }
    std::vector<double> w(a.columns, 0.0);
    for (int c = 0; c < a.columns; ++c) {
        for (int r = 0; r < a.rows; ++r) {
            w[c] += a.at(r, c) * residual[r];
        }
    }
    return w;
}

} // namespace

std::vector<double> nonnegativeLeastSquares(const Matrix& a, const std::vector<double>& b) {
    assert(static_cast<int>(b.size()) == a.rows);
    const int n = a.columns;
    std::vector<double> x(n, 0.0);
    std::vector<bool> isPassive(n, false);
    double largest = 0;
    for (const double value : a.values) {
        largest = std::max(largest, std::abs(value));
    }
    double bNorm = 0;
    for (const double value : b) {
        bNorm = std::max(bNorm, std::abs(value));
    }
    const double tolerance =
        10 * std::numeric_limits<double>::epsilon() * largest * bNorm * std::max(a.rows, n);
    const auto passiveList = [&] {
        std::vector<int> list;
        for (int c = 0; c < n; ++c) {
            if (isPassive[c]) {
                list.push_back(c);
            }
        }
        return list;
    };
    // each pass frees one column; 3n passes is Lawson and Hanson's bound in practice
    for (int pass = 0; pass < 3 * n + 3; ++pass) {
        const std::vector<double> w = gradient(a, b, x);
        int best = -1;
        for (int c = 0; c < n; ++c) {
            if (!isPassive[c] && w[c] > tolerance && (best < 0 || w[c] > w[best])) {
                best = c;
            }
        }
        if (best < 0) {
            break;
        }
        isPassive[best] = true;
        for (int inner = 0; inner < 3 * n + 3; ++inner) {
            const std::vector<double> s = passiveSolution(a, b, passiveList());
            bool feasible = true;
            for (int c = 0; c < n; ++c) {
                feasible = feasible && (!isPassive[c] || s[c] > 0);
            }
            if (feasible) {
                x = s;
                break;
            }
            // step from x towards s as far as every passive entry stays at or above 0
            double alpha = 1;
            int blocking = -1;
            for (int c = 0; c < n; ++c) {
                if (isPassive[c] && s[c] <= 0) {
                    const double step = x[c] / (x[c] - s[c]);
                    if (blocking < 0 || step < alpha) {
                        alpha = step;
                        blocking = c;
                    }
                }
            }
            for (int c = 0; c < n; ++c) {
                x[c] += alpha * (s[c] - x[c]);
                // the entry that stopped the step leaves, and any rounded to 0 or below
                if (isPassive[c] && (c == blocking || x[c] <= 0)) {
                    isPassive[c] = false;
                    x[c] = 0;
                }
            }
        }
    }
    for (double& value : x) {
        value = std::max(value, 0.0);
    }
    return x;
}

} // namespace orvane::tracer
