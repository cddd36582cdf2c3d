#include "calc/split_worker.h"

namespace orvane::calc {

namespace {

// Spins this many times before yielding the core between checks.
constexpr int spinsBeforeYield = 4000;

template <typename Ready> void waitFor(Ready ready) {
    for (int spins = 0; !ready(); ++spins) {
        if (spins >= spinsBeforeYield) {
            std::this_thread::yield();
        }
    }
}

} // namespace

SplitWorker::SplitWorker() : m_thread([this] { loop(); }) {}

SplitWorker::~SplitWorker() {
    m_stop.store(true, std::memory_order_release);
    m_thread.join();
}

void SplitWorker::runBoth(const std::function<void()>& there, const std::function<void()>& here) {
    m_task = &there;
    m_error = nullptr;
    const unsigned long long ticket = m_posted.load(std::memory_order_relaxed) + 1;
    m_posted.store(ticket, std::memory_order_release);
    std::exception_ptr hereError;
    try {
        here();
    } catch (...) {
        hereError = std::current_exception();
    }
    waitFor([&] { return m_done.load(std::memory_order_acquire) == ticket; });
    if (m_error) {
        std::rethrow_exception(m_error);
    }
    if (hereError) {
        std::rethrow_exception(hereError);
    }
}

void SplitWorker::loop() {
    unsigned long long seen = 0;
    for (;;) {
        waitFor([&] {
            return m_posted.load(std::memory_order_acquire) != seen ||
                   m_stop.load(std::memory_order_acquire);
        });
        const unsigned long long ticket = m_posted.load(std::memory_order_acquire);
        if (ticket == seen) {
            return; // stopped with nothing posted
        }
        seen = ticket;
        try {
            (*m_task)();
        } catch (...) {
            m_error = std::current_exception();
        }
        m_done.store(ticket, std::memory_order_release);
    }
}

} // namespace orvane::calc
