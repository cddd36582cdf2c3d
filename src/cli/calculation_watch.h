#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>

#include "calc/isotope_engine.h"

namespace orvane::cli {

/// "45 %, 12 s, about 15 s left": the progress line of a calculation `fraction` done after
/// `elapsed` seconds; without a fraction only the time.
std::string progressLineText(std::optional<double> fraction, double elapsed);

/// "stopped after 5 s (--max-seconds 5)".
std::string timeLimitText(double maxSeconds);

// One calculation's time limit (--max-seconds) and, on a terminal, its progress line once
// it has run for a second. A timer thread requests the stop, so that what only looks at a
// stop token (the profile) stops as the engine does.
class CalculationWatch {
public:
    using ShowLine = std::function<void(const std::string&)>; // "" clears the line

    /// Starts the clock. Without `maxSeconds` the calculation runs to its end; without
    /// `showLine` no progress is shown.
    explicit CalculationWatch(std::optional<double> maxSeconds, ShowLine showLine = {});
    /// Clears the progress line.
    ~CalculationWatch();
    /// Clears the progress line before other output; it comes back at the next progress.
    void clearLine();
    CalculationWatch(const CalculationWatch&) = delete;
    CalculationWatch& operator=(const CalculationWatch&) = delete;

    /// The engine's progress callback: shows the line, returns false once the time is up.
    calc::EngineProgress engineProgress();
    /// Requested once the time is up.
    std::stop_token stopToken() const { return m_stop.get_token(); }
    bool timeIsUp() const { return m_stop.stop_requested(); }
    /// The limit's message once the time is up.
    std::string limitMessage() const;

private:
    void show(std::optional<double> fraction);

    using Clock = std::chrono::steady_clock;
    std::optional<double> m_maxSeconds;
    ShowLine m_showLine;
    Clock::time_point m_start = Clock::now();
    Clock::time_point m_lastShown{};
    bool m_shown = false;
    std::stop_source m_stop;
    std::mutex m_mutex;
    std::condition_variable_any m_wake;
    std::jthread m_timer; // last: it runs while the members above exist
};

/// Writes a progress line to standard error when it is a terminal; otherwise empty.
CalculationWatch::ShowLine terminalProgressLine();

} // namespace orvane::cli
