#pragma once

#include <memory>
#include <vector>

#include "accurate/accurate_masses.h"
#include "accurate/atom_parts.h"
#include "accurate/moment_distribution.h"
#include "accurate/power_cache.h"
#include "data/data_tables.h"

namespace orvane::accurate {

// The convolved isotopes of a set of atoms before their clusters are read out. More atoms
// can still be convolved in, so that the ions of one molecule at many charges share the
// molecule's convolution, which is nearly all of the work for a protein.
class AtomDistribution {
public:
    /// The distribution of `atoms` and `labels` (counts of 0 skipped). Raises text::Error as
    /// computeAccurateMasses does.
    static AtomDistribution of(const std::vector<AtomCount>& atoms, const data::DataTables& tables,
                               char separator, const std::vector<LabelAtoms>& labels = {});
    /// This distribution with `atoms` and `labels` added. Raises text::Error as `of` does,
    /// the size check taken over all the atoms together.
    AtomDistribution plus(const std::vector<AtomCount>& atoms, const data::DataTables& tables,
                          char separator, const std::vector<LabelAtoms>& labels = {}) const;
    /// The same two for parts already read (atomPartsOf); with a cache, each element's
    /// power is taken from it where it was computed before.
    static AtomDistribution of(const std::vector<AtomPart>& parts, PowerCache* cache = nullptr);
    AtomDistribution plus(const std::vector<AtomPart>& parts, PowerCache* cache = nullptr) const;
    /// The monoisotopic and average masses and the clusters of all the atoms; without
    /// every cluster, only the lightest and the most abundant, with the same values.
    AccurateMasses masses(bool everyCluster = true) const;
    /// of(parts, cache).masses(false), the same values, with the defects of the last
    /// convolution summed only for the two clusters made.
    static AccurateMasses lightestAndTallest(const std::vector<AtomPart>& parts,
                                             PowerCache* cache = nullptr);

private:
    // Adds the parts' masses and size to the sums and gives their powers, narrowest first.
    std::vector<std::shared_ptr<const MomentDistribution>>
    addPowers(const std::vector<AtomPart>& parts, PowerCache* cache);

    MomentDistribution m_total;
    long double m_monoisotopic = 0;
    long double m_average = 0;
    // the sum of the references taken out of each atom's defects (see MomentDistribution)
    long double m_shift = 0;
    // for the size check: the variance of the nominal mass, the largest nominal mass
    long double m_variance = 0;
    long double m_heaviest = 0;
};

} // namespace orvane::accurate
