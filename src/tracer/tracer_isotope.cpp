#include "tracer/tracer_isotope.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "text/error.h"
#include "text/shortest_text.h"
#include "text/trim.h"

namespace orvane::tracer {
namespace {

std::vector<std::string_view> splitAt(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text::trimBlanks(text.substr(start, end - start)));
        if (end == std::string_view::npos) {
            return parts;
        }
        start = end + 1;
    }
}

Tracer tracerNamed(const TracerTables& tables, std::string_view name) {
    std::size_t digits = 0;
    while (digits < name.size() && name[digits] >= '0' && name[digits] <= '9') {
        ++digits;
    }
    long long massNumber = 0;
    std::string symbol(name.substr(digits));
    if (digits == 0 && symbol == "D") {
        massNumber = 2;
        symbol = "H";
    } else if (digits == 0 ||
               std::from_chars(name.data(), name.data() + digits, massNumber).ec != std::errc()) {
        throw text::Error("the tracer '" + std::string(name) +
                          "' is not a mass number and an element, such as 13C");
    }
    const auto& symbols = tables.reader.symbols;
    const auto found =
        std::find(symbols.begin() + (symbols.empty() ? 0 : 1), symbols.end(), symbol);
    if (found == symbols.end()) {
        throw text::Error("the tracer '" + std::string(name) + "' names no element of the tables");
    }
    Tracer tracer;
    tracer.name = std::to_string(massNumber) + symbol;
    tracer.column = static_cast<int>(found - symbols.begin());
    tracer.symbol = symbol;
    tracer.isotopes = naturalIsotopes(tables, tracer.column);
    const auto isotope = std::find_if(
        tracer.isotopes.begin(), tracer.isotopes.end(),
        [&](const accurate::Isotope& known) { return known.massNumber == massNumber; });
    if (isotope == tracer.isotopes.end() || tracer.isotopes.size() < 2) {
        throw text::Error("the tracer '" + std::string(name) + "' is not a natural isotope of " +
                          symbol);
    }
    if (isotope == tracer.isotopes.begin()) {
        throw text::Error("the tracer '" + std::string(name) + "' is the lightest isotope of " +
                          symbol + "; a tracer must be heavier");
    }
    tracer.index = static_cast<std::size_t>(isotope - tracer.isotopes.begin());
    tracer.purity.assign(tracer.isotopes.size(), 0.0);
    tracer.purity[tracer.index] = 1;
    return tracer;
}

double readNumber(std::string_view text, std::string_view whole) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        !std::isfinite(value)) {
        throw text::Error("the purity '" + std::string(whole) + "' holds '" + std::string(text) +
                          "', which is not a number");
    }
    return value;
}

// The purity of one tracer: a percentage, or one abundance per isotope, lightest first.
void readPurity(Tracer& tracer, std::string_view text) {
    if (text.empty()) {
        return;
    }
    std::string_view trimmed = text;
    constexpr std::string_view naturalSuffix = "+natural";
    const bool natural = trimmed.size() > naturalSuffix.size() &&
                         trimmed.substr(trimmed.size() - naturalSuffix.size()) == naturalSuffix;
    if (natural) {
        trimmed = text::trimBlanks(trimmed.substr(0, trimmed.size() - naturalSuffix.size()));
    }
    const bool percentSign = !trimmed.empty() && trimmed.back() == '%';
    if (percentSign) {
        trimmed.remove_suffix(1);
    }
    const std::vector<std::string_view> parts = splitAt(trimmed, ',');
    if (parts.size() == 1) {
        const double percent = readNumber(parts.front(), text);
        if (!(percent > 0 && percent <= 100)) {
            throw text::Error("the purity " + std::string(text) + " of " + tracer.name +
                              " is no percentage above 0 and at most 100");
        }
        if (natural) {
            // the positions that missed the tracer isotope hold the element as found in nature
            const double share = percent / 100;
            for (std::size_t i = 0; i < tracer.isotopes.size(); ++i) {
                tracer.purity[i] = (1 - share) * tracer.isotopes[i].probability +
                                   (i == tracer.index ? share : 0.0);
            }
            return;
        }
        // the rest is the element's other isotopes in their natural ratio, as a label's {99%}
        const double share = percent / 100;
        double others = 0;
        for (std::size_t i = 0; i < tracer.isotopes.size(); ++i) {
            others += i == tracer.index ? 0 : tracer.isotopes[i].probability;
        }
        for (std::size_t i = 0; i < tracer.isotopes.size(); ++i) {
            tracer.purity[i] =
                i == tracer.index ? share : (1 - share) * tracer.isotopes[i].probability / others;
        }
        return;
    }
    if (percentSign || natural || parts.size() != tracer.isotopes.size()) {
        std::string masses;
        for (const accurate::Isotope& isotope : tracer.isotopes) {
            masses +=
                (masses.empty() ? "" : ",") + std::to_string(isotope.massNumber) + tracer.symbol;
        }
        throw text::Error("the purity '" + std::string(text) + "' of " + tracer.name + " needs " +
                          std::to_string(tracer.isotopes.size()) + " abundances, one for each of " +
                          masses + ", or one percentage (99, or 99+natural)");
    }
    double sum = 0;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const double value = readNumber(parts[i], text);
        if (value < 0 || value > 1) {
            throw text::Error("the purity '" + std::string(text) + "' of " + tracer.name +
                              " holds " + std::string(parts[i]) + ", outside 0 to 1");
        }
        tracer.purity[i] = value;
        sum += value;
    }
    if (std::abs(sum - 1) > 1e-6) {
        throw text::Error("the purity '" + std::string(text) + "' of " + tracer.name +
                          " adds up to " + text::shortestText(sum) + ", not 1");
    }
}

} // namespace

std::vector<accurate::Isotope> lightestFirst(const accurate::ElementIsotopes& element) {
    std::vector<accurate::Isotope> isotopes = element.isotopes;
    std::stable_sort(isotopes.begin(), isotopes.end(),
                     [](const accurate::Isotope& a, const accurate::Isotope& b) {
                         return a.massNumber < b.massNumber;
                     });
    return isotopes;
}

std::vector<Tracer> readTracers(const TracerTables& tables, std::string_view tracers,
                                std::string_view purity) {
    std::vector<Tracer> read;
    for (const std::string_view name : splitAt(tracers, ',')) {
        read.push_back(tracerNamed(tables, name));
        for (std::size_t i = 0; i + 1 < read.size(); ++i) {
            if (read[i].column == read.back().column) {
                throw text::Error("the tracers '" + std::string(tracers) + "' name the element " +
                                  read.back().symbol + " twice");
            }
        }
    }
    if (read.size() > 2) {
        throw text::Error("the tracers '" + std::string(tracers) + "' are more than two");
    }
    const std::vector<std::string_view> purities = splitAt(purity, ';');
    if (!purity.empty() && purities.size() != read.size()) {
        throw text::Error("the purity '" + std::string(purity) + "' needs one text for each of " +
                          std::to_string(read.size()) + " tracers, separated by ';'");
    }
    for (std::size_t i = 0; i < read.size() && !purity.empty(); ++i) {
        readPurity(read[i], purities[i]);
    }
    return read;
}

} // namespace orvane::tracer
