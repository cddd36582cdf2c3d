#pragma once

namespace orvane::calc {

// The terms of an atom step summed for several entries at once on the processor's vector
// lanes, every stored sum the x87's to the last bit (lane_terms.cpp shows why).

/// The lanes an atom step's entries are summed on: none (the x87 alone), four (AVX2 with
/// FMA) or eight (AVX-512).
enum class Lanes { none, four, eight };

/// The widest lanes this processor and its system offer.
Lanes widestLanes();

/// How many entries the lanes sum at once: 1, 4 or 8.
constexpr long long entriesAtOnce(Lanes lanes) {
    return lanes == Lanes::eight ? 8 : lanes == Lanes::four ? 4 : 1;
}

/// Whether the lanes may take the terms of these abundances: each above 0 and within
/// 2^-60 to 2^60, as the lanes' proof needs.
bool lanesTakeAbundances(const double* abundances, int slots);

/// The caller's own sweep of entries first to last, for the groups the lanes leave.
struct OwnSweep {
    void (*sweep)(const void* context, long long first, long long last);
    const void* context;
    void operator()(long long first, long long last) const { sweep(context, first, last); }
};

template <typename Sweep> OwnSweep ownSweep(const Sweep& sweep) {
    return {[](const void* context, long long first, long long last) {
                (*static_cast<const Sweep*>(context))(first, last);
            },
            &sweep};
}

/// out[t - outFirst] := the sum of the terms (p[t - offsets[k]] * abundances[k]) / 100 for
/// k = 0 to slots - 1 (1 to 10) in that order, each formed and added in extended precision
/// and the sum stored as a double after every term, for t = first to last, whose sources all
/// exist: the same bits as the x87's sweep. Groups of entries go on the lanes; a group where
/// any value leaves the ground of the proof, and the last few entries, go to `own`, which
/// must sum them so. Abundances as lanesTakeAbundances() accepts them. Returns the entries
/// the lanes summed.
long long gatherOnLanes(Lanes lanes, int slots, const double* p, double* out, long long outFirst,
                        long long first, long long last, const long long* offsets,
                        const double* abundances, OwnSweep own);

/// As gatherOnLanes(), on the ground of the pattern's tails alone: sources may be subnormal
/// and sums are stored subnormal as the x87 stores them, and no vector operation meets or
/// makes a subnormal double (which costs some processors an assist there too). Slower than
/// the bulk's ground, which gatherOnLanes() tries first.
long long gatherTailsOnLanes(Lanes lanes, int slots, const double* p, double* out,
                             long long outFirst, long long first, long long last,
                             const long long* offsets, const double* abundances, OwnSweep own);

/// For tests: one term's X = ext(s * a), Y = ext(X / 100) and Z = ext(sum + Y) as the lanes
/// hold them (the first term's Z, for a sum of 0, is Y), and whether they refuse the term;
/// and on the tails' ground the double Z is stored as, and whether they refuse it there.
struct LaneTermParts {
    long double product;
    long double quotient;
    long double sum;
    bool refused;
    double stored;
    bool tailsRefused;
};
LaneTermParts laneTermParts(Lanes lanes, double source, double abundance, double sum);

} // namespace orvane::calc
