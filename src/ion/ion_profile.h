#pragma once

#include <cstddef>
#include <vector>

#include "accurate/atom_parts.h"
#include "measured/cluster_match.h"
#include "profile/profile_input.h"
#include "ion/ion_result.h"
#include "data/data_tables.h"

namespace orvane::ions {

/// What the profile of `ion` is computed from: its atoms with their isotopes (exact masses
/// and abundances from the data files), its charge and its accurate clusters for the
/// fallback. A plain value, so that the profile can be computed away from the session.
/// Raises text::Error as the accurate masses do.
profile::ProfileInput profileInputFor(const data::DataTables& tables, const IonResult& ion,
                                      char separator);

/// profileInputFor of an ion given by its atoms, labelled atoms and charge, without clusters.
profile::ProfileInput profileInputOf(const data::DataTables& tables,
                                     const std::vector<accurate::AtomCount>& ionAtoms,
                                     const std::vector<accurate::LabelAtoms>& ionLabels, int charge,
                                     char separator);

/// The lines a measured spectrum is set against: the ion's fine peaks up to `coverage` (at
/// most `maxPeaks`), each given to the cluster of its nominal mass (the nearest cluster of
/// `input`), sorted by m/z; the clusters themselves when the fine structure is larger or
/// empty. Raises text::Error as the fine structure does.
std::vector<measured::TheoreticalPeak> fineLines(const profile::ProfileInput& input,
                                                 double coverage, std::size_t maxPeaks);

} // namespace orvane::ions
