// Measured files of any content (mzML, mzXML, peak lists): every spectrum is read, or the
// file refused with text::Error; no other exception leaves the reader.

#include <cassert>
#include <cmath>

#include "fuzz_input.h"
#include "measured/measured_file.h"
#include "text/error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path =
        orvane::fuzz::writeScratch("spectrum.mzML", orvane::fuzz::textOf(data, size));
    try {
        const orvane::measured::MeasuredFile file = orvane::measured::openMeasuredFile(path);
        for (const orvane::measured::SpectrumSummary& summary : file.spectra()) {
            const orvane::measured::Spectrum points =
                orvane::measured::loadSpectrum(file, summary.index);
            for (std::size_t i = 0; i < points.size(); ++i) {
                assert(std::isfinite(points.mz[i]) && std::isfinite(points.intensity[i]));
            }
        }
    } catch (const orvane::text::Error&) {
    }
    return 0;
}
