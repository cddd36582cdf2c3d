#pragma once

#include <string>

#include "data/data_tables.h"
#include "text/notifier.h"

namespace orvane::data {

inline constexpr const char* elementFileName = "elem.txt";
inline constexpr const char* elementFileMissing =
    "elem.txt involving element names and their atomic weights doest not exit!";

/// Loads elem.txt of the data directory into the element table and sets the element
/// count. Returns false (after the notice) when there is no such regular file; the table
/// and count then stay as they were. An input/output error raises text::Error with the
/// cells already written kept; a line with more than 199 TABs refuses the file with an
/// Error before anything is changed.
bool loadElementFile(const std::string& dataDirectory, DataTables& tables,
                     text::Notifier& notifier);

} // namespace orvane::data
