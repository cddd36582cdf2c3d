#pragma once

#include <ostream>

#include "cli/measured_report.h"
#include "session/ion_result.h"

namespace orvane::cli {

/// Writes the accurate masses of the ion as TAB-separated lines after the calculation
/// report: Ion, IonFormula, MonoisotopicMass, AverageMass, MonoisotopicMz, AverageMz,
/// MostAbundantMz, then one Cluster line per cluster (nominal mass, mass, m/z, intensity).
void writeAccurateReport(std::ostream& out, const session::IonResult& ion);

/// Writes the comparison with a measured spectrum: MeasuredFile, MeasuredSpectrum,
/// MeasuredPoints, BasePeak (m/z, intensity), Score, then one Match line per compared
/// cluster (m/z, theory %, measured %).
void writeMeasuredReport(std::ostream& out, const MeasuredReport& report);

} // namespace orvane::cli
