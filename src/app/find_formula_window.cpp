#include "app/find_formula_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QProgressDialog>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include <new>
#include <optional>

#include "app/element_picker.h"
#include "app/find_candidate_model.h"
#include "app/window_pattern_score.h"
#include "find/isotope_score.h"
#include "find/measured_search.h"
#include "find/range_toggle.h"
#include "measured/cluster_match.h"
#include "ion/high_resolution_view.h"
#include "ion/ion_result.h"
#include "session/ion_inputs.h"
#include "session/session.h"
#include "text/error.h"
#include "text/number_parse.h"

namespace orvane::app {

namespace {

// The most candidates the table shows: the best by the search's ranking.
constexpr std::size_t shownCandidates = 100000;

double numberOf(const QString& text, const char* box, char separator) {
    const std::optional<double> value = text::tryParseReal(text.trimmed().toStdString(), separator);
    if (!value) {
        throw text::Error(std::string(box) + " '" + text.toStdString() + "' is not a number.");
    }
    return *value;
}

} // namespace

FindFormulaWindow::FindFormulaWindow(const session::Session& session, QWidget* parent)
    : QWidget(parent, Qt::Window), m_session(session), m_mz(new QLineEdit(this)),
      m_tolerance(new QLineEdit(QStringLiteral("5"), this)), m_unit(new QComboBox(this)),
      m_ions(new QLineEdit(this)),
      m_elements(new QLineEdit(QString::fromLatin1(find::defaultElementRanges), this)),
      m_rdbe(new QLineEdit(this)), m_rules(new QCheckBox(QStringLiteral("Rules"), this)),
      m_table(new QTableView(this)), m_summary(new QLabel(this)),
      m_model(new FindCandidateModel(this)), m_sorted(new QSortFilterProxyModel(this)) {
    setObjectName(QStringLiteral("FindFormulaWindow"));
    setWindowTitle(QStringLiteral("Find Formula"));

    m_mz->setObjectName(QStringLiteral("TargetMz"));
    m_tolerance->setObjectName(QStringLiteral("Tolerance"));
    m_unit->setObjectName(QStringLiteral("ToleranceUnit"));
    m_unit->addItems({QStringLiteral("ppm"), QStringLiteral("mDa")});
    m_ions->setObjectName(QStringLiteral("Ions"));
    m_ions->setToolTip(QStringLiteral("One or more ions, separated by commas: [M+H]+, [M+Na]+"));
    m_elements->setObjectName(QStringLiteral("ElementRanges"));
    m_rdbe->setObjectName(QStringLiteral("Rdbe"));
    m_rdbe->setPlaceholderText(QStringLiteral("MIN:MAX"));
    m_rules->setObjectName(QStringLiteral("Rules"));
    m_rules->setChecked(true);
    m_rules->setToolTip(QStringLiteral(
        "LEWIS, SENIOR, element counts by mass, H/C, heteroatoms per C, heteroatom counts"));
    m_summary->setObjectName(QStringLiteral("Summary"));
    m_summary->setTextFormat(Qt::PlainText);
    m_summary->setWordWrap(true);

    m_sorted->setSourceModel(m_model);
    m_sorted->setSortRole(FindCandidateModel::sortRole);
    m_table->setObjectName(QStringLiteral("Candidates"));
    m_table->setModel(m_sorted);
    m_table->setSortingEnabled(true);
    m_table->sortByColumn(0, Qt::AscendingOrder);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    connect(m_table, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        const QModelIndex row = m_sorted->mapToSource(index);
        if (row.isValid()) {
            const find::Candidate& candidate =
                m_model->candidates()[static_cast<std::size_t>(row.row())];
            emit candidateChosen(QString::fromStdString(candidate.formula),
                                 QString::fromStdString(candidate.ion));
        }
    });

    for (QLineEdit* box : {m_mz, m_tolerance, m_ions, m_elements, m_rdbe}) {
        connect(box, &QLineEdit::returnPressed, this, &FindFormulaWindow::search);
    }

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("m/z"), m_mz);
    auto* tolerance = new QHBoxLayout;
    tolerance->addWidget(m_tolerance);
    tolerance->addWidget(m_unit);
    form->addRow(QStringLiteral("Tolerance"), tolerance);
    form->addRow(QStringLiteral("Ions"), m_ions);
    auto* elements = new QHBoxLayout;
    elements->addWidget(m_elements);
    auto* picker = new QToolButton(this);
    picker->setObjectName(QStringLiteral("PeriodicTable"));
    picker->setText(QStringLiteral("Periodic table…"));
    picker->setToolTip(QStringLiteral("Switch an element's range on or off"));
    connect(picker, &QToolButton::clicked, this, [this, picker] { openElementPicker(*picker); });
    elements->addWidget(picker);
    form->addRow(QStringLiteral("Elements"), elements);
    auto* rdbe = new QHBoxLayout;
    rdbe->addWidget(m_rdbe);
    rdbe->addWidget(m_rules);
    // each heuristic on its own, under the switch of them all
    auto* each = new QToolButton(this);
    each->setObjectName(QStringLiteral("RuleSwitches"));
    each->setText(QStringLiteral("Rules…"));
    each->setToolTip(QStringLiteral("Switch each rule, and the composition prior, on or off"));
    each->setPopupMode(QToolButton::InstantPopup);
    auto* menu = new QMenu(each);
    for (const std::string_view name : find::switchableRules) {
        if (name == "ratios") {
            continue; // both ratio rules, each of which has its own switch
        }
        QAction* action =
            menu->addAction(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
        action->setCheckable(true);
        action->setChecked(true);
        m_ruleSwitches.push_back(action);
    }
    each->setMenu(menu);
    rdbe->addWidget(each);
    form->addRow(QStringLiteral("RDBE"), rdbe);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_summary);
    // Tab follows the boxes as they stand, the buttons beside their box, then the table
    QWidget* order[] = {m_mz,   m_tolerance, m_unit,  m_ions, m_elements,
                        picker, m_rdbe,      m_rules, each,   m_table};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
    // the candidates' eight columns whole, beside a 1366-wide screen's main window
    resize(900, 540);
}

FindFormulaWindow::~FindFormulaWindow() = default;

QAction* FindFormulaWindow::ruleSwitch(std::string_view name) const {
    for (QAction* action : m_ruleSwitches) {
        if (action->text().toStdString() == name) {
            return action;
        }
    }
    return nullptr;
}

void FindFormulaWindow::openForSearch() {
    if (m_ions->text().trimmed().isEmpty()) {
        const session::SessionState& state = m_session.state();
        m_ions->setText(
            QString::fromStdString(ions::expandIon(state.ionText, state.settings.charge.value())));
    }
    show();
    raise();
    activateWindow();
    m_mz->setFocus(Qt::ShortcutFocusReason);
    m_mz->selectAll();
}

void FindFormulaWindow::setTargetMz(double mz) {
    QString text = QString::number(mz, 'f', 5);
    text.replace(QLatin1Char('.'), QLatin1Char(m_session.separator()));
    m_mz->setText(text);
}

find::FindQuery FindFormulaWindow::queryOfBoxes() const {
    const char separator = m_session.separator();
    find::FindQuery query;
    query.mz = numberOf(m_mz->text(), "m/z", separator);
    query.tolerance = {numberOf(m_tolerance->text(), "Tolerance", separator),
                       m_unit->currentIndex() == 1};
    query.ions.clear();
    for (const QString& ion : m_ions->text().split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        if (!ion.trimmed().isEmpty()) {
            query.ions.push_back(ion.trimmed().toStdString());
        }
    }
    if (query.ions.empty()) {
        query.ions = {"[M+H]+"};
    }
    query.elementRanges = m_elements->text().toStdString();
    if (!m_rules->isChecked()) {
        query.rules.disableHeuristics();
    } else {
        for (const QAction* action : m_ruleSwitches) {
            find::switchRule(query.rules, action->text().toStdString(), action->isChecked());
        }
    }
    const QString rdbe = m_rdbe->text().trimmed();
    if (!rdbe.isEmpty()) {
        const qsizetype colon = rdbe.indexOf(QLatin1Char(':'));
        if (colon < 0) {
            throw text::Error("RDBE '" + rdbe.toStdString() + "' is not MIN:MAX.");
        }
        const QString minimum = rdbe.left(colon).trimmed();
        const QString maximum = rdbe.mid(colon + 1).trimmed();
        if (!minimum.isEmpty()) {
            query.rules.rdbeMinimum = numberOf(minimum, "RDBE", separator);
        }
        if (!maximum.isEmpty()) {
            query.rules.rdbeMaximum = numberOf(maximum, "RDBE", separator);
        }
    }
    return query;
}

void FindFormulaWindow::openElementPicker(QWidget& under) {
    QStringList available;
    for (const std::string& symbol : m_session.state().reader.symbols) {
        if (!symbol.empty()) {
            available << QString::fromStdString(symbol);
        }
    }
    // the symbols the ranges name now: the letters that start each word
    QStringList chosen;
    for (const QString& word : m_elements->text().split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        QString symbol;
        for (const QChar c : word) {
            if (!c.isLetter()) {
                break;
            }
            symbol += c;
        }
        chosen << symbol;
    }
    auto* picker = new ElementPicker(available, chosen, this);
    picker->setAttribute(Qt::WA_DeleteOnClose);
    connect(picker, &ElementPicker::picked, this, [this](const QString& symbol) {
        m_elements->setText(QString::fromStdString(
            find::toggledElementRange(m_elements->text().toStdString(), symbol.toStdString())));
    });
    // under the button, its right edge at the button's, so that it opens over the window
    picker->move(
        under.mapToGlobal(QPoint(under.width() - picker->sizeHint().width(), under.height())));
    picker->show();
    m_picker = picker;
}

void FindFormulaWindow::search() {
    const session::SessionState& state = m_session.state();
    try {
        find::FindQuery query = queryOfBoxes();
        // the table shows at most this many, and the search holds no more while it walks
        query.keep = shownCandidates;
        // a large search shows its progress after a moment and can be cancelled
        QProgressDialog progress(QStringLiteral("Searching formulas…"), QStringLiteral("Cancel"), 0,
                                 1000, this);
        progress.setWindowModality(Qt::WindowModal);
        progress.setMinimumDuration(400);
        // the search asks every few thousand steps; the events (a Cancel, Escape, a repaint)
        // are looked at some twenty times a second, which costs the walk nothing
        QElapsedTimer sinceEvents;
        sinceEvents.start();
        const auto stillWanted = [&](double part) {
            progress.setValue(static_cast<int>(part * 1000));
            if (sinceEvents.elapsed() >= 50) {
                QCoreApplication::processEvents();
                sinceEvents.restart();
            }
            return !progress.wasCanceled();
        };
        // scored against the spectrum the high-resolution window shows, at its R
        const std::optional<ions::MeasuredView> shown = session::measuredViewOf(state);
        const std::optional<measured::Spectrum> peaks =
            shown ? std::optional(measured::peaksOf(shown->points, shown->profileData))
                  : std::nullopt;
        const find::IsotopeScoreSettings settings =
            shown ? windowScoreSettings(state, query.mz, m_session.separator())
                  : find::IsotopeScoreSettings{};
        find::MeasuredSearch search =
            find::searchMeasured(query, state.tables, m_session.separator(),
                                 peaks ? &*peaks : nullptr, settings, stillWanted);
        progress.reset();
        find::FindResult& result = search.result;
        QString measured;
        if (result.cancelled) {
            measured = QStringLiteral(" before the search was cancelled");
        } else if (search.scored && !result.candidates.empty()) {
            measured = QStringLiteral(", scored by the measured spectrum") +
                       (state.instrument.empty() ? QString()
                                                 : QStringLiteral(" as from an ") +
                                                       QString::fromStdString(state.instrument)) +
                       QStringLiteral("\nMeasured: ") +
                       QString::fromStdString(search.evidence ? search.evidence->text : "");
        }
        for (const std::string& notice : search.notices) {
            measured += (search.scored ? QStringLiteral("; ") : QStringLiteral("\n")) +
                        QString::fromStdString(notice);
        }
        const QString listed = result.found > result.candidates.size()
                                   ? QStringLiteral("the best %1 of %2")
                                         .arg(result.candidates.size())
                                         .arg(result.found)
                                   : QString::number(result.candidates.size());
        m_summary->setText(
            QStringLiteral("%1 candidates; %2 formulas evaluated, %3 removed by rules%4")
                .arg(listed)
                .arg(result.evaluated)
                .arg(result.removedByRules)
                .arg(measured));
        m_model->setCandidates(std::move(result.candidates));
        m_table->sortByColumn(0, Qt::AscendingOrder);
        m_table->resizeColumnsToContents();
    } catch (const text::Error& error) {
        m_model->setCandidates({});
        m_summary->setText(QString::fromStdString(error.what()));
    } catch (const std::bad_alloc&) {
        // what the search held is given back as it unwinds; the window goes on
        m_model->setCandidates({});
        m_summary->setText(QStringLiteral("The search needs more memory than there is; narrow "
                                          "the element ranges or the tolerance."));
    }
}

} // namespace orvane::app
