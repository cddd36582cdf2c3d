#pragma once

#include <functional>
#include <map>

#include "session/state_changes.h"

namespace orvane::session {

// Whoever shows the session's state learns of every change here, with what it touched:
// after each command, whether it finished, failed or was cancelled. A plain callback list,
// so that the core needs no toolkit; the window maps it to a Qt signal.
class ChangeListeners {
public:
    using Listener = std::function<void(StateChanges)>;

    /// Adds a listener; the returned key removes it again.
    int add(Listener listener);
    void remove(int key);
    /// Calls every listener in the order they were added.
    void notify(StateChanges changes) const;

private:
    std::map<int, Listener> m_listeners;
    int m_nextKey = 0;
};

} // namespace orvane::session
