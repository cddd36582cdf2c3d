#pragma once

#include <chrono>

namespace orvane::calc {

// Where the middle of a block shared by two threads lies. The halves are drawn to hold as many
// entries each (the upper one's halo included), but they do not take as long: the upper half
// holds the pattern's high tail, whose subnormal sources cost more a term, and it fills its
// own buffers; how much more depends on the processor and the element. So the middle is moved
// up by a lean, in entries, learned from how much later the upper half ended than the lower
// one in recent blocks. The bits are the same wherever the middle lies; only the time differs.
class SplitBalance {
public:
    using Clock = std::chrono::steady_clock;

    /// A block moves the lean by at most this many entries, so that a half held up by the
    /// scheduler (a busy machine) moves it little.
    static constexpr double mostMove = 4;
    /// The lean never passes this many entries either way.
    static constexpr double mostLean = 256;

    /// How many entries the middle is moved up (negative: down).
    long long lean() const;
    /// A block of `steps` steps whose halves formed `entries` entries in all, the lower half
    /// in `lower`, the upper one ending `upperLate` after the lower (negative: before it).
    void took(int steps, long long entries, Clock::duration lower, Clock::duration upperLate);

private:
    double m_lean = 0;
};

} // namespace orvane::calc
