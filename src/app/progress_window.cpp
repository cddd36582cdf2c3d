#include "app/progress_window.h"

#include <QCoreApplication>
#include <QWidget>

#include <algorithm>

namespace orvane::app {

namespace {

constexpr int progressSteps = 1000;
constexpr qint64 eventInterval = 50; // ms between two looks at the event queue

} // namespace

ProgressWindow::ProgressWindow(QWidget& parent, std::chrono::milliseconds delay)
    : m_parent(parent), m_delay(delay.count()) {
    m_clock.start();
}

bool ProgressWindow::operator()(long long done, long long total) {
    if (!m_dialog) {
        if (m_clock.elapsed() < m_delay) {
            if (m_clock.elapsed() - m_lastEvents >= eventInterval) {
                m_lastEvents = m_clock.elapsed();
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            }
            return true;
        }
        m_dialog = std::make_unique<QProgressDialog>(
            QString(), QCoreApplication::translate("MainWindow", "Cancel"), 0, progressSteps,
            &m_parent);
        m_dialog->setWindowTitle(QStringLiteral("Orvane"));
        // Application-modal: no other event may start a command while this one lets
        // events through.
        m_dialog->setWindowModality(Qt::ApplicationModal);
        m_dialog->setMinimumDuration(0);
        m_dialog->setAutoReset(false);
        m_dialog->setAutoClose(false);
        m_dialog->show();
    }
    const long long step = total > 0 ? done * progressSteps / total : 0;
    m_dialog->setValue(static_cast<int>(std::clamp<long long>(step, 0, progressSteps)));
    QCoreApplication::processEvents();
    return !m_dialog->wasCanceled();
}

} // namespace orvane::app
