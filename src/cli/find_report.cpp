#include "cli/find_report.h"

#include <algorithm>
#include <sstream>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/batch_table.h"
#include "cli/round_trip.h"

namespace orvane::cli {
namespace {

std::size_t shownCount(const find::FindResult& result, std::size_t limit) {
    return limit == 0 ? result.candidates.size() : std::min(limit, result.candidates.size());
}

std::string dumped(const nlohmann::ordered_json& object) {
    return object.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

nlohmann::ordered_json optionalNumber(const std::optional<double>& value) {
    return value ? nlohmann::ordered_json(*value) : nlohmann::ordered_json();
}

// The neutral formula's elements with atoms, in Hill order as the formula writes them.
nlohmann::ordered_json compositionOf(const std::vector<find::ElementRange>& elements,
                                     const find::Candidate& candidate) {
    std::vector<std::pair<std::string, long long>> atoms;
    for (std::size_t i = 0; i < elements.size(); ++i) {
        if (candidate.counts[i] > 0) {
            atoms.emplace_back(elements[i].symbol, candidate.counts[i]);
        }
    }
    const bool carbon =
        std::any_of(atoms.begin(), atoms.end(), [](const auto& atom) { return atom.first == "C"; });
    const auto rank = [carbon](const std::string& symbol) {
        return carbon && symbol == "C" ? 0 : carbon && symbol == "H" ? 1 : 2;
    };
    std::stable_sort(atoms.begin(), atoms.end(), [&](const auto& a, const auto& b) {
        return rank(a.first) != rank(b.first) ? rank(a.first) < rank(b.first) : a.first < b.first;
    });
    nlohmann::ordered_json composition = nlohmann::ordered_json::object();
    for (const auto& [symbol, count] : atoms) {
        composition[symbol] = count;
    }
    return composition;
}

std::vector<std::string> candidateFields(const find::Candidate& candidate, std::size_t rank,
                                         const char* noScore) {
    return {std::to_string(rank + 1),
            candidate.formula,
            candidate.ion,
            candidate.ionFormula,
            roundTrip(candidate.mz),
            roundTrip(candidate.ppm),
            roundTrip(candidate.rdbe),
            candidate.isotopeScore ? roundTrip(*candidate.isotopeScore) : std::string(noScore),
            candidate.cosine ? roundTrip(*candidate.cosine) : std::string(noScore),
            roundTrip(candidate.score)};
}

} // namespace

nlohmann::ordered_json candidateObject(const std::vector<find::ElementRange>& elements,
                                       const find::Candidate& candidate, std::size_t rank) {
    return {{"rank", rank + 1},
            {"formula", candidate.formula},
            {"composition", compositionOf(elements, candidate)},
            {"ion", candidate.ion},
            {"ionFormula", candidate.ionFormula},
            {"mz", candidate.mz},
            {"ppm", candidate.ppm},
            {"rdbe", candidate.rdbe},
            {"isotopeScore", optionalNumber(candidate.isotopeScore)},
            {"cosine", optionalNumber(candidate.cosine)},
            {"massOffsetPpm", optionalNumber(candidate.offsetPpm)},
            {"prior", candidate.prior},
            {"score", candidate.score}};
}

std::string candidateLine(const find::Candidate& candidate, std::size_t rank) {
    std::string line = "Candidate";
    for (const std::string& field : candidateFields(candidate, rank, "none")) {
        line += '\t';
        line += field;
    }
    line += '\n';
    return line;
}

std::string findTabReport(const find::FindQuery& query, const find::FindResult& result,
                          std::size_t limit, const find::ElementEvidence* evidence) {
    std::ostringstream out;
    out << "Find\t" << roundTrip(query.mz) << '\t' << roundTrip(query.tolerance.value) << '\t'
        << (query.tolerance.milliDaltons ? "mDa" : "ppm") << '\n';
    out << "Evaluated\t" << result.evaluated << '\n';
    out << "RemovedByRules\t" << result.removedByRules << '\n';
    for (std::size_t rule = 0; rule < find::ruleCount; ++rule) {
        if (result.removedBy[rule] > 0) {
            out << "RemovedBy\t" << find::ruleName(static_cast<find::Rule>(rule)) << '\t'
                << result.removedBy[rule] << '\n';
        }
    }
    if (evidence) {
        const auto optional = [](const std::optional<double>& value) {
            return value ? roundTrip(*value) : std::string();
        };
        out << "Evidence\t" << optional(evidence->m2Ratio) << '\t' << optional(evidence->m2Shift)
            << '\t' << optional(evidence->m4Ratio) << '\t' << evidence->text << '\n';
    }
    std::string text = out.str();
    for (std::size_t rank = 0; rank < shownCount(result, limit); ++rank) {
        text += candidateLine(result.candidates[rank], rank);
    }
    return text;
}

std::string findJsonReport(const find::FindQuery& query, const find::FindResult& result,
                           std::size_t limit, const find::ElementEvidence* evidence) {
    nlohmann::ordered_json candidates = nlohmann::ordered_json::array();
    for (std::size_t rank = 0; rank < shownCount(result, limit); ++rank) {
        candidates.push_back(candidateObject(result.elements, result.candidates[rank], rank));
    }
    nlohmann::ordered_json removedBy = nlohmann::ordered_json::object();
    for (std::size_t rule = 0; rule < find::ruleCount; ++rule) {
        removedBy[std::string(find::ruleName(static_cast<find::Rule>(rule)))] =
            result.removedBy[rule];
    }
    nlohmann::ordered_json found{{"mz", query.mz}};
    found[query.tolerance.milliDaltons ? "mda" : "ppm"] = query.tolerance.value;
    found.update(nlohmann::ordered_json{{"evaluated", result.evaluated},
                                        {"removedByRules", result.removedByRules},
                                        {"removedBy", removedBy}});
    if (evidence) {
        const auto optional = [](const std::optional<double>& value) {
            return value ? nlohmann::ordered_json(*value) : nlohmann::ordered_json();
        };
        found["evidence"] = {{"m2Ratio", optional(evidence->m2Ratio)},
                             {"m2Shift", optional(evidence->m2Shift)},
                             {"m4Ratio", optional(evidence->m4Ratio)},
                             {"text", evidence->text}};
    }
    found["candidates"] = candidates;
    return dumped(nlohmann::ordered_json{{"find", found}}) + '\n';
}

std::string findBatchHeader(BatchFormat format) {
    if (format == BatchFormat::Json) {
        return {};
    }
    return tableLine({"line", "target", "rank", "formula", "ion", "ionFormula", "mz", "ppm", "rdbe",
                      "isotopeScore", "cosine", "score", "error"},
                     format);
}

std::string findBatchStart(const FindBatchRow& row, BatchFormat format) {
    if (format == BatchFormat::Json) {
        return {};
    }
    std::string start;
    TableLineWriter startWriter(start, format);
    startWriter.field(std::to_string(row.lineNumber));
    startWriter.field(row.input);
    return start;
}

void appendFindBatchRow(std::string& text, const FindBatchRow& row, std::string_view start,
                        const std::vector<find::ElementRange>& elements,
                        const find::Candidate& candidate, std::size_t rank, BatchFormat format) {
    if (format == BatchFormat::Json) {
        nlohmann::ordered_json object{{"line", row.lineNumber}, {"target", row.input}};
        object.update(candidateObject(elements, candidate, rank));
        text += dumped(object) + '\n';
        return;
    }
    TableLineWriter line(text, format);
    line.written(start);
    line.whole(static_cast<long long>(rank + 1));
    line.field(candidate.formula);
    line.field(candidate.ion);
    line.field(candidate.ionFormula);
    line.number(candidate.mz);
    line.number(candidate.ppm);
    line.number(candidate.rdbe);
    for (const std::optional<double>& measure : {candidate.isotopeScore, candidate.cosine}) {
        if (measure) {
            line.number(*measure);
        } else {
            line.field("");
        }
    }
    line.number(candidate.score);
    line.field("");
    line.end();
}

std::string findBatchEmptyRow(const FindBatchRow& row, BatchFormat format) {
    if (format == BatchFormat::Json) {
        nlohmann::ordered_json object{{"line", row.lineNumber}, {"target", row.input}};
        object[row.error.empty() ? "candidates" : "error"] =
            row.error.empty() ? nlohmann::ordered_json(0) : nlohmann::ordered_json(row.error);
        return dumped(object) + '\n';
    }
    std::vector<std::string> fields{std::to_string(row.lineNumber), row.input};
    fields.resize(12);
    fields.push_back(row.error);
    return tableLine(fields, format);
}

std::string findBatchRows(const FindBatchRow& row, BatchFormat format, std::size_t limit) {
    const std::size_t shown = row.error.empty() ? shownCount(row.result, limit) : 0;
    if (shown == 0) {
        return findBatchEmptyRow(row, format);
    }
    // tens of thousands of lines for a heavy target: written straight into one text, the
    // line and target quoted once
    const std::string start = findBatchStart(row, format);
    std::string text;
    text.reserve(shown * 160); // a row is 100 to 150 bytes
    for (std::size_t rank = 0; rank < shown; ++rank) {
        appendFindBatchRow(text, row, start, row.result.elements, row.result.candidates[rank], rank,
                           format);
    }
    return text;
}

} // namespace orvane::cli
