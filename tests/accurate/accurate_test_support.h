#pragma once

#include <stdexcept>
#include <string>

#include "data/abundance_file.h"
#include "data/data_tables.h"
#include "data/element_file.h"
#include "data/mass_file.h"
#include "support/recording_notifier.h"
#include "text/error.h"

namespace orvane::accurate::support {

/// The tables of the three data files in `directory`, loaded as the application loads them.
inline data::DataTables loadTables(const std::string& directory) {
    data::DataTables tables;
    testing_support::RecordingNotifier notifier;
    data::loadElementFile(directory, tables, notifier);
    data::loadAbundanceFile(directory, tables, notifier);
    data::loadMassFile(directory, tables);
    if (!notifier.notices.empty() || !tables.massFileProblem.empty()) {
        throw std::runtime_error(directory + ": data files not loaded");
    }
    return tables;
}

inline const data::DataTables& shippedTables() {
    static const data::DataTables tables = loadTables(ORVANE_SHARE_DIR);
    return tables;
}

/// The column of an element of the shipped tables.
inline int columnOf(const std::string& symbol) {
    for (int c = 1; c <= shippedTables().elementCount; ++c) {
        if (shippedTables().elements.cell(c, data::SymbolRow) == symbol) {
            return c;
        }
    }
    throw std::runtime_error("no element " + symbol);
}

/// The message of the text::Error that `run` raises, or "no error".
template <typename Run> std::string errorOf(Run run) {
    try {
        run();
    } catch (const text::Error& error) {
        return error.what();
    }
    return "no error";
}

} // namespace orvane::accurate::support
