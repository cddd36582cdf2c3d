#include "sequence/sequence_reader.h"

#include <array>
#include <charconv>
#include <cmath>
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

SequenceComposition readAveragine(const SequenceText& text, std::size_t begin, std::size_t end,
                                  char separator, const AverageMassLookup& averageMasses) {
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
    case Kind::Peptide:
        reading.composition = readPeptide(text, open + 1, close);
        break;
    case Kind::Dna:
        reading.composition = readNucleicAcid(text, open + 1, close, NucleicAcid::Dna);
        break;
    case Kind::Rna:
        reading.composition = readNucleicAcid(text, open + 1, close, NucleicAcid::Rna);
        break;
    case Kind::Averagine:
        reading.composition = readAveragine(text, open + 1, close, separator, averageMasses);
        break;
    }
    return reading;
}

} // namespace orvane::sequence
