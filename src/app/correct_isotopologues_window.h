#pragma once

#include <optional>

#include <QString>
#include <QWidget>

#include "tracer/isotopologue_correction.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QTableView;

namespace orvane::session {
class Session;
}

namespace orvane::app {

class CorrectionTableModel;
class FractionBarChart;
class UserDialogs;

// "Correct isotopologues…": a tracer experiment's measured isotopologue distributions
// corrected for the natural isotopes and the tracer's purity with the session's tables, the
// same correction orvane-calc --correct runs. Open a measurements file (and the
// metabolites and derivatives it names, and a peer's isotope table to reproduce its
// numbers), choose the tracer, purity and resolution, see the table and the fractions of
// the selected metabolite per sample, save the table.
class CorrectIsotopologuesWindow : public QWidget {
    Q_OBJECT

public:
    CorrectIsotopologuesWindow(const session::Session& session, UserDialogs& dialogs,
                               QWidget* parent = nullptr);
    ~CorrectIsotopologuesWindow() override;

    /// Shows the window in front.
    void openForCorrection();
    /// Puts `path` into the measurements box and corrects it; false when it was refused.
    bool openMeasurements(const QString& path);
    /// Corrects the measurements box's file with the boxes' settings and shows the table; a
    /// refusal goes to the error box and the status line, the table emptied. False then.
    bool correctNow();
    /// Writes the shown table to `path`, CSV for a name ending in .csv, TSV otherwise; an
    /// existing file is replaced only when the user says so. False when nothing was written.
    bool saveTo(const QString& path);

    QLineEdit* measurementsBox() const { return m_measurements; }
    QLineEdit* metabolitesBox() const { return m_metabolites; }
    QLineEdit* derivativesBox() const { return m_derivatives; }
    QLineEdit* isotopeTableBox() const { return m_isotopeTable; }
    QComboBox* tracerBox() const { return m_tracer; }
    QLineEdit* purityBox() const { return m_purity; }
    QCheckBox* naturalAbundanceBox() const { return m_naturalAbundance; }
    QLineEdit* resolutionBox() const { return m_resolution; }
    QLineEdit* resolutionAtBox() const { return m_resolutionAt; }
    QComboBox* instrumentBox() const { return m_instrument; }
    QComboBox* sheetBox() const { return m_sheet; }
    QTableView* table() const { return m_table; }
    FractionBarChart* chart() const { return m_chart; }
    QLabel* statusLine() const { return m_status; }

private:
    tracer::CorrectionSettings settingsOfBoxes() const;
    void showSheet();
    void showChartOfRow(int row);
    void chooseFile(QLineEdit* box, const QString& title);
    void chooseSaveFile();

    const session::Session& m_session;
    UserDialogs& m_dialogs;
    std::optional<tracer::CorrectionResult> m_result;
    QLineEdit* m_measurements = nullptr;
    QLineEdit* m_metabolites = nullptr;
    QLineEdit* m_derivatives = nullptr;
    QLineEdit* m_isotopeTable = nullptr; // "" for the data files' isotopes
    QComboBox* m_tracer = nullptr;
    QLineEdit* m_purity = nullptr;
    QCheckBox* m_naturalAbundance = nullptr;
    QLineEdit* m_resolution = nullptr;
    QLineEdit* m_resolutionAt = nullptr;
    QComboBox* m_instrument = nullptr;
    QComboBox* m_sheet = nullptr;
    QTableView* m_table = nullptr;
    CorrectionTableModel* m_model = nullptr;
    FractionBarChart* m_chart = nullptr;
    QLabel* m_status = nullptr;
};

} // namespace orvane::app
