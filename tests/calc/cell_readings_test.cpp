#include "calc/cell_readings.h"

#include <string>

#include <gtest/gtest.h>

#include "text/error.h"

namespace orvane::calc {
namespace {

TEST(CellReadings, ANewTextIsReadAgain) {
    CellReadings readings;
    EXPECT_EQ(readings.real(3, "12.011", '.'), 12.011);
    EXPECT_EQ(readings.real(3, "12.011", '.'), 12.011);
    EXPECT_EQ(readings.real(3, "12", '.'), 12.0);
    EXPECT_EQ(readings.real(4, "12.011", '.'), 12.011);
    EXPECT_EQ(readings.generalText(3), "12");
}

TEST(CellReadings, TheSeparatorIsPartOfTheReading) {
    CellReadings readings;
    EXPECT_EQ(readings.real(1, "1,5", ','), 1.5);
    EXPECT_EQ(readings.generalText(1), "1,5");
    EXPECT_THROW(readings.real(1, "1,5", '.'), text::Error);
    EXPECT_EQ(readings.real(1, "1.5", '.'), 1.5);
    EXPECT_EQ(readings.generalText(1), "1.5");
}

TEST(CellReadings, BadTextsFailAtEveryReading) {
    CellReadings readings;
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            readings.real(0, "abc", '.');
            FAIL() << "no error";
        } catch (const text::Error& error) {
            EXPECT_STREQ(error.what(), "'abc' は浮動小数点数ではありません");
        }
        try {
            readings.integer(0, "1.5");
            FAIL() << "no error";
        } catch (const text::Error& error) {
            EXPECT_STREQ(error.what(), "'1.5' は整数ではありません");
        }
    }
}

TEST(CellReadings, IntegersAndRealsOfTheSameTextAreReadApart) {
    CellReadings readings;
    EXPECT_EQ(readings.integer(2, "$10"), 16);
    EXPECT_THROW(readings.real(2, "$10", '.'), text::Error);
    EXPECT_EQ(readings.real(2, "10", '.'), 10.0);
    EXPECT_EQ(readings.integer(2, "10"), 10);
}

} // namespace
} // namespace orvane::calc
