#pragma once

#include <string>

#include "measured/measured_file.h"

namespace orvane::measured {

// The mzML and mzXML reader over ProteoWizard. Its headers stay inside
// xml_scan_reader.cpp, so that nothing else pays for compiling them.

/// Opens an mzML (format MzML, indexed or not) or mzXML file and summarises every spectrum,
/// reading each one's points once for its summed intensity; the points are read again on
/// demand. An indexedmzML whose index does not fit the file is read as the plain mzML inside
/// it. Raises text::Error naming the file when it is cut short, holds no spectrum, or
/// ProteoWizard refuses it, and naming the spectrum when it holds or would decode to more
/// than `maxPoints` points (refuseOversizedArrays). `shownPath` is the path the file is
/// known by when `path` is a copy of it (a pipe's contents); empty: `path`.
MeasuredFile openXmlSpectra(const std::string& path, MeasuredFormat format,
                            const std::string& shownPath = {},
                            std::size_t maxPoints = maxSpectrumPoints);

} // namespace orvane::measured
