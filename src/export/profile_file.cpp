#include "export/profile_file.h"

#include "export/output_sink.h"
#include "export/safe_file_writer.h"
#include "text/shortest_text.h"

namespace orvane::exporting {

void writeProfileFile(const std::string& path, const ProfileFileHeader& header,
                      const profile::Profile& profile) {
    writeFileAtomically(path, [&](OutputSink& sink) {
        sink.write("# " + header.ion + " " + header.ionFormula + " at R " + header.resolvingPower +
                   ", coverage " + header.coverage +
                   (profile.fromFineStructure ? ", fine structure" : ", clusters") +
                   "\n# m/z\tintensity\n");
        for (const profile::ProfilePoint& point : profile.points) {
            sink.write(text::shortestText(point.mz) + '\t' + text::shortestText(point.intensity) +
                       '\n');
        }
    });
}

} // namespace orvane::exporting
