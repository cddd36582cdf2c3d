#pragma once

#include <string>
#include <utility>
#include <vector>

#include "data/text_grid.h"
#include "formula/formula_reader.h"
#include "session/session.h"

namespace orvane::cli {

/// The counts orvane-calc writes into the count cells: those of `formula` (read as the
/// window's formula dialog reads it; empty: none) and then each --count SYMBOL=TEXT as it
/// stands. A refused formula raises the reader's text::Error; a --count symbol the table
/// lacks throws UsageError.
std::vector<session::CountText>
countsToEnter(const data::TextGrid& elements, const std::string& formula,
              const std::vector<std::pair<std::string, std::string>>& counts, char separator,
              const formula::MassNumbers& massNumbers = {});

} // namespace orvane::cli
