#pragma once

#include <ostream>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "ion/charge_ladder.h"

namespace orvane::cli {

/// Writes one Ladder line per rung: the signed charge, then the monoisotopic, most abundant
/// and average m/z, TAB-separated.
void writeLadderReport(std::ostream& out, const std::vector<ions::LadderRung>& ladder);

/// The rungs as the JSON "ladder": [{"charge", "monoisotopicMz", "mostAbundantMz",
/// "averageMz"}].
nlohmann::ordered_json ladderArray(const std::vector<ions::LadderRung>& ladder);

} // namespace orvane::cli
