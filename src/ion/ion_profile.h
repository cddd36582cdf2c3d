#pragma once

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

} // namespace orvane::ions
