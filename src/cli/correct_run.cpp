#include "cli/correct_run.h"

#include <iostream>

#include "cli/blank_canvas.h"
#include "cli/standard_output.h"
#include "cli/stderr_notifier.h"
#include "session/session.h"
#include "text/number_parse.h"
#include "tracer/correction_table.h"
#include "tracer/isotope_table.h"
#include "tracer/isotopologue_correction.h"

namespace orvane::cli {

namespace {

// The settings of the command line; the resolving power as the window's box reads it.
tracer::CorrectionSettings settingsOf(const CommandLine& commandLine) {
    tracer::CorrectionSettings settings;
    settings.tracers = commandLine.tracers;
    settings.purity = commandLine.purity;
    settings.correctTracerNaturalAbundance = commandLine.tracerNaturalAbundance;
    if (commandLine.resolvingPower) {
        const std::optional<double> power = text::tryParseReal(*commandLine.resolvingPower, '.');
        if (!power || !(*power > 0)) {
            throw text::Error("--resolution: '" + *commandLine.resolvingPower +
                              "' is not a resolving power above 0");
        }
        tracer::HighResolution resolution;
        resolution.resolvingPower = *power;
        resolution.atMz = commandLine.resolutionAt.value_or(400);
        if (commandLine.instrument) {
            resolution.instrument = *tracer::instrumentNamed(*commandLine.instrument);
        }
        settings.resolution = resolution;
    }
    return settings;
}

} // namespace

int runCorrect(const CommandLine& commandLine) {
    StderrNotifier notifier;
    BlankCanvas canvas;
    session::Session run(commandLine.dataDirectory, '.', notifier, canvas);
    if (!commandLine.searchedFolders.empty()) {
        run.searchDataFolders(commandLine.searchedFolders);
    }
    run.Initialize1Click();
    if (!run.state().elementFileFound || !run.state().isotopeTableLoaded) {
        std::cerr << "orvane-calc: cannot correct: the data files in " << run.dataDirectory()
                  << " did not load";
        if (!run.state().elementFileFound) {
            std::cerr << ": " << run.missingElementDataMessage();
        }
        std::cerr << '\n';
        return 1;
    }
    tracer::CorrectionInput input;
    input.settings = settingsOf(commandLine);
    input.measurements = tracer::readMeasurementFile(*commandLine.correctFile);
    if (commandLine.metabolitesFile) {
        input.metabolites = tracer::readNamedFormulaFile(*commandLine.metabolitesFile, true);
    }
    if (commandLine.derivativesFile) {
        input.derivatives = tracer::readNamedFormulaFile(*commandLine.derivativesFile, false);
    }
    if (commandLine.isotopeTableFile) {
        input.isotopeTable = tracer::readIsotopeTableFile(*commandLine.isotopeTableFile);
    }
    const session::SessionState& state = run.state();
    const tracer::CorrectionResult result =
        tracer::correct({state.tables, state.reader, state.isotopes, run.separator()}, input);
    tracer::CorrectionSheet sheet = tracer::CorrectionSheet::Rows;
    tracer::sheetNamed(commandLine.sheet, sheet);
    const tracer::TextTable table = tracer::correctionTable(result, sheet);
    switch (commandLine.batchFormat) {
    case BatchFormat::Tsv:
        writeAll(1, tracer::delimitedText(table, '\t'));
        break;
    case BatchFormat::Csv:
        writeAll(1, tracer::delimitedText(table, ','));
        break;
    case BatchFormat::Json:
        writeAll(1, tracer::jsonText(table));
        break;
    }
    return 0;
}

} // namespace orvane::cli
