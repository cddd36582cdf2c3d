#include "calc/shift_tail_bound.h"

#include <cmath>
#include <vector>

#include <gtest/gtest.h>

namespace orvane::calc {
namespace {

using Slots = std::array<IsotopeSlot, PatternConvolution::slotCount>;

Slots slotsOf(const std::vector<IsotopeSlot>& isotopes) {
    Slots slots;
    for (std::size_t k = 0; k < isotopes.size(); ++k) {
        slots[k] = isotopes[k];
    }
    return slots;
}

// The distribution of the shift, atom by atom, in long double; entries below 1e-40 (far
// below any share asked for) are dropped at the top.
std::vector<long double> shiftDistribution(const std::vector<std::pair<Slots, int>>& formula) {
    std::vector<long double> p = {1.0L};
    for (const auto& [slots, atoms] : formula) {
        long double total = 0;
        for (const IsotopeSlot& slot : slots) {
            total += slot.abundance;
        }
        for (int atom = 0; atom < atoms; ++atom) {
            std::vector<long double> next(p.size() + 10, 0.0L);
            for (std::size_t i = 0; i < p.size(); ++i) {
                for (const IsotopeSlot& slot : slots) {
                    next[i + static_cast<std::size_t>(slot.offset)] += p[i] * slot.abundance / total;
                }
            }
            while (next.size() > 1 && next.back() < 1e-40L) {
                next.pop_back();
            }
            p = std::move(next);
        }
    }
    return p;
}

// Where the bound puts the shift, the tail above holds no more than the share asked for,
// and it lies no more than 4 entries or a tenth above where the exact tail would allow it:
// from one atom and the thin tail of a few carbons to the wide one of a protein. Isotopes it
// cannot bound give none.
TEST(ShiftTailBound, BoundsTheTailAndStaysCloseToIt) {
    const Slots hydrogen = slotsOf({{0, 99.9885}, {1, 0.0115}});
    const Slots carbon = slotsOf({{0, 98.93}, {1, 1.07}});
    const Slots oxygen = slotsOf({{0, 99.757}, {1, 0.038}, {2, 0.205}});
    const Slots sulfur = slotsOf({{0, 94.93}, {1, 0.76}, {2, 4.29}, {4, 0.02}});
    const Slots chlorine = slotsOf({{0, 75.78}, {2, 24.22}});
    const std::vector<std::vector<std::pair<Slots, int>>> formulas = {
        {{carbon, 1}},
        {{chlorine, 2}},
        {{hydrogen, 30}, {carbon, 20}, {oxygen, 5}},
        {{hydrogen, 78}, {carbon, 14}, {oxygen, 9}},
        {{carbon, 60}, {chlorine, 4}},
        {{hydrogen, 383}, {carbon, 257}, {oxygen, 77}, {sulfur, 6}},
        {{hydrogen, 4615}, {carbon, 2934}, {oxygen, 897}, {sulfur, 39}},
        {{carbon, 5000}},
    };
    for (const double logShare : {-70 * std::log(2.0), -20 * std::log(2.0)}) {
        for (std::size_t f = 0; f < formulas.size(); ++f) {
            SCOPED_TRACE(testing::Message() << "formula " << f << ", log share " << logShare);
            ShiftTailBound bound;
            for (const auto& [slots, atoms] : formulas[f]) {
                const ShiftTailBound::AtomLogs logs = ShiftTailBound::atomLogs(slots);
                ASSERT_TRUE(logs.bounded);
                bound.add(logs, atoms);
            }
            const long long shift = bound.shiftAbove(logShare);
            const std::vector<long double> p = shiftDistribution(formulas[f]);
            const auto tailAbove = [&p](long long j) {
                long double tail = 0;
                for (std::size_t i = p.size(); i-- > static_cast<std::size_t>(std::max(j + 1, 0LL));) {
                    tail += p[i];
                }
                return tail;
            };
            const long double share = std::exp(static_cast<long double>(logShare));
            EXPECT_LE(tailAbove(shift), share);
            const long long slack = std::max(4LL, shift / 10);
            EXPECT_TRUE(shift == 0 || tailAbove(shift - slack) > share)
                << "shift " << shift << ", tail " << tailAbove(shift - slack);
        }
    }
    // a negative offset or abundance, or no abundance at all, gives no bound
    for (const Slots& slots : {slotsOf({{0, 50.69}, {-1, 49.31}}), slotsOf({{0, 101}, {1, -1}}),
                               slotsOf({}), slotsOf({{0, 0}, {2, 0}})}) {
        EXPECT_FALSE(ShiftTailBound::atomLogs(slots).bounded);
    }
}

} // namespace
} // namespace orvane::calc
