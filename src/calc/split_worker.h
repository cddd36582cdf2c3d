#pragma once

#include <atomic>
#include <chrono>
#include <exception>
#include <functional>
#include <thread>
#include <type_traits>

namespace orvane::calc {

// A second thread for the halves of long atom steps. A half lasts microseconds, so each
// side first spins a little for the other (sleeping and waking would cost as much as the
// half); then it sleeps on the hand-over's word (a futex on Linux), so that a thread the
// scheduler has put aside costs the other nothing. A half the worker has not taken when the
// caller's own is done is taken back and done by the caller, so the caller waits only for a
// worker that was running. Whether halves are offered at all is the caller's choice
// (SharingLedger).
class SplitWorker {
public:
    // How long each side spins before it sleeps: the worker for the next half (the caller's
    // work between two shared steps takes a few microseconds), the caller for a half the
    // worker took (about what a long half takes). Tests set 0 to reach the sleeps at once.
    struct SpinTimes {
        std::chrono::nanoseconds worker = std::chrono::microseconds(100);
        std::chrono::nanoseconds caller = std::chrono::microseconds(200);
    };

    /// `beforeFirstTask` runs on the worker before it takes its first half: tests hold the
    /// worker back there.
    SplitWorker();
    explicit SplitWorker(SpinTimes spins, std::function<void()> beforeFirstTask = {});
    ~SplitWorker();
    SplitWorker(const SplitWorker&) = delete;
    SplitWorker& operator=(const SplitWorker&) = delete;

    /// The calling thread's worker, made at the first call and kept while the thread lives:
    /// a run of the engine is often shorter than a thread's start and end on a busy machine,
    /// and the ledger's lesson holds from one run to the next.
    static SplitWorker& ofThisThread();

    /// Runs `there` and `here`, `there` on the worker where it takes it in time and `here` on
    /// the calling thread, and returns once both are done; an exception from either is
    /// raised here (`there`'s first).
    template <typename There, typename Here> void runBoth(There&& there, Here&& here) {
        using Task = std::remove_reference_t<There>;
        offer(const_cast<void*>(static_cast<const void*>(&there)),
              [](void* task) { (*static_cast<Task*>(task))(); });
        const std::exception_ptr hereError = caught(here);
        const std::exception_ptr thereError = takeBack() ? caught(there) : waitForWorker();
        if (thereError) {
            std::rethrow_exception(thereError);
        }
        if (hereError) {
            std::rethrow_exception(hereError);
        }
    }

    /// How many of the halves so far the worker ran (the others the caller did itself).
    long long halvesOnWorker() const { return m_halvesOnWorker; }

private:
    enum State : unsigned { Idle, Offered, Taken, Done, Stopping };

    template <typename Task> static std::exception_ptr caught(Task& task) noexcept {
        try {
            task();
        } catch (...) {
            return std::current_exception();
        }
        return nullptr;
    }

    void offer(void* task, void (*call)(void*));
    bool takeBack();
    std::exception_ptr waitForWorker();
    void loop(const std::function<void()>& beforeFirstTask);

    // Both threads write the state; the half is called through a plain pointer, with
    // nothing allocated.
    alignas(64) std::atomic<unsigned> m_state{Idle};
    std::atomic<bool> m_workerSleeps{false};
    std::atomic<bool> m_callerSleeps{false};
    void* m_task = nullptr;
    void (*m_call)(void*) = nullptr;
    std::exception_ptr m_error;

    alignas(64) SpinTimes m_spins;
    long long m_halvesOnWorker = 0;
    std::thread m_thread;
};

} // namespace orvane::calc
