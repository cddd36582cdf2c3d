#pragma once

#include <string>

namespace orvane::cli {

/// What --version prints: the version, then one line per data file of `dataDirectory`
/// (elem.txt, abundances.txt, masses.txt) with its SHA-256 and path, or "missing".
std::string versionText(const std::string& dataDirectory);

} // namespace orvane::cli
