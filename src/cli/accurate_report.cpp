#include "cli/accurate_report.h"

#include "cli/round_trip.h"

namespace orvane::cli {

void writeAccurateReport(std::ostream& out, const ions::IonResult& ion, bool allClusters) {
    out << "Ion\t" << ion.ion << '\t' << ion.charge << '\n';
    out << "IonFormula\t" << ion.ionFormula << '\n';
    out << "MonoisotopicMass\t" << roundTrip(ion.monoisotopicMass) << '\n';
    out << "AverageMass\t" << roundTrip(ion.averageMass) << '\n';
    out << "MonoisotopicMz\t" << roundTrip(ion.monoisotopicMz) << '\n';
    out << "AverageMz\t" << roundTrip(ion.averageMz) << '\n';
    out << "MostAbundantMz\t" << roundTrip(ion.mostAbundantMz) << '\n';
    if (ion.lightestMz != ion.monoisotopicMz) {
        out << "LightestMz\t" << roundTrip(ion.lightestMz) << '\n';
    }
    for (const ions::IonCluster& cluster : ions::listedClusters(ion, allClusters)) {
        out << "Cluster\t" << cluster.nominalMass << '\t' << roundTrip(cluster.mass) << '\t'
            << roundTrip(cluster.mz) << '\t' << roundTrip(cluster.intensity) << '\n';
    }
}

void writeMeasuredReport(std::ostream& out, const MeasuredReport& report) {
    out << "MeasuredFile\t" << report.file << '\n';
    out << "MeasuredSpectrum\t" << report.spectrum << '\n';
    out << "MeasuredPoints\t" << report.points << '\n';
    out << "BasePeak\t" << roundTrip(report.basePeakMz) << '\t'
        << roundTrip(report.basePeakIntensity) << '\n';
    if (report.rangeBasePeakMz && report.rangeBasePeakIntensity) {
        out << "RangeBasePeak\t" << roundTrip(*report.rangeBasePeakMz) << '\t'
            << roundTrip(*report.rangeBasePeakIntensity) << '\n';
    }
    if (report.noPeak.empty()) {
        out << "Score\t" << roundTrip(report.match.score) << '\n';
    } else {
        out << "Score\tnone\t" << report.noPeak << '\n';
    }
    out << "Unexplained\t" << roundTrip(report.match.unexplained) << '\n';
    if (report.pattern) {
        out << "IsotopeScore\t" << roundTrip(report.pattern->isotopeScore) << '\n';
        out << "Cosine\t" << roundTrip(report.pattern->cosine) << '\n';
        if (report.pattern->offsetPpm) {
            out << "MassOffset\t" << roundTrip(*report.pattern->offsetPpm) << '\n';
        }
    }
    const auto optional = [](const std::optional<double>& value) {
        return value ? roundTrip(*value) : std::string();
    };
    for (const measured::ClusterComparison& cluster : report.match.clusters) {
        out << "Match\t" << roundTrip(cluster.mz) << '\t' << roundTrip(cluster.theoryPercent)
            << '\t' << roundTrip(cluster.measuredPercent) << '\t' << optional(cluster.measuredMz)
            << '\t' << optional(cluster.ppm) << '\n';
    }
}

} // namespace orvane::cli
