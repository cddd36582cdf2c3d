#include "text/spin_value.h"

#include <gtest/gtest.h>

namespace orvane::text {
namespace {

TEST(SpinValueTest, ProgramSetValuesAreClamped) {
    SpinValue charge(1, 100, 1);
    EXPECT_EQ(charge.text(), "1");
    charge.setValue(150);
    EXPECT_EQ(charge.text(), "100");
    charge.setValue(-5);
    EXPECT_EQ(charge.text(), "1");
    charge.setValue(42);
    EXPECT_EQ(charge.value(), 42);
}

TEST(SpinValueTest, EqualBoundsTakeAnyValue) {
    SpinValue column(0, 0, 0);
    column.setValue(37);
    EXPECT_EQ(column.value(), 37);
    column.setValue(-3);
    EXPECT_EQ(column.value(), -3);
    column.setText("500");
    column.loseFocus();
    EXPECT_EQ(column.text(), "500");
}

TEST(SpinValueTest, ReadingNeverClamps) {
    SpinValue charge(1, 100, 1);
    charge.setText("0");
    EXPECT_EQ(charge.value(), 0);
    charge.setText("250");
    EXPECT_EQ(charge.value(), 250);
    charge.setText(" $10");
    EXPECT_EQ(charge.value(), 16);
}

TEST(SpinValueTest, NonNumberCountsAsMinimum) {
    SpinValue charge(3, 100, 10);
    const char* texts[] = {"", "abc", "1.5", "7 "};
    for (const char* text : texts) {
        SCOPED_TRACE(text);
        charge.setText(text);
        EXPECT_EQ(charge.value(), 3);
        charge.loseFocus();
        EXPECT_EQ(charge.text(), text);
    }
}

TEST(SpinValueTest, LosingFocusSetsTheNearerBound) {
    struct Case {
        const char* typed;
        const char* after;
    };
    const Case cases[] = {
        {"0", "1"}, {"-7", "1"}, {"250", "100"}, {"100", "100"}, {"050", "050"}, {"$FF", "100"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        SpinValue charge(1, 100, 1);
        charge.setText(c.typed);
        charge.loseFocus();
        EXPECT_EQ(charge.text(), c.after);
    }
}

TEST(SpinValueTest, ChangingABoundKeepsTheText) {
    SpinValue box(0, 100, 80);
    box.setMaximum(50);
    EXPECT_EQ(box.text(), "80");
    EXPECT_EQ(box.value(), 80);
    box.setValue(box.value());
    EXPECT_EQ(box.text(), "50");
}

} // namespace
} // namespace orvane::text
