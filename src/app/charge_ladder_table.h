#pragma once

#include <functional>
#include <vector>

#include <QWidget>

#include "app/charge_ladder_model.h"

class QLabel;
class QLineEdit;
class QTableView;

namespace orvane::session {
class Session;
}

namespace orvane::app {

// "Charge states" of the high-resolution window: the ion of the ion box at each charge of
// the range box ("A-B"; empty for the charges whose most abundant m/z lies in 300–3000, or
// in the measured spectrum's range). A double-click on a row makes that ion the one shown.
class ChargeLadderTable : public QWidget {
    Q_OBJECT

public:
    // Runs a session command, showing its error; false when it failed.
    using Dispatch = std::function<bool(const std::function<void()>&)>;

    ChargeLadderTable(session::Session& session, Dispatch dispatch, QWidget* parent = nullptr);

    const ChargeLadderModel& rungs() const { return m_model; }
    QTableView& view() const { return *m_view; }
    /// Computes the ladder of the session's state again; a failure is shown under the table.
    void refresh();
    /// The ion of row `row` becomes the one shown (what a double-click does).
    void chooseRow(int row);

private:
    session::Session& m_session;
    Dispatch m_dispatch;
    ChargeLadderModel m_model;
    QLineEdit* m_range = nullptr;
    QTableView* m_view = nullptr;
    QLabel* m_problem = nullptr;
};

} // namespace orvane::app
