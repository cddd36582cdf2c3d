#pragma once

#include <QPointer>
#include <QWidget>

#include <string_view>
#include <vector>

#include "find/formula_search.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSortFilterProxyModel;
class QTableView;

namespace orvane::session {
class Session;
}

namespace orvane::app {

class FindCandidateModel;

// "Find Formula": the formulas of an accurate m/z, searched in the session's tables (and
// scored against its measured spectrum when one is shown), as a sortable table. Enter in
// any box searches; a double-click on a row asks for that formula to be entered.
class FindFormulaWindow : public QWidget {
    Q_OBJECT

public:
    explicit FindFormulaWindow(const session::Session& session, QWidget* parent = nullptr);
    ~FindFormulaWindow() override;

    /// Shows the window in front with the focus in the m/z box, its text selected; the ions
    /// box takes the high-resolution window's ion when it is empty.
    void openForSearch();
    /// Puts the m/z into its box, as the box would show it typed.
    void setTargetMz(double mz);

    QLineEdit* mzBox() const { return m_mz; }
    QLineEdit* toleranceBox() const { return m_tolerance; }
    QComboBox* toleranceUnit() const { return m_unit; }
    QLineEdit* ionsBox() const { return m_ions; }
    QLineEdit* elementsBox() const { return m_elements; }
    QLineEdit* rdbeBox() const { return m_rdbe; }
    QCheckBox* rulesBox() const { return m_rules; }
    /// The switch of each heuristic by its name (find::switchableRules), under "Rules…".
    QAction* ruleSwitch(std::string_view name) const;
    QTableView* table() const { return m_table; }
    QLabel* summary() const { return m_summary; }
    const FindCandidateModel& model() const { return *m_model; }
    /// The periodic picker while it is open (for tests); null otherwise.
    QWidget* elementPicker() const { return m_picker; }

public slots:
    /// Searches with the boxes' values; the summary says what was evaluated and removed, or
    /// why the search was refused (the table is then emptied).
    void search();

signals:
    /// A candidate was double-clicked: its neutral formula and its ion.
    void candidateChosen(const QString& formula, const QString& ion);

private:
    void openElementPicker(QWidget& under);
    find::FindQuery queryOfBoxes() const;

    const session::Session& m_session;
    QLineEdit* m_mz = nullptr;
    QLineEdit* m_tolerance = nullptr;
    QComboBox* m_unit = nullptr;
    QLineEdit* m_ions = nullptr;
    QLineEdit* m_elements = nullptr;
    QLineEdit* m_rdbe = nullptr;
    QPointer<QWidget> m_picker;
    QCheckBox* m_rules = nullptr;
    std::vector<QAction*> m_ruleSwitches; // in the order of find::switchableRules
    QTableView* m_table = nullptr;
    QLabel* m_summary = nullptr;
    FindCandidateModel* m_model = nullptr;
    QSortFilterProxyModel* m_sorted = nullptr;
};

} // namespace orvane::app
