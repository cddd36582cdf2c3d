#include "cli/batch_input.h"

#include "text/trim.h"

namespace orvane::cli {

std::vector<BatchLine> readBatchLines(std::istream& in) {
    std::vector<BatchLine> lines;
    std::size_t number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        const std::string trimmed(text::trimBlanks(line));
        if (trimmed.empty() || trimmed.front() == '#') {
            continue;
        }
        BatchLine entry{number, line, std::nullopt};
        if (const auto tab = line.find('\t'); tab != std::string::npos) {
            entry.formula = line.substr(0, tab);
            const std::string ion(text::trimBlanks(line.substr(tab + 1)));
            if (!ion.empty()) {
                entry.ion = ion;
            }
        }
        lines.push_back(std::move(entry));
    }
    return lines;
}

} // namespace orvane::cli
