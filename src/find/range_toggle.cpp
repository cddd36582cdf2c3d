#include "find/range_toggle.h"

#include <vector>

namespace orvane::find {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

std::string toggledElementRange(std::string_view ranges, std::string_view symbol,
                                std::string_view added) {
    std::vector<std::string_view> words;
    for (std::size_t at = 0; at < ranges.size();) {
        while (at < ranges.size() && isBlank(ranges[at])) {
            ++at;
        }
        std::size_t end = at;
        while (end < ranges.size() && !isBlank(ranges[end])) {
            ++end;
        }
        if (end > at) {
            words.push_back(ranges.substr(at, end - at));
        }
        at = end;
    }
    std::string result;
    bool removed = false;
    for (const std::string_view word : words) {
        const bool ofSymbol = word.size() > symbol.size() && word.starts_with(symbol) &&
                              word[symbol.size()] >= '0' && word[symbol.size()] <= '9';
        if (ofSymbol) {
            removed = true;
            continue;
        }
        result += (result.empty() ? "" : " ") + std::string(word);
    }
    if (!removed) {
        result += (result.empty() ? "" : " ") + std::string(symbol) + std::string(added);
    }
    return result;
}

} // namespace orvane::find
