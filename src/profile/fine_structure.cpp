#include "profile/fine_structure.h"

#include <algorithm>
#include <cassert>
#include <exception>

#include <IsoSpec++/isoSpec++.h>

#include "accurate/ion_mz.h"
#include "profile/cancelled.h"
#include "profile/fine_peak_estimate.h"
#include "profile/normalised_elements.h"
#include "text/error.h"
#include "text/number_text.h"

namespace orvane::profile {

namespace {

// The enumeration may visit twice the limit: the last layer is visited whole and
// trimmed to the most probable peaks afterwards.
constexpr std::size_t visitFactor = 2;
// The estimate runs low for proteins (185 for insulin's 3355) and high for elements of
// many even isotopes (fine_peak_estimate.h); only a clear excess skips the enumeration,
// the count itself decides the rest.
constexpr double estimateMargin = 4;
// IsoSpec's layers each span a factor e^3 in probability, as its own total-probability
// envelope does.
constexpr double layerStep = -3.0;
constexpr std::size_t peaksBetweenStopChecks = 4096;
// What IsoSpec may build per fine peak allowed: 256 MB at the default limit.
constexpr double marginalBytesPerPeak = 256;

IsoSpec::Iso isoOf(const std::vector<ElementAtoms>& elements) {
    IsoSpec::Iso iso;
    for (const ElementAtoms& element : elements) {
        std::vector<double> masses;
        std::vector<double> probabilities;
        for (const Isotope& isotope : element.isotopes) {
            masses.push_back(isotope.mass);
            probabilities.push_back(isotope.probability);
        }
        iso.addElement(element.atomCount, static_cast<int>(masses.size()), masses.data(),
                       probabilities.data());
    }
    return iso;
}

// An isotopologue as the enumeration meets it; `visit` finds its isotope counts.
struct Visited {
    double mass = 0;
    double probability = 0;
    std::size_t visit = 0;
};

// Keeps the layers before the last whole and of the last (from `lastLayer` on) only its
// most probable peaks, as many as bring the sum from `sumBefore` to `coverage`.
void trimLastLayer(std::vector<Visited>& peaks, std::size_t lastLayer, double sumBefore,
                   double coverage) {
    const auto layerBegin = peaks.begin() + static_cast<std::ptrdiff_t>(lastLayer);
    std::sort(layerBegin, peaks.end(),
              [](const Visited& a, const Visited& b) { return a.probability > b.probability; });
    std::size_t kept = lastLayer;
    double sum = sumBefore;
    while (kept < peaks.size() && sum < coverage) {
        sum += peaks[kept].probability;
        ++kept;
    }
    peaks.resize(kept);
}

} // namespace

namespace {

FineStructure enumerate(const std::vector<ElementAtoms>& normalised, int charge, double coverage,
                        std::size_t maxPeaks, const std::stop_token& stop,
                        std::size_t compositionLimit);

} // namespace

FineStructure computeFineStructure(const std::vector<ElementAtoms>& elements, int charge,
                                   double coverage, std::size_t maxPeaks, std::stop_token stop,
                                   std::size_t compositionLimit) {
    if (!(coverage > 0 && coverage <= 1)) {
        throw text::Error("The coverage must be above 0 and at most 1, not " +
                          text::generalText(coverage, '.') + ".");
    }
    const std::vector<ElementAtoms> normalised = normalisedElements(elements);
    FineStructure tooMany;
    tooMany.tooMany = true;
    if (estimateFinePeakCount(normalised, coverage) > estimateMargin * maxPeaks) {
        return tooMany;
    }
    // IsoSpec builds each element's marginal out to the layer that reaches the coverage,
    // at least one layer past the most probable peak: at a small coverage that may be far
    // more than the peaks kept (Zn5000 at 0.0001 took 600 MB for a few peaks).
    if (estimateEnumerationBytes(normalised, coverage, -layerStep) >
        marginalBytesPerPeak * static_cast<double>(std::max<std::size_t>(maxPeaks, 1))) {
        return tooMany;
    }
    // IsoSpec refuses what it cannot hold (more than about ten million atoms of one element
    // raise std::length_error); such an ion has far too many fine peaks anyway.
    try {
        return enumerate(normalised, charge, coverage, maxPeaks, stop, compositionLimit);
    } catch (const std::exception&) {
        return tooMany; // std::length_error, std::bad_alloc: the clusters stand in
    }
}

namespace {

FineStructure enumerate(const std::vector<ElementAtoms>& normalised, int charge, double coverage,
                        std::size_t maxPeaks, const std::stop_token& stop,
                        std::size_t compositionLimit) {
    FineStructure tooMany;
    tooMany.tooMany = true;
    IsoSpec::IsoLayeredGenerator generator(isoOf(normalised), 1000, 1000, true,
                                           std::min(coverage, 0.9999));
    const std::size_t visitLimit = visitFactor * std::max<std::size_t>(maxPeaks, 1);
    std::vector<Visited> peaks;
    // the isotope counts of every visit, slots.size() each, while there are few enough
    const std::vector<IsotopeSlot> slots = isotopeSlotsOf(normalised);
    assert(static_cast<int>(slots.size()) == generator.getAllDim());
    bool recording = compositionLimit > 0;
    std::vector<int> counts;
    double sum = 0;
    std::size_t lastLayer = 0;
    double sumBefore = 0;
    bool reached = false;
    do {
        throwIfStopRequested(stop);
        lastLayer = peaks.size();
        sumBefore = sum;
        while (generator.advanceToNextConfigurationWithinLayer()) {
            peaks.push_back({generator.mass(), generator.prob(), peaks.size()});
            sum += generator.prob();
            if (peaks.size() > visitLimit) {
                return tooMany;
            }
            if (recording && peaks.size() > compositionLimit) {
                recording = false;
                counts = {};
            }
            if (recording) {
                counts.resize(peaks.size() * slots.size());
                generator.get_conf_signature(counts.data() + (peaks.size() - 1) * slots.size());
            }
            if (peaks.size() % peaksBetweenStopChecks == 0) {
                throwIfStopRequested(stop);
            }
        }
        // the sum reaches 1 in rounding before the rarest isotopologues come
        reached = coverage < 1 && sum >= coverage;
    } while (!reached && generator.nextLayer(layerStep));
    if (reached) {
        trimLastLayer(peaks, lastLayer, sumBefore, coverage);
    }
    if (peaks.size() > maxPeaks) {
        return tooMany;
    }

    FineStructure result;
    for (Visited& peak : peaks) {
        peak.mass = accurate::mzOf(peak.mass, charge); // m/z from here on
        result.coverage += peak.probability;
    }
    std::sort(peaks.begin(), peaks.end(),
              [](const Visited& a, const Visited& b) { return a.mass < b.mass; });
    result.peaks.reserve(peaks.size());
    for (const Visited& peak : peaks) {
        result.peaks.push_back({peak.mass, peak.probability});
    }
    if (recording) {
        result.compositions.isotopes = slots;
        result.compositions.counts.reserve(peaks.size() * slots.size());
        for (const Visited& peak : peaks) {
            const auto first =
                counts.begin() + static_cast<std::ptrdiff_t>(peak.visit * slots.size());
            result.compositions.counts.insert(result.compositions.counts.end(), first,
                                              first + static_cast<std::ptrdiff_t>(slots.size()));
        }
    }
    return result;
}

} // namespace

} // namespace orvane::profile
