#include "cli/calculation_watch.h"

#include <condition_variable>
#include <mutex>

#include <gtest/gtest.h>

namespace orvane::cli {
namespace {

TEST(CalculationWatch, StopsTheEngineOnceTheTimeIsUp) {
    CalculationWatch watch(0.01);
    std::mutex mutex;
    std::condition_variable stopped;
    bool told = false;
    const std::stop_callback callback(watch.stopToken(), [&] {
        const std::lock_guard lock(mutex);
        told = true;
        stopped.notify_one();
    });
    {
        std::unique_lock lock(mutex);
        stopped.wait(lock, [&] { return told; });
    }
    EXPECT_TRUE(watch.timeIsUp());
    EXPECT_FALSE(watch.engineProgress()(1, 10));
    EXPECT_EQ(watch.limitMessage(), "stopped after 0.01 s (--max-seconds 0.01)");
}

TEST(CalculationWatch, WithoutALimitTheEngineRunsOn) {
    CalculationWatch watch(std::nullopt);
    EXPECT_TRUE(watch.engineProgress()(1, 10));
    EXPECT_FALSE(watch.timeIsUp());
    EXPECT_EQ(watch.limitMessage(), "");
}

TEST(CalculationWatch, AQuickCalculationShowsNoLine) {
    std::vector<std::string> lines;
    {
        CalculationWatch watch(3600, [&](const std::string& line) { lines.push_back(line); });
        EXPECT_TRUE(watch.engineProgress()(5, 10));
    }
    EXPECT_TRUE(lines.empty());
}

TEST(ProgressLineText, SaysHowFarHowLongAndHowMuchIsLeft) {
    const struct {
        std::optional<double> fraction;
        double elapsed;
        std::string expected;
    } cases[] = {
        {std::nullopt, 12.7, "12 s"},
        {0.0, 1.5, "0 %, 1 s"},
        {0.25, 3.0, "25 %, 3 s, about 9 s left"},
        {0.999, 20.0, "99 %, 20 s, about 1 s left"},
        {1.0, 20.0, "100 %, 20 s"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(progressLineText(c.fraction, c.elapsed), c.expected);
    }
    EXPECT_EQ(timeLimitText(5), "stopped after 5 s (--max-seconds 5)");
}

} // namespace
} // namespace orvane::cli
