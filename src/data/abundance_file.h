#pragma once

#include <string>

#include "data/data_tables.h"
#include "text/notifier.h"

namespace orvane::data {

inline constexpr const char* abundanceFileName = "abundances.txt";
inline constexpr const char* abundanceFileMissing = "abundances.txt doest not exit!";
inline constexpr const char* lineCountMismatch =
    "The numbers of atoms defined in elems.txt and abundance2.txt are not equal!!  They "
    "should be consistent to each other!!";

/// Loads abundances.txt of the data directory into the isotope table, one row per
/// element count line, every field trimmed of codes 0 to 32, and returns true. A missing
/// file or a line count other than the element count is a notice, leaves the table as it
/// was and returns false.
/// Input/output errors and lines of more than 199 TABs raise text::Error.
bool loadAbundanceFile(const std::string& dataDirectory, DataTables& tables,
                       text::Notifier& notifier);

} // namespace orvane::data
