#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "calc/assist_free_rounding.h"
#include "calc/lane_terms.h"
#include "calc/split_worker.h"

namespace orvane::calc {

// One isotope of an element: its mass offset from the isotope at offset 0 and its
// abundance in percent.
struct IsotopeSlot {
    int offset = 0;
    double abundance = 0;
};

// The pattern array P of the engine and the atom steps that convolve it. One step gives
// every entry t of the window the sum of the terms (P[i] * x_j) / 100 over the i of the
// window and the slots j with i + p_j = t, added in the order of the plain sweep (i
// ascending, then j ascending), each product, quotient and sum formed in extended
// precision and the sum stored as a double after every term. Because that order is
// fixed per entry, each entry can be summed on its own, and only the entries that can
// be non-zero are visited; the result is the same to the last bit.
// Nothing outside the array is read or written: the window is clipped to it, and terms
// that would land outside it are dropped like those that land outside the window.
class PatternConvolution {
public:
    static constexpr int slotCount = 10;

    /// P of `length` zeros (length >= 1) whose window is windowFirst..windowLast. Only
    /// the window is kept: P is 0 outside it and stays so.
    PatternConvolution(long long length, long long windowFirst, long long windowLast);
    ~PatternConvolution();

    /// Steps of at least `minimumTerms` terms are shared between `threads` (1 or 2)
    /// threads, each summing a half of the entries in the same order as one thread would,
    /// so every double stays the same. One thread until this is called. Where the calling
    /// thread's SharingLedger finds one thread quicker (a busy machine) the steps are taken
    /// one by one, unless `blocksWhileAlone` (tests: the blocks' bits are then checked
    /// whatever the machine does).
    void setThreads(int threads, long long minimumTerms = defaultSplitTerms,
                    bool blocksWhileAlone = false);
    /// Below this many terms a step is quicker on one thread than handed over in halves.
    static constexpr long long defaultSplitTerms = 3000;
    /// Whether the pattern's tails are summed without subnormal loads and stores (by default
    /// where the processor takes assists for them); the same bits either way.
    void setAvoidsAssists(bool avoids) { m_avoidsAssists = avoids; }
    /// Tests: the middle of each shared block moved up by this many entries (as far as the
    /// halves allow) instead of by the lean the calling thread has learned (SplitBalance).
    void setSplitLean(std::optional<long long> lean) { m_fixedLean = lean; }
    /// The vector lanes the bulk of the entries is summed on (by default the widest the
    /// processor has); the same bits on any. Before setIsotopes().
    void setLanes(Lanes lanes) { m_lanes = lanes; }

    /// Entries above `index` (absolute) are no longer formed; a bound on the sum of what they
    /// would hold is kept instead (tailBound). An entry depends only on entries at or below
    /// it when every offset is 0 or more, so those below the cut stay the same to the last
    /// bit. Only for a caller that needs no more than them: cutHolds() tells whether the
    /// bound is sound (no negative offset or abundance met, no step that could overflow).
    void cutAbove(long long index);
    bool cutHolds() const { return m_cut && !m_cutBroken; }
    /// The bound on the sum of the entries above the cut (0 without a cut).
    long double tailBound() const { return m_tailBound; }

    /// What the first element's atom steps made of a lone entry at `start` (absolute), with
    /// a cut that held: kept to be taken up again when the same atoms come first again.
    struct FirstSteps {
        std::vector<double> entries; // P from start up to its last entry that may be non-zero
        long long cut = 0;           // relative to start
        long double bound = 0;
        long double tailBound = 0;
    };
    /// Only right after such steps (a cut that holds, every offset 0 or more).
    FirstSteps firstSteps(long long start) const;
    /// P as the same steps would have left it with this convolution's own cut, which must be
    /// at or below `steps.cut`, from the lone entry at `start` that is all it holds yet. The
    /// entries above the own cut go into the tail's bound. False, and nothing changed,
    /// when the cut lies higher or the entries up to it do not fit the window.
    bool resumeFrom(const FirstSteps& steps, long long start);

    /// P[index] := value for an index of the window; one outside the array is ignored.
    void setEntry(long long index, double value);
    /// The isotopes of the element whose atom steps follow, slot j = 0 to 9 in table order
    /// (slot 0 is the isotope at offset 0).
    void setIsotopes(const std::array<IsotopeSlot, slotCount>& slots);
    /// True when further steps of the current element cannot change P: every entry is +0,
    /// or the only isotope lies at offset 0 with 100 % (and no entry can be -0).
    bool stepsAreIdle() const;
    /// One atom step; a sum that overflows raises text::Error (also one that would be
    /// dropped outside the window). Returns the number of terms formed.
    long long step();
    /// Up to `most` (at least 1) atom steps of the current element: with two threads, a
    /// block of blockSteps (or half as many) steps where the block can be shared, else one
    /// step. Returns the steps taken and the terms formed, as that many calls of step()
    /// would.
    std::pair<int, long long> steps(int most);
    /// Two threads share a block of up to this many steps with one hand-over: the lower
    /// thread needs nothing from the upper one (no offset is negative), and the upper one
    /// forms for itself the entries below its half that its later steps read.
    static constexpr int blockSteps = 32;

    /// The window clipped to the array: P[windowFirst() + k] is windowValues()[k].
    long long windowFirst() const { return m_base; }
    const std::vector<double>& windowValues() const { return m_current; }
    std::vector<double> takeWindowValues() { return std::move(m_current); }
    /// P is 0 outside dirtyFirst()..dirtyLast() (absolute indices; empty when last < first).
    long long dirtyFirst() const { return m_base + m_currentDirty.first; }
    long long dirtyLast() const { return m_base + m_currentDirty.last; }

private:
    // Indices below are relative to the window's first entry.
    struct Range {
        long long first = 0;
        long long last = -1; // empty when last < first
        bool empty() const { return last < first; }
    };

    void gather(const double* p, Range targets, Range sources, double* out,
                long long outFirst) const;
    // The bound on the sum of |P| after a block of `count` steps where they can be shared.
    std::optional<long double> boundAfterSharedBlock(int count) const;
    // The block, begun at `start` (the ledger's clock reading, which the balance shares).
    long long sharedBlock(int count, long double bound,
                          std::chrono::steady_clock::time_point start);
    void addToTailBound(Range sources);
    double sumOfEveryTerm(long long target) const;
    void resumNegativeZeros(Range targets);
    static void clearOutside(std::vector<double>& buffer, Range dirty, Range kept);
    void trimZeros();

    long long m_base;  // the window's first index in the array
    Range m_reachable; // every index of the array, relative to the window
    std::vector<double> m_current;
    std::vector<double> m_next;
    Range m_currentDirty; // m_current is 0 outside it
    Range m_nextDirty;
    Range m_nonZero; // the entries of m_current that can be non-zero

    // Slots with an abundance other than 0, by offset descending and then slot ascending:
    // the order in which the sweep adds them to one entry.
    int m_activeSlots = 0;
    std::array<long long, slotCount> m_offsets{};
    std::array<double, slotCount> m_abundances{};
    std::array<long double, slotCount> m_spillFactors{}; // |abundance| / 100, rounded up
    bool m_identity = false;
    // All ten slots, zero abundances included, in the same order. A term that adds exactly
    // nothing still turns a sum of -0 into +0, so an entry that comes out as -0 is summed
    // again with every term; -0 needs a negative term, so only negative abundances make it.
    std::array<IsotopeSlot, slotCount> m_allSlots{};
    bool m_negativeTerms = false;

    // A bound on the sum of |P|: a step whose sums cannot overflow needs neither the
    // floating-point flags nor the terms that are dropped outside the window.
    long double m_bound = 0;
    long double m_growth = 0;
    // By slot: the bit pattern of the smallest source whose term as an entry's first cannot
    // make a subnormal sum (bits order non-negative doubles as their values do).
    std::array<std::uint64_t, slotCount> m_ordinarySourceBits{};
    // Entries whose sources' bits all lie below this are summed in whole units of 2^-1074.
    std::uint64_t m_wholeUnitsBelow = 0;
    // The tails summed without the x87's subnormal loads and stores (where they cost assists),
    // or by the plain sweep, which is quicker where they do not.
    bool m_avoidsAssists = subnormalsTakeAssists();
    Lanes m_lanes = widestLanes();
    bool m_onLanes = false; // the current element's bulk goes on them

    std::optional<long long> m_cut; // relative to the window
    bool m_cutBroken = false;
    long double m_tailBound = 0;

    int m_threads = 1;
    bool m_blocksWhileAlone = false;
    bool m_stepsAlone = false; // within a block taken alone: no step is split
    long long m_splitTerms = defaultSplitTerms;
    std::optional<long long> m_fixedLean;
    std::array<std::vector<double>, 2> m_upper; // the upper thread's own P during a block
};

} // namespace orvane::calc
