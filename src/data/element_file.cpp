#include "data/element_file.h"

#include <string_view>
#include <vector>

#include "data/data_file_reader.h"
#include "data/tab_splitter.h"

namespace orvane::data {

namespace {

std::string fieldOrEmpty(const std::vector<std::string_view>& fields, int index) {
    // a weights line shorter than the symbols line leaves the remaining weights empty
    const auto i = static_cast<std::size_t>(index);
    return i < fields.size() ? std::string(fields[i]) : std::string();
}

// Steps 4 to 6: the element count, the table's size, the numbers and the symbols.
void writeSymbols(const std::vector<std::string_view>& symbols, DataTables& tables) {
    const int n = static_cast<int>(symbols.size()) - 1;
    tables.elementCount = n;
    tables.elements.setRowCount(DataTables::elementRows);
    tables.elements.setColumnCount(n + 1);
    for (int c = 0; c <= n; ++c) {
        if (c > 0) {
            tables.elements.setCell(c, HeaderRow, std::to_string(c));
        }
        tables.elements.setCell(c, SymbolRow, fieldOrEmpty(symbols, c));
    }
}

} // namespace

bool loadElementFile(const std::string& dataDirectory, DataTables& tables,
                     text::Notifier& notifier) {
    const std::string path = dataFilePath(dataDirectory, elementFileName);
    if (!isRegularFile(path)) {
        notifier.notify(elementFileMissing);
        return false;
    }

    DataFileReader reader(path);
    std::string symbolsLine;
    reader.readLine(symbolsLine);
    requireTabLimit(symbolsLine, elementFileName, 1);
    const std::vector<std::string_view> symbols = splitTabs(symbolsLine);

    // Both lines are checked before the table changes; a read error in the weights line
    // still leaves the symbols written, as the load had got that far.
    std::string weightsLine;
    try {
        reader.readLine(weightsLine); // past the end: an empty line
    } catch (...) {
        writeSymbols(symbols, tables);
        throw;
    }
    requireTabLimit(weightsLine, elementFileName, 2);
    const std::vector<std::string_view> weights = splitTabs(weightsLine);

    writeSymbols(symbols, tables);
    const int n = tables.elementCount;
    for (int c = 0; c <= n; ++c) {
        tables.elements.setCell(c, WeightRow, fieldOrEmpty(weights, c));
        tables.elements.setCell(c, CountRow, c == 0 ? "Count" : "0");
        tables.elements.setCell(c, PercentRow, c == 0 ? "Weight(%)" : "0");
    }
    return true;
}

} // namespace orvane::data
