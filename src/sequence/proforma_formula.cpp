#include "sequence/proforma_formula.h"

#include <charconv>
#include <string>

namespace orvane::sequence {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

class FormulaReader {
public:
    FormulaReader(const SequenceText& text, std::size_t begin, std::size_t end)
        : m_text(text), m_at(begin), m_begin(begin), m_end(end) {}

    SequenceComposition read() {
        SequenceComposition composition;
        bool any = false;
        for (;;) {
            skipBlanks();
            if (m_at >= m_end) {
                break;
            }
            if (m_text.at(m_at) == '[') {
                readIsotope(composition);
            } else {
                const std::size_t start = m_at;
                const std::string symbol = readSymbol();
                composition.addAtoms(symbol, readCount(start, 1));
            }
            any = true;
        }
        if (!any) {
            throw m_text.refusal("the formula at " + m_text.position(m_begin) + " is empty");
        }
        return composition;
    }

private:
    void skipBlanks() {
        while (m_at < m_end && (m_text.at(m_at) == ' ' || m_text.at(m_at) == '\t')) {
            ++m_at;
        }
    }

    std::string readSymbol() {
        const char first = m_text.at(m_at);
        if (m_at >= m_end || first < 'A' || first > 'Z') {
            throw m_text.refusal((m_at >= m_end
                                      ? std::string("an element symbol is expected")
                                      : "the character " + m_text.character(m_at) +
                                            " stands where an element symbol is expected") +
                                 " at " + m_text.position(m_at));
        }
        std::string symbol(1, first);
        ++m_at;
        if (m_at < m_end && m_text.at(m_at) >= 'a' && m_text.at(m_at) <= 'z') {
            symbol.push_back(m_text.at(m_at));
            ++m_at;
        }
        return symbol;
    }

    long long readNumber(std::size_t start) {
        const std::size_t digits = m_at;
        while (m_at < m_end && isDigit(m_text.at(m_at))) {
            ++m_at;
        }
        long long value = 0;
        const std::string_view whole = m_text.whole();
        const auto [end, error] =
            std::from_chars(whole.data() + digits, whole.data() + m_at, value);
        // a billion atoms is far beyond any modification; the bound keeps sums exact
        if (error != std::errc() || value >= 1000000000) {
            throw m_text.refusal("the count " + m_text.quoted(start, m_at) + " at " +
                                 m_text.position(start) + " is too large");
        }
        return value;
    }

    long long readCount(std::size_t itemStart, long long none) {
        const std::size_t start = m_at;
        bool negative = false;
        if (m_at < m_end && m_text.at(m_at) == '-') {
            negative = true;
            ++m_at;
        }
        if (m_at >= m_end || !isDigit(m_text.at(m_at))) {
            if (negative) {
                throw m_text.refusal("the sign \"-\" at " + m_text.position(start) +
                                     " is not followed by a count of " +
                                     m_text.quoted(itemStart, start));
            }
            return none;
        }
        const long long value = readNumber(start);
        return negative ? -value : value;
    }

    void readIsotope(SequenceComposition& composition) {
        const std::size_t open = m_at;
        ++m_at;
        if (m_at >= m_end || !isDigit(m_text.at(m_at))) {
            throw m_text.refusal("the bracket \"[\" at " + m_text.position(open) +
                                 " must hold a mass number and a symbol, as [13C2]");
        }
        const long long massNumber = readNumber(open + 1);
        const std::string symbol = readSymbol();
        const long long count = readCount(open, 1);
        if (m_at >= m_end || m_text.at(m_at) != ']') {
            throw m_text.refusal("the bracket \"[\" at " + m_text.position(open) +
                                 " is never closed");
        }
        ++m_at;
        composition.addLabel(symbol, massNumber, count);
    }

    const SequenceText& m_text;
    std::size_t m_at;
    std::size_t m_begin;
    std::size_t m_end;
};

} // namespace

SequenceComposition readProformaFormula(const SequenceText& text, std::size_t begin,
                                        std::size_t end) {
    return FormulaReader(text, begin, end).read();
}

} // namespace orvane::sequence
