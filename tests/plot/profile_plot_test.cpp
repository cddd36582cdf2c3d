#include "plot/profile_plot.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "plot/recording_canvas.h"

namespace orvane::plot {
namespace {

using testing::RecordingCanvas;

HighResolutionContent threePeaks() {
    HighResolutionContent content;
    content.title = "[M+H]+";
    content.sticks = {{181.0707, 100}, {182.0740, 6.6}, {183.0749, 1.2}};
    content.labelled = content.sticks;
    for (double mz = 181.0; mz <= 183.2; mz += 0.01) {
        content.profile.push_back({mz, 0});
    }
    content.profile[7].intensity = 100;
    content.measured = {{181.07, 90}, {182.07, 7}};
    content.measuredAsSticks = true;
    return content;
}

TEST(HighResolutionPlot, NothingIsDrawnOutsideTheFrameBeyondTicksAndLabels) {
    // Zoomed onto the first peak: the others and most of the profile lie outside.
    const ViewRange views[] = {wholeView(threePeaks().sticks), {181.0, 181.2, 0, 50}};
    for (const ViewRange& view : views) {
        SCOPED_TRACE(view.mzHigh);
        RecordingCanvas canvas(800, 400);
        drawHighResolutionPlot(canvas, view, threePeaks());
        const PlotFrame frame = highResolutionFrame(800, 400);
        ASSERT_FALSE(canvas.lines.empty());
        for (const auto& line : canvas.lines) {
            if (line.color == black) {
                continue; // the frame and its ticks
            }
            // traces end one pixel right of their last point
            EXPECT_GE(std::min(line.x1, line.x2), frame.left);
            EXPECT_LE(std::max(line.x1, line.x2), frame.right + 1);
            EXPECT_GE(std::min(line.y1, line.y2), frame.top);
            EXPECT_LE(std::max(line.y1, line.y2), frame.bottom);
        }
        EXPECT_EQ(canvas.clears, std::vector<Color>{white});
    }
}

TEST(HighResolutionPlot, PeakLabelsHaveFourDecimalsAndNeverOverlap) {
    HighResolutionContent content = threePeaks();
    // A crowd of peaks 0.001 apart: the tallest keeps its label, its neighbours cannot.
    for (int k = 1; k < 10; ++k) {
        content.labelled.push_back({181.0707 + k * 0.001, 100.0 - k * 0.1});
    }
    RecordingCanvas canvas(800, 400);
    drawHighResolutionPlot(canvas, wholeView(content.sticks), content);
    std::vector<RecordingCanvas::Text> labels;
    for (const auto& text : canvas.texts) {
        if (text.color == labelColor) {
            labels.push_back(text);
        }
    }
    ASSERT_GE(labels.size(), 2u);
    EXPECT_EQ(labels[0].text, "181.0707");
    EXPECT_EQ(labels[1].text, "182.0740");
    for (std::size_t a = 0; a < labels.size(); ++a) {
        for (std::size_t b = a + 1; b < labels.size(); ++b) {
            const bool apart = labels[a].x + canvas.textWidth(labels[a].text) <= labels[b].x ||
                               labels[b].x + canvas.textWidth(labels[b].text) <= labels[a].x ||
                               std::abs(labels[a].y - labels[b].y) >= 14;
            EXPECT_TRUE(apart) << labels[a].text << " / " << labels[b].text;
        }
    }
}

TEST(HighResolutionPlot, TheMeasuredSpectrumHasItsOwnColour) {
    RecordingCanvas canvas(800, 400);
    drawHighResolutionPlot(canvas, wholeView(threePeaks().sticks), threePeaks());
    const long long measured =
        std::count_if(canvas.lines.begin(), canvas.lines.end(),
                      [](const auto& line) { return line.color == measuredColor; });
    EXPECT_EQ(measured, 2 * 2); // two sticks, each a line and its end pixel
    for (const auto& line : canvas.lines) {
        if (line.color == measuredColor) {
            EXPECT_EQ(line.width, 2); // over the theory, wider than it
        }
    }
}

TEST(HighResolutionPlot, TheLegendNamesTheTracesInTheirColours) {
    struct Case {
        const char* name;
        bool measured;
        std::vector<std::string> entries;
    };
    const Case cases[] = {{"theory alone", false, {"theory"}},
                          {"with a measurement", true, {"theory", "measured"}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HighResolutionContent content = threePeaks();
        if (!c.measured) {
            content.measured.clear();
        }
        RecordingCanvas canvas(800, 400);
        drawHighResolutionPlot(canvas, wholeView(content.sticks), content);
        std::vector<std::string> legend;
        for (const auto& text : canvas.texts) {
            if (text.text == "theory" || text.text == "measured") {
                legend.push_back(text.text);
                EXPECT_LT(text.x + canvas.textWidth(text.text),
                          highResolutionFrame(800, 400).right);
            }
        }
        EXPECT_EQ(legend, c.entries);
        ASSERT_EQ(canvas.rectangles.size(), c.entries.size());
        EXPECT_EQ(canvas.rectangles[0].brush, profileColor);
        if (c.measured) {
            EXPECT_EQ(canvas.rectangles[1].brush, measuredColor);
        }
    }
}

// The charge marks stand on the m/z axis inside the view, labelled where there is room.
TEST(HighResolutionPlot, ChargeMarksStandOnTheAxisInsideTheView) {
    HighResolutionContent content = threePeaks();
    content.chargeMarks = {{180.0, "9+"}, {181.5, "8+"}, {181.5005, "7+"}, {190.0, "6+"}};
    RecordingCanvas canvas(800, 400);
    const ViewRange view{181.0, 183.0, 0, 110};
    drawHighResolutionPlot(canvas, view, content);
    const PlotFrame frame = highResolutionFrame(800, 400);
    std::vector<RecordingCanvas::Line> ticks;
    for (const auto& line : canvas.lines) {
        if (line.color == chargeMarkColor) {
            ticks.push_back(line);
        }
    }
    ASSERT_EQ(ticks.size(), 2u); // 9+ and 6+ lie outside the view
    for (const auto& tick : ticks) {
        EXPECT_EQ(tick.x1, tick.x2);
        EXPECT_EQ(std::max(tick.y1, tick.y2), frame.bottom - 1);
    }
    std::vector<std::string> labels;
    for (const auto& text : canvas.texts) {
        if (text.color == chargeMarkColor) {
            labels.push_back(text.text);
        }
    }
    // 7+ stands on 8+ and has no room for its label
    EXPECT_EQ(labels, std::vector<std::string>{"8+"});

    // without marks nothing of their colour is drawn
    RecordingCanvas plain(800, 400);
    drawHighResolutionPlot(plain, view, threePeaks());
    EXPECT_TRUE(std::none_of(plain.lines.begin(), plain.lines.end(),
                             [](const auto& line) { return line.color == chargeMarkColor; }));
}

} // namespace
} // namespace orvane::plot
