#include "formula/formula_reader.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdio>
#include <optional>

#include "sequence/sequence_reader.h"
#include "text/brackets.h"
#include "text/number_text.h"

namespace orvane::formula {

namespace {

constexpr std::size_t none = std::string_view::npos;

bool isClosing(char c) {
    return c == ')' || c == ']' || c == '}';
}

bool isAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Counts by column, and by label, in the order the formula names them; each sum runs in
// that order.
class Tally {
public:
    void add(int column, text::Extended count) {
        for (ElementCount& entry : m_entries) {
            if (entry.column == column) {
                entry.count += count;
                return;
            }
        }
        m_entries.push_back({column, count, {}});
    }
    void addLabel(const LabelCount& label) {
        for (LabelCount& entry : m_labels) {
            if (entry.column == label.column && entry.massNumber == label.massNumber &&
                entry.purity == label.purity) {
                entry.count += label.count;
                return;
            }
        }
        m_labels.push_back(label);
    }
    void addScaled(const Tally& other, text::Extended factor) {
        for (const ElementCount& entry : other.m_entries) {
            add(entry.column, entry.count * factor);
        }
        for (LabelCount label : other.m_labels) {
            label.count *= factor;
            addLabel(label);
        }
    }
    void clear() {
        m_entries.clear();
        m_labels.clear();
    }
    std::vector<ElementCount>& entries() { return m_entries; }
    std::vector<LabelCount>& labels() { return m_labels; }

private:
    std::vector<ElementCount> m_entries; // count texts are written at the end
    std::vector<LabelCount> m_labels;
};

// What is open while a formula is read: the whole reading, then each bracket inside it.
// Each holds a formula of its own, so parts and multipliers work at every depth.
struct Frame {
    char closing = 0; // the bracket that closes it; 0 for the whole reading
    std::size_t openOffset = 0;
    Tally total; // the finished parts
    Tally part;  // the part being read, until its multiplier applies
    text::Extended multiplier = 1;
    std::optional<WrittenNumber> multiplierNumber;
    std::size_t separatorOffset = none; // the separator that began the part
    bool partHasItems = false;
};

enum class PartEnd { Separator, Bracket, Text };

// The brackets are kept on a stack of their own rather than the call stack, so that no
// nesting depth can exhaust it.
class Reader {
public:
    Reader(FormulaCursor& cursor, const std::vector<std::string>& symbols,
           const FormulaGrammar& grammar, const MassNumbers& massNumbers,
           const MassNumbers& labelNumbers, const ElementWeights& weights, const SymbolIndex* index)
        : m_cursor(cursor), m_symbols(symbols), m_grammar(grammar), m_massNumbers(massNumbers),
          m_labelNumbers(labelNumbers.empty() ? massNumbers : labelNumbers), m_weights(weights),
          m_index(index != nullptr && index->covers(symbols) ? index : nullptr) {}

    FormulaCounts read();

private:
    void openBracket(char opening, std::size_t at);
    void closeBracket(char closing, std::size_t at);
    void separatePart(std::size_t at, std::size_t length);
    bool readElement();
    void readSequence(std::size_t at);
    int columnOf(std::string_view symbol) const;
    // The symbol at `at`: its column (0 for none) and length.
    std::pair<int, std::size_t> symbolAt(std::size_t at) const;
    bool isMassNumber(int column, const WrittenNumber& number) const;
    bool readLabel(std::size_t open);
    void readHydrogenLabel(long long massNumber, std::size_t at);
    // Adds the label written from `at` to `end`, its count inside the bracket `count`,
    // after reading its count and purity.
    void addLabel(int column, long long massNumber, std::size_t at, std::size_t end,
                  text::Extended count);
    double readPurity();
    void refuseLabel(std::size_t open) const;
    void refuseMassNumber(const WrittenNumber& number) const;
    std::size_t partEnd(std::size_t from) const;
    void beginPart(std::size_t separatorOffset);
    void endPart(PartEnd end, std::size_t at);
    text::Extended readCount();
    WrittenNumber readCheckedNumber();
    [[noreturn]] void refuseAt(std::size_t at) const;
    [[noreturn]] void refuseHere(std::string_view what, std::size_t at,
                                 std::string_view hint = {}) const;
    FormulaCounts finished(Tally& tally) const;
    std::string character(std::size_t at) const {
        return FormulaCursor::quoted(m_cursor.characterAt(at));
    }
    std::string position(std::size_t at) const { return m_cursor.positionText(at); }

    FormulaCursor& m_cursor;
    const std::vector<std::string>& m_symbols;
    const FormulaGrammar& m_grammar;
    const MassNumbers& m_massNumbers;
    const MassNumbers& m_labelNumbers;
    const ElementWeights& m_weights;
    const SymbolIndex* m_index; // null: every symbol is looked at
    std::vector<Frame> m_frames;
    std::optional<int> m_charge;
    std::vector<std::string> m_notices;
};

FormulaCounts Reader::read() {
    m_frames.emplace_back();
    beginPart(none);
    for (;;) {
        m_cursor.skipBlanks();
        if (m_cursor.atEnd() || m_grammar.stops.find(m_cursor.peek()) != none) {
            break;
        }
        const std::size_t at = m_cursor.offset();
        const char c = m_cursor.peek();
        if (text::closingBracket(c) != 0) {
            openBracket(c, at);
        } else if (isClosing(c)) {
            closeBracket(c, at);
        } else if (const std::size_t length = m_cursor.partSeparatorLength()) {
            separatePart(at, length);
        } else if (m_grammar.allBrackets && sequence::isSequenceAt(m_cursor.text(), at)) {
            readSequence(at);
        } else if (!readElement()) {
            refuseAt(at);
        }
    }
    if (m_frames.size() > 1) {
        throw m_cursor.refusal("the bracket " + character(m_frames.back().openOffset) + " at " +
                               position(m_frames.back().openOffset) + " is never closed");
    }
    endPart(PartEnd::Text, m_cursor.offset());
    FormulaCounts counts = finished(m_frames.back().total);
    counts.charge = m_charge;
    counts.notices = std::move(m_notices);
    return counts;
}

void Reader::openBracket(char opening, std::size_t at) {
    if (!m_grammar.allBrackets && opening != '(') {
        refuseHere("the bracket", at, ", only round brackets can");
    }
    if (m_grammar.labels && opening == '[' && readLabel(at)) {
        return;
    }
    refuseLabel(at);
    m_cursor.advance();
    Frame frame;
    frame.closing = text::closingBracket(opening);
    frame.openOffset = at;
    m_frames.push_back(std::move(frame));
    beginPart(none);
}

void Reader::closeBracket(char closing, std::size_t at) {
    if (!m_grammar.allBrackets && closing != ')') {
        refuseHere("the bracket", at, ", only round brackets can");
    }
    if (m_frames.size() == 1) {
        throw m_cursor.refusal("the bracket " + character(at) + " at " + position(at) +
                               " closes nothing");
    }
    if (closing != m_frames.back().closing) {
        const std::size_t open = m_frames.back().openOffset;
        throw m_cursor.refusal("the bracket " + character(at) + " at " + position(at) +
                               " does not close " + character(open) + " at " + position(open));
    }
    m_cursor.advance();
    endPart(PartEnd::Bracket, at);
    Tally group = std::move(m_frames.back().total);
    m_frames.pop_back();
    const text::Extended count = readCount();
    m_frames.back().part.addScaled(group, count);
    m_frames.back().partHasItems = true;
}

void Reader::separatePart(std::size_t at, std::size_t length) {
    if (!m_grammar.parts) {
        refuseHere("the separator", at);
    }
    endPart(PartEnd::Separator, at);
    m_cursor.advance(length);
    beginPart(at);
}

std::pair<int, std::size_t> Reader::symbolAt(std::size_t at) const {
    // the longest symbol wins; among equal ones the lowest column
    const std::string_view rest = m_cursor.text().substr(at);
    std::size_t best = 0;
    int column = 0;
    if (rest.empty()) {
        return {0, 0};
    }
    if (m_index != nullptr) {
        for (const int c : m_index->startingWith(rest[0])) {
            const std::string& symbol = m_symbols[static_cast<std::size_t>(c)];
            if (symbol.size() > best && rest.starts_with(symbol)) {
                best = symbol.size();
                column = c;
            }
        }
        return {column, best};
    }
    for (std::size_t c = 1; c < m_symbols.size(); ++c) {
        const std::string& symbol = m_symbols[c];
        // the first character turns nearly every symbol away without a comparison call
        if (symbol.size() > best && symbol[0] == rest[0] && rest.starts_with(symbol)) {
            best = symbol.size();
            column = static_cast<int>(c);
        }
    }
    return {column, best};
}

bool Reader::isMassNumber(int column, const WrittenNumber& number) const {
    const auto c = static_cast<std::size_t>(column);
    if (column <= 0 || c >= m_massNumbers.size() || !number.whole) {
        return false;
    }
    for (const long long massNumber : m_massNumbers[c]) {
        if (static_cast<text::Extended>(massNumber) == number.value) {
            return true;
        }
    }
    return false;
}

void Reader::refuseLabel(std::size_t open) const {
    // "[13C]": a bracket holding a whole number and one symbol is an isotope label
    const std::string_view text = m_cursor.text();
    std::size_t at = open + 1;
    while (at < text.size() && FormulaCursor::isDigit(text[at])) {
        ++at;
    }
    if (at == open + 1) {
        return;
    }
    const auto [column, length] = symbolAt(at);
    if (column == 0 || at + length >= text.size() ||
        text[at + length] != text::closingBracket(text[open])) {
        return;
    }
    throw m_cursor.refusal(
        "the label " + FormulaCursor::quoted(text.substr(open, at + length + 1 - open)) + " at " +
        position(open) +
        (m_grammar.labels ? std::string(": write isotope labels in square brackets, as [13C]")
                          : " cannot stand " + std::string(m_grammar.where)));
}

bool Reader::readLabel(std::size_t open) {
    // "[13C]", "[13C6]": a mass number, one symbol, maybe a count, and the closing bracket
    const std::string_view text = m_cursor.text();
    std::size_t at = open + 1;
    while (at < text.size() && FormulaCursor::isDigit(text[at])) {
        ++at;
    }
    if (at == open + 1) {
        return false;
    }
    const std::string_view digits = text.substr(open + 1, at - open - 1);
    const auto [column, length] = symbolAt(at);
    if (column == 0) {
        std::size_t end = at;
        while (end < text.size() && isAsciiLetter(text[end])) {
            ++end;
        }
        if (end > at && end < text.size() && text[end] == ']') {
            throw m_cursor.refusal("unknown element symbol " +
                                   FormulaCursor::quoted(text.substr(at, end - at)) + " at " +
                                   position(at));
        }
        return false;
    }
    std::size_t close = at + length;
    while (close < text.size() && (FormulaCursor::isDigit(text[close]) || text[close] == '.' ||
                                   text[close] == m_cursor.separator())) {
        ++close;
    }
    if (close >= text.size() || text[close] != ']') {
        return false; // "[13C6H12]" is a group, read as such
    }
    long long massNumber = 0;
    for (const char digit : digits.substr(0, 6)) {
        massNumber = massNumber * 10 + (digit - '0');
    }
    if (digits.size() > 6) {
        massNumber = -1; // no isotope has one
    }
    m_cursor.advance(at + length - m_cursor.offset());
    text::Extended count = 1;
    if (m_cursor.atDigit()) {
        count = readCheckedNumber().value;
    }
    if (m_cursor.peek() != ']') {
        // a second point or a separator in the count: the bracket holds no label
        throw m_cursor.refusal("the label at " + position(open) + " is not closed by \"]\"");
    }
    m_cursor.advance();
    addLabel(column, massNumber, open, m_cursor.offset(), count);
    return true;
}

void Reader::readHydrogenLabel(long long massNumber, std::size_t at) {
    // D and T stand for [2H] and [3H]
    int hydrogen = 0;
    for (std::size_t c = 1; c < m_symbols.size() && hydrogen == 0; ++c) {
        if (m_symbols[c] == "H") {
            hydrogen = static_cast<int>(c);
        }
    }
    if (hydrogen == 0) {
        throw m_cursor.refusal(character(at) + " at " + position(at) +
                               " stands for an isotope of H, which the element table lacks");
    }
    m_cursor.advance();
    addLabel(hydrogen, massNumber, at, m_cursor.offset(), 1);
}

void Reader::addLabel(int column, long long massNumber, std::size_t at, std::size_t end,
                      text::Extended count) {
    const auto c = static_cast<std::size_t>(column);
    if (c < m_labelNumbers.size() && !m_labelNumbers[c].empty()) {
        const std::vector<long long>& known = m_labelNumbers[c];
        if (std::find(known.begin(), known.end(), massNumber) == known.end()) {
            throw m_cursor.refusal(
                "the label " + FormulaCursor::quoted(m_cursor.text().substr(at, end - at)) +
                " at " + position(at) + " names no known isotope of " + m_symbols[c] +
                " (mass numbers " + std::to_string(known.front()) + " to " +
                std::to_string(known.back()) + ")");
        }
    }
    LabelCount label;
    label.column = column;
    label.massNumber = massNumber;
    // the purity stands after the count or before it: "[13C]6{99%}", "[13C]{99%}6"
    m_cursor.skipBlanks();
    if (m_cursor.peek() == '{') {
        label.purity = readPurity();
        label.count = count * readCount();
    } else {
        label.count = count * readCount();
        label.purity = readPurity();
    }
    m_frames.back().part.addLabel(label);
    m_frames.back().partHasItems = true;
}

double Reader::readPurity() {
    // "{99%}" right after a label: the share of its positions that hold the isotope
    m_cursor.skipBlanks();
    if (m_cursor.peek() != '{') {
        return 1;
    }
    const std::size_t open = m_cursor.offset();
    m_cursor.advance();
    m_cursor.skipBlanks();
    std::optional<WrittenNumber> percent;
    if (m_cursor.atDigit()) {
        percent = m_cursor.readNumber();
        m_cursor.skipBlanks();
    }
    bool written = percent && m_cursor.peek() == '%';
    if (written) {
        m_cursor.advance();
        m_cursor.skipBlanks();
        written = m_cursor.peek() == '}';
    }
    if (!written) {
        throw m_cursor.refusal("the purity at " + position(open) +
                               " is to be a percentage in braces, such as {99%}");
    }
    m_cursor.advance();
    if (!(percent->value > 0 && percent->value <= 100)) {
        throw m_cursor.refusal("the purity " + FormulaCursor::quoted(percent->text) + "% at " +
                               position(open) + " is to be above 0 and at most 100");
    }
    return static_cast<double>(percent->value / 100);
}

std::size_t Reader::partEnd(std::size_t from) const {
    // where the part that starts at `from` ends: a separator or a closing bracket outside
    // the brackets it opens, or the end
    FormulaCursor probe = m_cursor;
    probe.advance(from - probe.offset());
    int depth = 0;
    while (!probe.atEnd()) {
        const char c = probe.peek();
        if (text::closingBracket(c) != 0) {
            ++depth;
        } else if (isClosing(c)) {
            if (depth == 0) {
                break;
            }
            --depth;
        } else if (depth == 0 && probe.partSeparatorLength() != 0) {
            break;
        }
        probe.advance();
    }
    std::size_t end = probe.offset();
    while (end > from && (m_cursor.text()[end - 1] == ' ' || m_cursor.text()[end - 1] == '\t')) {
        --end;
    }
    return end;
}

void Reader::refuseMassNumber(const WrittenNumber& number) const {
    const std::string_view text = m_cursor.text();
    const std::size_t symbolStart = number.offset + number.text.size();
    const auto [column, length] = symbolAt(symbolStart);
    const std::size_t end = partEnd(symbolStart);
    const std::string before(text.substr(0, number.offset));
    const std::string isotope = before + "[" + std::string(number.text) +
                                std::string(text.substr(symbolStart, length)) + "]" +
                                std::string(text.substr(symbolStart + length));
    const std::string multiple = before + std::string(number.text) + "(" +
                                 std::string(text.substr(symbolStart, end - symbolStart)) + ")" +
                                 std::string(text.substr(end));
    throw m_cursor.refusal(
        "the number " + FormulaCursor::quoted(number.text) + " at " + position(number.offset) +
        " is also a mass number of " + m_symbols[static_cast<std::size_t>(column)] + ": write " +
        FormulaCursor::quoted(isotope) + " for the isotope or " + FormulaCursor::quoted(multiple) +
        " for " + std::string(number.text) + " times the rest");
}

bool Reader::readElement() {
    const auto [column, best] = symbolAt(m_cursor.offset());
    if (column == 0) {
        const char c = m_cursor.peek();
        if (m_grammar.labels && (c == 'D' || c == 'T')) {
            readHydrogenLabel(c == 'D' ? 2 : 3, m_cursor.offset());
            return true;
        }
        return false;
    }
    m_cursor.advance(best);
    const text::Extended count = readCount();
    m_frames.back().part.add(column, count);
    m_frames.back().partHasItems = true;
    return true;
}

int Reader::columnOf(std::string_view symbol) const {
    for (std::size_t c = 1; c < m_symbols.size(); ++c) {
        if (m_symbols[c] == symbol) {
            return static_cast<int>(c);
        }
    }
    return 0;
}

void Reader::readSequence(std::size_t at) {
    const sequence::SequenceText text(m_cursor.text(), m_cursor.label());
    const sequence::AverageMassLookup weightOf =
        [this](std::string_view symbol) -> std::optional<long double> {
        const auto column = static_cast<std::size_t>(columnOf(symbol));
        return column > 0 && column < m_weights.size() ? m_weights[column] : std::nullopt;
    };
    const sequence::SequenceReading reading =
        sequence::readSequenceAt(text, at, m_cursor.separator(), weightOf);
    const sequence::SequenceComposition& composition = reading.composition;
    m_notices.insert(m_notices.end(), reading.notices.begin(), reading.notices.end());
    if (composition.charge) {
        if (m_charge && *m_charge != *composition.charge) {
            throw m_cursor.refusal("the charge /" + std::to_string(*composition.charge) +
                                   " of the sequence at " + position(at) +
                                   " differs from the charge /" + std::to_string(*m_charge) +
                                   " before it");
        }
        m_charge = composition.charge;
    }
    Tally atoms;
    for (const sequence::AtomCount& entry : composition.atoms) {
        const int column = columnOf(entry.symbol);
        if (column == 0) {
            throw m_cursor.refusal("the sequence at " + position(at) + " holds " + entry.symbol +
                                   ", which the element table does not have");
        }
        atoms.add(column, static_cast<text::Extended>(entry.count));
    }
    // global labels (<15N>) and labelled modifications ([Formula:[13C2]H-2]) are pure
    for (const sequence::IsotopeCount& entry : composition.labels) {
        const int column = columnOf(entry.symbol);
        const auto c = static_cast<std::size_t>(column);
        const std::string label = "[" + std::to_string(entry.massNumber) + entry.symbol + "]";
        if (column == 0) {
            throw m_cursor.refusal("the sequence at " + position(at) + " holds " + label +
                                   ", whose element the element table does not have");
        }
        if (c < m_labelNumbers.size() && !m_labelNumbers[c].empty() &&
            std::find(m_labelNumbers[c].begin(), m_labelNumbers[c].end(), entry.massNumber) ==
                m_labelNumbers[c].end()) {
            throw m_cursor.refusal("the sequence at " + position(at) + " holds " + label +
                                   ", no known isotope of " + entry.symbol);
        }
        LabelCount count;
        count.column = column;
        count.massNumber = entry.massNumber;
        count.count = static_cast<text::Extended>(entry.count);
        atoms.addLabel(count);
    }
    m_cursor.advance(reading.end - at);
    const text::Extended count = readCount();
    m_frames.back().part.addScaled(atoms, count);
    m_frames.back().partHasItems = true;
}

void Reader::beginPart(std::size_t separatorOffset) {
    Frame& frame = m_frames.back();
    frame.separatorOffset = separatorOffset;
    frame.partHasItems = false;
    frame.multiplier = 1;
    frame.multiplierNumber.reset();
    if (m_grammar.parts) {
        m_cursor.skipBlanks();
        if (m_cursor.atDigit()) {
            frame.multiplierNumber = readCheckedNumber();
            frame.multiplier = frame.multiplierNumber->value;
            // after a separator a number is always a multiplier ("CuSO4·5H2O")
            if (separatorOffset == none &&
                isMassNumber(symbolAt(m_cursor.offset()).first, *frame.multiplierNumber)) {
                refuseMassNumber(*frame.multiplierNumber);
            }
        }
    }
}

void Reader::endPart(PartEnd end, std::size_t at) {
    Frame& frame = m_frames.back();
    if (!frame.partHasItems) {
        const std::size_t separator = frame.separatorOffset;
        if (frame.multiplierNumber) {
            // "[13]C6", "C[13]6", "(13)C6": a mass number that missed its symbol
            const std::string label =
                end == PartEnd::Bracket && separator == none
                    ? "; an isotope label holds its element's symbol inside the brackets, as "
                      "[13C]6"
                    : "";
            throw m_cursor.refusal(
                "the multiplier " + FormulaCursor::quoted(frame.multiplierNumber->text) + " at " +
                position(frame.multiplierNumber->offset) + " is not followed by a formula" + label);
        }
        if (separator != none && end == PartEnd::Separator) {
            throw m_cursor.refusal("nothing stands between the separator at " +
                                   position(separator) + " and the one at " + position(at));
        }
        if (separator != none) {
            throw m_cursor.refusal("the separator " + character(separator) + " at " +
                                   position(separator) + " is not followed by a formula");
        }
        if (end == PartEnd::Separator) {
            throw m_cursor.refusal("the separator " + character(at) + " at " + position(at) +
                                   " is not preceded by a formula");
        }
        if (end == PartEnd::Bracket) {
            throw m_cursor.refusal("the bracket " + character(frame.openOffset) + " at " +
                                   position(frame.openOffset) + " holds no formula");
        }
        throw m_cursor.refusal("an element symbol or a bracket is expected at " + position(at));
    }
    frame.total.addScaled(frame.part, frame.multiplier);
    frame.part.clear();
}

text::Extended Reader::readCount() {
    m_cursor.skipBlanks();
    return m_cursor.atDigit() ? readCheckedNumber().value : 1;
}

WrittenNumber Reader::readCheckedNumber() {
    const WrittenNumber number = m_cursor.readNumber();
    if (m_grammar.wholeCounts && !number.whole) {
        assert(!m_grammar.where.empty());
        throw m_cursor.refusal("the number " + FormulaCursor::quoted(number.text) + " at " +
                               position(number.offset) + " must be whole " +
                               std::string(m_grammar.where));
    }
    return number;
}

void Reader::refuseHere(std::string_view what, std::size_t at, std::string_view hint) const {
    assert(!m_grammar.where.empty());
    throw m_cursor.refusal(std::string(what) + " " + character(at) + " at " + position(at) +
                           " cannot stand " + std::string(m_grammar.where) + std::string(hint));
}

void Reader::refuseAt(std::size_t at) const {
    const std::string_view text = m_cursor.text();
    const char c = text[at];
    if (FormulaCursor::isDigit(c)) {
        FormulaCursor probe = m_cursor;
        const WrittenNumber number = probe.readNumber();
        throw m_cursor.refusal("the number " + FormulaCursor::quoted(number.text) + " at " +
                               position(at) +
                               " stands where an element symbol or a bracket is expected");
    }
    if (c == '+' || c == '-') {
        throw m_cursor.refusal("the sign " + character(at) + " at " + position(at) +
                               " has no place in a formula");
    }
    if (c == '.' || c == m_cursor.separator()) {
        throw m_cursor.refusal("the decimal point " + character(at) + " at " + position(at) +
                               " stands outside a number");
    }
    if (isAsciiLetter(c)) {
        std::size_t end = at + 1;
        while (end < text.size() && text[end] >= 'a' && text[end] <= 'z') {
            ++end;
        }
        throw m_cursor.refusal("unknown element symbol " +
                               FormulaCursor::quoted(text.substr(at, end - at)) + " at " +
                               position(at));
    }
    const auto code = static_cast<unsigned char>(c);
    if (code < 0x20 || code == 0x7F) {
        char name[8];
        std::snprintf(name, sizeof name, "U+%04X", code);
        throw m_cursor.refusal(std::string("the control character ") + name + " at " +
                               position(at) + " has no place in a formula");
    }
    throw m_cursor.refusal("the character " + character(at) + " at " + position(at) +
                           " has no place in a formula");
}

FormulaCounts Reader::finished(Tally& tally) const {
    FormulaCounts result;
    result.labels = std::move(tally.labels());
    std::sort(
        result.labels.begin(), result.labels.end(), [](const LabelCount& a, const LabelCount& b) {
            if (a.column != b.column) {
                return a.column < b.column;
            }
            return a.massNumber != b.massNumber ? a.massNumber < b.massNumber : a.purity > b.purity;
        });
    for (LabelCount& label : result.labels) {
        if (!std::isfinite(label.count)) {
            throw m_cursor.refusal("the count of " +
                                   FormulaCursor::quoted(labelSymbol(label, m_symbols)) +
                                   " is beyond the range of numbers");
        }
        label.countText = text::generalText(label.count, m_cursor.separator());
    }
    result.counts = std::move(tally.entries());
    std::sort(result.counts.begin(), result.counts.end(),
              [](const ElementCount& a, const ElementCount& b) { return a.column < b.column; });
    for (ElementCount& entry : result.counts) {
        if (!std::isfinite(entry.count)) {
            throw m_cursor.refusal(
                "the count of " +
                FormulaCursor::quoted(m_symbols[static_cast<std::size_t>(entry.column)]) +
                " is beyond the range of numbers");
        }
        entry.countText = text::generalText(entry.count, m_cursor.separator());
    }
    return result;
}

} // namespace

FormulaCounts readFormula(std::string_view formula, const std::vector<std::string>& symbols,
                          char separator, const MassNumbers& massNumbers,
                          const MassNumbers& labelNumbers, const ElementWeights& weights,
                          const SymbolIndex* index) {
    FormulaCursor cursor(formula, "Formula", separator);
    cursor.skipBlanks();
    if (cursor.atEnd()) {
        throw cursor.refusal("there is no formula to read");
    }
    FormulaCounts counts =
        readFormulaAt(cursor, symbols, FormulaGrammar{}, massNumbers, labelNumbers, weights, index);
    assert(cursor.atEnd());
    // "C0", "0H2O": read, but nothing to calculate
    if (std::all_of(counts.counts.begin(), counts.counts.end(),
                    [](const ElementCount& entry) { return entry.count == 0; }) &&
        std::all_of(counts.labels.begin(), counts.labels.end(),
                    [](const LabelCount& label) { return label.count == 0; })) {
        throw cursor.refusal("the formula has no atoms");
    }
    return counts;
}

FormulaCounts readFormulaAt(FormulaCursor& cursor, const std::vector<std::string>& symbols,
                            const FormulaGrammar& grammar, const MassNumbers& massNumbers,
                            const MassNumbers& labelNumbers, const ElementWeights& weights,
                            const SymbolIndex* index) {
    return Reader(cursor, symbols, grammar, massNumbers, labelNumbers, weights, index).read();
}

} // namespace orvane::formula
