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

void SplitWorker::post(void* task, void (*call)(void*)) {
    m_task = task;
    m_call = call;
    m_error = nullptr;
    m_posted.store(m_posted.load(std::memory_order_relaxed) + 1, std::memory_order_release);
}

void SplitWorker::finish(std::exception_ptr hereError) {
    const unsigned long long ticket = m_posted.load(std::memory_order_relaxed);
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
            m_call(m_task);
        } catch (...) {
            m_error = std::current_exception();
        }
        m_done.store(ticket, std::memory_order_release);
    }
}

} // namespace orvane::calc
