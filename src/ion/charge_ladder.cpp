#include "ion/charge_ladder.h"

#include <algorithm>
#include <cstdlib>

#include "accurate/atom_distribution.h"
#include "accurate/ion_mz.h"
#include "formula/element_symbols.h"
#include "formula/ion_notation.h"
#include "formula/repeated_ion.h"
#include "ion/ion_result.h"
#include "text/error.h"

namespace orvane::ions {

namespace {

// A rung's atoms before its masses: the element columns, then one slot per label.
struct RungAtoms {
    LadderRung rung;
    std::vector<long long> counts;
};

std::vector<long long> countsOf(const IonAtoms& atoms) {
    std::vector<long long> counts = atoms.atoms;
    for (const accurate::LabelAtoms& label : atoms.labels) {
        counts.push_back(label.atoms);
    }
    return counts;
}

// The atoms of `counts` as the accurate layer takes them; `labels` gives the labels' isotopes.
void split(const std::vector<long long>& counts, std::size_t columns,
           const std::vector<accurate::LabelAtoms>& labels, std::vector<accurate::AtomCount>& atoms,
           std::vector<accurate::LabelAtoms>& labelled) {
    atoms = atomCountsOf(std::vector<long long>(
        counts.begin(), counts.begin() + static_cast<std::ptrdiff_t>(columns)));
    labelled = labels;
    for (std::size_t i = 0; i < labelled.size(); ++i) {
        labelled[i].atoms = counts[columns + i];
    }
}

} // namespace

std::string ladderIon(std::string_view ion, int step, const std::vector<std::string>& symbols,
                      char separator) {
    if (ion.find('z') != std::string_view::npos) {
        return expandIon(ion, step);
    }
    return formula::repeatedIonText(formula::readIonNotation(ion, symbols, separator), step);
}

MzWindow ladderWindow(const measured::Spectrum* measured) {
    if (measured != nullptr && !measured->mz.empty()) {
        const auto [low, high] = std::minmax_element(measured->mz.begin(), measured->mz.end());
        return {*low, *high};
    }
    return {};
}

std::vector<LadderRung>
computeChargeLadder(const Molecule& molecule, const measured::Spectrum* measured,
                    std::string_view ion, const std::optional<ChargeRange>& range, char separator) {
    const std::vector<std::string> symbols = formula::symbolsOf(molecule.tables.elements);
    // The rungs' atoms first: that is cheap, and the molecule's share of them is convolved once.
    std::string ionBox(ion);
    if (ion.find('z') == std::string_view::npos) {
        ionBox = formula::repeatedIonTemplate(formula::readIonNotation(ion, symbols, separator));
    }
    std::vector<RungAtoms> rungs;
    std::vector<accurate::LabelAtoms> labels;
    const bool zTemplate = ion.find('z') != std::string_view::npos;
    int firstCharge = 0; // without sign, at z = 1
    for (int step = 1; step <= maximumLadderCharge; ++step) {
        RungAtoms rung;
        rung.rung.step = step;
        rung.rung.ion = ladderIon(ion, step, symbols, separator);
        const formula::IonNotation notation =
            formula::readIonNotation(rung.rung.ion, symbols, separator);
        rung.rung.charge = notation.charge;
        rung.rung.ionBox = ionBox.empty() ? rung.rung.ion : ionBox;
        const int charge = std::abs(notation.charge);
        // a rung is named by its charge: a "z" that multiplies something else ([zM+H]+)
        // would give rungs of one charge under the names of many
        if (zTemplate && step > 1 && charge != step * firstCharge) {
            throw text::Error("In the ion " + std::string(ion) + ", z is not the charge: at z = " +
                              std::to_string(step) + " it is " + rung.rung.ion +
                              ". A ladder of charge states needs z as the charge, as in [M+zH]z+.");
        }
        if (step == 1) {
            firstCharge = charge;
        }
        if (range ? charge < range->first || charge > range->last : charge > maximumLadderCharge) {
            continue;
        }
        try {
            const IonAtoms atoms = ionAtomsOf(molecule, notation, symbols);
            rung.counts = countsOf(atoms);
            labels = atoms.labels;
            rungs.push_back(std::move(rung));
        } catch (const text::Error&) {
            // without a range, a charge that the molecule cannot carry is simply no rung
            if (range) {
                throw;
            }
        }
    }
    if (rungs.empty()) {
        return {};
    }
    std::vector<long long> shared = rungs.front().counts;
    for (const RungAtoms& rung : rungs) {
        for (std::size_t i = 0; i < shared.size(); ++i) {
            shared[i] = std::min(shared[i], rung.counts[i]);
        }
    }
    std::vector<accurate::AtomCount> atoms;
    std::vector<accurate::LabelAtoms> labelled;
    split(shared, symbols.size(), labels, atoms, labelled);
    const accurate::AtomDistribution sharedAtoms =
        accurate::AtomDistribution::of(atoms, molecule.tables, separator, labelled);

    const MzWindow window = ladderWindow(measured);
    std::vector<LadderRung> ladder;
    for (RungAtoms& rung : rungs) {
        std::vector<long long> added = rung.counts;
        for (std::size_t i = 0; i < added.size(); ++i) {
            added[i] -= shared[i];
        }
        split(added, symbols.size(), labels, atoms, labelled);
        try {
            const accurate::AccurateMasses masses =
                sharedAtoms.plus(atoms, molecule.tables, separator, labelled).masses();
            // the masses of the whole ion as computeIon sums them, to its last digit
            split(rung.counts, symbols.size(), labels, atoms, labelled);
            const accurate::MoleculeMasses whole =
                accurate::computeMoleculeMasses(atoms, molecule.tables, separator, labelled);
            rung.rung.monoisotopicMz = accurate::mzOf(whole.monoisotopicMass, rung.rung.charge);
            rung.rung.averageMz = accurate::mzOf(whole.averageMass, rung.rung.charge);
            rung.rung.mostAbundantMz =
                accurate::mzOf(masses.clusters.at(masses.mostAbundant).mass, rung.rung.charge);
        } catch (const text::Error&) {
            if (range) {
                throw;
            }
            continue;
        }
        if (range ||
            (rung.rung.mostAbundantMz >= window.low && rung.rung.mostAbundantMz <= window.high)) {
            ladder.push_back(std::move(rung.rung));
        }
    }
    std::stable_sort(ladder.begin(), ladder.end(), [](const LadderRung& a, const LadderRung& b) {
        return std::abs(a.charge) < std::abs(b.charge);
    });
    return ladder;
}

std::vector<plot::ChargeMark> ladderMarks(bool measuredShown,
                                          const std::vector<LadderRung>& ladder) {
    std::vector<plot::ChargeMark> marks;
    if (!measuredShown) {
        return marks;
    }
    for (const LadderRung& rung : ladder) {
        marks.push_back({rung.mostAbundantMz,
                         std::to_string(std::abs(rung.charge)) + (rung.charge < 0 ? "-" : "+")});
    }
    return marks;
}

} // namespace orvane::ions
