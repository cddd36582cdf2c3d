#include "session/profile_file.h"

#include <cstdio>

#include "export/output_sink.h"
#include "export/safe_file_writer.h"

namespace orvane::session {

namespace {

std::string roundTrip(double value) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    return buffer;
}

} // namespace

void writeProfileFile(const std::string& path, const IonResult& ion, const SessionState& state,
                      const profile::Profile& profile) {
    exporting::writeFileAtomically(path, [&](exporting::OutputSink& sink) {
        std::string header = "# " + ion.ion + " " + ion.ionFormula + " at R " +
                             state.resolvingPowerText + ", coverage " + state.coverageText +
                             (profile.fromFineStructure ? ", fine structure" : ", clusters") +
                             "\n# m/z\tintensity\n";
        sink.write(header);
        for (const profile::ProfilePoint& point : profile.points) {
            sink.write(roundTrip(point.mz) + '\t' + roundTrip(point.intensity) + '\n');
        }
    });
}

} // namespace orvane::session
