#pragma once

#include <QObject>

#include "session/state_changes.h"

namespace orvane::session {
class Session;
}

namespace orvane::app {

// The session's change notification as a Qt signal: every window that shows the session's
// state connects to changed(), which says what the command touched.
class SessionEvents : public QObject {
    Q_OBJECT

public:
    explicit SessionEvents(session::Session& session, QObject* parent = nullptr);
    ~SessionEvents() override;

signals:
    void changed(orvane::session::StateChanges changes);

private:
    session::Session& m_session;
    int m_key;
};

} // namespace orvane::app
