// Peak lists: read into finite, sorted points or refused with text::Error.

#include <cassert>
#include <cmath>

#include "fuzz_input.h"
#include "measured/peak_list.h"
#include "text/error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const orvane::measured::Spectrum points =
            orvane::measured::parsePeakList(orvane::fuzz::textOf(data, size), "fuzz.txt");
        for (std::size_t i = 0; i < points.size(); ++i) {
            assert(std::isfinite(points.mz[i]) && points.mz[i] > 0);
            assert(std::isfinite(points.intensity[i]) && points.intensity[i] >= 0);
            assert(i == 0 || points.mz[i - 1] <= points.mz[i]);
        }
    } catch (const orvane::text::Error&) {
    }
    return 0;
}
