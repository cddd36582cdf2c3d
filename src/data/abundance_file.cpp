#include "data/abundance_file.h"

#include <array>
#include <string_view>
#include <vector>

#include "data/data_file_reader.h"
#include "data/tab_splitter.h"
#include "text/trim.h"

namespace orvane::data {

namespace {

constexpr std::array<const char*, DataTables::isotopeColumns> headerTexts = {
    "Width", "p1", "p2", "p3", "p4", "p5", "p6", "p7", "p8", "p9",  "x0",
    "x1",    "x2", "x3", "x4", "x5", "x6", "x7", "x8", "x9", "Elem"};

// The counting pass: every line up to the end of the data, each within the TAB limit.
int countLines(const std::string& path) {
    DataFileReader reader(path);
    std::string line;
    int count = 0;
    while (reader.readLine(line)) {
        ++count;
        requireTabLimit(line, abundanceFileName, count);
    }
    return count;
}

} // namespace

bool loadAbundanceFile(const std::string& dataDirectory, DataTables& tables,
                       text::Notifier& notifier) {
    const std::string path = dataFilePath(dataDirectory, abundanceFileName);
    if (!isRegularFile(path)) {
        notifier.notify(abundanceFileMissing);
        return false;
    }
    if (countLines(path) != tables.elementCount) {
        notifier.notify(lineCountMismatch);
        return false;
    }

    DataFileReader reader(path);
    std::string line;
    for (int r = 1; reader.readLine(line); ++r) {
        // checked again: the file may have changed since the counting pass
        requireTabLimit(line, abundanceFileName, r);
        const std::vector<std::string_view> fields = splitTabs(line);
        if (r == 1) {
            tables.isotopes.setRowCount(tables.elementCount + 1);
            tables.isotopes.setColumnCount(static_cast<int>(fields.size()));
            for (int k = 0; k < DataTables::isotopeColumns; ++k) {
                tables.isotopes.setCell(k, 0, headerTexts[static_cast<std::size_t>(k)]);
            }
        }
        for (std::size_t k = 0; k < fields.size(); ++k) {
            tables.isotopes.setCell(static_cast<int>(k), r,
                                    std::string(text::trimBlanks(fields[k])));
        }
    }
    return true;
}

} // namespace orvane::data
