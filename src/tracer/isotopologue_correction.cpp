#include "tracer/isotopologue_correction.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <map>
#include <optional>
#include <tuple>
#include <utility>

#include "accurate/label_isotopes.h"
#include "formula/formula_reader.h"
#include "text/error.h"
#include "tracer/correction_matrix.h"
#include "tracer/input_error.h"
#include "tracer/nonnegative_least_squares.h"
#include "tracer/tracer_isotope.h"

namespace orvane::tracer {
namespace {

// One metabolite (with its derivative): its atoms and its correction matrix.
struct Metabolite {
    std::string formula;
    std::vector<long long> tracerCounts;
    CorrectionMatrix correction;
};

// "C13" or "N15" as AccuCor names isotopes, "D" for 2H; the tracer's name "13C".
std::string tracerNameOfAccuCor(std::string_view name) {
    if (name == "D" || name == "D2") {
        return "2H";
    }
    std::size_t letters = 0;
    while (letters < name.size() && !(name[letters] >= '0' && name[letters] <= '9')) {
        ++letters;
    }
    return std::string(name.substr(letters)) + std::string(name.substr(0, letters));
}

// The element symbols and mass numbers of "C13N15" (AccuCor's label prefix), split.
std::vector<std::string> accuCorNames(std::string_view prefix) {
    std::vector<std::string> names;
    std::size_t i = 0;
    while (i < prefix.size()) {
        std::size_t end = i + 1;
        while (end < prefix.size() && !(prefix[end] >= 'A' && prefix[end] <= 'Z')) {
            ++end;
        }
        names.emplace_back(prefix.substr(i, end - i));
        i = end;
    }
    return names;
}

std::optional<int> wholeNumber(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 0) {
        return std::nullopt;
    }
    return value;
}

// The tracer counts an isotopologue cell names, in the order of `tracers`; nothing when the
// cell cannot be read.
std::optional<std::vector<int>> countsOf(const Measurement& row, bool accuCor,
                                         const std::vector<Tracer>& tracers) {
    std::vector<int> counts(tracers.size(), 0);
    const std::string_view cell = row.isotopologue;
    if (!accuCor) {
        std::size_t start = 0;
        for (std::size_t t = 0; t < tracers.size(); ++t) {
            const std::size_t comma = cell.find(',', start);
            const bool last = t + 1 == tracers.size();
            if ((comma == std::string_view::npos) != last) {
                return std::nullopt;
            }
            const auto value = wholeNumber(cell.substr(start, comma - start));
            if (!value) {
                return std::nullopt;
            }
            counts[t] = *value;
            start = comma + 1;
        }
        return counts;
    }
    if (cell.size() > 7 && cell.substr(cell.size() - 7) == " PARENT") {
        return counts;
    }
    const std::size_t dash = cell.find("-label-");
    if (dash == std::string_view::npos) {
        return std::nullopt;
    }
    const std::vector<std::string> names = accuCorNames(cell.substr(0, dash));
    std::string_view rest = cell.substr(dash + 7);
    for (const std::string& name : names) {
        const std::size_t next = rest.find('-');
        const auto value = wholeNumber(rest.substr(0, next));
        const std::string tracerName = tracerNameOfAccuCor(name);
        std::size_t t = 0;
        while (t < tracers.size() && tracers[t].name != tracerName) {
            ++t;
        }
        if (!value || t == tracers.size()) {
            return std::nullopt;
        }
        counts[t] = *value;
        rest = next == std::string_view::npos ? std::string_view() : rest.substr(next + 1);
    }
    return rest.empty() ? std::optional(counts) : std::nullopt;
}

std::size_t indexOf(const CorrectionMatrix& correction, const std::vector<int>& counts) {
    std::size_t index = 0;
    for (std::size_t t = 0; t < counts.size(); ++t) {
        index = index * (correction.isotopologues.back()[t] + 1) + counts[t];
    }
    return index;
}

// The atoms of `formulaText` ("" for none): the tracer elements' counted into
// `tracerCounts` when `traced`, the rest (and every label) as background blocks.
void addAtoms(const TracerTables& tables, const std::vector<Tracer>& tracers,
              const std::string& formulaText, bool traced, std::vector<AtomBlock>& background,
              std::vector<long long>& tracerCounts) {
    const formula::FormulaCounts counts =
        formula::readFormula(formulaText, tables.reader, tables.separator);
    const auto whole = [&](text::Extended count) {
        if (count < 0 || count != std::floor(count) || count > 1e6) {
            throw text::Error("a count of " + std::to_string(static_cast<double>(count)) +
                              " atoms is not a whole number of 0 to 1000000");
        }
        return static_cast<long long>(count);
    };
    for (const formula::ElementCount& element : counts.counts) {
        const long long count = whole(element.count);
        std::size_t t = 0;
        while (t < tracers.size() && tracers[t].column != element.column) {
            ++t;
        }
        if (traced && t < tracers.size()) {
            tracerCounts[t] += count;
        } else if (count > 0) {
            background.push_back({naturalIsotopes(tables, element.column), count});
        }
    }
    for (const formula::LabelCount& label : counts.labels) {
        background.push_back(
            {lightestFirst(accurate::readLabelIsotopes(
                 tables.tables, label.column, label.massNumber, label.purity, tables.separator)),
             whole(label.count)});
    }
}

// The metabolite of a measured row, read and its matrix built.
Metabolite metaboliteOf(const TracerTables& tables, const CorrectionInput& input,
                        const std::vector<Tracer>& tracers, const Measurement& row) {
    const MeasurementTable& file = input.measurements;
    Metabolite metabolite;
    metabolite.tracerCounts.assign(tracers.size(), 0);
    std::vector<AtomBlock> background;
    int charge = 1;
    const auto readAtoms = [&](const std::string& text, bool traced, const std::string& where,
                               int line, int column) {
        try {
            addAtoms(tables, tracers, text, traced, background, metabolite.tracerCounts);
        } catch (const text::Error& error) {
            throw inputError(where, line, column, "formula",
                             "the formula '" + text + "' cannot be read: " + error.what());
        }
    };
    std::string where = file.fileName;
    int line = row.line;
    int column = 0;
    if (file.accuCorLayout) {
        metabolite.formula = row.formula;
        readAtoms(row.formula, true, file.fileName, row.line, row.formulaColumn);
        column = row.formulaColumn;
    } else {
        const NamedFormula* entry = input.metabolites.find(row.metabolite);
        if (entry == nullptr) {
            throw inputError(file.fileName, row.line, row.metaboliteColumn, "metabolite",
                             "the metabolite '" + row.metabolite + "' is not in " +
                                 (input.metabolites.fileName.empty()
                                      ? std::string("the metabolites; none were given")
                                      : input.metabolites.fileName));
        }
        metabolite.formula = entry->formula;
        charge = entry->charge == 0 ? 1 : entry->charge;
        readAtoms(entry->formula, true, input.metabolites.fileName, entry->line,
                  entry->formulaColumn);
        where = input.metabolites.fileName;
        line = entry->line;
        column = entry->formulaColumn;
        if (!row.derivative.empty()) {
            const NamedFormula* derivative = input.derivatives.find(row.derivative);
            if (derivative == nullptr) {
                throw inputError(file.fileName, row.line, row.derivativeColumn, "derivative",
                                 "the derivative '" + row.derivative + "' is not in " +
                                     (input.derivatives.fileName.empty()
                                          ? std::string("the derivatives; none were given")
                                          : input.derivatives.fileName));
            }
            // the derivative's atoms are all at natural abundance, its tracer element too
            readAtoms(derivative->formula, false, input.derivatives.fileName, derivative->line,
                      derivative->formulaColumn);
        }
    }
    long long traced = 0;
    for (const long long count : metabolite.tracerCounts) {
        traced += count;
    }
    if (traced == 0) {
        throw inputError(where, line, column, "formula",
                         "the formula '" + metabolite.formula + "' holds no atom of the tracer");
    }
    std::optional<double> limit;
    if (input.settings.resolution) {
        std::vector<AtomBlock> all = background;
        for (std::size_t t = 0; t < tracers.size(); ++t) {
            all.push_back({tracers[t].isotopes, metabolite.tracerCounts[t]});
        }
        limit = correctionLimit(*input.settings.resolution, lightestMass(all), charge);
        // as IsoCor: a peak as wide as a mass step is a low-resolution measurement
        if (*limit >= 0.5) {
            limit.reset();
        } else {
            limit = std::max(*limit, 1e3 * std::numeric_limits<double>::epsilon());
        }
    }
    if (!limit && tracers.size() > 1) {
        throw inputError(file.fileName, row.line, row.metaboliteColumn, "metabolite",
                         "two tracers need a resolving power that tells their isotopologues "
                         "apart; at whole mass steps they fall into the same peaks");
    }
    metabolite.correction = correctionMatrix(background, tracers, metabolite.tracerCounts,
                                             input.settings.correctTracerNaturalAbundance, limit);
    return metabolite;
}

// The measured areas of one metabolite in one sample, by isotopologue index.
struct SampleDistribution {
    std::string sample;
    std::string metabolite;
    std::string derivative;
    const Metabolite* atoms = nullptr;
    std::vector<double> areas;
    std::vector<int> lines; // the line of each measured isotopologue, 0 where none
};

void solve(const SampleDistribution& measured, const std::vector<Tracer>& tracers,
           CorrectionResult& result) {
    const CorrectionMatrix& correction = measured.atoms->correction;
    const std::vector<double> corrected =
        nonnegativeLeastSquares(correction.matrix, measured.areas);
    const std::size_t size = corrected.size();
    double correctedSum = 0;
    double measuredSum = 0;
    for (std::size_t i = 0; i < size; ++i) {
        correctedSum += corrected[i];
        measuredSum += measured.areas[i];
    }
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::vector<double> enrichment(tracers.size(), correctedSum > 0 ? 0.0 : nan);
    for (std::size_t i = 0; i < size && correctedSum > 0; ++i) {
        for (std::size_t t = 0; t < tracers.size(); ++t) {
            const long long n = measured.atoms->tracerCounts[t];
            enrichment[t] += n == 0 ? nan
                                    : corrected[i] / correctedSum * correction.isotopologues[i][t] /
                                          static_cast<double>(n);
        }
    }
    for (std::size_t i = 0; i < size; ++i) {
        CorrectedRow row;
        row.sample = measured.sample;
        row.metabolite = measured.metabolite;
        row.derivative = measured.derivative;
        row.formula = measured.atoms->formula;
        row.counts = correction.isotopologues[i];
        row.area = measured.areas[i];
        row.correctedArea = corrected[i];
        row.fraction = correctedSum > 0 ? corrected[i] / correctedSum : nan;
        double explained = 0;
        for (std::size_t j = 0; j < size; ++j) {
            explained +=
                correction.matrix.at(static_cast<int>(i), static_cast<int>(j)) * corrected[j];
        }
        row.residuum = measuredSum > 0 ? (measured.areas[i] - explained) / measuredSum : nan;
        row.meanEnrichment = enrichment;
        result.rows.push_back(std::move(row));
    }
}

} // namespace

std::string isotopologueText(const std::vector<int>& counts) {
    std::string text;
    for (const int count : counts) {
        text += (text.empty() ? "" : ",") + std::to_string(count);
    }
    return text;
}

std::string accuCorLabel(const std::vector<int>& counts, const std::vector<std::string>& tracers) {
    bool parent = true;
    for (const int count : counts) {
        parent = parent && count == 0;
    }
    // AccuCor names the unlabelled molecule so whatever the tracer
    if (parent) {
        return "C12 PARENT";
    }
    std::string label;
    for (const std::string& name : tracers) {
        std::size_t digits = 0;
        while (digits < name.size() && name[digits] >= '0' && name[digits] <= '9') {
            ++digits;
        }
        label += name == "2H" ? std::string("D") : name.substr(digits) + name.substr(0, digits);
    }
    label += "-label";
    for (const int count : counts) {
        label += "-" + std::to_string(count);
    }
    return label;
}

CorrectionResult correct(const TracerTables& loaded, const CorrectionInput& input) {
    TracerTables tables = loaded;
    if (input.isotopeTable) {
        tables.isotopeTable = &*input.isotopeTable;
    }
    const std::vector<Tracer> tracers =
        readTracers(tables, input.settings.tracers, input.settings.purity);
    const MeasurementTable& file = input.measurements;
    CorrectionResult result;
    for (const Tracer& tracer : tracers) {
        result.tracers.push_back(tracer.name);
    }
    result.samples = file.samples;
    // one matrix per metabolite and derivative (AccuCor's layout: per compound and formula)
    std::map<std::pair<std::string, std::string>, Metabolite> metabolites;
    std::vector<SampleDistribution> distributions;
    std::map<std::tuple<std::string, std::string, std::string>, std::size_t> distributionIndex;
    for (const Measurement& row : file.rows) {
        const auto key =
            std::pair(row.metabolite, file.accuCorLayout ? row.formula : row.derivative);
        auto found = metabolites.find(key);
        if (found == metabolites.end()) {
            found = metabolites.emplace(key, metaboliteOf(tables, input, tracers, row)).first;
        }
        const Metabolite& metabolite = found->second;
        const std::optional<std::vector<int>> counts = countsOf(row, file.accuCorLayout, tracers);
        if (!counts) {
            throw inputError(file.fileName, row.line, row.isotopologueColumn, "isotopologue",
                             "the isotopologue '" + row.isotopologue + "' is not " +
                                 (file.accuCorLayout ? std::string("a label such as C13-label-2")
                                  : tracers.size() == 1
                                      ? std::string("a whole number of 0 or more")
                                      : std::string("one whole number per tracer, such as 2,1")));
        }
        for (std::size_t t = 0; t < tracers.size(); ++t) {
            if ((*counts)[t] > metabolite.tracerCounts[t]) {
                throw inputError(file.fileName, row.line, row.isotopologueColumn, "isotopologue",
                                 "the isotopologue M+" + std::to_string((*counts)[t]) + " of " +
                                     tracers[t].name + " cannot be: " + metabolite.formula +
                                     " holds " + std::to_string(metabolite.tracerCounts[t]) + " " +
                                     tracers[t].symbol + " that can be labelled");
            }
        }
        const auto sampleKey = std::tuple(row.sample, key.first, key.second);
        auto slot = distributionIndex.find(sampleKey);
        if (slot == distributionIndex.end()) {
            const std::size_t size = metabolite.correction.isotopologues.size();
            distributions.push_back({row.sample, row.metabolite, row.derivative, &metabolite,
                                     std::vector<double>(size, 0.0), std::vector<int>(size, 0)});
            slot = distributionIndex.emplace(sampleKey, distributions.size() - 1).first;
        }
        SampleDistribution& distribution = distributions[slot->second];
        const std::size_t index = indexOf(metabolite.correction, *counts);
        if (distribution.lines[index] != 0) {
            throw inputError(file.fileName, row.line, row.isotopologueColumn, "isotopologue",
                             "the isotopologue " + row.isotopologue + " of " + row.metabolite +
                                 " in " + row.sample +
                                 " is measured a second time (first on line " +
                                 std::to_string(distribution.lines[index]) + ")");
        }
        distribution.lines[index] = row.line;
        distribution.areas[index] = row.area;
    }
    for (const SampleDistribution& distribution : distributions) {
        solve(distribution, tracers, result);
    }
    return result;
}

} // namespace orvane::tracer
