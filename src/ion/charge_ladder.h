#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "plot/profile_plot.h"
#include "ion/charge_range.h"
#include "ion/molecule.h"
#include "measured/spectrum.h"

namespace orvane::ions {

// The m/z a ladder takes its charges from when no range is given: where an ESI spectrum of
// a protein lies, unless a measured spectrum says otherwise.
struct MzWindow {
    double low = 300;
    double high = 3000;
};

// One charge state of the molecule.
struct LadderRung {
    int step = 1;    // the z of the ion box, or how often its charged adducts are taken
    int charge = 1;  // signed, as the ion's notation gives it
    std::string ion; // the notation, "z" replaced: "[M+3H]3+"
    // What the ion box takes to show this rung: the ladder's notation with "z" for the step
    // where it can say so, so that the ladder stays as it is; else `ion`.
    std::string ionBox;
    double monoisotopicMz = 0;
    double mostAbundantMz = 0; // the tallest accurate cluster, as computeIon finds it
    double averageMz = 0;
};

/// The notation of the ladder's ion at `step`: the ion box's text with "z" replaced by the
/// step where it has one ("[M+zNa]z+" at 3 is "[M+3Na]3+"), else the notation with its
/// charged adducts repeated `step` times ("[M+Na]+" at 3 is "[M+3Na]3+"). Raises
/// text::Error for a notation the reader refuses.
std::string ladderIon(std::string_view ion, int step, const std::vector<std::string>& symbols,
                      char separator);

/// The m/z the default range keeps: the measured spectrum's range when one is shown (not
/// nullptr), else 300 to 3000.
MzWindow ladderWindow(const measured::Spectrum* measured);

/// The charge states of the molecule as ions of `ion`, ascending in charge: with a
/// range, every rung whose charge (without sign) lies in it; without, every rung of charge
/// 1 to maximumLadderCharge that can be formed and whose most abundant m/z lies in
/// ladderWindow of the measured spectrum (nullptr: none). The molecule is convolved once and
/// each rung adds its own atoms. Raises text::Error as computeIon does for a rung of the range.
std::vector<LadderRung>
computeChargeLadder(const Molecule& molecule, const measured::Spectrum* measured,
                    std::string_view ion, const std::optional<ChargeRange>& range, char separator);

/// The marks of the rungs on the high-resolution plot ("12+" at the most abundant m/z),
/// while a measured spectrum is shown; none without one.
std::vector<plot::ChargeMark> ladderMarks(bool measuredShown,
                                          const std::vector<LadderRung>& ladder);

} // namespace orvane::ions
