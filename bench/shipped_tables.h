#pragma once

// The shipped data files, loaded once for a benchmark program; a notice or a problem of the
// files stops the program, since a benchmark of half-loaded tables measures nothing.

#include <stdexcept>
#include <string>

#include "data/abundance_file.h"
#include "data/data_tables.h"
#include "data/element_file.h"
#include "data/isotope_file.h"
#include "data/mass_file.h"
#include "text/notifier.h"

namespace orvane::bench {

class FailingNotifier : public text::Notifier {
public:
    void notify(const std::string& message) override { throw std::runtime_error(message); }
    bool confirm(const std::string& message) override { throw std::runtime_error(message); }
};

/// elem.txt, abundances.txt and masses.txt of
/// share/orvane, loaded at the first call.
inline data::DataTables& shippedTables() {
    static data::DataTables loaded = [] {
        data::DataTables t;
        FailingNotifier notifier;
        if (!data::loadElementFile(ORVANE_SHARE_DIR, t, notifier)) {
            throw std::runtime_error("no element file");
        }
        data::loadAbundanceFile(ORVANE_SHARE_DIR, t, notifier);
        data::loadMassFile(ORVANE_SHARE_DIR, t);
        if (!t.massFileProblem.empty()) {
            throw std::runtime_error(t.massFileProblem);
        }
        return t;
    }();
    return loaded;
}

} // namespace orvane::bench
