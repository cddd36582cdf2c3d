#include "cli/find_run.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <fstream>
#include <functional>
#include <iostream>
#include <memory>
#include <new>
#include <optional>
#include <thread>
#include <vector>

#include "cli/batch_input.h"
#include "cli/blank_canvas.h"
#include "cli/calculation_watch.h"
#include "cli/find_report.h"
#include "cli/find_stream.h"
#include "cli/lines_as_read.h"
#include "cli/score_settings.h"
#include "cli/standard_output.h"
#include "cli/stderr_notifier.h"
#include "data/mass_file.h"
#include "find/element_ranges.h"
#include "find/isotope_score.h"
#include "find/measured_search.h"
#include "formula/element_symbols.h"
#include "measured/cluster_match.h"
#include "measured/cluster_spacing.h"
#include "measured/instrument_preset.h"
#include "session/session.h"
#include "text/error.h"
#include "text/quoted_text.h"
#include "text/trim.h"

namespace orvane::cli {
namespace {

// The session whose tables every search reads; nothing when the data files did not load
// (the reason is on standard error).
bool loadTables(session::Session& run, const CommandLine& commandLine) {
    if (!commandLine.searchedFolders.empty()) {
        run.searchDataFolders(commandLine.searchedFolders);
    }
    run.Initialize1Click();
    if (!run.state().elementFileFound || !run.state().isotopeTableLoaded) {
        std::cerr << "orvane-calc: cannot find formulas: the data files in " << run.dataDirectory()
                  << " did not load";
        if (!run.state().elementFileFound) {
            std::cerr << ": " << run.missingElementDataMessage();
        }
        std::cerr << '\n';
        return false;
    }
    return true;
}

// The peaks of the spectrum --measured and --spectrum name (the first without --spectrum),
// read through the session as the high-resolution window reads them; nothing without
// --measured. Raises text::Error for a file that cannot be read or a spectrum it lacks.
std::optional<measured::Spectrum> measuredPeaks(session::Session& run,
                                                const CommandLine& commandLine) {
    if (!commandLine.measuredFile) {
        return std::nullopt;
    }
    const measured::MeasuredFile file = run.readMeasuredFile(*commandLine.measuredFile);
    const std::size_t index = commandLine.spectrumIndex.value_or(0);
    if (index >= file.spectra().size()) {
        throw text::Error(file.fileName() + ": there is no spectrum " + std::to_string(index) +
                          "; the file holds " + std::to_string(file.spectra().size()) +
                          " (counted from 0)");
    }
    run.showMeasuredSpectrum(file, index);
    const bool profileData =
        file.spectra()[index].representation == measured::Representation::Profile;
    return measured::peaksOf(run.state().measured->points, profileData);
}

// The shown spectrum's points where they are a profile scan, whose peaks' widths show the
// resolving power; nullptr for peaks or without a spectrum.
const measured::Spectrum* profilePointsOf(const session::Session& run) {
    const auto& shown = run.state().measured;
    if (!shown || shown->index >= shown->file.spectra().size() ||
        shown->file.spectra()[shown->index].representation != measured::Representation::Profile) {
        return nullptr;
    }
    return &shown->points;
}

std::optional<double> targetOf(std::string_view text) {
    text = text::trimBlanks(text);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        !std::isfinite(value) || !(value > 0)) {
        return std::nullopt;
    }
    return value;
}

// The batch input, read line by line as it comes; nothing, and `problem` said, when it
// cannot be read (a directory, also as standard input; a path that does not open).
std::shared_ptr<std::istream> openLines(const std::string& path, std::string& problem) {
    problem = batchInputProblem(path);
    if (!problem.empty()) {
        return nullptr;
    }
    if (path == "-") {
        return std::shared_ptr<std::istream>(&std::cin, [](std::istream*) {});
    }
    errno = 0;
    auto in = std::make_shared<std::ifstream>(path, std::ios::binary);
    if (!*in) {
        problem = text::Error::fromErrno(errno).what();
        return nullptr;
    }
    return in;
}

// Whether a search shows every candidate, and so streams them unranked as found: without
// a measured spectrum, whose isotope scores rank them again.
bool streamsEveryCandidate(const CommandLine& commandLine) {
    return commandLine.limit == 0 && !commandLine.measuredFile;
}

} // namespace

find::FindQuery findQueryOf(const CommandLine& commandLine, double mz,
                            const std::optional<std::string>& lineIon) {
    find::FindQuery query;
    query.mz = mz;
    query.tolerance = toleranceOf(commandLine);
    if (lineIon) {
        query.ions = {*lineIon};
    } else if (!commandLine.ions.empty()) {
        query.ions = commandLine.ions;
    }
    if (commandLine.elements) {
        query.elementRanges = *commandLine.elements;
    }
    if (commandLine.noRules) {
        query.rules.disableHeuristics();
    }
    if (commandLine.radicals) {
        query.rules.lewis = false;
    }
    if (commandLine.rulesKept) {
        for (const std::string_view name : find::switchableRules) {
            find::switchRule(query.rules, name, false);
        }
        for (const std::string& name : ruleList(*commandLine.rulesKept)) {
            find::switchRule(query.rules, name, true);
        }
    }
    for (const std::string& name : commandLine.rulesOff) {
        find::switchRule(query.rules, name, false);
    }
    query.rules.priorWeight = commandLine.priorWeight.value_or(query.rules.priorWeight);
    query.rules.commonRatios = commandLine.commonRatios;
    query.rules.rdbeMinimum = commandLine.rdbeMinimum;
    query.rules.rdbeMaximum = commandLine.rdbeMaximum;
    // a measured spectrum ranks them again by their isotope scores, so every one is made
    query.keep = commandLine.measuredFile ? 0 : commandLine.limit;
    query.withIonAtoms = commandLine.measuredFile.has_value();
    return query;
}

int runFind(const CommandLine& commandLine) {
    StderrNotifier notifier;
    BlankCanvas canvas;
    session::Session run(commandLine.dataDirectory, '.', notifier, canvas);
    if (!loadTables(run, commandLine)) {
        return 1;
    }
    const find::FindQuery query = findQueryOf(commandLine, *commandLine.findMz);
    find::FindResult result;
    std::optional<find::ElementEvidence> evidence;
    // --max-seconds bounds the search as it bounds a calculation
    const CalculationWatch watch(commandLine.maxSeconds);
    const find::FindProgress inTime = [&watch](double) { return !watch.timeIsUp(); };
    std::optional<FindReportStream> stream;
    try {
        if (streamsEveryCandidate(commandLine)) {
            const data::DataTables& tables = run.state().tables;
            stream.emplace(
                query,
                find::readElementRanges(query.elementRanges, formula::symbolsOf(tables.elements)),
                commandLine.json);
            result = find::findFormulas(query, tables, '.', inTime,
                                        [&](const find::Candidate& found) { stream->add(found); });
            stream->finish(result);
        } else {
            const std::optional<measured::Spectrum> peaks = measuredPeaks(run, commandLine);
            std::optional<double> shownPower;
            const find::IsotopeScoreSettings settings =
                scoreSettingsOf(commandLine, query.mz, profilePointsOf(run), &shownPower);
            if (shownPower) {
                std::cerr << "notice: the profile's peak at the target shows the resolving power "
                          << std::lround(*shownPower) << "; the isotope score takes it\n";
            }
            find::MeasuredSearch search = find::searchMeasured(
                query, run.state().tables, '.', peaks ? &*peaks : nullptr, settings, inTime);
            for (const std::string& notice : search.notices) {
                std::cerr << "notice: " << notice << '\n';
            }
            result = std::move(search.result);
            evidence = std::move(search.evidence);
        }
    } catch (const text::Error& error) {
        std::cerr << "orvane-calc: cannot find formulas: " << error.what() << '\n';
        return 1;
    } catch (const std::bad_alloc&) {
        std::cerr << "orvane-calc: cannot find formulas: not enough memory\n";
        return 1;
    }
    if (result.cancelled) {
        std::cerr << "orvane-calc: cannot find formulas: " << watch.limitMessage() << '\n';
        return 1;
    }
    if (stream) {
        return 0;
    }
    const find::ElementEvidence* shown = evidence ? &*evidence : nullptr;
    writeAll(1, commandLine.json ? findJsonReport(query, result, commandLine.limit, shown)
                                 : findTabReport(query, result, commandLine.limit, shown));
    return 0;
}

int runFindBatch(const CommandLine& commandLine) {
    const std::string& path = *commandLine.findBatchFile;
    std::string problem;
    const std::shared_ptr<std::istream> in = openLines(path, problem);
    const auto cannotRead = [&] {
        std::cerr << "orvane-calc: cannot read the batch file "
                  << (path == "-" ? "(standard input)" : path) << ": " << problem << '\n';
        return 1;
    };
    if (!in) {
        return cannotRead();
    }
    StderrNotifier notifier;
    BlankCanvas canvas;
    session::Session run(commandLine.dataDirectory, '.', notifier, canvas);
    if (!loadTables(run, commandLine)) {
        return 1;
    }
    const data::DataTables& tables = run.state().tables;
    std::optional<measured::Spectrum> peaks;
    try {
        scoreSettingsOf(commandLine, 1); // refused here once rather than on every line
        peaks = measuredPeaks(run, commandLine);
    } catch (const text::Error& error) {
        std::cerr << "orvane-calc: cannot find formulas: " << error.what() << '\n';
        return 1;
    }
    const bool streamed = streamsEveryCandidate(commandLine);

    // Each line is searched on its own as it is read, and its rows are written in input
    // order as soon as every line before it is out, so the table is the same for any
    // number of threads and a producer that pauses gets the answers to its lines.
    struct Finished {
        std::string rows;
        std::string error;
        std::vector<std::string> notices;
    };
    const auto search = [&](const BatchLine& line) {
        FindBatchRow row;
        std::vector<std::string> notices;
        row.lineNumber = line.lineNumber;
        row.input = line.formula;
        std::string rows;
        std::size_t sent = 0;
        try {
            const std::optional<double> target = targetOf(line.formula);
            if (!target) {
                throw text::Error("the target " + text::quotedText(line.formula) +
                                  " is not an m/z above 0");
            }
            row.query = findQueryOf(commandLine, *target, line.ion);
            const CalculationWatch watch(commandLine.maxSeconds);
            const find::FindProgress inTime = [&watch](double) { return !watch.timeIsUp(); };
            if (streamed) {
                // every candidate as found, unranked: the line's rows grow, its candidates
                // are not held
                const std::vector<find::ElementRange> elements = find::readElementRanges(
                    row.query.elementRanges, formula::symbolsOf(tables.elements));
                const std::string start = findBatchStart(row, commandLine.batchFormat);
                row.result = find::findFormulas(
                    row.query, tables, '.', inTime, [&](const find::Candidate& found) {
                        appendFindBatchRow(rows, row, start, elements, found, sent++,
                                           commandLine.batchFormat);
                    });
            } else {
                find::MeasuredSearch search = find::searchMeasured(
                    row.query, tables, '.', peaks ? &*peaks : nullptr,
                    peaks ? scoreSettingsOf(commandLine, *target, profilePointsOf(run))
                          : find::IsotopeScoreSettings{},
                    inTime);
                row.result = std::move(search.result);
                notices = std::move(search.notices);
            }
            if (row.result.cancelled) {
                throw text::Error(watch.limitMessage());
            }
        } catch (const text::Error& error) {
            row.error = error.what();
        } catch (const std::bad_alloc&) {
            row.error = "Not enough memory to search this line.";
        }
        if (!streamed) {
            rows = findBatchRows(row, commandLine.batchFormat, commandLine.limit);
        } else if (sent == 0 || !row.error.empty()) {
            rows += findBatchEmptyRow(row, commandLine.batchFormat);
        }
        return Finished{std::move(rows), std::move(row.error), std::move(notices)};
    };
    int status = 0;
    // the header goes out with the first line's rows, once the searches are under way
    std::string header = findBatchHeader(commandLine.batchFormat);
    const auto write = [&](const BatchLine& line, const Finished& finished) {
        if (!header.empty()) {
            header += finished.rows;
            writeAll(1, header);
            header.clear();
        } else {
            writeAll(1, finished.rows);
        }
        for (const std::string& notice : finished.notices) {
            std::cerr << "line " << line.lineNumber << ": notice: " << notice << '\n';
        }
        if (!finished.error.empty()) {
            status = 1;
            std::cerr << "line " << line.lineNumber << ": " << finished.error << '\n';
        }
    };
    unsigned threads = commandLine.threads;
    if (threads == 0) {
        threads = std::max(1u, std::thread::hardware_concurrency());
    }
    // the reader outlives a run whose output fails while a search thread waits for input
    const auto reader = std::make_shared<BatchLineReader>(*in);
    // the searches may run 16 lines a thread ahead of the output
    makeAsReadInOrder([in, reader] { return reader->next(); },
                      {.threads = threads, .ahead = 16 * std::size_t{threads}},
                      [&] { return std::ref(search); }, write);
    writeAll(1, header); // no line at all: the header alone
    if (in->bad()) {
        problem = text::Error::fromErrno(errno).what();
        return cannotRead();
    }
    return status;
}

} // namespace orvane::cli
