#include "cli/command_options.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <initializer_list>
#include <map>
#include <memory>

#include <CLI/CLI.hpp>

#include "find/formula_rules.h"
#include "measured/instrument_preset.h"
#include "text/error.h"
#include "text/trim.h"
#include "tracer/correction_settings.h"

namespace orvane::cli {
namespace {

const char* const description =
    "Loads elem.txt, abundances.txt and (when present) masses.txt from DIR (default: the\n"
    "current directory), enters the atom counts of FORMULA (e.g. C6H12O6, Ca(OH)2,\n"
    "CuSO4*5H2O) and of each --count, runs the calculation and prints the formula, its\n"
    "weight, the mass percentages, the isotope pattern and the accurate masses of the ion,\n"
    "one TAB-separated item a line (or one JSON object with --json).\n"
    "\n"
    "Z and N are taken as if typed into the window's boxes: a value outside the bounds is\n"
    "used as it stands (a charge of 0 gives the division error), and a text that is not a\n"
    "whole number counts as the lower bound.\n";

const char* const footer =
    "Batch: each line of FILE is a formula, optionally followed by a TAB and an ion; blank\n"
    "lines and lines starting with # are skipped. The exit status is 1 when any line failed.";

// CLI11's own number checks name their bound, the largest double, in all its 309 digits.
CLI::Validator numberAbove0() {
    return CLI::Validator(
        [](std::string& text) {
            double value = 0;
            if (!CLI::detail::lexical_cast(text, value) || !std::isfinite(value) || !(value > 0)) {
                return "'" + text + "' is not a number above 0";
            }
            return std::string();
        },
        "", "above 0");
}

CLI::Validator numberOf0OrMore() {
    return CLI::Validator(
        [](std::string& text) {
            double value = 0;
            if (!CLI::detail::lexical_cast(text, value) || !std::isfinite(value) || value < 0) {
                return "'" + text + "' is not a number of 0 or more";
            }
            return std::string();
        },
        "", "0 or more");
}

// A count: digits alone, so that "-1" is not read as the largest count there is.
CLI::Validator wholeNumberOf0OrMore() {
    return CLI::Validator(
        [](std::string& text) {
            const bool digits = !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
                return c >= '0' && c <= '9';
            });
            return digits ? std::string() : "'" + text + "' is not a whole number of 0 or more";
        },
        "", "whole, 0 or more");
}

// The options, declared once; `commandLine` receives the values.
std::unique_ptr<CLI::App> declareOptions(CommandLine& commandLine, std::vector<std::string>& counts,
                                         std::string& rdbeText, std::string& sigmaText,
                                         std::string& chargesText) {
    auto app = std::make_unique<CLI::App>(description, "orvane-calc");
    app->footer(footer);
    app->get_formatter()->column_width(26);
    app->add_flag("--version", commandLine.version,
                  "Shows the version and the SHA-256 of the data files");
    app->add_option("FORMULA", commandLine.formula, "The formula; may be empty with --count");
    app->add_option("--data", commandLine.dataDirectory, "Data directory")->type_name("DIR");
    app->add_option("--charge", commandLine.charge, "Charge, 1 to 100 (default 1)")->type_name("Z");
    app->add_option("--count", counts, "Writes TEXT as it stands into the count cell of SYMBOL")
        ->type_name("SYMBOL=TEXT")
        ->allow_extra_args(false);
    app->add_option("--threshold", commandLine.threshold,
                    "Peak-label threshold in tenths of a percent, 0 to 1000 (default 1)")
        ->type_name("N");
    app->add_flag_callback(
        "--no-labels", [&commandLine] { commandLine.showPeakPositions = false; },
        "No peak-position labels in the picture");
    app->add_option("--normal", commandLine.normalFile,
                    "Writes the pattern as mass TAB intensity lines")
        ->type_name("FILE");
    app->add_option("--special", commandLine.specialFile,
                    "Writes the pattern with one column per peak")
        ->type_name("FILE");
    app->add_option("--png", commandLine.pngFile, "Writes the spectrum picture (782 x 553) as PNG")
        ->type_name("FILE");
    app->add_option("--svg", commandLine.svgFile, "Writes the spectrum picture as SVG")
        ->type_name("FILE");
    app->add_option("--pdf", commandLine.pdfFile, "Writes the spectrum picture as PDF")
        ->type_name("FILE");
    app->add_option("--scale", commandLine.pngScale, "Scale of the PNG pictures: 1, 2 or 4")
        ->check(CLI::IsMember({1, 2, 4}))
        ->option_text("1|2|4");
    app->add_option("--ion", commandLine.ions,
                    "The ion, e.g. [M+H]+, [M-H]-, [M+Na]+, [2M+Na]+ (default [M]+ at the "
                    "charge; [M+H]+ for --find, which takes several)")
        ->type_name("ION")
        ->allow_extra_args(false);
    app->add_flag("--json", commandLine.json, "Prints one JSON object instead of the TAB report");
    app->add_flag("--skip-pattern", commandLine.skipPattern,
                  "Leaves the pattern out of the report and the JSON; it is calculated only "
                  "for the pattern files and pictures asked for");
    app->add_option("--resolution", commandLine.resolvingPower,
                    "Resolving power of the profile, m/z over FWHM (default 60000)")
        ->type_name("R");
    app->add_option("--coverage", commandLine.coverage,
                    "Coverage of the fine structure (default 0.9999)")
        ->type_name("P");
    app->add_option("--profile", commandLine.profileFile,
                    "Writes the ion's profile as m/z TAB intensity lines")
        ->type_name("FILE");
    app->add_option("--hires-png", commandLine.hiresPngFile,
                    "Writes the high-resolution plot as PNG")
        ->type_name("FILE");
    app->add_option("--measured", commandLine.measuredFile,
                    "Sets a measured spectrum (peak list, mzML, mzXML) against the ion")
        ->type_name("FILE");
    app->add_option("--spectrum", commandLine.spectrumIndex,
                    "Spectrum of the measured file, 0-based (default: the MS1 spectrum with the "
                    "largest intensity in the ion's range)")
        ->check(wholeNumberOf0OrMore())
        ->option_text("N");
    app->add_option("--tolerance", commandLine.tolerancePpm,
                    "Tolerance of the match with the measured peaks in ppm (default: one FWHM "
                    "at the resolving power)")
        ->type_name("PPM");
    app->add_flag("--clusters-all", commandLine.clustersAll,
                  "Lists every accurate cluster, also those under 1e-6 % of the tallest");
    app->add_option("--charges", chargesText,
                    "Prints the ion (--ion, default [M+zH]z+) at each charge A to B, 1 to 100: "
                    "one Ladder line each; implies --skip-pattern unless a pattern file or "
                    "picture is asked for")
        ->type_name("A-B");
    app->add_option("--batch", commandLine.batchFile,
                    "Calculates every formula of FILE (- : standard input)")
        ->type_name("FILE");
    const std::map<std::string, BatchFormat> formats{
        {"tsv", BatchFormat::Tsv}, {"csv", BatchFormat::Csv}, {"json", BatchFormat::Json}};
    app->add_option("--format", commandLine.batchFormat,
                    "Batch output: tsv, csv or json (default tsv)")
        ->transform(CLI::CheckedTransformer(formats, CLI::ignore_case))
        ->option_text("tsv|csv|json");
    app->add_option("--threads", commandLine.threads,
                    "Threads of a batch's lines or of one run's atom steps (default: one per core)")
        ->check(CLI::Range(1u, 1024u))
        ->option_text("N");
    app->add_option("--max-seconds", commandLine.maxSeconds,
                    "Stops a calculation (in a batch: a line) after N seconds")
        ->check(numberAbove0())
        ->option_text("N");
    app->add_option("--find", commandLine.findMz,
                    "Finds the formulas whose ion has this monoisotopic m/z")
        ->check(numberAbove0())
        ->option_text("MZ");
    app->add_option("--find-batch", commandLine.findBatchFile,
                    "Finds the formulas of every m/z of FILE (- : standard input), one a line, "
                    "optionally followed by a TAB and an ion")
        ->type_name("FILE");
    app->add_option("--ppm", commandLine.ppm, "Tolerance of --find in ppm (default 5)")
        ->check(numberAbove0())
        ->option_text("P");
    app->add_option("--mda", commandLine.milliDaltons, "Tolerance of --find in mDa instead")
        ->check(numberAbove0())
        ->option_text("D");
    app->add_option("--elements", commandLine.elements,
                    "Element ranges of --find (default \"C0-60 H0-120 N0-10 O0-20 P0-3 S0-4 "
                    "Cl0-4 Br0-3\")")
        ->type_name("RANGES");
    app->add_option("--rdbe", rdbeText, "RDBE bounds of --find, e.g. 0:40 or 0: (default none)")
        ->type_name("MIN:MAX");
    app->add_flag("--radicals", commandLine.radicals, "--find also takes half-integer RDBE");
    app->add_flag("--no-rules", commandLine.noRules,
                  "--find keeps formulas the heuristic rules would remove");
    app->add_option("--rules", commandLine.rulesKept,
                    "--find applies only these heuristics, comma-separated: ion-atoms, lewis, "
                    "senior, element-counts, h/c, heteroatoms/c, heteroatom-counts, ratios, "
                    "prior")
        ->type_name("LIST");
    app->add_option("--no-rule", commandLine.rulesOff,
                    "--find leaves out this heuristic (any name --rules takes); repeatable")
        ->type_name("NAME");
    app->add_option("--prior-weight", commandLine.priorWeight,
                    "How many times --find counts the composition prior (default 1)")
        ->check(numberOf0OrMore())
        ->option_text("W");
    app->add_flag("--common-ratios", commandLine.commonRatios,
                  "--find uses the narrower element ratios most compounds keep to");
    app->add_option("--instrument", commandLine.instrument,
                    "The kind of instrument the measured spectrum comes from: Orbitrap, "
                    "FT-ICR, QTOF or IT-TOF (its resolving power curve and errors)")
        ->type_name("NAME");
    app->add_option("--intensity-sigma", sigmaText,
                    "The isotope score's relative-intensity error a + b I (default 0.02:0.08)")
        ->type_name("A:B");
    app->add_option("--limit", commandLine.limit,
                    "Candidates --find reports, best first; 0: all, as found (default 20)")
        ->check(wholeNumberOf0OrMore())
        ->option_text("K");
    app->add_option("--correct", commandLine.correctFile,
                    "Corrects the measured isotopologue distributions of FILE (IsoCor's "
                    "measurements or AccuCor's layout) for natural isotopes and tracer purity")
        ->type_name("FILE");
    app->add_option("--metabolites", commandLine.metabolitesFile,
                    "Metabolites of --correct: name, formula, charge (TAB-separated)")
        ->type_name("FILE");
    app->add_option("--derivatives", commandLine.derivativesFile,
                    "Derivatives of --correct: name, formula (TAB-separated)")
        ->type_name("FILE");
    app->add_option("--isotope-table", commandLine.isotopeTableFile,
                    "Isotopes of --correct in place of the data files': element, mass, "
                    "abundance (IsoCor's Isotopes.dat layout)")
        ->type_name("FILE");
    app->add_option("--tracer", commandLine.tracers,
                    "Tracer isotope of --correct: 13C, 15N, 2H, 18O, 34S, or two as 13C,15N "
                    "(default 13C)")
        ->type_name("ISOTOPES");
    app->add_option("--purity", commandLine.purity,
                    "Tracer purity of --correct: the abundances at labelled positions, "
                    "lightest isotope first (0.01,0.99), or a percentage (99: the rest in "
                    "the natural ratio; 99+natural: the rest at natural abundance); ';' "
                    "between two tracers' (default: pure)")
        ->type_name("P");
    app->add_flag_callback(
        "--no-tracer-natural-abundance",
        [&commandLine] { commandLine.tracerNaturalAbundance = false; },
        "--correct leaves the tracer's natural abundance at unlabelled positions");
    app->add_option("--resolution-at", commandLine.resolutionAt,
                    "The m/z at which --resolution holds, for --correct (default 400)")
        ->check(CLI::PositiveNumber)
        ->option_text("MZ");
    app->add_option("--sheet", commandLine.sheet,
                    "Table --correct writes: rows (IsoCor's), corrected or normalized "
                    "(AccuCor's sheets; default rows)")
        ->check(CLI::IsMember({"rows", "corrected", "normalized"}))
        ->option_text("rows|corrected|normalized");
    return app;
}

// Raises UsageError "<option><why>" for the first option given of `options` or of the
// files written for one formula (the pattern files, the pictures, the profile).
void refuseGiven(std::initializer_list<std::pair<bool, const char*>> options,
                 const CommandLine& commandLine, const char* why) {
    const std::pair<bool, const char*> oneFormulaFiles[] = {
        {bool(commandLine.normalFile), "--normal"},
        {bool(commandLine.specialFile), "--special"},
        {bool(commandLine.pngFile), "--png"},
        {bool(commandLine.svgFile), "--svg"},
        {bool(commandLine.pdfFile), "--pdf"},
        {bool(commandLine.profileFile), "--profile"},
        {bool(commandLine.hiresPngFile), "--hires-png"},
    };
    for (const auto& [given, name] : options) {
        if (given) {
            throw UsageError(std::string(name) + why);
        }
    }
    for (const auto& [given, name] : oneFormulaFiles) {
        if (given) {
            throw UsageError(std::string(name) + why);
        }
    }
}

// The options --correct takes, checked together; what belongs to another kind of run is
// refused rather than dropped.
void checkCorrectOptions(const CommandLine& commandLine) {
    if (commandLine.instrument && !tracer::instrumentNamed(*commandLine.instrument)) {
        throw UsageError("--instrument: --correct takes orbitrap, ftcr or constant, not '" +
                         *commandLine.instrument + "'");
    }
    if ((commandLine.instrument || commandLine.resolutionAt) && !commandLine.resolvingPower) {
        throw UsageError(std::string(commandLine.instrument ? "--instrument" : "--resolution-at") +
                         " needs --resolution with --correct");
    }
    refuseGiven({{bool(commandLine.findMz), "--find"},
                 {bool(commandLine.findBatchFile), "--find-batch"},
                 {bool(commandLine.batchFile), "--batch"},
                 {!commandLine.formula.empty(), "FORMULA"},
                 {bool(commandLine.measuredFile), "--measured"},
                 {bool(commandLine.charges), "--charges"},
                 {commandLine.json, "--json (use --format json)"}},
                commandLine, " does not go with --correct");
}

} // namespace

std::vector<std::string> ruleList(std::string_view text) {
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        const std::string_view name = text::trimBlanks(text.substr(start, comma - start));
        if (!name.empty()) {
            names.emplace_back(name);
        }
        start = comma + 1;
    }
    return names;
}

void readRdbeBounds(const std::string& text, std::optional<double>& minimum,
                    std::optional<double>& maximum) {
    const auto colon = text.find(':');
    const auto side = [&](std::string_view part) -> std::optional<double> {
        if (part.empty()) {
            return std::nullopt;
        }
        double value = 0;
        const auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), value);
        if (error != std::errc() || end != part.data() + part.size() || !std::isfinite(value)) {
            throw UsageError("--rdbe needs MIN:MAX, MIN: or :MAX with numbers, not '" + text + "'");
        }
        return value;
    };
    if (colon == std::string::npos) {
        throw UsageError("--rdbe needs MIN:MAX, MIN: or :MAX with numbers, not '" + text + "'");
    }
    const std::string_view whole(text);
    minimum = side(whole.substr(0, colon));
    maximum = side(whole.substr(colon + 1));
    if (minimum && maximum && *minimum > *maximum) {
        throw UsageError("--rdbe " + text + ": the minimum is above the maximum");
    }
}

std::string usageText() {
    CommandLine unused;
    std::vector<std::string> counts;
    std::string rdbeText;
    std::string sigmaText;
    std::string chargesText;
    return declareOptions(unused, counts, rdbeText, sigmaText, chargesText)->help();
}

CommandLine parseCommandLine(const std::vector<std::string>& arguments,
                             const std::string& currentDirectory) {
    CommandLine commandLine;
    commandLine.dataDirectory = currentDirectory;
    std::vector<std::string> counts;
    std::string rdbeText;
    std::string sigmaText;
    std::string chargesText;
    const std::unique_ptr<CLI::App> app =
        declareOptions(commandLine, counts, rdbeText, sigmaText, chargesText);
    // CLI11 reads its arguments from the last to the first.
    std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
    try {
        app->parse(reversed);
    } catch (const CLI::CallForHelp&) {
        commandLine.help = true;
        return commandLine;
    } catch (const CLI::ParseError& error) {
        throw UsageError(error.what());
    }
    commandLine.dataGiven = app->count("--data") > 0;
    const bool finding = commandLine.findMz || commandLine.findBatchFile;
    if (commandLine.ions.size() == 1) {
        commandLine.ion = commandLine.ions.front();
    } else if (commandLine.ions.size() > 1 && !finding) {
        throw UsageError(
            "--ion is given more than once; only --find and --find-batch take several");
    }
    if (!rdbeText.empty()) {
        readRdbeBounds(rdbeText, commandLine.rdbeMinimum, commandLine.rdbeMaximum);
    }
    if (!sigmaText.empty()) {
        // both parts are needed, and an error of 0 would make every difference infinitely unlikely
        const auto refused = [&] {
            return UsageError("--intensity-sigma needs A:B with numbers of 0 or more, not '" +
                              sigmaText + "'");
        };
        const auto part = [&](std::string_view text) {
            double value = 0;
            const auto [end, error] =
                std::from_chars(text.data(), text.data() + text.size(), value);
            if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
                !std::isfinite(value) || value < 0) {
                throw refused();
            }
            return value;
        };
        const auto colon = sigmaText.find(':');
        if (colon == std::string::npos) {
            throw refused();
        }
        const std::string_view whole(sigmaText);
        commandLine.intensitySigmaA = part(whole.substr(0, colon));
        commandLine.intensitySigmaB = part(whole.substr(colon + 1));
        if (!(*commandLine.intensitySigmaA > 0)) {
            throw UsageError("--intensity-sigma " + sigmaText + ": A must be above 0");
        }
    }
    if (app->count("--charges") > 0) {
        try {
            commandLine.charges = ions::readChargeRange(chargesText);
        } catch (const text::Error& error) {
            throw UsageError(std::string("--charges: ") + error.what());
        }
        if (!commandLine.charges) {
            throw UsageError("--charges needs A-B, such as 5-20");
        }
        // each rung is named by its charge, so a "z" must stand in the charge ("[M+zH]z+"),
        // not only in a multiplier ("[zM+H]+")
        if (commandLine.ion) {
            const std::string& ion = *commandLine.ion;
            const std::size_t close = ion.rfind(']');
            if (ion.find('z') != std::string::npos &&
                (close == std::string::npos || ion.find('z', close) == std::string::npos)) {
                throw UsageError("--charges: in the ion " + ion +
                                 ", z is not the charge; a ladder of charge states needs z as "
                                 "the charge, as in [M+zH]z+");
            }
        }
        // the ladder needs no pattern; only the pattern files and pictures ask for it
        const bool patternFiles = commandLine.normalFile || commandLine.specialFile ||
                                  commandLine.pngFile || commandLine.svgFile || commandLine.pdfFile;
        if (!patternFiles) {
            commandLine.skipPattern = true;
        }
    }
    if (commandLine.ppm && commandLine.milliDaltons) {
        throw UsageError("--ppm and --mda are two tolerances; give one");
    }
    const auto checkRule = [](const std::string& name, const char* option) {
        find::RuleSettings probe;
        if (!find::switchRule(probe, name, false)) {
            std::string names;
            for (const std::string_view known : find::switchableRules) {
                names += (names.empty() ? "" : ", ") + std::string(known);
            }
            throw UsageError(std::string(option) + ": there is no rule '" + name +
                             "'; the rules are " + names);
        }
    };
    if (commandLine.correctFile) {
        // --correct reads --instrument as a law of the resolving power, not a preset
        checkCorrectOptions(commandLine);
    } else if (commandLine.instrument && !measured::findInstrumentPreset(*commandLine.instrument)) {
        std::string names;
        for (const measured::InstrumentPreset& preset : measured::instrumentPresets) {
            names += (names.empty() ? "" : ", ") + std::string(preset.name);
        }
        throw UsageError("--instrument: there is no instrument '" + *commandLine.instrument +
                         "'; the instruments are " + names);
    }
    if (commandLine.rulesKept) {
        for (const std::string& name : ruleList(*commandLine.rulesKept)) {
            checkRule(name, "--rules");
        }
    }
    for (const std::string& name : commandLine.rulesOff) {
        checkRule(name, "--no-rule");
    }
    if (finding) {
        refuseGiven({{commandLine.findMz && commandLine.findBatchFile, "--find-batch with --find"},
                     {bool(commandLine.batchFile), "--batch"},
                     {!commandLine.formula.empty(), "FORMULA"},
                     {!counts.empty(), "--count"},
                     {bool(commandLine.charges), "--charges"},
                     {commandLine.findBatchFile && commandLine.json, "--json (use --format json)"}},
                    commandLine, " does not go with finding formulas");
    }
    if (commandLine.batchFile) {
        // What a batch would have to write once per line is refused rather than dropped.
        refuseGiven({{!commandLine.formula.empty(), "FORMULA"},
                     {commandLine.json, "--json (use --format json)"},
                     {bool(commandLine.measuredFile), "--measured"},
                     {bool(commandLine.charges), "--charges"}},
                    commandLine, " applies to one formula, not to --batch");
    }
    for (const std::string& assignment : counts) {
        const auto equals = assignment.find('=');
        if (equals == std::string::npos || equals == 0) {
            throw UsageError("--count needs SYMBOL=TEXT, not '" + assignment + "'");
        }
        commandLine.counts.emplace_back(assignment.substr(0, equals),
                                        assignment.substr(equals + 1));
    }
    return commandLine;
}

} // namespace orvane::cli
