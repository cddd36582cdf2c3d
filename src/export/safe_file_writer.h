#pragma once

#include <string>

namespace orvane::exporting {

/// Writes the whole text to a temporary file beside `path`, flushes it and renames it
/// over `path`, so that a failed write never leaves a half-written file nor destroys
/// the old one. Raises text::Error::fromErrno on failure, after removing the temporary.
/// A device or pipe of that name, and an existing file in a folder that takes no new
/// files, are written into in place instead, as a plain save would.
void writeFileAtomically(const std::string& path, const std::string& contents);

/// True when `path` names an existing regular file (following links); a directory does not count.
bool isRegularFile(const std::string& path);

} // namespace orvane::exporting
