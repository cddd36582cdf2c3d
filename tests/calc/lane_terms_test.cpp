#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "calc/extended_terms.h"
#include "calc/lane_terms.h"

// The lanes against the x87's sweep, bit for bit, on entries of every kind the proof sets
// apart: ordinary pattern entries, which the lanes must take, and the powers of two, binade
// ends, ties, subnormal, huge, zero and negative values and far-apart sums, which they must
// either sum exactly or leave to the caller's sweep.

namespace orvane::calc {
namespace {

std::vector<Lanes> lanesHere() {
    std::vector<Lanes> lanes;
    for (const Lanes width : {Lanes::four, Lanes::eight}) {
        if (static_cast<int>(width) <= static_cast<int>(widestLanes())) {
            lanes.push_back(width);
        }
    }
    return lanes;
}

// A double with only its top `bits` significant bits kept: products and sums of such
// values land exactly on midpoints of the 64- and 53-bit grids.
double fewBits(double value, int bits) {
    const auto pattern = std::bit_cast<std::uint64_t>(value);
    return std::bit_cast<double>(pattern & ~((std::uint64_t{1} << (52 - bits)) - 1));
}

using Abundances = std::array<double, 10>;

struct Kind {
    std::string name;
    double (*source)(std::mt19937_64&, int index, const Abundances&, int slots);
    bool mostOnLanes;               // ordinary entries: a lane refusing them all would be a stub
    bool mostOnTails = mostOnLanes; // the tails' ground takes these too
    // each entry's last source chosen so that its sum lands within a few units of a power
    // of two
    bool sumsNearPowersOfTwo = false;
};

double uniform(std::mt19937_64& random, double low, double high) {
    return std::uniform_real_distribution<double>(low, high)(random);
}

// `value` moved by up to 3 units of its last place either way
double nextTo(double value, std::mt19937_64& random) {
    return std::bit_cast<double>(std::bit_cast<std::uint64_t>(value) + random() % 7 - 3);
}

const std::vector<Kind> kinds = {
    {"a smooth pattern",
     [](std::mt19937_64& random, int index, const Abundances&, int) {
         return 1e-3 * (1.5 + std::sin(index * 0.01)) * uniform(random, 0.9, 1.1);
     },
     true},
    {"random binary orders within 2^-30 to 2^0",
     [](std::mt19937_64& random, int, const Abundances&, int) {
         return std::ldexp(uniform(random, 1, 2), -static_cast<int>(random() % 30));
     },
     true},
    {"values of few bits",
     [](std::mt19937_64& random, int, const Abundances&, int) {
         return fewBits(std::ldexp(uniform(random, 1, 2), -static_cast<int>(random() % 40)),
                        static_cast<int>(random() % 12));
     },
     false},
    {"powers of two and their neighbours",
     [](std::mt19937_64& random, int, const Abundances&, int) {
         const double power = std::ldexp(1.0, static_cast<int>(random() % 80) - 60);
         return std::bit_cast<double>(std::bit_cast<std::uint64_t>(power) + random() % 9 - 4);
     },
     false},
    {"a tail into the subnormals",
     [](std::mt19937_64& random, int index, const Abundances&, int) {
         return std::ldexp(uniform(random, 1, 2), -900 - index / 4);
     },
     false, true},
    // whole units of 2^-1074, 25 times an odd number now and then: with an abundance of 2 a
    // quotient is then half a unit, a tie the store breaks to even
    {"subnormal whole units",
     [](std::mt19937_64& random, int, const Abundances&, int) {
         const std::uint64_t units = random() % 2 == 0 ? 25 * (2 * (random() % 4000) + 1)
                                                       : random() % (std::uint64_t{1} << 52);
         return std::bit_cast<double>(units);
     },
     false},
    {"huge values",
     [](std::mt19937_64& random, int, const Abundances&, int) {
         return std::ldexp(uniform(random, 1, 2), 500 + static_cast<int>(random() % 520));
     },
     false},
    {"products or their hundredths next to a power of two",
     [](std::mt19937_64& random, int, const Abundances& abundances, int slots) {
         const double a = abundances[random() % static_cast<std::size_t>(slots)];
         const double power = random() % 2 == 0 ? 1.0 : 100.0;
         return nextTo(std::ldexp(power, -static_cast<int>(random() % 20)) / a, random);
     },
     false},
    {"sums next to a power of two",
     [](std::mt19937_64& random, int, const Abundances&, int) {
         return std::ldexp(uniform(random, 1, 2), -static_cast<int>(random() % 8));
     },
     false, false, true},
    {"zeros, negatives and non-numbers among ordinary values",
     [](std::mt19937_64& random, int, const Abundances&, int) {
         const double odd[] = {0.0, -0.0, -1.5, INFINITY, NAN, 0x1p-1074};
         return random() % 4 == 0 ? odd[random() % 6] : uniform(random, 0.001, 1);
     },
     false},
    {"binary orders far apart",
     [](std::mt19937_64& random, int, const Abundances&, int) {
         return std::ldexp(uniform(random, 1, 2), static_cast<int>(random() % 200) - 150);
     },
     false},
};

TEST(LaneTerms, EveryKindOfEntryGivesTheX87sBits) {
    const std::vector<Lanes> lanes = lanesHere();
    if (lanes.empty()) {
        GTEST_SKIP() << "this processor has no lanes";
    }
    const double natural[] = {98.93, 1.07, 99.9885, 0.0115, 99.757, 0.038, 0.205,
                              94.99, 0.75, 4.25,    0.01,   75.76,  24.24, 50.69};
    std::mt19937_64 random(20261209);
    const int size = 600;
    for (const Kind& kind : kinds) {
        for (int round = 0; round < 24; ++round) {
            const int slots = 1 + round % 10;
            SCOPED_TRACE(kind.name + ", " + std::to_string(slots) + " slots, round " +
                         std::to_string(round));
            Abundances abundances{};
            std::array<long long, 10> offsets{};
            for (int k = 0; k < slots; ++k) {
                const auto slot = static_cast<std::size_t>(k);
                const int pick = static_cast<int>(random() % 4);
                abundances[slot] = pick == 0   ? fewBits(uniform(random, 1, 100), 6)
                                   : pick == 1 ? std::ldexp(1.0, static_cast<int>(random() % 7))
                                               : natural[random() % 14];
                // descending, as the sweep adds them; equal offsets too
                offsets[slot] =
                    k == 0 ? 12 : offsets[slot - 1] - static_cast<long long>(random() % 2);
            }
            std::vector<double> p(size);
            for (int i = 0; i < size; ++i) {
                p[static_cast<std::size_t>(i)] = kind.source(random, i, abundances, slots);
            }
            const long long first = 12;
            const long long last = size - 1;
            const auto lastSlot = static_cast<std::size_t>(slots - 1);
            if (kind.sumsNearPowersOfTwo && slots > 1) {
                // an entry's last source is read by no earlier entry
                for (long long t = first; t <= last; ++t) {
                    double before = 0;
                    for (std::size_t k = 0; k < lastSlot; ++k) {
                        before = addTerm(before, p[static_cast<std::size_t>(t - offsets[k])],
                                         abundances[k]);
                    }
                    const double power = std::exp2(std::floor(std::log2(before)) + 1);
                    p[static_cast<std::size_t>(t - offsets[lastSlot])] =
                        nextTo((power - before) * 100 / abundances[lastSlot], random);
                }
            }
            std::vector<double> expected(size, 0.0);
            gatherInsideFor[static_cast<std::size_t>(slots)](
                p.data(), expected.data(), 0, first, last, offsets.data(), abundances.data());
            for (const Lanes width : lanes) {
                std::vector<double> got(size, 0.0);
                long long ownEntries = 0;
                const auto own = [&](long long from, long long to) {
                    ownEntries += to - from + 1;
                    gatherInsideFor[static_cast<std::size_t>(slots)](
                        p.data(), got.data(), 0, from, to, offsets.data(), abundances.data());
                };
                // the bulk's ground (which tries the groups it leaves on the tails'), and the
                // tails' alone
                for (const bool tailsAlone : {false, true}) {
                    SCOPED_TRACE(tailsAlone ? "the tails' ground" : "the bulk's ground");
                    std::fill(got.begin(), got.end(), 0.0);
                    ownEntries = 0;
                    const long long onLanes = (tailsAlone ? gatherTailsOnLanes : gatherOnLanes)(
                        width, slots, p.data(), got.data(), 0, first, last, offsets.data(),
                        abundances.data(), ownSweep(own));
                    EXPECT_EQ(onLanes + ownEntries, last - first + 1);
                    for (long long t = first; t <= last; ++t) {
                        const auto i = static_cast<std::size_t>(t);
                        ASSERT_EQ(std::bit_cast<std::uint64_t>(got[i]),
                                  std::bit_cast<std::uint64_t>(expected[i]))
                            << "lanes " << static_cast<int>(width) << ", entry " << t << ": "
                            << got[i] << " against " << expected[i];
                    }
                    if (tailsAlone ? kind.mostOnTails : kind.mostOnLanes) {
                        EXPECT_GT(onLanes, (last - first + 1) * 3 / 4) << static_cast<int>(width);
                    }
                }
            }
        }
    }
}

// The three roundings of one term, each as the lanes hold it, against the x87's: inputs
// chosen where the proof's grids are hardest to tell (an exact product, quotient or sum just
// beside a power of two, ties, terms far below or above the sum). A term the lanes refuse
// goes to the x87 and is not compared; ordinary terms must mostly be taken.
// S = 2^50 + 25 and Y = N * 2^-58 with N = 2^45 m + 2^44 + 1 (m even): S + Y lies a
// quarter of 2^-56 above a midpoint of S's 64-bit grid (2^-13), and Y's rounding to 53 bits
// would make it a tie, which goes to even, down. N is a multiple of 65, so that
// Y = X / 100 exactly for X = s * a with s = (N / 65) * 2^-51 and a = 1625 * 2^-5.
struct Term {
    double source;
    double abundance;
    double sum; // 0: the first term
};
Term farAboveTheTerm(std::mt19937_64& random) {
    for (;;) {
        const std::uint64_t m =
            (std::uint64_t{1} << 13) + 2 * (random() % (std::uint64_t{1} << 12));
        const std::uint64_t n = (m << 45) + (std::uint64_t{1} << 44) + 1;
        if (n % 65 == 0) {
            return {std::ldexp(static_cast<double>(n / 65), -51), 1625 * 0x1p-5, 0x1p50 + 25};
        }
    }
}

TEST(LaneTerms, EachRoundingOfATermIsTheX87s) {
    const std::vector<Lanes> lanes = lanesHere();
    if (lanes.empty()) {
        GTEST_SKIP() << "this processor has no lanes";
    }
    using text::Extended;
    const double natural[] = {98.93, 1.07, 99.9885, 0.0115, 0.205, 4.25, 75.76, 24.24, 0.01};
    std::mt19937_64 random(20261210);
    const auto abundance = [&] {
        return random() % 3 == 0 ? fewBits(uniform(random, 0.5, 100), 5) : natural[random() % 9];
    };
    const auto quotientOf = [](double source, double a) {
        return static_cast<Extended>(source) * a / 100.0L;
    };
    // a sum beside the power of two above the quotient's, or the quotient far above or below
    const auto sumBesidePower = [&](double source, double a) {
        const Extended y = quotientOf(source, a);
        const Extended power = std::exp2(std::floor(std::log2(y)) + 1 + random() % 6);
        return nextTo(static_cast<double>(power - y), random);
    };
    const struct {
        std::string name;
        std::function<Term()> term;
        bool mostTaken;
    } kinds[] = {
        {"ordinary terms",
         [&] {
             const double source = uniform(random, 1e-6, 1);
             return Term{source, abundance(), random() % 2 == 0 ? 0.0 : uniform(random, 1e-6, 1)};
         },
         true},
        {"a product or its hundredth beside a power of two",
         [&] {
             const double a = uniform(random, 0.01, 100);
             const double power = random() % 2 == 0 ? 1.0 : 100.0;
             return Term{nextTo(std::ldexp(power, -static_cast<int>(random() % 30)) / a, random), a,
                         uniform(random, 0, 1)};
         },
         false},
        {"a sum beside a power of two",
         [&] {
             const double a = abundance();
             const double source = uniform(random, 1e-3, 1);
             return Term{source, a, sumBesidePower(source, a)};
         },
         false},
        {"ties",
         [&] {
             return Term{fewBits(uniform(random, 1, 2), static_cast<int>(random() % 20)),
                         fewBits(abundance(), static_cast<int>(random() % 8)),
                         fewBits(uniform(random, 0, 2), static_cast<int>(random() % 30))};
         },
         false},
        // S + Y half a 64-bit unit of Y's and a little above a whole one: Y's rounding to 53
        // bits would make it a tie
        {"a sum far below the term",
         [&] {
             const double a = abundance();
             const double source = uniform(random, 1e-3, 1);
             const int exponent = std::ilogb(static_cast<double>(quotientOf(source, a)));
             return Term{source, a, std::ldexp(1 + 0x1p-48, exponent - 64)};
         },
         false},
        // Y a hair above or below half a unit of 2^-1074 (over a sum of whole units): its
        // rounding to 53 bits would make it a tie, which the store breaks to even
        {"a subnormal sum a hair from half a unit",
         [&] {
             const std::uint64_t units =
                 (std::uint64_t{1} << 30) + random() % (std::uint64_t{1} << 20);
             // a few units only: finer than 2^-54 units, Y's 64 bits reach below e's 53
             const double k = static_cast<double>(random() % 8);
             const double before = random() % 2 == 0 ? 0.0 : static_cast<double>(random() % 8);
             return Term{std::bit_cast<double>(units),
                         100 * (k + before + 0.5) / static_cast<double>(units),
                         std::bit_cast<double>(static_cast<std::uint64_t>(before))};
         },
         false},
        {"a sum far above the term", [&] { return farAboveTheTerm(random); }, false},
    };
    for (const auto& kind : kinds) {
        for (const Lanes width : lanes) {
            SCOPED_TRACE(kind.name + ", lanes " + std::to_string(static_cast<int>(width)));
            int taken = 0;
            const int count = 20000;
            for (int i = 0; i < count; ++i) {
                const Term term = kind.term();
                const LaneTermParts parts =
                    laneTermParts(width, term.source, term.abundance, term.sum);
                const Extended x = static_cast<Extended>(term.source) * term.abundance;
                const Extended y = x / 100.0L;
                const Extended z = term.sum > 0 ? term.sum + y : y;
                if (!parts.refused) {
                    ++taken;
                    ASSERT_TRUE(parts.product == x && parts.quotient == y && parts.sum == z)
                        << std::hexfloat << "s " << term.source << " a " << term.abundance << " S "
                        << term.sum << ": X " << parts.product << " / " << x << ", Y "
                        << parts.quotient << " / " << y << ", Z " << parts.sum << " / " << z;
                }
                if (!parts.tailsRefused) {
                    const double stored = static_cast<double>(z);
                    ASSERT_EQ(std::bit_cast<std::uint64_t>(parts.stored),
                              std::bit_cast<std::uint64_t>(stored))
                        << std::hexfloat << "tails: s " << term.source << " a " << term.abundance
                        << " S " << term.sum << ": " << parts.stored << " / " << stored;
                }
            }
            if (kind.mostTaken) {
                EXPECT_GT(taken, count * 9 / 10);
            }
        }
    }
}

TEST(LaneTerms, TakeOnlyAbundancesOfTheirProof) {
    const struct {
        std::vector<double> abundances;
        bool taken;
    } cases[] = {
        {{98.93, 1.07}, true}, {{0x1p-60, 0x1p60}, true}, {{0x1p-61}, false},
        {{50, 0.0}, false},    {{50, -1.0}, false},       {{NAN}, false},
        {{0x1p61}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(lanesTakeAbundances(c.abundances.data(), static_cast<int>(c.abundances.size())),
                  c.taken)
            << c.abundances.front();
    }
}

} // namespace
} // namespace orvane::calc
