#include "cli/single_run.h"

#include <iostream>
#include <optional>
#include <sstream>

#include "cli/accurate_report.h"
#include "cli/blank_canvas.h"
#include "cli/calculation_watch.h"
#include "cli/calculation_report.h"
#include "cli/counts_to_enter.h"
#include "cli/json_report.h"
#include "cli/ladder_report.h"
#include "cli/score_settings.h"
#include "cli/session_settings.h"
#include "cli/standard_output.h"
#include "cli/stderr_notifier.h"
#include "accurate/element_isotopes.h"
#include "accurate/label_isotopes.h"
#include "export/safe_file_writer.h"
#include "plot/profile_plot.h"
#include "profile/cancelled.h"
#include "profile/profile.h"
#include "ion/high_resolution_view.h"
#include "ion/charge_ladder.h"
#include "ion/ion_profile.h"
#include "export/profile_file.h"
#include "session/ion_inputs.h"
#include "session/session.h"
#include "ion/typed_ion.h"
#include "text/error.h"

namespace orvane::cli {
namespace {

// What fails without the ion's accurate masses.
bool needsIon(const CommandLine& commandLine) {
    return commandLine.ion || commandLine.profileFile || commandLine.hiresPngFile ||
           commandLine.measuredFile;
}

// What needs the exact pattern: the report's pattern lines, the pattern files, the pictures.
bool needsPattern(const CommandLine& commandLine) {
    return !commandLine.skipPattern || commandLine.normalFile || commandLine.specialFile ||
           commandLine.pngFile || commandLine.svgFile || commandLine.pdfFile;
}

// What reports the accurate masses, and so says why they are missing.
bool asksForAccurate(const CommandLine& commandLine) {
    return needsIon(commandLine) || commandLine.json;
}

// The ion against the measured spectrum the run shows; nothing without one.
std::optional<ions::MeasuredMatch> matchShown(const session::Session& run,
                                              const ions::IonResult& ion) {
    const std::optional<ions::MeasuredView> measured = session::measuredViewOf(run.state());
    return ions::matchMeasured(run.state().tables, session::profileBoxesOf(run.state()),
                               measured ? &*measured : nullptr, ion, run.separator());
}

MeasuredReport compareMeasured(session::Session& run, const CommandLine& commandLine,
                               const ions::IonResult& ion) {
    const measured::MeasuredFile file = run.readMeasuredFile(*commandLine.measuredFile);
    const std::size_t index = commandLine.spectrumIndex.value_or(run.defaultMeasuredSpectrum(file));
    if (index >= file.spectra().size()) {
        throw text::Error(file.fileName() + ": there is no spectrum " + std::to_string(index) +
                          "; the file holds " + std::to_string(file.spectra().size()) +
                          " (counted from 0)");
    }
    run.showMeasuredSpectrum(file, index);
    const std::optional<ions::MeasuredMatch> match = matchShown(run, ion);
    MeasuredReport report;
    report.file = *commandLine.measuredFile;
    report.spectrum = index;
    report.points = run.state().measured->points.mz.size();
    if (match) {
        report.match = match->match;
        report.noPeak = ions::noPeakText(match->match, run.separator());
        if (!report.noPeak.empty()) {
            std::cerr << "notice: " << report.noPeak << '\n';
        }
        if (match->basePeak) {
            report.basePeakMz = match->basePeak->basePeakMz;
            report.basePeakIntensity = match->basePeak->basePeakIntensity;
        }
        if (match->scale) {
            report.rangeBasePeakMz = match->scale->basePeakMz;
            report.rangeBasePeakIntensity = match->scale->basePeakIntensity;
        }
        if (!match->chargeNotice.empty()) {
            std::cerr << "notice: " << match->chargeNotice << '\n';
        }
    }
    if (report.noPeak.empty() && ion.ionLabels.empty() && !ion.ionAtoms.empty()) {
        // the search's own score of this formula, with the search's options
        const bool profileData =
            file.spectra()[index].representation == measured::Representation::Profile;
        const measured::Spectrum peaks =
            measured::peaksOf(run.state().measured->points, profileData);
        const measured::Spectrum* profile = profileData ? &run.state().measured->points : nullptr;
        const double target = find::measuredTarget(
            peaks, ion.monoisotopicMz,
            scoreSettingsOf(commandLine, ion.monoisotopicMz, profile).resolvingPower);
        report.pattern = find::scorePattern(
            ion.ionAtoms, ion.charge, target, toleranceOf(commandLine), peaks,
            scoreSettingsOf(commandLine, target, profile), run.state().tables, '.');
    }
    return report;
}

// A file that cannot be written; the session's message says why, this one also which.
class FileNotWritten : public text::Error {
public:
    using text::Error::Error;
};

template <typename Write> void writingFile(const std::string& path, Write write) {
    try {
        write();
    } catch (const FileNotWritten&) {
        throw;
    } catch (const text::Error& error) {
        throw FileNotWritten(path + ": " + error.what());
    }
}

int runCalculation(const CommandLine& commandLine, PictureWriter& pictures, session::Session& run) {
    if (!commandLine.searchedFolders.empty()) {
        run.searchDataFolders(commandLine.searchedFolders);
    }
    run.Initialize1Click();
    if (!run.state().elementFileFound || !run.state().isotopeTableLoaded) {
        // The notices above say which file is missing or does not match.
        std::cerr << "orvane-calc: cannot calculate: the data files in " << run.dataDirectory()
                  << " did not load";
        if (!run.state().elementFileFound) {
            std::cerr << ": " << run.missingElementDataMessage();
        }
        std::cerr << '\n';
        return 1;
    }
    FormulaEntry counts;
    try {
        counts = countsToEnter(run.state().tables.elements, commandLine.formula, commandLine.counts,
                               run.separator(), run.state().reader);
    } catch (const UsageError& error) {
        std::cerr << "orvane-calc: " << error.what() << '\n';
        return 2;
    }
    applySettings(run, commandLine);
    // a peptide's "/2" stands for --charge 2 --ion '[M+zH]z+' where those are not given
    for (const std::string& notice : counts.notices) {
        std::cerr << "notice: " << notice << '\n';
    }
    const ions::TypedIon typed = run.askIon(counts.charge, commandLine.ion, commandLine.charge,
                                            defaultIon, run.state().settings.charge.text());
    if (!typed.notice.empty()) {
        std::cerr << "notice: " << typed.notice << '\n';
    }
    CalculationWatch watch(commandLine.maxSeconds, terminalProgressLine());
    // The exact pattern only for what shows it: the report's pattern lines, the pattern
    // files and the pictures.
    if (!needsPattern(commandLine)) {
        run.enterCountsWithoutPattern(counts.counts, counts.labels);
    } else if (run.enterCounts(counts.counts, watch.engineProgress(), counts.labels) ==
               session::Outcome::Cancelled) {
        watch.clearLine();
        std::cerr << "orvane-calc: " << watch.limitMessage() << '\n';
        return 1;
    }
    watch.clearLine();

    // Without masses.txt the rest of the report still stands; only what needs the ion fails.
    int status = 0;
    std::optional<ions::IonResult> ion;
    try {
        ion = run.currentIon();
        for (const std::string& notice : ion->notices) {
            std::cerr << "notice: " << notice << '\n';
        }
    } catch (const text::Error& error) {
        if (asksForAccurate(commandLine)) {
            std::cerr << "orvane-calc: no accurate masses: " << error.what() << '\n';
        }
        if (needsIon(commandLine)) {
            status = 1;
        }
    }
    std::optional<MeasuredReport> measured;
    if (ion && commandLine.measuredFile) {
        measured = compareMeasured(run, commandLine, *ion);
    }

    std::optional<std::vector<ions::LadderRung>> ladder;
    if (commandLine.charges) {
        const session::SessionState& state = run.state();
        ladder = ions::computeChargeLadder(
            session::moleculeOf(state), session::measuredPointsOf(state),
            commandLine.ion.value_or(defaultLadderIon), commandLine.charges, run.separator());
    }

    std::ostringstream report;
    if (commandLine.json) {
        report << jsonReport(run.state(), ion ? &*ion : nullptr, measured ? &*measured : nullptr,
                             nullptr, commandLine.clustersAll, !commandLine.skipPattern,
                             ladder ? &*ladder : nullptr)
               << '\n';
    } else {
        writeCalculationReport(report, run.state(), !commandLine.skipPattern);
        if (ion) {
            writeAccurateReport(report, *ion, commandLine.clustersAll);
        }
        if (measured) {
            writeMeasuredReport(report, *measured);
        }
        if (ladder) {
            writeLadderReport(report, *ladder);
        }
    }
    writeAll(1, report.str());

    if (commandLine.normalFile) {
        writingFile(*commandLine.normalFile,
                    [&] { run.savePattern(*commandLine.normalFile, exporting::Layout::Normal); });
    }
    if (commandLine.specialFile) {
        writingFile(*commandLine.specialFile,
                    [&] { run.savePattern(*commandLine.specialFile, exporting::Layout::Special); });
    }
    const auto drawSpectrum = [&run](plot::Canvas& canvas) { run.drawSpectrumOn(canvas); };
    for (const auto& picture : {std::pair{commandLine.pngFile, PictureType::Png},
                                std::pair{commandLine.svgFile, PictureType::Svg},
                                std::pair{commandLine.pdfFile, PictureType::Pdf}}) {
        // named, not a structured binding: clang 14's lambdas cannot capture one
        const std::optional<std::string>& file = picture.first;
        const PictureType type = picture.second;
        if (file) {
            writingFile(*file, [&] {
                pictures.writeSpectrum(*file, type, commandLine.pngScale, drawSpectrum);
            });
        }
    }
    if (ion && (commandLine.profileFile || commandLine.hiresPngFile)) {
        profile::Profile profile;
        try {
            profile = profile::computeProfile(
                ions::profileInputFor(run.state().tables, *ion, run.separator()),
                ions::profileSettingsOf(session::profileBoxesOf(run.state()), run.separator()),
                watch.stopToken());
        } catch (const profile::Cancelled&) {
            std::cerr << "orvane-calc: " << watch.limitMessage() << '\n';
            return 1;
        }
        if (commandLine.profileFile) {
            writingFile(*commandLine.profileFile, [&] {
                exporting::writeProfileFile(*commandLine.profileFile,
                                            {ion->ion, ion->ionFormula,
                                             run.state().profileBoxes.resolvingPowerText,
                                             run.state().profileBoxes.coverageText},
                                            profile);
            });
        }
        if (commandLine.hiresPngFile) {
            const std::optional<ions::MeasuredMatch> match = matchShown(run, *ion);
            const std::optional<ions::MeasuredView> measuredShown =
                session::measuredViewOf(run.state());
            const plot::HighResolutionContent content = ions::highResolutionContent(
                session::labelThresholdOf(run.state()), measuredShown ? &*measuredShown : nullptr,
                *ion, &profile, match, run.separator());
            const plot::ViewRange view = plot::wholeView(content.sticks);
            writingFile(*commandLine.hiresPngFile, [&] {
                pictures.writeHighResolution(
                    *commandLine.hiresPngFile, commandLine.pngScale, [&](plot::Canvas& canvas) {
                        plot::drawHighResolutionPlot(canvas, view, content);
                    });
            });
        }
    }
    return status;
}

} // namespace

int runSingle(const CommandLine& commandLine, PictureWriter& pictures) {
    // the one save that can lose a file's old contents is announced before it starts
    exporting::setInPlaceConsent([](const std::string& path) {
        std::cerr << "notice: " << path
                  << ": its folder takes no new files; the file is rewritten in place, and a "
                     "failure part-way would lose its old contents\n";
        return true;
    });
    StderrNotifier notifier;
    BlankCanvas canvas;
    session::Session run(commandLine.dataDirectory, '.', notifier, canvas);
    run.drawOnlyOnRequest(); // pictures are drawn onto their own canvases
    if (commandLine.threads != 0) {
        run.setEngineThreads(static_cast<int>(commandLine.threads)); // the session takes 1 or 2
    }
    try {
        return runCalculation(commandLine, pictures, run);
    } catch (const FileNotWritten& error) {
        std::cerr << "orvane-calc: " << error.what() << '\n';
        return 1;
    } catch (const text::Error& error) {
        std::cerr << error.what() << '\n';
        return 1;
    }
}

} // namespace orvane::cli
