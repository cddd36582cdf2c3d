#pragma once

#include <memory>
#include <optional>
#include <string>

#include <QMainWindow>

#include "app/ion_cluster_model.h"
#include "app/picture_choice.h"
#include "app/save_locations.h"
#include "app/profile_worker.h"
#include "ion/high_resolution_view.h"
#include "ion/ion_result.h"
#include "session/state_changes.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace orvane::session {
class Session;
}

namespace orvane::app {

class ChargeLadderTable;
class FinePeakTable;
class ProfilePlotView;
class SessionEvents;
class UserDialogs;

// "High Resolution": the accurate masses of an ion of the current formula, its profile at a
// resolving power and a measured spectrum beside it. The ion box offers presets for the
// main window's charge. While shown it follows every change of the session; the profile is
// computed away from the user-interface thread and never shown for other settings than
// those in the boxes. Closing the window only hides it.
class HighResolutionWindow : public QMainWindow {
    Q_OBJECT

public:
    HighResolutionWindow(session::Session& session, SessionEvents& events, UserDialogs& dialogs,
                         QWidget* parent = nullptr);
    ~HighResolutionWindow() override;

    ProfilePlotView& plot() const { return *m_plot; }
    const IonClusterModel& clusters() const { return m_clusters; }
    ChargeLadderTable& chargeStates() const { return *m_chargeStates; }
    /// True while a profile for the boxes' settings is being computed.
    bool computing() const { return m_computing; }

signals:
    /// A click on the plot near a measured peak: that peak's m/z.
    void measuredPeakClicked(double mz);

public slots:
    /// Shows the session's state again (only while the window is shown).
    void refresh(session::StateChanges changes);
    /// Ctrl+C: the selected rows of the cluster table (every row without a selection) as
    /// TAB-separated text with the header line on the clipboard.
    void copyTable();
    /// "Save table…": the cluster table as TSV, or CSV for a name ending in ".csv".
    void saveTable();
    /// "Save profile…": the profile as orvane-calc's --profile writes it.
    void saveProfile();
    /// "Save_Picture…": the plot as it is zoomed, at its size on the screen, to a PNG (1,
    /// 2 or 4 times), SVG or PDF file; offered while there is an ion to show.
    void savePicture();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ionChosen(int preset);
    void ionTyped();
    void showProblem(const QString& message);
    // The status line: the message, then the ion's notices.
    void showStatus(const QString& message);
    // The status line after a save: "Saved /path/C6H12O6-clusters.tsv".
    void showSaved(const QString& name);
    void showIon();
    void showMeasuredName();
    // The save dialog for a table of `kind` ("clusters", "profile"), asking before it replaces
    // a file; "" when the user cancelled either.
    QString askSaveName(SaveLocations& files, const QString& kind);
    void rebuildPlot(bool wholeView);
    void profileFinished(int ticket, std::shared_ptr<const profile::Profile> profile);
    void profileFailed(int ticket, const QString& message);
    bool dispatch(const std::function<void()>& command);

    session::Session& m_session;
    UserDialogs& m_dialogs;
    IonClusterModel m_clusters;
    ProfileWorker m_worker;

    QComboBox* m_ion = nullptr;
    QLineEdit* m_resolvingPower = nullptr;
    QLineEdit* m_coverage = nullptr;
    QLineEdit* m_tolerance = nullptr;
    QComboBox* m_instrument = nullptr;
    ProfilePlotView* m_plot = nullptr;
    QTableView* m_table = nullptr;
    FinePeakTable* m_finePeaks = nullptr; // below the clusters when fine peaks separate
    ChargeLadderTable* m_chargeStates = nullptr;
    QLabel* m_problem = nullptr;
    QPushButton* m_savePicture = nullptr;
    QPushButton* m_saveTable = nullptr;
    QPushButton* m_saveProfile = nullptr;
    QLabel* m_measuredName = nullptr;
    QPushButton* m_closeMeasured = nullptr;
    SaveLocations m_tableFiles;
    SaveLocations m_profileFiles;
    PictureChoice m_lastPicture;
    SaveLocations m_pictureFiles;
    struct SummaryLabels {
        QLabel* formula;
        QLabel* ionFormula;
        QLabel* monoisotopicMass;
        QLabel* monoisotopicMz;
        QLabel* mostAbundantMz;
        QLabel* averageMass;
        QLabel* averageMz;
        QLabel* score;
        QLabel* isotopeScore; // the search's measures of this formula
    } m_summary{};

    std::optional<ions::IonResult> m_result;
    std::optional<ions::MeasuredMatch> m_match;
    std::shared_ptr<const profile::Profile> m_profile;
    std::string m_profileKey; // what the profile shown or being computed belongs to
    int m_ticket = 0;
    bool m_computing = false;
    QString m_notices; // of the ion shown
};

} // namespace orvane::app
