#include "plot/plot_state.h"

#include <gtest/gtest.h>

#include "text/error.h"

namespace orvane::plot {
namespace {

PlotState tenByTen() {
    PlotState state;
    state.xlo = 0;
    state.xhi = 10;
    state.ylo = 0;
    state.yhi = 10;
    state.imageWidth = 10;
    state.imageHeight = 10;
    return state;
}

TEST(PixelMapping, ExtentsFallOnTheImageEdges) {
    PlotState state;
    state.xlo = 67.67;
    state.xhi = 74.09;
    state.ylo = -6;
    state.yhi = 121.2;
    state.imageWidth = 782;
    state.imageHeight = 553;
    EXPECT_EQ(px(state, state.xlo), 0);
    EXPECT_EQ(px(state, state.xhi), 782);
    EXPECT_EQ(py(state, state.ylo), 553);
    EXPECT_EQ(py(state, state.yhi), 0);
}

TEST(PixelMapping, TiesGoToTheEvenPixel) {
    const PlotState state = tenByTen();
    struct Case {
        long double value;
        long long column;
        long long row;
    };
    const Case cases[] = {
        {2.5L, 2, 8},    {3.5L, 4, 6},    {-0.5L, 0, 10},
        {-1.5L, -2, 12}, {2.4999L, 2, 8}, {2.5001L, 3, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<double>(c.value));
        EXPECT_EQ(px(state, c.value), c.column);
        EXPECT_EQ(py(state, c.value), c.row);
    }
}

TEST(PixelMapping, ValuesOutsideTheExtentsPassThrough) {
    const PlotState state = tenByTen();
    EXPECT_EQ(px(state, -25), -25);
    EXPECT_EQ(px(state, 1e6L), 1000000);
    EXPECT_EQ(py(state, 30), -20);
}

TEST(PixelMapping, ProductIsFormedBeforeTheDivision) {
    // Each of these is an exact tie only when the product comes first; dividing first
    // leaves it a hair off and rounds it the other way.
    struct Case {
        double span;
        int width;
        long double x;
        long long column;
    };
    const Case cases[] = {{30, 75, 1, 2}, {14, 21, 5, 8}, {6, 51, 7, 60}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width);
        PlotState state = tenByTen();
        state.xhi = c.span;
        state.imageWidth = c.width;
        EXPECT_EQ(px(state, c.x), c.column);
    }
}

TEST(PixelMapping, CollapsedExtentsAreAnError) {
    PlotState state = tenByTen();
    state.xhi = state.xlo;
    try {
        px(state, 5);
        FAIL() << "no error";
    } catch (const text::Error& error) {
        EXPECT_STREQ(error.what(), "0 による浮動小数点数除算");
    }
    try {
        px(state, state.xlo);
        FAIL() << "no error";
    } catch (const text::Error& error) {
        EXPECT_STREQ(error.what(), "不正な浮動小数点数演算命令");
    }
}

TEST(PixelMapping, AColumnBeyondTheIntegerRangeIsAnInvalidOperation) {
    PlotState state = tenByTen();
    state.xhi = 1e-300;
    try {
        px(state, 1e300L);
        FAIL() << "no error";
    } catch (const text::Error& error) {
        EXPECT_STREQ(error.what(), "不正な浮動小数点数演算命令");
    }
}

} // namespace
} // namespace orvane::plot
