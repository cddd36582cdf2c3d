#pragma once

#include <cstddef>
#include <utility>
#include <vector>

#include "measured/spectrum.h"

namespace orvane::measured {

// Where the points of an opened file's spectra come from: the file itself, read again on
// demand (mzML, mzXML), or the points kept in memory (peak lists). Not for use from two
// threads at once: a file-backed source shares one open stream.
class SpectrumSource {
public:
    virtual ~SpectrumSource() = default;

    /// The points of spectrum `index`, sorted by m/z; raises text::Error when they cannot be read.
    virtual Spectrum points(std::size_t index) const = 0;
};

// The points held in memory, one Spectrum per index.
class StoredSpectra : public SpectrumSource {
public:
    explicit StoredSpectra(std::vector<Spectrum> spectra) : m_spectra(std::move(spectra)) {}

    /// A copy of the stored points of spectrum `index`.
    Spectrum points(std::size_t index) const override { return m_spectra.at(index); }

private:
    std::vector<Spectrum> m_spectra;
};

} // namespace orvane::measured
