#include "sequence/sequence_reader.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "sequence/nucleic_acid_reader.h"
#include "sequence/peptide_reader.h"
#include "text/brackets.h"

namespace orvane::sequence {

namespace {

enum class Kind { Peptide, Dna, Rna, Averagine };

struct Function {
    std::string_view name; // with its "("
    Kind kind;
};

constexpr std::array<Function, 4> functions{{
    {"peptide(", Kind::Peptide},
    {"dna(", Kind::Dna},
    {"rna(", Kind::Rna},
    {"averagine(", Kind::Averagine},
}};

const Function* functionAt(std::string_view text, std::size_t offset) {
    for (const Function& function : functions) {
        if (text.substr(offset).starts_with(function.name)) {
            return &function;
        }
    }
    return nullptr;
}

// Within a sequence "<" opens a global modification, closed by ">".
char closingOf(char opening) {
    return opening == '<' ? '>' : text::closingBracket(opening);
}

// The ")" that closes the "(" at `open`; brackets of any kind nest within. A bracket left
// open at a ")" or at the end is named.
std::size_t closingOf(const SequenceText& text, std::size_t open) {
    std::vector<std::size_t> opened{open};
    const std::string_view whole = text.whole();
    for (std::size_t i = open + 1; i < whole.size(); ++i) {
        const char c = whole[i];
        if (c == '(' || c == '[' || c == '{' || c == '<') {
            opened.push_back(i);
        } else if (c == closingOf(whole[opened.back()])) {
            if (opened.size() == 1) {
                return i;
            }
            opened.pop_back();
        } else if (c == ')') {
            break;
        }
    }
    throw text.refusal("the bracket " + text.character(opened.back()) + " at " +
                       text.position(opened.back()) + " is never closed");
}

// The one-letter codes of a sequence written wholly in three-letter codes ("GlyGly": "GG"),
// nothing otherwise: the reader takes letters case-blind, one a residue.
std::optional<std::string> oneLetterReading(std::string_view letters) {
    static constexpr std::array<std::pair<std::string_view, char>, 22> codes{{
        {"Ala", 'A'}, {"Arg", 'R'}, {"Asn", 'N'}, {"Asp", 'D'}, {"Cys", 'C'}, {"Gln", 'Q'},
        {"Glu", 'E'}, {"Gly", 'G'}, {"His", 'H'}, {"Ile", 'I'}, {"Leu", 'L'}, {"Lys", 'K'},
        {"Met", 'M'}, {"Phe", 'F'}, {"Pro", 'P'}, {"Ser", 'S'}, {"Thr", 'T'}, {"Trp", 'W'},
        {"Tyr", 'Y'}, {"Val", 'V'}, {"Sec", 'U'}, {"Pyl", 'O'},
    }};
    if (letters.empty() || letters.size() % 3 != 0) {
        return std::nullopt;
    }
    std::string reading;
    for (std::size_t at = 0; at < letters.size(); at += 3) {
        const std::string_view code = letters.substr(at, 3);
        const auto* found = std::find_if(codes.begin(), codes.end(),
                                         [&](const auto& entry) { return entry.first == code; });
        if (found == codes.end()) {
            return std::nullopt;
        }
        reading.push_back(found->second);
    }
    return reading;
}

// The average mass of a composition by the given masses; nothing where one is unknown.
std::optional<long double> averageMassOf(const SequenceComposition& composition,
                                         const AverageMassLookup& averageMasses) {
    long double mass = 0;
    for (const AtomCount& atoms : composition.atoms) {
        const std::optional<long double> one = averageMasses(atoms.symbol);
        if (!one) {
            return std::nullopt;
        }
        mass += *one * static_cast<long double>(atoms.count);
    }
    return mass;
}

SequenceComposition readAveragine(const SequenceText& text, std::size_t begin, std::size_t end,
                                  char separator, const AverageMassLookup& averageMasses,
                                  std::vector<std::string>& notices) {
    while (begin < end && (text.at(begin) == ' ' || text.at(begin) == '\t')) {
        ++begin;
    }
    while (end > begin && (text.at(end - 1) == ' ' || text.at(end - 1) == '\t')) {
        --end;
    }
    std::string number;
    bool point = false;
    bool valid = begin < end;
    for (std::size_t at = begin; at < end && valid; ++at) {
        const char c = text.at(at);
        if (c >= '0' && c <= '9') {
            number.push_back(c);
        } else if ((c == '.' || c == separator) && !point) {
            point = true;
            number.push_back('.');
        } else if ((c == 'e' || c == 'E') && !number.empty() &&
                   number.find('e') == std::string::npos) {
            // averagine(1e7), as a mass is often written
            number.push_back('e');
            if (at + 1 < end && (text.at(at + 1) == '+' || text.at(at + 1) == '-')) {
                number.push_back(text.at(++at));
            }
        } else {
            valid = false;
        }
    }
    long double mass = 0;
    if (valid) {
        const auto [stop, error] =
            std::from_chars(number.data(), number.data() + number.size(), mass);
        valid = error == std::errc() && stop == number.data() + number.size();
    }
    // beyond a billion u no protein is meant, and the atom counts stay exact
    if (!valid || !(mass > 0) || mass > 1e9L) {
        throw text.refusal("averagine at " + text.position(begin) +
                           " takes an average mass in u above 0 and up to 1e9, as "
                           "averagine(25000)");
    }
    const auto composition = averagineComposition(mass, averageMasses);
    if (!composition) {
        throw text.refusal("averagine at " + text.position(begin) +
                           " needs the weights of C, H, N, O and S in the element table");
    }
    // the hydrogens bring any larger mass within half a hydrogen; a small one may stay far
    if (const std::optional<long double> formed = averageMassOf(*composition, averageMasses);
        formed && std::fabs(*formed - mass) > 0.51L) {
        char message[200];
        std::snprintf(message, sizeof message,
                      "averagine(%s) has no composition of whole atoms near its mass: the "
                      "nearest weighs %.2Lf u, %.2Lf u %s",
                      std::string(text.whole().substr(begin, end - begin)).c_str(), *formed,
                      std::fabs(*formed - mass), *formed > mass ? "more" : "less");
        notices.emplace_back(message);
    }
    return *composition;
}

} // namespace

bool isSequenceAt(std::string_view text, std::size_t offset) {
    return functionAt(text, offset) != nullptr;
}

SequenceReading readSequenceAt(const SequenceText& text, std::size_t offset, char separator,
                               const AverageMassLookup& averageMasses) {
    const Function* function = functionAt(text.whole(), offset);
    const std::size_t open = offset + function->name.size() - 1;
    const std::size_t close = closingOf(text, open);
    SequenceReading reading;
    reading.end = close + 1;
    switch (function->kind) {
    case Kind::Peptide: {
        reading.composition = readPeptide(text, open + 1, close);
        const std::string_view written = text.whole().substr(open + 1, close - open - 1);
        if (const std::optional<std::string> meant = oneLetterReading(written)) {
            std::string read(written);
            std::transform(read.begin(), read.end(), read.begin(),
                           [](char c) { return static_cast<char>(std::toupper(c)); });
            reading.notices.push_back("peptide(" + std::string(written) +
                                      ") is read one letter a residue, as " + read +
                                      "; did you mean peptide(" + *meant + ")?");
        }
        break;
    }
    case Kind::Dna:
        reading.composition = readNucleicAcid(text, open + 1, close, NucleicAcid::Dna);
        break;
    case Kind::Rna:
        reading.composition = readNucleicAcid(text, open + 1, close, NucleicAcid::Rna);
        break;
    case Kind::Averagine:
        reading.composition =
            readAveragine(text, open + 1, close, separator, averageMasses, reading.notices);
        break;
    }
    return reading;
}

} // namespace orvane::sequence
