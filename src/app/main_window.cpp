#include "app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

#include <algorithm>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "app/command_failure.h"
#include "app/formula_preview_text.h"
#include "app/count_dialog.h"
#include "app/element_grid_view.h"
#include "app/correct_isotopologues_window.h"
#include "app/find_formula_window.h"
#include "app/formula_dialog.h"
#include "app/high_resolution_window.h"
#include "app/grid_view_setup.h"
#include "app/image_view.h"
#include "app/isotope_window.h"
#include "app/label_texts.h"
#include "app/main_menus.h"
#include "app/progress_window.h"
#include "app/spin_box.h"
#include "app/user_dialogs.h"
#include "app/window_geometry.h"
#include "data/data_tables.h"
#include "export/safe_file_writer.h"
#include "qtcanvas/image_canvas.h"
#include "qtcanvas/picture_file.h"
#include "ion/formula_preview.h"
#include "text/error.h"

namespace orvane::app {

namespace {

const QRect designedFrame(47, 40, 852, 786);
constexpr int gridRowHeight = 14;
constexpr int elementColumnWidth = 70;

QFont arial(int pixelSize, bool bold = false) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

void setBackground(QWidget& widget, const QColor& color) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, color);
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

// The font narrowed just enough for `text` to fit `width`, at the same height: the
// labels keep their designed size even where the typeface runs a little wider than the
// designed one, and a wider label would cover the box beside it.
constexpr int narrowestStretch = 50;

QFont narrowedToFit(QFont font, const QString& text, int width) {
    for (int stretch = 100; stretch > narrowestStretch; --stretch) {
        font.setStretch(stretch);
        if (QFontMetrics(font).horizontalAdvance(text) <= width) {
            break;
        }
    }
    return font;
}

QLabel* addLabel(QWidget* parent, const char* name, const QString& text, const QRect& place,
                 bool bold = false) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(place);
    // Every pixel of the label goes to the text.
    label->setMargin(0);
    label->setIndent(0);
    label->setContentsMargins(0, 0, 0, 0);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setFont(narrowedToFit(arial(12, bold), text, place.width()));
    return label;
}

QPushButton* addButton(QWidget* parent, const char* name, const QString& text, const QRect& place) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(place);
    return button;
}

void setColumnWidths(QTableView& view, const std::vector<int>& widths) {
    for (std::size_t column = 0; column < widths.size(); ++column) {
        view.setColumnWidth(static_cast<int>(column), widths[column]);
    }
}

void showText(QLineEdit& edit, const std::string& text) {
    const QString shown = QString::fromStdString(text);
    if (edit.text() != shown) {
        edit.setText(shown);
        // A text longer than its field shows its start (15.909 rather than 9090909).
        edit.setCursorPosition(0);
    }
}

} // namespace

MainWindow::MainWindow(session::Session& session, UserDialogs& dialogs,
                       qtcanvas::ImageCanvas& canvas, WindowTiming timing, QWidget* parent)
    : QMainWindow(parent), m_session(session), m_dialogs(dialogs), m_canvas(canvas),
      m_timing(timing), m_events(session), m_elementModel(session.state().tables.elements),
      m_workModel(session.state().workGrid),
      m_msModel(session.state().msData, session.separator()) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Orvane for Small Displays"));
    setFont(arial(12));

    // Every control keeps its designed place: nothing is laid out or anchored.
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("Client"));
    setCentralWidget(client);
    buildElementArea(client);
    buildPlotPanel(client);
    buildBottomBar(client);
    const MainMenus menus = buildMainMenus(*this);
    m_savePicture = menus.savePicture;
    m_twoThreads = menus.twoThreads;
    showEngineThreads();
    keepDesignedFrame(*this, designedFrame, FramePlace::Designed);

    m_countDialog = std::make_unique<CountDialog>();
    connect(m_countDialog.get(), &CountDialog::ok1Clicked, this, &MainWindow::OK1Click);
    m_isotopeWindow = std::make_unique<IsotopeWindow>(m_session.state().tables.isotopes);
    m_highResolution = std::make_unique<HighResolutionWindow>(m_session, m_events, m_dialogs);
    m_formulaDialog = std::make_unique<FormulaDialog>();
    connect(m_formulaDialog.get(), &FormulaDialog::okClicked, this, &MainWindow::FormulaOKClick);
    connect(m_formulaDialog.get(), &FormulaDialog::textChanged, this,
            &MainWindow::FormulaTextChanged);
    m_findFormula = std::make_unique<FindFormulaWindow>(m_session);
    connect(m_findFormula.get(), &FindFormulaWindow::candidateChosen, this,
            &MainWindow::FindFormulaChosen);
    // a measured peak clicked in the high-resolution window is the finder's next target
    connect(m_highResolution.get(), &HighResolutionWindow::measuredPeakClicked, this,
            [this](double mz) {
                m_findFormula->setTargetMz(mz);
                FindFormula1Click();
            });
    connect(&m_events, &SessionEvents::changed, this, &MainWindow::refresh);

    refresh();
    m_stringGrid1->setCurrentCellQuietly(0, data::SymbolRow);
    exporting::setInPlaceConsent(
        [this](const std::string& path) { return allowRewriteInPlace(path); });
}

MainWindow::~MainWindow() {
    exporting::setInPlaceConsent({});
}

bool MainWindow::allowRewriteInPlace(const std::string& path) {
    if (m_rewritesAllowed.contains(path)) {
        return true;
    }
    if (!m_dialogs.confirm(path + "\n\nThe folder takes no new files, so the file can only be "
                                  "rewritten in place: if the save fails part-way, its old "
                                  "contents are lost. Save it all the same?")) {
        return false;
    }
    m_rewritesAllowed.insert(path);
    return true;
}

QLineEdit* MainWindow::addLineEdit(QWidget* parent, const char* name, const QRect& place) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(place);
    return edit;
}

void MainWindow::buildElementArea(QWidget* client) {
    m_stringGrid1 = new ElementGridView(client);
    m_stringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    m_stringGrid1->setGeometry(0, 0, 841, 97);
    m_stringGrid1->setFont(arial(11));
    m_stringGrid1->setModel(&m_elementModel);
    setUpGridView(*m_stringGrid1, gridRowHeight, elementColumnWidth);
    connect(m_stringGrid1, &ElementGridView::selectCell, this, &MainWindow::StringGrid1SelectCell);
    connect(m_stringGrid1, &ElementGridView::mouseDown, this, &MainWindow::StringGrid1MouseDown);
    connect(m_stringGrid1, &ElementGridView::gridClick, this, &MainWindow::StringGrid1Click);

    QPushButton* initialize1 =
        addButton(client, "Initialize1", QStringLiteral("Initialize1"), {176, 40, 75, 25});
    initialize1->hide();
    connect(initialize1, &QPushButton::clicked, this, &MainWindow::Initialize1Click);

    m_spinEdit4 = new SpinBox(client);
    m_spinEdit4->setObjectName(QStringLiteral("SpinEdit4"));
    m_spinEdit4->setGeometry(376, 72, 121, 24);
    m_spinEdit4->hide();
    m_spinEdit5 = new SpinBox(client);
    m_spinEdit5->setObjectName(QStringLiteral("SpinEdit5"));
    m_spinEdit5->setGeometry(512, 72, 121, 24);
    m_spinEdit5->hide();
}

void MainWindow::buildPlotPanel(QWidget* client) {
    auto* panel1 = new QFrame(client);
    panel1->setObjectName(QStringLiteral("Panel1"));
    panel1->setGeometry(-5, 100, 846, 597);
    panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    setBackground(*panel1, Qt::white);

    m_image1 = new ImageView(m_canvas.image(), panel1);
    m_image1->setObjectName(QStringLiteral("Image1"));
    m_image1->setGeometry(59, 8, 782, 553);

    m_edit4 = addLineEdit(panel1, "Edit4", {10, 8, 45, 20});
    bindText(*m_edit4, session::EditableText::UpperIntensity);
    m_edit3 = addLineEdit(panel1, "Edit3", {10, 540, 45, 20});
    bindText(*m_edit3, session::EditableText::LowerIntensity);
    m_edit1 = addLineEdit(panel1, "Edit1", {59, 568, 50, 20});
    bindText(*m_edit1, session::EditableText::LowerMz);
    // Enter in a range box applies both bounds, as "Apply" does.
    connect(m_edit1, &QLineEdit::returnPressed, this, &MainWindow::Button1Click);

    QPushButton* button1 =
        addButton(panel1, "Button1", QStringLiteral("Apply"), {111, 565, 36, 25});
    connect(button1, &QPushButton::clicked, this, &MainWindow::Button1Click);
    QPushButton* button3 =
        addButton(panel1, "Button3", QStringLiteral("Reset"), {148, 565, 36, 25});
    connect(button3, &QPushButton::clicked, this, &MainWindow::Button3Click);

    m_checkBox1 = new QCheckBox(QStringLiteral("Show_Peak_Positions"), panel1);
    m_checkBox1->setObjectName(QStringLiteral("CheckBox1"));
    m_checkBox1->setGeometry(352, 569, 137, 17);
    // Narrowed like the labels, so that box and caption fit the designed width.
    QFont caption = m_checkBox1->font();
    for (int stretch = 100;
         m_checkBox1->sizeHint().width() > m_checkBox1->width() && stretch > narrowestStretch;) {
        caption.setStretch(--stretch);
        m_checkBox1->setFont(caption);
    }
    connect(m_checkBox1, &QCheckBox::clicked, this, &MainWindow::CheckBox1Click);

    m_checkBox2 = new QCheckBox(panel1);
    m_checkBox2->setObjectName(QStringLiteral("CheckBox2"));
    m_checkBox2->setGeometry(576, 567, 25, 17);
    m_checkBox2->hide();

    QPushButton* button4 =
        addButton(panel1, "Button4", QStringLiteral("Reset"), {714, 566, 36, 25});
    connect(button4, &QPushButton::clicked, this, &MainWindow::Button3Click);
    QPushButton* button2 =
        addButton(panel1, "Button2", QStringLiteral("Apply"), {752, 566, 36, 25});
    connect(button2, &QPushButton::clicked, this, &MainWindow::Button1Click);

    m_edit2 = addLineEdit(panel1, "Edit2", {790, 569, 50, 20});
    bindText(*m_edit2, session::EditableText::UpperMz);
    connect(m_edit2, &QLineEdit::returnPressed, this, &MainWindow::Button1Click);

    QPushButton* range1 = addButton(panel1, "Range1", QStringLiteral("Range1"), {504, 336, 75, 25});
    range1->hide();
    connect(range1, &QPushButton::clicked, this, &MainWindow::Range1Click);
    QPushButton* spectrum1 =
        addButton(panel1, "Spectrum1", QStringLiteral("Spectrum1"), {504, 360, 75, 25});
    spectrum1->hide();
    connect(spectrum1, &QPushButton::clicked, this, &MainWindow::Spectrum1Click);
    // The atom steps run only inside the pattern engine; this button has nothing of its
    // own to run.
    QPushButton* isotope1 =
        addButton(panel1, "Isotope1", QStringLiteral("Isotope"), {504, 384, 75, 25});
    isotope1->hide();

    // The grids and fields that the "Option" menu shows lie over the picture.
    m_stringGrid2 = new QTableView(panel1);
    m_stringGrid2->setObjectName(QStringLiteral("StringGrid2"));
    m_stringGrid2->setGeometry(448, 16, 377, 121);
    m_stringGrid2->setModel(&m_workModel);
    setUpGridView(*m_stringGrid2, gridRowHeight, 64);
    setColumnWidths(*m_stringGrid2, {28, 64, 64, 64, 64, 64});
    m_stringGrid2->hide();

    m_edit5 = addLineEdit(panel1, "Edit5", {504, 136, 121, 20});
    bindText(*m_edit5, session::EditableText::MsRangeLower);
    m_edit5->hide();
    m_edit6 = addLineEdit(panel1, "Edit6", {656, 136, 121, 20});
    bindText(*m_edit6, session::EditableText::MsRangeUpper);
    m_edit6->hide();

    m_stringGrid3 = new QTableView(panel1);
    m_stringGrid3->setObjectName(QStringLiteral("StringGrid3"));
    m_stringGrid3->setGeometry(117, 19, 324, 526);
    m_stringGrid3->setModel(&m_msModel);
    setUpGridView(*m_stringGrid3, gridRowHeight, 64);
    setColumnWidths(*m_stringGrid3, {55, 171, 70});
    m_stringGrid3->hide();
}

void MainWindow::buildBottomBar(QWidget* client) {
    auto* panel2 = new QFrame(client);
    panel2->setObjectName(QStringLiteral("Panel2"));
    panel2->setGeometry(-1, 696, 842, 41);
    panel2->setFrameStyle(QFrame::Panel | QFrame::Raised);
    // The desktop's colour has no role of its own in Qt; the palette's dark shade is the
    // system colour closest to it.
    setBackground(*panel2, panel2->palette().color(QPalette::Dark));

    addLabel(panel2, "Label5", QStringLiteral("Formula"), {8, 16, 48, 12}, true);
    m_formula = addLineEdit(panel2, "Formula", {64, 11, 281, 20});
    m_formula->setToolTip(
        QStringLiteral("The formula of the counts; press F2 to enter a formula as text"));
    m_formula->setReadOnly(true);

    addLabel(panel2, "Label1", QStringLiteral("FW"), {350, 15, 18, 12}, true);
    m_weight = addLineEdit(panel2, "Weight", {373, 11, 80, 23});
    m_weight->setToolTip(QStringLiteral(
        "Formula weight from the atomic weights of elem.txt (the high-resolution window's "
        "average mass is from masses.txt and abundances.txt)"));
    bindText(*m_weight, session::EditableText::Weight);

    setBackground(*addLabel(panel2, "Label3", QStringLiteral("Charge:"), {470, 15, 38, 12}),
                  QColor(255, 0, 0));
    m_spinEdit1 = new SpinBox(panel2);
    m_spinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    m_spinEdit1->setGeometry(512, 11, 49, 21);
    // Every change of the box's text runs SpinEdit1Change, inside the session's commands.
    connect(m_spinEdit1, &SpinBox::typed, this, [this](const QString& text) {
        dispatch("change the charge", [&] { m_session.setChargeText(text.toStdString()); });
    });
    connect(m_spinEdit1, &SpinBox::stepped, this, [this](int steps) {
        dispatch("change the charge", [&] { m_session.stepCharge(steps); });
    });
    connect(m_spinEdit1, &SpinBox::leftBox, this,
            [this] { dispatch("change the charge", [&] { m_session.leaveCharge(); }); });

    setBackground(*addLabel(panel2, "Label4", QStringLiteral("M/Z"), {572, 15, 22, 12}),
                  QColor(255, 0, 255));
    m_fw1 = addLineEdit(panel2, "fw1", {600, 11, 80, 20});
    m_fw1->setReadOnly(true);

    setBackground(*addLabel(panel2, "Label2", QStringLiteral("Threshold:"), {698, 16, 52, 12}),
                  QColor(255, 255, 0));
    m_edit7 = addLineEdit(panel2, "Edit7", {756, 11, 43, 20});
    bindText(*m_edit7, session::EditableText::ThresholdPercent);
    m_spinEdit2 = new SpinBox(panel2);
    m_spinEdit2->setObjectName(QStringLiteral("SpinEdit2"));
    m_spinEdit2->setGeometry(800, 10, 21, 21);
    connect(m_spinEdit2, &SpinBox::typed, this, [this](const QString& text) {
        dispatch("change the threshold", [&] { m_session.setThresholdText(text.toStdString()); });
    });
    connect(m_spinEdit2, &SpinBox::stepped, this, [this](int steps) {
        dispatch("change the threshold", [&] { m_session.stepThreshold(steps); });
    });
    connect(m_spinEdit2, &SpinBox::leftBox, this,
            [this] { dispatch("change the threshold", [&] { m_session.leaveThreshold(); }); });
}

// --- dispatching ---------------------------------------------------------------------

bool MainWindow::dispatch(const char* task, const std::function<void()>& command) {
    const std::optional<std::string> failure = commandFailure(task, command);
    if (!failure) {
        return true;
    }
    // What the command stored before the error stays stored, and is shown.
    refresh();
    m_dialogs.showError(*failure);
    return false;
}

QRect MainWindow::designedOuterFrame() {
    return designedFrame;
}

void MainWindow::bindText(QLineEdit& edit, session::EditableText field) {
    // What the user types is the session's at once, so that showing the session's state
    // again never takes it away.
    connect(&edit, &QLineEdit::textEdited, this, [this, field](const QString& typed) {
        dispatch("keep the typed text", [&] { m_session.editText(field, typed.toStdString()); });
    });
}

void MainWindow::refresh() {
    const session::SessionState& state = m_session.state();
    const session::ViewTexts& texts = state.texts;
    showText(*m_formula, texts.formulaText);
    m_formula->setToolTip(formulaToolTip(state));
    showText(*m_weight, texts.weightText);
    showText(*m_fw1, texts.averageMzText);
    showText(*m_edit1, texts.lowerMzText);
    showText(*m_edit2, texts.upperMzText);
    showText(*m_edit3, texts.lowerIntensityText);
    showText(*m_edit4, texts.upperIntensityText);
    showText(*m_edit5, texts.msRangeLowerText);
    showText(*m_edit6, texts.msRangeUpperText);
    showText(*m_edit7, texts.thresholdPercentText);
    m_spinEdit1->showText(QString::fromStdString(state.settings.charge.text()));
    m_spinEdit2->showText(QString::fromStdString(state.settings.threshold.text()));
    m_spinEdit4->showText(QString::fromStdString(m_selectedColumn.text()));
    m_spinEdit5->showText(QString::fromStdString(m_selectedRow.text()));
    m_checkBox1->setChecked(state.settings.showPeakPositions);
    m_checkBox2->setChecked(state.settings.manualRange);
    m_savePicture->setEnabled(state.hasPicture);

    m_elementModel.refresh();
    m_workModel.refresh();
    m_msModel.refresh();
    m_isotopeWindow->refresh();
    const bool fromElsewhere = state.elementFileFound && !state.searchedFolders.empty() &&
                               state.dataFolder != state.searchedFolders.front();
    m_isotopeWindow->showDataFolder(fromElsewhere ? QString::fromStdString(state.dataFolder)
                                                  : QString());
    // A load changes the table's size, and the view forgets its current cell with it.
    if (!m_stringGrid1->currentIndex().isValid()) {
        m_stringGrid1->setCurrentCellQuietly(selectedColumn(), selectedRow());
    }
    m_image1->update();
}

// --- the element table and the count entry --------------------------------------------

void MainWindow::StringGrid1SelectCell(int column, int row) {
    const data::TextGrid& elements = m_session.state().tables.elements;
    m_selectedColumn.setMaximum(elements.columnCount() - 1);
    m_selectedRow.setMaximum(elements.rowCount() - 1);
    m_selectedColumn.setValue(column);
    m_selectedRow.setValue(row);
    m_spinEdit4->showText(QString::fromStdString(m_selectedColumn.text()));
    m_spinEdit5->showText(QString::fromStdString(m_selectedRow.text()));
}

void MainWindow::StringGrid1MouseDown(int x, int y) {
    // The window's outer corner plus the position in the client area: the frame, the
    // title and the menu bar are not added, so the dialog opens above the pointer.
    const QPoint outer = frameGeometry().topLeft();
    m_pressPoint = QPoint(outer.x() + x + m_stringGrid1->x(), outer.y() + y + m_stringGrid1->y());
}

void MainWindow::StringGrid1Click() {
    if (!tablesLoaded() &&
        !dispatch("load the data files", [this] { m_session.loadTablesOnce(); })) {
        return;
    }
    const int column = selectedColumn();
    if (selectedRow() != data::CountRow || column == 0) {
        return;
    }
    // The count cell of a labelled element holds only its unlabelled atoms; the labels are
    // changed by entering the formula again.
    const std::string labels = labelsOfColumn(m_session.state(), column);
    if (!labels.empty() &&
        m_dialogs.confirm("The formula has isotope labels of this element (" + labels +
                          "); its count cell holds only the unlabelled atoms. Enter the formula "
                          "as text (F2) instead?")) {
        Formula1Click();
        return;
    }
    // A selection made before the load may lie beyond the loaded table: nothing is read
    // there, and the dialog shows an empty text.
    const data::TextGrid& elements = m_session.state().tables.elements;
    const std::string text =
        column < elements.columnCount() ? elements.cell(column, data::CountRow) : std::string();
    m_countDialog->openAt(QString::fromStdString(text), m_pressPoint);
}

void MainWindow::OK1Click() {
    // Written exactly as typed into the cell selected now; a target outside the table
    // receives nothing, but the chain still runs.
    const std::string typed = m_countDialog->edit()->text().toStdString();
    session::Outcome outcome = session::Outcome::Cancelled;
    const bool done = dispatch("calculate the pattern", [&] {
        // Declared inside the command so that an error closes the progress window before
        // the error box opens.
        ProgressWindow progress(*this, m_timing.progressDelay);
        outcome = m_session.enterCell(selectedColumn(), selectedRow(), typed, std::ref(progress));
    });
    // After an error the cell keeps the text and the dialog stays open so that it can be
    // corrected; after a cancel the session went back to the previous formula, while the
    // dialog keeps what was typed.
    if (done && outcome == session::Outcome::Done) {
        m_countDialog->hide();
    } else if (!done) {
        // back to the text to correct, once the error box has closed
        m_countDialog->activateWindow();
        m_countDialog->edit()->setFocus(Qt::OtherFocusReason);
        m_countDialog->edit()->selectAll();
    }
}

// --- display controls ------------------------------------------------------------------

void MainWindow::SpinEdit1Change() {
    dispatch("draw the spectrum", [this] { m_session.SpinEdit1Change(); });
}

void MainWindow::SpinEdit2Change() {
    dispatch("draw the spectrum", [this] { m_session.SpinEdit2Change(); });
}

void MainWindow::CheckBox1Click() {
    dispatch("draw the spectrum",
             [this] { m_session.setShowPeakPositions(m_checkBox1->isChecked()); });
}

void MainWindow::Button1Click() {
    // The bounds as the boxes show them now, also when set without typing; both are read
    // before the first command shows the session's texts again.
    const std::string lower = m_edit1->text().toStdString();
    const std::string upper = m_edit2->text().toStdString();
    dispatch("draw the spectrum", [&] {
        m_session.editText(session::EditableText::LowerMz, lower);
        m_session.editText(session::EditableText::UpperMz, upper);
        m_session.Button1Click();
    });
}

void MainWindow::Button3Click() {
    dispatch("draw the spectrum", [this] { m_session.Button3Click(); });
}

// --- menu commands ---------------------------------------------------------------------

void MainWindow::save(exporting::Layout layout) {
    // Before the first calculation there is no pattern: say so instead of offering a file.
    if (!dispatch("save the pattern", [this] { m_session.requirePatternToSave(); })) {
        return;
    }
    const QString stem = QString::fromStdString(m_session.formulaFileStem());
    const QString name = m_dialogs.getSaveFileName(
        m_patternFiles.propose(stem, QStringLiteral("txt"), dataFolder()));
    if (name.isEmpty()) {
        return;
    }
    m_patternFiles.chosen(name, stem);
    const std::string path = QFile::encodeName(name).toStdString();
    dispatch("save the pattern", [this, &path, layout] { m_session.savePattern(path, layout); });
}

DialogFolders MainWindow::dialogFolders() const {
    return {m_patternFiles.folder(), m_pictureFiles.folder(),
            m_lastSpectrumName.isEmpty() ? QString()
                                         : QFileInfo(m_lastSpectrumName).absolutePath()};
}

void MainWindow::setDialogFolders(const DialogFolders& folders) {
    m_patternFiles.setFolder(folders.patterns);
    m_pictureFiles.setFolder(folders.pictures);
    if (!folders.spectra.isEmpty()) {
        m_lastSpectrumName = folders.spectra + QLatin1Char('/'); // the folder, no file
    }
}

QString MainWindow::dataFolder() const {
    return QFile::decodeName(QByteArray::fromStdString(m_session.dataDirectory()));
}

void MainWindow::SaveNormalClick() {
    save(exporting::Layout::Normal);
}

void MainWindow::SaveSpecialClick() {
    save(exporting::Layout::Special);
}

void MainWindow::CopyGraphicsClick() {
    // Before the first drawing the image holds no picture, and the clipboard keeps what
    // it has.
    if (!m_session.state().hasPicture) {
        return;
    }
    // Beside the bitmap, the exported span as text and the picture as SVG, for whatever
    // the paste goes into.
    auto data = std::make_unique<QMimeData>();
    data->setImageData(m_canvas.image());
    const bool made = dispatch("copy the picture", [&] {
        if (m_session.state().pattern.exists()) {
            data->setText(QString::fromStdString(m_session.normalPatternText()));
        }
        const std::string svg = qtcanvas::encodePicture(
            qtcanvas::PictureFormat::Svg, qtcanvas::ImageCanvas::designedWidth,
            qtcanvas::ImageCanvas::designedHeight, 1,
            [this](plot::Canvas& canvas) { m_session.drawSpectrumOn(canvas); });
        data->setData(QStringLiteral("image/svg+xml"),
                      QByteArray(svg.data(), static_cast<qsizetype>(svg.size())));
    });
    if (made) {
        QGuiApplication::clipboard()->setMimeData(data.release());
    }
}

void MainWindow::SavePictureClick() {
    // Offered only once there is a picture; nothing to save before.
    if (!m_session.state().hasPicture) {
        return;
    }
    const QString stem = QString::fromStdString(m_session.formulaFileStem());
    PictureChoice offered = m_lastPicture;
    offered.name = m_pictureFiles.propose(stem, pictureSuffix(offered), dataFolder());
    const std::optional<PictureChoice> choice = m_dialogs.getSavePictureName(offered);
    if (!choice) {
        return;
    }
    m_lastPicture = *choice;
    m_pictureFiles.chosen(choice->name, stem);
    const std::string path = QFile::encodeName(choice->name).toStdString();
    dispatch("save the picture", [&] {
        qtcanvas::savePicture(path, choice->format, qtcanvas::ImageCanvas::designedWidth,
                              qtcanvas::ImageCanvas::designedHeight, choice->scale,
                              [this](plot::Canvas& canvas) { m_session.drawSpectrumOn(canvas); });
    });
}

void MainWindow::Exit1Click() {
    close();
}

void MainWindow::ShowMSData1Click() {
    m_stringGrid3->setVisible(m_stringGrid3->isHidden());
}

void MainWindow::ShowIsotopes1Click() {
    if (m_isotopeWindow->isVisible()) {
        m_isotopeWindow->hide();
        return;
    }
    m_isotopeWindow->show();
    m_isotopeWindow->raise();
    m_isotopeWindow->activateWindow();
}

void MainWindow::ShowWOrkElems1Click() {
    m_stringGrid2->setVisible(m_stringGrid2->isHidden());
}

void MainWindow::ShowMSRange1Click() {
    const bool show = m_edit5->isHidden();
    m_edit5->setVisible(show);
    m_edit6->setVisible(show);
}

void MainWindow::ShowHighResolution1Click() {
    // F12 hides the window only where the user sees it; minimised or behind, it comes back
    if (m_highResolution->isVisible() && !m_highResolution->isMinimized() &&
        m_highResolution->isActiveWindow()) {
        m_highResolution->hide();
        return;
    }
    showHighResolution();
}

void MainWindow::setTwoThreads(bool on) {
    m_session.setEngineThreads(on ? 2 : 1);
}

void MainWindow::showEngineThreads() {
    const QSignalBlocker quiet(m_twoThreads);
    m_twoThreads->setChecked(m_session.engineThreads() == 2);
}

void MainWindow::showHighResolution() {
    m_highResolution->setWindowState(m_highResolution->windowState() & ~Qt::WindowMinimized);
    m_highResolution->show();
    m_highResolution->raise();
    m_highResolution->activateWindow();
}

void MainWindow::OpenClick() {
    const QString name = m_dialogs.getOpenSpectrumName(m_lastSpectrumName);
    if (name.isEmpty()) {
        return;
    }
    openSpectrumFile(name);
}

void MainWindow::openSpectrumFile(const QString& name) {
    m_lastSpectrumName = name;
    const std::string path = QFile::encodeName(name).toStdString();
    // A bad file is reported and changes nothing.
    std::optional<measured::MeasuredFile> file;
    if (!dispatch("read the measured spectrum", [&] { file = m_session.readMeasuredFile(path); })) {
        return;
    }
    std::optional<std::size_t> chosen = m_session.defaultMeasuredSpectrum(*file);
    if (file->spectra().size() > 1) {
        chosen = m_dialogs.chooseSpectrum(*file, *chosen);
        if (!chosen) {
            return;
        }
    }
    if (!dispatch("read the measured spectrum",
                  [&] { m_session.showMeasuredSpectrum(*file, *chosen); })) {
        return;
    }
    // hidden, minimised or behind the main window, it comes to the front with the spectrum
    showHighResolution();
}

void MainWindow::Initialization1Click() {
    dispatch("calculate the pattern", [this] { m_session.Initialization1Click(); });
}

void MainWindow::Formula1Click() {
    // As the first click on the table would: the tables are loaded first.
    if (!tablesLoaded() &&
        !dispatch("load the data files", [this] { m_session.loadTablesOnce(); })) {
        return;
    }
    const session::SessionState& state = m_session.state();
    QStringList history;
    for (const std::string& formula : state.formulaHistory) {
        history.append(QString::fromStdString(formula));
    }
    // The formula as last typed while it is still the current one, else as the Formula box
    // shows it.
    std::string current = state.texts.formulaText;
    if (!state.formulaHistory.empty() &&
        ions::previewFormula(state.formulaHistory.front(), state.tables, state.reader,
                             m_session.separator())
                .formulaText == current) {
        current = state.formulaHistory.front();
    }
    m_formulaDialog->openWith(history, QString::fromStdString(current));
}

void MainWindow::FormulaTextChanged(const QString& text) {
    // Nothing typed yet is no fault: the red line waits for a text.
    if (text.trimmed().isEmpty()) {
        m_formulaDialog->showPreview(QString(), false);
        return;
    }
    const ions::FormulaPreview preview = m_session.previewFormula(text.toStdString());
    m_formulaDialog->showPreview(formulaPreviewText(preview), !preview.accepted);
}

void MainWindow::FormulaOKClick() {
    const std::string typed = m_formulaDialog->text().toStdString();
    // A refused text keeps the dialog open with the reason under it; nothing is written.
    const ions::FormulaPreview preview = m_session.previewFormula(typed);
    if (!preview.accepted) {
        FormulaTextChanged(m_formulaDialog->text());
        // the cursor where the reason says the fault is
        if (const std::optional<int> fault = faultPosition(preview.message)) {
            m_formulaDialog->showFault(*fault);
        }
        return;
    }
    session::Outcome outcome = session::Outcome::Cancelled;
    const bool done = dispatch("calculate the pattern", [&] {
        ProgressWindow progress(*this, m_timing.progressDelay);
        outcome = m_session.enterFormula(typed, std::ref(progress));
    });
    if (done && outcome == session::Outcome::Done) {
        m_formulaDialog->hide();
    }
}

void MainWindow::FindFormula1Click() {
    // the search reads the tables, which are loaded as for F2
    if (!tablesLoaded() &&
        !dispatch("load the data files", [this] { m_session.loadTablesOnce(); })) {
        return;
    }
    m_findFormula->openForSearch();
}

void MainWindow::CorrectIsotopologues1Click() {
    // the correction reads the tables, which are loaded as for F2
    if (!tablesLoaded() &&
        !dispatch("load the data files", [this] { m_session.loadTablesOnce(); })) {
        return;
    }
    if (!m_correctIsotopologues) {
        m_correctIsotopologues = std::make_unique<CorrectIsotopologuesWindow>(m_session, m_dialogs);
    }
    m_correctIsotopologues->openForCorrection();
}

void MainWindow::FindFormulaChosen(const QString& formula, const QString& ion) {
    session::Outcome outcome = session::Outcome::Cancelled;
    const bool done = dispatch("calculate the pattern", [&] {
        ProgressWindow progress(*this, m_timing.progressDelay);
        outcome = m_session.enterFormula(formula.toStdString(), std::ref(progress));
    });
    if (done && outcome == session::Outcome::Done) {
        dispatch("set the ion", [&] { m_session.setIonText(ion.toStdString()); });
        showHighResolution();
    }
}

void MainWindow::Initialize1Click() {
    dispatch("load the data files", [this] { m_session.Initialize1Click(); });
}

void MainWindow::Range1Click() {
    dispatch("compute the plot range", [this] { m_session.Range1Click(); });
}

void MainWindow::Spectrum1Click() {
    dispatch("draw the spectrum", [this] { m_session.Spectrum1Click(); });
}

// --- window ----------------------------------------------------------------------------

void MainWindow::closeEvent(QCloseEvent* event) {
    // Closing the main window ends the run, whatever else is open.
    m_countDialog->hide();
    m_formulaDialog->hide();
    m_findFormula->hide();
    m_highResolution->hide();
    m_isotopeWindow->hide();
    event->accept();
    QCoreApplication::quit();
}

} // namespace orvane::app
