#include "app/window_geometry.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <algorithm>

namespace orvane::app {

namespace {

// How long after the first showing the frame is watched, and how often.
constexpr int watchMs = 3000;
constexpr int pollMs = 20;

QSize frameOf(const QWidget& window) {
    return window.frameGeometry().size() - window.geometry().size();
}

// Watches one window from its first showing until its frame is known and placed.
class FrameKeeper : public QObject {
public:
    FrameKeeper(QWidget& window, const QRect& outer, FramePlace place)
        : QObject(&window), m_window(window), m_outer(outer), m_place(place) {
        setObjectName(QStringLiteral("DesignedFrameKeeper"));
        window.installEventFilter(this);
        m_poll.setInterval(pollMs);
        connect(&m_poll, &QTimer::timeout, this, &FrameKeeper::place);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &m_window && event->type() == QEvent::Show && !m_clock.isValid()) {
            m_clock.start();
            m_poll.start();
        }
        return false;
    }

private:
    void place() {
        const QSize frame = frameOf(m_window);
        if (frame != m_placedFrame) {
            const QPoint corner = m_place == FramePlace::Designed
                                      ? m_outer.topLeft()
                                      : m_window.frameGeometry().topLeft();
            setOuterGeometry(m_window, QRect(corner, m_outer.size()));
            m_placedFrame = frame;
        }
        // Done once a frame has come and been placed, or when no frame comes (no window
        // manager, or one without frames).
        if ((!frame.isEmpty() && m_window.frameGeometry().size() == m_outer.size()) ||
            m_clock.elapsed() > watchMs) {
            m_poll.stop();
        }
    }

    QWidget& m_window;
    QRect m_outer;
    FramePlace m_place;
    QTimer m_poll;
    QElapsedTimer m_clock;
    QSize m_placedFrame{-1, -1};
};

} // namespace

void setOuterGeometry(QWidget& window, const QRect& outer) {
    const QSize frame = frameOf(window);
    window.resize(outer.size() - frame);
    window.move(outer.topLeft());
}

void keepDesignedFrame(QWidget& window, const QRect& outer, FramePlace place) {
    setOuterGeometry(window, outer);
    new FrameKeeper(window, outer, place);
}

void releaseDesignedFrame(QWidget& window) {
    const QList<QObject*> keepers = window.findChildren<QObject*>(
        QStringLiteral("DesignedFrameKeeper"), Qt::FindDirectChildrenOnly);
    for (QObject* keeper : keepers) {
        delete keeper;
    }
}

QRect clampedToScreen(const QRect& frame, const QRect& available) {
    if (available.isEmpty()) {
        return frame;
    }
    // sizes first, in 64 bits: a damaged rectangle's right edge may lie beyond int
    const long long frameWidth = static_cast<long long>(frame.right()) - frame.left() + 1;
    const long long frameHeight = static_cast<long long>(frame.bottom()) - frame.top() + 1;
    const int width = static_cast<int>(std::clamp<long long>(frameWidth, 1, available.width()));
    const int height = static_cast<int>(std::clamp<long long>(frameHeight, 1, available.height()));
    const int left = std::clamp(frame.left(), available.left(), available.right() - width + 1);
    const int top = std::clamp(frame.top(), available.top(), available.bottom() - height + 1);
    return {left, top, width, height};
}

void keepOnScreen(QWidget& window) {
    const QScreen* screen = window.screen();
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    if (screen == nullptr) {
        return;
    }
    const QRect outer = window.frameGeometry();
    const QRect kept = clampedToScreen(outer, screen->availableGeometry());
    if (kept != outer) {
        setOuterGeometry(window, kept);
    }
}

} // namespace orvane::app
