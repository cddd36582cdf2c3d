#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "data/text_grid.h"
#include "formula/formula_reader.h"
#include "session/session.h"

namespace orvane::cli {

// What orvane-calc enters: the count cells' texts and the formula's isotope labels.
struct FormulaEntry {
    std::vector<session::CountText> counts;
    std::vector<formula::LabelCount> labels;
    std::optional<int> charge;        // a sequence's "/z"
    std::vector<std::string> notices; // the reader's, as a sequence likely not meant so
};

/// The counts orvane-calc writes into the count cells: those of `formula` (read as the
/// window's formula dialog reads it; empty: none) and then each --count SYMBOL=TEXT as it
/// stands, with the formula's labels. A refused formula raises the reader's text::Error;
/// a --count symbol the table lacks throws UsageError.
FormulaEntry countsToEnter(const data::TextGrid& elements, const std::string& formula,
                           const std::vector<std::pair<std::string, std::string>>& counts,
                           char separator, const formula::ReaderTables& tables);

} // namespace orvane::cli
