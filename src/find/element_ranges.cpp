#include "find/element_ranges.h"

#include <algorithm>
#include <cstddef>

#include "formula/formula_cursor.h"

namespace orvane::find {

namespace {

bool isUpper(char c) {
    return c >= 'A' && c <= 'Z';
}

// The column and length of the longest symbol at the cursor; {0, 0} for none.
std::pair<int, std::size_t> symbolAt(std::string_view rest,
                                     const std::vector<std::string>& symbols) {
    int column = 0;
    std::size_t best = 0;
    for (std::size_t c = 1; c < symbols.size(); ++c) {
        const std::string& symbol = symbols[c];
        if (!symbol.empty() && symbol.size() > best && rest.starts_with(symbol)) {
            best = symbol.size();
            column = static_cast<int>(c);
        }
    }
    return {column, best};
}

// A whole count at the cursor, which must stand at a digit.
long long readCount(formula::FormulaCursor& cursor, const char* what) {
    if (!cursor.atDigit()) {
        throw cursor.refusal(std::string(what) + " is expected at " +
                             cursor.positionText(cursor.offset()));
    }
    const std::size_t start = cursor.offset();
    long long count = 0;
    while (cursor.atDigit()) {
        count = std::min(count * 10 + (cursor.peek() - '0'), largestRangeCount + 1);
        cursor.advance();
    }
    if (cursor.peek() == '.' || cursor.peek() == cursor.separator()) {
        throw cursor.refusal("the count at " + cursor.positionText(start) + " is not whole");
    }
    if (count > largestRangeCount) {
        throw cursor.refusal("the count at " + cursor.positionText(start) + " is above " +
                             std::to_string(largestRangeCount));
    }
    return count;
}

} // namespace

std::vector<ElementRange> readElementRanges(std::string_view text,
                                            const std::vector<std::string>& symbols) {
    formula::FormulaCursor cursor(text, "Element ranges", '.');
    std::vector<ElementRange> ranges;
    cursor.skipBlanks();
    if (cursor.atEnd()) {
        throw cursor.refusal("no element is given");
    }
    while (!cursor.atEnd()) {
        const std::size_t at = cursor.offset();
        const auto [column, length] = isUpper(cursor.peek()) ? symbolAt(text.substr(at), symbols)
                                                             : std::pair<int, std::size_t>{0, 0};
        if (column == 0) {
            throw cursor.refusal("an element symbol is expected at " + cursor.positionText(at));
        }
        ElementRange range{column, symbols[static_cast<std::size_t>(column)], 0, 0};
        // a structured binding is not captured by clang 14's lambdas
        if (std::any_of(ranges.begin(), ranges.end(),
                        [&range](const ElementRange& r) { return r.column == range.column; })) {
            throw cursor.refusal(range.symbol + " at " + cursor.positionText(at) +
                                 " is given a second time");
        }
        cursor.advance(length);
        range.minimum = readCount(cursor, "a count");
        range.maximum = range.minimum;
        if (cursor.peek() == '-') {
            cursor.advance();
            const std::size_t maximumAt = cursor.offset();
            range.maximum = readCount(cursor, "a largest count");
            if (range.maximum < range.minimum) {
                throw cursor.refusal("the largest count of " + range.symbol + " at " +
                                     cursor.positionText(maximumAt) + " is below its smallest");
            }
        }
        ranges.push_back(std::move(range));
        cursor.skipBlanks();
    }
    return ranges;
}

} // namespace orvane::find
