#pragma once

#include <atomic>
#include <exception>
#include <thread>
#include <type_traits>

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
    template <typename There, typename Here> void runBoth(There&& there, Here&& here) {
        using Task = std::remove_reference_t<There>;
        post(const_cast<void*>(static_cast<const void*>(&there)),
             [](void* task) { (*static_cast<Task*>(task))(); });
        std::exception_ptr hereError;
        try {
            here();
        } catch (...) {
            hereError = std::current_exception();
        }
        finish(hereError);
    }

private:
    void post(void* task, void (*call)(void*));
    void finish(std::exception_ptr hereError);
    void loop();

    // A step hands over in microseconds: the two counters live on cache lines of their own,
    // so that each thread's writes do not pull the other's line away, and the task is
    // called through a plain pointer, with nothing allocated.
    alignas(64) std::atomic<unsigned long long> m_posted{0};
    void* m_task = nullptr;
    void (*m_call)(void*) = nullptr;
    alignas(64) std::atomic<unsigned long long> m_done{0};
    std::exception_ptr m_error;
    alignas(64) std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

} // namespace orvane::calc
