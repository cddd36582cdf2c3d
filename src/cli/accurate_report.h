#pragma once

#include <ostream>

#include "cli/measured_report.h"
#include "ion/ion_result.h"

namespace orvane::cli {

/// Writes the accurate masses of the ion as TAB-separated lines after the calculation
/// report: Ion, IonFormula, MonoisotopicMass, AverageMass, MonoisotopicMz, AverageMz,
/// MostAbundantMz, then one Cluster line per cluster of at least 1e-6 % of the tallest (all
/// with `allClusters`): nominal mass, mass, m/z, intensity.
void writeAccurateReport(std::ostream& out, const ions::IonResult& ion,
                         bool allClusters = false);

/// Writes the comparison with a measured spectrum: MeasuredFile, MeasuredSpectrum,
/// MeasuredPoints, BasePeak (m/z, intensity of the whole spectrum), RangeBasePeak (of the
/// ion's range, when it has a point above 0), Score (or "none" and why), Unexplained, then
/// one Match line per compared cluster (m/z, theory %, measured %, measured m/z, ppm; the
/// last two empty when nothing matched).
void writeMeasuredReport(std::ostream& out, const MeasuredReport& report);

} // namespace orvane::cli
