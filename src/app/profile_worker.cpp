#include "app/profile_worker.h"

#include <exception>
#include <new>

#include "profile/cancelled.h"
#include "text/error.h"

namespace orvane::app {

ProfileWorker::ProfileWorker(QObject* parent) : QObject(parent) {}

ProfileWorker::~ProfileWorker() {
    cancel();
}

void ProfileWorker::cancel() {
    // The profile looks at the stop request often, so the join is short.
    m_thread = std::jthread();
}

void ProfileWorker::start(int ticket, profile::ProfileInput input,
                          profile::ProfileSettings settings) {
    cancel();
    m_thread =
        std::jthread([this, ticket, input = std::move(input), settings](std::stop_token stop) {
            // The results go back through the event loop; a worker destroyed before they arrive
            // takes them with it.
            const auto fail = [this, ticket](const QString& message) {
                QMetaObject::invokeMethod(
                    this, [this, ticket, message] { emit failed(ticket, message); },
                    Qt::QueuedConnection);
            };
            try {
                auto result = std::make_shared<const profile::Profile>(
                    profile::computeProfile(input, settings, stop));
                QMetaObject::invokeMethod(
                    this, [this, ticket, result] { emit finished(ticket, result); },
                    Qt::QueuedConnection);
            } catch (const profile::Cancelled&) {
                // a newer profile is wanted
            } catch (const text::Error& error) {
                fail(QString::fromStdString(error.what()));
            } catch (const std::bad_alloc&) {
                fail(QStringLiteral("Not enough memory to compute the profile."));
            } catch (const std::exception& error) {
                // a library's failure must not leave the thread and end the program
                fail(QStringLiteral("The profile cannot be computed: ") +
                     QString::fromStdString(error.what()));
            }
        });
}

} // namespace orvane::app
