#include "cli/ladder_report.h"

#include <nlohmann/json.hpp>

#include "cli/round_trip.h"

namespace orvane::cli {

void writeLadderReport(std::ostream& out, const std::vector<ions::LadderRung>& ladder) {
    for (const ions::LadderRung& rung : ladder) {
        out << "Ladder\t" << rung.charge << '\t' << roundTrip(rung.monoisotopicMz) << '\t'
            << roundTrip(rung.mostAbundantMz) << '\t' << roundTrip(rung.averageMz) << '\n';
    }
}

nlohmann::ordered_json ladderArray(const std::vector<ions::LadderRung>& ladder) {
    nlohmann::ordered_json rungs = nlohmann::ordered_json::array();
    for (const ions::LadderRung& rung : ladder) {
        rungs.push_back({{"charge", rung.charge},
                         {"monoisotopicMz", rung.monoisotopicMz},
                         {"mostAbundantMz", rung.mostAbundantMz},
                         {"averageMz", rung.averageMz}});
    }
    return rungs;
}

} // namespace orvane::cli
