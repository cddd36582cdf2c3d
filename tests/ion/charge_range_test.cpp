#include "ion/charge_range.h"

#include <functional>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "text/error.h"

namespace orvane::ions {
namespace {

std::string errorOf(const std::function<void()>& run) {
    try {
        run();
    } catch (const text::Error& error) {
        return error.what();
    }
    return "no error";
}

// What the range box takes, what it refuses and why; a range read back from its text.
TEST(ChargeRange, ReadsRangesAndSingleChargesAndSaysWhyItRefuses) {
    const struct {
        const char* text;
        std::optional<ChargeRange> range;
        const char* error;
    } cases[] = {
        {"0-5", {}, "The charges \"0-5\" start below 1."},
        {"1-101", {}, "The charges \"1-101\" go above 100."},
        {"9-3", {}, "The charges \"9-3\" run backwards; the smaller comes first."},
        {"a-3", {}, "The charges \"a-3\" are not a range such as \"5-20\"."},
        {"3-", {}, "The charges \"3-\" are not a range such as \"5-20\"."},
        {"-3", {}, "The charges \"-3\" are not a range such as \"5-20\"."},
        {"2.5", {}, "The charges \"2.5\" are not a range such as \"5-20\"."},
        {"1-2-3", {}, "The charges \"1-2-3\" are not a range such as \"5-20\"."},
        {"", std::nullopt, nullptr},
        {"  ", std::nullopt, nullptr},
        {"5-20", ChargeRange{5, 20}, nullptr},
        {" 7 ", ChargeRange{7, 7}, nullptr},
        {"2 - 4", ChargeRange{2, 4}, nullptr},
        {"1-100", ChargeRange{1, 100}, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        if (c.error != nullptr) {
            EXPECT_EQ(errorOf([&] { readChargeRange(c.text); }), c.error);
            continue;
        }
        EXPECT_EQ(readChargeRange(c.text), c.range);
        if (c.range) {
            EXPECT_EQ(readChargeRange(chargeRangeText(*c.range)), c.range);
        }
    }
}

} // namespace
} // namespace orvane::ions
