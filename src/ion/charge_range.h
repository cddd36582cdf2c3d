#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orvane::ions {

// The highest charge of a ladder, the bound of the main window's charge box.
inline constexpr int maximumLadderCharge = 100;

// The charges of a ladder, both ends included.
struct ChargeRange {
    int first = 1;
    int last = 1;
    friend bool operator==(const ChargeRange&, const ChargeRange&) = default;
};

/// Reads "A-B" (blanks allowed around the numbers) or a single charge "Z"; nothing for a
/// blank text, which asks for the default range. Raises text::Error saying why for a text
/// that is neither, A above B, A below 1 or B above maximumLadderCharge.
std::optional<ChargeRange> readChargeRange(std::string_view text);

/// "A-B", as readChargeRange reads it back.
std::string chargeRangeText(const ChargeRange& range);

} // namespace orvane::ions
