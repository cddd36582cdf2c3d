#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "data/data_tables.h"
#include "formula/formula_reader.h"

namespace orvane::ions {

// What the formula dialog shows under the text while it is typed.
struct FormulaPreview {
    bool accepted = false;
    std::string formulaText; // as the Formula box will read it, in table order ("H12C6O6")
    std::string weightText;  // its formula weight, as the FW box writes it
    std::string message;     // why the text is refused, or why there is no weight
    std::string hillText;    // the formula in Hill order ("C6H12O6")
    // the monoisotopic mass in u with 6 decimals; empty without masses.txt or for counts
    // that are no whole numbers of atoms
    std::string monoisotopicText;
    std::vector<std::string> notices; // the reader's: a sequence read, though likely not meant so
};

/// Reads `text` against the element table as "OK" would and returns the preview: the
/// formula in table order and its weight, or the reader's refusal. Writes nothing.
FormulaPreview previewFormula(std::string_view text, const data::DataTables& tables,
                              const formula::ReaderTables& reader, char separator);

} // namespace orvane::ions
