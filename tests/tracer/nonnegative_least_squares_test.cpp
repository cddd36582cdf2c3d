#include <gtest/gtest.h>

#include <vector>

#include "tracer/nonnegative_least_squares.h"

namespace orvane::tracer {
namespace {

Matrix matrixOf(int rows, int columns, const std::vector<double>& values) {
    Matrix m(rows, columns);
    m.values = values;
    return m;
}

struct LeastSquaresCase {
    const char* name;
    Matrix a;
    std::vector<double> b;
    std::vector<double> expected;
};

TEST(NonnegativeLeastSquares, SolvesKnownProblems) {
    const LeastSquaresCase cases[] = {
        {"identity: b itself", matrixOf(2, 2, {1, 0, 0, 1}), {3, 4}, {3, 4}},
        {"a negative entry clipped, the other refitted alone",
         matrixOf(2, 2, {1, 0, 0, 1}),
         {3, -4},
         {3, 0}},
        {"triangular system solved exactly",
         matrixOf(3, 3, {0.9, 0, 0, 0.1, 0.9, 0, 0, 0.1, 0.9}),
         {0.9, 1.0, 1.0},
         {1, 1, 1}},
        // unconstrained x = (4, -1); with x2 = 0 the best x1 is (a1 . b) / |a1|^2 = 2
        {"the constrained optimum on a face",
         matrixOf(3, 2, {1, 1, 1, 2, 1, 3}),
         {3, 2, 1},
         {2, 0}},
        {"overdetermined, consistent", matrixOf(3, 2, {1, 0, 0, 1, 1, 1}), {1, 2, 3}, {1, 2}},
        {"all zero", matrixOf(2, 2, {1, 0.5, 0, 1}), {0, 0}, {0, 0}},
    };
    for (const LeastSquaresCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<double> x = nonnegativeLeastSquares(c.a, c.b);
        ASSERT_EQ(x.size(), c.expected.size());
        for (std::size_t i = 0; i < x.size(); ++i) {
            EXPECT_NEAR(x[i], c.expected[i], 1e-12) << i;
            EXPECT_GE(x[i], 0);
        }
    }
}

TEST(NonnegativeLeastSquares, MeetsTheOptimalityConditions) {
    // a fixed, mixed problem: at the solution the gradient A'(b - Ax) is 0 where x > 0 and
    // at most 0 where x = 0 (Karush-Kuhn-Tucker)
    const Matrix a = matrixOf(4, 3, {1, 2, 0, 0.5, 1, 1, 2, 0, 1, 1, 1, 1});
    const std::vector<double> b{1, -2, 3, -1};
    const std::vector<double> x = nonnegativeLeastSquares(a, b);
    for (int c = 0; c < 3; ++c) {
        double w = 0;
        for (int r = 0; r < 4; ++r) {
            double explained = 0;
            for (int k = 0; k < 3; ++k) {
                explained += a.at(r, k) * x[k];
            }
            w += a.at(r, c) * (b[r] - explained);
        }
        SCOPED_TRACE(c);
        if (x[c] > 0) {
            EXPECT_NEAR(w, 0, 1e-12);
        } else {
            EXPECT_LE(w, 1e-12);
        }
    }
}

} // namespace
} // namespace orvane::tracer
