#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ion/charge_range.h"

namespace orvane::cli {

// The output table of a batch.
enum class BatchFormat { Tsv, Csv, Json };

// What orvane-calc was asked to do.
struct CommandLine {
    std::string dataDirectory;                // --data, default: current directory
    bool dataGiven = false;                   // --data was given
    std::vector<std::string> searchedFolders; // where the data files were looked for without --data
    std::optional<std::string> charge;        // --charge, as typed into the box
    std::optional<std::string> threshold;     // --threshold, tenths of a percent
    bool showPeakPositions = true;            // --no-labels turns it off
    std::vector<std::pair<std::string, std::string>> counts; // --count SYMBOL=TEXT, in order
    std::string formula;                                     // FORMULA, may be empty
    std::optional<std::string> normalFile, specialFile;      // the two pattern layouts
    std::optional<std::string> pngFile, svgFile, pdfFile;    // the spectrum picture
    int pngScale = 1;                                        // --scale, PNG pictures only

    std::optional<std::string> ion; // --ion; without it "[M]+" at the charge
    bool json = false;              // one JSON object instead of the TAB report
    bool skipPattern = false;       // --skip-pattern: no pattern in the report or the JSON
    std::optional<std::string> resolvingPower, coverage; // as typed into the window's boxes
    std::optional<std::string> profileFile, hiresPngFile;
    std::optional<std::string> measuredFile;
    std::optional<std::size_t> spectrumIndex; // --spectrum, 0-based
    std::optional<std::string> tolerancePpm;  // --tolerance, as typed into the window's box
    bool clustersAll = false; // list every cluster, also those under 1e-6 % of the tallest
    std::optional<ions::ChargeRange> charges; // --charges A-B: the charge-state ladder

    // Formula finding: the formulas of an accurate m/z.
    std::optional<double> findMz;                   // --find
    std::optional<std::string> findBatchFile;       // --find-batch, "-" is standard input
    std::vector<std::string> ions;                  // every --ion in order; --find takes several
    std::optional<double> ppm;                      // --ppm, the tolerance (default 5)
    std::optional<double> milliDaltons;             // --mda instead
    std::optional<std::string> elements;            // --elements, the ranges as text
    std::optional<double> rdbeMinimum, rdbeMaximum; // --rdbe MIN:MAX
    bool radicals = false;                          // half-integer RDBE allowed
    bool noRules = false;                           // no heuristic rules
    bool commonRatios = false;                      // the narrower element ratios
    // --rules LIST (only those heuristics on) and every --no-rule NAME, in order
    std::optional<std::string> rulesKept;
    std::vector<std::string> rulesOff;
    std::optional<double> priorWeight;     // --prior-weight W
    std::size_t limit = 20;                // candidates reported, 0: all
    std::optional<std::string> instrument; // --instrument, a preset's name
    // --intensity-sigma A:B, the score's relative-intensity error a + b I
    std::optional<double> intensitySigmaA, intensitySigmaB;

    // Tracer experiments: measured isotopologue distributions corrected.
    std::optional<std::string> correctFile;      // --correct, the measurements
    std::optional<std::string> metabolitesFile;  // --metabolites
    std::optional<std::string> derivativesFile;  // --derivatives
    std::optional<std::string> isotopeTableFile; // --isotope-table, a peer's isotopes
    std::string tracers = "13C";                 // --tracer, one or two isotopes
    std::string purity;                          // --purity, "" for a perfect tracer
    bool tracerNaturalAbundance = true;          // --no-tracer-natural-abundance turns it off
    std::optional<double> resolutionAt;          // --resolution-at, the m/z of --resolution
    std::string sheet = "rows";                  // --sheet rows|corrected|normalized

    std::optional<std::string> batchFile; // "-" is standard input
    BatchFormat batchFormat = BatchFormat::Tsv;
    unsigned threads = 0;             // 0: one per core
    std::optional<double> maxSeconds; // a calculation (a batch line) running longer is stopped

    bool help = false;
    bool version = false;
};

// A command line that cannot be understood; orvane-calc exits with status 2.
class UsageError : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

/// The names of a --rules list, split at commas, blanks around them dropped.
std::vector<std::string> ruleList(std::string_view text);

/// Reads "MIN:MAX", "MIN:" or ":MAX" into the bounds (nothing for a side left empty).
/// Throws UsageError naming the text when a side is not a number or MIN exceeds MAX.
void readRdbeBounds(const std::string& text, std::optional<double>& minimum,
                    std::optional<double>& maximum);

/// The usage text printed by --help and after a usage error.
std::string usageText();

/// Reads the arguments (without the program name). Options take their value as the next
/// argument or after "="; `currentDirectory` is the data directory without --data. Throws
/// UsageError naming the option or argument it cannot read.
CommandLine parseCommandLine(const std::vector<std::string>& arguments,
                             const std::string& currentDirectory);

} // namespace orvane::cli
