#pragma once

#include <string>
#include <vector>

namespace orvane::data::support {

/// Joins fields with TABs, as the data files separate them.
inline std::string tabbed(const std::vector<std::string>& fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        line += (i > 0 ? "\t" : "") + fields[i];
    }
    return line;
}

} // namespace orvane::data::support
