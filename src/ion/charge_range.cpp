#include "ion/charge_range.h"

#include <charconv>

#include "text/error.h"
#include "text/trim.h"

namespace orvane::ions {

namespace {

// A whole number of digits only; nothing for anything else.
std::optional<long long> wholeOf(std::string_view text) {
    text = text::trimBlanks(text);
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || text.front() == '-' || text.front() == '+' || error != std::errc() ||
        end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<ChargeRange> readChargeRange(std::string_view text) {
    const std::string_view trimmed = text::trimBlanks(text);
    if (trimmed.empty()) {
        return std::nullopt;
    }
    const std::string quoted = "\"" + std::string(trimmed) + "\"";
    const std::size_t dash = trimmed.find('-');
    const std::optional<long long> first = wholeOf(trimmed.substr(0, dash));
    const std::optional<long long> last =
        dash == std::string_view::npos ? first : wholeOf(trimmed.substr(dash + 1));
    if (!first || !last) {
        throw text::Error("The charges " + quoted + " are not a range such as \"5-20\".");
    }
    if (*first < 1) {
        throw text::Error("The charges " + quoted + " start below 1.");
    }
    if (*last > maximumLadderCharge) {
        throw text::Error("The charges " + quoted + " go above " +
                          std::to_string(maximumLadderCharge) + ".");
    }
    if (*first > *last) {
        throw text::Error("The charges " + quoted + " run backwards; the smaller comes first.");
    }
    return ChargeRange{static_cast<int>(*first), static_cast<int>(*last)};
}

std::string chargeRangeText(const ChargeRange& range) {
    return std::to_string(range.first) + "-" + std::to_string(range.last);
}

} // namespace orvane::ions
