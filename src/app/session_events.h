#pragma once

#include <QObject>

namespace orvane::session {
class Session;
}

namespace orvane::app {

// The session's change notification as a Qt signal: every window that shows the session's
// state connects to changed().
class SessionEvents : public QObject {
    Q_OBJECT

public:
    explicit SessionEvents(session::Session& session, QObject* parent = nullptr);
    ~SessionEvents() override;

signals:
    void changed();

private:
    session::Session& m_session;
    int m_key;
};

} // namespace orvane::app
