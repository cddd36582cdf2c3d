#include "app/correct_isotopologues_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include <fstream>

#include "app/correction_table_model.h"
#include "app/fraction_bar_chart.h"
#include "app/user_dialogs.h"
#include "session/session.h"
#include "text/error.h"
#include "text/number_parse.h"
#include "tracer/correction_table.h"
#include "tracer/fraction_bars.h"
#include "tracer/isotope_table.h"

namespace orvane::app {

namespace {

// A file box with its "…" button beside it.
QWidget* fileRow(QLineEdit* box, QPushButton* button) {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(box, 1);
    layout->addWidget(button);
    return row;
}

// A number box's value; nothing for an empty box. Raises text::Error naming the box.
std::optional<double> positiveNumberOf(const QLineEdit* box, const char* name, char separator) {
    const std::string text = box->text().trimmed().toStdString();
    if (text.empty()) {
        return std::nullopt;
    }
    std::optional<double> value = text::tryParseReal(text, separator);
    if (!value && separator != '.') {
        value = text::tryParseReal(text, '.');
    }
    if (!value || !(*value > 0)) {
        throw text::Error(std::string(name) + ": '" + text + "' is not a number above 0");
    }
    return value;
}

} // namespace

CorrectIsotopologuesWindow::CorrectIsotopologuesWindow(const session::Session& session,
                                                       UserDialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), m_session(session), m_dialogs(dialogs) {
    setObjectName(QStringLiteral("CorrectIsotopologuesWindow"));
    setWindowTitle(QStringLiteral("Correct isotopologues"));

    m_measurements = new QLineEdit;
    m_measurements->setObjectName(QStringLiteral("MeasurementsBox"));
    auto* openMeasurements = new QPushButton(QStringLiteral("Open…"));
    openMeasurements->setObjectName(QStringLiteral("OpenMeasurements"));
    m_metabolites = new QLineEdit;
    m_metabolites->setObjectName(QStringLiteral("MetabolitesBox"));
    auto* openMetabolites = new QPushButton(QStringLiteral("…"));
    m_derivatives = new QLineEdit;
    m_derivatives->setObjectName(QStringLiteral("DerivativesBox"));
    auto* openDerivatives = new QPushButton(QStringLiteral("…"));
    m_isotopeTable = new QLineEdit;
    m_isotopeTable->setObjectName(QStringLiteral("IsotopeTableBox"));
    m_isotopeTable->setPlaceholderText(QStringLiteral("empty: the data files' isotopes"));
    m_isotopeTable->setToolTip(
        QStringLiteral("A peer's isotope table (element, mass, abundance; IsoCor's "
                       "Isotopes.dat) whose abundances and masses the correction uses"));
    auto* openIsotopeTable = new QPushButton(QStringLiteral("…"));

    m_tracer = new QComboBox;
    m_tracer->setObjectName(QStringLiteral("TracerBox"));
    m_tracer->setEditable(true);
    m_tracer->addItems({QStringLiteral("13C"), QStringLiteral("15N"), QStringLiteral("2H"),
                        QStringLiteral("18O"), QStringLiteral("34S"), QStringLiteral("13C,15N")});
    m_purity = new QLineEdit;
    m_purity->setObjectName(QStringLiteral("PurityBox"));
    m_purity->setPlaceholderText(QStringLiteral("pure; e.g. 0.01,0.99, 99 or 99+natural"));
    m_naturalAbundance = new QCheckBox(QStringLiteral("Correct the tracer's natural abundance"));
    m_naturalAbundance->setObjectName(QStringLiteral("NaturalAbundanceBox"));
    m_naturalAbundance->setChecked(true);
    m_resolution = new QLineEdit;
    m_resolution->setObjectName(QStringLiteral("ResolutionBox"));
    m_resolution->setPlaceholderText(QStringLiteral("empty: whole mass steps"));
    m_resolutionAt = new QLineEdit(QStringLiteral("400"));
    m_resolutionAt->setObjectName(QStringLiteral("ResolutionAtBox"));
    m_instrument = new QComboBox;
    m_instrument->setObjectName(QStringLiteral("InstrumentBox"));
    m_instrument->addItems(
        {QStringLiteral("orbitrap"), QStringLiteral("ftcr"), QStringLiteral("constant")});
    m_sheet = new QComboBox;
    m_sheet->setObjectName(QStringLiteral("SheetBox"));
    m_sheet->addItems(
        {QStringLiteral("rows"), QStringLiteral("corrected"), QStringLiteral("normalized")});

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Measurements:"), fileRow(m_measurements, openMeasurements));
    form->addRow(QStringLiteral("Metabolites:"), fileRow(m_metabolites, openMetabolites));
    form->addRow(QStringLiteral("Derivatives:"), fileRow(m_derivatives, openDerivatives));
    form->addRow(QStringLiteral("Isotope table:"), fileRow(m_isotopeTable, openIsotopeTable));
    form->addRow(QStringLiteral("Tracer:"), m_tracer);
    form->addRow(QStringLiteral("Purity:"), m_purity);
    form->addRow(QString(), m_naturalAbundance);
    form->addRow(QStringLiteral("Resolving power:"), m_resolution);
    form->addRow(QStringLiteral("at m/z:"), m_resolutionAt);
    form->addRow(QStringLiteral("Instrument:"), m_instrument);
    form->addRow(QStringLiteral("Table:"), m_sheet);

    auto* correct = new QPushButton(QStringLiteral("Correct"));
    correct->setObjectName(QStringLiteral("CorrectButton"));
    correct->setDefault(true);
    auto* save = new QPushButton(QStringLiteral("Save…"));
    save->setObjectName(QStringLiteral("SaveButton"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(correct);
    buttons->addWidget(save);

    m_model = new CorrectionTableModel(this);
    m_table = new QTableView;
    m_table->setObjectName(QStringLiteral("CorrectionTable"));
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->verticalHeader()->hide();
    m_chart = new FractionBarChart;
    auto* splitter = new QSplitter(Qt::Vertical);
    splitter->addWidget(m_table);
    splitter->addWidget(m_chart);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    m_status = new QLabel;
    m_status->setObjectName(QStringLiteral("StatusLine"));
    m_status->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->addWidget(splitter, 1);
    layout->addWidget(m_status);
    resize(720, 640);

    connect(openMeasurements, &QPushButton::clicked, this, [this] {
        chooseFile(m_measurements, QStringLiteral("Open measurements"));
        if (!m_measurements->text().isEmpty()) {
            correctNow();
        }
    });
    connect(openMetabolites, &QPushButton::clicked, this,
            [this] { chooseFile(m_metabolites, QStringLiteral("Open metabolites")); });
    connect(openDerivatives, &QPushButton::clicked, this,
            [this] { chooseFile(m_derivatives, QStringLiteral("Open derivatives")); });
    connect(openIsotopeTable, &QPushButton::clicked, this,
            [this] { chooseFile(m_isotopeTable, QStringLiteral("Open isotope table")); });
    connect(correct, &QPushButton::clicked, this, [this] { correctNow(); });
    connect(save, &QPushButton::clicked, this, [this] { chooseSaveFile(); });
    connect(m_sheet, &QComboBox::currentIndexChanged, this, [this] { showSheet(); });
    connect(m_table->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { showChartOfRow(current.row()); });
}

CorrectIsotopologuesWindow::~CorrectIsotopologuesWindow() = default;

void CorrectIsotopologuesWindow::openForCorrection() {
    show();
    raise();
    activateWindow();
}

bool CorrectIsotopologuesWindow::openMeasurements(const QString& path) {
    m_measurements->setText(path);
    return correctNow();
}

tracer::CorrectionSettings CorrectIsotopologuesWindow::settingsOfBoxes() const {
    tracer::CorrectionSettings settings;
    settings.tracers = m_tracer->currentText().trimmed().toStdString();
    settings.purity = m_purity->text().trimmed().toStdString();
    settings.correctTracerNaturalAbundance = m_naturalAbundance->isChecked();
    const char separator = m_session.separator();
    if (const std::optional<double> power =
            positiveNumberOf(m_resolution, "Resolving power", separator)) {
        tracer::HighResolution resolution;
        resolution.resolvingPower = *power;
        resolution.atMz = positiveNumberOf(m_resolutionAt, "at m/z", separator).value_or(400);
        resolution.instrument = tracer::instrumentNamed(m_instrument->currentText().toStdString())
                                    .value_or(tracer::Instrument::Orbitrap);
        settings.resolution = resolution;
    }
    return settings;
}

bool CorrectIsotopologuesWindow::correctNow() {
    try {
        tracer::CorrectionInput input;
        input.settings = settingsOfBoxes();
        input.measurements =
            tracer::readMeasurementFile(m_measurements->text().trimmed().toStdString());
        if (!m_metabolites->text().trimmed().isEmpty()) {
            input.metabolites =
                tracer::readNamedFormulaFile(m_metabolites->text().trimmed().toStdString(), true);
        }
        if (!m_derivatives->text().trimmed().isEmpty()) {
            input.derivatives =
                tracer::readNamedFormulaFile(m_derivatives->text().trimmed().toStdString(), false);
        }
        if (!m_isotopeTable->text().trimmed().isEmpty()) {
            input.isotopeTable =
                tracer::readIsotopeTableFile(m_isotopeTable->text().trimmed().toStdString());
        }
        const session::SessionState& state = m_session.state();
        m_result = tracer::correct(
            {state.tables, state.reader, state.isotopes, m_session.separator()}, input);
    } catch (const text::Error& error) {
        m_result.reset();
        showSheet();
        m_status->setText(QString::fromStdString(error.what()));
        m_dialogs.showError(error.what());
        return false;
    }
    showSheet();
    m_status->setText(QStringLiteral("%1 rows corrected").arg(m_result->rows.size()));
    return true;
}

void CorrectIsotopologuesWindow::showSheet() {
    if (!m_result) {
        m_model->setTable({});
        m_chart->setBars({}, QString());
        return;
    }
    tracer::CorrectionSheet sheet = tracer::CorrectionSheet::Rows;
    tracer::sheetNamed(m_sheet->currentText().toStdString(), sheet);
    m_model->setTable(tracer::correctionTable(*m_result, sheet));
    m_table->resizeColumnsToContents();
    showChartOfRow(0);
}

void CorrectIsotopologuesWindow::showChartOfRow(int row) {
    // a row of any sheet names its metabolite: IsoCor's rows by their own, AccuCor's by
    // the corrected row at the same compound
    if (!m_result || m_result->rows.empty()) {
        m_chart->setBars({}, QString());
        return;
    }
    const tracer::CorrectedRow* chosen = &m_result->rows.front();
    if (m_sheet->currentIndex() == 0 && row >= 0 && row < static_cast<int>(m_result->rows.size())) {
        chosen = &m_result->rows[static_cast<std::size_t>(row)];
    } else if (row >= 0 && row < m_model->rowCount()) {
        const std::string compound = m_model->table().lines[static_cast<std::size_t>(row)][0];
        for (const tracer::CorrectedRow& candidate : m_result->rows) {
            const std::string name = candidate.derivative.empty()
                                         ? candidate.metabolite
                                         : candidate.metabolite + " " + candidate.derivative;
            if (name == compound) {
                chosen = &candidate;
                break;
            }
        }
    }
    const QString title = QString::fromStdString(
        chosen->derivative.empty() ? chosen->metabolite
                                   : chosen->metabolite + " " + chosen->derivative);
    m_chart->setBars(tracer::fractionBarsOf(*m_result, chosen->metabolite, chosen->derivative),
                     title + QStringLiteral(": isotopologue fractions per sample"));
}

bool CorrectIsotopologuesWindow::saveTo(const QString& path) {
    if (m_model->table().header.empty()) {
        m_dialogs.showError("There is no corrected table to save yet.");
        return false;
    }
    const std::string file = path.toStdString();
    if (QFileInfo::exists(path) && !m_dialogs.confirm(file + " already exists. Replace it?")) {
        return false;
    }
    const bool csv = path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << tracer::delimitedText(m_model->table(), csv ? ',' : '\t');
    out.close();
    if (!out) {
        m_dialogs.showError(file + ": the table could not be written");
        return false;
    }
    m_status->setText(QStringLiteral("Saved to %1").arg(path));
    return true;
}

void CorrectIsotopologuesWindow::chooseFile(QLineEdit* box, const QString& title) {
    const QString chosen = QFileDialog::getOpenFileName(
        this, title, box->text(), QStringLiteral("Tables (*.tsv *.txt *.dat *.csv);;All (*)"));
    if (!chosen.isEmpty()) {
        box->setText(chosen);
    }
}

void CorrectIsotopologuesWindow::chooseSaveFile() {
    // the window asks before it replaces a file, the same question in every front end
    const QString chosen = QFileDialog::getSaveFileName(
        this, QStringLiteral("Save the corrected table"), QString(),
        QStringLiteral("TAB-separated (*.tsv);;Comma-separated (*.csv)"), nullptr,
        QFileDialog::DontConfirmOverwrite);
    if (!chosen.isEmpty()) {
        saveTo(chosen);
    }
}

} // namespace orvane::app
