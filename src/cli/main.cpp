// orvane-calc: the window's calculation chain from the command line, for batch work.

#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include <QGuiApplication>
#include <QImage>

#include "qtcanvas/image_canvas.h"
#include "cli/blank_canvas.h"
#include "cli/calculation_report.h"
#include "cli/command_line.h"
#include "cli/formula_counts.h"
#include "cli/stderr_notifier.h"
#include "data/data_tables.h"
#include "qtcanvas/image_canvas.h"
#include "session/session.h"
#include "text/error.h"
#include "text/trim.h"

namespace {

using namespace orvane;

// The trimmed symbol texts of the element table, by column (index 0 unused).
std::vector<std::string> elementSymbols(const data::TextGrid& elements) {
    std::vector<std::string> symbols(1);
    for (int column = 1; column < elements.columnCount(); ++column) {
        symbols.emplace_back(text::trimBlanks(elements.cell(column, data::SymbolRow)));
    }
    return symbols;
}

int columnOf(const std::vector<std::string>& symbols, const std::string& symbol) {
    for (std::size_t column = 1; column < symbols.size(); ++column) {
        if (!symbol.empty() && symbols[column] == symbol) {
            return static_cast<int>(column);
        }
    }
    throw cli::UsageError("unknown element symbol '" + symbol + "'");
}

// The formula's counts and then each --count, in the order they are written into the
// count cells.
std::vector<session::CountText> countsToEnter(const session::Session& session,
                                              const cli::CommandLine& commandLine) {
    const std::vector<std::string> symbols = elementSymbols(session.state().tables.elements);
    const std::vector<std::string> known(symbols.begin() + 1, symbols.end());
    std::vector<cli::ElementCount> counts;
    try {
        counts = cli::parseFormula(commandLine.formula, known, session.separator());
    } catch (const std::invalid_argument& error) {
        throw cli::UsageError(error.what());
    }
    std::vector<session::CountText> entries;
    for (const cli::ElementCount& count : counts) {
        entries.push_back({columnOf(symbols, count.symbol), count.countText});
    }
    for (const auto& [symbol, text] : commandLine.counts) {
        entries.push_back({columnOf(symbols, symbol), text});
    }
    return entries;
}

int usageError(const std::string& message) {
    std::cerr << "orvane-calc: " << message << "\n\n" << cli::usageText();
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    cli::CommandLine commandLine;
    try {
        commandLine = cli::parseCommandLine(std::vector<std::string>(argv + 1, argv + argc),
                                            std::filesystem::current_path().string());
    } catch (const cli::UsageError& error) {
        return usageError(error.what());
    }
    if (commandLine.help) {
        std::cout << cli::usageText();
        return 0;
    }

    // The picture needs Qt's painting and fonts, but never a display.
    std::unique_ptr<QGuiApplication> application;
    std::unique_ptr<qtcanvas::ImageCanvas> imageCanvas;
    cli::BlankCanvas blankCanvas;
    if (commandLine.pngFile) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        application = std::make_unique<QGuiApplication>(argc, argv);
        imageCanvas = std::make_unique<qtcanvas::ImageCanvas>();
    }
    plot::Canvas& canvas = imageCanvas ? static_cast<plot::Canvas&>(*imageCanvas) : blankCanvas;

    cli::StderrNotifier notifier;
    session::Session run(commandLine.dataDirectory, '.', notifier, canvas);
    try {
        run.Initialize1Click();
        if (!run.state().elementFileFound || !run.state().isotopeTableLoaded) {
            // The notices above say which file is missing or does not match.
            std::cerr << "orvane-calc: cannot calculate: the data files in "
                      << commandLine.dataDirectory << " did not load\n";
            return 1;
        }
        std::vector<session::CountText> counts;
        try {
            counts = countsToEnter(run, commandLine);
        } catch (const cli::UsageError& error) {
            return usageError(error.what());
        }
        // Before the first calculation the display settings draw nothing.
        if (commandLine.charge) {
            run.setChargeText(*commandLine.charge);
        }
        if (commandLine.threshold) {
            run.setThresholdText(*commandLine.threshold);
        }
        run.setShowPeakPositions(commandLine.showPeakPositions);

        run.enterCounts(counts);
        cli::writeCalculationReport(std::cout, run.state());

        if (commandLine.normalFile) {
            run.savePattern(*commandLine.normalFile, exporting::Layout::Normal);
        }
        if (commandLine.specialFile) {
            run.savePattern(*commandLine.specialFile, exporting::Layout::Special);
        }
        if (commandLine.pngFile &&
            !imageCanvas->image().save(QString::fromStdString(*commandLine.pngFile), "PNG")) {
            std::cerr << "orvane-calc: cannot write the picture to " << *commandLine.pngFile
                      << '\n';
            return 1;
        }
    } catch (const text::Error& error) {
        std::cout.flush();
        std::cerr << error.what() << '\n';
        return 1;
    }
    return 0;
}
