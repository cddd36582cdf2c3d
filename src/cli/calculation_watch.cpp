#include "cli/calculation_watch.h"

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <sstream>

namespace orvane::cli {
namespace {

// A number as a person would type it: 5, 0.05, 2.5.
std::string plainNumber(double value) {
    std::ostringstream out;
    out << value;
    return out.str();
}

} // namespace

std::string progressLineText(std::optional<double> fraction, double elapsed) {
    std::string line;
    if (fraction) {
        line = std::to_string(static_cast<int>(std::floor(*fraction * 100))) + " %, ";
    }
    line += std::to_string(static_cast<long long>(elapsed)) + " s";
    if (fraction && *fraction > 0 && *fraction < 1) {
        const double left = elapsed / *fraction - elapsed;
        line += ", about " + std::to_string(static_cast<long long>(std::ceil(left))) + " s left";
    }
    return line;
}

std::string timeLimitText(double maxSeconds) {
    return "stopped after " + plainNumber(maxSeconds) + " s (--max-seconds " +
           plainNumber(maxSeconds) + ")";
}

CalculationWatch::CalculationWatch(std::optional<double> maxSeconds, ShowLine showLine)
    : m_maxSeconds(maxSeconds), m_showLine(std::move(showLine)) {
    if (m_maxSeconds) {
        const auto deadline = m_start + std::chrono::duration_cast<Clock::duration>(
                                            std::chrono::duration<double>(*m_maxSeconds));
        m_timer = std::jthread([this, deadline](std::stop_token ended) {
            std::unique_lock lock(m_mutex);
            // wakes early only when the watch ends
            m_wake.wait_until(lock, ended, deadline, [] { return false; });
            if (!ended.stop_requested()) {
                m_stop.request_stop();
            }
        });
    }
}

CalculationWatch::~CalculationWatch() {
    m_timer = {};
    clearLine();
}

void CalculationWatch::clearLine() {
    if (m_shown && m_showLine) {
        m_showLine("");
    }
    m_shown = false;
}

calc::EngineProgress CalculationWatch::engineProgress() {
    return [this](long long done, long long total) {
        if (m_showLine) {
            show(total > 0 ? std::optional<double>(double(done) / double(total)) : std::nullopt);
        }
        return !m_stop.stop_requested();
    };
}

std::string CalculationWatch::limitMessage() const {
    return m_maxSeconds ? timeLimitText(*m_maxSeconds) : std::string();
}

void CalculationWatch::show(std::optional<double> fraction) {
    const auto now = Clock::now();
    // quick calculations say nothing; a slow one at most five times a second
    if (now - m_start < std::chrono::seconds(1) ||
        now - m_lastShown < std::chrono::milliseconds(200)) {
        return;
    }
    m_lastShown = now;
    m_shown = true;
    m_showLine(progressLineText(fraction, std::chrono::duration<double>(now - m_start).count()));
}

CalculationWatch::ShowLine terminalProgressLine() {
    if (::isatty(2) != 1) {
        return {};
    }
    return [](const std::string& line) {
        std::fprintf(stderr, "\r\033[K%s", line.c_str());
        std::fflush(stderr);
    };
}

} // namespace orvane::cli
