#pragma once

#include <memory>
#include <thread>

#include <QObject>
#include <QString>

#include "profile/profile.h"
#include "profile/profile_input.h"

namespace orvane::app {

// Computes profiles away from the user-interface thread, one at a time: starting a new one
// cancels the one that runs. The result comes back on the user-interface thread with the
// number it was started under, so that a late one can be told from the current.
class ProfileWorker : public QObject {
    Q_OBJECT

public:
    explicit ProfileWorker(QObject* parent = nullptr);
    ~ProfileWorker() override;

    /// Cancels what runs and starts the profile of `input` at `settings` under `ticket`.
    void start(int ticket, profile::ProfileInput input, profile::ProfileSettings settings);
    /// Cancels what runs.
    void cancel();

signals:
    void finished(int ticket, std::shared_ptr<const profile::Profile> profile);
    void failed(int ticket, const QString& message);

private:
    std::jthread m_thread;
};

} // namespace orvane::app
