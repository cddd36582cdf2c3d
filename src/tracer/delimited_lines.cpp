#include "tracer/delimited_lines.h"

#include <cerrno>
#include <fstream>
#include <sstream>

#include "text/error.h"
#include "text/trim.h"

namespace orvane::tracer {

std::vector<DelimitedLine> splitDelimited(std::string_view text, char delimiter, bool quotes) {
    std::vector<DelimitedLine> lines;
    int number = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (text::trimBlanks(line).empty()) {
            continue;
        }
        DelimitedLine split{number, {}};
        std::string field;
        bool quoted = false;
        for (std::size_t i = 0; i < line.size(); ++i) {
            const char c = line[i];
            if (quotes && c == '"') {
                if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
                    field += '"';
                    ++i;
                } else {
                    quoted = !quoted;
                }
            } else if (c == delimiter && !quoted) {
                split.fields.emplace_back(text::trimBlanks(field));
                field.clear();
            } else {
                field += c;
            }
        }
        split.fields.emplace_back(text::trimBlanks(field));
        lines.push_back(std::move(split));
    }
    return lines;
}

std::string readWholeFile(const std::string& path) {
    errno = 0;
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        const int error = errno;
        throw text::Error(path + ": " + text::Error::fromErrno(error == 0 ? ENOENT : error).what());
    }
    std::ostringstream contents;
    contents << file.rdbuf();
    return contents.str();
}

} // namespace orvane::tracer
