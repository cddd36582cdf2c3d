#include "calc/split_worker.h"

#include <algorithm>
#include <chrono>

namespace orvane::calc {

namespace {

using Clock = std::chrono::steady_clock;

void relax() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#endif
}

// Spins until `ready` or until `budget` has passed (the clock read every 64 turns); returns
// whether it is ready.
template <typename Ready> bool spinUntil(Ready ready, std::chrono::nanoseconds budget) {
    Clock::time_point end{};
    for (unsigned turn = 1;; ++turn) {
        if (ready()) {
            return true;
        }
        relax();
        if (turn % 64 == 0) {
            const Clock::time_point now = Clock::now();
            if (end == Clock::time_point{}) {
                end = now + budget;
            } else if (now >= end) {
                return false;
            }
        }
    }
}

// Sleeps on `state` until it holds one of the wanted values, with `sleeps` raised meanwhile
// so that the other side knows to wake it: either that side sees `sleeps` after its store,
// or this one sees the store before it sleeps (both sequentially consistent).
template <typename Wanted>
unsigned sleepUntil(std::atomic<unsigned>& state, std::atomic<bool>& sleeps, Wanted wanted) {
    sleeps.store(true);
    unsigned now = state.load();
    while (!wanted(now)) {
        state.wait(now);
        now = state.load();
    }
    sleeps.store(false, std::memory_order_relaxed);
    return now;
}

} // namespace

SplitWorker::SplitWorker() : SplitWorker(SpinTimes{}) {}

SplitWorker::SplitWorker(SpinTimes spins, std::function<void()> beforeFirstTask)
    : m_spins(spins), m_thread([this, first = std::move(beforeFirstTask)] { loop(first); }) {}

SplitWorker& SplitWorker::ofThisThread() {
    thread_local SplitWorker worker;
    return worker;
}

SplitWorker::~SplitWorker() {
    m_state.store(Stopping);
    m_state.notify_all();
    m_thread.join();
}

void SplitWorker::offer(void* task, void (*call)(void*)) {
    m_task = task;
    m_call = call;
    m_error = nullptr;
    m_state.store(Offered);
    if (m_workerSleeps.load()) {
        m_state.notify_all();
    }
}

bool SplitWorker::takeBack() {
    unsigned offered = Offered;
    return m_state.load(std::memory_order_acquire) == Offered &&
           m_state.compare_exchange_strong(offered, Idle, std::memory_order_acq_rel);
}

std::exception_ptr SplitWorker::waitForWorker() {
    const auto done = [](unsigned state) { return state == Done; };
    if (!spinUntil([&] { return done(m_state.load(std::memory_order_acquire)); }, m_spins.caller)) {
        sleepUntil(m_state, m_callerSleeps, done);
    }
    ++m_halvesOnWorker;
    return m_error;
}

void SplitWorker::loop(const std::function<void()>& beforeFirstTask) {
    if (beforeFirstTask) {
        beforeFirstTask();
    }
    const auto wanted = [](unsigned state) { return state == Offered || state == Stopping; };
    for (;;) {
        unsigned state = Idle;
        if (!spinUntil(
                [&] {
                    state = m_state.load(std::memory_order_acquire);
                    return wanted(state);
                },
                m_spins.worker)) {
            state = sleepUntil(m_state, m_workerSleeps, wanted);
        }
        if (state == Stopping) {
            return;
        }
        unsigned offered = Offered;
        if (!m_state.compare_exchange_strong(offered, Taken, std::memory_order_acq_rel)) {
            continue; // the caller took it back
        }
        try {
            m_call(m_task);
        } catch (...) {
            m_error = std::current_exception();
        }
        m_state.store(Done);
        if (m_callerSleeps.load()) {
            m_state.notify_all();
        }
    }
}

} // namespace orvane::calc
