#include "calc/isotope_engine.h"

#include <algorithm>
#include <array>
#include <cfenv>
#include <cmath>
#include <limits>
#include <numbers>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "calc/pattern_convolution.h"
#include "calc/shift_tail_bound.h"
#include "calc/work_estimate.h"
#include "data/data_tables.h"
#include "text/error.h"
#include "text/extended.h"
#include "text/number_parse.h"
#include "text/rounding.h"

namespace orvane::calc {

namespace {

using text::Extended;

// The callback hears from the engine after this many atom steps or this many terms,
// whichever comes first, so that a cancel is heard soon also when single steps are long.
constexpr long long progressSteps = 4096;
constexpr long long progressTerms = 1LL << 21;

std::size_t cellKey(int column, int row) {
    return static_cast<std::size_t>(row) * data::DataTables::isotopeColumns +
           static_cast<std::size_t>(column);
}

bool fitsInt32(long long value) {
    return value >= std::numeric_limits<int>::min() && value <= std::numeric_limits<int>::max();
}

// Overflow comes before an invalid operation, which needs the infinity an overflow makes.
void throwOnNormalisationFlags() {
    if (std::fetestexcept(FE_OVERFLOW) != 0) {
        std::feclearexcept(FE_OVERFLOW | FE_INVALID | FE_DIVBYZERO);
        throw text::Error::overflow();
    }
    text::throwOnFloatFlags();
}

// The number of atom steps the formula will take, for the progress callback only: it
// must not raise, even for counts whose rounding will fail when their element comes.
long long totalAtomSteps(const std::vector<WorkingElement>& elements) {
    long long total = 0;
    for (const WorkingElement& element : elements) {
        const Extended atoms = std::nearbyint(static_cast<Extended>(element.count));
        if (atoms > 0) {
            total += atoms < 2147483647.0L ? static_cast<long long>(atoms) : 2147483647LL;
        }
    }
    return total;
}

// A label's window share per atom: the farthest of its isotopes from the label's own.
int labelWidth(const std::vector<data::Isotope>& isotopes) {
    long long width = 0;
    for (const data::Isotope& isotope : isotopes) {
        width = std::max(width, std::abs(isotope.massNumber - isotopes.front().massNumber));
    }
    return static_cast<int>(std::min<long long>(width, std::numeric_limits<int>::max()));
}

// A label's isotopes as slots: its own at offset 0, the others at their mass-number
// distance, abundances in percent.
std::array<IsotopeSlot, PatternConvolution::slotCount>
labelSlots(const std::vector<data::Isotope>& isotopes) {
    if (isotopes.size() > static_cast<std::size_t>(PatternConvolution::slotCount)) {
        throw text::Error("A label holds " + std::to_string(isotopes.size()) +
                          " isotopes; the pattern takes " +
                          std::to_string(PatternConvolution::slotCount) + " per element.");
    }
    std::array<IsotopeSlot, PatternConvolution::slotCount> slots{};
    for (std::size_t j = 0; j < isotopes.size(); ++j) {
        slots[j].offset = static_cast<int>(isotopes[j].massNumber - isotopes.front().massNumber);
        slots[j].abundance =
            static_cast<double>(static_cast<Extended>(isotopes[j].probability) * 100);
    }
    return slots;
}

// What each element's atom steps will cost, for the progress callback only: cells that
// cannot be read count as nothing here, the steps raise their errors when they come.
std::vector<ElementWork> workOf(const std::vector<WorkingElement>& elements,
                                const data::TextGrid& isotopes, char separator) {
    std::vector<ElementWork> work;
    for (const WorkingElement& element : elements) {
        ElementWork steps;
        const Extended atoms = std::nearbyint(static_cast<Extended>(element.count));
        steps.atoms =
            atoms > 0 ? (atoms < 2147483647.0L ? static_cast<long long>(atoms) : 2147483647LL) : 0;
        std::array<IsotopeSlot, PatternConvolution::slotCount> slots{};
        if (!element.labelIsotopes.empty()) {
            if (element.labelIsotopes.size() <= slots.size()) {
                slots = labelSlots(element.labelIsotopes);
            }
        } else {
            for (int j = 0; j < PatternConvolution::slotCount; ++j) {
                const auto slot = static_cast<std::size_t>(j);
                if (j > 0) {
                    slots[slot].offset =
                        text::tryParseInteger(
                            isotopes.cell(data::FirstOffsetColumn + j - 1, element.column))
                            .value_or(0);
                }
                slots[slot].abundance =
                    text::tryParseReal(
                        isotopes.cell(data::FirstAbundanceColumn + j, element.column), separator)
                        .value_or(0);
            }
        }
        double total = 0;
        double mean = 0;
        double square = 0;
        for (const IsotopeSlot& slot : slots) {
            if (slot.abundance != 0) {
                ++steps.isotopes;
                steps.lowestOffset = std::min<long long>(steps.lowestOffset, slot.offset);
                steps.highestOffset = std::max<long long>(steps.highestOffset, slot.offset);
                const double share = std::fabs(slot.abundance);
                total += share;
                mean += share * slot.offset;
                square += share * slot.offset * slot.offset;
            }
        }
        if (total > 0) {
            mean /= total;
            steps.variance = std::max(square / total - mean * mean, 0.0);
        }
        work.push_back(steps);
    }
    return work;
}

// Progress bookkeeping: counts the work done, one unit per atom step and one per term
// summed, so that the part done is the part of the time; calls back when enough has been
// done.
class ProgressMeter {
public:
    ProgressMeter(const EngineProgress& progress, long long total)
        : m_progress(progress), m_total(total) {}

    void advance(long long steps, long long terms) {
        m_done += steps + terms;
        m_stepsSinceCall += steps;
        m_termsSinceCall += terms;
        if (m_progress &&
            (m_stepsSinceCall >= progressSteps || m_termsSinceCall >= progressTerms)) {
            m_stepsSinceCall = 0;
            m_termsSinceCall = 0;
            report();
        }
    }

    /// The last call: all the work is done.
    void finish() {
        if (m_progress) {
            m_total = m_done;
            report();
        }
    }

private:
    void report() {
        // the estimate may fall short; the part done never passes the whole
        m_total = std::max(m_total, m_done);
        if (!m_progress(m_done, m_total)) {
            throw EngineCancelled{};
        }
    }

    const EngineProgress& m_progress;
    long long m_total;
    long long m_done = 0;
    long long m_stepsSinceCall = 0;
    long long m_termsSinceCall = 0;
};

// The grid shows the whole array; only the part that can be non-zero is handed over.
void refillGrid(MsDataGrid& msData, const PatternConvolution& convolution, long long length) {
    const long long first = convolution.dirtyFirst();
    const long long last = convolution.dirtyLast();
    if (first > last) {
        msData.refill(static_cast<std::size_t>(length), 0, {});
        return;
    }
    const std::vector<double>& window = convolution.windowValues();
    msData.refill(static_cast<std::size_t>(length), static_cast<std::size_t>(first),
                  std::span<const double>(window).subspan(
                      static_cast<std::size_t>(first - convolution.windowFirst()),
                      static_cast<std::size_t>(last - first + 1)));
}

// What the centroid was formed from: its two sums and the entry the window was scaled by.
struct CentroidSums {
    double total = 0;
    double moment = 0;
    double max = 0;
};

// Normalises the window (P[first + k] = window[k], +0 outside window[dirtyFirst] to
// window[dirtyLast]) so that its tallest entry is exactly 100, and returns the centroid
// index (and its sums, where asked). P[i] * 100 is exact in extended precision, so
// max * 100 / max is 100.
double normaliseWindow(std::vector<double>& window, long long first, long long dirtyFirst,
                       long long dirtyLast, CentroidSums* sums = nullptr) {
    if (window.empty()) {
        // the window lies outside the array: nothing to sum, and 0 / 0 for the centroid
        throw text::Error::invalidOperation();
    }
    const auto begin = window.begin();
    const auto from = begin + std::max(dirtyFirst, 0LL);
    const auto to = begin + std::max(dirtyLast + 1, dirtyFirst);
    double max = window.front();
    bool negative = false;
    for (auto entry = from; entry != to; ++entry) {
        if (*entry > max) {
            max = *entry;
        }
        negative = negative || *entry < 0.0;
    }
    if (to - from < static_cast<long long>(window.size()) && 0.0 > max) {
        max = 0.0;
    }
    if (max == 0.0) {
        // the first division already fails: 0 / 0, or a negative entry over 0
        text::checkedDivide(static_cast<Extended>(window.front()) * 100.0L, max);
    }
    // A +0 entry stays +0 over a positive max; a negative max leaves no +0 entry at all
    // (any would have made max 0), so only the dirty part needs dividing.
    // Entries from 0 to max become 0 to 100, and no sum of them can overflow; only
    // negative entries can take the quotients out of range.
    if (negative) {
        text::clearFloatFlags();
    }
    for (auto entry = from; entry != to; ++entry) {
        *entry = static_cast<double>(static_cast<Extended>(*entry) * 100.0L / max);
    }
    // +0 entries add exactly nothing (the sums are never -0)
    double total = 0;
    double moment = 0;
    long long i = first + (from - begin);
    for (auto entry = from; entry != to; ++entry, ++i) {
        total = static_cast<double>(static_cast<Extended>(total) + *entry);
        moment =
            static_cast<double>(static_cast<Extended>(moment) + static_cast<Extended>(i) * *entry);
    }
    if (negative) {
        throwOnNormalisationFlags();
    }
    if (sums != nullptr) {
        *sums = {total, moment, max};
    }
    return text::storeDouble(text::checkedDivide(moment, total));
}

// True when no entry above the cut can change the centroid: each is at most the tail's
// bound, scaled as the window is, and the sums it would be added to (in ascending order,
// after every entry below the cut) are so large that it falls below half a unit in the
// last place of the extended sum, which then rounds back to the same double.
bool tailCannotMove(const CentroidSums& sums, long double tailBound, long long lastIndex) {
    if (!(sums.max > 0) || !(sums.total > 0) || !(sums.moment > 0)) {
        return false;
    }
    const long double scaled = tailBound * 100.0L / sums.max * (1.0L + 0x1p-50L);
    const long double unit = 0x1p-66L;
    return scaled <= sums.total * unit &&
           static_cast<long double>(lastIndex) * scaled * (1.0L + 0x1p-50L) <= sums.moment * unit;
}

using Slots = std::array<IsotopeSlot, PatternConvolution::slotCount>;

// True when `atoms` steps of these isotopes from a lone entry at N0 reach no further than
// `room` entries above it (the end of the array) nor than the window's half-width `w`.
bool reachStaysInside(const Slots& slots, int atoms, long long room, long long w) {
    long long highest = 0;
    for (const IsotopeSlot& slot : slots) {
        if (slot.abundance != 0.0) {
            highest = std::max<long long>(highest, slot.offset);
        }
    }
    const long long reach = highest * atoms;
    return reach <= room && reach <= w;
}

// Where a run that needs only the centroid can stop forming entries: where the share of the
// pattern above it is too small for the check at the end to feel. That check holds when the
// tail is below 2^-66 of the total and, times the last index, of the moment (at least N0
// times the total); 2^-70 leaves room for the rounding the check's bound carries. None when
// an offset or abundance is negative or an element is a label (whose own isotope sits at
// offset 0 with lighter ones below it).
std::optional<long long> centroidCut(const std::vector<WorkingElement>& elements,
                                     const std::vector<Slots>& slotsOfElements, long long n0,
                                     long long w, long long margin, IsotopeColumnsMemo* memo) {
    if (n0 < 1 || w < 0) {
        return std::nullopt;
    }
    ShiftTailBound bound;
    for (std::size_t e = 0; e < elements.size(); ++e) {
        const WorkingElement& element = elements[e];
        if (!element.labelIsotopes.empty()) {
            return std::nullopt;
        }
        const ShiftTailBound::AtomLogs* logs =
            memo != nullptr ? memo->shiftLogs(element.column) : nullptr;
        ShiftTailBound::AtomLogs made;
        if (logs == nullptr) {
            made = ShiftTailBound::atomLogs(slotsOfElements[e]);
            if (memo != nullptr) {
                memo->keepShiftLogs(element.column, made);
            }
            logs = &made;
        }
        if (!logs->bounded) {
            return std::nullopt;
        }
        const double atoms = std::max(std::nearbyint(element.count), 0.0);
        bound.add(*logs, atoms);
    }
    const double logShare = -70 * std::numbers::ln2 + std::log(static_cast<double>(n0)) -
                            std::log(static_cast<double>(n0 + w));
    const long long shift = bound.shiftAbove(logShare);
    if (shift > std::numeric_limits<int>::max()) {
        return std::nullopt;
    }
    return n0 + shift + margin;
}

} // namespace

PatternState simulateIsotopePattern(const EngineInput& input, CellReadings& isotopeReadings,
                                    MsDataGrid& msData, std::optional<MsRange>& msRange,
                                    const EngineProgress& progress) {
    const std::vector<WorkingElement>& elements = input.elements;
    const data::TextGrid& isotopes = input.isotopes;
    const char separator = input.separator;
    CellReadings& readings = isotopeReadings;
    auto integerCell = [&](int column, int row) {
        return readings.integer(cellKey(column, row), isotopes.cell(column, row));
    };
    auto realCell = [&](int column, int row) {
        return readings.real(cellKey(column, row), isotopes.cell(column, row), separator);
    };

    // Each element's mass and window share are rounded on their own.
    long long n0 = 0;
    for (const WorkingElement& element : elements) {
        n0 += text::roundHalfEven32(static_cast<Extended>(element.weight) * element.count);
    }
    IsotopeColumnsMemo* const memo = input.columnsMemo;
    if (memo != nullptr) {
        memo->follow(isotopes, separator);
    }
    const auto columnWidth = [&](int column) {
        if (memo != nullptr) {
            if (const std::optional<int> kept = memo->width(column)) {
                return *kept;
            }
        }
        const int width = integerCell(data::WidthColumn, column);
        if (memo != nullptr) {
            memo->keepWidth(column, width);
        }
        return width;
    };
    long long w = 0;
    for (const WorkingElement& element : elements) {
        const int width = element.labelIsotopes.empty() ? columnWidth(element.column)
                                                        : labelWidth(element.labelIsotopes);
        w += text::roundHalfEven32(static_cast<Extended>(width) * element.count);
    }

    const long long length = 3 * w + n0 + 1;
    if (length > maxPatternLength || !fitsInt32(n0) || !fitsInt32(w)) {
        throw text::Error("The formula is too large to compute (" + std::to_string(length) +
                          " mass steps).");
    }
    if (length < 1) {
        // only negative atomic weights or widths get here
        throw text::Error("The formula cannot be computed (" + std::to_string(length) +
                          " mass steps).");
    }

    ProgressMeter meter(progress, progress
                                      ? totalAtomSteps(elements) +
                                            estimateTerms(workOf(elements, isotopes, separator), w)
                                      : 0);
    // An element's isotopes as the atom steps take them, read from the cells when they come.
    const auto slotsOf = [&](const WorkingElement& element) {
        Slots slots;
        if (!element.labelIsotopes.empty()) {
            slots = labelSlots(element.labelIsotopes);
        } else if (const Slots* kept =
                       memo != nullptr ? memo->isotopeSlots(element.column) : nullptr) {
            slots = *kept;
        } else {
            for (int j = 1; j < PatternConvolution::slotCount; ++j) {
                slots[static_cast<std::size_t>(j)].offset =
                    integerCell(data::FirstOffsetColumn + j - 1, element.column);
            }
            for (int j = 0; j < PatternConvolution::slotCount; ++j) {
                slots[static_cast<std::size_t>(j)].abundance =
                    realCell(data::FirstAbundanceColumn + j, element.column);
            }
            if (memo != nullptr) {
                memo->keepIsotopeSlots(element.column, slots);
            }
        }
        return slots;
    };
    double centroid = 0;
    // The atom steps and the normalisation; with a cut, only the entries up to it, and
    // nothing (no pattern) when the entries above it might have changed the centroid. With
    // a cut the isotopes are read all at once beforehand (`preRead`): a cell that fails
    // then sends the run back to the whole one, which meets it where it always does.
    const auto run = [&](std::optional<long long> cut,
                         const std::vector<Slots>* preRead) -> std::optional<std::vector<double>> {
        PatternConvolution convolution(length, n0 - w, n0 + w);
        convolution.setEntry(n0, 300.0);
        convolution.setThreads(input.threads, input.minimumSplitTerms, input.blocksWhileAlone);
        convolution.setLanes(input.lanes);
        if (input.avoidsAssists) {
            convolution.setAvoidsAssists(*input.avoidsAssists);
        }
        if (cut) {
            convolution.cutAbove(*cut);
        }
        for (std::size_t e = 0; e < elements.size(); ++e) {
            const WorkingElement& element = elements[e];
            const int atoms = text::roundHalfEven32(element.count);
            const Slots slots = preRead != nullptr ? (*preRead)[e] : slotsOf(element);
            convolution.setIsotopes(slots);

            if (atoms > 0) {
                msRange = MsRange{n0 - 2 * w, n0 + 2 * w};
            }
            // The first element's steps start from the lone entry at N0; as long as they
            // cannot reach past the window, they come out the same whatever follows, and a
            // batch meets the same few counts of its first element line after line.
            const bool keepsFirst = cut && e == 0 && memo != nullptr && !progress &&
                                    element.labelIsotopes.empty() && atoms > 0 &&
                                    reachStaysInside(slots, atoms, length - 1 - n0, w);
            if (keepsFirst) {
                const PatternConvolution::FirstSteps* kept = memo->atomSteps(element.column, atoms);
                if (kept != nullptr && convolution.resumeFrom(*kept, n0)) {
                    continue;
                }
            }
            for (int step = 0; step < atoms;) {
                if (convolution.stepsAreIdle()) {
                    meter.advance(atoms - step, 0);
                    break;
                }
                const auto [taken, terms] = convolution.steps(atoms - step);
                meter.advance(taken, terms);
                step += taken;
            }
            if (keepsFirst && convolution.cutHolds()) {
                memo->keepAtomSteps(element.column, atoms, convolution.firstSteps(n0));
            }
            if (input.fillsMsData && !cut) {
                refillGrid(msData, convolution, length);
            }
        }
        if (cut && !convolution.cutHolds()) {
            return std::nullopt;
        }

        const long long first = convolution.windowFirst();
        const long long dirtyFirst = convolution.dirtyFirst() - first;
        const long long dirtyLast = convolution.dirtyLast() - first;
        const long double tailBound = convolution.tailBound();
        std::vector<double> window = convolution.takeWindowValues();
        CentroidSums sums;
        centroid = normaliseWindow(window, first, dirtyFirst, dirtyLast, &sums);
        if (cut && !tailCannotMove(sums, tailBound, n0 + w)) {
            return std::nullopt;
        }
        std::vector<double> p(static_cast<std::size_t>(length), 0.0);
        std::copy(window.begin(), window.end(), p.begin() + first);
        return p;
    };

    std::optional<std::vector<double>> p;
    if (input.centroidOnly) {
        try {
            std::vector<Slots> slots;
            slots.reserve(elements.size());
            for (const WorkingElement& element : elements) {
                slots.push_back(slotsOf(element));
            }
            if (const std::optional<long long> cut =
                    centroidCut(elements, slots, n0, w, input.centroidCutMargin, memo);
                cut && *cut < n0 + w) {
                p = run(cut, &slots);
            }
        } catch (const text::Error&) {
            // the whole run meets the error again, where and as it always does
        }
    }
    if (!p) {
        p = run(std::nullopt, nullptr);
    }
    meter.finish();

    PatternState pattern;
    pattern.n0 = static_cast<int>(n0);
    pattern.w = static_cast<int>(w);
    pattern.p = std::move(*p);
    pattern.centroid = centroid;
    return pattern;
}

} // namespace orvane::calc
