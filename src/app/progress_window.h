#pragma once

#include <QElapsedTimer>
#include <QProgressDialog>

#include <chrono>
#include <memory>

class QWidget;

namespace orvane::app {

// The progress window of a long calculation, as the engine's progress callback: until the
// delay has passed the windows still repaint (input waits, so that no second command
// starts inside this one); then an application-modal window shows the part done and takes
// a Cancel. It closes when it goes away, before an error box opens.
class ProgressWindow {
public:
    ProgressWindow(QWidget& parent, std::chrono::milliseconds delay);

    /// The engine's callback: false once Cancel was pressed.
    bool operator()(long long done, long long total);

private:
    QWidget& m_parent;
    qint64 m_delay;
    QElapsedTimer m_clock;
    qint64 m_lastEvents = 0;
    std::unique_ptr<QProgressDialog> m_dialog;
};

} // namespace orvane::app
