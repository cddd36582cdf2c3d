#include "app/remembered_settings.h"

#include <string>
#include <vector>

#include "app/high_resolution_window.h"
#include "app/main_window.h"
#include "app/window_geometry.h"
#include "session/session.h"

namespace orvane::app {

RememberedSettings currentSettings(const MainWindow& window, const session::Session& session) {
    const session::SessionState& state = session.state();
    RememberedSettings settings;
    for (const std::string& formula : state.formulaHistory) {
        settings.formulas.append(QString::fromStdString(formula));
    }
    const DialogFolders folders = window.dialogFolders();
    settings.patternFolder = folders.patterns;
    settings.pictureFolder = folders.pictures;
    settings.spectrumFolder = folders.spectra;
    settings.ion = QString::fromStdString(state.ionText);
    settings.resolvingPower = QString::fromStdString(state.profileBoxes.resolvingPowerText);
    settings.coverage = QString::fromStdString(state.profileBoxes.coverageText);
    settings.tolerance = QString::fromStdString(state.profileBoxes.toleranceText);
    settings.highResolutionGeometry = window.highResolutionWindow().saveGeometry();
    settings.engineThreads = session.engineThreads();
    return settings;
}

void applySettings(const RememberedSettings& settings, MainWindow& window,
                   session::Session& session) {
    std::vector<std::string> formulas;
    for (const QString& formula : settings.formulas) {
        formulas.push_back(formula.toStdString());
    }
    session.restoreFormulaHistory(formulas);
    window.setDialogFolders(
        {settings.patternFolder, settings.pictureFolder, settings.spectrumFolder});
    if (!settings.ion.isEmpty()) {
        session.setIonText(settings.ion.toStdString());
    }
    if (!settings.resolvingPower.isEmpty()) {
        session.setResolvingPowerText(settings.resolvingPower.toStdString());
    }
    if (!settings.coverage.isEmpty()) {
        session.setCoverageText(settings.coverage.toStdString());
    }
    session.setToleranceText(settings.tolerance.toStdString());
    if (settings.engineThreads != 0) {
        session.setEngineThreads(settings.engineThreads);
        window.showEngineThreads();
    }
    if (!settings.highResolutionGeometry.isEmpty() &&
        window.highResolutionWindow().restoreGeometry(settings.highResolutionGeometry)) {
        releaseDesignedFrame(window.highResolutionWindow());
        // a damaged or foreign geometry would make the window as large as it says
        keepOnScreen(window.highResolutionWindow());
    }
}

} // namespace orvane::app
