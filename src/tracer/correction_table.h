#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tracer/isotopologue_correction.h"

namespace orvane::tracer {

// Which table of a correction is shown or written.
enum class CorrectionSheet {
    Rows,       // IsoCor's: one line per sample and isotopologue
    Corrected,  // AccuCor's Corrected sheet: one line per isotopologue, one column per sample
    Normalized, // AccuCor's Normalized sheet: the same with the fractions
};

// A table of text cells: the header, then the lines.
struct TextTable {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> lines;
};

/// The sheet named "rows", "corrected" or "normalized"; false for another name.
bool sheetNamed(std::string_view name, CorrectionSheet& sheet);

/// The result as the sheet lays it out, numbers in their shortest text that reads back the
/// same ("nan" where a sum was 0): IsoCor's columns sample, metabolite, derivative,
/// isotopologue, area, corrected_area, isotopologue_fraction, residuum, mean_enrichment (one
/// mean_enrichment_<tracer> column per tracer with two); AccuCor's Compound, Formula,
/// IsotopeLabel and the samples, a cell left empty where a sample lacks the compound.
TextTable correctionTable(const CorrectionResult& result, CorrectionSheet sheet);

/// The table as lines of cells joined by `delimiter` (TAB or ','); with ',' a cell holding a
/// comma, a quote or a line break is quoted as CSV quotes it.
std::string delimitedText(const TextTable& table, char delimiter);

/// The table as a JSON array of objects keyed by the header, numbers as numbers (NaN as
/// null), texts as strings.
std::string jsonText(const TextTable& table);

} // namespace orvane::tracer
