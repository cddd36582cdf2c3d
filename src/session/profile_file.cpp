#include "session/profile_file.h"

#include "export/output_sink.h"
#include "export/safe_file_writer.h"
#include "text/shortest_text.h"

namespace orvane::session {

void writeProfileFile(const std::string& path, const IonResult& ion, const SessionState& state,
                      const profile::Profile& profile) {
    exporting::writeFileAtomically(path, [&](exporting::OutputSink& sink) {
        std::string header = "# " + ion.ion + " " + ion.ionFormula + " at R " +
                             state.resolvingPowerText + ", coverage " + state.coverageText +
                             (profile.fromFineStructure ? ", fine structure" : ", clusters") +
                             "\n# m/z\tintensity\n";
        sink.write(header);
        for (const profile::ProfilePoint& point : profile.points) {
            sink.write(text::shortestText(point.mz) + '\t' + text::shortestText(point.intensity) + '\n');
        }
    });
}

} // namespace orvane::session
