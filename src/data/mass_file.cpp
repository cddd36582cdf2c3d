#include "data/mass_file.h"

#include <array>
#include <string_view>
#include <utility>
#include <vector>

#include "data/data_file_reader.h"
#include "data/mass_table_check.h"
#include "data/tab_splitter.h"
#include "text/error.h"
#include "text/trim.h"

namespace orvane::data {

namespace {

constexpr std::array<const char*, DataTables::massColumns> headerTexts = {
    "M0", "M1", "M2", "M3", "M4", "M5", "M6", "M7", "M8", "M9", "Elem"};

std::string counted(int count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// Reads the whole file into `masses` in one pass (the grid is a scratch copy, so a file
// refused halfway leaves nothing behind); returns why it was refused, or "".
std::string readMasses(const std::string& dataDirectory, int elementCount, TextGrid& masses) {
    const std::string path = dataFilePath(dataDirectory, massFileName);
    if (!isRegularFile(path)) {
        return std::string(massFileName) + " was not found in " + dataDirectory;
    }
    try {
        DataFileReader reader(path);
        std::string line;
        int r = 0;
        while (reader.readLine(line)) {
            ++r;
            if (r == 1 && line.starts_with("\xef\xbb\xbf")) {
                // an editor's UTF-8 mark would pass for part of the first mass
                return std::string(massFileName) +
                       " starts with a byte-order mark (EF BB BF); save it without one";
            }
            if (countTabs(line) > maxTabsPerLine) {
                return std::string(massFileName) + ", line " + std::to_string(r) + ": more than " +
                       std::to_string(maxTabsPerLine) + " TAB characters";
            }
            const std::vector<std::string_view> fields = splitTabs(line);
            for (std::size_t k = 0; k < fields.size(); ++k) {
                masses.setCell(static_cast<int>(k), r, std::string(text::trimBlanks(fields[k])));
            }
        }
        if (r != elementCount) {
            return std::string(massFileName) + " has " + counted(r, "line", "lines") +
                   "; the element table has " + counted(elementCount, "element", "elements");
        }
    } catch (const text::Error& error) {
        // an optional file that cannot be read is a problem of the accurate masses alone
        return std::string(massFileName) + " could not be read from " + dataDirectory + ": " +
               error.what();
    }
    for (int k = 0; k < DataTables::massColumns; ++k) {
        masses.setCell(k, 0, headerTexts[static_cast<std::size_t>(k)]);
    }
    masses.setRowCount(elementCount + 1);
    return {};
}

} // namespace

void loadMassFile(const std::string& dataDirectory, DataTables& tables) {
    TextGrid masses(DataTables::massColumns, 0);
    std::string problem = readMasses(dataDirectory, tables.elementCount, masses);
    if (problem.empty()) {
        problem = massTableProblem(masses, tables);
    }
    tables.masses = problem.empty() ? std::move(masses) : TextGrid(DataTables::massColumns, 0);
    tables.massFileProblem = std::move(problem);
}

} // namespace orvane::data
