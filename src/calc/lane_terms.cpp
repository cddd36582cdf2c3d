#include "calc/lane_terms.h"

#include <algorithm>
#include <cstddef>
#include <limits>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

// Why the lanes give the x87's bits. A term of the x87's sweep is four roundings:
// X = ext(s * a), Y = ext(X / 100), Z = ext(S + Y), S' = dbl(Z), where ext rounds to 64
// significant bits and dbl to 53, each to nearest with ties to even. Extended reaches far
// below the doubles, so ext rounds alike at any scale, and so does dbl while its result is
// a normal double: the lanes form every term with a * 2^256, so that nothing they hold is
// subnormal even from a subnormal source, and scale each stored sum back, exactly.
// They hold each of X, Y and Z exactly as a double and a small remainder, and round a
// remainder v to the 64-bit grid of its binade [2^E, 2^(E+1)) as (v + c) - c with
// c = 1.5 * 2^52 * 2^(E-63): the sum rounds to that grid's unit, ties to even (the binade's
// start is an even number of units, and so is c), and taking c away again is exact.
//  1. s * a = ph + pl exactly (ph = s * a, pl by FMA); X = ph + (pl on ph's grid).
//  2. q = ph * dbl(0.01) lies within 1.5 units (of 53 bits) of ph / 100, so ph - 100 q is
//     exact by FMA, and e = (ph - 100 q) + (X - ph) is exact too (a few units of q's
//     grid); X / 100 = q + e / 100 exactly, and e * dbl(0.01) is within 2^-50 units of
//     q of e / 100. X / 100 lies at least 1/50 of a 64-bit unit from every midpoint of
//     that grid (X is a whole number of its own units, and 2X - 100 * (an odd number of
//     quotient units) is 4 * (an odd number) of them), so rounding the approximation of
//     e / 100 to q's grid rounds as the x87 does: Y = q + y.
//  3. S + q = sh + sl exactly (TwoSum); Z = sh + ((sl + y) on sh's grid), and adding that
//     double pair rounds it to 53 bits as the store does, ties to even included. The
//     first term needs none of this: Z = Y.
// The proof needs its ground, and a group goes to the caller's own sweep where any lane
// leaves it: a source that is 0 or negative or above 2^544 (no part is then near overflow; the
// abundances lie within 2^-60 to 2^60, and every term and sum is positive), a first sum
// below 2^-1022 (the x87 stores it subnormal; the later sums are no smaller), ph a power
// of two (X may lie in the binade below), q or sh within 3 units of its binade's ends (Y
// or Z may then lie in the next one), or S and q further apart than 2^40 above or 2^-48
// below (sl + y might then not be exact).

namespace orvane::calc {

#if defined(__x86_64__)

namespace {

constexpr long long fractionBits = 0x000f'ffff'ffff'ffff;
constexpr long long exponentBits = 0x7ff0'0000'0000'0000;
constexpr double scale = 0x1p256;
// the bits of 2^544 and of 2^-1022 * scale
constexpr long long highestSource = (1023LL + 544) << 52;
constexpr long long lowestSum = (1023LL - 1022 + 256) << 52;
constexpr long long apartAbove = 40LL << 52;
constexpr long long apartBelow = -(48LL << 52);
constexpr double gridScale = 0x1.8p-11;             // 2^E times this is 1.5 * 2^52 * 2^(E-63)
constexpr long long smallestNormalBits = 1LL << 52; // 2^-1022
constexpr long long smallestNormalScaled = (1023LL - 1022 + 256) << 52; // 2^-1022 * scale
constexpr long long halfUnitMargin = (1023LL - 858) << 52; // 2^-40 of the scaled 2^-1074
constexpr long long twoTo52 = 0x4330'0000'0000'0000;       // the bits of 2^52

// Each function of a width carries its target, as GCC and Clang both read it.
#define LANES_TARGET __attribute__((target("avx2,fma")))
namespace four {

struct Ops {
    using D = __m256d;
    using Mask = __m256i;
    static constexpr int width = entriesAtOnce(Lanes::four);

    LANES_TARGET static D load(const double* p) { return _mm256_loadu_pd(p); }
    LANES_TARGET static void store(double* p, D v) { _mm256_storeu_pd(p, v); }
    LANES_TARGET static D splat(double v) { return _mm256_set1_pd(v); }
    LANES_TARGET static D add(D a, D b) { return _mm256_add_pd(a, b); }
    LANES_TARGET static D sub(D a, D b) { return _mm256_sub_pd(a, b); }
    LANES_TARGET static D mul(D a, D b) { return _mm256_mul_pd(a, b); }
    LANES_TARGET static D mulSub(D a, D b, D c) { return _mm256_fmsub_pd(a, b, c); }
    LANES_TARGET static D negMulAdd(D a, D b, D c) { return _mm256_fnmadd_pd(a, b, c); }
    LANES_TARGET static __m256i bits(D v) { return _mm256_castpd_si256(v); }
    LANES_TARGET static __m256i splatBits(long long v) { return _mm256_set1_epi64x(v); }

    LANES_TARGET static D gridConstant(D v) {
        return mul(_mm256_and_pd(v, _mm256_castsi256_pd(splatBits(exponentBits))),
                   splat(gridScale));
    }
    LANES_TARGET static D toGrid(D v, D c) { return sub(add(v, c), c); }
    LANES_TARGET static Mask either(Mask a, Mask b) { return _mm256_or_si256(a, b); }
    LANES_TARGET static Mask both(Mask a, Mask b) { return _mm256_and_si256(a, b); }
    LANES_TARGET static Mask noLanes() { return _mm256_setzero_si256(); }
    LANES_TARGET static D select(Mask m, D ifSet, D otherwise) {
        return _mm256_blendv_pd(otherwise, ifSet, _mm256_castsi256_pd(m));
    }
    LANES_TARGET static D magnitude(D v) {
        return _mm256_castsi256_pd(
            _mm256_and_si256(bits(v), splatBits(std::numeric_limits<long long>::max())));
    }
    // the whole number a double's fraction bits make (a subnormal's value in units of 2^-1074)
    LANES_TARGET static D wholeFraction(D v) {
        const __m256i fraction = _mm256_and_si256(bits(v), splatBits(fractionBits));
        return sub(_mm256_castsi256_pd(_mm256_or_si256(fraction, splatBits(twoTo52))),
                   splat(0x1p52));
    }
    // the double whose bits are this whole number below 2^52
    LANES_TARGET static D fromWholeNumber(D v) {
        return _mm256_castsi256_pd(
            _mm256_sub_epi64(bits(add(v, splat(0x1p52))), splatBits(twoTo52)));
    }
    LANES_TARGET static bool none(Mask m) { return _mm256_testz_si256(m, m) != 0; }
    // above: the bits as unsigned numbers (a negative double's lie above every positive
    // one's), compared as signed ones with the sign bit turned; below: for positive doubles
    LANES_TARGET static Mask aboveBits(D v, long long b) {
        const __m256i turn = splatBits(std::numeric_limits<long long>::min());
        return _mm256_cmpgt_epi64(_mm256_xor_si256(bits(v), turn),
                                  _mm256_xor_si256(splatBits(b), turn));
    }
    LANES_TARGET static Mask belowBits(D v, long long b) {
        return _mm256_cmpgt_epi64(splatBits(b), bits(v));
    }
    LANES_TARGET static Mask powerOfTwo(D v) {
        return _mm256_cmpeq_epi64(_mm256_and_si256(bits(v), splatBits(fractionBits)),
                                  _mm256_setzero_si256());
    }
    LANES_TARGET static Mask nearBinadeEnd(D v) {
        const __m256i fraction =
            _mm256_and_si256(_mm256_add_epi64(bits(v), splatBits(3)), splatBits(fractionBits));
        return _mm256_cmpgt_epi64(splatBits(7), fraction);
    }
    LANES_TARGET static Mask exponentsApart(D a, D b) {
        const __m256i d = _mm256_sub_epi64(bits(a), bits(b));
        return either(_mm256_cmpgt_epi64(d, splatBits(apartAbove)),
                      _mm256_cmpgt_epi64(splatBits(apartBelow), d));
    }
};

#include "calc/lane_group_sums.inc"

} // namespace four
#undef LANES_TARGET

#define LANES_TARGET __attribute__((target("avx512f")))
namespace eight {

struct Ops {
    using D = __m512d;
    using Mask = __mmask8;
    static constexpr int width = entriesAtOnce(Lanes::eight);

    LANES_TARGET static D load(const double* p) { return _mm512_loadu_pd(p); }
    LANES_TARGET static void store(double* p, D v) { _mm512_storeu_pd(p, v); }
    LANES_TARGET static D splat(double v) { return _mm512_set1_pd(v); }
    LANES_TARGET static D add(D a, D b) { return _mm512_add_pd(a, b); }
    LANES_TARGET static D sub(D a, D b) { return _mm512_sub_pd(a, b); }
    LANES_TARGET static D mul(D a, D b) { return _mm512_mul_pd(a, b); }
    LANES_TARGET static D mulSub(D a, D b, D c) { return _mm512_fmsub_pd(a, b, c); }
    LANES_TARGET static D negMulAdd(D a, D b, D c) { return _mm512_fnmadd_pd(a, b, c); }
    LANES_TARGET static __m512i bits(D v) { return _mm512_castpd_si512(v); }
    LANES_TARGET static __m512i splatBits(long long v) { return _mm512_set1_epi64(v); }

    LANES_TARGET static D gridConstant(D v) {
        return mul(_mm512_castsi512_pd(_mm512_and_si512(bits(v), splatBits(exponentBits))),
                   splat(gridScale));
    }
    LANES_TARGET static D toGrid(D v, D c) { return sub(add(v, c), c); }
    LANES_TARGET static Mask either(Mask a, Mask b) { return static_cast<Mask>(a | b); }
    LANES_TARGET static Mask both(Mask a, Mask b) { return static_cast<Mask>(a & b); }
    LANES_TARGET static Mask noLanes() { return 0; }
    LANES_TARGET static D select(Mask m, D ifSet, D otherwise) {
        return _mm512_mask_blend_pd(m, otherwise, ifSet);
    }
    LANES_TARGET static D magnitude(D v) {
        return _mm512_castsi512_pd(
            _mm512_and_si512(bits(v), splatBits(std::numeric_limits<long long>::max())));
    }
    LANES_TARGET static D wholeFraction(D v) {
        const __m512i fraction = _mm512_and_si512(bits(v), splatBits(fractionBits));
        return sub(_mm512_castsi512_pd(_mm512_or_si512(fraction, splatBits(twoTo52))),
                   splat(0x1p52));
    }
    LANES_TARGET static D fromWholeNumber(D v) {
        return _mm512_castsi512_pd(
            _mm512_sub_epi64(bits(add(v, splat(0x1p52))), splatBits(twoTo52)));
    }
    LANES_TARGET static bool none(Mask m) { return m == 0; }
    LANES_TARGET static Mask aboveBits(D v, long long b) {
        return _mm512_cmpgt_epu64_mask(bits(v), splatBits(b));
    }
    LANES_TARGET static Mask belowBits(D v, long long b) {
        return _mm512_cmplt_epi64_mask(bits(v), splatBits(b));
    }
    LANES_TARGET static Mask powerOfTwo(D v) {
        return _mm512_testn_epi64_mask(bits(v), splatBits(fractionBits));
    }
    LANES_TARGET static Mask nearBinadeEnd(D v) {
        const __m512i fraction =
            _mm512_and_si512(_mm512_add_epi64(bits(v), splatBits(3)), splatBits(fractionBits));
        return _mm512_cmplt_epi64_mask(fraction, splatBits(7));
    }
    LANES_TARGET static Mask exponentsApart(D a, D b) {
        const __m512i d = _mm512_sub_epi64(bits(a), bits(b));
        return either(_mm512_cmpgt_epi64_mask(d, splatBits(apartAbove)),
                      _mm512_cmplt_epi64_mask(d, splatBits(apartBelow)));
    }
};

#include "calc/lane_group_sums.inc"

} // namespace eight
#undef LANES_TARGET

} // namespace

Lanes widestLanes() {
    static const Lanes widest = [] {
        __builtin_cpu_init();
        if (__builtin_cpu_supports("avx512f")) {
            return Lanes::eight;
        }
        if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma")) {
            return Lanes::four;
        }
        return Lanes::none;
    }();
    return widest;
}

#else

Lanes widestLanes() {
    return Lanes::none;
}

#endif

bool lanesTakeAbundances(const double* abundances, int slots) {
    for (int k = 0; k < slots; ++k) {
        if (!(abundances[k] >= 0x1p-60 && abundances[k] <= 0x1p60)) {
            return false;
        }
    }
    return true;
}

LaneTermParts laneTermParts(Lanes lanes, double source, double abundance, double sum) {
#if defined(__x86_64__)
    if (lanes == Lanes::eight) {
        return eight::termParts(source, abundance, sum);
    }
    if (lanes == Lanes::four) {
        return four::termParts(source, abundance, sum);
    }
#endif
    (void)source;
    (void)abundance;
    (void)sum;
    return {0, 0, 0, true, 0, true};
}

namespace {

template <bool Tails>
long long sumOnLanes(Lanes lanes, int slots, const double* p, double* out, long long outFirst,
                     long long first, long long last, const long long* offsets,
                     const double* abundances, OwnSweep own) {
#if defined(__x86_64__)
    const auto index = static_cast<std::size_t>(slots);
    if (lanes == Lanes::eight) {
        return eight::groupSumsFor<Tails>[index](p, out, outFirst, first, last, offsets, abundances,
                                                 own);
    }
    if (lanes == Lanes::four) {
        return four::groupSumsFor<Tails>[index](p, out, outFirst, first, last, offsets, abundances,
                                                own);
    }
#endif
    (void)lanes;
    (void)slots;
    (void)p;
    (void)out;
    (void)outFirst;
    (void)offsets;
    (void)abundances;
    own(first, last);
    return 0;
}

} // namespace

long long gatherOnLanes(Lanes lanes, int slots, const double* p, double* out, long long outFirst,
                        long long first, long long last, const long long* offsets,
                        const double* abundances, OwnSweep own) {
    // the groups the bulk's ground leaves are tried on the tails' before the caller's sweep
    long long onTails = 0;
    const auto tails = [&](long long from, long long to) {
        onTails +=
            sumOnLanes<true>(lanes, slots, p, out, outFirst, from, to, offsets, abundances, own);
    };
    return sumOnLanes<false>(lanes, slots, p, out, outFirst, first, last, offsets, abundances,
                             ownSweep(tails)) +
           onTails;
}

long long gatherTailsOnLanes(Lanes lanes, int slots, const double* p, double* out,
                             long long outFirst, long long first, long long last,
                             const long long* offsets, const double* abundances, OwnSweep own) {
    return sumOnLanes<true>(lanes, slots, p, out, outFirst, first, last, offsets, abundances, own);
}

} // namespace orvane::calc
