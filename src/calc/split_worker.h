#pragma once

#include <atomic>
#include <exception>
#include <functional>
#include <thread>

namespace orvane::calc {

// A second thread for the halves of long atom steps. It lives as long as the convolution
// that made it and waits for work by spinning (then yielding), because a step lasts
// microseconds: a condition variable's wake-up would cost as much as the half it hands over.
class SplitWorker {
public:
    SplitWorker();
    ~SplitWorker();
    SplitWorker(const SplitWorker&) = delete;
    SplitWorker& operator=(const SplitWorker&) = delete;

    /// Runs `there` on the worker and `here` on the calling thread, and returns once both
    /// are done; an exception from either is raised here (the worker's first).
    void runBoth(const std::function<void()>& there, const std::function<void()>& here);

private:
    void loop();

    std::atomic<unsigned long long> m_posted{0};
    std::atomic<unsigned long long> m_done{0};
    std::atomic<bool> m_stop{false};
    const std::function<void()>* m_task = nullptr;
    std::exception_ptr m_error;
    std::thread m_thread;
};

} // namespace orvane::calc
