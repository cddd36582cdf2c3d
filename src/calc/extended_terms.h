#pragma once

#include <array>
#include <cstddef>

#include "text/extended.h"

namespace orvane::calc {

/// One term of an atom step added to the running sum of an entry: the product and the
/// quotient in extended precision, the sum stored as a double.
inline double addTerm(double sum, double source, double abundance) {
    return static_cast<double>(static_cast<text::Extended>(sum) +
                               static_cast<text::Extended>(source) * abundance / 100.0L);
}

/// out[t - outFirst] := the sum of the terms (p[t - offsets[k]] * abundances[k]) / 100 for
/// k = 0 to Slots - 1 in that order, for t = first to last, whose sources all exist: no
/// index tests in the loop.
template <int Slots>
void gatherInside(const double* p, double* out, long long outFirst, long long first, long long last,
                  const long long* offsets, const double* abundances) {
    std::array<long long, Slots> offset;
    std::array<double, Slots> abundance;
    for (std::size_t k = 0; k < Slots; ++k) {
        offset[k] = offsets[k];
        abundance[k] = abundances[k];
    }
    for (long long t = first; t <= last; ++t) {
        double sum = 0.0;
        for (std::size_t k = 0; k < Slots; ++k) {
            sum = addTerm(sum, p[t - offset[k]], abundance[k]);
        }
        out[t - outFirst] = sum;
    }
}

/// gatherInside<Slots> by the number of slots, 1 to 10.
using GatherInside = void (*)(const double*, double*, long long, long long, long long,
                              const long long*, const double*);
inline constexpr std::array<GatherInside, 11> gatherInsideFor = {
    nullptr,         gatherInside<1>, gatherInside<2>, gatherInside<3>,
    gatherInside<4>, gatherInside<5>, gatherInside<6>, gatherInside<7>,
    gatherInside<8>, gatherInside<9>, gatherInside<10>};

} // namespace orvane::calc
