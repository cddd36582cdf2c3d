#include "cli/batch_input.h"

#include "text/trim.h"

namespace orvane::cli {

std::optional<BatchLine> BatchLineReader::next() {
    for (std::string line; std::getline(m_in, line);) {
        ++m_number;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        const std::string trimmed(text::trimBlanks(line));
        if (trimmed.empty() || trimmed.front() == '#') {
            continue;
        }
        BatchLine entry{m_number, line, std::nullopt};
        if (const auto tab = line.find('\t'); tab != std::string::npos) {
            entry.formula = line.substr(0, tab);
            const std::string ion(text::trimBlanks(line.substr(tab + 1)));
            if (!ion.empty()) {
                entry.ion = ion;
            }
        }
        return entry;
    }
    return std::nullopt;
}

std::vector<BatchLine> readBatchLines(std::istream& in) {
    std::vector<BatchLine> lines;
    BatchLineReader reader(in);
    while (std::optional<BatchLine> line = reader.next()) {
        lines.push_back(std::move(*line));
    }
    return lines;
}

} // namespace orvane::cli
