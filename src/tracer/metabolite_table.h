#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvane::tracer {

// A metabolite or derivative as its database file names it.
struct NamedFormula {
    std::string name;
    std::string formula; // in Orvane's grammar, read when it is corrected
    int charge = 0;      // a metabolite's charge; 0 for a derivative or where none is given
    int line = 0;
    int formulaColumn = 0; // 1 for the first field
};

// The rows of a metabolites or derivatives file, and the file's name for errors.
struct NamedFormulas {
    std::string fileName;
    std::vector<NamedFormula> entries;

    /// The entry named `name`; nullptr when there is none.
    const NamedFormula* find(std::string_view name) const;
};

/// Reads IsoCor's metabolites layout: TAB-separated with a header naming name, formula and
/// optionally charge (other columns, such as inchi, are not read); with
/// `chargeColumn` false, the derivatives layout (name, formula). Raises text::Error naming
/// the file, line and column of a missing column, an empty name or formula, a charge that
/// is not a whole number, and a name given twice.
NamedFormulas readNamedFormulas(std::string_view text, const std::string& fileName,
                                bool chargeColumn);

/// readNamedFormulas of the file at `path`.
NamedFormulas readNamedFormulaFile(const std::string& path, bool chargeColumn);

} // namespace orvane::tracer
