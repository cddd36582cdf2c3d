#include "cli/session_settings.h"

namespace orvane::cli {

void applySettings(session::Session& run, const CommandLine& commandLine) {
    if (commandLine.charge) {
        run.setChargeText(*commandLine.charge);
    }
    if (commandLine.threshold) {
        run.setThresholdText(*commandLine.threshold);
    }
    run.setShowPeakPositions(commandLine.showPeakPositions);
    if (commandLine.resolvingPower) {
        run.setResolvingPowerText(*commandLine.resolvingPower);
    }
    if (commandLine.coverage) {
        run.setCoverageText(*commandLine.coverage);
    }
    if (commandLine.tolerancePpm) {
        run.setToleranceText(*commandLine.tolerancePpm);
    }
}

} // namespace orvane::cli
