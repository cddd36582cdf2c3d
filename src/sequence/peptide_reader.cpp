#include "sequence/peptide_reader.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sequence/proforma_formula.h"
#include "sequence/unimod_modifications.h"

namespace orvane::sequence {

namespace {

// A residue in a chain: the amino acid less one water.
struct Residue {
    char code;
    int carbon, hydrogen, nitrogen, oxygen, sulfur, selenium;
};

// J is leucine or isoleucine, one composition for either.
constexpr std::array<Residue, 23> residues{{
    {'G', 2, 3, 1, 1, 0, 0},   {'A', 3, 5, 1, 1, 0, 0},   {'S', 3, 5, 1, 2, 0, 0},
    {'P', 5, 7, 1, 1, 0, 0},   {'V', 5, 9, 1, 1, 0, 0},   {'T', 4, 7, 1, 2, 0, 0},
    {'C', 3, 5, 1, 1, 1, 0},   {'L', 6, 11, 1, 1, 0, 0},  {'I', 6, 11, 1, 1, 0, 0},
    {'N', 4, 6, 2, 2, 0, 0},   {'D', 4, 5, 1, 3, 0, 0},   {'Q', 5, 8, 2, 2, 0, 0},
    {'K', 6, 12, 2, 1, 0, 0},  {'E', 5, 7, 1, 3, 0, 0},   {'M', 5, 9, 1, 1, 1, 0},
    {'H', 6, 7, 3, 1, 0, 0},   {'F', 9, 9, 1, 1, 0, 0},   {'R', 6, 12, 4, 1, 0, 0},
    {'Y', 9, 9, 1, 2, 0, 0},   {'W', 11, 10, 2, 1, 0, 0}, {'U', 3, 5, 1, 1, 0, 1},
    {'O', 12, 19, 3, 2, 0, 0}, {'J', 6, 11, 1, 1, 0, 0},
}};

const Residue* residueOf(char code) {
    if (code >= 'a' && code <= 'z') {
        code = static_cast<char>(code - 'a' + 'A');
    }
    const auto found = std::find_if(residues.begin(), residues.end(),
                                    [code](const Residue& r) { return r.code == code; });
    return found == residues.end() ? nullptr : &*found;
}

void addResidue(SequenceComposition& composition, const Residue& residue) {
    composition.addAtoms("C", residue.carbon);
    composition.addAtoms("H", residue.hydrogen);
    composition.addAtoms("N", residue.nitrogen);
    composition.addAtoms("O", residue.oxygen);
    if (residue.sulfur != 0) {
        composition.addAtoms("S", residue.sulfur);
    }
    if (residue.selenium != 0) {
        composition.addAtoms("Se", residue.selenium);
    }
}

bool isLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return (a >= 'A' && a <= 'Z' ? a - 'A' + 'a' : a) ==
                      (b >= 'A' && b <= 'Z' ? b - 'A' + 'a' : b);
           });
}

// A fixed modification: its atoms on every residue of the sites, or on a terminus.
struct FixedModification {
    SequenceComposition delta;
    std::string residues;
    bool nTerminus = false;
    bool cTerminus = false;
    std::string nTerminalResidues; // "N-term:A": on the N-terminus where it is an A
    std::string cTerminalResidues;
};

// A modification written as a mass ("+15.9949", "-18.0106", "Obs:+15.995"): no atoms. A name
// that begins with a digit ("2HPG", "2-succinyl") is a name.
bool isMassText(std::string_view text) {
    if (text.size() >= 4 && (text[0] == 'O' || text[0] == 'o') && text.substr(1, 3) == "bs:") {
        return true;
    }
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        text.remove_prefix(1);
    }
    double mass = 0;
    const auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), mass);
    return !text.empty() && error == std::errc() && stop == text.data() + text.size();
}

struct GlobalLabel {
    std::string symbol;
    long long massNumber = 0;
    std::size_t offset = 0;
};

class PeptideReader {
public:
    PeptideReader(const SequenceText& text, std::size_t begin, std::size_t end)
        : m_text(text), m_at(begin), m_begin(begin), m_end(end) {}

    SequenceComposition read();

private:
    char peek() const { return m_at < m_end ? m_text.at(m_at) : '\0'; }
    void skipBlanks() {
        while (peek() == ' ' || peek() == '\t') {
            ++m_at;
        }
    }
    std::size_t closingOf(std::size_t open, char opening, char closing) const;
    void readGlobal();
    void readGlobalLabel(std::size_t open, std::size_t close);
    void readFixed(std::size_t open, std::size_t close);
    SequenceComposition readModificationAt(); // at "[", moves past "]"
    SequenceComposition modification(std::size_t open, std::size_t close) const;
    std::optional<SequenceComposition> alternative(std::size_t open, std::size_t begin,
                                                   std::size_t end) const;
    void readCharge();
    [[noreturn]] void refuseHere() const;
    void applyLabels(SequenceComposition& composition) const;

    const SequenceText& m_text;
    std::size_t m_at;
    std::size_t m_begin;
    std::size_t m_end;
    std::vector<FixedModification> m_fixed;
    std::vector<GlobalLabel> m_labels;
    std::optional<int> m_charge;
};

std::size_t PeptideReader::closingOf(std::size_t open, char opening, char closing) const {
    int depth = 0;
    for (std::size_t i = open; i < m_end; ++i) {
        const char c = m_text.at(i);
        if (c == opening) {
            ++depth;
        } else if (c == closing && --depth == 0) {
            return i;
        }
    }
    throw m_text.refusal("the bracket " + m_text.character(open) + " at " + m_text.position(open) +
                         " is never closed");
}

SequenceComposition PeptideReader::read() {
    skipBlanks();
    while (peek() == '<') {
        readGlobal();
        skipBlanks();
    }
    SequenceComposition terminal;
    if (peek() == '[') {
        const std::size_t first = m_at;
        while (peek() == '[') {
            terminal.add(readModificationAt());
            skipBlanks();
        }
        if (peek() != '-') {
            throw m_text.refusal("the modification at " + m_text.position(first) +
                                 " stands before the first residue: write \"-\" after it for "
                                 "the N-terminus");
        }
        ++m_at;
    }
    SequenceComposition chain;
    chain.addAtoms("H", 2); // the free termini, H- and -OH
    chain.addAtoms("O", 1);
    std::string sequence;
    skipBlanks();
    while (isLetter(peek())) {
        const std::size_t at = m_at;
        const Residue* residue = residueOf(peek());
        if (residue == nullptr) {
            throw m_text.refusal("the residue " + m_text.character(at) + " at " +
                                 m_text.position(at) +
                                 " is not one of the 20 amino acids, J, U or O");
        }
        addResidue(chain, *residue);
        sequence.push_back(residue->code);
        ++m_at;
        skipBlanks();
        while (peek() == '[') {
            chain.add(readModificationAt());
            skipBlanks();
        }
    }
    if (sequence.empty()) {
        if (m_at < m_end) {
            refuseHere();
        }
        throw m_text.refusal("the peptide at " + m_text.position(m_begin) + " has no residue");
    }
    if (peek() == '-') {
        const std::size_t dash = m_at;
        ++m_at;
        skipBlanks();
        if (peek() != '[') {
            throw m_text.refusal("the \"-\" at " + m_text.position(dash) +
                                 " is not followed by a C-terminal modification");
        }
        while (peek() == '[') {
            chain.add(readModificationAt());
            skipBlanks();
        }
    }
    if (peek() == '/') {
        readCharge();
    }
    skipBlanks();
    if (m_at < m_end) {
        refuseHere();
    }
    chain.add(terminal);
    for (const FixedModification& fixed : m_fixed) {
        const auto sites = std::count_if(sequence.begin(), sequence.end(), [&](char code) {
            return fixed.residues.find(code) != std::string::npos;
        });
        const bool nTerminal =
            fixed.nTerminus || fixed.nTerminalResidues.find(sequence.front()) != std::string::npos;
        const bool cTerminal =
            fixed.cTerminus || fixed.cTerminalResidues.find(sequence.back()) != std::string::npos;
        chain.add(fixed.delta, sites + (nTerminal ? 1 : 0) + (cTerminal ? 1 : 0));
    }
    // A modification that swaps atoms for a heavier isotope writes the light ones it takes
    // as a negative label, "[Formula:[13C6][12C-6]]": they come out of the element's natural
    // atoms, which is what the peptide holds before the swap.
    const std::vector<IsotopeCount> labels = chain.labels;
    std::erase_if(chain.labels, [&](const IsotopeCount& label) {
        const bool swapped =
            label.count < 0 && std::any_of(labels.begin(), labels.end(), [&](const auto& heavy) {
                return heavy.symbol == label.symbol && heavy.massNumber > label.massNumber &&
                       heavy.count > 0;
            });
        if (swapped) {
            chain.addAtoms(label.symbol, label.count);
        }
        return swapped;
    });
    applyLabels(chain);
    for (const AtomCount& atoms : chain.atoms) {
        if (atoms.count < 0) {
            throw m_text.refusal("the peptide at " + m_text.position(m_begin) + " would have " +
                                 std::to_string(atoms.count) + " atoms of " + atoms.symbol);
        }
    }
    for (const IsotopeCount& label : chain.labels) {
        if (label.count < 0) {
            throw m_text.refusal("the peptide at " + m_text.position(m_begin) + " would have " +
                                 std::to_string(label.count) + " atoms of " +
                                 std::to_string(label.massNumber) + label.symbol);
        }
    }
    chain.charge = m_charge;
    return chain;
}

void PeptideReader::readGlobal() {
    const std::size_t open = m_at;
    std::size_t close = 0;
    if (open + 1 < m_end && m_text.at(open + 1) == '[') {
        // the ">" after the modification's bracket: its name may hold one ("Gln->pyro-Glu")
        close = closingOf(open + 1, '[', ']');
        while (close < m_end && m_text.at(close) != '>') {
            ++close;
        }
        if (close == m_end) {
            throw m_text.refusal("the bracket " + m_text.character(open) + " at " +
                                 m_text.position(open) + " is never closed");
        }
        readFixed(open, close);
    } else {
        close = closingOf(open, '<', '>');
        readGlobalLabel(open, close);
    }
    m_at = close + 1;
}

void PeptideReader::readGlobalLabel(std::size_t open, std::size_t close) {
    const std::string_view inside = m_text.whole().substr(open + 1, close - open - 1);
    GlobalLabel label;
    label.offset = open;
    std::size_t digits = 0;
    while (digits < inside.size() && isDigit(inside[digits])) {
        ++digits;
    }
    const std::string_view symbol = inside.substr(digits);
    const bool symbolShape = !symbol.empty() && symbol.size() <= 2 && symbol[0] >= 'A' &&
                             symbol[0] <= 'Z' &&
                             (symbol.size() == 1 || (symbol[1] >= 'a' && symbol[1] <= 'z'));
    if (inside == "D" || inside == "T") {
        label.symbol = "H";
        label.massNumber = inside == "D" ? 2 : 3;
    } else if (digits > 0 && digits <= 3 && symbolShape) {
        label.symbol = std::string(symbol);
        std::from_chars(inside.data(), inside.data() + digits, label.massNumber);
    } else {
        throw m_text.refusal("the global modification " + m_text.quoted(open, close + 1) + " at " +
                             m_text.position(open) +
                             " is neither an isotope (<15N>, <13C>, <D>) nor a fixed "
                             "modification (<[Carbamidomethyl]@C>)");
    }
    for (const GlobalLabel& earlier : m_labels) {
        if (earlier.symbol == label.symbol) {
            throw m_text.refusal("the isotope " + m_text.quoted(open, close + 1) + " at " +
                                 m_text.position(open) + " labels " + label.symbol +
                                 " a second time");
        }
    }
    m_labels.push_back(std::move(label));
}

void PeptideReader::readFixed(std::size_t open, std::size_t close) {
    m_at = open + 1;
    FixedModification fixed;
    fixed.delta = readModificationAt();
    if (m_at >= close || m_text.at(m_at) != '@') {
        throw m_text.refusal("the fixed modification at " + m_text.position(open) +
                             " names no residue: write \"@\" and the residues, as "
                             "<[Carbamidomethyl]@C>");
    }
    ++m_at;
    // the sites: residues and termini separated by commas
    for (;;) {
        const std::size_t start = m_at;
        std::size_t stop = start;
        while (stop < close && m_text.at(stop) != ',') {
            ++stop;
        }
        const std::string_view site = m_text.whole().substr(start, stop - start);
        const bool terminalResidue =
            site.size() == 8 && site[6] == ':' && residueOf(site[7]) != nullptr;
        if (site == "N-term") {
            fixed.nTerminus = true;
        } else if (site == "C-term") {
            fixed.cTerminus = true;
        } else if (terminalResidue && site.substr(0, 6) == "N-term") {
            fixed.nTerminalResidues.push_back(residueOf(site[7])->code);
        } else if (terminalResidue && site.substr(0, 6) == "C-term") {
            fixed.cTerminalResidues.push_back(residueOf(site[7])->code);
        } else if (site.size() == 1 && residueOf(site[0]) != nullptr) {
            fixed.residues.push_back(residueOf(site[0])->code);
        } else {
            throw m_text.refusal("the site " + m_text.quoted(start, stop) + " at " +
                                 m_text.position(start) +
                                 " is no residue letter, N-term, C-term, N-term:A or C-term:A");
        }
        if (stop == close) {
            break;
        }
        m_at = stop + 1;
    }
    m_fixed.push_back(std::move(fixed));
}

SequenceComposition PeptideReader::readModificationAt() {
    const std::size_t open = m_at;
    const std::size_t close = closingOf(open, '[', ']');
    m_at = close + 1;
    if (peek() == '?' || peek() == '^') {
        throw m_text.refusal("the modification at " + m_text.position(open) +
                             " has no place in the sequence: give it to a residue");
    }
    return modification(open, close);
}

SequenceComposition PeptideReader::modification(std::size_t open, std::size_t close) const {
    std::size_t begin = open + 1;
    int depth = 0;
    std::optional<std::pair<std::size_t, std::size_t>> mass; // the first written as a mass
    for (std::size_t i = begin; i <= close; ++i) {
        const char c = m_text.at(i);
        if (c == '[') {
            ++depth;
        } else if (c == ']' && i != close) {
            --depth;
        }
        if ((c == '|' && depth == 0) || i == close) {
            std::size_t first = begin;
            std::size_t last = i;
            while (first < last && (m_text.at(first) == ' ' || m_text.at(first) == '\t')) {
                ++first;
            }
            while (last > first && (m_text.at(last - 1) == ' ' || m_text.at(last - 1) == '\t')) {
                --last;
            }
            if (isMassText(m_text.whole().substr(first, last - first))) {
                // a mass beside a name ("+15.9949|Oxidation"): the name gives the atoms
                mass = mass.value_or(std::pair{first, last});
            } else if (auto delta = alternative(open, begin, i)) {
                return std::move(*delta); // the other names are synonyms
            }
            begin = i + 1;
        }
    }
    if (mass) {
        throw m_text.refusal("the modification " + m_text.quoted(mass->first, mass->second) +
                             " at " + m_text.position(open) +
                             " gives a mass, no atoms: name it (\"Oxidation\", "
                             "\"UNIMOD:35\") or write its formula (\"Formula:O\")");
    }
    // INFO tags alone: a note on the residue, which stays as it is
    return {};
}

std::optional<SequenceComposition> PeptideReader::alternative(std::size_t open, std::size_t begin,
                                                              std::size_t end) const {
    while (begin < end && (m_text.at(begin) == ' ' || m_text.at(begin) == '\t')) {
        ++begin;
    }
    while (end > begin && (m_text.at(end - 1) == ' ' || m_text.at(end - 1) == '\t')) {
        --end;
    }
    const std::string_view inside = m_text.whole().substr(begin, end - begin);
    // written only for a refusal: counting the characters up to `open` for every one of
    // thousands of modifications made reading them quadratic
    const auto where = [&] { return " at " + m_text.position(open); };
    const auto shown = [&] { return m_text.quoted(begin, end); };
    if (inside.empty()) {
        throw m_text.refusal("the modification" + where() + " is empty");
    }
    if (inside.find("#XL") != std::string_view::npos || startsWithNoCase(inside, "XL:") ||
        startsWithNoCase(inside, "XLMOD:")) {
        throw m_text.refusal("the cross-link " + shown() + where() +
                             " is not read: only linear peptides are");
    }
    if (inside.find('#') != std::string_view::npos) {
        throw m_text.refusal("the group label in " + shown() + where() +
                             " is not read: give each modification to its residue");
    }
    if (startsWithNoCase(inside, "INFO:")) {
        return std::nullopt;
    }
    if (startsWithNoCase(inside, "Formula:")) {
        return readProformaFormula(m_text, begin + 8, end);
    }
    if (startsWithNoCase(inside, "Glycan:") || startsWithNoCase(inside, "G:") ||
        startsWithNoCase(inside, "GNO:")) {
        throw m_text.refusal("the glycan " + shown() + where() +
                             " is not read: name its Unimod modification or write its formula");
    }
    if (startsWithNoCase(inside, "M:") || startsWithNoCase(inside, "MOD:") ||
        startsWithNoCase(inside, "R:") || startsWithNoCase(inside, "RESID:")) {
        throw m_text.refusal("the modification " + shown() + where() +
                             " is not from Unimod: name its Unimod modification or write its "
                             "formula");
    }
    std::optional<UnimodModification> found;
    if (startsWithNoCase(inside, "UNIMOD:")) {
        const std::string_view digits = inside.substr(7);
        long long accession = 0;
        const auto [stop, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), accession);
        if (error != std::errc() || stop != digits.data() + digits.size()) {
            throw m_text.refusal("the accession " + shown() + where() + " is no Unimod number");
        }
        found = unimodByAccession(accession);
        if (!found) {
            throw m_text.refusal("the accession " + shown() + where() + " is not in Unimod");
        }
    } else {
        const std::string_view name = startsWithNoCase(inside, "U:") ? inside.substr(2) : inside;
        found = unimodByName(name);
        if (!found) {
            throw m_text.refusal("the modification " + shown() + where() + " is no Unimod name");
        }
    }
    if (!found->delta) {
        throw m_text.refusal("the modification " + shown() + where() +
                             " has no composition in Unimod");
    }
    return std::move(*found->delta);
}

void PeptideReader::readCharge() {
    const std::size_t slash = m_at;
    ++m_at;
    // "/2", "/+2" and "/-1": a negative charge is the deprotonated ion [M-zH]z-
    const bool negative = peek() == '-';
    if (peek() == '+' || peek() == '-') {
        ++m_at;
    }
    const std::size_t digits = m_at;
    while (isDigit(peek())) {
        ++m_at;
    }
    int charge = 0;
    const std::string_view whole = m_text.whole();
    const auto [stop, error] = std::from_chars(whole.data() + digits, whole.data() + m_at, charge);
    if (m_at == digits || error != std::errc() || charge < 1 || charge > 100) {
        throw m_text.refusal("the charge at " + m_text.position(slash) +
                             " must be a whole number from 1 to 100, as /2 or /-1");
    }
    if (peek() == '[') {
        throw m_text.refusal("the ion at " + m_text.position(m_at) +
                             " is not read: a charge /z is the ion [M+zH]z+");
    }
    m_charge = negative ? -charge : charge;
}

void PeptideReader::refuseHere() const {
    const char c = peek();
    if (c == '#') {
        throw m_text.refusal("the cross-link at " + m_text.position(m_at) +
                             " is not read: only linear peptides are");
    }
    throw m_text.refusal("the character " + m_text.character(m_at) + " at " +
                         m_text.position(m_at) + " has no place in a peptide");
}

void PeptideReader::applyLabels(SequenceComposition& composition) const {
    for (const GlobalLabel& label : m_labels) {
        const long long atoms = composition.atomsOf(label.symbol);
        if (atoms == 0) {
            continue;
        }
        composition.addAtoms(label.symbol, -atoms);
        composition.addLabel(label.symbol, label.massNumber, atoms);
    }
    std::erase_if(composition.atoms, [](const AtomCount& atoms) { return atoms.count == 0; });
}

} // namespace

SequenceComposition readPeptide(const SequenceText& text, std::size_t begin, std::size_t end) {
    return PeptideReader(text, begin, end).read();
}

} // namespace orvane::sequence
