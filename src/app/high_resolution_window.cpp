#include "app/high_resolution_window.h"

#include <algorithm>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QStringList>
#include <QTableView>
#include <QVBoxLayout>

#include <cmath>
#include <new>
#include <optional>
#include <string_view>

#include "app/charge_ladder_table.h"
#include "app/command_failure.h"
#include "app/fine_peak_table.h"
#include "app/profile_plot_view.h"
#include "app/table_copy.h"
#include "app/session_events.h"
#include "app/user_dialogs.h"
#include "app/window_pattern_score.h"
#include "app/window_geometry.h"
#include "export/safe_file_writer.h"
#include "measured/instrument_preset.h"
#include "qtcanvas/picture_file.h"
#include "ion/ion_profile.h"
#include "export/profile_file.h"
#include "ion/high_resolution_view.h"
#include "session/ion_inputs.h"
#include "session/session.h"
#include "text/error.h"
#include "text/number_text.h"

namespace orvane::app {

namespace {

// wide enough for the summary, the clusters and the charge states side by side
const QRect designedFrame(120, 80, 1080, 660);

QLabel* valueLabel(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

HighResolutionWindow::HighResolutionWindow(session::Session& session, SessionEvents& events,
                                           UserDialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), m_session(session), m_dialogs(dialogs), m_clusters(session.separator()) {
    setObjectName(QStringLiteral("HighResolution"));
    setWindowTitle(QStringLiteral("High Resolution"));

    auto* client = new QWidget(this);
    setCentralWidget(client);
    auto* layout = new QVBoxLayout(client);

    // The ion and the instrument.
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Ion"), client));
    m_ion = new QComboBox(client);
    m_ion->setObjectName(QStringLiteral("IonBox"));
    m_ion->setEditable(true);
    m_ion->setInsertPolicy(QComboBox::NoInsert);
    m_ion->setMinimumContentsLength(16);
    top->addWidget(m_ion);
    top->addSpacing(12);
    top->addWidget(new QLabel(QStringLiteral("Resolving power"), client));
    m_resolvingPower = new QLineEdit(client);
    m_resolvingPower->setObjectName(QStringLiteral("ResolvingPower"));
    m_resolvingPower->setMaximumWidth(100);
    top->addWidget(m_resolvingPower);
    top->addWidget(new QLabel(QStringLiteral("Coverage"), client));
    m_coverage = new QLineEdit(client);
    m_coverage->setObjectName(QStringLiteral("Coverage"));
    m_coverage->setMaximumWidth(80);
    top->addWidget(m_coverage);
    top->addWidget(new QLabel(QStringLiteral("Tolerance (ppm)"), client));
    m_tolerance = new QLineEdit(client);
    m_tolerance->setObjectName(QStringLiteral("Tolerance"));
    m_tolerance->setMaximumWidth(70);
    m_tolerance->setPlaceholderText(QStringLiteral("1 FWHM"));
    m_tolerance->setToolTip(QStringLiteral(
        "How far a measured peak may lie from a theoretical one to be matched, in ppm; "
        "empty: one FWHM (m/z / R) at that m/z"));
    top->addWidget(m_tolerance);
    top->addWidget(new QLabel(QStringLiteral("Instrument"), client));
    m_instrument = new QComboBox(client);
    m_instrument->setObjectName(QStringLiteral("Instrument"));
    m_instrument->addItem(QStringLiteral("none"));
    for (const measured::InstrumentPreset& preset : measured::instrumentPresets) {
        m_instrument->addItem(
            QString::fromUtf8(preset.name.data(), static_cast<qsizetype>(preset.name.size())));
    }
    m_instrument->setToolTip(QStringLiteral(
        "The kind of instrument the measured spectrum comes from: its resolving power falls "
        "with m/z from the box's value at the maker's reference m/z, and its m/z and "
        "intensity errors set the isotope scores here and in Find Formula"));
    top->addWidget(m_instrument);
    top->addStretch();
    m_savePicture = new QPushButton(QStringLiteral("Save_Picture…"), client);
    m_savePicture->setObjectName(QStringLiteral("SavePicture"));
    m_savePicture->setEnabled(false);
    top->addWidget(m_savePicture);
    m_saveTable = new QPushButton(QStringLiteral("Save table…"), client);
    m_saveTable->setObjectName(QStringLiteral("SaveTable"));
    m_saveTable->setToolTip(
        QStringLiteral("The cluster table as TSV, or as CSV for a name ending in .csv"));
    m_saveTable->setEnabled(false);
    top->addWidget(m_saveTable);
    m_saveProfile = new QPushButton(QStringLiteral("Save profile…"), client);
    m_saveProfile->setObjectName(QStringLiteral("SaveProfile"));
    m_saveProfile->setToolTip(QStringLiteral("The profile as m/z TAB intensity lines"));
    m_saveProfile->setEnabled(false);
    top->addWidget(m_saveProfile);
    layout->addLayout(top);

    // Which measured spectrum is overlaid, and the way to take it away.
    auto* measuredRow = new QHBoxLayout;
    m_measuredName = new QLabel(client);
    m_measuredName->setObjectName(QStringLiteral("MeasuredName"));
    measuredRow->addWidget(m_measuredName, 1);
    m_closeMeasured = new QPushButton(QStringLiteral("Close measured spectrum"), client);
    m_closeMeasured->setObjectName(QStringLiteral("CloseMeasured"));
    measuredRow->addWidget(m_closeMeasured);
    layout->addLayout(measuredRow);
    m_measuredName->hide();
    m_closeMeasured->hide();

    m_problem = new QLabel(client);
    m_problem->setObjectName(QStringLiteral("Problem"));
    m_problem->setWordWrap(true);
    QPalette red = m_problem->palette();
    red.setColor(QPalette::WindowText, QColor(200, 0, 0));
    m_problem->setPalette(red);
    m_problem->hide();
    layout->addWidget(m_problem);

    auto* splitter = new QSplitter(Qt::Vertical, client);
    m_plot = new ProfilePlotView(splitter);
    splitter->addWidget(m_plot);

    auto* lower = new QWidget(splitter);
    auto* lowerLayout = new QHBoxLayout(lower);
    lowerLayout->setContentsMargins(0, 0, 0, 0);
    auto* summary = new QFormLayout;
    m_summary = {valueLabel(lower, "Formula"),          valueLabel(lower, "IonFormula"),
                 valueLabel(lower, "MonoisotopicMass"), valueLabel(lower, "MonoisotopicMz"),
                 valueLabel(lower, "MostAbundantMz"),   valueLabel(lower, "AverageMass"),
                 valueLabel(lower, "AverageMz"),        valueLabel(lower, "Score"),
                 valueLabel(lower, "IsotopeScore")};
    summary->addRow(QStringLiteral("Formula"), m_summary.formula);
    summary->addRow(QStringLiteral("Ion formula"), m_summary.ionFormula);
    summary->addRow(QStringLiteral("Monoisotopic mass"), m_summary.monoisotopicMass);
    summary->addRow(QStringLiteral("Monoisotopic m/z"), m_summary.monoisotopicMz);
    summary->addRow(QStringLiteral("Most abundant m/z"), m_summary.mostAbundantMz);
    summary->addRow(QStringLiteral("Average mass"), m_summary.averageMass);
    m_summary.averageMass->setToolTip(
        QStringLiteral("From the isotope masses of masses.txt weighted by the abundances of "
                       "abundances.txt; the main window's FW uses elem.txt's atomic weights"));
    summary->addRow(QStringLiteral("Average m/z"), m_summary.averageMz);
    summary->addRow(QStringLiteral("Match score"), m_summary.score);
    // "the measured spectrum has no peak between …" wraps rather than widening the summary
    // over the tables
    m_summary.score->setWordWrap(true);
    m_summary.score->setMaximumWidth(320);
    summary->addRow(QStringLiteral("Isotope score"), m_summary.isotopeScore);
    m_summary.isotopeScore->setToolTip(QStringLiteral(
        "The formula's isotope score and cosine as Find Formula gives them for the measured "
        "peak at its monoisotopic m/z, with the instrument chosen and the tolerance box's ppm "
        "(5 when empty)"));
    lowerLayout->addLayout(summary);
    m_table = new QTableView(lower);
    m_table->setObjectName(QStringLiteral("Clusters"));
    m_table->setModel(&m_clusters);
    m_table->verticalHeader()->hide();
    // whole numbers in every column, a scroll bar where the window is too narrow for them
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setStretchLastSection(true);
    auto* tables = new QVBoxLayout;
    tables->addWidget(m_table, 1);
    m_finePeaks = new FinePeakTable(*m_plot, session.separator(), lower);
    tables->addWidget(m_finePeaks, 1);
    lowerLayout->addLayout(tables, 1);
    m_chargeStates = new ChargeLadderTable(
        session, [this](const std::function<void()>& command) { return dispatch(command); }, lower);
    lowerLayout->addWidget(m_chargeStates);
    splitter->addWidget(lower);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    layout->addWidget(splitter, 1);
    statusBar()->setObjectName(QStringLiteral("Status"));

    makeTableCopyable(*m_table);
    for (QLabel* value : {m_summary.formula, m_summary.ionFormula, m_summary.monoisotopicMass,
                          m_summary.monoisotopicMz, m_summary.mostAbundantMz, m_summary.averageMass,
                          m_summary.averageMz, m_summary.score}) {
        makeValueCopyable(*value);
    }
    connect(m_saveTable, &QPushButton::clicked, this, &HighResolutionWindow::saveTable);
    connect(m_saveProfile, &QPushButton::clicked, this, &HighResolutionWindow::saveProfile);
    connect(m_closeMeasured, &QPushButton::clicked, this,
            [this] { dispatch([this] { m_session.closeMeasuredSpectrum(); }); });

    connect(m_savePicture, &QPushButton::clicked, this, &HighResolutionWindow::savePicture);
    connect(m_ion, &QComboBox::activated, this, &HighResolutionWindow::ionChosen);
    connect(m_ion->lineEdit(), &QLineEdit::editingFinished, this, &HighResolutionWindow::ionTyped);
    connect(m_resolvingPower, &QLineEdit::editingFinished, this, [this] {
        dispatch(
            [this] { m_session.setResolvingPowerText(m_resolvingPower->text().toStdString()); });
    });
    connect(m_coverage, &QLineEdit::editingFinished, this, [this] {
        dispatch([this] { m_session.setCoverageText(m_coverage->text().toStdString()); });
    });
    connect(m_tolerance, &QLineEdit::editingFinished, this, [this] {
        dispatch([this] { m_session.setToleranceText(m_tolerance->text().toStdString()); });
    });
    connect(m_instrument, &QComboBox::activated, this, [this](int index) {
        dispatch([this, index] {
            m_session.setInstrument(index == 0 ? std::string()
                                               : m_instrument->itemText(index).toStdString());
        });
    });
    connect(m_plot, &ProfilePlotView::clickedAt, this, [this](double mz) {
        // the tallest measured point within a hundredth of the visible span
        const plot::ViewRange& view = m_plot->view();
        const double reach = (view.mzHigh - view.mzLow) / 100;
        std::optional<plot::TracePoint> peak;
        for (const plot::TracePoint& point : m_plot->content().measured) {
            if (std::abs(point.mz - mz) <= reach && (!peak || point.intensity > peak->intensity)) {
                peak = point;
            }
        }
        if (peak) {
            emit measuredPeakClicked(peak->mz);
        }
    });
    connect(m_plot, &ProfilePlotView::pointerAt, this, [this](double mz, double intensity) {
        const char separator = m_session.separator();
        statusBar()->showMessage(
            QStringLiteral("m/z %1   intensity %2 %")
                .arg(QString::fromStdString(text::fixedText(mz, 18, 4, separator)),
                     QString::fromStdString(text::fixedText(intensity, 18, 2, separator))));
    });
    connect(&m_worker, &ProfileWorker::finished, this, &HighResolutionWindow::profileFinished);
    connect(&m_worker, &ProfileWorker::failed, this, &HighResolutionWindow::profileFailed);
    connect(&events, &SessionEvents::changed, this, &HighResolutionWindow::refresh);

    keepDesignedFrame(*this, designedFrame, FramePlace::Designed);
}

HighResolutionWindow::~HighResolutionWindow() = default;

bool HighResolutionWindow::dispatch(const std::function<void()>& command) {
    const std::optional<std::string> failure =
        commandFailure("show the high-resolution view", command);
    if (failure) {
        m_dialogs.showError(*failure);
    }
    return !failure;
}

void HighResolutionWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    refresh(session::StateChanges::all());
}

void HighResolutionWindow::ionChosen(int preset) {
    if (preset >= 0 && preset < static_cast<int>(std::size(ions::ionPresets))) {
        // A preset follows the main window's charge.
        dispatch([this, preset] { m_session.setIonText(ions::ionPresets[preset]); });
    }
}

void HighResolutionWindow::ionTyped() {
    const session::SessionState& state = m_session.state();
    const std::string typed = m_ion->currentText().toStdString();
    if (typed != ions::expandIon(state.ionText, state.settings.charge.value())) {
        dispatch([this, &typed] { m_session.setIonText(typed); });
    }
}

void HighResolutionWindow::copyTable() {
    QGuiApplication::clipboard()->setText(selectedRowsText(*m_table));
}

QString HighResolutionWindow::askSaveName(SaveLocations& files, const QString& kind) {
    // "C6H12O6-clusters.tsv", "C6H12O6-profile.tsv": the two saves never offer one file
    const QString stem =
        QString::fromStdString(m_session.formulaFileStem()) + QLatin1Char('-') + kind;
    const QString name = m_dialogs.getSaveFileName(
        files.propose(stem, QStringLiteral("tsv"),
                      QFile::decodeName(QByteArray::fromStdString(m_session.dataDirectory()))));
    if (name.isEmpty()) {
        return name;
    }
    // the dialog does not ask (the main window's saves have their own notice), so this does
    if (QFileInfo::exists(name) && !m_dialogs.confirm(QDir::toNativeSeparators(name).toStdString() +
                                                      " already exists. Replace it?")) {
        return {};
    }
    files.chosen(name, stem);
    return name;
}

void HighResolutionWindow::saveTable() {
    if (!m_result) {
        return;
    }
    const QString name = askSaveName(m_tableFiles, QStringLiteral("clusters"));
    if (name.isEmpty()) {
        return;
    }
    const QChar separator = name.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive)
                                ? QLatin1Char(',')
                                : QLatin1Char('\t');
    const QByteArray bytes = tableText(m_clusters, separator).toUtf8();
    if (dispatch([&] {
            exporting::writeFileAtomically(QFile::encodeName(name).toStdString(),
                                           std::string_view(bytes.constData(), bytes.size()));
        })) {
        showSaved(name);
    }
}

void HighResolutionWindow::saveProfile() {
    if (!m_result || !m_profile) {
        return;
    }
    const QString name = askSaveName(m_profileFiles, QStringLiteral("profile"));
    if (name.isEmpty()) {
        return;
    }
    if (dispatch([&] {
            const session::SessionState& state = m_session.state();
            exporting::writeProfileFile(QFile::encodeName(name).toStdString(),
                                        {m_result->ion, m_result->ionFormula,
                                         state.profileBoxes.resolvingPowerText,
                                         state.profileBoxes.coverageText},
                                        *m_profile);
        })) {
        showSaved(name);
    }
}

void HighResolutionWindow::savePicture() {
    if (!m_result) {
        return;
    }
    const QString stem = QString::fromStdString(m_session.formulaFileStem());
    PictureChoice offered = m_lastPicture;
    offered.name = m_pictureFiles.propose(
        stem, pictureSuffix(offered),
        QFile::decodeName(QByteArray::fromStdString(m_session.dataDirectory())));
    const std::optional<PictureChoice> choice = m_dialogs.getSavePictureName(offered);
    if (!choice) {
        return;
    }
    m_lastPicture = *choice;
    m_pictureFiles.chosen(choice->name, stem);
    const std::string path = QFile::encodeName(choice->name).toStdString();
    if (dispatch([&] {
            qtcanvas::savePicture(path, choice->format, m_plot->width(), m_plot->height(),
                                  choice->scale,
                                  [this](plot::Canvas& canvas) { m_plot->draw(canvas); });
        })) {
        showSaved(choice->name);
    }
}

void HighResolutionWindow::showSaved(const QString& name) {
    showStatus(QStringLiteral("Saved ") + QDir::toNativeSeparators(name));
}

void HighResolutionWindow::showProblem(const QString& message) {
    m_problem->setText(message);
    m_problem->setVisible(!message.isEmpty());
}

void HighResolutionWindow::showStatus(const QString& message) {
    if (m_notices.isEmpty()) {
        statusBar()->showMessage(message);
    } else {
        statusBar()->showMessage(message.isEmpty() ? m_notices
                                                   : message + QStringLiteral("   ") + m_notices);
    }
}

void HighResolutionWindow::refresh(session::StateChanges changes) {
    if (!isVisible()) {
        return; // shown again, it refreshes
    }
    using session::StateChanges;
    // what each part of the window is computed from; a change elsewhere (a range box of the
    // main window, the history) leaves the ion, its fine structure and the match as they are
    const StateChanges ladderInputs =
        session::ionInputs | StateChanges::LadderRange | StateChanges::Measured;
    const StateChanges matchInputs = session::ionInputs | StateChanges::ProfileBoxes |
                                     StateChanges::Measured | StateChanges::Instrument;
    const session::SessionState& state = m_session.state();
    const int charge = state.settings.charge.value();

    // The boxes show the session's texts, the presets for the charge of now.
    m_ion->blockSignals(true);
    m_ion->clear();
    for (const char* preset : ions::ionPresets) {
        m_ion->addItem(QString::fromStdString(ions::expandIon(preset, charge)));
    }
    m_ion->setEditText(QString::fromStdString(ions::expandIon(state.ionText, charge)));
    m_ion->blockSignals(false);
    if (!m_resolvingPower->hasFocus()) {
        m_resolvingPower->setText(QString::fromStdString(state.profileBoxes.resolvingPowerText));
    }
    if (!m_coverage->hasFocus()) {
        m_coverage->setText(QString::fromStdString(state.profileBoxes.coverageText));
    }
    if (!m_tolerance->hasFocus()) {
        m_tolerance->setText(QString::fromStdString(state.profileBoxes.toleranceText));
    }
    const int instrument = m_instrument->findText(QString::fromStdString(state.instrument));
    m_instrument->setCurrentIndex(instrument < 0 ? 0 : instrument);

    if (changes.touches(ladderInputs)) {
        m_chargeStates->refresh();
    }
    if (!changes.touches(matchInputs)) {
        if (changes.touches(StateChanges::Threshold)) {
            rebuildPlot(false); // the labels follow the threshold
        }
        return;
    }
    QString matchProblem;
    try {
        if (changes.touches(session::ionInputs) || !m_result) {
            m_result = m_session.currentIon();
        }
        try {
            const std::optional<ions::MeasuredView> measured = session::measuredViewOf(state);
            m_match = ions::matchMeasured(state.tables, session::profileBoxesOf(state),
                                          measured ? &*measured : nullptr, *m_result,
                                          m_session.separator());
        } catch (const text::Error& error) {
            // the ion stands without the match; the boxes say what is wrong
            m_match.reset();
            matchProblem = QString::fromStdString(error.what());
        }
    } catch (const text::Error& error) {
        m_result.reset();
        m_notices.clear();
        m_match.reset();
        m_worker.cancel();
        m_profile.reset();
        m_profileKey.clear();
        m_computing = false;
        // before any formula the reader's complaint about the ion says nothing useful
        showProblem(state.composition.elements.empty() && state.measured
                        ? QStringLiteral("Enter a formula (F2) to set its ion beside the spectrum.")
                        : QString::fromStdString(error.what()));
        showIon();
        rebuildPlot(true);
        return;
    }
    showProblem(matchProblem);
    showIon();
    QStringList notices;
    for (const std::string& notice : m_result->notices) {
        notices.append(QString::fromStdString(notice));
    }
    if (const std::string axis =
            ions::mainAxisNotice(*m_result, state.settings.charge.value(), m_session.separator());
        !axis.empty()) {
        notices.append(QString::fromStdString(axis));
    }
    m_notices = notices.join(QStringLiteral("; "));
    showStatus({});

    // A new profile only when what it depends on changed; until it comes, the clusters.
    const std::string key = m_result->ionFormula + '|' + std::to_string(m_result->charge) + '|' +
                            state.profileBoxes.resolvingPowerText + '|' +
                            state.profileBoxes.coverageText;
    const bool newProfile = key != m_profileKey;
    if (newProfile) {
        m_profileKey = key;
        m_profile.reset();
        try {
            profile::ProfileSettings settings =
                ions::profileSettingsOf(session::profileBoxesOf(state), m_session.separator());
            settings.compositionLimit = FinePeakModel::compositionLimit;
            m_worker.start(++m_ticket,
                           ions::profileInputFor(state.tables, *m_result, m_session.separator()),
                           settings);
            m_computing = true;
            showStatus(QStringLiteral("Computing the profile…"));
        } catch (const text::Error& error) {
            m_worker.cancel();
            m_computing = false;
            showProblem(QString::fromStdString(error.what()));
        }
    }
    rebuildPlot(newProfile);
}

void HighResolutionWindow::showIon() {
    const char separator = m_session.separator();
    const auto fixed = [separator](double value) {
        return QString::fromStdString(text::fixedText(value, 18, 5, separator));
    };
    std::vector<ClusterRow> rows;
    if (!m_result) {
        for (QLabel* label :
             {m_summary.formula, m_summary.ionFormula, m_summary.monoisotopicMass,
              m_summary.monoisotopicMz, m_summary.mostAbundantMz, m_summary.averageMass,
              m_summary.averageMz, m_summary.score, m_summary.isotopeScore}) {
            label->clear();
        }
        m_clusters.setRows({}, false);
        return;
    }
    const ions::IonResult& ion = *m_result;
    m_summary.formula->setText(QString::fromStdString(ion.moleculeFormula));
    m_summary.ionFormula->setText(QString::fromStdString(ion.ion + "  " + ion.ionFormula));
    m_summary.monoisotopicMass->setText(fixed(ion.monoisotopicMass));
    // impure labels put lighter isotopologues below the monoisotopic one
    m_summary.monoisotopicMz->setText(ion.lightestMz < ion.monoisotopicMz
                                          ? fixed(ion.monoisotopicMz) +
                                                QStringLiteral("  (lightest ") +
                                                fixed(ion.lightestMz) + QStringLiteral(")")
                                          : fixed(ion.monoisotopicMz));
    m_summary.mostAbundantMz->setText(fixed(ion.mostAbundantMz));
    m_summary.averageMass->setText(fixed(ion.averageMass));
    m_summary.averageMz->setText(fixed(ion.averageMz));
    QString score;
    if (m_match) {
        const std::string noPeak = ions::noPeakText(m_match->match, separator);
        score = QString::fromStdString(
            noPeak.empty() ? text::fixedText(m_match->match.score, 18, 6, separator) : noPeak);
        if (noPeak.empty()) {
            score += QStringLiteral("   (unexplained %1 %)")
                         .arg(QString::fromStdString(
                             text::fixedText(m_match->match.unexplained * 100, 18, 1, separator)));
        }
        if (!m_match->chargeNotice.empty()) {
            score += QStringLiteral("   ") + QString::fromStdString(m_match->chargeNotice);
        }
    }
    m_summary.score->setText(score);
    QString isotopeScore;
    if (m_match && ions::noPeakText(m_match->match, separator).empty()) {
        if (const auto pattern = windowPatternScore(m_session.state(), ion, separator)) {
            isotopeScore = QString::fromStdString(patternScoreText(*pattern, separator));
        }
    }
    m_summary.isotopeScore->setText(isotopeScore);

    for (const ions::IonCluster& cluster : ions::listedClusters(ion)) {
        ClusterRow row{cluster.nominalMass,
                       cluster.mass,
                       cluster.mz,
                       cluster.intensity,
                       {},
                       {},
                       {},
                       {},
                       cluster.mz == ion.mostAbundantMz};
        if (m_match) {
            for (const measured::ClusterComparison& compared : m_match->match.clusters) {
                if (compared.mz == cluster.mz) {
                    row.measuredPercent = compared.measuredPercent;
                    row.difference = compared.difference;
                    row.measuredMz = compared.measuredMz;
                    row.ppm = compared.ppm;
                }
            }
        }
        rows.push_back(row);
    }
    const auto tallest = std::find_if(rows.begin(), rows.end(),
                                      [](const ClusterRow& row) { return row.mostAbundant; });
    const int tallestRow = static_cast<int>(tallest - rows.begin());
    const bool hasTallest = tallest != rows.end();
    m_clusters.setRows(std::move(rows), m_match.has_value());
    // a protein's list begins far below its tallest cluster: the table opens on that one
    if (hasTallest) {
        // once the table has its size: a window just shown lays it out after this
        QMetaObject::invokeMethod(
            m_table,
            [this, tallestRow] {
                if (tallestRow < m_clusters.rowCount()) {
                    m_table->scrollTo(m_clusters.index(tallestRow, 0),
                                      QAbstractItemView::PositionAtCenter);
                }
            },
            Qt::QueuedConnection);
    }
}

void HighResolutionWindow::rebuildPlot(bool wholeView) {
    m_savePicture->setEnabled(m_result.has_value());
    m_saveTable->setEnabled(m_result.has_value());
    m_saveProfile->setEnabled(m_result.has_value() && m_profile != nullptr);
    showMeasuredName();
    if (!m_result) {
        // a spectrum opened before any formula is shown alone
        const std::optional<ions::MeasuredView> measured =
            session::measuredViewOf(m_session.state());
        m_plot->setContent(measured ? ions::measuredAloneContent(*measured, m_session.separator())
                                    : plot::HighResolutionContent{},
                           true);
        m_finePeaks->setProfile(nullptr, 1);
        return;
    }
    const session::SessionState& state = m_session.state();
    const std::optional<ions::MeasuredView> measured = session::measuredViewOf(state);
    plot::HighResolutionContent content = ions::highResolutionContent(
        session::labelThresholdOf(state), measured ? &*measured : nullptr, *m_result,
        m_profile.get(), m_match, m_session.separator());
    content.chargeMarks = ions::ladderMarks(measured.has_value(), m_chargeStates->rungs().rungs());
    m_plot->setContent(std::move(content), wholeView);
    m_finePeaks->setProfile(m_profile, m_result->charge);
}

void HighResolutionWindow::showMeasuredName() {
    const std::optional<session::MeasuredSpectrum>& measured = m_session.state().measured;
    m_closeMeasured->setVisible(measured.has_value());
    m_measuredName->setVisible(measured.has_value());
    if (!measured) {
        return;
    }
    const auto& spectra = measured->file.spectra();
    QString name =
        QStringLiteral("Measured: %1").arg(QString::fromStdString(measured->file.fileName()));
    if (spectra.size() > 1 && measured->index < spectra.size()) {
        name += QStringLiteral(", spectrum %1 (%2)")
                    .arg(measured->index)
                    .arg(QString::fromStdString(spectra[measured->index].id));
    }
    m_measuredName->setText(name);
}

void HighResolutionWindow::profileFinished(int ticket,
                                           std::shared_ptr<const profile::Profile> profile) {
    if (ticket != m_ticket) {
        return; // for settings that are no longer in the boxes
    }
    m_computing = false;
    m_profile = std::move(profile);
    showStatus(m_profile->fromFineStructure
                   ? QStringLiteral("Profile from %1 fine peaks").arg(m_profile->finePeakCount)
                   : QStringLiteral("Profile from the accurate clusters"));
    rebuildPlot(false);
}

void HighResolutionWindow::profileFailed(int ticket, const QString& message) {
    if (ticket != m_ticket) {
        return;
    }
    m_computing = false;
    showProblem(message);
}

} // namespace orvane::app
