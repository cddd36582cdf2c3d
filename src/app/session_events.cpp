#include "app/session_events.h"

#include "session/session.h"

namespace orvane::app {

SessionEvents::SessionEvents(session::Session& session, QObject* parent)
    : QObject(parent), m_session(session),
      m_key(session.listeners().add(
          [this](session::StateChanges changes) { emit changed(changes); })) {}

SessionEvents::~SessionEvents() {
    m_session.listeners().remove(m_key);
}

} // namespace orvane::app
