#include "cli/batch_input.h"

#include <sys/stat.h>
#include <unistd.h>

#include "text/trim.h"

namespace orvane::cli {

std::string batchInputProblem(const std::string& path) {
    struct stat status {};
    // a directory reads as no lines at all, which would pass for an empty batch
    const bool known =
        path == "-" ? ::fstat(STDIN_FILENO, &status) == 0 : ::stat(path.c_str(), &status) == 0;
    if (known && S_ISDIR(status.st_mode)) {
        return "a directory, not a file";
    }
    return {};
}

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
