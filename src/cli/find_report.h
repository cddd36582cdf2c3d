#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/command_options.h"
#include "find/element_evidence.h"
#include "find/formula_search.h"

namespace orvane::cli {

/// The TAB report of a search: "Find" (target, tolerance and its unit), "Evaluated",
/// "RemovedByRules" with one "RemovedBy" line per rule that removed any, then one
/// "Candidate" line each (rank, formula, ion, ion formula, m/z, ppm, RDBE, isotope score and
/// cosine or "none" each, score) for the first `limit` (0: all). With a measured spectrum's
/// `evidence`, an "Evidence" line (M+2 over M, its shift in u, M+4 over M, each empty when not
/// measured, and the reading) comes before the candidates.
std::string findTabReport(const find::FindQuery& query, const find::FindResult& result,
                          std::size_t limit, const find::ElementEvidence* evidence = nullptr);

/// The search as one JSON object on one line: {"find": {"mz", "ppm" (or "mda"),
/// "evaluated", "removedByRules", "removedBy" {rule: count}, "candidates": [{"rank",
/// "formula", "composition" {symbol: count}, "ion", "ionFormula", "mz", "ppm", "rdbe",
/// "isotopeScore", "cosine" and "massOffsetPpm" (null without a measurement), "prior",
/// "score"}]}}; with `evidence`,
/// "evidence":
/// {"m2Ratio", "m2Shift", "m4Ratio" (null when not measured), "text"} before "candidates".
std::string findJsonReport(const find::FindQuery& query, const find::FindResult& result,
                           std::size_t limit, const find::ElementEvidence* evidence = nullptr);

/// The JSON object of one candidate at `rank` (from 0), its composition by the ranges'
/// `elements`: the members findJsonReport lists.
nlohmann::ordered_json candidateObject(const std::vector<find::ElementRange>& elements,
                                       const find::Candidate& candidate, std::size_t rank);

/// The "Candidate" line of the TAB report for one candidate at `rank` (from 0).
std::string candidateLine(const find::Candidate& candidate, std::size_t rank);

// One target of a formula-finding batch and what its search gave.
struct FindBatchRow {
    std::size_t lineNumber = 0;
    std::string input; // the target as written
    find::FindQuery query;
    find::FindResult result;
    std::string error; // why the line failed; empty when it did not
};

/// The header of the formula-finding batch table (none for JSON): line, target, rank,
/// formula, ion, ionFormula, mz, ppm, rdbe, isotopeScore, cosine, score, error.
std::string findBatchHeader(BatchFormat format);

/// The rows of one target: one per candidate among the first `limit` (0: all), or one with
/// empty candidate columns when there is none or the line failed. JSON writes one object a
/// row with the header's names, numbers as numbers.
std::string findBatchRows(const FindBatchRow& row, BatchFormat format, std::size_t limit);

/// The fields every row of a line starts with (line and target), written once; "" for JSON.
std::string findBatchStart(const FindBatchRow& row, BatchFormat format);

/// Appends the row of one candidate at `rank` (from 0) of the line; `start` is its
/// findBatchStart, `elements` the ranges its counts are indexed by.
void appendFindBatchRow(std::string& text, const FindBatchRow& row, std::string_view start,
                        const std::vector<find::ElementRange>& elements,
                        const find::Candidate& candidate, std::size_t rank, BatchFormat format);

/// The one row of a line without candidates: its error, or none found.
std::string findBatchEmptyRow(const FindBatchRow& row, BatchFormat format);

} // namespace orvane::cli
