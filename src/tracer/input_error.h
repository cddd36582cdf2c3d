#pragma once

#include <string>
#include <string_view>

#include "text/error.h"

namespace orvane::tracer {

/// The error of a bad cell: "FILE, line L, column C (NAME): WHAT"; without NAME when it is
/// empty, without the column when it is 0.
inline text::Error inputError(const std::string& fileName, int line, int column,
                              std::string_view name, const std::string& what) {
    std::string where = fileName + ", line " + std::to_string(line);
    if (column > 0) {
        where += ", column " + std::to_string(column);
        if (!name.empty()) {
            where += " (" + std::string(name) + ")";
        }
    }
    return text::Error(where + ": " + what);
}

} // namespace orvane::tracer
