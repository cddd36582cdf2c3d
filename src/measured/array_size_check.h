#pragma once

#include <cstddef>
#include <string>

#include "measured/measured_file.h"

namespace orvane::measured {

/// Reads the mzML or mzXML file at `path` once, in blocks, and raises text::Error naming
/// `fileName` and the spectrum when the spectrum declares more than `maxPoints` points or
/// one of its arrays would decode to more (a small zlib stream can inflate to gigabytes):
/// compressed arrays are inflated here only to be counted, so that nothing that large is
/// ever allocated. Numpress arrays count as two points a byte, the most they can hold.
void refuseOversizedArrays(const std::string& path, const std::string& fileName,
                           MeasuredFormat format, std::size_t maxPoints);

} // namespace orvane::measured
