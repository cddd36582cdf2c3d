#include "session/change_listeners.h"

#include <utility>

namespace orvane::session {

int ChangeListeners::add(Listener listener) {
    const int key = m_nextKey++;
    m_listeners.emplace(key, std::move(listener));
    return key;
}

void ChangeListeners::remove(int key) {
    m_listeners.erase(key);
}

void ChangeListeners::notify(StateChanges changes) const {
    // A listener may remove itself or another; walk a copy of the keys' listeners.
    const auto listeners = m_listeners;
    for (const auto& [key, listener] : listeners) {
        listener(changes);
    }
}

} // namespace orvane::session
