#include "data/tab_splitter.h"

#include <algorithm>
#include <cassert>
#include <cstddef>

#include "text/error.h"

namespace orvane::data {

int countTabs(std::string_view line) {
    return static_cast<int>(std::count(line.begin(), line.end(), '\t'));
}

std::vector<std::string_view> splitTabs(std::string_view line) {
    assert(countTabs(line) <= maxTabsPerLine);
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        if (tab == std::string_view::npos) {
            fields.push_back(line.substr(start));
            return fields;
        }
        fields.push_back(line.substr(start, tab - start));
        start = tab + 1;
    }
}

void requireTabLimit(std::string_view line, const std::string& fileName, int lineNumber) {
    if (countTabs(line) > maxTabsPerLine) {
        throw text::Error(fileName + ", line " + std::to_string(lineNumber) + ": more than " +
                          std::to_string(maxTabsPerLine) +
                          " TAB characters; the file was not loaded.");
    }
}

} // namespace orvane::data
