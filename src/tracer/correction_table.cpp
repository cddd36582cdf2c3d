#include "tracer/correction_table.h"

#include <charconv>
#include <cmath>
#include <map>
#include <tuple>

#include "text/shortest_text.h"

namespace orvane::tracer {
namespace {

std::string numberText(double value) {
    return std::isnan(value) ? std::string("nan") : text::shortestText(value);
}

std::string compoundOf(const CorrectedRow& row) {
    return row.derivative.empty() ? row.metabolite : row.metabolite + " " + row.derivative;
}

TextTable rowsTable(const CorrectionResult& result) {
    TextTable table;
    table.header = {"sample",
                    "metabolite",
                    "derivative",
                    "isotopologue",
                    "area",
                    "corrected_area",
                    "isotopologue_fraction",
                    "residuum"};
    if (result.tracers.size() == 1) {
        table.header.emplace_back("mean_enrichment");
    } else {
        for (const std::string& tracer : result.tracers) {
            table.header.push_back("mean_enrichment_" + tracer);
        }
    }
    for (const CorrectedRow& row : result.rows) {
        std::vector<std::string> line = {row.sample,
                                         row.metabolite,
                                         row.derivative,
                                         isotopologueText(row.counts),
                                         numberText(row.area),
                                         numberText(row.correctedArea),
                                         numberText(row.fraction),
                                         numberText(row.residuum)};
        for (const double enrichment : row.meanEnrichment) {
            line.push_back(numberText(enrichment));
        }
        table.lines.push_back(std::move(line));
    }
    return table;
}

TextTable sheetTable(const CorrectionResult& result, bool normalized) {
    TextTable table;
    table.header = {"Compound", "Formula", "IsotopeLabel"};
    table.header.insert(table.header.end(), result.samples.begin(), result.samples.end());
    // lines keyed by compound and isotopologue, in the order they first appear
    std::map<std::tuple<std::string, std::vector<int>>, std::size_t> lineOf;
    for (const CorrectedRow& row : result.rows) {
        const auto key = std::tuple(compoundOf(row), row.counts);
        auto found = lineOf.find(key);
        if (found == lineOf.end()) {
            std::vector<std::string> line = {compoundOf(row), row.formula,
                                             accuCorLabel(row.counts, result.tracers)};
            line.resize(table.header.size());
            table.lines.push_back(std::move(line));
            found = lineOf.emplace(key, table.lines.size() - 1).first;
        }
        for (std::size_t s = 0; s < result.samples.size(); ++s) {
            if (result.samples[s] == row.sample) {
                table.lines[found->second][3 + s] =
                    numberText(normalized ? row.fraction : row.correctedArea);
            }
        }
    }
    return table;
}

bool isNumber(const std::string& cell) {
    double value = 0;
    const auto [end, error] = std::from_chars(cell.data(), cell.data() + cell.size(), value);
    return !cell.empty() && error == std::errc() && end == cell.data() + cell.size() &&
           std::isfinite(value);
}

std::string jsonString(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            const char* hex = "0123456789abcdef";
            out += "\\u00";
            out += hex[(c >> 4) & 0xf];
            out += hex[c & 0xf];
        } else {
            out += c;
        }
    }
    return out + "\"";
}

} // namespace

bool sheetNamed(std::string_view name, CorrectionSheet& sheet) {
    if (name == "rows") {
        sheet = CorrectionSheet::Rows;
    } else if (name == "corrected") {
        sheet = CorrectionSheet::Corrected;
    } else if (name == "normalized") {
        sheet = CorrectionSheet::Normalized;
    } else {
        return false;
    }
    return true;
}

TextTable correctionTable(const CorrectionResult& result, CorrectionSheet sheet) {
    switch (sheet) {
    case CorrectionSheet::Rows:
        return rowsTable(result);
    case CorrectionSheet::Corrected:
        return sheetTable(result, false);
    case CorrectionSheet::Normalized:
        return sheetTable(result, true);
    }
    return rowsTable(result);
}

std::string delimitedText(const TextTable& table, char delimiter) {
    std::string out;
    const auto addLine = [&](const std::vector<std::string>& cells) {
        for (std::size_t c = 0; c < cells.size(); ++c) {
            if (c > 0) {
                out += delimiter;
            }
            const std::string& cell = cells[c];
            if (delimiter == ',' && cell.find_first_of(",\"\r\n") != std::string::npos) {
                out += '"';
                for (const char ch : cell) {
                    out += ch == '"' ? std::string("\"\"") : std::string(1, ch);
                }
                out += '"';
            } else {
                out += cell;
            }
        }
        out += '\n';
    };
    addLine(table.header);
    for (const std::vector<std::string>& line : table.lines) {
        addLine(line);
    }
    return out;
}

std::string jsonText(const TextTable& table) {
    std::string out = "[";
    for (std::size_t l = 0; l < table.lines.size(); ++l) {
        out += l == 0 ? "\n  {" : ",\n  {";
        for (std::size_t c = 0; c < table.header.size(); ++c) {
            const std::string& cell = table.lines[l][c];
            out += (c == 0 ? "" : ", ") + jsonString(table.header[c]) + ": ";
            // the text columns stay strings even where a name looks like a number
            const bool textColumn = c < 4 && table.header[0] == "sample";
            const bool sheetText = c < 3 && table.header[0] == "Compound";
            if (cell == "nan") {
                out += "null";
            } else if (!textColumn && !sheetText && isNumber(cell)) {
                out += cell;
            } else {
                out += jsonString(cell);
            }
        }
        out += "}";
    }
    return out + (table.lines.empty() ? "]\n" : "\n]\n");
}

} // namespace orvane::tracer
