#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <set>
#include <string>

#include <QMainWindow>
#include <QPoint>
#include <QString>

#include "app/ms_data_model.h"
#include "app/picture_choice.h"
#include "app/save_locations.h"
#include "app/session_events.h"
#include "app/text_grid_model.h"
#include "export/pattern_export.h"
#include "session/session.h"
#include "text/spin_value.h"

class QAction;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QTableView;

namespace orvane::qtcanvas {
class ImageCanvas;
}

namespace orvane::app {

class CorrectIsotopologuesWindow;
class CountDialog;
class ElementGridView;
class FindFormulaWindow;
class FormulaDialog;
class HighResolutionWindow;
class ImageView;
class IsotopeWindow;
class SpinBox;
class UserDialogs;

// The folders the file dialogs were last in, for each kind of file.
struct DialogFolders {
    QString patterns, pictures, spectra;
};

// How long a calculation runs before the window offers its progress and Cancel; tests
// make it 0.
struct WindowTiming {
    std::chrono::milliseconds progressDelay{500};
};

// TForm1, "Orvane for Small Displays": the element table, the spectrum panel and the
// bottom bar, every control at its designed place. It holds no calculation and no state of
// the run: each event calls one of the session's commands through a single dispatcher,
// which shows a text::Error in the standard error box, and every control shows the
// session's state again whenever the session reports a change. It creates the count-entry
// dialog and the isotope window.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    MainWindow(session::Session& session, UserDialogs& dialogs, qtcanvas::ImageCanvas& canvas,
               WindowTiming timing = {}, QWidget* parent = nullptr);
    ~MainWindow() override;

    CountDialog& countDialog() const { return *m_countDialog; }
    FormulaDialog& formulaDialog() const { return *m_formulaDialog; }
    FindFormulaWindow& findFormulaWindow() const { return *m_findFormula; }
    /// The tracer correction window; nullptr until its menu entry was first chosen.
    CorrectIsotopologuesWindow* correctIsotopologuesWindow() const {
        return m_correctIsotopologues.get();
    }
    HighResolutionWindow& highResolutionWindow() const { return *m_highResolution; }
    IsotopeWindow& isotopeWindow() const { return *m_isotopeWindow; }
    bool tablesLoaded() const { return m_session.state().tablesLoaded; }
    /// Where the count dialog's top-left corner goes, in screen pixels.
    QPoint pressPoint() const { return m_pressPoint; }
    int selectedColumn() const { return m_selectedColumn.value(); }
    int selectedRow() const { return m_selectedRow.value(); }
    DialogFolders dialogFolders() const;
    /// The folders the dialogs start in, as an earlier run left them.
    void setDialogFolders(const DialogFolders& folders);
    /// Whether a save may rewrite `path` in place, its folder taking no new files: asks
    /// once per file and run, and again after a No.
    bool allowRewriteInPlace(const std::string& path);

public slots:
    // The element table and the count entry.
    void StringGrid1SelectCell(int column, int row);
    void StringGrid1MouseDown(int x, int y);
    void StringGrid1Click();
    void OK1Click();

    // Display controls.
    void SpinEdit1Change();
    void SpinEdit2Change();
    void CheckBox1Click();
    void Button1Click();
    void Button3Click();

    // Menu commands.
    void SaveNormalClick();
    void SaveSpecialClick();
    void CopyGraphicsClick();
    void Exit1Click();
    /// "File" / "Save_Picture…": the spectrum as a PNG (1, 2 or 4 times), SVG or PDF file;
    /// offered once there is a picture.
    void SavePictureClick();
    void ShowMSData1Click();
    void ShowIsotopes1Click();
    void ShowWOrkElems1Click();
    void ShowMSRange1Click();
    void ShowHighResolution1Click();
    // Shows the high-resolution window in front, minimised or hidden before.
    void showHighResolution();
    // The exact engine on two threads or one (the Option menu's "Calculate on two threads").
    void setTwoThreads(bool on);
    // The menu's check as the session's engine stands.
    void showEngineThreads();
    /// "File" / "Open": a measured spectrum to set beside the theory.
    void OpenClick();
    /// Reads the measured file `name` as "Open" does after its dialog (a chooser for
    /// several spectra), shows it in the high-resolution window and brings that to the front.
    void openSpectrumFile(const QString& name);
    void Initialization1Click();
    // The formula typed as text: "Formula" (F2) opens the dialog, its "OK" enters it.
    void Formula1Click();
    void FormulaOKClick();
    void FormulaTextChanged(const QString& text);
    // "Find_Formula" (F3): the formulas of an accurate m/z; a chosen one is entered as if
    // typed after F2, its ion set in the high-resolution window, which then shows it.
    void FindFormula1Click();
    void FindFormulaChosen(const QString& formula, const QString& ion);
    // "Correct isotopologues…": a tracer experiment's measurements corrected with the
    // session's tables, in a window of its own made at the first opening.
    void CorrectIsotopologues1Click();

    // The hidden buttons' handlers.
    void Initialize1Click();
    void Range1Click();
    void Spectrum1Click();

    /// The outer frame the window is designed with.
    static QRect designedOuterFrame();
    /// Every bound control shows the session's state again.
    void refresh();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    /// Runs a command; a text::Error goes to the error box, and so does running out of
    /// memory ("Not enough memory to <task>."). False when the command ended in an error.
    bool dispatch(const char* task, const std::function<void()>& command);
    /// A progress callback for the engine that opens a cancellable progress window once the
    /// calculation has run for the progress delay.
    void save(exporting::Layout layout);
    /// The folder the data files were read from, which no save dialog starts in.
    QString dataFolder() const;
    void bindText(QLineEdit& edit, session::EditableText field);

    void buildElementArea(QWidget* client);
    void buildPlotPanel(QWidget* client);
    void buildBottomBar(QWidget* client);
    QLineEdit* addLineEdit(QWidget* parent, const char* name, const QRect& place);

    session::Session& m_session;
    UserDialogs& m_dialogs;
    qtcanvas::ImageCanvas& m_canvas;
    WindowTiming m_timing;
    SessionEvents m_events;

    // SpinEdit4 and SpinEdit5: the selected cell of the element table, the window's own:
    // it says which cell "OK" writes into.
    text::SpinValue m_selectedColumn{0, 0, 0};
    text::SpinValue m_selectedRow{0, 0, 0};
    QPoint m_pressPoint{0, 0};
    SaveLocations m_patternFiles;
    SaveLocations m_pictureFiles;
    PictureChoice m_lastPicture;
    QAction* m_savePicture = nullptr;
    QAction* m_twoThreads = nullptr;

    TextGridModel m_elementModel;
    TextGridModel m_workModel;
    MsDataModel m_msModel;

    ElementGridView* m_stringGrid1 = nullptr;
    QTableView* m_stringGrid2 = nullptr;
    QTableView* m_stringGrid3 = nullptr;
    ImageView* m_image1 = nullptr;
    QLineEdit* m_edit1 = nullptr;
    QLineEdit* m_edit2 = nullptr;
    QLineEdit* m_edit3 = nullptr;
    QLineEdit* m_edit4 = nullptr;
    QLineEdit* m_edit5 = nullptr;
    QLineEdit* m_edit6 = nullptr;
    QLineEdit* m_edit7 = nullptr;
    QLineEdit* m_formula = nullptr;
    QLineEdit* m_weight = nullptr;
    QLineEdit* m_fw1 = nullptr;
    SpinBox* m_spinEdit1 = nullptr;
    SpinBox* m_spinEdit2 = nullptr;
    SpinBox* m_spinEdit4 = nullptr;
    SpinBox* m_spinEdit5 = nullptr;
    QCheckBox* m_checkBox1 = nullptr;
    QCheckBox* m_checkBox2 = nullptr;

    // Top-level windows of their own, so that their controls' names do not mix with
    // this window's.
    std::unique_ptr<CountDialog> m_countDialog;
    std::unique_ptr<FormulaDialog> m_formulaDialog;
    std::unique_ptr<FindFormulaWindow> m_findFormula;
    std::unique_ptr<HighResolutionWindow> m_highResolution;
    QString m_lastSpectrumName;
    std::unique_ptr<IsotopeWindow> m_isotopeWindow;
    std::unique_ptr<CorrectIsotopologuesWindow> m_correctIsotopologues;
    std::set<std::string> m_rewritesAllowed; // files the user let be rewritten in place
};

} // namespace orvane::app
