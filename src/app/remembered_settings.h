#pragma once

#include "app/settings_store.h"

namespace orvane::session {
class Session;
}

namespace orvane::app {

class MainWindow;

/// What the window and the session hold now, to be remembered.
RememberedSettings currentSettings(const MainWindow& window, const session::Session& session);
/// Gives the window and the session what an earlier run remembered.
void applySettings(const RememberedSettings& settings, MainWindow& window,
                   session::Session& session);

} // namespace orvane::app
