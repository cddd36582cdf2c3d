#include "plot/stick_plot.h"

#include <gtest/gtest.h>

#include "plot/plot_range.h"
#include "plot/recording_canvas.h"
#include "plot/test_controls.h"
#include "plot/test_patterns.h"
#include "text/error.h"

namespace orvane::plot {
namespace {

using testing::dichlorine;
using testing::dichlorineWeight;
using testing::makePattern;
using testing::RecordingCanvas;
using Kind = RecordingCanvas::Kind;

struct Display {
    PlotState state;
    testing::Controls controls;
    std::string fw1;
    RecordingCanvas canvas{782, 553};

    void range(const calc::PatternState& pattern, double formulaWeight) {
        testing::computeRange(state, controls, fw1, pattern, formulaWeight);
    }
    /// Spectrum1Click: the image size from the canvas, the drawing, then fw1 again.
    void draw(const calc::PatternState& pattern, double formulaWeight, char separator = '.') {
        state.imageWidth = canvas.width();
        state.imageHeight = canvas.height();
        const std::string title = "Cl2";
        const int charge = controls.charge.value();
        drawSpectrum(canvas, state,
                     {pattern, formulaWeight, title, charge, controls.threshold.value(),
                      controls.showPeakPositions, separator});
        fw1 = averageMzText(formulaWeight, charge, separator);
    }
    /// Apply with the given bounds: the typed range holds for one computation and drawing.
    void apply(double left, double right, const calc::PatternState& pattern, double formulaWeight) {
        state.xmin = left;
        state.xmax = right;
        controls.manualRange = true;
        range(pattern, formulaWeight);
        draw(pattern, formulaWeight);
        controls.manualRange = false;
    }
};

void expectLine(const RecordingCanvas::Line& line, long long x1, long long y1, long long x2,
                long long y2) {
    EXPECT_EQ(line.x1, x1);
    EXPECT_EQ(line.y1, y1);
    EXPECT_EQ(line.x2, x2);
    EXPECT_EQ(line.y2, y2);
}

void expectText(const RecordingCanvas::Text& text, long long x, long long y,
                const std::string& what, Color color) {
    EXPECT_EQ(text.x, x);
    EXPECT_EQ(text.y, y);
    EXPECT_EQ(text.text, what);
    EXPECT_EQ(text.color, color);
    EXPECT_EQ(text.pointSize, 10);
}

struct LayoutCase {
    const char* name;
    int charge;
    bool manual;
    double left, right;
    const char* leftLabel;
    const char* averageLabel;
    const char* rightLabel;
    const char* leftPeak;  // label of index 71, left of the average
    const char* rightPeak; // label of index 73, right of it
    const char* outerPeak; // label of index 75, which lies beyond N0 + s
};

// The layout's image of 782 x 553 puts every range on the same frame and axes.
TEST(SpectrumRenderer, LayoutLandsOnTheDesignedPixels) {
    const LayoutCase cases[] = {
        // Cl2's M+4 at index 75 lies beyond N0 + s = 74: the span is the centroid's index 72
        // plus and minus 3, 69 to 75.
        {"automatic, charge 1", 1, false, 0, 0, "69.00", "70.90", "75.00", "69.93", "71.93",
         "73.93"},
        {"automatic, charge 2", 2, false, 0, 0, "34.50", "35.45", "37.50", "34.97", "35.97",
         "36.97"},
        {"manual, charge 1", 1, true, 69.5, 72.25, "69.50", "70.90", "72.25", "69.93", "71.93",
         "73.93"},
        {"manual, charge 2", 2, true, 30, 40, "30.00", "35.45", "40.00", "34.97", "35.97", "36.97"},
    };
    const calc::PatternState pattern = dichlorine();
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.name);
        Display display;
        display.controls.charge.setValue(c.charge);
        if (c.manual) {
            display.apply(c.left, c.right, pattern, dichlorineWeight);
        } else {
            display.range(pattern, dichlorineWeight);
            display.draw(pattern, dichlorineWeight);
        }
        const RecordingCanvas& canvas = display.canvas;
        const PlotState& state = display.state;
        const int s = state.s;
        ASSERT_EQ(s, 3);
        ASSERT_EQ(state.spanFirst, 69);
        ASSERT_EQ(state.spanLast, 75);
        EXPECT_EQ(state.imageWidth, 782);
        EXPECT_EQ(state.imageHeight, 553);

        // the page: the whole picture white, no outline anywhere
        EXPECT_TRUE(canvas.rectangles.empty());
        EXPECT_EQ(canvas.clears, std::vector<Color>{white});

        const auto& lines = canvas.lines;
        ASSERT_EQ(lines.size(), 4u + (2u * s + 1) + 13u + 1u + (2u * s + 1));
        expectLine(lines[0], 40, 527, 40, 5);
        expectLine(lines[1], 40, 5, 771, 5);
        expectLine(lines[2], 771, 5, 771, 527);
        expectLine(lines[3], 771, 527, 40, 527);

        // m/z ticks at whole indices; in the automatic range the outer ones are the frame edges
        long long previous = -1000000;
        for (int k = 0; k <= 2 * s; ++k) {
            const auto& tick = lines[4 + k];
            EXPECT_EQ(tick.x1, tick.x2);
            EXPECT_GT(tick.x1, previous);
            previous = tick.x1;
            EXPECT_EQ(tick.y1, 527);
            EXPECT_EQ(tick.y2, 533);
        }
        if (!c.manual) {
            EXPECT_EQ(lines[4].x1, 40);
            EXPECT_EQ(lines[4 + 2 * s].x1, 771);
        }

        const long long tickRows[] = {527, 483, 440, 396, 353, 310, 266, 223, 179, 136, 92, 49, 5};
        for (int i = 0; i <= 12; ++i) {
            SCOPED_TRACE(i);
            expectLine(lines[11 + i], 40, tickRows[i], 29, tickRows[i]);
            EXPECT_EQ(lines[11 + i].color, black);
            EXPECT_EQ(lines[11 + i].style, PenStyle::Solid);
        }

        const auto& marker = lines[24];
        EXPECT_EQ(marker.color, blue);
        EXPECT_EQ(marker.style, PenStyle::Dotted);
        EXPECT_EQ(marker.width, 1);
        EXPECT_EQ(marker.x1, marker.x2);
        EXPECT_EQ(marker.y1, 527);
        EXPECT_EQ(marker.y2, 5);

        const auto& texts = canvas.texts;
        ASSERT_EQ(texts.size(), 7u + 1u + 3u + 1u + 3u);
        const long long labelRows[] = {521, 434, 347, 260, 173, 87, 0};
        const char* labelTexts[] = {"0.00", "20.00", "40.00", "60.00", "80.00", "100.00", "120.00"};
        for (int i = 0; i < 7; ++i) {
            expectText(texts[i], 4, labelRows[i], labelTexts[i], black);
        }
        expectText(texts[7], 48, 10, std::string("Cl2 (Charge:") + std::to_string(c.charge) + ")",
                   black);
        expectText(texts[8], 26, 536, c.leftLabel, black);
        EXPECT_EQ(texts[9].y, 536);
        EXPECT_EQ(texts[9].text, c.averageLabel);
        expectText(texts[10], 749, 536, c.rightLabel, black);

        // the average text starts about 3.7 columns right of the marker, in red
        EXPECT_EQ(texts[11].y, 36);
        EXPECT_GE(texts[11].x - marker.x1, 3);
        EXPECT_LE(texts[11].x - marker.x1, 4);
        EXPECT_EQ(texts[11].text, c.averageLabel);
        EXPECT_EQ(texts[11].color, red);

        // sticks, one per index of the span: 100 at 71, 63.96 at 73, 10.23 at 75, 0 elsewhere
        const auto stick = [&](int j) { return lines[25 + (j - 69)]; };
        for (int j = 69; j <= 75; ++j) {
            SCOPED_TRACE(j);
            EXPECT_EQ(stick(j).x1, stick(j).x2);
            EXPECT_EQ(stick(j).y1, 527);
            EXPECT_EQ(stick(j).color, black);
            EXPECT_EQ(stick(j).style, PenStyle::Solid);
            if (j != 71 && j != 73 && j != 75) {
                EXPECT_EQ(stick(j).y2, 527);
            }
        }
        EXPECT_EQ(stick(71).y2, 92);
        EXPECT_EQ(stick(73).y2, 249);
        EXPECT_EQ(stick(75).y2, 482);
        // neighbouring sticks lie one index step apart, offset from the ticks
        EXPECT_NEAR(static_cast<double>(stick(73).x1 - stick(71).x1),
                    static_cast<double>(lines[6].x1 - lines[4].x1), 1.0);

        // peak labels about 13 rows above their stick; left of the average they end near it
        expectText(texts[12], texts[12].x, 79, c.leftPeak, blue);
        EXPECT_GE(stick(71).x1 - texts[12].x, 36);
        EXPECT_LE(stick(71).x1 - texts[12].x, 37);
        expectText(texts[13], stick(73).x1, 236, c.rightPeak, blue);
        expectText(texts[14], stick(75).x1, 469, c.outerPeak, blue);
    }
}

TEST(SpectrumRenderer, SticksAndTicksOfALargeMoleculeStandInsideTheFrame) {
    // FW - C = 2000 here, as for a titin-sized molecule: without the frame following the
    // sticks the whole envelope would be drawn far right of the picture.
    const calc::PatternState pattern = makePattern(100, 40, {{131, 40}, {132, 100}, {133, 60}});
    for (const int charge : {1, 25}) {
        SCOPED_TRACE(charge);
        Display display;
        display.controls.charge.setValue(charge);
        display.range(pattern, 2132.1);
        display.draw(pattern, 2132.1);
        const auto& lines = display.canvas.lines;
        const std::size_t span = 2u * display.state.s + 1;
        ASSERT_EQ(lines.size(), 4u + span + 13u + 1u + span);
        // ticks, then after the intensity ticks and the average marker, the sticks
        for (std::size_t k = 0; k < span; ++k) {
            const auto& tick = lines[4 + k];
            EXPECT_GE(tick.x1, 40);
            EXPECT_LE(tick.x1, 771);
            const auto& stick = lines[lines.size() - span + k];
            EXPECT_GE(stick.x1, 40);
            EXPECT_LE(stick.x1, 771);
        }
        // the tallest stick reaches 100
        EXPECT_EQ(lines[lines.size() - span + 3].y2, 92);
    }
}

TEST(SpectrumRenderer, StepsComeInTheirOrder) {
    Display display;
    const calc::PatternState pattern = dichlorine();
    display.range(pattern, dichlorineWeight);
    display.draw(pattern, dichlorineWeight);
    const int s = display.state.s;

    std::vector<Kind> expected = {Kind::Pen, Kind::Brush, Kind::Clear, Kind::MoveTo};
    expected.insert(expected.end(), 4, Kind::LineTo);
    for (int h = -s; h <= s; ++h) {
        expected.insert(expected.end(), {Kind::MoveTo, Kind::LineTo});
    }
    for (int i = 0; i <= 12; ++i) {
        expected.insert(expected.end(), {Kind::MoveTo, Kind::LineTo});
        if (i % 2 == 0) {
            expected.insert(expected.end(), {Kind::Font, Kind::Text});
        }
    }
    expected.insert(expected.end(), {Kind::Font, Kind::Text, Kind::Text, Kind::Text, Kind::Text});
    expected.insert(expected.end(),
                    {Kind::Pen, Kind::MoveTo, Kind::LineTo, Kind::Font, Kind::Text});
    expected.push_back(Kind::Pen);
    // three labels: 71, 73 and 75, which lies beyond N0 + s
    expected.insert(expected.end(),
                    {Kind::Font, Kind::Text, Kind::Font, Kind::Text, Kind::Font, Kind::Text});
    for (int j = -s; j <= s; ++j) {
        expected.insert(expected.end(), {Kind::MoveTo, Kind::LineTo});
    }

    EXPECT_EQ(display.canvas.calls, expected);
}

TEST(SpectrumRenderer, ThresholdDecidesWhichPeaksAreLabelled) {
    // 0.1 as a double lies just above a tenth, so the default threshold labels it.
    const calc::PatternState pattern =
        makePattern(50, 3, {{48, 0.05}, {49, 0.1}, {50, 100}, {51, 10}, {52, 0.002}});
    struct Case {
        int threshold;
        bool showPeakPositions;
        std::vector<std::string> labels;
    };
    const Case cases[] = {
        {0, true, {"47.91", "48.91", "49.91", "50.91", "51.91"}},
        {1, true, {"48.91", "49.91", "50.91"}},
        {100, true, {"49.91"}}, // 10 is not above 10
        {999, true, {"49.91"}},
        {1000, true, {}},
        {1, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.threshold);
        Display display;
        display.controls.threshold.setValue(c.threshold);
        display.controls.showPeakPositions = c.showPeakPositions;
        display.range(pattern, 50);
        display.draw(pattern, 50);
        std::vector<std::string> labels;
        for (const auto& text : display.canvas.texts) {
            if (text.color == blue) {
                labels.push_back(text.text);
            }
        }
        EXPECT_EQ(labels, c.labels);
        // every index of the span gets its stick, labelled or not
        const auto& lines = display.canvas.lines;
        const std::size_t sticks = 2u * display.state.s + 1;
        ASSERT_EQ(display.state.s, 5);
        EXPECT_EQ(lines.size(), 4u + sticks + 13u + 1u + sticks);
    }
}

TEST(SpectrumRenderer, PeakAtTheAverageIsLabelledFromItsStick) {
    // C = 100 exactly and FW = 100.5: index 100 sits on the average m/z.
    const calc::PatternState pattern = makePattern(100, 1, {{100, 100}});
    ASSERT_EQ(pattern.centroid, 100);
    Display display;
    display.range(pattern, 100.5);
    display.draw(pattern, 100.5);
    const auto& texts = display.canvas.texts;
    ASSERT_EQ(texts.back().text, "100.50");
    const auto& stick = display.canvas.lines[display.canvas.lines.size() - 2];
    EXPECT_EQ(texts.back().x, stick.x1);
    EXPECT_EQ(stick.y2, 92);
}

TEST(SpectrumRenderer, ThresholdChangeKeepsAManualRange) {
    const calc::PatternState pattern = dichlorine();
    Display display;
    display.apply(70, 90, pattern, dichlorineWeight);
    display.controls.threshold.setValue(0);
    display.canvas = RecordingCanvas(782, 553);
    display.draw(pattern, dichlorineWeight);
    EXPECT_EQ(display.canvas.texts[8].text, "70.00");
    EXPECT_EQ(display.canvas.texts[10].text, "90.00");
    EXPECT_EQ(display.canvas.lines[0].x1, 40);
}

TEST(SpectrumRenderer, NarrowManualRangeStillDrawsEveryTick) {
    const calc::PatternState pattern = dichlorine();
    Display display;
    display.apply(71, 72, pattern, dichlorineWeight);
    // ticks at 68 .. 74 mostly fall outside the image; they are passed on as they are
    const auto& lines = display.canvas.lines;
    EXPECT_LT(lines[4].x1, 0);
    EXPECT_GT(lines[10].x1, 782);
    EXPECT_EQ(lines.size(), 4u + 7u + 13u + 1u + 7u);
}

TEST(SpectrumRenderer, EqualBoundsStopBeforeAnythingIsDrawn) {
    const calc::PatternState pattern = dichlorine();
    Display display;
    try {
        display.apply(80, 80, pattern, dichlorineWeight);
        FAIL() << "no error";
    } catch (const text::Error& error) {
        EXPECT_STREQ(error.what(), "0 による浮動小数点数除算");
    }
    EXPECT_EQ(display.canvas.drawingCalls(), 0u);
}

TEST(SpectrumRenderer, ChargeZeroStopsAtTheFirstTick) {
    struct Case {
        const char* name;
        calc::PatternState pattern;
        double formulaWeight;
        const char* message;
    };
    const Case cases[] = {
        {"first tick at index 69", dichlorine(), dichlorineWeight, "0 による浮動小数点数除算"},
        {"first tick at index 0", makePattern(1, 1, {{1, 100}}), 1, "不正な浮動小数点数演算命令"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Display display;
        display.range(c.pattern, c.formulaWeight);
        display.controls.charge.setText("0");
        try {
            display.draw(c.pattern, c.formulaWeight);
            FAIL() << "no error";
        } catch (const text::Error& error) {
            EXPECT_STREQ(error.what(), c.message);
        }
        // the white page and the frame only
        EXPECT_EQ(display.canvas.clears.size(), 1u);
        EXPECT_EQ(display.canvas.lines.size(), 4u);
        EXPECT_TRUE(display.canvas.texts.empty());
    }
}

TEST(SpectrumRenderer, EveryRangeStartsFromAWhitePage) {
    // Reversed and very wide ranges brought the old page rectangle's outline into the picture
    // and left the previous picture at the edges; the page is now the whole picture.
    const struct { double left, right; } ranges[] = {{185, 175}, {-20000, 20000}, {70, 90}};
    for (const auto& range : ranges) {
        SCOPED_TRACE(range.left);
        Display display;
        display.apply(range.left, range.right, dichlorine(), dichlorineWeight);
        EXPECT_EQ(display.canvas.clears, std::vector<Color>{white});
        EXPECT_TRUE(display.canvas.rectangles.empty());
        EXPECT_EQ(display.canvas.calls[2], Kind::Clear);
    }
}

TEST(SpectrumRenderer, IndicesOutsideThePatternArrayDrawAsZero) {
    // The empty formula: N0 = 0, W = 0, one entry, s = 1, so indices -1 and 1 are drawn.
    const calc::PatternState pattern = makePattern(0, 0, {{0, 100}});
    Display display;
    display.range(pattern, 0);
    display.draw(pattern, 0);
    const auto& lines = display.canvas.lines;
    ASSERT_EQ(lines.size(), 4u + 3u + 13u + 1u + 3u);
    EXPECT_EQ(lines[lines.size() - 3].y2, 527);
    EXPECT_EQ(lines[lines.size() - 2].y2, 92);
    EXPECT_EQ(lines[lines.size() - 1].y2, 527);
}

TEST(SpectrumRenderer, DrawingRewritesTheAverageBoxAndUsesTheSeparator) {
    const calc::PatternState pattern = dichlorine();
    Display display;
    display.controls.charge.setValue(3);
    display.range(pattern, dichlorineWeight);
    display.fw1 = "stale";
    display.draw(pattern, dichlorineWeight, ',');
    EXPECT_EQ(display.fw1, "23,63333");
    EXPECT_EQ(display.canvas.texts[6].text, "120,00");
    EXPECT_EQ(display.canvas.texts[7].text, "Cl2 (Charge:3)");
    EXPECT_EQ(display.canvas.texts[11].text, "23,63");
}

} // namespace
} // namespace orvane::plot
